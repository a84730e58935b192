// Parsing of the decoded quiz stream (resource 104) and codes stream (resource 105).
#pragma once

#include <cstddef>

#include "quiz_data/quiz_content.h"

// Fills `quiz` from a decoded quiz stream. All or nothing: a stream that ends
// before its layout does, or announces more than 96 questions, leaves `quiz`
// untouched and returns false. Texts longer than 259 bytes are cut, zero bytes dropped.
bool parse_quiz_stream(const unsigned char* bytes, std::size_t size, QuizContent& quiz);

// Fills codes 0 .. question_count - 1 from a decoded codes stream. All or nothing:
// fewer lines than questions leaves `codes` untouched and returns false.
bool parse_codes_stream(const unsigned char* bytes, std::size_t size, int question_count,
                        char (&codes)[max_questions][text_size]);

// The grading stream's layout: its version, the grading mode, the question count,
// the boxes per question, then for each box of each question the number of its
// other accepted texts (at most max_variants) and those texts, each ended by '|'.
constexpr unsigned char grading_stream_version = 1;

// Fills the grading mode and every box's other accepted texts from a decoded
// grading stream. All or nothing: a stream whose version, question count or box
// count does not match `quiz`, or that ends early or breaks a limit, leaves
// `quiz` untouched and returns false.
bool parse_grading_stream(const unsigned char* bytes, std::size_t size, QuizContent& quiz);
