// The donation dialog in the browser: a modal page element built from the dialog's layout,
// texts and colours; it only shows them and returns the answer the player left selected.
#pragma once

#include <string>

#include "donate/donation_reminder.h"

namespace lumera::web {

// The dialog as the page builds it: caption, client size, colours, parts and answers (JSON).
std::string DonateFormDescription();

class WebDonateDialog final : public IDonateDialog {
public:
    int ShowDonateDialog() override;
};

}  // namespace lumera::web
