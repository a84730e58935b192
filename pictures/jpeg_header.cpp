#include "pictures/jpeg_header.h"

#include <cstring>

namespace {

// The TIFF block of an EXIF segment, in its own byte order.
struct TiffBlock {
    const unsigned char* bytes;
    std::size_t size;
    bool big_endian;

    bool has(std::size_t offset, std::size_t count) const { return offset <= size && count <= size - offset; }
    unsigned read16(std::size_t offset) const {
        return big_endian ? (bytes[offset] << 8) | bytes[offset + 1] : bytes[offset] | (bytes[offset + 1] << 8);
    }
    unsigned long read32(std::size_t offset) const {
        const unsigned long high = read16(big_endian ? offset : offset + 2);
        const unsigned long low = read16(big_endian ? offset + 2 : offset);
        return (high << 16) | low;
    }
};

constexpr unsigned orientation_tag = 0x0112;
constexpr unsigned short_type = 3;

constexpr unsigned thumbnail_offset_tag = 0x0201;  // JPEGInterchangeFormat
constexpr unsigned thumbnail_size_tag = 0x0202;    // JPEGInterchangeFormatLength

// The value of entry `tag` of the image directory at `directory` and its type,
// 0 when absent; `next` receives the offset of the next directory (0 for none).
unsigned long directory_value(const TiffBlock& tiff, unsigned long directory, unsigned tag, unsigned& type,
                              unsigned long& next) {
    next = 0;
    type = 0;
    if (!tiff.has(directory, 2)) return 0;
    const unsigned entries = tiff.read16(directory);
    unsigned long value = 0;
    for (unsigned i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + 12 * static_cast<std::size_t>(i);
        if (!tiff.has(entry, 12)) return 0;
        if (tiff.read16(entry) != tag) continue;
        type = tiff.read16(entry + 2);
        value = type == short_type ? tiff.read16(entry + 8) : tiff.read32(entry + 8);
    }
    const std::size_t after = directory + 2 + 12 * static_cast<std::size_t>(entries);
    if (tiff.has(after, 4)) next = tiff.read32(after);
    return value;
}

// The orientation of the first image directory and the thumbnail of the second,
// from an EXIF segment that starts `segment_at` bytes into the file.
void read_exif(const unsigned char* segment, std::size_t size, std::size_t segment_at, JpegHeader& header) {
    if (size < 6 || std::memcmp(segment, "Exif\0\0", 6) != 0) return;
    TiffBlock tiff{segment + 6, size - 6, false};
    if (!tiff.has(0, 8)) return;
    if (std::memcmp(tiff.bytes, "MM", 2) == 0)
        tiff.big_endian = true;
    else if (std::memcmp(tiff.bytes, "II", 2) != 0)
        return;
    unsigned long second = 0;
    unsigned type = 0;
    const unsigned long orientation = directory_value(tiff, tiff.read32(4), orientation_tag, type, second);
    header.orientation = type == short_type && orientation >= 1 && orientation <= 8 ? static_cast<int>(orientation) : 1;
    if (second == 0) return;
    unsigned long next = 0;
    const unsigned long offset = directory_value(tiff, second, thumbnail_offset_tag, type, next);
    const unsigned long length = directory_value(tiff, second, thumbnail_size_tag, type, next);
    if (offset == 0 || length < 4 || !tiff.has(offset, length)) return;
    header.thumbnail_offset = segment_at + 6 + offset;
    header.thumbnail_size = length;
}

bool is_frame_marker(unsigned char marker) {
    // C4 (Huffman tables), C8 (reserved) and CC (arithmetic conditioning) are not frames.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool is_standalone_marker(unsigned char marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

}  // namespace

bool read_jpeg_header(const unsigned char* bytes, std::size_t size, JpegHeader& header) {
    header = JpegHeader();
    if (size < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) return false;
    std::size_t at = 2;
    while (at + 4 <= size) {
        if (bytes[at] != 0xFF) return false;  // segments follow one another without gaps
        const unsigned char marker = bytes[at + 1];
        if (marker == 0xFF) {  // fill byte before a marker
            ++at;
            continue;
        }
        if (is_standalone_marker(marker)) {
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return false;  // the image ends or its scan starts before any frame
        const std::size_t length = (static_cast<std::size_t>(bytes[at + 2]) << 8) | bytes[at + 3];
        if (length < 2 || length > size - at - 2) return false;
        const unsigned char* segment = bytes + at + 4;
        const std::size_t segment_size = length - 2;
        if (marker == 0xE1 && header.orientation == 1 && header.thumbnail_size == 0)
            read_exif(segment, segment_size, at + 4, header);
        if (is_frame_marker(marker)) {
            if (segment_size < 6) return false;
            header.height = (segment[1] << 8) | segment[2];
            header.width = (segment[3] << 8) | segment[4];
            header.components = segment[5];
            header.baseline = marker == 0xC0;
            return header.width > 0 && header.height > 0;
        }
        at += 2 + length;
    }
    return false;
}
