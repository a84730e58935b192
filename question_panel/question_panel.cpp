#include "question_panel/question_panel.h"

#include <utility>

#include "answers/answer_box.h"
#include "answers/evaluation.h"
#include "answers/results_file.h"
#include "app/owned_handle.h"
#include "media/media_layer.h"
#include "pictures/picture_loader.h"
#include "question_panel/panel_layout.h"
#include "question_panel/scroll_math.h"
#include "quiz_data/quiz_record.h"

int content_width = 0;
int content_height = 0;

namespace {

constexpr DWORD number_label_style = WS_CHILD | WS_VISIBLE | SS_RIGHT;
constexpr DWORD boxed_label_style = WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTERIMAGE | SS_CENTER;
constexpr DWORD caption_label_style = WS_CHILD | WS_VISIBLE;
constexpr DWORD picture_control_style = WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTERIMAGE | SS_BITMAP;
constexpr DWORD media_button_style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_ICON | BS_DEFPUSHBUTTON;
constexpr DWORD answer_box_style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_CENTER;
// Text quizzes' boxes also carry the bit 0x200, which edit controls ignore.
constexpr DWORD text_answer_box_style = answer_box_style | 0x200;
constexpr DWORD reveal_label_style = WS_CHILD | WS_VISIBLE | SS_CENTER;
static_assert(number_label_style == 0x50000002 && boxed_label_style == 0x50800201 &&
                  picture_control_style == 0x5080020E && media_button_style == 0x50010041 &&
                  answer_box_style == 0x50810081 && text_answer_box_style == 0x50810281 &&
                  reveal_label_style == 0x50000001,
              "control styles");

constexpr int play_icon_id = 1004;
constexpr int stop_icon_id = 1005;

// The results file of an earlier run, mapped read-only while the rows are built.
struct MappedResults {
    OwnedFile file;
    OwnedMapping mapping;
    OwnedView view;  // declared last, so unmapped first
    std::size_t size = 0;
};

// A file that cannot be opened or mapped (or is empty) reads as no answers.
MappedResults map_results_file() {
    MappedResults results;
    const std::string name = own_results_file_name();
    results.file.reset(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!results.file || !GetFileSizeEx(results.file.get(), &size) || size.QuadPart <= 0) return results;
    results.mapping.reset(CreateFileMappingA(results.file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!results.mapping) return results;
    results.view.reset(MapViewOfFile(results.mapping.get(), FILE_MAP_READ, 0, 0, 0));
    if (results.view) results.size = static_cast<std::size_t>(size.QuadPart);
    return results;
}

void create_answer_font(QuizRecord& record) {
    const LOGFONTA font = answer_font_description();
    record.answer_font.reset(CreateFontIndirectA(&font));
}

struct PanelBuilder {
    HWND panel;
    QuizRecord& record;
    SavedAnswers& saved;
    HICON play_icon;
    HICON stop_icon;
    PanelExtent extent;
};

HWND create_control(HWND panel, const char* class_name, const char* text, DWORD style, const ControlRect& rect,
                    int id) {
    return CreateWindowExA(0, class_name, text, style, rect.x, rect.y, rect.width, rect.height, panel,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

void set_font(HWND control, HGDIOBJ font, BOOL redraw) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

HGDIOBJ gui_font() { return GetStockObject(DEFAULT_GUI_FONT); }

// A static label in the stock GUI font.
void create_font_label(HWND panel, const char* text, DWORD style, const ControlRect& rect, int id) {
    set_font(create_control(panel, "Static", text, style, rect, id), gui_font(), TRUE);
}

void create_number_label(HWND panel, int question_number, const ControlRect& rect) {
    char text[16];
    wsprintfA(text, "%d.", question_number);
    create_control(panel, "Static", text, number_label_style, rect, number_label_id);
}

// The box starts with its answer from the results file: boxes are created in
// box order, so the file is read one line per box.
HWND create_answer_box(PanelBuilder& builder, int box_number, DWORD style, const ControlRect& rect) {
    char saved_answer[text_size];
    builder.saved.next(saved_answer);
    HWND box = create_control(builder.panel, "Edit", saved_answer, style, rect, answer_box_id_base + box_number);
    SendMessageA(box, EM_LIMITTEXT, text_size - 1, 0);
    return box;
}

void set_answer_font(const PanelBuilder& builder, HWND box) { set_font(box, builder.record.answer_font.get(), FALSE); }

void evaluate_box(PanelBuilder& builder, int box_number) {
    evaluate_answer(builder.record, builder.panel, answer_box_id_base + box_number);
}

void install_answer_box_proc(HWND box) {
    if (!box) return;  // keeps saved_edit_proc from being overwritten with nothing
    saved_edit_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(answer_box_proc)));
}

HWND create_feedback_label(const PanelBuilder& builder, int box_number, const ControlRect& rect) {
    return create_control(builder.panel, "Static", "?", boxed_label_style, rect, feedback_label_id_base + box_number);
}

// The three set-up orders differ on purpose: each box's first evaluation runs
// before its feedback label exists, and the focus steps of the grid layouts
// evaluate the boxes again once their labels do.
void set_up_text_row_box(PanelBuilder& builder, int box_number, const ControlRect& box_rect,
                         const ControlRect& feedback_rect) {
    HWND box = create_answer_box(builder, box_number, text_answer_box_style, box_rect);
    set_answer_font(builder, box);
    evaluate_box(builder, box_number);
    install_answer_box_proc(box);
    create_feedback_label(builder, box_number, feedback_rect);
}

void set_up_single_grid_box(PanelBuilder& builder, int box_number, const ControlRect& box_rect,
                            const ControlRect& feedback_rect) {
    HWND box = create_answer_box(builder, box_number, answer_box_style, box_rect);
    set_answer_font(builder, box);
    SetFocus(box);  // the previous box loses the focus and is evaluated again
    evaluate_box(builder, box_number);
    install_answer_box_proc(box);
    create_feedback_label(builder, box_number, feedback_rect);
}

void set_up_paired_grid_box(PanelBuilder& builder, int box_number, const ControlRect& box_rect,
                            const ControlRect& feedback_rect) {
    HWND box = create_answer_box(builder, box_number, answer_box_style, box_rect);
    SetFocus(box);
    set_answer_font(builder, box);
    install_answer_box_proc(box);
    evaluate_box(builder, box_number);
    HWND feedback = create_feedback_label(builder, box_number, feedback_rect);
    set_font(feedback, gui_font(), TRUE);
    SetFocus(feedback);  // the box loses the focus and is evaluated with its label in place
}

void build_text_row(PanelBuilder& builder, int question_number) {
    const TextRow row = text_row(question_number);
    const QuestionEntry* entry = question_at(builder.record, question_number - 1);
    create_number_label(builder.panel, question_number, row.number);
    create_font_label(builder.panel, entry->question_text, boxed_label_style, row.question, question_label_id);
    set_up_text_row_box(builder, question_number, row.answer_box, row.feedback);
    add_text_row(builder.extent, row);
}

// The question pictures of one grid row, each decoded once: measured for the
// row's height, then handed to its cell.
struct RowPictures {
    OwnedBitmap bitmaps[3];
    FittedSize sizes[3];
    int height = 0;
};

FittedSize bitmap_size(HBITMAP bitmap) {
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return {};
    return {info.bmWidth, info.bmHeight};
}

void load_row_pictures(RowPictures& row, int first_question, int question_count) {
    int heights[3] = {};
    for (int m = 0; m < 3; ++m) {
        const int question_number = first_question + m;
        OwnedBitmap picture(load_picture(GetModuleHandleA(nullptr),
                                         question_picture_id_base + static_cast<unsigned>(question_number), "IMG",
                                         picture_box_width, picture_box_height));
        row.sizes[m] = bitmap_size(picture.get());
        heights[m] = row.sizes[m].height;
        // A picture past the last question only counts in the height.
        row.bitmaps[m] = question_number <= question_count ? std::move(picture) : OwnedBitmap();
    }
    row.height = row_picture_height(heights);
}

// The control owns the bitmap from here; the panel deletes it when it is destroyed.
void create_picture_control(HWND panel, int question_number, const ControlRect& rect, OwnedBitmap picture) {
    HWND control = create_control(panel, "STATIC", nullptr, picture_control_style, rect,
                                  picture_control_id_base + question_number);
    if (control && picture) set_control_picture(control, picture.release());
}

void create_media_button(HWND panel, int id, const ControlRect& rect, HICON icon) {
    HWND button = create_control(panel, "Button", "", media_button_style, rect, id);
    SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

void build_grid_cell(PanelBuilder& builder, RowPictures& pictures, int question_number) {
    const QuizRecord& record = builder.record;
    const int column = (question_number - 1) % 3;
    const bool picture_cell = record.quiz_kind == picture_quiz;
    const FittedSize* picture_size = picture_cell && pictures.bitmaps[column] ? &pictures.sizes[column] : nullptr;
    const GridCell cell =
        grid_cell(grid_shape(record), question_number, builder.extent.row_top, pictures.height, picture_size);

    if (picture_cell)
        create_picture_control(builder.panel, question_number, cell.picture, std::move(pictures.bitmaps[column]));
    if (cell.has_captions) {
        const char* captions[2] = {record.answer_label_1, record.answer_label_2};
        for (int k = 0; k < 2; ++k)
            create_font_label(builder.panel, captions[k], caption_label_style, cell.captions[k], caption_label_id);
    }
    create_number_label(builder.panel, question_number, cell.number);
    if (cell.has_media_buttons) {
        create_media_button(builder.panel, play_button_id_base + question_number, cell.play, builder.play_icon);
        create_media_button(builder.panel, stop_button_id_base + question_number, cell.stop, builder.stop_icon);
    }
    for (int k = 0; k < cell.box_count; ++k) {
        const int box_number = (question_number - 1) * cell.box_count + k + 1;
        if (cell.box_count == 1)
            set_up_single_grid_box(builder, box_number, cell.answer_boxes[k], cell.feedback_labels[k]);
        else
            set_up_paired_grid_box(builder, box_number, cell.answer_boxes[k], cell.feedback_labels[k]);
    }
    if (cell.has_reveal) {
        const int reveal_id = reveal_label_id_base + question_number;
        create_font_label(builder.panel, "", reveal_label_style, cell.reveal, reveal_id);  // empty until solved
    }
    add_grid_cell(builder.extent, question_number, cell);
}

void build_rows(PanelBuilder& builder) {
    const QuizRecord& record = builder.record;
    if (!record.first_question) return;  // the quiz stream failed to decode: nothing to show
    const int question_count = shown_question_count(record);
    const int kind = record.quiz_kind;
    if (kind == text_quiz) {
        for (int n = 1; n <= question_count; ++n) build_text_row(builder, n);
    } else if (kind == picture_quiz || kind == sound_quiz || kind == video_quiz) {
        RowPictures pictures;
        for (int n = 1; n <= question_count; ++n) {
            if (kind == picture_quiz && starts_grid_row(n)) load_row_pictures(pictures, n, question_count);
            build_grid_cell(builder, pictures, n);
        }
    }
}

// Builds every row with the answers of the results file; the file is open only meanwhile.
PanelExtent build_rows_with_saved_answers(HWND panel, QuizRecord& record, HICON play_icon, HICON stop_icon) {
    const MappedResults results = map_results_file();
    SavedAnswers saved(static_cast<const unsigned char*>(results.view.get()), results.size);
    create_answer_font(record);
    PanelBuilder builder{panel, record, saved, play_icon, stop_icon, PanelExtent{}};
    {
        const DeferredScoreRecount recount_once(record, panel);
        build_rows(builder);
    }
    add_right_margin(builder.extent, record.answers_per_question);
    return builder.extent;
}

void set_scroll_range(HWND panel, int bar, const ScrollRange& range) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;  // a bar with nothing to scroll stays, disabled
    info.nMin = 0;
    info.nMax = range.maximum;
    info.nPage = static_cast<UINT>(range.page);
    SetScrollInfo(panel, bar, &info, TRUE);
}

}  // namespace

LOGFONTA answer_font_description() {
    LOGFONTA font = {};
    font.lfHeight = 15;
    font.lfWeight = 100;
    return font;
}

void build_question_panel(HWND panel) {
    content_width = 0;
    content_height = 0;
    if (!quiz) return;
    QuizRecord& record = *quiz;
    HICON play_icon = nullptr;
    HICON stop_icon = nullptr;
    if (record.quiz_kind == sound_quiz || record.quiz_kind == video_quiz) {
        play_icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(play_icon_id));
        stop_icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(stop_icon_id));
        if (!attach_player(panel)) return;  // the panel stays empty
    }
    const PanelExtent extent = build_rows_with_saved_answers(panel, record, play_icon, stop_icon);
    content_width = extent.content_width;
    content_height = extent.content_height;
    update_scroll_ranges(panel);
}

void update_scroll_ranges(HWND panel) {
    RECT client = {};
    GetClientRect(panel, &client);
    const ScrollRange horizontal = scroll_range(content_width, client.right);
    const ScrollRange vertical = scroll_range(content_height, client.bottom);
    if (horizontal.resets_position) SetScrollPos(panel, SB_HORZ, 0, FALSE);
    if (vertical.resets_position) SetScrollPos(panel, SB_VERT, 0, FALSE);
    set_scroll_range(panel, SB_HORZ, horizontal);
    set_scroll_range(panel, SB_VERT, vertical);
}
