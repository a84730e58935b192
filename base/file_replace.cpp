#include "base/file_replace.h"

#include <windows.h>

#include "base/owned_handle.h"

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
    // Windows refuses to replace a read-only file; said here, so that no
    // platform or privilege ever writes over one.
    const DWORD attributes = GetFileAttributesW(path_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    if (!MoveFileExW(temporary_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    temporary_.clear();
    return true;
}

bool write_whole_file(const std::wstring& name, const std::string& bytes) {
    OwnedFile file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const DWORD size = static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), size, &written, nullptr)) return false;
    if (written != size) {
        SetLastError(ERROR_DISK_FULL);  // a short write without an error is a full disk
        return false;
    }
    return FlushFileBuffers(file.get()) != 0;
}

bool replace_file(const std::wstring& path, const std::string& bytes) {
    DWORD error = 0;
    {
        FileReplacement replacement(path);
        if (replacement.create_temporary() && write_whole_file(replacement.temporary(), bytes) &&
            replacement.replace())
            return true;
        error = GetLastError();
    }  // the temporary file is deleted here, which may change GetLastError
    SetLastError(error);
    return false;
}
