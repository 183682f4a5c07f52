// The game window's fixed texts, shown alike by every front-end: the program's title, the
// captions, the help document's name and the error report's text.
#pragma once

#include <string>

#include "util/publisher.h"

namespace lumera {

// The name shown for the running program, and the error report's caption.
inline constexpr char kApplicationTitle[] = "Lumera 8.0 Freeware Edition";
// The first part of the main window's caption and the input boxes' caption.
inline const std::string kAppCaption = std::string("Lumera 8.0 by ") + kPublisherSite;
inline constexpr char kInformationCaption[] = "Information";
// The program's name: what the browser's tab says once the game has ended.
inline constexpr char kProgramName[] = "Lumera 8.0";
inline constexpr char kHelpDocument[] = "lumera8.html";

// The dialogs' buttons and the close box's name.
inline constexpr char kOkText[] = "OK";
inline constexpr char kCancelText[] = "Cancel";
inline constexpr char kCloseText[] = "Close";
// The browser's file chooser, which lists the puzzle files kept in the browser beside a way to
// the device's own files (UTF-8: the last character is an ellipsis).
inline constexpr char kOpenCaption[] = "Open";
inline constexpr char kKeptFilesPrompt[] = "Puzzle files in this browser:";
inline constexpr char kFromDeviceText[] = "From this device\xE2\x80\xA6";

// The error report's text: a full stop is appended when the last character's code comes
// after that of ".".
inline std::string ErrorReportText(const std::string& what) {
    if (!what.empty() && static_cast<unsigned char>(what.back()) > static_cast<unsigned char>('.'))
        return what + ".";
    return what;
}

}  // namespace lumera
