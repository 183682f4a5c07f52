// The donation dialog on Qt: TDonateForm, and the reminder's dialog port that shows it.
#pragma once

#include <array>
#include <functional>
#include <string>

#include <QDialog>
#include <QTimer>

#include "donate/donation_reminder.h"

class QCloseEvent;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class QRadioButton;
class QShowEvent;

namespace lumera {

// The modal dialog asking for a voluntary donation. Closing it in any way (Proceed, the
// close box, the system's close command) counts as the answer then selected.
class TDonateForm : public QDialog {
    Q_OBJECT

public:
    explicit TDonateForm(QWidget* owner);

    QLabel* Image1 = nullptr;
    QGroupBox* rgDonate = nullptr;
    std::array<QRadioButton*, 5> rgDonateItems {};
    QPushButton* ntmOK = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblHomePage = nullptr;

    // The index of the selected answer (0 to 4), and selecting one.
    int ItemIndex() const;
    void SetItemIndex(int index);

    void FormCreate();
    void ntmOKClick();
    void lblHomePageClick();

protected:
    // Centres the dialog's frame over its owner's window frame.
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Enter and Escape have no dialog-wide meaning.
    void keyPressEvent(QKeyEvent* event) override;

private:
    static constexpr int kPlacingTickMs = 25;
    static constexpr int kPlacingTicks = 40;
    void PlaceOverOwner();
    void PlacingTick();
    QTimer placing_;
    int placingTicks_ = 0;
};

// The reminder's dialog port: a new TDonateForm over the owner's window each time, shown
// modally and released afterwards (also when an error ends the showing).
class QtDonateDialog final : public IDonateDialog {
public:
    explicit QtDonateDialog(QWidget* owner) : owner_(owner) {}
    int ShowDonateDialog() override;

private:
    QWidget* owner_;
};

}  // namespace lumera
