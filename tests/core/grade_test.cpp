#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "answers/grade.h"

namespace {

struct WordCase {
    const char* constant;
    const char* text;
    std::size_t length;
};

TEST(GradeWords, ExactTexts) {
    const WordCase words[] = {
        {grade_empty, "?", 1},
        {grade_right, "BRAVO", 5},
        {grade_anagram, "Anagramme", 9},
        {grade_one_edit, "Quasiment", 9},
        {grade_two_edits, "Presque", 7},
        {grade_too_short, "Trop court", 10},
        {grade_not_far, "pas loin", 8},
        {grade_too_long, "Trop long", 9},
        {grade_close, "y a de l'id\xE9" "e", 13},
        {grade_wrong, "FAUX", 4},
    };
    for (const WordCase& word : words) {
        SCOPED_TRACE(word.text);
        EXPECT_STREQ(word.constant, word.text);
        EXPECT_EQ(std::strlen(word.constant), word.length);
    }
}

struct GradeCase {
    std::string accepted;
    std::string typed;
    const char* expected;
};

class GradeTable : public ::testing::TestWithParam<GradeCase> {};

TEST_P(GradeTable, GivesTheGradeWord) {
    const GradeCase& c = GetParam();
    SCOPED_TRACE("accepted '" + c.accepted + "', typed '" + c.typed + "'");
    EXPECT_STREQ(grade(c.accepted.c_str(), c.typed.c_str()), c.expected);
}

const GradeCase tournesol_cases[] = {
    {"Tournesol", "   ", "?"},
    {"Tournesol", "", "?"},
    {"Tournesol", "  tournesol ", "BRAVO"},
    {"Tournesol", "TOURNESOL", "BRAVO"},
    {"Tournesol", "tournesoll", "Quasiment"},
    {"Tournesol", "Tourensol", "Anagramme"},  // distance 2, yet an anagram first
    {"Tournesol", "soltourne", "Anagramme"},
    {"Tournesol", "Tourne", "FAUX"},          // contained, but only 9 bytes accepted
    {"Tournesol", "tournesol et cie", "Trop long"},
    {"Tournesol", "\ttournesol", "Quasiment"},  // a tab is not trimmed
    {"Tournesol ", "tournesol", "Quasiment"},   // the accepted answer is not trimmed
    {"Tournesol", "Tornesl", "Presque"},
};
INSTANTIATE_TEST_SUITE_P(Tournesol, GradeTable, ::testing::ValuesIn(tournesol_cases));

const GradeCase partial_cases[] = {
    {"abcdefghij", "abcdefgh", "Presque"},
    {"abcdefghij", "abcdefg", "pas loin"},  // ratio exactly 70
    {"abcdefghij", "abcdef", "pas loin"},
    {"abcdefghij", "abcde", "FAUX"},        // ratio exactly 50
    {"abcdefghij", "fghij", "FAUX"},
    {"abcdefghijklmnopqrst", "abcdefghijklmno", "Trop court"},  // 75
    {"abcdefghijklmnopqrst", "abcdefghijklmn", "pas loin"},     // 70
    {"abcdefghijklmnopqrst", "abcdefghijk", "pas loin"},        // 55
    {"abcdefghijklmnopqrst", "abcdefghij", "FAUX"},             // 50
    {"abcdefghijklmnopqrst", "klmnopqrst", "FAUX"},
    {"abcdefghijk", "abcdefgh", "Trop court"},                  // 11 bytes, 72.7
    {"La belle au bois dormant", "belle au bois dormant", "Trop court"},
};
INSTANTIATE_TEST_SUITE_P(PartOfTheAnswer, GradeTable, ::testing::ValuesIn(partial_cases));

const GradeCase other_cases[] = {
    {"Prince", "Princes", "Quasiment"},
    {"Prince", "Le petit prince", "Trop long"},
    {"Prince", "Prince charmant", "Trop long"},
    {"abcdefghijklmnop", "abcxefgyijklmzop", "y a de l'idée"},  // 81.25
    {"abcdefghijklmno", "abcxefgyijklmzo", "FAUX"},             // 80
    {"Prince", "Grenouille", "FAUX"},
    {"École", "ecole", "Quasiment"},  // É is not folded
    {"Ecole", "ecole", "BRAVO"},
    {"École", "École", "BRAVO"},
    {"école", "ÉCOLE", "Quasiment"},
    {"Noël", "NOËL", "Quasiment"},
    {"éa", "aé", "Anagramme"},
    {"\xFF" "abc", "abc\xFF", "Anagramme"},
    {"", "a", "Quasiment"},
    {"", "ab", "Presque"},
    {"", "abc", "FAUX"},
    {"", "   ", "?"},
};
INSTANTIATE_TEST_SUITE_P(Others, GradeTable, ::testing::ValuesIn(other_cases));

std::string letters(int length) {
    std::string text(static_cast<std::size_t>(length), ' ');
    for (int i = 0; i < length; ++i) text[i] = static_cast<char>('A' + i % 26);
    return text;
}

// Both answers are cut to 259 bytes before the typed one is trimmed.
const GradeCase long_cases[] = {
    {letters(259), letters(259), "BRAVO"},
    {letters(259), letters(300), "BRAVO"},
    {letters(300), letters(259), "BRAVO"},
    {letters(259), letters(258), "Quasiment"},
    {letters(259), " " + letters(259), "Quasiment"},
    {letters(259), letters(259) + " ", "BRAVO"},
    {letters(259), letters(200), "Trop court"},
    {letters(259), letters(150), "pas loin"},
    {letters(100), letters(259), "Trop long"},
    {std::string(259, 'A'), std::string(259, 'b'), "FAUX"},
    {std::string(259, '\xE9'), std::string(258, '\xE9') + "\xC9", "Quasiment"},
};
INSTANTIATE_TEST_SUITE_P(LongAnswers, GradeTable, ::testing::ValuesIn(long_cases));

TEST(GradeInputs, LeavesBothTextsUnchanged) {
    char accepted[] = "Tournesol";
    char typed[] = "  tournesol ";
    EXPECT_STREQ(grade(accepted, typed), "BRAVO");
    EXPECT_STREQ(accepted, "Tournesol");
    EXPECT_STREQ(typed, "  tournesol ");
}

}  // namespace
