// The quiz as its maker writes it: UTF-8 texts, a vector of questions, each
// field with the place in the source it was read from. The source reader fills
// it; the checker, `try`, the builder and the source writer work on it; the
// player's format (Windows-1252, quiz_data/) is made from it only when packing.
#pragma once

#include <string>
#include <vector>

#include "authoring/code_lines.h"
#include "authoring/source_place.h"
#include "quiz_data/quiz_kinds.h"

// An expected grade written in the source: `typed` in box `box` (1 or 2) gets `grade`.
struct GradeTry {
    int box = 1;
    std::string typed;  // UTF-8
    std::string grade;  // one of the grade words, UTF-8
    SourcePlace place;
};

struct ModelQuestion {
    std::string answers[2];  // of box 1 and box 2; the second is empty in a one-box quiz
    std::vector<std::string> variants[2];  // other accepted texts of each box (`variants`, `variants_2`)
    std::string text;
    std::string reveal_text;
    // Files as the source names them, relative to its folder; empty when absent.
    std::string picture;
    std::string media;
    std::string answer_picture;
    std::vector<GradeTry> tries;  // of both boxes, in the order of the source

    // Its index among the questions of the source it was read from; -1 for a
    // question made since. The source writer carries an original question's
    // lines and comments wherever the question goes.
    int origin = -1;

    SourcePlace place;  // of its [[question]] header
    SourcePlace answer_places[2];
    SourcePlace variants_places[2];
    SourcePlace text_place;
    SourcePlace reveal_text_place;
    SourcePlace picture_place;
    SourcePlace media_place;
    SourcePlace answer_picture_place;
};

struct ModelColour {
    unsigned char red = 0x5A;
    unsigned char green = 0x5F;
    unsigned char blue = 0x96;
};

struct QuizModel {
    int kind = -1;  // a value of quiz_kinds.h; -1 while unknown
    std::string title;
    std::string creator;
    std::string explanations;
    int boxes = 1;                   // answer boxes per question: 1, or 2 (`answers`)
    std::string answer_labels[2];    // captions of the two boxes; empty without `answer_labels`
    int reveal = reveal_none;
    ModelColour colour;
    int grading = grading_exact;
    std::vector<ScoredCode> codes;   // by increasing score; see code_lines.h
    bool codes_by_score = false;     // written as a table keyed by score, not as a list
    std::string icon;                // file of the packed quiz's icon; empty: the player's
    std::vector<ModelQuestion> questions;

    SourcePlace kind_place;
    SourcePlace title_place;
    SourcePlace creator_place;
    SourcePlace explanations_place;
    SourcePlace answer_labels_place;
    SourcePlace reveal_place;
    SourcePlace colour_place;
    SourcePlace grading_place;
    SourcePlace codes_place;
    SourcePlace icon_place;
};
