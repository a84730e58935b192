// What an editor does to a quiz model: the question list's operations, and one
// history of every change for undo and redo.
#pragma once

#include <string>
#include <vector>

#include "authoring/quiz_model.h"

// Each returns the index of the question to select afterwards, or -1 when it
// changed nothing (the 96-question limit, an index out of range, a move past an end).
int insert_question(QuizModel& quiz, int index);     // an empty question before `index` (0 to size)
int duplicate_question(QuizModel& quiz, int index);  // a copy right after it, written fresh
int remove_question(QuizModel& quiz, int index);
int move_question(QuizModel& quiz, int index, int step);  // step -1: up, +1: down
int move_question_to(QuizModel& quiz, int index, int to);  // dragged to place `to`
// One question per file (relative to the source's folder), from before `index`,
// answered from the file's name as `new` answers; as many as the limit allows.
int add_file_questions(QuizModel& quiz, int index, const std::vector<std::string>& files);

// A state of the quiz and the number that tells it apart from every other one.
struct QuizState {
    QuizModel quiz;
    int number = 0;
};

// States before each change, for undo, and after each undone one, for redo.
// Typing in one field makes one step until something else is changed.
struct EditHistory {
    std::vector<QuizState> undo;
    std::vector<QuizState> redo;
    std::string typing_in;  // the field of the last change while it continues; empty otherwise
    int last_number = 0;
};

// Call before changing `current`; `field` names a text being typed into (its
// next changes join this step), empty for a change of its own. Returns the
// number the state after the change takes.
int record_change(EditHistory& history, const QuizState& current, const std::string& field = {});
// The next change starts a step of its own, whatever it edits.
void end_typing(EditHistory& history);
// Puts the state before the last change (after the last undone one) into
// `current`, keeping `current` for the way back; false when there is none.
bool undo_change(EditHistory& history, QuizState& current);
bool redo_change(EditHistory& history, QuizState& current);
