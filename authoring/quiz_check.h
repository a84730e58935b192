// check: everything wrong with a quiz source and the files it names, and how
// the player will grade its answers, told to its maker before the quiz is
// shared: the expected grades written in the source (tries) and warnings about
// accepted answers that grade in ways a maker does not expect. Every grade
// comes from the player's own grading (answers/grade.h).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "authoring/app_icon.h"
#include "authoring/diagnostic.h"
#include "authoring/player_format.h"
#include "authoring/quiz_model.h"
#include "authoring/quiz_source.h"

// Pixels that `text` (Windows-1252) takes in the player's answer box font; the
// tools measure it with the platform, tests give their own rule.
using TextWidth = std::function<int(const std::string& text)>;

// A code's width in the header's code box, whose font is not the answers'.
struct CodeWidth {
    TextWidth text_width;  // of a code (Windows-1252) in the code box's font
    int label_width = 0;   // of " Code :" before the box
    int margins = 0;       // the box's left and right margins together
};

// How the tools measure texts as the player shows them; either may be empty.
struct Measures {
    TextWidth answer_width;
    CodeWidth code_width;
};

// Pixels of text that the code box shows at its widest.
int code_box_text_width(const CodeWidth& code_width);

// Adds to `diagnostics` an error for each try whose grade differs, then the
// warnings, for a quiz read without error.
void check_grading(const QuizModel& quiz, const std::string& file_name, const Measures& measures,
                   Diagnostics& diagnostics);

// Inner width in pixels of box `box` (1 or 2) of the quiz's answer boxes, as the panel lays them out.
int answer_box_text_width(const QuizModel& quiz, int box);

// The grade word (Windows-1252, one of answers/grade.h) the player shows for
// `typed` (UTF-8) in box `box` (1 or 2) of question `number`, graded against
// every text the box accepts; nullptr when the box cannot hold `typed`.
const char* tried_grade(const QuizModel& quiz, int number, int box, const std::string& typed);

// What the player shows for `typed` (UTF-8) in box `box` of question `number`,
// and whether that solves the question: one line, as
// "Monnet" -> Quasiment: not solved
// False when the player's box cannot hold `typed`.
bool try_line(const QuizModel& quiz, int number, int box, const std::string& typed, std::string& line);

struct CheckSettings {
    Measures measures;                // may be empty: texts are not measured
    bool warnings_as_errors = false;  // --strict
    PictureLoading pictures;          // headers only, or converted (through a cache, with progress)
    const std::string* source_text = nullptr;  // read instead of the file, which then only places the quiz's files
};

struct QuizCheck {
    QuizModel quiz;
    std::vector<QuestionData> data;  // one per question
    AppIcon icon;
    Diagnostics diagnostics;  // the source's, its files', then the grading's
};

// Reads the source at `source_path`, loads the files it names and, when the
// source reads without error, checks its grading.
QuizCheck check_quiz(const std::string& source_path, const CheckSettings& settings);
