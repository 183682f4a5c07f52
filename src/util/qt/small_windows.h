// Shared parts of the small windows: a label that takes the mouse for itself (a click on it
// reaches nothing beneath, and a left release inside it runs its action, if it has one), and
// their default font.
#pragma once

#include <QFont>
#include <QLabel>
#include <QMouseEvent>
#include <functional>
#include <utility>

#include "util/form_font.h"

namespace lumera {

// "MS Sans Serif" at 8 points: the nearest metric match first, then any sans-serif.
inline QFont FormFont() {
    QFont font;
    font.setFamilies({kFormFontName, "Liberation Sans"});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kFormFontPixels);
    return font;
}

class ClickLabel : public QLabel {
public:
    explicit ClickLabel(QWidget* parent, std::function<void()> onClick = {})
        : QLabel(parent), onClick_(std::move(onClick)) {}
    ClickLabel(const QString& text, QWidget* parent, std::function<void()> onClick)
        : QLabel(text, parent), onClick_(std::move(onClick)) {}

protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        event->accept();
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick_)
            onClick_();
    }

private:
    std::function<void()> onClick_;
};

}  // namespace lumera
