// The main window's size, position and maximised state, kept for the user per
// quiz: in HKEY_CURRENT_USER\Software\Devinette\<executable's file name>, value
// "Placement", REG_BINARY of five little-endian 32-bit integers: left, top,
// right and bottom of the restored window in screen pixels, then 1 when it is
// maximised, else 0.
#pragma once

#include "layout/window_layout.h"

struct WindowPlacement {
    ScreenRect restored;
    bool maximised = false;
};

inline bool operator==(const WindowPlacement& a, const WindowPlacement& b) {
    return a.restored == b.restored && a.maximised == b.maximised;
}

// False when nothing (or something else) is kept there.
bool read_remembered_placement(WindowPlacement& placement);
void remember_placement(const WindowPlacement& placement);
