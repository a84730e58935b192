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

std::string cp1252_of(const std::string& utf8) {
    std::string cp1252;
    char32_t refused;
    utf8_to_cp1252(utf8, cp1252, refused);  // the reader let only what converts through
    return cp1252;
}

struct Checker {
    const QuizModel& quiz;
    DiagnosticList messages;
};

// An answer that no typed text gets "BRAVO" for: the player trims spaces from
// what is typed, and no one types a tab or a control character into the box.
bool warn_unmatchable(const Checker& checker, SourcePlace place, const std::string& field, const std::string& answer) {
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
    checker.messages.warn(place, field, why + ": no typed text can ever get \"BRAVO\"");
    return true;
}

void warn_accents(const Checker& checker, SourcePlace place, const std::string& field, const std::string& answer) {
    const std::string plain = without_accents(answer);
    if (plain == answer) return;
    checker.messages.warn(place, field,
                 quoted(answer) + " holds letters beyond A-Z: a player who types " + quoted(plain) + " gets " +
                     quoted(grade(answer.c_str(), plain.c_str())));
}

void warn_short(const Checker& checker, SourcePlace place, const std::string& field, const std::string& answer) {
    if (answer.size() > 3) return;
    const std::string typed = unrelated_answer(answer);
    checker.messages.warn(place, field,
                 quoted(answer) + " has 3 letters or fewer, so unrelated answers get near misses (typed " +
                     quoted(typed) + ": " + quoted(grade(answer.c_str(), typed.c_str())) + ")");
}

void warn_too_wide(const Checker& checker, SourcePlace place, const std::string& field, const std::string& answer,
                   int box, const TextWidth& text_width) {
    if (!text_width) return;
    const int shown = answer_box_text_width(checker.quiz, box);
    const int width = text_width(answer);
    if (width <= shown) return;
    checker.messages.warn(place, field,
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

std::vector<Accepted> accepted_answers(const QuizModel& quiz) {
    std::vector<Accepted> answers;
    for (int i = 0; i < static_cast<int>(quiz.questions.size()); ++i) {
        const ModelQuestion& question = quiz.questions[i];
        const char* const key = quiz.boxes == 2 ? "answers" : "answer";
        for (int box = 1; box <= quiz.boxes; ++box)
            answers.push_back({i + 1, box, cp1252_of(question.answers[box - 1]), question_field(i + 1, key),
                               question.answer_places[box - 1]});
    }
    return answers;
}

void check_tries(const Checker& checker) {
    for (std::size_t i = 0; i < checker.quiz.questions.size(); ++i) {
        const ModelQuestion& question = checker.quiz.questions[i];
        for (const GradeTry& expected : question.tries) {
            const std::string typed = cp1252_of(expected.typed);
            const char* got = grade(cp1252_of(question.answers[expected.box - 1]).c_str(), typed.c_str());
            if (utf8_of_cp1252(got) == expected.grade) continue;
            checker.messages.refuse(expected.place,
                                    question_field(static_cast<int>(i) + 1, expected.box == 2 ? "tries_2" : "tries"),
                                    quoted(typed) + " gets " + quoted(got) + ", not " + toml_string(expected.grade));
        }
    }
}

void check_answers(const Checker& checker, const TextWidth& text_width) {
    const std::vector<Accepted> answers = accepted_answers(checker.quiz);
    for (std::size_t k = 0; k < answers.size(); ++k) {
        const Accepted& accepted = answers[k];
        if (warn_unmatchable(checker, accepted.place, accepted.field, accepted.answer)) continue;
        warn_accents(checker, accepted.place, accepted.field, accepted.answer);
        for (std::size_t earlier = 0; earlier < k; ++earlier) {
            if (folded(answers[earlier].answer) != folded(accepted.answer) || answers[earlier].answer.empty()) continue;
            checker.messages.warn(accepted.place, accepted.field,
                         "question " + std::to_string(answers[earlier].number) + " accepts " +
                             quoted(answers[earlier].answer) +
                             " too: F1, which tries a box's text in every unsolved box, solves both at once");
            break;
        }
        warn_short(checker, accepted.place, accepted.field, accepted.answer);
        warn_too_wide(checker, accepted.place, accepted.field, accepted.answer, accepted.box, text_width);
    }
}

}  // namespace

int answer_box_text_width(const QuizModel& quiz, int box) {
    const GridShape shape{quiz.kind, quiz.kind == text_quiz ? 1 : quiz.boxes, quiz.reveal};
    const int width = quiz.kind == text_quiz
                          ? text_row(1).answer_box.width
                          : grid_cell(shape, 1, first_row_top, 0, nullptr).answer_boxes[box - 1].width;
    return width - 2 * box_frame_pixels;
}

void check_grading(const QuizModel& quiz, const std::string& file_name, const TextWidth& text_width,
                   Diagnostics& diagnostics) {
    const Checker checker{quiz, {file_name, diagnostics}};
    check_tries(checker);
    check_answers(checker, text_width);
}

bool try_line(const QuizModel& quiz, int number, int box, const std::string& typed, std::string& line) {
    std::string typed_cp1252;
    char32_t refused;
    if (!utf8_to_cp1252(typed, typed_cp1252, refused) || typed_cp1252.size() > text_size - 1) return false;
    const std::string accepted = cp1252_of(quiz.questions[number - 1].answers[box - 1]);
    const char* got = grade(accepted.c_str(), typed_cp1252.c_str());
    line = toml_string(typed) + " -> " + utf8_of_cp1252(got) + ": ";
    // The score counts a question by its first box alone.
    if (box == 2) {
        line += "the second box never decides whether the question is solved";
    } else if (std::strcmp(got, grade_right) != 0) {
        line += "not solved";
    } else {
        line += "solved";
        const bool spaced = typed.front() == ' ' || typed.back() == ' ';  // not empty: it got BRAVO
        if (spaced && quiz.reveal != reveal_none)
            line += ", but nothing is revealed while the box's text has spaces around it";
    }
    return true;
}

QuizCheck check_quiz(const std::string& source_path, const CheckSettings& settings) {
    QuizCheck check;
    Diagnostics& diagnostics = check.diagnostics;
    const bool read = load_quiz_source(source_path, check.quiz, diagnostics);
    // The files are tried even after mistakes in the text, so that all are told at once.
    load_question_files(check.quiz, source_path, check.data, diagnostics, settings.pictures);
    load_quiz_icon(check.quiz, source_path, check.icon, diagnostics);
    if (read) check_grading(check.quiz, source_path, settings.text_width, diagnostics);
    if (settings.warnings_as_errors) {
        for (Diagnostic& found : diagnostics) {
            found.from_warning = found.severity == Severity::warning;
            found.severity = Severity::error;
        }
    }
    return check;
}
