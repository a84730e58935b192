#include "pictures/picture_loader.h"

#include <ole2.h>
#include <olectl.h>

#include <cstring>

#include "app/owned_handle.h"
#include "pictures/jpeg_header.h"
#include "pictures/picture_fit.h"

namespace {

long decode_calls = 0;
long stretch_calls = 0;

struct ResourceBytes {
    HGLOBAL loaded = nullptr;
    const void* bytes = nullptr;
    DWORD count = 0;  // 0 when the resource is missing or empty: no picture
};

ResourceBytes find_resource_bytes(HMODULE module, unsigned resource_id, const char* resource_type) {
    ResourceBytes found_bytes;
    // Above 0xFFFF the id is no integer resource name: MAKEINTRESOURCE would cut
    // it down to another resource's id.
    if (resource_id > 0xFFFF) return found_bytes;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resource_id), resource_type);
    found_bytes.loaded = found ? LoadResource(module, found) : nullptr;
    if (!found_bytes.loaded) return found_bytes;
    found_bytes.bytes = LockResource(found_bytes.loaded);
    if (found_bytes.bytes) found_bytes.count = SizeofResource(module, found);
    return found_bytes;
}

}  // namespace

HBITMAP load_picture(HMODULE module, unsigned resource_id, const char* resource_type, int box_width,
                     int box_height) {
    const ResourceBytes resource = find_resource_bytes(module, resource_id, resource_type);
    if (resource.count == 0) return nullptr;

    OwnedBitmap decoded(decode_picture(resource.bytes, resource.count));
    FreeResource(resource.loaded);
    if (!decoded) return nullptr;
    // The pack tool stores pictures at the size they are shown: those need no
    // second stretch. Any other picture is only the source of the fitted one.
    BITMAP size = {};
    if (GetObjectA(decoded.get(), sizeof size, &size) == static_cast<int>(sizeof size)) {
        const FittedSize fitted = fit_picture(size.bmWidth, size.bmHeight, box_width, box_height);
        if (fitted.width == size.bmWidth && fitted.height == size.bmHeight) return decoded.release();
    }
    return scale_picture(decoded.get(), box_width, box_height);
}

bool fitted_size_from_header(HMODULE module, unsigned resource_id, const char* resource_type, int box_width,
                             int box_height, FittedSize& fitted) {
    const ResourceBytes resource = find_resource_bytes(module, resource_id, resource_type);
    JpegHeader header;
    if (resource.count == 0 ||
        !read_jpeg_header(static_cast<const unsigned char*>(resource.bytes), resource.count, header))
        return false;
    fitted = fit_picture(header.width, header.height, box_width, box_height);
    return true;
}

HBITMAP decode_picture(const void* bytes, DWORD byte_count) {
    ++decode_calls;
    if (!bytes || byte_count == 0) return nullptr;
    ComInitialisation com;

    HGLOBAL block = GlobalAlloc(GMEM_FIXED, byte_count);
    if (!block) return nullptr;
    std::memcpy(block, bytes, byte_count);  // a fixed block's handle is its address

    IStream* created_stream = nullptr;
    const HRESULT stream_result = CreateStreamOnHGlobal(block, TRUE, &created_stream);
    const OwnedInterface<IStream> stream(created_stream);  // owns the block once created
    if (FAILED(stream_result) || !stream) {
        GlobalFree(block);
        return nullptr;
    }
    IPicture* loaded_picture = nullptr;
    const HRESULT picture_result = OleLoadPicture(stream.get(), static_cast<LONG>(byte_count), FALSE, IID_IPicture,
                                                  reinterpret_cast<void**>(&loaded_picture));
    const OwnedInterface<IPicture> picture(loaded_picture);
    if (FAILED(picture_result) || !picture) return nullptr;

    // The picture destroys its own bitmap when released: hand out a copy.
    OLE_HANDLE handle = 0;
    if (FAILED(picture.get()->get_Handle(&handle)) || handle == 0) return nullptr;
    HANDLE own_bitmap = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle));
    return static_cast<HBITMAP>(CopyImage(own_bitmap, IMAGE_BITMAP, 0, 0, 0));
}

HBITMAP scale_picture(HBITMAP source, int box_width, int box_height) {
    ++stretch_calls;
    BITMAP source_size = {};
    if (GetObjectA(source, sizeof source_size, &source_size) != static_cast<int>(sizeof source_size))
        return nullptr;
    const FittedSize fitted =
        fit_picture(source_size.bmWidth, source_size.bmHeight, box_width, box_height);
    if (fitted.width <= 0 || fitted.height <= 0) return nullptr;  // nothing to show

    ScreenDc screen;
    OwnedMemoryDc source_dc(CreateCompatibleDC(screen.get()));
    OwnedMemoryDc target_dc(CreateCompatibleDC(screen.get()));
    if (!source_dc || !target_dc) return nullptr;
    SelectedObject source_selected(source_dc.get(), source);
    // Compatible with the screen: a memory DC would give a monochrome bitmap.
    OwnedBitmap fitted_bitmap(CreateCompatibleBitmap(screen.get(), fitted.width, fitted.height));
    if (!fitted_bitmap) return nullptr;
    SelectedObject target_selected(target_dc.get(), fitted_bitmap.get());

    SetStretchBltMode(target_dc.get(), HALFTONE);
    if (!StretchBlt(target_dc.get(), 0, 0, fitted.width, fitted.height, source_dc.get(), 0, 0,
                    source_size.bmWidth, source_size.bmHeight, SRCCOPY))
        return nullptr;
    // The selections are undone as the scope ends, before the caller sees the bitmap.
    return fitted_bitmap.release();
}

void set_control_picture(HWND picture_control, HBITMAP bitmap) {
    const HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(
        SendMessageA(picture_control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    if (previous) DeleteObject(previous);
}

long picture_decode_count() { return decode_calls; }

long picture_stretch_count() { return stretch_calls; }
