// The question panel's controls by id, remembered as the rows create them:
// under Wine every GetDlgItem is a round trip to the window server, and grading
// one box looks up several controls.
#pragma once

#include <windows.h>

// Starts an empty table for this panel (construction) or for none (nullptr, destruction).
void reset_panel_controls(HWND panel);
void remember_panel_control(HWND panel, int id, HWND control);
// The control of `parent` with that id. For the panel being built or shown,
// the ids the rows address (answer boxes to picture controls) come from the
// table, nullptr until created; any other id or window asks GetDlgItem.
HWND panel_control(HWND parent, int id);
