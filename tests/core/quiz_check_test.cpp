// How the pack tool tells a quiz maker the player will grade: the warnings,
// the tries, `try`; and `new`'s names (`new` on real folders:
// tests/e2e/quiz_maker.sh). Sources and typed texts are u8 literals.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/new_quiz.h"
#include "authoring/picture_convert.h"
#include "authoring/quiz_check.h"
#include "authoring/quiz_source.h"

namespace {

QuizModel read_or_fail(const std::string& text) {
    QuizModel quiz;
    Diagnostics diagnostics;
    EXPECT_TRUE(read_quiz_source(text, "quiz.toml", quiz, diagnostics));
    return quiz;
}

// The diagnostics as the console prints them.
std::string lines_of(const Diagnostics& diagnostics) {
    std::string lines;
    for (const Diagnostic& found : diagnostics) {
        EXPECT_TRUE(!found.message.french.empty() && found.message.french != found.message.english)
            << found.message.english;
        lines += (lines.empty() ? "" : "\n") + found.file + ":" + std::to_string(found.line) + ":" +
                 std::to_string(found.column) + (found.severity == Severity::error ? ": error: " : ": warning: ") +
                 found.field + ": " + found.message.english;
    }
    return lines;
}

// Ten pixels per byte: "Constantinople" is 140 pixels, wider than any box.
int ten_pixels_a_byte(const std::string& text) { return 10 * static_cast<int>(text.size()); }
// Codes at a pixel per byte, after a label as wide as the box's place: 146 bytes show.
int a_pixel_a_byte(const std::string& text) { return static_cast<int>(text.size()); }
const Measures measures = {ten_pixels_a_byte, {a_pixel_a_byte, 36, 4}};

// ---------------------------------------------------------------- warnings and tries

struct Warned {
    const char* name;
    std::string answers;  // the questions' answer lines
    std::string warnings;
    std::string head = "kind = \"text\"\n";
};

const std::string lenient = "kind = \"text\"\ngrading = \"lenient\"\n";
const std::string three_questions = "answer = \"Paris\"\n[[question]]\nanswer = \"Lyon\"\n[[question]]\nanswer = \"Nice\"\n";

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
    // Other accepted texts, and the forgiving comparison.
    {"a variant without the accents", u8"answer = \"Élysée\"\nvariants = [\"Elysee\"]\n", ""},
    {"accents folded away", u8"answer = \"Cœur\"\n", "", lenient},
    {"a sign no key types", u8"answer = \"¿Qué?\"\n",
     u8"quiz.toml:4:10: warning: question 1: answer: \"¿Qué?\" holds characters a French keyboard cannot type: a "
     u8"player who types \"QUE?\" gets \"Quasiment\"",
     lenient},
    {"a sign on the keyboard", u8"answer = \"45°C\"\n", "", lenient},
    {"a variant the answer accepts already", u8"answer = \"Nord-Est\"\nvariants = [\"Ouest\", \"nord est\"]\n",
     "quiz.toml:5:12: warning: question 1: variants: \"nord est\" is the answer once folded (grading = "
     "\"lenient\"): it accepts nothing more",
     lenient},
    {"the same variant, exactly", u8"answer = \"Nord-Est\"\nvariants = [\"nord est\"]\n", ""},
    {"a variant another question accepts", "answer = \"Lyon\"\nvariants = [\"Paris\"]\n[[question]]\nanswer = \"paris\"\n",
     "quiz.toml:6:10: warning: question 2: answer: question 1 accepts \"Paris\" too"},
    {"codes that stop early", three_questions,
     "quiz.toml:2:9: warning: codes: from 3 solved on, the code box is empty; a table keeps the last code",
     "kind = \"text\"\ncodes = [\"A\", \"B\"]\n"},
    {"a code for every question", three_questions, "", "kind = \"text\"\ncodes = [\"A\", \"B\", \"C\"]\n"},
    {"a table keeps its last code", three_questions, "", "kind = \"text\"\ncodes = { 2 = \"B\" }\n"},
    {"a code wider than its box", "answer = \"Paris\"\n",
     "quiz.toml:2:10: warning: codes: code 1: \"" + std::string(147, 'C') +
         "\" is 147 pixels wide and the code box shows 146: the player sees it cut",
     "kind = \"text\"\ncodes = [\"" + std::string(147, 'C') + "\"]\n"},
    {"a code as wide as its box", "answer = \"Paris\"\n", "",
     "kind = \"text\"\ncodes = [\"" + std::string(146, 'C') + "\"]\n"},
    {"a text never shown", "answer = \"Paris\"\ntext = \"Capitale ?\"\nmedia = \"q.mp3\"\n",
     "quiz.toml:4:8: warning: question 1: text: a sound quiz never shows a question's text: it is packed and never "
     "seen",
     "kind = \"sound\"\n"},
    {"a text shown", "answer = \"Paris\"\ntext = \"Capitale ?\"\n", ""},
};

TEST(GradingWarnings, EachWarningOnceWhereTheAnswerIs) {
    for (const Warned& row : warned) {
        SCOPED_TRACE(row.name);
        Diagnostics diagnostics;
        check_grading(read_or_fail(row.head + "[[question]]\n" + row.answers), "quiz.toml", measures, diagnostics);
        const std::string warnings = lines_of(diagnostics);
        EXPECT_EQ(count_of(diagnostics, Severity::error), 0);
        if (row.warnings.empty()) {
            EXPECT_EQ(warnings, "");
        } else {
            EXPECT_EQ(count_of(diagnostics, Severity::warning), 1) << warnings;
            EXPECT_NE(warnings.find(row.warnings), std::string::npos) << warnings;
        }
    }
}

TEST(Tries, EveryDifferingGradeIsAnErrorAtItsTryBeforeTheWarnings) {
    const QuizModel quiz = read_or_fail(
        u8R"(kind = "picture"
[[question]]
answers = ["Monet", "Nymphéas"]
picture = "q.jpg"
tries = { "Monnet" = "Quasiment", "Renoir" = "FAUX", "monet" = "BRAVO", "Manet" = "FAUX" }
tries_2 = { "Nympheas" = "Quasiment", "phéas" = "y a de l'idée" }
)");
    Diagnostics diagnostics;
    check_grading(quiz, "quiz.toml", {}, diagnostics);
    const std::string expected =
        u8"quiz.toml:5:73: error: question 1: tries: \"Manet\" gets \"Quasiment\", not \"FAUX\"\n"
        u8"quiz.toml:6:39: error: question 1: tries_2: \"phéas\" gets \"FAUX\", not \"y a de l'idée\"\n"
        u8"quiz.toml:3:21: warning: question 1: answers: \"Nymphéas\" holds letters beyond A-Z: a player who types "
        u8"\"Nympheas\" gets \"Quasiment\"";
    EXPECT_EQ(lines_of(diagnostics), expected);
    // Tries are graded against every accepted text, in the quiz's mode.
    diagnostics.clear();
    check_grading(read_or_fail(lenient + u8R"([[question]]
answer = "La tour Eiffel"
variants = ["Tour Eiffel"]
tries = { "TOUR  EIFFEL" = "BRAVO", "la tour eifel" = "Quasiment", "Tour" = "Trop court" }
)"),
                  "quiz.toml", {}, diagnostics);
    EXPECT_EQ(lines_of(diagnostics), "quiz.toml:6:68: error: question 1: tries: \"Tour\" gets \"FAUX\", not \"Trop court\"");
}

// ---------------------------------------------------------------- try

TEST(TryLine, GradeAndSolvedAsThePlayerDecides) {
    const QuizModel text_quiz = read_or_fail(
        "kind = \"text\"\nreveal = \"text\"\n[[question]]\nanswer = \"Tournesol\"\nreveal_text = \"x\"\n");
    const QuizModel forgiving = read_or_fail(lenient + "reveal = \"text\"\n[[question]]\nanswer = \"Tournesol\"\n"
                                                       "variants = [\"Soleil\"]\nreveal_text = \"x\"\n");
    const QuizModel two_boxes = read_or_fail(
        "kind = \"picture\"\n[[question]]\nanswers = [\"Monet\", \"Impression\"]\npicture = \"q.jpg\"\n");
    const struct {
        const QuizModel& quiz;
        int box;
        std::string typed;
        std::string line;  // empty: the box cannot hold the text
    } rows[] = {
        {text_quiz, 1, "   ", "\"   \" -> ?: not solved"},
        {text_quiz, 1, " tournesol",
         "\" tournesol\" -> BRAVO: solved, but nothing is revealed while the box's text has spaces around it"},
        {forgiving, 1, " SOLEIL ", "\" SOLEIL \" -> BRAVO: solved"},
        {two_boxes, 2, "impression", "\"impression\" -> BRAVO: the second box never decides whether the "
                                     "question is solved"},
        {two_boxes, 1, u8"Monét", u8"\"Monét\" -> Quasiment: not solved"},
        {two_boxes, 1, u8"Mon\u2192", ""},
        {two_boxes, 1, std::string(260, 'x'), ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        std::string line;
        EXPECT_EQ(try_line(row.quiz, 1, row.box, row.typed, line), !row.line.empty());
        EXPECT_EQ(line, row.line);
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

// Told by content, in question order; the system's own files are not the maker's.
using namespace std::string_view_literals;
TEST(NewQuiz, EveryFileLeftOutIsToldWithItsReasonAndFix) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "new_quiz_test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto write = [&folder](const char* name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    };
    const std::vector<unsigned char> jpeg = encode_jpeg({1, 1, {255, 0, 0, 255}});
    write("photo 10.jpg", std::string(jpeg.begin(), jpeg.end()));
    write("photo 9.jpg", std::string(jpeg.begin(), jpeg.end()));
    write(".DS_Store", "x");
    write("Thumbs.db", "x");
    const char* const cannot = ", which a quiz cannot carry: export it as ";
    const std::pair<const char*, std::string> rows[] = {
        {"a.heic", std::string("\0\0\0\x18" "ftypheic"sv)},
        {"b.avif", std::string("\0\0\0\x18" "ftypavif"sv)},
        {"c.mov", std::string("\0\0\0\x14" "ftypqt  "sv)},
        {"cut.jpg", std::string(jpeg.begin(), jpeg.begin() + 20)},
        {"d.mp4", std::string("\0\0\0\x18" "ftypisom"sv)},
        {"e.wav", std::string("RIFF\x24\0\0\0WAVEfmt "sv)},
        {"f.mp3", "ID3\x04"},
        {"g.txt", "notes"},
        {"Pont_Neuf.webp", std::string("RIFF\x24\0\0\0WEBPVP8 "sv)},
    };
    const std::string reasons[] = {
        std::string("a HEIC/HEIF picture") + cannot + "JPEG or PNG",
        std::string("an AVIF picture") + cannot + "JPEG or PNG",
        std::string("a MOV video") + cannot + "AVI",
        "a damaged or truncated JPEG picture",
        std::string("an MP4 video") + cannot + "AVI",
        std::string("a WAV sound") + cannot + "MP3",
        "an MP3 sound, which a picture quiz does not take: make a sound quiz with --kind sound",
        "not a picture, a sound or a video",
        "a WebP picture, which a quiz cannot carry: export it as JPEG or PNG",
    };
    for (const auto& [name, bytes] : rows) write(name, bytes);
    NewQuiz written;
    Diagnostic error;
    ASSERT_TRUE(write_new_quiz(folder.u8string(), -1, written, error)) << error.message.english;
    EXPECT_EQ(written.question_count, 2);
    ASSERT_EQ(written.left_out.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(written.left_out[i].name, rows[i].first);
        EXPECT_EQ(written.left_out[i].reason, reasons[i]) << rows[i].first;
    }

    // A folder of only such files is told what it holds, not that it holds no picture.
    for (const char* name : {"photo 10.jpg", "photo 9.jpg", "f.mp3", "quiz.toml"})
        std::filesystem::remove(folder / name);
    written = NewQuiz();
    EXPECT_FALSE(write_new_quiz(folder.u8string(), -1, written, error));
    EXPECT_EQ(error.message.english, "this folder holds 8 files, none of which a quiz can carry (see the list above); add "
                             "pictures (JPEG, PNG, GIF or BMP), MP3 sounds or AVI videos, or use --kind text for a "
                             "text quiz");
    EXPECT_EQ(written.left_out.size(), 8u);
    std::filesystem::remove_all(folder);
}

}  // namespace
