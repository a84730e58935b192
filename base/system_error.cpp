#include "base/system_error.h"

#include <windows.h>

#include "base/wide_text.h"

std::string windows_error(const std::string& what) {
    const DWORD code = GetLastError();
    return what + ": " + windows_error_words(code);
}

std::string windows_error_words(unsigned long code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        return "no such file";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
        return "the folder does not exist";
    case ERROR_ACCESS_DENIED:
        return "access denied (no permission, or the file is read-only or open in another program)";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "the file is in use by another program";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "the disk is full";
    case ERROR_WRITE_PROTECT:
        return "the disk is write-protected";
    case ERROR_NOT_READY:
        return "the drive is not ready";
    case ERROR_INVALID_NAME:
        return "the name holds characters that Windows does not allow";
    case ERROR_FILENAME_EXCED_RANGE:
        return "the path is too long";
    default:
        break;
    }
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string words = length ? utf8_text(text) : std::string();
    LocalFree(text);
    while (!words.empty() && std::string("\r\n. ").find(words.back()) != std::string::npos) words.pop_back();
    return (words.empty() ? std::string() : words + " ") + "(Windows error " + std::to_string(code) + ")";
}
