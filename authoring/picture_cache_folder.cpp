#include "authoring/picture_cache_folder.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "base/wide_text.h"

std::string local_data_folder(const std::string& name) {
    wchar_t* local = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local)))
        folder = utf8_text(local) + "\\Devinette\\" + name;
    CoTaskMemFree(local);  // also when the call failed, as documented
    return folder;
}

std::string picture_cache_folder() {
    wchar_t named[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"DEVINETTE_CACHE", named, MAX_PATH);
    if (length > 0 && length < MAX_PATH) return utf8_text(named);
    return local_data_folder("cache");
}
