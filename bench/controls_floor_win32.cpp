// The platform's floor under the question panel: the controls of 96 picture
// questions with reveal labels (a picture, a number, an answer box, a feedback
// label and a reveal label each), created bare in a hidden window, with nothing
// read, graded or drawn. Reports the time from process creation, as the
// start-up benchmark does, so that scripts/bench can set it beside the rows.
#include <windows.h>

#include <cstdio>

#include "bench/process_clock.h"

namespace {

struct Control {
    const char* class_name;
    const char* text;
    DWORD style;
    int height;
};

const Control question_controls[] = {
    {"STATIC", nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTERIMAGE | SS_BITMAP, 270},
    {"Static", "1.", WS_CHILD | WS_VISIBLE | SS_RIGHT, 17},
    {"Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_CENTER, 20},
    {"Static", "?", WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTERIMAGE | SS_CENTER, 20},
    {"Static", "", WS_CHILD | WS_VISIBLE | SS_CENTER, 65},
};

}  // namespace

int main() {
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1100, 700, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    HWND panel = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1100, 700, parent, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    int id = 1;
    for (int question = 0; question < 96; ++question) {
        int top = question / 3 * 400;
        for (const Control& control : question_controls) {
            CreateWindowExA(0, control.class_name, control.text, control.style, question % 3 * 390, top, 360,
                            control.height, panel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)),
                            GetModuleHandleA(nullptr), nullptr);
            top += control.height;
        }
    }
    const double done = milliseconds_since_process_start();
    std::printf("ready_ms=%.1f complete_ms=%.1f picture_decodes=0\n", done, done);
    DestroyWindow(parent);
    return 0;
}
