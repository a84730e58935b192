// Decoder of the LZW-coded PATCH streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

constexpr int decode_ok = 0;
constexpr int decode_out_of_memory = -4;
constexpr int decode_truncated_first_code = -5;
constexpr int decode_invalid = -7;

constexpr std::size_t max_encoded_size = 65535;   // the read position is 16 bits wide
constexpr std::size_t decoded_capacity = 120000;  // fixed output buffer
constexpr int dictionary_size = 4096;

// The reserved codes, shared with the encoder.
constexpr uint32_t end_code = 256;
constexpr uint32_t widen_code = 257;
constexpr uint32_t reset_code = 258;
constexpr uint32_t first_free_code = 259;  // next free code after start and after each reset
constexpr int initial_width = 9;

struct DecodedStream {
    std::unique_ptr<unsigned char[]> bytes;  // decoded_capacity bytes, `size` of them used
    std::size_t size = 0;
    bool output_allocation_failed = false;  // the caller reports this one failure to the player
};

// Returns decode_ok and fills `output`, or one of the failure codes above.
int decode_stream(const unsigned char* input, std::size_t input_size, DecodedStream& output);
