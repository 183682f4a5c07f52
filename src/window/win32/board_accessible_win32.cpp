// The board's IAccessible tree: plain COM over the window layer's board tree, with names in the
// ANSI code page turned into wide text, locations at the display's scale in screen coordinates,
// the default action posted back to the window, name and state changes sent as WinEvents on the
// node that holds the part, and each move's announcement as an alert.
// oleacc, ole32 and oleaut32 are loaded when a screen reader first asks.
#include "window/win32/board_accessible_win32.h"

#include <ole2.h>
#include <oleacc.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "util/win32/ansi_text_win32.h"
#include "util/win32/system_library_win32.h"
#include "window/game_window.h"
#include "window/win32/board_painter_win32.h"

namespace lumera::win32 {

namespace {

// The system functions this file uses, looked up on the first request.
struct AccessibilityFunctions {
    decltype(&::LresultFromObject) lresultFromObject = nullptr;
    decltype(&::CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
    decltype(&::CoInitializeEx) coInitializeEx = nullptr;
    decltype(&::CoUninitialize) coUninitialize = nullptr;
    decltype(&::SysAllocStringLen) sysAllocStringLen = nullptr;

    bool IsComplete() const {
        return lresultFromObject && createStdAccessibleObject && coInitializeEx && coUninitialize && sysAllocStringLen;
    }
};

const AccessibilityFunctions& Functions() {
    static const AccessibilityFunctions functions = [] {
        AccessibilityFunctions f;
        f.lresultFromObject = SystemFunction<decltype(&::LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
        f.createStdAccessibleObject =
            SystemFunction<decltype(&::CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject");
        f.coInitializeEx = SystemFunction<decltype(&::CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
        f.coUninitialize = SystemFunction<decltype(&::CoUninitialize)>(L"ole32.dll", "CoUninitialize");
        f.sysAllocStringLen = SystemFunction<decltype(&::SysAllocStringLen)>(L"oleaut32.dll", "SysAllocStringLen");
        return f;
    }();
    return functions;
}

HRESULT ReturnText(const std::wstring& text, BSTR* out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = Functions().sysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void SetChild(VARIANT* out, LONG child) {
    out->vt = VT_I4;
    out->lVal = child;
}

constexpr wchar_t kDefaultAction[] = L"click";

}  // namespace

// What every node of the tree reaches: the window, the layer and the painter, all cut off at
// once when the window goes, and the last announcement.
struct BoardLink {
    HWND window = nullptr;
    GameWindow* layer = nullptr;
    const BoardPainter* painter = nullptr;
    std::wstring announcement;
};

// One node of the layer's board tree as an IAccessible: the client area (its children the three
// groups and the announcements' alert), a group (its children the group's parts; the puzzle's,
// the table's rows), or a row of the table (its children that row's cells). Parts are simple
// elements, reached by child id from their node; groups and rows are objects of their own, which
// a reader can also get by their object id through WM_GETOBJECT.
class BoardNode final : public IAccessible {
public:
    enum class Level { Client, Group, Row };

    // A child: a node of its own, a part, or (for the client area) the alert.
    struct Child {
        BoardNode* node = nullptr;
        int part = -1;
    };

    BoardNode(std::shared_ptr<BoardLink> link, Level level, int index, LONG objectId)
        : link_(std::move(link)), level_(level), index_(index), objectId_(objectId) {}

    void SetParent(BoardNode* parent) { parent_ = parent; }
    void Add(Child child) { children_.push_back(child); }
    LONG ObjectId() const { return objectId_; }
    // The child id of a part within this node, or 0.
    LONG ChildIdOf(int part) const {
        for (std::size_t i = 0; i < children_.size(); ++i)
            if (!children_[i].node && children_[i].part == part) return static_cast<LONG>(i) + 1;
        return 0;
    }

    // ---- IUnknown ----
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // ---- IDispatch: readers call IAccessible itself ----
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // ---- IAccessible ----
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (parent == nullptr) return E_POINTER;
        *parent = nullptr;
        if (!Live()) return RPC_E_DISCONNECTED;
        if (parent_) return parent_->QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(parent));
        return Functions().createStdAccessibleObject(link_->window, OBJID_WINDOW, __uuidof(IDispatch),
                                                     reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (count == nullptr) return E_POINTER;
        *count = static_cast<LONG>(children_.size());
        return Live() ? S_OK : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (!Live()) return RPC_E_DISCONNECTED;
        const Child* found = Find(child);
        if (!found) return E_INVALIDARG;
        if (!found->node) return S_FALSE;
        return found->node->QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(object));
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (name) *name = nullptr;
        if (!Live()) return RPC_E_DISCONNECTED;
        if (IsSelf(child)) return ReturnText(OwnName(), name);
        const Child* found = Find(child);
        if (!found) return E_INVALIDARG;
        if (found->node) return found->node->get_accName(Self(), name);
        if (found->part < 0) return ReturnText(link_->announcement, name);
        return ReturnText(FromAnsi(Describe(found->part).name), name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (value) *value = nullptr;
        if (!Live()) return RPC_E_DISCONNECTED;
        return IsSelf(child) || Find(child) ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (description) *description = nullptr;
        if (!Live()) return RPC_E_DISCONNECTED;
        if (IsSelf(child)) return S_FALSE;
        const Child* found = Find(child);
        if (!found) return E_INVALIDARG;
        if (found->node || found->part < 0) return S_FALSE;
        return ReturnText(FromAnsi(Describe(found->part).description), description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (role == nullptr) return E_POINTER;
        role->vt = VT_EMPTY;
        if (!Live()) return RPC_E_DISCONNECTED;
        if (IsSelf(child)) {
            SetChild(role, OwnRole());
            return S_OK;
        }
        const Child* found = Find(child);
        if (!found) return E_INVALIDARG;
        if (found->node) {
            SetChild(role, found->node->OwnRole());
        } else if (found->part < 0) {
            SetChild(role, ROLE_SYSTEM_ALERT);
        } else {
            SetChild(role, Describe(found->part).kind == BoardPartKind::GridCell ? ROLE_SYSTEM_CELL : ROLE_SYSTEM_PUSHBUTTON);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (state == nullptr) return E_POINTER;
        state->vt = VT_EMPTY;
        if (!Live()) return RPC_E_DISCONNECTED;
        if (IsSelf(child)) {
            LONG flags = level_ == Level::Client ? STATE_SYSTEM_FOCUSABLE : Offscreen(OwnArea());
            if (level_ == Level::Client && GetFocus() == link_->window) flags |= STATE_SYSTEM_FOCUSED;
            SetChild(state, flags);
            return S_OK;
        }
        const Child* found = Find(child);
        if (!found) return E_INVALIDARG;
        if (found->node) return found->node->get_accState(Self(), state);
        if (found->part < 0) {
            SetChild(state, link_->announcement.empty() ? STATE_SYSTEM_INVISIBLE : 0);
            return S_OK;
        }
        const BoardPart described = Describe(found->part);
        LONG flags = Offscreen(PartArea(found->part));
        if (described.kind == BoardPartKind::AlphabetButton)
            flags |= STATE_SYSTEM_SELECTABLE | (described.selected ? STATE_SYSTEM_SELECTED : 0);
        SetChild(state, flags);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
        if (help) *help = nullptr;
        return Live() ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        if (file) *file = nullptr;
        if (topic) *topic = 0;
        return Live() ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override {
        if (shortcut) *shortcut = nullptr;
        return Live() ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (focus == nullptr) return E_POINTER;
        focus->vt = VT_EMPTY;
        if (!Live()) return RPC_E_DISCONNECTED;
        if (level_ == Level::Client && GetFocus() == link_->window) SetChild(focus, CHILDID_SELF);
        return focus->vt == VT_EMPTY ? S_FALSE : S_OK;
    }
    // The selected letter's button, when a letter is selected.
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (selection == nullptr) return E_POINTER;
        selection->vt = VT_EMPTY;
        if (!Live()) return RPC_E_DISCONNECTED;
        for (std::size_t i = 0; i < children_.size(); ++i) {
            const Child& child = children_[i];
            if (child.node || child.part < 0 || !Describe(child.part).selected) continue;
            SetChild(selection, static_cast<LONG>(i) + 1);
            return S_OK;
        }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (action) *action = nullptr;
        if (!Live()) return RPC_E_DISCONNECTED;
        if (IsSelf(child)) return DISP_E_MEMBERNOTFOUND;
        const Child* found = Find(child);
        if (!found) return E_INVALIDARG;
        return found->node || found->part < 0 ? DISP_E_MEMBERNOTFOUND : ReturnText(kDefaultAction, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override {
        return Live() ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        *left = *top = *width = *height = 0;
        if (!Live()) return RPC_E_DISCONNECTED;
        RECT area{};
        if (IsSelf(child)) {
            area = OwnArea();
        } else {
            const Child* found = Find(child);
            if (!found) return E_INVALIDARG;
            if (found->part < 0 && !found->node) return S_OK;  // the alert takes no room
            area = found->node ? found->node->OwnArea() : PartArea(found->part);
        }
        MapWindowPoints(link_->window, nullptr, reinterpret_cast<POINT*>(&area), 2);
        *left = area.left;
        *top = area.top;
        *width = area.right - area.left;
        *height = area.bottom - area.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        if (end == nullptr) return E_POINTER;
        end->vt = VT_EMPTY;
        if (!Live()) return RPC_E_DISCONNECTED;
        const LONG count = static_cast<LONG>(children_.size());
        LONG next = 0;
        if (IsSelf(start)) {
            if (direction == NAVDIR_FIRSTCHILD) next = 1;
            if (direction == NAVDIR_LASTCHILD) next = count;
        } else {
            if (!Find(start)) return E_INVALIDARG;
            if (direction == NAVDIR_NEXT) next = start.lVal + 1;
            if (direction == NAVDIR_PREVIOUS) next = start.lVal - 1;
        }
        if (next < 1 || next > count) return S_FALSE;
        return ReturnChild(next, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        if (child == nullptr) return E_POINTER;
        child->vt = VT_EMPTY;
        if (!Live()) return RPC_E_DISCONNECTED;
        POINT point{x, y};
        ScreenToClient(link_->window, &point);
        const RECT own = OwnArea();
        if (!PtInRect(&own, point)) return S_FALSE;
        for (std::size_t i = 0; i < children_.size(); ++i) {
            const Child& entry = children_[i];
            if (!entry.node && entry.part < 0) continue;
            const RECT area = entry.node ? entry.node->OwnArea() : PartArea(entry.part);
            if (PtInRect(&area, point)) return ReturnChild(static_cast<LONG>(i) + 1, child);
        }
        SetChild(child, CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!Live()) return RPC_E_DISCONNECTED;
        if (IsSelf(child)) return DISP_E_MEMBERNOTFOUND;
        const Child* found = Find(child);
        if (!found) return E_INVALIDARG;
        if (found->node || found->part < 0) return DISP_E_MEMBERNOTFOUND;
        return PostMessageW(link_->window, kActivateBoardPart, static_cast<WPARAM>(found->part), 0) ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~BoardNode() = default;

    bool Live() const { return link_->layer != nullptr; }
    BoardPart Describe(int part) const { return link_->layer->DescribeBoardPart(part); }
    static VARIANT Self() {
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        return self;
    }
    static bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }
    const Child* Find(const VARIANT& child) const {
        if (child.vt != VT_I4 || child.lVal < 1 || child.lVal > static_cast<LONG>(children_.size())) return nullptr;
        return &children_[static_cast<std::size_t>(child.lVal - 1)];
    }
    // A child that is an object comes as that object, as readers expect of navigation and hits.
    HRESULT ReturnChild(LONG id, VARIANT* out) const {
        const Child& child = children_[static_cast<std::size_t>(id - 1)];
        if (!child.node) {
            SetChild(out, id);
            return S_OK;
        }
        out->vt = VT_DISPATCH;
        return child.node->QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(&out->pdispVal));
    }

    std::wstring OwnName() const {
        if (level_ == Level::Group) return FromAnsi(kBoardGroups[index_].name);
        if (level_ == Level::Row) return {};
        wchar_t caption[256] = {};
        GetWindowTextW(link_->window, caption, 256);
        return caption;
    }
    LONG OwnRole() const {
        if (level_ == Level::Client) return ROLE_SYSTEM_CLIENT;
        if (level_ == Level::Row) return ROLE_SYSTEM_ROW;
        switch (kBoardGroups[index_].kind) {
            case BoardGroupKind::Letters: return ROLE_SYSTEM_TOOLBAR;
            case BoardGroupKind::Status: return ROLE_SYSTEM_GROUPING;
            case BoardGroupKind::Puzzle: return ROLE_SYSTEM_TABLE;
        }
        return ROLE_SYSTEM_GROUPING;
    }
    // The node's area in the client area, at the board's scale.
    RECT OwnArea() const {
        if (level_ == Level::Client) {
            RECT client{};
            GetClientRect(link_->window, &client);
            return client;
        }
        CellRect rect{};
        if (level_ == Level::Row) {
            const CellRect first = PuzzleCellRect(index_ * kGridColumns + 1);
            const CellRect last = PuzzleCellRect((index_ + 1) * kGridColumns);
            rect = CellRect{first.Left, first.Top, last.Right, last.Bottom};
        } else {
            rect = kBoardGroups[index_].rect;
        }
        return link_->painter->Scale().ToDevice(RECT{rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1});
    }
    RECT PartArea(int part) const {
        const CellRect rect = Describe(part).rect;
        return link_->painter->Scale().ToDevice(RECT{rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1});
    }
    // An area the window has been made too small to show.
    LONG Offscreen(const RECT& area) const {
        RECT client{}, visible{};
        GetClientRect(link_->window, &client);
        return !IntersectRect(&visible, &client, &area) || !EqualRect(&visible, &area) ? STATE_SYSTEM_OFFSCREEN : 0;
    }

    LONG references_ = 1;
    std::shared_ptr<BoardLink> link_;
    const Level level_;
    const int index_;          // the group's or the row's index
    const LONG objectId_;
    BoardNode* parent_ = nullptr;
    std::vector<Child> children_;
};

// Object ids of the groups and the rows, for WinEvents and WM_GETOBJECT; the client area is
// OBJID_CLIENT.
constexpr LONG kFirstGroupObject = 1;
constexpr LONG kFirstRowObject = kFirstGroupObject + kBoardGroupCount;

// Builds the tree and turns the layer's changes into WinEvents on the node holding each part.
class BoardAccessible final : public IBoardObserver {
public:
    BoardAccessible(HWND window, GameWindow& layer, const BoardPainter& painter)
        : link_(std::make_shared<BoardLink>(BoardLink{window, &layer, &painter, {}})) {
        nodes_.push_back(new BoardNode(link_, BoardNode::Level::Client, -1, OBJID_CLIENT));
        BoardNode* root = nodes_.front();
        for (int group = 0; group < kBoardGroupCount; ++group) {
            auto* node = new BoardNode(link_, BoardNode::Level::Group, group, kFirstGroupObject + group);
            node->SetParent(root);
            root->Add({node, -1});
            nodes_.push_back(node);
            const BoardGroup& shape = kBoardGroups[group];
            if (shape.kind != BoardGroupKind::Puzzle) {
                for (int i = 0; i < shape.PartCount(); ++i) Add(node, shape.firstPart + i);
                continue;
            }
            for (int row = 0; row < shape.rows; ++row) {
                auto* rowNode = new BoardNode(link_, BoardNode::Level::Row, row, kFirstRowObject + row);
                rowNode->SetParent(node);
                node->Add({rowNode, -1});
                nodes_.push_back(rowNode);
                for (int column = 0; column < shape.columns; ++column)
                    Add(rowNode, shape.firstPart + row * shape.columns + column);
            }
        }
        root->Add({nullptr, -1});  // the alert that speaks the announcements
    }

    ~BoardAccessible() override {
        *link_ = BoardLink{};
        for (BoardNode* node : nodes_) node->Release();
    }

    // The node a WM_GETOBJECT asks for, or null.
    BoardNode* Node(LONG objectId) const {
        for (BoardNode* node : nodes_)
            if (node->ObjectId() == objectId) return node;
        return nullptr;
    }

    void BoardPartChanged(int part, const BoardPart& before, const BoardPart& now) override {
        if (!link_->layer) return;
        const BoardNode* holder = holders_[static_cast<std::size_t>(part)];
        const LONG object = holder->ObjectId(), child = holder->ChildIdOf(part);
        if (now.name != before.name) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, link_->window, object, child);
        if (now.description != before.description)
            NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, link_->window, object, child);
        if (now.selected != before.selected) NotifyWinEvent(EVENT_OBJECT_STATECHANGE, link_->window, object, child);
    }

    // MSAA has no announcement of its own: an alert that changes its name and raises the system's
    // alert event is what readers speak at once.
    void Announce(const std::string& text) override {
        if (!link_->layer) return;
        link_->announcement = FromAnsi(text);
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, link_->window, OBJID_CLIENT, kAlertChild);
        NotifyWinEvent(EVENT_SYSTEM_ALERT, link_->window, OBJID_CLIENT, kAlertChild);
    }

    static constexpr LONG kAlertChild = kBoardGroupCount + 1;

private:
    void Add(BoardNode* node, int part) {
        node->Add({nullptr, part});
        holders_[static_cast<std::size_t>(part)] = node;
    }

    std::shared_ptr<BoardLink> link_;
    std::vector<BoardNode*> nodes_;
    BoardNode* holders_[kBoardPartCount] = {};
};

// ---- The main window's side -------------------------------------------------------------------

std::unique_ptr<BoardAccessibility> BoardAccessibility::Create(HWND window, GameWindow& layer,
                                                               const BoardPainter& painter) {
    const AccessibilityFunctions& functions = Functions();
    if (!functions.IsComplete()) return nullptr;
    std::unique_ptr<BoardAccessibility> bridge(new BoardAccessibility);
    bridge->object_ = std::make_unique<BoardAccessible>(window, layer, painter);
    bridge->layer_ = &layer;
    layer.SetBoardObserver(bridge->object_.get());
    // Handing the object out marshals it, which takes COM on this thread; a thread that has
    // it already (S_FALSE) is counted all the same.
    bridge->comInitialized_ = SUCCEEDED(functions.coInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    return bridge;
}

BoardAccessibility::~BoardAccessibility() {
    if (layer_) layer_->SetBoardObserver(nullptr);
    object_.reset();
    if (comInitialized_) Functions().coUninitialize();
}

bool BoardAccessibility::Holds(LPARAM objectId) const { return object_->Node(static_cast<LONG>(objectId)) != nullptr; }

LRESULT BoardAccessibility::Object(WPARAM wParam, LPARAM objectId) {
    BoardNode* node = object_->Node(static_cast<LONG>(objectId));
    return Functions().lresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(node));
}

}  // namespace lumera::win32
