// The scrollable question panel.
#pragma once

#include <windows.h>

#include "layout/scroll_math.h"

extern int content_width;
extern int content_height;
extern int first_row_bottom;  // in content coordinates

INT_PTR CALLBACK question_panel_proc(HWND panel, UINT message, WPARAM wparam, LPARAM lparam);
void build_question_panel(HWND panel);
// Posted to the panel, in turn, for each question picture left to decode after construction.
constexpr UINT decode_next_picture_message = WM_APP + 1;
// Decodes the next one into its control, unless a reveal has filled it, and posts the message again.
void decode_next_picture(HWND panel);
// Decodes now the pictures left to decode that the panel, at its present size, shows.
void decode_pictures_in_view(HWND panel);
ScrollPoint scroll_point(HWND panel);
// Moves both bars to `position`, as far as they allow, and the content with them.
void scroll_to(HWND panel, ScrollPoint position);
// Scrolls the shown panel as little as it takes to show answer box b with its
// feedback label, and its whole cell when that fits.
void show_answer_box(HWND panel, int box_number);
// The same for the answer box that has the focus, if one has.
void show_focused_box(HWND panel);
// Pages the panel from answer box `box` (SB_PAGEUP or SB_PAGEDOWN), and gives the
// focus to the box now nearest the place the box had in view.
void page_from_box(HWND box, int request);
// While one is alive, answer boxes taking the focus leave the view where it is.
class FocusFollowingPaused {
public:
    FocusFollowingPaused();
    FocusFollowingPaused(const FocusFollowingPaused&) = delete;
    FocusFollowingPaused& operator=(const FocusFollowingPaused&) = delete;
    ~FocusFollowingPaused();
};
// The panel is being destroyed: its remembered controls and pictures left to decode go.
void forget_question_panel(HWND panel);
void update_scroll_ranges(HWND panel);
// One wheel notch (a distance of exactly 120 either way, in the high word of
// wparam) posts one line of vertical scrolling to the panel; any other distance
// posts nothing. The same for a wheel turned over the panel or the main window.
void forward_wheel(HWND question_panel, WPARAM wparam);
