// The game window's fixed measures, the same on every front-end: the board's font and its
// sizes, where the main window's frame opens and how large it is, and how long Timer1 waits.
#pragma once

namespace lumera {

// The board's face: "Arial" at 12 and 18 points, that is 16 and 24 pixels at 96 dots per inch.
inline constexpr char kBoardFontName[] = "Arial";
inline constexpr int kLetterPixels = 16;
inline constexpr int kStatusPixels = 24;

// Timer1, the main window's timer: its first tick takes the start-up splash away.
inline constexpr int kTimer1Interval = 1500;

// The main window's frame: its top-left corner and outer size at 96 dots per inch.
inline constexpr int kWindowLeft = 173;
inline constexpr int kWindowTop = 137;
inline constexpr int kWindowWidth = 614;
inline constexpr int kWindowHeight = 314;

}  // namespace lumera
