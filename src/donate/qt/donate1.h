// The donation reminder: its dialog TDonateForm and the module functions that load and save
// its state, offer it on the schedule when the main window closes, and show it from the menu.
#pragma once

#include <array>
#include <functional>
#include <string>

#include <QDialog>
#include <QTimer>

#include "donate/donation_schedule.h"
#include "util/registry_store.h"

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
    void FormClose();
    void lblHomePageClick();

    // Every way of ending the dialog comes through here; FormClose runs once per closing.
    void done(int result) override;

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

// Where the state is stored, the clock that says which day it is, and the program file whose
// name keys the state. The program calls this before LoadDonationState; without it the
// default store, the local calendar and the name "lumera8" are used.
void ConfigureDonation(util::RegistryStore* store, std::function<int()> today, std::string programFile);

// At program start, before the main window exists.
void LoadDonationState();
// At program end, after the event loop has ended. Never throws.
void SaveDonationState();
// From the main window's close handler: shows the dialog when the schedule says so.
void CheckDonationReminder(QWidget* owner);
// From Donate > Make a Donation: always shows the dialog.
void ShowDonationDialog(QWidget* owner);

// The module state, for reading.
const DonationState& CurrentDonationState();

}  // namespace lumera
