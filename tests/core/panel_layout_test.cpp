// Where the question panel puts its controls, how it scrolls and how pictures fit.
#include <gtest/gtest.h>

#include <vector>

#include "layout/panel_layout.h"
#include "layout/scroll_math.h"
#include "quiz_data/quiz_content.h"

namespace {

std::vector<int> rect(const ControlRect& r) { return {r.x, r.y, r.width, r.height}; }

// Cells of a grid quiz, each row measured from its three pictures (index 0 is
// question 1; entries past the end are missing), and the content extent.
struct Grid {
    std::vector<GridCell> cells;
    PanelExtent extent;
};
Grid lay_out(const GridShape& shape, int count, const std::vector<FittedSize>& pictures = {}) {
    Grid grid;
    int row_height = 0;
    const auto picture = [&](int index) { return index < static_cast<int>(pictures.size()) ? &pictures[index] : nullptr; };
    for (int n = 1; n <= count; ++n) {
        if (starts_grid_row(n)) {
            int heights[3] = {};
            for (int m = 0; m < 3; ++m) heights[m] = picture(n - 1 + m) ? picture(n - 1 + m)->height : 0;
            row_height = row_picture_height(heights);
        }
        const FittedSize* own = picture(n - 1) && picture(n - 1)->height > 0 ? picture(n - 1) : nullptr;
        grid.cells.push_back(grid_cell(shape, n, grid.extent.row_top, row_height, own));
        add_grid_cell(grid.extent, n, grid.cells.back());
    }
    add_right_margin(grid.extent, shape.boxes_per_question);
    return grid;
}

const FittedSize landscape{360, 270};
const FittedSize portrait{258, 345};

TEST(PanelLayout, TextRows) {
    const TextRow row = text_row(2);
    EXPECT_EQ(rect(row.number), (std::vector<int>{26, 32, 19, 17}));
    EXPECT_EQ(rect(row.question), (std::vector<int>{50, 30, 550, 20}));
    EXPECT_EQ(rect(row.answer_box), (std::vector<int>{610, 30, 100, 20}));
    EXPECT_EQ(rect(row.feedback), (std::vector<int>{720, 30, 100, 20}));
    PanelExtent extent;
    for (int n = 1; n <= 3; ++n) add_text_row(extent, text_row(n));
    add_right_margin(extent, 2);
    EXPECT_EQ(extent.content_width, 910);
    EXPECT_EQ(extent.content_height, 80);
}

TEST(PanelLayout, PictureGrid) {
    // Question 4 opens the second row, measured with pictures 5 and 6 that no question shows.
    Grid grid = lay_out({picture_quiz, 1, 0}, 4, {landscape, landscape, landscape, landscape, landscape, portrait});
    EXPECT_EQ(rect(grid.cells[1].picture), (std::vector<int>{436, 5, 360, 270}));
    EXPECT_EQ(rect(grid.cells[1].feedback_labels[0]), (std::vector<int>{436, 304, 360, 20}));
    EXPECT_EQ(rect(grid.cells[1].number), (std::vector<int>{408, 287, 27, 17}));
    EXPECT_EQ(rect(grid.cells[3].picture), (std::vector<int>{46, 345 + 37, 360, 270}));  // centred in a tall row
    EXPECT_EQ(grid.cells[3].control_top, 345 + 355);
    EXPECT_EQ(grid.extent.content_height, 760);
    EXPECT_FALSE(grid.cells[0].has_media_buttons || grid.cells[0].has_captions || grid.cells[0].has_reveal);

    grid = lay_out({picture_quiz, 1, 2}, 3, {portrait, {0, 0}, landscape});
    EXPECT_EQ(rect(grid.cells[0].picture), (std::vector<int>{46 + 51, 5, 258, 345}));
    EXPECT_EQ(rect(grid.cells[1].picture), (std::vector<int>{436, 5, 360, 345}));  // missing: the whole cell
    EXPECT_EQ(rect(grid.cells[2].reveal), (std::vector<int>{826, 360 + 46, 360, 65}));
    EXPECT_EQ(grid.extent.content_height, 360 + 140);
    EXPECT_EQ(lay_out({picture_quiz, 1, 1}, 1).cells[0].has_reveal, false);
    EXPECT_EQ(lay_out({picture_quiz, 3, 0}, 1).cells[0].box_count, 0);
}

TEST(PanelLayout, MediaAndTwoBoxGrids) {
    for (int kind : {sound_quiz, video_quiz}) {
        const int ry = kind == video_quiz ? 215 : 5;
        const Grid grid = lay_out({kind, 1, 0}, 4);
        EXPECT_TRUE(grid.cells[1].has_media_buttons);
        EXPECT_EQ(rect(grid.cells[1].play), (std::vector<int>{436, ry, 20, 20}));
        EXPECT_EQ(rect(grid.cells[1].stop), (std::vector<int>{436, ry + 20, 20, 19}));
        EXPECT_EQ(rect(grid.cells[1].answer_boxes[0]), (std::vector<int>{456, ry, 340, 20}));
        EXPECT_EQ(grid.cells[3].control_top, ry + 60 + ry - 5);
    }
    const Grid grid = lay_out({sound_quiz, 2, 0}, 4);
    EXPECT_EQ(rect(grid.cells[1].answer_boxes[1]), (std::vector<int>{516, 24, 281, 20}));
    EXPECT_EQ(rect(grid.cells[3].captions[1]), (std::vector<int>{3, 87, 95, 20}));
    EXPECT_EQ(grid.cells[3].has_captions && !grid.cells[2].has_captions, true);
    EXPECT_EQ(grid.extent.content_width, 1270);
}

TEST(PanelLayout, ShownQuestionsAndBoxes) {
    QuizContent quiz;
    quiz.answers_per_question = 2;
    for (int count : {-3, 97}) {
        quiz.question_count = count;
        EXPECT_EQ(shown_box_count(quiz), count < 0 ? 0 : 96);  // a text quiz has one box per question
    }
    quiz.quiz_kind = video_quiz;
    EXPECT_EQ(shown_box_count(quiz), 192);
    EXPECT_EQ(grid_shape(quiz).boxes_per_question, 2);
}

// The horizontal bar's lines, pages and start are played on a real panel.
TEST(ScrollMath, RequestsAndRanges) {
    const ScrollAxis v = ScrollAxis::vertical, h = ScrollAxis::horizontal;
    const ScrollBarState at_200{200, 0, 683, 399, 120};
    const struct {
        ScrollAxis axis;
        int request;
        ScrollBarState bar;
        int position;
    } cases[] = {
        {v, scroll_line_up, at_200, 150},       {v, scroll_line_down, {683, 0, 683, 399, 0}, 683},
        {v, scroll_page_down, at_200, 599},     {v, scroll_page_up, {683, 0, 683, 399, 0}, 284},
        {v, scroll_thumb_track, at_200, 120},   {v, scroll_thumb_position, at_200, 200},
        {v, scroll_bottom, at_200, 683},        {h, scroll_bottom, at_200, 200},
        {v, scroll_line_up, {20, 10, 683, 399, 0}, 10},
    };
    for (const auto& c : cases) EXPECT_EQ(requested_position(c.axis, c.request, c.bar), c.position) << &c - cases;

    const struct {
        int content, visible, maximum, page;
        bool resets;
    } ranges[] = {{1210, 800, 1208, 799, false}, {685, 685, 683, 684, true}, {1, 400, 0, 0, true}, {685, 1, 683, 0, false}};
    for (const auto& r : ranges) {
        const ScrollRange range = scroll_range(r.content, r.visible);
        EXPECT_EQ(std::vector<int>({range.maximum, range.page, range.resets_position}),
                  std::vector<int>({r.maximum, r.page, r.resets}));
    }
}

TEST(PictureFit, KeepsProportionsInsideTheBox) {
    const int cases[][4] = {
        {400, 300, 360, 270}, {300, 400, 258, 345}, {100, 100, 345, 345},  // enlarged
        {720, 690, 360, 345}, {100, 299, 115, 344}, {0, 300, 0, 0},
    };
    for (const auto& c : cases) {
        const FittedSize fitted = fit_picture(c[0], c[1], picture_box_width, picture_box_height);
        EXPECT_EQ(std::vector<int>({fitted.width, fitted.height}), std::vector<int>({c[2], c[3]})) << c[0] << "x" << c[1];
    }
}

}  // namespace
