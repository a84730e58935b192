// Writes a quiz in its source format: the inverse of read_quiz_source, used to
// show and unpack the quiz that a packed executable carries.
#pragma once

#include <string>
#include <vector>

#include "quiz_data/quiz_content.h"

// Files of one question as the source names them: UTF-8 paths relative to the
// source's folder, empty when the question has none.
struct QuestionFiles {
    std::string picture;
    std::string media;
    std::string answer_picture;
};

// `utf8` as a TOML basic string: quoted, with quotes, backslashes and control
// characters escaped.
std::string toml_string(const std::string& utf8);

// Writes `quiz` (texts in Windows-1252) as UTF-8 TOML into `toml`; `files`
// names each question's files (questions past its end have none) and `icon` the
// quiz's icon file, if it has one. Returns false with one message in `error`
// when a text holds a byte that Windows-1252 leaves undefined, or the kind or
// the reveal mode has no name.
bool write_quiz_toml(const QuizContent& quiz, const std::vector<QuestionFiles>& files, std::string& toml,
                     std::string& error, const std::string& icon = {});
