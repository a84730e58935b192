// Pictures converted by earlier builds, kept in a folder so that building the
// same pictures again decodes nothing. An entry is named by a key of the
// picture file's content and the conversion's settings (box, background and
// picture_conversion_version), and carries that key and a checksum of its bytes:
// an entry cut short or changed is ignored and written again. Entries are written
// under a temporary name and renamed into place, so builds running at once never
// read half an entry. A cache that cannot be read or written costs time only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "authoring/picture_convert.h"

constexpr std::uintmax_t default_picture_cache_bytes = 256ull * 1024 * 1024;

struct PictureCache {
    std::string folder;  // UTF-8; empty: nothing is kept
    std::uintmax_t max_bytes = default_picture_cache_bytes;
};

// convert_picture, or its result read back from the cache (result.from_cache).
bool convert_picture_cached(const PictureCache& cache, const std::vector<unsigned char>& bytes, int box_width,
                            int box_height, RgbColour background, ConvertedPicture& result, Message& why);

// Deletes the least recently used entries until the folder holds at most max_bytes.
void trim_picture_cache(const PictureCache& cache);
