#include "pack_tool/console_window.h"

#include <windows.h>

#include <cstdio>

bool console_window_of_its_own() {
    if (!GetConsoleWindow()) return false;
    // Two are enough to tell: this process, and the shell that started it.
    DWORD processes[2];
    return GetConsoleProcessList(processes, 2) == 1;
}

void wait_for_enter() {
    std::printf("\nPress Enter to close this window.\n");
    std::fflush(stdout);
    for (int c = std::getchar(); c != '\n' && c != EOF; c = std::getchar()) {
    }
}
