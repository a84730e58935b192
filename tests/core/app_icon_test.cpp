// The packed quiz's icon from the maker's file: an .ico kept as it is, a
// picture made square and resampled, and what cannot be an icon.
#include "authoring/app_icon.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pictures/picture_convert.h"

namespace {

using Bytes = std::vector<unsigned char>;

// An .ico file of two images whose bytes are only tags: they pass through unread.
Bytes two_image_ico() {
    return {0, 0, 1, 0, 2, 0,
            // 16 x 16, 16 colours, 1 plane, 4 bits, 3 bytes at 38
            16, 16, 16, 0, 1, 0, 4, 0, 3, 0, 0, 0, 38, 0, 0, 0,
            // 256 x 256, 1 plane, 32 bits, 4 bytes at 41
            0, 0, 0, 0, 1, 0, 32, 0, 4, 0, 0, 0, 41, 0, 0, 0, 'a', 'b', 'c', 'd', 'e', 'f', 'g'};
}

TEST(AppIcon, AnIcoFileKeepsItsImagesAndTheirDirectoryEntries) {
    const Bytes file = two_image_ico();
    AppIcon icon;
    std::string why;
    ASSERT_TRUE(make_app_icon(file, icon, why)) << why;
    ASSERT_EQ(icon.size(), 2u);
    EXPECT_EQ(icon[0].bytes, Bytes({'a', 'b', 'c'}));
    EXPECT_EQ(icon[1].bytes, Bytes({'d', 'e', 'f', 'g'}));
    const Bytes group = icon_group(icon, 7);
    ASSERT_EQ(group.size(), 6u + 2 * 14);
    EXPECT_EQ(Bytes(group.begin(), group.begin() + 6), Bytes(file.begin(), file.begin() + 6));
    for (int i = 0; i < 2; ++i)  // an entry is the file's first 12 bytes of it, then the image's id
        EXPECT_EQ(Bytes(group.begin() + 6 + 14 * i, group.begin() + 18 + 14 * i),
                  Bytes(file.begin() + 6 + 16 * i, file.begin() + 18 + 16 * i));
    EXPECT_EQ(icon_group_image_ids(group), (std::vector<int>{7, 8}));
}

TEST(AppIcon, RefusesWhatCannotBeAnIcon) {
    Bytes no_image = two_image_ico();
    no_image[4] = 0;
    Bytes outside = two_image_ico();
    outside[30] = 5;  // the second image's 5 bytes end past the file
    const Bytes not_a_picture = {'h', 'e', 'l', 'l', 'o'};
    for (const Bytes& file : {no_image, outside, not_a_picture}) {
        AppIcon icon;
        std::string why;
        EXPECT_FALSE(make_app_icon(file, icon, why));
        EXPECT_FALSE(why.empty());
        EXPECT_TRUE(icon.empty());
    }
    EXPECT_TRUE(icon_group_image_ids(not_a_picture).empty());
}

TEST(AppIcon, APictureIsCentredOnASquareAtTheUsualSizes) {
    RgbaPicture logo;  // blue, twice as wide as high
    logo.width = 4;
    logo.height = 2;
    for (int i = 0; i < 8; ++i) logo.pixels.insert(logo.pixels.end(), {0, 0, 255, 255});
    AppIcon icon;
    std::string why;
    ASSERT_TRUE(make_app_icon(encode_png(logo), icon, why)) << why;
    std::vector<int> widths;
    for (const IconImage& image : icon) widths.push_back(image.width);
    EXPECT_EQ(widths, (std::vector<int>{16, 24, 32, 48, 0}));
    EXPECT_EQ(Bytes(icon[4].bytes.begin(), icon[4].bytes.begin() + 4), Bytes({0x89, 'P', 'N', 'G'}));

    // 16 x 16: a 40-byte header, 16 rows of 64 bytes bottom up, then 16 mask rows of 4 bytes.
    const Bytes& dib = icon[0].bytes;
    ASSERT_EQ(dib.size(), 40u + 16 * 64 + 16 * 4);
    EXPECT_EQ(dib[4], 16);
    EXPECT_EQ(dib[8], 32);  // colours and mask
    EXPECT_EQ(dib[14], 32);  // bits a pixel
    const auto pixel = [&](int x, int y) { return &dib[40 + (15 - y) * 64 + x * 4]; };
    const auto masked = [&](int x, int y) { return (dib[40 + 1024 + (15 - y) * 4 + x / 8] >> (7 - x % 8)) & 1; };
    EXPECT_EQ(Bytes(pixel(8, 8), pixel(8, 8) + 4), Bytes({255, 0, 0, 255}));  // blue, opaque
    EXPECT_EQ(masked(8, 8), 0);
    EXPECT_EQ(pixel(8, 0)[3], 0);  // above the picture: transparent
    EXPECT_EQ(masked(8, 0), 1);
}

}  // namespace
