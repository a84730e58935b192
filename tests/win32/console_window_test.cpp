// The pack tool waits for Enter only in a console window made for it alone,
// as Explorer makes one: never in a shared console, never without one.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/owned_handle.h"
#include "pack_tool/console_window.h"

namespace {

TEST(ConsoleWindow, WaitsOnlyInAConsoleOfItsOwn) {
    FreeConsole();
    EXPECT_FALSE(console_window_of_its_own()) << "no console at all";

    ASSERT_TRUE(AllocConsole());
    EXPECT_TRUE(console_window_of_its_own()) << "a console made for this process, as Explorer makes one";

    // A second process in the same console, as a shell that started the tool.
    wchar_t command[] = L"cmd.exe /c pause";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    OwnedFile process_handle(process.hProcess);
    OwnedFile thread_handle(process.hThread);
    DWORD attached[2];
    for (int tries = 0; tries < 100 && GetConsoleProcessList(attached, 2) < 2; ++tries) Sleep(20);
    EXPECT_FALSE(console_window_of_its_own()) << "a console shared with the process that started it";
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    FreeConsole();
}

}  // namespace
