// Texts crossing between the game and the page: the game's Windows-1252 bytes as UTF-8 for the
// page and back, and the file chooser's filter as the browser's list of accepted extensions.
#pragma once

#include <string>

namespace lumera::web {

// Windows-1252 bytes (puzzle texts, prompts, captions) as UTF-8 for the page.
std::string PageText(const std::string& cp1252);
// What the player typed, back to Windows-1252: characters it cannot hold become "?", and the
// text is cut to 255 bytes as the desktop's edit line keeps it.
std::string GameText(const std::string& utf8);

// "Lumera Puzzle Files|*.DAT|Text Files|*.TXT" as ".dat,.txt": the patterns of the filter's
// pairs, lower case (the browser matches extensions whatever their case), each once.
std::string AcceptedExtensions(const std::string& filter);

}  // namespace lumera::web
