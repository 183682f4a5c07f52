// The splash and about window as a form description, for a mode: the picture, the title, the
// edition text, the web address and the close button, and what clicks on them do.
#pragma once

#include "util/form.h"

namespace lumera {

// The window for `mode`: a click on the picture or on "X" closes it; "X" shows and the web
// address opens the home page as the mode says; the texts take a click and do nothing.
Form SplashForm(int mode);

}  // namespace lumera
