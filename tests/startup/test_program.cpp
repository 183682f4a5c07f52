// The program's start and end against a fake toolkit and a fake store: the order of the steps,
// the donation state written back once, and a failing load.
#include <gtest/gtest.h>

#include <stdexcept>

#include "../engine/fakes.h"
#include "donate/donation_reminder.h"
#include "startup/program.h"

namespace lumera {
namespace {

using testing::FakeStore;

struct FakeToolkit : IProgramToolkit {
    std::vector<std::string> steps;
    FakeStore* store = nullptr;
    int writesBeforeLoop = -1;
    bool windowFails = false;
    void CreateApplication() override { steps.push_back("CreateApplication"); }
    void CreateMainWindow() override {
        steps.push_back("CreateMainWindow");
        if (windowFails) throw std::runtime_error("No window");
    }
    int RunMessageLoop() override {
        steps.push_back("RunMessageLoop");
        writesBeforeLoop = store->writes;
        return 7;
    }
    void ShowErrorReport(const std::string& what) override { steps.push_back("ShowErrorReport " + what); }
};

struct ProgramRig {
    FakeStore store;
    FakeToolkit toolkit;
    ProgramRig() { toolkit.store = &store; }
    std::optional<StoredValue> Stored(const std::string& name) {
        return store.ReadValue("HKEY_CURRENT_USER\\Software\\lumera8\\DonateForm", name);
    }
};

constexpr int kFirstDay = 45000;

TEST(Program, RunsTheStartUpOrderAndWritesTheDonationStateOnceAtTheEnd) {
    ProgramRig rig;
    Program program(rig.store, "C:\\Games\\lumera8.exe", rig.toolkit, [] { return kFirstDay; });
    EXPECT_EQ(program.Run(), 7);
    EXPECT_EQ(rig.toolkit.steps, (std::vector<std::string>{"CreateApplication", "CreateMainWindow", "RunMessageLoop"}));
    EXPECT_EQ(rig.toolkit.writesBeforeLoop, 0);
    EXPECT_EQ(rig.store.writes, 2);  // status and last prompt, under the program file's name
    ASSERT_TRUE(rig.Stored("DonateLastPrompt"));
    EXPECT_EQ(rig.Stored("DonateLastPrompt")->dword, std::uint32_t(kFirstDay + 6));
    program.End();
    EXPECT_EQ(rig.store.writes, 2);
}

TEST(Program, StartLoadsTheStoredState) {
    ProgramRig rig;
    rig.store.WriteDword("HKEY_CURRENT_USER\\Software\\lumera8\\DonateForm", "DonateStatus", 2);
    Program program(rig.store, "lumera8", rig.toolkit, [] { return kFirstDay; });
    ASSERT_TRUE(program.Start());
    EXPECT_EQ(CurrentDonationState().DonateChoice, 2);
}

TEST(Program, AFailingLoadIsReportedOnceThereIsAnApplicationAndTheStoredStateIsKept) {
    ProgramRig rig;
    Program program(rig.store, "lumera8", rig.toolkit, []() -> int { throw std::runtime_error("No calendar"); });
    EXPECT_EQ(program.Run(), 7);
    EXPECT_EQ(rig.toolkit.steps, (std::vector<std::string>{"CreateApplication", "ShowErrorReport No calendar",
                                                           "CreateMainWindow", "RunMessageLoop"}));
    EXPECT_EQ(rig.store.writes, 0);
}

TEST(Program, AMainWindowThatCannotBeMadeIsReportedAndEndsTheProgram) {
    ProgramRig rig;
    rig.toolkit.windowFails = true;
    Program program(rig.store, "lumera8", rig.toolkit, [] { return kFirstDay; });
    EXPECT_EQ(program.Run(), 1);
    EXPECT_EQ(rig.toolkit.steps,
              (std::vector<std::string>{"CreateApplication", "CreateMainWindow", "ShowErrorReport No window"}));
    EXPECT_EQ(rig.store.writes, 2);
}

}  // namespace
}  // namespace lumera
