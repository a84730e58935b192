// The icon a packed quiz shows in Explorer: the executable's first icon group,
// made from the quiz maker's .ico file as it is or from a picture at the usual
// sizes. Resources hold an icon as a group directory and one image each.
#pragma once

#include <string>
#include <vector>

#include "base/message.h"

// The player's own icon is group 1, so that it comes before the play and stop icons.
constexpr int app_icon_group_id = 1;

// One image as an icon resource holds it (a DIB with its mask, or a PNG), with
// what the group directory says of it; 0 for a width or height means 256.
struct IconImage {
    unsigned char width = 0;
    unsigned char height = 0;
    unsigned char colour_count = 0;
    unsigned short planes = 1;
    unsigned short bit_count = 32;
    std::vector<unsigned char> bytes;
};

using AppIcon = std::vector<IconImage>;

// An .ico file (recognised by its header) gives its images unchanged; any
// picture that decode_picture_file reads is centred on a transparent square
// and resampled to 16, 24, 32, 48 and 256 pixels (256 stored as PNG, the
// others as 32-bit DIBs). Returns false with `why` completing "<file> ...".
bool make_app_icon(const std::vector<unsigned char>& file, AppIcon& icon, Message& why);

// The group directory of `icon`, its images numbered from `first_image_id`.
std::vector<unsigned char> icon_group(const AppIcon& icon, int first_image_id);

// The image ids a group directory names; empty when the bytes are no group.
std::vector<int> icon_group_image_ids(const std::vector<unsigned char>& group);

// The entries of a group directory with the images `image_bytes` gives for their ids.
AppIcon icon_of_group(const std::vector<unsigned char>& group,
                      const std::vector<std::vector<unsigned char>>& image_bytes);

// An .ico file holding `icon`, which make_app_icon reads back unchanged.
std::vector<unsigned char> ico_file(const AppIcon& icon);
