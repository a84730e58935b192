// The question panel played on real windows: construction, pictures, keys,
// grading, reveals, score and code, colours, saving (and saves that fail),
// restoring and scrolling. Closing after a failed save: tests/e2e/failed_save.sh.
// Positions come from the layout arithmetic tested natively; here one control of
// each kind checks that the panel puts it there.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "player/answer_boxes/evaluation.h"
#include "pictures/picture_loader.h"
#include "question_panel_harness.h"

namespace panel_test {
namespace {

using Rect = std::vector<int>;
WNDPROC edit_proc = nullptr;
int characters_passed_on = 0;

class QuestionPanel : public PanelTest {
protected:
    HBITMAP picture(int n) const {
        return reinterpret_cast<HBITMAP>(SendMessageA(item(picture_control_id_base + n), STM_GETIMAGE, IMAGE_BITMAP, 0));
    }
    Rect bitmap_size(int n) const {
        BITMAP info = {};
        GetObjectA(picture(n), sizeof info, &info);
        return {info.bmWidth, info.bmHeight};
    }
    // The panel's WM_CTLCOLORSTATIC for `label` showing `text`: the brush it
    // returns, then the background colour, background mode and text colour it leaves.
    std::vector<INT_PTR> colours(HWND label, const char* text = nullptr) {
        if (text) SetWindowTextA(label, text);
        HDC dc = GetDC(label);
        SetBkColor(dc, RGB(1, 2, 3));
        SetBkMode(dc, OPAQUE);
        SetTextColor(dc, RGB(1, 2, 3));
        const INT_PTR brush = question_panel_proc(panel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                  reinterpret_cast<LPARAM>(label));
        const std::vector<INT_PTR> seen = {brush, static_cast<INT_PTR>(GetBkColor(dc)), GetBkMode(dc),
                                           static_cast<INT_PTR>(GetTextColor(dc))};
        ReleaseDC(label, dc);
        return seen;
    }
    static INT_PTR brush(const OwnedBrush& owned) { return reinterpret_cast<INT_PTR>(owned.get()); }
    int vertical() const { return GetScrollPos(panel, SB_VERT); }
};

// Pictures 401-408 and 411 are landscapes, 409 a portrait, 410 is missing;
// answer picture 10401 is a portrait, 10402 a landscape, 10403 is missing.
TEST_F(QuestionPanel, PictureQuizBuiltPlayedSavedAndRestored) {
    fill_numbered(picture_quiz, 1, 3, 11);
    for (int k = 0; k < 11; ++k) copy_text(record->codes[k], ("CODE" + std::to_string(k + 1)).c_str());
    SetDlgItemTextA(header, code_box_id, "autre");
    const long decodes = picture_decode_count();
    create_panel();
    // Each picture once, none for the missing 410; 412, past the last question, is
    // no JPEG, so only decoding it can tell the row's height.
    EXPECT_EQ(picture_decode_count() - decodes, 11);
    EXPECT_EQ(rect_in_parent(box(2)), Rect({436, 285, 360, 20}));
    EXPECT_EQ(rect_in_parent(item(8002)), Rect({436, 331, 360, 65}));
    EXPECT_EQ(rect_in_parent(item(9909)), Rect({877, 845, 258, 345}));  // a portrait makes its row tall
    EXPECT_EQ(bitmap_size(9), Rect({258, 345}));
    EXPECT_EQ(rect_in_parent(item(9910)), Rect({46, 1340, 360, 270}));
    EXPECT_EQ(picture(10), nullptr);
    EXPECT_EQ(item(9912), nullptr);
    EXPECT_EQ(std::vector<int>({content_width, content_height}), std::vector<int>({1210, 1760}));
    EXPECT_EQ(SendMessageA(box(1), EM_GETLIMITTEXT, 0, 0), 259);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(box(1), WM_GETFONT, 0, 0)), record->answer_font.get());
    EXPECT_EQ(score() + "|" + code(), " 0 / 11|      ");

    SetWindowTextA(box(2), " reponse2");
    PostMessageA(box(2), WM_KEYDOWN, VK_RETURN, 1);
    pump(panel);
    EXPECT_EQ(feedback(2), "?");  // pressing Enter grades nothing
    PostMessageA(box(2), WM_KEYUP, VK_RETURN, 0xC0000001);
    pump(panel);
    HBITMAP question_picture = picture(2);
    EXPECT_EQ(feedback(2) + "|" + text_of(box(2)) + "|" + text_of(item(8002)), "BRAVO| reponse2|");  // no reveal
    EXPECT_EQ(score() + "|" + code(), " 1 / 11|CODE1");
    answer(2, "REPONSE2");
    EXPECT_EQ(text_of(item(8002)), "R\xE9v\xE9lation 2");
    EXPECT_NE(picture(2), question_picture);
    EXPECT_EQ(GetObjectType(question_picture), 0u);  // the question picture is deleted
    answer(3, "reponse3");
    EXPECT_EQ(text_of(item(8003)), "R\xE9v\xE9lation 3");
    EXPECT_EQ(bitmap_size(3), Rect({360, 270}));  // no answer picture: the question's stays
    EXPECT_EQ(score() + "|" + code(), " 2 / 11|CODE2");
    HBITMAP answer_picture = picture(2);
    answer(2, "reponse");
    EXPECT_EQ(feedback(2) + "|" + text_of(item(8002)), "Quasiment|");
    EXPECT_EQ(picture(2), answer_picture);
    EXPECT_EQ(score() + "|" + code(), " 1 / 11|CODE1");

    answer(1, "reponse1");
    save_answers(panel);  // F1, F2 and the keys that reach them are played end to end
    // Colours: feedback labels by grade, other labels on the quiz colour.
    HWND label = item(5003);
    const INT_PTR red = RGB(255, 0, 0), untouched = RGB(1, 2, 3);
    const struct {
        const char* grade;
        INT_PTR brush, background;
    } grades[] = {{"BRAVO", brush(record->brush_green), RGB(0, 255, 0)}, {"FAUX", brush(record->brush_red), red},
                  {"Anagramme", brush(record->brush_orange), red}, {"bravo", brush(record->brush_amber), red},
                  {"?", 0, untouched}};
    for (const auto& grade : grades) {
        const std::vector<INT_PTR> seen = colours(label, grade.grade);
        EXPECT_EQ(std::vector<INT_PTR>({seen[0], seen[1], seen[2]}), std::vector<INT_PTR>({grade.brush, grade.background, OPAQUE}));
    }
    for (const auto& shade : {std::vector<int>{59, 59, 0xFFFFFF}, std::vector<int>{60, 59, 0}}) {
        record->colour_red = static_cast<BYTE>(shade[0]);
        record->colour_green = static_cast<BYTE>(shade[1]);
        const std::vector<INT_PTR> seen = colours(item(8003));
        EXPECT_EQ(std::vector<INT_PTR>({seen[0], seen[2], seen[3]}), std::vector<INT_PTR>({brush(record->colour_brush), TRANSPARENT, shade[2]}));
    }
    HDC dc = GetDC(panel);
    EXPECT_EQ(SendMessageA(panel, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), 0), brush(record->colour_brush));
    ReleaseDC(panel, dc);

    HBITMAP previous = picture(1);
    evaluate_answer(*record, panel, answer_box_id_base + 1);  // a reveal again: the bitmap before is deleted
    EXPECT_EQ(GetObjectType(previous), 0u);
    previous = picture(1);
    destroy_panel();
    EXPECT_EQ(GetObjectType(previous), 0u);  // the panel deletes its pictures

    // The next start puts every line back in its box and grades the grid at once.
    create_panel();
    EXPECT_EQ(text_of(box(2)) + "|" + feedback(1) + "|" + feedback(2) + "|" + score(), "reponse|BRAVO|Quasiment| 2 / 11");
    EXPECT_EQ(bitmap_size(1), Rect({258, 345}));  // the restored exact answer shows its answer picture
}

TEST_F(QuestionPanel, TextQuizRowsEntryAndFailedSave) {
    fill_numbered(text_quiz, 2, 0, 3);  // a text quiz has one box per question whatever it announces
    record->question_count = 4;          // four rows, three entries
    write_file(own_results_file_name(), "reponse1\r\nxyz\r\n");
    create_panel();
    EXPECT_EQ(box(5), nullptr);
    EXPECT_EQ(rect_in_parent(box(3)), Rect({610, 55, 100, 20}));
    EXPECT_EQ(std::vector<int>({content_width, content_height}), std::vector<int>({910, 105}));
    EXPECT_EQ(text_of(box(1)) + "|" + text_of(box(2)) + "|" + feedback(1), "reponse1|xyz|?");  // text rows wait
    EXPECT_EQ(colours(item(question_label_id))[0], brush(record->brush_pale_yellow));
    SetWindowTextA(box(4), "reponse3");
    SendMessageA(box(4), WM_SYSKEYDOWN, VK_RETURN, 0);  // Alt+Enter grades as Enter does
    EXPECT_EQ(feedback(4), "BRAVO");  // a row past the last entry asks the last entry
    edit_proc = saved_edit_proc;  // counts the characters the boxes pass on to the edit control
    saved_edit_proc = [](HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
        characters_passed_on += message == WM_CHAR;
        return CallWindowProcA(edit_proc, box, message, wparam, lparam);
    };
    for (WPARAM character : {WPARAM('\r'), WPARAM('\t'), WPARAM('c')}) SendMessageA(box(3), WM_CHAR, character, 1);
    saved_edit_proc = edit_proc;
    EXPECT_EQ(characters_passed_on, 1);  // Enter and Tab never reach the box as characters: no beep

    SetFocus(box(1));
    DWORD start = 1, end = 0;
    SendMessageA(box(1), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(std::vector<DWORD>({start, end}), std::vector<DWORD>({0, 8}));  // focus selects the whole text
    PostMessageA(box(1), WM_KEYDOWN, VK_TAB, 1);
    PostMessageA(box(1), WM_KEYUP, VK_TAB, 0xC0000001);
    pump(panel);
    EXPECT_EQ(feedback(1), "BRAVO");  // leaving a box grades it (Tab's move: tests/e2e/play_picture_quiz.sh)
    // A failed save says where and why, keeps the previous file and leaves no temporary file.
    char home[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, home);
    const std::string results = own_results_file_name(), moved = std::string(home) + "\\retiree";
    HANDLE lock = nullptr;
    const struct {
        std::function<void()> break_it, repair;
        const char* reason;
    } failures[] = {
        {[&] { lock = CreateFileA(results.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr); },
         [&] { CloseHandle(lock); }, "le fichier est ouvert par un autre programme"},
        {[&] { MoveFileA(results.c_str(), "garde"), CreateDirectoryA(results.c_str(), nullptr); },
         [&] { RemoveDirectoryA(results.c_str()), MoveFileA("garde", results.c_str()); }, "un dossier porte déjà ce nom"},
        // Wine lets a folder above the current one move away, so the current folder is gone.
        {[&] {
             CreateDirectoryA("cle", nullptr), CreateDirectoryA("cle\\quiz", nullptr), SetCurrentDirectoryA("cle\\quiz");
             MoveFileA((std::string(home) + "\\cle").c_str(), moved.c_str());
         },
         [&] { SetCurrentDirectoryA(home), RemoveDirectoryA("retiree\\quiz"), RemoveDirectoryA("retiree"); },
         "son dossier n'existe plus"},
    };
    for (const auto& failure : failures) {
        failure.break_it();
        char folder[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, folder);
        shown_messages.clear();
        key(1, VK_F2);
        const std::vector<std::string> left = files_matching("dvn*.tmp");
        failure.repair();
        ASSERT_EQ(shown_messages.size(), 2u) << failure.reason;  // one message box
        EXPECT_NE(shown_messages[0].find(std::string(folder) + "\\" + results), std::string::npos) << shown_messages[0];
        EXPECT_NE(shown_messages[0].find(failure.reason), std::string::npos) << shown_messages[0];
        EXPECT_TRUE(left.empty());
        EXPECT_EQ(read_file(results), "reponse1\r\nxyz\r\n");
    }
    shown_messages.clear();
    key(1, VK_F2);
    EXPECT_TRUE(shown_messages.empty());  // a save that succeeds shows nothing
    EXPECT_EQ(read_file(results), "reponse1\r\nxyz\r\nc\r\nreponse3\r\n");
}

TEST_F(QuestionPanel, TwoBoxSoundQuiz) {
    fill_numbered(sound_quiz, 2, 2, 4);
    const std::string caption = "\xC9l\xE8ve de l'artiste";  // both longer than their labels
    std::string reveal;
    for (char letter = 'a'; letter < 'g'; ++letter) reveal += std::string(40, letter) + " ";
    copy_text(record->answer_label_1, caption.c_str());
    copy_text(record->first_question->reveal_text, reveal.c_str());
    write_file(own_results_file_name(), "reponse1\r\nbis\r\nfaux\r\nbis2\r\n");
    start_media();
    create_panel();
    EXPECT_EQ(feedback(1) + feedback(2) + feedback(3) + feedback(4), "BRAVOQuasimentFAUXBRAVO");
    EXPECT_EQ(score(), " 1 / 4");  // a question scores on its first box alone
    EXPECT_EQ(text_of(item(8001)), "");
    answer(2, "bis1");
    expect_shown_whole(item(8001), reveal, true);  // both boxes exact
    expect_shown_whole(item(caption_label_id), caption, false);
    EXPECT_EQ(rect_in_parent(item(6002)), Rect({496, 5, 20, 20}));
    EXPECT_EQ(rect_in_parent(item(5004)), Rect({796, 24, 60, 20}));
}

// Content 1210 x 685 shown in 800 x 400: the bars keep at most 410 and 285 (a range
// or page off by one shows at SB_BOTTOM).
TEST_F(QuestionPanel, ScrollBarsKeysWheelAndResizing) {
    ShowWindow(top, SW_SHOWNORMAL);  // ScrollWindow moves nothing in a hidden window
    fill_numbered(picture_quiz, 1, 0, 4);
    create_panel(800, 400);
    const struct {
        UINT message;
        WORD request;
        int x, y;  // scroll position
    } steps[] = {
        {WM_VSCROLL, SB_LINEDOWN, 0, 50},     {WM_VSCROLL, SB_PAGEDOWN, 0, 285}, {WM_VSCROLL, SB_LINEUP, 0, 235},
        {WM_VSCROLL, SB_THUMBPOSITION, 0, 235}, {WM_VSCROLL, SB_TOP, 0, 0},   {WM_VSCROLL, SB_BOTTOM, 0, 285},
        {WM_HSCROLL, SB_LINERIGHT, 390, 285}, {WM_HSCROLL, SB_PAGERIGHT, 410, 285}, {WM_HSCROLL, SB_LEFT, 410, 285},
        {WM_HSCROLL, SB_PAGELEFT, 0, 285},
    };
    for (const auto& step : steps) {
        SendMessageA(panel, step.message, step.request, 0);
        pump(panel);
        EXPECT_EQ(rect_in_parent(box(1)), Rect({46 - step.x, 285 - step.y, 360, 20})) << &step - steps;
        EXPECT_EQ(GetScrollPos(panel, SB_HORZ), step.x);
    }
    const struct {
        HWND target;
        short distance;
        int position;
    } notches[] = {{panel, 120, 235}, {panel, 240, 235}, {box(2), 120, 185}, {box(2), -120, 235}, {panel, 60, 235}};
    for (const auto& notch : notches) {
        PostMessageA(notch.target, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(notch.distance)), MAKELPARAM(300, 300));
        pump(panel);
        EXPECT_EQ(vertical(), notch.position) << notch.distance;
    }
    EXPECT_EQ(wheel_messages_at_top, 0);  // the main window never sees a notch the panel took
    for (const auto& page : {std::vector<int>{VK_NEXT, 285}, {VK_PRIOR, 0}, {VK_DOWN, 285}, {VK_UP, 0}}) {
        key(1, page[0]);
        EXPECT_EQ(vertical(), page[1]) << page[0];
    }
    key(1, VK_NEXT);  // the focus goes to the box now where box 1 was in view
    EXPECT_EQ(GetFocus(), box(4));
    key(1, VK_NEXT);
    resize_client(800, 600);  // the largest position is now 85
    EXPECT_EQ(vertical(), 85);
    EXPECT_EQ(rect_in_parent(box(1))[1], 200);
    resize_client(1300, 800);  // everything fits: the controls come back
    EXPECT_EQ(vertical(), 0);
    EXPECT_EQ(rect_in_parent(box(1))[1], 285);
}

// Tab through a 30-question picture quiz in a view narrower than a row: each box
// that takes the focus comes into view with its feedback label and its picture,
// back to box 1 after the last; F1, which passes the focus through every box,
// leaves the view where it was.
TEST_F(QuestionPanel, FocusFollowedThroughTheBoxes) {
    ShowWindow(top, SW_SHOWNORMAL);
    fill_numbered(picture_quiz, 1, 0, 30);
    create_panel(700, 400);
    SetFocus(box(1));
    RECT view;
    GetClientRect(panel, &view);
    const auto in_view = [&](int id) {
        const Rect r = rect_in_parent(item(id));
        return r[0] >= 0 && r[1] >= 0 && r[0] + r[2] <= view.right && r[1] + r[3] <= view.bottom;
    };
    for (int step = 2; step <= 31; ++step) {
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
        pump(panel);
        const int b = (step - 1) % 30 + 1;
        ASSERT_EQ(GetFocus(), box(b));
        EXPECT_TRUE(in_view(answer_box_id_base + b) && in_view(feedback_label_id_base + b) &&
                    in_view(picture_control_id_base + b))
            << b;
    }
    SendMessageA(panel, WM_VSCROLL, SB_TOP, 0);  // box 1 in view, but not where it would be brought
    SendMessageA(panel, WM_HSCROLL, SB_PAGELEFT, 0);
    const Rect before = {GetScrollPos(panel, SB_HORZ), vertical()};
    SetWindowTextA(box(1), "reponse1");
    key(1, VK_F1);
    EXPECT_EQ(Rect({GetScrollPos(panel, SB_HORZ), vertical()}), before);
    EXPECT_EQ(text_of(box(30)), "reponse1");
}

TEST_F(QuestionPanel, QuizWithoutRowsSavesNothing) {
    write_file(own_results_file_name(), "garder\r\n");
    for (int step = 0; step < 2; ++step) {  // no entries (a stream that failed), then an unknown kind
        if (step == 1) fill_numbered(7, 1, 0, 2);
        create_panel();
        EXPECT_EQ(GetWindow(panel, GW_CHILD), nullptr);
        EXPECT_EQ(content_height, 0);
        for (LONG bar : {OBJID_HSCROLL, OBJID_VSCROLL}) {  // nothing to scroll: the bars stay, disabled
            SCROLLBARINFO info = {};
            info.cbSize = sizeof info;
            GetScrollBarInfo(panel, bar, &info);
            EXPECT_EQ(info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE), STATE_SYSTEM_UNAVAILABLE);
        }
        for (int id : {4001, 4003, 0}) evaluate_answer(*record, panel, id);
        EXPECT_EQ(score(), " 0 / 2");
        save_answers(panel);
        destroy_panel();
    }
    EXPECT_EQ(read_file(own_results_file_name()), "garder\r\n");
}

}  // namespace
}  // namespace panel_test
