// The quiz source: one UTF-8 TOML file beside the pictures and media it names.
// Reading it gives the quiz model and every mistake of the source at once, each
// a diagnostic at its place; loading gives the bytes of the files it names.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/app_icon.h"
#include "authoring/picture_cache.h"
#include "authoring/diagnostic.h"
#include "authoring/player_format.h"
#include "authoring/quiz_model.h"

// Reads source text into `quiz`, adding every mistake to `diagnostics` under
// `file_name`; true when there is none. What could be read is kept in `quiz`
// even then, so that the files it names can be checked too.
bool read_quiz_source(std::string_view text, const std::string& file_name, QuizModel& quiz,
                      Diagnostics& diagnostics);

// Reads the source file at `path` (UTF-8).
bool load_quiz_source(const std::string& path, QuizModel& quiz, Diagnostics& diagnostics);

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
using PictureProgress = std::function<void(const PictureReport&)>;

// Reads a whole file in one read; false with `why` completing "<file> ..." or
// "<file>: ..." (no such file, a folder, cannot be opened or read).
bool read_whole_file(const std::filesystem::path& path, std::vector<unsigned char>& bytes, Message& why);

// The kind of a media file, by the first bytes that every such file starts with.
bool is_mp3(const std::vector<unsigned char>& bytes);
bool is_avi(const std::vector<unsigned char>& bytes);

// What loading does with pictures: checking reads their headers only and keeps
// none; building converts them to what the player shows (see convert_picture),
// through the cache when it names a folder.
struct PictureLoading {
    bool headers_only = false;
    PictureCache cache;
    PictureProgress progress;  // told of each converted picture, when given
};

// Loads every file the questions of the source at `source_path` name, from
// its folder, and checks its kind: sound media must be an MP3 and video media
// an AVI; pictures are read as `pictures` says. Every file is tried; each
// refusal is a diagnostic.
bool load_question_files(const QuizModel& quiz, const std::string& source_path, std::vector<QuestionData>& data,
                         Diagnostics& diagnostics, const PictureLoading& pictures = {});

// Loads the icon the source names (a .ico file or a picture); an empty icon when it names none.
bool load_quiz_icon(const QuizModel& quiz, const std::string& source_path, AppIcon& icon, Diagnostics& diagnostics);
