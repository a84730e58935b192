// What the authoring core finds wrong, as values: each front end words them
// (the console as "FILE:LINE:COLUMN: error: FIELD: WHAT").
#pragma once

#include <string>
#include <vector>

#include "authoring/quiz_model.h"
#include "base/message.h"

enum class Severity { error, warning };

struct Diagnostic {
    std::string file;  // the file concerned, as the maker named it
    int line = 0;      // counted from 1; 0 when the file as a whole is meant
    int column = 0;    // counted from 1; 0 when unknown
    Severity severity = Severity::error;
    bool from_warning = false;  // a warning made an error (warnings_as_errors)
    std::string field;          // "title", "question 2: answer"; empty when none
    Message message;
};

using Diagnostics = std::vector<Diagnostic>;

// "question 2: answer": a question's field as diagnostics name it.
std::string question_field(int number, const char* key);

// A diagnostic about a whole file.
Diagnostic file_error(const std::string& file, const Message& message);

int count_of(const Diagnostics& diagnostics, Severity severity);
bool has_error(const Diagnostics& diagnostics);

// Adds the diagnostics of one file to a list.
struct DiagnosticList {
    std::string file;
    Diagnostics& list;

    // Adds an error and returns false, so that a reader can say whether its own
    // part was right and still go on.
    bool refuse(SourcePlace place, const std::string& field, const Message& message) const;
    void warn(SourcePlace place, const std::string& field, const Message& message) const;
};
