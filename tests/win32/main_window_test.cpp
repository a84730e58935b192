// The main window with the real header panel (template 1002) under Wine + Xvfb:
// place, version label, layout of the panels, wheel, close, end of session, and the header's
// texts, colours, link and "Sauver".
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/main_window.h"
#include "question_panel_harness.h"

namespace panel_test {
namespace {

std::vector<std::string> opened_addresses;

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        record.question_count = 2;
        copy_text(record.title, "Capitales d'Europe");
        copy_text(record.creator, "L\xE9" "a Martin");
        copy_text(record.explanations, "Trouvez la capitale de chaque pays.");
        quiz = &record;
        opened_addresses.clear();
        set_address_opener([](const char* address) { opened_addresses.push_back(address); });
        register_main_window_class(GetModuleHandleA(nullptr));
        window = create_main_window(GetModuleHandleA(nullptr), "Capitales");
        header_panel_window = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(1002), window, header_panel_proc, 0);
            question_panel_window = CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 10, 10, window, nullptr, nullptr, nullptr);
        for (int b = 1; b <= 2; ++b)
            CreateWindowExA(0, "Edit", b == 1 ? "Paris" : "Rome", WS_CHILD, 0, 0, 50, 16, question_panel_window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(answer_box_id_base + b)), nullptr, nullptr);
        DeleteFileA(own_results_file_name().c_str());
    }
    void TearDown() override {
        DestroyWindow(window);
        header_panel_window = question_panel_window = nullptr;
        set_address_opener(nullptr);
        quiz = nullptr;
        pump(nullptr);
        DeleteFileA(own_results_file_name().c_str());
    }
    HWND header(int id) const { return GetDlgItem(header_panel_window, id); }
    // The WM_VSCROLL requests posted to the question panel, in order.
    std::vector<WPARAM> posted_scrolls() const {
        std::vector<WPARAM> requests;
        MSG message;
        while (PeekMessageA(&message, question_panel_window, WM_VSCROLL, WM_VSCROLL, PM_REMOVE))
            requests.push_back(message.wParam);
        return requests;
    }
    QuizRecord record;
    HWND window = nullptr;
};

TEST_F(MainWindow, PlaceLayoutWheelAndClose) {
    centre_window(window);
    RECT frame, desktop;
    GetWindowRect(window, &frame);
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(std::vector<LONG>({frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top}),
              std::vector<LONG>({(desktop.right - 544) / 2, (desktop.bottom - 375) / 2, 544, 375}));
    EXPECT_EQ(text_of(window), "Capitales");
    EXPECT_EQ(text_of(GetDlgItem(window, version_label_id)), "(BETA) R\xE9" "alis\xE9 avec la version 2.1.2");

    SetWindowPos(window, nullptr, 0, 0, 900, 600, SWP_NOZORDER | SWP_NOMOVE);
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right, height = client.bottom;
    EXPECT_EQ(rect_in_parent(question_panel_window), std::vector<int>({5, 50, width - 11, height - 68}));
    EXPECT_EQ(rect_in_parent(header_panel_window), std::vector<int>({5, 2, width - 11, 49}));
    EXPECT_EQ(rect_in_parent(GetDlgItem(window, version_label_id)), std::vector<int>({width - 185, height - 16, 180, 15}));
    GetClientRect(header_panel_window, &client);  // the header's right-hand block follows its right edge,
    const int edge = client.right;                // the explanations take the width left of "Sauver"
    const struct {
        int id;
        std::vector<int> place;
    } header_places[] = {{24, {edge - 134, 0, 115, 18}}, {25, {edge - 134, 25, 26, 18}}, {26, {edge - 107, 25, 105, 18}},
                         {27, {edge - 204, 25, 55, 18}}, {28, {110, 19, edge - 324, 28}}, {122, {edge - 145, 0, 1, 50}}};
    for (const auto& c : header_places) EXPECT_EQ(rect_in_parent(header(c.id)), c.place) << c.id;
    ShowWindow(window, SW_MINIMIZE);  // minimising leaves the panels where they are
    EXPECT_EQ(rect_in_parent(header_panel_window), std::vector<int>({5, 2, width - 11, 49}));
    ShowWindow(window, SW_RESTORE);

    label_brush = CreateSolidBrush(RGB(212, 208, 200));
    HDC dc = GetDC(window);
    SetTextColor(dc, RGB(1, 2, 3));
    EXPECT_EQ(SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(GetDlgItem(window, version_label_id))),
              reinterpret_cast<LRESULT>(label_brush));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    EXPECT_EQ(SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(header(26))), 0);
    ReleaseDC(window, dc);
    DeleteObject(label_brush);
    label_brush = nullptr;

    for (short distance : {120, -120, 240, 60})  // one notch, one line; any other distance, nothing
        SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(distance)), 0);
    EXPECT_EQ(posted_scrolls(), std::vector<WPARAM>({SB_LINEUP, SB_LINEDOWN}));

    write_file("quizz.mp3", "son");
    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);  // saves: checked with the session that goes on
    EXPECT_EQ(read_file("quizz.mp3"), "<missing>");
    EXPECT_TRUE(IsWindow(window));  // the loop ends; shutting down destroys it
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    SetDlgItemTextA(question_panel_window, answer_box_id_base + 1, "Lyon");
    SendMessageA(window, WM_ENDSESSION, FALSE, 0);  // a session that goes on saves nothing
    EXPECT_EQ(read_file(own_results_file_name()), "Paris\r\nRome\r\n");
    SendMessageA(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(read_file(own_results_file_name()), "Lyon\r\nRome\r\n");
    static std::string asked;  // a save that fails as the session ends asks nothing: no one may be there
    set_retry_sink([](const char* text, const char*) {
        asked += text;
        return RetryChoice::cancel;
    });
    HANDLE lock = CreateFileA(own_results_file_name().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SendMessageA(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(asked, "");
    SendMessageA(window, WM_CLOSE, 0, 0);  // closing asks, and says what each button does
    CloseHandle(lock);
    set_retry_sink(nullptr);
    EXPECT_NE(asked.find("Annuler : revenir au quiz."), std::string::npos) << asked;
}

TEST_F(MainWindow, HeaderTextsColoursLinkAndSave) {
    EXPECT_EQ(text_of(header(29)) + "|" + text_of(header(26)) + "|" + text_of(header(28)) + "|" + text_of(header(32)),
              "Capitales d'Europe|L\xE9" "a Martin|Trouvez la capitale de chaque pays.| 0 / 2");
    EXPECT_EQ(rect_in_parent(header(24)), std::vector<int>({736, 5, 115, 18}));
    LOGFONTA link_font = {};  // three quarters of the link's 18 pixels, underlined
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(header(24), WM_GETFONT, 0, 0)), sizeof link_font, &link_font);
    EXPECT_EQ(std::vector<int>({link_font.lfHeight, link_font.lfUnderline}), std::vector<int>({-13, 1}));

    // Labels and the code box, ids 20 to 32, lie on the header's colour; the rules do not.
    for (int id : {20, 33})
        CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 1, 1, header_panel_window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    HDC dc = GetDC(header_panel_window);
    const auto colour = [&](int id) {
        SetTextColor(dc, RGB(1, 2, 3));
        const INT_PTR brush = header_panel_proc(header_panel_window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                reinterpret_cast<LPARAM>(header(id)));
        LOGBRUSH logical = {};
        GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof logical, &logical);
        return std::vector<COLORREF>({brush ? logical.lbColor : 0u, GetTextColor(dc)});
    };
    EXPECT_EQ(colour(24), std::vector<COLORREF>({RGB(128, 128, 255), RGB(50, 50, 255)}));
    for (int id : {20, 32}) EXPECT_EQ(colour(id), std::vector<COLORREF>({RGB(128, 128, 255), RGB(1, 2, 3)})) << id;
    for (int id : {33, 122}) EXPECT_EQ(colour(id)[0], 0u) << id;
    ReleaseDC(header_panel_window, dc);

    // Only a single click on the link opens the address.
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP})
        SendMessageA(header(24), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(opened_addresses.size(), 1u);
    SendMessageA(header_panel_window, WM_COMMAND, MAKEWPARAM(24, STN_DBLCLK), 0);
    SendMessageA(header_panel_window, WM_COMMAND, MAKEWPARAM(26, STN_CLICKED), 0);
    EXPECT_EQ(opened_addresses, std::vector<std::string>({authoring_site_address}));
    EXPECT_EQ(GetClassLongPtrA(header(24), GCLP_HCURSOR),
              reinterpret_cast<LONG_PTR>(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1003))));

    SendMessageA(header(27), BM_CLICK, 0, 0);  // "Sauver" saves as F2 does
    EXPECT_EQ(read_file(own_results_file_name()), "Paris\r\nRome\r\n");
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
}  // namespace panel_test
