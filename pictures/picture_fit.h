// Size of a picture fitted into a box with its proportions kept.
#pragma once

// Question and answer pictures are both fitted into one box, by the player
// when it shows them and by the pack tool when it stores them.
constexpr int picture_box_width = 360;
constexpr int picture_box_height = 345;

struct FittedSize {
    int width = 0;
    int height = 0;
};

// The smaller of the two ratios (the vertical one on a tie), products truncated
// toward zero; small pictures are enlarged. A source without pixels fits as 0 x 0.
FittedSize fit_picture(int source_width, int source_height, int box_width, int box_height);
