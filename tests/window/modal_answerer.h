// Answers the real modal dialogs of the game as they come up, and keeps what each one showed;
// and a main window that uses those real dialogs, in a scratch folder with its own store.
#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <ostream>
#include <memory>
#include <vector>

#include "window_rig.h"
#include "window/qt/mainform.h"
#include "window/qt/qt_ports.h"

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace lumera::testing {

class ModalAnswerer {
public:
    struct Shown {
        QString caption;
        QString text;  // a message's text or an input box's prompt
        Qt::TextFormat format = Qt::AutoText;
        int width = 0;
    };
    std::vector<Shown> shown;             // message boxes and input boxes, in order
    std::deque<QString> inputAnswers;     // for input boxes; none left: Cancel
    QString fileAnswer;                   // for the file chooser; empty: Cancel

    ModalAnswerer() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(0);
    }

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == answered_ || !modal->isVisible()) return;
        answered_ = modal;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            shown.push_back({box->windowTitle(), box->text(), box->textFormat(), box->width()});
            box->accept();
        } else if (auto* input = qobject_cast<QInputDialog*>(modal)) {
            const QLabel* label = input->findChild<QLabel*>();
            shown.push_back({input->windowTitle(), input->labelText(), label ? label->textFormat() : Qt::AutoText,
                             input->width()});
            if (inputAnswers.empty()) {
                input->reject();
                return;
            }
            input->setTextValue(inputAnswers.front());
            inputAnswers.pop_front();
            input->accept();
        } else if (auto* chooser = qobject_cast<QFileDialog*>(modal)) {
            if (fileAnswer.isEmpty()) {
                chooser->reject();
                return;
            }
            chooser->selectFile(fileAnswer);
            static_cast<QDialog*>(chooser)->accept();  // the chooser's own accept checks the file
        }
    }

    QTimer timer_;
    QPointer<QWidget> answered_;
};

// The game window with its real Qt dialogs, answered by `answerer`.
struct RealDialogsRig : WindowRig {
    ModalAnswerer answerer;

    explicit RealDialogsRig(const std::string& puzzles = "FIRST LINE\nSECOND LINE\n")
        : WindowRig(puzzles, Dialogs::Real) {}
    ~RealDialogsRig() { form.reset(); }
    // Stores the settings record as a previous run would have left it.
    void StorePuzzleFile(const std::string& name) {
        TRegInfo info{};
        ApplyDefaults(info);
        SetShortString(info.PuzzleFile, kPuzzleFileCapacity, name);
        store.WriteBinary(kSettingsKey, kSettingsValueName, RegInfoBytes(info));
    }
};

}  // namespace lumera::testing
