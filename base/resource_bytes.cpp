#include "base/resource_bytes.h"

ResourceView find_resource(HMODULE module, const char* type, unsigned id) {
    ResourceView view;
    // MAKEINTRESOURCE would cut a larger id down to another resource's.
    if (id > 0xFFFF) return view;
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (!info) return view;
    view.found = true;
    view.size = SizeofResource(module, info);
    if (view.size == 0) return view;
    HGLOBAL loaded = LoadResource(module, info);
    if (loaded) view.bytes = static_cast<const unsigned char*>(LockResource(loaded));
    return view;
}

bool read_resource(HMODULE module, const char* type, int id, std::vector<unsigned char>& bytes) {
    const ResourceView view = find_resource(module, type, static_cast<unsigned>(id));
    if (!view.bytes) return false;
    bytes.assign(view.bytes, view.bytes + view.size);
    return true;
}
