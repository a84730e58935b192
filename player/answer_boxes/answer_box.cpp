#include "player/answer_boxes/answer_box.h"

#include "player/answer_boxes/evaluation.h"
#include "player/question_panel/question_panel.h"
#include "answers/grade.h"
#include "layout/panel_layout.h"
#include "quiz_data/quiz_record.h"

WNDPROC saved_edit_proc = nullptr;

namespace {

// The edit control never sees Enter or Tab as characters: no beep, no insertion.
bool swallowed_character(WPARAM character) { return character == '\r' || character == '\t'; }

void evaluate_box(HWND box) {
    if (quiz) evaluate_answer(*quiz, GetParent(box), GetDlgCtrlID(box));
}

// True when the key is consumed here.
bool on_key(HWND box, WPARAM key) {
    switch (key) {
    case VK_RETURN: evaluate_box(box); return true;
    case VK_UP:
    case VK_PRIOR: page_from_box(box, SB_PAGEUP); return false;  // then the key goes on to the edit control
    case VK_DOWN:
    case VK_NEXT: page_from_box(box, SB_PAGEDOWN); return false;
    case VK_F1: propagate_answer(box); return false;
    case VK_F2: save_answers_or_tell(GetParent(box)); return false;
    default: return false;
    }
}

}  // namespace

LRESULT CALLBACK answer_box_proc(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SETFOCUS:
        SendMessageA(box, EM_SETSEL, 0, text_size);  // typing replaces the previous answer
        break;
    case WM_KILLFOCUS:
        evaluate_box(box);
        break;
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
        if (on_key(box, wparam)) return 1;
        break;
    case WM_CHAR:
        if (swallowed_character(wparam)) return 0;
        break;
    case WM_MOUSEWHEEL:
        // A single-line edit has nothing to scroll, and Wine's keeps the notch
        // to itself: the panel scrolls, so one notch is one line wherever the focus is.
        SendMessageA(GetParent(box), WM_MOUSEWHEEL, wparam, lparam);
        return 0;
    default:
        break;
    }
    return CallWindowProcA(saved_edit_proc, box, message, wparam, lparam);
}

void propagate_answer(HWND answer_box) {
    if (!quiz) return;
    HWND panel = GetParent(answer_box);
    char text[text_size] = "";
    GetWindowTextA(answer_box, text, text_size);
    const int box_count = shown_box_count(*quiz);
    // Each focus change below grades the box it leaves; the score is counted
    // once at the end rather than over every label after each box.
    const DeferredScoreRecount recount_once(*quiz, panel);
    {
        const FocusFollowingPaused view_stays;  // the focus only passes through the other boxes
        for (int b = 1; b <= box_count; ++b) {
            char feedback[text_size];
            read_control_text(panel, feedback_label_id_base + b, feedback, text_size);
            HWND box = GetDlgItem(panel, answer_box_id_base + b);
            if (!box || lstrcmpA(feedback, grade_right) == 0) continue;
            SetWindowTextA(box, text);
            SetFocus(box);
        }
    }
    SetFocus(answer_box);
}
