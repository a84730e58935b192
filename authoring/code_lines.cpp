#include "authoring/code_lines.h"

std::vector<std::string> code_lines(const std::vector<ScoredCode>& codes, int question_count) {
    std::vector<std::string> lines(static_cast<std::size_t>(question_count > 0 ? question_count : 0));
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const int until = i + 1 < codes.size() ? codes[i + 1].score : question_count + 1;
        for (int score = codes[i].score; score < until && score <= question_count; ++score)
            if (score >= 1) lines[static_cast<std::size_t>(score - 1)] = codes[i].code;
    }
    return lines;
}

std::vector<ScoredCode> codes_of_list(const std::vector<std::string>& list) {
    std::vector<ScoredCode> codes;
    for (std::size_t i = 0; i < list.size(); ++i) codes.push_back({static_cast<int>(i) + 1, list[i], {}});
    return codes;
}

std::vector<ScoredCode> codes_of_lines(const std::vector<std::string>& lines, bool& as_table) {
    std::size_t used = lines.size();
    while (used > 0 && lines[used - 1].empty()) --used;
    bool runs = used > 0 && lines[0].empty();
    bool gaps = false;  // an empty line between codes: only a list says that
    for (std::size_t i = 1; i < used; ++i) {
        runs = runs || lines[i] == lines[i - 1];
        gaps = gaps || (lines[i].empty() && !lines[i - 1].empty());
    }
    as_table = runs && !gaps && used == lines.size();
    std::vector<ScoredCode> codes;
    for (std::size_t i = 0; i < used; ++i)
        if (!as_table || (!lines[i].empty() && (i == 0 || lines[i] != lines[i - 1])))
            codes.push_back({static_cast<int>(i) + 1, lines[i], {}});
    return codes;
}
