// The page side of Lumera 8.0 in the browser, and its start. The game, its window layer and
// every decision about what the board, the menu and the dialogs show live in the WebAssembly
// program; the page only carries them out. This object is what the program reaches as
// Module.page: it holds the page's parts, runs one call into the game at a time, and starts the
// program once the document is parsed.
import { Board } from "./board.js";
import { BoardParts } from "./board-parts.js";
import { FormRenderer } from "./forms.js";
import { MenuBar } from "./menu.js";
import { SoundPlayer } from "./sound.js";
import { BUNDLED_FILE, PuzzleFiles, watchStoredSettings } from "./store.js";
import { WindowLayer } from "./windows.js";

class LumeraPage {
    constructor() {
        this.module = null;
        this.busy = false;       // a call into the game is under way: input waits for nobody
        this.ended = false;
        this.timer1 = 0;
        this.described = null;   // what the program describes of the page (lumera_page_description)
        this.applicationTitle = "";
        this.board = new Board(document.getElementById("board"));
        this.menu = new MenuBar(this, document.getElementById("menubar"));
        this.boardParts = new BoardParts(this, document.getElementById("boardParts"));
        this.sound = new SoundPlayer();
        this.storedSettingsChanged = false;  // another tab wrote them: to be followed when the game is free
        this.files = new PuzzleFiles(this);
        this.windows = new WindowLayer(() => this.menu.close());
        this.forms = new FormRenderer(this.windows, url => this.openDocument(url));
    }

    // ---- Calls into the game ----

    // An event for the game. One runs at a time: what the player does while a dialog or a
    // synchronous sound holds the game is dropped, as the desktop's modal windows drop it.
    async enter(name, types = [], args = []) {
        if (this.busy || this.ended || !this.module) return;
        this.busy = true;
        try {
            await this.module.ccall(name, "number", types, args, { async: true });
        } catch (error) {
            await this.reportError(error);
        } finally {
            this.busy = false;
        }
        this.followStoredSettings();
    }

    // The options another tab stored are taken over once no call into the game is under way.
    followStoredSettings() {
        if (!this.storedSettingsChanged || this.busy || this.ended || !this.module) return;
        this.storedSettingsChanged = false;
        this.enter("lumera_store_changed");
    }

    async reportError(error) {
        let text = String(error && error.message || error);
        try {
            text = this.module.ccall("lumera_error_text", "string", ["string"], [text]);
        } catch (failure) {
            // A program that cannot be called any more: the error's own words.
        }
        await this.messageBox({ caption: this.applicationTitle, text, icon: "stop" });
    }

    // ---- What the program asks of the page ----

    setCaption(caption) {
        document.title = caption;
        document.getElementById("caption").textContent = caption;
    }

    // Starts Timer1; 0 stops it.
    setTimer1(milliseconds) {
        this.stopTimer1();
        if (milliseconds <= 0) return;
        // The tick may come while a dialog holds the game; it runs at once, as on the desktop.
        this.timer1 = setTimeout(() => {
            this.timer1 = 0;
            if (this.module && !this.ended) this.module._lumera_timer1();
        }, milliseconds);
    }

    stopTimer1() {
        if (this.timer1) clearTimeout(this.timer1);
        this.timer1 = 0;
    }

    openDocument(document) {
        try {
            window.open(new URL(document, location.href).href, "_blank", "noopener");
        } catch (error) {
            // An address that cannot be opened is left alone, as the desktop does.
        }
    }

    // The game has ended; the tab's title becomes the program's name.
    endGame(title) {
        this.ended = true;
        document.title = title;
        this.stopTimer1();
        this.closeSplash();
        this.menu.close();
        document.getElementById("game").hidden = true;
        document.getElementById("ended").hidden = false;
        document.getElementById("startAgain").focus();
    }

    messageBox(description) { return this.windows.messageBox(description); }
    inputBox(description) { return this.windows.inputBox(description); }
    chooseFile(accept, names) { return this.windows.chooseFile(this.files.listed(accept, names), () => this.files.pick(accept)); }
    showForm(description) { return this.forms.show(description); }
    showSplash(description) { this.forms.showSplash(description); }
    closeSplash() { this.forms.closeSplash(); }

    // ---- Scaling to the page ----

    // Where the page is narrower than the game, the game and its windows are scaled down to
    // fit; the board is then drawn again at the resulting device resolution (true when it is).
    fit() {
        const game = document.getElementById("game");
        // Before the window is shown (the splash and the start-up messages) its frame's width is
        // the board's and the frame's borders and padding.
        const width = game.offsetWidth || this.described.window.width;
        const available = document.documentElement.clientWidth - 16;
        const scale = available < width ? Math.max(0.25, available / width) : 1;
        document.documentElement.style.setProperty("--scale", String(scale));
        // Windows already open are scaled with the game.
        this.windows.setScale(scale);
        const ratio = Board.ratioFor(scale);
        if (ratio === this.board.ratio) return false;
        this.repaint(ratio);
        return true;
    }

    async repaint(ratio) {
        await this.board.loadAtlas(ratio).catch(() => null);  // without it the browser's font draws
        this.board.setRatio(ratio);
        this.board.clear(this.board.background);
        if (this.module && !this.ended) this.module._lumera_paint();
    }

    // ---- Start ----

    // What the start needs besides the program's script: asked for by the page's head already
    // (window.lumeraEarly), or now.
    prefetch() {
        const early = window.lumeraEarly || {};
        const ratio = Board.ratioFor(1);
        this.early = {
            program: early.program || Promise.resolve(null),
            atlas: this.board.loadAtlas(ratio, ratio === window.devicePixelRatio ? early.atlas : null).catch(() => null),
            puzzles: (early.puzzles || fetch(BUNDLED_FILE)).then(r => (r && r.ok ? r.arrayBuffer() : null)).catch(() => null),
        };
    }

    async start() {
        const ratio = Board.ratioFor(1);
        const compiled = await this.early.program;
        const options = { page: this };
        if (compiled) {
            options.instantiateWasm = (imports, receive) => {
                WebAssembly.instantiate(compiled, imports).then(instance => receive(instance, compiled));
                return {};
            };
        }
        // The glyph atlas is needed only when the board is first shown.
        const [puzzles, module] = await Promise.all([this.early.puzzles, createLumera(options)]);
        this.module = module;
        performance.mark("lumera-program-ready");
        this.described = JSON.parse(module.ccall("lumera_page_description", "string", [], []));
        this.applicationTitle = this.described.applicationTitle;
        this.windows.texts = this.described.texts;
        const game = document.getElementById("game");
        game.style.width = this.described.window.width + "px";
        game.style.height = this.described.window.height + "px";
        this.board.describe(this.described.board);
        this.boardParts.container.style.width = this.described.board.width + "px";
        this.boardParts.container.style.height = this.described.board.height + "px";
        this.board.setRatio(ratio);
        if (puzzles) this.files.putBundled(new Uint8Array(puzzles));
        this.connectInput();
        document.getElementById("loading").hidden = true;
        this.fit();
        // The window is shown once its creation is over: the splash first, then any message
        // that the start-up sequence raises, then the board.
        await this.enter("lumera_start");
        performance.mark("lumera-window-created");
        await this.early.atlas;
        if (this.ended) return;
        document.getElementById("game").hidden = false;
        // The first showing paints the whole board, as a window's first paint does: it is the
        // board's first paint, and its only one when the start-up sequence failed before its deal.
        // (The scale was fitted for the shown window's width before the start-up sequence; a
        // change of the page since has been fitted by its resize event.)
        this.board.clear(this.board.background);
        this.module._lumera_paint();
        requestAnimationFrame(() => {
            performance.mark("lumera-board-shown");
            // The board's parts for screen readers come in the task after the board's frame.
            setTimeout(() => {
                if (this.module && !this.ended) this.module._lumera_board_parts();
                document.documentElement.dataset.state = "running";
                this.registerServiceWorker();
            });
        });
    }

    // Offline play: the service worker is registered once the board is up, so that its copying
    // of the whole site does not compete with the first start.
    registerServiceWorker() {
        if ("serviceWorker" in navigator && location.protocol !== "file:")
            navigator.serviceWorker.register("sw.js").catch(() => {});
    }

    connectInput() {
        const canvas = this.board.canvas;
        canvas.addEventListener("pointerup", event => {
            if (this.busy || this.ended) return;
            const rect = canvas.getBoundingClientRect();
            const x = Math.floor((event.clientX - rect.left) * this.board.width / rect.width);
            const y = Math.floor((event.clientY - rect.top) * this.board.height / rect.height);
            const button = event.button === 2 ? 2 : event.button === 1 ? 1 : 0;
            this.enter("lumera_pointer_up", ["number", "number", "number"], [button, x, y]);
        });
        canvas.addEventListener("contextmenu", event => event.preventDefault());
        document.getElementById("closeBox").addEventListener("click", () => this.enter("lumera_close"));
        document.getElementById("startAgain").addEventListener("click", () => location.reload());
        window.addEventListener("resize", () => this.fit());
        // A change of the device ratio alone (a window moved to another screen) fires no resize.
        const watchRatio = () => {
            const query = matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`);
            query.addEventListener("change", () => {
                this.fit();
                watchRatio();
            }, { once: true });
        };
        watchRatio();
        window.addEventListener("pagehide", () => {
            if (this.module && !this.ended) this.module._lumera_page_hide();
        });
        document.addEventListener("keydown", event => this.menu.onKeyDown(event));
        watchStoredSettings(() => {
            this.storedSettingsChanged = true;
            this.followStoredSettings();
        });
    }
}

const lumeraPage = new LumeraPage();
lumeraPage.prefetch();

// The program's script comes before this one in the page; the game starts once the document is
// parsed.
document.addEventListener("DOMContentLoaded", () => {
    lumeraPage.start().catch(error => {
        const loading = document.getElementById("loading");
        loading.textContent = loading.dataset.failed + (error && error.message || error);
    });
});
