// The main window: its first size and remembered placement, version label, panel
// layout, wheel forwarding, close.
#pragma once

#include <windows.h>

extern HBRUSH label_brush;
extern HWND header_panel_window;
extern HWND question_panel_window;

extern const char* const version_text;  // "(BETA) Réalisé avec la version 2.1.2"
constexpr int version_label_id = 8000;

bool register_main_window_class(HINSTANCE instance);
HWND create_main_window(HINSTANCE instance, const char* caption);
HWND create_label(HWND parent, const char* text, int x, int y, int width, int height, int id);
LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Start-up up to the shown windows; nullptr when the window class cannot be registered.
HWND start_player(HINSTANCE instance);
// Shut-down after the message loop, in order: panels, media, brush, quiz record.
void shut_down_player(HWND main_window);
// The message loop's next message, waiting for one: input, paint and sent
// messages before posted ones. FALSE for the quit message, -1 on failure.
BOOL next_message(MSG& message);
// Start-up, message loop and shut-down of the player; returns the quit code.
int run_player(HINSTANCE instance);
