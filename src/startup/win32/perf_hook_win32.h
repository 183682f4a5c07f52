// Opt-in start-up measurement for the Windows program and its floor program, both built the
// same way. The contract with tools/perf and the Windows perf run:
//
//   LUMERA_PERF_EXIT_AFTER_PAINT=<file>   (a file name; unset or empty: no measurement)
//
// At the end of the first WM_PAINT of the main window, the program appends one line to <file>
//
//   LUMERA_PERF first_paint_end_unix_ns=<N> startup_ms=<M> peak_working_set_kb=<P> private_kb=<Q>
//
// and ends at once with exit code 0, without the close handler (no donation reminder).
// N is GetSystemTimePreciseAsFileTime in nanoseconds since 1 January 1970, which under Wine is
// the Linux CLOCK_REALTIME: a launcher that read that clock when it started the program gets
// the whole start-up, Wine's included. M is the time since the process's creation time
// (GetProcessTimes), which Wine sets when the process joins the wineserver, in milliseconds.
// P and Q are the process's peak working set and private bytes so far (under Wine the Linux
// process's VmHWM and its private memory), in kilobytes; 0 where the system cannot say.
// Nothing is printed: the program has no console.
#pragma once

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <string>

namespace lumera::win32 {

// The report file named by the environment, or empty.
inline std::wstring PerfReportFile() {
    wchar_t value[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableW(L"LUMERA_PERF_EXIT_AFTER_PAINT", value, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2) return {};
    return std::wstring(value, length);
}

// Call at the end of every paint; the first call writes the report and ends the message loop.
inline void PerfReportFirstPaintAndQuit(const std::wstring& file) {
    static bool reported = false;
    if (reported) return;
    reported = true;
    GdiFlush();
    FILETIME now{}, created{}, exited{}, kernel{}, user{};
    GetSystemTimePreciseAsFileTime(&now);
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& time) {  // 100 ns since 1601
        return static_cast<long long>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
                                      time.dwLowDateTime);
    };
    constexpr long long kUnixEpochTicks = 116444736000000000LL;
    const long long unixNs = (ticks(now) - kUnixEpochTicks) * 100;
    const double startupMs = static_cast<double>(ticks(now) - ticks(created)) / 1e4;
    // Looked up rather than imported: kernel32 has it from Windows 7 on.
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    using MemoryInfo = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
    const auto memoryInfo = reinterpret_cast<MemoryInfo>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "K32GetProcessMemoryInfo")));
    if (memoryInfo == nullptr || !memoryInfo(GetCurrentProcess(), &memory, sizeof memory)) memory = {};
    if (std::FILE* report = _wfopen(file.c_str(), L"a")) {
        std::fprintf(report,
                     "LUMERA_PERF first_paint_end_unix_ns=%lld startup_ms=%.3f"
                     " peak_working_set_kb=%lu private_kb=%lu\n",
                     unixNs, startupMs, static_cast<unsigned long>(memory.PeakWorkingSetSize / 1024),
                     static_cast<unsigned long>(memory.PagefileUsage / 1024));
        std::fclose(report);
    }
    PostQuitMessage(0);
}

}  // namespace lumera::win32
