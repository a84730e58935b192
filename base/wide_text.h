// Paths and messages are UTF-8 inside the tools; the platform's wide-character
// functions see every character of a path, whatever the code page.
#pragma once

#include <string>

std::wstring wide_text(const std::string& utf8);
// The player's texts are in the system's ANSI code page, as its "A" functions read them.
std::wstring wide_text_of_ansi(const std::string& ansi);
std::string utf8_text(const wchar_t* wide);
