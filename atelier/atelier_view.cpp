// What the Atelier's window shows of the quiz: the list, the pages' fields, the
// problems and their marks, the try's grade, the picture.
#include "atelier/atelier_state.h"

#include "authoring/picture_cache_folder.h"
#include "authoring/quiz_check.h"
#include "base/wide_text.h"
#include "layout/panel_layout.h"

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

ModelQuestion* selected_question(Atelier& atelier) {
    QuizModel& quiz = quiz_of(atelier);
    if (atelier.selected < 0 || atelier.selected >= static_cast<int>(quiz.questions.size())) return nullptr;
    return &quiz.questions[static_cast<std::size_t>(atelier.selected)];
}

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

namespace {

std::wstring mark_of(const Atelier& atelier, int question) {
    std::wstring mark;
    for (const Diagnostic& problem : atelier.document.problems) {
        if (question_of(problem) != question) continue;
        if (problem.severity == Severity::error) return L"×";
        mark = L"!";
    }
    return mark;
}

}  // namespace

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

namespace {

// The key a problem's field names: "answers" for "question 2: answers",
// "codes" for "codes: score 5".
std::string key_of(const Diagnostic& problem) {
    std::string key = problem.field;
    if (question_of(problem) >= 0) key = key.find(':') == std::string::npos ? "" : key.substr(key.find(':') + 2);
    return key.substr(0, key.find(':'));
}

// The control that shows a problem's field; 0 for none.
int field_id(const Diagnostic& problem) {
    const struct {
        const char* key;
        int id;
        bool of_question;
    } keys[] = {
        {"answer", id_answer, true},        {"answers", id_answer, true},        {"variants", id_variants, true},
        {"variants_2", id_variants_2, true}, {"text", id_text, true},             {"reveal_text", id_reveal_text, true},
        {"tries", id_try, true},            {"tries_2", id_try, true},           {"picture", id_picture, true},
        {"answer_picture", id_picture, true},
        {"title", id_title, false},         {"creator", id_creator, false},      {"explanations", id_explanations, false},
        {"grading", id_grading, false},     {"reveal", id_reveal, false},        {"codes", id_codes, false},
        {"answer_labels", id_caption_1, false}, {"colour", id_colour, false},    {"kind", id_kind, false},
        {"icon", id_icon, false},
    };
    const std::string key = key_of(problem);
    for (const auto& known : keys)
        if (key == known.key && known.of_question == (question_of(problem) >= 0)) return known.id;
    return 0;
}

// The control a problem is about on the page that shows it: a field of the
// selected question, or of the quiz; 0 for none.
int field_of(const Atelier& atelier, const Diagnostic& problem) {
    const int question = question_of(problem);
    return question >= 0 && question != atelier.selected ? 0 : field_id(problem);
}

// The label before control `id`, and its text without a mark.
HWND label_of(const Atelier& atelier, int id, const wchar_t*& text) {
    for (int i = 0; i < field_count; ++i)
        if (fields[i].id == id) return text = fields[i].label, control(atelier, id_first_label + i);
    for (int i = 0; i < quiz_field_count; ++i)
        if (quiz_fields[i].id == id) return text = quiz_fields[i].label, control(atelier, id_first_quiz_label + i);
    if (id == id_picture) return text = L"Images", control(atelier, id_picture_label);
    return nullptr;
}

// A problem's field as the window names it: "Question 2, Réponse", "Codes".
std::wstring field_words(const Atelier& atelier, const Diagnostic& problem) {
    const wchar_t* label = nullptr;
    std::wstring words;
    if (label_of(atelier, field_id(problem), label)) {
        for (const wchar_t* c = label; *c; ++c)
            if (*c != L'&') words += *c;
    } else if (key_of(problem) == "media") {
        words = atelier.document.state.quiz.kind == video_quiz ? L"Vidéo" : L"Son";
    } else if (key_of(problem) == "TOML syntax") {
        words = L"Syntaxe du fichier";
    }
    const int question = question_of(problem);
    if (question < 0) return words;
    return L"Question " + std::to_wstring(question + 1) + (words.empty() ? L"" : L", " + words);
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

}  // namespace

// The first problem about control `id`, in words, for the status bar when it has the focus.
void tell_field_problem(Atelier& atelier, int id) {
    for (const Diagnostic& problem : atelier.document.problems) {
        if (field_of(atelier, problem) != id) continue;
        return set_status(atelier, (problem.severity == Severity::error ? L"Erreur : " : L"Avertissement : ") +
                                       wide_text(problem.message.french));
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
        const std::wstring field = field_words(atelier, problem);
        line += L" : " + (field.empty() ? L"" : field + L" : ") + wide_text(problem.message.french);
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

namespace {

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
    if (id == id_picture_label || id == id_picture || id == id_choose_picture || id == id_answer_picture ||
        id == id_choose_answer_picture)
        return quiz_of(atelier).kind == picture_quiz;
    if (id == id_play_sound || id == id_stop_sound) return quiz_of(atelier).kind == sound_quiz;
    return true;
}

}  // namespace

void update_visibility(Atelier& atelier) {
    for (HWND child = GetWindow(atelier.window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        const bool page_control = (id >= id_answer && id <= id_code_shown && id != id_problems && id != id_status &&
                                   id != id_pages) ||
                                  id >= id_first_label;
        if (page_control) ShowWindow(child, shown_now(atelier, id) ? SW_SHOW : SW_HIDE);
    }
}

namespace {

// One of the question's pictures as the player shows it, upright and fitted, at half its size.
void show_picture(Atelier& atelier, const std::string& file, int preview) {
    HBITMAP bitmap = nullptr;
    std::vector<QuestionData> data;
    Diagnostics ignored;  // the checks tell what is wrong with the file
    QuizModel one = quiz_of(atelier);
    one.questions.assign(1, ModelQuestion());
    one.questions[0].picture = file;
    PictureLoading conversion;
    conversion.cache.folder = picture_cache_folder();
    if (one.kind == picture_quiz && !file.empty() &&
        load_question_files(one, atelier.document.source_path, data, ignored, conversion) && !data[0].picture.empty())
        bitmap = load_picture_bytes(atelier.decoder, data[0].picture.data(), static_cast<unsigned long>(data[0].picture.size()),
                                    picture_box_width / 2, picture_box_height / 2);
    set_control_picture(control(atelier, preview), bitmap);
}

}  // namespace

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
    show_picture(atelier, shown.picture, id_picture);
    show_picture(atelier, shown.answer_picture, id_answer_picture);
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
