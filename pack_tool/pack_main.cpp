// devinette-pack: writes a first quiz source from a folder, checks a source and
// tries its grading, packs it into a copy of the player, and shows or unpacks
// the quiz that a packed player carries. Messages are English; quiz texts are
// printed in UTF-8; mistakes in GNU style, "FILE:LINE:COLUMN: error: ...".
#include <windows.h>
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "base/owned_handle.h"
#include "base/resource_bytes.h"
#include "base/system_error.h"
#include "base/wide_text.h"
#include "pack_tool/console_window.h"
#include "authoring/cp1252.h"
#include "authoring/new_quiz.h"
#include "authoring/quiz_check.h"
#include "authoring/quiz_source.h"
#include "authoring/resource_update.h"
#include "authoring/toml_writer.h"
#include "layout/panel_layout.h"
#include "quiz_data/quiz_record.h"

namespace {

constexpr int exit_success = 0;
constexpr int exit_bad_input = 1;
constexpr int exit_usage = 2;

const char* const usage_text =
    "Usage:\n"
    "  devinette-pack new DIR [--kind text|picture|sound|video]\n"
    "      Writes DIR/quiz.toml with one question per picture (or MP3, or AVI)\n"
    "      of DIR, the answer taken from the file's name. Never overwrites.\n"
    "  devinette-pack check QUIZ.toml [--strict]\n"
    "      Reports every mistake of the source and of the files it names, checks\n"
    "      its tries, and warns about answers that grade unexpectedly.\n"
    "  devinette-pack try QUIZ.toml N TEXT...\n"
    "      Prints the grade the player shows for each TEXT typed in question N's\n"
    "      box (N.2: its second box), and whether that solves the question.\n"
    "  devinette-pack build QUIZ.toml -o OUT.exe [--template PLAYER.exe] [--strict]\n"
    "      Checks, then packs the quiz and the files it names into a copy of the\n"
    "      player (by default devinette.exe beside this tool).\n"
    "  devinette-pack show QUIZ.exe\n"
    "      Prints the quiz that a packed player carries, in the source format.\n"
    "  devinette-pack unpack QUIZ.exe -o DIR\n"
    "      Writes DIR/quiz.toml with the quiz's pictures and media, ready to be\n"
    "      edited and packed again. DIR must be new or empty.\n"
    "  On Windows, drop a quiz.toml (or its folder) on devinette-pack.exe: it builds\n"
    "  FOLDER.exe beside it.\n"
    "--strict makes warnings errors. Exit codes: 0 success, 1 bad input, 2 usage.\n";

struct Arguments {
    std::string command;
    std::vector<std::string> inputs;  // positional arguments
    std::string output;               // -o
    std::string template_path;        // --template
    std::string kind;                 // --kind
    bool strict = false;              // --strict
};

int usage_error(const std::string& message) {
    std::fprintf(stderr, "devinette-pack: %s\n\n%s", message.c_str(), usage_text);
    return exit_usage;
}

int failure(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return exit_bad_input;
}

// What each command takes: how many positional arguments, and which options.
struct CommandShape {
    const char* name;
    int least_inputs;
    int most_inputs;  // -1: no limit
    bool output;      // -o, required when taken
    bool template_option;
    bool strict;
    bool kind;
};

const CommandShape commands[] = {
    {"new", 1, 1, false, false, false, true},   {"check", 1, 1, false, false, true, false},
    {"try", 3, -1, false, false, false, false}, {"build", 1, 1, true, true, true, false},
    {"show", 1, 1, false, false, false, false}, {"unpack", 1, 1, true, false, false, false},
};

// Returns false with a message for arguments that do not fit the command.
bool parse_arguments(const std::vector<std::string>& argv, Arguments& arguments, std::string& error) {
    const int argc = static_cast<int>(argv.size());
    arguments.command = argv[1];
    const CommandShape* shape = nullptr;
    for (const CommandShape& known : commands)
        if (arguments.command == known.name) shape = &known;
    if (!shape) {
        error = "unknown command \"" + arguments.command + "\"";
        return false;
    }
    // After `try QUIZ N`, every argument is a typed text, even one starting with '-'.
    const bool texts_only = arguments.command == "try";
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        if (texts_only && arguments.inputs.size() >= 2) {
            arguments.inputs.push_back(argument);
            continue;
        }
        std::string* value = argument == "-o" && shape->output                  ? &arguments.output
                             : argument == "--template" && shape->template_option ? &arguments.template_path
                             : argument == "--kind" && shape->kind               ? &arguments.kind
                                                                                  : nullptr;
        if (value) {
            if (i + 1 == argc)
                error = argument + " needs a value";
            else if (!value->empty())
                error = argument + " given twice";
            else
                *value = argv[++i];
        } else if (argument == "--strict" && shape->strict) {
            arguments.strict = true;
        } else if (argument.size() > 1 && argument[0] == '-') {
            error = "unknown option " + argument + " for " + arguments.command;
        } else if (shape->most_inputs >= 0 && static_cast<int>(arguments.inputs.size()) == shape->most_inputs) {
            error = "one input only; unexpected " + argument;
        } else {
            arguments.inputs.push_back(argument);
        }
        if (!error.empty()) return false;
    }
    if (static_cast<int>(arguments.inputs.size()) < shape->least_inputs)
        error = arguments.inputs.empty() ? "missing input for " + arguments.command
                                         : "try needs QUIZ.toml, a question number and at least one text";
    else if (shape->output && arguments.output.empty())
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

void print_lines(const std::string& lines) {
    if (!lines.empty()) std::fprintf(stderr, "%s\n", lines.c_str());
}

// Pixels an answer takes in the player's answer box font; 0 when no device
// context can be had (the warning is then left out).
int answer_text_width(const std::string& cp1252) {
    OwnedMemoryDc dc(CreateCompatibleDC(nullptr));
    LOGFONTA description = {};
    description.lfHeight = answer_font_height;
    description.lfWeight = answer_font_weight;
    OwnedFont font(CreateFontIndirectA(&description));
    if (!dc || !font) return 0;
    const HGDIOBJ previous = SelectObject(dc.get(), font.get());
    SIZE size = {};
    const BOOL measured = GetTextExtentPoint32A(dc.get(), cp1252.data(), static_cast<int>(cp1252.size()), &size);
    SelectObject(dc.get(), previous);
    return measured ? size.cx : 0;
}

// Everything build would refuse or warn about, reported at once.
struct CheckedSource {
    QuizSource source;
    std::vector<QuestionData> data;
    AppIcon icon;
    int error_count = 0;
    int warning_count = 0;
};

int count_lines(const std::string& lines) {
    return lines.empty() ? 0 : 1 + static_cast<int>(std::count(lines.begin(), lines.end(), '\n'));
}

void check_source(const std::string& path, bool report_pictures, CheckedSource& checked) {
    std::string source_errors;
    std::string file_errors;
    const bool read = load_quiz_source(path, checked.source, source_errors);
    // The files are tried even after mistakes in the text, so that all are told at once.
    load_question_files(checked.source, checked.data, file_errors,
                        report_pictures ? print_picture_report : std::function<void(const PictureReport&)>());
    std::string icon_errors;
    load_quiz_icon(checked.source, checked.icon, icon_errors);
    if (!icon_errors.empty()) file_errors += (file_errors.empty() ? "" : "\n") + icon_errors;
    print_lines(source_errors);
    print_lines(file_errors);
    checked.error_count = count_lines(source_errors) + count_lines(file_errors);
    if (!read) return;
    const GradingCheck grading = check_grading(checked.source, answer_text_width);
    print_lines(grading.errors);
    print_lines(grading.warnings);
    checked.error_count += grading.error_count;
    checked.warning_count = grading.warning_count;
}

std::string counted(int count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// Refuses a checked source with errors, or with warnings under --strict.
bool refuse_checked(const std::string& path, const CheckedSource& checked, bool strict) {
    const bool refused = checked.error_count > 0 || (strict && checked.warning_count > 0);
    if (refused)
        std::fprintf(stderr, "%s: %s, %s%s; nothing written\n", path.c_str(),
                     counted(checked.error_count, "error").c_str(), counted(checked.warning_count, "warning").c_str(),
                     strict && checked.warning_count > 0 ? " (--strict makes warnings errors)" : "");
    return refused;
}

int check_command(const Arguments& arguments) {
    const std::string& path = arguments.inputs[0];
    CheckedSource checked;
    check_source(path, false, checked);
    if (refuse_checked(path, checked, arguments.strict)) return exit_bad_input;
    std::printf("%s: %s, no error, %s\n", path.c_str(),
                counted(checked.source.content.question_count, "question").c_str(),
                counted(checked.warning_count, "warning").c_str());
    return exit_success;
}

int build_quiz(const std::string& input, const std::string& output, const std::string& template_option,
               bool strict) {
    CheckedSource checked;
    check_source(input, true, checked);
    if (refuse_checked(input, checked, strict)) return exit_bad_input;
    std::vector<PackedResource> resources;
    QuizIdentity identity;
    std::string error;
    if (!pack_quiz(checked.source, checked.data, resources, error)) return failure(error);
    identity.title = checked.source.content.title;
    identity.icon = std::move(checked.icon);
    const std::string template_path = template_option.empty() ? default_template() : template_option;
    if (same_file(template_path, output))
        return failure(output + ": error: is the template itself; the template is never changed");
    if (!write_packed_executable(template_path, output, resources, identity, error)) return failure(error);
    std::printf("%s: %d questions packed, %s\n", output.c_str(),
                static_cast<int>(checked.source.content.question_count),
                file_size_text(file_size(output)).c_str());
    return exit_success;
}

int build_command(const Arguments& arguments) {
    return build_quiz(arguments.inputs[0], arguments.output, arguments.template_path, arguments.strict);
}

// "3" is question 3's first box, "3.2" its second.
bool parse_box(const std::string& text, const QuizContent& quiz, int& number, int& box, std::string& error) {
    const std::size_t dot = text.find('.');
    const std::string number_text = text.substr(0, dot);
    const std::string box_text = dot == std::string::npos ? "1" : text.substr(dot + 1);
    const bool digits = !number_text.empty() && number_text.size() <= 3 &&
                        number_text.find_first_not_of("0123456789") == std::string::npos;
    number = digits ? std::stoi(number_text) : 0;
    box = box_text == "1" ? 1 : box_text == "2" ? 2 : 0;
    if (number < 1 || number > quiz.question_count || box == 0) {
        error = "\"" + text + "\": expected a question number from 1 to " + std::to_string(quiz.question_count) +
                (quiz.answers_per_question == 2 ? ", or N.2 for its second box" : "");
        return false;
    }
    if (box == 2 && quiz.answers_per_question != 2) {
        error = "\"" + text + "\": the questions of this quiz have one box";
        return false;
    }
    return true;
}

int try_command(const Arguments& arguments) {
    const std::string& path = arguments.inputs[0];
    QuizSource source;
    std::string error;
    if (!load_quiz_source(path, source, error)) return failure(error);
    int number = 0;
    int box = 0;
    if (!parse_box(arguments.inputs[1], source.content, number, box, error)) return usage_error(error);
    const QuestionEntry* entry = question_at(source.content, number - 1);
    std::string accepted;
    unsigned char refused_byte;
    cp1252_to_utf8(box == 2 ? entry->answer_2 : entry->answer_1, accepted, refused_byte);
    std::printf("question %d, box %d, accepted answer %s:\n", number, box, toml_string(accepted).c_str());
    for (std::size_t i = 2; i < arguments.inputs.size(); ++i) {
        std::string typed;
        char32_t refused;
        if (!utf8_to_cp1252(arguments.inputs[i], typed, refused) || typed.size() > text_size - 1)
            return failure(toml_string(arguments.inputs[i]) +
                           ": error: the player's box cannot hold this text (Windows-1252, at most 259 bytes)");
        std::printf("  %s\n", try_line(source.content, number, box, typed).c_str());
    }
    return exit_success;
}

int new_command(const Arguments& arguments) {
    const int kind = value_of_name(quiz_kind_names, arguments.kind.c_str());
    if (!arguments.kind.empty() && kind < 0)
        return usage_error("unknown kind \"" + arguments.kind + "\"; expected text, picture, sound or video");
    NewQuiz written;
    std::string error;
    if (!write_new_quiz(arguments.inputs[0], kind, written, error)) return failure(error);
    std::printf("%s: a %s quiz of %d questions\n"
                "Next:\n"
                "  1. Open it in a text editor: check each answer, add texts if you like.\n"
                "  2. devinette-pack check \"%s\"\n"
                "  3. devinette-pack build \"%s\" -o quiz.exe   (or drop the file on devinette-pack.exe)\n",
                written.path.c_str(), quiz_kind_names[written.kind], written.question_count, written.path.c_str(),
                written.path.c_str());
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
        error = path + ": error: cannot be read as an executable";
        return false;
    }
    std::vector<unsigned char> quiz_stream;
    if (!read_resource(module.get(), "PATCH", quiz_stream_id, quiz_stream)) {
        error = path + ": error: carries no quiz (no PATCH 104 resource; the player would show its built-in quiz)";
        return false;
    }
    set_message_sink(print_player_message);
    load_quiz(record, module.get());
    set_message_sink(nullptr);
    // The loader fills every entry or none.
    if (entry_count(record) == 0) {
        error = path + ": error: the quiz it carries cannot be read";
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
    if (!write_quiz_toml(source.record, names, source.toml, error, icon_name)) return failure(input + ": error: " + error);
    return exit_success;
}

int show_command(const Arguments& arguments) {
    PackedSource source;
    if (const int result = read_packed_source(arguments.inputs[0], source); result != exit_success) return result;
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
        error = folder + ": error: is a file, not a folder";
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
    if (!empty) error = folder + ": error: is not empty; unpack into a new or empty folder";
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
    if (const int result = read_packed_source(arguments.inputs[0], source); result != exit_success) return result;
    const char* subfolder = source.record.quiz_kind == picture_quiz ? "images" : "media";
    std::string error;
    if (!write_unpacked(arguments.output, subfolder, source.toml, source.files, error)) return failure(error);
    std::printf("%s/quiz.toml: %d questions, %d files\n", arguments.output.c_str(),
                entry_count(source.record), static_cast<int>(source.files.size()));
    return exit_success;
}


// The command line as UTF-8, whatever characters its paths hold.
std::vector<std::string> utf8_arguments() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; wide && i < count; ++i) arguments.push_back(utf8_text(wide[i]));
    LocalFree(wide);
    return arguments;
}

// A quiz source or a folder holding quiz.toml, dropped on the tool in Explorer:
// built beside the source as FOLDER.exe, FOLDER being the source's folder.
int build_dropped(const std::string& dropped) {
    const DWORD attributes = GetFileAttributesW(wide_text(dropped).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return usage_error("unknown command \"" + dropped + "\"");
    const std::string source =
        attributes & FILE_ATTRIBUTE_DIRECTORY ? dropped + "\\quiz.toml" : dropped;
    wchar_t full[MAX_PATH];
    wchar_t* name_part = nullptr;
    if (!GetFullPathNameW(wide_text(source).c_str(), MAX_PATH, full, &name_part) || !name_part)
        return failure(windows_error("cannot be found", source));
    const std::string folder = utf8_text(full).substr(0, utf8_text(full).size() - utf8_text(name_part).size() - 1);
    const std::size_t slash = folder.find_last_of("\\/");
    const std::string folder_name = slash == std::string::npos ? folder : folder.substr(slash + 1);
    return build_quiz(source, folder + "\\" + (folder_name.empty() ? "quiz" : folder_name) + ".exe", "", false);
}

int run(const std::vector<std::string>& argv) {
    const int argc = static_cast<int>(argv.size());
    if (argc < 2) return usage_error("missing command");
    const std::string command = argv[1];
    if (command == "help" || command == "--help" || command == "-h") {
        std::fputs(usage_text, stdout);
        return exit_success;
    }
    const bool known = std::any_of(std::begin(commands), std::end(commands),
                                   [&command](const CommandShape& shape) { return command == shape.name; });
    if (!known && argc == 2 && command[0] != '-') return build_dropped(command);
    Arguments arguments;
    std::string error;
    if (!parse_arguments(argv, arguments, error)) return usage_error(error);
    if (arguments.command == "new") return new_command(arguments);
    if (arguments.command == "check") return check_command(arguments);
    if (arguments.command == "try") return try_command(arguments);
    if (arguments.command == "build") return build_command(arguments);
    if (arguments.command == "show") return show_command(arguments);
    return unpack_command(arguments);
}

}  // namespace

int main() {
    // Bytes leave as they are: UTF-8 texts, and LF line ends as in an unpacked quiz.toml.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    const ConsoleCharacters console_characters;
    const int result = run(utf8_arguments());
    // Started from Explorer, the window would vanish with what the tool said.
    if (console_window_of_its_own()) wait_for_enter();
    return result;
}
