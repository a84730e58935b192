#include "quiz_data/stream_writer.h"

#include <algorithm>

#include "quiz_data/quiz_stream.h"

namespace {

using Bytes = std::vector<unsigned char>;

void put_field(Bytes& stream, const char (&field)[text_size]) {
    const char* end = std::find(field, field + text_size - 1, '\0');
    stream.insert(stream.end(), field, end);
}

void put_text(Bytes& stream, const char (&field)[text_size]) {
    put_field(stream, field);
    stream.push_back('|');
}

int written_question_count(const QuizContent& quiz) {
    return std::clamp(quiz.question_count, 0, max_questions);
}

}  // namespace

// The list holds one entry per question on the authoring side.
Bytes write_quiz_stream(const QuizContent& quiz) {
    Bytes stream;
    stream.push_back(0);
    stream.push_back(static_cast<unsigned char>(quiz.quiz_kind + 1));
    stream.push_back(static_cast<unsigned char>(quiz.question_count));
    stream.push_back(static_cast<unsigned char>(quiz.answers_per_question));
    put_text(stream, quiz.title);
    put_text(stream, quiz.creator);
    put_text(stream, quiz.explanations);
    put_text(stream, quiz.answer_label_1);
    put_text(stream, quiz.answer_label_2);

    const int count = written_question_count(quiz);
    const QuestionEntry* entry = quiz.first_question.get();
    for (int i = 0; i < count && entry; ++i, entry = entry->next.get()) {
        put_text(stream, entry->answer_1);
        if (quiz.answers_per_question == 2) put_text(stream, entry->answer_2);
        put_text(stream, entry->question_text);
    }

    stream.push_back(static_cast<unsigned char>(quiz.reveal_mode));
    if (reveals_text(quiz.reveal_mode)) {
        entry = quiz.first_question.get();
        for (int i = 0; i < count && entry; ++i, entry = entry->next.get()) {
            put_text(stream, entry->reveal_text);
            if (quiz.reveal_mode == reveal_text_and_picture) stream.push_back('|');  // empty second text
        }
    }

    stream.push_back(quiz.colour_red);
    stream.push_back(quiz.colour_green);
    stream.push_back(quiz.colour_blue);
    return stream;
}

Bytes write_codes_stream(const QuizContent& quiz) {
    Bytes stream;
    const int count = written_question_count(quiz);
    for (int i = 0; i < count; ++i) {
        put_field(stream, quiz.codes[i]);
        stream.push_back('\r');
        stream.push_back('\n');
    }
    return stream;
}

Bytes write_grading_stream(const QuizContent& quiz) {
    const int count = written_question_count(quiz);
    bool has_variants = false;
    const QuestionEntry* entry = quiz.first_question.get();
    for (int i = 0; i < count && entry; ++i, entry = entry->next.get())
        has_variants = has_variants || !entry->variants[0].empty() || !entry->variants[1].empty();
    if (quiz.grading_mode == grading_exact && !has_variants) return {};

    Bytes stream = {grading_stream_version, static_cast<unsigned char>(quiz.grading_mode),
                    static_cast<unsigned char>(count), static_cast<unsigned char>(quiz.answers_per_question)};
    entry = quiz.first_question.get();
    for (int i = 0; i < count && entry; ++i, entry = entry->next.get()) {
        for (int box = 0; box < quiz.answers_per_question && box < 2; ++box) {
            stream.push_back(static_cast<unsigned char>(entry->variants[box].size()));
            for (const std::string& variant : entry->variants[box]) {
                stream.insert(stream.end(), variant.begin(), variant.end());
                stream.push_back('|');
            }
        }
    }
    return stream;
}
