// The board's letter font and the fontconfig rule that has its letters auto-hinted.
#include "window/qt/board_font.h"

#include <fontconfig/fontconfig.h>

#include <string>

#include "window/window_measures.h"

namespace lumera {

namespace {

// Drawn without antialiasing, glyphs are hinted for a one-bit target whatever the hinting
// preference, and the instructions of Liberation Sans (what "Arial" is on Linux) give H, K, M,
// N, U and W two-pixel stems at 16 pixels but A, C, I, O, T and V one-pixel stems. FreeType's
// auto-hinter snaps all of them to one pixel, with the letters where they were. Qt takes that
// choice from fontconfig, so a rule for that face at the board's letter size turns it on; other
// faces and sizes (the interface's, the status text, the board at twice the density) are left as
// they are.
void AutoHintBoardLetters() {
    static const bool done = [] {
        const std::string rules =
            "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n<fontconfig>"
            "<match target=\"pattern\"><test name=\"family\"><string>Liberation Sans</string></test>"
            "<test name=\"pixelsize\"><double>" +
            std::to_string(kLetterPixels) +
            "</double></test><edit name=\"autohint\" mode=\"assign\"><bool>true</bool></edit></match></fontconfig>\n";
        FcConfig* config = FcConfigGetCurrent();
        return config != nullptr &&
               FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(rules.c_str()), FcFalse) == FcTrue;
    }();
    (void)done;
}

}  // namespace

QFont MakeBoardFont() {
    AutoHintBoardLetters();
    QFont font(kBoardFontName);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    SetBoardFontPixels(font, kLetterPixels);
    return font;
}

void SetBoardFontPixels(QFont& font, int pixels) {
    font.setPixelSize(pixels);
    // Letters are hinted in full even where the desktop asks for slight or no hinting, which
    // would leave their stems to fall as the outlines land on the pixel grid. The status text
    // keeps the default, whose unhinted advances space it as before.
    font.setHintingPreference(pixels == kLetterPixels ? QFont::PreferFullHinting : QFont::PreferDefaultHinting);
}

}  // namespace lumera
