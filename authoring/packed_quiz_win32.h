// show and unpack: the quiz that a packed player carries, read back with the
// player's own loader as a source and the files it names.
#pragma once

#include <string>
#include <vector>

#include "authoring/diagnostic.h"
#include "base/message_box.h"

struct PackedFile {
    std::string name;  // relative to the unpacked source, '/' separated
    std::vector<unsigned char> bytes;
};

struct UnpackedQuiz {
    int kind = 0;
    int question_count = 0;
    std::string toml;               // the source, as quiz.toml holds it
    std::vector<PackedFile> files;  // its pictures, media and icon
};

// Reads the quiz of the packed player at `path`. The loader's messages
// (Windows-1252) go to `player_messages` instead of message boxes.
bool read_packed_quiz(const std::string& path, MessageSink player_messages, UnpackedQuiz& quiz,
                      Diagnostic& failure);

// Writes quiz.toml and the files into `folder`, created unless it exists; an
// existing one must be empty.
bool unpack_quiz(const UnpackedQuiz& quiz, const std::string& folder, Diagnostic& failure);
