// The quiz source: one UTF-8 TOML file beside the pictures and media it names.
// Reading it gives the quiz in Windows-1252, ready for the stream writers, and
// the files each question carries; every refusal is one message naming the
// file, the line and the field.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/app_icon.h"
#include "quiz_data/quiz_content.h"
#include "quiz_data/quiz_resources.h"

// Files of one question as the source names them: UTF-8 paths relative to the
// source's folder, empty when the question has none.
struct QuestionFiles {
    std::string picture;
    std::string media;
    std::string answer_picture;
};

struct QuestionSource {
    QuestionFiles files;
    int line = 0;  // of its [[question]] header
    int picture_line = 0;
    int media_line = 0;
    int answer_picture_line = 0;
};

struct QuizSource {
    std::string file_name;  // names the source in messages
    std::string folder;     // where the relative paths start; empty for the current folder
    QuizContent content;
    std::vector<QuestionSource> questions;  // one per entry of content, in order
    std::string icon;                       // the packed quiz's icon, as the source names it; empty: the player's
    int icon_line = 0;
};

// The bytes of one question's files, empty where it has none.
struct QuestionData {
    std::vector<unsigned char> picture;
    std::vector<unsigned char> media;
    std::vector<unsigned char> answer_picture;
};

// One resource of a packed quiz.
struct PackedResource {
    const char* type;  // "PATCH" or "IMG"
    int id;
    std::vector<unsigned char> bytes;
};

// Reads source text; `file_name` names it in messages and `folder` is kept for
// the files. Returns false with one message in `error`.
bool read_quiz_source(std::string_view text, const std::string& file_name, const std::string& folder,
                      QuizSource& source, std::string& error);

// Reads the source file at `path`; its folder is where the files are looked up.
bool load_quiz_source(const std::string& path, QuizSource& source, std::string& error);

// What packing did to one picture, for the maker to read.
struct PictureReport {
    std::string path;  // as the source names it
    int number = 0;    // of the picture among the quiz's pictures, from 1
    int count = 0;     // pictures in the quiz
    long long file_bytes = 0;
    int source_width = 0;  // standing as shown
    int source_height = 0;
    int width = 0;  // as stored
    int height = 0;
    long long stored_bytes = 0;
    bool unchanged = false;
};

// "2.1 MB", "41 KB": a file's size as a file manager shows it.
std::string file_size_text(long long bytes);

// "[2/24] images/IMG_2041.jpg: 4032 x 3024, 2.1 MB -> 360 x 270, 41 KB"
std::string picture_report_line(const PictureReport& report);

// Loads every file the questions name and checks its kind: sound media must be
// an MP3 and video media an AVI; pictures are converted to what the player
// shows (see convert_picture), each reported to `progress` when given.
bool load_question_files(const QuizSource& source, std::vector<QuestionData>& data, std::string& error,
                         const std::function<void(const PictureReport&)>& progress = {});

// Loads the icon the source names (a .ico file or a picture); an empty icon when it names none.
bool load_quiz_icon(const QuizSource& source, AppIcon& icon, std::string& error);

// Encodes the two streams and lists every resource the packed quiz carries.
// Refuses a stream that encodes to more than 65535 bytes.
bool pack_quiz(const QuizSource& source, const std::vector<QuestionData>& data, std::vector<PackedResource>& resources,
               std::string& error);
