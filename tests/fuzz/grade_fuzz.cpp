// Two answers from one input (split at its first zero byte, or in the middle):
// the measures must keep their invariants and grade must give one of its words.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "answers/folding.h"
#include "answers/grade.h"
#include "answers/measures.h"

namespace {

constexpr std::size_t answer_limit = 259;

std::string as_answer(const std::string& text) { return text.substr(0, answer_limit); }

// The distance table filled whole, cell by cell: the two-row version must agree.
int reference_distance(const std::string& first, const std::string& second) {
    static int table[260][260];
    const std::size_t p = first.size();
    const std::size_t q = second.size();
    for (std::size_t i = 0; i <= p; ++i) table[i][0] = static_cast<int>(i);
    for (std::size_t j = 0; j <= q; ++j) table[0][j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= p; ++i) {
        for (std::size_t j = 1; j <= q; ++j) {
            const int cost = first[i - 1] == second[j - 1] ? 0 : 1;
            table[i][j] = std::min({table[i - 1][j] + 1, table[i][j - 1] + 1, table[i - 1][j - 1] + cost});
        }
    }
    return table[p][q];
}

void check(bool condition) {
    if (!condition) std::abort();
}

void check_distance(const std::string& first, const std::string& second) {
    const std::string a = as_answer(first);
    const std::string b = as_answer(second);
    const int distance = edit_distance(first.c_str(), second.c_str());
    check(distance == edit_distance(second.c_str(), first.c_str()));
    check((distance == 0) == (a == b));
    check(distance <= static_cast<int>(std::max(a.size(), b.size())));
    check(distance >= std::abs(static_cast<int>(a.size()) - static_cast<int>(b.size())));
    check(distance == reference_distance(a, b));
    for (int limit : {0, 1, 2, 5, 51})
        check(edit_distance_within(first.c_str(), second.c_str(), limit) == std::min(distance, limit + 1));
}

void check_letters(const std::string& first, const std::string& second) {
    std::string a = as_answer(first);
    std::string b = as_answer(second);
    const bool same = same_letters(first.c_str(), second.c_str());
    check(same == same_letters(second.c_str(), first.c_str()));
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    check(same == (a == b));
}

void check_containment(const std::string& accepted, const std::string& typed) {
    const std::string a = as_answer(accepted);
    const std::string t = as_answer(typed);
    const int result = containment(accepted.c_str(), typed.c_str());
    const bool typed_shorter = t.size() < a.size();
    const std::string& pattern = typed_shorter ? t : a;
    const std::string& text = typed_shorter ? a : t;
    const int sign = typed_shorter ? -1 : 1;
    if (pattern.empty()) {
        check(result == sign);
    } else if (result != 0) {
        check(result == 2 * sign);
        check(text.find(pattern) != std::string::npos);  // a reported occurrence is real
    } else if (pattern.find_first_not_of(pattern[0]) == std::string::npos) {
        // A pattern of one repeated byte is never missed by a scan that does not step back.
        check(text.find(pattern) == std::string::npos);
    }
}

void check_grade(const std::string& accepted, const std::string& typed) {
    const char* word = grade(accepted.c_str(), typed.c_str());
    check(std::find(std::begin(grade_words), std::end(grade_words), word) != std::end(grade_words));

    char trimmed[260];
    const std::string cut = as_answer(typed);
    std::memcpy(trimmed, cut.c_str(), cut.size() + 1);
    trim_spaces(trimmed);
    check((word == grade_empty) == (trimmed[0] == '\0'));
    check(trimmed[0] != ' ' && (trimmed[0] == '\0' || trimmed[std::strlen(trimmed) - 1] != ' '));

    char folded[260];
    std::strcpy(folded, trimmed);
    fold_to_upper(folded);
    for (const char* byte = folded; *byte; ++byte) check(*byte < 'a' || *byte > 'z');
    check(std::strlen(folded) == std::strlen(trimmed));
    if (trimmed[0] != '\0') check(grade(folded, typed.c_str()) == grade_right);

    // Lenient: folding is idempotent, leaves no small letter, no space at either
    // end nor two in a row, and a text is always right against itself folded.
    char lenient[260];
    fold_lenient(cut.c_str(), lenient);
    char twice[260];
    fold_lenient(lenient, twice);
    check(std::strcmp(lenient, twice) == 0);
    for (const char* byte = lenient; *byte; ++byte) check((*byte < 'a' || *byte > 'z') && !(byte[0] == ' ' && byte[1] == ' '));
    check(lenient[0] != ' ' && (lenient[0] == '\0' || lenient[std::strlen(lenient) - 1] != ' '));
    const char* accepted_texts[] = {accepted.c_str(), lenient};
    const char* best = grade_any(accepted_texts, 2, cut.c_str(), grading_lenient);
    check(lenient[0] == '\0' ? best == grade_empty : best == grade_right);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    const void* zero = std::memchr(data, 0, size);
    const std::size_t split = zero ? static_cast<std::size_t>(static_cast<const uint8_t*>(zero) - data) : size / 2;
    const std::string first(bytes, split);
    std::string second(bytes + split + (zero ? 1 : 0), size - split - (zero ? 1 : 0));
    second = second.c_str();  // a string ends at its first zero byte

    check_distance(first, second);
    check_letters(first, second);
    check_containment(first, second);
    check_containment(second, first);
    check_grade(first, second);
    check_grade(second, first);
    return 0;
}
