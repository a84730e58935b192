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

// What a check of the files reads of a quiz: its folder, its kind and the files
// it names. A change that leaves these as they were needs no new check.
std::string files_named(const Atelier& atelier) {
    const QuizModel& quiz = atelier.document.state.quiz;
    std::string named = atelier.document.source_path + '\n' + std::to_string(quiz.kind) + '\n' + quiz.icon;
    for (const ModelQuestion& question : quiz.questions)
        named += '\n' + question.picture + '\n' + question.media + '\n' + question.answer_picture;
    return named;
}

DWORD WINAPI check_files(void* parameter) {
    const std::unique_ptr<FileCheck> check(static_cast<FileCheck*>(parameter));
    auto problems = std::make_unique<Diagnostics>(file_problems_of(check->quiz, check->source_path));
    if (PostMessageW(check->window, message_files_checked, static_cast<WPARAM>(check->number),
                     reinterpret_cast<LPARAM>(problems.get())))
        problems.release();
    return 0;
}

}  // namespace

void ask_file_check(Atelier& atelier, bool again) {
    std::string named = files_named(atelier);
    if (atelier.document.source_path.empty() || (!again && named == atelier.files_checked)) return;
    atelier.files_checked = std::move(named);
    auto check = std::make_unique<FileCheck>(
        FileCheck{atelier.window, ++atelier.file_check, quiz_of(atelier), atelier.document.source_path});
    const HANDLE thread = CreateThread(nullptr, 0, check_files, check.get(), 0, nullptr);
    if (!thread)  // checked here, then
        return on_files_checked(atelier, check->number,
                                new Diagnostics(file_problems_of(check->quiz, check->source_path)));
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
