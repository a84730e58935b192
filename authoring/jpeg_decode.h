// JPEG decoding by libjpeg-turbo, which can decode a picture small without
// decoding it whole: it scales in the compressed domain (at 1/8 each 8 x 8
// block gives one pixel, its average), so a phone photograph's small picture,
// or the picture a quiz shows, costs a few percent of its full decode.
#pragma once

#include <cstddef>

#include "authoring/picture_convert.h"

// Decodes a JPEG at the smallest size n/8 of its own (n from 1 to 8) that still
// covers `min_width` x `min_height` (the whole picture for larger ones), in its
// stored orientation; CMYK pictures come out as RGB. False, `picture` left
// empty, for what libjpeg refuses or warns about (a damaged or truncated
// file) and for a picture over max_picture_pixels.
bool decode_jpeg(const unsigned char* bytes, std::size_t size, int min_width, int min_height, RgbaPicture& picture);
