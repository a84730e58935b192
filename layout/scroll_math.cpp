#include "layout/scroll_math.h"

namespace {

int unclamped_position(ScrollAxis axis, int request, const ScrollBarState& bar, int line) {
    const bool vertical = axis == ScrollAxis::vertical;
    switch (request) {
    case scroll_line_up: return bar.position - line;
    case scroll_line_down: return bar.position + line;
    case scroll_page_up: return bar.position - bar.page;
    case scroll_page_down: return bar.position + bar.page;
    case scroll_thumb_track: return bar.track_position;
    // Only the vertical bar jumps to its ends; SB_LEFT and SB_RIGHT stay put.
    case scroll_top: return vertical ? 0 : bar.position;
    case scroll_bottom: return vertical ? bar.maximum : bar.position;
    default: return bar.position;  // thumb position, end of scroll, anything else
    }
}

// Along one axis: the position nearest `position` that shows start .. start + size.
int least_movement(int position, int start, int size, int view) {
    if (size > view || start < position) return start;
    if (start + size > position + view) return start + size - view;
    return position;
}

bool wholly_in_view(const ControlRect& rect, ScrollPoint view, int view_width, int view_height) {
    return rect.x >= view.x && rect.y >= view.y && rect.x + rect.width <= view.x + view_width &&
           rect.y + rect.height <= view.y + view_height;
}

int distance(int a, int b) { return a > b ? a - b : b - a; }

}  // namespace

int requested_position(ScrollAxis axis, int request, const ScrollBarState& bar, int line) {
    int position = unclamped_position(axis, request, bar, line);
    if (position > bar.maximum) position = bar.maximum;
    if (position < bar.minimum) position = bar.minimum;
    return position;
}

ScrollRange scroll_range(int content_size, int visible_size) {
    ScrollRange range;
    range.resets_position = content_size <= visible_size;
    const int page = range.resets_position ? content_size : visible_size;
    // Content or client of under two pixels would give a negative maximum or a
    // page that wraps round as an unsigned value: keep both at 0 instead.
    range.maximum = content_size > 2 ? content_size - 2 : 0;
    range.page = page > 1 ? page - 1 : 0;
    return range;
}

ScrollPoint position_showing(const FocusArea& area, ScrollPoint current, int view_width, int view_height) {
    const bool cell_fits = area.cell.width <= view_width && area.cell.height <= view_height;
    const ControlRect& shown = cell_fits ? area.cell : area.box;
    return {least_movement(current.x, shown.x, shown.width, view_width),
            least_movement(current.y, shown.y, shown.height, view_height)};
}

int box_at_same_place(const FocusArea* areas, int count, int focused, ScrollPoint before, ScrollPoint after,
                      int view_width, int view_height) {
    const int place_x = areas[focused].box.x - before.x;
    const int place_y = areas[focused].box.y - before.y;
    int nearest = focused;
    int nearest_distance = -1;
    for (int i = 0; i < count; ++i) {
        const ControlRect& box = areas[i].box;
        if (!wholly_in_view(box, after, view_width, view_height)) continue;
        const int d = distance(box.x - after.x, place_x) + distance(box.y - after.y, place_y);
        if (nearest_distance < 0 || d < nearest_distance) {
            nearest = i;
            nearest_distance = d;
        }
    }
    return nearest;
}
