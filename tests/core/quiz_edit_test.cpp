// The editor's operations on the question list, and its history.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "authoring/quiz_edit.h"
#include "quiz_data/quiz_content.h"

namespace {

QuizModel lettered(const std::string& answers) {
    QuizModel quiz;
    quiz.kind = picture_quiz;
    for (char c : answers) {
        quiz.questions.emplace_back();
        quiz.questions.back().answers[0] = std::string(1, c);
    }
    return quiz;
}

std::string answers_of(const QuizModel& quiz) {
    std::string answers;
    for (const ModelQuestion& question : quiz.questions) answers += question.answers[0].empty() ? "_" : question.answers[0];
    return answers;
}

TEST(QuizEdit, ListOperationsAndTheirBounds) {
    const struct {
        const char* name;
        int (*operation)(QuizModel&, int);
        int index;
        int selected;         // -1: nothing changed
        const char* answers;  // after, from "abc"
    } rows[] = {
        {"insert first", insert_question, 0, 0, "_abc"},
        {"insert last", insert_question, 3, 3, "abc_"},
        {"insert past the end", insert_question, 4, -1, "abc"},
        {"duplicate", duplicate_question, 1, 2, "abbc"},
        {"remove the last", remove_question, 2, 1, "ab"},
        {"remove none", remove_question, 3, -1, "abc"},
        {"up", [](QuizModel& q, int i) { return move_question(q, i, -1); }, 1, 0, "bac"},
        {"up from the top", [](QuizModel& q, int i) { return move_question(q, i, -1); }, 0, -1, "abc"},
        {"down from the bottom", [](QuizModel& q, int i) { return move_question(q, i, 1); }, 2, -1, "abc"},
        {"dragged down", [](QuizModel& q, int i) { return move_question_to(q, i, 2); }, 0, 2, "bca"},
        {"dragged on itself", [](QuizModel& q, int i) { return move_question_to(q, i, 1); }, 1, -1, "abc"},
        {"files", [](QuizModel& q, int i) { return add_file_questions(q, i, {"images/x_y.jpg", "z.png"}); }, 1, 1,
         "ax yzbc"},
    };
    for (const auto& row : rows) {
        QuizModel quiz = lettered("abc");
        for (ModelQuestion& question : quiz.questions) question.origin = 0;
        EXPECT_EQ(row.operation(quiz, row.index), row.selected) << row.name;
        EXPECT_EQ(answers_of(quiz), row.answers) << row.name;
    }
    QuizModel copied = lettered("a");
    copied.questions[0].origin = 0;
    duplicate_question(copied, 0);
    EXPECT_EQ(copied.questions[1].origin, -1);  // written fresh, without the original's comments
    QuizModel full = lettered(std::string(max_questions, 'q'));
    EXPECT_EQ(insert_question(full, 0), -1);
    EXPECT_EQ(duplicate_question(full, 0), -1);
    EXPECT_EQ(add_file_questions(full, 0, {"a.jpg"}), -1);
    QuizModel almost = lettered(std::string(max_questions - 1, 'q'));
    EXPECT_EQ(add_file_questions(almost, 0, {"a.jpg", "b.jpg"}), 0);
    EXPECT_EQ(almost.questions.size(), static_cast<std::size_t>(max_questions));
}

TEST(QuizEdit, TypingInOneFieldIsOneStepAndUndoRedoWalksEveryChange) {
    EditHistory history;
    QuizState state{lettered("a"), 0};
    const auto type = [&](const std::string& field, const std::string& answer) {
        state.number = record_change(history, state, field);
        state.quiz.questions[0].answers[0] = answer;
    };
    type("answer 1", "ab");
    type("answer 1", "abc");  // the same step
    type("text 1", "abcd");   // another field: another step
    end_typing(history);
    state.number = record_change(history, state);
    remove_question(state.quiz, 0);
    const std::vector<std::string> back = {"abcd", "abc", "a"};
    for (const std::string& answers : back) {
        ASSERT_TRUE(undo_change(history, state));
        EXPECT_EQ(answers_of(state.quiz), answers);
    }
    EXPECT_FALSE(undo_change(history, state));
    EXPECT_EQ(state.number, 0);  // the first state again: nothing unsaved
    ASSERT_TRUE(redo_change(history, state));
    EXPECT_EQ(answers_of(state.quiz), "abc");
    type("answer 1", "x");  // a change after an undo drops what could be redone
    EXPECT_FALSE(redo_change(history, state));
}

TEST(QuizEdit, CodesAsTheEditorShowsThemAndReadsThemBack) {
    const struct {
        const char* text;
        const char* read;  // "SCORE=CODE;..." or "bad: LINE"
    } rows[] = {
        {"1 = SEINE\r\n\r\n 5 =  MOITIÉ \r\n10 = BRAVO PARIS", "1=SEINE;5=MOITIÉ;10=BRAVO PARIS;"},
        {"96 = FIN", "96=FIN;"},
        {"97 = TROP", "bad: 97 = TROP"},
        {"0 = RIEN", "bad: 0 = RIEN"},
        {"5 = B\n3 = A", "bad: 3 = A"},
        {"CODE", "bad: CODE"},
    };
    for (const auto& row : rows) {
        std::vector<ScoredCode> codes;
        std::string bad;
        std::string read;
        if (codes_of_text(row.text, codes, bad))
            for (const ScoredCode& code : codes) read += std::to_string(code.score) + "=" + code.code + ";";
        else
            read = "bad: " + bad;
        EXPECT_EQ(read, row.read) << row.text;
    }
    std::vector<ScoredCode> again;
    std::string bad;
    const std::vector<ScoredCode> codes = {{2, "B", {}}, {7, "G", {}}};
    ASSERT_TRUE(codes_of_text(text_of_codes(codes), again, bad));
    EXPECT_EQ(text_of_codes(again), "2 = B\r\n7 = G");
}

}  // namespace
