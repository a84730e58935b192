#include "answers/folding.h"

namespace {

// What one byte becomes before the spaces are settled: a capital letter or two,
// a plain sign, or the byte itself. Hyphens, dashes and no-break spaces become spaces.
const char* folded_byte(unsigned char byte, char (&single)[2]) {
    // Windows-1252 0xC0 to 0xFF: the accented letters, capitals then small ones.
    static const char* const from_c0[32] = {
        "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",   // C0-CF
        "D", "N", "O", "O", "O", "O", "O",  nullptr, "O", "U", "U", "U", "U", "Y", nullptr, "SS",  // D0-DF
    };
    if (byte >= 'a' && byte <= 'z') byte = static_cast<unsigned char>(byte - ('a' - 'A'));
    if (byte == 0xFF) return "Y";  // its capital lies elsewhere, at 0x9F
    // Small accented letters lie 0x20 above their capitals; 0xF7 is the division sign.
    if (byte >= 0xE0 && byte != 0xF7) byte = static_cast<unsigned char>(byte - 0x20);
    switch (byte) {
    case '-': case 0xA0: case 0x96: case 0x97: return " ";
    case 0x91: case 0x92: case 0x82: case '`': case 0xB4: return "'";
    case 0x93: case 0x94: case 0x84: case 0xAB: case 0xBB: return "\"";
    case 0x85: return "...";
    case 0x8A: case 0x9A: return "S";
    case 0x8C: case 0x9C: return "OE";
    case 0x8E: case 0x9E: return "Z";
    case 0x9F: return "Y";
    default: break;
    }
    if (byte >= 0xC0 && byte < 0xE0 && from_c0[byte - 0xC0]) return from_c0[byte - 0xC0];
    single[0] = static_cast<char>(byte);
    single[1] = '\0';
    return single;
}

}  // namespace

void fold_lenient(const char* text, char (&folded)[text_size]) {
    int length = 0;
    bool space_pending = false;
    for (const char* c = text; *c != '\0'; ++c) {
        char single[2];
        for (const char* out = folded_byte(static_cast<unsigned char>(*c), single); *out != '\0'; ++out) {
            if (*out == ' ') {
                space_pending = length > 0;  // leading spaces are dropped
                continue;
            }
            // Full, or room for a space but not for what follows it: the fold ends
            // here, never on a space.
            if (length + (space_pending ? 2 : 1) > text_size - 1) {
                folded[length] = '\0';
                return;
            }
            if (space_pending) folded[length++] = ' ';
            space_pending = false;
            folded[length++] = *out;
        }
    }
    folded[length] = '\0';
}
