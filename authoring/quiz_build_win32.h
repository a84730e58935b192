// build: a quiz source checked, then packed into a copy of the player; and the
// platform's measures of texts in the player's fonts, which check uses.
#pragma once

#include <string>

#include "authoring/diagnostic.h"
#include "authoring/quiz_check.h"

// Answers in the answer box font, codes in the header's; a width is 0 when no
// device context can be had (the width warnings are then left out).
Measures player_measures();

struct BuildSettings {
    std::string output;         // empty: FOLDER/FOLDER.exe beside the source (default_output)
    std::string template_path;  // empty: devinette.exe beside the running program
    bool warnings_as_errors = false;
    PictureProgress progress;
    const std::string* source_text = nullptr;  // built instead of the saved source (the editor's unsaved state)
};

struct QuizBuild {
    QuizCheck check;       // nothing is written when it holds an error
    Diagnostics failures;  // what stopped the packing once the check passed
    std::string output;    // the executable written
    long long size = 0;    // its bytes
};

// Checks the source, then writes the packed quiz as a copy of the template
// that appears whole or not at all; the template never changes.
QuizBuild build_quiz(const std::string& source_path, const BuildSettings& settings);
