// The main window with the real header panel (template 1002) under Wine + Xvfb:
// version label, layout of the panels, wheel, close, end of session, and the header's
// texts (whole or ending with an ellipsis), colours, link and "Sauver". Its size and
// placement on screens: tests/e2e/window_placement.sh.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/answer_boxes/evaluation.h"
#include "player/main_window.h"
#include "question_panel_harness.h"

namespace panel_test {
namespace {

std::vector<std::string> opened_addresses;

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        record.question_count = 2;  // texts longer than their labels
        copy_text(record.title, "Les peintres fran\xE7" "ais du dix-neuvi\xE8me si\xE8" "cle et leurs \xC9l\xE8ves");
        copy_text(record.creator, "\xC9" "cole \xC9l\xE9mentaire Jules Ferry");
        copy_text(record.explanations, "\xC9" "cris le nom du peintre sous chaque tableau, puis appuie sur Entr\xE9" "e. "
                                       "\xC0 la fin, F2 sauvegarde tes r\xE9ponses dans un fichier \xE0 c\xF4t\xE9 du quiz.");
        copy_text(record.codes[0], "\xC9TENDARD");
        quiz = &record;
        opened_addresses.clear();
        set_address_opener([](const char* address) { opened_addresses.push_back(address); });
        register_main_window_class(GetModuleHandleA(nullptr));
        window = create_main_window(GetModuleHandleA(nullptr), "Capitales");
        header_panel_window = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(1002), window, header_panel_proc, 0);
        record.header_panel = header_panel_window;
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

TEST_F(MainWindow, LayoutWheelAndClose) {
    EXPECT_EQ(text_of(window), "Capitales");
    EXPECT_EQ(text_of(GetDlgItem(window, version_label_id)), "(BETA) R\xE9" "alis\xE9 avec la version 2.1.2");

    SetWindowPos(window, nullptr, 0, 0, 900, 600, SWP_NOZORDER | SWP_NOMOVE);
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right, height = client.bottom;
    EXPECT_EQ(rect_in_parent(question_panel_window), std::vector<int>({5, 50, width - 11, height - 68}));
    EXPECT_EQ(rect_in_parent(header_panel_window), std::vector<int>({5, 2, width - 11, 49}));
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

// The quiz maker's texts and the version label show whole or end with an
// ellipsis, in labels that lie over no other: at the DPI of the run (96, and 144
// in tests/e2e/high_dpi.sh).
TEST_F(MainWindow, HeaderTextsColoursLinkAndSave) {
    EXPECT_EQ(text_of(header(32)), " 0 / 2");
    CreateWindowExA(0, "Static", "BRAVO", WS_CHILD, 0, 0, 1, 1, question_panel_window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(feedback_label_id_base + 1)), nullptr, nullptr);
    update_score(record, question_panel_window);  // question 1 solved: the first code
    SetWindowPos(window, nullptr, 0, 0, 800, 500, SWP_NOZORDER | SWP_NOMOVE);
    const struct {
        int id;
        std::string full;
        bool wraps;
    } texts[] = {{29, record.title, false},  {28, record.explanations, true}, {25, "Par : ", false},
                 {26, record.creator, false}, {31, " Code :", false},          {code_box_id, record.codes[0], false}};
    for (const auto& text : texts) expect_shown_whole(header(text.id), text.full, text.wraps);
    expect_shown_whole(GetDlgItem(window, version_label_id), version_text, false);
    for (int a = 24; a <= 32; ++a)
        for (int b = a + 1; b <= 32; ++b) {
            RECT first, second, overlap;
            GetWindowRect(header(a), &first), GetWindowRect(header(b), &second);
            EXPECT_FALSE(IntersectRect(&overlap, &first, &second)) << a << " over " << b;
        }
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
