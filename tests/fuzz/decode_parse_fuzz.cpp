// Arbitrary bytes as a PATCH resource: decode them, then parse what decodes
// both as a quiz stream and as a codes stream.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "quiz_data/quiz_stream.h"
#include "quiz_data/stream_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodedStream decoded;
    if (decode_stream(data, size, decoded) != decode_ok) return 0;
    if (!decoded.bytes || decoded.size > decoded_capacity) std::abort();
    // Reused across inputs: every parse must leave it whole, whether it succeeds or not.
    static QuizContent quiz;
    if (parse_quiz_stream(decoded.bytes.get(), decoded.size, quiz) &&
        entry_count(quiz) != quiz.question_count)
        std::abort();
    parse_codes_stream(decoded.bytes.get(), decoded.size, quiz.question_count, quiz.codes);
    // The grading stream is read only into a quiz whose questions it matches.
    if (!parse_grading_stream(decoded.bytes.get(), decoded.size, quiz)) return 0;
    if (quiz.grading_mode >= grading_mode_count) std::abort();
    for (const QuestionEntry* entry = quiz.first_question.get(); entry; entry = entry->next.get())
        if (entry->variants[0].size() > max_variants || entry->variants[1].size() > max_variants) std::abort();
    return 0;
}
