// Scrolling the question panel: bar requests, the wheel and resizing, with the
// controls moving by exactly the amount the bars accepted.
#include <windows.h>

#include <gtest/gtest.h>

#include "question_panel_harness.h"

namespace panel_test {
namespace {

// A picture quiz of four: content 1210 x 685, shown in 800 x 400.
class PanelScroll : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        ShowWindow(top, SW_SHOWNORMAL);  // ScrollWindow moves nothing in a hidden window
        fill_numbered(picture_quiz, 1, 0, 4);
        create_panel(800, 400);
    }
    int horizontal() const { return GetScrollPos(panel, SB_HORZ); }
    int vertical() const { return GetScrollPos(panel, SB_VERT); }
    void scroll(UINT message, WORD request) {
        SendMessageA(panel, message, request, 0);
        pump(panel);
    }
    // Box 4001 sits at (46, 285) in content coordinates.
    void expect_first_box_at(int x, int y) {
        const RECT rect = rect_in_parent(box(1));
        EXPECT_EQ(rect.left, x);
        EXPECT_EQ(rect.top, y);
    }
    void wheel(HWND target, short distance) {
        PostMessageA(target, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(distance)), MAKELPARAM(300, 300));
        pump(panel);
    }
};

TEST_F(PanelScroll, VerticalRequests) {
    struct Step {
        const char* label;
        WORD request;
        int position;
    };
    const Step steps[] = {
        {"line down", SB_LINEDOWN, 50},  {"line down", SB_LINEDOWN, 100},   {"line up", SB_LINEUP, 50},
        {"page down", SB_PAGEDOWN, 285}, {"line down at the end", SB_LINEDOWN, 285}, {"page up", SB_PAGEUP, 0},
        {"bottom", SB_BOTTOM, 285},      {"thumb position", SB_THUMBPOSITION, 285},  {"end scroll", SB_ENDSCROLL, 285},
        {"top", SB_TOP, 0},              {"line up at the top", SB_LINEUP, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.label);
        scroll(WM_VSCROLL, step.request);
        EXPECT_EQ(vertical(), step.position);
        expect_first_box_at(46, 285 - step.position);
        EXPECT_EQ(horizontal(), 0);
    }
}

TEST_F(PanelScroll, HorizontalRequests) {
    struct Step {
        const char* label;
        WORD request;
        int position;
    };
    const Step steps[] = {
        {"line right is one pixel", SB_LINERIGHT, 1}, {"line left", SB_LINELEFT, 0},
        {"page right stops at 410", SB_PAGERIGHT, 410}, {"line right at the end", SB_LINERIGHT, 410},
        {"SB_LEFT does not move", SB_LEFT, 410},      {"page left", SB_PAGELEFT, 0},
        {"SB_RIGHT does not move", SB_RIGHT, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.label);
        scroll(WM_HSCROLL, step.request);
        EXPECT_EQ(horizontal(), step.position);
        expect_first_box_at(46 - step.position, 285);
    }
}

TEST_F(PanelScroll, OneNotchScrollsOneLineWhereverItArrives) {
    scroll(WM_VSCROLL, SB_PAGEDOWN);
    ASSERT_EQ(vertical(), 285);
    wheel(panel, 120);
    EXPECT_EQ(vertical(), 235);
    wheel(panel, 240);  // two notches in one report: ignored
    EXPECT_EQ(vertical(), 235);
    wheel(panel, 120);
    wheel(panel, 120);
    EXPECT_EQ(vertical(), 135);
    wheel(box(2), -120);  // at the focused box: the edit hands it to the panel
    EXPECT_EQ(vertical(), 185);
    wheel(panel, -240);
    wheel(panel, 60);
    EXPECT_EQ(vertical(), 185);
    expect_first_box_at(46, 100);
    EXPECT_EQ(wheel_messages_at_top, 0);  // the main window never sees a notch the panel took
}

TEST_F(PanelScroll, EnlargingUntilEverythingFitsBringsTheControlsBack) {
    scroll(WM_VSCROLL, SB_BOTTOM);
    scroll(WM_HSCROLL, SB_PAGERIGHT);
    expect_first_box_at(46 - 410, 0);
    resize_client(1300, 800);
    pump(panel);
    EXPECT_EQ(horizontal(), 0);
    EXPECT_EQ(vertical(), 0);
    expect_first_box_at(46, 285);
    expect_rect(item(9904), {46, 345, 360, 270});
    // the bars stay, disabled
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(panel, GWL_STYLE));
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_TRUE(style & WS_HSCROLL);
    SCROLLBARINFO bar = {};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetScrollBarInfo(panel, OBJID_VSCROLL, &bar));
    EXPECT_TRUE(bar.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
}

TEST_F(PanelScroll, ShrinkingKeepsContentAndBarsTogether) {
    scroll(WM_VSCROLL, SB_BOTTOM);
    ASSERT_EQ(vertical(), 285);
    resize_client(800, 600);  // the largest position is now 85
    pump(panel);
    EXPECT_EQ(vertical(), 85);
    expect_first_box_at(46, 200);
    resize_client(800, 300);
    pump(panel);
    EXPECT_EQ(vertical(), 85);
    scroll(WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(vertical(), 385);
    expect_first_box_at(46, 285 - 385);
}

}  // namespace
}  // namespace panel_test
