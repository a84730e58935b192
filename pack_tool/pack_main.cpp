// devinette-pack, the console front end of the authoring core: its arguments,
// what it prints and its exit codes. It writes a first quiz source from a
// folder, checks a source and tries its grading, packs it into a copy of the
// player, and shows or unpacks the quiz that a packed player carries. Messages
// are English; quiz texts are printed in UTF-8; diagnostics in GNU style,
// "FILE:LINE:COLUMN: error: FIELD: WHAT".
#include <windows.h>
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "authoring/cp1252.h"
#include "authoring/diagnostic.h"
#include "authoring/maker_paths.h"
#include "authoring/new_quiz.h"
#include "authoring/packed_quiz_win32.h"
#include "authoring/quiz_build_win32.h"
#include "authoring/quiz_check.h"
#include "authoring/quiz_source.h"
#include "authoring/source_writer.h"
#include "base/wide_text.h"
#include "pack_tool/console_window.h"

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
    "  devinette-pack build QUIZ.toml [-o OUT.exe] [--template PLAYER.exe] [--strict]\n"
    "      Checks, then packs the quiz and the files it names into a copy of the\n"
    "      player (by default devinette.exe beside this tool), written as OUT.exe\n"
    "      or, without -o, as FOLDER.exe beside the source, named after its folder.\n"
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

enum class OutputOption { none, optional, required };

// What each command takes: how many positional arguments, and which options.
struct CommandShape {
    const char* name;
    int least_inputs;
    int most_inputs;  // -1: no limit
    OutputOption output;  // -o
    bool template_option;
    bool strict;
    bool kind;
};

const CommandShape commands[] = {
    {"new", 1, 1, OutputOption::none, false, false, true},
    {"check", 1, 1, OutputOption::none, false, true, false},
    {"try", 3, -1, OutputOption::none, false, false, false},
    {"build", 1, 1, OutputOption::optional, true, true, false},
    {"show", 1, 1, OutputOption::none, false, false, false},
    {"unpack", 1, 1, OutputOption::required, false, false, false},
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
        std::string* value = argument == "-o" && shape->output != OutputOption::none ? &arguments.output
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
    else if (shape->output == OutputOption::required && arguments.output.empty())
        error = "missing -o for " + arguments.command;
    return error.empty();
}

// A variable of the environment, in UTF-8; empty when it is not set.
std::string environment_text(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return std::string();
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, &value[0], size));
    return utf8_text(value.c_str());
}

// A path as the maker typed it. scripts/devinette-pack hands absolute Linux
// paths over on a drive that stands for the Linux root and names that drive
// here: paths are then printed as Linux paths, the drive left out and every
// separator a '/'. On Windows they are printed as they are.
std::string shown_path(const std::string& path) {
    const std::string linux_root = environment_text(L"DEVINETTE_PACK_LINUX_ROOT");
    if (linux_root.empty()) return path;
    std::string shown = path.compare(0, linux_root.size(), linux_root) == 0 ? path.substr(linux_root.size()) : path;
    std::replace(shown.begin(), shown.end(), '\\', '/');
    return shown;
}

// "FILE:LINE:COLUMN: SEVERITY: FIELD: WHAT", leaving out what the diagnostic lacks.
void print_diagnostics(const Diagnostics& diagnostics) {
    for (const Diagnostic& found : diagnostics) {
        std::string line = shown_path(found.file);
        if (found.line > 0) line += ":" + std::to_string(found.line);
        if (found.line > 0 && found.column > 0) line += ":" + std::to_string(found.column);
        line += found.severity == Severity::error ? ": error: " : ": warning: ";
        if (!found.field.empty()) line += found.field + ": ";
        std::fprintf(stderr, "%s%s\n", line.c_str(), found.message.english.c_str());
    }
}

int failure(const Diagnostic& found) {
    print_diagnostics({found});
    return exit_bad_input;
}

// "2.1 MB", "41 KB": a file's size as a file manager shows it.
std::string file_size_text(long long bytes) {
    char text[32];
    if (bytes >= 1024 * 1024)
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024 * 1024));
    else
        std::snprintf(text, sizeof text, "%lld KB", (bytes + 1023) / 1024);
    return text;
}

// "[2/24] images/IMG_2041.jpg: 4032 x 3024, 2.1 MB -> 360 x 270, 41 KB"
void print_picture_report(const PictureReport& report) {
    std::string line = "[" + std::to_string(report.number) + "/" + std::to_string(report.count) + "] " + report.path +
                       ": " + std::to_string(report.source_width) + " x " + std::to_string(report.source_height) +
                       ", " + file_size_text(report.file_bytes);
    if (report.unchanged)
        line += ", stored as it is";
    else
        line += " -> " + std::to_string(report.width) + " x " + std::to_string(report.height) + ", " +
                file_size_text(report.stored_bytes);
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

std::string counted(int count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// Prints the diagnostics of a check, and a last line when it refuses the source.
bool refuse_checked(const std::string& path, const Diagnostics& diagnostics) {
    print_diagnostics(diagnostics);
    const int errors = count_of(diagnostics, Severity::error);
    if (errors == 0) return false;
    const int made = static_cast<int>(std::count_if(diagnostics.begin(), diagnostics.end(),
                                                    [](const Diagnostic& found) { return found.from_warning; }));
    const std::string strict = made == 0   ? ""
                               : made == 1 ? " (--strict made 1 warning an error)"
                                           : " (--strict made " + std::to_string(made) + " warnings errors)";
    std::fprintf(stderr, "%s: %s, %s%s; nothing written\n", shown_path(path).c_str(),
                 counted(errors, "error").c_str(), counted(count_of(diagnostics, Severity::warning), "warning").c_str(),
                 strict.c_str());
    return true;
}

int check_command(const Arguments& arguments) {
    const std::string& path = arguments.inputs[0];
    PictureLoading headers;
    headers.headers_only = true;
    const QuizCheck check = check_quiz(path, {player_measures(), arguments.strict, headers});
    if (refuse_checked(path, check.diagnostics)) return exit_bad_input;
    std::printf("%s: %s, no error, %s\n", shown_path(path).c_str(),
                counted(static_cast<int>(check.quiz.questions.size()), "question").c_str(),
                counted(count_of(check.diagnostics, Severity::warning), "warning").c_str());
    return exit_success;
}

int build_command(const std::string& source, const std::string& output, const std::string& template_path,
                  bool strict) {
    const QuizBuild build = build_quiz(source, {output, template_path, strict, print_picture_report});
    if (refuse_checked(source, build.check.diagnostics)) return exit_bad_input;
    if (!build.failures.empty()) {
        print_diagnostics(build.failures);
        return exit_bad_input;
    }
    std::printf("%s: %d questions packed, %s\n", shown_path(build.output).c_str(),
                static_cast<int>(build.check.quiz.questions.size()), file_size_text(build.size).c_str());
    return exit_success;
}

// "3" is question 3's first box, "3.2" its second.
bool parse_box(const std::string& text, const QuizModel& quiz, int& number, int& box, std::string& error) {
    const int count = static_cast<int>(quiz.questions.size());
    const std::size_t dot = text.find('.');
    const std::string number_text = text.substr(0, dot);
    const std::string box_text = dot == std::string::npos ? "1" : text.substr(dot + 1);
    const bool digits = !number_text.empty() && number_text.size() <= 3 &&
                        number_text.find_first_not_of("0123456789") == std::string::npos;
    number = digits ? std::stoi(number_text) : 0;
    box = box_text == "1" ? 1 : box_text == "2" ? 2 : 0;
    if (number < 1 || number > count || box == 0) {
        error = "\"" + text + "\": expected a question number from 1 to " + std::to_string(count) +
                (quiz.boxes == 2 ? ", or N.2 for its second box" : "");
        return false;
    }
    if (box == 2 && quiz.boxes != 2) {
        error = "\"" + text + "\": the questions of this quiz have one box";
        return false;
    }
    return true;
}

int try_command(const Arguments& arguments) {
    QuizModel quiz;
    Diagnostics diagnostics;
    if (!load_quiz_source(arguments.inputs[0], quiz, diagnostics)) {
        print_diagnostics(diagnostics);
        return exit_bad_input;
    }
    int number = 0;
    int box = 0;
    std::string error;
    if (!parse_box(arguments.inputs[1], quiz, number, box, error)) return usage_error(error);
    std::printf("question %d, box %d, accepted answer %s:\n", number, box,
                toml_string(quiz.questions[number - 1].answers[box - 1]).c_str());
    for (std::size_t i = 2; i < arguments.inputs.size(); ++i) {
        std::string line;
        if (!try_line(quiz, number, box, arguments.inputs[i], line)) {
            std::fprintf(stderr,
                         "%s: error: the player's box cannot hold this text (Windows-1252, at most 259 bytes)\n",
                         toml_string(arguments.inputs[i]).c_str());
            return exit_bad_input;
        }
        std::printf("  %s\n", line.c_str());
    }
    return exit_success;
}

int new_command(const Arguments& arguments) {
    const int kind = value_of_name(quiz_kind_names, arguments.kind.c_str());
    if (!arguments.kind.empty() && kind < 0)
        return usage_error("unknown kind \"" + arguments.kind + "\"; expected text, picture, sound or video");
    NewQuiz written;
    Diagnostic refusal;
    const bool made = write_new_quiz(arguments.inputs[0], kind, written, refusal);
    const std::string path = shown_path(written.path);
    if (made) std::printf("%s: a %s quiz of %d questions\n", path.c_str(), quiz_kind_names[written.kind],
                          written.question_count);
    if (!written.left_out.empty()) std::printf("Left out:\n");
    for (const LeftOutFile& file : written.left_out) std::printf("  %s: %s\n", file.name.c_str(), file.reason.c_str());
    if (!made) {
        std::fflush(stdout);  // the list comes before the error that refers to it
        return failure(refusal);
    }
    // The command that runs the tool where the maker is: the wrapper names itself.
    const std::string wrapper = environment_text(L"DEVINETTE_PACK_COMMAND");
    const std::string command = wrapper.empty() ? "devinette-pack" : wrapper;
    std::printf("Next:\n"
                "  1. Open it in a text editor: check each answer, add texts if you like.\n"
                "  2. %s check \"%s\"\n"
                "  3. %s build \"%s\"%s\n",
                command.c_str(), path.c_str(), command.c_str(), path.c_str(),
                wrapper.empty() ? "   (or drop the file on devinette-pack.exe)" : "");
    return exit_success;
}

// The loader's message boxes, as lines on the console.
void print_player_message(const char* text, const char* caption) {
    std::string utf8;
    unsigned char refused;
    if (!cp1252_to_utf8(text, utf8, refused)) utf8 = text;
    std::fprintf(stderr, "player message (%s): %s\n", caption, utf8.c_str());
}

int show_command(const Arguments& arguments) {
    UnpackedQuiz quiz;
    Diagnostic refusal;
    if (!read_packed_quiz(arguments.inputs[0], print_player_message, quiz, refusal)) return failure(refusal);
    std::fwrite(quiz.toml.data(), 1, quiz.toml.size(), stdout);
    return exit_success;
}

int unpack_command(const Arguments& arguments) {
    UnpackedQuiz quiz;
    Diagnostic refusal;
    if (!read_packed_quiz(arguments.inputs[0], print_player_message, quiz, refusal) ||
        !unpack_quiz(quiz, arguments.output, refusal))
        return failure(refusal);
    std::printf("%s: %d questions, %d files\n", shown_path(joined_path(arguments.output, "quiz.toml")).c_str(),
                quiz.question_count, static_cast<int>(quiz.files.size()));
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
    const bool folder = attributes & FILE_ATTRIBUTE_DIRECTORY;
    return build_command(folder ? joined_path(dropped, "quiz.toml") : dropped, "", "", false);
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
    if (arguments.command == "build")
        return build_command(arguments.inputs[0], arguments.output, arguments.template_path, arguments.strict);
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
