// This file handles UTF-8 at run time and is compiled to Windows-1252: its
// French messages are u8 literals.
#include "authoring/source_writer.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "authoring/cp1252.h"
#include "authoring/tomlpp.h"

namespace {

// One field of a table as the writer puts it: `value` is its TOML text, empty
// when the field is not written.
struct Field {
    const char* key;
    std::string value;
};
using QuizFields = std::array<Field, 10>;
using QuestionFields = std::array<Field, 10>;

// What values are rendered for. A fresh source shows a few empty fields; a
// comparison with the original leaves out what means nothing (the order of
// tries, empty codes at the end).
enum class Rendering { fresh, edited, compared };

// Renders values as TOML, keeping the first one that cannot be written.
struct Renderer {
    Rendering rendering;
    Message error;

    std::string text(const std::string& field, const std::string& utf8) {
        if (error.empty() && !is_utf8(utf8))
            error = field + Message{": not UTF-8 text", u8" : ce n'est pas du texte UTF-8"};
        return toml_string(utf8);
    }

    std::string list(const std::string& field, const std::string* texts, std::size_t count) {
        std::string list = "[";
        for (std::size_t i = 0; i < count; ++i) list += (i ? ", " : "") + text(field, texts[i]);
        return list + "]";
    }

    // Not written when empty.
    std::string optional_list(const std::string& field, const std::vector<std::string>& texts) {
        return texts.empty() ? std::string() : list(field, texts.data(), texts.size());
    }

    // A list of codes, its empty tail left out when compared; or a table by score.
    std::string codes(const std::vector<ScoredCode>& codes, bool by_score) {
        std::vector<std::string> texts;
        std::string table;
        for (const ScoredCode& code : codes) {
            texts.push_back(code.code);
            table += (table.empty() ? "{ " : ", ") + std::to_string(code.score) + " = " + text("codes", code.code);
        }
        if (by_score) return table.empty() ? "{}" : table + " }";
        while (rendering == Rendering::compared && !texts.empty() && texts.back().empty()) texts.pop_back();
        return optional_list("codes", texts);
    }

    // { "typed" = "grade", ... } of box `box`; empty when the box has no tries.
    std::string tries(const std::string& field, std::vector<GradeTry> tries, int box) {
        if (rendering == Rendering::compared)
            std::sort(tries.begin(), tries.end(),
                      [](const GradeTry& a, const GradeTry& b) { return a.typed < b.typed; });
        std::string table;
        for (auto tried = tries.begin(); tried != tries.end(); ++tried) {
            if (tried->box != box) continue;
            const bool twice = std::any_of(tries.begin(), tried, [&](const GradeTry& earlier) {
                return earlier.box == box && earlier.typed == tried->typed;
            });
            if (twice && error.empty())
                error = field + Message{": ", " : "} + toml_string(tried->typed) +
                        Message{" is tried twice", u8" est essayé deux fois"};
            table += (table.empty() ? "{ " : ", ") + text(field, tried->typed) + " = " + text(field, tried->grade);
        }
        return table.empty() ? table : table + " }";
    }
};

bool named(int value, int count) { return value >= 0 && value < count; }

// Why the quiz's kind or reveal mode cannot be written; empty when both can.
Message unnamed(const QuizModel& quiz, bool unknown_kind_kept) {
    if (!named(quiz.kind, quiz_kind_count) && !unknown_kind_kept)
        return Message{"kind: quiz kind ", "kind : le genre de quiz "} + std::to_string(quiz.kind) +
               Message{" has no name", " n'a pas de nom"};
    if (!named(quiz.reveal, reveal_mode_count))
        return Message{"reveal: reveal mode ", u8"reveal : le mode de révélation "} + std::to_string(quiz.reveal) +
               Message{" has no name", " n'a pas de nom"};
    return {};
}

QuizFields quiz_fields(const QuizModel& quiz, Renderer& renderer) {
    const bool fresh = renderer.rendering == Rendering::fresh;
    const auto text = [&renderer](const char* key, const std::string& value, bool written) {
        return Field{key, written ? renderer.text(key, value) : std::string()};
    };
    const bool labelled = !quiz.answer_labels[0].empty() || !quiz.answer_labels[1].empty() || (fresh && quiz.boxes == 2);
    char colour[16];
    std::snprintf(colour, sizeof colour, "#%02X%02X%02X", quiz.colour.red, quiz.colour.green, quiz.colour.blue);
    return {{
        {"kind", named(quiz.kind, quiz_kind_count) ? toml_string(quiz_kind_names[quiz.kind]) : std::string()},
        text("title", quiz.title, fresh || !quiz.title.empty()),
        text("creator", quiz.creator, fresh || !quiz.creator.empty()),
        text("explanations", quiz.explanations, fresh || !quiz.explanations.empty()),
        {"answer_labels", labelled ? renderer.list("answer_labels", quiz.answer_labels, 2) : std::string()},
        {"reveal", toml_string(reveal_mode_names[quiz.reveal])},
        {"colour", toml_string(colour)},
        {"codes", renderer.codes(quiz.codes, quiz.codes_by_score)},
        text("icon", quiz.icon, !quiz.icon.empty()),
        {"grading", quiz.grading == grading_exact || !named(quiz.grading, grading_mode_count)
                        ? std::string()
                        : toml_string(grading_mode_names[quiz.grading])},
    }};
}

QuestionFields question_fields(const ModelQuestion& question, int boxes, int number, Renderer& renderer) {
    const std::string at = "question " + std::to_string(number) + ": ";
    const auto text = [&](const char* key, const std::string& value) {
        return Field{key, value.empty() ? std::string() : renderer.text(at + key, value)};
    };
    return {{
        boxes == 2 ? Field{"answers", renderer.list(at + "answers", question.answers, 2)}
                   : Field{"answer", renderer.text(at + "answer", question.answers[0])},
        {"variants", renderer.optional_list(at + "variants", question.variants[0])},
        {"variants_2", boxes == 2 ? renderer.optional_list(at + "variants_2", question.variants[1]) : std::string()},
        {"tries", renderer.tries(at + "tries", question.tries, 1)},
        {"tries_2", renderer.tries(at + "tries_2", question.tries, 2)},
        text("text", question.text),
        text("picture", question.picture),
        text("media", question.media),
        text("answer_picture", question.answer_picture),
        text("reveal_text", question.reveal_text),
    }};
}

std::string line_of(const Field& field) { return field.key + std::string(" = ") + field.value; }

// A question as a fresh source writes it, one string a line, after a blank line.
std::vector<std::string> fresh_question(const ModelQuestion& question, int boxes, int number, Renderer& renderer) {
    std::vector<std::string> lines = {"", "[[question]]"};
    for (const Field& field : question_fields(question, boxes, number, renderer))
        if (!field.value.empty()) lines.push_back(line_of(field));
    return lines;
}

// What a source says, read leniently: a value of the wrong type reads as the
// field's cleared value, so that a model read from it finds it unchanged.
std::string string_at(const toml::node* node) {
    return node && node->is_string() ? node->as_string()->get() : std::string();
}

std::vector<std::string> strings_at(const toml::node* node) {
    std::vector<std::string> strings;
    if (const toml::array* array = node ? node->as_array() : nullptr)
        for (const toml::node& element : *array) strings.push_back(string_at(&element));
    return strings;
}

template <int count>
int value_at(const toml::node* node, const char* const (&names)[count], int otherwise) {
    const std::string name = string_at(node);
    for (int value = 0; value < count; ++value)
        if (name == names[value]) return value;
    return otherwise;
}

ModelColour colour_at(const toml::node* node) {
    const std::string text = string_at(node);
    ModelColour colour;
    const bool hexadecimal = text.size() == 7 && text[0] == '#' && std::all_of(text.begin() + 1, text.end(), [](char c) {
                                 return std::isxdigit(static_cast<unsigned char>(c)) != 0;
                             });
    if (!hexadecimal) return colour;
    const unsigned long rgb = std::strtoul(text.c_str() + 1, nullptr, 16);
    colour.red = static_cast<unsigned char>(rgb >> 16);
    colour.green = static_cast<unsigned char>(rgb >> 8);
    colour.blue = static_cast<unsigned char>(rgb);
    return colour;
}

QuizModel said_quiz(const toml::table& root) {
    QuizModel quiz;
    quiz.kind = value_at(root.get("kind"), quiz_kind_names, -1);
    quiz.title = string_at(root.get("title"));
    quiz.creator = string_at(root.get("creator"));
    quiz.explanations = string_at(root.get("explanations"));
    const std::vector<std::string> labels = strings_at(root.get("answer_labels"));
    if (labels.size() == 2) std::copy(labels.begin(), labels.end(), quiz.answer_labels);
    quiz.reveal = value_at(root.get("reveal"), reveal_mode_names, reveal_none);
    quiz.colour = colour_at(root.get("colour"));
    const toml::node* codes = root.get("codes");
    quiz.codes_by_score = codes && codes->is_table();
    if (quiz.codes_by_score) {
        for (auto&& [score, code] : *codes->as_table())
            quiz.codes.push_back({std::atoi(std::string(score.str()).c_str()), string_at(&code), {}});
        std::sort(quiz.codes.begin(), quiz.codes.end(),
                  [](const ScoredCode& a, const ScoredCode& b) { return a.score < b.score; });
    } else {
        quiz.codes = codes_of_list(strings_at(codes));
    }
    quiz.grading = value_at(root.get("grading"), grading_mode_names, grading_exact);
    quiz.icon = string_at(root.get("icon"));
    return quiz;
}

void add_tries(const toml::node* node, int box, std::vector<GradeTry>& tries) {
    if (const toml::table* table = node ? node->as_table() : nullptr)
        for (auto&& [typed, grade] : *table) tries.push_back({box, std::string(typed.str()), string_at(&grade), {}});
}

// A question's fields as rendered for comparison; its box count is that of the
// answer key it writes.
QuestionFields said_question(const toml::node& node, int number) {
    const toml::table* table = node.as_table();
    const auto get = [table](const char* key) { return table ? table->get(key) : nullptr; };
    ModelQuestion question;
    const int boxes = !get("answer") && get("answers") ? 2 : 1;
    const std::vector<std::string> pair = strings_at(get("answers"));
    if (boxes == 1) question.answers[0] = string_at(get("answer"));
    if (boxes == 2 && pair.size() == 2) std::copy(pair.begin(), pair.end(), question.answers);
    question.variants[0] = strings_at(get("variants"));
    question.variants[1] = strings_at(get("variants_2"));
    add_tries(get("tries"), 1, question.tries);
    add_tries(get("tries_2"), 2, question.tries);
    question.text = string_at(get("text"));
    question.picture = string_at(get("picture"));
    question.media = string_at(get("media"));
    question.answer_picture = string_at(get("answer_picture"));
    question.reveal_text = string_at(get("reveal_text"));
    Renderer renderer{Rendering::compared, {}};
    return question_fields(question, boxes, number, renderer);
}

// One line of the original: its text and its line end ("\n", "\r\n", or empty
// for a last line without one).
struct Line {
    std::string_view text;
    std::string_view end;
};

std::vector<Line> lines_of(std::string_view text) {
    std::vector<Line> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t newline = text.find('\n', start);
        if (newline == std::string_view::npos) {
            lines.push_back({text.substr(start), {}});
            break;
        }
        const std::size_t end = newline > start && text[newline - 1] == '\r' ? newline - 1 : newline;
        lines.push_back({text.substr(start, end - start), text.substr(end, newline + 1 - end)});
        start = newline + 1;
    }
    return lines;
}

std::string_view indentation(std::string_view line) { return line.substr(0, line.find_first_not_of(" \t")); }

char first_mark(std::string_view line) {
    const std::size_t at = line.find_first_not_of(" \t");
    return at == std::string_view::npos ? '\0' : line[at];
}

// The byte of `line` where a toml++ column, counted in characters from 1, starts.
std::size_t byte_of_column(std::string_view line, int column) {
    std::size_t at = 0;
    for (int counted = 1; counted < column && at < line.size(); ++counted) {
        do ++at;
        while (at < line.size() && (static_cast<unsigned char>(line[at]) & 0xC0) == 0x80);
    }
    return at;
}

// A table, or an array of tables, not written inline: its keys stand on lines
// of their own, under a [header] or as dotted keys.
bool spread_table(const toml::node& value) {
    const toml::table* table = value.as_table();
    const toml::array* array = value.as_array();
    if (array && !array->empty()) table = array->front().as_table();
    return table && !table->is_inline();
}

// The last line, from 1, that a value takes, its sub-tables' keys included.
int last_line_of(const toml::node& node) {
    int last = static_cast<int>(node.source().end.line);
    if (const toml::table* table = node.as_table(); table && !table->is_inline())
        for (auto&& [key, value] : *table) last = std::max(last, last_line_of(value));
    return last;
}

// Marks the lines inside values that run over several lines: none of them is
// a comment, a blank line or a header, whatever it looks like.
void mark_continued(const toml::table& table, std::vector<bool>& continued) {
    for (auto&& [key, value] : table) {
        if (!spread_table(value)) {
            const toml::source_region& place = value.source();
            for (std::size_t line = place.begin.line; line < place.end.line && line < continued.size(); ++line)
                continued[line] = true;
        } else if (const toml::array* array = value.as_array()) {
            for (const toml::node& element : *array) mark_continued(*element.as_table(), continued);
        } else {
            mark_continued(*value.as_table(), continued);
        }
    }
}

// A key of a table where the original writes it; lines are counted from 0.
struct Item {
    std::string key;
    int first_line;
    int last_line;
    std::size_t value_begin;  // bytes into the first line
    std::size_t value_end;    // bytes into the last line
    bool own_header;          // under a [header] of its own, after the table's keys
    bool in_place;            // a plain key = value, which can be rewritten on its lines
};

// A table of the original: the root, or a question from its leading comments.
struct Table {
    int begin;   // first line
    int end;     // one past its last line
    int header;  // line of its [[question]] header; -1 for the root
    std::vector<Item> items;  // in the order of the text
};

struct Original {
    std::vector<Line> lines;
    std::string_view line_end;    // of new lines: the original's first
    std::vector<bool> continued;  // lines inside a value that runs over several
};

std::vector<Item> items_of(const toml::table& table, const Original& original) {
    std::vector<Item> items;
    for (auto&& [key, value] : table) {
        const int first = static_cast<int>(key.source().begin.line) - 1;
        const int last = last_line_of(value) - 1;
        const bool own_header = first_mark(original.lines[first].text) == '[';
        const bool in_place = !own_header && !spread_table(value);
        const toml::source_region& place = value.source();
        items.push_back({std::string(key.str()), first, last,
                         in_place ? byte_of_column(original.lines[first].text, static_cast<int>(place.begin.column)) : 0,
                         in_place ? byte_of_column(original.lines[last].text, static_cast<int>(place.end.column)) : 0,
                         own_header, in_place});
    }
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.first_line < b.first_line; });
    return items;
}

void put_line(std::string& out, std::string_view text, std::string_view end, const Original& original) {
    out += text;
    out += end.empty() ? original.line_end : end;
}

// Puts a table's lines, each field that differs from what the original says
// rewritten, removed or added; false with `error` for one that cannot be.
template <std::size_t count>
bool put_table(const Original& original, const Table& table, const std::array<Field, count>& said,
               const std::array<Field, count>& compared, const std::array<Field, count>& edited,
               const std::string& field_prefix, std::string& out, Message& error) {
    enum class Fate { kept, dropped, rewritten };
    std::vector<Fate> fates(table.end - table.begin, Fate::kept);
    std::vector<std::string> rewritten(fates.size());
    std::vector<std::string> added;
    for (std::size_t f = 0; f < count; ++f) {
        if (std::strcmp(said[f].key, compared[f].key) == 0 && said[f].value == compared[f].value) continue;
        const Field& field = edited[f];
        const auto item = std::find_if(table.items.begin(), table.items.end(),
                                       [&](const Item& item) { return item.key == said[f].key; });
        if (item == table.items.end()) {
            if (!field.value.empty()) added.push_back(line_of(field));
            continue;
        }
        if (!item->in_place) {
            const std::string line = std::to_string(item->first_line + 1);
            error = field_prefix + item->key +
                    Message{": written as a table of its own (line " + line +
                                "); only a key = value line can be rewritten",
                            u8" : écrit comme une table à part (ligne " + line +
                                u8") ; seule une ligne clé = valeur peut être réécrite"};
            return false;
        }
        for (int line = item->first_line; line <= item->last_line; ++line) fates[line - table.begin] = Fate::dropped;
        if (field.value.empty()) continue;
        const std::string_view first = original.lines[item->first_line].text;
        const std::string key = item->key == field.key ? std::string(first.substr(0, item->value_begin))
                                                       : std::string(indentation(first)) + field.key + " = ";
        fates[item->first_line - table.begin] = Fate::rewritten;
        rewritten[item->first_line - table.begin] =
            key + field.value + std::string(original.lines[item->last_line].text.substr(item->value_end));
    }

    // New fields go after the table's last key; without one, after its header
    // or at the end of the root's lines.
    int last_key = -1;
    for (const Item& item : table.items)
        if (!item.own_header) last_key = std::max(last_key, item.last_line);
    const int insert_after = last_key >= 0 ? last_key : table.header >= 0 ? table.header : table.end - 1;
    if (insert_after < table.begin)
        for (const std::string& line : added) put_line(out, line, {}, original);
    for (int line = table.begin; line < table.end; ++line) {
        const Fate fate = fates[line - table.begin];
        if (fate == Fate::kept) put_line(out, original.lines[line].text, original.lines[line].end, original);
        if (fate == Fate::rewritten) put_line(out, rewritten[line - table.begin], {}, original);
        if (line == insert_after)
            for (const std::string& added_line : added) put_line(out, added_line, {}, original);
    }
    return true;
}

// The first line of a question's lines: its header, the comment lines
// directly above it, and the blank lines directly above those.
int question_start(const Original& original, int header) {
    const auto above_is = [&original](int line, char mark) {
        return line > 0 && !original.continued[line - 1] && first_mark(original.lines[line - 1].text) == mark;
    };
    int start = header;
    while (above_is(start, '#')) --start;
    while (above_is(start, '\0')) --start;
    return start;
}

// The original's questions: each one's fields as it says them, and its lines
// when the questions are [[question]] tables.
struct OriginalQuestions {
    bool inline_written = false;  // `question` written some other way
    std::vector<QuestionFields> said;
    std::vector<Table> tables;
};

OriginalQuestions questions_of(const toml::table& root, const Original& original) {
    OriginalQuestions questions;
    const toml::node* node = root.get("question");
    const toml::array* array = node ? node->as_array() : nullptr;
    questions.inline_written = node && !(array && spread_table(*node));
    for (std::size_t i = 0; array && i < array->size(); ++i) {
        const toml::node& question = *array->get(i);
        questions.said.push_back(said_question(question, static_cast<int>(i) + 1));
        if (questions.inline_written) continue;
        const int header = static_cast<int>(question.source().begin.line) - 1;
        questions.tables.push_back({question_start(original, header), 0, header, items_of(*question.as_table(), original)});
    }
    for (std::size_t i = 0; i < questions.tables.size(); ++i)
        questions.tables[i].end = i + 1 < questions.tables.size() ? questions.tables[i + 1].begin
                                                                   : static_cast<int>(original.lines.size());
    return questions;
}

bool same_fields(const QuestionFields& a, const QuestionFields& b) {
    return std::equal(a.begin(), a.end(), b.begin(), [](const Field& x, const Field& y) {
        return std::strcmp(x.key, y.key) == 0 && x.value == y.value;
    });
}

// Puts the edited questions in their order; false with `error` for one that cannot be written.
bool put_questions(const Original& original, const OriginalQuestions& questions, const QuizModel& edited,
                   Renderer& compared, Renderer& written, std::string& out, Message& error) {
    if (questions.inline_written) {
        // Questions written inline stay as they are, or are refused.
        bool same = edited.questions.size() == questions.said.size();
        for (std::size_t i = 0; same && i < questions.said.size(); ++i)
            same = edited.questions[i].origin == static_cast<int>(i) &&
                   same_fields(questions.said[i], question_fields(edited.questions[i], edited.boxes,
                                                                  static_cast<int>(i) + 1, compared));
        if (!same)
            error = {"question: the questions are not [[question]] tables, so they cannot be rewritten",
                     u8"question : les questions ne sont pas des tables [[question]], elles ne peuvent donc pas être "
                     u8"réécrites"};
        return same;
    }
    for (std::size_t i = 0; i < edited.questions.size(); ++i) {
        const ModelQuestion& question = edited.questions[i];
        const int number = static_cast<int>(i) + 1;
        const std::size_t origin = static_cast<std::size_t>(question.origin);
        if (question.origin < 0 || origin >= questions.tables.size()) {
            for (const std::string& line : fresh_question(question, edited.boxes, number, written))
                put_line(out, line, {}, original);
            continue;
        }
        if (!put_table(original, questions.tables[origin], questions.said[origin],
                       question_fields(question, edited.boxes, number, compared),
                       question_fields(question, edited.boxes, number, written),
                       "question " + std::to_string(number) + ": ", out, error))
            return false;
    }
    return true;
}

void convert_field(const std::string& field, const char* cp1252, std::string& utf8, Message& error) {
    unsigned char refused;
    if (!error.empty() || cp1252_to_utf8(cp1252, utf8, refused)) return;
    char byte[8];
    std::snprintf(byte, sizeof byte, "0x%02X", refused);
    error = field + Message{": byte ", " : l'octet "} + byte +
            Message{" has no character in Windows-1252", u8" n'a pas de caractère en Windows-1252"};
}

}  // namespace

std::string toml_string(const std::string& utf8) {
    std::string toml = "\"";
    for (char c : utf8) {
        switch (c) {
            case '"':
                toml += "\\\"";
                break;
            case '\\':
                toml += "\\\\";
                break;
            case '\b':
                toml += "\\b";
                break;
            case '\t':
                toml += "\\t";
                break;
            case '\n':
                toml += "\\n";
                break;
            case '\f':
                toml += "\\f";
                break;
            case '\r':
                toml += "\\r";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
                    toml += escape;
                } else {
                    toml += c;
                }
        }
    }
    return toml + "\"";
}

WrittenSource write_quiz_source(const QuizModel& quiz) {
    if (Message refusal = unnamed(quiz, false); !refusal.empty()) return {"", refusal};
    Renderer renderer{Rendering::fresh, {}};
    std::string text;
    for (const Field& field : quiz_fields(quiz, renderer))
        if (!field.value.empty()) text += line_of(field) + "\n";
    for (std::size_t i = 0; i < quiz.questions.size(); ++i)
        for (const std::string& line : fresh_question(quiz.questions[i], quiz.boxes, static_cast<int>(i) + 1, renderer))
            text += line + "\n";
    if (!renderer.error.empty()) return {"", renderer.error};
    return {text, {}};
}

WrittenSource rewrite_quiz_source(std::string_view text, const QuizModel& edited) {
    toml::parse_result parsed = toml::parse(text);
    if (!parsed) {
        const toml::source_position at = parsed.error().source().begin;
        const std::string line = std::to_string(at.line), column = std::to_string(at.column);
        const std::string description(parsed.error().description());
        return {"", {"TOML syntax: line " + line + ", column " + column + ": " + description,
                     u8"syntaxe TOML : ligne " + line + ", colonne " + column + " : " + description}};
    }
    const toml::table& root = parsed.table();
    const QuizModel said = said_quiz(root);
    if (Message refusal = unnamed(edited, edited.kind == said.kind); !refusal.empty()) return {"", refusal};

    // toml++ counts columns after a byte order mark: the mark stands apart.
    const std::string_view mark = text.substr(0, text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0);
    Original original{lines_of(text.substr(mark.size())), "\n", {}};
    if (!original.lines.empty() && !original.lines[0].end.empty()) original.line_end = original.lines[0].end;
    original.continued.resize(original.lines.size());
    mark_continued(root, original.continued);
    const OriginalQuestions questions = questions_of(root, original);

    Renderer said_renderer{Rendering::compared, {}};
    Renderer compared{Rendering::compared, {}};
    Renderer written{Rendering::edited, {}};
    std::string out(mark);
    Message error;
    const int root_end = questions.tables.empty() ? static_cast<int>(original.lines.size()) : questions.tables[0].begin;
    if (!put_table(original, {0, root_end, -1, items_of(root, original)}, quiz_fields(said, said_renderer),
                   quiz_fields(edited, compared), quiz_fields(edited, written), "", out, error) ||
        !put_questions(original, questions, edited, compared, written, out, error))
        return {"", error};
    if (!written.error.empty()) return {"", written.error};
    // A source that ended without a line end still does.
    if (!text.empty() && text.back() != '\n') {
        if (!out.empty() && out.back() == '\n') out.pop_back();
        if (!out.empty() && out.back() == '\r') out.pop_back();
    }
    return {out, {}};
}

QuizModel model_of_packed(const QuizContent& quiz, const std::vector<QuestionFiles>& files, const std::string& icon,
                          Message& error) {
    QuizModel model;
    model.kind = quiz.quiz_kind;
    model.reveal = quiz.reveal_mode;
    error = unnamed(model, false);
    model.boxes = quiz.answers_per_question == 2 ? 2 : 1;
    model.colour = {quiz.colour_red, quiz.colour_green, quiz.colour_blue};
    model.icon = icon;
    convert_field("title", quiz.title, model.title, error);
    convert_field("creator", quiz.creator, model.creator, error);
    convert_field("explanations", quiz.explanations, model.explanations, error);
    if (model.boxes == 2) {
        convert_field("answer_labels", quiz.answer_label_1, model.answer_labels[0], error);
        convert_field("answer_labels", quiz.answer_label_2, model.answer_labels[1], error);
    }
    model.grading = quiz.grading_mode;
    if (!named(model.grading, grading_mode_count) && error.empty())
        error = Message{"grading: grading mode ", "grading : le mode de notation "} + std::to_string(model.grading) +
                Message{" has no name", " n'a pas de nom"};
    const int count = std::clamp(quiz.question_count, 0, max_questions);
    std::vector<std::string> lines(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        convert_field("codes: code " + std::to_string(i + 1), quiz.codes[i], lines[static_cast<std::size_t>(i)], error);
    model.codes = codes_of_lines(lines, model.codes_by_score);
    const QuestionEntry* entry = quiz.first_question.get();
    for (int i = 0; i < count && entry; ++i, entry = entry->next.get()) {
        ModelQuestion question;
        const std::string at = "question " + std::to_string(i + 1) + ": ";
        const std::string answers = at + (model.boxes == 2 ? "answers" : "answer");
        convert_field(answers, entry->answer_1, question.answers[0], error);
        if (model.boxes == 2) convert_field(answers, entry->answer_2, question.answers[1], error);
        convert_field(at + "text", entry->question_text, question.text, error);
        if (reveals_text(model.reveal)) convert_field(at + "reveal_text", entry->reveal_text, question.reveal_text, error);
        for (int box = 0; box < model.boxes; ++box) {
            for (const std::string& variant : entry->variants[box]) {
                question.variants[box].emplace_back();
                convert_field(at + (box == 0 ? "variants" : "variants_2"), variant.c_str(),
                              question.variants[box].back(), error);
            }
        }
        if (static_cast<std::size_t>(i) < files.size()) {
            question.picture = files[i].picture;
            question.media = files[i].media;
            question.answer_picture = files[i].answer_picture;
        }
        model.questions.push_back(std::move(question));
    }
    return model;
}
