// Texts measured in a control's own font, and labels that end a text longer
// than their place with an ellipsis rather than cutting it mid-letter.
#pragma once

#include <windows.h>

#include "layout/window_layout.h"
#include "quiz_data/quiz_content.h"

// The font a control draws in: the one it was given, or the system font.
HFONT control_font(HWND control);
// `text` on one line in `font`; the height is the font's line height.
TextSize text_size_in(HFONT font, const char* text);
// The width of the widest of `count` texts on one line in `font`.
int widest_text_in(HFONT font, const char (*texts)[text_size], int count);
// Shows `text` in the control (a static label or an edit), or, when it does not
// fit there as the control lays it out, its longest start that does, followed by
// an ellipsis.
void set_fitted_text(HWND control, const char* text);
