// What a JPEG file says of itself before its first scan: size, kind of frame
// and the EXIF orientation, read without decoding a pixel.
#pragma once

#include <cstddef>

struct JpegHeader {
    int width = 0;
    int height = 0;
    int components = 0;  // 1 grey, 3 colour, 4 CMYK or YCCK
    bool baseline = false;  // sequential Huffman frame (SOF0), which every picture loader reads
    int orientation = 1;  // EXIF orientation 1 to 8; 1 when absent or unreadable
    // The small JPEG a camera stores in its EXIF block (the second image
    // directory), as bytes of the file; size 0 when there is none.
    std::size_t thumbnail_offset = 0;
    std::size_t thumbnail_size = 0;
};

// False when the bytes are no JPEG or end before the frame header.
bool read_jpeg_header(const unsigned char* bytes, std::size_t size, JpegHeader& header);
