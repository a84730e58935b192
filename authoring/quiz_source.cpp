// The texts this file handles arrive as UTF-8 at run time and leave as
// Windows-1252; its French messages are u8 literals, UTF-8 like the texts.
#include "authoring/tomlpp.h"

#include "authoring/quiz_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "answers/grade.h"
#include "answers/measures.h"
#include "authoring/cp1252.h"
#include "authoring/picture_convert.h"
#include "authoring/source_writer.h"
#include "pictures/picture_fit.h"

namespace {

const char* const top_level_keys[] = {"kind",   "title",  "creator", "explanations", "answer_labels", "reveal",
                                      "colour", "codes",  "icon",    "grading",      "question"};
const char* const question_keys[] = {"answer",         "answers",     "variants", "variants_2", "text", "picture",
                                     "media",          "answer_picture", "reveal_text", "tries",   "tries_2"};

SourcePlace place_of(const toml::source_region& region) {
    return {static_cast<int>(region.begin.line), static_cast<int>(region.begin.column)};
}
SourcePlace place_of(const toml::node& node) { return place_of(node.source()); }

const Message expected_string = {"expected a string", u8"une chaîne entre guillemets est attendue"};
const Message expected_pair = {"expected exactly two strings, as [\"first box\", \"second box\"]",
                               u8"exactement deux chaînes sont attendues, comme [\"première case\", \"deuxième case\"]"};
const Message expected_questions = {"expected [[question]] tables", u8"des tables [[question]] sont attendues"};
const Message or_word = {" or ", " ou "};

// toml++'s descriptions quote the characters they saw, line breaks included:
// escaped as TOML writes them, the message stays on one line.
std::string one_line(std::string_view text) {
    const std::string quoted = toml_string(std::string(text));
    return quoted.substr(1, quoted.size() - 2);
}

// Reads a string node into `target`, refusing what the player cannot show;
// a string is kept even when refused.
bool read_text(const DiagnosticList& messages, const toml::node& node, const std::string& field, TextRule rule,
               std::string& target) {
    const SourcePlace place = place_of(node);
    if (!node.is_string()) return messages.refuse(place, field, expected_string);
    target = node.as_string()->get();
    std::string cp1252;
    Message why;
    return player_text(target, rule, cp1252, why) || messages.refuse(place, field, why);
}

// An optional text: absent leaves the field empty.
bool read_optional_text(const DiagnosticList& messages, const toml::table& table, const char* key,
                        const std::string& field, std::string& target, SourcePlace& place) {
    const toml::node* node = table.get(key);
    if (!node) return true;
    place = place_of(*node);
    return read_text(messages, *node, field, TextRule::quiz_text, target);
}

// A name from a fixed list, as its index.
template <std::size_t count>
bool read_choice(const DiagnosticList& messages, const toml::node& node, const char* field,
                 const char* const (&names)[count], int& choice) {
    if (!node.is_string()) return messages.refuse(place_of(node), field, expected_string);
    const std::string& value = node.as_string()->get();
    for (std::size_t i = 0; i < count; ++i) {
        if (value == names[i]) {
            choice = static_cast<int>(i);
            return true;
        }
    }
    Message known;
    for (std::size_t i = 0; i < count; ++i)
        known = known + (i ? (i + 1 == count ? or_word : both(", ")) : Message()) + toml_string(names[i]);
    return messages.refuse(place_of(node), field,
                           Message{"unknown value ", "valeur inconnue "} + toml_string(value) +
                               Message{"; expected ", " ; valeurs possibles : "} + known);
}

// "; did you mean `title`?" for a key a typing slip away from a known one:
// at most two edits, and fewer than half the known key's letters.
template <std::size_t count>
Message nearest_key(const std::string& key, const char* const (&known)[count]) {
    const char* nearest = nullptr;
    int nearest_distance = 3;
    for (const char* name : known) {
        const int distance = edit_distance(key.c_str(), name);
        if (distance < nearest_distance && 2 * distance < static_cast<int>(std::strlen(name))) {
            nearest = name;
            nearest_distance = distance;
        }
    }
    if (!nearest) return {};
    return {std::string("; did you mean `") + nearest + "`?", std::string(" ; vouliez-vous dire `") + nearest + "` ?"};
}

template <std::size_t count>
bool refuse_unknown_keys(const DiagnosticList& messages, const toml::table& table, const std::string& field_prefix,
                         const char* const (&known)[count]) {
    bool right = true;
    for (auto&& [key, value] : table) {
        const std::string name(key.str());
        const bool listed = std::any_of(std::begin(known), std::end(known),
                                        [&name](const char* known_name) { return name == known_name; });
        if (!listed)
            right = messages.refuse(place_of(key.source()), field_prefix + name,
                                    Message{"unknown key", u8"clé inconnue"} + nearest_key(name, known));
    }
    return right;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool read_colour(const DiagnosticList& messages, const toml::table& root, QuizModel& quiz) {
    const toml::node* node = root.get("colour");
    if (!node) return true;
    quiz.colour_place = place_of(*node);
    const Message expected = {"expected \"#RRGGBB\": red, green and blue in hexadecimal",
                              u8"\"#RRVVBB\" est attendu : rouge, vert et bleu en hexadécimal"};
    if (!node->is_string()) return messages.refuse(quiz.colour_place, "colour", expected);
    const std::string& value = node->as_string()->get();
    int digits[6];
    bool valid = value.size() == 7 && value[0] == '#';
    for (int i = 0; valid && i < 6; ++i) valid = (digits[i] = hex_digit(value[i + 1])) >= 0;
    if (!valid)
        return messages.refuse(quiz.colour_place, "colour",
                               expected + Message{", not ", ", pas "} + toml_string(value));
    quiz.colour.red = static_cast<unsigned char>(digits[0] * 16 + digits[1]);
    quiz.colour.green = static_cast<unsigned char>(digits[2] * 16 + digits[3]);
    quiz.colour.blue = static_cast<unsigned char>(digits[4] * 16 + digits[5]);
    return true;
}

// A file name field: its kind decides whether it is allowed, required or refused.
bool read_file_name(const DiagnosticList& messages, const toml::table& question, int number,
                    SourcePlace question_place, const char* key, bool allowed, bool required,
                    const Message& why_not, std::string& path, SourcePlace& place) {
    const std::string field = question_field(number, key);
    const toml::node* node = question.get(key);
    if (!node) {
        if (required) return messages.refuse(question_place, field, Message{"missing; ", "manquant ; "} + why_not);
        return true;
    }
    place = place_of(*node);
    if (!allowed) return messages.refuse(place, field, why_not);
    if (!node->is_string()) return messages.refuse(place, field, {"expected a file name", "un nom de fichier est attendu"});
    path = node->as_string()->get();
    if (path.empty()) return messages.refuse(place, field, {"empty file name", "nom de fichier vide"});
    return true;
}

// The file the packed quiz's icon comes from, when the source names one.
bool read_icon_name(const DiagnosticList& messages, const toml::table& root, QuizModel& quiz) {
    const toml::node* node = root.get("icon");
    if (!node) return true;
    quiz.icon_place = place_of(*node);
    if (!node->is_string() || node->as_string()->get().empty())
        return messages.refuse(quiz.icon_place, "icon",
                               {"expected a file name, as icon = \"logo.png\"",
                                "un nom de fichier est attendu, comme icon = \"logo.png\""});
    quiz.icon = node->as_string()->get();
    return true;
}

// How many answers a question has (0 while unknown) and where they are written.
struct AnswerShape {
    int count = 0;
    SourcePlace place;
};

bool read_answers(const DiagnosticList& messages, const toml::table& table, int number, SourcePlace question_place,
                  int quiz_kind, ModelQuestion& question, AnswerShape& shape) {
    const toml::node* one = table.get("answer");
    const toml::node* two = table.get("answers");
    const std::string answer_field = question_field(number, "answer");
    const std::string answers_field = question_field(number, "answers");
    if (one && two)
        return messages.refuse(place_of(*two), answers_field,
                               {"a question has either answer or answers, not both",
                                "une question a answer ou answers, pas les deux"});
    if (one) {
        shape.count = 1;
        shape.place = question.answer_places[0] = place_of(*one);
        return read_text(messages, *one, answer_field, TextRule::quiz_text, question.answers[0]);
    }
    if (!two) return messages.refuse(question_place, answer_field, {"missing", "manquante"});
    shape.place = place_of(*two);
    const toml::array* pair = two->as_array();
    if (!pair || pair->size() != 2)
        return messages.refuse(shape.place, answers_field, expected_pair);
    if (quiz_kind == text_quiz)
        return messages.refuse(shape.place, answers_field,
                               {"a text quiz has one answer box per question; use answer = \"...\"",
                                u8"un quiz de texte a une case de réponse par question ; écrivez answer = \"...\""});
    // Counted only once the pair is right, so a wrong pair is one mistake, not two.
    shape.count = 2;
    question.answer_places[0] = place_of(*pair->get(0));
    question.answer_places[1] = place_of(*pair->get(1));
    const bool first = read_text(messages, *pair->get(0), answers_field, TextRule::quiz_text, question.answers[0]);
    return read_text(messages, *pair->get(1), answers_field, TextRule::quiz_text, question.answers[1]) && first;
}

// variants = ["other", ...]: other texts box `box` accepts.
bool read_variants(const DiagnosticList& messages, const toml::table& table, int number, const char* key, int box,
                   ModelQuestion& question) {
    const toml::node* node = table.get(key);
    if (!node) return true;
    const std::string field = question_field(number, key);
    const SourcePlace place = question.variants_places[box - 1] = place_of(*node);
    const toml::array* variants = node->as_array();
    if (!variants)
        return messages.refuse(place, field,
                               {"expected a list of strings, as [\"other\", \"answer\"]",
                                u8"une liste de chaînes est attendue, comme [\"autre\", \"réponse\"]"});
    if (variants->size() > max_variants)
        return messages.refuse(place, field,
                               std::to_string(variants->size()) +
                                   Message{" variants; a box accepts at most ", " variantes ; une case en accepte au plus "} +
                                   std::to_string(max_variants) + Message{" besides its answer", u8" en plus de sa réponse"});
    bool right = true;
    std::vector<std::string>& texts = question.variants[box - 1];
    texts.resize(variants->size());
    for (std::size_t i = 0; i < variants->size(); ++i) {
        const toml::node& variant = *variants->get(i);
        if (!read_text(messages, variant, field, TextRule::quiz_text, texts[i]))
            right = false;
        else if (texts[i].empty())
            right = messages.refuse(place_of(variant), field,
                                    {"an empty text; a variant is another accepted answer",
                                     u8"un texte vide ; une variante est une autre réponse acceptée"});
    }
    return right;
}

std::string utf8_grade_word(const char* cp1252) {
    std::string utf8;
    unsigned char refused;
    cp1252_to_utf8(cp1252, utf8, refused);
    return utf8;
}

bool is_grade_word(const std::string& utf8) {
    return std::any_of(std::begin(grade_words), std::end(grade_words),
                       [&utf8](const char* known) { return utf8_grade_word(known) == utf8; });
}

std::string grade_word_list() {
    std::string list;
    for (const char* known : grade_words) list += (list.empty() ? "" : ", ") + toml_string(utf8_grade_word(known));
    return list;
}

// tries = { "typed text" = "grade word", ... }: what the player should see for
// each text typed in box `box`.
bool read_tries(const DiagnosticList& messages, const toml::table& table, int number, const char* key, int box,
                ModelQuestion& question) {
    const toml::node* node = table.get(key);
    if (!node) return true;
    const std::string field = question_field(number, key);
    const toml::table* tries = node->as_table();
    if (!tries)
        return messages.refuse(place_of(*node), field,
                               {"expected { \"typed text\" = \"grade\", ... }",
                                u8"{ \"texte tapé\" = \"note\", ... } est attendu"});
    bool right = true;
    for (auto&& [typed, value] : *tries) {
        GradeTry entry;
        entry.box = box;
        entry.typed = typed.str();
        entry.place = place_of(typed.source());
        std::string cp1252;
        char32_t refused;
        if (!utf8_to_cp1252(entry.typed, cp1252, refused)) {
            right = messages.refuse(entry.place, field,
                                    Message{"character ", u8"le caractère "} + character_name(refused) +
                                        Message{" cannot be typed in the player", u8" ne peut pas être tapé dans le quiz"});
            continue;
        }
        if (cp1252.size() > text_size - 1) {
            right = messages.refuse(entry.place, field,
                                    {"a typed text holds at most 259 bytes", u8"un texte tapé a au plus 259 octets"});
            continue;
        }
        if (!value.is_string() || !is_grade_word(value.as_string()->get())) {
            right = messages.refuse(place_of(value), field,
                                    Message{"expected one of the grades ", "une de ces notes est attendue : "} +
                                        grade_word_list());
            continue;
        }
        entry.grade = value.as_string()->get();
        question.tries.push_back(std::move(entry));
    }
    return right;
}

// The fields whose use depends on the quiz's kind and reveal mode.
bool read_kind_fields(const DiagnosticList& messages, const toml::table& table, int number,
                      const QuizModel& quiz, ModelQuestion& question) {
    const char* kind = quiz_kind_names[quiz.kind];
    const bool pictures = quiz.kind == picture_quiz;
    const bool media = has_media(quiz.kind);
    const std::string in_kind = " (kind = " + toml_string(kind) + ")";
    const SourcePlace at = question.place;
    const Message use_media = media ? Message{"; use media", " ; utilisez media"} : Message();
    bool right = read_file_name(messages, table, number, at, "picture", pictures, pictures,
                                pictures ? Message{"every question of a picture quiz needs one",
                                                   "chaque question d'un quiz d'images en a une"}
                                         : Message{"only a picture quiz has pictures", "seul un quiz d'images a des images"} +
                                               in_kind + use_media,
                                question.picture, question.picture_place);
    right = read_file_name(messages, table, number, at, "media", media, media,
                           media ? Message{std::string("every question of a ") + kind + " quiz needs one",
                                           quiz.kind == sound_quiz ? "chaque question d'un quiz de sons en a un"
                                                                   : u8"chaque question d'un quiz de vidéos en a une"}
                                 : Message{"only sound and video quizzes have media",
                                           u8"seuls les quiz de sons et de vidéos ont des médias"} +
                                       in_kind,
                           question.media, question.media_place) &&
            right;
    right = read_file_name(messages, table, number, at, "answer_picture", pictures, false,
                           Message{"only a picture quiz has answer pictures", u8"seul un quiz d'images a des images réponses"} +
                               in_kind,
                           question.answer_picture,
                           question.answer_picture_place) &&
            right;

    const toml::node* reveal = table.get("reveal_text");
    if (reveal && !reveals_text(quiz.reveal))
        return messages.refuse(place_of(*reveal), question_field(number, "reveal_text"),
                               Message{"the quiz reveals no text (reveal = ", u8"le quiz ne révèle pas de texte (reveal = "} +
                                   toml_string(reveal_mode_names[quiz.reveal]) +
                                   Message{"), so this text would be lost", "), ce texte serait donc perdu"});
    return read_optional_text(messages, table, "reveal_text", question_field(number, "reveal_text"),
                              question.reveal_text, question.reveal_text_place) &&
           right;
}

bool read_question(const DiagnosticList& messages, const toml::node& node, int number, const QuizModel& quiz,
                   ModelQuestion& question, AnswerShape& shape) {
    const toml::table* table = node.as_table();
    question.place = place_of(node);
    if (!table) return messages.refuse(question.place, "question", expected_questions);
    bool right = refuse_unknown_keys(messages, *table, question_field(number, ""), question_keys);
    right = read_answers(messages, *table, number, question.place, quiz.kind, question, shape) && right;
    right = read_optional_text(messages, *table, "text", question_field(number, "text"), question.text,
                               question.text_place) &&
            right;
    right = read_variants(messages, *table, number, "variants", 1, question) && right;
    right = read_tries(messages, *table, number, "tries", 1, question) && right;
    for (const char* second_box_key : {"variants_2", "tries_2"}) {
        const toml::node* second = table->get(second_box_key);
        if (second && !table->get("answers"))
            right = messages.refuse(place_of(*second), question_field(number, second_box_key),
                                    {"only a question with two answers (answers) has a second box",
                                     u8"seule une question à deux réponses (answers) a une deuxième case"}) &&
                    right;
    }
    if (table->get("answers")) {
        right = read_variants(messages, *table, number, "variants_2", 2, question) && right;
        right = read_tries(messages, *table, number, "tries_2", 2, question) && right;
    }
    // An unknown kind was refused already; what depends on it is not checked.
    return quiz.kind >= 0 && read_kind_fields(messages, *table, number, quiz, question) && right;
}

bool read_questions(const DiagnosticList& messages, const toml::table& root, QuizModel& quiz) {
    const toml::node* node = root.get("question");
    const toml::array* questions = node ? node->as_array() : nullptr;
    if (node && !questions) return messages.refuse(place_of(*node), "question", expected_questions);
    if (!questions || questions->empty())
        return messages.refuse({}, "question",
                               {"no question; a quiz needs at least one [[question]]",
                                "aucune question ; un quiz en a au moins une [[question]]"});
    bool right = true;
    if (questions->size() > max_questions)
        right = messages.refuse(place_of(*questions->get(max_questions)),
                                "question " + std::to_string(max_questions + 1),
                                {"too many questions; a quiz holds at most 96",
                                 "trop de questions ; un quiz en a au plus 96"});

    // Every question is read and kept, right or not, so that each one's
    // mistakes are reported and the files of the others can still be checked.
    const std::size_t count = std::min<std::size_t>(questions->size(), max_questions);
    int boxes = 0;  // of the first question with an answer
    int boxes_question = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int number = static_cast<int>(i) + 1;
        ModelQuestion question;
        question.origin = static_cast<int>(i);
        AnswerShape shape;
        right = read_question(messages, *questions->get(i), number, quiz, question, shape) && right;
        if (boxes == 0) {
            boxes = shape.count;
            boxes_question = number;
        } else if (shape.count != 0 && shape.count != boxes) {
            right = messages.refuse(
                shape.place, question_field(number, shape.count == 1 ? "answer" : "answers"),
                "question " + std::to_string(boxes_question) +
                    (boxes == 1 ? Message{" has one answer (answer)", u8" a une réponse (answer)"}
                                : Message{" has two answers (answers)", u8" a deux réponses (answers)"}) +
                    Message{", and every question of a quiz has the same number",
                            ", et toutes les questions d'un quiz en ont autant"});
        }
        quiz.questions.push_back(std::move(question));
    }
    quiz.boxes = boxes == 0 ? 1 : boxes;
    return right;
}

bool read_answer_labels(const DiagnosticList& messages, const toml::table& root, QuizModel& quiz) {
    const toml::node* node = root.get("answer_labels");
    if (!node) return true;
    quiz.answer_labels_place = place_of(*node);
    const toml::array* labels = node->as_array();
    if (!labels || labels->size() != 2)
        return messages.refuse(quiz.answer_labels_place, "answer_labels", expected_pair);
    if (quiz.boxes != 2)
        return messages.refuse(quiz.answer_labels_place, "answer_labels",
                               {"only a quiz whose questions have two answers (answers) shows box captions",
                                u8"seul un quiz dont les questions ont deux réponses (answers) montre des légendes"});
    const bool first =
        read_text(messages, *labels->get(0), "answer_labels", TextRule::quiz_text, quiz.answer_labels[0]);
    return read_text(messages, *labels->get(1), "answer_labels", TextRule::quiz_text, quiz.answer_labels[1]) &&
           first;
}

// codes = { 5 = "HALF", 10 = "ALL" }: each code from its score on.
bool read_scored_codes(const DiagnosticList& messages, const toml::table& table, QuizModel& quiz) {
    quiz.codes_by_score = true;
    const std::size_t questions = quiz.questions.size();
    bool right = true;
    for (auto&& [key, value] : table) {
        const std::string score(key.str());
        const SourcePlace place = place_of(key.source());
        const bool digits = !score.empty() && score.size() <= 2 && score[0] != '0' &&
                            std::all_of(score.begin(), score.end(), [](char c) { return c >= '0' && c <= '9'; });
        const int number = digits ? std::stoi(score) : 0;
        if (number < 1 || (questions > 0 && static_cast<std::size_t>(number) > questions)) {
            right = messages.refuse(place, "codes",
                                    Message{"key ", u8"la clé "} + toml_string(score) +
                                        Message{" is not a score from 1 to ", u8" n'est pas un score de 1 à "} +
                                        std::to_string(questions > 0 ? questions : max_questions) +
                                        Message{"; expected { 5 = \"CODE\", ... }, each code from that many "
                                                "questions solved",
                                                u8" ; { 5 = \"CODE\", ... } est attendu, chaque code valant à partir "
                                                u8"de ce nombre de questions trouvées"});
            continue;
        }
        ScoredCode code{number, {}, place_of(value)};
        right = read_text(messages, value, "codes: score " + score, TextRule::code, code.code) && right;
        quiz.codes.push_back(std::move(code));
    }
    std::sort(quiz.codes.begin(), quiz.codes.end(),
              [](const ScoredCode& a, const ScoredCode& b) { return a.score < b.score; });
    return right;
}

bool read_codes(const DiagnosticList& messages, const toml::table& root, QuizModel& quiz) {
    const toml::node* node = root.get("codes");
    if (!node) return true;
    quiz.codes_place = place_of(*node);
    if (const toml::table* table = node->as_table()) return read_scored_codes(messages, *table, quiz);
    const toml::array* codes = node->as_array();
    if (!codes)
        return messages.refuse(quiz.codes_place, "codes",
                               {"expected a list of strings, or a table of codes by score as { 5 = \"CODE\" }",
                                u8"une liste de chaînes est attendue, ou un tableau de codes par score comme "
                                "{ 5 = \"CODE\" }"});
    // Without questions there is nothing to count the codes against.
    const std::size_t questions = quiz.questions.size();
    if (questions > 0 && codes->size() > questions)
        return messages.refuse(quiz.codes_place, "codes",
                               std::to_string(codes->size()) + Message{" codes for ", " codes pour "} +
                                   std::to_string(questions) + (questions == 1 ? " question" : " questions") +
                                   Message{"; at most one code per question", " ; au plus un code par question"});
    bool right = true;
    for (std::size_t i = 0; i < codes->size(); ++i) {
        ScoredCode code{static_cast<int>(i) + 1, {}, place_of(*codes->get(i))};
        right = read_text(messages, *codes->get(i), "codes: code " + std::to_string(i + 1), TextRule::code,
                          code.code) &&
                right;
        quiz.codes.push_back(std::move(code));
    }
    return right;
}

bool read_header(const DiagnosticList& messages, const toml::table& root, QuizModel& quiz) {
    // Without a known kind the questions are still read, but not what depends on the kind.
    const toml::node* kind = root.get("kind");
    if (kind) quiz.kind_place = place_of(*kind);
    bool right = kind ? read_choice(messages, *kind, "kind", quiz_kind_names, quiz.kind)
                      : messages.refuse({}, "kind",
                                        {"missing; expected \"text\", \"picture\", \"sound\" or \"video\"",
                                         "manquant ; \"text\", \"picture\", \"sound\" ou \"video\" est attendu"});
    right = read_optional_text(messages, root, "title", "title", quiz.title, quiz.title_place) && right;
    right = read_optional_text(messages, root, "creator", "creator", quiz.creator, quiz.creator_place) && right;
    right = read_optional_text(messages, root, "explanations", "explanations", quiz.explanations,
                               quiz.explanations_place) &&
            right;

    if (const toml::node* reveal = root.get("reveal")) {
        quiz.reveal_place = place_of(*reveal);
        right = read_choice(messages, *reveal, "reveal", reveal_mode_names, quiz.reveal) && right;
        if (reveals_picture(quiz.reveal) && quiz.kind != picture_quiz && quiz.kind >= 0)
            right = messages.refuse(quiz.reveal_place, "reveal",
                                    toml_string(reveal_mode_names[quiz.reveal]) +
                                        Message{" reveals answer pictures, which only a picture quiz has",
                                                u8" révèle des images réponses, que seul un quiz d'images a"});
    }
    if (const toml::node* grading = root.get("grading")) {
        quiz.grading_place = place_of(*grading);
        right = read_choice(messages, *grading, "grading", grading_mode_names, quiz.grading) && right;
    }
    return read_colour(messages, root, quiz) && right;
}

struct FileKind {
    bool (*matches)(const std::vector<unsigned char>&);
    Message refusal;
};

const FileKind mp3_sound = {
    is_mp3,
    {"is not an MP3 file (it starts with neither an ID3 tag nor an MPEG audio frame)",
     u8"n'est pas un fichier MP3 (il ne commence ni par une étiquette ID3 ni par une trame audio MPEG)"}};
const FileKind avi_video = {is_avi,
                            {"is not an AVI file (an AVI file starts with RIFF, its size, then AVI)",
                             "n'est pas un fichier AVI (un fichier AVI commence par RIFF, sa taille, puis AVI)"}};


// The files a source names, looked up from its folder.
struct SourceFiles {
    DiagnosticList messages;
    std::filesystem::path folder;

    SourceFiles(const std::string& source_path, Diagnostics& diagnostics)
        : messages{source_path, diagnostics}, folder(std::filesystem::u8path(source_path).parent_path()) {}

    // Paths are UTF-8 everywhere; u8path keeps every character on every platform.
    bool read(const std::string& relative, SourcePlace place, const std::string& field,
              std::vector<unsigned char>& bytes) const {
        Message why;
        return read_whole_file(folder / std::filesystem::u8path(relative), bytes, why) ||
               messages.refuse(place, field, relative + Message{": ", " : "} + why);
    }
};

bool load_media(const SourceFiles& files, const std::string& relative, SourcePlace place, const std::string& field,
                const FileKind& kind, std::vector<unsigned char>& bytes) {
    if (relative.empty()) return true;
    if (!files.read(relative, place, field, bytes)) return false;
    if (!kind.matches(bytes)) return files.messages.refuse(place, field, relative + " " + kind.refusal);
    return true;
}

struct PictureLoad {
    const SourceFiles& files;
    RgbColour panel_colour;
    const PictureLoading& how;
    int count;
    int done;
    bool converted = false;  // some picture was not in the cache
    // Every picture file is read into this one buffer: a new one for each
    // photograph of a few MB would cost its memory's first touch every time.
    std::vector<unsigned char> bytes = {};
};

bool load_picture_file(PictureLoad& load, const std::string& relative, SourcePlace place, const std::string& field,
                       std::vector<unsigned char>& stored) {
    if (relative.empty()) return true;
    std::vector<unsigned char>& bytes = load.bytes;
    if (!load.files.read(relative, place, field, bytes)) return false;
    Message why;
    if (load.how.headers_only) {
        PictureProbe probe;
        return probe_picture_file(bytes.data(), bytes.size(), probe, why) ||
               load.files.messages.refuse(place, field, relative + " " + why);
    }
    ConvertedPicture converted;
    if (!convert_picture_cached(load.how.cache, bytes, picture_box_width, picture_box_height, load.panel_colour,
                                converted, why))
        return load.files.messages.refuse(place, field, relative + " " + why);
    load.converted = load.converted || !converted.from_cache;
    stored = std::move(converted.jpeg);
    if (load.how.progress) {
        load.how.progress({relative, ++load.done, load.count, static_cast<long long>(bytes.size()),
                           converted.source_width, converted.source_height, converted.width, converted.height,
                           static_cast<long long>(stored.size()), converted.unchanged});
    }
    return true;
}

}  // namespace

bool read_whole_file(const std::filesystem::path& path, std::vector<unsigned char>& bytes, Message& why) {
    std::error_code status_error;
    const std::filesystem::file_status status = std::filesystem::status(path, status_error);
    if (status.type() == std::filesystem::file_type::not_found) {
        why = {"no such file", "ce fichier n'existe pas"};
        return false;
    }
    if (status.type() == std::filesystem::file_type::directory) {
        why = {"is a folder, not a file", "c'est un dossier, pas un fichier"};
        return false;
    }
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        // The C library's reason: a sharing violation on Windows reads as EACCES too.
        why = errno == EACCES  ? Message{"cannot be opened: no permission, or another program has it open",
                                         u8"ne peut pas être ouvert : pas d'autorisation, ou un autre programme l'a "
                                         "ouvert"}
              : errno == EBUSY ? Message{"cannot be opened: another program has it open",
                                         u8"ne peut pas être ouvert : un autre programme l'a ouvert"}
                               : Message{"cannot be opened", u8"ne peut pas être ouvert"};
        return false;
    }
    // In one read: a stream iterator takes seconds over a few phone photographs.
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0);
    bytes.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
    if (size < 0 || !file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
        why = {"cannot be read", u8"ne peut pas être lu"};
        return false;
    }
    return true;
}

bool is_mp3(const std::vector<unsigned char>& bytes) {
    const bool id3_tag = bytes.size() >= 3 && bytes[0] == 'I' && bytes[1] == 'D' && bytes[2] == '3';
    const bool frame_sync = bytes.size() >= 2 && bytes[0] == 0xFF && (bytes[1] & 0xE0) == 0xE0;
    return id3_tag || frame_sync;
}

bool is_avi(const std::vector<unsigned char>& bytes) {
    return bytes.size() >= 12 && std::equal(bytes.begin(), bytes.begin() + 4, "RIFF") &&
           std::equal(bytes.begin() + 8, bytes.begin() + 12, "AVI ");
}

bool read_quiz_source(std::string_view text, const std::string& file_name, QuizModel& quiz,
                      Diagnostics& diagnostics) {
    quiz = QuizModel();
    const DiagnosticList messages{file_name, diagnostics};
    // toml++ stops at the first syntax error: that one is all it can say.
    toml::parse_result parsed = toml::parse(text, std::string_view(file_name));
    if (!parsed)
        return messages.refuse(place_of(parsed.error().source()), "TOML syntax",
                               Message{"", "ce n'est pas du TOML valide : "} + one_line(parsed.error().description()));
    const toml::table& root = parsed.table();
    bool right = refuse_unknown_keys(messages, root, "", top_level_keys);
    right = read_header(messages, root, quiz) && right;
    const bool questions_read = read_questions(messages, root, quiz);
    // Captions and codes are judged against the questions only once those are right.
    right = questions_read && read_answer_labels(messages, root, quiz) && right;
    right = read_codes(messages, root, quiz) && right;
    right = read_icon_name(messages, root, quiz) && right;
    return right;
}

bool load_quiz_source(const std::string& path, QuizModel& quiz, Diagnostics& diagnostics) {
    std::vector<unsigned char> bytes;
    Message why;
    if (!read_whole_file(std::filesystem::u8path(path), bytes, why)) {
        diagnostics.push_back(file_error(path, why));
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return read_quiz_source(text, path, quiz, diagnostics);
}

bool load_quiz_icon(const QuizModel& quiz, const std::string& source_path, AppIcon& icon, Diagnostics& diagnostics) {
    icon.clear();
    if (quiz.icon.empty()) return true;
    const SourceFiles files(source_path, diagnostics);
    std::vector<unsigned char> bytes;
    Message why;
    if (!files.read(quiz.icon, quiz.icon_place, "icon", bytes)) return false;
    return make_app_icon(bytes, icon, why) || files.messages.refuse(quiz.icon_place, "icon", quiz.icon + " " + why);
}

bool load_question_files(const QuizModel& quiz, const std::string& source_path, std::vector<QuestionData>& data,
                         Diagnostics& diagnostics, const PictureLoading& how) {
    const SourceFiles files(source_path, diagnostics);
    const FileKind& media_kind = quiz.kind == video_quiz ? avi_video : mp3_sound;
    int picture_count = 0;
    for (const ModelQuestion& question : quiz.questions)
        picture_count += !question.picture.empty() + !question.answer_picture.empty();
    PictureLoad pictures{files, {quiz.colour.red, quiz.colour.green, quiz.colour.blue}, how, picture_count, 0};
    data.assign(quiz.questions.size(), QuestionData());
    bool right = true;
    for (std::size_t i = 0; i < quiz.questions.size(); ++i) {
        const ModelQuestion& question = quiz.questions[i];
        const int number = static_cast<int>(i) + 1;
        right = load_picture_file(pictures, question.picture, question.picture_place,
                                  question_field(number, "picture"), data[i].picture) &&
                right;
        right = load_media(files, question.media, question.media_place, question_field(number, "media"), media_kind,
                           data[i].media) &&
                right;
        right = load_picture_file(pictures, question.answer_picture, question.answer_picture_place,
                                  question_field(number, "answer_picture"), data[i].answer_picture) &&
                right;
    }
    if (pictures.converted) trim_picture_cache(how.cache);
    return right;
}
