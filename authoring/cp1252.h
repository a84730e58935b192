// Conversions between UTF-8, the quiz source's encoding, and Windows-1252, the
// encoding of every text the player shows.
#pragma once

#include <string>
#include <string_view>

// The character of a Windows-1252 byte; false for the five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D).
bool cp1252_code_point(unsigned char byte, char32_t& code_point);

// The Windows-1252 byte of a character; false when the code page cannot hold it.
bool cp1252_byte(char32_t code_point, unsigned char& byte);

// Converts UTF-8 to Windows-1252. At the first character the code page cannot
// hold, returns false with that character in `refused` (U+FFFD for a malformed
// sequence); `cp1252` then holds what came before it.
bool utf8_to_cp1252(std::string_view utf8, std::string& cp1252, char32_t& refused);

// Converts Windows-1252 to UTF-8. At the first undefined byte, returns false
// with that byte in `refused`.
bool cp1252_to_utf8(std::string_view cp1252, std::string& utf8, unsigned char& refused);

// Whether `text` is well-formed UTF-8, as a TOML file must be.
bool is_utf8(std::string_view text);

// The UTF-8 bytes of one character.
std::string utf8_of(char32_t code_point);
