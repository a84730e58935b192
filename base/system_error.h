// System errors in words, for the people who make quizzes.
#pragma once

#include <string>

#include "base/message.h"

// "WHAT: REASON", the reason in words; called right after the failing call,
// while GetLastError still holds it.
Message windows_error(const Message& what);

// What a Windows error code means for a maker: "the disk is full", "the folder
// does not exist"; the system's own text and the number for the others.
Message windows_error_words(unsigned long code);
