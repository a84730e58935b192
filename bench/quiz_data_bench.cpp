#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "quiz_data/stream_encoder.h"
#include "quiz_data/stream_writer.h"
#include "quiz_data/quiz_stream.h"
#include "quiz_data/stream_decoder.h"

namespace {

using Bytes = std::vector<unsigned char>;

// The largest stream the decoder takes: the longest prefix of random bytes whose
// encoding still fits 65535 bytes (random bytes grow when encoded, so the decoded
// side stays well under its 120000).
Bytes largest_stream() {
    std::mt19937 random(1);
    Bytes text(decoded_capacity);
    for (unsigned char& byte : text) byte = static_cast<unsigned char>(random());
    std::size_t fits = 1, too_long = text.size();
    while (too_long - fits > 1) {
        const std::size_t middle = (fits + too_long) / 2;
        if (encode_stream(text.data(), middle).size() <= max_encoded_size)
            fits = middle;
        else
            too_long = middle;
    }
    return encode_stream(text.data(), fits);
}

void fill_text(std::mt19937& random, char (&field)[text_size]) {
    const std::size_t length = 240 + random() % 20;
    for (std::size_t i = 0; i < length; ++i) field[i] = static_cast<char>('a' + random() % 26);
    field[length] = '\0';
}

// 96 questions with two boxes, reveal mode 3 and texts of 240 to 259 bytes.
Bytes largest_quiz_layout() {
    std::mt19937 random(2);
    QuizContent quiz;
    quiz.quiz_kind = picture_quiz;
    quiz.question_count = max_questions;
    quiz.answers_per_question = 2;
    quiz.reveal_mode = 3;
    fill_text(random, quiz.title);
    fill_text(random, quiz.creator);
    fill_text(random, quiz.explanations);
    fill_text(random, quiz.answer_label_1);
    fill_text(random, quiz.answer_label_2);
    for (int i = 0; i < max_questions; ++i) {
        char answer_1[text_size], answer_2[text_size], question_text[text_size];
        fill_text(random, answer_1);
        fill_text(random, answer_2);
        fill_text(random, question_text);
        append_question(quiz, answer_1, answer_2, question_text);
        fill_text(random, quiz.last_question->reveal_text);
    }
    return write_quiz_stream(quiz);
}

void BM_DecodeLargestStream(benchmark::State& state) {
    const Bytes stream = largest_stream();
    DecodedStream decoded;
    for (auto _ : state) {
        if (decode_stream(stream.data(), stream.size(), decoded) != decode_ok)
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(decoded.bytes.get());
    }
    state.counters["encoded_bytes"] = static_cast<double>(stream.size());
    state.counters["decoded_bytes"] = static_cast<double>(decoded.size);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * decoded.size));
}
BENCHMARK(BM_DecodeLargestStream);

void BM_ParseLargestQuiz(benchmark::State& state) {
    const Bytes layout = largest_quiz_layout();
    for (auto _ : state) {
        QuizContent quiz;
        if (!parse_quiz_stream(layout.data(), layout.size(), quiz)) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(quiz.last_question);
    }
    state.counters["layout_bytes"] = static_cast<double>(layout.size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * layout.size()));
}
BENCHMARK(BM_ParseLargestQuiz);

void BM_EncodeLargestQuiz(benchmark::State& state) {
    const Bytes layout = largest_quiz_layout();
    std::size_t encoded_size = 0;
    for (auto _ : state) {
        const Bytes stream = encode_stream(layout.data(), layout.size());
        encoded_size = stream.size();
        benchmark::DoNotOptimize(stream.data());
    }
    state.counters["layout_bytes"] = static_cast<double>(layout.size());
    state.counters["encoded_bytes"] = static_cast<double>(encoded_size);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * layout.size()));
}
BENCHMARK(BM_EncodeLargestQuiz);

}  // namespace
