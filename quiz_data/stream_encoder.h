// Encoder producing well-formed PATCH streams: the inverse of decode_stream.
#pragma once

#include <cstddef>
#include <vector>

// Encodes `size` bytes (at least one). Widens before a code that does not fit
// and resets the dictionary when its next free code reaches 4096.
std::vector<unsigned char> encode_stream(const unsigned char* bytes, std::size_t size);
