// Picture loading under Wine: fitted sizes, real pixels, failures, the decode
// count and the thread's COM initialisation. Picture controls own their bitmaps:
// see the question panel's reveals.
#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "base/owned_handle.h"
#include "pictures/picture_loader.h"

namespace {

// fixtures\picture_fixtures.dll beside the test executable: 401 400 x 300, red
// left and blue right; 402 300 x 400, green above and blue below; 403 1000 x
// 1000 in grey; 404 100 x 100; 405 360 x 345; 501 bytes that are no picture; 502 empty.
class PictureLoader : public ::testing::Test {
protected:
    void SetUp() override {
        char path[MAX_PATH] = {};
        std::string file(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
        file.replace(file.find_last_of('\\') + 1, std::string::npos, "fixtures\\picture_fixtures.dll");
        fixtures.reset(LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(fixtures);
    }
    HBITMAP load(unsigned id, const char* type = "IMG") {
        const PictureDecoder decoder;
        return load_picture(decoder, fixtures.get(), id, type, 360, 345);
    }
    OwnedModule fixtures;
};

TEST_F(PictureLoader, FitsTheWholePictureTheRightWayRound) {
    const struct {
        unsigned id;
        int width, height;
        std::vector<std::vector<int>> samples;  // x, y, red, green, blue
    } cases[] = {
        {401, 360, 270, {{4, 4, 255, 0, 0}, {170, 135, 255, 0, 0}, {190, 135, 0, 0, 255}, {355, 265, 0, 0, 255}}},
        {402, 258, 345, {{4, 4, 0, 255, 0}, {129, 160, 0, 255, 0}, {129, 185, 0, 0, 255}, {253, 340, 0, 0, 255}}},
        {403, 345, 345, {{172, 172, 126, 126, 126}}},  // a grey JPEG: one component
        {404, 345, 345, {}},  // enlarged
        {405, 360, 345, {}},  // already at its shown size: used as decoded, not stretched again
    };
    for (const auto& c : cases) {
        const long decodes = picture_decode_count();
        const long stretches = picture_stretch_count();
        OwnedBitmap bitmap(load(c.id));
        EXPECT_EQ(picture_decode_count(), decodes + 1);
        EXPECT_EQ(picture_stretch_count(), stretches + (c.id == 405 ? 0 : 1)) << c.id;
        BITMAP info = {};
        GetObjectA(bitmap.get(), sizeof info, &info);
        EXPECT_EQ(std::vector<int>({info.bmWidth, info.bmHeight}), std::vector<int>({c.width, c.height})) << c.id;
        std::vector<RGBQUAD> pixels(static_cast<std::size_t>(c.width) * c.height);
        BITMAPINFO format = {{sizeof format.bmiHeader, c.width, -c.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        ScreenDc screen;
        EXPECT_EQ(GetDIBits(screen.get(), bitmap.get(), 0, c.height, pixels.data(), &format, DIB_RGB_COLORS), c.height);
        for (const std::vector<int>& s : c.samples) {  // JPEG and the stretch blur colours a little
            const RGBQUAD& pixel = pixels[static_cast<std::size_t>(s[1]) * c.width + s[0]];
            EXPECT_LE(std::abs(pixel.rgbRed - s[2]) + std::abs(pixel.rgbGreen - s[3]) + std::abs(pixel.rgbBlue - s[4]), 96)
                << c.id << " at " << s[0] << ", " << s[1];
        }
    }
}

TEST_F(PictureLoader, RefusesWhatHoldsNoPicture) {
    long decodes = picture_decode_count();
    EXPECT_EQ(load(10401), nullptr);            // missing
    EXPECT_EQ(load(401, "PNG"), nullptr);       // another type
    EXPECT_EQ(load(502), nullptr);              // empty
    EXPECT_EQ(load(0x10000 + 401), nullptr);    // beyond 16 bits, not 401
    EXPECT_EQ(picture_decode_count(), decodes);  // none of them decoded
    EXPECT_EQ(load(501), nullptr);
    EXPECT_EQ(picture_decode_count(), decodes + 1);
}

// COM is left as the loader found it on the calling thread: afterwards a
// CoInitializeEx says S_OK when nothing is initialised any more, S_FALSE when it still is.
TEST_F(PictureLoader, LeavesTheThreadsComInitialisationAsItFoundIt) {
    const struct {
        DWORD apartment;
        bool initialised;
        HRESULT afterwards;
    } cases[] = {{COINIT_APARTMENTTHREADED, false, S_OK}, {COINIT_APARTMENTTHREADED, true, S_FALSE},
                 {COINIT_MULTITHREADED, true, S_FALSE}};  // CoInitialize fails there; undoing it would end the thread's
    for (const auto& c : cases) {
        HRESULT after = E_FAIL;
        std::thread([&] {
            if (c.initialised) CoInitializeEx(nullptr, c.apartment);
            DeleteObject(load(401));
            after = CoInitializeEx(nullptr, c.apartment);
            if (SUCCEEDED(after)) CoUninitialize();
            if (c.initialised) CoUninitialize();
        }).join();
        EXPECT_EQ(after, c.afterwards) << c.apartment << c.initialised;
    }
}

}  // namespace
