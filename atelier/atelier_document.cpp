#include "atelier/atelier_document.h"

#include <windows.h>

#include "authoring/maker_paths.h"
#include "authoring/new_quiz.h"
#include "authoring/packed_quiz_win32.h"
#include "authoring/picture_cache_folder.h"
#include "authoring/quiz_build_win32.h"
#include "authoring/quiz_check.h"
#include "authoring/quiz_source.h"
#include "authoring/source_writer.h"
#include "base/file_replace.h"
#include "base/owned_handle.h"
#include "base/system_error.h"
#include "base/wide_text.h"

namespace {

bool is_folder(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(wide_text(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

unsigned long long last_write(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(wide_text(path).c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

// The recovery file of a source: its full path, case folded, hashed (FNV-1a).
std::wstring recovery_path(const std::string& source_path) {
    const std::string folder = local_data_folder("atelier");
    if (folder.empty()) return {};
    wchar_t full[MAX_PATH];
    if (!GetFullPathNameW(wide_text(source_path).c_str(), MAX_PATH, full, nullptr)) return {};
    CharLowerW(full);
    unsigned long long hash = 14695981039346656037ull;
    for (const wchar_t* c = full; *c; ++c) hash = (hash ^ static_cast<unsigned long long>(*c)) * 1099511628211ull;
    wchar_t name[32];
    wsprintfW(name, L"\\%08x%08x.toml", static_cast<unsigned>(hash >> 32), static_cast<unsigned>(hash));
    return wide_text(folder) + name;
}

bool ends_with_exe(const std::string& path) {
    return path.size() > 4 && CompareStringOrdinal(wide_text(path.substr(path.size() - 4)).c_str(), -1, L".exe", -1,
                                                   TRUE) == CSTR_EQUAL;
}

// The loader's own messages say less than the failure read_packed_quiz returns.
void ignore_player_message(const char*, const char*) {}

// A packed quiz unpacked into "NAME (source)" beside it ("NAME (source 2)"... when
// that folder is taken): the source it opens as.
bool unpack_beside(const std::string& executable, std::string& source_path, Diagnostic& failure) {
    UnpackedQuiz quiz;
    if (!read_packed_quiz(executable, ignore_player_message, quiz, failure)) return false;
    const std::string stem = executable.substr(0, executable.size() - 4);
    for (int attempt = 1; attempt < 100; ++attempt) {
        const std::string folder = stem + (attempt == 1 ? " (source)" : " (source " + std::to_string(attempt) + ")");
        if (GetFileAttributesW(wide_text(folder).c_str()) != INVALID_FILE_ATTRIBUTES) continue;
        source_path = joined_path(folder, "quiz.toml");
        return unpack_quiz(quiz, folder, failure);
    }
    failure = file_error(executable, {"every folder \"(source)\" beside it is taken",
                                      u8"tous les dossiers « (source) » à côté de lui sont pris"});
    return false;
}

bool read_text_file(const std::string& path, std::string& text, Diagnostic& failure) {
    OwnedFile file(CreateFileW(wide_text(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > 64 * 1024 * 1024) {
        failure = file_error(path, windows_error({"cannot be read", u8"ne peut pas être lu"}));
        return false;
    }
    text.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!text.empty() && (!ReadFile(file.get(), &text[0], static_cast<DWORD>(text.size()), &read, nullptr) ||
                          read != text.size())) {
        failure = file_error(path, windows_error({"cannot be read", u8"ne peut pas être lu"}));
        return false;
    }
    return true;
}

}  // namespace

bool unsaved(const AtelierDocument& document) { return document.state.number != document.saved_number; }

bool open_document(const std::string& path, AtelierDocument& document, Diagnostic& failure) {
    std::string source_path = path;
    if (ends_with_exe(path) && !unpack_beside(path, source_path, failure)) return false;
    if (is_folder(path)) {
        source_path = joined_path(path, "quiz.toml");
        NewQuiz written;
        if (GetFileAttributesW(wide_text(source_path).c_str()) == INVALID_FILE_ATTRIBUTES &&
            !write_new_quiz(path, -1, written, failure))
            return false;
    }
    AtelierDocument opened;
    if (!read_text_file(source_path, opened.saved_text, failure)) return false;
    opened.source_path = source_path;
    opened.written_at = last_write(source_path);
    Diagnostics ignored;  // told by the first check
    read_quiz_source(opened.saved_text, source_path, opened.state.quiz, ignored);
    document = std::move(opened);
    check_document(document);
    return true;
}

std::string current_text(const AtelierDocument& document, Message& error) {
    if (!unsaved(document)) return document.saved_text;
    WrittenSource written = rewrite_quiz_source(document.saved_text, document.state.quiz);
    error = written.error;
    return written.text;
}

Diagnostics file_problems_of(const QuizModel& quiz, const std::string& source_path) {
    Diagnostics problems;
    std::vector<QuestionData> data;
    PictureLoading headers;
    headers.headers_only = true;
    load_question_files(quiz, source_path, data, problems, headers);
    AppIcon icon;
    load_quiz_icon(quiz, source_path, icon, problems);
    return problems;
}

void check_document(AtelierDocument& document) {
    Diagnostics& problems = document.problems;
    problems.clear();
    Message error;
    const std::string text = current_text(document, error);
    if (!error.empty()) {
        problems.push_back(file_error(document.source_path, error));
        return;
    }
    QuizModel read;
    if (read_quiz_source(text, document.source_path, read, problems))
        check_grading(read, document.source_path, player_measures(), problems);
    problems.insert(problems.end(), document.file_problems.begin(), document.file_problems.end());
}

bool save_document(AtelierDocument& document, Message& error) {
    const std::string text = current_text(document, error);
    if (!error.empty()) return false;
    if (!replace_file(wide_text(document.source_path), text)) {
        error = windows_error({"cannot be saved", u8"ne peut pas être enregistré"});
        return false;
    }
    document.saved_text = text;
    document.saved_number = document.state.number;
    document.written_at = last_write(document.source_path);
    drop_recovery(document);
    check_document(document);
    return true;
}

bool changed_on_disk(const AtelierDocument& document) {
    return !document.source_path.empty() && last_write(document.source_path) != document.written_at;
}

void keep_recovery(const AtelierDocument& document) {
    Message error;
    const std::string text = current_text(document, error);
    const std::wstring path = recovery_path(document.source_path);
    if (path.empty() || !error.empty()) return;
    // Both levels: "Devinette" may not exist yet either.
    const std::wstring folder = folder_of(path);  // ends with its separator
    CreateDirectoryW(folder_of(folder.substr(0, folder.size() - 1)).c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    replace_file(path, text);  // a copy that cannot be written costs only the copy
}

void drop_recovery(const AtelierDocument& document) {
    const std::wstring path = recovery_path(document.source_path);
    if (!path.empty()) DeleteFileW(path.c_str());
}

bool find_recovery(const AtelierDocument& document, std::string& text) {
    const std::wstring path = recovery_path(document.source_path);
    Diagnostic ignored;
    return !path.empty() && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES &&
           read_text_file(utf8_text(path.c_str()), text, ignored) && text != document.saved_text;
}

void restore_recovery(AtelierDocument& document, const std::string& text) {
    // The copy was written from the source: rewriting it keeps the maker's text as well.
    document.saved_text = text;
    Diagnostics ignored;
    read_quiz_source(text, document.source_path, document.state.quiz, ignored);
    // Its questions' places are the copy's: the states before it are not the copy's to rewrite.
    document.history = EditHistory();
    document.state.number = 0;
    document.saved_number = -1;
    check_document(document);
}
