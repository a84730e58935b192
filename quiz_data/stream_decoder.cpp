#include "quiz_data/stream_decoder.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace {

constexpr int widest_code = 32;
constexpr std::size_t string_capacity = 4096;

// Every entry since the last reset is the current string plus one byte, and each
// current string is written out right after its entry is stored (or the decode
// fails). Stored entry bytes therefore never exceed the output written plus one
// byte per entry, and the 256 single-byte entries sit at the start for good.
constexpr std::size_t arena_capacity = 256 + decoded_capacity + dictionary_size;

// The dictionary keeps each entry's bytes whole, packed one after another in
// `arena`; entry k < 256 is the byte k at offset k.
struct DecoderWorkspace {
    unsigned char arena[arena_capacity];
    uint32_t entry_offset[dictionary_size];
    uint16_t entry_length[dictionary_size];
    std::size_t arena_used;
    uint32_t next_free_code;
    unsigned char current[string_capacity];
    std::size_t current_length;
};

void reset_dictionary(DecoderWorkspace& work) {
    work.arena_used = 256;
    work.next_free_code = first_free_code;
}

void build_initial_dictionary(DecoderWorkspace& work) {
    for (uint32_t byte = 0; byte < 256; ++byte) {
        work.arena[byte] = static_cast<unsigned char>(byte);
        work.entry_offset[byte] = byte;
        work.entry_length[byte] = 1;
    }
    reset_dictionary(work);
}

// The not yet consumed low bits of the last byte read are kept in `reservoir`,
// right-aligned, `reservoir_bits` of them.
struct BitReader {
    const unsigned char* input;
    std::size_t size;
    std::size_t position;
    uint32_t reservoir;
    int reservoir_bits;
};

// Reads the next `width` bits, most significant first. Returns false when the
// input runs out first; `code` then holds the bits gathered so far.
bool read_code(BitReader& reader, int width, uint32_t& code) {
    code = reader.reservoir;
    int needed = width - reader.reservoir_bits;
    reader.reservoir = 0;
    reader.reservoir_bits = 0;
    while (needed >= 8) {
        if (reader.position == reader.size) return false;
        code = (code << 8) | reader.input[reader.position++];
        needed -= 8;
    }
    if (needed > 0) {
        if (reader.position == reader.size) return false;
        const uint32_t byte = reader.input[reader.position++];
        code = (code << needed) | (byte >> (8 - needed));
        reader.reservoir_bits = 8 - needed;
        reader.reservoir = byte & ((1u << reader.reservoir_bits) - 1);
    }
    return true;
}

bool write_current(const DecoderWorkspace& work, DecodedStream& output) {
    if (work.current_length > decoded_capacity - output.size) return false;
    std::memcpy(output.bytes.get() + output.size, work.current, work.current_length);
    output.size += work.current_length;
    return true;
}

// An ordinary code: stores entry m = current string + one byte, writes the
// current string and makes entry `code` the new current string.
int take_entry_code(DecoderWorkspace& work, uint32_t code, DecodedStream& output) {
    const uint32_t next = work.next_free_code;
    if (next >= static_cast<uint32_t>(dictionary_size) || code > next) return decode_invalid;
    const std::size_t new_length = work.current_length + 1;
    if (new_length > string_capacity || work.arena_used + new_length > arena_capacity) return decode_invalid;
    const unsigned char last_byte = code == next ? work.current[0] : work.arena[work.entry_offset[code]];
    unsigned char* entry = work.arena + work.arena_used;
    std::memcpy(entry, work.current, work.current_length);
    entry[work.current_length] = last_byte;
    work.entry_offset[next] = static_cast<uint32_t>(work.arena_used);
    work.entry_length[next] = static_cast<uint16_t>(new_length);
    work.arena_used += new_length;
    work.next_free_code = next + 1;

    if (!write_current(work, output)) return decode_invalid;
    work.current_length = work.entry_length[code];
    std::memcpy(work.current, work.arena + work.entry_offset[code], work.current_length);
    return decode_ok;
}

int run_decoder(DecoderWorkspace& work, BitReader& reader, DecodedStream& output) {
    int width = initial_width;
    uint32_t code = 0;
    if (!read_code(reader, width, code)) return decode_truncated_first_code;
    work.current[0] = static_cast<unsigned char>(code & 0xFF);
    work.current_length = 1;

    for (;;) {
        if (width > widest_code) return decode_invalid;
        const bool complete = read_code(reader, width, code);
        // A stream cut short still ends well when the bits it had spell the end code.
        if (!complete && code != end_code) return decode_invalid;
        if (code == end_code) return write_current(work, output) ? decode_ok : decode_invalid;
        if (code == widen_code) {
            ++width;
        } else if (code == reset_code) {
            // The current string survives: it forms the first entry after the reset.
            reset_dictionary(work);
            width = initial_width;
        } else {
            const int result = take_entry_code(work, code, output);
            if (result != decode_ok) return result;
        }
    }
}

}  // namespace

int decode_stream(const unsigned char* input, std::size_t input_size, DecodedStream& output) {
    output.bytes.reset();
    output.size = 0;
    output.output_allocation_failed = false;
    if (input_size > max_encoded_size) return decode_invalid;
    if (input_size == 0) return decode_truncated_first_code;

    std::unique_ptr<DecoderWorkspace> work(new (std::nothrow) DecoderWorkspace);
    if (!work) return decode_out_of_memory;
    output.bytes.reset(new (std::nothrow) unsigned char[decoded_capacity]);
    if (!output.bytes) {
        output.output_allocation_failed = true;
        return decode_out_of_memory;
    }
    build_initial_dictionary(*work);

    BitReader reader = {input, input_size, 0, 0, 0};
    const int result = run_decoder(*work, reader, output);
    if (result != decode_ok) {
        // The caller never reads a failed decode's output.
        output.bytes.reset();
        output.size = 0;
    }
    return result;
}
