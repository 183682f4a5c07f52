// The Qt renderer of form descriptions: one dialog window built from any Form, with its parts
// as widgets named after them, the clicks the description gives them, and its placing.
#pragma once

#include <QDialog>
#include <QTimer>
#include <vector>

#include "util/form.h"

class QCloseEvent;
class QKeyEvent;
class QRadioButton;
class QShowEvent;

namespace lumera {

// Closing the window in any way (a closing part, the close box, the system's close command)
// hides it or ends its modal showing. Enter and Escape have no window-wide meaning.
class QtForm : public QDialog {
    Q_OBJECT

public:
    QtForm(QWidget* owner, const Form& form);

    // The index of the radio group's selected item (0 without a group), and selecting one.
    int Selected() const;
    void SetSelected(int index);
    // A frameless window is placed by its caller: centred on the owner's screen, or over the
    // owner's window (on the screen when it has none). A window with a title bar places itself
    // over its owner when shown.
    void CentreOnScreen();
    void CentreOverOwner();
    // Shows the window modally until it closes; the selected item then.
    int ShowModal();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void AddParts(QWidget* parent, const std::vector<FormPart>& parts);
    QWidget* MakePart(QWidget* parent, const FormPart& part);
    // Puts a widget that takes the focus next in the tab order.
    void NextTabStop(QWidget* widget);
    void PlaceOverOwner();
    void PlacingTick();

    static constexpr int kPlacingTickMs = 25;
    static constexpr int kPlacingTicks = 40;
    bool titleBar_;
    std::vector<QRadioButton*> items_;
    QWidget* lastTabStop_ = nullptr;
    QTimer placing_;
    int placingTicks_ = 0;
};

}  // namespace lumera
