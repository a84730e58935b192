// Reads and moves a running player's windows (or the Atelier's) from another
// process, for the end-to-end scripts: rectangles, focus and placement are the
// window server's, so another process sees them as the program does.
// Usage: window_probe TITLE COMMAND [ARGUMENTS] (the Atelier: window_probe DevinetteAtelier ...)
//   window            prints "left top right bottom maximised" of the main window
//   in-view ID...     exit 0 when every control lies wholly in the question panel's view
//   texts ID...       prints the text of each control of the question panel, one a line
//   count ID          prints the number of items of a list-view control
//   wait-empty ID S   waits until the control's text is empty, at most S seconds
//   clipboard-picture puts a 4 x 3 red bitmap on the clipboard, as a screenshot would
//   place L T W H | maximise | close
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

HWND main_window = nullptr;
HWND panel = nullptr;

BOOL CALLBACK find_panel(HWND child, LPARAM) {
    if (GetWindowLongA(child, GWL_STYLE) & WS_VSCROLL) panel = child;
    return panel == nullptr;
}

RECT in_panel(int id) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(panel, id), &rect);
    MapWindowPoints(HWND_DESKTOP, panel, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int in_view(const std::vector<int>& ids) {
    RECT view = {};
    GetClientRect(panel, &view);
    int outside = 0;
    for (int id : ids) {
        const RECT rect = in_panel(id);
        if (GetDlgItem(panel, id) && rect.left >= 0 && rect.top >= 0 && rect.right <= view.right &&
            rect.bottom <= view.bottom)
            continue;
        std::printf("control %d at %ld %ld %ld %ld, view %ld x %ld\n", id, rect.left, rect.top, rect.right, rect.bottom,
                    view.right, view.bottom);
        ++outside;
    }
    return outside ? 1 : 0;
}

int put_clipboard_picture() {
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = 4;
    header.biHeight = 3;
    header.biPlanes = 1;
    header.biBitCount = 32;
    const DWORD pixels = 4 * 3 * 4;
    const HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, sizeof header + pixels);
    unsigned char* bytes = static_cast<unsigned char*>(GlobalLock(data));
    std::memcpy(bytes, &header, sizeof header);
    for (DWORD i = 0; i < pixels; i += 4) {
        bytes[sizeof header + i] = 0;          // blue
        bytes[sizeof header + i + 1] = 0;      // green
        bytes[sizeof header + i + 2] = 255;    // red
        bytes[sizeof header + i + 3] = 0;
    }
    GlobalUnlock(data);
    if (!OpenClipboard(nullptr)) return 1;
    EmptyClipboard();
    const bool put = SetClipboardData(CF_DIB, data) != nullptr;
    CloseClipboard();
    return put ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    main_window = FindWindowA("WindowsApp", argv[1]);
    if (main_window) EnumChildWindows(main_window, find_panel, 0);
    // The Atelier, named by its window class: its controls are its own.
    if (!main_window) panel = main_window = FindWindowA(argv[1], nullptr);
    if (!panel) return std::printf("no player window \"%s\"\n", argv[1]), 1;
    const char* command = argv[2];
    std::vector<int> numbers;
    for (int i = 3; i < argc; ++i) numbers.push_back(std::atoi(argv[i]));
    if (!std::strcmp(command, "window")) {
        RECT frame = {};
        GetWindowRect(main_window, &frame);
        std::printf("%ld %ld %ld %ld %d\n", frame.left, frame.top, frame.right, frame.bottom, IsZoomed(main_window) ? 1 : 0);
    } else if (!std::strcmp(command, "in-view")) {
        return in_view(numbers);
    } else if (!std::strcmp(command, "texts")) {
        for (int id : numbers) {
            char text[300] = {};
            SendMessageA(GetDlgItem(panel, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
            std::printf("%s\n", text);
        }
    } else if (!std::strcmp(command, "wait-empty") && numbers.size() == 2) {
        for (DWORD waited = 0; GetWindowTextLengthA(GetDlgItem(panel, numbers[0])) > 0; waited += 10) {
            if (waited >= static_cast<DWORD>(numbers[1]) * 1000) return 1;
            Sleep(10);
        }
    } else if (!std::strcmp(command, "count") && numbers.size() == 1) {
        std::printf("%d\n", static_cast<int>(SendMessageA(GetDlgItem(panel, numbers[0]), LVM_GETITEMCOUNT, 0, 0)));
    } else if (!std::strcmp(command, "clipboard-picture")) {
        return put_clipboard_picture();
    } else if (!std::strcmp(command, "place") && numbers.size() == 4) {
        SetWindowPos(main_window, nullptr, numbers[0], numbers[1], numbers[2], numbers[3], SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (!std::strcmp(command, "maximise")) {
        ShowWindowAsync(main_window, SW_MAXIMIZE);
    } else if (!std::strcmp(command, "close")) {
        PostMessageA(main_window, WM_CLOSE, 0, 0);
    } else {
        return 2;
    }
    return 0;
}
