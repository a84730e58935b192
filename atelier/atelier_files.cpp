// The Atelier's files: saving, opening, what the maker is asked before work
// could be lost, a source changed by another program, files dropped.
#include "atelier/atelier_state.h"

#include <shlobj.h>

#include <algorithm>

#include "base/wide_text.h"

bool save(Atelier& atelier) {
    Message error;
    if (save_document(atelier.document, error)) {
        update_caption(atelier);
        show_problems(atelier);
        set_status(atelier, L"Enregistré : " + wide_text(atelier.document.source_path));
        return true;
    }
    const std::wstring text = L"Le quiz n'a pas pu être enregistré ; votre travail est gardé dans l'Atelier.\n\n" +
                              wide_text(atelier.document.source_path + " : " + error.french);
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

namespace {

constexpr wchar_t recent_key[] = L"Software\\Devinette\\Atelier";
constexpr int max_recent = 5;

// The quizzes opened last, most recent first, as full paths (HKCU\Software\Devinette\Atelier, "Récent 1"...).
std::vector<std::string> recent_quizzes() {
    std::vector<std::string> recent;
    for (int i = 1; i <= max_recent; ++i) {
        wchar_t path[MAX_PATH] = L"";
        DWORD size = sizeof path;
        const std::wstring name = L"Récent " + std::to_wstring(i);
        if (RegGetValueW(HKEY_CURRENT_USER, recent_key, name.c_str(), RRF_RT_REG_SZ, nullptr, path, &size) ==
            ERROR_SUCCESS)
            recent.push_back(utf8_text(path));
    }
    return recent;
}

void remember_quiz(const std::string& source_path) {
    wchar_t full[MAX_PATH];
    if (!GetFullPathNameW(wide_text(source_path).c_str(), MAX_PATH, full, nullptr)) return;
    std::vector<std::string> recent = recent_quizzes();
    const std::string opened = utf8_text(full);
    recent.erase(std::remove(recent.begin(), recent.end(), opened), recent.end());
    recent.insert(recent.begin(), opened);
    if (recent.size() > static_cast<std::size_t>(max_recent)) recent.resize(max_recent);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, recent_key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;  // a list that cannot be kept costs only the list
    for (std::size_t i = 0; i < recent.size(); ++i) {
        const std::wstring name = L"Récent " + std::to_wstring(i + 1);
        const std::wstring path = wide_text(recent[i]);
        RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    }
    RegCloseKey(key);
}

}  // namespace

void open_path(Atelier& atelier, const std::string& path) {
    AtelierDocument opened;
    Diagnostic failure;
    if (!open_document(path, opened, failure)) {
        const std::wstring text = L"Ce quiz ne peut pas être ouvert.\n\n" +
                                  wide_text(failure.file + " : " + failure.message.french);
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
    remember_quiz(atelier.document.source_path);
    forget_thumbnails(atelier);
    show_all(atelier);
    PostMessageW(atelier.window, message_ask_thumbnails, 0, 0);
    ask_file_check(atelier, true);
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

// "Nouveau quiz depuis un dossier": a folder of pictures, sounds or videos made a quiz as `new` makes it.
void choose_folder_and_open(Atelier& atelier) {
    if (!may_leave(atelier)) return;
    BROWSEINFOW browse = {};
    browse.hwndOwner = atelier.window;
    browse.lpszTitle = L"Le dossier des images, des sons ou des vidéos du quiz";
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    LPITEMIDLIST chosen = SHBrowseForFolderW(&browse);
    if (!chosen) return;
    wchar_t folder[MAX_PATH] = L"";
    const bool named = SHGetPathFromIDListW(chosen, folder);
    CoTaskMemFree(chosen);
    if (named) open_path(atelier, utf8_text(folder));
}

// Started without a quiz: a new quiz from a folder, a quiz to open, or one of the last ones.
void offer_start(Atelier& atelier) {
    std::vector<std::string> recent = recent_quizzes();
    recent.erase(std::remove_if(recent.begin(), recent.end(),
                                [](const std::string& path) {
                                    return GetFileAttributesW(wide_text(path).c_str()) == INVALID_FILE_ATTRIBUTES;
                                }),
                 recent.end());  // a quiz moved or deleted since is not offered
    std::vector<std::wstring> texts = {L"&Nouveau quiz depuis un dossier...", L"&Ouvrir un quiz..."};
    for (std::size_t i = 0; i < recent.size(); ++i) texts.push_back(L"&" + std::to_wstring(i + 1) + L" " + wide_text(recent[i]));
    std::vector<TASKDIALOG_BUTTON> buttons;
    for (std::size_t i = 0; i < texts.size(); ++i) buttons.push_back({static_cast<int>(1000 + i), texts[i].c_str()});
    TASKDIALOGCONFIG config = {};
    config.cbSize = sizeof config;
    config.hwndParent = atelier.window;
    config.pszWindowTitle = program_name;
    config.pszMainInstruction = L"Que voulez-vous faire ?";
    config.pszContent = recent.empty() ? L"" : L"Les derniers quiz ouverts suivent les deux premiers choix.";
    config.pButtons = buttons.data();
    config.cButtons = static_cast<UINT>(buttons.size());
    config.dwCommonButtons = TDCBF_CANCEL_BUTTON;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_USE_COMMAND_LINKS;
    int chosen = IDCANCEL;
    if (FAILED(TaskDialogIndirect(&config, &chosen, nullptr, nullptr))) return;
    if (chosen == 1000) return choose_folder_and_open(atelier);
    if (chosen == 1001) return choose_and_open(atelier);
    if (chosen >= 1002 && chosen < 1002 + static_cast<int>(recent.size()))
        open_path(atelier, recent[static_cast<std::size_t>(chosen - 1002)]);
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

// The picture preview under `point` (client coordinates): id_picture,
// id_answer_picture, or 0 for none shown there.
int preview_at(const Atelier& atelier, POINT point) {
    for (const int id : {id_picture, id_answer_picture}) {
        const HWND preview = control(atelier, id);
        RECT area = {};
        GetWindowRect(preview, &area);
        MapWindowPoints(nullptr, atelier.window, reinterpret_cast<POINT*>(&area), 2);
        if (IsWindowVisible(preview) && PtInRect(&area, point)) return id;
    }
    return 0;
}

}  // namespace

// A folder, a source or a packed quiz dropped opens; one picture dropped on a
// picture preview replaces that picture; pictures, sounds or videos dropped
// elsewhere on an open quiz become questions after the selected one, one a file.
void on_drop_files(Atelier& atelier, HDROP drop) {
    std::vector<std::wstring> dropped(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0));
    for (UINT i = 0; i < dropped.size(); ++i) {
        wchar_t path[MAX_PATH] = L"";
        DragQueryFileW(drop, i, path, MAX_PATH);
        dropped[i] = path;
    }
    POINT point = {};
    DragQueryPoint(drop, &point);
    DragFinish(drop);
    if (dropped.empty()) return;
    if (is_folder_or_quiz(dropped[0]) || atelier.document.source_path.empty()) {
        if (may_leave(atelier)) open_path(atelier, utf8_text(dropped[0].c_str()));
        return;
    }
    const int preview = preview_at(atelier, point);
    if (dropped.size() == 1 && preview != 0 && selected_question(atelier))
        return use_picture_file(atelier, preview == id_answer_picture, dropped[0]);
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
