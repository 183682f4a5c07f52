// The Win32 renderer of form descriptions: one window built from any Form over the window
// helper, at its owner's display scale. Pictures, texts, links and buttons that take no focus
// are painted by the window (or by their panel) itself; radio groups, buttons that take the
// focus and panels are child windows.
#pragma once

#include <windows.h>

#include <map>
#include <tuple>
#include <vector>

#include "util/form.h"
#include "util/win32/display_scale_win32.h"
#include "util/win32/form_window_win32.h"

namespace lumera::win32 {

// Closing the window in any way (a closing part, the close box, the system's close command)
// hides it or ends its modal showing; it is destroyed only by a release request or with its
// owner, and the object goes with its window. Enter and Escape have no window-wide meaning.
class Win32Form : public FormWindow {
public:
    // Builds the window, hidden; throws std::runtime_error when it cannot be created.
    Win32Form(HWND owner, const Form& form);

    // The index of the radio group's selected item (0 without a group), and selecting one.
    int Selected() const;
    void SetSelected(int index);
    void Show();  // non-modally, where it stands, without taking the activation
    // Centred over the owner (on the screen when it is not shown), until it closes; returns the
    // item then selected.
    int ShowModal();
    void Close();
    // Destroys the window once control is back in the message loop.
    void Release();

protected:
    ~Win32Form() override;

private:
    // The window itself or a panel: a client area that paints its own parts and takes their clicks.
    struct Surface {
        HWND window = nullptr;
        const FormPart* panel = nullptr;  // none for the window itself
        HBRUSH background = nullptr;
        std::vector<const FormPart*> parts;  // painted in this order, the later above
        int pressed = -1;                    // the part a left press went to
        bool buttonDown = false;
    };
    // A child window and its place in its parent, at 96 dots per inch.
    struct Control {
        HWND window;
        RECT place;
        const FormPart* part;  // a radio group or a button (none for a radio item)
    };
    // GDI objects, freed with the object also when the construction fails.
    struct GdiObjects {
        std::vector<HGDIOBJ> objects;
        ~GdiObjects();
        HGDIOBJ Add(HGDIOBJ object);
    };
    // The fonts at the scale in use, by character height, boldness and underline.
    struct FontCache {
        std::map<std::tuple<int, bool, bool>, HFONT> fonts;
        ~FontCache() { Clear(); }
        void Clear();
    };

    static LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The messages of the window and its panels alike; false when not handled.
    bool SurfaceMessage(Surface& surface, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT GroupMessage(HWND group, UINT message, WPARAM wParam, LPARAM lParam);
    void AddParts(Surface& surface, const std::vector<FormPart>& parts);
    HWND MakeChild(const wchar_t* className, const std::string& text, DWORD style, DWORD exStyle, HWND parent,
                   int id);
    Surface* SurfaceOf(HWND window);
    HFONT Font(const PartFont& font);
    HBITMAP Picture(const std::string& name);
    void LayOut();
    void ScaleChanged(int dpi, const RECT& suggested);
    // The visible part of a surface under a point of its client area, in device pixels; -1: none.
    int PartAt(const Surface& surface, int x, int y) const;
    void Click(const FormPart& part);
    void Paint(Surface& surface);
    void PaintGroup(HWND group);
    void DrawButton(HDC dc, const FormPart& part, RECT area, bool pushed, bool disabled);

    Form form_;
    HWND owner_;
    DisplayScale scale_;
    GdiObjects gdi_;
    FontCache fonts_;
    std::map<std::string, HBITMAP> pictures_;
    std::vector<Surface> surfaces_;  // the window's first; reserved, so that none moves
    std::vector<Control> controls_;
    std::vector<HWND> items_;  // the radio group's
    HWND group_ = nullptr;
    HBRUSH groupBackground_ = nullptr;
    bool modal_ = false;
    bool ended_ = false;
};

}  // namespace lumera::win32
