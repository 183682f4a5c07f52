// A small window described once for every toolkit: its frame, size and background, and its
// parts with their places, fonts, colours, texts and what a click on them does. Each toolkit
// has one renderer that draws any such description (util/qt, util/win32, util/web).
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/ports.h"
#include "util/my_utils.h"

namespace lumera {

// The system's button-face colour, as opposed to a fixed one.
inline constexpr Colour clBtnFace = 0xFF00000F;

enum class PartKind {
    Picture,     // a built-in picture, drawn at its own size from the part's top left
    Label,       // text
    Link,        // text styled as a web link; a click opens `url`, if it has one
    Button,      // a push button with text and an optional glyph left of it
    RadioGroup,  // a framed box of radio items in one column, one of them selected
    Panel,       // a box with a two-ring bevel that holds parts of its own
};

enum class PartAlign { Left, Centre };

// What a click on a part does besides opening a link's `url`.
enum class PartAction { None, Close };

// A part's font: a character height in pixels (0: the form's), bold, underlined.
struct PartFont {
    int pixels = 0;
    bool bold = false;
    bool underline = false;
};

struct FormPart {
    PartKind kind = PartKind::Label;
    std::string name;  // the part's name, also as the toolkit's object name
    int left = 0, top = 0, width = 0, height = 0;  // within the form, or within its panel
    std::string text;                               // Windows-1252
    PartFont font;
    Colour colour = clWindowText;  // the text's colour
    Colour background = clBtnFace;  // of a radio group or a panel
    PartAlign align = PartAlign::Left;
    bool wrap = false;  // the text breaks between words
    bool visible = true;
    bool focusable = true;  // a button that takes the keyboard focus
    PartAction action = PartAction::None;
    std::string url;
    std::string picture;  // a picture's or a button glyph's name among the built-in pictures
    int glyphPixels = 0;
    // Radio group: its items, the one selected at first, and their places within the group.
    std::vector<std::string> items;
    int selected = 0;
    int itemLeft = 0, itemTop = 0, itemPitch = 0, itemWidth = 0;
    // Panel: the colours of the lit and the shaded bevel lines, and the parts it holds.
    Colour light = clWhite, shadow = clGray;
    std::vector<FormPart> parts;
};

struct Form {
    std::string name;     // the window's object name; "T" and the name make its class name
    std::string caption;  // Windows-1252
    int width = 0, height = 0;  // the client area, at 96 dots per inch
    Colour background = clBtnFace;
    int fontPixels = 0;      // the default font's character height
    bool modal = true;       // blocks its owner while shown as a dialog
    bool titleBar = false;   // a fixed dialog frame with a close box only; else no frame at all
    bool topmost = false;    // above all other windows
    std::vector<FormPart> parts;  // the later above the earlier
};

// What a click on a part does on every toolkit: opens its link, if it has one, then closes the
// form (by `close`) if the part closes it.
inline void ClickPart(const FormPart& part, const std::function<void()>& close) {
    if (!part.url.empty()) ShellOpen(part.url);
    if (part.action == PartAction::Close) close();
}

// A part of a kind at the place a layout table gives (any record with a name, left, top,
// width and height), with its text.
template <typename Place>
FormPart PlacedPart(PartKind kind, const Place& place, std::string text = {}) {
    FormPart part;
    part.kind = kind;
    part.name = place.name;
    part.left = place.left;
    part.top = place.top;
    part.width = place.width;
    part.height = place.height;
    part.text = std::move(text);
    return part;
}

}  // namespace lumera
