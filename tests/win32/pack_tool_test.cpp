// The pack tool's resource writer on fixtures\pack_template.dll: a packed copy
// keeps the template's own resources, in every language, and loses the old quiz.
// Failures, outputs replaced whole and the unchanged template are checked end to end.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/owned_handle.h"
#include "authoring/resource_update.h"

namespace {

using Resources = std::map<std::string, std::string>;  // "TYPE/NAME/LANGUAGE" to its bytes

std::string label(LPCSTR name) {
    return IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<ULONG_PTR>(name)) : std::string(name);
}

BOOL CALLBACK list_language(HMODULE module, LPCSTR type, LPCSTR name, WORD language, LONG_PTR found) {
    HRSRC info = FindResourceExA(module, type, name, language);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, info)));
    (*reinterpret_cast<Resources*>(found))[label(type) + "/" + label(name) + "/" + std::to_string(language)] =
        std::string(bytes, SizeofResource(module, info));
    return TRUE;
}
BOOL CALLBACK list_name(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR found) {
    return EnumResourceLanguagesA(module, type, name, list_language, found);
}
BOOL CALLBACK list_type(HMODULE module, LPSTR type, LONG_PTR found) {
    return EnumResourceNamesA(module, type, list_name, found);
}

Resources resources_of(const std::string& path) {
    Resources resources;
    OwnedModule module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    EnumResourceTypesA(module.get(), list_type, reinterpret_cast<LONG_PTR>(&resources));
    return resources;
}

TEST(PackTool, KeepsTheTemplateResourcesAndReplacesTheQuiz) {
    char path[MAX_PATH];
    std::string fixture(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    fixture.replace(fixture.find_last_of('\\') + 1, std::string::npos, "fixtures\\pack_template.dll");
    const auto bytes = [](const char* text) { return std::vector<unsigned char>(text, text + strlen(text)); };
    const std::vector<PackedResource> quiz = {{"PATCH", 104, bytes("quiz")}, {"PATCH", 105, bytes("codes")},
                                              {"IMG", 401, bytes("picture")}, {"IMG", 10402, bytes("answer")}};
    std::string error;
    ASSERT_TRUE(write_packed_executable(fixture, "packed.exe", quiz, {}, error)) << error;
    Resources expected = resources_of(fixture);
    for (const char* old : {"PATCH/104/1033", "PATCH/105/1033", "IMG/401/1033", "IMG/445/1033", "IMG/10401/1033"})
        EXPECT_EQ(expected.erase(old), 1u) << old;
    expected.insert({{"PATCH/104/0", "quiz"}, {"PATCH/105/0", "codes"}, {"IMG/401/0", "picture"}, {"IMG/10402/0", "answer"}});
    EXPECT_EQ(resources_of("packed.exe"), expected);
    OwnedModule packed(LoadLibraryExA("packed.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE));
    std::vector<unsigned char> media;
    ASSERT_TRUE(read_resource(packed.get(), "img", 401, media));  // the player looks media up in lower case
    EXPECT_EQ(media, quiz[2].bytes);
    EXPECT_FALSE(read_resource(packed.get(), "img", 402, media));
    packed.reset();
    DeleteFileA("packed.exe");
}

}  // namespace
