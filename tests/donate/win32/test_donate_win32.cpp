// The donation reminder on Win32, under Wine: the dialog's frame, size, colours and answers,
// its keys and ways of closing, and the schedule kept in the real registry across runs.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "donate/donate_layout.h"
#include "donate/win32/donate_win32.h"
#include "util/form_font.h"
#include "util/my_utils.h"
#include "util/publisher.h"
#include "util/win32/registry_store_win32.h"
#include "../../util/win32/message_pump_win32.h"

namespace lumera::win32 {
namespace {

using testing::ClientSize;
using testing::ModalSteps;
using testing::OwnerWindow;
using testing::PixelAt;
using testing::PostClick;
using testing::Pump;
using testing::WindowTextOf;

// The program file whose name keys the state in these tests.
constexpr char kProgramFile[] = "C:\\Games\\Lumera\\lumera8wintest.exe";
constexpr wchar_t kSectionKey[] = L"Software\\lumera8wintest\\DonateForm";
constexpr int kFirstDay = 46000;

COLORREF Rgb(Colour colour) { return static_cast<COLORREF>(colour); }

std::vector<HWND> Answers(HWND dialog) {
    std::vector<HWND> answers;
    const HWND group = FindWindowExW(dialog, nullptr, L"TRadioGroup", nullptr);
    for (HWND item = GetWindow(group, GW_CHILD); item != nullptr; item = GetWindow(item, GW_HWNDNEXT))
        answers.push_back(item);
    return answers;
}

HWND ProceedButton(HWND dialog) { return FindWindowExW(dialog, nullptr, L"BUTTON", L"Proceed"); }

// Chooses answer `index` and presses "Proceed", as the player would.
void Answer(HWND dialog, int index) {
    const std::vector<HWND> answers = Answers(dialog);
    SendMessageW(answers.at(static_cast<std::size_t>(index)), BM_CLICK, 0, 0);
    SendMessageW(ProceedButton(dialog), BM_CLICK, 0, 0);
}

class DonationReminder : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\lumera8wintest");
        SetShellOpenHook([this](const std::string& document) { opened.push_back(document); });
        ConfigureDonation(&store, [this] { return today; }, kProgramFile);
    }
    void TearDown() override {
        SetShellOpenHook({});
        ConfigureDonation(nullptr);
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\lumera8wintest");
        Pump(50);
    }

    // Runs `action`; a donation dialog it shows is answered with `answer`. Returns how many were shown.
    int ShowingsDuring(const std::function<void()>& action, int answer) {
        int shown = 0;
        ModalSteps steps({[&] {
                             TDonateForm* form = CurrentDonateForm();
                             if (form == nullptr || !IsWindowVisible(form->Handle())) return false;
                             ++shown;
                             Answer(form->Handle(), answer);
                             return true;
                         }},
                         [] {
                             if (TDonateForm* form = CurrentDonateForm()) PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
                         });
        action();
        Pump(30);
        return shown;
    }

    // One run of the program on `day`: load, close the main window (which may offer the
    // dialog, answered with `answer`), save. Returns whether the dialog was shown.
    bool RunOnDay(int day, int answer = kAnswerOneDay) {
        today = day;
        LoadDonationState();
        const int shown = ShowingsDuring([this] { CheckDonationReminder(donateDialog); }, answer);
        SaveDonationState();
        return shown == 1;
    }

    DWORD StoredType(const wchar_t* name) {
        DWORD type = REG_NONE;
        RegGetValueW(HKEY_CURRENT_USER, kSectionKey, name, RRF_RT_ANY, &type, nullptr, nullptr);
        return type;
    }
    DWORD StoredDword(const wchar_t* name) {
        DWORD value = 0;
        DWORD size = sizeof value;
        RegGetValueW(HKEY_CURRENT_USER, kSectionKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
        return value;
    }

    RegistrySettingsStore store;
    OwnerWindow owner;
    Win32DonateDialog donateDialog{[this] { return owner.Handle(); }};
    std::vector<std::string> opened;
    int today = kFirstDay;
};

TEST_F(DonationReminder, DialogHasItsFrameSizeColoursAndAnswersAndIgnoresEnterAndEscape) {
    owner.Show();
    today = kFirstDay;
    LoadDonationState();
    HWND dialog = nullptr;
    SIZE client{};
    LONG style = 0;
    std::wstring caption;
    std::vector<std::wstring> answerTexts;
    std::vector<bool> checked;
    COLORREF green = 0, cream = 0, panelCream = 0, panelLight = 0, panelShadow = 0, innerShadow = 0;
    bool buttonIsOwnerDrawn = false;
    RECT dialogRect{};
    bool upAfterKeys = false;
    ModalSteps steps(
        {[&] {
             TDonateForm* form = CurrentDonateForm();
             if (form == nullptr || !IsWindowVisible(form->Handle())) return false;
             dialog = form->Handle();
             client = ClientSize(dialog);
             style = GetWindowLongW(dialog, GWL_STYLE);
             caption = WindowTextOf(dialog);
             GetWindowRect(dialog, &dialogRect);
             for (HWND item : Answers(dialog)) {
                 answerTexts.push_back(WindowTextOf(item));
                 checked.push_back(SendMessageW(item, BM_GETCHECK, 0, 0) == BST_CHECKED);
             }
             // The dialog's green below the picture; the group's cream beside its answers.
             green = PixelAt(dialog, 4, 148);
             const HWND group = FindWindowExW(dialog, nullptr, L"TRadioGroup", nullptr);
             cream = PixelAt(group, 345, 60);
             const HWND panel = FindWindowExW(dialog, nullptr, L"TPanel", nullptr);
             panelLight = PixelAt(panel, 0, 0);
             innerShadow = PixelAt(panel, 1, 1);
             panelShadow = PixelAt(panel, kDonatePanel.width - 1, kDonatePanel.height - 1);
             panelCream = PixelAt(panel, 4, 100);
             buttonIsOwnerDrawn = (GetWindowLongW(ProceedButton(dialog), GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
             // Enter and Escape, wherever the focus is, do nothing.
             const HWND focus = GetFocus();
             for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
                 PostMessageW(focus, WM_KEYDOWN, key, 0);
                 PostMessageW(focus, WM_KEYUP, key, 0);
                 PostMessageW(ProceedButton(dialog), WM_KEYDOWN, key, 0);
             }
             return true;
         },
         [&] {
             upAfterKeys = IsWindowVisible(dialog) != FALSE;
             Answer(dialog, kAnswerAlreadyDonated);
             return true;
         }},
        [] {
            if (TDonateForm* form = CurrentDonateForm()) PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
        });
    ShowDonationDialog(donateDialog);
    ASSERT_TRUE(steps.Finished());

    EXPECT_EQ(caption, L"Make a Donation");
    EXPECT_EQ(client.cx, kDonateClientWidth);
    EXPECT_EQ(client.cy, kDonateClientHeight);
    // A fixed dialog frame with a close box only.
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    ASSERT_EQ(answerTexts.size(), 5u);
    for (std::size_t i = 0; i < answerTexts.size(); ++i) {
        EXPECT_EQ(answerTexts[i], std::wstring(kDonateAnswerTexts[i], kDonateAnswerTexts[i] + std::strlen(kDonateAnswerTexts[i])));
        EXPECT_EQ(checked[i], i == 0) << "answer " << i;
    }
    EXPECT_EQ(green, Rgb(clMoneyGreen));
    EXPECT_EQ(cream, Rgb(clCream));
    EXPECT_EQ(panelCream, Rgb(clCream));
    EXPECT_EQ(panelLight, Rgb(clBevelLight));
    EXPECT_EQ(innerShadow, Rgb(clBevelShadow));
    EXPECT_EQ(panelShadow, Rgb(clBevelShadow));
    EXPECT_TRUE(buttonIsOwnerDrawn);
    EXPECT_TRUE(upAfterKeys);
    // Centred over the owner.
    RECT ownerRect{};
    GetWindowRect(owner.Handle(), &ownerRect);
    EXPECT_NEAR(dialogRect.left + dialogRect.right, ownerRect.left + ownerRect.right, 2);
    EXPECT_NEAR(dialogRect.top + dialogRect.bottom, ownerRect.top + ownerRect.bottom, 2);

    // Answered and released once the message loop runs.
    EXPECT_EQ(CurrentDonationState().DonateChoice, kAnswerAlreadyDonated);
    EXPECT_EQ(CurrentDonateForm(), nullptr);
    Pump(2000, [&] { return !IsWindow(dialog); });
    EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(DonationReminder, DialogMovedToAScreenOfTwiceTheDensityLaysItsPartsOutAgainThere) {
    owner.Show();
    LoadDonationState();
    HWND dialog = nullptr;
    RECT frame{}, button{};
    LOGFONTW buttonFont{};
    COLORREF outerBevel = 0, innerBevel = 0;
    ModalSteps steps(
        {[&] {
             TDonateForm* form = CurrentDonateForm();
             if (form == nullptr || !IsWindowVisible(form->Handle())) return false;
             dialog = form->Handle();
             RECT suggested{10, 10, 810, 710};  // within the test screen
             SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
             GetWindowRect(dialog, &frame);
             GetWindowRect(ProceedButton(dialog), &button);
             MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&button), 2);
             const auto font = reinterpret_cast<HFONT>(SendMessageW(ProceedButton(dialog), WM_GETFONT, 0, 0));
             GetObjectW(font, sizeof buttonFont, &buttonFont);
             const HWND panel = FindWindowExW(dialog, nullptr, L"TPanel", nullptr);
             outerBevel = PixelAt(panel, 1, 1);  // the raised bevel, two pixels wide now
             innerBevel = PixelAt(panel, 2, 2);
             Answer(dialog, kAnswerAlreadyDonated);
             return true;
         }},
        [] {
            if (TDonateForm* form = CurrentDonateForm()) PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
        });
    ShowDonationDialog(donateDialog);
    ASSERT_TRUE(steps.Finished());

    EXPECT_EQ(frame.left, 10);
    EXPECT_EQ(frame.bottom, 710);
    const RECT expected{2 * kDonateProceedButton.left, 2 * kDonateProceedButton.top,
                        2 * (kDonateProceedButton.left + kDonateProceedButton.width),
                        2 * (kDonateProceedButton.top + kDonateProceedButton.height)};
    EXPECT_TRUE(EqualRect(&button, &expected));
    EXPECT_EQ(buttonFont.lfHeight, -2 * kFormFontPixels);
    EXPECT_EQ(outerBevel, Rgb(clBevelLight));
    EXPECT_EQ(innerBevel, Rgb(clBevelShadow));
}

TEST_F(DonationReminder, CloseBoxAndSystemCloseCountAsAnAnswerAndTheLinkOpensTheHomePage) {
    LoadDonationState();
    for (const bool systemCommand : {false, true}) {
        opened.clear();
        ModalSteps steps({[&] {
                             TDonateForm* form = CurrentDonateForm();
                             if (form == nullptr || !IsWindowVisible(form->Handle())) return false;
                             const HWND panel = FindWindowExW(form->Handle(), nullptr, L"TPanel", nullptr);
                             PostClick(panel, kDonateHomePageLabel.left + kDonateHomePageLabel.width / 2,
                                       kDonateHomePageLabel.top + 6);
                             return true;
                         },
                          [&] {
                              TDonateForm* form = CurrentDonateForm();
                              if (opened.empty()) return false;
                              // Still up after the link; now closed with the first answer selected.
                              if (systemCommand)
                                  PostMessageW(form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
                              else
                                  PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
                              return true;
                          }},
                         [] {
                             if (TDonateForm* form = CurrentDonateForm()) DestroyWindow(form->Handle());
                         });
        ShowDonationDialog(donateDialog);
        ASSERT_TRUE(steps.Finished());
        // The home page from the link, then the donation page from answer 0 on closing.
        ASSERT_EQ(opened.size(), 2u);
        EXPECT_EQ(opened[0], kHomePageUrl);
        EXPECT_EQ(opened[1], kDonationPageUrl);
        EXPECT_EQ(CurrentDonationState().DonateChoice, kAnswerDonateNow);
    }
}

TEST_F(DonationReminder, ScheduleThroughTheRegistry) {
    // First run: nothing stored; 4 and the first day + 6 are stored at its end.
    EXPECT_FALSE(RunOnDay(kFirstDay));
    EXPECT_EQ(StoredType(L"DonateStatus"), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(StoredDword(L"DonateStatus"), 4u);
    EXPECT_EQ(StoredDword(L"DonateLastPrompt"), static_cast<DWORD>(kFirstDay + 6));
    // Up to the sixth day after it, no dialog; the seventh day brings it.
    EXPECT_FALSE(RunOnDay(kFirstDay + 6));
    EXPECT_TRUE(RunOnDay(kFirstDay + 7, kAnswerTwoWeeks));
    EXPECT_EQ(StoredDword(L"DonateStatus"), 1u);
    EXPECT_EQ(StoredDword(L"DonateLastPrompt"), static_cast<DWORD>(kFirstDay + 7));
    // Answer 1 waits 14 days.
    EXPECT_FALSE(RunOnDay(kFirstDay + 7 + 13));
    EXPECT_TRUE(RunOnDay(kFirstDay + 7 + 14, kAnswerAlreadyDonated));
    // Answer 2 stops it.
    EXPECT_EQ(StoredDword(L"DonateStatus"), 2u);
    EXPECT_FALSE(RunOnDay(kFirstDay + 400));
}

TEST_F(DonationReminder, AnswerThreeStopsTheOffersAndAMenuShowingSuppressesTheOfferAtClose) {
    EXPECT_FALSE(RunOnDay(kFirstDay));
    EXPECT_TRUE(RunOnDay(kFirstDay + 7, kAnswerNeverDonate));
    EXPECT_EQ(StoredDword(L"DonateStatus"), 3u);
    EXPECT_FALSE(RunOnDay(kFirstDay + 500));

    // Answer 0 given from the menu: no offer at this run's close, but at every close after it.
    today = kFirstDay + 502;
    LoadDonationState();
    EXPECT_EQ(ShowingsDuring([this] { ShowDonationDialog(donateDialog); }, kAnswerDonateNow), 1);
    EXPECT_EQ(CurrentDonationState().DonateChoice, kAnswerDonateNow);
    EXPECT_EQ(ShowingsDuring([this] { CheckDonationReminder(donateDialog); }, kAnswerDonateNow), 0);
    SaveDonationState();
    EXPECT_EQ(StoredDword(L"DonateStatus"), 0u);
    EXPECT_TRUE(RunOnDay(kFirstDay + 502, kAnswerDonateNow));
    EXPECT_TRUE(RunOnDay(kFirstDay + 502, kAnswerOneDay));
    EXPECT_FALSE(RunOnDay(kFirstDay + 502));
}

TEST_F(DonationReminder, StatusStoredAsTextIsReadAsItsNumberAndWrittenBackAsText) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSectionKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t three[] = L"3";
    RegSetValueExW(key, L"DonateStatus", 0, REG_SZ, reinterpret_cast<const BYTE*>(three), sizeof three);
    RegCloseKey(key);

    today = kFirstDay;
    LoadDonationState();
    EXPECT_EQ(CurrentDonationState().DonateChoice, 3);
    SaveDonationState();
    EXPECT_EQ(StoredType(L"DonateStatus"), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(StoredType(L"DonateLastPrompt"), static_cast<DWORD>(REG_DWORD));
}

}  // namespace
}  // namespace lumera::win32
