#include "authoring/packed_quiz_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "authoring/app_icon.h"
#include "authoring/maker_paths.h"
#include "authoring/resource_update.h"
#include "authoring/source_writer.h"
#include "base/owned_handle.h"
#include "base/resource_bytes.h"
#include "base/system_error.h"
#include "base/wide_text.h"
#include "quiz_data/quiz_record.h"
#include "quiz_data/quiz_resources.h"

namespace {

// Loads the quiz of a packed player with the player's own loader.
bool load_packed_record(const std::string& path, MessageSink player_messages, OwnedModule& module,
                        QuizRecord& record, Diagnostic& failure) {
    module.reset(
        LoadLibraryExW(wide_text(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module) {
        failure = file_error(path, {"cannot be read as an executable", u8"ne peut pas être lu comme un programme"});
        return false;
    }
    std::vector<unsigned char> quiz_stream;
    if (!read_resource(module.get(), "PATCH", quiz_stream_id, quiz_stream)) {
        failure = file_error(path, {"carries no quiz (no PATCH 104 resource; the player would show its built-in quiz)",
                                    "ne contient pas de quiz (pas de ressource PATCH 104)"});
        return false;
    }
    set_message_sink(player_messages);
    load_quiz(record, module.get());
    set_message_sink(nullptr);
    // The loader fills every entry or none.
    if (entry_count(record) == 0) {
        failure = file_error(path, {"the quiz it carries cannot be read", u8"le quiz qu'il contient ne peut pas être lu"});
        return false;
    }
    return true;
}

// The pictures and media the quiz carries, named as unpack writes them.
void collect_packed_files(const QuizContent& quiz, HMODULE module, std::vector<QuestionFiles>& names,
                          std::vector<PackedFile>& files) {
    const char* media_name = quiz.quiz_kind == video_quiz ? "media/q%d.avi" : "media/q%d.mp3";
    names.assign(static_cast<std::size_t>(entry_count(quiz)), QuestionFiles());
    auto collect = [&](int id, const char* format, int number, std::string& name) {
        PackedFile file;
        if (!read_resource(module, "IMG", id, file.bytes)) return;
        char formatted[32];
        std::snprintf(formatted, sizeof formatted, format, number);
        name = file.name = formatted;
        files.push_back(std::move(file));
    };
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        if (quiz.quiz_kind == picture_quiz) {
            collect(question_picture_id_base + number, "images/q%d.jpg", number, names[i].picture);
            collect(answer_picture_id_base + number, "images/r%d.jpg", number, names[i].answer_picture);
        } else if (has_media(quiz.quiz_kind)) {
            collect(media_resource_id_base + number, media_name, number, names[i].media);
        }
    }
}

struct FindTraits {
    static HANDLE empty() { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE h) { return h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { FindClose(h); }
};
using OwnedSearch = OwnedHandle<HANDLE, FindTraits>;

bool write_new_file(const std::string& path, const void* bytes, std::size_t size, Diagnostic& failure) {
    OwnedFile file(
        CreateFileW(wide_text(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), bytes, static_cast<DWORD>(size), &written, nullptr) || written != size) {
        failure = file_error(path, windows_error({"cannot be written", u8"ne peut pas être écrit"}));
        return false;
    }
    return true;
}

// Creates `folder` unless it exists; an existing one must be empty.
bool prepare_empty_folder(const std::string& folder, Diagnostic& failure) {
    const DWORD attributes = GetFileAttributesW(wide_text(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (CreateDirectoryW(wide_text(folder).c_str(), nullptr)) return true;
        failure = file_error(folder, windows_error({"cannot be created", u8"ne peut pas être créé"}));
        return false;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        failure = file_error(folder, {"is a file, not a folder", "est un fichier, pas un dossier"});
        return false;
    }
    WIN32_FIND_DATAW found;
    OwnedSearch search(FindFirstFileW(wide_text(folder + "\\*").c_str(), &found));
    bool empty = true;
    if (search) {
        do {
            const std::wstring name = found.cFileName;
            empty = name == L"." || name == L"..";
        } while (empty && FindNextFileW(search.get(), &found));
    }
    if (!empty)
        failure = file_error(folder, {"is not empty; unpack into a new or empty folder",
                                      u8"n'est pas vide ; dépaquetez dans un dossier nouveau ou vide"});
    return empty;
}

}  // namespace

bool read_packed_quiz(const std::string& path, MessageSink player_messages, UnpackedQuiz& quiz,
                      Diagnostic& failure) {
    OwnedModule module;
    QuizRecord record;
    if (!load_packed_record(path, player_messages, module, record, failure)) return false;
    std::vector<QuestionFiles> names;
    collect_packed_files(record, module.get(), names, quiz.files);
    AppIcon icon;
    const std::string icon_name = read_quiz_icon(module.get(), icon) ? "icon.ico" : "";
    if (!icon_name.empty()) quiz.files.push_back({icon_name, ico_file(icon)});
    quiz.kind = record.quiz_kind;
    quiz.question_count = entry_count(record);
    Message error;
    const QuizModel model = model_of_packed(record, names, icon_name, error);
    const WrittenSource written = error.empty() ? write_quiz_source(model) : WrittenSource{"", error};
    if (!written.error.empty()) {
        failure = file_error(path, written.error);
        return false;
    }
    quiz.toml = written.text;
    return true;
}

bool unpack_quiz(const UnpackedQuiz& quiz, const std::string& folder, Diagnostic& failure) {
    if (!prepare_empty_folder(folder, failure)) return false;
    // Every file of the quiz lies in one subfolder.
    const std::string subfolder = joined_path(folder, quiz.kind == picture_quiz ? "images" : "media");
    const bool in_subfolder = std::any_of(quiz.files.begin(), quiz.files.end(), [](const PackedFile& file) {
        return file.name.find('/') != std::string::npos;
    });
    if (in_subfolder && !CreateDirectoryW(wide_text(subfolder).c_str(), nullptr)) {
        failure = file_error(subfolder, windows_error({"cannot be created", u8"ne peut pas être créé"}));
        return false;
    }
    for (const PackedFile& file : quiz.files) {
        if (!write_new_file(joined_path(folder, file.name), file.bytes.data(), file.bytes.size(), failure))
            return false;
    }
    return write_new_file(joined_path(folder, "quiz.toml"), quiz.toml.data(), quiz.toml.size(), failure);
}
