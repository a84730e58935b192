// A resource's bytes where they lie in a loaded module, or a copy of them.
#pragma once

#include <windows.h>

#include <vector>

// Resource memory belongs to the module: nothing to free or unlock.
struct ResourceView {
    bool found = false;                  // the module has the resource
    const unsigned char* bytes = nullptr;  // null when it is empty or cannot be loaded
    DWORD size = 0;
};

// Resource `id` of `type` in `module` (nullptr: the executable). Ids above
// 0xFFFF are no integer resource names and are never found.
ResourceView find_resource(HMODULE module, const char* type, unsigned id);

// Copies resource `id` of `type` out of `module`; false when it is missing or empty.
bool read_resource(HMODULE module, const char* type, int id, std::vector<unsigned char>& bytes);
