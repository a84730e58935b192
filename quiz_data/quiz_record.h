// The one in-memory quiz with the brushes and fonts derived from it.
#pragma once

#include <windows.h>

#include "base/owned_handle.h"
#include "quiz_data/quiz_content.h"

struct QuizRecord : QuizContent {
    QuizRecord();
    QuizRecord(const QuizRecord&) = delete;
    QuizRecord& operator=(const QuizRecord&) = delete;

    // Replaces colour_brush with a brush of the current colour parts.
    void update_colour_brush();

    OwnedFont score_font;
    OwnedFont answer_font;
    OwnedBrush colour_brush;
    OwnedBrush brush_red;
    OwnedBrush brush_green;
    OwnedBrush brush_orange;
    OwnedBrush brush_amber;
    OwnedBrush brush_pale_yellow;
    HWND header_panel = nullptr;
};

extern QuizRecord* quiz;

// Fills the record from PATCH 104 and 105 of `module` (nullptr: the executable),
// or with the fallback quiz; reports failures with message boxes, caption "Quizz".
void load_quiz(QuizRecord& record, HMODULE module);
