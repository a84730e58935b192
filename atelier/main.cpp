#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>

#include "atelier/atelier_window.h"
#include "base/owned_handle.h"
#include "base/wide_text.h"

namespace {

// The first argument: a folder, a quiz.toml, or what was dropped on the program's icon.
std::string path_argument() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::string path = arguments && count > 1 ? utf8_text(arguments[1]) : std::string();
    LocalFree(arguments);
    return path;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
    const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    // The file dialog and the shell's drag and drop need COM on this thread.
    const HRESULT com = OleInitialize(nullptr);
    const HWND window = create_atelier_window(instance, path_argument());
    if (!window) return 1;
    ShowWindow(window, show);
    const HACCEL accelerators = create_atelier_accelerators();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorW(window, accelerators, &message) || IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DestroyAcceleratorTable(accelerators);
    if (SUCCEEDED(com)) OleUninitialize();
    return static_cast<int>(message.wParam);
}
