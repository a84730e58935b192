#include <gtest/gtest.h>

#include <vector>

#include "question_panel/panel_layout.h"
#include "quiz_data/quiz_content.h"

namespace {

void expect_rect(const ControlRect& rect, int x, int y, int width, int height) {
    EXPECT_EQ(rect.x, x);
    EXPECT_EQ(rect.y, y);
    EXPECT_EQ(rect.width, width);
    EXPECT_EQ(rect.height, height);
}

PanelExtent lay_out_text_quiz(int question_count, int answers_per_question) {
    PanelExtent extent;
    for (int n = 1; n <= question_count; ++n) add_text_row(extent, text_row(n));
    add_right_margin(extent, answers_per_question);
    return extent;
}

TEST(PanelLayoutText, RowsEveryTwentyFivePixels) {
    const int tops[] = {5, 30, 55};
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        const TextRow row = text_row(n);
        const int y = tops[n - 1];
        expect_rect(row.number, 26, y + 2, 19, 17);
        expect_rect(row.question, 50, y, 550, 20);
        expect_rect(row.answer_box, 610, y, 100, 20);
        expect_rect(row.feedback, 720, y, 100, 20);
    }
}

TEST(PanelLayoutText, ContentOfThreeRowsWithEitherMargin) {
    const PanelExtent one_box = lay_out_text_quiz(3, 1);
    EXPECT_EQ(one_box.content_width, 850);
    EXPECT_EQ(one_box.content_height, 80);
    const PanelExtent two_boxes = lay_out_text_quiz(3, 2);
    EXPECT_EQ(two_boxes.content_width, 910);
    EXPECT_EQ(two_boxes.content_height, 80);
}

TEST(PanelLayoutText, NoRowsLeaveOnlyTheMargin) {
    const PanelExtent extent = lay_out_text_quiz(0, 1);
    EXPECT_EQ(extent.content_width, 20);
    EXPECT_EQ(extent.content_height, 0);
}

// Lays out a grid quiz, each row measured from the fitted sizes of its three
// pictures (index 0 is question 1; entries past the end count as missing).
struct GridRun {
    std::vector<GridCell> cells;
    PanelExtent extent;
};

GridRun lay_out_grid(const GridShape& shape, int question_count,
                     const std::vector<FittedSize>& pictures, int answers_per_question) {
    GridRun run;
    int row_height = 0;
    for (int n = 1; n <= question_count; ++n) {
        if (starts_grid_row(n)) {
            int heights[3] = {};
            for (int m = 0; m < 3; ++m) {
                const std::size_t index = static_cast<std::size_t>(n - 1 + m);
                if (index < pictures.size()) heights[m] = pictures[index].height;
            }
            row_height = row_picture_height(heights);
        }
        const std::size_t index = static_cast<std::size_t>(n - 1);
        const FittedSize* picture = index < pictures.size() && pictures[index].height > 0
                                        ? &pictures[index] : nullptr;
        run.cells.push_back(grid_cell(shape, n, run.extent.row_top, row_height, picture));
        add_grid_cell(run.extent, n, run.cells.back());
    }
    add_right_margin(run.extent, answers_per_question);
    return run;
}

const FittedSize landscape{360, 270};  // 400 x 300 fitted into 360 x 345
const FittedSize portrait{258, 345};   // 300 x 400

TEST(PanelLayoutGrid, PictureQuizOfFourLandscapes) {
    const GridRun run = lay_out_grid({picture_quiz, 1, 0}, 4, std::vector<FittedSize>(6, landscape), 1);
    const int origins[] = {46, 436, 826, 46};
    const int row_tops[] = {5, 5, 5, 345};
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        const GridCell& cell = run.cells[static_cast<std::size_t>(n - 1)];
        const int x0 = origins[n - 1];
        const int ry = row_tops[n - 1] + 280;
        EXPECT_EQ(cell.column_origin, x0);
        EXPECT_EQ(cell.control_top, ry);
        expect_rect(cell.picture, x0, row_tops[n - 1], 360, 270);
        expect_rect(cell.number, x0 - 28, ry + 2, 27, 17);
        ASSERT_EQ(cell.box_count, 1);
        expect_rect(cell.answer_boxes[0], x0, ry, 360, 20);
        expect_rect(cell.feedback_labels[0], x0, ry + 19, 360, 20);
        EXPECT_FALSE(cell.has_captions);
        EXPECT_FALSE(cell.has_media_buttons);
        EXPECT_FALSE(cell.has_reveal);
    }
    EXPECT_EQ(run.cells[0].control_top, 285);
    EXPECT_EQ(run.cells[0].feedback_labels[0].y, 304);
    EXPECT_EQ(run.cells[3].control_top, 625);
    EXPECT_EQ(run.extent.content_width, 1210);
    EXPECT_EQ(run.extent.content_height, 685);
}

TEST(PanelLayoutGrid, PortraitMakesTheRowTallAndLandscapesSitCentred) {
    const GridRun run = lay_out_grid({picture_quiz, 1, 0}, 3, {landscape, portrait, landscape}, 1);
    for (const GridCell& cell : run.cells) EXPECT_EQ(cell.control_top, 5 + 345 + 10);
    expect_rect(run.cells[0].picture, 46, 5 + 37, 360, 270);
    expect_rect(run.cells[1].picture, 436 + 51, 5, 258, 345);
    expect_rect(run.cells[2].picture, 826, 5 + 37, 360, 270);
    EXPECT_EQ(run.extent.content_height, 360 + 60);
}

TEST(PanelLayoutGrid, PicturesMeasuredBeyondTheLastQuestionCountInTheRow) {
    // Question 4 alone in its row; pictures 5 and 6 exist, 6 is a portrait.
    const GridRun run = lay_out_grid({picture_quiz, 1, 0}, 4,
                                     {landscape, landscape, landscape, landscape, landscape, portrait}, 1);
    EXPECT_EQ(run.cells[3].control_top, 345 + 355);
    expect_rect(run.cells[3].picture, 46, 345 + 37, 360, 270);
}

TEST(PanelLayoutGrid, MissingPictureTakesTheWholeCellAtTheRowTop) {
    const GridRun run = lay_out_grid({picture_quiz, 1, 0}, 3, {landscape, {0, 0}, landscape}, 1);
    expect_rect(run.cells[1].picture, 436, 5, 360, 270);
}

TEST(PanelLayoutGrid, RowHeightIsTheTallestOfThree) {
    struct Case {
        int heights[3];
        int expected;
    };
    const Case cases[] = {{{270, 270, 270}, 270}, {{270, 345, 0}, 345}, {{0, 0, 0}, 0}, {{0, 0, 12}, 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(row_picture_height(c.heights), c.expected);
    }
}

TEST(PanelLayoutGrid, SoundAndVideoCellsPutBoxesBesideTheButtons) {
    struct Case {
        int quiz_kind;
        int band;
    };
    const Case cases[] = {{sound_quiz, 0}, {video_quiz, 210}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.quiz_kind);
        const GridRun run = lay_out_grid({c.quiz_kind, 1, 0}, 4, {}, 1);
        const GridCell& second = run.cells[1];
        const int ry = 5 + c.band;
        EXPECT_EQ(second.control_top, ry);
        EXPECT_TRUE(second.has_media_buttons);
        expect_rect(second.play, 436, ry, 20, 20);
        expect_rect(second.stop, 436, ry + 20, 20, 19);
        expect_rect(second.answer_boxes[0], 456, ry, 340, 20);
        expect_rect(second.feedback_labels[0], 456, ry + 19, 340, 20);
        expect_rect(second.number, 408, ry + 2, 27, 17);
        EXPECT_EQ(run.cells[3].control_top, ry + 60 + c.band);
        EXPECT_EQ(run.extent.content_height, ry + 60 + c.band + 60);
    }
}

TEST(PanelLayoutGrid, TwoBoxCellsAndCaptionsAtTheFirstColumnOnly) {
    const GridRun run = lay_out_grid({sound_quiz, 2, 0}, 4, {}, 2);
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        const GridCell& cell = run.cells[static_cast<std::size_t>(n - 1)];
        EXPECT_EQ(cell.has_captions, n == 1 || n == 4);
        const int x0 = 106 + 390 * ((n - 1) % 3);
        const int ry = n == 4 ? 65 : 5;
        EXPECT_EQ(cell.column_origin, x0);
        ASSERT_EQ(cell.box_count, 2);
        expect_rect(cell.answer_boxes[0], x0 + 20, ry, 281, 20);
        expect_rect(cell.answer_boxes[1], x0 + 20, ry + 19, 281, 20);
        expect_rect(cell.feedback_labels[0], x0 + 300, ry, 60, 20);
        expect_rect(cell.feedback_labels[1], x0 + 300, ry + 19, 60, 20);
    }
    expect_rect(run.cells[0].captions[0], 3, 7, 95, 20);
    expect_rect(run.cells[0].captions[1], 3, 27, 95, 20);
    EXPECT_EQ(run.extent.content_width, 1270);
}

TEST(PanelLayoutGrid, RevealModeAboveOneAddsTheRevealLabelAndATallerCell) {
    struct Case {
        int reveal_mode;
        bool has_reveal;
        int cell_height;
    };
    const Case cases[] = {{0, false, 60}, {1, false, 60}, {2, true, 140}, {3, true, 140}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reveal_mode);
        const GridRun run = lay_out_grid({picture_quiz, 1, c.reveal_mode}, 4,
                                         std::vector<FittedSize>(6, landscape), 1);
        EXPECT_EQ(run.cells[0].has_reveal, c.has_reveal);
        expect_rect(run.cells[2].reveal, 826, 285 + 46, 360, 65);
        EXPECT_EQ(run.cells[3].control_top, 285 + c.cell_height + 280);
        EXPECT_EQ(run.extent.content_height, 285 + c.cell_height + 280 + c.cell_height);
    }
}

TEST(PanelLayoutGrid, BoxCountsOtherThanOneAndTwoCreateNoBoxes) {
    for (int boxes : {0, 3, -1}) {
        SCOPED_TRACE(boxes);
        EXPECT_EQ(grid_cell({picture_quiz, boxes, 0}, 1, 5, 270, nullptr).box_count, 0);
    }
}

TEST(PanelLayoutGrid, ShapeCountsOneBoxInTextQuizzes) {
    QuizContent quiz;
    quiz.answers_per_question = 2;
    quiz.quiz_kind = text_quiz;
    EXPECT_EQ(grid_shape(quiz).boxes_per_question, 1);
    quiz.quiz_kind = sound_quiz;
    quiz.reveal_mode = 3;
    const GridShape shape = grid_shape(quiz);
    EXPECT_EQ(shape.boxes_per_question, 2);
    EXPECT_EQ(shape.quiz_kind, sound_quiz);
    EXPECT_EQ(shape.reveal_mode, 3);
}

TEST(PanelLayout, ShownQuestionsAndBoxesStayWithinTheIds) {
    struct Case {
        int quiz_kind;
        int answers_per_question;
        int question_count;
        int shown_questions;
        int shown_boxes;
    };
    const Case cases[] = {
        {text_quiz, 1, -3, 0, 0},       {text_quiz, 1, 0, 0, 0},        {text_quiz, 1, 45, 45, 45},
        {text_quiz, 1, 96, 96, 96},     {text_quiz, 1, 97, 96, 96},     {text_quiz, 2, 22, 22, 22},
        {picture_quiz, 2, 12, 12, 24},  {video_quiz, 2, 97, 96, 192},   {sound_quiz, 1, 9, 9, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.quiz_kind << " " << c.answers_per_question << " " << c.question_count);
        QuizContent quiz;
        quiz.quiz_kind = c.quiz_kind;
        quiz.answers_per_question = c.answers_per_question;
        quiz.question_count = c.question_count;
        EXPECT_EQ(shown_question_count(quiz), c.shown_questions);
        EXPECT_EQ(shown_box_count(quiz), c.shown_boxes);
    }
}

}  // namespace
