#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "authoring/picture_cache.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

const RgbColour panel{90, 95, 150};

// A JPEG larger than the tests' box, so that its conversion decodes and shrinks it.
Bytes photograph(unsigned char shade) {
    RgbaPicture picture;
    picture.width = 72;
    picture.height = 54;
    picture.pixels.resize(72 * 54 * 4);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = static_cast<unsigned char>(i % 251 ^ shade);
    return encode_jpeg(picture);
}

struct CacheFolder {
    PictureCache cache;
    explicit CacheFolder(const char* name) {
        const fs::path folder = fs::temp_directory_path() / name;
        fs::remove_all(folder);
        cache.folder = folder.u8string();
    }
    ~CacheFolder() { fs::remove_all(fs::u8path(cache.folder)); }
    std::vector<fs::path> files() const {
        std::vector<fs::path> found;
        std::error_code none_yet;
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::u8path(cache.folder), none_yet))
            found.push_back(entry);
        return found;
    }
};

// Converts through the cache and checks the result against a conversion without it.
bool converted_from_cache(const PictureCache& cache, const Bytes& file, int box_width = 36, int box_height = 34,
                          RgbColour background = panel) {
    ConvertedPicture cached, fresh;
    Message why;
    EXPECT_TRUE(convert_picture_cached(cache, file, box_width, box_height, background, cached, why)) << why.english;
    EXPECT_TRUE(convert_picture(file, box_width, box_height, background, fresh, why)) << why.english;
    EXPECT_EQ(cached.jpeg, fresh.jpeg);
    EXPECT_TRUE(cached.source_width == fresh.source_width && cached.source_height == fresh.source_height &&
                cached.width == fresh.width && cached.height == fresh.height && cached.unchanged == fresh.unchanged);
    return cached.from_cache;
}

TEST(PictureCache, KeepsAPictureForItsContentAndSettings) {
    CacheFolder folder("picture_cache_keys");
    const Bytes first = photograph(0), second = photograph(1);
    EXPECT_FALSE(converted_from_cache(folder.cache, first));
    EXPECT_TRUE(converted_from_cache(folder.cache, first));  // nothing decoded the second time
    EXPECT_FALSE(converted_from_cache(folder.cache, second));
    EXPECT_FALSE(converted_from_cache(folder.cache, first, 18, 34));
    EXPECT_FALSE(converted_from_cache(folder.cache, first, 36, 34, {0, 0, 0}));
    EXPECT_TRUE(converted_from_cache(folder.cache, second));
}

TEST(PictureCache, RebuildsADamagedEntry) {
    CacheFolder folder("picture_cache_damage");
    const Bytes file = photograph(0), other = photograph(1);
    converted_from_cache(folder.cache, other);
    const fs::path other_entry = folder.files().at(0);
    const struct {
        const char* name;
        void (*damage)(Bytes& entry, const Bytes& other_entry);
    } cases[] = {
        {"cut short", [](Bytes& entry, const Bytes&) { entry.pop_back(); }},
        {"a byte of its JPEG changed", [](Bytes& entry, const Bytes&) { entry[entry.size() - 10] ^= 1; }},
        {"its stored width changed", [](Bytes& entry, const Bytes&) { entry[40] ^= 1; }},
        {"another picture's entry", [](Bytes& entry, const Bytes& other_bytes) { entry = other_bytes; }},
        {"empty", [](Bytes& entry, const Bytes&) { entry.clear(); }},
    };
    converted_from_cache(folder.cache, file);
    fs::path entry_path;
    for (const fs::path& path : folder.files())
        if (path != other_entry) entry_path = path;
    const auto read = [](const fs::path& path) {
        std::ifstream stream(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        Bytes entry = read(entry_path);
        row.damage(entry, read(other_entry));
        std::ofstream(entry_path, std::ios::binary).write(reinterpret_cast<const char*>(entry.data()),
                                                          static_cast<std::streamsize>(entry.size()));
        EXPECT_FALSE(converted_from_cache(folder.cache, file));
        EXPECT_TRUE(converted_from_cache(folder.cache, file));  // written again
    }
}

TEST(PictureCache, ABuildGoesOnWithoutItsCache) {
    const Bytes file = photograph(0);
    {
        CacheFolder folder("picture_cache_unusable");
        std::ofstream(fs::u8path(folder.cache.folder)) << "a file where the folder should be";
        EXPECT_FALSE(converted_from_cache(folder.cache, file));
        EXPECT_FALSE(converted_from_cache(folder.cache, file));
    }
    CacheFolder folder("picture_cache_taken");
    converted_from_cache(folder.cache, file);
    const fs::path entry = folder.files().at(0);
    fs::remove(entry);
    fs::create_directory(entry);  // the entry's place taken: renaming into it fails
    EXPECT_FALSE(converted_from_cache(folder.cache, file));
    EXPECT_EQ(folder.files(), std::vector<fs::path>{entry});  // no temporary file left behind
}

TEST(PictureCache, BuildsAtOnceShareOneEntry) {
    CacheFolder folder("picture_cache_threads");
    const Bytes file = photograph(0);
    ConvertedPicture fresh;
    Message why;
    ASSERT_TRUE(convert_picture(file, 36, 34, panel, fresh, why));
    std::vector<ConvertedPicture> results(4);
    std::vector<std::thread> builds;
    for (ConvertedPicture& result : results)
        builds.emplace_back([&folder, &file, &result] {
            Message thread_why;
            for (int round = 0; round < 5; ++round)
                if (!convert_picture_cached(folder.cache, file, 36, 34, panel, result, thread_why)) result.jpeg.clear();
        });
    for (std::thread& build : builds) build.join();
    for (const ConvertedPicture& result : results) EXPECT_EQ(result.jpeg, fresh.jpeg);
    EXPECT_EQ(folder.files().size(), 1u);  // the entry, and no temporary file left behind
    EXPECT_TRUE(converted_from_cache(folder.cache, file));
}

TEST(PictureCache, TrimsTheLeastRecentlyUsed) {
    CacheFolder folder("picture_cache_trim");
    const Bytes files[] = {photograph(0), photograph(1), photograph(2)};
    // Written an hour apart, the first one first; then the first one is used again.
    std::uintmax_t total = 0;
    for (int i = 0; i < 3; ++i) {
        const std::vector<fs::path> before = folder.files();
        converted_from_cache(folder.cache, files[i]);
        for (const fs::path& path : folder.files())
            if (std::find(before.begin(), before.end(), path) == before.end()) {
                fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(3 - i));
                total += fs::file_size(path);
            }
    }
    EXPECT_TRUE(converted_from_cache(folder.cache, files[0]));
    folder.cache.max_bytes = total - 1;
    trim_picture_cache(folder.cache);
    EXPECT_EQ(folder.files().size(), 2u);
    EXPECT_TRUE(converted_from_cache(folder.cache, files[0]));
    EXPECT_TRUE(converted_from_cache(folder.cache, files[2]));
}

}  // namespace
