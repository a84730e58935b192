// Keys and focus of the answer boxes, F1 propagation and the results file.
#pragma once

#include <windows.h>

#include <string>

extern WNDPROC saved_edit_proc;

LRESULT CALLBACK answer_box_proc(HWND box, UINT message, WPARAM wparam, LPARAM lparam);
void propagate_answer(HWND answer_box);

// Why a save failed, as the player is told.
enum class SaveProblem { none, folder_missing, file_in_use, name_is_folder, read_only, disk_full, other };

struct SaveResult {
    SaveProblem problem = SaveProblem::none;
    DWORD error = 0;  // the Windows error of the failing step
};

// Writes every answer box to the results file; problem none when it was saved
// or when there was nothing to save. Shows nothing.
SaveResult save_answers(HWND question_panel);
// F2 and "Sauver": saves, and tells the player when it failed.
void save_answers_or_tell(HWND question_panel);
// Closing: saves; when that fails, asks until it is saved or the player chose.
// True when the window may close, saved or not.
bool save_answers_before_closing(HWND question_panel);

// Bare name of this executable's results file: it lives in the current directory.
std::string own_results_file_name();
