// The donation schedule: loading, saving and the rules of the five answers.
#include "donate/donation_schedule.h"

#include <charconv>
#include <exception>
#include <cmath>
#include <cstdint>
#include <limits>

namespace lumera {

namespace {

std::string SectionKey(const std::string& keyPath) { return keyPath + "\\" + kDonateSection; }

// The decimal number a text holds, as the ini view reads it: leading blanks, an optional
// sign, digits and nothing after them, within the signed 32-bit range.
bool ParseDecimal(const std::string& text, int& number) {
    std::size_t pos = text.find_first_not_of(' ');
    if (pos == std::string::npos) return false;
    bool negative = false;
    if (text[pos] == '+' || text[pos] == '-') {
        negative = text[pos] == '-';
        ++pos;
    }
    const char* first = text.data() + pos;
    const char* last = text.data() + text.size();
    if (first == last || *first < '0' || *first > '9') return false;
    long long magnitude = 0;
    const auto [end, error] = std::from_chars(first, last, magnitude);
    if (error != std::errc() || end != last) return false;
    const long long value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return false;
    number = static_cast<int>(value);
    return true;
}

// A day number cut toward zero and kept within what a dword can hold.
int WholeDay(double day) {
    if (std::isnan(day)) return 0;
    const double whole = std::trunc(day);
    if (whole <= std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    if (whole >= std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    return static_cast<int>(whole);
}

}  // namespace

std::string DonationKeyPath(const std::string& programFile) {
    std::string name = programFile;
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    // A key needs a name; an empty program name falls back to the game's own.
    if (name.empty()) name = "lumera8";
    return "HKEY_CURRENT_USER\\Software\\" + name;
}

int NormalizeDonateChoice(int storedChoice) {
    if (storedChoice == -1) return kAnswerOneDay;
    if (storedChoice < 0) return kAnswerDonateNow;
    if (storedChoice > kAnswerOneDay) return kAnswerOneDay;
    return storedChoice;
}

int ReadIniInteger(ISettingsStore& store, const std::string& key, const std::string& name, int defaultValue) {
    const std::optional<StoredValue> value = store.ReadValue(key, name);
    if (!value) return defaultValue;
    switch (value->kind) {
    case StoredValue::Kind::Text: {
        int number = 0;
        return ParseDecimal(value->text, number) ? number : defaultValue;
    }
    case StoredValue::Kind::Dword:
        return static_cast<std::int32_t>(value->dword);
    default:
        return defaultValue;
    }
}

void WriteIniInteger(ISettingsStore& store, const std::string& key, const std::string& name, int value) {
    const std::optional<StoredValue> existing = store.ReadValue(key, name);
    if (existing && existing->kind == StoredValue::Kind::Text)
        store.WriteText(key, name, std::to_string(value));
    else
        store.WriteDword(key, name, static_cast<std::uint32_t>(value));
}

void DonationState::Load(ISettingsStore& store, const std::string& programFile, int today) {
    DonateChoice = -1;
    OpenedFromMenu = -1;
    KeyPath = DonationKeyPath(programFile);
    int lastPrompt = 0;
    try {
        const std::string section = SectionKey(KeyPath);
        store.OpenKey(section);
        DonateChoice = ReadIniInteger(store, section, kDonateStatusValue, -1);
        lastPrompt = ReadIniInteger(store, section, kDonateLastPromptValue, 0);
    } catch (const std::exception&) {
        // An unreadable store counts as an empty one: the first-run defaults below.
    }
    DonateChoice = NormalizeDonateChoice(DonateChoice);
    LastPromptDate = lastPrompt == 0 ? today + 6 : lastPrompt;
}

void DonationState::Save(ISettingsStore& store) const noexcept {
    const std::string section = SectionKey(KeyPath);
    try {
        store.OpenKey(section);
        WriteIniInteger(store, section, kDonateStatusValue, DonateChoice);
    } catch (...) {
    }
    try {
        WriteIniInteger(store, section, kDonateLastPromptValue, WholeDay(LastPromptDate));
    } catch (...) {
    }
}

int DonationState::DaysSinceLastPrompt(int today) const { return today - WholeDay(LastPromptDate); }

bool DonationState::ShouldOfferOnClose(int today) const {
    if (OpenedFromMenu > -1) return false;
    const int days = DaysSinceLastPrompt(today);
    switch (DonateChoice) {
    case kAnswerTwoWeeks:
        return days >= 14;
    case kAnswerAlreadyDonated:
    case kAnswerNeverDonate:
        return false;
    case kAnswerOneDay:
        return days >= 1;
    default:
        return true;
    }
}

void DonationState::BeginScheduledShowing(int today) { LastPromptDate = today; }

void DonationState::BeginMenuShowing() {
    DonateChoice = kAnswerDonateNow;
    OpenedFromMenu = 1;
}

bool DonationState::ApplyAnswer(int answer, int today) {
    DonateChoice = answer;
    if (answer == kAnswerTwoWeeks || answer == kAnswerOneDay) LastPromptDate = today;
    return answer == kAnswerDonateNow;
}

}  // namespace lumera
