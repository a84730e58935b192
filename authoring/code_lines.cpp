#include "authoring/code_lines.h"

#include "quiz_data/quiz_content.h"

std::vector<std::string> code_lines(const std::vector<ScoredCode>& codes, int question_count) {
    std::vector<std::string> lines(static_cast<std::size_t>(question_count > 0 ? question_count : 0));
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const int until = i + 1 < codes.size() ? codes[i + 1].score : question_count + 1;
        for (int score = codes[i].score; score < until && score <= question_count; ++score)
            if (score >= 1) lines[static_cast<std::size_t>(score - 1)] = codes[i].code;
    }
    return lines;
}

std::vector<std::string> packed_code_lines(const std::vector<ScoredCode>& codes, bool by_score, int question_count) {
    if (by_score) return code_lines(codes, question_count);
    std::vector<std::string> lines(static_cast<std::size_t>(question_count > 0 ? question_count : 0));
    for (const ScoredCode& code : codes)
        if (code.score >= 1 && code.score <= question_count) lines[static_cast<std::size_t>(code.score - 1)] = code.code;
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

std::string text_of_codes(const std::vector<ScoredCode>& codes) {
    std::string text;
    for (const ScoredCode& code : codes) text += (text.empty() ? "" : "\r\n") + std::to_string(code.score) + " = " + code.code;
    return text;
}

namespace {

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

bool codes_of_text(const std::string& text, std::vector<ScoredCode>& codes, std::string& bad_line) {
    codes.clear();
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty()) continue;
        const std::size_t equals = line.find('=');
        const std::string score = trimmed(line.substr(0, equals));
        const bool digits = !score.empty() && score.size() <= 2 && score.find_first_not_of("0123456789") == std::string::npos;
        const int number = digits ? std::stoi(score) : 0;
        if (equals == std::string::npos || number < 1 || number > max_questions ||
            (!codes.empty() && number <= codes.back().score)) {
            bad_line = line;
            return false;
        }
        codes.push_back({number, trimmed(line.substr(equals + 1)), {}});
    }
    return true;
}
