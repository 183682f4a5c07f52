// The browser front-end's ports over the page script (Module.page, see web/page/start.js).
#include "window/web/web_ports.h"

#include <emscripten.h>

#include <cstdlib>

#include "util/days.h"
#include "util/json_text.h"
#include "util/kept_files.h"
#include "window/board_geometry.h"
#include "window/menu_table.h"
#include "window/page_text.h"
#include "window/window_measures.h"
#include "window/window_texts.h"

namespace lumera::web {

namespace {

EM_JS(void, JsClearBoard, (unsigned colour), { Module.page.board.clear(colour); });
EM_JS(void, JsDrawCell,
      (int left, int top, int right, int bottom, const char* text, int fontPixels, unsigned textColour, unsigned fill,
       unsigned outline),
      { Module.page.board.drawCell(left, top, right, bottom, UTF8ToString(text), fontPixels, textColour, fill, outline); });

EM_JS(void, JsAddMenu, (const char* caption, const char* name), {
    Module.page.menu.addEntry(UTF8ToString(caption), UTF8ToString(name));
});
EM_JS(void, JsAddMenuItem, (const char* entryName, const char* caption, const char* name, int isCheckable), {
    Module.page.menu.addItem(UTF8ToString(entryName), caption ? UTF8ToString(caption) : null, UTF8ToString(name),
                             !!isCheckable);
});
EM_JS(void, JsSetCaption, (const char* caption), { Module.page.setCaption(UTF8ToString(caption)); });
EM_JS(void, JsSetMenuItemState, (const char* name, int enabled, int checked), {
    Module.page.menu.setState(UTF8ToString(name), !!enabled, !!checked);
});
EM_JS(void, JsSetTimer1, (int milliseconds), { Module.page.setTimer1(milliseconds); });

EM_JS(void, JsBoardGroups, (const char* groups), { Module.page.boardParts.setGroups(JSON.parse(UTF8ToString(groups))); });
EM_JS(void, JsBoardPart, (const char* part), { Module.page.boardParts.update(JSON.parse(UTF8ToString(part))); });
EM_JS(void, JsAnnounce, (const char* text), { Module.page.boardParts.announce(UTF8ToString(text)); });

// The modal ones: C++ waits here while the page runs on.
EM_ASYNC_JS(void, JsMessageBox, (const char* description), {
    await Module.page.messageBox(JSON.parse(UTF8ToString(description)));
});
EM_ASYNC_JS(char*, JsInputBox, (const char* description), {
    const answer = await Module.page.inputBox(JSON.parse(UTF8ToString(description)));
    if (answer === null) return 0;
    const size = lengthBytesUTF8(answer) + 1;
    const text = _malloc(size);
    stringToUTF8(answer, text, size);
    return text;
});
// The answer is a listed file's name, or that of a file from the device, whose bytes the page
// has handed over through lumera_device_file before it answers.
EM_ASYNC_JS(char*, JsChooseFile, (const char* accept, const char* names), {
    const name = await Module.page.chooseFile(UTF8ToString(accept), JSON.parse(UTF8ToString(names)));
    if (name === null) return 0;
    const size = lengthBytesUTF8(name) + 1;
    const text = _malloc(size);
    stringToUTF8(name, text, size);
    return text;
});
EM_ASYNC_JS(void, JsPlaySoundAndWait, (const char* name), { await Module.page.sound.play(UTF8ToString(name), true); });
EM_JS(void, JsPlaySound, (const char* name), { Module.page.sound.play(UTF8ToString(name), false); });
EM_JS(double, JsSeedValue, (), { return Date.now() * 1000 + Math.floor((performance.now() % 1) * 1000); });

// A text the page gave back as malloc'd UTF-8, or nothing.
std::optional<std::string> TakeText(char* text) {
    if (text == nullptr) return std::nullopt;
    std::string result(text);
    std::free(text);
    return result;
}

void MessageBox(const std::string& caption, const std::string& text, const char* icon) {
    JsMessageBox(JsonObject().Add("caption", caption).Add("text", text).Add("icon", icon).Text().c_str());
}

}  // namespace

// ---- The board ---------------------------------------------------------------------------

// The system's window-text colour is black in the page.
static Colour PageColour(Colour colour) { return colour == clWindowText ? 0 : colour; }

void WebCellPainter::ClearBoard(Colour background) {
    if (painting_) JsClearBoard(PageColour(background));
}

void WebCellPainter::DrawCell(const CellLook& cell) {
    if (!painting_) return;
    JsDrawCell(cell.rect.Left, cell.rect.Top, cell.rect.Right, cell.rect.Bottom, PageText(cell.text).c_str(),
               cell.fontPixels, PageColour(cell.textColour), PageColour(cell.fill), PageColour(cell.outline));
}

// The canvas shows what was drawn into it when the page next renders, which comes before any
// dialog or sound that the same event brings up.
void WebCellPainter::ShowArea(const CellRect&) {}

// ---- The frame ---------------------------------------------------------------------------

void WebFrame::CreateMenu() {
    for (const MenuEntryDef& entry : kMainMenu) {
        JsAddMenu(entry.caption, entry.name);
        for (const MenuItemDef& item : entry.items)
            JsAddMenuItem(entry.name, item.caption, item.name, item.isCheckable ? 1 : 0);
    }
}

// The caption is ASCII apart from the puzzle file's name, which is UTF-8 as the picker gave it.
void WebFrame::SetCaption(const std::string& caption) { JsSetCaption(caption.c_str()); }
void WebFrame::SetMenuItemState(const std::string& itemName, bool enabled, bool checked) {
    JsSetMenuItemState(itemName.c_str(), enabled, checked);
}
void WebFrame::SetTimer1(int milliseconds) { JsSetTimer1(milliseconds); }
void WebFrame::Close() {
    if (close_) close_();
}

void WebFrame::ShowErrorReport(const std::string& what) { MessageBox(kApplicationTitle, ErrorReportText(what), "stop"); }

// ---- The board for screen readers --------------------------------------------------------

namespace {

// The layer's groups as ARIA has them.
const char* GroupRole(BoardGroupKind kind) {
    switch (kind) {
        case BoardGroupKind::Letters: return "toolbar";
        case BoardGroupKind::Status: return "group";
        case BoardGroupKind::Puzzle: return "grid";
    }
    return "group";
}

}  // namespace

// The groups first, in reading order, then every part into its group.
void WebBoardAccess::Start() {
    JsonArray groups;
    for (const BoardGroup& group : kBoardGroups)
        groups.Append(JsonObject()
                          .Add("role", GroupRole(group.kind))
                          .Add("name", group.name)
                          .Add("rows", group.rows)
                          .Add("columns", group.columns)
                          .Text());
    JsBoardGroups(groups.Text().c_str());
    for (int part = 0; part < kBoardPartCount; ++part) Show(part, window_.DescribeBoardPart(part));
    window_.SetBoardObserver(this);
}

void WebBoardAccess::BoardPartChanged(int part, const BoardPart&, const BoardPart& now) { Show(part, now); }

void WebBoardAccess::Announce(const std::string& text) { JsAnnounce(PageText(text).c_str()); }

// A part's role, and whether it is pressed: only the alphabet's buttons are toggles.
void WebBoardAccess::Show(int part, const BoardPart& described) {
    JsonObject shown;
    shown.Add("part", part)
        .Add("group", described.group)
        .Add("row", described.row)
        .Add("column", described.column)
        .Add("role", described.kind == BoardPartKind::GridCell ? "gridcell" : "button")
        .Add("name", PageText(described.name))
        .Add("description", PageText(described.description))
        .Add("left", described.rect.Left)
        .Add("top", described.rect.Top)
        .Add("width", described.rect.Right - described.rect.Left + 1)
        .Add("height", described.rect.Bottom - described.rect.Top + 1);
    if (described.kind == BoardPartKind::AlphabetButton) shown.Add("pressed", described.selected);
    JsBoardPart(shown.Text().c_str());
}

// ---- Dialogs -----------------------------------------------------------------------------

// Information texts are ASCII apart from the file names they carry, which are UTF-8 already.
void WebDialogs::ShowInformation(const std::string& text) { MessageBox(kInformationCaption, text, "information"); }

void WebDialogs::ShowMessage(const std::string& text, const std::string& caption) {
    MessageBox(PageText(caption), PageText(text), "none");
}

bool WebDialogs::InputBox(const std::string& caption, const std::string& prompt, std::string& text) {
    const auto answer = TakeText(JsInputBox(
        JsonObject().Add("caption", PageText(caption)).Add("prompt", PageText(prompt)).Add("text", PageText(text)).Text().c_str()));
    if (!answer) return false;
    text = GameText(*answer);
    return true;
}

namespace {

// The file the player last picked from the device, until the chooser takes it.
std::optional<KeptFile>& DeviceFile() {
    static std::optional<KeptFile> file;
    return file;
}

}  // namespace

// A file from the device is taken into the kept files, or turned away and the chooser shown
// again.
std::optional<std::string> WebDialogs::ChooseFile(const std::string& filter, const std::string&) {
    for (;;) {
        JsonArray names;
        for (const std::string& name : TheKeptFiles().Names()) names.Append(JsonString(name));
        DeviceFile().reset();
        const auto chosen = TakeText(JsChooseFile(AcceptedExtensions(filter).c_str(), names.Text().c_str()));
        if (!chosen || !DeviceFile() || DeviceFile()->name != *chosen) return chosen;
        const auto outcome = TheKeptFiles().Take(*chosen, std::move(DeviceFile()->bytes));
        DeviceFile().reset();
        if (outcome != KeptFiles::Outcome::Kept) ShowInformation(KeptFiles::Message(outcome, *chosen));
        if (outcome != KeptFiles::Outcome::Refused) return chosen;
    }
}

// ---- Sound and clock ---------------------------------------------------------------------

void WebSound::PlaySound(const std::string& name, bool synchronous) {
    if (synchronous)
        JsPlaySoundAndWait(name.c_str());
    else
        JsPlaySound(name.c_str());
}

std::uint64_t WebClock::SeedValue() { return static_cast<std::uint64_t>(JsSeedValue()); }
int WebClock::Today() { return util::TodayDayNumber(); }

}  // namespace lumera::web

extern "C" {

// What the page shows of its own besides what the ports hand it: the window's and the board's
// sizes, the board's background, the dialogs' fixed texts and the error report's caption.
EMSCRIPTEN_KEEPALIVE const char* lumera_page_description() {
    using namespace lumera;
    using lumera::web::JsonObject;
    static const std::string description =
        JsonObject()
            .Add("applicationTitle", kApplicationTitle)
            .AddRaw("window", JsonObject().Add("width", kWindowWidth).Add("height", kWindowHeight).Text())
            .AddRaw("board", JsonObject()
                                 .Add("width", kBoardWidth)
                                 .Add("height", kBoardHeight)
                                 .Add("background", static_cast<int>(clGray))
                                 .Text())
            .AddRaw("texts", JsonObject()
                                 .Add("ok", kOkText)
                                 .Add("cancel", kCancelText)
                                 .Add("close", kCloseText)
                                 .Add("open", kOpenCaption)
                                 .Add("keptFiles", kKeptFilesPrompt)
                                 .Add("fromDevice", kFromDeviceText)
                                 .Text())
            .Text();
    return description.c_str();
}

// The error report's text for an error that the page itself meets.
EMSCRIPTEN_KEEPALIVE const char* lumera_error_text(const char* what) {
    static std::string text;
    text = lumera::ErrorReportText(what);
    return text.c_str();
}

}  // extern "C"
// The bytes of a file that the player picked from the device, handed over while the file
// chooser waits for its answer.
extern "C" EMSCRIPTEN_KEEPALIVE void lumera_device_file(const char* name, const unsigned char* bytes, int size) {
    lumera::web::DeviceFile() =
        lumera::web::KeptFile{name, std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size))};
}
