// Measures, grading and results-file lines of the answers. One row per fault a
// threshold, a boundary or a swapped branch would make.
#include <gtest/gtest.h>

#include <string>

#include "answers/folding.h"
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

TEST(Folding, LettersSignsAndSpaces) {
    const struct {
        const char* text;
        const char* folded;
    } cases[] = {
        {"\xC0\xC1\xC2\xC3\xC4\xC5\xE0\xE1\xE2\xE3\xE4\xE5", "AAAAAAAAAAAA"},
        {"\xC7\xE7\xC8\xC9\xCA\xCB\xE8\xE9\xEA\xEB", "CCEEEEEEEE"},
        {"\xCC\xCD\xCE\xCF\xEC\xED\xEE\xEF\xD1\xF1", "IIIIIIIINN"},
        {"\xD2\xD3\xD4\xD5\xD6\xD8\xF2\xF3\xF4\xF5\xF6\xF8", "OOOOOOOOOOOO"},
        {"\xD9\xDA\xDB\xDC\xF9\xFA\xFB\xFC\xDD\x9F\xFD\xFF", "UUUUUUUUYYYY"},
        {"\x8A\x9A\x8E\x9E\xD0\xF0", "SSZZDD"},
        {"\xC6\xE6\x8C\x9C\xDF", "AEAEOEOESS"},
        {"\xFE\xD7\xF7\xB5", "\xDE\xD7\xF7\xB5"},  // other letters made capitals, signs kept
        {"\x91\x92\x82`\xB4", "'''''"},
        {"\x93\x94\x84\xAB\xBB", "\"\"\"\"\""},
        {"A\x85", "A..."},
        {"  Notre-Dame \xA0" "de\x96Paris\x97  ", "NOTRE DAME DE PARIS"},
        {"-\xA0 -", ""},
        {"\tA", "\tA"},  // only spaces are trimmed
        {"Sacr\xE9-C\x9Cur", "SACRE COEUR"},
    };
    for (const auto& c : cases) {
        char folded[text_size];
        fold_lenient(c.text, folded);
        EXPECT_STREQ(folded, c.folded) << c.text;
    }
    char folded[text_size];
    fold_lenient(std::string(200, '\x85').c_str(), folded);
    EXPECT_EQ(std::string(folded), std::string(259, '.'));  // cut at 259 bytes
}

TEST(Grade, AcceptedTextsInBothModes) {
    const char* const eiffel[] = {"Tour Eiffel", "La tour Eiffel", "Tour Eifel"};
    const char* const coeur[] = {"Sacr\xE9-C\x9Cur"};
    const char* const order[] = {"Tournesol", "Tourensol"};
    const struct {
        const char* const* accepted;
        int count;
        const char* typed;
        int mode;
        const char* grade;
    } cases[] = {
        {eiffel, 1, "la tour eiffel", grading_exact, "Trop long"},
        {eiffel, 3, "la tour eiffel", grading_exact, "BRAVO"},  // a variant is right
        {eiffel, 3, "Tour Eifell", grading_exact, "Quasiment"},  // the best of the three
        {eiffel, 3, "", grading_lenient, "?"},
        {coeur, 1, "Sacre-Coeur", grading_exact, "FAUX"},
        {coeur, 1, "SACRE COEUR", grading_lenient, "BRAVO"},
        {coeur, 1, "sacre coeu", grading_lenient, "Quasiment"},
        {coeur, 1, "  sacr\xC9 - c\x8Cur ", grading_lenient, "BRAVO"},
        {order, 2, "Toursenol", grading_exact, "Anagramme"},   // before the variant's Quasiment
        {order, 2, "Tourensoll", grading_exact, "Quasiment"},  // the variant's, before the answer's Presque
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_STREQ(grade_any(c.accepted, c.count, c.typed, c.mode), c.grade);
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
