#include "authoring/diagnostic.h"

#include <algorithm>

std::string question_field(int number, const char* key) { return "question " + std::to_string(number) + ": " + key; }

Diagnostic file_error(const std::string& file, const Message& message) {
    return {file, 0, 0, Severity::error, false, "", message};
}

int count_of(const Diagnostics& diagnostics, Severity severity) {
    return static_cast<int>(std::count_if(diagnostics.begin(), diagnostics.end(),
                                          [severity](const Diagnostic& found) { return found.severity == severity; }));
}

bool has_error(const Diagnostics& diagnostics) { return count_of(diagnostics, Severity::error) > 0; }

bool DiagnosticList::refuse(SourcePlace place, const std::string& field, const Message& message) const {
    list.push_back({file, place.line, place.column, Severity::error, false, field, message});
    return false;
}

void DiagnosticList::warn(SourcePlace place, const std::string& field, const Message& message) const {
    list.push_back({file, place.line, place.column, Severity::warning, false, field, message});
}
