#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "pictures/jpeg_header.h"
#include "authoring/jpeg_decode.h"
#include "authoring/picture_convert.h"
#include "pictures/picture_fit.h"

namespace {

using Bytes = std::vector<unsigned char>;

struct Colour {
    unsigned char r, g, b;
};
const Colour red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, white{255, 255, 255};

// A picture of four quadrants: top left, top right, bottom left, bottom right.
RgbaPicture quadrants(int width, int height, const Colour (&colours)[4]) {
    RgbaPicture picture;
    picture.width = width;
    picture.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Colour& c = colours[(y >= height / 2) * 2 + (x >= width / 2)];
            picture.pixels.insert(picture.pixels.end(), {c.r, c.g, c.b, 255});
        }
    return picture;
}

// The JPEG with an EXIF block naming `orientation` (big-endian TIFF, as many cameras write).
Bytes with_orientation(Bytes jpeg, int orientation) {
    const Bytes app1 = {0xFF, 0xE1, 0, 34, 'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8, 0, 1,
                        0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, static_cast<unsigned char>(orientation), 0, 0, 0, 0, 0, 0};
    jpeg.insert(jpeg.begin() + 2, app1.begin(), app1.end());
    return jpeg;
}

bool near(const unsigned char* pixel, const Colour& c) {
    return std::abs(pixel[0] - c.r) < 40 && std::abs(pixel[1] - c.g) < 40 && std::abs(pixel[2] - c.b) < 40;
}

// Sizes of real photographs, shrunk to the box, are checked end to end by tests/e2e/real_pictures.sh.
TEST(PictureConvert, StandsEachExifOrientationUprightWithoutEnlarging) {
    // Shown: red top left, green top right, blue bottom left, white bottom right.
    // Each row is how a camera stores that view under the orientation it writes.
    const struct {
        int orientation;
        Colour stored[4];
    } cases[] = {
        {1, {red, green, blue, white}}, {2, {green, red, white, blue}}, {3, {white, blue, green, red}},
        {4, {blue, white, red, green}}, {5, {red, blue, green, white}}, {6, {green, white, red, blue}},
        {7, {white, green, blue, red}}, {8, {blue, red, white, green}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.orientation);
        const bool turned = row.orientation >= 5;
        const Bytes jpeg = with_orientation(encode_jpeg(quadrants(turned ? 32 : 64, turned ? 64 : 32, row.stored)),
                                            row.orientation);
        ConvertedPicture converted;
        Message why;
        PictureProbe probe;
        ASSERT_TRUE(probe_picture_file(jpeg.data(), jpeg.size(), probe, why)) << why.english;
        EXPECT_TRUE(probe.width == 64 && probe.height == 32 && probe.orientation == row.orientation);
        ASSERT_TRUE(convert_picture(jpeg, picture_box_width, picture_box_height, {}, converted, why)) << why.english;
        EXPECT_EQ(converted.jpeg == jpeg, row.orientation == 1);  // an upright baseline JPEG that fits: kept as it is
        JpegHeader stored;
        ASSERT_TRUE(read_jpeg_header(converted.jpeg.data(), converted.jpeg.size(), stored));
        EXPECT_TRUE(stored.baseline && stored.orientation == 1 && stored.width == 64 && stored.height == 32);
        RgbaPicture shown;
        ASSERT_TRUE(decode_picture_file(converted.jpeg.data(), converted.jpeg.size(), shown, why)) << why.english;
        const Colour expected[4] = {red, green, blue, white};
        const int corners[4][2] = {{8, 8}, {56, 8}, {8, 24}, {56, 24}};
        for (int q = 0; q < 4; ++q)
            EXPECT_TRUE(near(&shown.pixels[(corners[q][1] * 64 + corners[q][0]) * 4], expected[q])) << "quadrant " << q;
    }
}

// Headers that announce 20000 x 20000 pixels, each followed by a little of its data.
Bytes huge_header(const char* format) {
    const std::string name = format;
    if (name == "JPEG") return {0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 8, 0x4E, 0x20, 0x4E, 0x20, 1, 1, 0x11, 0, 0xFF, 0xDA};
    if (name == "PNG")  // colour type 2 (RGB), which stb's own header check calls corrupt at this size
        return {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0x4E, 0x20, 0, 0, 0x4E,
                0x20, 8, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x40, 'I', 'D', 'A', 'T', 0x78};
    if (name == "GIF") return {'G', 'I', 'F', '8', '9', 'a', 0x20, 0x4E, 0x20, 0x4E, 0, 0, 0, 0x2C};
    return {'B', 'M', 0x36, 0, 0, 0x20, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 0x20, 0x4E, 0, 0, 0x20, 0x4E, 0, 0, 1, 0, 24};
}

// One table for both: the header probe refuses every file the conversion refuses
// for its kind, its size or a cut end, in the same words.
TEST(PictureConvert, ProbeAndConversionRefuseWhatTheyCannotCarry) {
    const Bytes jpeg = encode_jpeg(quadrants(64, 64, {red, green, blue, white}));
    const Bytes png = encode_png(quadrants(64, 64, {red, green, blue, white}));
    Bytes bmp = {'B', 'M', 0x46, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24};
    bmp.resize(0x46 - 1);  // a 2 x 2 BMP one byte short of the size it declares
    const std::string text = "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"/>";
    const char* const oversize = "is a picture of 20000 x 20000 pixels, over the limit of 100 megapixels";
    const struct {
        const char* name;
        Bytes file;
        const char* why;
    } cases[] = {
        {"HEIC", {0, 0, 0, 24, 'f', 't', 'y', 'p', 'h', 'e', 'i', 'c'}, "is a HEIC/HEIF file"},
        {"TIFF", {'I', 'I', 42, 0, 8, 0, 0, 0}, "is a TIFF (or camera raw) file"},
        {"SVG", Bytes(text.begin(), text.end()), "is a SVG file"},
        {"cut JPEG", Bytes(jpeg.begin(), jpeg.end() - 2), "is a damaged or truncated JPEG picture"},
        {"cut PNG", Bytes(png.begin(), png.end() - 13), "is a damaged or truncated PNG picture"},
        {"cut GIF", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}, "is a damaged or truncated GIF picture"},
        {"cut BMP", bmp, "is a damaged or truncated BMP picture"},
        {"BMP of no rows", {'B', 'M', 54, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 1, 0, 24,
                            0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         "is a damaged or truncated BMP picture"},
        {"huge cut JPEG", huge_header("JPEG"), oversize},
        {"huge cut PNG", huge_header("PNG"), oversize},
        {"huge cut GIF", huge_header("GIF"), oversize},
        {"huge cut BMP", huge_header("BMP"), oversize},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        ConvertedPicture converted;
        PictureProbe probe;
        Message converted_why, probed_why;
        EXPECT_FALSE(convert_picture(row.file, 360, 345, {}, converted, converted_why));
        EXPECT_FALSE(probe_picture_file(row.file.data(), row.file.size(), probe, probed_why));
        EXPECT_EQ(converted_why.english.rfind(row.why, 0), 0u) << converted_why.english;
        EXPECT_EQ(probed_why.english, converted_why.english);
    }
}

// What stb reads whole is whole: data after a JPEG's end, a PNG without the checksum of IEND.
TEST(PictureConvert, ProbeAcceptsWholeFilesWithTheirHabits) {
    Bytes jpeg = encode_jpeg(quadrants(64, 64, {red, green, blue, white}));
    jpeg.insert(jpeg.end(), {'t', 'r', 'a', 'i', 'l', 'e', 'r'});  // as phones append their own data
    const Bytes png = encode_png(quadrants(64, 64, {red, green, blue, white}));
    for (const Bytes& file : {jpeg, Bytes(png.begin(), png.end() - 4)}) {
        PictureProbe probe;
        Message why;
        EXPECT_TRUE(probe_picture_file(file.data(), file.size(), probe, why)) << why.english;
    }
}

}  // namespace

// A clipboard bitmap (CF_DIB) is read as the BMP file it makes: rows bottom up
// and padded to 4 bytes, or top down with bit-field masks after the header.
TEST(PictureConvert, ClipboardBitmapsAreReadAsBmpFiles) {
    const auto header = [](int width, int height, int bits, int compression) {
        std::vector<unsigned char> dib(40, 0);
        const auto put = [&dib](std::size_t at, long value) {
            for (int i = 0; i < 4; ++i) dib[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(value >> (8 * i));
        };
        put(0, 40);
        put(4, width);
        put(8, height);
        dib[12] = 1;
        dib[14] = static_cast<unsigned char>(bits);
        put(16, compression);
        return dib;
    };
    std::vector<unsigned char> bottom_up = header(2, 2, 24, 0);
    const unsigned char rows[] = {255, 0, 0, 0, 255, 0, 0, 0,  // bottom: blue, green, padding
                                  0, 0, 255, 255, 255, 255, 0, 0};  // top: red, white, padding
    bottom_up.insert(bottom_up.end(), std::begin(rows), std::end(rows));
    std::vector<unsigned char> top_down = header(1, -1, 32, 3);
    const unsigned char masks_and_pixel[] = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 10, 20, 30, 0};
    top_down.insert(top_down.end(), std::begin(masks_and_pixel), std::end(masks_and_pixel));
    const struct {
        std::vector<unsigned char> dib;
        std::vector<unsigned char> first_pixel;  // top left, RGBA; empty: refused
    } rows_read[] = {
        {bottom_up, {255, 0, 0, 255}},
        {top_down, {30, 20, 10, 255}},
        {std::vector<unsigned char>(bottom_up.begin(), bottom_up.begin() + 39), {}},
    };
    for (const auto& row : rows_read) {
        const std::vector<unsigned char> file = bmp_file_of_dib(row.dib.data(), row.dib.size());
        RgbaPicture picture;
        Message why;
        const bool read = !file.empty() && decode_picture_file(file.data(), file.size(), picture, why);
        ASSERT_EQ(read, !row.first_pixel.empty()) << why.english << " in row " << (&row - rows_read);
        if (read) {
            EXPECT_EQ(std::vector<unsigned char>(picture.pixels.begin(), picture.pixels.begin() + 4), row.first_pixel);
        }
    }
}

// A phone photograph's list picture comes from its EXIF thumbnail, stood upright;
// a JPEG without one is decoded whole.
TEST(PictureConvert, ThumbnailsComeFromTheCamerasOwnWhenThereIsOne) {
    const auto flat = [](int width, int height) {
        return RgbaPicture{width, height, std::vector<unsigned char>(static_cast<std::size_t>(width * height * 4), 200)};
    };
    const std::vector<unsigned char> main_picture = encode_jpeg(flat(8, 4));
    const std::vector<unsigned char> small = encode_jpeg(flat(6, 2));
    const auto le16 = [](std::vector<unsigned char>& out, unsigned value) {
        out.push_back(static_cast<unsigned char>(value));
        out.push_back(static_cast<unsigned char>(value >> 8));
    };
    const auto le32 = [&le16](std::vector<unsigned char>& out, unsigned long value) {
        le16(out, value & 0xFFFF);
        le16(out, value >> 16);
    };
    // TIFF: the first directory holds orientation 6, the second the thumbnail at 56.
    std::vector<unsigned char> tiff = {'I', 'I', 0x2A, 0};
    le32(tiff, 8);
    le16(tiff, 1);
    le16(tiff, 0x0112), le16(tiff, 3), le32(tiff, 1), le16(tiff, 6), le16(tiff, 0);
    le32(tiff, 26);
    le16(tiff, 2);
    le16(tiff, 0x0201), le16(tiff, 4), le32(tiff, 1), le32(tiff, 56);
    le16(tiff, 0x0202), le16(tiff, 4), le32(tiff, 1), le32(tiff, static_cast<unsigned long>(small.size()));
    le32(tiff, 0);
    tiff.insert(tiff.end(), small.begin(), small.end());
    std::vector<unsigned char> app1 = {0xFF, 0xE1, 0, 0, 'E', 'x', 'i', 'f', 0, 0};
    app1.insert(app1.end(), tiff.begin(), tiff.end());
    app1[2] = static_cast<unsigned char>((app1.size() - 2) >> 8);
    app1[3] = static_cast<unsigned char>(app1.size() - 2);
    std::vector<unsigned char> photograph(main_picture.begin(), main_picture.begin() + 2);
    photograph.insert(photograph.end(), app1.begin(), app1.end());
    photograph.insert(photograph.end(), main_picture.begin() + 2, main_picture.end());
    const struct {
        std::vector<unsigned char> file;
        int box;
        int width, height;
    } rows[] = {
        {photograph, 60, 20, 60},  // the 6 x 2 thumbnail, turned: the 8 x 4 photograph would give 30 x 60
        {main_picture, 60, 60, 30},  // no thumbnail: the picture, fitted
    };
    for (const auto& row : rows) {
        RgbaPicture thumbnail;
        Message why;
        ASSERT_TRUE(picture_thumbnail(row.file.data(), row.file.size(), row.box, row.box, thumbnail, why)) << why.english;
        EXPECT_EQ(thumbnail.width, row.width);
        EXPECT_EQ(thumbnail.height, row.height);
    }
}

// A JPEG decoded small takes the smallest eighth of its size that covers the
// box asked for; what libjpeg cannot read whole is refused, nothing decoded.
TEST(PictureConvert, JpegDecodesCoverTheBoxAtTheSmallestEighth) {
    RgbaPicture red{64, 48, {}};
    for (int i = 0; i < 64 * 48; ++i) red.pixels.insert(red.pixels.end(), {220, 30, 30, 255});
    const std::vector<unsigned char> jpeg = encode_jpeg(red);
    const struct {
        int min_width, min_height;
        int width, height;
    } rows[] = {
        {8, 6, 8, 6},       // 1/8
        {9, 6, 16, 12},     // one pixel more than 1/8 gives: 2/8
        {8, 7, 16, 12},
        {57, 6, 64, 48},    // beyond 7/8: the whole picture
        {100, 100, 64, 48},  // never larger than the picture
    };
    for (const auto& row : rows) {
        RgbaPicture picture;
        ASSERT_TRUE(decode_jpeg(jpeg.data(), jpeg.size(), row.min_width, row.min_height, picture));
        EXPECT_EQ(picture.width, row.width) << row.min_width << " x " << row.min_height;
        EXPECT_EQ(picture.height, row.height) << row.min_width << " x " << row.min_height;
        ASSERT_EQ(picture.pixels.size(), static_cast<std::size_t>(row.width * row.height * 4));
        EXPECT_NEAR(picture.pixels[0], 220, 8);  // red, as stored
        EXPECT_NEAR(picture.pixels[1], 30, 8);
    }
    for (const std::size_t kept : {std::size_t{20}, jpeg.size() - 10}) {  // in the headers; in the scan
        const std::vector<unsigned char> cut(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(kept));
        RgbaPicture picture;
        EXPECT_FALSE(decode_jpeg(cut.data(), cut.size(), 8, 6, picture)) << kept;
        EXPECT_TRUE(picture.pixels.empty());
    }
}
