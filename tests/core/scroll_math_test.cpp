#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "question_panel/scroll_math.h"

namespace {

// The highest position a platform scroll bar keeps for a range and page.
int largest_kept_position(const ScrollRange& range) {
    return range.page > 0 ? range.maximum - range.page + 1 : range.maximum;
}

TEST(ScrollRange, ContentWiderThanTheClient) {
    const ScrollRange range = scroll_range(1210, 800);
    EXPECT_EQ(range.maximum, 1208);
    EXPECT_EQ(range.page, 799);
    EXPECT_FALSE(range.resets_position);
    EXPECT_EQ(largest_kept_position(range), 410);
}

TEST(ScrollRange, ContentThatFitsResetsAndLeavesNothingToScroll) {
    struct Case {
        int content;
        int visible;
    };
    const Case cases[] = {{685, 685}, {685, 900}, {850, 1000}, {20, 400}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        const ScrollRange range = scroll_range(c.content, c.visible);
        EXPECT_TRUE(range.resets_position);
        EXPECT_EQ(range.maximum, c.content - 2);
        EXPECT_EQ(range.page, c.content - 1);
        EXPECT_EQ(largest_kept_position(range), 0);
    }
}

TEST(ScrollRange, EmptyContentOrClientKeepsMaximumAndPageAtZero) {
    struct Case {
        int content;
        int visible;
        int maximum;
        int page;
    };
    const Case cases[] = {{0, 400, 0, 0}, {1, 400, 0, 0}, {2, 400, 0, 1}, {685, 0, 683, 0}, {685, 1, 683, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.content << " in " << c.visible);
        const ScrollRange range = scroll_range(c.content, c.visible);
        EXPECT_EQ(range.maximum, c.maximum);
        EXPECT_EQ(range.page, c.page);
    }
}

struct RequestCase {
    const char* label;
    ScrollAxis axis;
    int request;
    ScrollBarState bar;
    int expected;
};

// A panel 685 high shown 400 high: maximum 683, page 399.
constexpr ScrollBarState tall{0, 0, 683, 399, 0};
constexpr ScrollBarState tall_at_200{200, 0, 683, 399, 120};
// Content 1210 wide in 800: maximum 1208, page 799.
constexpr ScrollBarState wide{0, 0, 1208, 799, 0};
constexpr ScrollBarState wide_at_410{410, 0, 1208, 799, 37};

void PrintTo(const RequestCase& c, std::ostream* out) { *out << c.label; }

class ScrollRequest : public testing::TestWithParam<RequestCase> {};

TEST_P(ScrollRequest, NewPosition) {
    const RequestCase& c = GetParam();
    EXPECT_EQ(requested_position(c.axis, c.request, c.bar), c.expected);
}

const ScrollAxis V = ScrollAxis::vertical;
const ScrollAxis H = ScrollAxis::horizontal;

INSTANTIATE_TEST_SUITE_P(
    Vertical, ScrollRequest,
    testing::Values(RequestCase{"line down from 0", V, scroll_line_down, tall, 50},
                    RequestCase{"line up from 200", V, scroll_line_up, tall_at_200, 150},
                    RequestCase{"line up at 0 clamps", V, scroll_line_up, tall, 0},
                    RequestCase{"page down", V, scroll_page_down, tall_at_200, 599},
                    RequestCase{"page up clamps", V, scroll_page_up, tall_at_200, 0},
                    RequestCase{"page down twice past the end", V, scroll_page_down, {599, 0, 683, 399, 0}, 683},
                    RequestCase{"thumb position stays", V, scroll_thumb_position, tall_at_200, 200},
                    RequestCase{"thumb track", V, scroll_thumb_track, tall_at_200, 120},
                    RequestCase{"thumb track past the end", V, scroll_thumb_track, {0, 0, 683, 399, 900}, 683},
                    RequestCase{"top", V, scroll_top, tall_at_200, 0},
                    RequestCase{"bottom is the maximum", V, scroll_bottom, tall, 683},
                    RequestCase{"end scroll stays", V, 8, tall_at_200, 200},
                    RequestCase{"unknown request stays", V, 99, tall_at_200, 200},
                    RequestCase{"below a raised minimum", V, scroll_line_up, {20, 10, 683, 399, 0}, 10}),
    [](const testing::TestParamInfo<RequestCase>& info) { return "case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    Horizontal, ScrollRequest,
    testing::Values(RequestCase{"line right is one pixel", H, scroll_line_down, wide, 1},
                    RequestCase{"line left is one pixel", H, scroll_line_up, wide_at_410, 409},
                    RequestCase{"page right", H, scroll_page_down, wide, 799},
                    RequestCase{"page right from 410", H, scroll_page_down, wide_at_410, 1208},
                    RequestCase{"page left", H, scroll_page_up, wide_at_410, 0},
                    RequestCase{"thumb track", H, scroll_thumb_track, wide_at_410, 37},
                    RequestCase{"SB_LEFT stays", H, scroll_top, wide_at_410, 410},
                    RequestCase{"SB_RIGHT stays", H, scroll_bottom, wide, 0},
                    RequestCase{"end scroll stays", H, 8, wide_at_410, 410}),
    [](const testing::TestParamInfo<RequestCase>& info) { return "case" + std::to_string(info.index); });

}  // namespace
