// Line-fitting: moving words so that none crosses the end of a 30-column row.
#pragma once

#include <optional>
#include <string>

namespace lumera {

inline constexpr int kGridColumns = 30;
inline constexpr int kGridRows = 9;
inline constexpr int kGridCells = kGridColumns * kGridRows;
inline constexpr std::size_t kFitLimit = 250;

// Fits a text to the grid: rows 1 to 8 lose their leading blanks, and a word broken at a row
// end is pushed to the next row by blanks inserted before it. Returns nothing when a word had
// to move while the text was already 250 characters or longer: the caller then uses the text
// unfitted. The result is at most 255 characters.
std::optional<std::string> FitText(const std::string& text);

}  // namespace lumera
