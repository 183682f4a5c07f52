// Tests of the donation schedule without a window: the key, and reading and writing the
// stored state in a real store file. Which closes offer the dialog is tested with the dialog.
#include "donate/donation_schedule.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "../util/temp_store.h"

namespace lumera {
namespace {

using testing::TempStore;
using util::RegValue;

constexpr int kToday = 46000;

RegValue Text(const std::string& text) { return {RegValue::Type::Text, {}, 0, text, {}}; }
RegValue Dword(std::int32_t number) { return {RegValue::Type::Dword, {}, static_cast<std::uint32_t>(number), {}, {}}; }
RegValue Binary() { return {RegValue::Type::Binary, {3, 0, 0, 0}, 0, {}, {}}; }

void Store(TempStore& temp, const std::string& name, const RegValue& value) {
    if (value.type == RegValue::Type::Text)
        temp.Store().WriteText(testing::kDonateKey, name, value.text);
    else if (value.type == RegValue::Type::Dword)
        temp.Store().WriteDword(testing::kDonateKey, name, value.dword);
    else
        temp.Store().WriteBinary(testing::kDonateKey, name, value.bytes);
}

DonationState Loaded(TempStore& temp, const std::string& programFile = "lumera8") {
    DonationState state;
    state.Load(temp.Port(), programFile, kToday);
    return state;
}

TEST(DonationKeyPath, IsTheProgramNameWithoutFolderAndLastExtension) {
    EXPECT_EQ(DonationKeyPath("/usr/games/lumera8"), "HKEY_CURRENT_USER\\Software\\lumera8");
    EXPECT_EQ(DonationKeyPath("C:\\Games\\Lumera8.exe"), "HKEY_CURRENT_USER\\Software\\Lumera8");
    EXPECT_EQ(DonationKeyPath("./lumera8.old.exe"), "HKEY_CURRENT_USER\\Software\\lumera8.old");
}

TEST(DonationState, FirstRunStartsWithAnswerFourSixDaysAheadAndStoresThemAsDwords) {
    TempStore temp;
    const DonationState state = Loaded(temp, "/opt/lumera8");
    EXPECT_EQ(state.DonateChoice, 4);
    EXPECT_EQ(state.LastPromptDate, kToday + 6);
    EXPECT_EQ(state.OpenedFromMenu, -1);
    state.Save(temp.Port());
    const auto status = temp.Read("DonateStatus");
    const auto lastPrompt = temp.Read("DonateLastPrompt");
    ASSERT_TRUE(status && lastPrompt);
    EXPECT_EQ(status->type, RegValue::Type::Dword);
    EXPECT_EQ(status->dword, 4u);
    EXPECT_EQ(lastPrompt->type, RegValue::Type::Dword);
    EXPECT_EQ(lastPrompt->dword, static_cast<std::uint32_t>(kToday + 6));
}

TEST(DonationState, StoredValuesAreReadAndBroughtIntoRange) {
    const std::pair<RegValue, int> statuses[] = {
        {Text("3"), 3}, {Text("abc"), 4}, {Text(""), 4}, {Text("3x"), 4}, {Text("-5"), 0}, {Text("+2"), 2},
        {Dword(-1), 4}, {Dword(7), 4},    {Dword(-5), 0}, {Dword(1), 1},   {Dword(0), 0},    {Binary(), 4},
    };
    for (const auto& [stored, expected] : statuses) {
        TempStore temp;
        Store(temp, "DonateStatus", stored);
        EXPECT_EQ(Loaded(temp).DonateChoice, expected) << "text '" << stored.text << "' dword " << stored.dword;
    }
    const std::pair<RegValue, double> lastPrompts[] = {
        {Dword(45000), 45000}, {Text("45123"), 45123}, {Dword(0), kToday + 6}, {Text("soon"), kToday + 6},
    };
    for (const auto& [stored, expected] : lastPrompts) {
        TempStore temp;
        Store(temp, "DonateLastPrompt", stored);
        EXPECT_EQ(Loaded(temp).LastPromptDate, expected) << "text '" << stored.text << "' dword " << stored.dword;
    }
}

TEST(DonationState, SaveWritesTextWhereTextWasStoredAndCutsTheDayTowardZero) {
    TempStore temp;
    Store(temp, "DonateStatus", Text("3"));
    Store(temp, "DonateLastPrompt", Dword(45000));
    DonationState state = Loaded(temp);
    state.DonateChoice = 1;
    state.LastPromptDate = 45100.75;
    state.Save(temp.Port());
    EXPECT_EQ(temp.Read("DonateStatus")->type, RegValue::Type::Text);
    EXPECT_EQ(temp.Read("DonateStatus")->text, "1");
    EXPECT_EQ(temp.Read("DonateLastPrompt")->type, RegValue::Type::Dword);
    EXPECT_EQ(temp.Read("DonateLastPrompt")->dword, 45100u);
    state.LastPromptDate = -3.7;
    state.Save(temp.Port());
    EXPECT_EQ(static_cast<std::int32_t>(temp.Read("DonateLastPrompt")->dword), -3);
}

TEST(DonationState, RenamedProgramStartsFromDefaultsUnderANewKeyAndLeavesTheOldOne) {
    TempStore temp;
    Store(temp, "DonateStatus", Dword(2));
    const DonationState state = Loaded(temp, "/games/lumera-renamed.exe");
    EXPECT_EQ(state.DonateChoice, 4);
    state.Save(temp.Port());
    const auto renamed = temp.Read("DonateStatus", "HKEY_CURRENT_USER\\Software\\lumera-renamed\\DonateForm");
    ASSERT_TRUE(renamed);
    EXPECT_EQ(renamed->dword, 4u);
    EXPECT_EQ(temp.Read("DonateStatus")->dword, 2u);
}

TEST(DonationState, SaveSwallowsAFailureToWrite) {
    TempStore temp;
    // A folder where the store file should be: writing it throws inside the store.
    std::filesystem::create_directories(temp.Store().FilePath());
    Loaded(temp).Save(temp.Port());
    EXPECT_TRUE(std::filesystem::is_directory(temp.Store().FilePath()));
}

}  // namespace
}  // namespace lumera
