// The quiz source: one UTF-8 TOML file beside the pictures and media it names.
// Reading it gives the quiz in Windows-1252, ready for the stream writers, and
// the files each question carries. Every mistake of a source is reported in one
// run, one line each, as editors and CI read them:
// "FILE:LINE:COLUMN: error: FIELD: WHAT".
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/app_icon.h"
#include "authoring/picture_cache.h"
#include "quiz_data/quiz_content.h"
#include "quiz_data/quiz_resources.h"

// Files of one question as the source names them: UTF-8 paths relative to the
// source's folder, empty when the question has none.
struct QuestionFiles {
    std::string picture;
    std::string media;
    std::string answer_picture;
};

// Where a value starts in the source, both counted from 1; 0 where there is none.
struct SourcePlace {
    int line = 0;
    int column = 0;
};

// "FILE:LINE:COLUMN: SEVERITY: FIELD: WHAT", leaving out what the place lacks.
std::string diagnostic_line(const std::string& file_name, SourcePlace place, const char* severity,
                            const std::string& field, const std::string& what);

// An expected grade written in the source: `typed` in box `box` (1 or 2) gets `grade`.
struct GradeTry {
    int box = 1;
    std::string typed;  // Windows-1252, as the player reads the box
    const char* grade = nullptr;  // one of the grade words of answers/grade.h
    SourcePlace place;
};

struct QuestionSource {
    QuestionFiles files;
    int line = 0;  // of its [[question]] header
    SourcePlace picture_place;
    SourcePlace media_place;
    SourcePlace answer_picture_place;
    SourcePlace answer_places[2];  // of the accepted answer of each box
    std::vector<GradeTry> tries;
};

struct QuizSource {
    std::string file_name;  // names the source in messages
    std::string folder;     // where the relative paths start; empty for the current folder
    QuizContent content;
    std::vector<QuestionSource> questions;  // one per entry of content, in order
    std::string icon;                       // the packed quiz's icon, as the source names it; empty: the player's
    SourcePlace icon_place;
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
// the files. Returns false with every mistake in `error`, one line each. What
// could be read is kept in `source` even then, so the files can be checked too.
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

// The kind of a media file, by the first bytes that every such file starts with.
bool is_mp3(const std::vector<unsigned char>& bytes);
bool is_avi(const std::vector<unsigned char>& bytes);

// "2.1 MB", "41 KB": a file's size as a file manager shows it.
std::string file_size_text(long long bytes);

// "[2/24] images/IMG_2041.jpg: 4032 x 3024, 2.1 MB -> 360 x 270, 41 KB"
std::string picture_report_line(const PictureReport& report);

// What loading does with pictures: checking reads their headers only and keeps
// none; building converts them to what the player shows (see convert_picture),
// through the cache when it names a folder.
struct PictureLoading {
    bool headers_only = false;
    PictureCache cache;
    std::function<void(const PictureReport&)> progress;  // told of each converted picture, when given
};

// Loads every file the questions name and checks its kind: sound media must be
// an MP3 and video media an AVI; pictures are read as `pictures` says. Every
// file is tried; each refusal is one line of `error`.
bool load_question_files(const QuizSource& source, std::vector<QuestionData>& data, std::string& error,
                         const PictureLoading& pictures = {});

// Loads the icon the source names (a .ico file or a picture); an empty icon when it names none.
bool load_quiz_icon(const QuizSource& source, AppIcon& icon, std::string& error);

// Encodes the two streams and lists every resource the packed quiz carries.
// Refuses a stream that encodes to more than 65535 bytes.
bool pack_quiz(const QuizSource& source, const std::vector<QuestionData>& data, std::vector<PackedResource>& resources,
               std::string& error);
