// The packed quiz's streams: decoder, encoder, parsers and writers, and the
// question list they fill. Random quizzes make the round trip in quiz_source_fuzz.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "quiz_data/stream_encoder.h"
#include "quiz_data/stream_writer.h"
#include "quiz_data/quiz_stream.h"
#include "quiz_data/stream_decoder.h"
#include "tests/support/quiz_difference.h"

namespace {

using namespace std::string_literals;  // "..."s keeps embedded zero bytes
using Bytes = std::vector<unsigned char>;
struct Code {
    uint32_t value;
    int width;
};

// Codes most significant bit first; 9 bits unless a width is given.
Bytes pack(const std::vector<Code>& codes) {
    Bytes packed;
    uint64_t pending = 0;
    int bits = 0;
    for (const Code& code : codes) {
        pending = (pending << code.width) | code.value;
        for (bits += code.width; bits >= 8; bits -= 8) packed.push_back(static_cast<unsigned char>(pending >> (bits - 8)));
        pending &= (uint64_t{1} << bits) - 1;
    }
    if (bits > 0) packed.push_back(static_cast<unsigned char>(pending << (8 - bits)));
    return packed;
}
std::vector<Code> nine(std::initializer_list<uint32_t> values) {
    std::vector<Code> codes;
    for (uint32_t value : values) codes.push_back({value, 9});
    return codes;
}
std::vector<Code> widened(std::vector<Code> codes, int to, std::vector<Code> tail) {
    for (int width = 9; width < to; ++width) codes.push_back({257, width});
    codes.insert(codes.end(), tail.begin(), tail.end());
    return codes;
}

// The decoded text, or "!" and the failure code.
std::string decode(const Bytes& input) {
    DecodedStream output;
    const int result = decode_stream(input.data(), input.size(), output);
    if (result != decode_ok) return "!" + std::to_string(result);
    return std::string(output.bytes.get(), output.bytes.get() + output.size);
}

TEST(StreamDecoder, HandPackedStreams) {
    const std::string invalid = "!" + std::to_string(decode_invalid);
    const struct {
        std::vector<Code> codes;
        std::string text;
    } cases[] = {
        {nine({65, 66, 256}), "AB"},
        {nine({65, 259, 260, 256}), "AAAAAA"},  // codes equal to the next free code
        {nine({256 + 67, 256}), "C"},           // the first code keeps its low eight bits
        {widened(nine({65}), 10, {{66, 10}, {259, 10}, {256, 10}}), "ABAB"},
        {nine({65, 66, 258, 67, 259, 256}), "ABCBC"},  // the string before a reset forms entry 259
        {widened(nine({65}), 10, {{66, 10}, {258, 10}, {66, 9}, {259, 9}, {256, 9}}), "ABBBB"},
        {nine({65, 260, 256}), invalid},               // above the next free code
        {nine({65, 66, 67, 258, 260, 256}), invalid},  // an entry forgotten by the reset
        {nine({65, 66}), invalid},                     // no end code
        {widened(nine({65}), 32, {{256, 32}}), "A"},
        {widened(nine({65}), 33, {{256, 33}}), invalid},
        // Cut inside the end code: the bits left spell 256 of an 11-bit code.
        {widened(nine({65}), 11, {{66, 11}, {256, 9}}), "AB"},
        {widened(nine({65}), 11, {{66, 11}, {257, 9}}), invalid},
    };
    for (const auto& c : cases) EXPECT_EQ(decode(pack(c.codes)), c.text) << &c - cases;
    for (const Bytes& cut : {Bytes{}, Bytes{0x20}})  // no byte, or too few for the first code
        EXPECT_EQ(decode(cut), "!" + std::to_string(decode_truncated_first_code)) << cut.size();
    EXPECT_EQ(decode({0x20, 0x90, 0xA0, 0x1F}), "AB");  // padding bits are ignored
}

TEST(StreamDecoder, Limits) {
    Bytes stream = pack(nine({65, 66, 256}));
    stream.resize(max_encoded_size, 0xFF);
    EXPECT_EQ(decode(stream), "AB");
    stream.push_back(0);
    EXPECT_EQ(decode(stream), "!" + std::to_string(decode_invalid));

    const Bytes text(decoded_capacity + 1, 'A');
    EXPECT_EQ(decode(encode_stream(text.data(), decoded_capacity)), std::string(decoded_capacity, 'A'));
    EXPECT_EQ(decode(encode_stream(text.data(), text.size())), "!" + std::to_string(decode_invalid));

    // 3837 ordinary codes after the first fill entries 259 to 4095; one more needs a reset.
    std::vector<Code> full(1 + dictionary_size - 259, {65, 9});
    full.push_back({256, 9});
    EXPECT_EQ(decode(pack(full)), std::string(full.size() - 1, 'A'));
    full.insert(full.end() - 1, {65, 9});
    EXPECT_EQ(decode(pack(full)), "!" + std::to_string(decode_invalid));
    full.insert(full.end() - 2, {258, 9});
    EXPECT_EQ(decode(pack(full)), std::string(full.size() - 2, 'A'));
}

TEST(StreamEncoder, ExactBitsAndRoundTrips) {
    const std::string ab = "AB";
    EXPECT_EQ(encode_stream(reinterpret_cast<const unsigned char*>(ab.data()), 2), (Bytes{0x20, 0x90, 0xA0, 0x00}));
    // Random bytes over small and large alphabets fill the dictionary and reset it several times.
    std::mt19937 random(11);
    for (unsigned alphabet : {2u, 4u, 256u}) {
        Bytes input(alphabet == 256 ? 45000 : 100000);
        for (unsigned char& byte : input) byte = static_cast<unsigned char>(random() % alphabet);
        const Bytes stream = encode_stream(input.data(), input.size());
        EXPECT_LE(stream.size(), max_encoded_size);
        EXPECT_EQ(decode(stream), std::string(input.begin(), input.end())) << alphabet;
    }
}

TEST(QuizStream, WrittenLayoutParsesBack) {
    QuizContent quiz;
    quiz.quiz_kind = picture_quiz;
    quiz.answers_per_question = 2;
    quiz.reveal_mode = 3;
    copy_text(quiz.title, std::string(text_size, 't').c_str());  // one byte too many
    copy_text(quiz.answer_label_2, "Pr\xE9nom");
    append_question(quiz, "a1", "b1", "q1");
    append_question(quiz, "a2", "", "q2");
    copy_text(quiz.first_question->reveal_text, "r1");
    quiz.colour_red = 1;
    quiz.colour_green = 2;
    quiz.colour_blue = 3;
    copy_text(quiz.codes[0], "UN");
    const Bytes layout = write_quiz_stream(quiz);
    EXPECT_EQ(std::string(layout.begin(), layout.end()), "\x00\x02\x02\x02"s + std::string(259, 't') +
                                                             "| createur|||Pr\xE9nom|a1|b1|q1|a2||q2|\x03r1||||\x01\x02\x03");
    const Bytes codes = write_codes_stream(quiz);
    EXPECT_EQ(std::string(codes.begin(), codes.end()), "UN\r\n\r\n");

    QuizContent parsed;
    ASSERT_TRUE(parse_quiz_stream(layout.data(), layout.size(), parsed));
    ASSERT_TRUE(parse_codes_stream(codes.data(), codes.size(), parsed.question_count, parsed.codes));
    EXPECT_EQ(quiz_difference(quiz, parsed), "");
    // Every cut stream is refused and leaves the record as it was.
    for (std::size_t size = 0; size < layout.size(); size += size < 270 ? 1 : 7) {
        EXPECT_FALSE(parse_quiz_stream(layout.data(), size, parsed)) << size;
        EXPECT_EQ(quiz_difference(quiz, parsed), "") << size;
    }
    quiz.reveal_mode = 2;  // one reveal text per question, as in mode 3
    const Bytes mode_2 = write_quiz_stream(quiz);
    EXPECT_EQ(std::string(mode_2.end() - 15, mode_2.end()), "a2||q2|\x02r1||\x01\x02\x03");
}

TEST(GradingStream, WrittenOnlyWhenNeededAndReadAllOrNothing) {
    QuizContent quiz;
    quiz.answers_per_question = 2;
    append_question(quiz, "a1", "b1", "");
    append_question(quiz, "a2", "b2", "");
    EXPECT_TRUE(write_grading_stream(quiz).empty());  // today's quizzes carry no such stream
    quiz.first_question->variants[1] = {"B1", std::string(300, 'v')};
    const Bytes layout = write_grading_stream(quiz);
    EXPECT_EQ(std::string(layout.begin(), layout.begin() + 12), "\x01\x00\x02\x02\x00\x02" "B1|vvv"s);
    quiz.first_question->variants[1][1].resize(259);  // read back cut, as every text

    QuizContent parsed;
    append_question(parsed, "a1", "b1", "");
    append_question(parsed, "a2", "b2", "");
    parsed.answers_per_question = 2;
    ASSERT_TRUE(parse_grading_stream(layout.data(), layout.size(), parsed));
    EXPECT_EQ(quiz_difference(quiz, parsed), "");
    quiz.grading_mode = grading_lenient;
    quiz.first_question->variants[1].clear();
    EXPECT_EQ(write_grading_stream(quiz), (Bytes{1, 1, 2, 2, 0, 0, 0, 0}));  // lenient alone needs it too

    // Refused whole, the quiz untouched: a cut stream, another version, mode,
    // question or box count, more variants than a box may have.
    const auto refused = [](Bytes stream) {
        QuizContent target;
        target.answers_per_question = 2;
        append_question(target, "a1", "b1", "");
        append_question(target, "a2", "b2", "");
        return !parse_grading_stream(stream.data(), stream.size(), target) &&
               target.first_question->variants[1].empty() && target.grading_mode == grading_exact;
    };
    for (std::size_t size = 0; size < layout.size(); ++size)
        EXPECT_TRUE(refused(Bytes(layout.begin(), layout.begin() + static_cast<long>(size)))) << size;
    for (std::size_t at : {0, 1, 2, 3}) {
        Bytes changed = layout;
        changed[at] = at == 1 ? 2 : changed[at] + 1;
        EXPECT_TRUE(refused(changed)) << at;
    }
    Bytes nine = {1, 0, 2, 2, 0, 9};
    for (int k = 0; k < 9; ++k) nine.insert(nine.end(), {'v', '|'});
    nine.insert(nine.end(), {0, 0});
    EXPECT_TRUE(refused(nine));
}

TEST(QuizStream, ParserRules) {
    const auto parse = [](const std::string& stream, QuizContent& quiz) {
        return parse_quiz_stream(reinterpret_cast<const unsigned char*>(stream.data()), stream.size(), quiz);
    };
    const std::string header = "\x00\x04\x02\x01T|C|E|L1|L2|"s;  // kind byte 4: a video quiz
    QuizContent quiz;
    ASSERT_TRUE(parse(header + "a\x00" "1|q1|a2|q2|\x02r1|r2|\x0A\x0B\x0Cmore"s, quiz));
    EXPECT_EQ(quiz.quiz_kind, video_quiz);
    EXPECT_STREQ(question_at(quiz, 0)->answer_1, "a1");  // zero bytes dropped
    EXPECT_STREQ(question_at(quiz, 1)->reveal_text, "r2");
    EXPECT_EQ(quiz.colour_blue, 0x0C);
    ASSERT_TRUE(parse(header + "a1|q1|a2|q2|\x04\x0A\x0B\x0C"s, quiz));  // mode 4: no section
    EXPECT_STREQ(question_at(quiz, 1)->reveal_text, "");
    EXPECT_EQ(quiz.colour_red, 0x0A);
    ASSERT_TRUE(parse("\x00\x02\x01\x03T|C|E|L1|L2|a|q|\x00\x01\x02\x03"s, quiz));  // three boxes count as one
    EXPECT_STREQ(question_at(quiz, 0)->question_text, "q");

    QuizContent largest;  // the most questions a stream holds are written and read back; one more is refused
    largest.question_count = max_questions;
    for (int i = 0; i < max_questions; ++i) append_question(largest, "a", "", "q");
    const Bytes written = write_quiz_stream(largest);
    std::string many(written.begin(), written.end());
    ASSERT_TRUE(parse(many, quiz));
    EXPECT_EQ(entry_count(quiz), max_questions);
    many[2] = max_questions + 1;
    EXPECT_FALSE(parse(many.insert(many.size() - 4, "a|q|"), quiz));

    char codes[max_questions][text_size] = {};
    const std::string lines = "\r\nDE\0UX\rXA\nB\r\nQUATRE"s;
    const auto* bytes = reinterpret_cast<const unsigned char*>(lines.data());
    ASSERT_TRUE(parse_codes_stream(bytes, lines.size(), 4, codes));
    EXPECT_STREQ(codes[0], "");  // a leading CR: an empty code
    EXPECT_STREQ(codes[1], "DEUX");  // zero bytes dropped
    EXPECT_STREQ(codes[2], "A\nB");  // any byte after the CR is skipped, a lone LF kept
    EXPECT_STREQ(codes[3], "QUATRE");
    EXPECT_FALSE(parse_codes_stream(bytes, lines.size(), 5, codes));
    std::string too_many;
    for (int i = 0; i <= max_questions; ++i) too_many += "X\r\n";
    EXPECT_FALSE(parse_codes_stream(reinterpret_cast<const unsigned char*>(too_many.data()), too_many.size(),
                                    max_questions + 1, codes));
    EXPECT_STREQ(codes[3], "QUATRE");  // refusals change nothing
}

}  // namespace
