#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "authoring/stream_encoder.h"
#include "authoring/stream_writer.h"
#include "quiz_data/quiz_stream.h"
#include "quiz_data/stream_decoder.h"

namespace {

using Bytes = std::vector<unsigned char>;

// What a walk over an encoded stream's codes finds. A well-formed stream widens
// only before a code that needs it, keeps every code below 4096 and at most the
// next free code, ends with 256 and pads with zero bits.
struct StreamShape {
    bool well_formed = true;
    std::string fault;
    int resets = 0;
    int widest = 9;
    std::size_t codes = 0;
};

StreamShape walk_codes(const Bytes& stream) {
    StreamShape shape;
    std::size_t bit = 0;
    auto read = [&](int width) {
        uint32_t code = 0;
        for (int i = 0; i < width; ++i, ++bit) {
            const unsigned byte = bit / 8 < stream.size() ? stream[bit / 8] : 0;
            code = (code << 1) | ((byte >> (7 - bit % 8)) & 1);
        }
        return code;
    };
    auto fail = [&](const std::string& fault) {
        shape.well_formed = false;
        shape.fault = fault + " at code " + std::to_string(shape.codes);
        return shape;
    };
    int width = 9;
    uint32_t next_free = 259;
    bool first = true;
    int widened_before = 0;  // width before the pending run of 257 codes, or 0
    for (;;) {
        if (bit + width > stream.size() * 8) return fail("stream ends without 256");
        const uint32_t code = read(width);
        ++shape.codes;
        if (code == 257) {
            if (widened_before == 0) widened_before = width;
            ++width;
            if (width > 12) return fail("width above 12");
            shape.widest = std::max(shape.widest, width);
            continue;
        }
        if (widened_before != 0 && code >> widened_before == 0) return fail("needless widen");
        widened_before = 0;
        if (code == 256) break;
        if (code == 258) {
            ++shape.resets;
            width = 9;
            next_free = 259;
            continue;
        }
        if (first) {
            if (code > 255) return fail("first code not a byte");
            first = false;
            continue;
        }
        if (code > next_free || next_free >= 4096) return fail("code beyond the dictionary");
        ++next_free;
    }
    if ((bit + 7) / 8 != stream.size()) return fail("bytes after the end code");
    while (bit % 8 != 0)
        if (read(1) != 0) return fail("padding bit set");
    return shape;
}

Bytes decode(const Bytes& stream, int& result) {
    DecodedStream output;
    result = decode_stream(stream.data(), stream.size(), output);
    if (result != decode_ok) return {};
    return Bytes(output.bytes.get(), output.bytes.get() + output.size);
}

// Encodes, checks the stream's shape and decodes it back.
void expect_round_trip(const Bytes& input, int minimum_resets) {
    const Bytes stream = encode_stream(input.data(), input.size());
    ASSERT_LE(stream.size(), max_encoded_size);
    const StreamShape shape = walk_codes(stream);
    EXPECT_TRUE(shape.well_formed) << shape.fault;
    EXPECT_GE(shape.resets, minimum_resets);
    int result = 0;
    const Bytes decoded = decode(stream, result);
    ASSERT_EQ(result, decode_ok);
    EXPECT_TRUE(decoded == input) << "decoded " << decoded.size() << " bytes of " << input.size();
}

Bytes random_bytes(std::mt19937& random, std::size_t size, unsigned alphabet) {
    Bytes bytes(size);
    for (unsigned char& byte : bytes) byte = static_cast<unsigned char>(random() % alphabet);
    return bytes;
}

// Runs of one byte, of random lengths: strings repeat and some codes equal the next free one.
Bytes runs(std::mt19937& random, std::size_t size) {
    Bytes bytes;
    while (bytes.size() < size)
        bytes.insert(bytes.end(), 1 + random() % 40, static_cast<unsigned char>(random()));
    bytes.resize(size);
    return bytes;
}

TEST(StreamEncoder, ExactBits) {
    const struct {
        const char* input;
        Bytes stream;
    } cases[] = {
        {"AB", {0x20, 0x90, 0xA0, 0x00}},
        // 65, 259, 256 at nine bits: 0 0100 0001  1 0000 0011  1 0000 0000, five zero bits.
        {"AAA", {0x20, 0xC0, 0xE0, 0x00}},
        // 65 then 256: eighteen bits, six zero bits of padding.
        {"A", {0x20, 0xC0, 0x00}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const std::string input = c.input;
        EXPECT_EQ(encode_stream(reinterpret_cast<const unsigned char*>(input.data()), input.size()),
                  c.stream);
    }
    EXPECT_TRUE(encode_stream(nullptr, 0).empty());
}

TEST(StreamEncoder, RoundTripOfEveryShortInput) {
    std::mt19937 random(7);
    for (std::size_t size = 1; size <= 600; ++size) {
        SCOPED_TRACE(size);
        expect_round_trip(random_bytes(random, size, 256), 0);
        expect_round_trip(random_bytes(random, size, 2), 0);
        expect_round_trip(runs(random, size), 0);
    }
}

TEST(StreamEncoder, RoundTripOfLongInputs) {
    std::mt19937 random(11);
    const struct {
        const char* name;
        Bytes input;
        int minimum_resets;
    } cases[] = {
        // Random bytes grow by about a third when encoded: 45000 of them still fit one stream.
        {"random bytes", random_bytes(random, 45000, 256), 10},
        {"random over four letters", random_bytes(random, 100000, 4), 4},
        {"runs", runs(random, 100000), 3},
        {"one byte repeated", Bytes(100000, 'z'), 0},
        {"counting bytes",
         [] {
             Bytes bytes(100000);
             for (std::size_t i = 0; i < bytes.size(); ++i)
                 bytes[i] = static_cast<unsigned char>(i * 7 + i / 251);
             return bytes;
         }(),
         3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expect_round_trip(c.input, c.minimum_resets);
    }
}

// After a reset the pending entry keeps its number but its prefix string is gone
// from the dictionary; small alphabets reuse codes enough that an encoder which
// still let it be found would emit it for the wrong string.
TEST(StreamEncoder, RoundTripOverSmallAlphabets) {
    for (unsigned alphabet : {2u, 3u, 4u, 8u, 16u}) {
        for (unsigned seed = 0; seed < 8; ++seed) {
            SCOPED_TRACE(testing::Message() << "alphabet " << alphabet << ", seed " << seed);
            std::mt19937 random(seed);
            expect_round_trip(random_bytes(random, 100000, alphabet), 2);
        }
    }
}

// Cuts a random input at every length around its first resets, so a reset falls
// on the last code, just before it, and right after it.
TEST(StreamEncoder, RoundTripAroundResets) {
    std::mt19937 random(13);
    const Bytes generated[] = {random_bytes(random, 12000, 256), runs(random, 60000)};
    for (const Bytes& input : generated) {
        std::size_t first_reset = 0;
        for (std::size_t size = 1000; size <= input.size(); size += 200) {
            const Bytes stream = encode_stream(input.data(), size);
            if (walk_codes(stream).resets > 0) {
                first_reset = size;
                break;
            }
        }
        ASSERT_NE(first_reset, 0u);
        for (std::size_t size = first_reset - 260; size <= first_reset + 60; ++size) {
            SCOPED_TRACE(size);
            expect_round_trip(Bytes(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(size)), 0);
        }
    }
}

// Windows-1252 text bytes: anything but zero, '|' and, for codes, the carriage return.
void random_text(std::mt19937& random, char (&field)[text_size], bool code) {
    std::size_t length = 0;
    switch (random() % 4) {
        case 0:
            length = 0;
            break;
        case 1:
            length = text_size - 1;
            break;
        default:
            length = random() % text_size;
            break;
    }
    for (std::size_t i = 0; i < length; ++i) {
        unsigned char byte = 0;
        do byte = static_cast<unsigned char>(1 + random() % 255);
        while (byte == '|' || (code && byte == '\r'));
        field[i] = static_cast<char>(byte);
    }
    field[length] = '\0';
}

void random_quiz(std::mt19937& random, QuizContent& quiz) {
    quiz.quiz_kind = static_cast<int>(random() % 4);
    quiz.answers_per_question = quiz.quiz_kind == text_quiz ? 1 : 1 + static_cast<int>(random() % 2);
    quiz.reveal_mode = static_cast<int>(random() % 4);
    // Mostly small quizzes, so 500 of them stay quick, and every size up to 96 now and then.
    quiz.question_count = 1 + static_cast<int>(random() % 8 == 0 ? random() % max_questions : random() % 6);
    random_text(random, quiz.title, false);
    random_text(random, quiz.creator, false);
    random_text(random, quiz.explanations, false);
    random_text(random, quiz.answer_label_1, false);
    random_text(random, quiz.answer_label_2, false);
    for (int i = 0; i < quiz.question_count; ++i) {
        char answer_1[text_size], answer_2[text_size] = "", question_text[text_size];
        random_text(random, answer_1, false);
        if (quiz.answers_per_question == 2) random_text(random, answer_2, false);
        random_text(random, question_text, false);
        append_question(quiz, answer_1, answer_2, question_text);
        if (quiz.reveal_mode >= 2) random_text(random, quiz.last_question->reveal_text, false);
        random_text(random, quiz.codes[i], true);
    }
    quiz.colour_red = static_cast<uint8_t>(random());
    quiz.colour_green = static_cast<uint8_t>(random());
    quiz.colour_blue = static_cast<uint8_t>(random());
}

void expect_same_quiz(const QuizContent& expected, const QuizContent& actual) {
    EXPECT_EQ(actual.quiz_kind, expected.quiz_kind);
    EXPECT_STREQ(actual.title, expected.title);
    EXPECT_STREQ(actual.creator, expected.creator);
    EXPECT_STREQ(actual.explanations, expected.explanations);
    EXPECT_STREQ(actual.answer_label_1, expected.answer_label_1);
    EXPECT_STREQ(actual.answer_label_2, expected.answer_label_2);
    EXPECT_EQ(actual.question_count, expected.question_count);
    EXPECT_EQ(actual.answers_per_question, expected.answers_per_question);
    EXPECT_EQ(actual.reveal_mode, expected.reveal_mode);
    EXPECT_EQ(actual.colour_red, expected.colour_red);
    EXPECT_EQ(actual.colour_green, expected.colour_green);
    EXPECT_EQ(actual.colour_blue, expected.colour_blue);
    ASSERT_EQ(entry_count(actual), expected.question_count);
    const QuestionEntry* want = expected.first_question.get();
    const QuestionEntry* got = actual.first_question.get();
    for (int i = 0; want && got; ++i, want = want->next.get(), got = got->next.get()) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(got->answer_1, want->answer_1);
        EXPECT_STREQ(got->answer_2, want->answer_2);
        EXPECT_STREQ(got->question_text, want->question_text);
        EXPECT_STREQ(got->reveal_text, want->reveal_text);
        EXPECT_STREQ(actual.codes[i], expected.codes[i]);
    }
}

Bytes encode_and_decode(const Bytes& layout) {
    int result = 0;
    const Bytes decoded = decode(encode_stream(layout.data(), layout.size()), result);
    EXPECT_EQ(result, decode_ok);
    return decoded;
}

TEST(StreamRoundTrip, GeneratedQuizzes) {
    std::mt19937 random(2024);
    for (int round = 0; round < 500; ++round) {
        SCOPED_TRACE(round);
        QuizContent source;
        random_quiz(random, source);
        const Bytes quiz_stream = encode_and_decode(write_quiz_stream(source));
        const Bytes codes_stream = encode_and_decode(write_codes_stream(source));
        QuizContent loaded;
        ASSERT_TRUE(parse_quiz_stream(quiz_stream.data(), quiz_stream.size(), loaded));
        ASSERT_TRUE(parse_codes_stream(codes_stream.data(), codes_stream.size(), loaded.question_count,
                                       loaded.codes));
        expect_same_quiz(source, loaded);
    }
}

// The bytes of a literal, embedded zero bytes included.
template <std::size_t size>
Bytes layout(const char (&text)[size]) {
    return Bytes(text, text + size - 1);
}

TEST(StreamWriter, Layouts) {
    QuizContent quiz;
    quiz.quiz_kind = picture_quiz;
    quiz.question_count = 2;
    quiz.answers_per_question = 2;
    quiz.reveal_mode = 3;
    copy_text(quiz.title, "Titre");
    copy_text(quiz.creator, "Moi");
    copy_text(quiz.answer_label_2, "Prénom");
    append_question(quiz, "a1", "b1", "q1");
    append_question(quiz, "a2", "", "q2");
    copy_text(quiz.first_question->reveal_text, "r1");
    quiz.colour_red = 1;
    quiz.colour_green = 2;
    quiz.colour_blue = 3;
    copy_text(quiz.codes[0], "UN");
    copy_text(quiz.codes[2], "jamais écrit");
    EXPECT_EQ(write_quiz_stream(quiz),
              layout("\x00\x02\x02\x02Titre|Moi|||Prénom|a1|b1|q1|a2||q2|\x03r1||||\x01\x02\x03"));
    EXPECT_EQ(write_codes_stream(quiz), layout("UN\r\n\r\n"));

    // One box: no second answer; reveal mode 2: one text each; 1: no section.
    quiz.answers_per_question = 1;
    quiz.reveal_mode = 2;
    EXPECT_EQ(write_quiz_stream(quiz),
              layout("\x00\x02\x02\x01Titre|Moi|||Prénom|a1|q1|a2|q2|\x02r1||\x01\x02\x03"));
    quiz.reveal_mode = 1;
    EXPECT_EQ(write_quiz_stream(quiz),
              layout("\x00\x02\x02\x01Titre|Moi|||Prénom|a1|q1|a2|q2|\x01\x01\x02\x03"));
}

}  // namespace
