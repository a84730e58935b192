#include "authoring/quiz_edit.h"

#include <algorithm>

#include "authoring/new_quiz.h"
#include "quiz_data/quiz_content.h"

namespace {

// Steps kept for undo: far more than a session of edits makes, and a bound on memory.
constexpr std::size_t max_steps = 1000;

bool within(const QuizModel& quiz, int index) { return index >= 0 && index < static_cast<int>(quiz.questions.size()); }

bool full(const QuizModel& quiz) { return quiz.questions.size() >= static_cast<std::size_t>(max_questions); }

bool step(std::vector<QuizState>& from, std::vector<QuizState>& to, EditHistory& history, QuizState& current) {
    if (from.empty()) return false;
    to.push_back(std::move(current));
    current = std::move(from.back());
    from.pop_back();
    history.typing_in.clear();
    return true;
}

}  // namespace

int insert_question(QuizModel& quiz, int index) {
    if (full(quiz) || index < 0 || index > static_cast<int>(quiz.questions.size())) return -1;
    quiz.questions.insert(quiz.questions.begin() + index, ModelQuestion());
    return index;
}

int duplicate_question(QuizModel& quiz, int index) {
    if (full(quiz) || !within(quiz, index)) return -1;
    ModelQuestion copy = quiz.questions[static_cast<std::size_t>(index)];
    copy.origin = -1;  // its comments stay with the original
    quiz.questions.insert(quiz.questions.begin() + index + 1, std::move(copy));
    return index + 1;
}

int remove_question(QuizModel& quiz, int index) {
    if (!within(quiz, index)) return -1;
    quiz.questions.erase(quiz.questions.begin() + index);
    return std::min(index, static_cast<int>(quiz.questions.size()) - 1);
}

int move_question(QuizModel& quiz, int index, int step) { return move_question_to(quiz, index, index + step); }

int move_question_to(QuizModel& quiz, int index, int to) {
    if (!within(quiz, index) || !within(quiz, to) || index == to) return -1;
    ModelQuestion moved = std::move(quiz.questions[static_cast<std::size_t>(index)]);
    quiz.questions.erase(quiz.questions.begin() + index);
    quiz.questions.insert(quiz.questions.begin() + to, std::move(moved));
    return to;
}

int add_file_questions(QuizModel& quiz, int index, const std::vector<std::string>& files) {
    if (index < 0 || index > static_cast<int>(quiz.questions.size())) return -1;
    int added = 0;
    for (const std::string& file : files) {
        if (full(quiz)) break;
        ModelQuestion question;
        const std::size_t slash = file.find_last_of("/\\");
        question.answers[0] = answer_from_file_name(slash == std::string::npos ? file : file.substr(slash + 1));
        (quiz.kind == picture_quiz ? question.picture : question.media) = file;
        quiz.questions.insert(quiz.questions.begin() + index + added, std::move(question));
        ++added;
    }
    return added > 0 ? index : -1;
}

int record_change(EditHistory& history, const QuizState& current, const std::string& field) {
    const bool continued = !field.empty() && field == history.typing_in && !history.undo.empty();
    if (!continued) {
        history.undo.push_back(current);
        if (history.undo.size() > max_steps) history.undo.erase(history.undo.begin());
    }
    history.redo.clear();
    history.typing_in = field;
    return ++history.last_number;
}

void end_typing(EditHistory& history) { history.typing_in.clear(); }

bool undo_change(EditHistory& history, QuizState& current) { return step(history.undo, history.redo, history, current); }

bool redo_change(EditHistory& history, QuizState& current) { return step(history.redo, history.undo, history, current); }
