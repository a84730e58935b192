// Writing back a source that was read: what the model did not change keeps the
// maker's bytes. Models are read with the source reader.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <string>

#include "authoring/quiz_source.h"
#include "authoring/source_writer.h"

namespace {

std::string crlf(const std::string& text) { return std::regex_replace(text, std::regex("\n"), "\r\n"); }
std::string without_last_line_end(const std::string& text) { return text.substr(0, text.find_last_not_of("\r\n") + 1); }
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

// The model read from `source`, changed by `edit`, written back over `source`
// gives `expected`, or is refused with `error` and nothing written.
struct Rewrite {
    std::string source;
    std::function<void(QuizModel&)> edit;
    std::string expected;
    std::string error;
};

void check(const Rewrite& row) {
    QuizModel model;
    Diagnostics diagnostics;
    EXPECT_TRUE(read_quiz_source(row.source, "quiz.toml", model, diagnostics)) << row.source;
    row.edit(model);
    const WrittenSource written = rewrite_quiz_source(row.source, model);
    EXPECT_EQ(written.error.english, row.error);
    EXPECT_EQ(written.text, row.expected);
}

void unchanged(QuizModel&) {}

// Comments wherever they may stand, three kinds of quoting, an array over
// several lines; a question's lines start at the blank line above it.
const std::string head = u8R"(# Un quiz d'essai
kind = "picture"
  title = 'Capitales'   # le titre
creator = "L\u00E9a"
colour = "#2e7d5b"
codes = [
  "NORD",  # la première
  "",
]
)";
const std::string q1 = u8R"(
# La première
[[question]]
answers = ["Paris", "France"]
tries = { "paris" = "BRAVO", "Pari" = "Quasiment", "Parsi" = "Anagramme" }
picture = "images/q1.jpg"  # photo
)";
const std::string q2 = u8R"(
[[question]]
"answers" = ['Rome', "Italie"]
picture = "images/q2.jpg"
# fin de Rome
)";
const std::string q3 = u8R"(
# La dernière
[[question]]
answers = ["Berne", "Suisse"]
tries_2 = { "suisse" = "BRAVO" }
picture = "images/q3.jpg"
)";
const std::string quiz = head + q1 + q2 + q3;
// Two forms the reader takes, which are kept but cannot be rewritten.
const std::string inline_questions = "kind = \"text\"\nquestion = [{ answer = \"a\" }]\n";
const std::string tries_table = "kind = \"text\"\n[[question]]\nanswer = \"a\"\n[question.tries]\nb = \"FAUX\"\n";
// A string over several lines whose last line looks like a comment above a header.
const std::string string_head = "kind = \"picture\"\nexplanations = \"\"\"\nLisez.\n# pas un commentaire\"\"\"\n";
const std::string bare_q1 = "[[question]]\nanswer = \"a\"\npicture = \"1.jpg\"\n";
const std::string bare_q2 = "\n[[question]]\nanswer = \"b\"\npicture = \"2.jpg\"\n";

void rotate_left_twice(QuizModel& m) { std::rotate(m.questions.begin(), m.questions.begin() + 2, m.questions.end()); }

TEST(RewriteSource, NothingChangedGivesTheSameBytes) {
    std::vector<std::string> sources = {quiz, without_last_line_end(crlf(quiz)), inline_questions, tries_table};
    for (const char* example : {"animaux", "capitales", "drapeaux", "formes", "pays-capitales"}) {
        std::ifstream file(std::string(EXAMPLES_DIR) + "/" + example + "/quiz.toml", std::ios::binary);
        sources.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        ASSERT_FALSE(sources.back().empty()) << example;
    }
    for (const std::string& source : sources) check({source, unchanged, source, ""});
    // A kind the reader does not know stays as it is written.
    QuizModel unknown_kind;
    unknown_kind.questions.resize(1);
    unknown_kind.questions[0].answers[0] = "a";
    unknown_kind.questions[0].origin = 0;
    const std::string image = "kind = \"image\"\n[[question]]\nanswer = \"a\"\n";
    EXPECT_EQ(rewrite_quiz_source(image, unknown_kind).text, image);
}

TEST(RewriteSource, AChangeRewritesOnlyItsOwnLinesAndQuestionsCarryTheirs) {
    const Rewrite rows[] = {
        {quiz, [](QuizModel& m) { m.title = "Villes"; }, replaced(quiz, "'Capitales'   #", "\"Villes\"   #"), ""},
        {quiz, [](QuizModel& m) { m.codes = codes_of_list({"SUD"}); },
         replaced(quiz, u8"[\n  \"NORD\",  # la première\n  \"\",\n]", "[\"SUD\"]"), ""},
        {quiz, [](QuizModel& m) { m.creator.clear(); }, replaced(quiz, "creator = \"L\\u00E9a\"\n", ""), ""},
        {quiz, [](QuizModel& m) { m.reveal = reveal_text; }, replaced(quiz, "]\n\n", "]\nreveal = \"text\"\n\n"), ""},
        {quiz, [](QuizModel& m) { m.questions[1].answers[0] = "Milan"; },
         replaced(quiz, "['Rome', \"Italie\"]", "[\"Milan\", \"Italie\"]"), ""},
        {quiz, [](QuizModel& m) { m.questions[0].tries.clear(); },
         replaced(quiz, "tries = { \"paris\" = \"BRAVO\", \"Pari\" = \"Quasiment\", \"Parsi\" = \"Anagramme\" }\n", ""),
         ""},
        {quiz, [](QuizModel& m) { std::reverse(m.questions[0].tries.begin(), m.questions[0].tries.end()); }, quiz, ""},
        {quiz, [](QuizModel& m) { m.questions[2].text = "Laquelle ?"; },
         replaced(quiz, "q3.jpg\"\n", "q3.jpg\"\ntext = \"Laquelle ?\"\n"), ""},
        {quiz, [](QuizModel& m) { m.boxes = 1; },
         replaced(replaced(replaced(quiz, "answers = [\"Paris\", \"France\"]", "answer = \"Paris\""),
                           "\"answers\" = ['Rome', \"Italie\"]", "answer = \"Rome\""),
                  "answers = [\"Berne\", \"Suisse\"]", "answer = \"Berne\""),
         ""},
        {quiz, [](QuizModel& m) {
             ModelQuestion vienna;
             vienna.answers[0] = "Vienne";
             vienna.answers[1] = "Autriche";
             m.questions.insert(m.questions.begin() + 1, vienna);
         },
         head + q1 + "\n[[question]]\nanswers = [\"Vienne\", \"Autriche\"]\n" + q2 + q3, ""},
        {quiz, [](QuizModel& m) { m.questions.erase(m.questions.begin() + 1); }, head + q1 + q3, ""},
        {quiz, rotate_left_twice, head + q3 + q1 + q2, ""},
        {without_last_line_end(crlf(quiz)), rotate_left_twice, without_last_line_end(crlf(head + q3 + q1 + q2)), ""},
        {"\xEF\xBB\xBF" + inline_questions, [](QuizModel& m) { m.kind = sound_quiz; },
         "\xEF\xBB\xBF" + replaced(inline_questions, "text", "sound"), ""},
        {string_head + bare_q1 + bare_q2, [](QuizModel& m) { std::swap(m.questions[0], m.questions[1]); },
         string_head + bare_q2 + bare_q1, ""},
        // Refused, with nothing written.
        {quiz, [](QuizModel& m) { m.kind = -1; }, "", "kind: quiz kind -1 has no name"},
        {quiz, [](QuizModel& m) { m.title = "\xC3"; }, "", "title: not UTF-8 text"},
        {quiz, [](QuizModel& m) { m.questions[0].tries.push_back(m.questions[0].tries[0]); }, "",
         "question 1: tries: \"Pari\" is tried twice"},
        {inline_questions, [](QuizModel& m) { m.questions[0].answers[0] = "b"; }, "",
         "question: the questions are not [[question]] tables, so they cannot be rewritten"},
        {tries_table, [](QuizModel& m) { m.questions[0].tries.clear(); }, "",
         "question 1: tries: written as a table of its own (line 4); only a key = value line can be rewritten"},
    };
    for (const Rewrite& row : rows) check(row);
    EXPECT_EQ(rewrite_quiz_source("kind = ", QuizModel()).error.english,
              "TOML syntax: line 1, column 8: Error while parsing key-value pair: encountered end-of-file");
}

}  // namespace
