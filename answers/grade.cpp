#include "answers/grade.h"

#include <algorithm>
#include <cstring>

#include "answers/folding.h"
#include "answers/measures.h"
#include "quiz_data/quiz_content.h"

const char* const grade_empty = "?";
const char* const grade_right = "BRAVO";
const char* const grade_anagram = "Anagramme";
const char* const grade_one_edit = "Quasiment";
const char* const grade_two_edits = "Presque";
const char* const grade_too_short = "Trop court";
const char* const grade_not_far = "pas loin";
const char* const grade_too_long = "Trop long";
const char* const grade_close = "y a de l'idée";
const char* const grade_wrong = "FAUX";
const char* const grade_words[10] = {grade_empty,   grade_right,   grade_anagram, grade_one_edit, grade_two_edits,
                                     grade_too_short, grade_not_far, grade_too_long, grade_close,   grade_wrong};

namespace {

// A part of a long accepted answer: only answers of ten bytes or more earn a
// partial grade, by the share of their length that was typed.
const char* grade_part(int accepted_length, int typed_length) {
    if (accepted_length <= 9) return grade_wrong;
    const float ratio = length_ratio(accepted_length, typed_length);
    if (ratio > 70.0f) return grade_too_short;
    if (ratio > 50.0f) return grade_not_far;
    return grade_wrong;
}

// Both texts prepared: the rules in their order. Without `similarity_counts`
// (an earlier accepted text already did better than FAUX), the last rule is
// left out: it could only give what is already beaten.
const char* grade_prepared(const char* accepted_answer, const char* typed_answer, bool similarity_counts) {
    if (typed_answer[0] == '\0') return grade_empty;
    const int accepted_length = static_cast<int>(std::strlen(accepted_answer));
    const int typed_length = static_cast<int>(std::strlen(typed_answer));
    // The distance counts up to 2 for the edit rules and, for the similarity
    // rule, as long as it can stay below a fifth of the longer length: beyond
    // both, every larger distance grades alike.
    const int longer = std::max(accepted_length, typed_length);
    const int limit = similarity_counts ? std::max(2, (longer - 1) / 5) : 2;
    const int distance = edit_distance_within(accepted_answer, typed_answer, limit);
    if (distance == 0) return grade_right;
    // Before the distance rules: two swapped letters are an anagram, not two edits.
    if (same_letters(accepted_answer, typed_answer)) return grade_anagram;
    if (distance == 1) return grade_one_edit;
    if (distance == 2) return grade_two_edits;

    switch (containment(accepted_answer, typed_answer)) {
    case -2:
        return grade_part(accepted_length, typed_length);
    case 2:
        return grade_too_long;
    default:
        return similarity_counts && similarity(accepted_length, typed_length, distance) > 80.0f ? grade_close
                                                                                                : grade_wrong;
    }
}

// Exact: what is typed is trimmed and a-z made capitals, the accepted text only
// made capitals. Lenient: both folded the same way.
void prepare(const char* text, bool typed, int mode, char (&prepared)[text_size]) {
    if (mode == grading_lenient) {
        fold_lenient(text, prepared);
        return;
    }
    copy_text(prepared, text);
    if (typed) trim_spaces(prepared);
    fold_to_upper(prepared);
}

int rank_of(const char* word) {
    int rank = 0;
    while (grade_words[rank] != word) ++rank;
    return rank;
}

}  // namespace

const char* grade(const char* accepted, const char* typed) { return grade_any(&accepted, 1, typed, grading_exact); }

const char* grade_any(const char* const* accepted, int count, const char* typed, int mode) {
    char typed_answer[text_size];
    prepare(typed, true, mode, typed_answer);
    const char* best = grade_wrong;
    for (int i = 0; i < count; ++i) {
        char accepted_answer[text_size];
        prepare(accepted[i], false, mode, accepted_answer);
        const char* got = grade_prepared(accepted_answer, typed_answer, best == grade_wrong);
        if (rank_of(got) < rank_of(best)) best = got;
        if (best == grade_right || best == grade_empty) break;  // nothing comes before them
    }
    return best;
}

GradeLook grade_look(const char* grade) {
    const auto is = [grade](const char* word) { return std::strcmp(grade, word) == 0; };
    if (is(grade_empty)) return GradeLook::plain;
    if (is(grade_right)) return GradeLook::right;
    if (is(grade_anagram)) return GradeLook::anagram;
    return is(grade_wrong) ? GradeLook::wrong : GradeLook::near_miss;
}
