// Grading of one answer box with its feedback, reveal, score and code.
#pragma once

#include <windows.h>

struct QuizRecord;

void evaluate_answer(QuizRecord& quiz, HWND question_panel, int answer_box_id);
void update_score(QuizRecord& quiz, HWND question_panel);

// While one is alive, evaluations leave the score alone; when the last one ends
// the score is recounted once, if anything was evaluated. Building the rows
// evaluates every box, and recounting all labels after each would be quadratic.
class DeferredScoreRecount {
public:
    DeferredScoreRecount(QuizRecord& quiz, HWND question_panel);
    DeferredScoreRecount(const DeferredScoreRecount&) = delete;
    DeferredScoreRecount& operator=(const DeferredScoreRecount&) = delete;
    ~DeferredScoreRecount();

private:
    QuizRecord& quiz_;
    HWND question_panel_;
};

// Text of child `id` of `parent`, at most limit - 1 bytes; empty when there is no such child.
void read_control_text(HWND parent, int id, char* text, int limit);
