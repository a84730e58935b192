#include "authoring/jpeg_decode.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

namespace {

// libjpeg stops on an error by calling error_exit, which must not return: it
// jumps back to the decode, which gives up. A warning (corrupt data, a file cut
// short, which libjpeg would decode as grey) is remembered: the file is refused
// as damaged. Nothing is printed.
struct ErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf back;
    bool warned;
};

void jump_back(j_common_ptr decoder) { std::longjmp(reinterpret_cast<ErrorJump*>(decoder->err)->back, 1); }
void note_warning(j_common_ptr decoder, int level) {
    if (level < 0) reinterpret_cast<ErrorJump*>(decoder->err)->warned = true;
}
void say_nothing(j_common_ptr) {}

// The decoder's state lives here rather than in the function that calls
// setjmp, whose own locals would be indeterminate after the jump.
struct JpegDecode {
    jpeg_decompress_struct decoder;
    ErrorJump error;
};

// CMYK as Adobe's programs write it (inverted, which the Adobe marker says) or
// plain, to RGB: each ink darkens its colour by the black.
void cmyk_to_rgba(std::vector<unsigned char>& pixels, bool inverted) {
    for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
        unsigned char* pixel = &pixels[i];
        const int black = inverted ? pixel[3] : 255 - pixel[3];
        for (int c = 0; c < 3; ++c) {
            const int ink = inverted ? pixel[c] : 255 - pixel[c];
            pixel[c] = static_cast<unsigned char>((ink * black + 127) / 255);
        }
        pixel[3] = 255;
    }
}

bool decode(JpegDecode& state, const unsigned char* bytes, std::size_t size, int min_width, int min_height,
            RgbaPicture& picture) {
    jpeg_decompress_struct& decoder = state.decoder;
    if (setjmp(state.error.back)) return false;
    jpeg_mem_src(&decoder, bytes, static_cast<unsigned long>(size));
    if (jpeg_read_header(&decoder, TRUE) != JPEG_HEADER_OK ||
        static_cast<long long>(decoder.image_width) * decoder.image_height > max_picture_pixels)
        return false;
    const bool cmyk = decoder.jpeg_color_space == JCS_CMYK || decoder.jpeg_color_space == JCS_YCCK;
    decoder.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
    decoder.scale_denom = 8;
    decoder.scale_num = 1;
    while (decoder.scale_num < 8 &&
           (static_cast<long long>(decoder.image_width) * decoder.scale_num < 8LL * min_width ||
            static_cast<long long>(decoder.image_height) * decoder.scale_num < 8LL * min_height))
        ++decoder.scale_num;
    jpeg_start_decompress(&decoder);
    picture.width = static_cast<int>(decoder.output_width);
    picture.height = static_cast<int>(decoder.output_height);
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height * 4);
    while (decoder.output_scanline < decoder.output_height) {
        JSAMPROW row = &picture.pixels[static_cast<std::size_t>(decoder.output_scanline) * picture.width * 4];
        jpeg_read_scanlines(&decoder, &row, 1);
        if (state.error.warned) return false;  // refused anyway: the rest is not decoded
    }
    jpeg_finish_decompress(&decoder);
    if (cmyk) cmyk_to_rgba(picture.pixels, decoder.saw_Adobe_marker);
    return !state.error.warned;
}

}  // namespace

bool decode_jpeg(const unsigned char* bytes, std::size_t size, int min_width, int min_height, RgbaPicture& picture) {
    picture = RgbaPicture();
    JpegDecode state = {};
    state.decoder.err = jpeg_std_error(&state.error.manager);
    state.error.manager.error_exit = jump_back;
    state.error.manager.emit_message = note_warning;
    state.error.manager.output_message = say_nothing;
    jpeg_create_decompress(&state.decoder);
    const bool decoded = decode(state, bytes, size, min_width, min_height, picture);
    jpeg_destroy_decompress(&state.decoder);
    if (!decoded) picture = RgbaPicture();
    return decoded;
}
