// Grading through real answer boxes: feedback words, reveal text and answer
// picture, score and code in the header, label colours, and no GDI leak.
#include <windows.h>

#include <gtest/gtest.h>

#include <iterator>

#include "answers/evaluation.h"
#include "question_panel_harness.h"

namespace panel_test {
namespace {

class AnswerEvaluation : public PanelTest {
protected:
    HBITMAP picture_of(int question_number) const {
        return reinterpret_cast<HBITMAP>(
            SendMessageA(item(picture_control_id_base + question_number), STM_GETIMAGE, IMAGE_BITMAP, 0));
    }
    int picture_width(int question_number) const {
        BITMAP info = {};
        GetObjectA(picture_of(question_number), sizeof info, &info);
        return info.bmWidth;
    }
};

struct GradeCase {
    const char* accepted;
    const char* typed;
    const char* grade;
};

TEST_F(AnswerEvaluation, TypedAnswersAreGradedOnTheReleaseOfEnter) {
    // The box's raw text reaches the grading: spaces, case, accents and length as typed.
    const GradeCase cases[] = {
        {"Tournesol", "   ", "?"},
        {"Tournesol", "  tournesol ", "BRAVO"},
        {"La belle au bois dormant", "belle au bois dormant", "Trop court"},
        {"abcdefghijklmnop", "abcxefgyijklmzop", "y a de l'idée"},
        {"École", "ecole", "Quasiment"},
        {"", "ab", "Presque"},
    };
    std::vector<QuestionText> questions;
    for (const GradeCase& c : cases) questions.push_back({c.accepted, "", "question", nullptr});
    fill(text_quiz, 1, 0, questions);
    create_panel();
    for (int b = 1; b <= static_cast<int>(std::size(cases)); ++b) {
        const GradeCase& c = cases[b - 1];
        SCOPED_TRACE(testing::Message() << c.accepted << " / " << c.typed);
        SetWindowTextA(box(b), c.typed);
        PostMessageA(box(b), WM_KEYDOWN, VK_RETURN, 1);
        pump(panel);
        EXPECT_EQ(feedback(b), "?");  // pressing alone grades nothing
        PostMessageA(box(b), WM_KEYUP, VK_RETURN, 0xC0000001);
        pump(panel);
        EXPECT_EQ(feedback(b), c.grade);
        EXPECT_EQ(text_of(box(b)), c.typed);  // no line break inserted
    }
}

TEST_F(AnswerEvaluation, ScoreAndCodeFollowTheSolvedQuestions) {
    fill_numbered(text_quiz, 1, 0, 45);
    for (int k = 0; k < 45; ++k) copy_text(record->codes[k], ("CODE" + std::to_string(k + 1)).c_str());
    create_panel();
    answer(10, "reponse10");
    EXPECT_EQ(header_text(32), " 1 / 45");
    EXPECT_EQ(header_text(30), "CODE1");
    answer(2, "reponse2");
    answer(40, "reponse40");
    EXPECT_EQ(header_text(32), " 3 / 45");
    EXPECT_EQ(header_text(30), "CODE3");
    answer(2, "reponse");  // changed and submitted again: the score falls
    EXPECT_EQ(header_text(32), " 2 / 45");
    EXPECT_EQ(header_text(30), "CODE2");
    answer(10, "");
    answer(40, "x");
    EXPECT_EQ(header_text(32), " 0 / 45");
    EXPECT_EQ(header_text(30), "      ");
}

TEST_F(AnswerEvaluation, TwoBoxQuestionScoresOnItsFirstBoxAlone) {
    fill_numbered(picture_quiz, 2, 0, 3);
    create_panel();
    answer(1, "reponse1");
    answer(2, "faux");
    EXPECT_EQ(feedback(2), "FAUX");
    EXPECT_EQ(header_text(32), " 1 / 3");
    answer(4, "bis2");  // second box right, first box not: no score
    EXPECT_EQ(header_text(32), " 1 / 3");
}

TEST_F(AnswerEvaluation, RevealShowsTextAndAnswerPictureOnlyForExactAnswers) {
    fill_numbered(picture_quiz, 1, 3, 3);
    create_panel();
    HBITMAP question_picture = picture_of(1);
    ASSERT_NE(question_picture, nullptr);

    answer(1, " reponse1");  // right after trimming, but the raw text blocks the reveal
    EXPECT_EQ(feedback(1), "BRAVO");
    EXPECT_EQ(text_of(item(8001)), "");
    EXPECT_EQ(picture_of(1), question_picture);

    answer(1, "REPONSE1");
    EXPECT_EQ(text_of(item(8001)), "Révélation 1");
    EXPECT_EQ(picture_width(1), 258);  // answer picture 10401
    EXPECT_EQ(GetObjectType(question_picture), 0u);

    HBITMAP answer_picture = picture_of(1);
    answer(1, "reponse");  // wrong again: the text goes, the answer picture stays
    EXPECT_EQ(feedback(1), "Quasiment");
    EXPECT_EQ(text_of(item(8001)), "");
    EXPECT_EQ(picture_of(1), answer_picture);
}

TEST_F(AnswerEvaluation, MissingAnswerPictureLeavesTheQuestionPicture) {
    fill_numbered(picture_quiz, 1, 3, 3);  // no IMG 10403
    create_panel();
    HBITMAP question_picture = picture_of(3);
    answer(3, "reponse3");
    EXPECT_EQ(feedback(3), "BRAVO");
    EXPECT_EQ(text_of(item(8003)), "Révélation 3");
    EXPECT_EQ(picture_of(3), question_picture);
    EXPECT_EQ(GetObjectType(question_picture), static_cast<DWORD>(OBJ_BITMAP));
}

TEST_F(AnswerEvaluation, RevealModesChooseTextPictureOrBoth) {
    struct Case {
        int reveal_mode;
        bool text;
        bool picture;
    };
    const Case cases[] = {{0, false, false}, {1, false, true}, {2, true, false}, {3, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reveal_mode);
        record = std::make_unique<QuizRecord>();
        quiz = record.get();
        record->header_panel = header;
        fill_numbered(picture_quiz, 1, c.reveal_mode, 2);
        create_panel();
        answer(2, "reponse2");  // answer picture 10402 is a landscape: compare handles
        HBITMAP before = picture_of(2);
        answer(2, "reponse2");
        HWND reveal = item(8002);
        EXPECT_EQ(reveal != nullptr && text_of(reveal) == "Révélation 2", c.text);
        EXPECT_EQ(picture_of(2) != before, c.picture);
        destroy_panel();
    }
}

TEST_F(AnswerEvaluation, TwoBoxQuestionRevealsOnlyWhenBothBoxesAreExact) {
    fill_numbered(picture_quiz, 2, 2, 2);
    create_panel();
    answer(1, "reponse1");
    answer(2, "bis");
    EXPECT_EQ(text_of(item(8001)), "");
    answer(2, "bis1");
    EXPECT_EQ(text_of(item(8001)), "Révélation 1");
}

TEST_F(AnswerEvaluation, ThousandRevealsKeepOneLiveBitmapPerControl) {
    fill_numbered(picture_quiz, 1, 1, 3);
    create_panel();
    SetWindowTextA(box(1), "reponse1");
    HBITMAP previous = picture_of(1);
    HBITMAP other = picture_of(2);
    for (int i = 0; i < 1000; ++i) {
        evaluate_answer(*record, panel, 4001);
        HBITMAP current = picture_of(1);
        ASSERT_NE(current, previous) << i;
        ASSERT_EQ(GetObjectType(previous), 0u) << "bitmap " << i << " was not deleted";
        ASSERT_EQ(GetObjectType(current), static_cast<DWORD>(OBJ_BITMAP)) << i;
        previous = current;
    }
    EXPECT_EQ(picture_of(2), other);
    destroy_panel();
    EXPECT_EQ(GetObjectType(previous), 0u);  // the panel deletes its pictures
    EXPECT_EQ(GetObjectType(other), 0u);
}

TEST_F(AnswerEvaluation, BoxPastTheLastQuestionGradesAgainstTheLastEntry) {
    fill_numbered(text_quiz, 1, 0, 2);
    record->question_count = 3;  // three rows, two entries
    create_panel();
    std::vector<std::string> question_texts;
    for (HWND child = GetWindow(panel, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) == 3000) question_texts.push_back(text_of(child));
    EXPECT_EQ(question_texts, (std::vector<std::string>{"Question 1", "Question 2", "Question 2"}));
    answer(3, "reponse2");
    EXPECT_EQ(feedback(3), "BRAVO");
}

// WM_CTLCOLORSTATIC with a real device context: the dialog procedure's own
// result (FALSE leaves the colours to the default handling) and the colours set.
class LabelColours : public AnswerEvaluation {
protected:
    INT_PTR colour(HWND label, HDC dc) {
        return question_panel_proc(panel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                   reinterpret_cast<LPARAM>(label));
    }
    static INT_PTR as_result(const OwnedBrush& brush) { return reinterpret_cast<INT_PTR>(brush.get()); }
};

TEST_F(LabelColours, FeedbackLabelsByGrade) {
    fill_numbered(picture_quiz, 1, 2, 3);
    create_panel();
    struct Case {
        const char* grade;
        const OwnedBrush* brush;  // nullptr: no brush, colours untouched
        COLORREF background;
    };
    const COLORREF untouched = RGB(1, 2, 3);
    const Case cases[] = {
        {"Anagramme", &record->brush_orange, RGB(255, 0, 0)}, {"BRAVO", &record->brush_green, RGB(0, 255, 0)},
        {"FAUX", &record->brush_red, RGB(255, 0, 0)},         {"?", nullptr, untouched},
        {"Quasiment", &record->brush_amber, RGB(255, 0, 0)},  {"Presque", &record->brush_amber, RGB(255, 0, 0)},
        {"Trop court", &record->brush_amber, RGB(255, 0, 0)}, {"Trop long", &record->brush_amber, RGB(255, 0, 0)},
        {"pas loin", &record->brush_amber, RGB(255, 0, 0)},   {"y a de l'idée", &record->brush_amber, RGB(255, 0, 0)},
        {"bravo", &record->brush_amber, RGB(255, 0, 0)},
    };
    HWND label = item(5003);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.grade);
        SetWindowTextA(label, c.grade);
        HDC dc = GetDC(label);
        SetBkColor(dc, untouched);
        SetBkMode(dc, OPAQUE);
        EXPECT_EQ(colour(label, dc), c.brush ? as_result(*c.brush) : 0);
        EXPECT_EQ(GetBkColor(dc), c.background);
        EXPECT_EQ(GetBkMode(dc), OPAQUE);
        ReleaseDC(label, dc);
    }
}

TEST_F(LabelColours, NumberCaptionAndRevealLabelsOnThePanelColour) {
    struct Case {
        BYTE red, green, blue;
        COLORREF text;
    };
    const Case cases[] = {{50, 50, 200, RGB(255, 255, 255)}, {50, 100, 20, RGB(0, 0, 0)},
                          {59, 59, 0, RGB(255, 255, 255)},   {60, 59, 0, RGB(0, 0, 0)}};
    fill_numbered(picture_quiz, 2, 2, 3);
    create_panel();
    HWND caption = GetWindow(item(9901), GW_HWNDNEXT);
    ASSERT_EQ(GetDlgCtrlID(caption), 156);
    HWND number = GetWindow(GetWindow(caption, GW_HWNDNEXT), GW_HWNDNEXT);
    ASSERT_EQ(GetDlgCtrlID(number), 153);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.red) << "," << int(c.green));
        record->colour_red = c.red;
        record->colour_green = c.green;
        record->colour_blue = c.blue;
        for (HWND label : {number, caption, item(8003)}) {
            HDC dc = GetDC(label);
            SetBkMode(dc, OPAQUE);
            SetTextColor(dc, RGB(1, 2, 3));
            EXPECT_EQ(colour(label, dc), as_result(record->colour_brush));
            EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
            EXPECT_EQ(GetTextColor(dc), c.text);
            ReleaseDC(label, dc);
        }
    }
}

TEST_F(LabelColours, QuestionLabelPaleYellowAndOtherStaticsUntouched) {
    fill_numbered(text_quiz, 1, 0, 2);
    create_panel();
    HWND question = GetWindow(GetWindow(panel, GW_CHILD), GW_HWNDNEXT);
    ASSERT_EQ(GetDlgCtrlID(question), 3000);
    HDC dc = GetDC(question);
    EXPECT_EQ(colour(question, dc), as_result(record->brush_pale_yellow));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 192));
    ReleaseDC(question, dc);

    HWND stranger = CreateWindowExA(0, "Static", "x", WS_CHILD, 0, 0, 5, 5, panel,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(9901)), nullptr, nullptr);
    dc = GetDC(stranger);
    SetBkColor(dc, RGB(1, 2, 3));
    EXPECT_EQ(colour(stranger, dc), 0);
    EXPECT_EQ(GetBkColor(dc), RGB(1, 2, 3));
    ReleaseDC(stranger, dc);
    // feedback ids past the last box are not feedback labels
    SetWindowLongPtrA(stranger, GWLP_ID, 5003);
    SetWindowTextA(stranger, "BRAVO");
    dc = GetDC(stranger);
    EXPECT_EQ(colour(stranger, dc), 0);
    ReleaseDC(stranger, dc);
}

TEST_F(LabelColours, PanelBackgroundIsTheQuizColour) {
    fill_numbered(text_quiz, 1, 0, 1);
    create_panel();
    HDC dc = GetDC(panel);
    EXPECT_EQ(SendMessageA(panel, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(panel)),
              as_result(record->colour_brush));
    ReleaseDC(panel, dc);
}

}  // namespace
}  // namespace panel_test
