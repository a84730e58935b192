#include "answers/measures.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "quiz_data/quiz_content.h"

namespace {

constexpr int max_length = text_size - 1;

// Length of an answer, never counted past the 259 bytes an answer buffer holds,
// so a longer string handed in is measured as its first 259 bytes.
int answer_length(const char* text) {
    int length = 0;
    while (length < max_length && text[length] != '\0') ++length;
    return length;
}

}  // namespace

void trim_spaces(char* text) {
    std::size_t end = std::strlen(text);
    while (end > 0 && text[end - 1] == ' ') --end;
    text[end] = '\0';
    std::size_t start = 0;
    while (text[start] == ' ') ++start;
    std::memmove(text, text + start, end - start + 1);
}

void fold_to_upper(char* text) {
    for (; *text != '\0'; ++text) {
        if (*text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - ('a' - 'A'));
    }
}

int edit_distance(const char* first, const char* second) {
    return edit_distance_within(first, second, max_length);
}

// Two rows of the distance table suffice: each row is built from the one above.
// Only the cells within `limit` of the diagonal can hold a distance of at most
// `limit`; the others count as limit + 1.
int edit_distance_within(const char* first, const char* second, int limit) {
    const int first_length = answer_length(first);
    const int second_length = answer_length(second);
    const int over = limit + 1;
    if (std::abs(first_length - second_length) > limit) return over;
    if (first_length == 0) return second_length;
    if (second_length == 0) return first_length;

    int rows[2][text_size];
    int* above = rows[0];
    int* current = rows[1];
    for (int j = 0; j <= second_length; ++j) above[j] = std::min(j, over);
    for (int i = 1; i <= first_length; ++i) {
        const int from = std::max(1, i - limit);
        const int to = std::min(second_length, i + limit);
        current[from - 1] = from == 1 ? std::min(i, over) : over;
        for (int j = from; j <= to; ++j) {
            const int cost = first[i - 1] == second[j - 1] ? 0 : 1;
            current[j] = std::min({above[j] + 1, current[j - 1] + 1, above[j - 1] + cost, over});
        }
        if (to < second_length) current[to + 1] = over;
        std::swap(above, current);
    }
    return above[second_length];
}

bool same_letters(const char* first, const char* second) {
    const int first_length = answer_length(first);
    const int second_length = answer_length(second);
    if (first_length != second_length) return false;

    // Sorted as unsigned bytes: any fixed order tells rearrangements apart equally.
    unsigned char first_sorted[text_size];
    unsigned char second_sorted[text_size];
    std::memcpy(first_sorted, first, static_cast<std::size_t>(first_length));
    std::memcpy(second_sorted, second, static_cast<std::size_t>(second_length));
    std::sort(first_sorted, first_sorted + first_length);
    std::sort(second_sorted, second_sorted + second_length);
    return std::memcmp(first_sorted, second_sorted, static_cast<std::size_t>(first_length)) == 0;
}

// The scan never steps back in the text: after a partial match it resumes at the
// byte that broke it, so an occurrence starting inside that partial match is missed.
int containment(const char* accepted, const char* typed) {
    const int accepted_length = answer_length(accepted);
    const int typed_length = answer_length(typed);
    const bool typed_is_pattern = typed_length < accepted_length;
    const int sign = typed_is_pattern ? -1 : 1;
    const char* pattern = typed_is_pattern ? typed : accepted;
    const char* text = typed_is_pattern ? accepted : typed;
    const int pattern_length = typed_is_pattern ? typed_length : accepted_length;
    const int text_length = typed_is_pattern ? accepted_length : typed_length;
    if (pattern_length == 0) return sign;

    int j = 0;
    for (;;) {
        while (j < text_length && text[j] != pattern[0]) ++j;
        if (j == text_length) return 0;
        int matched = 0;
        while (matched < pattern_length && j < text_length && text[j] == pattern[matched]) {
            ++matched;
            ++j;
        }
        if (matched == pattern_length) return 2 * sign;
    }
}

float length_ratio(int accepted_length, int typed_length) {
    if (accepted_length <= 0) return 0.0f;  // no ratio to an empty answer
    return static_cast<float>(100.0 * typed_length / accepted_length);
}

float similarity(int accepted_length, int typed_length, int distance) {
    const int longer = typed_length < accepted_length ? accepted_length : typed_length;
    if (longer <= 0) return 100.0f;  // two empty answers are alike
    return static_cast<float>(100.0 * (longer - distance) / longer);
}
