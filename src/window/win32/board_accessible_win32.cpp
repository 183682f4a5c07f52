// The board's IAccessible: plain COM over the window layer's board parts, with names in the ANSI
// code page turned into wide text, locations at the display's scale in screen coordinates, the
// default action posted back to the window, and name and state changes sent as WinEvents.
// oleacc, ole32 and oleaut32 are loaded when a screen reader first asks.
#include "window/win32/board_accessible_win32.h"

#include <ole2.h>
#include <oleacc.h>

#include <string>

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

// Child ids are board parts plus one; CHILDID_SELF (0) is the client area itself.
class BoardAccessible final : public IAccessible, public IBoardObserver {
public:
    BoardAccessible(HWND window, GameWindow& layer, const BoardPainter& painter)
        : window_(window), layer_(&layer), painter_(&painter) {}

    // The window is going: every later call fails, as a reader expects of a vanished object.
    void Disconnect() { layer_ = nullptr, painter_ = nullptr, window_ = nullptr; }

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
        if (!layer_) return RPC_E_DISCONNECTED;
        return Functions().createStdAccessibleObject(window_, OBJID_WINDOW, __uuidof(IDispatch),
                                                     reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (count == nullptr) return E_POINTER;
        *count = kBoardPartCount;
        return layer_ ? S_OK : RPC_E_DISCONNECTED;
    }
    // The parts are simple elements, reached through their child ids.
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (!layer_) return RPC_E_DISCONNECTED;
        return Part(child) >= 0 ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (name) *name = nullptr;
        if (!layer_) return RPC_E_DISCONNECTED;
        if (IsSelf(child)) {
            wchar_t caption[256] = {};
            GetWindowTextW(window_, caption, 256);
            return ReturnText(caption, name);
        }
        const int part = Part(child);
        if (part < 0) return E_INVALIDARG;
        return ReturnText(FromAnsi(layer_->DescribeBoardPart(part).name), name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (value) *value = nullptr;
        if (!layer_) return RPC_E_DISCONNECTED;
        return IsSelf(child) || Part(child) >= 0 ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (description) *description = nullptr;
        if (!layer_) return RPC_E_DISCONNECTED;
        if (IsSelf(child)) return S_FALSE;
        const int part = Part(child);
        if (part < 0) return E_INVALIDARG;
        return ReturnText(FromAnsi(layer_->DescribeBoardPart(part).description), description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (role == nullptr) return E_POINTER;
        role->vt = VT_EMPTY;
        if (!layer_) return RPC_E_DISCONNECTED;
        if (IsSelf(child)) {
            SetChild(role, ROLE_SYSTEM_CLIENT);
            return S_OK;
        }
        const int part = Part(child);
        if (part < 0) return E_INVALIDARG;
        const bool isCell = layer_->DescribeBoardPart(part).kind == BoardPartKind::GridCell;
        SetChild(role, isCell ? ROLE_SYSTEM_CELL : ROLE_SYSTEM_PUSHBUTTON);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (state == nullptr) return E_POINTER;
        state->vt = VT_EMPTY;
        if (!layer_) return RPC_E_DISCONNECTED;
        if (IsSelf(child)) {
            SetChild(state, STATE_SYSTEM_FOCUSABLE | (GetFocus() == window_ ? STATE_SYSTEM_FOCUSED : 0));
            return S_OK;
        }
        const int part = Part(child);
        if (part < 0) return E_INVALIDARG;
        const BoardPart described = layer_->DescribeBoardPart(part);
        LONG flags = 0;
        if (described.kind == BoardPartKind::AlphabetButton)
            flags |= STATE_SYSTEM_SELECTABLE | (described.selected ? STATE_SYSTEM_SELECTED : 0);
        // A part the window has been made too small to show.
        RECT client{}, area = PartArea(part), visible{};
        GetClientRect(window_, &client);
        if (!IntersectRect(&visible, &client, &area) || !EqualRect(&visible, &area)) flags |= STATE_SYSTEM_OFFSCREEN;
        SetChild(state, flags);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
        if (help) *help = nullptr;
        return layer_ ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        if (file) *file = nullptr;
        if (topic) *topic = 0;
        return layer_ ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override {
        if (shortcut) *shortcut = nullptr;
        return layer_ ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (focus == nullptr) return E_POINTER;
        focus->vt = VT_EMPTY;
        if (!layer_) return RPC_E_DISCONNECTED;
        if (GetFocus() == window_) SetChild(focus, CHILDID_SELF);
        return focus->vt == VT_EMPTY ? S_FALSE : S_OK;
    }
    // The selected letter's button, when a letter is selected.
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (selection == nullptr) return E_POINTER;
        selection->vt = VT_EMPTY;
        if (!layer_) return RPC_E_DISCONNECTED;
        for (int part = 0; part < kFirstGridPart; ++part) {
            if (!layer_->DescribeBoardPart(part).selected) continue;
            SetChild(selection, part + 1);
            return S_OK;
        }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (action) *action = nullptr;
        if (!layer_) return RPC_E_DISCONNECTED;
        if (IsSelf(child)) return DISP_E_MEMBERNOTFOUND;
        if (Part(child) < 0) return E_INVALIDARG;
        return ReturnText(kDefaultAction, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override {
        return layer_ ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        *left = *top = *width = *height = 0;
        if (!layer_) return RPC_E_DISCONNECTED;
        RECT area{};
        if (IsSelf(child)) {
            GetClientRect(window_, &area);
        } else {
            const int part = Part(child);
            if (part < 0) return E_INVALIDARG;
            area = PartArea(part);
        }
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&area), 2);
        *left = area.left;
        *top = area.top;
        *width = area.right - area.left;
        *height = area.bottom - area.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        if (end == nullptr) return E_POINTER;
        end->vt = VT_EMPTY;
        if (!layer_) return RPC_E_DISCONNECTED;
        int next = -1;
        if (IsSelf(start)) {
            if (direction == NAVDIR_FIRSTCHILD) next = 0;
            if (direction == NAVDIR_LASTCHILD) next = kBoardPartCount - 1;
        } else {
            const int part = Part(start);
            if (part < 0) return E_INVALIDARG;
            if (direction == NAVDIR_NEXT) next = part + 1;
            if (direction == NAVDIR_PREVIOUS) next = part - 1;
        }
        if (next < 0 || next >= kBoardPartCount) return S_FALSE;
        SetChild(end, next + 1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        if (child == nullptr) return E_POINTER;
        child->vt = VT_EMPTY;
        if (!layer_) return RPC_E_DISCONNECTED;
        POINT point{x, y};
        RECT client{};
        ScreenToClient(window_, &point);
        GetClientRect(window_, &client);
        if (!PtInRect(&client, point)) return S_FALSE;
        const POINT board = painter_->Scale().ToDesign(point);
        SetChild(child, CHILDID_SELF);
        for (int part = 0; part < kBoardPartCount; ++part) {
            const CellRect rect = layer_->DescribeBoardPart(part).rect;
            if (board.x >= rect.Left && board.x <= rect.Right && board.y >= rect.Top && board.y <= rect.Bottom) {
                SetChild(child, part + 1);
                break;
            }
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!layer_) return RPC_E_DISCONNECTED;
        if (IsSelf(child)) return DISP_E_MEMBERNOTFOUND;
        const int part = Part(child);
        if (part < 0) return E_INVALIDARG;
        return PostMessageW(window_, kActivateBoardPart, static_cast<WPARAM>(part), 0) ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

    // ---- IBoardObserver: the layer names each part that changed, once per change ----
    void BoardPartChanged(int part, const BoardPart& before, const BoardPart& now) override {
        if (!layer_) return;
        const LONG child = part + 1;
        if (now.name != before.name) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window_, OBJID_CLIENT, child);
        if (now.description != before.description)
            NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, window_, OBJID_CLIENT, child);
        if (now.selected != before.selected) NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window_, OBJID_CLIENT, child);
    }
    void Announce(const std::string&) override {}

private:
    ~BoardAccessible() = default;

    static bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }
    // The board part of a child id, or -1.
    static int Part(const VARIANT& child) {
        if (child.vt != VT_I4 || child.lVal < 1 || child.lVal > kBoardPartCount) return -1;
        return static_cast<int>(child.lVal) - 1;
    }
    // A part's outline rectangle in the client area, at the board's scale.
    RECT PartArea(int part) const {
        const CellRect rect = layer_->DescribeBoardPart(part).rect;
        return painter_->Scale().ToDevice(RECT{rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1});
    }

    LONG references_ = 1;
    HWND window_;
    GameWindow* layer_;
    const BoardPainter* painter_;
};

// ---- The main window's side -------------------------------------------------------------------

std::unique_ptr<BoardAccessibility> BoardAccessibility::Create(HWND window, GameWindow& layer,
                                                               const BoardPainter& painter) {
    const AccessibilityFunctions& functions = Functions();
    if (!functions.IsComplete()) return nullptr;
    std::unique_ptr<BoardAccessibility> bridge(new BoardAccessibility);
    bridge->object_ = new BoardAccessible(window, layer, painter);
    bridge->layer_ = &layer;
    layer.SetBoardObserver(bridge->object_);
    // Handing the object out marshals it, which takes COM on this thread; a thread that has
    // it already (S_FALSE) is counted all the same.
    bridge->comInitialized_ = SUCCEEDED(functions.coInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    return bridge;
}

BoardAccessibility::~BoardAccessibility() {
    if (layer_) layer_->SetBoardObserver(nullptr);
    if (object_) {
        object_->Disconnect();
        object_->Release();
    }
    if (comInitialized_) Functions().coUninitialize();
}

LRESULT BoardAccessibility::ClientObject(WPARAM wParam) {
    return Functions().lresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object_));
}

}  // namespace lumera::win32
