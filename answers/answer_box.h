// Keys and focus of the answer boxes, F1 propagation and the results file.
#pragma once

#include <windows.h>

#include <string>

extern WNDPROC saved_edit_proc;

LRESULT CALLBACK answer_box_proc(HWND box, UINT message, WPARAM wparam, LPARAM lparam);
void propagate_answer(HWND answer_box);
void save_answers(HWND question_panel);

// Bare name of this executable's results file: it lives in the current directory.
std::string own_results_file_name();
