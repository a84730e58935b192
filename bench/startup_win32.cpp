// Start-up time of the player, from process creation: "ready" once the main
// window is shown with its first screen drawn and the first answer box answers
// messages, "complete" once every queued message has been handled (every picture
// decoded and drawn), with the number of pictures decoded on the way.
// Packed with a quiz (devinette-pack --template), it measures that quiz.
#include <windows.h>

#include <cstdio>

#include "player/main_window.h"
#include "bench/process_clock.h"
#include "pictures/picture_loader.h"
#include "layout/panel_layout.h"

namespace {

// Draws every pending paint of the shown windows now, as the message loop does
// before any posted message, and asks the first answer box for its text.
void draw_first_screen(HWND main_window) {
    RedrawWindow(main_window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    HWND first_box = GetDlgItem(question_panel_window, answer_box_id_base + 1);
    if (first_box) SendMessageA(first_box, WM_GETTEXTLENGTH, 0, 0);
}

// Dispatches until nothing is left to do: every posted picture decoded, every paint drawn.
void run_until_idle() {
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
    draw_first_screen(main_window);
    const double ready = milliseconds_since_process_start();
    run_until_idle();
    const double complete = milliseconds_since_process_start();
    std::printf("ready_ms=%.1f complete_ms=%.1f picture_decodes=%ld\n", ready, complete, picture_decode_count());
    std::fflush(stdout);
    shut_down_player(main_window);
    return 0;
}
