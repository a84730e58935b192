// The scrollable question panel.
#pragma once

#include <windows.h>

extern int content_width;
extern int content_height;

INT_PTR CALLBACK question_panel_proc(HWND panel, UINT message, WPARAM wparam, LPARAM lparam);
void build_question_panel(HWND panel);
void update_scroll_ranges(HWND panel);
