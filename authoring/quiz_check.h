// How the player will grade a quiz's answers, told to its maker before the quiz
// is shared: the expected grades written in the source (tries) and warnings
// about accepted answers that grade in ways a maker does not expect. Every grade
// comes from the player's own grading (answers/grade.h).
#pragma once

#include <functional>
#include <string>

#include "authoring/quiz_source.h"

// Pixels that `text` (Windows-1252) takes in the player's answer box font; the
// tool measures it with the platform, tests give their own rule.
using TextWidth = std::function<int(const std::string& text)>;

struct GradingCheck {
    std::string errors;    // one line per try whose grade differs
    std::string warnings;  // one line per warning
    int error_count = 0;
    int warning_count = 0;
};

// Checks a source that was read without error; `text_width` may be empty.
GradingCheck check_grading(const QuizSource& source, const TextWidth& text_width);

// Inner width in pixels of box `box` (1 or 2) of the quiz's answer boxes, as the panel lays them out.
int answer_box_text_width(const QuizContent& quiz, int box);

// What the player shows for `typed` (Windows-1252) in box `box` of question
// `number`, and whether that solves the question: one line in UTF-8, as
// "Monnet" -> Quasiment: not solved
std::string try_line(const QuizContent& quiz, int number, int box, const std::string& typed);
