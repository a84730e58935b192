// The files a quiz names, checked on a thread of their own: reading 96
// photographs for their headers takes a good part of a second, which neither
// opening a quiz nor typing waits for.
#include "atelier/atelier_state.h"

namespace {

// What a check reads: a copy of the quiz as it was asked for, numbered.
struct FileCheck {
    HWND window;
    int number;
    QuizModel quiz;
    std::string source_path;
};

DWORD WINAPI check_files(void* parameter) {
    const std::unique_ptr<FileCheck> check(static_cast<FileCheck*>(parameter));
    auto problems = std::make_unique<Diagnostics>(file_problems_of(check->quiz, check->source_path));
    if (PostMessageW(check->window, message_files_checked, static_cast<WPARAM>(check->number),
                     reinterpret_cast<LPARAM>(problems.get())))
        problems.release();
    return 0;
}

}  // namespace

void ask_file_check(Atelier& atelier) {
    if (atelier.document.source_path.empty()) return;
    auto check = std::make_unique<FileCheck>(
        FileCheck{atelier.window, ++atelier.file_check, quiz_of(atelier), atelier.document.source_path});
    const HANDLE thread = CreateThread(nullptr, 0, check_files, check.get(), 0, nullptr);
    if (!thread) {  // checked here, then
        atelier.document.file_problems = file_problems_of(check->quiz, check->source_path);
        return;
    }
    check.release();
    CloseHandle(thread);
}

void on_files_checked(Atelier& atelier, int number, Diagnostics* found) {
    const std::unique_ptr<Diagnostics> problems(found);
    if (number != atelier.file_check) return;  // a later check is coming
    atelier.document.file_problems = std::move(*problems);
    check_document(atelier.document);
    show_problems(atelier);
}
