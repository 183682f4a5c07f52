// The donation dialog on Qt: TDonateForm, and the reminder's dialog port that shows it.
#pragma once

#include "donate/donation_reminder.h"
#include "util/qt/form_qt.h"

namespace lumera {

// The dialog's description drawn by the form renderer; its answer is the selected item.
class TDonateForm : public QtForm {
    Q_OBJECT

public:
    explicit TDonateForm(QWidget* owner);
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
