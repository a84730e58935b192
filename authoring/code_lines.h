// Codes by score: the source places each code at the number of solved
// questions from which the header shows it; the codes stream holds one line per
// number of solved questions (line k - 1 while k are solved).
#pragma once

#include <string>
#include <vector>

#include "authoring/source_place.h"

struct ScoredCode {
    int score = 0;  // from 1 to the number of questions
    std::string code;
    SourcePlace place;  // of the code in the source
};

// The codes stream's lines for codes placed at increasing scores: each code
// from its score until the next code's score, the last one to the end; empty
// lines before the first.
std::vector<std::string> code_lines(const std::vector<ScoredCode>& codes, int question_count);

// The codes stream's lines for a quiz of `question_count` questions: a list's
// code k on line k only, a table's codes as code_lines places them.
std::vector<std::string> packed_code_lines(const std::vector<ScoredCode>& codes, bool by_score, int question_count);

// A list source (`codes = [...]`) places its k-th code at score k.
std::vector<ScoredCode> codes_of_list(const std::vector<std::string>& list);

// How a source writes `lines` back so that they are packed again as they are:
// as a table (one entry where the code changes) when some code stays over
// several scores or the first ones are empty, otherwise as a list without its
// empty tail. `as_table` tells which.
std::vector<ScoredCode> codes_of_lines(const std::vector<std::string>& lines, bool& as_table);

// Codes as an editor shows them, one "SCORE = CODE" line each, and read back:
// blank lines are skipped, spaces around the score and the code trimmed. False
// with the first line that is not "SCORE = CODE" (a score from 1 to 96, in
// increasing order) in `bad_line`.
std::string text_of_codes(const std::vector<ScoredCode>& codes);
bool codes_of_text(const std::string& text, std::vector<ScoredCode>& codes, std::string& bad_line);
