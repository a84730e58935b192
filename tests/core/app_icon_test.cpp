// What cannot be a packed quiz's icon. (Pictures made into icons:
// tests/win32/packed_quiz_test.cpp; an .ico kept byte for byte: tests/e2e/pack_tool.sh.)
#include "authoring/app_icon.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// An .ico file of two images whose bytes are only tags: they are not read.
Bytes two_image_ico() {
    return {0, 0, 1, 0, 2, 0,
            // 16 x 16, 16 colours, 1 plane, 4 bits, 3 bytes at 38
            16, 16, 16, 0, 1, 0, 4, 0, 3, 0, 0, 0, 38, 0, 0, 0,
            // 256 x 256, 1 plane, 32 bits, 4 bytes at 41
            0, 0, 0, 0, 1, 0, 32, 0, 4, 0, 0, 0, 41, 0, 0, 0, 'a', 'b', 'c', 'd', 'e', 'f', 'g'};
}

TEST(AppIcon, RefusesWhatCannotBeAnIcon) {
    AppIcon whole;
    Message whole_why;
    ASSERT_TRUE(make_app_icon(two_image_ico(), whole, whole_why)) << whole_why.english;
    EXPECT_EQ(whole.size(), 2u);
    Bytes no_image = two_image_ico();
    no_image[4] = 0;
    Bytes outside = two_image_ico();
    outside[30] = 5;  // the second image's 5 bytes end past the file
    for (const Bytes& file : {no_image, outside}) {  // a file that is no picture: tests/e2e/pack_tool.sh
        AppIcon icon;
        Message why;
        EXPECT_FALSE(make_app_icon(file, icon, why));
        EXPECT_FALSE(why.empty());
        EXPECT_TRUE(icon.empty());
    }
}

}  // namespace
