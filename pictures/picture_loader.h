// IMG resources (JPEG) turned into screen bitmaps fitted to a box.
#pragma once

#include <windows.h>

#include "pictures/picture_fit.h"

// A new bitmap owned by the caller, or nullptr when the resource is missing or undecodable.
HBITMAP load_picture(HMODULE module, unsigned resource_id, const char* resource_type,
                     int box_width, int box_height);
// The size load_picture would give the resource, read from its JPEG header
// without decoding; false when the resource is missing or its header unreadable.
bool fitted_size_from_header(HMODULE module, unsigned resource_id, const char* resource_type, int box_width,
                             int box_height, FittedSize& fitted);
HBITMAP decode_picture(const void* bytes, DWORD byte_count);
HBITMAP scale_picture(HBITMAP source, int box_width, int box_height);

// Shows `bitmap` (or nothing, for nullptr) in a picture control, which owns it
// from then on; the bitmap it showed before is deleted.
void set_control_picture(HWND picture_control, HBITMAP bitmap);

// Number of decode_picture and scale_picture calls since start: start-up is
// measured by them.
long picture_decode_count();
long picture_stretch_count();
