#include "player/answer_boxes/evaluation.h"

#include "answers/folding.h"
#include "answers/grade.h"
#include "answers/measures.h"
#include "player/fitted_text.h"
#include "player/header_panel/header_panel.h"
#include "pictures/picture_loader.h"
#include "player/question_panel/panel_controls.h"
#include "layout/panel_layout.h"
#include "quiz_data/quiz_record.h"

namespace {

const char* const six_spaces = "      ";  // the code box while nothing is solved

// Ids are defined for one and two boxes per question only.
bool has_box_scheme(int boxes) { return boxes == 1 || boxes == 2; }

// Does nothing for a control that does not exist (yet).
void set_control_text(HWND panel, int id, const char* text) {
    HWND control = panel_control(panel, id);
    if (control) SetWindowTextA(control, text);
}

// A reveal text longer than its label ends with an ellipsis.
void set_reveal_text(HWND panel, int question_number, const char* text) {
    set_fitted_text(panel_control(panel, reveal_label_id_base + question_number), text);
}

// A box's accepted texts: its answer first, then its other accepted spellings.
struct AcceptedTexts {
    const char* texts[1 + max_variants];
    int count = 0;
};

AcceptedTexts accepted_texts(const QuestionEntry& entry, int box_in_question) {
    AcceptedTexts accepted;
    accepted.texts[accepted.count++] = box_in_question == 1 ? entry.answer_1 : entry.answer_2;
    for (const std::string& variant : entry.variants[box_in_question - 1])
        if (accepted.count < 1 + max_variants) accepted.texts[accepted.count++] = variant.c_str();
    return accepted;
}

// The reveal needs the raw text of a box: graded exactly, a box graded right
// only after trimming does not count; graded leniently, the folding decides.
bool box_holds(const char* typed, const char* accepted, int mode) {
    char typed_folded[text_size];
    char expected[text_size];
    if (mode == grading_lenient) {
        fold_lenient(typed, typed_folded);
        fold_lenient(accepted, expected);
        return lstrcmpA(typed_folded, expected) == 0;
    }
    copy_text(typed_folded, typed);
    copy_text(expected, accepted);
    fold_to_upper(typed_folded);
    fold_to_upper(expected);
    return lstrcmpA(typed_folded, expected) == 0;
}

bool box_exactly_right(HWND panel, int box_number, const AcceptedTexts& accepted, int mode) {
    char typed[text_size];
    read_control_text(panel, answer_box_id_base + box_number, typed, text_size);
    for (int i = 0; i < accepted.count; ++i)
        if (box_holds(typed, accepted.texts[i], mode)) return true;
    return false;
}

bool question_exactly_right(const QuizRecord& record, HWND panel, const QuestionEntry& entry, int question_number,
                            int boxes) {
    int right = 0;
    for (int k = 1; k <= boxes; ++k)
        if (box_exactly_right(panel, (question_number - 1) * boxes + k, accepted_texts(entry, k),
                              record.grading_mode))
            ++right;
    return right == boxes;
}

// Only picture quizzes have a control to show the answer picture in: nothing is
// loaded for the others.
void show_answer_picture(HWND panel, int question_number) {
    HWND picture = panel_control(panel, picture_control_id_base + question_number);
    if (!picture) return;
    const unsigned resource_id = answer_picture_id_base + static_cast<unsigned>(question_number);
    const PictureDecoder decoder;
    HBITMAP answer = load_picture(decoder, GetModuleHandleA(nullptr), resource_id, "IMG", picture_box_width,
                                  picture_box_height);
    if (answer) set_control_picture(picture, answer);  // no answer picture: the question picture stays
}

void reveal(const QuizRecord& record, HWND panel, const QuestionEntry& entry, int question_number) {
    const int mode = record.reveal_mode;
    if (!reveals_text(mode) && !reveals_picture(mode)) return;
    if (!question_exactly_right(record, panel, entry, question_number, boxes_per_question(record))) return;
    if (reveals_text(mode)) set_reveal_text(panel, question_number, entry.reveal_text);
    if (reveals_picture(mode)) show_answer_picture(panel, question_number);
}

void grade_box(const QuizRecord& record, HWND panel, const QuestionEntry& entry, int box_number) {
    const int boxes = boxes_per_question(record);
    const int question_number = (box_number - 1) / boxes + 1;
    const int box_in_question = (box_number - 1) % boxes + 1;
    char typed[text_size];
    read_control_text(panel, answer_box_id_base + box_number, typed, text_size);
    const AcceptedTexts accepted = accepted_texts(entry, box_in_question);
    const char* result = grade_any(accepted.texts, accepted.count, typed, record.grading_mode);
    if (result == grade_right)
        reveal(record, panel, entry, question_number);
    else
        set_reveal_text(panel, question_number, "");
    set_control_text(panel, feedback_label_id_base + box_number, result);
}

// A question scores as soon as its first box reads "BRAVO": a second box counts
// as right whatever it shows.
bool question_scores(HWND panel, int question_number, int boxes) {
    char feedback[text_size];
    read_control_text(panel, feedback_label_id_base + (question_number - 1) * boxes + 1, feedback, 255);
    return lstrcmpA(feedback, grade_right) == 0;
}

int score_recount_deferrals = 0;
bool score_recount_pending = false;

}  // namespace

DeferredScoreRecount::DeferredScoreRecount(QuizRecord& quiz, HWND question_panel)
    : quiz_(quiz), question_panel_(question_panel) {
    ++score_recount_deferrals;
}

DeferredScoreRecount::~DeferredScoreRecount() {
    if (--score_recount_deferrals > 0 || !score_recount_pending) return;
    score_recount_pending = false;
    update_score(quiz_, question_panel_);
}

void read_control_text(HWND parent, int id, char* text, int limit) {
    text[0] = '\0';
    HWND control = panel_control(parent, id);
    if (control) GetWindowTextA(control, text, limit);
}

void evaluate_answer(QuizRecord& record, HWND question_panel, int answer_box_id) {
    const int boxes = boxes_per_question(record);
    const int box_number = answer_box_id - answer_box_id_base;
    // After a failed decode there are no entries to grade against.
    const QuestionEntry* entry =
        has_box_scheme(boxes) && box_number >= 1 ? question_at(record, (box_number - 1) / boxes) : nullptr;
    if (entry) grade_box(record, question_panel, *entry, box_number);
    if (score_recount_deferrals > 0)
        score_recount_pending = true;
    else
        update_score(record, question_panel);
}

void update_score(QuizRecord& record, HWND question_panel) {
    const int boxes = boxes_per_question(record);
    const int shown = shown_question_count(record);
    int score = 0;
    if (has_box_scheme(boxes))
        for (int n = 1; n <= shown; ++n)
            if (question_scores(question_panel, n, boxes)) ++score;

    SetDlgItemTextA(record.header_panel, score_label_id, score_text(score, record.question_count).text);
    set_fitted_text(GetDlgItem(record.header_panel, code_box_id), score == 0 ? six_spaces : record.codes[score - 1]);
}
