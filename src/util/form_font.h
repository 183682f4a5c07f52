// The small windows' default font: "MS Sans Serif" with a character height of 11 pixels
// (8 points at 96 dots per inch), or the nearest sans-serif a system has.
#pragma once

namespace lumera {

inline constexpr char kFormFontName[] = "MS Sans Serif";
inline constexpr int kFormFontPixels = 11;

}  // namespace lumera
