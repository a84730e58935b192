#include "player/remembered_placement.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace {

const char* const value_name = "Placement";

std::string key_path() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string file(path);
    return "Software\\Devinette\\" + file.substr(file.find_last_of('\\') + 1);
}

void put(unsigned char* bytes, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
}

std::int32_t take(const unsigned char* bytes) {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    return static_cast<std::int32_t>(bits);
}

constexpr DWORD stored_size = 20;

}  // namespace

bool read_remembered_placement(WindowPlacement& placement) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key_path().c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    unsigned char bytes[stored_size] = {};
    DWORD type = 0;
    DWORD size = stored_size;
    const LONG read = RegQueryValueExA(key, value_name, nullptr, &type, bytes, &size);
    RegCloseKey(key);
    if (read != ERROR_SUCCESS || type != REG_BINARY || size != stored_size) return false;
    placement.restored = {take(bytes), take(bytes + 4), take(bytes + 8), take(bytes + 12)};
    placement.maximised = take(bytes + 16) != 0;
    return true;
}

void remember_placement(const WindowPlacement& placement) {
    unsigned char bytes[stored_size];
    put(bytes, placement.restored.left);
    put(bytes + 4, placement.restored.top);
    put(bytes + 8, placement.restored.right);
    put(bytes + 12, placement.restored.bottom);
    put(bytes + 16, placement.maximised ? 1 : 0);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key_path().c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;  // not kept: the next start opens at the first size
    RegSetValueExA(key, value_name, 0, REG_BINARY, bytes, stored_size);
    RegCloseKey(key);
}
