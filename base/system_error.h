// System errors in words, for the people who make quizzes.
#pragma once

#include <string>

// "WHAT: REASON", the reason in words; called right after the failing call,
// while GetLastError still holds it.
std::string windows_error(const std::string& what);

// What a Windows error code means for a maker: "the disk is full", "the folder
// does not exist"; the system's own text and the number for the others.
std::string windows_error_words(unsigned long code);
