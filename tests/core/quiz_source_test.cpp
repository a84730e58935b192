// The quiz source reader, the Windows-1252 conversions and the TOML writer.
// Sources are written as u8 literals (UTF-8 whatever the execution charset);
// expected quiz texts are plain literals, compiled to Windows-1252.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "authoring/cp1252.h"
#include "authoring/quiz_source.h"
#include "authoring/toml_writer.h"
#include "pictures/picture_convert.h"
#include "quiz_data/quiz_stream.h"
#include "quiz_data/stream_decoder.h"
#include "tests/support/quiz_difference.h"

namespace {

bool read(const std::string& text, QuizSource& source, std::string& error) {
    return read_quiz_source(text, "quiz.toml", "", source, error);
}

std::vector<std::string> entry_texts(const QuestionEntry& entry) {
    return {entry.answer_1, entry.answer_2, entry.question_text, entry.reveal_text};
}

// ---------------------------------------------------------------- refusals

struct Refusal {
    const char* name;
    std::string source;
    int line;            // 0: the message names no line
    const char* field;   // as the message names it
    std::string phrase;  // part of what the message says
};

std::string repeated(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += piece;
    return text;
}

std::string numbered_questions(int count) {
    std::string questions;
    for (int i = 1; i <= count; ++i) questions += "[[question]]\nanswer = \"r" + std::to_string(i) + "\"\n";
    return questions;
}

const Refusal refusals[] = {
    {"syntax error", u8"kind = \"text\"\ntitle = \n", 2, "TOML syntax", "expected value"},
    {"accented letter after a value", u8"kind = \"text\"\ntitle = \"a\" é\n", 2, "TOML syntax",
     "expected a comment or whitespace"},
    {"bare word value", u8"kind = \"sound\"\ntitle = t\n", 2, "TOML syntax", "saw 't\\n'"},
    {"unknown kind with a line break", u8"kind = \"a\\nb\"\n[[question]]\nanswer = \"a\"\n", 1, "kind",
     "unknown value \"a\\nb\""},
    {"unknown top-level key", u8"kind = \"text\"\ntitel = \"x\"\n[[question]]\nanswer = \"a\"\n", 2, "titel",
     "unknown key"},
    {"unknown table", u8"kind = \"text\"\n[[question]]\nanswer = \"a\"\n[extra]\nx = 1\n", 4, "extra", "unknown key"},
    {"unknown question key",
     u8"kind = \"text\"\n[[question]]\nanswer = \"a\"\n[[question]]\nanswer = \"b\"\nanwser = \"c\"\n", 6,
     "question 2: anwser", "unknown key"},
    {"missing kind", u8"title = \"x\"\n[[question]]\nanswer = \"a\"\n", 0, "kind", "missing"},
    {"unknown kind", u8"kind = \"image\"\n[[question]]\nanswer = \"a\"\n", 1, "kind", "unknown value \"image\""},
    {"kind not a string", u8"kind = 1\n[[question]]\nanswer = \"a\"\n", 1, "kind", "expected a string"},
    {"title not a string", u8"kind = \"text\"\ntitle = 5\n[[question]]\nanswer = \"a\"\n", 2, "title",
     "expected a string"},
    {"answer not a string", u8"kind = \"text\"\n[[question]]\nanswer = 3\n", 3, "question 1: answer",
     "expected a string"},
    {"text not a string", u8"kind = \"text\"\n[[question]]\nanswer = \"a\"\ntext = true\n", 4, "question 1: text",
     "expected a string"},
    {"picture not a string", u8"kind = \"picture\"\n[[question]]\nanswer = \"a\"\npicture = 7\n", 4,
     "question 1: picture", "expected a file name"},
    {"empty picture name", u8"kind = \"picture\"\n[[question]]\nanswer = \"a\"\npicture = \"\"\n", 4,
     "question 1: picture", "empty file name"},
    {"question a table", u8"kind = \"text\"\n[question]\nanswer = \"a\"\n", 2, "question",
     "expected [[question]] tables"},
    {"question a list of strings", u8"kind = \"text\"\nquestion = [\"a\"]\n", 2, "question",
     "expected [[question]] tables"},
    {"codes not a list", u8"kind = \"text\"\ncodes = \"A\"\n[[question]]\nanswer = \"a\"\n", 2, "codes",
     "expected a list of strings"},
    {"code not a string",
     u8"kind = \"text\"\ncodes = [\"A\", 2]\n[[question]]\nanswer = \"a\"\n[[question]]\nanswer = \"b\"\n", 2,
     "codes: code 2", "expected a string"},
    {"reveal not a string", u8"kind = \"text\"\nreveal = true\n[[question]]\nanswer = \"a\"\n", 2, "reveal",
     "expected a string"},
    {"unknown reveal", u8"kind = \"text\"\nreveal = \"all\"\n[[question]]\nanswer = \"a\"\n", 2, "reveal",
     "unknown value \"all\"; expected \"none\", \"picture\", \"text\" or \"text+picture\""},

    {"bar in title", u8"kind = \"text\"\ntitle = \"a|b\"\n[[question]]\nanswer = \"a\"\n", 2, "title",
     "text contains '|', which a quiz cannot hold"},
    {"bar in explanations", u8"kind = \"text\"\n\nexplanations = \"x|\"\n[[question]]\nanswer = \"a\"\n", 3,
     "explanations", "'|'"},
    {"bar in a label",
     u8"kind = \"picture\"\nanswer_labels = [\"A\", \"B|C\"]\n[[question]]\nanswers = [\"a\", \"b\"]\npicture = "
     u8"\"q.jpg\"\n",
     2, "answer_labels", "'|'"},
    {"bar in an answer",
     u8"kind = \"text\"\n[[question]]\nanswer = \"a\"\n[[question]]\nanswer = \"b\"\n[[question]]\nanswer = "
     u8"\"Tom|Jerry\"\n",
     7, "question 3: answer", "text contains '|', which a quiz cannot hold"},
    {"bar in a second answer", u8"kind = \"picture\"\n[[question]]\nanswers = [\"a\", \"b|\"]\npicture = \"q.jpg\"\n",
     3, "question 1: answers", "'|'"},
    {"bar in a question text", u8"kind = \"text\"\n[[question]]\nanswer = \"a\"\ntext = \"1|2\"\n", 4,
     "question 1: text", "'|'"},
    {"bar in a reveal text",
     u8"kind = \"text\"\nreveal = \"text\"\n[[question]]\nanswer = \"a\"\nreveal_text = \"|\"\n", 5,
     "question 1: reveal_text", "'|'"},
    {"zero character", u8"kind = \"text\"\ntitle = \"a\\u0000b\"\n[[question]]\nanswer = \"a\"\n", 2, "title",
     "zero character"},
    {"line feed in a code", u8"kind = \"text\"\ncodes = [\"A\\nB\"]\n[[question]]\nanswer = \"a\"\n", 2,
     "codes: code 1", "code contains a line break"},
    {"carriage return in a code",
     u8"kind = \"text\"\ncodes = [\"A\", \"B\\r\"]\n[[question]]\nanswer = \"a\"\n[[question]]\nanswer = \"b\"\n", 2,
     "codes: code 2", "line break"},
    {"arrow", u8"kind = \"text\"\ntitle = \"Nord → Sud\"\n[[question]]\nanswer = \"a\"\n", 2, "title",
     u8"character U+2192 (→) cannot be written in Windows-1252"},
    {"han character in an answer", u8"kind = \"text\"\n[[question]]\nanswer = \"中\"\n", 3, "question 1: answer",
     u8"U+4E2D (中)"},
    {"emoji in a code", "kind = \"text\"\ncodes = [\"\xF0\x9F\x98\x80\"]\n[[question]]\nanswer = \"a\"\n", 2,
     "codes: code 1", "U+1F600"},
    {"C1 control, not the euro sign", u8"kind = \"text\"\ntitle = \"\\u0080\"\n[[question]]\nanswer = \"a\"\n", 2,
     "title", "U+0080"},
    {"undefined byte 0x81 as a character", u8"kind = \"text\"\ntitle = \"\\u0081\"\n[[question]]\nanswer = \"a\"\n", 2,
     "title", "U+0081"},
    {"260 bytes", u8"kind = \"text\"\n[[question]]\nanswer = \"a\"\ntext = \"" + std::string(260, 'x') + "\"\n", 4,
     "question 1: text", "text is 260 bytes in Windows-1252, over the limit of 259"},
    {"260 accented letters",
     u8"kind = \"text\"\ntitle = \"" + repeated(u8"é", 260) + "\"\n[[question]]\nanswer = \"a\"\n", 2, "title",
     "text is 260 bytes"},
    {"long code", u8"kind = \"text\"\ncodes = [\"" + std::string(300, 'C') + "\"]\n[[question]]\nanswer = \"a\"\n", 2,
     "codes: code 1", "300 bytes"},

    {"no question", u8"kind = \"text\"\ntitle = \"x\"\n", 0, "question", "no question"},
    {"empty question list", u8"kind = \"text\"\nquestion = []\n", 0, "question", "no question"},
    {"97 questions", "kind = \"text\"\n" + numbered_questions(97), 1 + 96 * 2 + 1, "question 97", "at most 96"},
    {"one then two answers",
     u8"kind = \"picture\"\n[[question]]\nanswer = \"a\"\npicture = \"1.jpg\"\n[[question]]\nanswers = [\"b\", "
     u8"\"c\"]\npicture = \"2.jpg\"\n",
     6, "question 2: answers", "question 1 has one answer (answer)"},
    {"two then one answer",
     u8"kind = \"picture\"\n[[question]]\nanswers = [\"a\", \"b\"]\npicture = \"1.jpg\"\n[[question]]\nanswer = "
     u8"\"c\"\npicture = \"2.jpg\"\n",
     6, "question 2: answer", "question 1 has two answers (answers)"},
    {"answer and answers",
     u8"kind = \"picture\"\n[[question]]\nanswer = \"a\"\nanswers = [\"a\", \"b\"]\npicture = \"1.jpg\"\n", 4,
     "question 1: answers", "either answer or answers"},
    {"missing answer", u8"kind = \"text\"\n[[question]]\nanswer = \"a\"\n\n[[question]]\ntext = \"?\"\n", 5,
     "question 2: answer", "missing"},
    {"one of answers", u8"kind = \"picture\"\n[[question]]\nanswers = [\"a\"]\npicture = \"1.jpg\"\n", 3,
     "question 1: answers", "exactly two strings"},
    {"three answers", u8"kind = \"picture\"\n[[question]]\nanswers = [\"a\", \"b\", \"c\"]\npicture = \"1.jpg\"\n", 3,
     "question 1: answers", "exactly two strings"},
    {"answers a string", u8"kind = \"picture\"\n[[question]]\nanswers = \"a\"\npicture = \"1.jpg\"\n", 3,
     "question 1: answers", "exactly two strings"},
    {"two answers in a text quiz", u8"kind = \"text\"\n[[question]]\nanswers = [\"a\", \"b\"]\n", 3,
     "question 1: answers", "a text quiz has one answer box per question"},
    {"labels in a one-box quiz", u8"kind = \"text\"\nanswer_labels = [\"A\", \"B\"]\n[[question]]\nanswer = \"a\"\n", 2,
     "answer_labels", "only a quiz whose questions have two answers"},
    {"one label",
     u8"kind = \"picture\"\nanswer_labels = [\"A\"]\n[[question]]\nanswers = [\"a\", \"b\"]\npicture = \"1.jpg\"\n", 2,
     "answer_labels", "exactly two strings"},
    {"picture in a text quiz", u8"kind = \"text\"\n[[question]]\nanswer = \"a\"\npicture = \"1.jpg\"\n", 4,
     "question 1: picture", "only a picture quiz has pictures (kind = \"text\")"},
    {"picture in a sound quiz",
     u8"kind = \"sound\"\n[[question]]\nanswer = \"a\"\nmedia = \"1.mp3\"\npicture = \"1.jpg\"\n", 5,
     "question 1: picture", "(kind = \"sound\"); use media"},
    {"picture missing",
     u8"kind = \"picture\"\n[[question]]\nanswer = \"a\"\npicture = \"1.jpg\"\n\n[[question]]\nanswer = \"b\"\n", 6,
     "question 2: picture", "missing; every question of a picture quiz needs one"},
    {"media in a text quiz", u8"kind = \"text\"\n[[question]]\nanswer = \"a\"\nmedia = \"1.mp3\"\n", 4,
     "question 1: media", "only sound and video quizzes have media"},
    {"media in a picture quiz",
     u8"kind = \"picture\"\n[[question]]\nanswer = \"a\"\npicture = \"1.jpg\"\nmedia = \"1.avi\"\n", 5,
     "question 1: media", "only sound and video quizzes have media"},
    {"media missing in a sound quiz", u8"kind = \"sound\"\n[[question]]\nanswer = \"a\"\n", 2, "question 1: media",
     "missing; every question of a sound quiz needs one"},
    {"media missing in a video quiz", u8"kind = \"video\"\n\n[[question]]\nanswer = \"a\"\n", 3, "question 1: media",
     "every question of a video quiz needs one"},
    {"answer picture in a video quiz",
     u8"kind = \"video\"\n[[question]]\nanswer = \"a\"\nmedia = \"1.avi\"\nanswer_picture = \"r1.jpg\"\n", 5,
     "question 1: answer_picture", "only a picture quiz has answer pictures"},
    {"picture reveal in a text quiz", u8"kind = \"text\"\nreveal = \"picture\"\n[[question]]\nanswer = \"a\"\n", 2,
     "reveal", "\"picture\" reveals answer pictures, which only a picture quiz has"},
    {"text+picture reveal in a sound quiz",
     u8"kind = \"sound\"\nreveal = \"text+picture\"\n[[question]]\nanswer = \"a\"\nmedia = \"1.mp3\"\n", 2, "reveal",
     "\"text+picture\" reveals answer pictures"},
    {"reveal text without a text reveal",
     u8"kind = \"picture\"\nreveal = \"picture\"\n[[question]]\nanswer = \"a\"\npicture = \"1.jpg\"\nreveal_text = "
     u8"\"x\"\n",
     6, "question 1: reveal_text", "the quiz reveals no text (reveal = \"picture\")"},
    {"reveal text with no reveal", u8"kind = \"text\"\n[[question]]\nanswer = \"a\"\nreveal_text = \"x\"\n", 4,
     "question 1: reveal_text", "reveal = \"none\""},
    {"more codes than questions",
     u8"kind = \"text\"\ncodes = [\"A\", \"B\", \"C\"]\n[[question]]\nanswer = \"a\"\n[[question]]\nanswer = \"b\"\n",
     2, "codes", "3 codes for 2 questions; at most one code per question"},
    {"colour without hash", u8"kind = \"text\"\ncolour = \"5A5F96\"\n[[question]]\nanswer = \"a\"\n", 2, "colour",
     "expected \"#RRGGBB\""},
    {"colour too short", u8"kind = \"text\"\ncolour = \"#5A5F9\"\n[[question]]\nanswer = \"a\"\n", 2, "colour",
     "not \"#5A5F9\""},
    {"colour not hexadecimal", u8"kind = \"text\"\ncolour = \"#5A5F9G\"\n[[question]]\nanswer = \"a\"\n", 2, "colour",
     "#RRGGBB"},
    {"colour a number", u8"kind = \"text\"\ncolour = 0x5A5F96\n[[question]]\nanswer = \"a\"\n", 2, "colour", "#RRGGBB"},
};

class QuizSourceRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(QuizSourceRefusal, NamesFileLineAndField) {
    const Refusal& refusal = GetParam();
    QuizSource source;
    std::string error;
    ASSERT_FALSE(read(refusal.source, source, error));
    const std::string place = refusal.line > 0 ? "quiz.toml:" + std::to_string(refusal.line) + ":" : "quiz.toml";
    const std::string field = ": error: " + std::string(refusal.field) + ": ";
    EXPECT_EQ(error.substr(0, place.size()), place) << error;
    const std::size_t field_at = error.find(field);
    EXPECT_NE(field_at, std::string::npos) << error;
    EXPECT_NE(error.find(refusal.phrase, field_at), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << "one line: " << error;
}

INSTANTIATE_TEST_SUITE_P(QuizSource, QuizSourceRefusal, testing::ValuesIn(refusals),
                         [](const testing::TestParamInfo<Refusal>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

TEST(QuizSourceMessage, ExactMessageOfTheDocumentedExample) {
    const std::string text =
        u8R"(kind = "text"
title = "Quiz"

[[question]]
answer = "a"

[[question]]
answer = "b"

[[question]]
text = "Qui ?"

answer = "Tom|Jerry"
)";
    QuizSource source;
    std::string error;
    ASSERT_FALSE(read(text, source, error));
    EXPECT_EQ(error, "quiz.toml:13:10: error: question 3: answer: text contains '|', which a quiz cannot hold");
}

// ---------------------------------------------------------------- accepted sources

const std::string picture_source =
    u8R"(# Deux cases par question.
kind = "picture"
title = "Les grands peintres"
creator = "Camille"
explanations = "Trouvez le peintre de chaque tableau."
answer_labels = ["Peintre", "Tableau"]
reveal = "text+picture"
colour = "#5A5F96"
codes = ["PINCEAU", "TOILE"]

[[question]]
answers = ["Monet", "Impression, soleil levant"]
text = "Qui a peint ce tableau ?"
picture = "images/q1.jpg"
answer_picture = "images/r1.jpg"
reveal_text = "Claude Monet, 1872"

[[question]]
answers = ["Géricault", "Le Radeau de la Méduse"]
picture = "images/q2.jpg"
)";

TEST(QuizSourceAccepted, TwoBoxPictureQuiz) {
    QuizSource source;
    std::string error;
    ASSERT_TRUE(read(picture_source, source, error)) << error;
    const QuizContent& quiz = source.content;
    EXPECT_EQ(quiz.quiz_kind, picture_quiz);
    EXPECT_STREQ(quiz.title, "Les grands peintres");
    EXPECT_STREQ(quiz.creator, "Camille");
    EXPECT_STREQ(quiz.explanations, "Trouvez le peintre de chaque tableau.");
    EXPECT_STREQ(quiz.answer_label_1, "Peintre");
    EXPECT_STREQ(quiz.answer_label_2, "Tableau");
    EXPECT_EQ(quiz.reveal_mode, 3);
    EXPECT_EQ(quiz.colour_red, 0x5A);
    EXPECT_EQ(quiz.colour_green, 0x5F);
    EXPECT_EQ(quiz.colour_blue, 0x96);
    EXPECT_EQ(quiz.question_count, 2);
    EXPECT_EQ(quiz.answers_per_question, 2);
    EXPECT_STREQ(quiz.codes[0], "PINCEAU");
    EXPECT_STREQ(quiz.codes[1], "TOILE");
    EXPECT_STREQ(quiz.codes[2], "");
    ASSERT_EQ(entry_count(quiz), 2);
    EXPECT_EQ(entry_texts(*question_at(quiz, 0)),
              (std::vector<std::string>{"Monet", "Impression, soleil levant", "Qui a peint ce tableau ?",
                                        "Claude Monet, 1872"}));
    EXPECT_EQ(entry_texts(*question_at(quiz, 1)),
              (std::vector<std::string>{"Géricault", "Le Radeau de la Méduse", "", ""}));
    EXPECT_EQ(static_cast<unsigned char>(question_at(quiz, 1)->answer_1[1]), 0xE9);

    ASSERT_EQ(source.questions.size(), 2u);
    EXPECT_EQ(source.questions[0].line, 11);
    EXPECT_EQ(source.questions[0].files.picture, "images/q1.jpg");
    EXPECT_EQ(source.questions[0].picture_place.line, 14);
    EXPECT_EQ(source.questions[0].files.answer_picture, "images/r1.jpg");
    EXPECT_EQ(source.questions[0].answer_picture_place.line, 15);
    EXPECT_EQ(source.questions[1].line, 18);
    EXPECT_EQ(source.questions[1].files.picture, "images/q2.jpg");
    EXPECT_EQ(source.questions[1].files.answer_picture, "");
    EXPECT_EQ(source.questions[1].files.media, "");
}

TEST(QuizSourceAccepted, TextQuizWithDefaults) {
    const std::string text =
        u8R"(kind = "text"
[[question]]
answer = "Paris"
text = "Capitale de la France ?"
)";
    QuizSource source;
    std::string error;
    ASSERT_TRUE(read(text, source, error)) << error;
    const QuizContent& quiz = source.content;
    EXPECT_EQ(quiz.quiz_kind, text_quiz);
    EXPECT_STREQ(quiz.title, "");  // not the record's "nom du quizz"
    EXPECT_STREQ(quiz.creator, "");
    EXPECT_STREQ(quiz.answer_label_1, "");
    EXPECT_EQ(quiz.reveal_mode, 0);
    EXPECT_EQ(quiz.colour_red, 0x5A);
    EXPECT_EQ(quiz.colour_green, 0x5F);
    EXPECT_EQ(quiz.colour_blue, 0x96);
    EXPECT_EQ(quiz.question_count, 1);
    EXPECT_EQ(quiz.answers_per_question, 1);
    EXPECT_STREQ(quiz.codes[0], "");
    EXPECT_EQ(entry_texts(*question_at(quiz, 0)),
              (std::vector<std::string>{"Paris", "", "Capitale de la France ?", ""}));
}

struct AcceptedMedia {
    const char* kind;
    int quiz_kind;
    const char* media;
};

TEST(QuizSourceAccepted, SoundAndVideoQuizzes) {
    const AcceptedMedia cases[] = {{"sound", sound_quiz, "sons/q1.mp3"}, {"video", video_quiz, "films/q1.avi"}};
    for (const AcceptedMedia& media : cases) {
        SCOPED_TRACE(media.kind);
        const std::string text = std::string("kind = \"") + media.kind + "\"\ntitle = \"" + u8"Écoutez" +
                                 "\"\nreveal = \"text\"\ncolour = \"#ff0080\"\ncodes = [\"A|B\"]\n"
                                 "[[question]]\nanswers = [\"Brel\", \"Amsterdam\"]\nmedia = \"" +
                                 media.media + "\"\nreveal_text = \"1964\"\n";
        QuizSource source;
        std::string error;
        ASSERT_TRUE(read(text, source, error)) << error;
        EXPECT_EQ(source.content.quiz_kind, media.quiz_kind);
        EXPECT_EQ(source.content.answers_per_question, 2);
        EXPECT_EQ(source.content.reveal_mode, 2);
        EXPECT_EQ(source.content.colour_red, 0xFF);
        EXPECT_EQ(source.content.colour_green, 0x00);
        EXPECT_EQ(source.content.colour_blue, 0x80);
        EXPECT_STREQ(source.content.codes[0], "A|B");  // a code may hold '|': it ends at a line break
        EXPECT_STREQ(question_at(source.content, 0)->reveal_text, "1964");
        EXPECT_EQ(source.questions[0].files.media, media.media);
        EXPECT_EQ(source.questions[0].media_place.line, 8);
    }
}

TEST(QuizSourceAccepted, Boundaries) {
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"96 questions", "kind = \"text\"\n" + numbered_questions(96)},
        {"259 bytes", "kind = \"text\"\ntitle = \"" + std::string(259, 't') + "\"\n" + numbered_questions(1)},
        {"259 accented letters are 518 UTF-8 bytes",
         "kind = \"text\"\ntitle = \"" + repeated(u8"é", 259) + "\"\n" + numbered_questions(1)},
        {"one code per question", "kind = \"text\"\ncodes = [\"A\", \"B\"]\n" + numbered_questions(2)},
        {"empty texts", "kind = \"text\"\ntitle = \"\"\n[[question]]\nanswer = \"\"\ntext = \"\"\n"},
        {"byte order mark", u8"\uFEFFkind = \"text\"\n" + numbered_questions(1)},
        {"CRLF lines", "kind = \"text\"\r\n[[question]]\r\nanswer = \"a\"\r\n"},
    };
    for (const auto& accepted : cases) {
        SCOPED_TRACE(accepted.name);
        QuizSource source;
        std::string error;
        EXPECT_TRUE(read(accepted.text, source, error)) << error;
    }
}

// ---------------------------------------------------------------- Windows-1252

struct HighByte {
    unsigned char byte;
    char32_t code_point;  // 0: undefined in Windows-1252
};

const HighByte high_bytes[] = {
    {0x80, 0x20AC}, {0x81, 0},      {0x82, 0x201A}, {0x83, 0x0192}, {0x84, 0x201E}, {0x85, 0x2026}, {0x86, 0x2020},
    {0x87, 0x2021}, {0x88, 0x02C6}, {0x89, 0x2030}, {0x8A, 0x0160}, {0x8B, 0x2039}, {0x8C, 0x0152}, {0x8D, 0},
    {0x8E, 0x017D}, {0x8F, 0},      {0x90, 0},      {0x91, 0x2018}, {0x92, 0x2019}, {0x93, 0x201C}, {0x94, 0x201D},
    {0x95, 0x2022}, {0x96, 0x2013}, {0x97, 0x2014}, {0x98, 0x02DC}, {0x99, 0x2122}, {0x9A, 0x0161}, {0x9B, 0x203A},
    {0x9C, 0x0153}, {0x9D, 0},      {0x9E, 0x017E}, {0x9F, 0x0178},
};

TEST(Cp1252, HighControlRange) {
    for (const HighByte& high : high_bytes) {
        SCOPED_TRACE(static_cast<int>(high.byte));
        char32_t code_point = 0;
        EXPECT_EQ(cp1252_code_point(high.byte, code_point), high.code_point != 0);
        if (high.code_point == 0) continue;
        EXPECT_EQ(code_point, high.code_point);
        unsigned char byte = 0;
        ASSERT_TRUE(cp1252_byte(high.code_point, byte));
        EXPECT_EQ(byte, high.byte);
        unsigned char none;
        EXPECT_FALSE(cp1252_byte(high.byte, none)) << "the C1 control of the same number is not in the code page";
    }
}

TEST(Cp1252, EveryDefinedByteRoundTrips) {
    for (int value = 0; value < 256; ++value) {
        SCOPED_TRACE(value);
        const std::string byte(1, static_cast<char>(value));
        std::string utf8;
        unsigned char refused = 0;
        const bool defined = cp1252_to_utf8(byte, utf8, refused);
        const bool undefined_byte = value == 0x81 || value == 0x8D || value == 0x8F || value == 0x90 || value == 0x9D;
        EXPECT_EQ(defined, !undefined_byte);
        if (!defined) {
            EXPECT_EQ(refused, value);
            continue;
        }
        char32_t code_point = 0;
        ASSERT_TRUE(cp1252_code_point(static_cast<unsigned char>(value), code_point));
        if (value < 0x80 || value >= 0xA0) {
            EXPECT_EQ(code_point, static_cast<char32_t>(value)) << "Latin-1 range";
        }
        EXPECT_EQ(utf8, utf8_of(code_point));
        std::string back;
        char32_t refused_code_point = 0;
        ASSERT_TRUE(utf8_to_cp1252(utf8, back, refused_code_point));
        EXPECT_EQ(back, byte);
    }
}

TEST(Cp1252, FrenchTexts) {
    const struct {
        std::string utf8;
        std::string cp1252;
    } cases[] = {
        {u8"Cœur",
         "C\x9C"
         "ur"},
        {u8"ŒUVRE", "\x8CUVRE"},
        {u8"12 €", "12 \x80"},
        {u8"l’été", "l\x92\xE9t\xE9"},
        {u8"« Oui » — dit-il…", "\xAB Oui \xBB \x97 dit-il\x85"},
        {u8"Ÿ", "\x9F"},
        {u8"ÀÉÈÊËÎÏÔÙÛÜÇàéèêëîïôùûüç", "ÀÉÈÊËÎÏÔÙÛÜÇàéèêëîïôùûüç"},
    };
    for (const auto& text : cases) {
        SCOPED_TRACE(text.utf8);
        std::string cp1252;
        char32_t refused = 0;
        ASSERT_TRUE(utf8_to_cp1252(text.utf8, cp1252, refused));
        EXPECT_EQ(cp1252, text.cp1252);
        std::string utf8;
        unsigned char refused_byte = 0;
        ASSERT_TRUE(cp1252_to_utf8(cp1252, utf8, refused_byte));
        EXPECT_EQ(utf8, text.utf8);
    }
}

TEST(Cp1252, RefusedUtf8) {
    const struct {
        const char* name;
        std::string utf8;
        char32_t refused;
        std::string before;  // what was converted up to the refusal
    } cases[] = {
        {"arrow", u8"a→b", 0x2192, "a"},
        {"C1 control", "x\xC2\x80", 0x80, "x"},
        {"lone continuation byte", "ab\x80", 0xFFFD, "ab"},
        {"truncated sequence", "\xE2\x82", 0xFFFD, ""},
        {"overlong slash", "\xC0\xAF", 0xFFFD, ""},
        {"overlong euro", "\xF0\x82\x82\xAC", 0xFFFD, ""},
        {"surrogate", "\xED\xA0\x80", 0xFFFD, ""},
        {"past U+10FFFF", "\xF4\x90\x80\x80", 0xFFFD, ""},
        {"invalid lead byte", "\xFF", 0xFFFD, ""},
    };
    for (const auto& text : cases) {
        SCOPED_TRACE(text.name);
        std::string cp1252;
        char32_t refused = 0;
        EXPECT_FALSE(utf8_to_cp1252(text.utf8, cp1252, refused));
        EXPECT_EQ(refused, text.refused);
        EXPECT_EQ(cp1252, text.before);
    }
}

TEST(Cp1252, Utf8OfEachLength) {
    EXPECT_EQ(utf8_of(U'A'), "A");
    EXPECT_EQ(utf8_of(0xE9), u8"é");
    EXPECT_EQ(utf8_of(0x20AC), u8"€");
    EXPECT_EQ(utf8_of(0x1F600), "\xF0\x9F\x98\x80");
}

// ---------------------------------------------------------------- TOML writer

QuizSource read_or_fail(const std::string& text) {
    QuizSource source;
    std::string error;
    EXPECT_TRUE(read(text, source, error)) << error;
    return source;
}

std::vector<QuestionFiles> files_of(const QuizSource& source) {
    std::vector<QuestionFiles> files;
    for (const QuestionSource& question : source.questions) files.push_back(question.files);
    return files;
}

const std::string round_trip_sources[] = {
    picture_source,
    u8R"(kind = "text"
title = "Capitales d'Europe"
creator = "L'équipe \"Devinette\""
explanations = "Tab:\there, back\\slash, new\nline, bell \u0007, del \u007F, € œ Ÿ"
reveal = "text"
colour = "#3c6e9f"
codes = ["ÉTOILE", "", "", "BOUSSOLE"]

[[question]]
text = "Quelle est la capitale de la France ?"
answer = "Paris"
reveal_text = "Paris, sur la Seine"

[[question]]
answer = "Madrid"

[[question]]
answer = "Rome"
reveal_text = "« la Ville éternelle »"

[[question]]
answer = "Berlin"
)",
    u8R"(kind = "sound"
title = "Chansons"
codes = ["UN", "DEUX"]
[[question]]
answer = "Brel"
media = "media/q1.mp3"
[[question]]
answer = "Piaf"
media = "médias/q 2.mp3"
)",
    u8R"(kind = "video"
reveal = "none"
[[question]]
answers = ["Tati", "Playtime"]
media = "media/q1.avi"
text = "Quel film ?"
)",
};

TEST(TomlWriter, RoundTripGivesTheSameQuiz) {
    for (const std::string& text : round_trip_sources) {
        SCOPED_TRACE(text.substr(0, 20));
        const QuizSource first = read_or_fail(text);
        std::string toml, error;
        ASSERT_TRUE(write_quiz_toml(first.content, files_of(first), toml, error)) << error;
        const QuizSource second = read_or_fail(toml);
        EXPECT_EQ(quiz_difference(first.content, second.content), "") << toml;
        ASSERT_EQ(second.questions.size(), first.questions.size());
        for (std::size_t i = 0; i < first.questions.size(); ++i) {
            EXPECT_EQ(second.questions[i].files.picture, first.questions[i].files.picture);
            EXPECT_EQ(second.questions[i].files.media, first.questions[i].files.media);
            EXPECT_EQ(second.questions[i].files.answer_picture, first.questions[i].files.answer_picture);
        }
        std::string again;
        ASSERT_TRUE(write_quiz_toml(second.content, files_of(second), again, error)) << error;
        EXPECT_EQ(again, toml) << "the written form is stable";
    }
}

TEST(TomlWriter, WritesTheSourceFormat) {
    const QuizSource source = read_or_fail(picture_source);
    std::string toml, error;
    ASSERT_TRUE(write_quiz_toml(source.content, files_of(source), toml, error)) << error;
    // The source is written in the writer's own order: only its comment line goes.
    EXPECT_EQ(toml, picture_source.substr(picture_source.find('\n') + 1));
}

TEST(TomlWriter, RefusesWhatTheSourceFormatCannotHold) {
    const struct {
        const char* name;
        void (*spoil)(QuizContent&);
        const char* error;
    } cases[] = {
        {"undefined byte in the title", [](QuizContent& q) { copy_text(q.title, "a\x81"); },
         "title: byte 0x81 has no character in Windows-1252"},
        {"undefined byte in an answer", [](QuizContent& q) { copy_text(question_at(q, 0)->answer_1, "\x9D"); },
         "question 1: answer: byte 0x9D has no character in Windows-1252"},
        {"undefined byte in a code", [](QuizContent& q) { copy_text(q.codes[0], "\x8F"); },
         "codes: code 1: byte 0x8F has no character in Windows-1252"},
        {"kind without a name", [](QuizContent& q) { q.quiz_kind = -1; }, "kind: quiz kind -1 has no name"},
        {"reveal mode without a name", [](QuizContent& q) { q.reveal_mode = 7; }, "reveal: reveal mode 7 has no name"},
    };
    for (const auto& refused : cases) {
        SCOPED_TRACE(refused.name);
        QuizSource source = read_or_fail("kind = \"text\"\n" + numbered_questions(1));
        refused.spoil(source.content);
        std::string toml, error;
        EXPECT_FALSE(write_quiz_toml(source.content, {}, toml, error));
        EXPECT_EQ(error, refused.error);
    }
}

// ---------------------------------------------------------------- files and packing

// A small baseline JPEG, which packing keeps byte for byte.
std::vector<unsigned char> small_jpeg(unsigned char shade) {
    RgbaPicture picture;
    picture.width = picture.height = 8;
    picture.pixels.assign(8 * 8 * 4, shade);
    return encode_jpeg(picture);
}

class QuestionFilesTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ =
            std::filesystem::temp_directory_path() / ("quiz_source_test_" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(folder_ / "images");
        write("images/q1.jpg", small_jpeg(10));
        write("images/r1.jpg", small_jpeg(200));
        write("images/png.jpg", {0x89, 'P', 'N', 'G', 0x0D, 0x0A});
        write("images/empty.jpg", {});
        write("id3.mp3", {'I', 'D', '3', 4, 0, 0});
        write("frame.mp3", {0xFF, 0xFB, 0x90, 0x64});
        write("wave.mp3", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'});
        write("clip.avi", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' ', 'L', 'I', 'S', 'T'});
        write("wave.avi", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'});
        write(u8"images/été.jpg", small_jpeg(50));
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // `name` is UTF-8, as the source names files.
    void write(const std::string& name, const std::vector<unsigned char>& bytes) {
        std::ofstream file(folder_ / std::filesystem::u8path(name), std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    bool load(const std::string& text, std::vector<QuestionData>& data, std::string& error) {
        QuizSource source;
        EXPECT_TRUE(read_quiz_source(text, "quiz.toml", folder_.string(), source, error)) << error;
        return load_question_files(source, data, error);
    }

    std::filesystem::path folder_;
};

TEST_F(QuestionFilesTest, RefusesMissingAndWrongFiles) {
    const struct {
        const char* name;
        std::string text;
        const char* error;
    } cases[] = {
        {"missing picture", "kind = \"picture\"\n[[question]]\nanswer = \"a\"\npicture = \"images/q9.jpg\"\n",
         "quiz.toml:4:11: error: question 1: picture: images/q9.jpg: no such file"},
        {"folder as picture", "kind = \"picture\"\n[[question]]\nanswer = \"a\"\npicture = \"images\"\n",
         "quiz.toml:4:11: error: question 1: picture: images: is a folder, not a file"},
        {"PNG as picture", "kind = \"picture\"\n[[question]]\nanswer = \"a\"\npicture = \"images/png.jpg\"\n",
         "quiz.toml:4:11: error: question 1: picture: images/png.jpg is not a picture (accepted: JPEG, PNG, GIF and BMP)"},
        {"empty picture",
         "kind = \"picture\"\n[[question]]\nanswer = \"a\"\npicture = \"images/q1.jpg\"\n[[question]]\nanswer = \"b\"\n"
         "picture = \"images/empty.jpg\"\n",
         "quiz.toml:7:11: error: question 2: picture: images/empty.jpg is not a picture (accepted: JPEG, PNG, GIF and BMP)"},
        {"answer picture not a picture",
         "kind = \"picture\"\n[[question]]\nanswer = \"a\"\npicture = \"images/q1.jpg\"\nanswer_picture = "
         "\"clip.avi\"\n",
         "quiz.toml:5:18: error: question 1: answer_picture: clip.avi is not a picture (accepted: JPEG, PNG, GIF and BMP)"},
        {"WAVE as sound", "kind = \"sound\"\n[[question]]\nanswer = \"a\"\nmedia = \"wave.mp3\"\n",
         "quiz.toml:4:9: error: question 1: media: wave.mp3 is not an MP3 file (it starts with neither an ID3 tag nor an MPEG "
         "audio frame)"},
        {"JPEG as sound", "kind = \"sound\"\n[[question]]\nanswer = \"a\"\nmedia = \"images/q1.jpg\"\n",
         "quiz.toml:4:9: error: question 1: media: images/q1.jpg is not an MP3 file (it starts with neither an ID3 tag nor an "
         "MPEG audio frame)"},
        {"MP3 as video", "kind = \"video\"\n[[question]]\nanswer = \"a\"\nmedia = \"id3.mp3\"\n",
         "quiz.toml:4:9: error: question 1: media: id3.mp3 is not an AVI file (an AVI file starts with RIFF, its size, then "
         "AVI)"},
        {"WAVE as video", "kind = \"video\"\n[[question]]\nanswer = \"a\"\nmedia = \"wave.avi\"\n",
         "quiz.toml:4:9: error: question 1: media: wave.avi is not an AVI file (an AVI file starts with RIFF, its size, then "
         "AVI)"},
        {"missing video", "kind = \"video\"\n[[question]]\nanswer = \"a\"\n\nmedia = \"none.avi\"\n",
         "quiz.toml:5:9: error: question 1: media: none.avi: no such file"},
    };
    for (const auto& refused : cases) {
        SCOPED_TRACE(refused.name);
        std::vector<QuestionData> data;
        std::string error;
        EXPECT_FALSE(load(refused.text, data, error));
        EXPECT_EQ(error, refused.error);
    }
}

TEST_F(QuestionFilesTest, LoadsEveryKind) {
    const struct {
        const char* name;
        std::string text;
        std::size_t picture, media, answer_picture;  // sizes of question 1's files
    } cases[] = {
        {"pictures",
         "kind = \"picture\"\n[[question]]\nanswer = \"a\"\npicture = \"images/q1.jpg\"\nanswer_picture = "
         "\"images/r1.jpg\"\n",
         small_jpeg(10).size(), 0, small_jpeg(200).size()},
        {"MP3 with an ID3 tag", "kind = \"sound\"\n[[question]]\nanswer = \"a\"\nmedia = \"id3.mp3\"\n", 0, 6, 0},
        {"MP3 starting with a frame", "kind = \"sound\"\n[[question]]\nanswer = \"a\"\nmedia = \"frame.mp3\"\n", 0, 4,
         0},
        {"AVI", "kind = \"video\"\n[[question]]\nanswer = \"a\"\nmedia = \"clip.avi\"\n", 0, 16, 0},
        {"accented file name", u8"kind = \"picture\"\n[[question]]\nanswer = \"a\"\npicture = \"images/été.jpg\"\n",
         small_jpeg(50).size(), 0, 0},
    };
    for (const auto& accepted : cases) {
        SCOPED_TRACE(accepted.name);
        std::vector<QuestionData> data;
        std::string error;
        ASSERT_TRUE(load(accepted.text, data, error)) << error;
        ASSERT_EQ(data.size(), 1u);
        EXPECT_EQ(data[0].picture.size(), accepted.picture);
        EXPECT_EQ(data[0].media.size(), accepted.media);
        EXPECT_EQ(data[0].answer_picture.size(), accepted.answer_picture);
    }
}

TEST_F(QuestionFilesTest, LoadsTheSourceFileAndLooksBesideIt) {
    write("quiz.toml", std::vector<unsigned char>(picture_source.begin(), picture_source.end()));
    write("images/q2.jpg", small_jpeg(99));
    QuizSource source;
    std::string error;
    const std::string path = (folder_ / "quiz.toml").string();
    ASSERT_TRUE(load_quiz_source(path, source, error)) << error;
    EXPECT_EQ(source.file_name, path);
    std::vector<QuestionData> data;
    ASSERT_TRUE(load_question_files(source, data, error)) << error;
    EXPECT_EQ(data[1].picture, small_jpeg(99));

    EXPECT_FALSE(load_quiz_source((folder_ / "none.toml").string(), source, error));
    EXPECT_EQ(error, (folder_ / "none.toml").string() + ": error: no such file");
}

TEST(PackQuiz, ResourcesAndStreamsThePlayerReads) {
    const QuizSource source = read_or_fail(picture_source);
    std::vector<QuestionData> data(2);
    data[0].picture = {0xFF, 0xD8, 0xFF, 1};
    data[0].answer_picture = {0xFF, 0xD8, 0xFF, 2};
    data[1].picture = {0xFF, 0xD8, 0xFF, 3};
    std::vector<PackedResource> resources;
    std::string error;
    ASSERT_TRUE(pack_quiz(source, data, resources, error)) << error;

    ASSERT_EQ(resources.size(), 5u);
    const struct {
        const char* type;
        int id;
    } expected[] = {{"PATCH", 104}, {"PATCH", 105}, {"IMG", 401}, {"IMG", 10401}, {"IMG", 402}};
    for (std::size_t i = 0; i < resources.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(resources[i].type, expected[i].type);
        EXPECT_EQ(resources[i].id, expected[i].id);
    }
    EXPECT_EQ(resources[3].bytes, data[0].answer_picture);

    DecodedStream quiz_stream, codes_stream;
    ASSERT_EQ(decode_stream(resources[0].bytes.data(), resources[0].bytes.size(), quiz_stream), decode_ok);
    ASSERT_EQ(decode_stream(resources[1].bytes.data(), resources[1].bytes.size(), codes_stream), decode_ok);
    QuizContent loaded;
    ASSERT_TRUE(parse_quiz_stream(quiz_stream.bytes.get(), quiz_stream.size, loaded));
    ASSERT_TRUE(parse_codes_stream(codes_stream.bytes.get(), codes_stream.size, loaded.question_count, loaded.codes));
    EXPECT_EQ(quiz_difference(loaded, source.content), "");
}

TEST(PackQuiz, MediaGoWherePicturesWould) {
    const QuizSource source = read_or_fail(
        "kind = \"sound\"\n[[question]]\nanswer = \"a\"\nmedia = \"a.mp3\"\n"
        "[[question]]\nanswer = \"b\"\nmedia = \"b.mp3\"\n");
    std::vector<QuestionData> data(2);
    data[0].media = {'I', 'D', '3'};
    data[1].media = {0xFF, 0xFB};
    std::vector<PackedResource> resources;
    std::string error;
    ASSERT_TRUE(pack_quiz(source, data, resources, error)) << error;
    ASSERT_EQ(resources.size(), 4u);
    EXPECT_STREQ(resources[2].type, "IMG");
    EXPECT_EQ(resources[2].id, 401);
    EXPECT_EQ(resources[3].id, 402);
    EXPECT_EQ(resources[3].bytes, data[1].media);
}

// 259 letters that the dictionary cannot shrink much: no quote, backslash or '|'.
std::string random_text(std::mt19937& random) {
    const std::string letters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .,;:!?-+*/()[]{}<>=#%&@~^_";
    std::string text = "\"";
    for (int i = 0; i < 259; ++i) text += letters[random() % letters.size()];
    return text + "\"";
}

TEST(PackQuiz, RefusesAQuizStreamOver65535Bytes) {
    std::mt19937 random(7);
    auto noise = [&random] { return random_text(random); };
    std::string text = "kind = \"picture\"\nreveal = \"text\"\n";
    for (int i = 0; i < max_questions; ++i)
        text += "[[question]]\nanswers = [" + noise() + ", " + noise() + "]\ntext = " + noise() +
                "\nreveal_text = " + noise() + "\npicture = \"q.jpg\"\n";
    const QuizSource source = read_or_fail(text);
    std::vector<PackedResource> resources;
    std::string error;
    EXPECT_FALSE(pack_quiz(source, std::vector<QuestionData>(max_questions), resources, error));
    EXPECT_EQ(error.rfind("quiz.toml: error: quiz stream: encodes to ", 0), 0u) << error;
    EXPECT_NE(error.find("over the 65535 a quiz can carry"), std::string::npos) << error;
}

}  // namespace
