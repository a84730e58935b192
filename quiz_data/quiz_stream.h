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
