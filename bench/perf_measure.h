// Timing helpers shared by the window driver and the toolkit floor program: a monotonic clock,
// samples with their median, pointer releases sent the way Qt delivers them, and the output line
// the harness reads ("LUMERA_PERF <name> median_us=... p90_us=... n=...").
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace lumera::perf {

inline double NowUs() {
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

class Samples {
public:
    void Add(double us) { values_.push_back(us); }
    double Quantile(double q) const {
        if (values_.empty()) return 0;
        std::vector<double> sorted = values_;
        std::sort(sorted.begin(), sorted.end());
        return sorted[static_cast<std::size_t>(q * double(sorted.size() - 1) + 0.5)];
    }
    void Print(const std::string& name, const std::string& extra = {}) const {
        std::printf("LUMERA_PERF %s median_us=%.2f p90_us=%.2f n=%zu%s%s\n", name.c_str(), Quantile(0.5),
                    Quantile(0.9), values_.size(), extra.empty() ? "" : " ", extra.c_str());
        std::fflush(stdout);
    }

private:
    std::vector<double> values_;
};

// Lets queued window-system events through for a while, without timing them.
inline void Settle(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    do QApplication::processEvents(QEventLoop::AllEvents, 5);
    while (clock.elapsed() < milliseconds);
}

// Runs the event loop until done() holds; false after the time limit.
template <typename Done>
bool WaitFor(Done done, int limitMs = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs) return false;
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

// A left-button release at a point of the widget, delivered through the application's notify.
inline void SendRelease(QWidget* widget, QPoint at) {
    const QPointF local(at);
    QMouseEvent release(QEvent::MouseButtonRelease, local, widget->mapTo(widget->window(), local),
                        widget->mapToGlobal(local), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

}  // namespace lumera::perf
