// The pack tool's console: whether it was made for the tool alone.
#pragma once

// True when the tool's console window exists for this process alone, as when
// Explorer starts the tool (a double click, a file dropped on it): the window
// closes with the tool, so it waits for Enter first. False when the tool runs in
// a terminal shared with the shell, or without any console window.
bool console_window_of_its_own();

// Prints a line and waits for Enter, so the maker can read what the tool said.
void wait_for_enter();
