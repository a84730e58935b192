// The Atelier's one window: the question list on the left, the selected
// question's fields on the right, the problems under them, a status bar.
#pragma once

#include <windows.h>

#include <string>

// Control ids, for the menu's commands and for tests that read the window.
enum AtelierId {
    id_list = 100,
    id_list_label = 101,
    id_thumbnails_shown = 102,  // "Petites images : 12 / 96" while they are made
    id_answer = 110,
    id_variants,
    id_answer_2,
    id_variants_2,
    id_text,
    id_reveal_text,
    id_try,
    id_try_grade,
    id_keep_try,
    id_problems,
    id_status,
    id_picture_label,
    id_picture,
    id_choose_picture,
    id_answer_picture,
    id_choose_answer_picture,
    id_play_sound,
    id_stop_sound,
    id_pages,  // "Question" and "Quiz"
    id_title,
    id_creator,
    id_explanations,
    id_caption_1,
    id_caption_2,
    id_kind,
    id_grading,
    id_reveal,
    id_codes,  // the fields above are edited in place; the controls below act
    id_colour,
    id_colour_sample,
    id_icon,
    id_code_score,
    id_code_shown,
    id_first_label = 200,       // the question's fields' labels follow
    id_first_quiz_label = 300,  // the quiz's fields' labels follow
};

enum AtelierCommand {
    command_open = 1000,
    command_save,
    command_build,
    command_play,
    command_quit,
    command_undo,
    command_redo,
    command_insert,
    command_delete,
    command_duplicate,
    command_move_up,
    command_move_down,
    command_other_page,  // "Question" <-> "Quiz"
    command_paste,       // a picture on the clipboard becomes the question's picture
    command_new,         // a new quiz from a folder
};

// Registers the window class and creates the window, opening `path` (UTF-8)
// when it is not empty; nullptr when the window cannot be made.
HWND create_atelier_window(HINSTANCE instance, const std::string& path);

// The keyboard shortcuts of the menu's commands.
HACCEL create_atelier_accelerators();
