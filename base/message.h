// A text for the people who make quizzes, in the two languages the tools speak:
// the pack tool says it in English, the Atelier in French.
#pragma once

#include <string>

struct Message {
    std::string english;
    std::string french;

    bool empty() const { return english.empty(); }
};

// Words the same in both languages: a file name, a number, a TOML value.
inline Message both(const std::string& words) { return {words, words}; }

inline Message operator+(const Message& left, const Message& right) {
    return {left.english + right.english, left.french + right.french};
}
inline Message operator+(const Message& left, const std::string& right) {
    return {left.english + right, left.french + right};
}
inline Message operator+(const std::string& left, const Message& right) {
    return {left + right.english, left + right.french};
}
