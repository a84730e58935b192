// The pack tool's resource writer on a real template: what a packed copy keeps,
// what it loses, and that a failure leaves no output and no temporary file.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "app/owned_handle.h"
#include "authoring/resource_update.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::string fixture_path() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file(path, length);
    return file.substr(0, file.find_last_of('\\') + 1) + "fixtures\\pack_template.dll";
}

Bytes file_bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

Bytes text_bytes(const char* text) { return Bytes(text, text + std::strlen(text)); }

std::string resource_label(LPCSTR name) {
    return IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<ULONG_PTR>(name)) : std::string(name);
}

// Every resource of a module: "TYPE/NAME/LANGUAGE" to its bytes.
using ResourceMap = std::map<std::string, Bytes>;

BOOL CALLBACK list_language(HMODULE module, LPCSTR type, LPCSTR name, WORD language, LONG_PTR param) {
    HRSRC info = FindResourceExA(module, type, name, language);
    const void* data = LockResource(LoadResource(module, info));
    const unsigned char* first = static_cast<const unsigned char*>(data);
    const std::string key = resource_label(type) + "/" + resource_label(name) + "/" + std::to_string(language);
    (*reinterpret_cast<ResourceMap*>(param))[key] = Bytes(first, first + SizeofResource(module, info));
    return TRUE;
}

BOOL CALLBACK list_name(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param) {
    return EnumResourceLanguagesA(module, type, name, list_language, param);
}

BOOL CALLBACK list_type(HMODULE module, LPSTR type, LONG_PTR param) {
    return EnumResourceNamesA(module, type, list_name, param);
}

ResourceMap resources_of(const std::string& path) {
    ResourceMap resources;
    OwnedModule module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    EXPECT_TRUE(module) << path;
    if (module) EnumResourceTypesA(module.get(), list_type, reinterpret_cast<LONG_PTR>(&resources));
    return resources;
}

std::vector<std::string> files_in(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

class PackTool : public testing::Test {
protected:
    void SetUp() override {
        folder_ = "pack_tool_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name());
        CreateDirectoryA(folder_.c_str(), nullptr);
        template_bytes_ = file_bytes(fixture_path());
        ASSERT_FALSE(template_bytes_.empty()) << fixture_path();
    }
    void TearDown() override {
        EXPECT_EQ(file_bytes(fixture_path()), template_bytes_) << "the template changed";
        for (const std::string& name : files_in(folder_)) DeleteFileA((folder_ + "\\" + name).c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    const std::vector<PackedResource> quiz_ = {{"PATCH", 104, text_bytes("new quiz stream")},
                                               {"PATCH", 105, text_bytes("new codes stream")},
                                               {"IMG", 401, text_bytes("new picture 1")},
                                               {"IMG", 10402, text_bytes("new answer picture 2")}};
    std::string folder_;
    Bytes template_bytes_;
};

TEST_F(PackTool, KeepsTheTemplateResourcesAndReplacesTheQuiz) {
    const std::string output = folder_ + "\\packed.exe";
    std::string error;
    ASSERT_TRUE(write_packed_executable(fixture_path(), output, quiz_, error)) << error;

    const ResourceMap before = resources_of(fixture_path());
    const ResourceMap after = resources_of(output);
    const char* const english = "/1033";
    const char* const french = "/1036";
    const std::string kept[] = {std::string("5/1001") + english, std::string("DATA/KEEPME") + english,
                                std::string("10/7") + english, std::string("10/7") + french};
    for (const std::string& key : kept) {
        SCOPED_TRACE(key);
        ASSERT_EQ(before.count(key), 1u) << "the fixture holds it";
        ASSERT_EQ(after.count(key), 1u);
        EXPECT_EQ(after.at(key), before.at(key));
    }
    const std::map<std::string, Bytes> written = {{"PATCH/104/0", quiz_[0].bytes},
                                                  {"PATCH/105/0", quiz_[1].bytes},
                                                  {"IMG/401/0", quiz_[2].bytes},
                                                  {"IMG/10402/0", quiz_[3].bytes}};
    for (const auto& [key, bytes] : written) {
        SCOPED_TRACE(key);
        ASSERT_EQ(after.count(key), 1u);
        EXPECT_EQ(after.at(key), bytes);
    }
    // Nothing else: the old quiz's PATCH 104 and 105, IMG 401, 445 and 10401 are gone.
    EXPECT_EQ(after.size(), std::size(kept) + written.size());
    for (const char* old : {"PATCH/104/1033", "IMG/445/1033", "IMG/10401/1033", "IMG/401/1033"})
        EXPECT_EQ(after.count(old), 0u) << old;
    EXPECT_EQ(files_in(folder_), std::vector<std::string>{"packed.exe"}) << "no temporary file is left";
}

TEST_F(PackTool, MediaAreFoundUnderTheLowerCaseType) {
    const std::string output = folder_ + "\\packed.exe";
    std::string error;
    ASSERT_TRUE(write_packed_executable(fixture_path(), output, quiz_, error)) << error;
    OwnedModule module(LoadLibraryExA(output.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module);
    Bytes bytes;
    ASSERT_TRUE(read_resource(module.get(), "img", 401, bytes));
    EXPECT_EQ(bytes, quiz_[2].bytes);
    EXPECT_FALSE(read_resource(module.get(), "img", 402, bytes));
}

TEST_F(PackTool, ReplacesAnExistingOutputWhole) {
    const std::string output = folder_ + "\\packed.exe";
    std::ofstream(output, std::ios::binary) << "an older build";
    std::string error;
    ASSERT_TRUE(write_packed_executable(fixture_path(), output, quiz_, error)) << error;
    EXPECT_EQ(resources_of(output).count("PATCH/104/0"), 1u);
    EXPECT_EQ(files_in(folder_), std::vector<std::string>{"packed.exe"});
}

TEST_F(PackTool, FailureLeavesNoOutputAndNoTemporaryFile) {
    std::ofstream(folder_ + "\\kept.exe", std::ios::binary) << "an older build";
    std::ofstream(folder_ + "\\notes.txt", std::ios::binary) << "not an executable";
    std::vector<PackedResource> with_empty = quiz_;
    with_empty.push_back({"IMG", 402, {}});  // UpdateResourceA refuses empty data
    const struct {
        const char* name;
        std::string template_path;
        std::string output;
        const std::vector<PackedResource>* resources;
        std::string error_start;
    } cases[] = {
        {"missing template", folder_ + "\\absent.exe", folder_ + "\\kept.exe", &quiz_, folder_ + "\\absent.exe: "},
        {"template not an executable", folder_ + "\\notes.txt", folder_ + "\\kept.exe", &quiz_,
         folder_ + "\\notes.txt: error: cannot be read as an executable"},
        {"output folder missing", fixture_path(), folder_ + "\\absent\\packed.exe", &quiz_,
         folder_ + "\\absent\\: error: cannot create a temporary file in this folder: the folder does not exist"},
        {"a resource that cannot be written", fixture_path(), folder_ + "\\kept.exe", &with_empty, ""},
    };
    for (const auto& failing : cases) {
        SCOPED_TRACE(failing.name);
        std::string error;
        EXPECT_FALSE(write_packed_executable(failing.template_path, failing.output, *failing.resources, error));
        EXPECT_EQ(error.rfind(failing.error_start, 0), 0u) << error;
        EXPECT_FALSE(error.empty());
        std::vector<std::string> left = files_in(folder_);
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, (std::vector<std::string>{"kept.exe", "notes.txt"}));
        EXPECT_EQ(file_bytes(folder_ + "\\kept.exe"), text_bytes("an older build"));
    }
}

}  // namespace
