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

// Writes `output` as a copy of `template_path` that carries `resources` (in the
// neutral language) in place of the template's PATCH and IMG resources, and
// keeps every other resource with its own language. The copy is made under a
// temporary name beside `output` and renamed into place once it reads back
// right, so `output` appears whole or not at all; the template never changes.
// Returns false with one message in `error`.
bool write_packed_executable(const std::string& template_path, const std::string& output,
                             const std::vector<PackedResource>& resources, std::string& error);

// "PATH: error: WHAT: REASON", the reason in words; called right after the
// failing call, while GetLastError still holds it.
std::string windows_error(const std::string& what, const std::string& path);

// What a Windows error code means for a maker: "the disk is full", "the folder
// does not exist"; the system's own text and the number for the others.
std::string windows_error_words(unsigned long code);

// Copies resource `id` of `type` out of `module`; false when it is missing or empty.
bool read_resource(HMODULE module, const char* type, int id, std::vector<unsigned char>& bytes);
