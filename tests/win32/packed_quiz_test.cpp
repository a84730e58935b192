// A quiz packed into a copy of the built player, read back through the
// platform: the manifest as an activation context, the version strings through
// the version API, the icons as the shell loads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/owned_handle.h"
#include "authoring/resource_update.h"
#include "pictures/picture_convert.h"

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

class PackedQuiz : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        const std::vector<PackedResource> quiz = {{"PATCH", 104, {1, 2, 3}}};
        // The maker's logo: a red picture twice as wide as high.
        RgbaPicture logo;
        logo.width = 40;
        logo.height = 20;
        for (int i = 0; i < 40 * 20; ++i) logo.pixels.insert(logo.pixels.end(), {255, 0, 0, 255});
        QuizIdentity identity{title, {}};
        ASSERT_TRUE(make_app_icon(encode_png(logo), identity.icon, error)) << error;
        ASSERT_TRUE(write_packed_executable(beside_tests("fixtures\\player.exe"), "packed_quiz.exe", quiz, identity,
                                            error))
            << error;
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

std::vector<char> version_info(const wchar_t* file) {
    std::vector<char> info(GetFileVersionInfoSizeW(file, nullptr));
    EXPECT_FALSE(info.empty());
    EXPECT_TRUE(GetFileVersionInfoW(file, 0, static_cast<DWORD>(info.size()), info.data()));
    return info;
}

TEST_F(PackedQuiz, VersionStringsNameTheQuizInFrenchAndEnglish) {
    const std::vector<char> info = version_info(packed);
    struct Translation {
        WORD language;
        WORD code_page;
    };
    Translation* translations = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                               &size));
    ASSERT_EQ(size, 2 * sizeof(Translation));
    EXPECT_EQ(translations[0].language, MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH));
    EXPECT_EQ(translations[1].language, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    const std::string player_path = beside_tests("fixtures\\player.exe");
    const std::vector<char> player = version_info(std::wstring(player_path.begin(), player_path.end()).c_str());
    for (const wchar_t* block : {L"040c04e4", L"040904e4"}) {
        SCOPED_TRACE(testing::Message() << block);
        EXPECT_EQ(version_string(info, block, L"FileDescription"), wide_title);
        EXPECT_NE(version_string(player, block, L"FileDescription"), version_string(info, block, L"FileDescription"));
        EXPECT_EQ(version_string(info, block, L"ProductName"), L"Devinette");
        // The strings after the rewritten one read back whole, and give the label's version.
        const std::wstring version = version_string(info, block, L"ProductVersion");
        EXPECT_EQ(version_string(info, block, L"FileVersion"), version);
        const std::string label = version_text;
        EXPECT_EQ(std::wstring(label.end() - static_cast<std::ptrdiff_t>(version.size()), label.end()), version);
    }
}

TEST_F(PackedQuiz, ManifestAsksNoElevationDeclaresWindows7To11AndGdiScaling) {
    ACTCTXW request = {};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = packed;
    request.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE context = CreateActCtxW(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << GetLastError();

    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION run_level = {};
    ASSERT_TRUE(QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &run_level,
                             sizeof run_level, nullptr));
    EXPECT_EQ(run_level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);

    // The element layout differs between SDKs: look for each identifier in the bytes.
    std::vector<unsigned char> compatibility(1024);
    ASSERT_TRUE(QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext, compatibility.data(),
                             compatibility.size(), nullptr));
    EXPECT_EQ(reinterpret_cast<ACTIVATION_CONTEXT_COMPATIBILITY_INFORMATION*>(compatibility.data())->ElementCount, 4u);
    const GUID windows[] = {{0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}},   // 7
                            {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}},   // 8
                            {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}},   // 8.1
                            {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}}};  // 10, 11
    for (const GUID& id : windows) {
        const auto* first = reinterpret_cast<const unsigned char*>(&id);
        EXPECT_NE(std::search(compatibility.begin(), compatibility.end(), first, first + sizeof id),
                  compatibility.end())
            << std::hex << id.Data1;
    }

    // Only the program's own assembly: no common-controls dependency, so the classic look.
    std::vector<unsigned char> detail(4096);
    ASSERT_TRUE(QueryActCtxW(0, context, nullptr, ActivationContextDetailedInformation, detail.data(), detail.size(),
                             nullptr));
    EXPECT_EQ(reinterpret_cast<ACTIVATION_CONTEXT_DETAILED_INFORMATION*>(detail.data())->ulAssemblyCount, 1u);

    const struct {
        const wchar_t* name_space;
        const wchar_t* name;
        const wchar_t* value;
    } settings[] = {{L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"false"},
                    {L"http://schemas.microsoft.com/SMI/2017/WindowsSettings", L"gdiScaling", L"true"}};
    for (const auto& setting : settings) {
        wchar_t value[16] = L"";
        SIZE_T written = 0;
        EXPECT_TRUE(QueryActCtxSettingsW(0, context, setting.name_space, setting.name, value, 16, &written))
            << GetLastError();
        EXPECT_STREQ(value, setting.value);
    }
    ReleaseActCtx(context);
}

BOOL CALLBACK keep_first_name(HMODULE, LPCSTR, LPSTR name, LONG_PTR first) {
    *reinterpret_cast<ULONG_PTR*>(first) = reinterpret_cast<ULONG_PTR>(name);
    return FALSE;
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

TEST_F(PackedQuiz, ItsIconIsTheFirstGroupAtEverySizeAndThePlayerHasItsOwn) {
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
        ULONG_PTR first = 0;
        EnumResourceNamesA(module.get(), RT_GROUP_ICON, keep_first_name, reinterpret_cast<LONG_PTR>(&first));
        EXPECT_EQ(first, 1u) << "Explorer shows the first icon group";
        std::vector<unsigned char> group;
        ASSERT_TRUE(read_resource(module.get(), RT_GROUP_ICON, 1, group));
        std::vector<int> widths;
        for (std::size_t i = 0; i < icon_group_image_ids(group).size(); ++i) widths.push_back(group[6 + 14 * i]);
        EXPECT_EQ(widths, (std::vector<int>{16, 24, 32, 48, 0}));  // 0 is 256
        EXPECT_EQ(icon_pixel(module.get(), 1, 48, c.inside.x, c.inside.y), c.inside_colour);
        EXPECT_EQ(icon_pixel(module.get(), 1, 48, 8, 6), c.corner);

        // Every image belongs to a group, and the play and stop icons stay.
        std::vector<int> images;
        EnumResourceNamesA(module.get(), RT_ICON, list_id, reinterpret_cast<LONG_PTR>(&images));
        std::vector<int> named;
        for (int id : {1, 1004, 1005}) {
            ASSERT_TRUE(read_resource(module.get(), RT_GROUP_ICON, id, group)) << id;
            for (int image : icon_group_image_ids(group)) named.push_back(image);
        }
        std::sort(images.begin(), images.end());
        std::sort(named.begin(), named.end());
        EXPECT_EQ(images, named);
        EXPECT_EQ(icon_pixel(module.get(), 1005, 16, 8, 8), RGB(0, 0, 0));
    }
}

}  // namespace
