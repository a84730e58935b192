// The quiz source reader on arbitrary text. Whatever it accepts the player's
// format holds, and it survives the trip the pack tool makes: packed into
// streams that the player's decoder and parser read back, written back as TOML
// and read again, the quiz stays the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "authoring/player_format.h"
#include "authoring/quiz_source.h"
#include "authoring/source_writer.h"
#include "quiz_data/quiz_stream.h"
#include "quiz_data/stream_decoder.h"
#include "tests/support/quiz_difference.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

// Packs a quiz read without error: only a stream over 65535 bytes is refused.
bool pack_or_overflow(const QuizModel& quiz, PlayerQuiz& packed) {
    Diagnostics diagnostics;
    if (pack_quiz(quiz, "quiz.toml", std::vector<QuestionData>(quiz.questions.size()), packed, diagnostics))
        return true;
    check(diagnostics.size() == 1 && diagnostics[0].message.english.find("over the 65535") != std::string::npos);
    return false;
}

void check_streams(const PlayerQuiz& packed) {
    DecodedStream quiz_stream, codes_stream;
    const std::vector<PackedResource>& resources = packed.resources;
    check(decode_stream(resources[0].bytes.data(), resources[0].bytes.size(), quiz_stream) == decode_ok);
    check(decode_stream(resources[1].bytes.data(), resources[1].bytes.size(), codes_stream) == decode_ok);
    QuizContent loaded;
    check(parse_quiz_stream(quiz_stream.bytes.get(), quiz_stream.size, loaded));
    check(parse_codes_stream(codes_stream.bytes.get(), codes_stream.size, loaded.question_count, loaded.codes));
    check(quiz_difference(loaded, packed.content).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    QuizModel quiz;
    Diagnostics diagnostics;
    if (!read_quiz_source(text, "quiz.toml", quiz, diagnostics)) {
        // Every mistake is an error of the source, with its words in both languages.
        check(!diagnostics.empty());
        for (const Diagnostic& found : diagnostics)
            check(found.file == "quiz.toml" && found.severity == Severity::error && !found.message.empty() &&
                  !found.message.french.empty() && found.message.french != found.message.english);
        return 0;
    }
    check(diagnostics.empty());
    // Written back unchanged, a source keeps its bytes.
    const WrittenSource kept = rewrite_quiz_source(text, quiz);
    check(kept.error.empty() && kept.text == text);
    PlayerQuiz packed;
    if (!pack_or_overflow(quiz, packed)) return 0;
    check_streams(packed);

    std::vector<QuestionFiles> files;
    for (const ModelQuestion& question : quiz.questions)
        files.push_back({question.picture, question.media, question.answer_picture});
    Message error;
    const WrittenSource written = write_quiz_source(model_of_packed(packed.content, files, "", error));
    check(error.empty() && written.error.empty());
    QuizModel again;
    check(read_quiz_source(written.text, "quiz.toml", again, diagnostics));
    PlayerQuiz repacked;
    check(pack_or_overflow(again, repacked));
    check(quiz_difference(packed.content, repacked.content).empty());
    for (std::size_t i = 0; i < files.size(); ++i) {
        check(again.questions[i].picture == files[i].picture);
        check(again.questions[i].media == files[i].media);
        check(again.questions[i].answer_picture == files[i].answer_picture);
    }
    return 0;
}
