#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "answers/measures.h"

namespace {

struct TextCase {
    const char* input;
    const char* expected;
};

TEST(MeasuresTrimSpaces, RemovesOnlySpacesAtBothEnds) {
    const TextCase cases[] = {
        {"  TOURNESOL  ", "TOURNESOL"},
        {"   ", ""},
        {"", ""},
        {"\tA\t", "\tA\t"},
        {" \tA\t ", "\tA\t"},
        {" A B ", "A B"},
        {"A", "A"},
        {"\xA0" "A\xA0", "\xA0" "A\xA0"},  // a no-break space is not a space
        {" é ", "é"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(std::string("'") + c.input + "'");
        char buffer[260];
        std::strcpy(buffer, c.input);
        trim_spaces(buffer);
        EXPECT_STREQ(buffer, c.expected);
    }
}

TEST(MeasuresFoldToUpper, FoldsOnlyAsciiLowercase) {
    const TextCase cases[] = {
        {"école", "éCOLE"},
        {"Tournesol", "TOURNESOL"},
        {"`az{", "`AZ{"},
        {"@AZ[", "@AZ["},
        {"àéïôûÿ", "àéïôûÿ"},
        {"", ""},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.input);
        char buffer[260];
        std::strcpy(buffer, c.input);
        fold_to_upper(buffer);
        EXPECT_STREQ(buffer, c.expected);
    }
}

// Every byte on its own: bytes 0xE1-0xFA lie 0x80 above a-z and must stay as they are.
TEST(MeasuresFoldToUpper, EveryByteValue) {
    for (int byte = 1; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        char buffer[2] = {static_cast<char>(byte), '\0'};
        fold_to_upper(buffer);
        const int expected = byte >= 'a' && byte <= 'z' ? byte - 0x20 : byte;
        EXPECT_EQ(static_cast<unsigned char>(buffer[0]), expected);
    }
}

struct DistanceCase {
    std::string first;
    std::string second;
    int distance;
};

TEST(MeasuresEditDistance, KnownDistancesBothWays) {
    const DistanceCase cases[] = {
        {"", "ABC", 3},
        {"", "", 0},
        {"TOURNESOL", "TOURNESOLL", 1},
        {"TOURNESOL", "TOURENSOL", 2},
        {"TOURNESOL", "TOURNESOL", 0},
        {"KITTEN", "SITTING", 3},
        {"ABC", "XYZ", 3},
        {"LA BELLE AU BOIS DORMANT", "BELLE AU BOIS DORMANT", 3},
        {"ABCDEFGHIJKLMNOP", "ABCXEFGYIJKLMZOP", 3},
        {"ÉCOLE", "ECOLE", 1},
        {"é", "É", 1},
        {"\x80", "\xFF", 1},
        {"\x7F\x80", "\x80\x7F", 2},
        {std::string(259, 'A'), std::string(259, 'B'), 259},
        {std::string(259, 'A'), std::string(258, 'A'), 1},
        {std::string(259, 'A'), "", 259},
        {std::string(130, 'A') + std::string(129, 'B'), std::string(129, 'B') + std::string(130, 'A'), 258},
    };
    for (const DistanceCase& c : cases) {
        SCOPED_TRACE("'" + c.first + "' / '" + c.second + "'");
        EXPECT_EQ(edit_distance(c.first.c_str(), c.second.c_str()), c.distance);
        EXPECT_EQ(edit_distance(c.second.c_str(), c.first.c_str()), c.distance);
    }
}

// Strings longer than an answer buffer are measured as their first 259 bytes.
TEST(MeasuresEditDistance, LongerStringsAreCutTo259Bytes) {
    const std::string long_a(400, 'A');
    const std::string answer_a(259, 'A');
    EXPECT_EQ(edit_distance(long_a.c_str(), answer_a.c_str()), 0);
    EXPECT_EQ(edit_distance(long_a.c_str(), ""), 259);
    EXPECT_EQ(edit_distance("", long_a.c_str()), 259);
    EXPECT_EQ(edit_distance(long_a.c_str(), std::string(300, 'B').c_str()), 259);
}

struct LettersCase {
    std::string first;
    std::string second;
    bool same;
};

TEST(MeasuresSameLetters, RearrangementsOnly) {
    std::string reversed(259, ' ');
    std::string forward(259, ' ');
    for (int i = 0; i < 259; ++i) {
        forward[i] = static_cast<char>(1 + i % 255);
        reversed[258 - i] = forward[i];
    }
    const LettersCase cases[] = {
        {"TOURNESOL", "SOLTOURNE", true},
        {"TOURNESOL", "TOURENSOL", true},
        {"AB", "AB ", false},
        {"", "", true},
        {"AAB", "ABB", false},
        {"ABC", "ABD", false},
        {"éA", "Aé", true},
        {"\x80\x7F", "\x7F\x80", true},
        {"\xFF\x01", "\x01\xFF", true},
        {"ééA", "AéA", false},
        {"\xE9", "\xC9", false},
        {forward, reversed, true},
        {forward, reversed.substr(1) + "\x01", false},
    };
    for (const LettersCase& c : cases) {
        SCOPED_TRACE("'" + c.first + "' / '" + c.second + "'");
        EXPECT_EQ(same_letters(c.first.c_str(), c.second.c_str()), c.same);
        EXPECT_EQ(same_letters(c.second.c_str(), c.first.c_str()), c.same);
    }
}

TEST(MeasuresSameLetters, LeavesBothStringsUnchanged) {
    char first[] = "SOLTOURNE";
    char second[] = "TOURNESOL";
    EXPECT_TRUE(same_letters(first, second));
    EXPECT_STREQ(first, "SOLTOURNE");
    EXPECT_STREQ(second, "TOURNESOL");
}

struct ContainmentCase {
    const char* accepted;
    const char* typed;
    int result;
};

TEST(MeasuresContainment, OnePassScan) {
    const ContainmentCase cases[] = {
        {"PRINCE", "LE PETIT PRINCE", 2},
        {"LE PETIT PRINCE", "PETIT PRINCE", -2},
        {"ABC", "XYZ", 0},
        {"ABC", "ABC", 2},
        {"AAB", "AAAB", 0},       // the match starting at byte 1 lies inside a failed one
        {"ABAC", "ABABAC", 0},    // likewise
        {"AB", "ABAB", 2},
        {"B", "AB", 2},
        {"ABCD", "XXABC", 0},     // the text runs out during the comparison
        {"", "ABC", 1},
        {"ABC", "", -1},
        {"", "", 1},
        {"TOURNESOL", "TOURNE", -2},
        {"TOURNESOL", "SOL", -2},
        {"TOURNESOL", "NES", -2},
        {"TOURNESOL", "TOURNESOL!", 2},
        {"É", "CAFÉ", 2},
        {"CAFÉ", "CAFE", 0},
        {"CAFE\x80", "\x80", -2},
    };
    for (const ContainmentCase& c : cases) {
        SCOPED_TRACE(std::string("'") + c.accepted + "' / '" + c.typed + "'");
        EXPECT_EQ(containment(c.accepted, c.typed), c.result);
    }
}

TEST(MeasuresContainment, AnswersOf259Bytes) {
    const std::string accepted = std::string(258, 'A') + "B";
    EXPECT_EQ(containment(accepted.c_str(), accepted.c_str()), 2);
    EXPECT_EQ(containment(accepted.c_str(), "AB"), -2);
    EXPECT_EQ(containment(accepted.c_str(), std::string(258, 'A').c_str()), -2);
    EXPECT_EQ(containment(accepted.c_str(), (std::string(257, 'A') + "C").c_str()), 0);
}

struct RatioCase {
    int accepted_length;
    int typed_length;
    float ratio;
};

TEST(MeasuresLengthRatio, ExactValues) {
    const RatioCase cases[] = {
        {10, 7, 70.0f}, {10, 5, 50.0f}, {10, 8, 80.0f}, {24, 21, 87.5f},
        {9, 6, static_cast<float>(600.0 / 9)}, {259, 259, 100.0f}, {1, 0, 0.0f},
    };
    for (const RatioCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.typed_length) + " of " + std::to_string(c.accepted_length));
        EXPECT_EQ(length_ratio(c.accepted_length, c.typed_length), c.ratio);
    }
}

// The grade thresholds, over every pair of answer lengths, fall exactly where
// whole-number arithmetic puts them.
TEST(MeasuresLengthRatio, ThresholdsMatchIntegerArithmetic) {
    int mismatches = 0;
    for (int accepted = 1; accepted <= 259; ++accepted) {
        for (int typed = 0; typed <= 259; ++typed) {
            const float ratio = length_ratio(accepted, typed);
            if ((ratio > 70.0f) != (10 * typed > 7 * accepted)) ++mismatches;
            if ((ratio > 50.0f) != (2 * typed > accepted)) ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

struct SimilarityCase {
    int accepted_length;
    int typed_length;
    int distance;
    float value;
};

TEST(MeasuresSimilarity, ExactValues) {
    const SimilarityCase cases[] = {
        {16, 16, 3, 81.25f}, {15, 15, 3, 80.0f}, {10, 9, 1, 90.0f}, {9, 10, 1, 90.0f},
        {24, 21, 3, 87.5f},  {0, 3, 3, 0.0f},    {259, 259, 0, 100.0f},
    };
    for (const SimilarityCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.accepted_length) + ", " + std::to_string(c.typed_length) + ", " +
                     std::to_string(c.distance));
        EXPECT_EQ(similarity(c.accepted_length, c.typed_length, c.distance), c.value);
    }
}

TEST(MeasuresSimilarity, ThresholdMatchesIntegerArithmetic) {
    int mismatches = 0;
    for (int longer = 1; longer <= 259; ++longer) {
        for (int distance = 0; distance <= longer; ++distance) {
            const bool above = longer > 5 * distance;
            if ((similarity(longer, longer / 2, distance) > 80.0f) != above) ++mismatches;
            if ((similarity(longer / 2, longer, distance) > 80.0f) != above) ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
