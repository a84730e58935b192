// Pictures as quiz makers have them (phone photographs, screenshots, logos)
// turned into what the player shows best: a baseline JPEG at the size the
// player shows it, standing as the camera showed it. Used by the pack tool.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/message.h"

// Four bytes a pixel, red, green, blue and alpha (not premultiplied), rows top down.
struct RgbaPicture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
};

struct RgbColour {
    unsigned char red = 0;
    unsigned char green = 0;
    unsigned char blue = 0;
};

// Larger pictures are refused before a pixel is decoded (the fuzzer sets a
// smaller bound to explore more inputs per second).
constexpr long long max_picture_pixels = 100000000;

// The name of the picture format `bytes` hold ("JPEG", "WebP", "HEIC/HEIF"...),
// recognised by content as decode_picture_file recognises it, and whether a
// quiz can carry it; nullptr when they hold no picture format known here.
const char* picture_format_name(const unsigned char* bytes, std::size_t size, bool& accepted);

// What a picture file's headers say, read without decoding a pixel.
struct PictureProbe {
    const char* format = nullptr;  // "JPEG", "PNG", "GIF" or "BMP"
    int width = 0;                 // as shown, orientation applied
    int height = 0;
    int orientation = 1;  // a JPEG's EXIF orientation, 1 to 8; 1 for the other formats
};

// Recognises a JPEG, PNG, GIF or BMP file by its content and reads its headers;
// walks the file far enough to see that it is whole (a JPEG to its end of image,
// a PNG to its IEND chunk, a GIF to its trailer, a BMP to its declared size).
// Returns false with `why` completing "<file> ..." (what the file is and why it
// cannot be used): the first check of decode_picture_file, so both refuse a file
// in the same words. A file whose data are damaged past its headers passes here.
bool probe_picture_file(const unsigned char* bytes, std::size_t size, PictureProbe& probe, Message& why,
                        long long max_pixels = max_picture_pixels);

// Decodes what probe_picture_file accepts (a GIF's first frame), with a JPEG's
// EXIF orientation applied. Returns false with `why` as probe_picture_file does.
bool decode_picture_file(const unsigned char* bytes, std::size_t size, RgbaPicture& picture, Message& why,
                         long long max_pixels = max_picture_pixels);

// The same, but a JPEG only as large as needed to cover `min_width` x
// `min_height` (upright), scaled down while decoding (decode_jpeg).
bool decode_picture_at_least(const unsigned char* bytes, std::size_t size, int min_width, int min_height,
                             RgbaPicture& picture, Message& why, long long max_pixels = max_picture_pixels);

// A device-independent bitmap as the clipboard holds it (CF_DIB: a BITMAPINFO
// header, its colour table or masks, then the pixels) made a BMP file, which
// decode_picture_file reads; empty when its header is not one.
std::vector<unsigned char> bmp_file_of_dib(const unsigned char* dib, std::size_t size);

// A small picture for a list: the camera's own thumbnail when the JPEG holds
// one in its EXIF block (a few kilobytes, decoded at once), else the picture
// decoded at least the box's size (decode_picture_at_least); stood
// upright and fitted into box_width x box_height. False with `why` as
// decode_picture_file says.
bool picture_thumbnail(const unsigned char* bytes, std::size_t size, int box_width, int box_height,
                       RgbaPicture& thumbnail, Message& why);

// Resamples to width x height with a Catmull-Rom filter widened to the scale
// (so shrinking averages every source pixel), weighting colours by their alpha.
RgbaPicture resize_picture(const RgbaPicture& source, int width, int height);

// A baseline JPEG of quality 92 without metadata, its colour kept at full
// resolution (stb subsamples it at 90 and below); alpha is ignored. Empty when
// it cannot be written.
std::vector<unsigned char> encode_jpeg(const RgbaPicture& picture);

// A PNG with its alpha (icons keep their transparency). Empty when it cannot be written.
std::vector<unsigned char> encode_png(const RgbaPicture& picture);

struct ConvertedPicture {
    std::vector<unsigned char> jpeg;  // what the quiz stores
    int source_width = 0;             // as shown, orientation applied
    int source_height = 0;
    int width = 0;  // as stored
    int height = 0;
    bool unchanged = false;  // stored byte for byte
    bool from_cache = false;  // read back from a cache, nothing decoded (see picture_cache.h)
};

// Names what convert_picture makes of a file: bump it whenever its output
// changes, so that pictures kept by earlier builds are converted again.
constexpr int picture_conversion_version = 2;

// What the pack tool stores for a picture shown in a box_width x box_height box:
// - a baseline JPEG no larger than its fitted size and standing upright, as it is;
// - anything else decoded, turned upright, shrunk to the fitted size (never
//   enlarged), laid on `background` where it is transparent, and written by
//   encode_jpeg.
bool convert_picture(const std::vector<unsigned char>& bytes, int box_width, int box_height, RgbColour background,
                     ConvertedPicture& result, Message& why, long long max_pixels = max_picture_pixels);
