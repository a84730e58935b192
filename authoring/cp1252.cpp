#include "authoring/cp1252.h"

namespace {

constexpr char32_t undefined = 0;
constexpr char32_t replacement_character = 0xFFFD;

// Bytes 0x80 to 0x9F; every other byte is the character of the same number.
constexpr char32_t high_controls[32] = {
    0x20AC,    undefined, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020,    0x2021,     // 0x80
    0x02C6,    0x2030,    0x0160, 0x2039, 0x0152, undefined, 0x017D, undefined,  // 0x88
    undefined, 0x2018,    0x2019, 0x201C, 0x201D, 0x2022, 0x2013,    0x2014,     // 0x90
    0x02DC,    0x2122,    0x0161, 0x203A, 0x0153, undefined, 0x017E, 0x0178,     // 0x98
};

bool in_high_controls(char32_t code_point) { return code_point >= 0x80 && code_point <= 0x9F; }

// Decodes one character at `at` and moves past it; false for a malformed,
// overlong or surrogate sequence.
bool next_code_point(std::string_view utf8, std::size_t& at, char32_t& code_point) {
    const unsigned char lead = static_cast<unsigned char>(utf8[at]);
    if (lead < 0x80) {
        code_point = lead;
        ++at;
        return true;
    }
    const int continuation = (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : 0;
    if (continuation == 0 || utf8.size() - at <= static_cast<std::size_t>(continuation)) return false;
    const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};  // shorter forms are overlong
    code_point = lead & (0x3F >> continuation);
    for (int i = 1; i <= continuation; ++i) {
        const unsigned char byte = static_cast<unsigned char>(utf8[at + i]);
        if ((byte & 0xC0) != 0x80) return false;
        code_point = (code_point << 6) | (byte & 0x3F);
    }
    at += continuation + 1;
    const bool surrogate = code_point >= 0xD800 && code_point <= 0xDFFF;
    return code_point >= smallest[continuation] && code_point <= 0x10FFFF && !surrogate;
}

}  // namespace

bool cp1252_code_point(unsigned char byte, char32_t& code_point) {
    code_point = in_high_controls(byte) ? high_controls[byte - 0x80] : byte;
    return code_point != undefined || byte == 0;
}

bool cp1252_byte(char32_t code_point, unsigned char& byte) {
    if (code_point <= 0xFF && !in_high_controls(code_point)) {
        byte = static_cast<unsigned char>(code_point);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (high_controls[i] == code_point) {
            byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

bool utf8_to_cp1252(std::string_view utf8, std::string& cp1252, char32_t& refused) {
    cp1252.clear();
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t code_point;
        unsigned char byte;
        if (!next_code_point(utf8, at, code_point)) {
            refused = replacement_character;
            return false;
        }
        if (!cp1252_byte(code_point, byte)) {
            refused = code_point;
            return false;
        }
        cp1252.push_back(static_cast<char>(byte));
    }
    return true;
}

bool cp1252_to_utf8(std::string_view cp1252, std::string& utf8, unsigned char& refused) {
    utf8.clear();
    for (char c : cp1252) {
        const unsigned char byte = static_cast<unsigned char>(c);
        char32_t code_point;
        if (!cp1252_code_point(byte, code_point)) {
            refused = byte;
            return false;
        }
        utf8 += utf8_of(code_point);
    }
    return true;
}

bool is_utf8(std::string_view text) {
    char32_t code_point;
    for (std::size_t at = 0; at < text.size();)
        if (!next_code_point(text, at, code_point)) return false;
    return true;
}

std::string utf8_of(char32_t code_point) {
    std::string bytes;
    if (code_point < 0x80) {
        bytes.push_back(static_cast<char>(code_point));
    } else if (code_point < 0x800) {
        bytes.push_back(static_cast<char>(0xC0 | (code_point >> 6)));
        bytes.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    } else if (code_point < 0x10000) {
        bytes.push_back(static_cast<char>(0xE0 | (code_point >> 12)));
        bytes.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
        bytes.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    } else {
        bytes.push_back(static_cast<char>(0xF0 | (code_point >> 18)));
        bytes.push_back(static_cast<char>(0x80 | ((code_point >> 12) & 0x3F)));
        bytes.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
        bytes.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    }
    return bytes;
}
