// Writers of the decoded stream layouts: the inverse of parse_quiz_stream and parse_codes_stream.
#pragma once

#include <vector>

#include "quiz_data/quiz_content.h"

// Texts must not contain '|' and codes no carriage return (the source reader refuses them).
std::vector<unsigned char> write_quiz_stream(const QuizContent& quiz);
std::vector<unsigned char> write_codes_stream(const QuizContent& quiz);
// Empty for a quiz graded exactly without other accepted texts: it carries no grading stream.
std::vector<unsigned char> write_grading_stream(const QuizContent& quiz);
