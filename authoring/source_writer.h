// Writes quiz sources from the model: a fresh one (show, unpack), or the very
// source the model was read from with only what changed rewritten (the
// editor's Save), so that the maker's text stays theirs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "authoring/quiz_model.h"
#include "base/message.h"
#include "quiz_data/quiz_content.h"

// `utf8` as a TOML basic string: quoted, with quotes, backslashes and control
// characters escaped.
std::string toml_string(const std::string& utf8);

// A source's text, or why none was written.
struct WrittenSource {
    std::string text;   // UTF-8 TOML, LF or CRLF; empty when refused
    Message error;  // "FIELD: WHAT"; empty when written
};

// A fresh source: the quiz's fields in a fixed order, then each question's.
// Title, creator and explanations are written even when empty, and so are the
// box captions of a two-box quiz, so that a maker sees where they go. Refuses
// a kind or reveal mode without a name, a text that is not UTF-8 and a text
// tried twice in one box.
WrittenSource write_quiz_source(const QuizModel& quiz);

// Writes `edited` back into `original`, the source it was read from.
// - A field whose value equals what `original` says keeps its text byte for
//   byte: values are compared, not spellings ('x' equals "x"), tries in any
//   order, codes whatever empty codes end them.
// - A changed field has its value rewritten on its own lines; what stands
//   before the value (the key) and after it (a comment) stays. A field set
//   that was absent is added after the last key of its table; a field
//   cleared (an empty text, no tries, no codes, both captions empty) goes with
//   its lines. Kind, reveal, colour and answers are never cleared.
// - Questions come in the model's order. One whose `origin` names a question
//   of `original` carries that question's lines (two that name the same one
//   carry a copy each); any other is written fresh; a question of `original`
//   that none names is dropped. A question's lines
//   run from the comment lines directly above its [[question]] header, with
//   the blank lines directly above those, to the first of the next
//   question's: comments after its last key travel with it.
// - Line ends follow the original's first one; a missing final newline stays
//   missing.
// Refuses, writing nothing, an original that is not TOML, a change to a field
// written as a table of its own ([question.tries], dotted keys), a change to
// questions that are not [[question]] tables, and what write_quiz_source refuses.
WrittenSource rewrite_quiz_source(std::string_view original, const QuizModel& edited);

// Files of one question as a packed quiz gives them back: UTF-8 paths relative
// to the source's folder, empty when the question has none.
struct QuestionFiles {
    std::string picture;
    std::string media;
    std::string answer_picture;
};

// The quiz a packed player carries, as a model: `quiz` in Windows-1252, the
// files of each question as unpack names them (questions past its end have
// none), `icon` the icon's file or empty; box captions only when the
// questions have two boxes. On a byte that Windows-1252 leaves
// undefined, or a kind or reveal mode without a name, sets `error` to one
// message and stops there.
QuizModel model_of_packed(const QuizContent& quiz, const std::vector<QuestionFiles>& files, const std::string& icon,
                          Message& error);
