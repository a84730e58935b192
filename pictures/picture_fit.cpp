#include "pictures/picture_fit.h"

FittedSize fit_picture(int source_width, int source_height, int box_width, int box_height) {
    if (source_width <= 0 || source_height <= 0 || box_width <= 0 || box_height <= 0) return {};
    const double ratio_x = static_cast<double>(box_width) / source_width;
    const double ratio_y = static_cast<double>(box_height) / source_height;
    const double ratio = ratio_y <= ratio_x ? ratio_y : ratio_x;
    FittedSize fitted;
    fitted.width = static_cast<int>(source_width * ratio);
    fitted.height = static_cast<int>(source_height * ratio);
    return fitted;
}
