// Paths and messages are UTF-8 inside the tools; the platform's wide-character
// functions see every character of a path, whatever the code page.
#pragma once

#include <string>

std::wstring wide_text(const std::string& utf8);
std::string utf8_text(const wchar_t* wide);
