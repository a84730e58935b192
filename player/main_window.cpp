#include "player/main_window.h"

#include <vector>

#include "player/answer_boxes/answer_box.h"
#include "base/version.h"
#include "layout/window_layout.h"
#include "player/fitted_text.h"
#include "player/header_panel/header_panel.h"
#include "player/remembered_placement.h"
#include "player/media/media_layer.h"
#include "player/question_panel/question_panel.h"
#include "quiz_data/quiz_record.h"

HBRUSH label_brush = nullptr;
HWND header_panel_window = nullptr;
HWND question_panel_window = nullptr;

const char* const version_text = "(BETA) Réalisé avec la version " DEVINETTE_VERSION_TEXT;

namespace {

const char* const main_window_class = "WindowsApp";
constexpr int header_template = 1002;
constexpr int question_panel_template = 1001;
constexpr UINT layout_flags = SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE;

TextSize version_label_size;  // its text in its font

// The window's restored rectangle, followed through every move and resize while
// it is neither maximised nor minimised, and its placement once start-up showed
// it: only a change from that is remembered.
struct FollowedPlacement {
    bool started = false;
    ScreenRect restored;
    WindowPlacement at_start;
};
FollowedPlacement placement;

ScreenRect screen_rect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

void move(HWND control, const ControlRect& rect, UINT flags) {
    SetWindowPos(control, nullptr, rect.x, rect.y, rect.width, rect.height, flags);
}

void lay_out(HWND window, int width, int height) {
    const MainLayout layout = main_layout(width, height, version_label_size);
    if (question_panel_window) move(question_panel_window, layout.question_panel, layout_flags);
    if (header_panel_window) move(header_panel_window, layout.header, layout_flags);
    move(GetDlgItem(window, version_label_id), layout.version_label, SWP_NOOWNERZORDER | SWP_NOACTIVATE);
}

void follow_restored_rect(HWND window) {
    if (IsIconic(window) || IsZoomed(window)) return;
    RECT frame;
    GetWindowRect(window, &frame);
    placement.restored = screen_rect(frame);
}

WindowPlacement current_placement(HWND window) {
    WINDOWPLACEMENT shown = {};
    shown.length = sizeof shown;
    GetWindowPlacement(window, &shown);
    const bool maximised = shown.showCmd == SW_SHOWMAXIMIZED ||
                           (shown.showCmd == SW_SHOWMINIMIZED && (shown.flags & WPF_RESTORETOMAXIMIZED));
    return {placement.restored, maximised};
}

// Written only when the player moved, resized, maximised or restored the window.
void keep_placement(HWND window) {
    if (!placement.started) return;
    const WindowPlacement now = current_placement(window);
    if (now == placement.at_start) return;
    remember_placement(now);
    placement.at_start = now;
}

BOOL CALLBACK add_screen(HMONITOR, HDC, LPRECT rect, LPARAM screens) {
    reinterpret_cast<std::vector<ScreenRect>*>(screens)->push_back(screen_rect(*rect));
    return TRUE;
}

bool fits_a_screen(const ScreenRect& rect) {
    std::vector<ScreenRect> screens;
    EnumDisplayMonitors(nullptr, nullptr, add_screen, reinterpret_cast<LPARAM>(&screens));
    return placement_fits(rect, screens.data(), static_cast<int>(screens.size()));
}

ScreenRect work_area_of(HWND window) {
    MONITORINFO screen = {};
    screen.cbSize = sizeof screen;
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &screen);
    return screen_rect(screen.rcWork);
}

// What the window adds around the question panel's client area: its frame, the
// layout's margins and the panel's border and scroll bars.
TextSize panel_surround(HWND window) {
    RECT frame, client, panel_frame = {}, panel_client = {};
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    GetWindowRect(question_panel_window, &panel_frame);
    GetClientRect(question_panel_window, &panel_client);
    const ControlRect panel = main_layout(client.right, client.bottom, version_label_size).question_panel;
    return {frame.right - frame.left - panel.width + (panel_frame.right - panel_frame.left - panel_client.right),
            frame.bottom - frame.top - panel.height + (panel_frame.bottom - panel_frame.top - panel_client.bottom)};
}

// Before the window is first shown, with its panels built: the placement the
// player left it in, where a present screen still holds it, else large enough
// for the first row and centred in the work area. True when it is to be maximised.
bool place_main_window(HWND window) {
    WindowPlacement remembered;
    const bool restored = read_remembered_placement(remembered) && fits_a_screen(remembered.restored);
    const ScreenRect rect =
        restored ? remembered.restored
                 : first_window_rect(content_width, first_row_bottom, panel_surround(window), work_area_of(window));
    SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return restored && remembered.maximised;
}

LRESULT on_create(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    HWND label = create_label(window, version_text, 725, client.bottom - 16, 130, 15, version_label_id);
    version_label_size = text_size_in(control_font(label), version_text);
    SendMessageA(window, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(nullptr, IDI_QUESTION)));
    return 0;
}

LRESULT on_size(HWND window, WPARAM size_type, LPARAM size) {
    if (size_type == SIZE_MINIMIZED) return 0;
    follow_restored_rect(window);
    lay_out(window, LOWORD(size), HIWORD(size));
    return 0;
}

// Nothing closes before the answers are saved or the player chose to close without them.
LRESULT on_close() {
    if (!save_answers_before_closing(question_panel_window)) return 0;  // back to the quiz
    DeleteFileA("quizz.mp3");  // a missing file is no error
    PostQuitMessage(0);
    return 0;
}

// Windows ends the process after the session ends: save first, as on close, but
// ask nothing, since no one may be there to answer.
LRESULT on_end_session(HWND window, WPARAM ending) {
    if (!ending) return 0;
    save_answers(question_panel_window);
    keep_placement(window);
    return 0;
}

LRESULT on_ctl_color_static(HDC dc, HWND control) {
    if (GetDlgCtrlID(control) != version_label_id) return 0;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    return reinterpret_cast<LRESULT>(label_brush);
}

}  // namespace

void shut_down_player(HWND main_window) {
    keep_placement(main_window);
    placement = FollowedPlacement{};
    if (question_panel_window) EndDialog(question_panel_window, 0);
    if (header_panel_window) DestroyWindow(header_panel_window);
    release_media_layer(main_window);
    if (label_brush) DeleteObject(label_brush);
    label_brush = nullptr;
    delete quiz;
    quiz = nullptr;
}

bool register_main_window_class(HINSTANCE instance) {
    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_DBLCLKS;
    window_class.lpfnWndProc = main_window_proc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    window_class.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_SCROLLBAR + 1);
    window_class.lpszClassName = main_window_class;
    return RegisterClassExA(&window_class) != 0;
}

HWND create_main_window(HINSTANCE instance, const char* caption) {
    return CreateWindowExA(0, main_window_class, caption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 544, 375, nullptr, nullptr, instance, nullptr);
}


HWND create_label(HWND parent, const char* text, int x, int y, int width, int height, int id) {
    HWND label = CreateWindowExA(0, "Static", text, WS_CHILD | WS_VISIBLE, x, y, width, height,
                                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 TRUE);
    return label;
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE: return on_create(window);
    case WM_SIZE: return on_size(window, wparam, lparam);
    case WM_MOVE: follow_restored_rect(window); return 0;
    case WM_CLOSE: return on_close();
    case WM_ENDSESSION: return on_end_session(window, wparam);
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_CTLCOLORSTATIC:
        return on_ctl_color_static(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_MOUSEWHEEL: forward_wheel(question_panel_window, wparam); return 0;
    default: return DefWindowProcA(window, message, wparam, lparam);
    }
}

// Input and paint are taken before posted messages, which otherwise come first:
// the question panel decodes its pictures after start-up one posted message at
// a time, and typing, scrolling and drawing wait for one picture at most.
BOOL next_message(MSG& message) {
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT | PM_QS_PAINT | PM_QS_SENDMESSAGE))
        return message.message != WM_QUIT;
    return GetMessageA(&message, nullptr, 0, 0);
}

HWND start_player(HINSTANCE instance) {
    if (!register_main_window_class(instance)) return nullptr;
    label_brush = CreateSolidBrush(RGB(212, 208, 200));
    quiz = new QuizRecord;
    load_quiz(*quiz, nullptr);
    init_media_layer();

    HWND main_window = create_main_window(instance, quiz->title);
    header_panel_window = CreateDialogParamA(instance, MAKEINTRESOURCEA(header_template),
                                             main_window, header_panel_proc, 0);
    ShowWindow(header_panel_window, SW_SHOWNORMAL);
    quiz->header_panel = header_panel_window;
    question_panel_window = CreateDialogParamA(instance, MAKEINTRESOURCEA(question_panel_template),
                                               main_window, question_panel_proc, 0);
    // The panel is laid out for the window's size: the pictures it shows first are decoded before it shows.
    const bool maximised = place_main_window(main_window);
    decode_pictures_in_view(question_panel_window);
    ShowWindow(main_window, maximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    if (maximised) decode_pictures_in_view(question_panel_window);  // and those the larger size shows
    ShowWindow(question_panel_window, SW_SHOWNORMAL);
    show_focused_box(question_panel_window);
    placement.at_start = current_placement(main_window);
    placement.started = true;
    return main_window;
}

int run_player(HINSTANCE instance) {
    HWND main_window = start_player(instance);
    if (!main_window) return 0;
    int quit_code = 0;
    MSG message;
    for (;;) {
        const BOOL got = next_message(message);
        if (got == 0) {
            quit_code = static_cast<int>(message.wParam);
            break;
        }
        if (got == -1) {  // the queue is unusable: keep the answers and end
            save_answers(question_panel_window);
            quit_code = 1;
            break;
        }
        if (IsDialogMessageA(question_panel_window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    shut_down_player(main_window);
    return quit_code;
}
