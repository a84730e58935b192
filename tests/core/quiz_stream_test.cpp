#include "quiz_data/quiz_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;  // "..."s keeps embedded zero bytes

const unsigned char* data(const std::string& stream) {
    return reinterpret_cast<const unsigned char*>(stream.data());
}

bool parse(const std::string& stream, QuizContent& quiz) {
    return parse_quiz_stream(data(stream), stream.size(), quiz);
}

const std::string header =
    "\x00\x02\x02\x01"s
    "Titre|Créateur|Explications|Nom|Prénom|";

struct EntryTexts {
    const char* answer_1;
    const char* answer_2;
    const char* question_text;
    const char* reveal_text;
};

void expect_entries(const QuizContent& quiz, const std::vector<EntryTexts>& expected) {
    ASSERT_EQ(entry_count(quiz), static_cast<int>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const QuestionEntry* entry = question_at(quiz, static_cast<int>(i));
        EXPECT_STREQ(entry->answer_1, expected[i].answer_1);
        EXPECT_STREQ(entry->answer_2, expected[i].answer_2);
        EXPECT_STREQ(entry->question_text, expected[i].question_text);
        EXPECT_STREQ(entry->reveal_text, expected[i].reveal_text);
    }
}

TEST(QuizStreamParse, HeaderFields) {
    QuizContent quiz;
    ASSERT_TRUE(
        parse("\x07\x04\x01\x02"s
              "Titre|Créateur|Explications|Nom|Prénom|a|b|q|\x00\x0C\x22\x38"s,
              quiz));
    EXPECT_EQ(quiz.quiz_kind, video_quiz);
    EXPECT_EQ(quiz.question_count, 1);
    EXPECT_EQ(quiz.answers_per_question, 2);
    EXPECT_STREQ(quiz.title, "Titre");
    EXPECT_STREQ(quiz.creator, "Créateur");
    EXPECT_STREQ(quiz.explanations, "Explications");
    EXPECT_STREQ(quiz.answer_label_1, "Nom");
    EXPECT_STREQ(quiz.answer_label_2, "Prénom");
    EXPECT_EQ(static_cast<unsigned char>(quiz.answer_label_2[2]), 0xE9);
    EXPECT_EQ(quiz.reveal_mode, 0);
    EXPECT_EQ(quiz.colour_red, 0x0C);
    EXPECT_EQ(quiz.colour_green, 0x22);
    EXPECT_EQ(quiz.colour_blue, 0x38);
}

TEST(QuizStreamParse, KindIsByteOneLessOne) {
    const int kinds[][2] = {{0, -1}, {1, text_quiz}, {2, picture_quiz}, {3, sound_quiz}, {255, 254}};
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind[0]);
        QuizContent quiz;
        ASSERT_TRUE(parse("\x00"s + static_cast<char>(kind[0]) + "\x00\x01|||||\x00\x01\x02\x03"s, quiz));
        EXPECT_EQ(quiz.quiz_kind, kind[1]);
        EXPECT_EQ(entry_count(quiz), 0);
    }
}

struct LayoutCase {
    const char* name;
    std::string stream;
    std::vector<EntryTexts> entries;
    int reveal_mode;
};

TEST(QuizStreamParse, QuestionBlocksAndRevealSections) {
    const LayoutCase cases[] = {
        {"one box: two texts per block",
         header + "a1|q1|a2|q2|\x00\x0A\x0B\x0C"s,
         {{"a1", "", "q1", ""}, {"a2", "", "q2", ""}},
         0},
        {"two boxes: three texts per block",
         "\x00\x02\x02\x02"s
         "T|C|E|L1|L2|a1|b1|q1|a2|b2|q2|\x01\x0A\x0B\x0C"s,
         {{"a1", "b1", "q1", ""}, {"a2", "b2", "q2", ""}},
         1},
        {"three boxes count as one",
         "\x00\x02\x01\x03"s
         "T|C|E|L1|L2|a1|q1|\x00\x0A\x0B\x0C"s,
         {{"a1", "", "q1", ""}},
         0},
        {"reveal mode 2: one text each",
         header + "a1|q1|a2|q2|\x02r1|r2|\x0A\x0B\x0C"s,
         {{"a1", "", "q1", "r1"}, {"a2", "", "q2", "r2"}},
         2},
        {"reveal mode 3: second text ignored",
         header + "a1|q1|a2|q2|\x03r1|x1|r2|x2|\x0A\x0B\x0C"s,
         {{"a1", "", "q1", "r1"}, {"a2", "", "q2", "r2"}},
         3},
        {"reveal mode 4: no section",
         header + "a1|q1|a2|q2|\x04\x0A\x0B\x0C"s,
         {{"a1", "", "q1", ""}, {"a2", "", "q2", ""}},
         4},
        {"empty texts", header + "||||\x03||||\x0A\x0B\x0C"s, {{"", "", "", ""}, {"", "", "", ""}}, 3},
        {"zero bytes dropped",
         header + "\x00"
                  "a\x00"
                  "1|q1\x00|a2|\x00|\x02\x00r\x00\x00"
                  "1|r2|\x0A\x0B\x0C"s,
         {{"a1", "", "q1", "r1"}, {"a2", "", "", "r2"}},
         2},
        {"bytes after the colour ignored",
         header + "a1|q1|a2|q2|\x00\x0A\x0B\x0Cmore|"s,
         {{"a1", "", "q1", ""}, {"a2", "", "q2", ""}},
         0},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        QuizContent quiz;
        ASSERT_TRUE(parse(c.stream, quiz));
        expect_entries(quiz, c.entries);
        EXPECT_EQ(quiz.reveal_mode, c.reveal_mode);
        EXPECT_EQ(quiz.colour_red, 0x0A);
        EXPECT_EQ(quiz.colour_green, 0x0B);
        EXPECT_EQ(quiz.colour_blue, 0x0C);
    }
}

TEST(QuizStreamParse, LongTextsAreCutAndFullyConsumed) {
    const std::string long_text(300, 'x');
    const std::string with_zeros = std::string(100, 'y') + "\0\0"s + std::string(159, 'z');
    QuizContent quiz;
    ASSERT_TRUE(parse("\x00\x01\x01\x01"s + long_text + "|C|E|L1|L2|" + with_zeros + "|q|\x02" + long_text +
                          "|\x0A\x0B\x0C",
                      quiz));
    EXPECT_EQ(std::string(quiz.title), std::string(259, 'x'));
    EXPECT_STREQ(quiz.creator, "C");
    // Dropped zero bytes do not count towards the 259.
    EXPECT_EQ(std::string(question_at(quiz, 0)->answer_1), std::string(100, 'y') + std::string(159, 'z'));
    EXPECT_STREQ(question_at(quiz, 0)->question_text, "q");
    EXPECT_EQ(std::string(question_at(quiz, 0)->reveal_text), std::string(259, 'x'));
    EXPECT_EQ(quiz.colour_blue, 0x0C);
}

std::string quiz_with_questions(int count) {
    std::string stream = "\x00\x01"s + static_cast<char>(count) + "\x01T|C|E|L1|L2|";
    for (int i = 0; i < count; ++i) stream += "a|q|";
    return stream + "\x00\x01\x02\x03"s;
}

TEST(QuizStreamParse, AtMost96Questions) {
    QuizContent quiz;
    ASSERT_TRUE(parse(quiz_with_questions(96), quiz));
    EXPECT_EQ(quiz.question_count, 96);
    EXPECT_EQ(entry_count(quiz), 96);
    QuizContent refused;
    EXPECT_FALSE(parse(quiz_with_questions(97), refused));
    EXPECT_EQ(refused.question_count, 2);
    EXPECT_EQ(entry_count(refused), 0);
}

// A target already holding a quiz and codes, to see what a parse changes.
void fill_previous(QuizContent& quiz) {
    copy_text(quiz.title, "ancien");
    quiz.quiz_kind = sound_quiz;
    quiz.question_count = 1;
    quiz.reveal_mode = 1;
    quiz.colour_red = 1;
    append_question(quiz, "vieux", "", "vieille question");
    copy_text(quiz.codes[0], "CODE");
}

void expect_previous(const QuizContent& quiz) {
    EXPECT_STREQ(quiz.title, "ancien");
    EXPECT_EQ(quiz.quiz_kind, sound_quiz);
    EXPECT_EQ(quiz.question_count, 1);
    EXPECT_EQ(quiz.reveal_mode, 1);
    EXPECT_EQ(quiz.colour_red, 1);
    ASSERT_EQ(entry_count(quiz), 1);
    EXPECT_STREQ(question_at(quiz, 0)->answer_1, "vieux");
    EXPECT_STREQ(quiz.codes[0], "CODE");
}

TEST(QuizStreamParse, EveryCutStreamIsRefusedAndChangesNothing) {
    const std::string stream =
        "\x00\x03\x02\x02"s
        "Titre|C|E|L1|L2|a1|b1|q1|a2|b2|q2|\x03r1|x1|r2|x2|\x0A\x0B\x0C"s;
    for (std::size_t size = 0; size < stream.size(); ++size) {
        SCOPED_TRACE(size);
        QuizContent quiz;
        fill_previous(quiz);
        EXPECT_FALSE(parse_quiz_stream(data(stream), size, quiz));
        expect_previous(quiz);
    }
    QuizContent quiz;
    fill_previous(quiz);
    ASSERT_TRUE(parse(stream, quiz));
    EXPECT_STREQ(quiz.title, "Titre");
    expect_entries(quiz, {{"a1", "b1", "q1", "r1"}, {"a2", "b2", "q2", "r2"}});
    EXPECT_STREQ(quiz.codes[0], "CODE");  // codes come from the other stream
}

bool parse_codes(const std::string& stream, int count, char (&codes)[max_questions][text_size]) {
    return parse_codes_stream(data(stream), stream.size(), count, codes);
}

struct CodesCase {
    const char* name;
    std::string stream;
    std::vector<const char*> codes;
};

TEST(CodesStreamParse, Lines) {
    const CodesCase cases[] = {
        {"CR LF lines", "UN\r\nDEUX\r\nTROIS\r\n", {"UN", "DEUX", "TROIS"}},
        {"leading CR gives an empty code", "\r\nDE\0UX\r\n"s, {"", "DEUX"}},
        {"any byte after the CR is skipped", "UN\rXDEUX\r\n", {"UN", "DEUX"}},
        {"last line ended by the data", "UN\r\nDEUX", {"UN", "DEUX"}},
        {"last CR without its line feed", "UN\r\nDEUX\r", {"UN", "DEUX"}},
        {"a line feed is part of the text", "UN\nDEUX\r\n", {"UN\nDEUX"}},
        {"lines after the last question ignored", "UN\r\nDEUX\r\nTROIS\r\n", {"UN"}},
        {"zero lines", "", {}},
        {"accented code", "ÉTOILE\r\n", {"ÉTOILE"}},
    };
    for (const CodesCase& c : cases) {
        SCOPED_TRACE(c.name);
        char codes[max_questions][text_size] = {};
        copy_text(codes[c.codes.size()], "inchangé");
        ASSERT_TRUE(parse_codes(c.stream, static_cast<int>(c.codes.size()), codes));
        for (std::size_t i = 0; i < c.codes.size(); ++i) EXPECT_STREQ(codes[i], c.codes[i]) << i;
        EXPECT_STREQ(codes[c.codes.size()], "inchangé");
    }
}

TEST(CodesStreamParse, LongLineIsCut) {
    char codes[max_questions][text_size] = {};
    ASSERT_TRUE(parse_codes(std::string(300, 'c') + "\r\nB\r\n", 2, codes));
    EXPECT_EQ(std::string(codes[0]), std::string(259, 'c'));
    EXPECT_STREQ(codes[1], "B");
}

TEST(CodesStreamParse, MissingLinesChangeNothing) {
    // The third line starts at byte 8: any stream reaching it holds three lines.
    const std::string stream = "AB\r\nCD\r\nEF\r\n";
    for (std::size_t size = 0; size <= stream.size(); ++size) {
        SCOPED_TRACE(size);
        char codes[max_questions][text_size] = {};
        copy_text(codes[0], "avant");
        const bool parsed = parse_codes_stream(data(stream), size, 3, codes);
        EXPECT_EQ(parsed, size > 8);
        EXPECT_STREQ(codes[0], parsed ? "AB" : "avant");
    }
}

TEST(CodesStreamParse, QuestionCountOutsideTheSlotsIsRefused) {
    char codes[max_questions][text_size] = {};
    copy_text(codes[0], "avant");
    std::string many;
    for (int i = 0; i < 100; ++i) many += "X\r\n";
    EXPECT_FALSE(parse_codes(many, 97, codes));
    EXPECT_FALSE(parse_codes(many, -1, codes));
    EXPECT_STREQ(codes[0], "avant");
    EXPECT_TRUE(parse_codes(many, 96, codes));
    EXPECT_STREQ(codes[95], "X");
}

}  // namespace
