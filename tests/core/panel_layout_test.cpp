// Where the question panel puts its controls, how it scrolls and follows the
// focus, how pictures fit; the first window's size, the remembered placement's
// screens, and the places of the main window's and the header's controls as
// their texts grow.
#include <gtest/gtest.h>

#include <vector>

#include "layout/panel_layout.h"
#include "layout/scroll_math.h"
#include "layout/window_layout.h"
#include "quiz_data/quiz_content.h"

namespace {

std::vector<int> rect(const ControlRect& r) { return {r.x, r.y, r.width, r.height}; }
std::vector<int> rect(const ScreenRect& r) { return {r.left, r.top, r.right, r.bottom}; }

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
    EXPECT_EQ(extent.first_row_bottom, 30);
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
    EXPECT_EQ(grid.extent.first_row_bottom, 345);
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
    EXPECT_EQ(rect(grid.cells[3].captions[1]), (std::vector<int>{3, 87, 75, 20}));  // up to the number label
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
    for (const auto& c : cases) EXPECT_EQ(requested_position(c.axis, c.request, c.bar, 50), c.position) << &c - cases;

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

// A focused box is brought into a view of 800 x 400 with the least movement: its
// whole cell when that fits, else the box and its feedback label.
TEST(ScrollMath, FocusFollowed) {
    const GridCell second_row = lay_out({picture_quiz, 1, 2}, 5, {landscape, landscape, landscape, portrait}).cells[4];
    const FocusArea picture_cell = focus_area(second_row, 0);  // the row at y 425, boxes at 780
    EXPECT_EQ(rect(picture_cell.cell), (std::vector<int>{436, 425, 360, 394}));
    const FocusArea sound_cell = focus_area(lay_out({sound_quiz, 2, 0}, 2).cells[1], 1);
    EXPECT_EQ(rect(sound_cell.cell), (std::vector<int>{496, 5, 360, 39}));  // with the play and stop buttons
    const struct {
        FocusArea area;
        ScrollPoint from;
        int view_height;
        std::vector<int> to;
    } cases[] = {
        {picture_cell, {0, 0}, 400, {0, 419}},        // below: its bottom comes to the view's bottom
        {picture_cell, {500, 900}, 400, {436, 425}},  // right of and below it: its left and top
        {picture_cell, {400, 425}, 400, {400, 425}},  // in view: nothing moves
        {picture_cell, {0, 0}, 300, {0, 519}},        // the cell is too high: the box and its label
        {focus_area(text_row(30)), {0, 0}, 10, {20, 730}},  // even the box is too high: its top
    };
    for (const auto& c : cases) {
        const ScrollPoint to = position_showing(c.area, c.from, 800, c.view_height);
        EXPECT_EQ(std::vector<int>({to.x, to.y}), c.to) << &c - cases;
    }
}

// Paging from a focused box gives the focus to the box now nearest its place in view.
TEST(ScrollMath, FocusAfterPaging) {
    FocusArea rows[30];
    for (int n = 1; n <= 30; ++n) rows[n - 1] = focus_area(text_row(n));
    const int cases[][5] = {
        // focused box, scroll position before and after, view height, the box that takes the focus
        {2, 0, 399, 400, 18},   // box 3 at 55 in view: box 19 is at 56 after a page
        {2, 0, 0, 400, 2},      // the view stayed: the box keeps the focus
        {29, 350, 0, 400, 15},  // box 30 at 380 in view was last: box 16 is lowest in view after
        {2, 0, 399, 10, 2},     // no box wholly in view: the focus stays
    };
    for (const auto& c : cases)
        EXPECT_EQ(box_at_same_place(rows, 30, c[0], {0, c[1]}, {0, c[2]}, 850, c[3]), c[4]) << c[0] << " " << c[2];
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

TEST(WindowLayout, FirstWindow) {
    const ScreenRect screen{0, 0, 1024, 768};
    const TextSize surround{40, 100};
    const struct {
        int rows_width, first_row_bottom;
        ScreenRect work_area;
        std::vector<int> window;
    } cases[] = {
        {400, 30, screen, {240, 196, 784, 571}},                // at least the former 544 x 375
        {1210, 500, screen, {0, 84, 1024, 684}},                // as wide as the screen allows
        {1210, 500, {0, 0, 1920, 1040}, {335, 220, 1585, 820}},  // the whole rows' width
        {1210, 700, {100, 30, 900, 630}, {100, 30, 900, 630}},  // a small work area, beside a taskbar
    };
    for (const auto& c : cases)
        EXPECT_EQ(rect(first_window_rect(c.rows_width, c.first_row_bottom, surround, c.work_area)), c.window)
            << c.rows_width << " " << c.first_row_bottom;
}

TEST(WindowLayout, PlacementFitsAScreen) {
    const ScreenRect screens[] = {{0, 0, 1024, 768}, {1024, 0, 2944, 1080}};
    const struct {
        ScreenRect window;
        int screen_count;
        bool fits;
    } cases[] = {
        {{-7, 0, 700, 775}, 2, true},      // snapped to the edges: invisible borders pass them
        {{-17, 0, 700, 500}, 2, false},    // further off the screen
        {{1200, 500, 2000, 1000}, 2, true},  // on the second screen
        {{1200, 500, 2000, 1000}, 1, false},  // the second screen is gone
        {{900, 100, 1300, 400}, 2, false},  // across both screens
        {{100, 100, 100, 400}, 2, false},   // no width
    };
    for (const auto& c : cases) EXPECT_EQ(placement_fits(c.window, screens, c.screen_count), c.fits) << rect(c.window)[0];
}

// The version label takes its text's size and the panel gives up the height it needs.
TEST(WindowLayout, MainWindow) {
    const MainLayout fitting = main_layout(900, 600, {150, 13});
    EXPECT_EQ(rect(fitting.version_label), (std::vector<int>{715, 584, 180, 15}));
    EXPECT_EQ(rect(fitting.question_panel), (std::vector<int>{5, 50, 889, 532}));
    const MainLayout larger = main_layout(900, 600, {319, 20});
    EXPECT_EQ(rect(larger.version_label), (std::vector<int>{576, 579, 319, 20}));
    EXPECT_EQ(rect(larger.question_panel), (std::vector<int>{5, 50, 889, 527}));
}

// A header 870 wide and 47 high: texts that fit keep their places; grown texts
// (a 20-pixel line, a 24-pixel title) push their neighbours, keeping the edges.
TEST(WindowLayout, Header) {
    const HeaderTextSizes fitting{13, {150, 16}, 25, 30, 45};
    const HeaderLayout kept = header_layout(fitting, 870, 47);
    EXPECT_EQ(rect(kept.title), (std::vector<int>{110, 3, 220, 16}));
    EXPECT_EQ(rect(kept.creator), (std::vector<int>{763, 25, 105, 18}));

    HeaderTextSizes grown{20, {600, 24}, 40, 60, 80};
    const HeaderLayout wide = header_layout(grown, 870, 47);
    EXPECT_EQ(rect(wide.code_label), (std::vector<int>{10, 27, 60, 20}));  // raised to stay inside
    EXPECT_EQ(rect(wide.code_box), (std::vector<int>{71, 27, 80, 20}));
    EXPECT_EQ(rect(wide.rule_after_score), (std::vector<int>{154, 0, 1, 50}));
    EXPECT_EQ(rect(wide.title), (std::vector<int>{164, 3, 492, 24}));  // up to the explanations' right edge
    EXPECT_EQ(rect(wide.explanations), (std::vector<int>{164, 27, 492, 20}));  // under the title
    EXPECT_EQ(rect(wide.creator), (std::vector<int>{776, 25, 92, 20}));  // after "Par : ", to the same edge
    grown.code_width = 400;  // a code longer still ends with an ellipsis
    EXPECT_EQ(rect(header_layout(grown, 870, 47).rule_after_score), (std::vector<int>{200, 0, 1, 50}));
}

}  // namespace
