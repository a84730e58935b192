// Replacing a file in one step: the new content is written to a temporary file
// beside it, which is then renamed onto it, so the file is either the former
// one or the new one whole, never a mixture.
#pragma once

#include <string>
#include <utility>

// The folder a temporary file beside `path` goes in: everything up to the last
// separator, or "." for a bare name.
std::wstring folder_of(const std::wstring& path);

// A temporary file beside `path`; deleted when its owner goes, unless it has
// replaced `path`. Each step returns false with GetLastError saying why.
class FileReplacement {
public:
    explicit FileReplacement(std::wstring path) : path_(std::move(path)) {}
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    ~FileReplacement();

    // Creates the temporary file, empty, in the folder of `path`.
    bool create_temporary();
    const std::wstring& temporary() const { return temporary_; }
    // Renames the temporary file onto `path`, replacing it; a read-only `path`
    // is refused (ERROR_ACCESS_DENIED).
    bool replace();

private:
    std::wstring path_;
    std::wstring temporary_;  // empty until created, and again once it has replaced the file
};

// Writes `bytes` as the whole file `name`, flushed to the disk; false with
// GetLastError saying why (a short write is a full disk).
bool write_whole_file(const std::wstring& name, const std::string& bytes);

// Replaces `path` by `bytes` through a temporary file beside it; false with
// GetLastError saying why, the former file untouched.
bool replace_file(const std::wstring& path, const std::string& bytes);
