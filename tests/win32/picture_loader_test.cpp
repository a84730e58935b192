// Picture loading under Wine: fitted sizes, real pixels, failures, the decode
// count, GDI objects left behind and the thread's COM initialisation.
#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/owned_handle.h"
#include "pictures/picture_loader.h"

namespace {

constexpr int box_width = 360;
constexpr int box_height = 345;

// The fixture DLL lies in "fixtures" beside the test executable.
OwnedModule load_picture_fixtures() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file(path, length);
    file.erase(file.find_last_of('\\') + 1);
    file += "fixtures\\picture_fixtures.dll";
    return OwnedModule(LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

SIZE bitmap_size(HBITMAP bitmap) {
    BITMAP info = {};
    if (GetObjectA(bitmap, sizeof info, &info) != static_cast<int>(sizeof info)) return {-1, -1};
    return {info.bmWidth, info.bmHeight};
}

struct Pixels {
    int width = 0;
    std::vector<RGBQUAD> data;  // top-down rows
    const RGBQUAD& at(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
};

Pixels read_pixels(HBITMAP bitmap) {
    const SIZE size = bitmap_size(bitmap);
    Pixels pixels;
    pixels.width = size.cx;
    pixels.data.resize(static_cast<size_t>(size.cx) * size.cy);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ScreenDc screen;
    EXPECT_EQ(
        GetDIBits(screen.get(), bitmap, 0, size.cy, pixels.data.data(), &info, DIB_RGB_COLORS),
        size.cy);
    return pixels;
}

// JPEG and the halftone stretch blur colours a little.
void expect_colour_near(const RGBQUAD& pixel, COLORREF expected) {
    constexpr int tolerance = 48;
    EXPECT_LE(std::abs(pixel.rgbRed - GetRValue(expected)), tolerance);
    EXPECT_LE(std::abs(pixel.rgbGreen - GetGValue(expected)), tolerance);
    EXPECT_LE(std::abs(pixel.rgbBlue - GetBValue(expected)), tolerance);
}

class PictureLoader : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fixtures) << "fixtures\\picture_fixtures.dll"; }
    HBITMAP load(unsigned id, const char* type = "IMG") {
        return load_picture(fixtures.get(), id, type, box_width, box_height);
    }
    OwnedModule fixtures = load_picture_fixtures();
};

struct FitCase {
    unsigned id;
    const char* picture;
    int width;
    int height;
};

TEST_F(PictureLoader, FitsEachPictureIntoTheQuestionBox) {
    const FitCase cases[] = {
        {401, "400 x 300, the horizontal ratio is smaller", 360, 270},
        {402, "300 x 400, 258.75 truncated", 258, 345},
        {403, "1000 x 1000, reduced", 345, 345},
        {404, "100 x 100, enlarged", 345, 345},
        {405, "360 x 345, its own size", 360, 345},
    };
    ScreenDc screen;
    const int screen_bits =
        GetDeviceCaps(screen.get(), BITSPIXEL) * GetDeviceCaps(screen.get(), PLANES);
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.picture);
        const long decodes = picture_decode_count();
        OwnedBitmap bitmap(load(c.id));
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(picture_decode_count(), decodes + 1);
        const SIZE size = bitmap_size(bitmap.get());
        EXPECT_EQ(size.cx, c.width);
        EXPECT_EQ(size.cy, c.height);
        BITMAP info = {};
        GetObjectA(bitmap.get(), sizeof info, &info);
        EXPECT_EQ(info.bmBitsPixel, screen_bits);  // compatible with the screen, not monochrome
        // Selected into nothing: a bitmap still held by a DC cannot be selected again.
        OwnedMemoryDc dc(CreateCompatibleDC(screen.get()));
        HGDIOBJ previous = SelectObject(dc.get(), bitmap.get());
        EXPECT_NE(previous, nullptr);
        SelectObject(dc.get(), previous);
    }
}

TEST_F(PictureLoader, MissingOrEmptyResourcesYieldNothingWithoutDecoding) {
    struct Case {
        const char* what;
        HMODULE module;
        unsigned id;
        const char* type;
    };
    const Case cases[] = {
        {"an answer picture the quiz does not carry", fixtures.get(), 10401, "IMG"},
        {"a type the module does not hold", fixtures.get(), 401, "PNG"},
        {"an empty resource", fixtures.get(), 502, "IMG"},
        {"an id beyond 16 bits, 0x10000 + 401", fixtures.get(), 0x10000 + 401, "IMG"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const long decodes = picture_decode_count();
        EXPECT_EQ(load_picture(c.module, c.id, c.type, box_width, box_height), nullptr);
        EXPECT_EQ(picture_decode_count(), decodes);
    }
}

TEST_F(PictureLoader, BytesThatAreNoPictureYieldNothingAfterOneDecode) {
    const long decodes = picture_decode_count();
    EXPECT_EQ(load(501), nullptr);
    EXPECT_EQ(picture_decode_count(), decodes + 1);

    const char not_a_picture[] = "\xFF\xD8\xFF\xE0 a JPEG start and nothing after";
    EXPECT_EQ(decode_picture(not_a_picture, sizeof not_a_picture), nullptr);
    EXPECT_EQ(decode_picture(nullptr, 0), nullptr);
    EXPECT_EQ(picture_decode_count(), decodes + 3);
}

// The 400 x 300 picture is red on its left half and blue on its right, the
// 300 x 400 one green above and blue below. Samples near the middle line tell a
// stretch of the whole picture from a crop or a flip.
TEST_F(PictureLoader, FittedBitmapHoldsTheWholePictureTheRightWayRound) {
    struct Sample {
        int x;
        int y;
        COLORREF colour;
    };
    struct Case {
        unsigned id;
        std::vector<Sample> samples;
    };
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255), green = RGB(0, 255, 0);
    const Case cases[] = {
        {401, {{4, 4, red}, {170, 135, red}, {190, 135, blue}, {355, 265, blue}}},
        {402, {{4, 4, green}, {129, 160, green}, {129, 185, blue}, {253, 340, blue}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        OwnedBitmap bitmap(load(c.id));
        ASSERT_TRUE(bitmap);
        const Pixels pixels = read_pixels(bitmap.get());
        for (const Sample& s : c.samples) {
            SCOPED_TRACE(testing::Message() << "pixel " << s.x << ", " << s.y);
            expect_colour_near(pixels.at(s.x, s.y), s.colour);
        }
    }
}

TEST(PictureScaling, MakesANewBitmapAndLeavesTheSource) {
    ScreenDc screen;
    OwnedBitmap source(CreateCompatibleBitmap(screen.get(), 400, 300));
    OwnedBitmap fitted(scale_picture(source.get(), box_width, box_height));
    ASSERT_TRUE(fitted);
    EXPECT_NE(fitted.get(), source.get());
    EXPECT_EQ(bitmap_size(fitted.get()).cx, 360);
    EXPECT_EQ(bitmap_size(fitted.get()).cy, 270);
    EXPECT_EQ(bitmap_size(source.get()).cx, 400);
    EXPECT_EQ(bitmap_size(source.get()).cy, 300);
    // The source can still be selected: scaling left it in no DC.
    OwnedMemoryDc dc(CreateCompatibleDC(screen.get()));
    EXPECT_NE(SelectObject(dc.get(), source.get()), nullptr);
}

TEST(PictureScaling, NothingToScaleOrNoRoomYieldsNothing) {
    ScreenDc screen;
    OwnedBitmap source(CreateCompatibleBitmap(screen.get(), 400, 300));
    EXPECT_EQ(scale_picture(nullptr, box_width, box_height), nullptr);
    EXPECT_EQ(scale_picture(source.get(), 0, box_height), nullptr);
    EXPECT_EQ(scale_picture(source.get(), box_width, -5), nullptr);
}

// GetGuiResources does not count on Wine. Instead the executable's import slots
// of CopyImage, CreateCompatibleDC and CreateCompatibleBitmap are pointed at
// recorders, which see every object the loader makes or copies; GetObjectType
// then tells which of them still exist.
class ImportPatch {
public:
    ImportPatch(const char* dll, const char* function, void* replacement)
        : slot_(find_slot(dll, function)) {
        if (!slot_) return;
        original_ = *slot_;
        write(replacement);
    }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;
    ~ImportPatch() {
        if (slot_) write(original_);
    }
    void* original() const { return original_; }

private:
    static void** find_slot(const char* dll, const char* function) {
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
        auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
        auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports =
            nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* library =
                 reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
             library->Name; ++library) {
            if (lstrcmpiA(reinterpret_cast<const char*>(base + library->Name), dll) != 0) continue;
            auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
            for (; names->u1.AddressOfData; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
                auto* by_name =
                    reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(by_name->Name), function) == 0)
                    return reinterpret_cast<void**>(&slots->u1.Function);
            }
        }
        return nullptr;
    }
    void write(void* value) {
        DWORD protection = 0;
        VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection);
        *slot_ = value;
        VirtualProtect(slot_, sizeof *slot_, protection, &protection);
    }
    void** slot_;
    void* original_ = nullptr;
};

struct CreatedObjects {
    std::vector<HANDLE> copy_sources;  // the pictures' own bitmaps
    std::vector<HANDLE> copies;        // the full-size bitmaps
    std::vector<HDC> memory_dcs;
    std::vector<HBITMAP> fitted;
};
CreatedObjects created;
decltype(&CopyImage) real_copy_image = nullptr;
decltype(&CreateCompatibleDC) real_create_compatible_dc = nullptr;
decltype(&CreateCompatibleBitmap) real_create_compatible_bitmap = nullptr;

HANDLE WINAPI recording_copy_image(HANDLE image, UINT type, int width, int height, UINT flags) {
    HANDLE copy = real_copy_image(image, type, width, height, flags);
    created.copy_sources.push_back(image);
    created.copies.push_back(copy);
    return copy;
}

HDC WINAPI recording_create_compatible_dc(HDC dc) {
    HDC memory_dc = real_create_compatible_dc(dc);
    created.memory_dcs.push_back(memory_dc);
    return memory_dc;
}

HBITMAP WINAPI recording_create_compatible_bitmap(HDC dc, int width, int height) {
    HBITMAP bitmap = real_create_compatible_bitmap(dc, width, height);
    created.fitted.push_back(bitmap);
    return bitmap;
}

template <typename Handle>
int still_alive(const std::vector<Handle>& handles) {
    int alive = 0;
    for (Handle handle : handles)
        alive += GetObjectType(handle) != 0;
    return alive;
}

TEST_F(PictureLoader, LeavesNoGdiObjectBehindOverManyLoads) {
    created = {};
    ImportPatch copy_image("user32.dll", "CopyImage",
                           reinterpret_cast<void*>(recording_copy_image));
    ImportPatch memory_dc("gdi32.dll", "CreateCompatibleDC",
                          reinterpret_cast<void*>(recording_create_compatible_dc));
    ImportPatch bitmap("gdi32.dll", "CreateCompatibleBitmap",
                       reinterpret_cast<void*>(recording_create_compatible_bitmap));
    real_copy_image = reinterpret_cast<decltype(real_copy_image)>(copy_image.original());
    real_create_compatible_dc =
        reinterpret_cast<decltype(real_create_compatible_dc)>(memory_dc.original());
    real_create_compatible_bitmap =
        reinterpret_cast<decltype(real_create_compatible_bitmap)>(bitmap.original());
    ASSERT_NE(real_copy_image, nullptr);
    ASSERT_NE(real_create_compatible_dc, nullptr);
    ASSERT_NE(real_create_compatible_bitmap, nullptr);

    constexpr int loads = 60;
    std::vector<HBITMAP> returned;
    for (int i = 0; i < loads; ++i) {
        HBITMAP picture = load(401 + i % 5);
        ASSERT_NE(picture, nullptr);
        // While the caller holds it, only the bitmap this call returned is alive: the
        // fitted one, or the decoded copy of a picture already at its shown size.
        EXPECT_EQ(still_alive(created.copy_sources), 0);
        EXPECT_EQ(still_alive(created.memory_dcs), 0);
        EXPECT_EQ(still_alive(created.copies) + still_alive(created.fitted), 1);
        const bool shown_size = i % 5 == 4;  // 405 is 360 x 345
        ASSERT_FALSE(created.fitted.empty());
        EXPECT_EQ(shown_size ? created.copies.back() : created.fitted.back(), picture);
        DeleteObject(picture);
        returned.push_back(picture);
    }
    // Every call went through the recorders, so the counts above saw everything.
    constexpr int stretched = loads - loads / 5;
    EXPECT_EQ(created.copies.size(), static_cast<size_t>(loads));
    EXPECT_EQ(created.memory_dcs.size(), static_cast<size_t>(2 * stretched));
    EXPECT_EQ(created.fitted.size(), static_cast<size_t>(stretched));
    EXPECT_EQ(still_alive(created.fitted), 0);
}

// COM must be left as the loader found it on the calling thread. Each case runs
// on a thread of its own and reports what a CoInitializeEx made afterwards says:
// S_OK means nothing was initialised any more, S_FALSE that it still was.
HRESULT initialisation_after_loading(HMODULE fixtures, DWORD apartment_before,
                                     bool initialise_before) {
    HRESULT after = E_FAIL;
    std::thread worker([&] {
        if (initialise_before) CoInitializeEx(nullptr, apartment_before);
        DeleteObject(load_picture(fixtures, 401, "IMG", box_width, box_height));
        DeleteObject(load_picture(fixtures, 501, "IMG", box_width, box_height));
        after = CoInitializeEx(nullptr, apartment_before);
        if (SUCCEEDED(after)) CoUninitialize();
        if (initialise_before) CoUninitialize();
    });
    worker.join();
    return after;
}

TEST_F(PictureLoader, LeavesTheThreadsComInitialisationAsItFoundIt) {
    struct Case {
        const char* thread;
        DWORD apartment;
        bool initialised;
        HRESULT afterwards;
    };
    const Case cases[] = {
        {"without COM", COINIT_APARTMENTTHREADED, false, S_OK},
        {"in a single-threaded apartment", COINIT_APARTMENTTHREADED, true, S_FALSE},
        // CoInitialize fails there; undoing it would end the thread's own initialisation.
        {"in the multithreaded apartment", COINIT_MULTITHREADED, true, S_FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.thread);
        EXPECT_EQ(initialisation_after_loading(fixtures.get(), c.apartment, c.initialised),
                  c.afterwards);
    }
}

}  // namespace
