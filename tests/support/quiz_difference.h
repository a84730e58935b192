// Field-by-field comparison of two quizzes, for tests and fuzzers.
#pragma once

#include <cstring>
#include <string>

#include "quiz_data/quiz_content.h"

// The first field in which the two quizzes differ, or an empty string when they are equal.
inline std::string quiz_difference(const QuizContent& a, const QuizContent& b) {
    auto texts_differ = [](const char* x, const char* y) { return std::strcmp(x, y) != 0; };
    if (a.quiz_kind != b.quiz_kind) return "quiz_kind";
    if (texts_differ(a.title, b.title)) return "title";
    if (texts_differ(a.creator, b.creator)) return "creator";
    if (texts_differ(a.explanations, b.explanations)) return "explanations";
    if (texts_differ(a.answer_label_1, b.answer_label_1)) return "answer_label_1";
    if (texts_differ(a.answer_label_2, b.answer_label_2)) return "answer_label_2";
    if (a.question_count != b.question_count) return "question_count";
    if (a.answers_per_question != b.answers_per_question) return "answers_per_question";
    for (int i = 0; i < max_questions; ++i)
        if (texts_differ(a.codes[i], b.codes[i])) return "codes[" + std::to_string(i) + "]";
    if (a.reveal_mode != b.reveal_mode) return "reveal_mode";
    if (a.colour_red != b.colour_red || a.colour_green != b.colour_green || a.colour_blue != b.colour_blue)
        return "colour";
    if (a.grading_mode != b.grading_mode) return "grading_mode";
    const QuestionEntry* x = a.first_question.get();
    const QuestionEntry* y = b.first_question.get();
    for (int i = 0; x || y; ++i, x = x->next.get(), y = y->next.get()) {
        const std::string entry = "question " + std::to_string(i + 1) + ": ";
        if (!x || !y) return entry + "present in one quiz only";
        if (texts_differ(x->answer_1, y->answer_1)) return entry + "answer_1";
        if (texts_differ(x->answer_2, y->answer_2)) return entry + "answer_2";
        if (texts_differ(x->question_text, y->question_text)) return entry + "question_text";
        if (texts_differ(x->reveal_text, y->reveal_text)) return entry + "reveal_text";
        if (x->variants[0] != y->variants[0] || x->variants[1] != y->variants[1]) return entry + "variants";
    }
    return "";
}
