#include "base/wide_text.h"

#include <windows.h>

namespace {

std::wstring wide_text_in(UINT code_page, const std::string& text) {
    const int length = MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

}  // namespace

std::wstring wide_text(const std::string& utf8) { return wide_text_in(CP_UTF8, utf8); }

std::wstring wide_text_of_ansi(const std::string& ansi) { return wide_text_in(CP_ACP, ansi); }

std::string utf8_text(const wchar_t* wide) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return std::string();
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, &utf8[0], length, nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(length) - 1);  // the terminating zero
    return utf8;
}
