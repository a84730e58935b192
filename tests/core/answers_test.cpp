// Measures, grading and results-file lines of the answers. One row per fault a
// threshold, a boundary or a swapped branch would make.
#include <gtest/gtest.h>

#include <string>

#include "answers/grade.h"
#include "answers/measures.h"
#include "answers/results_file.h"

namespace {

TEST(Measures, TrimAndFold) {
    char trimmed[] = "  \tA B\t  ";
    trim_spaces(trimmed);
    EXPECT_STREQ(trimmed, "\tA B\t");  // only spaces go
    for (int byte = 1; byte < 256; ++byte) {
        char text[2] = {static_cast<char>(byte), '\0'};
        fold_to_upper(text);
        EXPECT_EQ(static_cast<unsigned char>(text[0]), byte >= 'a' && byte <= 'z' ? byte - 0x20 : byte) << byte;
    }
}

TEST(Measures, DistanceLettersAndContainment) {
    const std::string a259(259, 'A');
    const struct {
        std::string first, second;
        int distance;
        bool same_letters;
        int containment;  // first accepted, second typed
    } cases[] = {
        {"", "ABC", 3, false, 1},
        {"ABC", "", 3, false, -1},
        {"KITTEN", "SITTING", 3, false, 0},
        {"TOURNESOL", "SOLTOURNE", 6, true, 0},
        {"AAB", "ABB", 1, false, 0},
        {"\x80\x7F", "\x7F\x80", 2, true, 0},
        {"PRINCE", "LE PETIT PRINCE", 9, false, 2},
        {"TOURNESOL", "NES", 6, false, -2},
        {"AAB", "AAAB", 1, false, 0},  // the scan never steps back into a broken match
        {"ABCD", "XXABC", 3, false, 0},
        {std::string(400, 'A'), a259, 0, true, 2},  // measured as its first 259 bytes
        {a259, std::string(258, 'A') + "B", 1, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first.substr(0, 20) + " / " + c.second.substr(0, 20));
        EXPECT_EQ(edit_distance(c.first.c_str(), c.second.c_str()), c.distance);
        EXPECT_EQ(edit_distance(c.second.c_str(), c.first.c_str()), c.distance);
        EXPECT_EQ(same_letters(c.first.c_str(), c.second.c_str()), c.same_letters);
        EXPECT_EQ(containment(c.first.c_str(), c.second.c_str()), c.containment);
    }
    EXPECT_EQ(length_ratio(24, 21), 87.5f);
    EXPECT_EQ(length_ratio(0, 3), 0.0f);
    EXPECT_EQ(similarity(9, 10, 1), 90.0f);  // over the longer of the two
    EXPECT_EQ(similarity(0, 0, 0), 100.0f);
}

TEST(Grade, EveryWordAndEachThreshold) {
    const struct {
        std::string accepted, typed;
        const char* grade;
    } cases[] = {
        {"Tournesol", "   ", "?"},
        {"Tournesol", "  tournesol ", "BRAVO"},
        {"Tournesol", "\ttournesol", "Quasiment"},  // a tab is not trimmed
        {"Tournesol ", "tournesol", "Quasiment"},   // the accepted answer is not trimmed
        {"Tournesol", "Tourensol", "Anagramme"},    // two edits, yet an anagram first
        {"Tournesol", "Tornesl", "Presque"},
        {"Tournesol", "Tourne", "FAUX"},             // a part, but of fewer than ten bytes
        {"Tournesol", "tournesol et cie", "Trop long"},
        {"abcdefghijk", "abcdefgh", "Trop court"},   // 72.7 %
        {"abcdefghijklmnopqrst", "abcdefghijklmn", "pas loin"},  // exactly 70 %
        {"abcdefghij", "abcdef", "pas loin"},
        {"abcdefghij", "abcde", "FAUX"},             // exactly 50 %
        {"abcdefghijklmnop", "abcxefgyijklmzop", "y a de l'id\xE9" "e"},  // 81.25 %
        {"abcdefghijklmno", "abcxefgyijklmzo", "FAUX"},                  // exactly 80 %
        {"\xC9" "cole", "ecole", "Quasiment"},       // accents count
        {std::string(259, 'A'), std::string(300, 'a'), "BRAVO"},  // both cut to 259 bytes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.accepted.substr(0, 20) + " / " + c.typed.substr(0, 20));
        EXPECT_STREQ(grade(c.accepted.c_str(), c.typed.c_str()), c.grade);
    }
}

TEST(ResultsFile, NameLinesAndReadingBack) {
    EXPECT_EQ(results_file_name("C:\\jeux\\Mon quizz.EXE"), "Mon quizz.txt");
    EXPECT_EQ(results_file_name("C:/jeux/quiz.exe"), "C:/jeux/quiz.txt");  // only a backslash separates
    EXPECT_EQ(results_file_name("C:\\jeux\\ab"), "txt");

    std::string file;
    for (const char* answer : {"Tournesol", "", " 100 %s "}) append_results_line(file, answer);
    EXPECT_EQ(file, "Tournesol\r\n\r\n 100 %s \r\n");
    file += std::string(300, 'x') + "\rjunk\nLF\nstays\r";
    const char* const lines[] = {"Tournesol", "", " 100 %s ", nullptr, "LF\nstays", "", ""};
    SavedAnswers saved(reinterpret_cast<const unsigned char*>(file.data()), file.size());
    for (const char* line : lines) {
        char text[text_size];
        saved.next(text);
        EXPECT_EQ(std::string(text), line ? line : std::string(259, 'x'));
    }
}

}  // namespace
