#include "player/question_panel/question_panel.h"

#include "player/answer_boxes/evaluation.h"
#include "answers/grade.h"
#include "player/media/media_layer.h"
#include "pictures/picture_loader.h"
#include "player/question_panel/panel_controls.h"
#include "layout/panel_layout.h"
#include "layout/scroll_math.h"
#include "quiz_data/quiz_record.h"

namespace {

static_assert(SB_LINEUP == scroll_line_up && SB_LINEDOWN == scroll_line_down && SB_PAGEUP == scroll_page_up &&
                  SB_PAGEDOWN == scroll_page_down && SB_THUMBPOSITION == scroll_thumb_position &&
                  SB_THUMBTRACK == scroll_thumb_track && SB_TOP == scroll_top && SB_BOTTOM == scroll_bottom &&
                  SB_LINELEFT == scroll_line_up && SB_LINERIGHT == scroll_line_down &&
                  SB_PAGELEFT == scroll_page_up && SB_PAGERIGHT == scroll_page_down,
              "scroll requests keep the platform's values");

constexpr WORD wheel_notch_away = WHEEL_DELTA;
constexpr WORD wheel_notch_towards = static_cast<WORD>(-WHEEL_DELTA);  // 65416
constexpr WPARAM last_media_button = 96;

INT_PTR brush_result(const OwnedBrush& brush) { return reinterpret_cast<INT_PTR>(brush.get()); }

void on_scroll(HWND panel, int bar, int request) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(panel, bar, &info);
    const ScrollAxis axis = bar == SB_VERT ? ScrollAxis::vertical : ScrollAxis::horizontal;
    const ScrollBarState state{info.nPos, info.nMin, info.nMax, static_cast<int>(info.nPage), info.nTrackPos};
    const int line = axis == ScrollAxis::vertical ? vertical_line_step : column_share(quiz ? quiz->quiz_kind : 0);
    ScrollPoint target = scroll_point(panel);
    (axis == ScrollAxis::vertical ? target.y : target.x) = requested_position(axis, request, state, line);
    scroll_to(panel, target);
}

// Re-ranges the bars for the new client size and moves the content by however
// much the bars' positions changed.
void on_size(HWND panel) {
    const int old_horizontal = GetScrollPos(panel, SB_HORZ);
    const int old_vertical = GetScrollPos(panel, SB_VERT);
    update_scroll_ranges(panel);
    ScrollWindow(panel, old_horizontal - GetScrollPos(panel, SB_HORZ), old_vertical - GetScrollPos(panel, SB_VERT),
                 nullptr, nullptr);
}

// An answer box taking the focus comes into view. Otherwise the whole wParam is
// compared: only clicks (notification 0) of the media buttons count.
void on_command(HWND panel, WPARAM wparam) {
    if (HIWORD(wparam) == EN_SETFOCUS) {
        show_answer_box(panel, LOWORD(wparam) - answer_box_id_base);
        return;
    }
    if (!quiz || (quiz->quiz_kind != sound_quiz && quiz->quiz_kind != video_quiz)) return;
    const WPARAM play = play_button_id_base;
    const WPARAM stop = stop_button_id_base;
    if (wparam > play && wparam <= play + last_media_button)
        play_question_media(static_cast<int>(wparam - play));
    else if (wparam > stop && wparam <= stop + last_media_button)
        stop_question_media();
}

INT_PTR feedback_colours(HWND panel, HDC dc, int id) {
    char grade_text[text_size];
    read_control_text(panel, id, grade_text, text_size);
    const GradeLook look = grade_look(grade_text);
    if (look == GradeLook::plain) return FALSE;  // the system's colours
    const GradeColour letters = letters_colour(look);
    SetBkColor(dc, RGB(letters.red, letters.green, letters.blue));
    const OwnedBrush* const brushes[] = {&quiz->brush_green, &quiz->brush_orange, &quiz->brush_amber, &quiz->brush_red};
    return brush_result(*brushes[static_cast<int>(look) - 1]);
}

INT_PTR on_ctl_color_static(HWND panel, HDC dc, HWND label) {
    if (!quiz) return FALSE;
    const int id = GetDlgCtrlID(label);
    const int box_count = shown_box_count(*quiz);
    const bool on_panel_colour = id == number_label_id || id == caption_label_id ||
                                 (id > reveal_label_id_base && id <= reveal_label_id_base + box_count);
    if (on_panel_colour) {
        SetBkMode(dc, TRANSPARENT);
        const bool white = white_on_colour(quiz->colour_red, quiz->colour_green);
        SetTextColor(dc, white ? RGB(255, 255, 255) : RGB(0, 0, 0));
        return brush_result(quiz->colour_brush);
    }
    if (id > feedback_label_id_base && id <= feedback_label_id_base + box_count)
        return feedback_colours(panel, dc, id);
    if (id == question_label_id) {
        SetBkColor(dc, RGB(255, 255, 192));
        return brush_result(quiz->brush_pale_yellow);
    }
    return FALSE;
}

// The picture controls' bitmaps belong to the panel: detached and deleted with it.
void release_pictures(HWND panel) {
    for (int n = 1; n <= max_questions; ++n) {
        HWND picture = panel_control(panel, picture_control_id_base + n);
        if (picture) set_control_picture(picture, nullptr);
    }
}

}  // namespace

void forward_wheel(HWND question_panel, WPARAM wparam) {
    const WORD distance = HIWORD(wparam);
    if (distance == wheel_notch_away)
        PostMessageA(question_panel, WM_VSCROLL, SB_LINEUP, 0);
    else if (distance == wheel_notch_towards)
        PostMessageA(question_panel, WM_VSCROLL, SB_LINEDOWN, 0);
}

INT_PTR CALLBACK question_panel_proc(HWND panel, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG: build_question_panel(panel); return TRUE;
    case WM_SIZE: on_size(panel); return FALSE;
    case WM_VSCROLL: on_scroll(panel, SB_VERT, LOWORD(wparam)); return FALSE;
    case WM_HSCROLL: on_scroll(panel, SB_HORZ, LOWORD(wparam)); return FALSE;
    // Handled, so the default handling does not pass the notch on to the main
    // window, which would scroll a second line.
    case WM_MOUSEWHEEL: forward_wheel(panel, wparam); return TRUE;
    case WM_COMMAND: on_command(panel, wparam); return FALSE;
    case WM_CTLCOLORDLG: return quiz ? brush_result(quiz->colour_brush) : FALSE;
    case WM_CTLCOLORSTATIC:
        return on_ctl_color_static(panel, reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case decode_next_picture_message: decode_next_picture(panel); return TRUE;
    case WM_DESTROY:
        release_pictures(panel);
        forget_question_panel(panel);
        return FALSE;
    default: return FALSE;
    }
}
