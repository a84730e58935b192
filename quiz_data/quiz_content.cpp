#include "quiz_data/quiz_content.h"

#include <cstring>
#include <new>

void copy_text(char (&field)[text_size], const char* text) {
    std::size_t length = std::strlen(text);
    if (length > text_size - 1) length = text_size - 1;
    std::memcpy(field, text, length);
    field[length] = '\0';
}

void append_question(QuizContent& quiz, const char* answer_1, const char* answer_2,
                     const char* question_text) {
    std::unique_ptr<QuestionEntry> entry(new (std::nothrow) QuestionEntry);
    if (!entry) return;  // nothing appended, nothing reported
    copy_text(entry->answer_1, answer_1);
    copy_text(entry->answer_2, answer_2);
    copy_text(entry->question_text, question_text);
    QuestionEntry* added = entry.get();
    if (quiz.last_question)
        quiz.last_question->next = std::move(entry);
    else
        quiz.first_question = std::move(entry);
    quiz.last_question = added;
}

QuestionEntry* question_at(const QuizContent& quiz, int index) {
    QuestionEntry* node = quiz.first_question.get();
    for (int step = 1; node && node->next && step <= index; ++step) node = node->next.get();
    return node;
}

int entry_count(const QuizContent& quiz) {
    int count = 0;
    for (const QuestionEntry* node = quiz.first_question.get(); node; node = node->next.get()) ++count;
    return count;
}

void fill_fallback_quiz(QuizContent& quiz) {
    copy_text(quiz.title, "Nom du quizz");
    copy_text(quiz.creator, "Createur quizz");
    copy_text(quiz.explanations, "Explications du quizz");
    copy_text(quiz.answer_label_1, "Prénom - Nom");
    copy_text(quiz.answer_label_2, "Manga / Anime");
    quiz.question_count = 7;  // while only two entries exist: question_at serves the rest
    quiz.answers_per_question = 1;
    quiz.reveal_mode = 3;
    quiz.quiz_kind = picture_quiz;
    quiz.colour_red = 53;
    quiz.colour_green = 203;
    quiz.colour_blue = 163;
    for (int i = 0; i < 2; ++i) append_question(quiz, "test", "test", "emplacement");
}
