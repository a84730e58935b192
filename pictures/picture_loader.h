// IMG resources (JPEG) turned into screen bitmaps fitted to a box.
#pragma once

#include <windows.h>

#include "base/owned_handle.h"
#include "pictures/picture_fit.h"

struct IWICImagingFactory;

// The platform's imaging factory, with the thread's COM initialisation it needs.
// Making them costs about as much as decoding a shown picture, so one serves a
// whole run of pictures. Without a factory every picture is undecodable.
class PictureDecoder {
public:
    PictureDecoder();
    ~PictureDecoder();
    PictureDecoder(const PictureDecoder&) = delete;
    PictureDecoder& operator=(const PictureDecoder&) = delete;
    IWICImagingFactory* factory() const { return factory_.get(); }

private:
    ComInitialisation com_;  // declared first: undone after the factory is released
    OwnedInterface<IWICImagingFactory> factory_;
};

// A new bitmap owned by the caller, or nullptr when the resource is missing or undecodable.
HBITMAP load_picture(const PictureDecoder& decoder, HMODULE module, unsigned resource_id,
                     const char* resource_type, int box_width, int box_height);
// The same from a picture's bytes in memory (any format the platform decodes).
HBITMAP load_picture_bytes(const PictureDecoder& decoder, const void* bytes, unsigned long size, int box_width,
                           int box_height);
// The size load_picture would give the resource, read from its JPEG header
// without decoding; false when the resource is missing or its header unreadable.
bool fitted_size_from_header(HMODULE module, unsigned resource_id, const char* resource_type, int box_width,
                             int box_height, FittedSize& fitted);

// Shows `bitmap` (or nothing, for nullptr) in a picture control, which owns it
// from then on; the bitmap it showed before is deleted.
void set_control_picture(HWND picture_control, HBITMAP bitmap);

// Number of pictures decoded and stretched since start: start-up is measured by them.
long picture_decode_count();
long picture_stretch_count();
