#include "answers/results_file.h"

#include <cstring>

std::string results_file_name(const char* module_path) {
    if (module_path == nullptr) module_path = "";
    const char* last_backslash = std::strrchr(module_path, '\\');
    std::string name = last_backslash ? last_backslash + 1 : module_path;
    // A name too short to carry an extension is replaced whole, so saving and
    // restoring still agree on one file.
    if (name.size() < 3) return "txt";
    name.replace(name.size() - 3, 3, "txt");
    return name;
}

void SavedAnswers::next(char (&text)[text_size]) {
    std::size_t length = 0;
    for (; position_ < size_ && data_[position_] != '\r'; ++position_) {
        if (length < text_size - 1) text[length++] = static_cast<char>(data_[position_]);
    }
    text[length] = '\0';
    // Whatever lies between the CR and the next LF is skipped.
    while (position_ < size_ && data_[position_] != '\n') ++position_;
    if (position_ < size_) ++position_;
}

void append_results_line(std::string& file_bytes, const char* text) {
    file_bytes += text;
    file_bytes += "\r\n";
}
