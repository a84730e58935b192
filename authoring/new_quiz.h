// devinette-pack new: a first quiz source written from the files of a folder.
#pragma once

#include <string>
#include <vector>

#include "authoring/diagnostic.h"

// File names in the order a person numbers them: runs of digits compare as
// numbers ("q2" before "q10"), letters without regard to case.
bool file_name_before(const std::string& first, const std::string& second);

// "Tour_Eiffel.jpg" -> "Tour Eiffel": the name without its extension,
// underscores as spaces, spaces run together and trimmed; UTF-8 kept as it is.
std::string answer_from_file_name(const std::string& name);

// The source text of a new quiz of `kind` (quiz_resources.h) with one question
// per file, or ten empty questions for a text quiz; every optional field is
// there as a comment saying what it does.
std::string new_quiz_toml(int kind, const std::string& title, const std::vector<std::string>& files);

// A file of the folder that the new quiz leaves out, and why:
// {"Pont_Neuf.webp", "a WebP picture, which a quiz cannot carry: export it as JPEG or PNG"}.
struct LeftOutFile {
    std::string name;
    std::string reason;  // what the file is, why it is left out and, where there is one, the fix
};

// Writes FOLDER/quiz.toml from what the folder holds: its pictures, else its
// MP3s, else its AVIs (the most numerous kind wins), each told by its content;
// `kind` is -1 to choose so, or the kind asked for. Never overwrites a file.
// Returns false with what stopped it in `failure`; `written` names the new
// file (joined to `folder` as the maker typed it), its kind and its questions,
// and lists, even when nothing is written, every file of the folder left out
// (none for a text quiz, which takes no file), in the order of the questions.
struct NewQuiz {
    std::string path;
    int kind = 0;
    int question_count = 0;
    std::vector<LeftOutFile> left_out;
};
bool write_new_quiz(const std::string& folder, int kind, NewQuiz& written, Diagnostic& failure);
