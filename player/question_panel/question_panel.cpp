#include "player/question_panel/question_panel.h"

#include <memory>
#include <utility>

#include "player/answer_boxes/answer_box.h"
#include "player/answer_boxes/evaluation.h"
#include "player/fitted_text.h"
#include "answers/results_file.h"
#include "base/owned_handle.h"
#include "player/media/media_layer.h"
#include "pictures/picture_loader.h"
#include "player/question_panel/panel_controls.h"
#include "layout/panel_layout.h"
#include "layout/scroll_math.h"
#include "quiz_data/quiz_record.h"

int content_width = 0;
int content_height = 0;
int first_row_bottom = 0;

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
// The buttons are 20 x 20: their frames leave the middle of a 16-pixel image.
constexpr int button_icon_size = 16;

// The buttons show these icons but do not own them; each construction loads them anew.
OwnedIcon play_button_icon;
OwnedIcon stop_button_icon;

HICON load_button_icon(int id) {
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON,
                                         button_icon_size, button_icon_size, LR_DEFAULTCOLOR));
}

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
    LOGFONTA font = {};
    font.lfHeight = answer_font_height;
    font.lfWeight = answer_font_weight;
    record.answer_font.reset(CreateFontIndirectA(&font));
}

// Question pictures measured from their headers, decoded once the window is
// shown: in row order, one per posted message.
struct DeferredPictures {
    HWND panel = nullptr;
    int questions[max_questions] = {};
    int count = 0;
    int next = 0;
    // Held from construction until the last picture.
    std::unique_ptr<PictureDecoder> decoder;
};

DeferredPictures deferred_pictures;

struct PanelBuilder {
    HWND panel;
    QuizRecord& record;
    SavedAnswers& saved;
    HICON play_icon;
    HICON stop_icon;
    PanelExtent extent;
    HWND focus = nullptr;  // the control that ends construction with the focus
};

// Where each answer box and its cell lie, in content coordinates, by box number from 1.
FocusArea focus_areas[2 * max_questions];
int focus_area_count = 0;
int focus_following_pauses = 0;

void note_focus_area(int box_number, const FocusArea& area) {
    if (box_number < 1 || box_number > 2 * max_questions) return;
    focus_areas[box_number - 1] = area;
    if (box_number > focus_area_count) focus_area_count = box_number;
}

HWND create_control(HWND panel, const char* class_name, const char* text, DWORD style, const ControlRect& rect,
                    int id) {
    HWND control = CreateWindowExA(0, class_name, text, style, rect.x, rect.y, rect.width, rect.height, panel,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                   nullptr);
    remember_panel_control(panel, id, control);
    return control;
}

// The panel is hidden while its rows are built: a control has nothing to redraw yet.
void set_font(HWND control, HGDIOBJ font) { SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE); }

HGDIOBJ gui_font() { return GetStockObject(DEFAULT_GUI_FONT); }

// A static label in the stock GUI font, its text ending with an ellipsis where it is too long.
void create_font_label(HWND panel, const char* text, DWORD style, const ControlRect& rect, int id) {
    HWND label = create_control(panel, "Static", "", style, rect, id);
    set_font(label, gui_font());
    set_fitted_text(label, text);
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

void set_answer_font(const PanelBuilder& builder, HWND box) { set_font(box, builder.record.answer_font.get()); }

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
// before its feedback label exists, and the grid layouts evaluate the boxes
// again once their labels do, where a focus step through every box would: the
// grades, reveals and score come out as if the focus had visited each box, and
// the focus is given once, at the end, to the control that would keep it.
void set_up_text_row_box(PanelBuilder& builder, int box_number, const ControlRect& box_rect,
                         const ControlRect& feedback_rect, const FocusArea& area) {
    note_focus_area(box_number, area);
    HWND box = create_answer_box(builder, box_number, text_answer_box_style, box_rect);
    set_answer_font(builder, box);
    evaluate_box(builder, box_number);
    install_answer_box_proc(box);
    create_feedback_label(builder, box_number, feedback_rect);
}

void set_up_single_grid_box(PanelBuilder& builder, int box_number, const ControlRect& box_rect,
                            const ControlRect& feedback_rect, const FocusArea& area) {
    note_focus_area(box_number, area);
    HWND box = create_answer_box(builder, box_number, answer_box_style, box_rect);
    set_answer_font(builder, box);
    if (builder.focus) evaluate_box(builder, box_number - 1);  // as the previous box losing the focus
    builder.focus = box;
    evaluate_box(builder, box_number);
    install_answer_box_proc(box);
    create_feedback_label(builder, box_number, feedback_rect);
}

void set_up_paired_grid_box(PanelBuilder& builder, int box_number, const ControlRect& box_rect,
                            const ControlRect& feedback_rect, const FocusArea& area) {
    note_focus_area(box_number, area);
    HWND box = create_answer_box(builder, box_number, answer_box_style, box_rect);
    set_answer_font(builder, box);
    install_answer_box_proc(box);
    evaluate_box(builder, box_number);
    HWND feedback = create_feedback_label(builder, box_number, feedback_rect);
    set_font(feedback, gui_font());
    builder.focus = feedback;
    evaluate_box(builder, box_number);  // as the box losing the focus to its label
}

void build_text_row(PanelBuilder& builder, int question_number) {
    const TextRow row = text_row(question_number);
    const QuestionEntry* entry = question_at(builder.record, question_number - 1);
    create_number_label(builder.panel, question_number, row.number);
    create_font_label(builder.panel, entry->question_text, boxed_label_style, row.question, question_label_id);
    set_up_text_row_box(builder, question_number, row.answer_box, row.feedback, focus_area(row));
    add_text_row(builder.extent, row);
}

// A question picture of a grid row: its fitted size and, when decoded during
// construction, its bitmap.
struct CellPicture {
    OwnedBitmap bitmap;
    FittedSize size;
    bool deferred = false;  // measured from its header, decoded once the window is shown

    bool shown() const { return bitmap || deferred; }
};

struct RowPictures {
    CellPicture cells[3];
    int height = 0;
};

FittedSize bitmap_size(HBITMAP bitmap) {
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return {};
    return {info.bmWidth, info.bmHeight};
}

unsigned question_picture_id(int question_number) {
    return question_picture_id_base + static_cast<unsigned>(question_number);
}

HBITMAP load_question_picture(int question_number) {
    return load_picture(*deferred_pictures.decoder, GetModuleHandleA(nullptr), question_picture_id(question_number),
                        "IMG", picture_box_width, picture_box_height);
}

// A picture is measured from its JPEG header and decoded once the panel has its
// size; one whose header cannot be read is decoded now.
CellPicture measure_or_load(int question_number) {
    CellPicture picture;
    FittedSize fitted;
    if (fitted_size_from_header(GetModuleHandleA(nullptr), question_picture_id(question_number), "IMG",
                                            picture_box_width, picture_box_height, fitted)) {
        // A picture that fits to nothing is none, as load_picture would give it.
        picture.deferred = fitted.width > 0 && fitted.height > 0;
        if (picture.deferred) picture.size = fitted;
        return picture;
    }
    picture.bitmap.reset(load_question_picture(question_number));
    picture.size = bitmap_size(picture.bitmap.get());
    return picture;
}

void measure_row_pictures(RowPictures& row, int first_question, int question_count) {
    int heights[3] = {};
    for (int m = 0; m < 3; ++m) {
        const int question_number = first_question + m;
        // A picture past the last question only counts in the height.
        row.cells[m] = measure_or_load(question_number);
        heights[m] = row.cells[m].size.height;
        if (question_number > question_count) row.cells[m] = CellPicture();
    }
    row.height = row_picture_height(heights);
}

void defer_picture(HWND panel, int question_number) {
    DeferredPictures& pending = deferred_pictures;
    if (pending.panel != panel || pending.count == max_questions) return;
    pending.questions[pending.count++] = question_number;
}

// The control owns the bitmap from here; the panel deletes it when it is destroyed.
void create_picture_control(HWND panel, int question_number, const ControlRect& rect, CellPicture picture) {
    HWND control = create_control(panel, "STATIC", nullptr, picture_control_style, rect,
                                  picture_control_id_base + question_number);
    if (!control) return;
    if (picture.bitmap) set_control_picture(control, picture.bitmap.release());
    if (picture.deferred) defer_picture(panel, question_number);
}

void create_media_button(HWND panel, int id, const ControlRect& rect, HICON icon) {
    HWND button = create_control(panel, "Button", "", media_button_style, rect, id);
    SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

void build_grid_cell(PanelBuilder& builder, RowPictures& pictures, int question_number) {
    const QuizRecord& record = builder.record;
    const int column = (question_number - 1) % 3;
    const bool picture_cell = record.quiz_kind == picture_quiz;
    const FittedSize* picture_size =
        picture_cell && pictures.cells[column].shown() ? &pictures.cells[column].size : nullptr;
    const GridCell cell =
        grid_cell(grid_shape(record), question_number, builder.extent.row_top, pictures.height, picture_size);

    if (picture_cell)
        create_picture_control(builder.panel, question_number, cell.picture, std::move(pictures.cells[column]));
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
            set_up_single_grid_box(builder, box_number, cell.answer_boxes[k], cell.feedback_labels[k],
                                   focus_area(cell, k));
        else
            set_up_paired_grid_box(builder, box_number, cell.answer_boxes[k], cell.feedback_labels[k],
                                   focus_area(cell, k));
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
            if (kind == picture_quiz && starts_grid_row(n)) measure_row_pictures(pictures, n, question_count);
            build_grid_cell(builder, pictures, n);
        }
    }
    if (builder.focus) SetFocus(builder.focus);
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

// False when the control already shows a picture (decoded before, or the answer
// picture of a reveal: it stays).
bool decode_into(HWND control, int question_number) {
    if (!control || SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0)) return false;
    HBITMAP picture = load_question_picture(question_number);
    if (picture) set_control_picture(control, picture);
    return true;
}

RECT client_of(HWND panel) {
    RECT client = {};
    GetClientRect(panel, &client);
    return client;
}

// Once the loop has been asked to end, the decoding stops: a posted message
// would otherwise come before the quit and each one post the next.
bool quit_requested() {
    MSG quit;
    return PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

void post_next_picture(HWND panel) {
    DeferredPictures& pending = deferred_pictures;
    if (panel != pending.panel) return;
    if (pending.next < pending.count)
        PostMessageA(panel, decode_next_picture_message, 0, 0);
    else
        pending.decoder.reset();
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

void build_question_panel(HWND panel) {
    content_width = 0;
    content_height = 0;
    first_row_bottom = 0;
    focus_area_count = 0;
    reset_panel_controls(panel);
    deferred_pictures = DeferredPictures{};
    deferred_pictures.panel = panel;
    if (quiz && quiz->quiz_kind == picture_quiz) deferred_pictures.decoder = std::make_unique<PictureDecoder>();
    if (!quiz) return;
    QuizRecord& record = *quiz;
    if (has_media(record.quiz_kind)) {
        play_button_icon.reset(load_button_icon(play_icon_id));
        stop_button_icon.reset(load_button_icon(stop_icon_id));
        if (!attach_player(panel)) return;  // the panel stays empty
    }
    const PanelExtent extent =
        build_rows_with_saved_answers(panel, record, play_button_icon.get(), stop_button_icon.get());
    content_width = extent.content_width;
    content_height = extent.content_height;
    first_row_bottom = extent.first_row_bottom;
    update_scroll_ranges(panel);
    post_next_picture(panel);
}

void decode_next_picture(HWND panel) {
    DeferredPictures& pending = deferred_pictures;
    if (panel != pending.panel || pending.next >= pending.count) return;
    if (quit_requested()) {
        pending = DeferredPictures{};
        return;
    }
    // Those decoded before the panel was shown go by without a message of their own.
    while (pending.next < pending.count) {
        const int question_number = pending.questions[pending.next++];
        if (decode_into(panel_control(panel, picture_control_id_base + question_number), question_number)) break;
    }
    post_next_picture(panel);
}

void decode_pictures_in_view(HWND panel) {
    const DeferredPictures& pending = deferred_pictures;
    if (panel != pending.panel) return;
    const RECT client = client_of(panel);
    for (int i = pending.next; i < pending.count; ++i) {
        const int question_number = pending.questions[i];
        HWND control = panel_control(panel, picture_control_id_base + question_number);
        RECT rect = {};
        GetWindowRect(control, &rect);
        MapWindowPoints(HWND_DESKTOP, panel, reinterpret_cast<POINT*>(&rect), 2);
        // Pictures sit centred in their row: none further on starts higher than this one less a cell.
        if (rect.top >= client.bottom + picture_box_height) break;
        RECT shown;
        if (IntersectRect(&shown, &rect, &client)) decode_into(control, question_number);
    }
}

ScrollPoint scroll_point(HWND panel) { return {GetScrollPos(panel, SB_HORZ), GetScrollPos(panel, SB_VERT)}; }

void scroll_to(HWND panel, ScrollPoint position) {
    const ScrollPoint old = scroll_point(panel);
    SetScrollPos(panel, SB_HORZ, position.x, TRUE);
    SetScrollPos(panel, SB_VERT, position.y, TRUE);
    // The bars keep at most nMax - nPage + 1: the content moves by what they accepted.
    const ScrollPoint accepted = scroll_point(panel);
    if (accepted.x != old.x || accepted.y != old.y)
        ScrollWindow(panel, old.x - accepted.x, old.y - accepted.y, nullptr, nullptr);
}

void show_answer_box(HWND panel, int box_number) {
    if (focus_following_pauses > 0 || box_number < 1 || box_number > focus_area_count || !IsWindowVisible(panel))
        return;
    const RECT view = client_of(panel);
    scroll_to(panel, position_showing(focus_areas[box_number - 1], scroll_point(panel), view.right, view.bottom));
}

void show_focused_box(HWND panel) {
    HWND focus = GetFocus();
    if (focus && GetParent(focus) == panel) show_answer_box(panel, GetDlgCtrlID(focus) - answer_box_id_base);
}

void page_from_box(HWND box, int request) {
    HWND panel = GetParent(box);
    const ScrollPoint before = scroll_point(panel);
    SendMessageA(panel, WM_VSCROLL, request, 0);
    const int box_number = GetDlgCtrlID(box) - answer_box_id_base;
    if (box_number < 1 || box_number > focus_area_count) return;
    const RECT view = client_of(panel);
    const int nearest = box_at_same_place(focus_areas, focus_area_count, box_number - 1, before, scroll_point(panel),
                                          view.right, view.bottom);
    if (nearest != box_number - 1) SetFocus(panel_control(panel, answer_box_id_base + nearest + 1));
}

FocusFollowingPaused::FocusFollowingPaused() { ++focus_following_pauses; }
FocusFollowingPaused::~FocusFollowingPaused() { --focus_following_pauses; }

void forget_question_panel(HWND panel) {
    if (deferred_pictures.panel == panel) deferred_pictures = DeferredPictures{};
    reset_panel_controls(nullptr);
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
