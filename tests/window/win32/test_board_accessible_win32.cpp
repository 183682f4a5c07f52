// The board as a screen reader reads it from the main window (under Wine, in-process through
// AccessibleObjectFromWindow): the parts' names, roles, states and places, the default action as
// a click, and the WinEvents that announce changes once a reader has asked.
#include <gtest/gtest.h>

#include <windows.h>

#include <ole2.h>
#include <oleacc.h>

#include <filesystem>
#include <set>
#include <utility>
#include <vector>

#include "engine/fakes.h"
#include "util/win32/ansi_text_win32.h"
#include "window/win32/mainform_win32.h"

namespace lumera::win32 {
namespace {

using lumera::testing::TempDir;

VARIANT Child(LONG id) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

// Every WinEvent about the client area's children of one window: (event, child id).
class WinEventRecorder {
public:
    explicit WinEventRecorder(HWND window) {
        window_ = window;
        events_.clear();
        hook_ = SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_DESCRIPTIONCHANGE, nullptr, &Record, 0, 0,
                                WINEVENT_OUTOFCONTEXT);
    }
    ~WinEventRecorder() { UnhookWinEvent(hook_); }
    bool IsHooked() const { return hook_ != nullptr; }
    // What has come since the last call, once the messages that carry the events are delivered.
    std::vector<std::pair<DWORD, LONG>> Take() {
        MSG message;
        for (int round = 0; round < 5; ++round) {
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            Sleep(10);
        }
        return std::exchange(events_, {});
    }

private:
    static void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
        if (window == window_ && object == OBJID_CLIENT && event != EVENT_OBJECT_LOCATIONCHANGE)
            events_.emplace_back(event, child);
    }
    static inline HWND window_ = nullptr;
    static inline std::vector<std::pair<DWORD, LONG>> events_;
    HWINEVENTHOOK hook_ = nullptr;
};

class BoardAccessibleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        previous_ = std::filesystem::current_path();
        folder_.Write("Lumera8.dat", "HELLO WORLD\r\n");
        std::filesystem::current_path(folder_.path);
        MainFormServices services{{&store_, &dialogs_, &sound_, &random_, &clock_, nullptr, {}}, {}, {}};
        form_ = std::make_unique<TLumeraMainForm>(GetModuleHandleW(nullptr), std::move(services));
    }
    void TearDown() override {
        if (board_) board_->Release();
        form_.reset();
        std::filesystem::current_path(previous_);
        CoUninitialize();
    }

    // The client area as a screen reader gets it.
    IAccessible* Board() {
        if (!board_) {
            const HRESULT got = AccessibleObjectFromWindow(form_->Handle(), static_cast<DWORD>(OBJID_CLIENT),
                                                           __uuidof(IAccessible), reinterpret_cast<void**>(&board_));
            EXPECT_EQ(got, S_OK);
        }
        return board_;
    }
    std::wstring Text(HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR*), LONG child) {
        BSTR text = nullptr;
        (Board()->*property)(Child(child), &text);
        std::wstring result = text ? std::wstring(text, SysStringLen(text)) : L"";
        SysFreeString(text);
        return result;
    }
    std::wstring Name(LONG child) { return Text(&IAccessible::get_accName, child); }
    LONG Role(LONG child) {
        VARIANT role;
        VariantInit(&role);
        Board()->get_accRole(Child(child), &role);
        return role.vt == VT_I4 ? role.lVal : -1;
    }
    LONG State(LONG child) {
        VARIANT state;
        VariantInit(&state);
        Board()->get_accState(Child(child), &state);
        return state.vt == VT_I4 ? state.lVal : -1;
    }
    void Release(int x, int y) { SendMessageW(form_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
    void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }

    TempDir folder_;
    std::filesystem::path previous_;
    lumera::testing::FakeStore store_;
    lumera::testing::FakeDialogs dialogs_;
    lumera::testing::FakeSound sound_;
    lumera::testing::SequenceRandom random_;
    lumera::testing::FakeClock clock_;
    std::unique_ptr<TLumeraMainForm> form_;
    IAccessible* board_ = nullptr;
};

TEST_F(BoardAccessibleTest, ReadsEveryPartWithItsNameRoleStateAndPlace) {
    LONG count = 0;
    ASSERT_EQ(Board()->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 297);
    const std::string& working = form_->Game().Working;  // "HELLO WORLD" scrambled
    EXPECT_EQ(Name(1), L"A");
    EXPECT_EQ(Name(26), L"Z");
    EXPECT_EQ(Name(27), FromAnsi(working.substr(0, 1)));
    EXPECT_EQ(Name(27 + 5), L"blank");    // grid cell 6, between the words
    EXPECT_EQ(Name(27 + 269), L"blank");  // the last grid cell
    EXPECT_EQ(Name(297), L"Puzzle # 1");
    EXPECT_EQ(Text(&IAccessible::get_accDescription, 27 + 5), L"correct");  // shaded: it is right
    EXPECT_EQ(Text(&IAccessible::get_accDefaultAction, 2), L"click");
    EXPECT_EQ(Role(CHILDID_SELF), ROLE_SYSTEM_CLIENT);
    EXPECT_EQ(Role(1), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(Role(27), ROLE_SYSTEM_CELL);
    EXPECT_EQ(Role(297), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_TRUE(State(1) & STATE_SYSTEM_SELECTED);  // "A" is selected at start-up
    EXPECT_FALSE(State(2) & STATE_SYSTEM_SELECTED);
    BSTR name = nullptr;
    EXPECT_EQ(Board()->get_accName(Child(298), &name), E_INVALIDARG);

    // Grid cell 32 (row 2, column 2) on the screen, and found there again by a hit test.
    ShowWindow(form_->Handle(), SW_SHOWNOACTIVATE);
    POINT origin{0, 0};
    ClientToScreen(form_->Handle(), &origin);
    LONG left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(Board()->accLocation(&left, &top, &width, &height, Child(27 + 31)), S_OK);
    EXPECT_EQ(left - origin.x, 24);
    EXPECT_EQ(top - origin.y, 86);
    EXPECT_EQ(width, 19);
    EXPECT_EQ(height, 21);
    VARIANT hit;
    VariantInit(&hit);
    ASSERT_EQ(Board()->accHitTest(left + width - 1, top + height - 1, &hit), S_OK);
    EXPECT_EQ(hit.vt, VT_I4);
    EXPECT_EQ(hit.lVal, 27 + 31);
    ASSERT_EQ(Board()->accHitTest(left + width, top, &hit), S_OK);  // the gap: the client area itself
    EXPECT_EQ(hit.lVal, CHILDID_SELF);

    // At twice the density the same cell is twice as far and as large.
    RECT frame{};
    GetWindowRect(form_->Handle(), &frame);
    SendMessageW(form_->Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&frame));
    ASSERT_EQ(Board()->accLocation(&left, &top, &width, &height, Child(27 + 31)), S_OK);
    EXPECT_EQ(left - origin.x, 48);
    EXPECT_EQ(top - origin.y, 172);
    EXPECT_EQ(width, 38);
    EXPECT_EQ(height, 42);
}

TEST_F(BoardAccessibleTest, TheDefaultActionClicksThePartOnceTheReadersCallHasReturned) {
    ASSERT_EQ(Board()->accDoDefaultAction(Child(2)), S_OK);
    EXPECT_EQ(form_->Game().SelectedLetter, 'A');  // nothing yet: a message box would hold the reader
    Pump();
    EXPECT_EQ(form_->Game().SelectedLetter, 'B');
    EXPECT_TRUE(State(2) & STATE_SYSTEM_SELECTED);

    // Select the letter that grid cell 1 should hold, then act on the cell: the letters change
    // places everywhere, as a click does.
    const char code = form_->Game().Working[0];
    ASSERT_NE(code, 'H') << "the deal left the first letter in place";
    Board()->accDoDefaultAction(Child('H' - 'A' + 1));
    Board()->accDoDefaultAction(Child(27));
    Pump();
    EXPECT_EQ(form_->Game().Working[0], 'H');
    EXPECT_EQ(Name(27), L"H");
    EXPECT_EQ(form_->Game().Working.find(code), std::string::npos);
}

TEST_F(BoardAccessibleTest, ChangesAreAnnouncedOncePerPartOnceAReaderHasAsked) {
    WinEventRecorder events(form_->Handle());
    ASSERT_TRUE(events.IsHooked());
    Release(30, 10);  // "B", before any reader asked: nobody is told
    EXPECT_TRUE(events.Take().empty());

    ASSERT_NE(Board(), nullptr);
    Release(50, 10);  // "C": "B" loses the selection, "C" gains it
    const std::vector<std::pair<DWORD, LONG>> selection{{EVENT_OBJECT_STATECHANGE, 2}, {EVENT_OBJECT_STATECHANGE, 3}};
    EXPECT_EQ(events.Take(), selection);

    // An exchange renames exactly the cells whose letter changed, once each.
    const std::string before = form_->Game().Working;
    ASSERT_NE(before[0], 'H') << "the deal left the first letter in place";
    const CellRect h = AlphabetCellRect('H' - 'A' + 1);
    Release(h.Left + 5, h.Top + 5);
    events.Take();
    Release(PuzzleCellRect(1).Left + 5, PuzzleCellRect(1).Top + 5);
    std::vector<std::pair<DWORD, LONG>> renamed;
    for (std::size_t n = 0; n < before.size(); ++n)
        if (before[n] != form_->Game().Working[n]) renamed.emplace_back(EVENT_OBJECT_NAMECHANGE, 27 + n);
    ASSERT_FALSE(renamed.empty());
    std::vector<std::pair<DWORD, LONG>> names;
    for (const auto& event : events.Take())
        if (event.first == EVENT_OBJECT_NAMECHANGE) names.push_back(event);
    EXPECT_EQ(names, renamed);
}

TEST_F(BoardAccessibleTest, AReaderHoldingTheBoardAfterTheWindowHasGoneIsToldItIsGone) {
    IAccessible* board = Board();
    board->AddRef();
    form_.reset();
    LONG count = 0;
    BSTR name = nullptr;
    EXPECT_TRUE(FAILED(board->get_accChildCount(&count)));
    EXPECT_TRUE(FAILED(board->get_accName(Child(1), &name)));
    EXPECT_TRUE(FAILED(board->accDoDefaultAction(Child(1))));
    board->Release();
}

}  // namespace
}  // namespace lumera::win32
