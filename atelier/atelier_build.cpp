// Building beside the window: Ctrl+B's executable, F5's quiz to play.
#include "atelier/atelier_state.h"

#include "authoring/maker_paths.h"
#include "authoring/quiz_build_win32.h"
#include "base/wide_text.h"

// A build running beside the window; it tells the window when it is done.
struct BuildJob {
    HWND window;
    std::string source_path;
    std::string source_text;  // the state built
    BuildSettings settings;
    bool play;
    QuizBuild build;
};

namespace {

DWORD WINAPI run_build(void* parameter) {
    std::unique_ptr<BuildJob> job(static_cast<BuildJob*>(parameter));
    job->settings.source_text = &job->source_text;
    const HWND progress_window = job->window;
    job->settings.progress = [progress_window](const PictureReport& report) {
        PostMessageW(progress_window, message_build_progress, static_cast<WPARAM>(report.number),
                     static_cast<LPARAM>(report.count));
    };
    job->build = build_quiz(job->source_path, job->settings);
    const HWND window = job->window;
    if (PostMessageW(window, message_built, 0, reinterpret_cast<LPARAM>(job.get()))) job.release();
    return 0;
}

// F5 builds into a folder of its own under the user's temporary folder, named as Ctrl+B names its build.
std::string play_output(const Atelier& atelier) {
    wchar_t temporary[MAX_PATH];
    GetTempPathW(MAX_PATH, temporary);
    const std::wstring folder = std::wstring(temporary) + program_name;
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::string output = default_output(atelier.document.source_path);
    return utf8_text(folder.c_str()) + "\\" + output.substr(output.find_last_of("\\/") + 1);
}

}  // namespace

void start_build(Atelier& atelier, bool play) {
    if (atelier.document.source_path.empty()) return;
    if (atelier.building) return set_status(atelier, L"Une construction est déjà en cours : attendez qu'elle finisse.");
    if (!play && unsaved(atelier.document) && !save(atelier)) return;
    Message error;
    auto job = std::make_unique<BuildJob>();
    job->window = atelier.window;
    job->source_path = atelier.document.source_path;
    job->source_text = current_text(atelier.document, error);
    job->play = play;
    if (play) job->settings.output = play_output(atelier);
    if (!error.empty()) return set_status(atelier, L"Ce quiz ne peut pas être construit : " + wide_text(error.french));
    OwnedThread thread(CreateThread(nullptr, 0, run_build, job.get(), 0, nullptr));
    if (!thread) return set_status(atelier, L"La construction n'a pas pu commencer.");
    job.release();
    atelier.building = true;
    set_status(atelier, play ? L"Construction du quiz à jouer..." : L"Construction...");
}

void on_built(Atelier& atelier, BuildJob* finished) {
    std::unique_ptr<BuildJob> job(finished);
    atelier.building = false;
    const QuizBuild& build = job->build;
    Diagnostics found = build.check.diagnostics;
    found.insert(found.end(), build.failures.begin(), build.failures.end());
    if (has_error(found)) {
        atelier.document.problems = found;
        show_problems(atelier);
        SetFocus(control(atelier, id_problems));
        return set_status(atelier, L"Construction refusée : corrigez les erreurs de la liste.");
    }
    if (job->play) {
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        std::wstring command = L"\"" + wide_text(build.output) + L"\"";
        if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        return set_status(atelier, L"Quiz lancé : " + wide_text(build.output));
    }
    set_status(atelier, L"Construit : " + wide_text(build.output) + L" (" + std::to_wstring((build.size + 1023) / 1024) +
                            L" Ko)");
}
