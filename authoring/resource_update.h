// Resources of executables: writing a quiz into a copy of the player, and
// reading one back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "authoring/quiz_source.h"

// Paths and messages are UTF-8 inside the tool; the platform's wide-character
// functions see every character of a path, whatever the code page.
std::wstring wide_text(const std::string& utf8);
std::string utf8_text(const wchar_t* wide);

// What a packed quiz shows of itself in Explorer and the task manager.
struct QuizIdentity {
    std::string title;  // Windows-1252: the version information's file description
    AppIcon icon;       // empty: the player's own icon stays
};

// Writes `output` as a copy of `template_path` that carries `resources` (in the
// neutral language) in place of the template's PATCH and IMG resources, and
// keeps every other resource with its own language, the version information
// with the quiz's title as its file description, and the quiz's icon, if it
// has one, in place of the template's icon group 1 and its images. The copy is
// made under a temporary name beside `output` and renamed into place once it
// reads back right, so `output` appears whole or not at all; the template never
// changes. Returns false with one message in `error`.
bool write_packed_executable(const std::string& template_path, const std::string& output,
                             const std::vector<PackedResource>& resources, const QuizIdentity& identity,
                             std::string& error);

// "PATH: error: WHAT: REASON", the reason in words; called right after the
// failing call, while GetLastError still holds it.
std::string windows_error(const std::string& what, const std::string& path);

// The icon a packed quiz was given (its icon group 1 in the neutral language,
// where the pack tool writes it); false when it shows the player's own.
bool read_quiz_icon(HMODULE module, AppIcon& icon);

// What a Windows error code means for a maker: "the disk is full", "the folder
// does not exist"; the system's own text and the number for the others.
std::string windows_error_words(unsigned long code);

// Copies resource `id` of `type` out of `module`; false when it is missing or empty.
bool read_resource(HMODULE module, const char* type, int id, std::vector<unsigned char>& bytes);
