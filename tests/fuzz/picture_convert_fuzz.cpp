// Arbitrary bytes as a quiz maker's picture file: the JPEG header reader, the
// header probe and the whole conversion must refuse or convert them, never read
// out of bounds; anything converted must be a baseline JPEG of the size reported,
// from a file the probe accepted with the same size; anything the probe refuses,
// the conversion refuses in the same words. A JPEG decoded scaled is at most its
// full size and at least the box asked for, or refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "pictures/jpeg_header.h"
#include "authoring/jpeg_decode.h"
#include "authoring/picture_convert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    JpegHeader header;
    if (read_jpeg_header(data, size, header) && (header.orientation < 1 || header.orientation > 8)) std::abort();
    RgbaPicture small;
    if (decode_jpeg(data, size, 36, 34, small) &&
        (small.width < 1 || small.height < 1 ||
         small.pixels.size() != static_cast<std::size_t>(small.width) * small.height * 4))
        std::abort();

    // Four megapixels at most: large pictures only repeat the same paths, slowly.
    constexpr long long max_pixels = 4000000;
    PictureProbe probe;
    Message probe_why;
    const bool probed = probe_picture_file(data, size, probe, probe_why, max_pixels);

    const std::vector<unsigned char> bytes(data, data + size);
    ConvertedPicture converted;
    Message why;
    if (!convert_picture(bytes, 36, 34, {90, 95, 150}, converted, why, max_pixels)) {
        if (why.empty() || (!probed && why.english != probe_why.english)) std::abort();
        return 0;
    }
    if (!probed || probe.width != converted.source_width || probe.height != converted.source_height) std::abort();
    JpegHeader stored;
    if (!read_jpeg_header(converted.jpeg.data(), converted.jpeg.size(), stored) || stored.width != converted.width ||
        stored.height != converted.height || (!converted.unchanged && !stored.baseline))
        std::abort();
    return 0;
}
