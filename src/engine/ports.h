// Ports: the small interfaces through which the puzzle engine reaches the outside world.
// The front-ends and util implement them; the tests implement them with recording fakes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumera {

// A colour as 0x00BBGGRR.
using Colour = std::uint32_t;

inline constexpr Colour clRed = 0x0000FF;
inline constexpr Colour clWhite = 0xFFFFFF;
inline constexpr Colour clSilver = 0xC0C0C0;
inline constexpr Colour clYellow = 0x00FFFF;
inline constexpr Colour clGray = 0x808080;
inline constexpr Colour clBlack = 0x000000;
// The desktop's window-text colour, as opposed to a fixed one.
inline constexpr Colour clWindowText = 0xFF000000;

// What the board can be asked to do. Cell numbers are 1-based.
class IBoard {
public:
    virtual ~IBoard() = default;
    // Paints one alphabet cell (letter 'A'..'Z') in the given fill colour, at once.
    virtual void DrawAlphabetCell(char letter, Colour colour) = 0;
    // Paints grid cell n (1..270) with the given character and fill colour, at once.
    virtual void DrawPuzzleCell(int n, char text, Colour colour) = 0;
    // Clears the board and paints it completely from the game state before returning.
    virtual void FullRepaint() = 0;
    // The caption holds the puzzle file's name in the file system's encoding; the rest is ASCII.
    virtual void SetCaption(const std::string& caption) = 0;
    // Enables or disables one menu command, named by its item name ("menuNew" ...).
    virtual void SetCommandEnabled(const std::string& itemName, bool enabled) = 0;
    // Sets the check mark of "menuShowCorrectLetters" or "menuSound".
    virtual void SetOptionChecked(const std::string& itemName, bool checked) = 0;
};

// Modal dialogs; each returns what the player answered.
class IDialogs {
public:
    virtual ~IDialogs() = default;
    // Caption "Information", information icon, one "OK" button. The text may hold file names,
    // in the file system's encoding; the rest of it is ASCII.
    virtual void ShowInformation(const std::string& text) = 0;
    // A message with the given text and caption (Windows-1252) and an OK button.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
    // Returns true on OK; text is the edit line, in and out. On Cancel text is unchanged.
    virtual bool InputBox(const std::string& caption, const std::string& prompt, std::string& text) = 0;
    // The file chooser: "Name|pattern|Name|pattern" filter, default extension.
    // Returns the chosen existing file's name in the file system's encoding, or nothing on Cancel.
    virtual std::optional<std::string> ChooseFile(const std::string& filter,
                                                  const std::string& defaultExtension) = 0;
};

class ISound {
public:
    virtual ~ISound() = default;
    // Plays a built-in sound ("WAVE1".."WAVE4"). Synchronous play returns when it has ended.
    // Failures are swallowed.
    virtual void PlaySound(const std::string& name, bool synchronous) = 0;
};

// A value read from the settings store.
struct StoredValue {
    enum class Kind { Binary, Dword, Text, Other };
    Kind kind = Kind::Other;
    std::vector<std::uint8_t> bytes;  // Binary (and the raw data of Other)
    std::uint32_t dword = 0;          // Dword
    std::string text;                 // Text
};

// A registry-like store. Keys are full paths such as
// "HKEY_LOCAL_MACHINE\Software\Lumera800"; names match case-insensitively.
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    // Whether the key can be opened (created when missing). False means: neither read nor write.
    virtual bool OpenKey(const std::string& key) = 0;
    virtual std::optional<StoredValue> ReadValue(const std::string& key, const std::string& name) = 0;
    // Writes throw std::runtime_error when the store cannot be written.
    virtual void WriteBinary(const std::string& key, const std::string& name,
                             const std::vector<std::uint8_t>& bytes) = 0;
    virtual void WriteDword(const std::string& key, const std::string& name, std::uint32_t value) = 0;
    virtual void WriteText(const std::string& key, const std::string& name, const std::string& text) = 0;
};

// The random source of the deal and of the sound draw.
class IRandom {
public:
    virtual ~IRandom() = default;
    virtual void Seed(std::uint64_t seed) = 0;
    // A uniform integer in 0..n-1 (n >= 1).
    virtual int Random(int n) = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    // A value that changes from run to run, to seed the random source.
    virtual std::uint64_t SeedValue() = 0;
    // Today's local calendar date as a day number, 30 December 1899 being day 0.
    virtual int Today() = 0;
};

// A file opened for reading, read strictly forwards from its start; closed when destroyed.
class IFileReader {
public:
    virtual ~IFileReader() = default;
    // Reads up to size bytes into buffer and returns how many were read, 0 only at the end of
    // the file. Throws std::runtime_error carrying the system's text when reading fails.
    virtual std::size_t Read(unsigned char* buffer, std::size_t size) = 0;
};

// Opens files by name: the names the file chooser gives and the settings record holds.
class IFileOpener {
public:
    virtual ~IFileOpener() = default;
    // Opens a regular file for reading. A folder, a FIFO, a device, an empty name and a name
    // holding a NUL byte are refused. Throws std::runtime_error carrying the system's text.
    virtual std::unique_ptr<IFileReader> OpenForReading(const std::string& path) = 0;
};

}  // namespace lumera
