#include "authoring/app_icon.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "authoring/picture_convert.h"

namespace {

// ICONDIR and GRPICONDIR: reserved 0, type 1, the count; then 16-byte entries
// in a file (ending in the image's offset), 14-byte ones in a group (its id).
constexpr std::size_t directory_size = 6;
constexpr std::size_t file_entry_size = 16;
constexpr std::size_t group_entry_size = 14;
constexpr std::size_t dib_header_size = 40;
const int picture_icon_sizes[] = {16, 24, 32, 48, 256};

unsigned read_word(const std::vector<unsigned char>& bytes, std::size_t at) {
    return bytes[at] | (bytes[at + 1] << 8);
}

std::uint32_t read_dword(const std::vector<unsigned char>& bytes, std::size_t at) {
    return read_word(bytes, at) | (static_cast<std::uint32_t>(read_word(bytes, at + 2)) << 16);
}

void put_word(std::vector<unsigned char>& bytes, unsigned value) {
    bytes.push_back(static_cast<unsigned char>(value & 0xFF));
    bytes.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}

void put_dword(std::vector<unsigned char>& bytes, std::uint32_t value) {
    put_word(bytes, value & 0xFFFF);
    put_word(bytes, value >> 16);
}

// How many entries a directory of this kind holds, or 0 when it is none.
std::size_t directory_count(const std::vector<unsigned char>& bytes, std::size_t entry_size) {
    if (bytes.size() < directory_size || read_word(bytes, 0) != 0 || read_word(bytes, 2) != 1) return 0;
    const std::size_t count = read_word(bytes, 4);
    return bytes.size() >= directory_size + count * entry_size ? count : 0;
}

// The fields an .ico file's directory and an icon group's share, at the start of each entry.
IconImage image_of_entry(const std::vector<unsigned char>& directory, std::size_t entry) {
    IconImage image;
    image.width = directory[entry];
    image.height = directory[entry + 1];
    image.colour_count = directory[entry + 2];
    image.planes = static_cast<unsigned short>(read_word(directory, entry + 4));
    image.bit_count = static_cast<unsigned short>(read_word(directory, entry + 6));
    return image;
}

bool is_ico_file(const std::vector<unsigned char>& file) {
    return file.size() >= 4 && file[0] == 0 && file[1] == 0 && file[2] == 1 && file[3] == 0;
}

bool icon_from_ico(const std::vector<unsigned char>& file, AppIcon& icon, Message& why) {
    const std::size_t count = directory_count(file, file_entry_size);
    if (count == 0) {
        why = {"is not a usable .ico file (no images in its directory)",
               u8"n'est pas un fichier .ico utilisable (aucune image dans son répertoire)"};
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = directory_size + i * file_entry_size;
        const std::size_t size = read_dword(file, entry + 8);
        const std::size_t offset = read_dword(file, entry + 12);
        if (size == 0 || offset > file.size() || size > file.size() - offset) {
            why = Message{"is a damaged .ico file (image ", u8"est un fichier .ico abîmé (l'image "} +
                  std::to_string(i + 1) + Message{" lies outside the file)", " sort du fichier)"};
            return false;
        }
        IconImage image = image_of_entry(file, entry);
        image.bytes.assign(file.begin() + offset, file.begin() + offset + size);
        icon.push_back(std::move(image));
    }
    return true;
}

// The picture in the middle of a transparent square, so that no size distorts it.
RgbaPicture centred_square(const RgbaPicture& picture) {
    const int side = std::max(picture.width, picture.height);
    RgbaPicture square;
    square.width = side;
    square.height = side;
    square.pixels.assign(static_cast<std::size_t>(side) * side * 4, 0);
    const int left = (side - picture.width) / 2;
    const int top = (side - picture.height) / 2;
    for (int y = 0; y < picture.height; ++y)
        std::copy_n(picture.pixels.begin() + static_cast<std::ptrdiff_t>(y) * picture.width * 4, picture.width * 4,
                    square.pixels.begin() + (static_cast<std::ptrdiff_t>(top + y) * side + left) * 4);
    return square;
}

// BITMAPINFOHEADER (twice the height: colours then mask), blue-green-red-alpha
// rows bottom up, then the AND mask, 1 where the pixel is fully transparent.
std::vector<unsigned char> icon_dib(const RgbaPicture& picture) {
    const int side = picture.width;
    const std::size_t mask_row = ((static_cast<std::size_t>(side) + 31) / 32) * 4;
    std::vector<unsigned char> dib;
    put_dword(dib, dib_header_size);
    put_dword(dib, static_cast<std::uint32_t>(side));
    put_dword(dib, static_cast<std::uint32_t>(2 * side));
    put_word(dib, 1);
    put_word(dib, 32);
    put_dword(dib, 0);
    put_dword(dib, static_cast<std::uint32_t>(side * side * 4 + mask_row * side));
    for (int field = 0; field < 4; ++field) put_dword(dib, 0);
    for (int y = side - 1; y >= 0; --y)
        for (int x = 0; x < side; ++x) {
            const unsigned char* pixel = &picture.pixels[(static_cast<std::size_t>(y) * side + x) * 4];
            dib.insert(dib.end(), {pixel[2], pixel[1], pixel[0], pixel[3]});
        }
    for (int y = side - 1; y >= 0; --y) {
        std::vector<unsigned char> row(mask_row, 0);
        for (int x = 0; x < side; ++x)
            if (picture.pixels[(static_cast<std::size_t>(y) * side + x) * 4 + 3] == 0)
                row[x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
        dib.insert(dib.end(), row.begin(), row.end());
    }
    return dib;
}

bool icon_from_picture(const std::vector<unsigned char>& file, AppIcon& icon, Message& why) {
    RgbaPicture picture;
    if (!decode_picture_file(file.data(), file.size(), picture, why)) return false;
    const RgbaPicture square = centred_square(picture);
    for (int size : picture_icon_sizes) {
        const RgbaPicture resized = resize_picture(square, size, size);
        IconImage image;
        image.width = image.height = static_cast<unsigned char>(size == 256 ? 0 : size);
        image.bytes = size == 256 ? encode_png(resized) : icon_dib(resized);
        if (resized.pixels.empty() || image.bytes.empty()) {
            why = {"cannot be turned into an icon: out of memory",
                   u8"ne peut pas devenir une icône : mémoire insuffisante"};
            return false;
        }
        icon.push_back(std::move(image));
    }
    return true;
}

}  // namespace

bool make_app_icon(const std::vector<unsigned char>& file, AppIcon& icon, Message& why) {
    icon.clear();
    const bool made = is_ico_file(file) ? icon_from_ico(file, icon, why) : icon_from_picture(file, icon, why);
    if (!made) icon.clear();
    return made;
}

std::vector<unsigned char> icon_group(const AppIcon& icon, int first_image_id) {
    std::vector<unsigned char> group;
    put_word(group, 0);
    put_word(group, 1);
    put_word(group, static_cast<unsigned>(icon.size()));
    int id = first_image_id;
    for (const IconImage& image : icon) {
        group.insert(group.end(), {image.width, image.height, image.colour_count, 0});
        put_word(group, image.planes);
        put_word(group, image.bit_count);
        put_dword(group, static_cast<std::uint32_t>(image.bytes.size()));
        put_word(group, static_cast<unsigned>(id++));
    }
    return group;
}

AppIcon icon_of_group(const std::vector<unsigned char>& group,
                      const std::vector<std::vector<unsigned char>>& image_bytes) {
    AppIcon icon;
    const std::size_t count = std::min(directory_count(group, group_entry_size), image_bytes.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = directory_size + i * group_entry_size;
        IconImage image = image_of_entry(group, entry);
        image.bytes = image_bytes[i];
        icon.push_back(std::move(image));
    }
    return icon;
}

std::vector<unsigned char> ico_file(const AppIcon& icon) {
    std::vector<unsigned char> file;
    put_word(file, 0);
    put_word(file, 1);
    put_word(file, static_cast<unsigned>(icon.size()));
    std::size_t offset = directory_size + icon.size() * file_entry_size;
    for (const IconImage& image : icon) {
        file.insert(file.end(), {image.width, image.height, image.colour_count, 0});
        put_word(file, image.planes);
        put_word(file, image.bit_count);
        put_dword(file, static_cast<std::uint32_t>(image.bytes.size()));
        put_dword(file, static_cast<std::uint32_t>(offset));
        offset += image.bytes.size();
    }
    for (const IconImage& image : icon) file.insert(file.end(), image.bytes.begin(), image.bytes.end());
    return file;
}

std::vector<int> icon_group_image_ids(const std::vector<unsigned char>& group) {
    std::vector<int> ids;
    const std::size_t count = directory_count(group, group_entry_size);
    for (std::size_t i = 0; i < count; ++i)
        ids.push_back(static_cast<int>(read_word(group, directory_size + i * group_entry_size + 12)));
    return ids;
}
