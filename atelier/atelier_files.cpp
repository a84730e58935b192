// The Atelier's files: saving, opening, what the maker is asked before work
// could be lost, a source changed by another program, files dropped.
#include "atelier/atelier_state.h"

#include "base/wide_text.h"

bool save(Atelier& atelier) {
    std::string error;
    if (save_document(atelier.document, error)) {
        update_caption(atelier);
        show_problems(atelier);
        set_status(atelier, L"Enregistré : " + wide_text(atelier.document.source_path));
        return true;
    }
    const std::wstring text = L"Le quiz n'a pas pu être enregistré ; votre travail est gardé dans l'Atelier.\n\n" +
                              wide_text(atelier.document.source_path + ": " + error);
    MessageBoxW(atelier.window, text.c_str(), program_name, MB_OK | MB_ICONWARNING);
    return false;
}

// Asks what to do with unsaved changes; true when the maker may go on (saved or dropped).
bool may_leave(Atelier& atelier) {
    if (!unsaved(atelier.document)) return true;
    const TASKDIALOG_BUTTON buttons[] = {{IDYES, L"&Enregistrer"}, {IDNO, L"&Ne pas enregistrer"}};
    TASKDIALOGCONFIG config = {};
    config.cbSize = sizeof config;
    config.hwndParent = atelier.window;
    config.pszWindowTitle = program_name;
    config.pszMainInstruction = L"Enregistrer les modifications du quiz ?";
    config.pButtons = buttons;
    config.cButtons = 2;
    config.dwCommonButtons = TDCBF_CANCEL_BUTTON;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION;
    int chosen = IDCANCEL;
    if (FAILED(TaskDialogIndirect(&config, &chosen, nullptr, nullptr))) {
        chosen = MessageBoxW(atelier.window, L"Enregistrer les modifications du quiz ?", program_name,
                             MB_YESNOCANCEL | MB_ICONQUESTION);
    }
    if (chosen == IDYES) return save(atelier);
    if (chosen == IDNO) drop_recovery(atelier.document);
    return chosen == IDNO;
}

void open_path(Atelier& atelier, const std::string& path) {
    AtelierDocument opened;
    Diagnostic failure;
    if (!open_document(path, opened, failure)) {
        const std::wstring text = L"Ce quiz ne peut pas être ouvert.\n\n" +
                                  wide_text(failure.file + ": " + failure.message);
        MessageBoxW(atelier.window, text.c_str(), program_name, MB_OK | MB_ICONWARNING);
        return;
    }
    std::string recovered;
    if (find_recovery(opened, recovered)) {
        atelier.asking = true;
        const int answer = MessageBoxW(atelier.window,
                                       L"L'Atelier s'est fermé sans enregistrer votre dernier travail sur ce quiz. "
                                       L"Une copie en a été gardée.\n\nLa restaurer ?",
                                       program_name, MB_YESNO | MB_ICONQUESTION);
        atelier.asking = false;
        if (answer == IDYES)
            restore_recovery(opened, recovered);
        else
            drop_recovery(opened);
    }
    atelier.document = std::move(opened);
    atelier.selected = 0;
    forget_thumbnails(atelier);
    show_all(atelier);
    ask_thumbnails(atelier);
    SetFocus(control(atelier, id_answer));
}

// Another program wrote the source: read again when nothing here is unsaved, otherwise the maker chooses.
void look_at_disk(Atelier& atelier) {
    if (atelier.asking || !changed_on_disk(atelier.document)) return;
    if (unsaved(atelier.document)) {
        atelier.asking = true;
        const int answer = MessageBoxW(atelier.window,
                                       L"Un autre programme a modifié le fichier de ce quiz.\n\n"
                                       L"Oui : le relire et abandonner vos modifications.\n"
                                       L"Non : garder vos modifications, qui le remplaceront à l'enregistrement.",
                                       program_name, MB_YESNO | MB_ICONWARNING);
        atelier.asking = false;
        if (answer != IDYES) {
            atelier.document.written_at = 0;  // asked once: the next save decides
            return;
        }
    }
    const int selected = atelier.selected;
    drop_recovery(atelier.document);
    open_path(atelier, atelier.document.source_path);
    const int count = static_cast<int>(quiz_of(atelier).questions.size());
    atelier.selected = selected < count ? selected : count - 1;
    fill_list(atelier);
    fill_fields(atelier);
    set_status(atelier, L"Relu : le fichier a été modifié par un autre programme.");
}

void choose_and_open(Atelier& atelier) {
    if (!may_leave(atelier)) return;
    const std::wstring file = chosen_file(atelier, L"Source de quiz (*.toml)\0*.toml\0");
    if (!file.empty()) open_path(atelier, utf8_text(file.c_str()));
}

namespace {

bool is_folder_or_quiz(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const std::size_t dot = path.find_last_of(L'.');
    const std::wstring extension = dot == std::wstring::npos ? L"" : path.substr(dot);
    return (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) ||
           CompareStringOrdinal(extension.c_str(), -1, L".toml", -1, TRUE) == CSTR_EQUAL ||
           CompareStringOrdinal(extension.c_str(), -1, L".exe", -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

// A folder, a source or a packed quiz dropped opens; pictures, sounds or videos
// dropped on an open quiz become questions after the selected one, one a file.
void on_drop_files(Atelier& atelier, HDROP drop) {
    std::vector<std::wstring> dropped(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0));
    for (UINT i = 0; i < dropped.size(); ++i) {
        wchar_t path[MAX_PATH] = L"";
        DragQueryFileW(drop, i, path, MAX_PATH);
        dropped[i] = path;
    }
    DragFinish(drop);
    if (dropped.empty()) return;
    if (is_folder_or_quiz(dropped[0]) || atelier.document.source_path.empty()) {
        if (may_leave(atelier)) open_path(atelier, utf8_text(dropped[0].c_str()));
        return;
    }
    std::vector<std::string> files;
    for (const std::wstring& path : dropped) {
        const std::string relative = file_in_quiz_folder(atelier, path);
        if (!relative.empty()) files.push_back(relative);
    }
    const int room = max_questions - static_cast<int>(quiz_of(atelier).questions.size());
    if (static_cast<int>(files.size()) > room)
        MessageBoxW(atelier.window, L"Un quiz a au plus 96 questions : les fichiers en trop ne sont pas ajoutés.",
                    program_name, MB_OK | MB_ICONINFORMATION);
    change_questions(atelier, [&](QuizModel& quiz) { return add_file_questions(quiz, atelier.selected + 1, files); });
}
