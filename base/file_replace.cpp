#include "base/file_replace.h"

#include <windows.h>

std::wstring folder_of(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/:");
    return separator == std::wstring::npos ? L"." : path.substr(0, separator + 1);
}

FileReplacement::~FileReplacement() {
    if (!temporary_.empty()) DeleteFileW(temporary_.c_str());
}

bool FileReplacement::create_temporary() {
    wchar_t name[MAX_PATH];
    if (!GetTempFileNameW(folder_of(path_).c_str(), L"dvn", 0, name)) return false;
    temporary_ = name;
    return true;
}

bool FileReplacement::replace() {
    if (!MoveFileExW(temporary_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    temporary_.clear();
    return true;
}
