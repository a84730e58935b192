#include "pictures/picture_loader.h"

#include <wincodec.h>

#include <cstdint>

#include "base/resource_bytes.h"
#include "pictures/jpeg_header.h"

namespace {

long decode_calls = 0;
long stretch_calls = 0;

// The frame's pixels as 32-bit colour in a top-down DIB section: every format the
// platform decodes ends in the same layout, copied straight into the bitmap.
HBITMAP decode_picture(const PictureDecoder& decoder, const void* bytes, DWORD byte_count) {
    ++decode_calls;
    IWICImagingFactory* factory = decoder.factory();
    if (!factory || !bytes || byte_count == 0) return nullptr;

    IWICStream* created_stream = nullptr;
    if (FAILED(factory->CreateStream(&created_stream))) return nullptr;
    const OwnedInterface<IWICStream> stream(created_stream);
    // The stream reads the resource where it lies, without a copy.
    if (FAILED(stream.get()->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(bytes)), byte_count)))
        return nullptr;
    IWICBitmapDecoder* created_decoder = nullptr;
    if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                &created_decoder)))
        return nullptr;
    const OwnedInterface<IWICBitmapDecoder> picture_decoder(created_decoder);
    IWICBitmapFrameDecode* created_frame = nullptr;
    if (FAILED(picture_decoder.get()->GetFrame(0, &created_frame))) return nullptr;
    const OwnedInterface<IWICBitmapFrameDecode> frame(created_frame);
    IWICFormatConverter* created_converter = nullptr;
    if (FAILED(factory->CreateFormatConverter(&created_converter))) return nullptr;
    const OwnedInterface<IWICFormatConverter> converter(created_converter);
    if (FAILED(converter.get()->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                           nullptr, 0.0, WICBitmapPaletteTypeCustom)))
        return nullptr;

    UINT width = 0;
    UINT height = 0;
    if (FAILED(converter.get()->GetSize(&width, &height)) || width == 0 || height == 0) return nullptr;
    const std::uint64_t stride = std::uint64_t{width} * 4;
    if (stride * height > 0x7FFFFFFF) return nullptr;  // beyond what a DIB section can hold
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = static_cast<LONG>(width);
    format.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, as the frame's rows come
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    OwnedBitmap bitmap(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return nullptr;
    if (FAILED(converter.get()->CopyPixels(nullptr, static_cast<UINT>(stride), static_cast<UINT>(stride * height),
                                           static_cast<BYTE*>(bits))))
        return nullptr;
    return bitmap.release();
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

}  // namespace

PictureDecoder::PictureDecoder() {
    // The factory of Windows 7: SDKs that target Windows 8 take the plain name
    // CLSID_WICImagingFactory for a newer one, which Windows 7 lacks.
    IWICImagingFactory* created = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   reinterpret_cast<void**>(&created))))
        factory_.reset(created);
}

PictureDecoder::~PictureDecoder() = default;

HBITMAP load_picture(const PictureDecoder& decoder, HMODULE module, unsigned resource_id,
                     const char* resource_type, int box_width, int box_height) {
    const ResourceView resource = find_resource(module, resource_type, resource_id);
    if (!resource.bytes) return nullptr;
    return load_picture_bytes(decoder, resource.bytes, resource.size, box_width, box_height);
}

HBITMAP load_picture_bytes(const PictureDecoder& decoder, const void* bytes, unsigned long size, int box_width,
                           int box_height) {
    OwnedBitmap decoded(decode_picture(decoder, bytes, static_cast<DWORD>(size)));
    if (!decoded) return nullptr;
    // The pack tool stores pictures at the size they are shown: those need no
    // second stretch. Any other picture is only the source of the fitted one.
    BITMAP shape = {};
    if (GetObjectA(decoded.get(), sizeof shape, &shape) == static_cast<int>(sizeof shape)) {
        const FittedSize fitted = fit_picture(shape.bmWidth, shape.bmHeight, box_width, box_height);
        if (fitted.width == shape.bmWidth && fitted.height == shape.bmHeight) return decoded.release();
    }
    return scale_picture(decoded.get(), box_width, box_height);
}

bool fitted_size_from_header(HMODULE module, unsigned resource_id, const char* resource_type, int box_width,
                             int box_height, FittedSize& fitted) {
    const ResourceView resource = find_resource(module, resource_type, resource_id);
    JpegHeader header;
    if (!resource.bytes || !read_jpeg_header(resource.bytes, resource.size, header))
        return false;
    fitted = fit_picture(header.width, header.height, box_width, box_height);
    return true;
}

void set_control_picture(HWND picture_control, HBITMAP bitmap) {
    const HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(
        SendMessageA(picture_control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    if (previous) DeleteObject(previous);
}

long picture_decode_count() { return decode_calls; }

long picture_stretch_count() { return stretch_calls; }
