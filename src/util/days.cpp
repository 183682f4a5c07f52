// Calendar day numbers from 30 December 1899, and today's number on the local calendar.
#include "util/days.h"

#include <chrono>
#include <ctime>

namespace lumera::util {

int DayNumber(int year, int month, int day) {
    using namespace std::chrono;
    constexpr sys_days epoch = sys_days(std::chrono::year(1899) / December / 30);
    const sys_days date = sys_days(std::chrono::year(year) / std::chrono::month(static_cast<unsigned>(month)) /
                                   std::chrono::day(static_cast<unsigned>(day)));
    return static_cast<int>((date - epoch).count());
}

int TodayDayNumber() {
    const std::time_t now = std::time(nullptr);
    std::tm local {};
#ifdef _WIN32
    localtime_s(&local, &now);  // Windows' thread-safe form, arguments the other way round
#else
    localtime_r(&now, &local);
#endif
    return DayNumber(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace lumera::util
