// Calendar days as whole day numbers counted from 30 December 1899 (day 0), the way the
// stored donation dates count them.
#pragma once

namespace lumera::util {

// The day number of a valid calendar date (1 January 1900 is day 2).
int DayNumber(int year, int month, int day);

// The day number of today's date on the local calendar.
int TodayDayNumber();

}  // namespace lumera::util
