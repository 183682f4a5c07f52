// The toolkit floor: the least a Qt Widgets program of the game's shape costs on this machine.
// A main window with a menu bar and one widget that paints one rectangle, built with the same Qt
// and run on the same platform plugin as the game. With LUMERA_PERF_EXIT_AFTER_PAINT=1 it
// reports its start-up like the game does; with LUMERA_PERF_WINDOW=1 it times a full repaint of
// its widget and a pointer release that redraws one cell-sized rectangle.
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <functional>

#include "perf_measure.h"
#include "startup/qt/perf_hook.h"

namespace {

const QRect kCell(4, 4, 19, 21);

class FloorWidget final : public QWidget {
public:
    std::function<void()> afterPaint;
    bool redColour = true;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(128, 128, 128));
        painter.fillRect(kCell, redColour ? QColor(255, 0, 0) : QColor(255, 255, 255));
        painter.end();
        if (afterPaint) afterPaint();
    }
    void mouseReleaseEvent(QMouseEvent*) override {
        redColour = !redColour;
        repaint(kCell);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu("&Game")->addAction("&Quit", &application, &QApplication::quit);
    auto* widget = new FloorWidget;
    widget->setAttribute(Qt::WA_OpaquePaintEvent);
    window.setCentralWidget(widget);
    window.resize(606, 268 + window.menuBar()->sizeHint().height());
    window.move(173, 137);

    const bool measureWindow = qgetenv("LUMERA_PERF_WINDOW") == "1";
    if (lumera::PerfExitAfterPaintRequested()) widget->afterPaint = &lumera::PerfReportFirstPaintAndQuit;
    bool painted = false;
    if (measureWindow) widget->afterPaint = [&] { painted = true; };
    window.show();
    if (!measureWindow) return application.exec();

    using namespace lumera::perf;
    if (!WaitFor([&] { return painted; })) return 2;
    Settle(200);
    Samples repaints;
    for (int i = 0; i < 520; ++i) {
        const double start = NowUs();
        widget->repaint();
        if (i >= 20) repaints.Add(NowUs() - start);
        QApplication::processEvents();
    }
    repaints.Print("full_repaint", "device_ratio=" + std::to_string(widget->devicePixelRatioF()));
    Samples releases;
    for (int i = 0; i < 320; ++i) {
        const double start = NowUs();
        SendRelease(widget, kCell.center());
        if (i >= 20) releases.Add(NowUs() - start);
        QApplication::processEvents();
    }
    releases.Print("release_to_redraw", "cells_redrawn=1");
    return 0;
}
