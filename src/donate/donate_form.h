// The donation dialog as a form description: the picture, the answers, "Proceed" with its
// glyph, and the panel with its texts and the link to the home page.
#pragma once

#include "util/form.h"

namespace lumera {

// The dialog with the first answer selected; "Proceed" closes it, and the answer is the item
// of rgDonate then selected.
Form DonateForm();

}  // namespace lumera
