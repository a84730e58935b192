#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "answers/results_file.h"

namespace {

struct NameCase {
    const char* module_path;
    const char* name;
};

TEST(ResultsFileName, LastPartWithTxt) {
    const NameCase cases[] = {
        {"C:\\jeux\\quiz.exe", "quiz.txt"},
        {"quiz.exe", "quiz.txt"},
        {"C:\\Program Files\\a.b\\Mon quizz.EXE", "Mon quizz.txt"},
        {"\\\\serveur\\partage\\Équipe.exe", "Équipe.txt"},
        {"C:/jeux/quiz.exe", "C:/jeux/quiz.txt"},  // only a backslash separates
        {"C:\\jeux\\quiz", "qtxt"},
        {"C:\\jeux\\abc", "txt"},
        {"C:\\jeux\\ab", "txt"},
        {"C:\\jeux\\", "txt"},
        {"", "txt"},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.module_path);
        EXPECT_EQ(results_file_name(c.module_path), c.name);
    }
}

struct ReadCase {
    const char* label;
    std::string bytes;
    std::vector<std::string> lines;  // every further line reads empty
};

// The buffer holds exactly the file's bytes, with nothing after them.
std::vector<std::string> read_lines(const std::string& bytes, std::size_t count) {
    const std::vector<unsigned char> data(bytes.begin(), bytes.end());
    SavedAnswers saved(data.data(), data.size());
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < count; ++i) {
        char text[text_size];
        std::memset(text, 'Z', sizeof text);
        saved.next(text);
        lines.emplace_back(text);
    }
    return lines;
}

TEST(ResultsFileRead, OneLinePerBox) {
    const std::string long_line(300, 'x');
    const ReadCase cases[] = {
        {"two lines then nothing", "abc\r\nxyz\r\n", {"abc", "xyz"}},
        {"last line without CR LF", "abc\r\nxyz", {"abc", "xyz"}},
        {"CR without LF at the end", "abc\r", {"abc"}},
        {"empty lines", "\r\n\r\nabc\r\n\r\n", {"", "", "abc", ""}},
        {"empty file", "", {}},
        {"bytes between CR and LF", "abc\rjunk\nxyz\r\n", {"abc", "xyz"}},
        {"two CRs", "abc\r\r\nxyz", {"abc", "xyz"}},
        {"LF alone stays in the line", "abc\nxyz\r\nend", {"abc\nxyz", "end"}},
        {"line over 259 bytes", long_line + "\r\nnext\r\n", {long_line.substr(0, 259), "next"}},
        {"line of 259 bytes", long_line.substr(0, 259) + "\r\n", {long_line.substr(0, 259)}},
        {"unended line over 259", long_line, {long_line.substr(0, 259)}},
        {"accented bytes", "Noël\r\nÉté\r\n\xFF\x80\r\n", {"Noël", "Été", "\xFF\x80"}},
        {"format characters", "100 %s %d\r\n", {"100 %s %d"}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.label);
        const std::vector<std::string> lines = read_lines(c.bytes, c.lines.size() + 3);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(lines[i], i < c.lines.size() ? c.lines[i] : std::string());
        }
    }
}

// Bytes past the given size are never taken, even when memory holds more.
TEST(ResultsFileRead, StopsAtTheGivenSize) {
    const unsigned char bytes[] = {'a', 'b', 'c', 'd', '\r', '\n', 'e'};
    SavedAnswers saved(bytes, 3);
    char text[text_size];
    saved.next(text);
    EXPECT_STREQ(text, "abc");
    saved.next(text);
    EXPECT_STREQ(text, "");
}

TEST(ResultsFileWrite, LinesEndWithCrLf) {
    std::string file;
    append_results_line(file, "abc");
    EXPECT_EQ(file, "abc\r\n");
    append_results_line(file, "");
    EXPECT_EQ(file, "abc\r\n\r\n");
    append_results_line(file, "  Été 100%s ");
    EXPECT_EQ(file, "abc\r\n\r\n  Été 100%s \r\n");
}

TEST(ResultsFileWrite, ReadsBackBoxByBox) {
    const std::vector<std::string> answers = {"Tournesol", "", "  école ", std::string(259, '\xE9'), "?"};
    std::string file;
    for (const std::string& answer : answers) append_results_line(file, answer.c_str());
    const std::vector<std::string> lines = read_lines(file, answers.size() + 1);
    for (std::size_t i = 0; i < answers.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[i], answers[i]);
    }
    EXPECT_EQ(lines.back(), "");
}

}  // namespace
