// Where the question panel puts its controls, in content coordinates (scroll
// position 0), and how much content the rows occupy.
#pragma once

#include "pictures/picture_fit.h"
#include "quiz_data/quiz_resources.h"

struct QuizContent;

// Texts on the quiz's colour are white on a dark colour, black otherwise.
inline bool white_on_colour(unsigned char red, unsigned char green) { return red <= 59 && green <= 59; }

// Control ids of the question panel. Box numbers b count the answer boxes of
// the whole quiz from 1; question numbers n count from 1.
constexpr int number_label_id = 153;
constexpr int caption_label_id = 156;
constexpr int question_label_id = 3000;
constexpr int answer_box_id_base = 4000;      // + b
constexpr int feedback_label_id_base = 5000;  // + b
constexpr int play_button_id_base = 6000;     // + n
constexpr int stop_button_id_base = 7000;     // + n
constexpr int reveal_label_id_base = 8000;    // + n
constexpr int player_host_id = 9900;
constexpr int picture_control_id_base = 9900;  // + n

constexpr int first_row_top = 5;

// The answer boxes' font: the platform's default face at this height and weight.
// The pack tool measures answers in it too.
constexpr int answer_font_height = 15;
constexpr int answer_font_weight = 100;

struct ControlRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Questions the panel shows: question_count kept within the 96 that ids and codes cover.
int shown_question_count(const QuizContent& quiz);
// Answer boxes the panel shows, numbered from 1: every shown question's boxes.
int shown_box_count(const QuizContent& quiz);

// One row of a text quiz: question n with its one answer box, numbered n.
struct TextRow {
    ControlRect number;
    ControlRect question;
    ControlRect answer_box;
    ControlRect feedback;
    int bottom = 0;  // top of the next row
};
TextRow text_row(int question_number);

// Kinds 1 to 3: three questions to a grid row.
struct GridShape {
    int quiz_kind = 0;
    int boxes_per_question = 1;
    int reveal_mode = 0;
};
GridShape grid_shape(const QuizContent& quiz);

// True for the question that opens a grid row (column 0).
bool starts_grid_row(int question_number);

// Height of a picture grid row: the tallest of the three fitted pictures
// measured for it (question n and the two after it); a missing one counts 0.
int row_picture_height(const int (&fitted_heights)[3]);

struct GridCell {
    int column_origin = 0;  // x0
    int control_top = 0;    // ry, below the band
    ControlRect picture;    // picture quizzes only
    bool has_captions = false;
    ControlRect captions[2];
    ControlRect number;
    // Above the boxes: the picture's cell, the video's band, or beside them the
    // sound's play and stop buttons.
    ControlRect band;
    bool has_media_buttons = false;
    ControlRect play;
    ControlRect stop;
    int box_count = 0;  // 0 for a box count other than 1 and 2
    ControlRect answer_boxes[2];
    ControlRect feedback_labels[2];
    bool has_reveal = false;
    ControlRect reveal;
    int bottom = 0;  // control_top plus the cell height
};

// Cell of question n in the grid row whose top is row_top. `picture` is the
// fitted question picture, nullptr when there is none (picture quizzes only).
GridCell grid_cell(const GridShape& shape, int question_number, int row_top,
                   int row_picture_height, const FittedSize* picture);

// Content size of the rows built so far, the bottom of the first row and the
// top of the next grid row.
struct PanelExtent {
    int content_width = 0;
    int content_height = 0;
    int first_row_bottom = 0;
    int row_top = first_row_top;
};
void add_text_row(PanelExtent& extent, const TextRow& row);
void add_grid_cell(PanelExtent& extent, int question_number, const GridCell& cell);
// The right margin after the last column: wider for quizzes announcing two boxes.
void add_right_margin(PanelExtent& extent, int answers_per_question);

// Horizontal scrolling's line: one grid column, or in a text row the step from
// the answer box to its feedback label.
int column_share(int quiz_kind);

// What the panel keeps in view around a focused answer box: the box with its
// feedback label, and the whole cell (picture or media band too) when that fits.
struct FocusArea {
    ControlRect box;
    ControlRect cell;
};
FocusArea focus_area(const TextRow& row);
// Box k (from 0) of the cell.
FocusArea focus_area(const GridCell& cell, int box_in_cell);
