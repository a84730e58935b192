#include "quiz_data/stream_encoder.h"

#include <cstdint>
#include <cstring>
#include <utility>

#include "quiz_data/stream_decoder.h"

namespace {


// Open addressing over (prefix code, next byte) keys; at most 3837 entries live
// at once, so the table stays under half full.
constexpr int table_bits = 13;
constexpr uint32_t table_size = 1u << table_bits;
constexpr uint32_t no_key = 0xFFFFFFFFu;

struct Dictionary {
    uint32_t keys[table_size];
    uint16_t codes[table_size];
};

uint32_t entry_key(uint32_t prefix, unsigned char byte) { return (prefix << 8) | byte; }

uint32_t first_slot(uint32_t key) { return (key * 2654435761u) >> (32 - table_bits); }

void clear(Dictionary& dictionary) { std::memset(dictionary.keys, 0xFF, sizeof dictionary.keys); }

// Returns the code of prefix + byte, or 0 when it is not in the dictionary (no
// two-byte string has a code below 259).
uint32_t find(const Dictionary& dictionary, uint32_t prefix, unsigned char byte) {
    const uint32_t key = entry_key(prefix, byte);
    for (uint32_t slot = first_slot(key);; slot = (slot + 1) & (table_size - 1)) {
        if (dictionary.keys[slot] == key) return dictionary.codes[slot];
        if (dictionary.keys[slot] == no_key) return 0;
    }
}

void insert(Dictionary& dictionary, uint32_t prefix, unsigned char byte, uint32_t code) {
    const uint32_t key = entry_key(prefix, byte);
    uint32_t slot = first_slot(key);
    while (dictionary.keys[slot] != no_key) slot = (slot + 1) & (table_size - 1);
    dictionary.keys[slot] = key;
    dictionary.codes[slot] = static_cast<uint16_t>(code);
}

struct Encoder {
    std::vector<unsigned char> output;
    uint64_t pending = 0;  // bits not yet written, right-aligned
    int pending_bits = 0;
    int width = initial_width;
    uint32_t next_free_code = first_free_code;
    Dictionary dictionary;
};

void put_bits(Encoder& encoder, uint32_t code, int width) {
    encoder.pending = (encoder.pending << width) | code;
    encoder.pending_bits += width;
    while (encoder.pending_bits >= 8) {
        encoder.pending_bits -= 8;
        encoder.output.push_back(static_cast<unsigned char>(encoder.pending >> encoder.pending_bits));
    }
    encoder.pending &= (uint64_t{1} << encoder.pending_bits) - 1;
}

void emit(Encoder& encoder, uint32_t code) {
    while (code >> encoder.width != 0) {
        put_bits(encoder, widen_code, encoder.width);
        ++encoder.width;
    }
    put_bits(encoder, code, encoder.width);
}

void start_new_dictionary(Encoder& encoder) {
    emit(encoder, reset_code);
    encoder.width = initial_width;
    encoder.next_free_code = first_free_code;
    clear(encoder.dictionary);
}

// Ends the string `prefix` before `byte` and adds the entry prefix + byte.
void end_string(Encoder& encoder, uint32_t prefix, unsigned char byte) {
    emit(encoder, prefix);
    bool prefix_in_dictionary = true;
    if (encoder.next_free_code == static_cast<uint32_t>(dictionary_size)) {
        start_new_dictionary(encoder);
        // The decoder builds its entries one code late and keeps its current string
        // across the reset, so prefix + byte still becomes code 259 on both sides.
        // A longer prefix is no longer in this dictionary: its code now names
        // another string, so the entry keeps its number but cannot be found.
        prefix_in_dictionary = prefix < 256;
    }
    if (prefix_in_dictionary) insert(encoder.dictionary, prefix, byte, encoder.next_free_code);
    ++encoder.next_free_code;
}

}  // namespace

std::vector<unsigned char> encode_stream(const unsigned char* bytes, std::size_t size) {
    if (size == 0) return {};
    Encoder encoder;
    clear(encoder.dictionary);
    encoder.output.reserve(size / 2 + 16);

    uint32_t prefix = bytes[0];
    for (std::size_t i = 1; i < size; ++i) {
        const uint32_t extended = find(encoder.dictionary, prefix, bytes[i]);
        if (extended != 0) {
            prefix = extended;
            continue;
        }
        end_string(encoder, prefix, bytes[i]);
        prefix = bytes[i];
    }
    emit(encoder, prefix);
    emit(encoder, end_code);
    if (encoder.pending_bits > 0)
        encoder.output.push_back(static_cast<unsigned char>(encoder.pending << (8 - encoder.pending_bits)));
    return std::move(encoder.output);
}
