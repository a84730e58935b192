// The answer boxes' own window procedure: Enter, Tab, focus, page keys, F1 and
// F2, and the results file that F2 writes.
#include <windows.h>

#include <gtest/gtest.h>

#include "question_panel_harness.h"

namespace panel_test {
namespace {

struct SeenMessage {
    UINT message;
    WPARAM wparam;
};

std::vector<SeenMessage> passed_on;  // what reached the edit control's own procedure
WNDPROC real_edit_proc = nullptr;

LRESULT CALLBACK recording_edit_proc(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
    passed_on.push_back({message, wparam});
    return CallWindowProcA(real_edit_proc, box, message, wparam, lparam);
}

class AnswerEntry : public PanelTest {
protected:
    // Records what answer_box_proc passes on to the edit control.
    void record_passed_on() {
        real_edit_proc = saved_edit_proc;
        saved_edit_proc = recording_edit_proc;
        passed_on.clear();
    }
    void TearDown() override {
        if (real_edit_proc) saved_edit_proc = real_edit_proc;
        real_edit_proc = nullptr;
        PanelTest::TearDown();
    }
    bool was_passed_on(UINT message, WPARAM wparam) const {
        for (const SeenMessage& seen : passed_on)
            if (seen.message == message && seen.wparam == wparam) return true;
        return false;
    }
    int vertical_position() const { return GetScrollPos(panel, SB_VERT); }
};

TEST_F(AnswerEntry, EveryBoxRunsTheAnswerBoxProcedure) {
    fill_numbered(picture_quiz, 2, 0, 3);
    create_panel();
    for (int b = 1; b <= 6; ++b)
        EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(box(b), GWLP_WNDPROC)), answer_box_proc) << b;
    EXPECT_NE(saved_edit_proc, nullptr);
    EXPECT_NE(saved_edit_proc, answer_box_proc);
}

TEST_F(AnswerEntry, MessageTable) {
    fill_numbered(text_quiz, 1, 0, 2);
    create_panel();
    record_passed_on();
    struct Case {
        const char* label;
        UINT message;
        WPARAM wparam;
        bool passes_on;
        LRESULT result_if_consumed;
        bool grades;
    };
    const Case cases[] = {
        {"Enter released", WM_KEYUP, VK_RETURN, false, 1, true},
        {"Alt+Enter", WM_SYSKEYDOWN, VK_RETURN, false, 1, true},
        {"Enter pressed", WM_KEYDOWN, VK_RETURN, true, 0, false},
        {"Enter character", WM_CHAR, '\r', false, 0, false},
        {"Tab character", WM_CHAR, '\t', false, 0, false},
        {"letter", WM_CHAR, 'x', true, 0, false},
        {"other key released", WM_KEYUP, 'X', true, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SetWindowTextA(box(1), "reponse1");
        SetDlgItemTextA(panel, 5001, "?");
        passed_on.clear();
        const LRESULT result = SendMessageA(box(1), c.message, c.wparam, 0);
        EXPECT_EQ(was_passed_on(c.message, c.wparam), c.passes_on);
        if (!c.passes_on) {
            EXPECT_EQ(result, c.result_if_consumed);
        }
        EXPECT_EQ(feedback(1), c.grades ? "BRAVO" : "?");
    }
}

TEST_F(AnswerEntry, TypedCharactersStillReachTheBox) {
    fill_numbered(text_quiz, 1, 0, 1);
    create_panel();
    SetWindowTextA(box(1), "ab");
    SendMessageA(box(1), EM_SETSEL, 2, 2);
    for (WPARAM character : {WPARAM('\r'), WPARAM('\t'), WPARAM('c')}) PostMessageA(box(1), WM_CHAR, character, 1);
    pump(panel);
    EXPECT_EQ(text_of(box(1)), "abc");
}

TEST_F(AnswerEntry, FocusSelectsTheWholeTextAndLeavingGradesTheBox) {
    fill_numbered(text_quiz, 1, 0, 2);
    create_panel();
    SetFocus(box(1));
    SetWindowTextA(box(2), "reponse2");
    SendMessageA(box(2), EM_SETSEL, 3, 3);
    record_passed_on();
    SetFocus(box(2));
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(box(2), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 8u);
    EXPECT_TRUE(was_passed_on(WM_SETFOCUS, reinterpret_cast<WPARAM>(box(1))));
    EXPECT_EQ(feedback(2), "?");
    SetFocus(box(1));
    EXPECT_EQ(feedback(2), "BRAVO");
    EXPECT_TRUE(was_passed_on(WM_KILLFOCUS, reinterpret_cast<WPARAM>(box(1))));
}

TEST_F(AnswerEntry, TabThroughTheDialogNavigationGradesTheBoxLeft) {
    fill_numbered(text_quiz, 1, 0, 3);
    create_panel();
    SetFocus(box(1));
    SetWindowTextA(box(1), "reponse");
    PostMessageA(box(1), WM_KEYDOWN, VK_TAB, 1);
    PostMessageA(box(1), WM_KEYUP, VK_TAB, 0xC0000001);
    pump(panel);
    EXPECT_EQ(GetFocus(), box(2));
    EXPECT_EQ(feedback(1), "Quasiment");
    EXPECT_EQ(text_of(box(1)), "reponse");
}

TEST_F(AnswerEntry, UpDownAndPageKeysPageThePanel) {
    fill_numbered(picture_quiz, 1, 0, 4);  // 685 high in 400: bottom at 285
    create_panel(800, 400);
    record_passed_on();
    struct Case {
        WPARAM key;
        int position;
    };
    const Case cases[] = {{VK_NEXT, 285}, {VK_PRIOR, 0}, {VK_DOWN, 285}, {VK_UP, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        passed_on.clear();
        SendMessageA(box(1), WM_KEYUP, c.key, 0xC0000001);
        EXPECT_EQ(vertical_position(), c.position);
        EXPECT_TRUE(was_passed_on(WM_KEYUP, c.key));
    }
    EXPECT_EQ(rect_in_parent(box(1)).top, 285);
}

TEST_F(AnswerEntry, F1TriesTheTextInEveryUnsolvedBox) {
    fill_numbered(picture_quiz, 1, 0, 5);
    create_panel();
    answer(2, "reponse2");
    ASSERT_EQ(feedback(2), "BRAVO");
    SetFocus(box(1));
    SetWindowTextA(box(1), "reponse4");
    SendMessageA(box(1), WM_KEYUP, VK_F1, 0xC0000001);
    const char* texts[] = {"reponse4", "reponse2", "reponse4", "reponse4", "reponse4"};
    const char* grades[] = {"Quasiment", "BRAVO", "Quasiment", "BRAVO", "Quasiment"};
    for (int b = 1; b <= 5; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(text_of(box(b)), texts[b - 1]);
        EXPECT_EQ(feedback(b), grades[b - 1]);
    }
    EXPECT_EQ(GetFocus(), box(1));
    EXPECT_EQ(header_text(32), " 2 / 5");
}

TEST_F(AnswerEntry, F1InTheOnlyUnsolvedBoxChangesNothing) {
    fill_numbered(picture_quiz, 1, 0, 3);
    create_panel();
    answer(2, "reponse2");
    answer(3, "reponse3");
    SetFocus(box(1));
    SetWindowTextA(box(1), "x");
    SendMessageA(box(1), WM_KEYUP, VK_F1, 0xC0000001);
    EXPECT_EQ(text_of(box(1)), "x");
    EXPECT_EQ(feedback(1), "?");  // it kept the focus, so it was not graded
    EXPECT_EQ(text_of(box(2)), "reponse2");
    EXPECT_EQ(GetFocus(), box(1));
}

TEST_F(AnswerEntry, F2WritesOneLinePerBoxAndReplacesTheWholeFile) {
    fill_numbered(picture_quiz, 2, 0, 2);
    create_panel();
    SetWindowTextA(box(1), "abc");
    SetWindowTextA(box(3), "é x%s");
    SetWindowTextA(box(4), " y ");
    SendMessageA(box(2), WM_KEYUP, VK_F2, 0xC0000001);
    EXPECT_EQ(read_file(results_file()), "abc\r\n\r\né x%s\r\n y \r\n");
    SetWindowTextA(box(3), "");
    SetWindowTextA(box(4), "");
    SendMessageA(box(1), WM_KEYUP, VK_F2, 0xC0000001);
    EXPECT_EQ(read_file(results_file()), "abc\r\n\r\n\r\n\r\n");
    EXPECT_TRUE(files_matching("dvn*.tmp").empty());
}

TEST_F(AnswerEntry, TextQuizSavesOneLinePerQuestion) {
    fill_numbered(text_quiz, 2, 0, 3);
    create_panel();
    SetWindowTextA(box(2), "deux");
    save_answers(panel);
    EXPECT_EQ(read_file(results_file()), "\r\ndeux\r\n\r\n");
}

TEST_F(AnswerEntry, SavedAnswersComeBackInTheSameBoxes) {
    fill_numbered(picture_quiz, 1, 0, 3);
    create_panel();
    const std::string long_answer(259, 'z');
    SetWindowTextA(box(1), "reponse1");
    SetWindowTextA(box(3), long_answer.c_str());
    save_answers(panel);
    destroy_panel();
    create_panel();
    EXPECT_EQ(text_of(box(1)), "reponse1");
    EXPECT_EQ(text_of(box(2)), "");
    EXPECT_EQ(text_of(box(3)), long_answer);
    EXPECT_EQ(feedback(1), "BRAVO");
}

TEST_F(AnswerEntry, SaveWithoutAnswerBoxesWritesNothing) {
    write_file(results_file(), "garder\r\n");
    save_answers(nullptr);
    EXPECT_EQ(read_file(results_file()), "garder\r\n");
    fill_numbered(7, 1, 0, 2);  // an unknown kind builds no rows
    create_panel();
    save_answers(panel);
    EXPECT_EQ(read_file(results_file()), "garder\r\n");
}

}  // namespace
}  // namespace panel_test
