// The player's format made from the model when a quiz is packed: its texts in
// Windows-1252 within the limits of the quiz stream, the two streams encoded,
// and every resource a packed quiz carries.
#pragma once

#include <string>
#include <vector>

#include "authoring/diagnostic.h"
#include "authoring/quiz_model.h"
#include "quiz_data/quiz_content.h"

enum class TextRule {
    quiz_text,  // part of the quiz stream, whose fields end at '|'
    code,       // a line of the codes stream, which ends at a line break
};

// `utf8` in Windows-1252, as the player keeps it; false with `why` when the
// player's format cannot hold it.
bool player_text(const std::string& utf8, TextRule rule, std::string& cp1252, Message& why);

// "U+2192 (\u2192)": the number, then the character itself unless it is a control.
std::string character_name(char32_t code_point);

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

struct PlayerQuiz {
    QuizContent content;
    std::vector<PackedResource> resources;
};

// Makes the quiz the player reads from a model with a known kind, 1 to 96
// questions and at most one code per question, as the source reader gives it,
// and `data`, one entry per question. Refuses, at the model's places in
// `file_name`, a text the player cannot hold and a stream that encodes to more
// than 65535 bytes.
bool pack_quiz(const QuizModel& quiz, const std::string& file_name, const std::vector<QuestionData>& data,
               PlayerQuiz& packed, Diagnostics& diagnostics);
