// What the pack tool tells a quiz maker: every mistake of a source at once,
// the grading warnings, the tries, `try` and `new`'s names (`new` on real
// folders: tests/e2e/quiz_maker.sh). Sources are u8 literals;
// typed texts handed to the grading are Windows-1252 (plain literals).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "authoring/new_quiz.h"
#include "authoring/quiz_check.h"
#include "authoring/quiz_source.h"

namespace {

QuizSource read_or_fail(const std::string& text) {
    QuizSource source;
    std::string error;
    EXPECT_TRUE(read_quiz_source(text, "quiz.toml", "", source, error)) << error;
    return source;
}

// Ten pixels per byte: "Constantinople" is 140 pixels, wider than any box.
int ten_pixels_a_byte(const std::string& text) { return 10 * static_cast<int>(text.size()); }

TEST(EveryMistake, AllReportedInOneRunWithLineAndColumn) {
    const std::string text = u8R"(kind = "text"
title = "Nord → Sud"
colour = "#12345"
titel = "x"

[[question]]
answer = "a|b"

[[question]]
answers = ["a", "b"]
tries = { "x" = "Bravo" }
)";
    QuizSource source;
    std::string error;
    EXPECT_FALSE(read_quiz_source(text, "quiz.toml", "", source, error));
    // Accented expectations stay out of the macros, which would quote them in Windows-1252.
    const std::string expected =
              u8"quiz.toml:4:1: error: titel: unknown key\n"
              u8"quiz.toml:2:9: error: title: character U+2192 (→) cannot be written in Windows-1252\n"
              u8"quiz.toml:3:10: error: colour: expected \"#RRGGBB\": red, green and blue in hexadecimal, not "
              u8"\"#12345\"\n"
              u8"quiz.toml:7:10: error: question 1: answer: text contains '|', which a quiz cannot hold\n"
              u8"quiz.toml:10:11: error: question 2: answers: a text quiz has one answer box per question; use "
              u8"answer = \"...\"\n"
              u8"quiz.toml:11:17: error: question 2: tries: expected one of the grades \"?\", \"BRAVO\", "
              u8"\"Anagramme\", \"Quasiment\", \"Presque\", \"Trop court\", \"pas loin\", \"Trop long\", \"y a de "
              u8"l'idée\", \"FAUX\"";
    EXPECT_EQ(error, expected);
}

// ---------------------------------------------------------------- warnings and tries

struct Warned {
    const char* name;
    std::string answers;  // the questions' answer lines
    std::string warnings;
};

const Warned warned[] = {
    {"leading space", u8"answer = \" Paris\"\n",
     "quiz.toml:3:10: warning: question 1: answer: the answer starts with a space, and the player removes the spaces "
     "around what is typed: no typed text can ever get \"BRAVO\""},
    {"accents", u8"answer = \"Élysée\"\n",
     u8"quiz.toml:3:10: warning: question 1: answer: \"Élysée\" holds letters beyond A-Z: a player who types "
     u8"\"Elysee\" gets \"Presque\""},
    {"one accent", u8"answer = \"Noël\"\n", u8"who types \"Noel\" gets \"Quasiment\""},
    {"same answer twice", u8"answer = \"Paris\"\n[[question]]\nanswer = \"paris\"\n",
     "quiz.toml:5:10: warning: question 2: answer: question 1 accepts \"Paris\" too: F1, which tries a box's text in "
     "every unsolved box, solves both at once"},
    {"two letters", u8"answer = \"Li\"\n",
     "quiz.toml:3:10: warning: question 1: answer: \"Li\" has 3 letters or fewer, so unrelated answers get near "
     "misses (typed \"Na\": \"Presque\")"},
    {"three letters", u8"answer = \"Fer\"\n", "(typed \"Fna\": \"Presque\")"},
    {"four letters are long enough", u8"answer = \"Zinc\"\n", ""},
    {"wider than the box", u8"answer = \"Constantinople\"\n",
     "quiz.toml:3:10: warning: question 1: answer: \"Constantinople\" is 140 pixels wide and the answer box shows 92: "
     "the player never sees it whole while typing"},
    {"as wide as the box shows", u8"answer = \"Amsterdam\"\n", ""},
};

TEST(GradingWarnings, EachWarningOnceWhereTheAnswerIs) {
    for (const Warned& row : warned) {
        SCOPED_TRACE(row.name);
        const QuizSource source = read_or_fail("kind = \"text\"\n[[question]]\n" + row.answers);
        const GradingCheck check = check_grading(source, ten_pixels_a_byte);
        EXPECT_EQ(check.error_count, 0);
        if (row.warnings.empty()) {
            EXPECT_EQ(check.warnings, "");
        } else {
            EXPECT_EQ(check.warning_count, 1) << check.warnings;
            EXPECT_NE(check.warnings.find(row.warnings), std::string::npos) << check.warnings;
        }
    }
}

TEST(Tries, EveryDifferingGradeIsAnErrorAtItsTry) {
    const QuizSource source = read_or_fail(
        u8R"(kind = "picture"
[[question]]
answers = ["Monet", "Nymphéas"]
picture = "q.jpg"
tries = { "Monnet" = "Quasiment", "Renoir" = "FAUX", "monet" = "BRAVO", "Manet" = "FAUX" }
tries_2 = { "Nympheas" = "Quasiment", "phéas" = "y a de l'idée" }
)");
    const GradingCheck check = check_grading(source, {});
    EXPECT_EQ(check.error_count, 2);
    const std::string expected =
        u8"quiz.toml:5:73: error: question 1: tries: \"Manet\" gets \"Quasiment\", not \"FAUX\"\n"
        u8"quiz.toml:6:39: error: question 1: tries_2: \"phéas\" gets \"FAUX\", not \"y a de l'idée\"";
    EXPECT_EQ(check.errors, expected);
}

TEST(Tries, RefusedWhereTheyCannotBe) {
    QuizSource source;
    std::string error;
    EXPECT_FALSE(read_quiz_source("kind = \"text\"\n[[question]]\nanswer = \"a\"\ntries_2 = { \"a\" = \"BRAVO\" }\n",
                                  "quiz.toml", "", source, error));
    EXPECT_EQ(error, "quiz.toml:4:11: error: question 1: tries_2: only a question with two answers (answers) has a "
                     "second box");
}

// ---------------------------------------------------------------- try

TEST(TryLine, GradeAndSolvedAsThePlayerDecides) {
    const QuizSource text_quiz = read_or_fail(
        "kind = \"text\"\nreveal = \"text\"\n[[question]]\nanswer = \"Tournesol\"\nreveal_text = \"x\"\n");
    const QuizSource two_boxes = read_or_fail(
        "kind = \"picture\"\n[[question]]\nanswers = [\"Monet\", \"Impression\"]\npicture = \"q.jpg\"\n");
    const struct {
        const QuizContent& quiz;
        int box;
        const char* typed;
        const char* line;
    } rows[] = {
        {text_quiz.content, 1, "   ", "\"   \" -> ?: not solved"},
        {text_quiz.content, 1, " tournesol",
         "\" tournesol\" -> BRAVO: solved, but nothing is revealed while the box's text has spaces around it"},
        {two_boxes.content, 2, "impression", "\"impression\" -> BRAVO: the second box never decides whether the "
                                             "question is solved"},
        {two_boxes.content, 1, "Mon\xE9t", u8"\"Monét\" -> Quasiment: not solved"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        EXPECT_EQ(try_line(row.quiz, 1, row.box, row.typed), row.line);
    }
}

// ---------------------------------------------------------------- new

TEST(NewQuiz, FileNamesGiveAnswersInNumberOrder) {
    const std::pair<std::string, std::string> answers[] = {{"Tour_Eiffel.jpg", "Tour Eiffel"},
                                                           {u8"Château de  Versailles .png", u8"Château de Versailles"},
                                                           {"Saint-Exupery__2.JPG", "Saint-Exupery 2"},
                                                           {".hidden", ".hidden"}};
    for (const auto& [name, answer] : answers) EXPECT_EQ(answer_from_file_name(name), answer);
    const std::vector<std::pair<const char*, const char*>> ordered = {
        {"q2.jpg", "q10.jpg"}, {"IMG_9.png", "img_10.png"}, {"a.jpg", "B.jpg"}, {"x1y", "x1z"}, {"ab", "abc"}};
    for (const auto& [first, second] : ordered) {
        EXPECT_TRUE(file_name_before(first, second)) << first << " " << second;
        EXPECT_FALSE(file_name_before(second, first)) << first << " " << second;
    }
}

}  // namespace
