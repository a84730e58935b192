// The forgiving comparison's view of a Windows-1252 text: what a child types on
// a French keyboard, with Caps Lock on or not, compares equal to what the quiz
// maker wrote with accents, ligatures and typographic signs.
#pragma once

#include "quiz_data/quiz_content.h"

// `folded` receives `text` with:
// - a no-break space as a space, a hyphen (and a dash) as a space, spaces
//   trimmed at both ends and every run of them made one;
// - typographic quotes, apostrophes and dashes as their plain signs, an ellipsis
//   as three dots;
// - every letter made a capital without its accent, AE and OE for the
//   ligatures, SS for the sharp s.
// A fold longer than 259 bytes is cut there.
void fold_lenient(const char* text, char (&folded)[text_size]);
