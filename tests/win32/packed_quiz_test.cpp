// A quiz packed into a copy of the built player, read back through the
// platform: the manifest as an activation context, the version strings through
// the version API.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "authoring/resource_update.h"

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
        ASSERT_TRUE(write_packed_executable(beside_tests("fixtures\\player.exe"), "packed_quiz.exe", quiz, title,
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
    const std::vector<char> player = version_info(std::wstring(beside_tests("fixtures\\player.exe").begin(),
                                                               beside_tests("fixtures\\player.exe").end())
                                                      .c_str());
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

}  // namespace
