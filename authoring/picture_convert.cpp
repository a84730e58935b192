// Decoding PNG, GIF and BMP, resampling and encoding are stb's (stb_image,
// stb_image_resize, stb_image_write), and decoding JPEG is libjpeg-turbo's
// (jpeg_decode.h; stb only reads a JPEG's size): the native tests, the fuzzer
// and the Windows tools compile the same code and give the same bytes.
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_ONLY_GIF
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#define STB_IMAGE_RESIZE_STATIC
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "authoring/picture_convert.h"

#include <climits>
#include <cstring>
#include <memory>

#include "authoring/jpeg_decode.h"
#include "pictures/jpeg_header.h"
#include "pictures/picture_fit.h"

namespace {

constexpr int stored_quality = 92;
constexpr std::size_t channels = 4;

const Message accepted_formats = {"accepted: JPEG, PNG, GIF and BMP", u8"acceptés : JPEG, PNG, GIF et BMP"};

bool starts_with(const unsigned char* bytes, std::size_t size, std::size_t offset, const char* signature,
                 std::size_t length) {
    return size >= offset + length && std::memcmp(bytes + offset, signature, length) == 0;
}

unsigned long long big_endian32(const unsigned char* bytes) {
    return (static_cast<unsigned long long>(bytes[0]) << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3];
}
unsigned long long little_endian16(const unsigned char* bytes) { return bytes[0] | (bytes[1] << 8); }
unsigned long long little_endian32(const unsigned char* bytes) {
    return little_endian16(bytes) | (little_endian16(bytes + 2) << 16);
}

struct Format {
    const char* name;
    bool accepted;
    bool (*matches)(const unsigned char*, std::size_t);
    // The size its header announces, read before anything else so that a cut
    // file of too many pixels is refused for its size; false when the header is cut.
    bool (*announced)(const unsigned char*, std::size_t, unsigned long long& width,
                      unsigned long long& height) = nullptr;
    // Whether the file reaches its end, which stb does not always check (it
    // decodes a cut GIF or BMP as if the rest were blank).
    bool (*whole)(const unsigned char*, std::size_t) = nullptr;
};

// Walks the segments and scans to the end of image marker. Debian's stb (2.27)
// also fills a Huffman table from a DHT segment without checking that it holds
// at most 256 codes, writing past the table; upstream checks it since 2.28.
// Such a file is corrupt: it is refused before stb reads it.
bool jpeg_whole(const unsigned char* bytes, std::size_t size) {
    std::size_t at = 2;
    while (at + 2 <= size) {
        if (bytes[at] != 0xFF) {  // entropy-coded data: on to the next marker
            const void* next = std::memchr(bytes + at, 0xFF, size - at);
            if (!next) return false;
            at = static_cast<std::size_t>(static_cast<const unsigned char*>(next) - bytes);
            continue;
        }
        const unsigned char marker = bytes[at + 1];
        if (marker == 0xFF || marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += marker == 0xFF ? 1 : 2;
            continue;
        }
        if (marker == 0xD9) return true;
        if (at + 4 > size) return false;
        const std::size_t length = (static_cast<std::size_t>(bytes[at + 2]) << 8) | bytes[at + 3];
        if (length < 2) return false;
        if (marker == 0xC4) {
            // As stb reads it: a table starts wherever the segment has bytes left,
            // and its counts are read even past the segment's end.
            std::size_t table = at + 4;
            for (long left = static_cast<long>(length) - 2; left > 0;) {
                std::size_t codes = 0;
                for (std::size_t i = 1; i <= 16; ++i) codes += table + i < size ? bytes[table + i] : 0;
                if (codes > 256) return false;
                table += 17 + codes;
                left -= static_cast<long>(17 + codes);
            }
        }
        at += 2 + length;
    }
    return false;
}

bool jpeg_announced(const unsigned char* bytes, std::size_t size, unsigned long long& width,
                    unsigned long long& height) {
    JpegHeader header;
    if (!read_jpeg_header(bytes, size, header)) return false;
    width = static_cast<unsigned long long>(header.width);
    height = static_cast<unsigned long long>(header.height);
    return true;
}

// Chunk after chunk to the header of IEND, as stb reads them (it never reads IEND's checksum).
bool png_whole(const unsigned char* bytes, std::size_t size) {
    std::size_t at = 8;
    while (size - at >= 8) {
        if (std::memcmp(bytes + at + 4, "IEND", 4) == 0) return true;
        const unsigned long long chunk = 12 + big_endian32(bytes + at);  // length, type, data, checksum
        if (chunk > size - at) return false;
        at += static_cast<std::size_t>(chunk);
    }
    return false;
}

bool png_announced(const unsigned char* bytes, std::size_t size, unsigned long long& width,
                   unsigned long long& height) {
    if (size < 24 || std::memcmp(bytes + 12, "IHDR", 4) != 0) return false;
    width = big_endian32(bytes + 16);
    height = big_endian32(bytes + 20);
    return true;
}

bool gif_whole(const unsigned char* bytes, std::size_t size) { return bytes[size - 1] == 0x3B; }  // trailer

bool gif_announced(const unsigned char* bytes, std::size_t size, unsigned long long& width,
                   unsigned long long& height) {
    if (size < 10) return false;
    width = little_endian16(bytes + 6);
    height = little_endian16(bytes + 8);
    return true;
}

bool bmp_whole(const unsigned char* bytes, std::size_t size) {
    return little_endian32(bytes + 2) <= size;  // some writers leave the file size 0
}

// Recognised BMPs hold at least 26 bytes. The oldest header has 16-bit sizes; a
// negative height (rows top down) counts as its absolute value, as stb reads it.
bool bmp_announced(const unsigned char* bytes, std::size_t, unsigned long long& width, unsigned long long& height) {
    if (little_endian32(bytes + 14) == 12) {
        width = little_endian16(bytes + 18);
        height = little_endian16(bytes + 20);
        return true;
    }
    width = little_endian32(bytes + 18);
    const unsigned long long rows = little_endian32(bytes + 22);
    height = rows >= 0x80000000ULL ? 0x100000000ULL - rows : rows;
    return true;
}

bool is_svg(const unsigned char* bytes, std::size_t size) {
    std::size_t at = starts_with(bytes, size, 0, "\xEF\xBB\xBF", 3) ? 3 : 0;
    while (at < size && (bytes[at] == ' ' || bytes[at] == '\t' || bytes[at] == '\r' || bytes[at] == '\n')) ++at;
    if (at >= size || bytes[at] != '<') return false;
    const std::string head(reinterpret_cast<const char*>(bytes) + at, size - at < 4096 ? size - at : 4096);
    return head.find("<svg") != std::string::npos;
}

// ISO media files name their brand after "ftyp".
bool has_brand(const unsigned char* bytes, std::size_t size, const char* const* brands) {
    if (!starts_with(bytes, size, 4, "ftyp", 4)) return false;
    for (; *brands; ++brands)
        if (starts_with(bytes, size, 8, *brands, 4)) return true;
    return false;
}

const char* const heif_brands[] = {"heic", "heix", "hevc", "hevx", "heim", "heis", "mif1", "msf1", nullptr};
const char* const avif_brands[] = {"avif", "avis", nullptr};

// Recognised by content, never by a file name's extension.
const Format formats[] = {
    {"JPEG", true, [](const unsigned char* b, std::size_t n) { return starts_with(b, n, 0, "\xFF\xD8\xFF", 3); },
     jpeg_announced, jpeg_whole},
    {"PNG", true, [](const unsigned char* b, std::size_t n) { return starts_with(b, n, 0, "\x89PNG\r\n\x1A\n", 8); },
     png_announced, png_whole},
    {"GIF", true,
     [](const unsigned char* b, std::size_t n) {
         return starts_with(b, n, 0, "GIF87a", 6) || starts_with(b, n, 0, "GIF89a", 6);
     },
     gif_announced, gif_whole},
    {"BMP", true, [](const unsigned char* b, std::size_t n) { return starts_with(b, n, 0, "BM", 2) && n >= 26; },
     bmp_announced, bmp_whole},
    {"HEIC/HEIF", false, [](const unsigned char* b, std::size_t n) { return has_brand(b, n, heif_brands); }},
    {"AVIF", false, [](const unsigned char* b, std::size_t n) { return has_brand(b, n, avif_brands); }},
    {"WebP", false,
     [](const unsigned char* b, std::size_t n) { return starts_with(b, n, 0, "RIFF", 4) && starts_with(b, n, 8, "WEBP", 4); }},
    {"TIFF (or camera raw)", false,
     [](const unsigned char* b, std::size_t n) {
         return starts_with(b, n, 0, "II*\0", 4) || starts_with(b, n, 0, "MM\0*", 4);
     }},
    {"SVG", false, is_svg},
    {"Photoshop (PSD)", false, [](const unsigned char* b, std::size_t n) { return starts_with(b, n, 0, "8BPS", 4); }},
    {"JPEG 2000", false,
     [](const unsigned char* b, std::size_t n) {
         return starts_with(b, n, 0, "\0\0\0\x0CjP  ", 8) || starts_with(b, n, 0, "\xFF\x4F\xFF\x51", 4);
     }},
    {"JPEG XL", false,
     [](const unsigned char* b, std::size_t n) {
         return starts_with(b, n, 0, "\xFF\x0A", 2) || starts_with(b, n, 0, "\0\0\0\x0CJXL ", 8);
     }},
    {"ICO", false, [](const unsigned char* b, std::size_t n) { return starts_with(b, n, 0, "\0\0\1\0", 4); }},
    {"PDF", false, [](const unsigned char* b, std::size_t n) { return starts_with(b, n, 0, "%PDF", 4); }},
};

Message damaged(const std::string& format) {
    return {"is a damaged or truncated " + format + " picture", "est une image " + format + u8" abîmée ou incomplète"};
}

const Format* format_of(const unsigned char* bytes, std::size_t size) {
    for (const Format& format : formats)
        if (format.matches(bytes, size)) return &format;
    return nullptr;
}

// The picture as the camera showed it: each EXIF orientation names the turn or
// mirror that stands the stored pixels up; this is where each shown pixel comes from.
RgbaPicture upright(RgbaPicture stored, int orientation) {
    if (orientation <= 1 || orientation > 8) return stored;
    const bool swaps = orientation >= 5;
    const int w = stored.width;
    const int h = stored.height;
    RgbaPicture shown;
    shown.width = swaps ? h : w;
    shown.height = swaps ? w : h;
    shown.pixels.resize(stored.pixels.size());
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            int sx = x, sy = y;
            switch (orientation) {
                case 2: sx = w - 1 - x; break;                    // mirror left to right
                case 3: sx = w - 1 - x; sy = h - 1 - y; break;    // half turn
                case 4: sy = h - 1 - y; break;                    // mirror top to bottom
                case 5: sx = y; sy = x; break;                    // mirror across the main diagonal
                case 6: sx = y; sy = h - 1 - x; break;            // quarter turn clockwise
                case 7: sx = w - 1 - y; sy = h - 1 - x; break;    // mirror across the other diagonal
                default: sx = w - 1 - y; sy = x; break;           // 8: quarter turn anticlockwise
            }
            std::memcpy(&shown.pixels[(static_cast<std::size_t>(y) * shown.width + x) * channels],
                        &stored.pixels[(static_cast<std::size_t>(sy) * w + sx) * channels], channels);
        }
    }
    return shown;
}

void lay_on(RgbaPicture& picture, RgbColour background) {
    for (std::size_t i = 0; i < picture.pixels.size(); i += channels) {
        unsigned char* pixel = &picture.pixels[i];
        const unsigned alpha = pixel[3];
        const unsigned char under[3] = {background.red, background.green, background.blue};
        for (int c = 0; c < 3; ++c) pixel[c] = static_cast<unsigned char>((pixel[c] * alpha + under[c] * (255 - alpha) + 127) / 255);
        pixel[3] = 255;
    }
}

void append_bytes(void* context, void* data, int size) {
    const unsigned char* first = static_cast<const unsigned char*>(data);
    static_cast<std::vector<unsigned char>*>(context)->insert(static_cast<std::vector<unsigned char>*>(context)->end(),
                                                              first, first + size);
}

struct StbFree {
    void operator()(unsigned char* pixels) const { stbi_image_free(pixels); }
};

}  // namespace

const char* picture_format_name(const unsigned char* bytes, std::size_t size, bool& accepted) {
    const Format* format = format_of(bytes, size);
    accepted = format && format->accepted;
    return format ? format->name : nullptr;
}

bool probe_picture_file(const unsigned char* bytes, std::size_t size, PictureProbe& probe, Message& why,
                        long long max_pixels) {
    probe = PictureProbe();
    const Format* format = format_of(bytes, size);
    if (!format) {
        why = Message{"is not a picture (", "n'est pas une image ("} + accepted_formats + ")";
        return false;
    }
    const std::string name = format->name;
    if (!format->accepted) {
        why = Message{"is a " + name + " file, which a quiz cannot carry; export it as JPEG or PNG (",
                      "est un fichier " + name + ", qu'un quiz ne peut pas porter ; exportez-le en JPEG ou PNG ("} +
              accepted_formats + ")";
        return false;
    }
    const auto too_many_pixels = [&](unsigned long long width, unsigned long long height) {
        if (width * height <= static_cast<unsigned long long>(max_pixels)) return false;
        const std::string size = std::to_string(width) + " x " + std::to_string(height);
        const std::string limit = std::to_string(max_pixels / 1000000);
        why = {"is a picture of " + size + " pixels, over the limit of " + limit + " megapixels; make it smaller first",
               "est une image de " + size + " pixels, plus que la limite de " + limit +
                   u8" mégapixels ; réduisez-la d'abord"};
        return true;
    };
    unsigned long long announced_width = 0, announced_height = 0;
    if (format->announced(bytes, size, announced_width, announced_height) &&
        too_many_pixels(announced_width, announced_height))
        return false;
    if (!format->whole(bytes, size)) {
        why = damaged(name);
        return false;
    }
    if (size > INT_MAX) {
        why = {"is too large a file", "est un fichier trop gros"};
        return false;
    }
    int width = 0, height = 0, file_channels = 0;
    // stb accepts a BMP header of no rows at all, and tells a BMP stored top
    // down by a negative height, which it decodes as any other.
    const bool read = stbi_info_from_memory(bytes, static_cast<int>(size), &width, &height, &file_channels);
    if (height < 0 && height != INT_MIN) height = -height;
    if (!read || width <= 0 || height <= 0) {
        why = damaged(name);
        return false;
    }
    if (too_many_pixels(static_cast<unsigned long long>(width), static_cast<unsigned long long>(height))) return false;
    JpegHeader header;
    if (read_jpeg_header(bytes, size, header)) probe.orientation = header.orientation;
    const bool turned = probe.orientation >= 5;
    probe.format = format->name;
    probe.width = turned ? height : width;
    probe.height = turned ? width : height;
    return true;
}

namespace {

// Decodes a picture already probed, a JPEG only as large as needed to cover
// `min_width` x `min_height` (upright).
bool decode_probed(const unsigned char* bytes, std::size_t size, const PictureProbe& probe, int min_width,
                   int min_height, RgbaPicture& picture, Message& why) {
    picture = RgbaPicture();
    if (std::strcmp(probe.format, "JPEG") == 0) {
        const bool turned = probe.orientation >= 5;
        if (!decode_jpeg(bytes, size, turned ? min_height : min_width, turned ? min_width : min_height, picture)) {
            why = damaged(probe.format);
            return false;
        }
        picture = upright(std::move(picture), probe.orientation);
        return true;
    }
    int width = 0, height = 0, file_channels = 0;
    std::unique_ptr<unsigned char, StbFree> decoded(stbi_load_from_memory(
        bytes, static_cast<int>(size), &width, &height, &file_channels, static_cast<int>(channels)));
    if (!decoded) {
        const char* reason = stbi_failure_reason();
        why = reason && std::strcmp(reason, "outofmem") == 0
                  ? Message{"cannot be decoded: out of memory", u8"ne peut pas être décodée : mémoire insuffisante"}
                  : damaged(probe.format);
        return false;
    }
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(decoded.get(), decoded.get() + static_cast<std::size_t>(width) * height * channels);
    return true;
}

}  // namespace

bool decode_picture_at_least(const unsigned char* bytes, std::size_t size, int min_width, int min_height,
                             RgbaPicture& picture, Message& why, long long max_pixels) {
    picture = RgbaPicture();
    PictureProbe probe;
    return probe_picture_file(bytes, size, probe, why, max_pixels) &&
           decode_probed(bytes, size, probe, min_width, min_height, picture, why);
}

bool decode_picture_file(const unsigned char* bytes, std::size_t size, RgbaPicture& picture, Message& why,
                         long long max_pixels) {
    return decode_picture_at_least(bytes, size, INT_MAX, INT_MAX, picture, why, max_pixels);
}

RgbaPicture resize_picture(const RgbaPicture& source, int width, int height) {
    RgbaPicture resized;
    resized.pixels.resize(static_cast<std::size_t>(width) * height * channels);
    if (!stbir_resize_uint8_generic(source.pixels.data(), source.width, source.height, 0, resized.pixels.data(), width,
                                    height, 0, static_cast<int>(channels), 3, 0, STBIR_EDGE_CLAMP,
                                    STBIR_FILTER_CATMULLROM, STBIR_COLORSPACE_LINEAR, nullptr))
        return RgbaPicture();
    resized.width = width;
    resized.height = height;
    return resized;
}

std::vector<unsigned char> encode_jpeg(const RgbaPicture& picture) {
    std::vector<unsigned char> jpeg;
    if (!stbi_write_jpg_to_func(append_bytes, &jpeg, picture.width, picture.height, static_cast<int>(channels),
                                picture.pixels.data(), stored_quality))
        jpeg.clear();
    return jpeg;
}

bool picture_thumbnail(const unsigned char* bytes, std::size_t size, int box_width, int box_height,
                       RgbaPicture& thumbnail, Message& why) {
    JpegHeader header;
    const bool embedded = read_jpeg_header(bytes, size, header) && header.thumbnail_size > 0 &&
                          decode_picture_file(bytes + header.thumbnail_offset, header.thumbnail_size, thumbnail, why);
    if (embedded)
        thumbnail = upright(std::move(thumbnail), header.orientation);
    else if (!decode_picture_at_least(bytes, size, box_width, box_height, thumbnail, why))
        return false;
    const FittedSize fitted = fit_picture(thumbnail.width, thumbnail.height, box_width, box_height);
    if (fitted.width != thumbnail.width || fitted.height != thumbnail.height)
        thumbnail = resize_picture(thumbnail, fitted.width, fitted.height);
    return true;
}

std::vector<unsigned char> bmp_file_of_dib(const unsigned char* dib, std::size_t size) {
    const auto little = [dib](std::size_t at, int bytes) {
        unsigned long value = 0;
        for (int i = bytes - 1; i >= 0; --i) value = value << 8 | dib[at + static_cast<std::size_t>(i)];
        return value;
    };
    if (size < 40) return {};
    const unsigned long header = little(0, 4);
    if (header < 40 || header > size) return {};
    const unsigned long bits = little(14, 2);
    const unsigned long compression = little(16, 4);
    unsigned long colours = little(32, 4);
    if (colours == 0 && bits <= 8) colours = 1ul << bits;
    const unsigned long masks = header == 40 && (compression == 3 || compression == 6) ? (compression == 3 ? 12 : 16) : 0;
    const unsigned long offset = 14 + header + masks + 4 * colours;
    if (offset - 14 > size || size > 0x7FFFFFFF) return {};
    std::vector<unsigned char> file(14 + size);
    const unsigned long file_size = static_cast<unsigned long>(file.size());
    const unsigned char file_header[14] = {
        'B', 'M',
        static_cast<unsigned char>(file_size), static_cast<unsigned char>(file_size >> 8),
        static_cast<unsigned char>(file_size >> 16), static_cast<unsigned char>(file_size >> 24),
        0, 0, 0, 0,
        static_cast<unsigned char>(offset), static_cast<unsigned char>(offset >> 8),
        static_cast<unsigned char>(offset >> 16), static_cast<unsigned char>(offset >> 24)};
    std::copy(file_header, file_header + 14, file.begin());
    std::copy(dib, dib + size, file.begin() + 14);
    return file;
}

std::vector<unsigned char> encode_png(const RgbaPicture& picture) {
    std::vector<unsigned char> png;
    if (!stbi_write_png_to_func(append_bytes, &png, picture.width, picture.height, static_cast<int>(channels),
                                picture.pixels.data(), 0))
        png.clear();
    return png;
}

bool convert_picture(const std::vector<unsigned char>& bytes, int box_width, int box_height, RgbColour background,
                     ConvertedPicture& result, Message& why, long long max_pixels) {
    result = ConvertedPicture();
    PictureProbe probe;
    if (!probe_picture_file(bytes.data(), bytes.size(), probe, why, max_pixels)) return false;
    const FittedSize fitted = fit_picture(probe.width, probe.height, box_width, box_height);
    RgbaPicture picture;
    if (!decode_probed(bytes.data(), bytes.size(), probe, fitted.width, fitted.height, picture, why)) return false;
    result.source_width = probe.width;
    result.source_height = probe.height;
    const bool shrinks = picture.width > fitted.width || picture.height > fitted.height;
    JpegHeader header;
    const bool plain_jpeg = read_jpeg_header(bytes.data(), bytes.size(), header) && header.baseline &&
                            (header.components == 1 || header.components == 3) && header.orientation == 1;
    if (plain_jpeg && !shrinks) {
        result.jpeg = bytes;
        result.width = picture.width;
        result.height = picture.height;
        result.unchanged = true;
        return true;
    }

    lay_on(picture, background);
    if (shrinks) {
        // A picture far wider than tall still keeps one row (and the other way round).
        picture = resize_picture(picture, fitted.width > 0 ? fitted.width : 1, fitted.height > 0 ? fitted.height : 1);
        if (picture.pixels.empty()) {
            why = {"cannot be resized: out of memory", u8"ne peut pas être réduite : mémoire insuffisante"};
            return false;
        }
    }
    result.jpeg = encode_jpeg(picture);
    if (result.jpeg.empty()) {
        why = {"cannot be written as JPEG", u8"ne peut pas être écrite en JPEG"};
        return false;
    }
    result.width = picture.width;
    result.height = picture.height;
    return true;
}
