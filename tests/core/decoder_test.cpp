#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "authoring/stream_encoder.h"
#include "quiz_data/stream_decoder.h"

namespace {

using Bytes = std::vector<unsigned char>;

struct Code {
    uint32_t value;
    int width;
};

// Packs codes most significant bit first; the last byte is padded with zero bits.
Bytes pack(const std::vector<Code>& codes) {
    Bytes packed;
    uint64_t pending = 0;
    int pending_bits = 0;
    for (const Code& code : codes) {
        pending = (pending << code.width) | code.value;
        pending_bits += code.width;
        while (pending_bits >= 8) {
            pending_bits -= 8;
            packed.push_back(static_cast<unsigned char>(pending >> pending_bits));
        }
        pending &= (uint64_t{1} << pending_bits) - 1;
    }
    if (pending_bits > 0) packed.push_back(static_cast<unsigned char>(pending << (8 - pending_bits)));
    return packed;
}

std::vector<Code> nine_bit(const std::vector<uint32_t>& values) {
    std::vector<Code> codes;
    for (uint32_t value : values) codes.push_back({value, 9});
    return codes;
}

// Codes 257 from width `from` until width `to`, each at the width it is read with.
std::vector<Code> widen(int from, int to) {
    std::vector<Code> codes;
    for (int width = from; width < to; ++width) codes.push_back({257, width});
    return codes;
}

std::vector<Code> join(std::vector<std::vector<Code>> parts) {
    std::vector<Code> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

struct Decoded {
    int result;
    std::string text;
};

Decoded decode(const Bytes& input) {
    DecodedStream output;
    const int result = decode_stream(input.data(), input.size(), output);
    if (result != decode_ok) {
        EXPECT_EQ(output.bytes, nullptr);
        EXPECT_EQ(output.size, 0u);
        return {result, ""};
    }
    EXPECT_NE(output.bytes, nullptr);
    EXPECT_LE(output.size, decoded_capacity);
    EXPECT_FALSE(output.output_allocation_failed);
    return {result, std::string(output.bytes.get(), output.bytes.get() + output.size)};
}

TEST(StreamDecoder, FourByteStreamDecodesToAB) {
    const Bytes stream = {0x20, 0x90, 0xA0, 0x00};
    EXPECT_EQ(pack(nine_bit({65, 66, 256})), stream);
    const Decoded decoded = decode(stream);
    EXPECT_EQ(decoded.result, decode_ok);
    EXPECT_EQ(decoded.text, "AB");
}

struct StreamCase {
    const char* name;
    std::vector<Code> codes;
    int result;
    const char* text;
};

TEST(StreamDecoder, HandPackedStreams) {
    const StreamCase cases[] = {
        {"code equal to the next free code", nine_bit({65, 259, 256}), decode_ok, "AAA"},
        {"entry built from the next code", nine_bit({65, 66, 259, 256}), decode_ok, "ABAB"},
        {"chain of codes equal to the next free code", nine_bit({65, 259, 260, 256}), decode_ok, "AAAAAA"},
        {"first code keeps its low eight bits", nine_bit({256 + 67, 256}), decode_ok, "C"},
        {"widened codes", join({nine_bit({65}), widen(9, 10), {{66, 10}, {259, 10}, {256, 10}}}), decode_ok,
         "ABAB"},
        // Reset: width back to 9, entry 259 rebuilt from the string decoded before the reset.
        {"widen then reset",
         join({nine_bit({65}), widen(9, 10), {{66, 10}, {258, 10}}, nine_bit({66, 259, 256})}), decode_ok,
         "ABBBB"},
        {"string before the reset forms entry 259", nine_bit({65, 66, 258, 67, 259, 256}), decode_ok,
         "ABCBC"},
        {"code equal to 259 right after a reset", nine_bit({65, 66, 258, 259, 256}), decode_ok, "ABBB"},
        {"widen after a reset", join({nine_bit({65, 258}), widen(9, 11), {{66, 11}, {256, 11}}}), decode_ok,
         "AB"},
        {"code above the next free code", nine_bit({65, 260, 256}), decode_invalid, ""},
        {"code above the next free code after entries", nine_bit({65, 66, 261, 256}), decode_invalid, ""},
        {"entry code forgotten by a reset", nine_bit({65, 66, 67, 258, 260, 256}), decode_invalid, ""},
        {"no end code", nine_bit({65, 66}), decode_invalid, ""},
        {"only the first code", nine_bit({65}), decode_invalid, ""},
        // 23 widens reach 32 bits, still accepted; one more is refused.
        {"32-bit codes", join({nine_bit({65}), widen(9, 32), {{256, 32}}}), decode_ok, "A"},
        {"33-bit codes", join({nine_bit({65}), widen(9, 33), {{256, 33}}}), decode_invalid, ""},
        // 39 bits leave one bit in the reservoir: 1 then 0x00 is the partial value 256 of an 11-bit code.
        {"cut inside the end code", join({nine_bit({65}), {{257, 9}, {257, 10}, {66, 11}, {256, 9}}}),
         decode_ok, "AB"},
        {"cut inside another code", join({nine_bit({65}), {{257, 9}, {257, 10}, {66, 11}, {257, 9}}}),
         decode_invalid, ""},
    };
    for (const StreamCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded decoded = decode(pack(c.codes));
        EXPECT_EQ(decoded.result, c.result);
        EXPECT_EQ(decoded.text, c.text);
    }
}

TEST(StreamDecoder, InputEndingBeforeTheFirstCode) {
    const Bytes cases[] = {{}, {0x20}, {0xFF}};
    for (const Bytes& input : cases) {
        SCOPED_TRACE(input.size());
        EXPECT_EQ(decode(input).result, decode_truncated_first_code);
    }
}

TEST(StreamDecoder, PaddingBitsAreIgnored) {
    // 27 bits of codes: the low five bits of the last byte are padding.
    for (unsigned padding = 0; padding < 32; ++padding) {
        SCOPED_TRACE(padding);
        const Decoded decoded = decode({0x20, 0x90, 0xA0, static_cast<unsigned char>(padding)});
        EXPECT_EQ(decoded.result, decode_ok);
        EXPECT_EQ(decoded.text, "AB");
    }
}

TEST(StreamDecoder, InputSizeLimit) {
    Bytes stream = pack(nine_bit({65, 66, 256}));
    stream.resize(max_encoded_size, 0xFF);
    EXPECT_EQ(decode(stream).text, "AB");
    stream.push_back(0);
    EXPECT_EQ(decode(stream).result, decode_invalid);
}

TEST(StreamDecoder, OutputOfExactlyTheCapacity) {
    Bytes text(decoded_capacity + 1);
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<unsigned char>('A' + i % 10);
    const Bytes fits = encode_stream(text.data(), decoded_capacity);
    const Decoded decoded = decode(fits);
    ASSERT_EQ(decoded.result, decode_ok);
    EXPECT_EQ(decoded.text, std::string(text.begin(), text.end() - 1));
    EXPECT_EQ(decode(encode_stream(text.data(), text.size())).result, decode_invalid);
}

// The first code 65, then `count` codes each equal to the next free code: the
// i-th writes i bytes and leaves a current string of i + 1 bytes.
std::vector<Code> growing_chain(uint32_t count) {
    std::vector<Code> codes = {{65, 9}};
    int width = 9;
    for (uint32_t code = 259; code < 259 + count; ++code) {
        while (code >> width != 0) codes.push_back({257, width++});
        codes.push_back({code, width});
    }
    codes.push_back({256, width});
    return codes;
}

TEST(StreamDecoder, OutputLimitOnAnOrdinaryCode) {
    // 488 codes and the end code write 1 + 2 + ... + 489 = 119805 bytes. After 489
    // codes the end code has 490 bytes to write, 295 too many; a 490th code overflows itself.
    const Decoded decoded = decode(pack(growing_chain(488)));
    EXPECT_EQ(decoded.result, decode_ok);
    EXPECT_EQ(decoded.text, std::string(119805, 'A'));
    EXPECT_EQ(decode(pack(growing_chain(489))).result, decode_invalid);
    EXPECT_EQ(decode(pack(growing_chain(490))).result, decode_invalid);
}

TEST(StreamDecoder, DictionaryEndsAtEntry4095) {
    // 3837 ordinary codes after the first fill entries 259 to 4095.
    const std::size_t codes_filling_the_dictionary = 1 + (dictionary_size - 259);
    std::vector<uint32_t> full(codes_filling_the_dictionary, 65);
    full.push_back(256);
    Decoded decoded = decode(pack(nine_bit(full)));
    EXPECT_EQ(decoded.result, decode_ok);
    EXPECT_EQ(decoded.text, std::string(codes_filling_the_dictionary, 'A'));

    std::vector<uint32_t> one_more(codes_filling_the_dictionary + 1, 65);
    one_more.push_back(256);
    EXPECT_EQ(decode(pack(nine_bit(one_more))).result, decode_invalid);

    // A reset makes room again.
    one_more.insert(one_more.end() - 2, 258);
    decoded = decode(pack(nine_bit(one_more)));
    EXPECT_EQ(decoded.result, decode_ok);
    EXPECT_EQ(decoded.text.size(), codes_filling_the_dictionary + 1);
}

TEST(StreamDecoder, StringsGrowingAcrossResetsAreRefused) {
    // Each code equal to the next free code makes the current string one byte longer,
    // and the string survives every reset; the stream must be refused, never overflow.
    std::vector<Code> codes = {{65, 9}};
    for (int round = 0; round < 8; ++round) {
        int width = 9;
        for (uint32_t code = 259; code < 4000; ++code) {
            while (code >> width != 0) codes.push_back({257, width++});
            codes.push_back({code, width});
        }
        codes.push_back({258, width});
    }
    codes.push_back({256, 9});
    const Bytes stream = pack(codes);
    ASSERT_LE(stream.size(), max_encoded_size);
    EXPECT_EQ(decode(stream).result, decode_invalid);
}

TEST(StreamDecoder, RandomInputNeverBreaksIt) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        Bytes input(random() % 200);
        for (unsigned char& byte : input) byte = static_cast<unsigned char>(random());
        // Most of these streams start with small codes so they run for a while.
        if (!input.empty() && round % 2 == 0) input[0] &= 0x3F;
        const int result = decode(input).result;
        EXPECT_TRUE(result == decode_ok || result == decode_invalid || result == decode_truncated_first_code)
            << result;
    }
}

TEST(StreamDecoder, CallsAreIndependent) {
    DecodedStream output;
    const Bytes bad = pack(nine_bit({65, 300, 256}));
    const Bytes good = pack(nine_bit({65, 66, 259, 256}));
    EXPECT_EQ(decode_stream(good.data(), good.size(), output), decode_ok);
    EXPECT_EQ(decode_stream(bad.data(), bad.size(), output), decode_invalid);
    EXPECT_EQ(output.bytes, nullptr);
    EXPECT_EQ(decode_stream(good.data(), good.size(), output), decode_ok);
    EXPECT_EQ(std::string(output.bytes.get(), output.bytes.get() + output.size), "ABAB");
}

}  // namespace
