// The board's letter font: "Arial" without antialiasing, hinted so that every letter of the
// strip has stems of one width.
#pragma once

#include <QFont>

namespace lumera {

// The board font at the letters' size.
QFont MakeBoardFont();
// Sets the board font to a pixel size: the letters' or the status text's.
void SetBoardFontPixels(QFont& font, int pixels);

}  // namespace lumera
