// The Win32 ports answered as a player would: the information message, the input box kept
// between attempts, the file chooser's names, and the input a synchronous sound holds back.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "engine/fakes.h"
#include "util/win32/ansi_text_win32.h"
#include "window/win32/dialogs_win32.h"
#include "window/win32/modal_answer_win32.h"
#include "window/win32/sound_win32.h"

namespace lumera::win32 {
namespace {

using lumera::testing::ModalAnswerer;
using lumera::testing::PressButton;
using lumera::testing::WindowText;

// The icon of a message box is a static control, numbered 20 by Windows and 0x440 by Wine,
// that holds an icon only when the box has one.
bool HasIcon(HWND box) {
    for (int id : {0x0014, 0x0440})
        if (const HWND icon = GetDlgItem(box, id); icon != nullptr && SendMessageW(icon, STM_GETICON, 0, 0) != 0)
            return true;
    return false;
}

TEST(Win32DialogsTest, InformationHasItsCaptionIconTextAndOneButton) {
    Win32Dialogs dialogs;
    std::wstring caption, text;
    bool hasIcon = false, hasCancel = true;
    ModalAnswerer answerer([&](HWND box) {
        caption = WindowText(box);
        text = lumera::testing::MessageBoxText(box);
        hasIcon = HasIcon(box);
        hasCancel = GetDlgItem(box, IDCANCEL) != nullptr && IsWindowVisible(GetDlgItem(box, IDCANCEL));
        PressButton(box, IDOK);
        return true;
    });
    dialogs.ShowInformation("Last puzzle is 3! Starting back at puzzle 1. Press OK to continue.");
    ASSERT_EQ(answerer.Answered(), 1);
    EXPECT_EQ(caption, L"Information");
    EXPECT_EQ(text, L"Last puzzle is 3! Starting back at puzzle 1. Press OK to continue.");
    EXPECT_TRUE(hasIcon);
    EXPECT_FALSE(hasCancel);
}

TEST(Win32DialogsTest, MessageShowsAmpersandsAndAnsiBytesAsTheyStand) {
    Win32Dialogs dialogs;
    std::wstring caption, text;
    bool hasIcon = true;
    ModalAnswerer answerer([&](HWND box) {
        caption = WindowText(box);
        text = lumera::testing::MessageBoxText(box);
        hasIcon = HasIcon(box);
        PressButton(box, IDOK);
        return true;
    });
    dialogs.ShowMessage("R&D CAF\xC9", "Congratulations! You have finished this puzzle!");
    ASSERT_EQ(answerer.Answered(), 1);
    EXPECT_EQ(caption, L"Congratulations! You have finished this puzzle!");
    EXPECT_EQ(text, FromAnsi("R&D CAF\xC9"));
    EXPECT_FALSE(hasIcon);
}

// Answers one input box: records what it shows, types an answer (unless none) and presses a button.
struct InputBoxPlayer {
    std::wstring caption, prompt, offered;
    std::optional<std::wstring> typed;
    int button = IDOK;
    bool operator()(HWND box) {
        caption = WindowText(box);
        prompt = WindowText(GetDlgItem(box, kInputBoxPromptId));
        offered = WindowText(GetDlgItem(box, kInputBoxEditId));
        if (typed) SetWindowTextW(GetDlgItem(box, kInputBoxEditId), typed->c_str());
        PressButton(box, button);
        return true;
    }
};

TEST(Win32DialogsTest, InputBoxShowsCaptionPromptAndTextAndReturnsTheEditedText) {
    Win32Dialogs dialogs;
    InputBoxPlayer player;
    player.typed = L"12 & more";
    std::string text = "1";
    {
        ModalAnswerer answerer(std::ref(player));
        EXPECT_TRUE(dialogs.InputBox("Lumera 8.0 by lumera.example", "Enter new puzzle number to start at:", text));
        EXPECT_EQ(answerer.Answered(), 1);
    }
    EXPECT_EQ(player.caption, L"Lumera 8.0 by lumera.example");
    EXPECT_EQ(player.prompt, L"Enter new puzzle number to start at:");
    EXPECT_EQ(player.offered, L"1");
    EXPECT_EQ(text, "12 & more");

    // The next attempt offers the player's last entry; Cancel leaves the text alone.
    InputBoxPlayer second;
    second.typed = L"99";
    second.button = IDCANCEL;
    {
        ModalAnswerer answerer(std::ref(second));
        EXPECT_FALSE(dialogs.InputBox("Caption", "Prompt", text));
    }
    EXPECT_EQ(second.offered, L"12 & more");
    EXPECT_EQ(text, "12 & more");
}

TEST(Win32DialogsTest, FileChooserFilterListsEachPairAndEndsWithTwoZeros) {
    EXPECT_EQ(FileDialogFilter("Lumera Puzzle Files|*.DAT|Text Files|*.TXT"),
              std::wstring(L"Lumera Puzzle Files\0*.DAT\0Text Files\0*.TXT\0\0", 44));
}

TEST(Win32DialogsTest, EveryChosenNameOpensWithTheNarrowFileFunctions) {
    lumera::testing::TempDir folder;
    const std::wstring plain = folder.path.wstring() + L"\\plain.dat";
    // Greek and Chinese letters lie outside the Western code page.
    const std::wstring foreign = folder.path.wstring() + L"\\r\u00e4tsel-\u03a9\u4e2d.dat";
    for (const std::wstring& name : {plain, foreign}) {
        const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, "HELLO\r\n", 7, &written, nullptr);
        CloseHandle(file);
    }
    EXPECT_EQ(OpenableAnsiPath(plain), ToAnsi(plain));
    for (const std::wstring& name : {plain, foreign}) {
        const std::string narrow = OpenableAnsiPath(name);
        std::FILE* file = std::fopen(narrow.c_str(), "rb");
        ASSERT_NE(file, nullptr) << narrow;
        char line[8] = {};
        EXPECT_EQ(std::fread(line, 1, 7, file), 7u);
        std::fclose(file);
        EXPECT_STREQ(line, "HELLO\r\n");
    }
}

// Chooses a file in the common file dialog by typing its name into the edit line of the
// name field (identifier 0x47C) and pressing Open.
struct FileChooserPlayer {
    std::wstring typed;
    static BOOL CALLBACK FindNameEdit(HWND child, LPARAM found) {
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        if (GetDlgCtrlID(child) != 0x047C || std::wstring(className) != L"Edit") return TRUE;
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }
    bool operator()(HWND chooser) {
        HWND edit = nullptr;
        EnumChildWindows(chooser, &FileChooserPlayer::FindNameEdit, reinterpret_cast<LPARAM>(&edit));
        if (edit == nullptr) return false;
        SetWindowTextW(edit, typed.c_str());
        PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return true;
    }
};

TEST(Win32DialogsTest, FileChooserReturnsNamesThatOpenWhateverTheirCharacters) {
    lumera::testing::TempDir folder;
    const std::wstring base = folder.path.wstring() + L"\\";
    for (const wchar_t* name : {L"collection.DAT", L"\u03a9mega.dat"}) {
        const HANDLE file = CreateFileW((base + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }
    Win32Dialogs dialogs;
    FileChooserPlayer player;
    player.typed = base + L"collection.DAT";
    std::optional<std::string> chosen;
    {
        ModalAnswerer answerer(std::ref(player));
        chosen = dialogs.ChooseFile("Lumera Puzzle Files|*.DAT|Text Files|*.TXT", "*.DAT");
    }
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(FromAnsi(*chosen), base + L"collection.DAT");

    player.typed = base + L"\u03a9mega.dat";
    {
        ModalAnswerer answerer(std::ref(player));
        chosen = dialogs.ChooseFile("Lumera Puzzle Files|*.DAT|Text Files|*.TXT", "*.DAT");
    }
    ASSERT_TRUE(chosen.has_value());
    std::FILE* file = std::fopen(chosen->c_str(), "rb");
    EXPECT_NE(file, nullptr) << *chosen;
    if (file) std::fclose(file);
    // The chooser leaves the current folder where it was.
    EXPECT_NE(std::filesystem::current_path(), folder.path);
}

TEST(Win32SoundTest, InputQueuedDuringASynchronousSoundIsDiscarded) {
    const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    for (UINT input : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP, WM_KEYDOWN, WM_SYSKEYDOWN,
                       WM_NCLBUTTONDOWN})
        PostMessageW(window, input, 0, 0);
    PostMessageW(window, WM_APP, 0, 0);
    // No WAVE resources in the test program and maybe no audio device: it returns at once.
    const DWORD start = GetTickCount();
    Win32Sound().PlaySound("WAVE2", true);
    EXPECT_LT(GetTickCount() - start, 2000u);
    MSG message;
    std::vector<UINT> left;
    while (PeekMessageW(&message, window, 0, 0, PM_REMOVE)) left.push_back(message.message);
    EXPECT_EQ(left, std::vector<UINT>{WM_APP});
    DestroyWindow(window);
}

}  // namespace
}  // namespace lumera::win32
