#include "layout/window_layout.h"

namespace {

constexpr int former_window_width = 544;
constexpr int former_window_height = 375;
constexpr int snapped_border = 16;  // what a window snapped to an edge may pass it by
constexpr int score_block_width = 100;
constexpr int widest_score_block = 200;  // a longer code ends with an ellipsis
constexpr int explanations_top = 19;

int larger(int a, int b) { return a > b ? a : b; }
int smaller(int a, int b) { return a < b ? a : b; }

}  // namespace

MainLayout main_layout(int client_width, int client_height, TextSize version_text) {
    const int label_width = larger(180, version_text.width);
    const int label_height = larger(15, version_text.height);
    const int taller_label = label_height - 15;  // taken from the panel
    MainLayout layout;
    layout.header = {5, 2, client_width - 11, 49};
    layout.question_panel = {5, 50, client_width - 11, client_height - 68 - taller_label};
    layout.version_label = {client_width - 5 - label_width, client_height - 1 - label_height, label_width,
                            label_height};
    return layout;
}

HeaderLayout header_layout(const HeaderTextSizes& text, int width, int height) {
    HeaderLayout layout;
    // Score block: " Code :" then the code box, each at least its former width.
    const int code_label_width = larger(36, text.code_label_width);
    const int code_height = larger(16, text.line_height);
    const int code_top = smaller(29, height - code_height);
    layout.code_label = {10, code_top, code_label_width, larger(15, text.line_height)};
    const int code_x = 10 + code_label_width + 1;
    const int block = smaller(widest_score_block, larger(score_block_width, code_x + text.code_width + 3));
    layout.code_box = {code_x, code_top, larger(50, block - 3 - code_x), code_height};
    layout.rule_under_score = {0, 26, block, 1};
    layout.rule_after_score = {block, 0, 1, 50};

    // Title, and the explanations under it, up to the right-hand block.
    const int text_x = block + 10;
    const int text_right = width - 214;
    const int title_height = text.title.height;
    const int title_width = larger(220, smaller(text.title.width, text_right - text_x));
    layout.title = {text_x, 3, title_width, title_height};
    const int explanations_y = larger(explanations_top, 3 + title_height);
    layout.explanations = {text_x, explanations_y, text_right - text_x, height - explanations_y};

    const int right_line_height = larger(18, text.line_height);
    const int right_line_top = smaller(25, height - right_line_height);
    layout.link = {width - 134, 0, 115, 18};
    layout.creator_prefix = {width - 134, right_line_top, larger(26, text.creator_prefix_width), right_line_height};
    const int creator_x = larger(width - 107, width - 134 + layout.creator_prefix.width);
    layout.creator = {creator_x, right_line_top, width - 2 - creator_x, right_line_height};
    layout.save_button = {width - 204, 25, 55, 18};
    layout.rule_before_right = {width - 145, 0, 1, 50};
    return layout;
}

ScreenRect first_window_rect(int rows_width, int first_row_bottom, TextSize surround, const ScreenRect& work_area) {
    const int work_width = work_area.right - work_area.left;
    const int work_height = work_area.bottom - work_area.top;
    const int width = smaller(work_width, larger(former_window_width, rows_width + surround.width));
    const int height = smaller(work_height, larger(former_window_height, first_row_bottom + surround.height));
    const int left = work_area.left + (work_width - width) / 2;
    const int top = work_area.top + (work_height - height) / 2;
    return {left, top, left + width, top + height};
}

bool placement_fits(const ScreenRect& window, const ScreenRect* screens, int screen_count) {
    if (window.right <= window.left || window.bottom <= window.top) return false;
    for (int i = 0; i < screen_count; ++i) {
        const ScreenRect& screen = screens[i];
        if (window.left >= screen.left - snapped_border && window.top >= screen.top - snapped_border &&
            window.right <= screen.right + snapped_border && window.bottom <= screen.bottom + snapped_border)
            return true;
    }
    return false;
}
