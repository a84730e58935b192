#include "quiz_data/quiz_record.h"

QuizRecord* quiz = nullptr;

namespace {

HBRUSH solid_brush(BYTE red, BYTE green, BYTE blue) { return CreateSolidBrush(RGB(red, green, blue)); }

HFONT create_score_font() {
    LOGFONTA font = {};  // empty face name: the system picks the face
    font.lfHeight = 25;
    font.lfWeight = 400;
    return CreateFontIndirectA(&font);
}

}  // namespace

QuizRecord::QuizRecord()
    : score_font(create_score_font()),
      colour_brush(solid_brush(colour_red, colour_green, colour_blue)),
      brush_red(solid_brush(255, 0, 0)),
      brush_green(solid_brush(0, 255, 0)),
      brush_orange(solid_brush(255, 100, 0)),
      brush_amber(solid_brush(255, 203, 38)),
      brush_pale_yellow(solid_brush(255, 255, 192)) {}

void QuizRecord::update_colour_brush() {
    colour_brush.reset(solid_brush(colour_red, colour_green, colour_blue));
}
