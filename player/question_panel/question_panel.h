// The scrollable question panel.
#pragma once

#include <windows.h>

extern int content_width;
extern int content_height;

INT_PTR CALLBACK question_panel_proc(HWND panel, UINT message, WPARAM wparam, LPARAM lparam);
void build_question_panel(HWND panel);
// Posted to the panel, in turn, for each question picture left to decode after construction.
constexpr UINT decode_next_picture_message = WM_APP + 1;
// Decodes the next one into its control, unless a reveal has filled it, and posts the message again.
void decode_next_picture(HWND panel);
// The panel is being destroyed: its remembered controls and pictures left to decode go.
void forget_question_panel(HWND panel);
void update_scroll_ranges(HWND panel);
// One wheel notch (a distance of exactly 120 either way, in the high word of
// wparam) posts one line of vertical scrolling to the panel; any other distance
// posts nothing. The same for a wheel turned over the panel or the main window.
void forward_wheel(HWND question_panel, WPARAM wparam);
