// The header panel under Wine + Xvfb, made from the player's own template 1002,
// and the player's resources: the two templates, the icons and the link cursor.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "answers/results_file.h"
#include "app/main_window.h"
#include "app/owned_handle.h"
#include "header_panel/header_panel.h"
#include "quiz_data/quiz_record.h"

namespace {

HINSTANCE executable() { return GetModuleHandleA(nullptr); }

std::vector<std::string> opened_addresses;

void record_address(const char* address) { opened_addresses.push_back(address); }

LRESULT CALLBACK plain_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(window, message, wparam, lparam);
}

HWND create_plain_window(HWND parent, DWORD style) {
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = plain_window_proc;
    window_class.hInstance = executable();
    window_class.lpszClassName = "HeaderPanelTestWindow";
    RegisterClassA(&window_class);  // a second registration fails harmlessly
    return CreateWindowExA(0, "HeaderPanelTestWindow", "", style, 0, 0, 900, 200, parent, nullptr,
                           executable(), nullptr);
}

RECT rect_in_parent(HWND child) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void expect_rect(HWND child, const RECT& expected) {
    const RECT rect = rect_in_parent(child);
    EXPECT_EQ(rect.left, expected.left);
    EXPECT_EQ(rect.top, expected.top);
    EXPECT_EQ(rect.right - rect.left, expected.right) << "width";
    EXPECT_EQ(rect.bottom - rect.top, expected.bottom) << "height";
}

std::string read_file(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string results_file() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return results_file_name(path);
}

void write_file(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

void expect_solid_brush(INT_PTR result, COLORREF colour) {
    LOGBRUSH logical = {};
    ASSERT_EQ(GetObjectA(reinterpret_cast<HBRUSH>(result), sizeof logical, &logical),
              static_cast<int>(sizeof logical));
    EXPECT_EQ(logical.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(logical.lbColor, colour);
}

class HeaderPanel : public ::testing::Test {
protected:
    void SetUp() override {
        record = std::make_unique<QuizRecord>();
        record->question_count = 45;
        copy_text(record->title, "Capitales d'Europe");
        copy_text(record->creator, "Léa Martin");
        copy_text(record->explanations, "Trouvez la capitale de chaque pays.");
        quiz = record.get();
        opened_addresses.clear();
        set_address_opener(record_address);
        parent = create_plain_window(nullptr, WS_OVERLAPPEDWINDOW);
        ASSERT_NE(parent, nullptr);
        panel =
            CreateDialogParamA(executable(), MAKEINTRESOURCEA(1002), parent, header_panel_proc, 0);
        ASSERT_NE(panel, nullptr);
    }
    void TearDown() override {
        DestroyWindow(parent);
        set_address_opener(nullptr);
        question_panel_window = nullptr;
        quiz = nullptr;
    }
    HWND control(int id) const { return GetDlgItem(panel, id); }
    INT_PTR colour_static(HDC dc, int id) const {
        return header_panel_proc(panel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(control(id)));
    }
    // Sizes the panel so that its client area is `width` wide.
    void resize_client_to(int width) {
        RECT frame;
        RECT client;
        GetWindowRect(panel, &frame);
        GetClientRect(panel, &client);
        const int border = (frame.right - frame.left) - client.right;
        SetWindowPos(panel, nullptr, 0, 0, width + border, 49, SWP_NOZORDER | SWP_NOMOVE);
        GetClientRect(panel, &client);
        ASSERT_EQ(client.right, width);
    }
    std::unique_ptr<QuizRecord> record;
    HWND parent = nullptr;
    HWND panel = nullptr;
};

struct ExpectedControl {
    int id;
    const char* class_name;
    const char* text;
    DWORD style;
    RECT place;  // x, y, width, height
};

TEST_F(HeaderPanel, CreatesItsTwelveControlsInOrder) {
    const ExpectedControl expected[] = {
        {24, "Static", authoring_site_address, 0x50000100, {736, 5, 115, 18}},
        {25, "Static", "Par :", 0x50000000, {736, 25, 27, 18}},
        {26, "Static", "Léa Martin", 0x50000000, {763, 25, 85, 18}},
        {27, "Button", "Sauver", 0x50000000, {666, 25, 55, 18}},
        {28, "Static", "Trouvez la capitale de chaque pays.", 0x50000000, {110, 19, 490, 27}},
        {29, "Static", "Capitales d'Europe", 0x50000000, {110, 3, 220, 18}},
        {31, "Static", " Code :", 0x50000000, {10, 29, 36, 15}},
        {32, "Static", " 0 / 45", 0x50000001, {10, 1, 80, 20}},
        {30, "Edit", "", 0x50000800, {47, 29, 50, 16}},
        {120, "Static", "", 0x50800000, {0, 26, 100, 1}},
        {121, "Static", "", 0x50800000, {100, 0, 1, 50}},
        {122, "Static", "", 0x50800000, {730, 0, 1, 50}},
    };
    HWND child = GetWindow(panel, GW_CHILD);  // the first created comes first
    for (const ExpectedControl& e : expected) {
        SCOPED_TRACE(e.id);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(GetDlgCtrlID(child), e.id);
        char text[300] = {};
        GetClassNameA(child, text, sizeof text);
        EXPECT_EQ(lstrcmpiA(text, e.class_name), 0) << text;
        GetWindowTextA(child, text, sizeof text);
        EXPECT_STREQ(text, e.text);
        DWORD style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
        if (lstrcmpiA(e.class_name, "Edit") == 0) style &= ~WS_BORDER;  // Wine drops it from edits
        EXPECT_EQ(style, e.style);
        EXPECT_EQ(GetWindowLongPtrA(child, GWL_EXSTYLE), 0);
        expect_rect(child, e.place);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);
    char creator[32] = {};
    GetWindowTextA(control(26), creator, sizeof creator);
    EXPECT_EQ(static_cast<unsigned char>(creator[1]), 0xE9);  // Windows-1252 é
}

TEST_F(HeaderPanel, GivesEachControlItsFont) {
    HGDIOBJ stock = GetStockObject(DEFAULT_GUI_FONT);
    const struct {
        int id;
        HGDIOBJ font;
    } cases[] = {
        {25, stock},
        {26, stock},
        {27, stock},
        {28, stock},
        {31, stock},
        {30, stock},
        {32, record->score_font.get()},
        {29, nullptr},
        {120, nullptr},
        {121, nullptr},
        {122, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(control(c.id), WM_GETFONT, 0, 0)), c.font);
    }

    // The link's own font: three quarters of its 18 pixels, underlined, default face.
    HFONT link_font = reinterpret_cast<HFONT>(SendMessageA(control(24), WM_GETFONT, 0, 0));
    ASSERT_NE(link_font, nullptr);
    EXPECT_NE(link_font, stock);
    LOGFONTA font = {};
    ASSERT_EQ(GetObjectA(link_font, sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_EQ(font.lfHeight, -13);
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_EQ(font.lfUnderline, 1);
    EXPECT_EQ(font.lfItalic, 0);
    EXPECT_EQ(font.lfCharSet, 0);
    EXPECT_STREQ(font.lfFaceName, "");
}

TEST_F(HeaderPanel, ResizeFollowsTheRightEdge) {
    resize_client_to(870);
    const struct {
        int id;
        RECT place;
    } cases[] = {
        {24, {736, 0, 115, 18}},
        {25, {736, 25, 26, 18}},
        {26, {763, 25, 105, 18}},
        {27, {666, 25, 55, 18}},
        {28, {110, 19, 546, 28}},
        {122, {725, 0, 1, 50}},
        // These keep their places from creation.
        {29, {110, 3, 220, 18}},
        {31, {10, 29, 36, 15}},
        {32, {10, 1, 80, 20}},
        {30, {47, 29, 50, 16}},
        {120, {0, 26, 100, 1}},
        {121, {100, 0, 1, 50}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        expect_rect(control(c.id), c.place);
    }
    resize_client_to(600);
    expect_rect(control(24), {466, 0, 115, 18});
    expect_rect(control(28), {110, 19, 276, 28});
}

TEST_F(HeaderPanel, ColoursLabelsAndCodeBoxOnThePanelColourAndLeavesTheRules) {
    // Statics with the ids just inside and outside the coloured range.
    for (int id : {19, 20, 33})
        CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 1, 1, panel,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), executable(), nullptr);
    constexpr COLORREF untouched = RGB(1, 2, 3);
    const struct {
        int id;
        bool coloured;
        COLORREF text;
    } cases[] = {
        {24, true, RGB(50, 50, 255)},
        {25, true, untouched},
        {26, true, untouched},
        {28, true, untouched},
        {29, true, untouched},
        {30, true, untouched},
        {31, true, untouched},
        {32, true, untouched},
        {20, true, untouched},
        {19, false, untouched},
        {33, false, untouched},
        {120, false, untouched},
        {121, false, untouched},
        {122, false, untouched},
    };
    OwnedMemoryDc dc(CreateCompatibleDC(nullptr));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        SetBkMode(dc.get(), OPAQUE);
        SetTextColor(dc.get(), untouched);
        const INT_PTR result = colour_static(dc.get(), c.id);
        if (c.coloured) {
            expect_solid_brush(result, RGB(128, 128, 255));
            EXPECT_EQ(GetBkMode(dc.get()), TRANSPARENT);
        } else {
            EXPECT_EQ(result, FALSE);
            EXPECT_EQ(GetBkMode(dc.get()), OPAQUE);
        }
        EXPECT_EQ(GetTextColor(dc.get()), c.text);
    }
}

TEST_F(HeaderPanel, PanelBackgroundIsItsOwnBrushUntilDestroyed) {
    OwnedMemoryDc dc(CreateCompatibleDC(nullptr));
    const INT_PTR background = header_panel_proc(
        panel, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(panel));
    expect_solid_brush(background, RGB(128, 128, 255));
    // The dialog manager hands the same brush on to the system.
    EXPECT_EQ(SendMessageA(panel, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc.get()),
                           reinterpret_cast<LPARAM>(panel)),
              background);
    EXPECT_EQ(colour_static(dc.get(), 26), background);

    DestroyWindow(panel);
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(background)), 0u);
}

TEST_F(HeaderPanel, OnlyASingleClickOnTheLinkOpensTheAddress) {
    const struct {
        const char* what;
        WPARAM command;
        size_t opened;
    } cases[] = {
        {"click on the link", MAKEWPARAM(24, STN_CLICKED), 1},
        {"double-click on the link", MAKEWPARAM(24, STN_DBLCLK), 0},
        {"click on the creator", MAKEWPARAM(26, STN_CLICKED), 0},
        {"the link enabled", MAKEWPARAM(24, STN_ENABLE), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        opened_addresses.clear();
        EXPECT_EQ(SendMessageA(panel, WM_COMMAND, c.command, reinterpret_cast<LPARAM>(control(24))),
                  0);
        EXPECT_EQ(opened_addresses.size(), c.opened);
    }

    // A real double-click on the control: down, up, double-click, up.
    opened_addresses.clear();
    HWND link = control(24);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        SendMessageA(link, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_EQ(opened_addresses.size(), 1u);
    EXPECT_EQ(opened_addresses[0], authoring_site_address);
}

TEST_F(HeaderPanel, SauverSavesTheAnswersAsF2Does) {
    record->question_count = 2;
    record->answers_per_question = 1;
    ShowWindow(parent, SW_SHOWNOACTIVATE);
    HWND stand_in_panel = create_plain_window(parent, WS_CHILD);
    for (int box = 1; box <= 2; ++box)
        CreateWindowExA(0, "Edit", box == 1 ? "Paris" : "Rome", WS_CHILD, 0, 0, 50, 16,
                        stand_in_panel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(4000 + box)),
                        executable(), nullptr);
    const std::string file = results_file();
    DeleteFileA(file.c_str());

    question_panel_window = stand_in_panel;
    SendMessageA(control(27), BM_CLICK, 0, 0);
    EXPECT_EQ(read_file(file), "Paris\r\nRome\r\n");

    // Without a question panel there is nothing to save: the earlier answers stay.
    write_file(file, "Madrid\r\n");
    question_panel_window = nullptr;
    SendMessageA(control(27), BM_CLICK, 0, 0);
    EXPECT_EQ(read_file(file), "Madrid\r\n");
    DeleteFileA(file.c_str());
}

TEST_F(HeaderPanel, StaticControlsShowTheHandFromThenOn) {
    HCURSOR hand = LoadCursorA(executable(), MAKEINTRESOURCEA(1003));
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(control(24), GCLP_HCURSOR)), hand);
    // The class cursor: a static made elsewhere later, as in the question panel, has it too.
    HWND other = CreateWindowExA(0, "Static", "", WS_CHILD | SS_NOTIFY, 0, 0, 10, 10, parent,
                                 nullptr, executable(), nullptr);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(other, GCLP_HCURSOR)), hand);
}

INT_PTR CALLBACK empty_dialog_proc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The templates are empty shells: a DLGTEMPLATE with no controls, no menu, no
// class, no caption, then the font.
TEST(PlayerResources, PanelTemplatesAreEmptyChildShells) {
    const struct {
        int id;
        DWORD style;
    } cases[] = {
        {1001, WS_CHILD | WS_BORDER | WS_VSCROLL | WS_HSCROLL | DS_SETFONT},
        {1002, WS_CHILD | WS_BORDER | DS_SETFONT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        HRSRC found = FindResourceA(executable(), MAKEINTRESOURCEA(c.id), RT_DIALOG);
        ASSERT_NE(found, nullptr);
        const auto* bytes =
            static_cast<const BYTE*>(LockResource(LoadResource(executable(), found)));
        ASSERT_NE(bytes, nullptr);
        DLGTEMPLATE header;
        memcpy(&header, bytes, sizeof header);
        EXPECT_EQ(header.style, c.style);
        EXPECT_EQ(header.style & (WS_DLGFRAME | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE),
                  0u);  // no caption
        EXPECT_EQ(header.dwExtendedStyle, 0u);
        EXPECT_EQ(header.cdit, 0);
        EXPECT_EQ(header.x, 0);
        EXPECT_EQ(header.y, 0);
        EXPECT_EQ(header.cx, 86);
        EXPECT_EQ(header.cy, 100);
        const auto* words = reinterpret_cast<const WORD*>(bytes + 18);  // after the packed header
        EXPECT_EQ(words[0], 0) << "menu";
        EXPECT_EQ(words[1], 0) << "class";
        EXPECT_EQ(words[2], 0) << "caption";
        EXPECT_EQ(words[3], 8) << "point size";
        EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(words + 4)), L"MS Sans Serif");

        // And a dialog made from it has no caption or system menu.
        HWND parent = create_plain_window(nullptr, WS_OVERLAPPEDWINDOW);
        HWND dialog =
            CreateDialogParamA(executable(), MAKEINTRESOURCEA(c.id), parent, empty_dialog_proc, 0);
        ASSERT_NE(dialog, nullptr);
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE));
        EXPECT_EQ(style & (WS_DLGFRAME | WS_SYSMENU | WS_POPUP), 0u);
        EXPECT_EQ(style & c.style, c.style);
        DestroyWindow(parent);
    }
}

// Draws an icon or cursor on red and reads the pixels it left.
COLORREF drawn_pixel(HICON image, int x, int y) {
    ScreenDc screen;
    OwnedMemoryDc dc(CreateCompatibleDC(screen.get()));
    OwnedBitmap canvas(CreateCompatibleBitmap(screen.get(), 32, 32));
    SelectedObject selected(dc.get(), canvas.get());
    OwnedBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    const RECT all = {0, 0, 32, 32};
    FillRect(dc.get(), &all, red.get());
    DrawIconEx(dc.get(), 0, 0, image, 32, 32, 0, nullptr, DI_NORMAL);
    return GetPixel(dc.get(), x, y);
}

struct ImageCase {
    int id;
    bool is_icon;
    int hot_x;
    int hot_y;
    std::vector<std::pair<POINT, COLORREF>> pixels;
};

TEST(PlayerResources, IconsAndCursorAre32PixelTwoColourImages) {
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), ground = RGB(255, 0, 0);
    const ImageCase cases[] = {
        // Play: a triangle pointing right, transparent around.
        {1004, true, 16, 16,
         {{{10, 16}, black}, {{24, 16}, black}, {{28, 16}, ground}, {{10, 2}, ground},
          {{20, 6}, ground}}},
        // Stop: a square.
        {1005, true, 16, 16,
         {{{16, 16}, black}, {{8, 8}, black}, {{23, 23}, black}, {{4, 4}, ground},
          {{26, 26}, ground}}},
        // The hand: a black fingertip at the hot spot, a white finger below it.
        {1003, false, 6, 0,
         {{{6, 0}, black}, {{6, 4}, white}, {{4, 4}, black}, {{2, 2}, ground},
          {{28, 4}, ground}}},
    };
    for (const ImageCase& c : cases) {
        SCOPED_TRACE(c.id);
        HICON image = c.is_icon ? LoadIconA(executable(), MAKEINTRESOURCEA(c.id))
                                : LoadCursorA(executable(), MAKEINTRESOURCEA(c.id));
        ASSERT_NE(image, nullptr);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(image, &info));
        OwnedBitmap mask(info.hbmMask);
        OwnedBitmap colour(info.hbmColor);
        EXPECT_EQ(info.fIcon, c.is_icon ? TRUE : FALSE);
        EXPECT_EQ(info.xHotspot, static_cast<DWORD>(c.hot_x));
        EXPECT_EQ(info.yHotspot, static_cast<DWORD>(c.hot_y));
        BITMAP mask_size = {};
        GetObjectA(mask.get(), sizeof mask_size, &mask_size);
        EXPECT_EQ(mask_size.bmWidth, 32);
        EXPECT_EQ(mask_size.bmBitsPixel, 1);
        if (colour) {
            BITMAP colour_size = {};
            GetObjectA(colour.get(), sizeof colour_size, &colour_size);
            EXPECT_EQ(colour_size.bmWidth, 32);
            EXPECT_EQ(colour_size.bmHeight, 32);
        } else {
            EXPECT_EQ(mask_size.bmHeight, 64);  // monochrome: AND and XOR masks stacked
        }
        for (const auto& [point, expected] : c.pixels) {
            SCOPED_TRACE(testing::Message() << "pixel " << point.x << ", " << point.y);
            EXPECT_EQ(drawn_pixel(image, point.x, point.y), expected);
        }
    }
}

}  // namespace
