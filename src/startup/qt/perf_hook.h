// Opt-in start-up measurement, shared by the game and the toolkit floor program: with
// LUMERA_PERF_EXIT_AFTER_PAINT=1 the program reports, at the end of its first paint, the time
// since it was started and its peak resident memory on one line of standard output, then quits.
#pragma once

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace lumera {

inline bool PerfExitAfterPaintRequested() {
    const char* value = std::getenv("LUMERA_PERF_EXIT_AFTER_PAINT");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

// A field of /proc/self/status in kilobytes ("VmHWM:"), -1 when missing.
inline long PerfStatusKilobytes(const char* field) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) return -1;
    char line[256];
    long value = -1;
    const std::size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, field, length) == 0) {
            value = std::strtol(line + length, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return value;
}

// Milliseconds since the process was started. A launcher that passes its own monotonic clock
// reading at the spawn as LUMERA_PERF_T0_NS gets a precise figure; otherwise the kernel's start
// time is used, which counts in clock ticks (usually 10 ms).
inline double PerfMillisecondsSinceStart(long long nowNs) {
    if (const char* t0 = std::getenv("LUMERA_PERF_T0_NS")) return double(nowNs - std::atoll(t0)) / 1e6;
    std::FILE* stat = std::fopen("/proc/self/stat", "r");
    if (stat == nullptr) return -1;
    char text[1024];
    const std::size_t length = std::fread(text, 1, sizeof text - 1, stat);
    std::fclose(stat);
    text[length] = '\0';
    // Field 22 counts from the end of the command name, which may itself hold blanks.
    const char* at = std::strrchr(text, ')');
    for (int field = 2; at != nullptr && field < 22; ++field) at = std::strchr(at + 1, ' ');
    if (at == nullptr) return -1;
    const double startSeconds = double(std::strtoull(at + 1, nullptr, 10)) / double(sysconf(_SC_CLK_TCK));
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    return (double(boot.tv_sec) + double(boot.tv_nsec) / 1e9 - startSeconds) * 1e3;
}

// Call at the end of every paint of the watched widget; the first call reports and quits.
inline void PerfReportFirstPaintAndQuit() {
    static bool reported = false;
    if (reported) return;
    reported = true;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long nowNs = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    std::printf("LUMERA_PERF first_paint_end_ns=%lld startup_ms=%.3f vmhwm_kb=%ld vmrss_kb=%ld\n", nowNs,
                PerfMillisecondsSinceStart(nowNs), PerfStatusKilobytes("VmHWM:"), PerfStatusKilobytes("VmRSS:"));
    std::fflush(stdout);
    // Queued, so that it also ends a paint that came before the event loop ran.
    QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
}

}  // namespace lumera
