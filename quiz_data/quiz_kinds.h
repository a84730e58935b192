// Quiz kinds and reveal modes: their values in the quiz stream, their names in
// the quiz source, and what each one shows.
#pragma once

#include <cstring>

constexpr int text_quiz = 0;
constexpr int picture_quiz = 1;
constexpr int sound_quiz = 2;
constexpr int video_quiz = 3;
constexpr int quiz_kind_count = 4;

// Names as the source writes them, by value.
constexpr const char* quiz_kind_names[quiz_kind_count] = {"text", "picture", "sound", "video"};

// Sound and video questions carry a media file where picture questions carry a picture.
constexpr bool has_media(int kind) { return kind == sound_quiz || kind == video_quiz; }

// What a question shows once it is answered exactly.
constexpr int reveal_none = 0;
constexpr int reveal_picture = 1;          // the answer picture
constexpr int reveal_text = 2;             // the reveal text
constexpr int reveal_text_and_picture = 3; // both
constexpr int reveal_mode_count = 4;

constexpr const char* reveal_mode_names[reveal_mode_count] = {"none", "picture", "text", "text+picture"};

constexpr bool reveals_text(int mode) { return mode == reveal_text || mode == reveal_text_and_picture; }
constexpr bool reveals_picture(int mode) { return mode == reveal_picture || mode == reveal_text_and_picture; }

// The value of a name of `names`, or -1 when it is none of them.
template <int count>
int value_of_name(const char* const (&names)[count], const char* name) {
    for (int value = 0; value < count; ++value)
        if (std::strcmp(names[value], name) == 0) return value;
    return -1;
}

// How typed answers are compared with the accepted ones.
constexpr int grading_exact = 0;    // trimmed, a-z made capitals; every other byte as it is
constexpr int grading_lenient = 1;  // both texts folded: spaces, hyphens, typography, capitals, accents
constexpr int grading_mode_count = 2;

constexpr const char* grading_mode_names[grading_mode_count] = {"exact", "lenient"};
