// The pack tool's console: whether it was made for the tool alone, and text
// written to it as characters.
#pragma once

#include <windows.h>

#include "base/owned_handle.h"

// True when the tool's console window exists for this process alone, as when
// Explorer starts the tool (a double click, a file dropped on it): the window
// closes with the tool, so it waits for Enter first. False when the tool runs in
// a terminal shared with the shell (a command prompt, or any Linux terminal
// under Wine), or without any console window.
bool console_window_of_its_own();

// Prints a line and waits for Enter, so the maker can read what the tool said.
void wait_for_enter();

// While it lives, what the program prints through the C runtime (UTF-8 bytes)
// to a console reaches it as UTF-16 characters, written with WriteConsoleW, so
// no code page can garble them; a pipe or a file still gets the bytes unchanged.
// Printing goes on as it did: the standard streams are rerouted to a pipe that
// a thread relays to the console, and put back when the owner goes.
class ConsoleCharacters {
public:
    ConsoleCharacters();
    ConsoleCharacters(const ConsoleCharacters&) = delete;
    ConsoleCharacters& operator=(const ConsoleCharacters&) = delete;
    ~ConsoleCharacters();

private:
    static DWORD WINAPI relay(void* self);

    OwnedFile console_;        // the console's screen
    OwnedFile pipe_;           // the pipe's reading end
    OwnedThread relay_;        // reads the pipe, writes the console
    int saved_[2] = {-1, -1};  // stdout and stderr as they were, when rerouted
};
