// The reminder's flow around a fake dialog: when it is shown, and what its answer does.
#include <gtest/gtest.h>

#include "../engine/fakes.h"
#include "donate/donation_reminder.h"
#include "util/my_utils.h"
#include "util/publisher.h"

namespace lumera {
namespace {

struct FakeDonateDialog : IDonateDialog {
    int answer = kAnswerOneDay;
    int showings = 0;
    int ShowDonateDialog() override {
        ++showings;
        return answer;
    }
};

class ReminderFlow : public ::testing::Test {
protected:
    void SetUp() override {
        ConfigureDonation(&store, [this] { return today; }, "C:\\Games\\lumera8.exe");
        SetShellOpenHook([this](const std::string& document) { opened.push_back(document); });
        LoadDonationState();
    }
    void TearDown() override {
        SetShellOpenHook({});
        ConfigureDonation(nullptr);
    }

    testing::FakeStore store;
    FakeDonateDialog dialog;
    std::vector<std::string> opened;
    int today = 46000;
};

TEST_F(ReminderFlow, TheOfferComesOnItsDayAndOnlyTheFirstAnswerOpensTheDonationPage) {
    CheckDonationReminder(dialog);
    EXPECT_EQ(dialog.showings, 0) << "not on the first day";
    today += 7;
    dialog.answer = kAnswerDonateNow;
    CheckDonationReminder(dialog);
    EXPECT_EQ(dialog.showings, 1);
    EXPECT_EQ(opened, std::vector<std::string>{kDonationPageUrl});
    EXPECT_EQ(CurrentDonationState().DonateChoice, kAnswerDonateNow);

    dialog.answer = kAnswerNeverDonate;
    ShowDonationDialog(dialog);
    EXPECT_EQ(opened.size(), 1u);
    today += 400;
    CheckDonationReminder(dialog);
    EXPECT_EQ(dialog.showings, 2) << "never again after answer 3";

    SaveDonationState();
    const auto stored = store.ReadValue("HKEY_CURRENT_USER\\Software\\lumera8\\DonateForm", "DonateStatus");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->dword, static_cast<std::uint32_t>(kAnswerNeverDonate));
}

}  // namespace
}  // namespace lumera
