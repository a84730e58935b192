// The packed quiz's icon from the maker's .ico file, kept as it is, and what
// cannot be an icon. (Pictures made into icons: tests/win32/packed_quiz_test.cpp.)
#include "authoring/app_icon.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

}  // namespace
