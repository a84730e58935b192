#include "player/answer_boxes/answer_box.h"

#include "player/answer_boxes/evaluation.h"
#include "answers/results_file.h"
#include "base/file_replace.h"
#include "base/message_box.h"
#include "base/owned_handle.h"
#include "base/wide_text.h"
#include "layout/panel_layout.h"
#include "quiz_data/quiz_record.h"

namespace {

std::string results_file_bytes(HWND panel, int box_count) {
    std::string bytes;
    for (int b = 1; b <= box_count; ++b) {
        char text[text_size];
        read_control_text(panel, answer_box_id_base + b, text, text_size);
        append_results_line(bytes, text);
    }
    return bytes;
}

// Access is denied for several reasons that the player must tell apart.
SaveProblem denied_problem(const std::string& name) {
    const DWORD attributes = GetFileAttributesA(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return SaveProblem::read_only;  // no file could be created here
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return SaveProblem::name_is_folder;
    if (attributes & FILE_ATTRIBUTE_READONLY) return SaveProblem::read_only;
    // Replacing the file needs what this asks; a program that holds it open refuses to share it.
    OwnedFile probe(CreateFileA(name.c_str(), GENERIC_WRITE | DELETE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe && GetLastError() == ERROR_SHARING_VIOLATION) return SaveProblem::file_in_use;
    return SaveProblem::read_only;
}

// Called right after the failing step, while GetLastError holds its reason.
SaveResult failed_step(const std::string& name) {
    SaveResult result;
    result.error = GetLastError();
    switch (result.error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:  // what GetTempFileNameA says in a folder that is gone
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_DEVICE_NOT_CONNECTED: result.problem = SaveProblem::folder_missing; break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: result.problem = SaveProblem::file_in_use; break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: result.problem = SaveProblem::disk_full; break;
    case ERROR_WRITE_PROTECT: result.problem = SaveProblem::read_only; break;
    case ERROR_ACCESS_DENIED: result.problem = denied_problem(name); break;
    default: result.problem = SaveProblem::other; break;
    }
    return result;
}

const char* reason_text(SaveProblem problem) {
    switch (problem) {
    case SaveProblem::folder_missing: return "son dossier n'existe plus (dossier supprimé ou clé USB retirée)";
    case SaveProblem::file_in_use: return "le fichier est ouvert par un autre programme";
    case SaveProblem::name_is_folder: return "un dossier porte déjà ce nom";
    case SaveProblem::read_only: return "le dossier ou le fichier est en lecture seule";
    case SaveProblem::disk_full: return "le disque est plein";
    default: return "Windows a refusé l'écriture";
    }
}

// "Les réponses n'ont pas pu être enregistrées dans PATH : REASON." and what happens next.
std::string failure_text(const SaveResult& result, const char* what_next) {
    const std::string name = own_results_file_name();
    char full_path[MAX_PATH];
    const DWORD length = GetFullPathNameA(name.c_str(), MAX_PATH, full_path, nullptr);
    std::string text = "Les réponses n'ont pas pu être enregistrées dans le fichier\n";
    text += length > 0 && length < MAX_PATH ? full_path : name.c_str();
    text += "\n\nRaison : ";
    text += reason_text(result.problem);
    if (result.problem == SaveProblem::other) text += " (erreur " + std::to_string(result.error) + ")";
    text += ".\n\n";
    text += what_next;
    return text;
}

const char* const caption = "Information";

}  // namespace

std::string own_results_file_name() {
    char path[text_size] = "";
    GetModuleFileNameA(nullptr, path, text_size);
    return results_file_name(path);
}

// The new answers go to a temporary file beside the results file, which then
// replaces it in one step: a save that fails half-way keeps the previous answers.
SaveResult save_answers(HWND question_panel) {
    // A panel without answer boxes would save empty lines over an earlier run's answers.
    if (!question_panel || !quiz || !GetDlgItem(question_panel, answer_box_id_base + 1)) return {};
    const int box_count = shown_box_count(*quiz);
    const std::string bytes = results_file_bytes(question_panel, box_count);
    const std::string name = own_results_file_name();

    if (replace_file(wide_text_of_ansi(name), bytes)) return {};
    return failed_step(name);
}

void save_answers_or_tell(HWND question_panel) {
    const SaveResult result = save_answers(question_panel);
    if (result.problem == SaveProblem::none) return;
    show_message(failure_text(result, "Les réponses enregistrées auparavant sont gardées telles quelles.").c_str(),
                 caption);
}

bool save_answers_before_closing(HWND question_panel) {
    for (;;) {
        const SaveResult result = save_answers(question_panel);
        if (result.problem == SaveProblem::none) return true;
        const std::string text = failure_text(result,
                                              "Réessayer : enregistrer de nouveau.\n"
                                              "Continuer : fermer le quiz sans enregistrer ces réponses.\n"
                                              "Annuler : revenir au quiz.");
        switch (ask_retry(text.c_str(), caption)) {
        case RetryChoice::try_again: break;
        case RetryChoice::continue_on: return true;
        case RetryChoice::cancel: return false;
        }
    }
}
