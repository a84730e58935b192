#include "authoring/quiz_check.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "answers/folding.h"
#include "answers/grade.h"
#include "answers/measures.h"
#include "authoring/cp1252.h"
#include "authoring/source_writer.h"
#include "layout/panel_layout.h"
#include "layout/window_layout.h"

namespace {

// The edit control's border and margins around the text, on each side.
constexpr int box_frame_pixels = 4;

std::string utf8_of_cp1252(const std::string& cp1252) {
    std::string utf8;
    unsigned char refused;
    if (!cp1252_to_utf8(cp1252, utf8, refused)) return cp1252;
    return utf8;
}

Message quoted_text(const std::string& utf8) { return {toml_string(utf8), u8"« " + utf8 + u8" »"}; }
Message in_quotes(const std::string& cp1252) { return quoted_text(utf8_of_cp1252(cp1252)); }

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

// A text as the quiz's grading compares it.
std::string folded(const std::string& text, int mode) {
    if (mode != grading_lenient) return folded(text);
    char buffer[text_size];
    fold_lenient(text.c_str(), buffer);
    return buffer;
}

// Signs beyond ASCII that a French keyboard types directly.
bool on_french_keyboard(unsigned char byte) {
    return byte < 0x80 || std::strchr("\x80\xA3\xA4\xA7\xB0\xB2\xB5", byte) != nullptr;
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

// Every text box `box` (1 or 2) of a question accepts, in Windows-1252: its answer, then its variants.
struct AcceptedTexts {
    std::vector<std::string> texts;
    std::vector<const char*> pointers;

    AcceptedTexts(const ModelQuestion& question, int box) {
        texts.push_back(cp1252_of(question.answers[box - 1]));
        for (const std::string& variant : question.variants[box - 1]) texts.push_back(cp1252_of(variant));
        for (const std::string& text : texts) pointers.push_back(text.c_str());
    }

    const char* grade(const std::string& typed, int mode) const {
        return grade_any(pointers.data(), static_cast<int>(pointers.size()), typed.c_str(), mode);
    }
};

// An answer that no typed text gets "BRAVO" for: the player trims spaces from
// what is typed, and no one types a tab or a control character into the box.
bool warn_unmatchable(const Checker& checker, SourcePlace place, const std::string& field, const std::string& answer) {
    Message why;
    if (answer.empty()) {
        why = {"the answer is empty", u8"la réponse est vide"};
    } else if (answer.front() == ' ' || answer.back() == ' ') {
        const bool starts = answer.front() == ' ';
        why = {std::string("the answer ") + (starts ? "starts" : "ends") +
                   " with a space, and the player removes the spaces around what is typed",
               std::string(u8"la réponse ") + (starts ? "commence" : "finit") +
                   u8" par une espace, et le quiz retire les espaces autour de ce qui est tapé"};
    } else {
        for (const char c : answer) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                why = {"the answer holds a tab or another control character, which cannot be typed into the box",
                       u8"la réponse contient une tabulation ou un autre caractère de contrôle, qu'on ne peut pas taper "
                       "dans la case"};
                break;
            }
        }
    }
    if (why.english.empty()) return false;
    checker.messages.warn(place, field,
                          why + Message{": no typed text can ever get \"BRAVO\"",
                                        u8" : aucune saisie ne peut jamais obtenir « BRAVO »"});
    return true;
}

// What a player without the answer's special letters types gets, when that is not "BRAVO".
void warn_accents(const Checker& checker, SourcePlace place, const std::string& field, const std::string& answer,
                  const AcceptedTexts& accepted) {
    const int mode = checker.quiz.grading;
    std::string plain = mode == grading_lenient ? folded(answer, mode) : without_accents(answer);
    if (mode == grading_lenient) {
        plain.erase(std::remove_if(plain.begin(), plain.end(),
                                   [](char c) { return !on_french_keyboard(static_cast<unsigned char>(c)); }),
                    plain.end());
        if (plain == folded(answer, mode)) return;
    } else if (plain == answer) {
        return;
    }
    const char* got = accepted.grade(plain, mode);
    if (got == grade_right) return;
    const Message why = mode == grading_lenient
                            ? Message{" holds characters a French keyboard cannot type",
                                      u8" contient des caractères qu'un clavier français ne tape pas"}
                            : Message{" holds letters beyond A-Z", u8" contient des lettres hors de A à Z"};
    checker.messages.warn(place, field,
                          in_quotes(answer) + why + Message{": a player who types ", " : un joueur qui tape "} +
                              in_quotes(plain) + Message{" gets ", " obtient "} + in_quotes(got));
}

void warn_short(const Checker& checker, SourcePlace place, const std::string& field, const std::string& answer) {
    if (answer.size() > 3) return;
    const std::string typed = unrelated_answer(answer);
    const char* const accepted = answer.c_str();
    checker.messages.warn(place, field,
                          in_quotes(answer) +
                              Message{" has 3 letters or fewer, so unrelated answers get near misses (typed ",
                                      u8" a 3 lettres ou moins, donc des réponses sans rapport passent près du but ("} +
                              in_quotes(typed) + Message{": ", " donne "} +
                              in_quotes(grade_any(&accepted, 1, typed.c_str(), checker.quiz.grading)) + ")");
}

void warn_too_wide(const Checker& checker, SourcePlace place, const std::string& field, const std::string& answer,
                   int box, const TextWidth& text_width) {
    if (!text_width) return;
    const int shown = answer_box_text_width(checker.quiz, box);
    const int width = text_width(answer);
    if (width <= shown) return;
    checker.messages.warn(place, field,
                          in_quotes(answer) + Message{" is ", " fait "} + std::to_string(width) +
                              Message{" pixels wide and the answer box shows ",
                                      u8" pixels de large et la case de réponse en montre "} +
                              std::to_string(shown) + Message{": the player never sees it whole while typing",
                                                              " : le joueur ne la voit jamais en entier en tapant"});
}

struct Accepted {
    int number;
    int box;
    int variant;  // 0 for the answer, k for the k-th variant
    std::string text;
    std::string field;
    SourcePlace place;
};

std::vector<Accepted> accepted_texts(const QuizModel& quiz) {
    std::vector<Accepted> accepted;
    for (int i = 0; i < static_cast<int>(quiz.questions.size()); ++i) {
        const ModelQuestion& question = quiz.questions[i];
        const char* const key = quiz.boxes == 2 ? "answers" : "answer";
        for (int box = 1; box <= quiz.boxes; ++box) {
            accepted.push_back({i + 1, box, 0, cp1252_of(question.answers[box - 1]), question_field(i + 1, key),
                                question.answer_places[box - 1]});
            const std::string variants_field = question_field(i + 1, box == 1 ? "variants" : "variants_2");
            int k = 0;
            for (const std::string& variant : question.variants[box - 1])
                accepted.push_back({i + 1, box, ++k, cp1252_of(variant), variants_field,
                                    question.variants_places[box - 1]});
        }
    }
    return accepted;
}

void check_tries(const Checker& checker) {
    for (std::size_t i = 0; i < checker.quiz.questions.size(); ++i) {
        const ModelQuestion& question = checker.quiz.questions[i];
        for (const GradeTry& expected : question.tries) {
            const std::string typed = cp1252_of(expected.typed);
            const char* got = AcceptedTexts(question, expected.box).grade(typed, checker.quiz.grading);
            if (utf8_of_cp1252(got) == expected.grade) continue;
            checker.messages.refuse(expected.place,
                                    question_field(static_cast<int>(i) + 1, expected.box == 2 ? "tries_2" : "tries"),
                                    in_quotes(typed) + Message{" gets ", " obtient "} + in_quotes(got) +
                                        Message{", not ", ", pas "} + quoted_text(expected.grade));
        }
    }
}

// A variant that its box accepts already, once folded as the quiz grades.
bool warn_same_variant(const Checker& checker, const std::vector<Accepted>& all, std::size_t k) {
    const Accepted& variant = all[k];
    const int mode = checker.quiz.grading;
    for (std::size_t earlier = k - variant.variant; earlier < k; ++earlier) {
        if (folded(all[earlier].text, mode) != folded(variant.text, mode)) continue;
        const int same = all[earlier].variant;
        checker.messages.warn(variant.place, variant.field,
                              in_quotes(variant.text) +
                                  (same == 0 ? Message{" is the answer", u8" vaut la réponse"}
                                             : Message{" is variant ", " vaut la variante "} + std::to_string(same)) +
                                  Message{" once folded (grading = " + toml_string(grading_mode_names[mode]) +
                                              "): it accepts nothing more",
                                          std::string(" pour la notation ") +
                                              (mode == grading_lenient ? u8"tolérante" : "exacte") +
                                              " : elle n'accepte rien de plus"});
        return true;
    }
    return false;
}

// F1 tries a box's text in every unsolved box.
void warn_shared(const Checker& checker, const std::vector<Accepted>& all, std::size_t k) {
    const Accepted& accepted = all[k];
    const int mode = checker.quiz.grading;
    for (std::size_t earlier = 0; earlier < k; ++earlier) {
        if (all[earlier].number == accepted.number || all[earlier].text.empty() ||
            folded(all[earlier].text, mode) != folded(accepted.text, mode))
            continue;
        checker.messages.warn(accepted.place, accepted.field,
                              "question " + std::to_string(all[earlier].number) + Message{" accepts ", " accepte "} +
                                  in_quotes(all[earlier].text) +
                                  Message{" too: F1, which tries a box's text in every unsolved box, solves both at once",
                                          " aussi : F1, qui essaie le texte d'une case dans toutes les cases non "
                                          u8"trouvées, résout les deux d'un coup"});
        return;
    }
}

void check_accepted(const Checker& checker, const TextWidth& text_width) {
    const std::vector<Accepted> all = accepted_texts(checker.quiz);
    for (std::size_t k = 0; k < all.size(); ++k) {
        const Accepted& accepted = all[k];
        if (warn_unmatchable(checker, accepted.place, accepted.field, accepted.text)) continue;
        if (accepted.variant > 0 && warn_same_variant(checker, all, k)) continue;
        warn_accents(checker, accepted.place, accepted.field, accepted.text,
                     AcceptedTexts(checker.quiz.questions[accepted.number - 1], accepted.box));
        warn_shared(checker, all, k);
        warn_short(checker, accepted.place, accepted.field, accepted.text);
        warn_too_wide(checker, accepted.place, accepted.field, accepted.text, accepted.box, text_width);
    }
}

void warn_unseen_texts(const Checker& checker) {
    const QuizModel& quiz = checker.quiz;
    if (quiz.kind == text_quiz) return;
    for (std::size_t i = 0; i < quiz.questions.size(); ++i) {
        const ModelQuestion& question = quiz.questions[i];
        if (question.text.empty()) continue;
        checker.messages.warn(question.text_place, question_field(static_cast<int>(i) + 1, "text"),
                              {std::string("a ") + quiz_kind_names[quiz.kind] +
                                   " quiz never shows a question's text: it is packed and never seen",
                               "un quiz qui n'est pas de texte ne montre jamais le texte d'une question : il est "
                               u8"emporté mais jamais vu"});
    }
}

void check_codes(const Checker& checker, const CodeWidth& code_width) {
    const QuizModel& quiz = checker.quiz;
    const int count = static_cast<int>(quiz.questions.size());
    if (!quiz.codes_by_score && !quiz.codes.empty() && static_cast<int>(quiz.codes.size()) < count)
        checker.messages.warn(quiz.codes_place, "codes",
                              Message{"from ", u8"à partir de "} + std::to_string(quiz.codes.size() + 1) +
                                  Message{" solved on, the code box is empty; a table keeps the last code",
                                          u8" questions trouvées, la case du code est vide ; un tableau garde le "
                                          "dernier code"});
    if (!code_width.text_width) return;
    const int shown = code_box_text_width(code_width);
    for (const ScoredCode& code : quiz.codes) {
        const std::string text = cp1252_of(code.code);
        const int width = code_width.text_width(text);
        if (width <= shown) continue;
        checker.messages.warn(code.place,
                              (quiz.codes_by_score ? "codes: score " : "codes: code ") + std::to_string(code.score),
                              in_quotes(text) + Message{" is ", " fait "} + std::to_string(width) +
                                  Message{" pixels wide and the code box shows ",
                                          " pixels de large et la case du code en montre "} +
                                  std::to_string(shown) + Message{": the player sees it cut", u8" : le joueur le voit coupé"});
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

int code_box_text_width(const CodeWidth& code_width) {
    HeaderTextSizes sizes;
    sizes.code_label_width = code_width.label_width;
    sizes.code_width = 1 << 20;  // as wide as the header lets it be
    return header_layout(sizes, 1 << 12, 50).code_box.width - code_width.margins;
}

void check_grading(const QuizModel& quiz, const std::string& file_name, const Measures& measures,
                   Diagnostics& diagnostics) {
    const Checker checker{quiz, {file_name, diagnostics}};
    check_tries(checker);
    check_accepted(checker, measures.answer_width);
    check_codes(checker, measures.code_width);
    warn_unseen_texts(checker);
}

const char* tried_grade(const QuizModel& quiz, int number, int box, const std::string& typed) {
    std::string typed_cp1252;
    char32_t refused;
    if (!utf8_to_cp1252(typed, typed_cp1252, refused) || typed_cp1252.size() > text_size - 1) return nullptr;
    return AcceptedTexts(quiz.questions[number - 1], box).grade(typed_cp1252, quiz.grading);
}

bool try_line(const QuizModel& quiz, int number, int box, const std::string& typed, std::string& line) {
    const char* got = tried_grade(quiz, number, box, typed);
    if (!got) return false;
    line = toml_string(typed) + " -> " + utf8_of_cp1252(got) + ": ";
    // The score counts a question by its first box alone.
    if (box == 2) {
        line += "the second box never decides whether the question is solved";
    } else if (std::strcmp(got, grade_right) != 0) {
        line += "not solved";
    } else {
        line += "solved";
        // Graded exactly, the reveal compares the box's text untrimmed.
        const bool spaced = typed.front() == ' ' || typed.back() == ' ';  // not empty: it got BRAVO
        if (spaced && quiz.reveal != reveal_none && quiz.grading == grading_exact)
            line += ", but nothing is revealed while the box's text has spaces around it";
    }
    return true;
}

QuizCheck check_quiz(const std::string& source_path, const CheckSettings& settings) {
    QuizCheck check;
    Diagnostics& diagnostics = check.diagnostics;
    const bool read = settings.source_text
                          ? read_quiz_source(*settings.source_text, source_path, check.quiz, diagnostics)
                          : load_quiz_source(source_path, check.quiz, diagnostics);
    // The files are tried even after mistakes in the text, so that all are told at once.
    load_question_files(check.quiz, source_path, check.data, diagnostics, settings.pictures);
    load_quiz_icon(check.quiz, source_path, check.icon, diagnostics);
    if (read) check_grading(check.quiz, source_path, settings.measures, diagnostics);
    if (settings.warnings_as_errors) {
        for (Diagnostic& found : diagnostics) {
            found.from_warning = found.severity == Severity::warning;
            found.severity = Severity::error;
        }
    }
    return check;
}
