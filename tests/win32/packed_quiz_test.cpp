// Packed copies read back through the platform. On fixtures\pack_template.dll:
// the copy keeps the template's own resources, in every language, and loses the
// old quiz (failures, outputs replaced whole and the unchanged template are
// checked end to end). On the built player: the version strings through the
// version API, the icons as the shell loads them. (The manifest: tests/e2e/imports.sh.)
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "player/main_window.h"
#include "base/owned_handle.h"
#include "base/resource_bytes.h"
#include "base/wide_text.h"
#include "authoring/resource_update.h"
#include "authoring/picture_convert.h"

namespace {

const char* const title = "Les peintres à l'œuvre";  // odd length: the rewritten table is padded
const wchar_t* const wide_title = L"Les peintres \u00e0 l'\u0153uvre";
const wchar_t* const packed = L"packed_quiz.exe";

std::string beside_tests(const char* name) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string file(path, length);
    return file.substr(0, file.find_last_of('\\') + 1) + name;
}

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
    const std::string fixture = beside_tests("fixtures\\pack_template.dll");
    const auto bytes = [](const char* text) { return std::vector<unsigned char>(text, text + std::strlen(text)); };
    const std::vector<PackedResource> quiz = {{"PATCH", 104, bytes("quiz")}, {"PATCH", 105, bytes("codes")},
                                              {"IMG", 401, bytes("picture")}, {"IMG", 10402, bytes("answer")}};
    Diagnostic failure;
    ASSERT_TRUE(write_packed_executable(fixture, "packed.exe", quiz, {}, failure)) << failure.message.english;
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

class PackedQuiz : public testing::Test {
protected:
    static void SetUpTestSuite() {
        Message error;
        const std::vector<PackedResource> quiz = {{"PATCH", 104, {1, 2, 3}}};
        // The maker's logo: a red picture twice as wide as high.
        RgbaPicture logo;
        logo.width = 40;
        logo.height = 20;
        for (int i = 0; i < 40 * 20; ++i) logo.pixels.insert(logo.pixels.end(), {255, 0, 0, 255});
        QuizIdentity identity{title, {}};
        ASSERT_TRUE(make_app_icon(encode_png(logo), identity.icon, error)) << error.english;
        Diagnostic failure;
        ASSERT_TRUE(write_packed_executable(beside_tests("fixtures\\player.exe"), "packed_quiz.exe", quiz, identity,
                                            failure))
            << failure.message.english;
    }
    static void TearDownTestSuite() { DeleteFileW(packed); }
};

// The version API's string NAME of the language block `block` ("040c04e4"), or "<none>".
std::wstring version_string(const std::vector<char>& info, const std::wstring& block, const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = L"\\StringFileInfo\\" + block + L"\\" + name;
    if (!VerQueryValueW(info.data(), path.c_str(), &value, &length)) return L"<none>";
    return static_cast<const wchar_t*>(value);
}

TEST_F(PackedQuiz, VersionStringsNameTheQuizInFrenchAndEnglish) {
    std::vector<char> info(GetFileVersionInfoSizeW(packed, nullptr));
    ASSERT_TRUE(GetFileVersionInfoW(packed, 0, static_cast<DWORD>(info.size()), info.data()));
    void* translations = nullptr;
    UINT size = 0;  // French and English, each a language and a code page
    EXPECT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", &translations, &size) && size == 8);
    for (const wchar_t* block : {L"040c04e4", L"040904e4"}) {  // a block missing reads "<none>"
        SCOPED_TRACE(testing::Message() << block);
        EXPECT_EQ(version_string(info, block, L"FileDescription"), wide_title);
        EXPECT_EQ(version_string(info, block, L"ProductName"), L"Devinette");
        // The strings after the rewritten one read back whole, and give the label's version.
        const std::wstring version = version_string(info, block, L"ProductVersion");
        EXPECT_EQ(version_string(info, block, L"FileVersion"), version);
        const std::string label = version_text;
        EXPECT_EQ(std::wstring(label.end() - static_cast<std::ptrdiff_t>(version.size()), label.end()), version);
    }
}

BOOL CALLBACK list_id(HMODULE, LPCSTR, LPSTR name, LONG_PTR ids) {
    reinterpret_cast<std::vector<int>*>(ids)->push_back(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

// The colour an icon of the module shows at (x, y), drawn size x size on white.
COLORREF icon_pixel(HMODULE module, int id, int size, int x, int y) {
    HICON icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
    EXPECT_NE(icon, nullptr) << id;
    ScreenDc screen;
    OwnedMemoryDc dc(CreateCompatibleDC(screen.get()));
    OwnedBitmap canvas(CreateCompatibleBitmap(screen.get(), size, size));
    SelectedObject selected(dc.get(), canvas.get());
    const RECT all = {0, 0, size, size};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
    return GetPixel(dc.get(), x, y);
}

TEST_F(PackedQuiz, ItsIconShowsAndThePlayerKeepsItsOwnWithNoImageLeftOver) {
    const struct {
        std::string file;
        POINT inside;  // of the 48-pixel image, and its colour
        COLORREF inside_colour;
        COLORREF corner;  // at (8, 6)
    } cases[] = {// the logo in the middle, transparency above it
                 {"packed_quiz.exe", {24, 24}, RGB(255, 0, 0), RGB(255, 255, 255)},
                 // the dot of a white question mark on violet
                 {beside_tests("fixtures\\player.exe"), {24, 38}, RGB(255, 255, 255), RGB(0x5A, 0x5F, 0x96)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        OwnedModule module(LoadLibraryExA(c.file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(module);
        EXPECT_EQ(icon_pixel(module.get(), 1, 48, c.inside.x, c.inside.y), c.inside_colour);
        EXPECT_EQ(icon_pixel(module.get(), 1, 48, 8, 6), c.corner);

        // Every image belongs to a group (the play and stop glyphs: tests/e2e/sound_quiz.sh).
        std::vector<int> images;
        EnumResourceNamesA(module.get(), RT_ICON, list_id, reinterpret_cast<LONG_PTR>(&images));
        std::vector<int> named;
        std::vector<unsigned char> group;
        for (int id : {1, 1004, 1005}) {
            ASSERT_TRUE(read_resource(module.get(), RT_GROUP_ICON, id, group)) << id;
            for (int image : icon_group_image_ids(group)) named.push_back(image);
        }
        std::sort(images.begin(), images.end());
        std::sort(named.begin(), named.end());
        EXPECT_EQ(images, named);
    }
}

}  // namespace
