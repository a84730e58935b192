#include <windows.h>

#include "player/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return run_player(instance); }
