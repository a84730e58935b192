// Grading of one typed answer against its accepted answer.
#pragma once

extern const char* const grade_empty;      // "?"
extern const char* const grade_right;      // "BRAVO"
extern const char* const grade_anagram;    // "Anagramme"
extern const char* const grade_one_edit;   // "Quasiment"
extern const char* const grade_two_edits;  // "Presque"
extern const char* const grade_too_short;  // "Trop court"
extern const char* const grade_not_far;    // "pas loin"
extern const char* const grade_too_long;   // "Trop long"
extern const char* const grade_close;      // "y a de l'idée"
extern const char* const grade_wrong;      // "FAUX"
// Every grade above, in that order.
extern const char* const grade_words[10];

// Both texts raw, at most 259 bytes: the typed one is trimmed and folded, the
// accepted one folded only. Returns one of the grade words above.
const char* grade(const char* accepted, const char* typed);

// `typed` against each of `count` accepted texts (an answer, then its other
// accepted spellings) under grading `mode` (quiz_data/quiz_kinds.h): the grade
// that comes first in grade_words. Exact mode with one text is grade() itself.
const char* grade_any(const char* const* accepted, int count, const char* typed, int mode);

// How the player shows a grade word: in the system's colours ("?"), or on a
// label of its own colour with the word's letters on red, or green for "BRAVO".
enum class GradeLook { plain, right, anagram, near_miss, wrong };
GradeLook grade_look(const char* grade);

struct GradeColour {
    unsigned char red, green, blue;
};
// The label's colour for each look but plain, in GradeLook's order from `right`.
constexpr GradeColour grade_label_colours[] = {{0, 255, 0}, {255, 100, 0}, {255, 203, 38}, {255, 0, 0}};
inline GradeColour label_colour(GradeLook look) { return grade_label_colours[static_cast<int>(look) - 1]; }
// Behind the word's letters.
inline GradeColour letters_colour(GradeLook look) {
    return look == GradeLook::right ? GradeColour{0, 255, 0} : GradeColour{255, 0, 0};
}
