#include "layout/panel_layout.h"

#include "quiz_data/quiz_content.h"

namespace {

constexpr int text_row_pitch = 25;
constexpr int text_answer_column_pitch = 110;  // answer box to feedback label
constexpr int text_row_content_width = 830;
constexpr int grid_content_width = 1190;
constexpr int grid_column_pitch = 390;
constexpr int plain_cell_height = 60;
constexpr int revealing_cell_height = 140;  // room for the reveal label

int column_of(int question_number) { return (question_number - 1) % 3; }

// The smallest rectangle holding both.
ControlRect united(const ControlRect& a, const ControlRect& b) {
    const int left = a.x < b.x ? a.x : b.x;
    const int top = a.y < b.y ? a.y : b.y;
    const int right = a.x + a.width > b.x + b.width ? a.x + a.width : b.x + b.width;
    const int bottom = a.y + a.height > b.y + b.height ? a.y + a.height : b.y + b.height;
    return {left, top, right - left, bottom - top};
}

int band_height(int quiz_kind, int row_picture_height) {
    switch (quiz_kind) {
    case picture_quiz: return row_picture_height + 10;
    case video_quiz: return 210;  // the video picture's band
    default: return 0;
    }
}

// Boxes sit beside the play and stop buttons in sound and video quizzes.
int box_offset(int quiz_kind) { return quiz_kind == picture_quiz ? 0 : 20; }
int box_width(int quiz_kind) { return quiz_kind == picture_quiz ? picture_box_width : 340; }

ControlRect picture_rect(int column_origin, int row_top, int row_picture_height,
                         const FittedSize* picture) {
    if (!picture) return {column_origin, row_top, picture_box_width, row_picture_height};
    return {column_origin + (picture_box_width - picture->width) / 2,
            row_top + (row_picture_height - picture->height) / 2, picture->width, picture->height};
}

}  // namespace

int shown_question_count(const QuizContent& quiz) {
    if (quiz.question_count < 0) return 0;
    return quiz.question_count > max_questions ? max_questions : quiz.question_count;
}

int shown_box_count(const QuizContent& quiz) { return boxes_per_question(quiz) * shown_question_count(quiz); }

TextRow text_row(int question_number) {
    const int y = first_row_top + text_row_pitch * (question_number - 1);
    TextRow row;
    row.number = {26, y + 2, 19, 17};
    row.question = {50, y, 550, 20};
    row.answer_box = {610, y, 100, 20};
    row.feedback = {720, y, 100, 20};
    row.bottom = y + text_row_pitch;
    return row;
}

GridShape grid_shape(const QuizContent& quiz) {
    return {quiz.quiz_kind, boxes_per_question(quiz), quiz.reveal_mode};
}

bool starts_grid_row(int question_number) { return question_number % 3 == 1; }

int row_picture_height(const int (&fitted_heights)[3]) {
    int tallest = 0;
    for (int height : fitted_heights)
        if (height > tallest) tallest = height;
    return tallest;
}

GridCell grid_cell(const GridShape& shape, int question_number, int row_top,
                   int row_picture_height, const FittedSize* picture) {
    GridCell cell;
    const bool two_boxes = shape.boxes_per_question == 2;
    cell.column_origin = (two_boxes ? 106 : 46) + grid_column_pitch * column_of(question_number);
    cell.control_top = row_top + band_height(shape.quiz_kind, row_picture_height);
    const int x0 = cell.column_origin;
    const int ry = cell.control_top;

    if (shape.quiz_kind == picture_quiz) cell.picture = picture_rect(x0, row_top, row_picture_height, picture);
    cell.number = {x0 - 28, ry + 2, 27, 17};
    cell.has_captions = two_boxes && starts_grid_row(question_number);
    // The captions end where the number label's background begins.
    const int caption_width = cell.number.x - 3 < 95 ? cell.number.x - 3 : 95;
    cell.captions[0] = {3, ry + 2, caption_width, 20};
    cell.captions[1] = {3, ry + 22, caption_width, 20};
    cell.has_media_buttons = has_media(shape.quiz_kind);
    cell.play = {x0, ry, 20, 20};
    cell.stop = {x0, ry + 20, 20, 19};
    if (cell.has_media_buttons && shape.quiz_kind != video_quiz)
        cell.band = united(cell.play, cell.stop);
    else
        cell.band = {x0, row_top, picture_box_width, ry - row_top};

    const int x = x0 + box_offset(shape.quiz_kind);
    const int width = box_width(shape.quiz_kind);
    if (shape.boxes_per_question == 1) {
        cell.box_count = 1;
        cell.answer_boxes[0] = {x, ry, width, 20};
        cell.feedback_labels[0] = {x, ry + 19, width, 20};
    } else if (two_boxes) {
        cell.box_count = 2;
        for (int k = 0; k < 2; ++k) {
            cell.answer_boxes[k] = {x, ry + 19 * k, width - 59, 20};
            cell.feedback_labels[k] = {x + width - 60, ry + 19 * k, 60, 20};
        }
    }

    // Stream values past the four modes keep the room too.
    cell.has_reveal = shape.reveal_mode > reveal_picture;
    cell.reveal = {x0, ry + 46, 360, 65};
    cell.bottom = ry + (cell.has_reveal ? revealing_cell_height : plain_cell_height);
    return cell;
}

void add_text_row(PanelExtent& extent, const TextRow& row) {
    extent.content_width = text_row_content_width;
    extent.content_height = row.bottom;
    if (extent.first_row_bottom == 0) extent.first_row_bottom = row.bottom;
}

void add_grid_cell(PanelExtent& extent, int question_number, const GridCell& cell) {
    if (extent.first_row_bottom == 0) extent.first_row_bottom = cell.bottom;
    if (starts_grid_row(question_number)) {
        extent.content_width = grid_content_width;
        extent.content_height = cell.bottom;
    }
    if (question_number % 3 == 0) extent.row_top = cell.bottom;
}

void add_right_margin(PanelExtent& extent, int answers_per_question) {
    extent.content_width += answers_per_question == 2 ? 80 : 20;
}

int column_share(int quiz_kind) { return quiz_kind == text_quiz ? text_answer_column_pitch : grid_column_pitch; }

FocusArea focus_area(const TextRow& row) {
    const ControlRect box = united(row.answer_box, row.feedback);
    return {box, box};
}

FocusArea focus_area(const GridCell& cell, int box_in_cell) {
    const ControlRect box = united(cell.answer_boxes[box_in_cell], cell.feedback_labels[box_in_cell]);
    return {box, united(box, cell.band)};
}
