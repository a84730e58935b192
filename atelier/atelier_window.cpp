#include "atelier/atelier_window.h"

#include <commctrl.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "answers/grade.h"
#include "atelier/atelier_document.h"
#include "authoring/maker_paths.h"
#include "authoring/picture_cache.h"
#include "authoring/picture_cache_folder.h"
#include "authoring/picture_convert.h"
#include "authoring/quiz_build_win32.h"
#include "authoring/quiz_check.h"
#include "base/file_replace.h"
#include "base/owned_handle.h"
#include "base/wide_text.h"
#include "layout/panel_layout.h"
#include "pictures/picture_loader.h"

namespace {

constexpr wchar_t class_name[] = L"DevinetteAtelier";
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
constexpr int thumbnail_width = 48;
constexpr int thumbnail_height = 36;

// The question's fields, each after its label, in reading order.
struct Field {
    int id;
    const wchar_t* label;
    bool multiline;
    const char* key;  // the source's key, naming the field in the history
};
const Field fields[] = {
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
const QuizField quiz_fields[] = {
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
const wchar_t* const kind_choices[] = {L"texte", L"images", L"sons (MP3)", L"vidéos (AVI)"};
const wchar_t* const grading_choices[] = {L"exacte (seules les minuscules a-z sont pardonnées)",
                                          L"tolérante (accents, majuscules, tirets et espaces pardonnés)"};
const wchar_t* const reveal_choices[] = {L"rien", L"l'image réponse", L"le texte révélé",
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
    std::shared_ptr<std::atomic<bool>> thumbnails_stop = std::make_shared<std::atomic<bool>>(false);
};

Atelier* atelier_of(HWND window) { return reinterpret_cast<Atelier*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

HWND control(const Atelier& atelier, int id) { return GetDlgItem(atelier.window, id); }

std::string text_of(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(control, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(length));
    return utf8_text(text.c_str());
}

void set_text(HWND control, const std::string& utf8) { SetWindowTextW(control, wide_text(utf8).c_str()); }

// Texts of the player (grade words) are Windows-1252.
std::wstring wide_of_cp1252(const char* text) {
    wchar_t wide[300] = {};
    MultiByteToWideChar(1252, 0, text, -1, wide, 300);
    return wide;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string joined_lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\r\n") + line;
    return text;
}

QuizModel& quiz_of(Atelier& atelier) { return atelier.document.state.quiz; }

ModelQuestion* selected_question(Atelier& atelier) {
    QuizModel& quiz = quiz_of(atelier);
    if (atelier.selected < 0 || atelier.selected >= static_cast<int>(quiz.questions.size())) return nullptr;
    return &quiz.questions[static_cast<std::size_t>(atelier.selected)];
}

// ---------------------------------------------------------------- showing the model

void update_caption(const Atelier& atelier) {
    const AtelierDocument& document = atelier.document;
    std::wstring caption = program_name;
    if (!document.source_path.empty()) {
        const std::string& path = document.source_path;
        const std::size_t slash = path.find_last_of("\\/");
        caption = (unsaved(document) ? L"*" : L"") + wide_text(slash == std::string::npos ? path : path.substr(slash + 1)) +
                  L" - " + program_name;
    }
    SetWindowTextW(atelier.window, caption.c_str());
}

void set_status(const Atelier& atelier, const std::wstring& text) {
    SendMessageW(control(atelier, id_status), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// The question a problem is about, from 0; -1 for the quiz's own fields.
int question_of(const Diagnostic& problem) {
    const std::string prefix = "question ";
    if (problem.field.compare(0, prefix.size(), prefix) != 0) return -1;
    return std::atoi(problem.field.c_str() + prefix.size()) - 1;
}

std::wstring mark_of(const Atelier& atelier, int question) {
    std::wstring mark;
    for (const Diagnostic& problem : atelier.document.problems) {
        if (question_of(problem) != question) continue;
        if (problem.severity == Severity::error) return L"×";
        mark = L"!";
    }
    return mark;
}

void set_list_cell(HWND list, int row, int column, const std::wstring& text) {
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void fill_list(Atelier& atelier) {
    const QuizModel& quiz = quiz_of(atelier);
    SendMessageW(atelier.list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(atelier.list, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < quiz.questions.size(); ++i) {
        const std::wstring number = std::to_wstring(i + 1);
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<wchar_t*>(number.c_str());
        const auto thumbnail = atelier.thumbnail_of.find(quiz.questions[i].picture);
        item.iImage = thumbnail == atelier.thumbnail_of.end() ? I_IMAGENONE : thumbnail->second;
        SendMessageW(atelier.list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        set_list_cell(atelier.list, static_cast<int>(i), 1, wide_text(quiz.questions[i].answers[0]));
        set_list_cell(atelier.list, static_cast<int>(i), 2, mark_of(atelier, static_cast<int>(i)));
    }
    LVITEMW selection = {};
    selection.stateMask = selection.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(atelier.list, LVM_SETITEMSTATE, static_cast<WPARAM>(atelier.selected),
                 reinterpret_cast<LPARAM>(&selection));
    SendMessageW(atelier.list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(atelier.selected), FALSE);
    SendMessageW(atelier.list, WM_SETREDRAW, TRUE, 0);
}

// The control a problem is about on the page that shows it: a field of the
// selected question, or of the quiz; 0 for none.
int field_of(const Atelier& atelier, const Diagnostic& problem) {
    std::string key = problem.field;
    const int question = question_of(problem);
    if (question >= 0) {
        if (question != atelier.selected) return 0;
        key = key.substr(key.find(':') + 2);
    }
    key = key.substr(0, key.find(':'));
    const struct {
        const char* key;
        int id;
        bool of_question;
    } keys[] = {
        {"answer", id_answer, true},        {"answers", id_answer, true},        {"variants", id_variants, true},
        {"variants_2", id_variants_2, true}, {"text", id_text, true},             {"reveal_text", id_reveal_text, true},
        {"tries", id_try, true},            {"tries_2", id_try, true},           {"picture", id_picture, true},
        {"title", id_title, false},         {"creator", id_creator, false},      {"explanations", id_explanations, false},
        {"grading", id_grading, false},     {"reveal", id_reveal, false},        {"codes", id_codes, false},
        {"answer_labels", id_caption_1, false}, {"colour", id_colour, false},
    };
    for (const auto& known : keys)
        if (key == known.key && known.of_question == (question >= 0)) return known.id;
    return 0;
}

// The label before control `id`, and its text without a mark.
HWND label_of(const Atelier& atelier, int id, const wchar_t*& text) {
    for (int i = 0; i < field_count; ++i)
        if (fields[i].id == id) return text = fields[i].label, control(atelier, id_first_label + i);
    for (int i = 0; i < quiz_field_count; ++i)
        if (quiz_fields[i].id == id) return text = quiz_fields[i].label, control(atelier, id_first_quiz_label + i);
    if (id == id_picture) return text = L"Image", control(atelier, id_picture_label);
    return nullptr;
}

// Each field a problem is about gets its mark before its label: "×" for an error, "!" for a warning.
void mark_fields(const Atelier& atelier) {
    for (const int id : {id_answer, id_variants, id_variants_2, id_text, id_reveal_text, id_try, id_picture, id_title,
                         id_creator, id_explanations, id_caption_1, id_grading, id_reveal, id_colour, id_codes}) {
        std::wstring mark;
        for (const Diagnostic& problem : atelier.document.problems) {
            if (field_of(atelier, problem) != id) continue;
            mark = problem.severity == Severity::error ? L"× " : (mark.empty() ? L"! " : mark);
        }
        const wchar_t* text = nullptr;
        if (const HWND label = label_of(atelier, id, text)) SetWindowTextW(label, (mark + text).c_str());
    }
}

// The first problem about control `id`, in words, for the status bar when it has the focus.
void tell_field_problem(Atelier& atelier, int id) {
    for (const Diagnostic& problem : atelier.document.problems) {
        if (field_of(atelier, problem) != id) continue;
        return set_status(atelier, (problem.severity == Severity::error ? L"Erreur : " : L"Avertissement : ") +
                                       wide_text(problem.message));
    }
}

void show_problems(Atelier& atelier) {
    const HWND problems = control(atelier, id_problems);
    SendMessageW(problems, LB_RESETCONTENT, 0, 0);
    int errors = 0;
    for (const Diagnostic& problem : atelier.document.problems) {
        const bool error = problem.severity == Severity::error;
        errors += error;
        std::wstring line = error ? L"Erreur" : L"Avertissement";
        if (problem.line > 0) line += L", ligne " + std::to_wstring(problem.line);
        line += L" : " + wide_text(problem.field.empty() ? problem.message : problem.field + ": " + problem.message);
        SendMessageW(problems, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    const int warnings = static_cast<int>(atelier.document.problems.size()) - errors;
    const int count = static_cast<int>(quiz_of(atelier).questions.size());
    const int room = max_questions - count;
    set_status(atelier, std::to_wstring(count) + L" / 96 questions, " + std::to_wstring(errors) +
                            (errors == 1 ? L" erreur, " : L" erreurs, ") + std::to_wstring(warnings) +
                            (warnings == 1 ? L" avertissement" : L" avertissements") +
                            (room == 0   ? L" ; le quiz est plein (96 questions au plus)"
                             : room <= 6 ? L" ; encore " + std::to_wstring(room) + L" question(s) possible(s) au plus"
                                         : L""));
    for (int i = 0; i < count; ++i) set_list_cell(atelier.list, i, 2, mark_of(atelier, i));
    mark_fields(atelier);
}

void update_try(Atelier& atelier) {
    const HWND result = control(atelier, id_try_grade);
    const ModelQuestion* question = selected_question(atelier);
    const char* grade = question ? tried_grade(quiz_of(atelier), atelier.selected + 1, 1, text_of(control(atelier, id_try)))
                                 : nullptr;
    atelier.try_look = grade ? grade_look(grade) : GradeLook::plain;
    if (atelier.try_look != GradeLook::plain) {
        const GradeColour colour = label_colour(atelier.try_look);
        atelier.try_brush.reset(CreateSolidBrush(RGB(colour.red, colour.green, colour.blue)));
    }
    std::wstring shown;
    if (grade && atelier.try_look != GradeLook::plain) shown = wide_of_cp1252(grade) + (grade == grade_right ? L" : résolue" : L" : non résolue");
    SetWindowTextW(result, shown.c_str());
    InvalidateRect(result, nullptr, TRUE);
}

// Whether control `id` is shown: the page's own, a two-box quiz's second box,
// a picture quiz's picture.
bool shown_now(Atelier& atelier, int id) {
    const int field = id >= id_first_label && id < id_first_label + field_count ? fields[id - id_first_label].id : id;
    const bool on_quiz_page = (id >= id_title && id <= id_code_shown) ||
                              (id >= id_first_quiz_label && id < id_first_quiz_label + quiz_field_count);
    if (on_quiz_page) {
        const int field = id >= id_first_quiz_label ? quiz_fields[id - id_first_quiz_label].id : id;
        const bool caption = field == id_caption_1 || field == id_caption_2;
        return atelier.page == 1 && (!caption || quiz_of(atelier).boxes == 2);
    }
    if (atelier.page != 0) return false;
    if (field == id_answer_2 || field == id_variants_2) return quiz_of(atelier).boxes == 2;
    if (id == id_picture_label || id == id_picture || id == id_choose_picture) return quiz_of(atelier).kind == picture_quiz;
    if (id == id_play_sound || id == id_stop_sound) return quiz_of(atelier).kind == sound_quiz;
    return true;
}

void update_visibility(Atelier& atelier) {
    for (HWND child = GetWindow(atelier.window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        const bool page_control = (id >= id_answer && id <= id_code_shown && id != id_problems && id != id_status &&
                                   id != id_pages) ||
                                  id >= id_first_label;
        if (page_control) ShowWindow(child, shown_now(atelier, id) ? SW_SHOW : SW_HIDE);
    }
}

// The question's picture as the player shows it, upright and fitted, at half its size.
void show_picture(Atelier& atelier, const ModelQuestion& question) {
    const HWND preview = control(atelier, id_picture);
    const bool pictures = quiz_of(atelier).kind == picture_quiz;
    HBITMAP bitmap = nullptr;
    std::vector<QuestionData> data;
    Diagnostics ignored;  // the checks tell what is wrong with the file
    QuizModel one = quiz_of(atelier);
    one.questions = {question};
    one.questions[0].answer_picture.clear();
    PictureLoading conversion;
    conversion.cache.folder = picture_cache_folder();
    if (pictures && !question.picture.empty() &&
        load_question_files(one, atelier.document.source_path, data, ignored, conversion) && !data[0].picture.empty())
        bitmap = load_picture_bytes(atelier.decoder, data[0].picture.data(), static_cast<unsigned long>(data[0].picture.size()),
                                    picture_box_width / 2, picture_box_height / 2);
    set_control_picture(preview, bitmap);
}

void fill_fields(Atelier& atelier) {
    atelier.filling = true;
    const ModelQuestion* question = selected_question(atelier);
    const ModelQuestion empty;
    const ModelQuestion& shown = question ? *question : empty;
    set_text(control(atelier, id_answer), shown.answers[0]);
    set_text(control(atelier, id_variants), joined_lines(shown.variants[0]));
    set_text(control(atelier, id_answer_2), shown.answers[1]);
    set_text(control(atelier, id_variants_2), joined_lines(shown.variants[1]));
    set_text(control(atelier, id_text), shown.text);
    set_text(control(atelier, id_reveal_text), shown.reveal_text);
    atelier.filling = false;
    update_visibility(atelier);
    update_try(atelier);
    show_picture(atelier, shown);
    mark_fields(atelier);
}

// "Avec N trouvées : CODE", the code the header shows at the slider's score.
void update_code_preview(Atelier& atelier) {
    const QuizModel& quiz = quiz_of(atelier);
    const int count = static_cast<int>(quiz.questions.size());
    const int solved = static_cast<int>(SendMessageW(control(atelier, id_code_score), TBM_GETPOS, 0, 0));
    const std::vector<std::string> lines = packed_code_lines(quiz.codes, quiz.codes_by_score, count);
    const std::string code = solved >= 1 && solved <= count ? lines[static_cast<std::size_t>(solved - 1)] : "";
    const std::wstring shown = L"Avec " + std::to_wstring(solved) + (solved > 1 ? L" trouvées" : L" trouvée") +
                               L", l'en-tête montre : " + (code.empty() ? L"(rien)" : wide_text(code));
    SetWindowTextW(control(atelier, id_code_shown), shown.c_str());
}

// The colour as "#RRGGBB" on its button, and a sample of the header as the
// player draws it: the quiz's title on the quiz's colour.
void show_colour(Atelier& atelier) {
    const ModelColour& colour = quiz_of(atelier).colour;
    atelier.colour_brush.reset(CreateSolidBrush(RGB(colour.red, colour.green, colour.blue)));
    wchar_t text[16];
    wsprintfW(text, L"#%02X%02X%02X", colour.red, colour.green, colour.blue);
    SetWindowTextW(control(atelier, id_colour), text);
    set_text(control(atelier, id_colour_sample), " " + quiz_of(atelier).title);
    InvalidateRect(control(atelier, id_colour_sample), nullptr, TRUE);
}

void fill_quiz_page(Atelier& atelier) {
    atelier.filling = true;
    const QuizModel& quiz = quiz_of(atelier);
    SendMessageW(control(atelier, id_kind), CB_SETCURSEL, static_cast<WPARAM>(quiz.kind), 0);
    set_text(control(atelier, id_icon), quiz.icon.empty() ? "Choisir..." : quiz.icon);
    set_text(control(atelier, id_title), quiz.title);
    set_text(control(atelier, id_creator), quiz.creator);
    set_text(control(atelier, id_explanations), quiz.explanations);
    set_text(control(atelier, id_caption_1), quiz.answer_labels[0]);
    set_text(control(atelier, id_caption_2), quiz.answer_labels[1]);
    show_colour(atelier);
    SendMessageW(control(atelier, id_grading), CB_SETCURSEL, static_cast<WPARAM>(quiz.grading), 0);
    SendMessageW(control(atelier, id_reveal), CB_SETCURSEL, static_cast<WPARAM>(quiz.reveal), 0);
    set_text(control(atelier, id_codes), text_of_codes(quiz.codes));
    const int count = static_cast<int>(quiz.questions.size());
    SendMessageW(control(atelier, id_code_score), TBM_SETRANGE, TRUE, MAKELPARAM(0, count));
    atelier.filling = false;
    update_code_preview(atelier);
}

// ---------------------------------------------------------------- small pictures

// Small pictures are made on a thread of their own, one picture after another,
// and posted to the window as bitmaps; a new quiz opened stops the thread.
struct ThumbnailJob {
    HWND window;
    std::filesystem::path folder;
    std::vector<std::string> pictures;
    std::shared_ptr<std::atomic<bool>> stop;
};

// The small picture centred on a bitmap of the image list's size: a narrower
// bitmap would add no image to the list at all.
HBITMAP bitmap_of(const RgbaPicture& picture) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = thumbnail_width;
    info.bmiHeader.biHeight = -thumbnail_height;  // top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    auto* out = static_cast<unsigned char*>(bits);
    const COLORREF ground = GetSysColor(COLOR_WINDOW);
    for (int i = 0; i < thumbnail_width * thumbnail_height; ++i) {
        out[4 * i] = GetBValue(ground);
        out[4 * i + 1] = GetGValue(ground);
        out[4 * i + 2] = GetRValue(ground);
        out[4 * i + 3] = 0;
    }
    const int left = (thumbnail_width - picture.width) / 2;
    const int top = (thumbnail_height - picture.height) / 2;
    for (int y = 0; y < picture.height && top + y < thumbnail_height; ++y) {
        for (int x = 0; x < picture.width && left + x < thumbnail_width; ++x) {
            const unsigned char* in = &picture.pixels[4 * (static_cast<std::size_t>(y) * picture.width + x)];
            unsigned char* pixel = out + 4 * ((top + y) * thumbnail_width + left + x);
            pixel[0] = in[2];
            pixel[1] = in[1];
            pixel[2] = in[0];
        }
    }
    return bitmap;
}

DWORD WINAPI make_thumbnails(void* parameter) {
    const std::unique_ptr<ThumbnailJob> job(static_cast<ThumbnailJob*>(parameter));
    for (const std::string& picture : job->pictures) {
        if (*job->stop) break;
        std::ifstream file(job->folder / std::filesystem::u8path(picture), std::ios::binary);
        const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        RgbaPicture thumbnail;
        std::string why;
        if (!picture_thumbnail(bytes.data(), bytes.size(), thumbnail_width, thumbnail_height, thumbnail, why)) continue;
        const HBITMAP bitmap = bitmap_of(thumbnail);
        auto name = std::make_unique<std::string>(picture);
        if (bitmap && PostMessageW(job->window, message_thumbnail, reinterpret_cast<WPARAM>(bitmap),
                                   reinterpret_cast<LPARAM>(name.get())))
            name.release();
        else if (bitmap)
            DeleteObject(bitmap);
    }
    return 0;
}

// Asks for the small picture of every picture of the quiz not asked for yet.
void ask_thumbnails(Atelier& atelier) {
    if (quiz_of(atelier).kind != picture_quiz || atelier.document.source_path.empty()) return;
    auto job = std::make_unique<ThumbnailJob>();
    job->window = atelier.window;
    job->folder = std::filesystem::u8path(atelier.document.source_path).parent_path();
    job->stop = atelier.thumbnails_stop;
    for (const ModelQuestion& question : quiz_of(atelier).questions)
        if (!question.picture.empty() && atelier.thumbnails_asked.insert(question.picture).second)
            job->pictures.push_back(question.picture);
    if (job->pictures.empty()) return;
    const HANDLE thread = CreateThread(nullptr, 0, make_thumbnails, job.get(), 0, nullptr);
    if (!thread) return;
    job.release();
    CloseHandle(thread);
}

// A new quiz: the former's small pictures and the thread making them are dropped.
void forget_thumbnails(Atelier& atelier) {
    *atelier.thumbnails_stop = true;
    atelier.thumbnails_stop = std::make_shared<std::atomic<bool>>(false);
    atelier.thumbnail_of.clear();
    atelier.thumbnails_asked.clear();
    ImageList_RemoveAll(atelier.thumbnails);
}

void on_thumbnail(Atelier& atelier, HBITMAP bitmap, std::string* picture) {
    const std::unique_ptr<std::string> name(picture);
    const int index = atelier.thumbnails_asked.count(*name) ? ImageList_Add(atelier.thumbnails, bitmap, nullptr) : -1;
    DeleteObject(bitmap);
    if (index < 0) return;  // a picture of a quiz closed since
    atelier.thumbnail_of[*name] = index;
    const QuizModel& quiz = quiz_of(atelier);
    for (std::size_t i = 0; i < quiz.questions.size(); ++i) {
        if (quiz.questions[i].picture != *name) continue;
        LVITEMW item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        item.iImage = index;
        SendMessageW(atelier.list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}

void show_all(Atelier& atelier) {
    RECT client = {};
    GetClientRect(atelier.window, &client);
    SendMessageW(atelier.window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));  // a quiz of two boxes has more fields
    fill_list(atelier);
    fill_fields(atelier);
    fill_quiz_page(atelier);
    show_problems(atelier);
    update_caption(atelier);
}

// ---------------------------------------------------------------- editing

// After any change: the caption at once, the checks once typing pauses.
void changed(Atelier& atelier) {
    update_caption(atelier);
    update_try(atelier);
    SetTimer(atelier.window, check_timer, check_delay_ms, nullptr);
    SetTimer(atelier.window, recovery_timer, recovery_delay_ms, nullptr);
}

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

// A change of the quiz's own fields; typing in one is one step of the history.
template <typename Edit>
void change_quiz(Atelier& atelier, const std::string& field, Edit edit) {
    AtelierDocument& document = atelier.document;
    const int number = record_change(document.history, document.state, field);
    edit(document.state.quiz);
    document.state.number = number;
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

constexpr wchar_t sound_alias[] = L"atelier_sound";

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
    std::string why;
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

void choose_picture(Atelier& atelier) {
    if (!selected_question(atelier)) return;
    const std::wstring file = chosen_file(atelier, L"Images (JPEG, PNG, GIF, BMP)\0*.jpg;*.jpeg;*.png;*.gif;*.bmp\0");
    const std::string path = file.empty() ? std::string() : file_in_quiz_folder(atelier, file);
    if (path.empty()) return;
    change_questions(atelier, [&](QuizModel& quiz) {
        quiz.questions[static_cast<std::size_t>(atelier.selected)].picture = path;
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

// ---------------------------------------------------------------- files

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

bool is_folder_or_quiz(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const std::size_t dot = path.find_last_of(L'.');
    const std::wstring extension = dot == std::wstring::npos ? L"" : path.substr(dot);
    return (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) ||
           CompareStringOrdinal(extension.c_str(), -1, L".toml", -1, TRUE) == CSTR_EQUAL ||
           CompareStringOrdinal(extension.c_str(), -1, L".exe", -1, TRUE) == CSTR_EQUAL;
}

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

// ---------------------------------------------------------------- building

// A build running beside the window; it tells the window when it is done.
struct BuildJob {
    HWND window;
    std::string source_path;
    std::string source_text;  // the state built
    BuildSettings settings;
    bool play;
    QuizBuild build;
};

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

void start_build(Atelier& atelier, bool play) {
    if (atelier.document.source_path.empty()) return;
    if (atelier.building) return set_status(atelier, L"Une construction est déjà en cours : attendez qu'elle finisse.");
    if (!play && unsaved(atelier.document) && !save(atelier)) return;
    std::string error;
    auto job = std::make_unique<BuildJob>();
    job->window = atelier.window;
    job->source_path = atelier.document.source_path;
    job->source_text = current_text(atelier.document, error);
    job->play = play;
    if (play) job->settings.output = play_output(atelier);
    if (!error.empty()) return set_status(atelier, L"Ce quiz ne peut pas être construit : " + wide_text(error));
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

// ---------------------------------------------------------------- window

void lay_out_quiz_page(Atelier& atelier, int label_x, int field_x, int field_width, int y) {
    const int line = atelier.line_height;
    const bool two_boxes = quiz_of(atelier).boxes == 2;
    for (int i = 0; i < quiz_field_count; ++i) {
        if (!two_boxes && (quiz_fields[i].id == id_caption_1 || quiz_fields[i].id == id_caption_2)) continue;
        const int height = quiz_fields[i].lines > 1 ? quiz_fields[i].lines * line : line + 4;
        const bool combo = quiz_fields[i].id == id_grading || quiz_fields[i].id == id_reveal || quiz_fields[i].id == id_kind;
        const int dropped = combo ? 6 * line : 0;  // a combo box's list
        MoveWindow(control(atelier, id_first_quiz_label + i), label_x, y + 3, field_x - label_x, line, TRUE);
        const bool colour = quiz_fields[i].id == id_colour;
        const bool button = colour || quiz_fields[i].id == id_icon;
        MoveWindow(control(atelier, quiz_fields[i].id), field_x, y, button ? 6 * line : field_width, height + dropped,
                   TRUE);
        if (colour)
            MoveWindow(control(atelier, id_colour_sample), field_x + 6 * line + line / 2, y, field_width - 6 * line - line / 2,
                       height, TRUE);
        y += height + line / 2;
    }
    MoveWindow(control(atelier, id_code_shown), field_x, y, field_width, line, TRUE);
}

void lay_out(Atelier& atelier, int width, int height) {
    const HWND status = control(atelier, id_status);
    SendMessageW(status, WM_SIZE, 0, 0);
    RECT status_rect = {};
    GetWindowRect(status, &status_rect);
    const int line = atelier.line_height;
    const int margin = line / 2;
    const int bottom = height - (status_rect.bottom - status_rect.top);
    const int problems_height = 6 * line;
    const int top_height = bottom - problems_height - 2 * margin;
    const int list_width = width * 2 / 5;
    MoveWindow(control(atelier, id_list_label), margin, margin, list_width - margin, line, TRUE);
    MoveWindow(atelier.list, margin, margin + line, list_width - margin, top_height - line, TRUE);
    MoveWindow(control(atelier, id_problems), margin, margin + top_height + margin, width - 2 * margin, problems_height,
               TRUE);
    MoveWindow(control(atelier, id_pages), list_width + margin, margin, width - list_width - 2 * margin, line + 8,
               TRUE);
    const int label_x = list_width + 2 * margin;
    const int label_width = 7 * line;
    const int field_x = label_x + label_width;
    const int field_width = width - field_x - 2 * margin;
    const int page_top = margin + 2 * line;
    lay_out_quiz_page(atelier, label_x, field_x, field_width, page_top);
    int y = page_top;
    const bool two_boxes = quiz_of(atelier).boxes == 2;
    for (int i = 0; i < field_count; ++i) {
        const bool second_box = fields[i].id == id_answer_2 || fields[i].id == id_variants_2;
        if (second_box && !two_boxes) continue;
        const int field_height = fields[i].multiline ? 2 * line + 6 : line + 4;
        MoveWindow(control(atelier, id_first_label + i), label_x, y + 3, label_width - margin, line, TRUE);
        MoveWindow(control(atelier, fields[i].id), field_x, y, field_width, field_height, TRUE);
        y += field_height + margin;
    }
    MoveWindow(control(atelier, id_try_grade), field_x, y, field_width, line + 4, TRUE);
    y += line + 4 + margin;
    MoveWindow(control(atelier, id_keep_try), field_x, y, 10 * line, line + 8, TRUE);
    y += line + 8 + margin;
    MoveWindow(control(atelier, id_play_sound), field_x, y, 10 * line, line + 8, TRUE);
    MoveWindow(control(atelier, id_stop_sound), field_x + 10 * line + margin, y, 10 * line, line + 8, TRUE);
    MoveWindow(control(atelier, id_picture_label), label_x, y, label_width - margin, line, TRUE);
    MoveWindow(control(atelier, id_picture), field_x, y, picture_box_width / 2, picture_box_height / 2, TRUE);
    MoveWindow(control(atelier, id_choose_picture), field_x + picture_box_width / 2 + margin, y, 10 * line, line + 8,
               TRUE);
}

HWND add_child(Atelier& atelier, const wchar_t* type, const wchar_t* text, DWORD style, DWORD extended, int id) {
    const HWND child = CreateWindowExW(extended, type, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10,
                                       atelier.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(atelier.font.get()), FALSE);
    return child;
}

void create_children(Atelier& atelier) {
    add_child(atelier, L"STATIC", L"&Liste des questions", SS_LEFT, 0, id_list_label);
    atelier.list = add_child(atelier, WC_LISTVIEWW, L"Questions",
                             LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, WS_EX_CLIENTEDGE, id_list);
    SendMessageW(atelier.list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    atelier.thumbnails = ImageList_Create(thumbnail_width, thumbnail_height, ILC_COLOR32, 16, 16);
    SendMessageW(atelier.list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(atelier.thumbnails));
    const struct {
        const wchar_t* title;
        int width;
    } columns[] = {{L"N°", 6}, {L"Réponse", 11}, {L"", 2}};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(columns[i].title);
        column.cx = columns[i].width * atelier.line_height;
        SendMessageW(atelier.list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    const HWND pages = add_child(atelier, WC_TABCONTROLW, L"", TCS_BUTTONS | WS_TABSTOP, 0, id_pages);
    const wchar_t* const page_names[] = {L"Question", L"Quiz"};
    for (int i = 0; i < 2; ++i) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(page_names[i]);
        SendMessageW(pages, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    for (int i = 0; i < quiz_field_count; ++i) {
        add_child(atelier, L"STATIC", quiz_fields[i].label, SS_LEFT, 0, id_first_quiz_label + i);
        const DWORD edge = quiz_fields[i].id == id_code_score ? 0 : WS_EX_CLIENTEDGE;
        add_child(atelier, quiz_fields[i].type, L"", quiz_fields[i].style | WS_TABSTOP, edge,
                  quiz_fields[i].id);
    }
    add_child(atelier, L"STATIC", L"", SS_LEFT, 0, id_code_shown);
    add_child(atelier, L"STATIC", L"", SS_LEFT | SS_CENTERIMAGE, 0, id_colour_sample);
    for (const wchar_t* choice : kind_choices)
        SendMessageW(control(atelier, id_kind), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice));
    for (const wchar_t* choice : grading_choices)
        SendMessageW(control(atelier, id_grading), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice));
    for (const wchar_t* choice : reveal_choices)
        SendMessageW(control(atelier, id_reveal), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice));
    for (int i = 0; i < field_count; ++i) {
        add_child(atelier, L"STATIC", fields[i].label, SS_LEFT, 0, id_first_label + i);
        const DWORD style = fields[i].multiline ? ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL
                                                : ES_AUTOHSCROLL;
        add_child(atelier, L"EDIT", L"", style | WS_TABSTOP, WS_EX_CLIENTEDGE, fields[i].id);
    }
    add_child(atelier, L"STATIC", L"", SS_LEFT | SS_CENTERIMAGE, 0, id_try_grade);
    add_child(atelier, L"BUTTON", L"&Garder l'essai", BS_PUSHBUTTON | WS_TABSTOP, 0, id_keep_try);
    add_child(atelier, L"STATIC", L"Image", SS_LEFT, 0, id_picture_label);
    add_child(atelier, L"STATIC", L"", SS_BITMAP | SS_CENTERIMAGE | WS_BORDER, 0, id_picture);
    add_child(atelier, L"BUTTON", L"Choisir l'&image...", BS_PUSHBUTTON | WS_TABSTOP, 0, id_choose_picture);
    add_child(atelier, L"BUTTON", L"É&couter le son", BS_PUSHBUTTON | WS_TABSTOP, 0, id_play_sound);
    add_child(atelier, L"BUTTON", L"&Arrêter le son", BS_PUSHBUTTON | WS_TABSTOP, 0, id_stop_sound);
    add_child(atelier, L"LISTBOX", L"Problèmes", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
              WS_EX_CLIENTEDGE, id_problems);
    add_child(atelier, STATUSCLASSNAMEW, L"", 0, 0, id_status);
}

HMENU create_menu() {
    const HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, command_open, L"&Ouvrir...\tCtrl+O");
    AppendMenuW(file, MF_STRING, command_save, L"&Enregistrer\tCtrl+S");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, command_build, L"&Construire\tCtrl+B");
    AppendMenuW(file, MF_STRING, command_play, L"&Jouer\tF5");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, command_quit, L"&Quitter\tAlt+F4");
    const HMENU edit = CreatePopupMenu();
    AppendMenuW(edit, MF_STRING, command_undo, L"&Annuler\tCtrl+Z");
    AppendMenuW(edit, MF_STRING, command_redo, L"&Rétablir\tCtrl+Y");
    AppendMenuW(edit, MF_STRING, command_paste, L"&Coller\tCtrl+V");
    AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(edit, MF_STRING, command_other_page, L"&Question ou quiz\tCtrl+Tab");
    const HMENU question = CreatePopupMenu();
    AppendMenuW(question, MF_STRING, command_insert, L"&Insérer\tInser");
    AppendMenuW(question, MF_STRING, command_delete, L"&Supprimer\tSuppr");
    AppendMenuW(question, MF_STRING, command_duplicate, L"&Dupliquer\tCtrl+D");
    AppendMenuW(question, MF_STRING, command_move_up, L"&Monter\tAlt+Haut");
    AppendMenuW(question, MF_STRING, command_move_down, L"D&escendre\tAlt+Bas");
    const HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&Fichier");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"É&dition");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(question), L"&Question");
    return bar;
}

bool on_create(HWND window, const CREATESTRUCTW& create) {
    auto atelier = std::make_unique<Atelier>();
    atelier->window = window;
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    atelier->font.reset(CreateFontIndirectW(&metrics.lfMessageFont));
    atelier->line_height = metrics.lfMessageFont.lfHeight < 0 ? -metrics.lfMessageFont.lfHeight * 3 / 2 : 20;
    if (atelier->line_height < 16) atelier->line_height = 16;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(atelier.get()));
    Atelier& shown = *atelier.release();
    create_children(shown);
    DragAcceptFiles(window, TRUE);
    SetTimer(window, disk_timer, disk_period_ms, nullptr);
    const std::string* path = static_cast<const std::string*>(create.lpCreateParams);
    if (path && !path->empty()) open_path(shown, *path);
    show_all(shown);
    return true;
}

void show_page(Atelier& atelier, int page) {
    atelier.page = page;
    SendMessageW(control(atelier, id_pages), TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    update_visibility(atelier);
    SetFocus(control(atelier, page == 0 ? id_answer : id_title));
}

void on_command(Atelier& atelier, int id, int code) {
    switch (id) {
        case command_open: return choose_and_open(atelier);
        case command_save: save(atelier); return;
        case command_build: return start_build(atelier, false);
        case command_play: return start_build(atelier, true);
        case command_quit: PostMessageW(atelier.window, WM_CLOSE, 0, 0); return;
        case command_undo: return undo_or_redo(atelier, true);
        case command_redo: return undo_or_redo(atelier, false);
        case command_insert: return change_questions(atelier, [&](QuizModel& q) { return insert_question(q, atelier.selected + 1); });
        case command_delete: return change_questions(atelier, [&](QuizModel& q) { return remove_question(q, atelier.selected); });
        case command_duplicate:
            return change_questions(atelier, [&](QuizModel& q) { return duplicate_question(q, atelier.selected); });
        case command_move_up: return change_questions(atelier, [&](QuizModel& q) { return move_question(q, atelier.selected, -1); });
        case command_move_down:
            return change_questions(atelier, [&](QuizModel& q) { return move_question(q, atelier.selected, 1); });
        case id_keep_try: return keep_try(atelier);
        case command_other_page: return show_page(atelier, 1 - atelier.page);
        case command_paste: return paste(atelier);
        case id_colour: return choose_colour(atelier);
        case id_icon: return choose_icon(atelier);
        case id_play_sound: return play_sound(atelier);
        case id_stop_sound: stop_sound(); return set_status(atelier, L"Son arrêté.");
        case id_choose_picture: return choose_picture(atelier);
        default: break;
    }
    const bool quiz_field = id >= id_title && id <= id_codes;
    if (quiz_field && (code == EN_CHANGE || code == CBN_SELCHANGE)) return on_quiz_field_change(atelier, id);
    if (code == EN_CHANGE) on_field_change(atelier, id);
    if (code == EN_KILLFOCUS) end_typing(atelier.document.history);
    if (code == EN_SETFOCUS || code == CBN_SETFOCUS) tell_field_problem(atelier, id);
    if (id == id_problems && code == LBN_DBLCLK) {
        const int row = static_cast<int>(SendMessageW(control(atelier, id_problems), LB_GETCURSEL, 0, 0));
        if (row < 0 || row >= static_cast<int>(atelier.document.problems.size())) return;
        const int question = question_of(atelier.document.problems[static_cast<std::size_t>(row)]);
        if (question < 0 || question >= static_cast<int>(quiz_of(atelier).questions.size())) return;
        atelier.selected = question;
        fill_list(atelier);
        fill_fields(atelier);
        SetFocus(control(atelier, id_answer));
    }
}

LRESULT on_notify(Atelier& atelier, const NMHDR& header) {
    if (header.idFrom == id_pages && header.code == TCN_SELCHANGE) {
        show_page(atelier, static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
        return 0;
    }
    if (header.idFrom != id_list) return 0;
    if (header.code == LVN_ITEMCHANGED) {
        const NMLISTVIEW& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uNewState & LVIS_SELECTED) && change.iItem != atelier.selected) {
            atelier.selected = change.iItem;
            stop_sound();
            end_typing(atelier.document.history);
            fill_fields(atelier);
        }
    } else if (header.code == LVN_BEGINDRAG) {
        atelier.dragged = reinterpret_cast<const NMLISTVIEW&>(header).iItem;
        SetCapture(atelier.window);
    } else if (header.code == LVN_KEYDOWN) {
        const WORD key = reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey;
        if (key == VK_INSERT) on_command(atelier, command_insert, 0);
        if (key == VK_DELETE) on_command(atelier, command_delete, 0);
    }
    return 0;
}

// The dialog manager moves the focus so for a label's mnemonic (IsDialogMessage),
// as a dialog box would: an edit control's text is selected, ready to be retyped.
void on_next_dialog_control(HWND window, WPARAM wparam, LPARAM lparam) {
    const HWND target = LOWORD(lparam) ? reinterpret_cast<HWND>(wparam)
                                       : GetNextDlgTabItem(window, GetFocus(), wparam != 0);
    if (!target) return;
    SetFocus(target);
    if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(target, EM_SETSEL, 0, -1);
}

LRESULT on_ctl_color_static(const Atelier& atelier, HDC dc, HWND label) {
    if (GetDlgCtrlID(label) == id_colour_sample) {
        const ModelColour& colour = atelier.document.state.quiz.colour;
        SetBkColor(dc, RGB(colour.red, colour.green, colour.blue));
        SetTextColor(dc, white_on_colour(colour.red, colour.green) ? RGB(255, 255, 255) : RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(atelier.colour_brush.get());
    }
    if (GetDlgCtrlID(label) != id_try_grade || atelier.try_look == GradeLook::plain) return 0;
    const GradeColour letters = letters_colour(atelier.try_look);
    SetBkColor(dc, RGB(letters.red, letters.green, letters.blue));
    return reinterpret_cast<LRESULT>(atelier.try_brush.get());
}

// A question dropped on another's row takes its place.
void on_drag_end(Atelier& atelier, LPARAM lparam) {
    const int dragged = atelier.dragged;
    atelier.dragged = -1;
    ReleaseCapture();
    LVHITTESTINFO hit = {};
    hit.pt = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    MapWindowPoints(atelier.window, atelier.list, &hit.pt, 1);
    const int target = static_cast<int>(SendMessageW(atelier.list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (dragged < 0 || target < 0) return;
    change_questions(atelier, [&](QuizModel& quiz) { return move_question_to(quiz, dragged, target); });
}

void on_timer(Atelier& atelier, UINT_PTR timer) {
    if (timer == disk_timer) return look_at_disk(atelier);
    KillTimer(atelier.window, timer);
    if (timer == recovery_timer && unsaved(atelier.document)) keep_recovery(atelier.document);
    if (timer != check_timer) return;
    check_document(atelier.document);
    show_problems(atelier);
}

LRESULT CALLBACK atelier_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE)
        return on_create(window, *reinterpret_cast<const CREATESTRUCTW*>(lparam)) ? 0 : -1;
    Atelier* atelier = atelier_of(window);
    if (!atelier) return DefWindowProcW(window, message, wparam, lparam);
    switch (message) {
        case WM_SIZE: lay_out(*atelier, LOWORD(lparam), HIWORD(lparam)); return 0;
        case WM_COMMAND: on_command(*atelier, LOWORD(wparam), HIWORD(wparam)); return 0;
        case WM_NOTIFY: return on_notify(*atelier, *reinterpret_cast<const NMHDR*>(lparam));
        case WM_CTLCOLORSTATIC:
            if (const LRESULT brush = on_ctl_color_static(*atelier, reinterpret_cast<HDC>(wparam),
                                                          reinterpret_cast<HWND>(lparam)))
                return brush;
            break;
        case WM_TIMER: on_timer(*atelier, wparam); return 0;
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lparam) == control(*atelier, id_code_score)) update_code_preview(*atelier);
            return 0;
        case WM_LBUTTONUP:
            if (atelier->dragged >= 0) on_drag_end(*atelier, lparam);
            return 0;
        case WM_NEXTDLGCTL: on_next_dialog_control(window, wparam, lparam); return 0;
        case WM_DROPFILES: on_drop_files(*atelier, reinterpret_cast<HDROP>(wparam)); return 0;
        case message_thumbnail:
            on_thumbnail(*atelier, reinterpret_cast<HBITMAP>(wparam), reinterpret_cast<std::string*>(lparam));
            return 0;
        case message_build_progress:
            set_status(*atelier, L"Construction : image " + std::to_wstring(wparam) + L" sur " + std::to_wstring(lparam) +
                                     L"...");
            return 0;
        case message_built: on_built(*atelier, reinterpret_cast<BuildJob*>(lparam)); return 0;
        case WM_CLOSE:
            if (may_leave(*atelier)) DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            stop_sound();
            *atelier->thumbnails_stop = true;
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            delete atelier;
            PostQuitMessage(0);
            return 0;
        default: break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

HWND create_atelier_window(HINSTANCE instance, const std::string& path) {
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = atelier_procedure;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = class_name;
    RegisterClassExW(&window_class);
    std::string opened = path;
    return CreateWindowExW(WS_EX_CONTROLPARENT, class_name, program_name, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 1000, 680, nullptr, create_menu(), instance, &opened);
}

HACCEL create_atelier_accelerators() {
    ACCEL keys[] = {
        {FCONTROL | FVIRTKEY, 'O', command_open},     {FCONTROL | FVIRTKEY, 'S', command_save},
        {FCONTROL | FVIRTKEY, 'B', command_build},    {FVIRTKEY, VK_F5, command_play},
        {FCONTROL | FVIRTKEY, 'Z', command_undo},     {FCONTROL | FVIRTKEY, 'Y', command_redo},
        {FCONTROL | FVIRTKEY, 'D', command_duplicate}, {FALT | FVIRTKEY, VK_UP, command_move_up},
        {FALT | FVIRTKEY, VK_DOWN, command_move_down}, {FCONTROL | FVIRTKEY, VK_TAB, command_other_page},
        {FCONTROL | FVIRTKEY, VK_NEXT, command_other_page}, {FCONTROL | FVIRTKEY, VK_PRIOR, command_other_page},
        {FCONTROL | FVIRTKEY, 'V', command_paste},
    };
    return CreateAcceleratorTableW(keys, sizeof keys / sizeof keys[0]);
}
