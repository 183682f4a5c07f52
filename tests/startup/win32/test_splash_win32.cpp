// The splash and about window on Win32, under Wine: its look, its clicks, its removal by the
// first tick of Timer1, and the about window's modal showing and release.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "startup/splash_modes.h"
#include "startup/win32/splash_win32.h"
#include "util/my_utils.h"
#include "util/publisher.h"
#include "../../util/win32/message_pump_win32.h"

namespace lumera::win32 {
namespace {

using testing::AnyPixel;
using testing::ClientSize;
using testing::ModalSteps;
using testing::OwnerWindow;
using testing::PixelAt;
using testing::PostClick;
using testing::Pump;

RECT Area(const SplashPartDef& part) { return RECT{part.left, part.top, part.left + part.width, part.top + part.height}; }
int CentreX(const SplashPartDef& part) { return part.left + part.width / 2; }
int CentreY(const SplashPartDef& part) { return part.top + part.height / 2; }

class SplashWindow : public ::testing::Test {
protected:
    void SetUp() override {
        SetShellOpenHook([this](const std::string& document) { opened.push_back(document); });
    }
    void TearDown() override {
        SetShellOpenHook({});
        Pump(50);
    }

    OwnerWindow owner;
    std::vector<std::string> opened;
};

TEST_F(SplashWindow, StartupSplashShowsThePictureAndLabelsAndGoesAtTheFirstTick) {
    ShowStartupSplash(owner.Handle());
    ASSERT_NE(splashForm, nullptr);
    const HWND window = splashForm->Handle();
    EXPECT_EQ(splashForm->SplashMode, 2);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GetWindow(window, GW_OWNER), owner.Handle());

    // Border-less, topmost, the client area the picture fills.
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME), 0);
    EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(ClientSize(window).cx, kSplashWidth);
    EXPECT_EQ(ClientSize(window).cy, kSplashHeight);
    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    // The picture's frame: 1 black, 3 grey, 1 black, then white.
    EXPECT_EQ(PixelAt(window, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(window, 2, 70), RGB(128, 128, 128));
    EXPECT_EQ(PixelAt(window, 4, 4), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(window, 140, 5), RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(window, 279, 139), RGB(0, 0, 0));
    // No "X" in the start-up mode: its place shows the picture.
    EXPECT_EQ(PixelAt(window, CentreX(kSplashCloseButton), CentreY(kSplashCloseButton)), RGB(255, 255, 255));
    // The edition text and the web address in blue, the title in the window-text colour.
    EXPECT_TRUE(AnyPixel(window, Area(kSplashEditionLabel), RGB(0, 0, 255)));
    EXPECT_TRUE(AnyPixel(window, Area(kSplashAddressLabel), RGB(0, 0, 255)));
    EXPECT_TRUE(AnyPixel(window, Area(kSplashTitleLabel), GetSysColor(COLOR_WINDOWTEXT)));
    EXPECT_FALSE(AnyPixel(window, Area(kSplashTitleLabel), RGB(0, 0, 255)));

    // Clicks on the labels close nothing, and the web address does nothing in this mode.
    PostClick(window, CentreX(kSplashAddressLabel), CentreY(kSplashAddressLabel));
    PostClick(window, CentreX(kSplashTitleLabel), CentreY(kSplashTitleLabel));
    PostClick(window, CentreX(kSplashEditionLabel), CentreY(kSplashEditionLabel));
    Pump(100);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(opened.empty());

    // The first tick closes and releases it, once the message loop runs again.
    SplashTimer1Timer();
    EXPECT_FALSE(IsWindowVisible(window));
    Pump(2000, [&] { return !IsWindow(window); });
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(splashForm, nullptr);
}

TEST_F(SplashWindow, AClickOnThePictureHidesTheSplashAndTheTickStillReleasesIt) {
    ShowStartupSplash(owner.Handle());
    ASSERT_NE(splashForm, nullptr);
    const HWND window = splashForm->Handle();
    PostClick(window, 30, 20);
    Pump(1000, [&] { return !IsWindowVisible(window); });
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(IsWindow(window));
    SplashTimer1Timer();
    Pump(2000, [&] { return !IsWindow(window); });
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(splashForm, nullptr);
}

TEST_F(SplashWindow, AboutShowsXOpensTheHomePageStaysUpAndIsReleasedAfterClosing) {
    owner.Show();
    HWND about = nullptr;
    bool visibleAfterAddressClick = false;
    bool visibleAfterTitleClick = false;
    bool ownerDisabled = false;
    COLORREF buttonPixel = CLR_INVALID;
    RECT aboutRect{};
    ModalSteps steps(
        {[&] {
             if (splashForm == nullptr || !IsWindowVisible(splashForm->Handle())) return false;
             about = splashForm->Handle();
             ownerDisabled = !IsWindowEnabled(owner.Handle());
             GetWindowRect(about, &aboutRect);
             // The button's face, where the start-up splash shows the picture.
             buttonPixel = PixelAt(about, kSplashCloseButton.left + 3, kSplashCloseButton.top + 12);
             PostClick(about, CentreX(kSplashAddressLabel), CentreY(kSplashAddressLabel));
             return true;
         },
         [&] {
             if (opened.empty()) return false;
             visibleAfterAddressClick = IsWindowVisible(about) != FALSE;
             PostClick(about, CentreX(kSplashTitleLabel), CentreY(kSplashTitleLabel));
             return true;
         },
         [&] {
             visibleAfterTitleClick = IsWindowVisible(about) != FALSE;
             PostClick(about, CentreX(kSplashCloseButton), CentreY(kSplashCloseButton));
             return true;
         }},
        [&] {
            if (splashForm) splashForm->Close();
        });
    ShowAboutWindow(owner.Handle());
    EXPECT_TRUE(steps.Finished());
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(GetWindow(about, GW_OWNER), owner.Handle());
    EXPECT_TRUE(ownerDisabled);
    EXPECT_EQ(buttonPixel, GetSysColor(COLOR_BTNFACE));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], kHomePageUrl);
    EXPECT_TRUE(visibleAfterAddressClick);
    EXPECT_TRUE(visibleAfterTitleClick);
    // Centred over the owner.
    RECT ownerRect{};
    GetWindowRect(owner.Handle(), &ownerRect);
    EXPECT_NEAR(aboutRect.left + aboutRect.right, ownerRect.left + ownerRect.right, 2);
    EXPECT_NEAR(aboutRect.top + aboutRect.bottom, ownerRect.top + ownerRect.bottom, 2);

    // Closed by "X": hidden, the owner usable again, and released from the message loop.
    EXPECT_FALSE(IsWindowVisible(about));
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    Pump(2000, [&] { return !IsWindow(about); });
    EXPECT_FALSE(IsWindow(about));
    EXPECT_EQ(splashForm, nullptr);
}

TEST_F(SplashWindow, AboutOverTheStartupSplashLeavesTheSplashUpUntilClickedAway) {
    owner.Show();
    ShowStartupSplash(owner.Handle());
    ASSERT_NE(splashForm, nullptr);
    const HWND startup = splashForm->Handle();
    bool startupDisabledMeanwhile = false;
    ModalSteps steps({[&] {
                          if (splashForm == nullptr || splashForm->Handle() == startup) return false;
                          startupDisabledMeanwhile = !IsWindowEnabled(startup);
                          PostClick(splashForm->Handle(), 30, 20);
                          return true;
                      }},
                     [&] {
                         if (splashForm) splashForm->Close();
                     });
    ShowAboutWindow(owner.Handle());
    EXPECT_TRUE(steps.Finished());
    EXPECT_TRUE(startupDisabledMeanwhile);
    Pump(300);
    // The about window is gone; the start-up splash stays, usable, until its picture is clicked.
    EXPECT_EQ(splashForm, nullptr);
    EXPECT_TRUE(IsWindowVisible(startup));
    EXPECT_TRUE(IsWindowEnabled(startup));
    PostClick(startup, 30, 20);
    Pump(1000, [&] { return !IsWindowVisible(startup); });
    EXPECT_FALSE(IsWindowVisible(startup));
    // It goes with its owner at the latest.
    DestroyWindow(owner.Handle());
    EXPECT_FALSE(IsWindow(startup));
}

TEST_F(SplashWindow, AboutCanBeShownAgainAndAgain) {
    for (int round = 0; round < 3; ++round) {
        ModalSteps steps({[&] {
                              if (splashForm == nullptr || !IsWindowVisible(splashForm->Handle())) return false;
                              PostClick(splashForm->Handle(), 30, 120);
                              return true;
                          }},
                         [&] {
                             if (splashForm) splashForm->Close();
                         });
        ShowAboutWindow(owner.Handle());
        EXPECT_TRUE(steps.Finished()) << "round " << round;
        Pump(2000, [&] { return splashForm == nullptr; });
        EXPECT_EQ(splashForm, nullptr) << "round " << round;
    }
}

}  // namespace
}  // namespace lumera::win32
