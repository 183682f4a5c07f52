// Qt's end of the opt-in start-up measurement (startup/perf_report.h): the first paint
// reports and quits.
#pragma once

#include <QCoreApplication>
#include <QTimer>

#include "startup/perf_report.h"

namespace lumera {

// Call at the end of every paint of the watched widget. The quit is queued, so that it also
// ends a paint that came before the event loop ran.
inline void PerfReportFirstPaintAndQuit() {
    if (PerfReportFirstPaint()) QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
}

}  // namespace lumera
