#include <gtest/gtest.h>

#include <string>

#include "pictures/picture_fit.h"

namespace {

struct FitCase {
    int source_width;
    int source_height;
    int box_width;
    int box_height;
    int width;
    int height;
};

TEST(PictureFit, KeepsProportionsInsideTheBox) {
    const FitCase cases[] = {
        {400, 300, 360, 345, 360, 270},
        {300, 400, 360, 345, 258, 345},   // 258.75 truncated
        {1000, 1000, 360, 345, 345, 345},
        {100, 100, 360, 345, 345, 345},   // enlarged
        {360, 345, 360, 345, 360, 345},
        {720, 690, 360, 345, 360, 345},   // both ratios 0.5
        {1, 1, 360, 345, 345, 345},
        {3600, 10, 360, 345, 360, 1},
        {10, 3450, 360, 345, 1, 345},
        {100, 299, 360, 345, 115, 344},   // 344.99999999999994: one short of the box
        {39, 10, 360, 345, 359, 92},      // 359.99999999999994
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.source_width) + " x " + std::to_string(c.source_height));
        const FittedSize fitted = fit_picture(c.source_width, c.source_height, c.box_width, c.box_height);
        EXPECT_EQ(fitted.width, c.width);
        EXPECT_EQ(fitted.height, c.height);
    }
}

TEST(PictureFit, SizesWithoutPixelsFitAsNothing) {
    const FitCase cases[] = {
        {0, 300, 360, 345, 0, 0},  {400, 0, 360, 345, 0, 0}, {0, 0, 360, 345, 0, 0},
        {-400, 300, 360, 345, 0, 0}, {400, -300, 360, 345, 0, 0}, {400, 300, 0, 345, 0, 0},
        {400, 300, 360, 0, 0, 0},  {400, 300, -360, 345, 0, 0},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.source_width) + " x " + std::to_string(c.source_height) + " in " +
                     std::to_string(c.box_width) + " x " + std::to_string(c.box_height));
        const FittedSize fitted = fit_picture(c.source_width, c.source_height, c.box_width, c.box_height);
        EXPECT_EQ(fitted.width, 0);
        EXPECT_EQ(fitted.height, 0);
    }
}

}  // namespace
