// The program's start and end against a fake toolkit and store: the order of the steps, the
// donation state written back once, and the failures reported.
#include <gtest/gtest.h>

#include <stdexcept>

#include "../engine/fakes.h"
#include "donate/donation_reminder.h"
#include "startup/program.h"

namespace lumera {
namespace {

// Records each step; the loop notes how many values the store had been given by then.
struct FakeToolkit : IProgramToolkit {
    explicit FakeToolkit(testing::FakeStore& written) : store(written) {}
    testing::FakeStore& store;
    std::vector<std::string> steps;
    bool windowFails = false;
    void CreateApplication() override { steps.push_back("application"); }
    void CreateMainWindow() override {
        steps.push_back("window");
        if (windowFails) throw std::runtime_error("No window");
    }
    int RunMessageLoop() override {
        steps.push_back("loop after " + std::to_string(store.writes) + " writes");
        return 7;
    }
    void ShowErrorReport(const std::string& what) override { steps.push_back("report " + what); }
};

using Steps = std::vector<std::string>;
const std::function<int()> kToday = [] { return 45000; };

TEST(Program, StartsInOrderAndWritesTheLoadedDonationStateBackOnce) {
    testing::FakeStore store;
    store.WriteDword("HKEY_CURRENT_USER\\Software\\lumera8\\DonateForm", "DonateStatus", 2);
    FakeToolkit toolkit(store);
    Program program(store, "C:\\Games\\lumera8.exe", toolkit, kToday);
    EXPECT_EQ(program.Run(), 7);
    program.End();
    EXPECT_EQ(toolkit.steps, (Steps{"application", "window", "loop after 1 writes"}));
    EXPECT_EQ(CurrentDonationState().DonateChoice, 2);  // read under the program file's name
    EXPECT_EQ(store.writes, 3);                         // the status and the last prompt, once
}

TEST(Program, ReportsAFailedLoadKeepingTheStoredStateAndAWindowThatCannotBeMade) {
    testing::FakeStore store;
    FakeToolkit toolkit(store);
    EXPECT_EQ(Program(store, "lumera8", toolkit, []() -> int { throw std::runtime_error("No calendar"); }).Run(), 7);
    EXPECT_EQ(toolkit.steps, (Steps{"application", "report No calendar", "window", "loop after 0 writes"}));
    EXPECT_EQ(store.writes, 0);

    toolkit.steps.clear();
    toolkit.windowFails = true;
    EXPECT_EQ(Program(store, "lumera8", toolkit, kToday).Run(), 1);
    EXPECT_EQ(toolkit.steps, (Steps{"application", "window", "report No window"}));
    EXPECT_EQ(store.writes, 2);
}

}  // namespace
}  // namespace lumera
