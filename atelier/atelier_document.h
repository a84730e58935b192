// The quiz the Atelier edits: its source on disk, the state being edited, its
// history and what the checks found. Plain data and functions, no window.
#pragma once

#include <string>

#include "authoring/diagnostic.h"
#include "authoring/quiz_edit.h"
#include "authoring/quiz_model.h"

struct AtelierDocument {
    std::string source_path;  // UTF-8; empty while no quiz is open
    std::string saved_text;   // the source as last read or saved: what a save rewrites
    QuizState state;
    int saved_number = 0;     // the state's number when it was read or saved
    EditHistory history;
    Diagnostics file_problems;  // of the files the quiz names, as last found (file_problems_of)
    Diagnostics problems;       // the source's and the grading's, then the files'
    unsigned long long written_at = 0;  // the source's last write time when read or saved
};

bool unsaved(const AtelierDocument& document);

// Opens a quiz.toml; a folder: its quiz.toml, made as `new` makes it when it
// has none; a packed quiz (.exe): unpacked into "NAME (source)" beside it. A
// source with errors opens too, with what could be read. False with `failure`
// when there is nothing to open.
bool open_document(const std::string& path, AtelierDocument& document, Diagnostic& failure);

// The source text the current state saves as: the saved text with only what
// changed rewritten. Empty with `error` when it cannot be written.
std::string current_text(const AtelierDocument& document, Message& error);

// The problems of the files a quiz names, as `check` finds them: pictures read
// for their headers, media for their kind, the icon. Reads only its arguments:
// a thread of its own finds them while the quiz is edited.
Diagnostics file_problems_of(const QuizModel& quiz, const std::string& source_path);

// Checks the current state as `check` checks a saved source, into `problems`,
// with the files' problems as last found.
void check_document(AtelierDocument& document);

// Writes the current state over the source in one step; false with `error`.
bool save_document(AtelierDocument& document, Message& error);

// The source was written by another program since it was read or saved.
bool changed_on_disk(const AtelierDocument& document);

// Unsaved work is copied, a few seconds after each change, to a file of its own
// in the user's local application data, named after the source's full path; a
// save or a close without saving removes it, a crash leaves it.
void keep_recovery(const AtelierDocument& document);
void drop_recovery(const AtelierDocument& document);
// The copy left for `document`'s source when it differs from the source; false when there is none.
bool find_recovery(const AtelierDocument& document, std::string& text);
// Makes the copy the state being edited, unsaved; a save writes it over the source.
void restore_recovery(AtelierDocument& document, const std::string& text);
