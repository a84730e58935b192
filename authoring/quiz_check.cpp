#include "authoring/quiz_check.h"

#include <cstring>
#include <vector>

#include "answers/grade.h"
#include "answers/measures.h"
#include "authoring/cp1252.h"
#include "authoring/toml_writer.h"
#include "layout/panel_layout.h"

namespace {

// The edit control's border and margins around the text, on each side.
constexpr int box_frame_pixels = 4;

std::string utf8_of_cp1252(const std::string& cp1252) {
    std::string utf8;
    unsigned char refused;
    if (!cp1252_to_utf8(cp1252, utf8, refused)) return cp1252;
    return utf8;
}

std::string quoted(const std::string& cp1252) { return toml_string(utf8_of_cp1252(cp1252)); }

// How a player types a Windows-1252 letter on a keyboard without it: the
// letter without its accent, a ligature as two letters; other signs are left out.
const char* plain_letters(unsigned char byte) {
    static const char* const from_c0[64] = {
        "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",   // C0-CF
        "D", "N", "O", "O", "O", "O", "O",  "",  "O", "U", "U", "U", "U", "Y", "TH", "ss", // D0-DF
        "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",   // E0-EF
        "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "y",  // F0-FF
    };
    if (byte >= 0xC0) return from_c0[byte - 0xC0];
    switch (byte) {
    case 0x8A: return "S";
    case 0x8C: return "OE";
    case 0x8E: return "Z";
    case 0x9A: return "s";
    case 0x9C: return "oe";
    case 0x9E: return "z";
    case 0x9F: return "Y";
    case 0x91: case 0x92: return "'";
    case 0x93: case 0x94: return "\"";
    case 0x96: case 0x97: return "-";
    case 0xA0: return " ";
    default: return "";
    }
}

std::string without_accents(const std::string& text) {
    std::string plain;
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        plain += byte < 0x80 ? std::string(1, c) : std::string(plain_letters(byte));
    }
    return plain;
}

std::string folded(const std::string& text) {
    char buffer[text_size];
    copy_text(buffer, text.c_str());
    fold_to_upper(buffer);
    return buffer;
}

// An unrelated answer one or two letters away: the last two letters (or the
// only one) replaced by letters the answer does not hold.
std::string unrelated_answer(const std::string& answer) {
    const std::string upper = folded(answer);
    std::string replacements;
    for (const char letter : std::string("NAOEITRSUL")) {
        if (upper.find(letter) == std::string::npos) replacements += letter;
    }
    std::string typed = answer;
    const std::size_t replaced = typed.size() < 2 ? typed.size() : 2;
    for (std::size_t i = 0; i < replaced; ++i) {
        const char letter = replacements[i];
        const std::size_t at = typed.size() - replaced + i;
        typed[at] = at == 0 ? letter : static_cast<char>(letter - 'A' + 'a');
    }
    return typed;
}

struct Checker {
    const QuizSource& source;
    GradingCheck& check;

    void warn(SourcePlace place, const std::string& field, const std::string& what) {
        if (!check.warnings.empty()) check.warnings += '\n';
        check.warnings += diagnostic_line(source.file_name, place, "warning", field, what);
        ++check.warning_count;
    }

    void refuse(SourcePlace place, const std::string& field, const std::string& what) {
        if (!check.errors.empty()) check.errors += '\n';
        check.errors += diagnostic_line(source.file_name, place, "error", field, what);
        ++check.error_count;
    }
};

// An answer that no typed text gets "BRAVO" for: the player trims spaces from
// what is typed, and no one types a tab or a control character into the box.
bool warn_unmatchable(Checker& checker, SourcePlace place, const std::string& field, const std::string& answer) {
    std::string why;
    if (answer.empty()) {
        why = "the answer is empty";
    } else if (answer.front() == ' ' || answer.back() == ' ') {
        why = std::string("the answer ") + (answer.front() == ' ' ? "starts" : "ends") +
              " with a space, and the player removes the spaces around what is typed";
    } else {
        for (const char c : answer) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                why = "the answer holds a tab or another control character, which cannot be typed into the box";
                break;
            }
        }
    }
    if (why.empty()) return false;
    checker.warn(place, field, why + ": no typed text can ever get \"BRAVO\"");
    return true;
}

void warn_accents(Checker& checker, SourcePlace place, const std::string& field, const std::string& answer) {
    const std::string plain = without_accents(answer);
    if (plain == answer) return;
    checker.warn(place, field,
                 quoted(answer) + " holds letters beyond A-Z: a player who types " + quoted(plain) + " gets " +
                     quoted(grade(answer.c_str(), plain.c_str())));
}

void warn_short(Checker& checker, SourcePlace place, const std::string& field, const std::string& answer) {
    if (answer.size() > 3) return;
    const std::string typed = unrelated_answer(answer);
    checker.warn(place, field,
                 quoted(answer) + " has 3 letters or fewer, so unrelated answers get near misses (typed " +
                     quoted(typed) + ": " + quoted(grade(answer.c_str(), typed.c_str())) + ")");
}

void warn_too_wide(Checker& checker, SourcePlace place, const std::string& field, const std::string& answer, int box,
                   const TextWidth& text_width) {
    if (!text_width) return;
    const int shown = answer_box_text_width(checker.source.content, box);
    const int width = text_width(answer);
    if (width <= shown) return;
    checker.warn(place, field,
                 quoted(answer) + " is " + std::to_string(width) + " pixels wide and the answer box shows " +
                     std::to_string(shown) + ": the player never sees it whole while typing");
}

struct Accepted {
    int number;
    int box;
    std::string answer;
    std::string field;
    SourcePlace place;
};

std::vector<Accepted> accepted_answers(const QuizSource& source) {
    std::vector<Accepted> answers;
    const QuizContent& quiz = source.content;
    for (int i = 0; i < static_cast<int>(source.questions.size()); ++i) {
        const QuestionEntry* entry = question_at(quiz, i);
        const std::string prefix = "question " + std::to_string(i + 1) + ": ";
        if (quiz.answers_per_question == 2) {
            answers.push_back({i + 1, 1, entry->answer_1, prefix + "answers", source.questions[i].answer_places[0]});
            answers.push_back({i + 1, 2, entry->answer_2, prefix + "answers", source.questions[i].answer_places[1]});
        } else {
            answers.push_back({i + 1, 1, entry->answer_1, prefix + "answer", source.questions[i].answer_places[0]});
        }
    }
    return answers;
}

}  // namespace

int answer_box_text_width(const QuizContent& quiz, int box) {
    const int width = quiz.quiz_kind == text_quiz
                          ? text_row(1).answer_box.width
                          : grid_cell(grid_shape(quiz), 1, first_row_top, 0, nullptr).answer_boxes[box - 1].width;
    return width - 2 * box_frame_pixels;
}

GradingCheck check_grading(const QuizSource& source, const TextWidth& text_width) {
    GradingCheck check;
    Checker checker{source, check};
    const std::vector<Accepted> answers = accepted_answers(source);
    for (std::size_t k = 0; k < answers.size(); ++k) {
        const Accepted& accepted = answers[k];
        if (warn_unmatchable(checker, accepted.place, accepted.field, accepted.answer)) continue;
        warn_accents(checker, accepted.place, accepted.field, accepted.answer);
        for (std::size_t earlier = 0; earlier < k; ++earlier) {
            if (folded(answers[earlier].answer) != folded(accepted.answer) || answers[earlier].answer.empty()) continue;
            checker.warn(accepted.place, accepted.field,
                         "question " + std::to_string(answers[earlier].number) + " accepts " +
                             quoted(answers[earlier].answer) +
                             " too: F1, which tries a box's text in every unsolved box, solves both at once");
            break;
        }
        warn_short(checker, accepted.place, accepted.field, accepted.answer);
        warn_too_wide(checker, accepted.place, accepted.field, accepted.answer, accepted.box, text_width);
    }
    for (std::size_t i = 0; i < source.questions.size(); ++i) {
        const QuestionEntry* entry = question_at(source.content, static_cast<int>(i));
        for (const GradeTry& expected : source.questions[i].tries) {
            const char* accepted = expected.box == 2 ? entry->answer_2 : entry->answer_1;
            const char* got = grade(accepted, expected.typed.c_str());
            if (std::strcmp(got, expected.grade) == 0) continue;
            checker.refuse(expected.place,
                           "question " + std::to_string(i + 1) + ": " + (expected.box == 2 ? "tries_2" : "tries"),
                           quoted(expected.typed) + " gets " + quoted(got) + ", not " + quoted(expected.grade));
        }
    }
    return check;
}

std::string try_line(const QuizContent& quiz, int number, int box, const std::string& typed) {
    const QuestionEntry* entry = question_at(quiz, number - 1);
    const char* got = grade(box == 2 ? entry->answer_2 : entry->answer_1, typed.c_str());
    const bool right = std::strcmp(got, grade_right) == 0;
    std::string line = quoted(typed) + " -> " + utf8_of_cp1252(got) + ": ";
    // The score counts a question by its first box alone.
    if (box == 2) return line + "the second box never decides whether the question is solved";
    if (!right) return line + "not solved";
    line += "solved";
    const bool spaced = typed.front() == ' ' || typed.back() == ' ';  // not empty: it got BRAVO
    if (spaced && quiz.reveal_mode != reveal_none) line += ", but nothing is revealed while the box's text has spaces around it";
    return line;
}
