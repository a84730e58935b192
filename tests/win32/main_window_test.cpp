// The main window under Wine + Xvfb: centring, version label, panel layout,
// wheel forwarding and close.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/main_window.h"

namespace {

std::vector<MSG> recorded_scrolls;

LRESULT CALLBACK recording_panel_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(window, message, wparam, lparam);
}

HWND create_stand_in_panel(HWND parent) {
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = recording_panel_proc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = "StandInPanel";
    RegisterClassA(&window_class);  // a second registration fails harmlessly
    return CreateWindowExA(0, "StandInPanel", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

RECT rect_in_parent(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void expect_rect(HWND child, int x, int y, int width, int height) {
    const RECT rect = rect_in_parent(child);
    EXPECT_EQ(rect.left, x);
    EXPECT_EQ(rect.top, y);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        register_main_window_class(GetModuleHandleA(nullptr));
        window = create_main_window(GetModuleHandleA(nullptr), "Capitales");
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        header_panel_window = nullptr;
        question_panel_window = nullptr;
        DestroyWindow(window);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {}
    }
    void with_stand_in_panels() {
        header_panel_window = create_stand_in_panel(window);
        question_panel_window = create_stand_in_panel(window);
    }
    // The WM_VSCROLL requests posted to the question panel, in order.
    std::vector<WPARAM> posted_scrolls() {
        std::vector<WPARAM> requests;
        MSG message;
        while (PeekMessageA(&message, question_panel_window, WM_VSCROLL, WM_VSCROLL, PM_REMOVE)) {
            EXPECT_EQ(message.lParam, 0);
            requests.push_back(message.wParam);
        }
        return requests;
    }
    HWND window = nullptr;
};

TEST_F(MainWindow, OpensCentredOnTheDesktopWithItsCaptionAndSize) {
    centre_window(window);
    RECT frame;
    GetWindowRect(window, &frame);
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(frame.right - frame.left, 544);
    EXPECT_EQ(frame.bottom - frame.top, 375);
    EXPECT_EQ(frame.left, (desktop.right - 544) / 2);
    EXPECT_EQ(frame.top, (desktop.bottom - 375) / 2);
    if (desktop.right == 1024 && desktop.bottom == 768) {
        EXPECT_EQ(frame.left, 240);
        EXPECT_EQ(frame.top, 196);
    }
    char caption[64];
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "Capitales");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)) & WS_OVERLAPPEDWINDOW,
              static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
}

TEST_F(MainWindow, VersionLabelCarriesWindows1252TextInTheBottomRightCorner) {
    HWND label = GetDlgItem(window, version_label_id);
    ASSERT_NE(label, nullptr);
    char text[64] = {};
    GetWindowTextA(label, text, sizeof text);
    EXPECT_STREQ(text, "(BETA) Réalisé avec la version 2.1.2");
    EXPECT_EQ(static_cast<unsigned char>(text[8]), 0xE9);   // the é of "Réalisé"
    EXPECT_EQ(static_cast<unsigned char>(text[13]), 0xE9);
    // Placed at creation; the first size message moves it into the corner.
    RECT client;
    GetClientRect(window, &client);
    expect_rect(label, 725, client.bottom - 16, 130, 15);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)),
              GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(MainWindow, VersionLabelAloneGetsTheLabelBrush) {
    label_brush = CreateSolidBrush(RGB(212, 208, 200));
    HWND label = GetDlgItem(window, version_label_id);
    HWND other = create_label(window, "autre", 0, 0, 40, 15, 9000);
    HDC dc = GetDC(label);
    SetBkMode(dc, OPAQUE);
    SetTextColor(dc, RGB(1, 2, 3));
    EXPECT_EQ(SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(label)),
              reinterpret_cast<LRESULT>(label_brush));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    EXPECT_EQ(SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(other)),
              0);
    ReleaseDC(label, dc);
    DeleteObject(label_brush);
    label_brush = nullptr;
}

TEST_F(MainWindow, ResizeLaysOutBothPanelsAndMinimiseLeavesThem) {
    with_stand_in_panels();
    SetWindowPos(window, nullptr, 0, 0, 900, 600, SWP_NOZORDER | SWP_NOMOVE);
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right;
    const int height = client.bottom;
    expect_rect(question_panel_window, 5, 50, width - 11, height - 68);
    expect_rect(header_panel_window, 5, 2, width - 11, 49);
    expect_rect(GetDlgItem(window, version_label_id), width - 185, height - 16, 180, 15);

    ShowWindow(window, SW_MINIMIZE);
    expect_rect(question_panel_window, 5, 50, width - 11, height - 68);
    expect_rect(header_panel_window, 5, 2, width - 11, 49);
    ShowWindow(window, SW_RESTORE);
    GetClientRect(window, &client);
    expect_rect(question_panel_window, 5, 50, client.right - 11, client.bottom - 68);
}

TEST_F(MainWindow, OneWheelNotchPostsExactlyOneLineScroll) {
    with_stand_in_panels();
    struct Case {
        short distance;
        std::vector<WPARAM> expected;
    };
    const Case cases[] = {
        {120, {SB_LINEUP}},
        {-120, {SB_LINEDOWN}},
        {240, {}},
        {-240, {}},
        {60, {}},
        {0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.distance);
        SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(c.distance)), 0);
        EXPECT_EQ(posted_scrolls(), c.expected);
    }
    // Two reports of one notch each: two lines.
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(posted_scrolls(), (std::vector<WPARAM>{SB_LINEUP, SB_LINEUP}));
}

TEST_F(MainWindow, CloseDeletesTheSoundFileAndEndsTheLoopWithoutDestroying) {
    HANDLE file = CreateFileA("quizz.mp3", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(GetFileAttributesA("quizz.mp3"), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(IsWindow(window));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
    // A second close with no file left is no error.
    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// Pictures decoded after start-up come one posted message at a time: a paint
// (and input) waiting behind one must go first, and the quit still ends the loop.
TEST_F(MainWindow, LoopTakesPaintBeforePostedMessages) {
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    constexpr UINT posted = WM_APP + 7;
    PostMessageA(window, posted, 0, 0);
    InvalidateRect(window, nullptr, TRUE);
    bool painted = false;
    while (next_message(message) && message.message != posted) {
        painted = painted || message.message == WM_PAINT;
        DispatchMessageA(&message);
    }
    EXPECT_EQ(message.message, posted);
    EXPECT_TRUE(painted);
    EXPECT_EQ(HIWORD(GetQueueStatus(QS_PAINT)), 0u);  // nothing left to paint behind it
    PostQuitMessage(3);
    EXPECT_FALSE(next_message(message));
    EXPECT_EQ(message.wParam, 3u);
}

}  // namespace
