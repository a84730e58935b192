// The header panel: score, code, title, explanations, creator, "Sauver", link.
#pragma once

#include <windows.h>

// Controls that the answer evaluation writes the score and the code into.
constexpr int score_label_id = 32;
constexpr int code_box_id = 30;

// The score label's text, " %d / %d": the questions solved out of all of them.
struct ScoreText {
    char text[32];
};
ScoreText score_text(int score, int question_count);

// The authoring site: the link's text and the address it opens.
extern const char* const authoring_site_address;

INT_PTR CALLBACK header_panel_proc(HWND panel, UINT message, WPARAM wparam, LPARAM lparam);

// Opens the link's address; the shell by default. Tests record instead of
// launching a browser; nullptr restores the shell.
using AddressOpener = void (*)(const char* address);
void set_address_opener(AddressOpener opener);
