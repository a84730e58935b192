#include "atelier/atelier_window.h"

#include "atelier/atelier_state.h"
#include "base/wide_text.h"
#include "layout/panel_layout.h"

namespace {

constexpr wchar_t class_name[] = L"DevinetteAtelier";

Atelier* atelier_of(HWND window) { return reinterpret_cast<Atelier*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

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
    MoveWindow(control(atelier, id_list_label), margin, margin, (list_width - margin) / 2, line, TRUE);
    MoveWindow(control(atelier, id_thumbnails_shown), margin + (list_width - margin) / 2, margin,
               (list_width - margin) / 2, line, TRUE);
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
    // The picture, and the answer picture beside it, each with its button under it.
    const int preview_width = picture_box_width / 2;
    const int answer_x = field_x + preview_width + margin;
    MoveWindow(control(atelier, id_picture), field_x, y, preview_width, picture_box_height / 2, TRUE);
    MoveWindow(control(atelier, id_answer_picture), answer_x, y, preview_width, picture_box_height / 2, TRUE);
    y += picture_box_height / 2 + margin / 2;
    MoveWindow(control(atelier, id_choose_picture), field_x, y, preview_width, line + 8, TRUE);
    MoveWindow(control(atelier, id_choose_answer_picture), answer_x, y, preview_width, line + 8, TRUE);
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
    add_child(atelier, L"STATIC", L"", SS_RIGHT, 0, id_thumbnails_shown);
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
    add_child(atelier, L"STATIC", L"Images", SS_LEFT, 0, id_picture_label);
    add_child(atelier, L"STATIC", L"", SS_BITMAP | SS_CENTERIMAGE | WS_BORDER, 0, id_picture);
    add_child(atelier, L"STATIC", L"", SS_BITMAP | SS_CENTERIMAGE | WS_BORDER, 0, id_answer_picture);
    add_child(atelier, L"BUTTON", L"Choisir l'&image...", BS_PUSHBUTTON | WS_TABSTOP, 0, id_choose_picture);
    add_child(atelier, L"BUTTON", L"Image ré&ponse...", BS_PUSHBUTTON | WS_TABSTOP, 0, id_choose_answer_picture);
    add_child(atelier, L"BUTTON", L"É&couter le son", BS_PUSHBUTTON | WS_TABSTOP, 0, id_play_sound);
    add_child(atelier, L"BUTTON", L"&Arrêter le son", BS_PUSHBUTTON | WS_TABSTOP, 0, id_stop_sound);
    add_child(atelier, L"LISTBOX", L"Problèmes", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
              WS_EX_CLIENTEDGE, id_problems);
    add_child(atelier, STATUSCLASSNAMEW, L"", 0, 0, id_status);
}

HMENU create_menu() {
    const HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, command_new, L"&Nouveau quiz depuis un dossier...\tCtrl+N");
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
    if (path && !path->empty())
        open_path(shown, *path);
    else
        PostMessageW(window, message_start, 0, 0);  // once the window is shown
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
        case command_new: return choose_folder_and_open(atelier);
        case id_colour: return choose_colour(atelier);
        case id_icon: return choose_icon(atelier);
        case id_play_sound: return play_sound(atelier);
        case id_stop_sound: stop_sound(); return set_status(atelier, L"Son arrêté.");
        case id_choose_picture: return choose_picture(atelier, false);
        case id_choose_answer_picture: return choose_picture(atelier, true);
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

bool high_contrast() {
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

// The grade after "Essai" in the player's colours and the header's sample in the
// quiz's; with high contrast on, the system's colours, as for every other control.
LRESULT on_ctl_color_static(const Atelier& atelier, HDC dc, HWND label) {
    if (high_contrast()) return 0;
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
    ask_file_check(atelier);
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
        case message_start: offer_start(*atelier); return 0;
        case message_ask_thumbnails: ask_thumbnails(*atelier); return 0;
        case message_files_checked:
            on_files_checked(*atelier, static_cast<int>(wparam), reinterpret_cast<Diagnostics*>(lparam));
            return 0;
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
        {FCONTROL | FVIRTKEY, 'N', command_new},       {FCONTROL | FVIRTKEY, 'O', command_open},     {FCONTROL | FVIRTKEY, 'S', command_save},
        {FCONTROL | FVIRTKEY, 'B', command_build},    {FVIRTKEY, VK_F5, command_play},
        {FCONTROL | FVIRTKEY, 'Z', command_undo},     {FCONTROL | FVIRTKEY, 'Y', command_redo},
        {FCONTROL | FVIRTKEY, 'D', command_duplicate}, {FALT | FVIRTKEY, VK_UP, command_move_up},
        {FALT | FVIRTKEY, VK_DOWN, command_move_down}, {FCONTROL | FVIRTKEY, VK_TAB, command_other_page},
        {FCONTROL | FVIRTKEY, VK_NEXT, command_other_page}, {FCONTROL | FVIRTKEY, VK_PRIOR, command_other_page},
        {FCONTROL | FVIRTKEY, 'V', command_paste},
    };
    return CreateAcceleratorTableW(keys, sizeof keys / sizeof keys[0]);
}
