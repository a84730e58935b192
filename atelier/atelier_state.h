// The Atelier's window state, shared by the files that make up its window
// procedure: what it shows (atelier_view), the small pictures of its list
// (atelier_thumbnails), editing (atelier_edits), its files (atelier_files),
// building (atelier_build) and the procedure itself (atelier_window).
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <atomic>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "answers/grade.h"
#include "atelier/atelier_document.h"
#include "atelier/atelier_window.h"
#include "base/owned_handle.h"
#include "pictures/picture_loader.h"
#include "quiz_data/quiz_content.h"

constexpr wchar_t program_name[] = L"Atelier Devinette";
constexpr UINT_PTR check_timer = 1;
constexpr UINT check_delay_ms = 250;  // after the last keystroke: typing is never held up
constexpr UINT_PTR recovery_timer = 2;
constexpr UINT recovery_delay_ms = 3000;
constexpr UINT_PTR disk_timer = 3;  // looks for another program's change of the source
constexpr UINT disk_period_ms = 1000;
constexpr UINT message_built = WM_APP + 1;
constexpr UINT message_build_progress = WM_APP + 2;  // wparam: pictures done, lparam: pictures in all
constexpr UINT message_thumbnail = WM_APP + 3;  // wparam: an HBITMAP, lparam: a std::string* naming its picture
constexpr UINT message_start = WM_APP + 4;  // started without a quiz: what to open is offered
// A quiz opened: its small pictures are asked for once the window has been
// shown, so that their threads take no time from showing it.
constexpr UINT message_ask_thumbnails = WM_APP + 5;
constexpr UINT message_files_checked = WM_APP + 6;  // wparam: the check's number, lparam: its Diagnostics*
constexpr int thumbnail_width = 48;
constexpr int thumbnail_height = 36;

// The question's fields, each after its label, in reading order.
struct Field {
    int id;
    const wchar_t* label;
    bool multiline;
    const char* key;  // the source's key, naming the field in the history
};
inline const Field fields[] = {
    {id_answer, L"&Réponse", false, "answers"},          {id_variants, L"&Variantes", true, "variants"},
    {id_answer_2, L"Réponse &2", false, "answers 2"},    {id_variants_2, L"Variantes 2", true, "variants_2"},
    {id_text, L"&Texte", false, "text"},                 {id_reveal_text, L"Te&xte révélé", false, "reveal_text"},
    {id_try, L"&Essai", false, nullptr},
};
constexpr int field_count = sizeof fields / sizeof fields[0];

// The quiz's own fields, on the page "Quiz".
struct QuizField {
    int id;
    const wchar_t* label;
    const wchar_t* type;
    DWORD style;
    int lines;
};
inline const QuizField quiz_fields[] = {
    {id_kind, L"&Genre", WC_COMBOBOXW, CBS_DROPDOWNLIST, 1},
    {id_title, L"&Titre", L"EDIT", ES_AUTOHSCROLL, 1},
    {id_creator, L"&Auteur", L"EDIT", ES_AUTOHSCROLL, 1},
    {id_explanations, L"E&xplications", L"EDIT", ES_AUTOHSCROLL, 1},
    {id_caption_1, L"Lé&gende 1", L"EDIT", ES_AUTOHSCROLL, 1},
    {id_caption_2, L"Légen&de 2", L"EDIT", ES_AUTOHSCROLL, 1},
    {id_grading, L"&Notation", WC_COMBOBOXW, CBS_DROPDOWNLIST, 1},
    {id_reveal, L"Ré&vélation", WC_COMBOBOXW, CBS_DROPDOWNLIST, 1},
    {id_colour, L"Cou&leur", L"BUTTON", BS_PUSHBUTTON, 1},
    {id_icon, L"&Icône", L"BUTTON", BS_PUSHBUTTON, 1},
    {id_codes, L"&Codes", L"EDIT", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL, 4},
    {id_code_score, L"&Score", TRACKBAR_CLASSW, TBS_AUTOTICKS, 1},
};
constexpr int quiz_field_count = sizeof quiz_fields / sizeof quiz_fields[0];
// In the order of quiz_kind_names, grading_mode_names and reveal_mode_names.
inline const wchar_t* const kind_choices[] = {L"texte", L"images", L"sons (MP3)", L"vidéos (AVI)"};
inline const wchar_t* const grading_choices[] = {L"exacte (seules les minuscules a-z sont pardonnées)",
                                          L"tolérante (accents, majuscules, tirets et espaces pardonnés)"};
inline const wchar_t* const reveal_choices[] = {L"rien", L"l'image réponse", L"le texte révélé",
                                         L"le texte révélé et l'image réponse"};

struct Atelier {
    HWND window = nullptr;
    HWND list = nullptr;
    OwnedFont font;
    int line_height = 0;
    AtelierDocument document;
    int selected = 0;
    bool filling = false;  // while the fields are filled from the model, their changes are not edits
    bool building = false;
    bool asking = false;  // a question to the maker is open: timers wait for its answer
    GradeLook try_look = GradeLook::plain;
    OwnedBrush try_brush;
    PictureDecoder decoder;
    int page = 0;  // 0: the selected question, 1: the quiz
    int dragged = -1;  // the question being dragged in the list; -1 when none
    OwnedBrush colour_brush;  // the quiz's colour, behind the header's sample
    HIMAGELIST thumbnails = nullptr;  // the list's small pictures; the list-view owns and destroys it
    std::map<std::string, int> thumbnail_of;  // a picture's file → its small picture in `thumbnails`
    std::set<std::string> thumbnails_asked;   // pictures whose small picture is made or being made
    int thumbnails_made = 0;                  // of those asked, made or found unreadable
    int file_check = 0;  // the number of the last check of the quiz's files asked for
    std::string files_checked;  // what that check read of the quiz (its folder, kind and files named)
    std::shared_ptr<std::atomic<bool>> thumbnails_stop = std::make_shared<std::atomic<bool>>(false);
};

inline HWND control(const Atelier& atelier, int id) { return GetDlgItem(atelier.window, id); }
inline QuizModel& quiz_of(Atelier& atelier) { return atelier.document.state.quiz; }
// The selected question, nullptr when the quiz has none.
ModelQuestion* selected_question(Atelier& atelier);

// Texts of controls in UTF-8; the player's texts (grade words) in Windows-1252.
std::string text_of(HWND control);
void set_text(HWND control, const std::string& utf8);
std::wstring wide_of_cp1252(const char* text);
// A multi-line field's non-empty lines, and lines joined for one.
std::vector<std::string> lines_of(const std::string& text);
std::string joined_lines(const std::vector<std::string>& lines);

// What the window shows (atelier_view.cpp).
void update_caption(const Atelier& atelier);
void set_status(const Atelier& atelier, const std::wstring& text);
int question_of(const Diagnostic& problem);  // from 0; -1 for the quiz's own fields
void set_list_cell(HWND list, int row, int column, const std::wstring& text);
void fill_list(Atelier& atelier);
void tell_field_problem(Atelier& atelier, int id);
void show_problems(Atelier& atelier);
void update_try(Atelier& atelier);
void update_visibility(Atelier& atelier);
void fill_fields(Atelier& atelier);
void update_code_preview(Atelier& atelier);
void show_colour(Atelier& atelier);
void fill_quiz_page(Atelier& atelier);
void show_all(Atelier& atelier);

// The quiz's files checked on a thread (atelier_file_checks.cpp): the last
// check asked for replaces the files' problems when it ends. A check is asked
// for only when the files the quiz names changed, or `again` (a quiz opened:
// its files on disk may have changed).
void ask_file_check(Atelier& atelier, bool again = false);
void on_files_checked(Atelier& atelier, int number, Diagnostics* found);

// The list's small pictures (atelier_thumbnails.cpp).
void ask_thumbnails(Atelier& atelier);
void forget_thumbnails(Atelier& atelier);
void on_thumbnail(Atelier& atelier, HBITMAP bitmap, std::string* picture);

// Editing (atelier_edits.cpp).
void changed(Atelier& atelier);
void on_field_change(Atelier& atelier, int id);
void on_quiz_field_change(Atelier& atelier, int id);
void choose_colour(Atelier& atelier);
void keep_try(Atelier& atelier);
void stop_sound();
void play_sound(Atelier& atelier);
std::string file_in_quiz_folder(const Atelier& atelier, const std::wstring& chosen);
void paste(Atelier& atelier);
std::wstring chosen_file(const Atelier& atelier, const wchar_t* filter);
void choose_icon(Atelier& atelier);
void choose_picture(Atelier& atelier, bool answer_picture);
// `file` made the selected question's picture (or answer picture), copied into
// the quiz's folder first when it lies elsewhere; nothing for an empty name.
void use_picture_file(Atelier& atelier, bool answer_picture, const std::wstring& file);
void undo_or_redo(Atelier& atelier, bool undo);

// Files (atelier_files.cpp).
bool save(Atelier& atelier);
bool may_leave(Atelier& atelier);
void open_path(Atelier& atelier, const std::string& path);
void look_at_disk(Atelier& atelier);
void choose_and_open(Atelier& atelier);
void choose_folder_and_open(Atelier& atelier);
void offer_start(Atelier& atelier);
void on_drop_files(Atelier& atelier, HDROP drop);

// Building (atelier_build.cpp).
struct BuildJob;
void start_build(Atelier& atelier, bool play);
void on_built(Atelier& atelier, BuildJob* finished);

// Records a change of the list or of a whole question, then shows it.
template <typename Operation>
void change_questions(Atelier& atelier, Operation operation) {
    AtelierDocument& document = atelier.document;
    QuizState before = document.state;
    const int selected = operation(document.state.quiz);
    if (selected < 0) {
        if (document.state.quiz.questions.size() >= static_cast<std::size_t>(max_questions))
            set_status(atelier, L"Le quiz a déjà 96 questions, le plus qu'un quiz puisse avoir.");
        return;
    }
    end_typing(document.history);
    document.state.number = record_change(document.history, before);
    atelier.selected = selected;
    fill_list(atelier);
    fill_fields(atelier);
    fill_quiz_page(atelier);
    changed(atelier);
    ask_thumbnails(atelier);
}

// A change of the quiz's own fields; typing in one is one step of the history.
template <typename Edit>
void change_quiz(Atelier& atelier, const std::string& field, Edit edit) {
    AtelierDocument& document = atelier.document;
    const int number = record_change(document.history, document.state, field);
    edit(document.state.quiz);
    document.state.number = number;
    changed(atelier);
}
