// The splash and about window as every front-end shows it: its size, its parts with their
// places, fonts, colours and texts, and the modes that decide what the close button and the
// web address do.
#pragma once

#include <string>

#include "engine/ports.h"
#include "util/publisher.h"

namespace lumera {

inline constexpr int kSplashWidth = 280;
inline constexpr int kSplashHeight = 140;
// The splash window's mode at start; the about window uses that value plus this offset.
inline constexpr int kStartupSplashMode = 2;
inline constexpr int kAboutModeOffset = 3;

// What a mode shows and does.
struct SplashModeDef {
    const char* editionText;  // the text of lblEval
    bool showsCloseButton;    // btnClose visible
    bool opensHomePage;       // a click on the web address opens the home page
};

inline constexpr SplashModeDef SplashModeFor(int mode) {
    return {"Freeware Edition", mode == kStartupSplashMode + kAboutModeOffset, mode > kStartupSplashMode};
}

// A part of the window: its place, and a font given by character height in pixels.
struct SplashPartDef {
    const char* name;
    int left, top, width, height;
    int fontPixels;
    bool bold;
    bool underline;
    Colour colour;  // text colour; clWindowText stands for the system's window-text colour
};

inline constexpr Colour clEditionBlue = 0xFF0000;

inline constexpr SplashPartDef kSplashImage{"Image1", 0, 0, kSplashWidth, kSplashHeight, 11, false, false, clWindowText};
inline constexpr SplashPartDef kSplashCloseButton{"btnClose", 258, 6, 16, 16, 11, true, false, clWindowText};
inline constexpr SplashPartDef kSplashEditionLabel{"lblEval", 8, 72, 265, 22, 13, true, false, clEditionBlue};
inline constexpr SplashPartDef kSplashTitleLabel{"Label1", 8, 32, 265, 33, 13, true, false, clWindowText};
inline constexpr SplashPartDef kSplashAddressLabel{"Label3", 66, 112, 149, 13, 11, false, true, clEditionBlue};

inline constexpr char kSplashTitleText[] = "Lumera 8.0";
inline constexpr char kSplashCloseText[] = "X";
inline std::string SplashAddressText() { return std::string("www.") + kPublisherSite; }

}  // namespace lumera
