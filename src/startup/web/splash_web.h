// The splash and about window in the browser: a page element drawn from the window's
// description for the mode; the start-up splash is shown without waiting, the about window
// waits until the player clicks it away.
#pragma once

namespace lumera::web {

// The start-up splash: shown at once, centred on the page; it becomes the one in use.
void ShowSplashForm(int mode);
// The about window: shown modally over the game; it becomes the one in use.
void ShowSplashFormModally(int mode);
// Closes and releases the one in use; nothing when it has gone already.
void CloseSplashForm();

}  // namespace lumera::web
