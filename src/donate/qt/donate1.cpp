// The donation dialog TDonateForm and its showing for the reminder.
#include "donate/qt/donate1.h"

#include <QPointer>

#include "donate/donate_form.h"

namespace lumera {

TDonateForm::TDonateForm(QWidget* owner) : QtForm(owner, DonateForm()) {}

int QtDonateDialog::ShowDonateDialog() {
    auto* form = new TDonateForm(owner_);
    struct Release {
        QPointer<TDonateForm> form;
        ~Release() {
            if (form) form->deleteLater();
        }
    } release {form};
    return form->ShowModal();
}

}  // namespace lumera
