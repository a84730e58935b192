// Where the main window puts its panels and version label, where the header
// panel puts its controls, the first window's size and whether a remembered
// placement still fits the screens: pure.
#pragma once

#include "layout/panel_layout.h"

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

inline bool operator==(const ScreenRect& a, const ScreenRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

struct TextSize {
    int width = 0;
    int height = 0;
};

// The main window's client area of client_width x client_height: the header on
// top, the question panel under it, the version label in the bottom right
// corner, as wide and high as its text needs.
struct MainLayout {
    ControlRect header;
    ControlRect question_panel;
    ControlRect version_label;
};
MainLayout main_layout(int client_width, int client_height, TextSize version_text);

// The header's texts as measured in their fonts. Explanations, creator, "Par : ",
// " Code :" and the code box share the stock font's line height.
constexpr const char* code_label_text = " Code :";

struct HeaderTextSizes {
    int line_height = 0;
    TextSize title;
    int creator_prefix_width = 0;  // "Par : "
    int code_label_width = 0;      // " Code :"
    int code_width = 0;            // the widest code, with the code box's margins
};

struct HeaderLayout {
    ControlRect link, creator_prefix, creator, save_button, explanations, title;
    ControlRect code_box, code_label;
    ControlRect rule_under_score, rule_after_score, rule_before_right;
};
// The header of client width x height: the score block on the left, as wide as
// its code needs; title and explanations beside it; the right-hand block
// following the right edge. Controls keep their places while their texts fit.
HeaderLayout header_layout(const HeaderTextSizes& text, int width, int height);

// The first window, for rows `rows_width` wide whose first row ends at
// first_row_bottom: large enough to show that row whole and the rows' width, at
// least the former fixed size, at most the work area; centred in the work area.
// `surround` is what the window adds around the question panel's client area.
ScreenRect first_window_rect(int rows_width, int first_row_bottom, TextSize surround, const ScreenRect& work_area);

// A remembered window rectangle is used again only where one screen still holds
// it, give or take the invisible borders of a window snapped to a screen's edge.
bool placement_fits(const ScreenRect& window, const ScreenRect* screens, int screen_count);
