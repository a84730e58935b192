// The quiz source reader on arbitrary text. Whatever it accepts must survive
// the trip the pack tool makes: written back as TOML and read again, and
// packed into streams that the player's decoder and parser read back, the
// quiz stays the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "authoring/quiz_source.h"
#include "authoring/toml_writer.h"
#include "quiz_data/quiz_stream.h"
#include "quiz_data/stream_decoder.h"
#include "tests/support/quiz_difference.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

void check_streams(const QuizSource& source) {
    std::vector<PackedResource> resources;
    std::string error;
    if (!pack_quiz(source, std::vector<QuestionData>(source.questions.size()), resources, error)) {
        check(error.find("over the 65535") != std::string::npos);
        return;
    }
    DecodedStream quiz_stream, codes_stream;
    check(decode_stream(resources[0].bytes.data(), resources[0].bytes.size(), quiz_stream) == decode_ok);
    check(decode_stream(resources[1].bytes.data(), resources[1].bytes.size(), codes_stream) == decode_ok);
    QuizContent loaded;
    check(parse_quiz_stream(quiz_stream.bytes.get(), quiz_stream.size, loaded));
    check(parse_codes_stream(codes_stream.bytes.get(), codes_stream.size, loaded.question_count, loaded.codes));
    check(quiz_difference(loaded, source.content).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    QuizSource source;
    std::string error;
    if (!read_quiz_source(text, "quiz.toml", "", source, error)) {
        // Every mistake is one line that names the file.
        for (std::size_t start = 0; start != std::string::npos;) {
            check(error.compare(start, 9, "quiz.toml") == 0);
            const std::size_t end = error.find('\n', start);
            start = end == std::string::npos ? end : end + 1;
        }
        return 0;
    }
    check(static_cast<int>(source.questions.size()) == source.content.question_count);
    check(entry_count(source.content) == source.content.question_count);

    std::vector<QuestionFiles> files;
    for (const QuestionSource& question : source.questions) files.push_back(question.files);
    std::string toml;
    check(write_quiz_toml(source.content, files, toml, error));
    QuizSource again;
    check(read_quiz_source(toml, "quiz.toml", "", again, error));
    check(quiz_difference(source.content, again.content).empty());
    for (std::size_t i = 0; i < files.size(); ++i) {
        check(again.questions[i].files.picture == files[i].picture);
        check(again.questions[i].files.media == files[i].media);
        check(again.questions[i].files.answer_picture == files[i].answer_picture);
    }
    check_streams(source);
    return 0;
}
