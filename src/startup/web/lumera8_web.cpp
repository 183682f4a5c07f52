// Program entry of the browser edition: the page calls these functions. lumera_start is the
// program's entry and the main window's creation, lumera_close and lumera_page_hide its end
// (startup/program.h; the page has no message loop to wait in); the others are the window's
// events as the page receives them. Every one is wrapped like a desktop event handler: an error
// that escapes reaches the error report and ends that event only.
#include <emscripten.h>

#include <memory>

#include "donate/web/donate_web.h"
#include "engine/random_source.h"
#include "startup/program.h"
#include "startup/program_shell.h"
#include "startup/splash_modes.h"
#include "startup/web/splash_web.h"
#include "util/kept_files.h"
#include "util/page_files.h"
#include "util/web_store.h"
#include "window/game_window.h"
#include "window/tab_settings.h"
#include "window/web/web_ports.h"
#include "window/window_texts.h"

namespace lumera::web {

namespace {

EM_JS(void, JsEndGame, (const char* title), { Module.page.endGame(UTF8ToString(title)); });

// The windows outside the game window: the splash and about window of the page; the donation
// reminder and the shell as on every platform.
class WebShell final : public ProgramShell {
public:
    WebShell() : ProgramShell(donateDialog_) {}
    void ShowSplash() override { ShowSplashForm(kStartupSplashMode); }
    void CloseSplash() override { CloseSplashForm(); }
    void ShowAbout() override { ShowSplashFormModally(kStartupSplashMode + kAboutModeOffset); }

private:
    WebDonateDialog donateDialog_;
};

// The program: its ports and the main window, from entry to the end of the game. The page is
// the application object and its events are the message loop.
class WebProgram final : public IProgramToolkit {
public:
    WebProgram()
        : store_(LocalPageStorage()),
          tabStore_(store_),
          frame_([this] { End(); }),
          window_(WindowPorts{painter_, frame_, shell_, dialogs_, sound_, tabStore_, random_, clock_, ThePageFiles()}),
          boardAccess_(window_),
          program_(store_, "lumera8", *this) {
        store_.SetTell([this](const std::string& text) { dialogs_.ShowInformation(text); });
    }

    WebSettingsStore& Store() { return store_; }
    WebFrame& Frame() { return frame_; }
    WebCellPainter& Painter() { return painter_; }
    GameWindow& Window() { return window_; }
    bool HasEnded() const { return ended_; }

    void Start() { program_.Start(); }

    // Any close of the main window: the donation reminder decides, its state is written, and
    // the game ends in the page.
    void End() {
        if (ended_) return;
        ended_ = true;
        window_.FormClose();
        program_.End();
        JsEndGame(kProgramName);
    }

    // The page goes away with the game still running: the program ends without its windows.
    void EndWithPage() { program_.End(); }

    void CreateApplication() override {}
    void CreateMainWindow() override {
        frame_.CreateMenu();
        window_.FormCreate();
    }
    // The board's parts for screen readers, asked for by the page once the board is on screen,
    // so that describing its 297 parts does not delay the first showing.
    void StartBoardAccess() {
        Guard([this] { boardAccess_.Start(); });
    }
    int RunMessageLoop() override { return 0; }
    void ShowErrorReport(const std::string& what) override { frame_.ShowErrorReport(what); }

    template <typename Handler>
    void Guard(Handler&& handler) noexcept {
        try {
            handler();
        } catch (const std::exception& error) {
            try {
                frame_.ShowErrorReport(error.what());
            } catch (...) {
                // The report itself failed; there is nobody left to tell.
            }
        }
    }

private:
    WebSettingsStore store_;
    TabSettingsStore tabStore_;
    WebCellPainter painter_;
    WebFrame frame_;
    WebShell shell_;
    WebDialogs dialogs_;
    WebSound sound_;
    StdRandom random_;
    WebClock clock_;
    GameWindow window_;
    WebBoardAccess boardAccess_;
    Program program_;
    bool ended_ = false;
};

std::unique_ptr<WebProgram>& TheProgram() {
    static std::unique_ptr<WebProgram> program;
    return program;
}

// The running game, or nothing before the start and after the end.
GameWindow* Running() {
    const auto& program = TheProgram();
    return program && !program->HasEnded() ? &program->Window() : nullptr;
}

}  // namespace

}  // namespace lumera::web

using namespace lumera;
using namespace lumera::web;

extern "C" {

// The program's entry: the donation state, the program-wide values, the main window, and its
// creation (splash, Timer1, InitGame, "A" selected). The page shows the window when it returns.
EMSCRIPTEN_KEEPALIVE void lumera_start() {
    if (TheProgram()) return;
    TheProgram() = std::make_unique<WebProgram>();
    WebProgram& program = *TheProgram();
    program.Guard([&] {
        // Stored text that is no registry export is kept under another name, and said so.
        program.Store().SetAsideUnreadable();
        TheKeptFiles().Restore();
    });
    program.Start();
}

// A puzzle file for the game to open by its name: the bundled collection, a chosen file, or
// one kept from an earlier visit. It may come while a dialog waits (the file chooser's answer).
EMSCRIPTEN_KEEPALIVE void lumera_put_file(const char* name, const unsigned char* bytes, int size) {
    ThePageFiles().Put(name, std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size)));
}

EMSCRIPTEN_KEEPALIVE void lumera_board_parts() {
    if (Running()) TheProgram()->StartBoardAccess();
}

EMSCRIPTEN_KEEPALIVE void lumera_paint() {
    if (GameWindow* window = Running()) {
        TheProgram()->Painter().StartPainting();
        window->FormPaint();
    }
}

// Which button was released does not count.
EMSCRIPTEN_KEEPALIVE void lumera_pointer_up(int /*button*/, int x, int y) {
    if (GameWindow* window = Running()) window->FormMouseUp(x, y);
}

// A screen reader's action on a part of the board.
EMSCRIPTEN_KEEPALIVE void lumera_activate_part(int part) {
    if (GameWindow* window = Running()) window->ActivateBoardPart(part);
}

EMSCRIPTEN_KEEPALIVE int lumera_menu_click(const char* itemName) {
    GameWindow* window = Running();
    return window && window->MenuClick(itemName) ? 1 : 0;
}

// Timer1's tick may come while a dialog waits for the player, as on the desktop; it runs
// without waiting for anything itself.
EMSCRIPTEN_KEEPALIVE void lumera_timer1() {
    if (GameWindow* window = Running()) window->Timer1Timer();
}

// The close box of the game's frame.
EMSCRIPTEN_KEEPALIVE void lumera_close() {
    if (Running()) TheProgram()->Guard([] { TheProgram()->End(); });
}

EMSCRIPTEN_KEEPALIVE void lumera_page_hide() {
    if (!Running()) return;
    TheProgram()->Store().SetTell(nullptr);  // no message can be shown any more
    TheProgram()->EndWithPage();
}

// Another tab of the game changed the stored settings.
EMSCRIPTEN_KEEPALIVE void lumera_store_changed() {
    if (GameWindow* window = Running()) window->StoredSettingsChanged();
}

}  // extern "C"
