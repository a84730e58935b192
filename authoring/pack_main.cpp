// devinette-pack: packs a quiz source into a copy of the player, and shows or
// unpacks the quiz that a packed player carries. Messages are English; quiz
// texts are printed in UTF-8.
#include <windows.h>
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/messages.h"
#include "app/owned_handle.h"
#include "authoring/cp1252.h"
#include "authoring/quiz_source.h"
#include "authoring/resource_update.h"
#include "authoring/toml_writer.h"
#include "quiz_data/quiz_record.h"

namespace {

constexpr int exit_success = 0;
constexpr int exit_bad_input = 1;
constexpr int exit_usage = 2;

const char* const usage_text =
    "Usage:\n"
    "  devinette-pack build QUIZ.toml -o OUT.exe [--template PLAYER.exe]\n"
    "      Packs the quiz and the files it names into a copy of the player\n"
    "      (by default devinette.exe beside this tool).\n"
    "  devinette-pack show QUIZ.exe\n"
    "      Prints the quiz that a packed player carries, in the source format.\n"
    "  devinette-pack unpack QUIZ.exe -o DIR\n"
    "      Writes DIR/quiz.toml with the quiz's pictures and media, ready to be\n"
    "      edited and packed again. DIR must be new or empty.\n"
    "Exit codes: 0 success, 1 bad input, 2 usage.\n";

struct Arguments {
    std::string command;
    std::string input;
    std::string output;         // -o
    std::string template_path;  // --template
};

int usage_error(const std::string& message) {
    std::fprintf(stderr, "devinette-pack: %s\n\n%s", message.c_str(), usage_text);
    return exit_usage;
}

int failure(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return exit_bad_input;
}

// Returns false with a message for arguments that do not fit the command.
bool parse_arguments(const std::vector<std::string>& argv, Arguments& arguments, std::string& error) {
    const int argc = static_cast<int>(argv.size());
    arguments.command = argv[1];
    const bool build = arguments.command == "build";
    const bool show = arguments.command == "show";
    if (!build && !show && arguments.command != "unpack") {
        error = "unknown command \"" + arguments.command + "\"";
        return false;
    }
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        std::string* value = argument == "-o" && !show            ? &arguments.output
                             : argument == "--template" && build ? &arguments.template_path
                                                                 : nullptr;
        if (value) {
            if (i + 1 == argc)
                error = argument + " needs a value";
            else if (!value->empty())
                error = argument + " given twice";
            else
                *value = argv[++i];
        } else if (argument.size() > 1 && argument[0] == '-') {
            error = "unknown option " + argument + " for " + arguments.command;
        } else if (!arguments.input.empty()) {
            error = "one input only; unexpected " + argument;
        } else {
            arguments.input = argument;
        }
        if (!error.empty()) return false;
    }
    if (arguments.input.empty())
        error = "missing input for " + arguments.command;
    else if (!show && arguments.output.empty())
        error = "missing -o for " + arguments.command;
    return error.empty();
}

std::string default_template() {
    wchar_t own_path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, own_path, MAX_PATH);
    const std::string own = length < MAX_PATH ? utf8_text(own_path) : std::string();
    const std::size_t slash = own.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : own.substr(0, slash + 1)) + "devinette.exe";
}

bool same_file(const std::string& first, const std::string& second) {
    wchar_t first_full[MAX_PATH];
    wchar_t second_full[MAX_PATH];
    return GetFullPathNameW(wide_text(first).c_str(), MAX_PATH, first_full, nullptr) &&
           GetFullPathNameW(wide_text(second).c_str(), MAX_PATH, second_full, nullptr) &&
           lstrcmpiW(first_full, second_full) == 0;
}

long long file_size(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(wide_text(path).c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void print_picture_report(const PictureReport& report) {
    std::printf("%s\n", picture_report_line(report).c_str());
    std::fflush(stdout);
}

int build_command(const Arguments& arguments) {
    QuizSource source;
    std::vector<QuestionData> data;
    std::vector<PackedResource> resources;
    QuizIdentity identity;
    std::string error;
    if (!load_quiz_source(arguments.input, source, error) ||
        !load_question_files(source, data, error, print_picture_report) || !pack_quiz(source, data, resources, error) ||
        !load_quiz_icon(source, identity.icon, error))
        return failure(error);
    identity.title = source.content.title;
    const std::string template_path = arguments.template_path.empty() ? default_template() : arguments.template_path;
    if (same_file(template_path, arguments.output))
        return failure(arguments.output + ": is the template itself; the template is never changed");
    if (!write_packed_executable(template_path, arguments.output, resources, identity, error)) return failure(error);
    std::printf("%s: %d questions packed, %s\n", arguments.output.c_str(),
                static_cast<int>(source.content.question_count), file_size_text(file_size(arguments.output)).c_str());
    return exit_success;
}

// The loader's message boxes, as lines on the console.
void print_player_message(const char* text, const char* caption) {
    std::string utf8;
    unsigned char refused;
    if (!cp1252_to_utf8(text, utf8, refused)) utf8 = text;
    std::fprintf(stderr, "player message (%s): %s\n", caption, utf8.c_str());
}

// Loads the quiz of a packed player with the player's own loader.
bool load_packed_quiz(const std::string& path, OwnedModule& module, QuizRecord& record, std::string& error) {
    module.reset(
        LoadLibraryExW(wide_text(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module) {
        error = path + ": cannot be read as an executable";
        return false;
    }
    std::vector<unsigned char> quiz_stream;
    if (!read_resource(module.get(), "PATCH", quiz_stream_id, quiz_stream)) {
        error = path + ": carries no quiz (no PATCH 104 resource; the player would show its built-in quiz)";
        return false;
    }
    set_message_sink(print_player_message);
    load_quiz(record, module.get());
    set_message_sink(nullptr);
    // The loader fills every entry or none.
    if (entry_count(record) == 0) {
        error = path + ": the quiz it carries cannot be read";
        return false;
    }
    return true;
}

struct PackedFile {
    std::string name;  // relative to the unpacked source, '/' separated
    std::vector<unsigned char> bytes;
};

// The pictures and media the quiz carries, named as unpack writes them.
void collect_packed_files(const QuizContent& quiz, HMODULE module, std::vector<QuestionFiles>& names,
                          std::vector<PackedFile>& files) {
    const char* media_name = quiz.quiz_kind == video_quiz ? "media/q%d.avi" : "media/q%d.mp3";
    const bool has_media = quiz.quiz_kind == sound_quiz || quiz.quiz_kind == video_quiz;
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
        } else if (has_media) {
            collect(media_resource_id_base + number, media_name, number, names[i].media);
        }
    }
}

// What show and unpack both need: the quiz as its source text, and its files.
struct PackedSource {
    OwnedModule module;
    QuizRecord record;
    std::vector<PackedFile> files;
    std::string toml;
};

int read_packed_source(const std::string& input, PackedSource& source) {
    std::vector<QuestionFiles> names;
    std::string error;
    if (!load_packed_quiz(input, source.module, source.record, error)) return failure(error);
    collect_packed_files(source.record, source.module.get(), names, source.files);
    AppIcon icon;
    const std::string icon_name = read_quiz_icon(source.module.get(), icon) ? "icon.ico" : "";
    if (!icon_name.empty()) source.files.push_back({icon_name, ico_file(icon)});
    if (!write_quiz_toml(source.record, names, source.toml, error, icon_name)) return failure(input + ": " + error);
    return exit_success;
}

int show_command(const Arguments& arguments) {
    PackedSource source;
    if (const int result = read_packed_source(arguments.input, source); result != exit_success) return result;
    std::fwrite(source.toml.data(), 1, source.toml.size(), stdout);
    return exit_success;
}

struct FindTraits {
    static HANDLE empty() { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE h) { return h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { FindClose(h); }
};
using OwnedSearch = OwnedHandle<HANDLE, FindTraits>;

bool write_new_file(const std::string& path, const void* bytes, std::size_t size, std::string& error) {
    OwnedFile file(
        CreateFileW(wide_text(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), bytes, static_cast<DWORD>(size), &written, nullptr) || written != size) {
        error = windows_error("cannot be written", path);
        return false;
    }
    return true;
}

// Creates `folder` unless it exists; an existing one must be empty.
bool prepare_empty_folder(const std::string& folder, std::string& error) {
    const DWORD attributes = GetFileAttributesW(wide_text(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (CreateDirectoryW(wide_text(folder).c_str(), nullptr)) return true;
        error = windows_error("cannot be created", folder);
        return false;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = folder + ": is a file, not a folder";
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
    if (!empty) error = folder + ": is not empty; unpack into a new or empty folder";
    return empty;
}

// `subfolder` holds every file of the quiz.
bool write_unpacked(const std::string& folder, const char* subfolder, const std::string& toml,
                    const std::vector<PackedFile>& files, std::string& error) {
    if (!prepare_empty_folder(folder, error)) return false;
    const std::string subfolder_path = folder + "\\" + subfolder;
    const bool in_subfolder = std::any_of(files.begin(), files.end(), [](const PackedFile& file) {
        return file.name.find('/') != std::string::npos;
    });
    if (in_subfolder && !CreateDirectoryW(wide_text(subfolder_path).c_str(), nullptr)) {
        error = windows_error("cannot be created", subfolder_path);
        return false;
    }
    for (const PackedFile& file : files) {
        if (!write_new_file(folder + "/" + file.name, file.bytes.data(), file.bytes.size(), error)) return false;
    }
    return write_new_file(folder + "/quiz.toml", toml.data(), toml.size(), error);
}

int unpack_command(const Arguments& arguments) {
    PackedSource source;
    if (const int result = read_packed_source(arguments.input, source); result != exit_success) return result;
    const char* subfolder = source.record.quiz_kind == picture_quiz ? "images" : "media";
    std::string error;
    if (!write_unpacked(arguments.output, subfolder, source.toml, source.files, error)) return failure(error);
    std::printf("%s/quiz.toml: %d questions, %d files\n", arguments.output.c_str(),
                entry_count(source.record), static_cast<int>(source.files.size()));
    return exit_success;
}

}  // namespace

// The command line as UTF-8, whatever characters its paths hold.
std::vector<std::string> utf8_arguments() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; wide && i < count; ++i) arguments.push_back(utf8_text(wide[i]));
    LocalFree(wide);
    return arguments;
}

int main() {
    // Bytes leave as they are: UTF-8 texts, and LF line ends as in an unpacked quiz.toml.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // A console shows those bytes as UTF-8; pipes and files get them unchanged.
    DWORD console_mode = 0;
    if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &console_mode)) SetConsoleOutputCP(CP_UTF8);
    const std::vector<std::string> argv = utf8_arguments();
    const int argc = static_cast<int>(argv.size());
    if (argc < 2) return usage_error("missing command");
    const std::string command = argv[1];
    if (command == "help" || command == "--help" || command == "-h") {
        std::fputs(usage_text, stdout);
        return exit_success;
    }
    Arguments arguments;
    std::string error;
    if (!parse_arguments(argv, arguments, error)) return usage_error(error);
    if (arguments.command == "build") return build_command(arguments);
    if (arguments.command == "show") return show_command(arguments);
    return unpack_command(arguments);
}
