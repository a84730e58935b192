#include "authoring/toml_writer.h"

#include <algorithm>
#include <cstdio>

#include "authoring/cp1252.h"
#include "authoring/diagnostic.h"

namespace {


struct Writer {
    std::string& toml;
    std::string& error;

    // A Windows-1252 field as a quoted UTF-8 string.
    bool put_text(const std::string& field, const char* cp1252) {
        std::string utf8;
        unsigned char refused;
        if (!cp1252_to_utf8(cp1252, utf8, refused)) {
            char byte[8];
            std::snprintf(byte, sizeof byte, "0x%02X", refused);
            error = field + ": byte " + byte + " has no character in Windows-1252";
            return false;
        }
        toml += toml_string(utf8);
        return true;
    }

    bool put_key_text(const char* key, const std::string& field, const char* cp1252) {
        toml += key;
        toml += " = ";
        if (!put_text(field, cp1252)) return false;
        toml += '\n';
        return true;
    }

    void put_key_name(const char* key, const std::string& utf8) {
        toml += key;
        toml += " = " + toml_string(utf8) + "\n";
    }

    // key = ["first", "second"]
    bool put_pair(const char* key, const std::string& field, const char* first, const char* second) {
        toml += key;
        toml += " = [";
        if (!put_text(field, first)) return false;
        toml += ", ";
        if (!put_text(field, second)) return false;
        toml += "]\n";
        return true;
    }
};

bool put_header(Writer& writer, const QuizContent& quiz, int count) {
    if (quiz.quiz_kind < text_quiz || quiz.quiz_kind > video_quiz) {
        writer.error = "kind: quiz kind " + std::to_string(quiz.quiz_kind) + " has no name";
        return false;
    }
    if (quiz.reveal_mode < 0 || quiz.reveal_mode >= reveal_mode_count) {
        writer.error = "reveal: reveal mode " + std::to_string(quiz.reveal_mode) + " has no name";
        return false;
    }
    writer.put_key_name("kind", quiz_kind_names[quiz.quiz_kind]);
    if (!writer.put_key_text("title", "title", quiz.title) ||
        !writer.put_key_text("creator", "creator", quiz.creator) ||
        !writer.put_key_text("explanations", "explanations", quiz.explanations))
        return false;
    if (quiz.answers_per_question == 2 &&
        !writer.put_pair("answer_labels", "answer_labels", quiz.answer_label_1, quiz.answer_label_2))
        return false;
    writer.put_key_name("reveal", reveal_mode_names[quiz.reveal_mode]);
    char colour[8];
    std::snprintf(colour, sizeof colour, "#%02X%02X%02X", quiz.colour_red, quiz.colour_green, quiz.colour_blue);
    writer.put_key_name("colour", colour);

    // Codes missing at the end read back as empty ones.
    int code_count = count;
    while (code_count > 0 && quiz.codes[code_count - 1][0] == '\0') --code_count;
    if (code_count == 0) return true;
    writer.toml += "codes = [";
    for (int i = 0; i < code_count; ++i) {
        if (i > 0) writer.toml += ", ";
        if (!writer.put_text("codes: code " + std::to_string(i + 1), quiz.codes[i])) return false;
    }
    writer.toml += "]\n";
    return true;
}

bool put_question(Writer& writer, const QuizContent& quiz, const QuestionEntry& entry, int number,
                  const QuestionFiles& files) {
    writer.toml += "\n[[question]]\n";
    const bool answered =
        quiz.answers_per_question == 2
            ? writer.put_pair("answers", question_field(number, "answers"), entry.answer_1, entry.answer_2)
            : writer.put_key_text("answer", question_field(number, "answer"), entry.answer_1);
    if (!answered) return false;
    if (entry.question_text[0] && !writer.put_key_text("text", question_field(number, "text"), entry.question_text))
        return false;
    if (!files.picture.empty()) writer.put_key_name("picture", files.picture);
    if (!files.media.empty()) writer.put_key_name("media", files.media);
    if (!files.answer_picture.empty()) writer.put_key_name("answer_picture", files.answer_picture);
    return !reveals_text(quiz.reveal_mode) || !entry.reveal_text[0] ||
           writer.put_key_text("reveal_text", question_field(number, "reveal_text"), entry.reveal_text);
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

bool write_quiz_toml(const QuizContent& quiz, const std::vector<QuestionFiles>& files, std::string& toml,
                     std::string& error, const std::string& icon) {
    toml.clear();
    Writer writer{toml, error};
    const int count = std::clamp(quiz.question_count, 0, max_questions);
    if (!put_header(writer, quiz, count)) return false;
    if (!icon.empty()) writer.put_key_name("icon", icon);
    const QuestionFiles no_files;
    const QuestionEntry* entry = quiz.first_question.get();
    for (int i = 0; i < count && entry; ++i, entry = entry->next.get()) {
        const QuestionFiles& question_files = static_cast<std::size_t>(i) < files.size() ? files[i] : no_files;
        if (!put_question(writer, quiz, *entry, i + 1, question_files)) return false;
    }
    return true;
}
