// The seed and the local date from the system clock.
#include "window/win32/clock_win32.h"

#include <windows.h>

#include "util/days.h"

namespace lumera::win32 {

std::uint64_t Win32Clock::SeedValue() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    return (std::uint64_t(now.dwHighDateTime) << 32 | now.dwLowDateTime) ^ std::uint64_t(counter.QuadPart) ^
           (std::uint64_t(GetCurrentProcessId()) << 40);
}

int Win32Clock::Today() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return util::DayNumber(local.wYear, local.wMonth, local.wDay);
}

}  // namespace lumera::win32
