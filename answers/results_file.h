// The results file: one line per answer box, "text\r\n", Windows-1252.
#pragma once

#include <cstddef>
#include <string>

#include "quiz_data/quiz_content.h"

// Bare name of the results file for an executable path: the part after the
// last backslash with its last three characters replaced by "txt".
std::string results_file_name(const char* module_path);

// Reads saved answers back, one box at a time, in box order.
class SavedAnswers {
public:
    SavedAnswers(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
    // The next line up to its CR (cut to 259 bytes); empty once the data is exhausted.
    void next(char (&text)[text_size]);

private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// Appends one box's line: its text unchanged, then CR LF.
void append_results_line(std::string& file_bytes, const char* text);
