// The donation dialog in the browser: a modal page element drawn from the dialog's
// description; it only shows it and returns the answer the player left selected.
#pragma once

#include "donate/donation_reminder.h"

namespace lumera::web {

class WebDonateDialog final : public IDonateDialog {
public:
    int ShowDonateDialog() override;
};

}  // namespace lumera::web
