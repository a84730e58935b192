#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

namespace {

// The label text reaches the window as Windows-1252 bytes, which the window
// turns into the right characters: 0xE9 reads back as U+00E9, not as UTF-8.
TEST(CharsetWindow, StaticControlGetsWindows1252Text) {
    ASSERT_EQ(GetACP(), 1252u) << "the tests assume the Windows-1252 ANSI code page";
    const char text[] = "(BETA) Réalisé avec la version 2.1.2";
    const int length = 36;
    const int accented[] = {8, 13};
    ASSERT_EQ(std::strlen(text), static_cast<std::size_t>(length));

    HWND label = CreateWindowExA(0, "Static", text, WS_POPUP, 0, 0, 300, 20, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(label, nullptr);
    char narrow[260] = {};
    const int narrow_length = GetWindowTextA(label, narrow, sizeof narrow);
    wchar_t wide[260] = {};
    const int wide_length = GetWindowTextW(label, wide, sizeof wide / sizeof wide[0]);
    DestroyWindow(label);

    EXPECT_EQ(narrow_length, length);
    EXPECT_STREQ(narrow, text);
    EXPECT_EQ(wide_length, length);
    EXPECT_EQ(wide[0], static_cast<wchar_t>('('));
    for (int index : accented) {
        SCOPED_TRACE(index);
        EXPECT_EQ(static_cast<unsigned char>(text[index]), 0xE9);
        EXPECT_EQ(static_cast<unsigned char>(narrow[index]), 0xE9);
        EXPECT_EQ(wide[index], static_cast<wchar_t>(0x00E9));
    }
}

}  // namespace
