#include "player/main_window.h"

#include "player/answer_boxes/answer_box.h"
#include "base/version.h"
#include "player/header_panel/header_panel.h"
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

LRESULT on_create(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    create_label(window, version_text, 725, client.bottom - 16, 130, 15, version_label_id);
    SendMessageA(window, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(nullptr, IDI_QUESTION)));
    return 0;
}

LRESULT on_size(HWND window, WPARAM size_type, LPARAM size) {
    if (size_type == SIZE_MINIMIZED) return 0;
    const int width = LOWORD(size);
    const int height = HIWORD(size);
    if (question_panel_window)
        SetWindowPos(question_panel_window, nullptr, 5, 50, width - 11, height - 68, layout_flags);
    if (header_panel_window)
        SetWindowPos(header_panel_window, nullptr, 5, 2, width - 11, 49, layout_flags);
    SetWindowPos(GetDlgItem(window, version_label_id), nullptr, width - 185, height - 16, 180, 15,
                 SWP_NOOWNERZORDER | SWP_NOACTIVATE);
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
LRESULT on_end_session(WPARAM ending) {
    if (ending) save_answers(question_panel_window);
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

void centre_window(HWND window) {
    RECT desktop;
    RECT frame;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &frame);
    const int x = desktop.left + ((desktop.right - desktop.left) - (frame.right - frame.left)) / 2;
    const int y = desktop.top + ((desktop.bottom - desktop.top) - (frame.bottom - frame.top)) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
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
    case WM_CLOSE: return on_close();
    case WM_ENDSESSION: return on_end_session(wparam);
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
    centre_window(main_window);
    header_panel_window = CreateDialogParamA(instance, MAKEINTRESOURCEA(header_template),
                                             main_window, header_panel_proc, 0);
    ShowWindow(header_panel_window, SW_SHOWNORMAL);
    quiz->header_panel = header_panel_window;
    question_panel_window = CreateDialogParamA(instance, MAKEINTRESOURCEA(question_panel_template),
                                               main_window, question_panel_proc, 0);
    ShowWindow(main_window, SW_SHOWNORMAL);
    ShowWindow(question_panel_window, SW_SHOWNORMAL);
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
