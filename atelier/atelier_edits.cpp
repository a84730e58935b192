// What the maker changes in the Atelier: fields, questions, files brought in,
// the history; and a question's sound.
#include "atelier/atelier_state.h"

#include <commdlg.h>
#include <mmsystem.h>

#include "authoring/picture_convert.h"
#include "authoring/quiz_check.h"
#include "base/file_replace.h"
#include "base/wide_text.h"

// After any change: the caption at once, the checks once typing pauses.
void changed(Atelier& atelier) {
    update_caption(atelier);
    update_try(atelier);
    SetTimer(atelier.window, check_timer, check_delay_ms, nullptr);
    SetTimer(atelier.window, recovery_timer, recovery_delay_ms, nullptr);
}


void on_field_change(Atelier& atelier, int id) {
    if (atelier.filling) return;
    if (id == id_try) return update_try(atelier);
    ModelQuestion* question = selected_question(atelier);
    if (!question) return;
    const std::string text = text_of(control(atelier, id));
    std::string* target = id == id_answer        ? &question->answers[0]
                          : id == id_answer_2    ? &question->answers[1]
                          : id == id_text        ? &question->text
                          : id == id_reveal_text ? &question->reveal_text
                                                 : nullptr;
    std::vector<std::string>* lines = id == id_variants ? &question->variants[0] : &question->variants[1];
    if (target ? *target == text : *lines == lines_of(text)) return;
    const Field* field = nullptr;
    for (const Field& candidate : fields)
        if (candidate.id == id) field = &candidate;
    AtelierDocument& document = atelier.document;
    const QuizState before = document.state;
    const int number = record_change(document.history, before,
                                     std::string(field->key) + " " + std::to_string(atelier.selected));
    if (target)
        *target = text;
    else
        *lines = lines_of(text);
    document.state.number = number;
    if (id == id_answer) set_list_cell(atelier.list, atelier.selected, 1, wide_text(text));
    changed(atelier);
}


void on_quiz_field_change(Atelier& atelier, int id) {
    if (atelier.filling) return;
    const QuizModel& quiz = quiz_of(atelier);
    const HWND field = control(atelier, id);
    if (id == id_title || id == id_creator || id == id_explanations || id == id_caption_1 || id == id_caption_2) {
        const std::string text = text_of(field);
        const auto target = [id](QuizModel& q) -> std::string& {
            return id == id_title         ? q.title
                   : id == id_creator     ? q.creator
                   : id == id_explanations ? q.explanations
                                           : q.answer_labels[id == id_caption_1 ? 0 : 1];
        };
        if (target(quiz_of(atelier)) != text)
            change_quiz(atelier, "quiz " + std::to_string(id), [&](QuizModel& q) { target(q) = text; });
        if (id == id_title) show_colour(atelier);
        return;
    }
    if (id == id_grading || id == id_reveal || id == id_kind) {
        const int choice = static_cast<int>(SendMessageW(field, CB_GETCURSEL, 0, 0));
        end_typing(atelier.document.history);
        change_quiz(atelier, "", [&](QuizModel& q) {
            (id == id_grading ? q.grading : id == id_reveal ? q.reveal : q.kind) = choice;
        });
        if (id == id_kind) fill_fields(atelier);  // pictures or sounds now
        return;
    }
    std::vector<ScoredCode> codes;
    std::string bad_line;
    if (!codes_of_text(text_of(field), codes, bad_line))
        return set_status(atelier, L"Codes : la ligne « " + wide_text(bad_line) +
                                       L" » est à corriger ; attendu : 5 = CODE (un score de 1 à 96, en ordre croissant).");
    // A list stays a list while its codes are at 1, 2, 3...; anything else is a table by score.
    bool listed = !quiz.codes_by_score;
    for (std::size_t i = 0; i < codes.size(); ++i) listed = listed && codes[i].score == static_cast<int>(i) + 1;
    change_quiz(atelier, "codes", [&](QuizModel& q) {
        q.codes = codes;
        q.codes_by_score = !listed;
    });
    update_code_preview(atelier);
}

// "Couleur": the platform's colour dialog, from the quiz's colour.
void choose_colour(Atelier& atelier) {
    const ModelColour& colour = quiz_of(atelier).colour;
    static COLORREF custom[16] = {};  // the dialog's own custom colours, kept for the session
    CHOOSECOLORW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = atelier.window;
    dialog.rgbResult = RGB(colour.red, colour.green, colour.blue);
    dialog.lpCustColors = custom;
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&dialog)) return;
    end_typing(atelier.document.history);
    change_quiz(atelier, "", [&](QuizModel& q) {
        q.colour = {GetRValue(dialog.rgbResult), GetGValue(dialog.rgbResult), GetBValue(dialog.rgbResult)};
    });
    show_colour(atelier);
}

void keep_try(Atelier& atelier) {
    const std::string typed = text_of(control(atelier, id_try));
    const char* grade = selected_question(atelier) ? tried_grade(quiz_of(atelier), atelier.selected + 1, 1, typed)
                                                   : nullptr;
    if (!grade || typed.empty()) return;
    change_questions(atelier, [&](QuizModel& quiz) {
        std::vector<GradeTry>& tries = quiz.questions[static_cast<std::size_t>(atelier.selected)].tries;
        const std::string word = utf8_text(wide_of_cp1252(grade).c_str());
        for (GradeTry& tried : tries) {
            if (tried.box == 1 && tried.typed == typed) {
                tried.grade = word;
                return atelier.selected;
            }
        }
        tries.push_back({1, typed, word, {}});
        return atelier.selected;
    });
    set_status(atelier, L"Essai gardé : la vérification le contrôlera à chaque fois.");
}

// ---------------------------------------------------------------- sound

namespace {

constexpr wchar_t sound_alias[] = L"atelier_sound";

}  // namespace

void stop_sound() {
    mciSendStringW((std::wstring(L"close ") + sound_alias).c_str(), nullptr, 0, nullptr);
}

// Plays the selected question's sound through the platform's media control interface.
void play_sound(Atelier& atelier) {
    stop_sound();
    const ModelQuestion* question = selected_question(atelier);
    if (!question || question->media.empty()) return;
    wchar_t source[MAX_PATH];
    GetFullPathNameW(wide_text(atelier.document.source_path).c_str(), MAX_PATH, source, nullptr);
    std::wstring file = folder_of(source) + wide_text(question->media);
    for (wchar_t& c : file)
        if (c == L'/') c = L'\\';
    const std::wstring open = L"open \"" + file + L"\" type mpegvideo alias " + sound_alias;
    const bool playing = mciSendStringW(open.c_str(), nullptr, 0, nullptr) == 0 &&
                         mciSendStringW((std::wstring(L"play ") + sound_alias).c_str(), nullptr, 0, nullptr) == 0;
    set_status(atelier, playing ? L"Écoute de " + wide_text(question->media)
                                : L"Ce son ne peut pas être joué : " + wide_text(question->media));
}

// A file for the quiz, named from its folder ('/' separated): one in the folder
// is named from there, one elsewhere is copied into it first, so that the quiz
// keeps everything it shows. Empty when it could not be copied (said).
std::string file_in_quiz_folder(const Atelier& atelier, const std::wstring& chosen) {
    wchar_t source[MAX_PATH];
    GetFullPathNameW(wide_text(atelier.document.source_path).c_str(), MAX_PATH, source, nullptr);
    const std::wstring quiz_folder = folder_of(source);
    std::wstring relative = chosen.substr(folder_of(chosen).size());
    if (CompareStringOrdinal(chosen.c_str(), static_cast<int>(quiz_folder.size()), quiz_folder.c_str(),
                             static_cast<int>(quiz_folder.size()), TRUE) == CSTR_EQUAL) {
        relative = chosen.substr(quiz_folder.size());
    } else if (!CopyFileW(chosen.c_str(), (quiz_folder + relative).c_str(), TRUE)) {
        const std::wstring text = L"Le fichier n'a pas pu être copié dans le dossier du quiz (un fichier " + relative +
                                  L" s'y trouve peut-être déjà).";
        MessageBoxW(atelier.window, text.c_str(), program_name, MB_OK | MB_ICONWARNING);
        return {};
    }
    for (wchar_t& c : relative)
        if (c == L'\\') c = L'/';
    return utf8_text(relative.c_str());
}

namespace {

// The clipboard's bitmap (CF_DIB), empty when it holds none.
std::vector<unsigned char> clipboard_dib(HWND window) {
    std::vector<unsigned char> dib;
    if (!IsClipboardFormatAvailable(CF_DIB) || !OpenClipboard(window)) return dib;
    if (const HANDLE data = GetClipboardData(CF_DIB)) {
        if (const void* bytes = GlobalLock(data)) {
            const auto* first = static_cast<const unsigned char*>(bytes);
            dib.assign(first, first + GlobalSize(data));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return dib;
}

}  // namespace

// Ctrl+V: a picture on the clipboard (a screenshot) is saved as "Capture N.png" in
// the quiz's folder and becomes the selected question's picture; text goes on
// into the focused field as a paste always does.
void paste(Atelier& atelier) {
    const bool picture_wanted = quiz_of(atelier).kind == picture_quiz && selected_question(atelier) &&
                                !IsClipboardFormatAvailable(CF_UNICODETEXT);
    const std::vector<unsigned char> dib = picture_wanted ? clipboard_dib(atelier.window) : std::vector<unsigned char>();
    if (dib.empty()) {
        SendMessageW(GetFocus(), WM_PASTE, 0, 0);
        return;
    }
    const std::vector<unsigned char> bmp = bmp_file_of_dib(dib.data(), dib.size());
    RgbaPicture picture;
    Message why;
    if (bmp.empty() || !decode_picture_file(bmp.data(), bmp.size(), picture, why))
        return set_status(atelier, L"L'image du presse-papiers n'a pas pu être lue.");
    const std::vector<unsigned char> png = encode_png(picture);
    wchar_t source[MAX_PATH];
    GetFullPathNameW(wide_text(atelier.document.source_path).c_str(), MAX_PATH, source, nullptr);
    std::wstring name;
    for (int n = 1; n < 1000 && name.empty(); ++n) {
        const std::wstring candidate = L"Capture " + std::to_wstring(n) + L".png";
        if (GetFileAttributesW((folder_of(source) + candidate).c_str()) == INVALID_FILE_ATTRIBUTES) name = candidate;
    }
    if (name.empty() || png.empty() ||
        !write_whole_file(folder_of(source) + name, std::string(png.begin(), png.end())))
        return set_status(atelier, L"L'image du presse-papiers n'a pas pu être enregistrée dans le dossier du quiz.");
    const std::string path = utf8_text(name.c_str());
    change_questions(atelier, [&](QuizModel& quiz) {
        quiz.questions[static_cast<std::size_t>(atelier.selected)].picture = path;
        return atelier.selected;
    });
    set_status(atelier, L"Image collée : " + name);
}

// A file chosen in the platform's dialog; empty when the maker cancelled.
std::wstring chosen_file(const Atelier& atelier, const wchar_t* filter) {
    wchar_t file[MAX_PATH] = L"";
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = atelier.window;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    return GetOpenFileNameW(&dialog) ? file : L"";
}

// "Icône": the packed quiz's icon in Explorer, an .ico file or a picture.
void choose_icon(Atelier& atelier) {
    const std::wstring file = chosen_file(atelier, L"Icônes et images\0*.ico;*.png;*.jpg;*.jpeg;*.gif;*.bmp\0");
    const std::string path = file.empty() ? std::string() : file_in_quiz_folder(atelier, file);
    if (path.empty()) return;
    end_typing(atelier.document.history);
    change_quiz(atelier, "", [&](QuizModel& q) { q.icon = path; });
    set_text(control(atelier, id_icon), path);
}

void choose_picture(Atelier& atelier, bool answer_picture) {
    if (!selected_question(atelier)) return;
    use_picture_file(atelier, answer_picture,
                     chosen_file(atelier, L"Images (JPEG, PNG, GIF, BMP)\0*.jpg;*.jpeg;*.png;*.gif;*.bmp\0"));
}

void use_picture_file(Atelier& atelier, bool answer_picture, const std::wstring& file) {
    const std::string path = file.empty() ? std::string() : file_in_quiz_folder(atelier, file);
    if (path.empty()) return;
    change_questions(atelier, [&](QuizModel& quiz) {
        ModelQuestion& question = quiz.questions[static_cast<std::size_t>(atelier.selected)];
        (answer_picture ? question.answer_picture : question.picture) = path;
        return atelier.selected;
    });
}

void undo_or_redo(Atelier& atelier, bool undo) {
    AtelierDocument& document = atelier.document;
    if (!(undo ? undo_change(document.history, document.state) : redo_change(document.history, document.state))) return;
    const int count = static_cast<int>(document.state.quiz.questions.size());
    if (atelier.selected >= count) atelier.selected = count - 1;
    fill_list(atelier);
    fill_fields(atelier);
    fill_quiz_page(atelier);
    changed(atelier);
}
