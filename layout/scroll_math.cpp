#include "layout/scroll_math.h"

namespace {

int unclamped_position(ScrollAxis axis, int request, const ScrollBarState& bar) {
    const bool vertical = axis == ScrollAxis::vertical;
    const int line = vertical ? vertical_line_step : horizontal_line_step;
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

}  // namespace

int requested_position(ScrollAxis axis, int request, const ScrollBarState& bar) {
    int position = unclamped_position(axis, request, bar);
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
