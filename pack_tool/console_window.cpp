#include "pack_tool/console_window.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "base/wide_text.h"

namespace {

bool is_console(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
}

bool running_under_wine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// How many bytes at the end of `text` begin a UTF-8 character that is not whole yet.
std::size_t unfinished_character(const std::string& text) {
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const unsigned char byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0) == 0x80) continue;
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

FILE* const streams[2] = {stdout, stderr};

}  // namespace

bool console_window_of_its_own() {
    const HWND window = GetConsoleWindow();
    if (!window) return false;
    // A Linux terminal shows a Wine console itself and leaves its window hidden;
    // a console Wine opens as a window of its own is shown.
    if (running_under_wine() && !IsWindowVisible(window)) return false;
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

ConsoleCharacters::ConsoleCharacters() {
    const bool rerouted[2] = {is_console(GetStdHandle(STD_OUTPUT_HANDLE)), is_console(GetStdHandle(STD_ERROR_HANDLE))};
    if (!rerouted[0] && !rerouted[1]) return;
    console_.reset(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr));
    HANDLE reading = nullptr;
    HANDLE writing = nullptr;
    if (!console_ || !CreatePipe(&reading, &writing, nullptr, 0)) return;  // printing stays as it is
    pipe_.reset(reading);
    relay_.reset(CreateThread(nullptr, 0, relay, this, 0, nullptr));
    const int pipe = _open_osfhandle(reinterpret_cast<intptr_t>(writing), _O_WRONLY | _O_BINARY);
    if (!relay_ || pipe < 0) {
        CloseHandle(writing);  // the relay, if started, then ends
        return;
    }
    for (int i = 0; i < 2; ++i) {
        if (!rerouted[i]) continue;
        std::fflush(streams[i]);
        saved_[i] = _dup(_fileno(streams[i]));
        _dup2(pipe, _fileno(streams[i]));
        // The C runtime writes through its own copy of the pipe; the process's standard
        // handle stays the console. A process started meanwhile is handed the standard
        // handles (under Wine, the desktop process the first device context starts), and
        // one that kept the pipe open would keep the relay waiting after the tool ends.
        SetStdHandle(i == 0 ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE,
                     reinterpret_cast<HANDLE>(_get_osfhandle(saved_[i])));
        // Each print reaches the console at once, in the order stdout and stderr were written.
        std::setvbuf(streams[i], nullptr, _IONBF, 0);
    }
    _close(pipe);
}

ConsoleCharacters::~ConsoleCharacters() {
    if (!relay_) return;
    for (int i = 0; i < 2; ++i) {
        if (saved_[i] < 0) continue;
        std::fflush(streams[i]);
        _dup2(saved_[i], _fileno(streams[i]));
        _close(saved_[i]);
    }
    // Once no end writes to the pipe any more, the relay writes what is left and ends.
    WaitForSingleObject(relay_.get(), INFINITE);
}

DWORD WINAPI ConsoleCharacters::relay(void* self) {
    const ConsoleCharacters& owner = *static_cast<const ConsoleCharacters*>(self);
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    // The pipe says it is broken once every writing end is closed.
    while (ReadFile(owner.pipe_.get(), buffer, sizeof buffer, &read, nullptr)) {
        bytes.append(buffer, read);
        const std::size_t whole = bytes.size() - unfinished_character(bytes);
        const std::wstring characters = wide_text(bytes.substr(0, whole));
        DWORD written = 0;
        WriteConsoleW(owner.console_.get(), characters.data(), static_cast<DWORD>(characters.size()), &written,
                      nullptr);
        bytes.erase(0, whole);
    }
    return 0;
}
