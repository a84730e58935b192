#include "quiz_data/quiz_content.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(QuizContent, FreshDefaults) {
    const QuizContent quiz;
    EXPECT_EQ(quiz.quiz_kind, text_quiz);
    EXPECT_STREQ(quiz.title, "nom du quizz");
    EXPECT_STREQ(quiz.creator, " createur");
    EXPECT_STREQ(quiz.explanations, "");
    EXPECT_STREQ(quiz.answer_label_1, "");
    EXPECT_STREQ(quiz.answer_label_2, "");
    EXPECT_EQ(quiz.question_count, 2);
    EXPECT_EQ(quiz.answers_per_question, 1);
    EXPECT_EQ(quiz.reveal_mode, 0);
    EXPECT_EQ(quiz.colour_red, 90);
    EXPECT_EQ(quiz.colour_green, 95);
    EXPECT_EQ(quiz.colour_blue, 150);
    EXPECT_EQ(quiz.first_question, nullptr);
    EXPECT_EQ(quiz.last_question, nullptr);
    EXPECT_EQ(entry_count(quiz), 0);
    for (int i = 0; i < max_questions; ++i) EXPECT_STREQ(quiz.codes[i], "") << i;
}

TEST(QuizContent, EmptyListHasNoEntry) {
    const QuizContent quiz;
    for (int index : {0, 1, 5}) EXPECT_EQ(question_at(quiz, index), nullptr) << index;
}

TEST(QuizContent, LookupInAppendOrderAndPastTheEnd) {
    QuizContent quiz;
    append_question(quiz, "un", "1", "premier");
    append_question(quiz, "deux", "2", "deuxième");
    append_question(quiz, "trois", "3", "troisième");
    EXPECT_EQ(entry_count(quiz), 3);
    const struct {
        int index;
        const char* answer_1;
    } cases[] = {{0, "un"}, {1, "deux"}, {2, "trois"}, {3, "trois"}, {5, "trois"}, {95, "trois"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        const QuestionEntry* entry = question_at(quiz, c.index);
        ASSERT_NE(entry, nullptr);
        EXPECT_STREQ(entry->answer_1, c.answer_1);
    }
    EXPECT_EQ(question_at(quiz, 2), quiz.last_question);
    EXPECT_EQ(quiz.last_question->next, nullptr);
    EXPECT_STREQ(question_at(quiz, 1)->answer_2, "2");
    EXPECT_STREQ(question_at(quiz, 1)->question_text, "deuxième");
    EXPECT_STREQ(question_at(quiz, 1)->reveal_text, "");
}

TEST(QuizContent, CopiedTextsAreCutTo259Bytes) {
    const std::string exact(259, 'e');
    const std::string longer(400, 'l');
    QuizContent quiz;
    append_question(quiz, exact.c_str(), longer.c_str(), "");
    EXPECT_EQ(std::string(quiz.first_question->answer_1), exact);
    EXPECT_EQ(std::string(quiz.first_question->answer_2), std::string(259, 'l'));
    copy_text(quiz.title, longer.c_str());
    EXPECT_EQ(std::string(quiz.title), std::string(259, 'l'));
}

TEST(QuizContent, FallbackQuiz) {
    QuizContent quiz;
    fill_fallback_quiz(quiz);
    EXPECT_STREQ(quiz.title, "Nom du quizz");
    EXPECT_STREQ(quiz.creator, "Createur quizz");
    EXPECT_STREQ(quiz.explanations, "Explications du quizz");
    EXPECT_STREQ(quiz.answer_label_1, "Pr\xE9nom - Nom");
    EXPECT_STREQ(quiz.answer_label_2, "Manga / Anime");
    EXPECT_EQ(quiz.question_count, 7);
    EXPECT_EQ(quiz.answers_per_question, 1);
    EXPECT_EQ(quiz.reveal_mode, 3);
    EXPECT_EQ(quiz.quiz_kind, picture_quiz);
    const unsigned colour = quiz.colour_red + quiz.colour_green * 256u + quiz.colour_blue * 65536u;
    EXPECT_EQ(colour, 10734389u);
    EXPECT_EQ(entry_count(quiz), 2);
    for (int index = 0; index < 7; ++index) {
        SCOPED_TRACE(index);
        const QuestionEntry* entry = question_at(quiz, index);
        EXPECT_EQ(entry, index == 0 ? quiz.first_question.get() : quiz.last_question);
        EXPECT_STREQ(entry->answer_1, "test");
        EXPECT_STREQ(entry->answer_2, "test");
        EXPECT_STREQ(entry->question_text, "emplacement");
        EXPECT_STREQ(entry->reveal_text, "");
    }
    EXPECT_STREQ(quiz.codes[0], "");
}

}  // namespace
