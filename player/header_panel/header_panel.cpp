#include "player/header_panel/header_panel.h"

#include <shellapi.h>

#include "player/answer_boxes/answer_box.h"
#include "player/fitted_text.h"
#include "player/main_window.h"
#include "base/owned_handle.h"
#include "layout/panel_layout.h"
#include "layout/window_layout.h"
#include "quiz_data/quiz_record.h"

const char* const authoring_site_address = "http://devinette.example";

namespace {

constexpr int link_id = 24;
constexpr int creator_prefix_id = 25;
constexpr int creator_id = 26;
constexpr int save_button_id = 27;
constexpr int explanations_id = 28;
constexpr int title_id = 29;
constexpr int code_label_id = 31;
const char* const creator_prefix = "Par : ";
constexpr int link_cursor_id = 1003;
constexpr COLORREF header_colour = RGB(128, 128, 255);
constexpr COLORREF link_colour = RGB(50, 50, 255);

OwnedBrush header_brush;  // the panel's and its labels' background
OwnedFont link_font;      // the link keeps it for the life of the process
HeaderTextSizes text_sizes;  // the texts in their fonts, measured at creation

void open_with_shell(const char* address) {
    ShellExecuteA(nullptr, "open", address, nullptr, nullptr, SW_SHOWNORMAL);  // failure is silent
}

AddressOpener address_opener = open_with_shell;

enum class ControlFont { stock, score, link, none };

struct ControlSpec {
    int id;
    const char* class_name;
    const char* text;
    DWORD extra_style;
    int x, y, width, height;
    ControlFont font;
};

struct Placement {
    int id;
    ControlRect rect;
    bool invalidate;
};

void style_link(HWND link) {
    RECT client = {};
    GetClientRect(link, &client);
    LOGFONTA font = {};  // empty face name and character set 0: the mapper's default face
    font.lfHeight = -(client.bottom * 3 / 4);
    font.lfWeight = FW_NORMAL;
    font.lfUnderline = 1;
    link_font.reset(CreateFontIndirectA(&font));
    SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(link_font.get()), FALSE);
    // A class cursor: from now on every static control of the process that takes
    // mouse input shows the hand, in either panel.
    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(link_cursor_id));
    SetClassLongPtrA(link, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(hand));
}

void set_control_font(HWND control, ControlFont font) {
    switch (font) {
    case ControlFont::stock:
        SendMessageA(control, WM_SETFONT,
                     reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
        break;
    case ControlFont::score:
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(quiz->score_font.get()), FALSE);
        break;
    case ControlFont::link: style_link(control); break;
    case ControlFont::none: break;
    }
}

void create_control(HWND panel, const ControlSpec& spec) {
    // A control that cannot be created is simply absent.
    HWND control = CreateWindowExA(
        0, spec.class_name, spec.text, WS_CHILD | WS_VISIBLE | spec.extra_style, spec.x, spec.y,
        spec.width, spec.height, panel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
        GetModuleHandleA(nullptr), nullptr);
    set_control_font(control, spec.font);
}

HeaderTextSizes measure_texts(HWND panel) {
    const HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HeaderTextSizes sizes;
    sizes.line_height = text_size_in(stock, "").height;
    sizes.title = text_size_in(control_font(GetDlgItem(panel, title_id)), quiz->title);
    sizes.creator_prefix_width = text_size_in(stock, creator_prefix).width;
    sizes.code_label_width = text_size_in(stock, code_label_text).width;
    const LRESULT margins = SendMessageA(GetDlgItem(panel, code_box_id), EM_GETMARGINS, 0, 0);
    sizes.code_width = widest_text_in(stock, quiz->codes, shown_question_count(*quiz)) + LOWORD(margins) +
                       HIWORD(margins);
    return sizes;
}

INT_PTR on_init_dialog(HWND panel) {
    const ScoreText nothing_solved = score_text(0, quiz->question_count);
    const ControlSpec controls[] = {
        {link_id, "Static", authoring_site_address, SS_NOTIFY, 736, 5, 115, 18, ControlFont::link},
        {creator_prefix_id, "Static", creator_prefix, 0, 736, 25, 27, 18, ControlFont::stock},
        {creator_id, "Static", quiz->creator, 0, 763, 25, 85, 18, ControlFont::stock},
        {save_button_id, "button", "Sauver", BS_PUSHBUTTON, 666, 25, 55, 18, ControlFont::stock},
        {explanations_id, "Static", quiz->explanations, 0, 110, 19, 490, 27, ControlFont::stock},
        {title_id, "Static", quiz->title, 0, 110, 3, 220, 18, ControlFont::none},
        {code_label_id, "Static", code_label_text, 0, 10, 29, 36, 15, ControlFont::stock},
        {score_label_id, "Static", nothing_solved.text, SS_CENTER, 10, 1, 80, 20, ControlFont::score},
        {code_box_id, "edit", "", ES_READONLY, 47, 29, 50, 16, ControlFont::stock},
        {120, "Static", "", WS_BORDER, 0, 26, 100, 1, ControlFont::none},
        {121, "Static", "", WS_BORDER, 100, 0, 1, 50, ControlFont::none},
        {122, "Static", "", WS_BORDER, 730, 0, 1, 50, ControlFont::none},
    };
    for (const ControlSpec& spec : controls)
        create_control(panel, spec);
    text_sizes = measure_texts(panel);
    set_fitted_text(GetDlgItem(panel, link_id), authoring_site_address);  // its width never changes
    header_brush.reset(CreateSolidBrush(header_colour));
    return TRUE;
}

// The right-hand block follows the panel's right edge; the explanations take the
// width between the score block and the right-hand block. Texts longer than
// their places end with an ellipsis.
void on_size(HWND panel) {
    RECT client = {};
    GetClientRect(panel, &client);
    const HeaderLayout layout = header_layout(text_sizes, client.right, client.bottom);
    const Placement placements[] = {
        {link_id, layout.link, false},
        {creator_prefix_id, layout.creator_prefix, false},
        {creator_id, layout.creator, true},
        {save_button_id, layout.save_button, true},
        {explanations_id, layout.explanations, true},
        {122, layout.rule_before_right, true},
        {title_id, layout.title, false},
        {code_label_id, layout.code_label, false},
        {code_box_id, layout.code_box, false},
        {120, layout.rule_under_score, false},
        {121, layout.rule_after_score, false},
    };
    for (const Placement& place : placements) {
        HWND control = GetDlgItem(panel, place.id);
        SetWindowPos(control, nullptr, place.rect.x, place.rect.y, place.rect.width, place.rect.height,
                     SWP_NOOWNERZORDER | SWP_NOACTIVATE);
        if (place.invalidate) InvalidateRect(control, nullptr, FALSE);
    }
    set_fitted_text(GetDlgItem(panel, creator_id), quiz->creator);
    set_fitted_text(GetDlgItem(panel, explanations_id), quiz->explanations);
    set_fitted_text(GetDlgItem(panel, title_id), quiz->title);
}

// Labels and the code box (ids 20 to 32) lie on the panel's colour; the rules
// keep the system colours.
INT_PTR on_ctl_color_static(HDC dc, HWND control) {
    const int id = GetDlgCtrlID(control);
    if (id < 20 || id > 32) return FALSE;
    SetBkMode(dc, TRANSPARENT);
    if (id == link_id) SetTextColor(dc, link_colour);
    return reinterpret_cast<INT_PTR>(header_brush.get());
}

void on_command(WPARAM wparam) {
    if (wparam == MAKEWPARAM(link_id, STN_CLICKED)) {
        address_opener(authoring_site_address);
    } else if (wparam == MAKEWPARAM(save_button_id, BN_CLICKED)) {
        save_answers_or_tell(question_panel_window);  // as F2 in an answer box
    }
}

}  // namespace

ScoreText score_text(int score, int question_count) {
    ScoreText formatted;
    wsprintfA(formatted.text, " %d / %d", score, question_count);
    return formatted;
}

void set_address_opener(AddressOpener opener) {
    address_opener = opener ? opener : open_with_shell;
}

INT_PTR CALLBACK header_panel_proc(HWND panel, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG: return on_init_dialog(panel);
    case WM_SIZE: on_size(panel); return FALSE;
    case WM_CTLCOLORSTATIC:
        return on_ctl_color_static(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_CTLCOLORDLG: return reinterpret_cast<INT_PTR>(header_brush.get());
    case WM_COMMAND: on_command(wparam); return FALSE;
    case WM_DESTROY:
    case WM_NCDESTROY: header_brush.reset(); return FALSE;  // the second finds it gone
    default: return FALSE;
    }
}
