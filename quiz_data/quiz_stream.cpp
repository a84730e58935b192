#include "quiz_data/quiz_stream.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr unsigned char text_end = '|';
constexpr unsigned char line_end = '\r';

struct ByteReader {
    const unsigned char* bytes;
    std::size_t size;
    std::size_t position;
};

bool read_byte(ByteReader& reader, unsigned char& byte) {
    if (reader.position == reader.size) return false;
    byte = reader.bytes[reader.position++];
    return true;
}

// Appends one byte of a text or line: zero bytes are dropped, bytes past 259 are
// consumed but not kept.
void append_byte(char (&field)[text_size], std::size_t& length, unsigned char byte) {
    if (byte == 0 || length == text_size - 1) return;
    field[length++] = static_cast<char>(byte);
}

// A text runs up to the next '|', which is consumed; false when the data ends first.
bool read_text(ByteReader& reader, char (&field)[text_size]) {
    std::size_t length = 0;
    unsigned char byte = 0;
    for (;;) {
        if (!read_byte(reader, byte)) return false;
        if (byte == text_end) break;
        append_byte(field, length, byte);
    }
    field[length] = '\0';
    return true;
}

// A line runs up to the next carriage return; it and the byte after it (the line
// feed) are skipped. The last line may end with the data instead; false when no
// byte of a line is left.
bool read_line(ByteReader& reader, char (&field)[text_size]) {
    if (reader.position == reader.size) return false;
    std::size_t length = 0;
    unsigned char byte = 0;
    while (read_byte(reader, byte)) {
        if (byte == line_end) {
            if (reader.position < reader.size) ++reader.position;
            break;
        }
        append_byte(field, length, byte);
    }
    field[length] = '\0';
    return true;
}

bool read_question_blocks(ByteReader& reader, QuizContent& quiz) {
    for (int i = 0; i < quiz.question_count; ++i) {
        char answer_1[text_size];
        char answer_2[text_size] = "";
        char question_text[text_size];
        if (!read_text(reader, answer_1)) return false;
        if (quiz.answers_per_question == 2 && !read_text(reader, answer_2)) return false;
        if (!read_text(reader, question_text)) return false;
        const QuestionEntry* previous_tail = quiz.last_question;
        append_question(quiz, answer_1, answer_2, question_text);
        if (quiz.last_question == previous_tail) return false;  // the entry could not be allocated
    }
    return true;
}

bool read_reveal_section(ByteReader& reader, QuizContent& quiz) {
    if (!reveals_text(quiz.reveal_mode)) return true;
    for (int i = 0; i < quiz.question_count; ++i) {
        if (!read_text(reader, question_at(quiz, i)->reveal_text)) return false;
        char ignored[text_size];
        if (quiz.reveal_mode == reveal_text_and_picture && !read_text(reader, ignored)) return false;
    }
    return true;
}

bool read_quiz(ByteReader& reader, QuizContent& quiz) {
    unsigned char ignored = 0, kind = 0, count = 0, boxes = 0, reveal = 0;
    if (!read_byte(reader, ignored) || !read_byte(reader, kind) || !read_byte(reader, count) ||
        !read_byte(reader, boxes))
        return false;
    if (count > max_questions) return false;
    quiz.quiz_kind = kind - 1;
    quiz.question_count = count;
    quiz.answers_per_question = boxes;
    if (!read_text(reader, quiz.title) || !read_text(reader, quiz.creator) ||
        !read_text(reader, quiz.explanations) || !read_text(reader, quiz.answer_label_1) ||
        !read_text(reader, quiz.answer_label_2))
        return false;
    if (!read_question_blocks(reader, quiz) || !read_byte(reader, reveal)) return false;
    quiz.reveal_mode = reveal;
    return read_reveal_section(reader, quiz) && read_byte(reader, quiz.colour_red) &&
           read_byte(reader, quiz.colour_green) && read_byte(reader, quiz.colour_blue);
}

}  // namespace

bool parse_quiz_stream(const unsigned char* bytes, std::size_t size, QuizContent& quiz) {
    QuizContent parsed;
    ByteReader reader = {bytes, size, 0};
    if (!read_quiz(reader, parsed)) return false;
    // The codes come from the other stream: they stay as they are.
    std::memcpy(parsed.codes, quiz.codes, sizeof parsed.codes);
    quiz = std::move(parsed);
    return true;
}

bool parse_codes_stream(const unsigned char* bytes, std::size_t size, int question_count,
                        char (&codes)[max_questions][text_size]) {
    if (question_count < 0 || question_count > max_questions) return false;
    char parsed[max_questions][text_size];
    ByteReader reader = {bytes, size, 0};
    for (int i = 0; i < question_count; ++i)
        if (!read_line(reader, parsed[i])) return false;
    std::memcpy(codes, parsed, sizeof parsed[0] * static_cast<std::size_t>(question_count));
    return true;
}

bool parse_grading_stream(const unsigned char* bytes, std::size_t size, QuizContent& quiz) {
    ByteReader reader = {bytes, size, 0};
    unsigned char version = 0, mode = 0, count = 0, boxes = 0;
    if (!read_byte(reader, version) || !read_byte(reader, mode) || !read_byte(reader, count) ||
        !read_byte(reader, boxes))
        return false;
    if (version != grading_stream_version || mode >= grading_mode_count || count != quiz.question_count ||
        count != entry_count(quiz) || boxes != quiz.answers_per_question || boxes < 1 || boxes > 2)
        return false;
    std::vector<std::vector<std::string>> parsed(static_cast<std::size_t>(count) * boxes);
    for (std::vector<std::string>& variants : parsed) {
        unsigned char variant_count = 0;
        if (!read_byte(reader, variant_count) || variant_count > max_variants) return false;
        for (int k = 0; k < variant_count; ++k) {
            char text[text_size];
            if (!read_text(reader, text)) return false;
            variants.emplace_back(text);
        }
    }
    quiz.grading_mode = mode;
    std::size_t next = 0;
    for (int i = 0; i < count; ++i) {
        QuestionEntry* entry = question_at(quiz, i);
        for (int box = 0; box < boxes; ++box) entry->variants[box] = std::move(parsed[next++]);
    }
    return true;
}
