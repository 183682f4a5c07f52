// A label that takes the mouse for itself: a click on it reaches nothing beneath, and a left
// release inside it runs its action, if it has one.
#pragma once

#include <QLabel>
#include <QMouseEvent>
#include <functional>
#include <utility>

namespace lumera {

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
