// The quiz as plain data: header texts, question shape, codes, colour and the
// ordered question list. No Windows header: the GDI half lives in QuizRecord.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "quiz_data/quiz_kinds.h"

constexpr int text_size = 260;  // 259 bytes of text and the terminating zero
constexpr int max_questions = 96;
constexpr int max_variants = 8;  // other accepted texts of one box

struct QuestionEntry {
    char answer_1[text_size] = {};
    char answer_2[text_size] = {};
    char question_text[text_size] = {};
    char reveal_text[text_size] = {};
    // Other accepted texts of each box, at most max_variants each, 259 bytes each.
    std::vector<std::string> variants[2];
    std::unique_ptr<QuestionEntry> next;
};

struct QuizContent {
    int32_t quiz_kind = text_quiz;
    char title[text_size] = "nom du quizz";
    char creator[text_size] = " createur";
    char explanations[text_size] = {};
    char answer_label_1[text_size] = {};
    char answer_label_2[text_size] = {};
    int32_t question_count = 2;
    int32_t answers_per_question = 1;
    char codes[max_questions][text_size] = {};
    int32_t reveal_mode = 0;
    uint8_t colour_red = 90;
    uint8_t colour_blue = 150;
    uint8_t colour_green = 95;
    int32_t grading_mode = grading_exact;
    std::unique_ptr<QuestionEntry> first_question;  // owns the whole list
    QuestionEntry* last_question = nullptr;
};

// Copies text into a field, cut to 259 bytes.
void copy_text(char (&field)[text_size], const char* text);

// Appends one entry at the tail; reveal_text starts empty.
void append_question(QuizContent& quiz, const char* answer_1, const char* answer_2,
                     const char* question_text);

// Entry of question index (from 0); past the end, the last entry; none for an empty list.
QuestionEntry* question_at(const QuizContent& quiz, int index);

// Answer boxes each question shows: a text quiz has one per question whatever
// the stream says; other kinds follow answers_per_question.
inline int boxes_per_question(const QuizContent& quiz) {
    return quiz.quiz_kind == text_quiz ? 1 : quiz.answers_per_question;
}

// Number of entries actually in the list.
int entry_count(const QuizContent& quiz);

// The built-in quiz used when the executable carries no quiz stream.
void fill_fallback_quiz(QuizContent& quiz);
