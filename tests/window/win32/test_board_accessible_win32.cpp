// The board as a screen reader reads it from the main window (under Wine, in-process through
// AccessibleObjectFromWindow): the tree of groups, rows and parts, the parts' names, roles,
// states and places, the default action as a click, and the WinEvents that announce changes and
// moves once a reader has asked.
#include <gtest/gtest.h>

#include <windows.h>

#include <ole2.h>
#include <oleacc.h>

#include <filesystem>
#include <set>
#include <tuple>
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

// Every WinEvent about the board of one window: (event, object id, child id).
class WinEventRecorder {
public:
    explicit WinEventRecorder(HWND window) {
        window_ = window;
        events_.clear();
        hook_ = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, &Record, 0, 0, WINEVENT_OUTOFCONTEXT);
    }
    ~WinEventRecorder() { UnhookWinEvent(hook_); }
    bool IsHooked() const { return hook_ != nullptr; }
    // What has come since the last call, once the messages that carry the events are delivered.
    std::vector<std::tuple<DWORD, LONG, LONG>> Take() {
        MSG message;
        for (int round = 0; round < 5; ++round) {
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            Sleep(10);
        }
        return std::exchange(events_, {});
    }

private:
    static void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
        const bool aboutBoard = event == EVENT_OBJECT_NAMECHANGE || event == EVENT_OBJECT_DESCRIPTIONCHANGE ||
                                event == EVENT_OBJECT_STATECHANGE || event == EVENT_SYSTEM_ALERT;
        if (window == window_ && aboutBoard && (object == OBJID_CLIENT || object > 0))
            events_.emplace_back(event, object, child);
    }
    static inline HWND window_ = nullptr;
    static inline std::vector<std::tuple<DWORD, LONG, LONG>> events_;
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
        for (IAccessible* node : held_) node->Release();
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
    std::wstring Text(HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR*), IAccessible* node,
                      LONG child) {
        BSTR text = nullptr;
        (node->*property)(Child(child), &text);
        std::wstring result = text ? std::wstring(text, SysStringLen(text)) : L"";
        SysFreeString(text);
        return result;
    }
    std::wstring Name(IAccessible* node, LONG child) { return Text(&IAccessible::get_accName, node, child); }
    LONG Role(IAccessible* node, LONG child) {
        VARIANT role;
        VariantInit(&role);
        node->get_accRole(Child(child), &role);
        return role.vt == VT_I4 ? role.lVal : -1;
    }
    LONG State(IAccessible* node, LONG child) {
        VARIANT state;
        VariantInit(&state);
        node->get_accState(Child(child), &state);
        return state.vt == VT_I4 ? state.lVal : -1;
    }
    LONG Count(IAccessible* node) {
        LONG count = -1;
        node->get_accChildCount(&count);
        return count;
    }
    // A child that is an object of its own; kept until the test ends.
    IAccessible* Node(IAccessible* parent, LONG child) {
        IDispatch* dispatch = nullptr;
        if (parent->get_accChild(Child(child), &dispatch) != S_OK || !dispatch) return nullptr;
        IAccessible* node = nullptr;
        dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&node));
        dispatch->Release();
        if (node) held_.push_back(node);
        return node;
    }
    IAccessible* Letters() { return Node(Board(), 1); }
    IAccessible* Status() { return Node(Board(), 2); }
    IAccessible* Row(int row) { return Node(Node(Board(), 3), row); }  // 1-based
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
    std::vector<IAccessible*> held_;
};

TEST_F(BoardAccessibleTest, ReadsAsAToolbarTheStatusAndATableOfRowsWithEachPartsNameRoleStateAndPlace) {
    ASSERT_EQ(Count(Board()), 4);
    EXPECT_EQ(Role(Board(), CHILDID_SELF), ROLE_SYSTEM_CLIENT);
    const std::vector<std::pair<LONG, std::wstring>> groups{
        {ROLE_SYSTEM_TOOLBAR, L"Alphabet"}, {ROLE_SYSTEM_GROUPING, L"Status"}, {ROLE_SYSTEM_TABLE, L"Puzzle"}};
    for (LONG child = 1; child <= 3; ++child) {
        EXPECT_EQ(std::pair(Role(Board(), child), Name(Board(), child)), groups[static_cast<std::size_t>(child - 1)]);
        IAccessible* group = Node(Board(), child);
        ASSERT_NE(group, nullptr);
        IDispatch* parent = nullptr;
        ASSERT_EQ(group->get_accParent(&parent), S_OK);
        EXPECT_EQ(parent, static_cast<IDispatch*>(Board()));
        parent->Release();
    }
    EXPECT_EQ(Role(Board(), 4), ROLE_SYSTEM_ALERT);  // where each move is spoken
    EXPECT_TRUE(State(Board(), 4) & STATE_SYSTEM_INVISIBLE);

    IAccessible* letters = Letters();
    ASSERT_EQ(Count(letters), 26);
    EXPECT_EQ(Name(letters, 1), L"A");
    EXPECT_EQ(Name(letters, 26), L"Z");
    EXPECT_EQ(Role(letters, 1), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(Text(&IAccessible::get_accDefaultAction, letters, 2), L"click");
    EXPECT_TRUE(State(letters, 1) & STATE_SYSTEM_SELECTED);  // "A" is selected at start-up
    EXPECT_FALSE(State(letters, 2) & STATE_SYSTEM_SELECTED);
    BSTR name = nullptr;
    EXPECT_EQ(letters->get_accName(Child(27), &name), E_INVALIDARG);
    ASSERT_EQ(Count(Status()), 1);
    EXPECT_EQ(Name(Status(), 1), L"Puzzle # 1");
    EXPECT_EQ(Role(Status(), 1), ROLE_SYSTEM_PUSHBUTTON);

    // The table's rows hold the cells: row and column are where a cell is found.
    ASSERT_EQ(Count(Node(Board(), 3)), 9);
    EXPECT_EQ(Role(Node(Board(), 3), 1), ROLE_SYSTEM_ROW);
    const std::string& working = form_->Game().Working;  // "HELLO WORLD" scrambled
    IAccessible* first = Row(1);
    ASSERT_EQ(Count(first), 30);
    EXPECT_EQ(Name(first, 1), FromAnsi(working.substr(0, 1)));
    EXPECT_EQ(Name(first, 6), L"blank");  // grid cell 6, between the words
    EXPECT_EQ(Role(first, 1), ROLE_SYSTEM_CELL);
    EXPECT_EQ(Text(&IAccessible::get_accDescription, first, 6), L"correct");  // shaded: it is right
    EXPECT_EQ(Name(Row(9), 30), L"blank");  // the last grid cell

    // Grid cell 32 (row 2, column 2) on the screen, and found there again by hit tests that
    // go down the tree.
    ShowWindow(form_->Handle(), SW_SHOWNOACTIVATE);
    POINT origin{0, 0};
    ClientToScreen(form_->Handle(), &origin);
    LONG left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(Row(2)->accLocation(&left, &top, &width, &height, Child(2)), S_OK);
    EXPECT_EQ(std::tuple(left - origin.x, top - origin.y, width, height), std::tuple(24, 86, 19, 21));
    VARIANT hit;
    VariantInit(&hit);
    ASSERT_EQ(Board()->accHitTest(left + width - 1, top + height - 1, &hit), S_OK);
    ASSERT_EQ(hit.vt, VT_DISPATCH) << "the table, an object";
    IAccessible* table = nullptr;
    hit.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&table));
    hit.pdispVal->Release();
    ASSERT_NE(table, nullptr);
    held_.push_back(table);
    EXPECT_EQ(Role(table, CHILDID_SELF), ROLE_SYSTEM_TABLE);
    ASSERT_EQ(table->accHitTest(left + 1, top + 1, &hit), S_OK);
    ASSERT_EQ(hit.vt, VT_DISPATCH) << "the row";
    hit.pdispVal->Release();
    ASSERT_EQ(Row(2)->accHitTest(left + width - 1, top + height - 1, &hit), S_OK);
    EXPECT_EQ(std::pair(hit.vt, hit.lVal), std::pair(VARTYPE(VT_I4), 2L));
    ASSERT_EQ(Row(2)->accHitTest(left + width, top, &hit), S_OK);  // the gap: the row itself
    EXPECT_EQ(hit.lVal, CHILDID_SELF);

    // At twice the density the same cell is twice as far and as large.
    RECT frame{};
    GetWindowRect(form_->Handle(), &frame);
    SendMessageW(form_->Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&frame));
    ASSERT_EQ(Row(2)->accLocation(&left, &top, &width, &height, Child(2)), S_OK);
    EXPECT_EQ(std::tuple(left - origin.x, top - origin.y, width, height), std::tuple(48, 172, 38, 42));
}

TEST_F(BoardAccessibleTest, TheDefaultActionClicksThePartOnceTheReadersCallHasReturned) {
    IAccessible* letters = Letters();
    ASSERT_EQ(letters->accDoDefaultAction(Child(2)), S_OK);
    EXPECT_EQ(form_->Game().SelectedLetter, 'A');  // nothing yet: a message box would hold the reader
    Pump();
    EXPECT_EQ(form_->Game().SelectedLetter, 'B');
    EXPECT_TRUE(State(letters, 2) & STATE_SYSTEM_SELECTED);

    // Select the letter that grid cell 1 should hold, then act on the cell: the letters change
    // places everywhere, as a click does.
    const char code = form_->Game().Working[0];
    ASSERT_NE(code, 'H') << "the deal left the first letter in place";
    letters->accDoDefaultAction(Child('H' - 'A' + 1));
    Row(1)->accDoDefaultAction(Child(1));
    Pump();
    EXPECT_EQ(form_->Game().Working[0], 'H');
    EXPECT_EQ(Name(Row(1), 1), L"H");
    EXPECT_EQ(form_->Game().Working.find(code), std::string::npos);
}

TEST_F(BoardAccessibleTest, ChangesAreToldOncePerPartOnItsNodeAndEachMoveOnceAsAnAlert) {
    WinEventRecorder events(form_->Handle());
    ASSERT_TRUE(events.IsHooked());
    Release(30, 10);  // "B", before any reader asked: nobody is told
    EXPECT_TRUE(events.Take().empty());

    ASSERT_NE(Board(), nullptr);
    Release(50, 10);  // "C": "B" loses the selection, "C" gains it, on the toolbar (object 1)
    const std::vector<std::tuple<DWORD, LONG, LONG>> selection{{EVENT_OBJECT_STATECHANGE, 1, 2},
                                                               {EVENT_OBJECT_STATECHANGE, 1, 3}};
    EXPECT_EQ(events.Take(), selection);

    // An exchange renames exactly the cells whose letter changed, once each, on their rows
    // (objects 4 to 12), and is spoken once.
    const std::string before = form_->Game().Working;
    ASSERT_NE(before[0], 'H') << "the deal left the first letter in place";
    const CellRect h = AlphabetCellRect('H' - 'A' + 1);
    Release(h.Left + 5, h.Top + 5);
    events.Take();
    Release(PuzzleCellRect(1).Left + 5, PuzzleCellRect(1).Top + 5);
    std::vector<std::tuple<DWORD, LONG, LONG>> renamed;
    for (std::size_t n = 0; n < before.size(); ++n)
        if (before[n] != form_->Game().Working[n])
            renamed.emplace_back(EVENT_OBJECT_NAMECHANGE, 4 + static_cast<LONG>(n / 30), 1 + static_cast<LONG>(n % 30));
    ASSERT_FALSE(renamed.empty());
    renamed.emplace_back(EVENT_OBJECT_NAMECHANGE, OBJID_CLIENT, 4);
    renamed.emplace_back(EVENT_SYSTEM_ALERT, OBJID_CLIENT, 4);
    std::vector<std::tuple<DWORD, LONG, LONG>> heard;
    for (const auto& event : events.Take())
        if (std::get<0>(event) != EVENT_OBJECT_DESCRIPTIONCHANGE && std::get<0>(event) != EVENT_OBJECT_STATECHANGE)
            heard.push_back(event);
    EXPECT_EQ(heard, renamed);
    EXPECT_EQ(Name(Board(), 4).rfind(L"H in ", 0), 0u) << "the alert names the move";
    EXPECT_FALSE(State(Board(), 4) & STATE_SYSTEM_INVISIBLE);

    // A reader that follows an event asks the window for the row by its object id.
    IAccessible* row = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(form_->Handle(), 4, __uuidof(IAccessible), reinterpret_cast<void**>(&row)),
              S_OK);
    held_.push_back(row);
    EXPECT_EQ(Name(row, 1), L"H");
}

TEST_F(BoardAccessibleTest, AReaderHoldingTheBoardAfterTheWindowHasGoneIsToldItIsGone) {
    IAccessible* board = Board();
    board->AddRef();
    IAccessible* letters = Letters();
    form_.reset();
    LONG count = 0;
    BSTR name = nullptr;
    EXPECT_TRUE(FAILED(board->get_accChildCount(&count)));
    EXPECT_TRUE(FAILED(letters->get_accChildCount(&count))) << "a group goes with the window too";
    EXPECT_TRUE(FAILED(board->get_accName(Child(1), &name)));
    EXPECT_TRUE(FAILED(board->accDoDefaultAction(Child(1))));
    board->Release();
}

}  // namespace
}  // namespace lumera::win32
