#include "player/question_panel/panel_controls.h"

#include "layout/panel_layout.h"
#include "quiz_data/quiz_content.h"

namespace {

constexpr int first_addressed_id = answer_box_id_base + 1;
constexpr int last_addressed_id = picture_control_id_base + max_questions;

HWND table_panel = nullptr;
HWND controls[last_addressed_id - first_addressed_id + 1];

// The player host shares its id with the picture range's base: it is not the rows'.
bool addressed(int id) { return id >= first_addressed_id && id <= last_addressed_id && id != player_host_id; }

}  // namespace

void reset_panel_controls(HWND panel) {
    table_panel = panel;
    for (HWND& control : controls) control = nullptr;
}

void remember_panel_control(HWND panel, int id, HWND control) {
    if (panel == table_panel && addressed(id)) controls[id - first_addressed_id] = control;
}

HWND panel_control(HWND parent, int id) {
    if (parent && parent == table_panel && addressed(id)) return controls[id - first_addressed_id];
    return GetDlgItem(parent, id);
}
