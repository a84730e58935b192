// The start-up benchmarks' clock: time since the process was created, so that
// the platform's own start of the process counts too.
#pragma once

#include <windows.h>

inline double milliseconds_since_process_start() {
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    ULARGE_INTEGER start{{created.dwLowDateTime, created.dwHighDateTime}};
    ULARGE_INTEGER end{{now.dwLowDateTime, now.dwHighDateTime}};
    return static_cast<double>(end.QuadPart - start.QuadPart) / 10000.0;
}
