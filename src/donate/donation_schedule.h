// The donation reminder's schedule and its persisted state: when the dialog is offered, what
// an answer changes, and how the state is read from and written to the settings store.
// Qt-free, so that the whole schedule can be tested without a window.
#pragma once

#include <string>

#include "engine/ports.h"

namespace lumera {

// The answers of the donation dialog, by their index in the radio group.
enum DonateAnswer : int {
    kAnswerDonateNow = 0,
    kAnswerTwoWeeks = 1,
    kAnswerAlreadyDonated = 2,
    kAnswerNeverDonate = 3,
    kAnswerOneDay = 4,
};

inline constexpr char kDonateSection[] = "DonateForm";
inline constexpr char kDonateStatusValue[] = "DonateStatus";
inline constexpr char kDonateLastPromptValue[] = "DonateLastPrompt";

// "HKEY_CURRENT_USER\Software\" followed by the program file's name without its folder and
// without its last extension ("/usr/games/lumera8.exe" gives "...\Software\lumera8").
std::string DonationKeyPath(const std::string& programFile);

// Brings a stored answer into range: -1 (nothing stored) becomes 4, other negatives 0, above 4 is 4.
int NormalizeDonateChoice(int storedChoice);

// Reads an integer through the ini-style view of a registry key: missing gives the default,
// text gives its decimal number (the default when it is not one), a dword reads as a signed
// 32-bit number. Binary and unknown value types give the default as well.
int ReadIniInteger(ISettingsStore& store, const std::string& key, const std::string& name, int defaultValue);

// Writes an integer the way the ini-style view does: as decimal text where a text value of
// that name already exists, otherwise as a dword. Throws what the store throws.
void WriteIniInteger(ISettingsStore& store, const std::string& key, const std::string& name, int value);

// The module state of the reminder, one instance for the whole program.
struct DonationState {
    int DonateChoice = -1;        // the last answer, 0 to 4 once loaded
    double LastPromptDate = 0;    // day number from which the waiting time counts; a whole day
    int OpenedFromMenu = -1;      // -1: not shown from the menu in this run; 1: it has been
    std::string KeyPath;          // the program's key, computed by Load and used again by Save

    // Reads the state stored for programFile; today is the day number of the local date.
    void Load(ISettingsStore& store, const std::string& programFile, int today);
    // Writes both values under KeyPath. A failure to write is swallowed: it comes at program
    // end, where there is nobody left to tell, and must not crash the exit.
    void Save(ISettingsStore& store) const noexcept;

    // The whole days from LastPromptDate to today (negative while LastPromptDate lies ahead).
    int DaysSinceLastPrompt(int today) const;
    // Whether closing the main window today offers the dialog.
    bool ShouldOfferOnClose(int today) const;
    // A scheduled showing: the waiting time restarts today, before the dialog opens.
    void BeginScheduledShowing(int today);
    // A showing from the menu: it suppresses the offer on close for the rest of the run.
    void BeginMenuShowing();
    // The dialog closed with `answer` selected. Returns whether the donation page is to be opened.
    bool ApplyAnswer(int answer, int today);
};

}  // namespace lumera
