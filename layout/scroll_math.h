// Scroll arithmetic of the question panel: one scroll unit is one pixel.
#pragma once

#include "layout/panel_layout.h"

// Scroll requests, with the values of the platform's SB_ codes. Horizontal
// requests share the values: line left 0, line right 1, page left 2, page right 3.
constexpr int scroll_line_up = 0;
constexpr int scroll_line_down = 1;
constexpr int scroll_page_up = 2;
constexpr int scroll_page_down = 3;
constexpr int scroll_thumb_position = 4;
constexpr int scroll_thumb_track = 5;
constexpr int scroll_top = 6;
constexpr int scroll_bottom = 7;

constexpr int vertical_line_step = 50;  // the horizontal line: column_share

enum class ScrollAxis { vertical, horizontal };

// What the scroll bar reports before a request.
struct ScrollBarState {
    int position = 0;
    int minimum = 0;
    int maximum = 0;
    int page = 0;
    int track_position = 0;
};

// The position a request asks for, a line being `line` pixels, clamped to
// minimum .. maximum. The bar itself then keeps at most maximum - page + 1.
int requested_position(ScrollAxis axis, int request, const ScrollBarState& bar, int line);

// Range and page to give a bar for content of content_size pixels shown in
// visible_size pixels; resets_position when everything fits.
struct ScrollRange {
    int maximum = 0;
    int page = 0;
    bool resets_position = false;
};
ScrollRange scroll_range(int content_size, int visible_size);

struct ScrollPoint {
    int x = 0;
    int y = 0;
};

// The scroll position nearest `current` at which a view of view_width x
// view_height shows the area: its whole cell when the cell fits the view, else
// its box (from its top left corner when even the box does not fit).
ScrollPoint position_showing(const FocusArea& area, ScrollPoint current, int view_width, int view_height);

// After the view scrolled from `before` to `after` with box `focused` (an index
// into areas) in focus: the box wholly in view whose place in the view is
// nearest the place the focused box had; `focused` itself when none is in view.
int box_at_same_place(const FocusArea* areas, int count, int focused, ScrollPoint before, ScrollPoint after,
                      int view_width, int view_height);
