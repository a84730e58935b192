#include "authoring/picture_cache.h"

// xxHash, compiled into this file: XXH3 names the entries and checks their bytes.
#define XXH_INLINE_ALL
#include <xxhash.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

namespace {

namespace fs = std::filesystem;

// An entry: this mark, the checksum of everything after it, the key, the four
// sizes of ConvertedPicture, whether the file is stored as it is, then the JPEG.
constexpr unsigned char entry_mark[8] = {'D', 'E', 'V', 'P', 'I', 'C', '1', '\n'};
constexpr std::size_t checksum_at = 8;
constexpr std::size_t key_at = 16;
constexpr std::size_t key_size = 16;
constexpr std::size_t sizes_at = key_at + key_size;
constexpr std::size_t unchanged_at = sizes_at + 16;
constexpr std::size_t jpeg_at = unchanged_at + 1;

using Bytes = std::vector<unsigned char>;

void put_little_endian(Bytes& bytes, unsigned long long value, int count) {
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

unsigned long long little_endian(const unsigned char* bytes, int count) {
    unsigned long long value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

// The file's content and every setting that changes what convert_picture makes of it.
Bytes key_of(const Bytes& bytes, int box_width, int box_height, RgbColour background) {
    Bytes settings;
    put_little_endian(settings, static_cast<unsigned>(picture_conversion_version), 4);
    put_little_endian(settings, static_cast<unsigned>(box_width), 4);
    put_little_endian(settings, static_cast<unsigned>(box_height), 4);
    settings.insert(settings.end(), {background.red, background.green, background.blue});
    XXH3_state_t state;
    XXH3_128bits_reset(&state);
    XXH3_128bits_update(&state, settings.data(), settings.size());
    XXH3_128bits_update(&state, bytes.data(), bytes.size());
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(&state));
    return Bytes(canonical.digest, canonical.digest + key_size);
}

std::string entry_name(const Bytes& key) {
    static const char digits[] = "0123456789abcdef";
    std::string name;
    for (unsigned char byte : key) name += {digits[byte >> 4], digits[byte & 15]};
    return name;
}

unsigned long long checksum_of(const Bytes& entry) {
    return XXH3_64bits(entry.data() + key_at, entry.size() - key_at);
}

Bytes entry_of(const Bytes& key, const ConvertedPicture& picture) {
    Bytes entry(std::begin(entry_mark), std::end(entry_mark));
    entry.resize(key_at);
    entry.insert(entry.end(), key.begin(), key.end());
    for (int size : {picture.source_width, picture.source_height, picture.width, picture.height})
        put_little_endian(entry, static_cast<unsigned>(size), 4);
    entry.push_back(picture.unchanged ? 1 : 0);
    entry.insert(entry.end(), picture.jpeg.begin(), picture.jpeg.end());
    Bytes checksum;
    put_little_endian(checksum, checksum_of(entry), 8);
    std::copy(checksum.begin(), checksum.end(), entry.begin() + checksum_at);
    return entry;
}

// False for an entry cut short, changed, or of another key.
bool read_entry(const Bytes& entry, const Bytes& key, ConvertedPicture& picture) {
    if (entry.size() <= jpeg_at || !std::equal(std::begin(entry_mark), std::end(entry_mark), entry.begin()) ||
        little_endian(entry.data() + checksum_at, 8) != checksum_of(entry) ||
        !std::equal(key.begin(), key.end(), entry.begin() + key_at))
        return false;
    int* sizes[] = {&picture.source_width, &picture.source_height, &picture.width, &picture.height};
    for (int i = 0; i < 4; ++i) *sizes[i] = static_cast<int>(little_endian(entry.data() + sizes_at + 4 * i, 4));
    picture.unchanged = entry[unchanged_at] != 0;
    picture.jpeg.assign(entry.begin() + jpeg_at, entry.end());
    picture.from_cache = true;
    return true;
}

// Empty when there is no such file or it cannot be read.
Bytes read_file(const fs::path& path) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);  // fails for a folder too
    if (error) return {};
    Bytes bytes(size);
    std::ifstream file(path, std::ios::binary);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) bytes.clear();
    return bytes;
}

// Written beside its place under a name of its own, then renamed into place: a
// reader sees the whole entry or none. When another build holds the place, its
// entry stays.
void write_entry(const fs::path& folder, const std::string& name, const Bytes& entry) {
    std::error_code error;
    fs::create_directories(folder, error);
    const fs::path temporary = folder / (name + "." + std::to_string(std::random_device()()) + ".tmp");
    std::ofstream file(temporary, std::ios::binary);
    file.write(reinterpret_cast<const char*>(entry.data()), static_cast<std::streamsize>(entry.size()));
    file.close();
    if (file) fs::rename(temporary, folder / name, error);
    if (!file || error) fs::remove(temporary, error);
}

}  // namespace

bool convert_picture_cached(const PictureCache& cache, const Bytes& bytes, int box_width, int box_height,
                            RgbColour background, ConvertedPicture& result, Message& why) {
    if (cache.folder.empty()) return convert_picture(bytes, box_width, box_height, background, result, why);
    const Bytes key = key_of(bytes, box_width, box_height, background);
    const fs::path folder = fs::u8path(cache.folder);
    const std::string name = entry_name(key);
    result = ConvertedPicture();
    if (read_entry(read_file(folder / name), key, result)) {
        std::error_code error;  // the entry's time says when it was last used
        fs::last_write_time(folder / name, fs::file_time_type::clock::now(), error);
        return true;
    }
    if (!convert_picture(bytes, box_width, box_height, background, result, why)) return false;
    write_entry(folder, name, entry_of(key, result));
    return true;
}

void trim_picture_cache(const PictureCache& cache) {
    if (cache.folder.empty()) return;
    struct Entry {
        fs::path path;
        std::uintmax_t size;
        fs::file_time_type used;
    };
    std::vector<Entry> entries;
    std::uintmax_t total = 0;
    std::error_code error;
    for (fs::directory_iterator it(fs::u8path(cache.folder), error), end; !error && it != end; it.increment(error)) {
        std::error_code entry_error;
        const Entry entry{it->path(), it->file_size(entry_error), it->last_write_time(entry_error)};
        if (entry_error) continue;
        entries.push_back(entry);
        total += entry.size;
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.used < b.used; });
    for (const Entry& entry : entries) {
        if (total <= cache.max_bytes) break;
        if (fs::remove(entry.path, error)) total -= entry.size;
    }
}
