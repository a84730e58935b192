#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Literals of the program are compiled to Windows-1252: one byte per accented letter.
struct AccentedLiteral {
    const char* text;
    std::size_t length;
    std::size_t index;
    unsigned char byte;
};

const AccentedLiteral accented_literals[] = {
    {"Réalisé", 7, 1, 0xE9},
    {"Réalisé", 7, 6, 0xE9},
    {"Erreur dans le décryptage des reponses", 38, 16, 0xE9},
    {"Codes non trouvés.", 18, 15, 0xE9},
    {"Écoutez", 7, 0, 0xC9},
    {"Bâtisseur", 9, 1, 0xE2},
    {"François", 8, 4, 0xE7},
    {"n°1", 3, 1, 0xB0},
};

TEST(CharsetLiteral, AccentedLettersAreSingleWindows1252Bytes) {
    for (const AccentedLiteral& literal : accented_literals) {
        SCOPED_TRACE(std::string(literal.text) + " at " + std::to_string(literal.index));
        EXPECT_EQ(std::strlen(literal.text), literal.length);
        EXPECT_EQ(static_cast<unsigned char>(literal.text[literal.index]), literal.byte);
    }
}

}  // namespace
