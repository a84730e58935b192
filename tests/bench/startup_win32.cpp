// Start-up time of the player: from process creation until the main window is
// drawn and its queue is empty, with the number of pictures decoded on the way.
// Packed with a quiz (devinette-pack --template), it measures that quiz.
#include <windows.h>

#include <cstdio>

#include "app/main_window.h"
#include "pictures/picture_loader.h"

namespace {

double milliseconds_since_process_start() {
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    ULARGE_INTEGER start{{created.dwLowDateTime, created.dwHighDateTime}};
    ULARGE_INTEGER end{{now.dwLowDateTime, now.dwHighDateTime}};
    return static_cast<double>(end.QuadPart - start.QuadPart) / 10000.0;
}

// Dispatches until nothing is left to do: every pending paint has been drawn.
void run_until_idle(HWND main_window) {
    UpdateWindow(main_window);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (IsDialogMessageA(question_panel_window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

int main() {
    HWND main_window = start_player(GetModuleHandleA(nullptr));
    if (!main_window) return 1;
    run_until_idle(main_window);
    const double elapsed = milliseconds_since_process_start();
    std::printf("startup_ms=%.1f picture_decodes=%ld\n", elapsed, picture_decode_count());
    std::fflush(stdout);
    shut_down_player(main_window);
    return 0;
}
