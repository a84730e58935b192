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

// The orientation entry of the first image directory; 1 when there is none.
int exif_orientation(const unsigned char* segment, std::size_t size) {
    if (size < 6 || std::memcmp(segment, "Exif\0\0", 6) != 0) return 1;
    TiffBlock tiff{segment + 6, size - 6, false};
    if (!tiff.has(0, 8)) return 1;
    if (std::memcmp(tiff.bytes, "MM", 2) == 0)
        tiff.big_endian = true;
    else if (std::memcmp(tiff.bytes, "II", 2) != 0)
        return 1;
    const unsigned long directory = tiff.read32(4);
    if (!tiff.has(directory, 2)) return 1;
    const unsigned entries = tiff.read16(directory);
    for (unsigned i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + 12 * static_cast<std::size_t>(i);
        if (!tiff.has(entry, 12)) return 1;
        if (tiff.read16(entry) != orientation_tag) continue;
        const unsigned value = tiff.read16(entry + 8);
        const bool valid = tiff.read16(entry + 2) == short_type && value >= 1 && value <= 8;
        return valid ? static_cast<int>(value) : 1;
    }
    return 1;
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
        if (marker == 0xE1 && header.orientation == 1) header.orientation = exif_orientation(segment, segment_size);
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
