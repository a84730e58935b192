// Arbitrary bytes as a quiz maker's picture file: the JPEG header reader and the
// whole conversion must refuse or convert them, never read out of bounds, and
// anything converted must be a baseline JPEG of the size reported.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "pictures/jpeg_header.h"
#include "authoring/picture_convert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    JpegHeader header;
    if (read_jpeg_header(data, size, header) && (header.orientation < 1 || header.orientation > 8)) std::abort();

    const std::vector<unsigned char> bytes(data, data + size);
    ConvertedPicture converted;
    std::string why;
    // Four megapixels at most: large pictures only repeat the same paths, slowly.
    if (!convert_picture(bytes, 36, 34, {90, 95, 150}, converted, why, 4000000)) {
        if (why.empty()) std::abort();
        return 0;
    }
    JpegHeader stored;
    if (!read_jpeg_header(converted.jpeg.data(), converted.jpeg.size(), stored) || stored.width != converted.width ||
        stored.height != converted.height || (!converted.unchanged && !stored.baseline))
        std::abort();
    return 0;
}
