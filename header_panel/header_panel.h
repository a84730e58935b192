// The header panel: score, code, title, explanations, creator, "Sauver", link.
#pragma once

#include <windows.h>

// The authoring site: the link's text and the address it opens.
extern const char* const authoring_site_address;

INT_PTR CALLBACK header_panel_proc(HWND panel, UINT message, WPARAM wparam, LPARAM lparam);
