// Grading of one answer box with its feedback, reveal, score and code.
#pragma once

#include <windows.h>

struct QuizRecord;

void evaluate_answer(QuizRecord& quiz, HWND question_panel, int answer_box_id);
void update_score(QuizRecord& quiz, HWND question_panel);

// Text of child `id` of `parent`, at most limit - 1 bytes; empty when there is no such child.
void read_control_text(HWND parent, int id, char* text, int limit);
