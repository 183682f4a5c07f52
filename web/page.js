// The page side of Lumera 8.0 in the browser. The game, its window layer and every decision
// about what the board, the menu and the dialogs show live in the WebAssembly program; this
// script only carries them out: it draws cells on the canvas, builds the menu bar and the modal
// dialogs as page elements, plays the sounds, keeps the settings text and the chosen puzzle
// files in local storage, and turns the player's pointer, keyboard and menu actions into calls
// on the program. The program reaches this script as Module.page.
"use strict";

const BOARD_WIDTH = 606;
const BOARD_HEIGHT = 268;
const STORE_KEY = "lumera8.registry";
const FILES_KEY = "lumera8.files";
const KEPT_FILES = 8;
const BUNDLED_FILE = "Lumera8.dat";  // the puzzle collection that comes with the game
const WINDOW_TEXT = 0xFF000000;  // the desktop's window-text colour: black

// ---- Small helpers ------------------------------------------------------------------------

// The board uses a handful of colours, each many times: their texts are made once.
const cssColours = new Map();

function cssColour(colour) {
    colour = colour >>> 0;
    let text = cssColours.get(colour);
    if (text === undefined) {
        const rgb = colour === WINDOW_TEXT ? 0 : ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
        text = "#" + rgb.toString(16).padStart(6, "0");
        cssColours.set(colour, text);
    }
    return text;
}

function element(tag, className, text) {
    const node = document.createElement(tag);
    if (className) node.className = className;
    if (text !== undefined) node.textContent = text;
    return node;
}

// A caption with "&" before its mnemonic: the letter underlined, plain text throughout.
function mnemonicLabel(caption) {
    const span = element("span");
    let mnemonic = null;
    for (let i = 0; i < caption.length; ++i) {
        if (caption[i] === "&" && i + 1 < caption.length) {
            ++i;
            if (caption[i] !== "&" && mnemonic === null) {
                mnemonic = caption[i].toLowerCase();
                span.appendChild(element("u", null, caption[i]));
                continue;
            }
        }
        span.appendChild(document.createTextNode(caption[i]));
    }
    return { node: span, mnemonic, text: caption.replace(/&(.)/g, "$1") };
}

function bytesToBinaryString(bytes) {
    let text = "";
    for (let i = 0; i < bytes.length; i += 8192) text += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
    return text;
}

function sameBytes(a, b) {
    return a.length === b.length && a.every((value, i) => value === b[i]);
}

function binaryStringToBytes(text) {
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i) & 0xFF;
    return bytes;
}

// ---- The board --------------------------------------------------------------------------

// The board's pixels: the desktop board's geometry in CSS pixels, drawn at the device's
// resolution. At ratios 1 and 2 the letters come from the glyph atlas, the desktop's own glyphs;
// at any other ratio from the browser's font at that size, made two-tone so they stay sharp.
class Board {
    constructor(canvas) {
        this.canvas = canvas;
        this.context = canvas.getContext("2d", { alpha: false });
        this.ratio = 1;
        this.atlases = new Map();   // ratio -> atlas
        this.glyphCache = new Map();
    }

    static ratioFor(scale) {
        const ratio = (window.devicePixelRatio || 1) * scale;
        return Math.abs(ratio - Math.round(ratio)) < 0.01 ? Math.round(ratio) : ratio;
    }

    // The atlas for a ratio, fetched once; each face's glyphs go into one sheet of black masks.
    loadAtlas(ratio, early = null) {
        if (ratio !== 1 && ratio !== 2) return Promise.resolve(null);
        if (!this.atlases.has(ratio)) {
            const loading = (early || fetch("atlas-" + ratio + ".json")).then(response => {
                if (!response) throw new Error("The glyph atlas could not be loaded");
                if (!response.ok) throw new Error("The glyph atlas could not be loaded (" + response.status + ")");
                return response.json();
            }).then(atlas => {
                for (const face of Object.values(atlas.faces)) Board.makeSheet(face);
                atlas.loaded = true;
                return atlas;
            });
            loading.catch(() => this.atlases.delete(ratio));
            this.atlases.set(ratio, loading);
            loading.then(atlas => this.atlases.set(ratio, atlas), () => {});
        }
        return Promise.resolve(this.atlases.get(ratio));
    }

    static makeSheet(face) {
        let width = 0, height = 1;
        for (const [code, [advance, left, top, w, h, bits]] of Object.entries(face.glyphs)) {
            face.glyphs[code] = { advance, left, top, width: w, height: h, bits: atob(bits), x: width };
            width += w;
            height = Math.max(height, h);
        }
        face.sheet = document.createElement("canvas");
        face.sheet.width = Math.max(1, width);
        face.sheet.height = height;
        const c = face.sheet.getContext("2d");
        const pixels = c.createImageData(face.sheet.width, height);
        // One 32-bit word a pixel; a glyph's mask is its rows' bits one after another, and most of
        // its bytes are blank.
        const words = new Uint32Array(pixels.data.buffer);
        const ink = new Uint8Array([0, 0, 0, 255]);
        const black = new Uint32Array(ink.buffer)[0];
        for (const glyph of Object.values(face.glyphs)) {
            const bits = glyph.bits, count = glyph.width * glyph.height;
            for (let byte = 0; byte < bits.length; ++byte) {
                const value = bits.charCodeAt(byte);
                if (value === 0) continue;
                for (let bit = 0; bit < 8; ++bit) {
                    const i = byte * 8 + bit;
                    if (i >= count) break;
                    if (value & (0x80 >> bit)) {
                        const row = (i / glyph.width) | 0;
                        words[row * face.sheet.width + glyph.x + i - row * glyph.width] = black;
                    }
                }
            }
        }
        c.putImageData(pixels, 0, 0);
    }

    // Sets the device resolution; the caller repaints.
    setRatio(ratio) {
        this.ratio = ratio;
        this.glyphCache.clear();
        this.canvas.width = this.device(BOARD_WIDTH);
        this.canvas.height = this.device(BOARD_HEIGHT);
        this.context.imageSmoothingEnabled = false;
        this.fillColour = undefined;  // a resized canvas forgets its fill style
    }

    device(x) { return Math.round(x * this.ratio); }

    fill(colour, left, top, right, bottom) {
        if (colour !== this.fillColour) {
            this.fillColour = colour;
            this.context.fillStyle = cssColour(colour);
        }
        this.context.fillRect(this.device(left), this.device(top), this.device(right) - this.device(left),
                              this.device(bottom) - this.device(top));
    }

    clear(colour) { this.fill(colour, 0, 0, BOARD_WIDTH, BOARD_HEIGHT); }

    // Fill up to, not including, column right and row bottom; the text from (left + 2, top + 2),
    // the top of its character cell, clipped to the fill; the outline over both. The outline is
    // painted first as a whole rectangle and the fill and text inside it, clipped to within the
    // outline: the same pixels with fewer calls.
    drawCell(left, top, right, bottom, text, fontPixels, textColour, fill, outline) {
        const c = this.context;
        this.fill(outline, left, top, right + 1, bottom + 1);
        this.fill(fill, left + 1, top + 1, right, bottom);
        if (text === "" || text === " ") return;
        const x0 = this.device(left + 1), y0 = this.device(top + 1), x1 = this.device(right), y1 = this.device(bottom);
        this.clip = { x0, y0, x1, y1 };
        this.clipped = false;
        this.drawText(text, fontPixels, textColour, left + 2, top + 2);
        if (this.clipped) c.restore();
        this.clip = null;
    }

    // Glyphs that lie wholly inside the cell are drawn as they are; the clip is set only for one
    // that reaches beyond.
    ensureClip(x, y, width, height) {
        const clip = this.clip;
        if (!clip || this.clipped || (x >= clip.x0 && y >= clip.y0 && x + width <= clip.x1 && y + height <= clip.y1)) return;
        const c = this.context;
        c.save();
        c.beginPath();
        c.rect(clip.x0, clip.y0, clip.x1 - clip.x0, clip.y1 - clip.y0);
        c.clip();
        this.clipped = true;
    }

    drawText(text, fontPixels, colour, x, y) {
        if (text === "" || text === " ") return;
        const atlas = this.atlases.get(this.ratio);
        const face = atlas && atlas.loaded && atlas.faces[String(fontPixels)];
        const characters = Array.from(text);
        if (face && characters.every(ch => face.glyphs[ch.codePointAt(0)])) {
            // The desktop's layout: pen steps of advance plus kerning, each glyph at the whole
            // device pixel left of its pen.
            const k = this.ratio;
            const baseline = (y + face.ascent) * k;
            let pen = x;
            for (let i = 0; i < characters.length; ++i) {
                const code = characters[i].codePointAt(0);
                const glyph = face.glyphs[code];
                if (glyph.width > 0) {
                    const x = Math.floor(pen * k + atlas.placementDelta) + glyph.left, y = baseline + glyph.top;
                    this.ensureClip(x, y, glyph.width, glyph.height);
                    if ((colour >>> 0) === WINDOW_TEXT || (colour >>> 0) === 0)
                        this.context.drawImage(face.sheet, glyph.x, 0, glyph.width, glyph.height, x, y, glyph.width, glyph.height);
                    else
                        this.context.drawImage(this.glyphImage(atlas, fontPixels, code, glyph, colour), x, y);
                }
                pen += glyph.advance;
                if (i + 1 < characters.length) {
                    pen += face.kerning[code + "," + characters[i + 1].codePointAt(0)] || 0;
                }
            }
            return;
        }
        this.drawFontText(text, fontPixels, colour, x, y);
    }

    glyphImage(atlas, fontPixels, code, glyph, colour) {
        const key = atlas.ratio + "/" + fontPixels + "/" + code + "/" + colour;
        let image = this.glyphCache.get(key);
        if (image) return image;
        image = document.createElement("canvas");
        image.width = glyph.width;
        image.height = glyph.height;
        const c = image.getContext("2d");
        const pixels = c.createImageData(glyph.width, glyph.height);
        const rgb = parseInt(cssColour(colour).slice(1), 16);
        for (let i = 0; i < glyph.width * glyph.height; ++i) {
            if (glyph.bits.charCodeAt(i >> 3) & (0x80 >> (i & 7))) {
                pixels.data[i * 4] = rgb >> 16;
                pixels.data[i * 4 + 1] = (rgb >> 8) & 0xFF;
                pixels.data[i * 4 + 2] = rgb & 0xFF;
                pixels.data[i * 4 + 3] = 255;
            }
        }
        c.putImageData(pixels, 0, 0);
        this.glyphCache.set(key, image);
        return image;
    }

    // The browser's "Arial" at the device size, every pixel either ink or not.
    drawFontText(text, fontPixels, colour, x, y) {
        const key = "font/" + this.ratio + "/" + fontPixels + "/" + colour + "/" + text;
        let entry = this.glyphCache.get(key);
        if (!entry) {
            const size = fontPixels * this.ratio;
            const font = size + 'px "Liberation Sans", Arimo, Arial, Helvetica, sans-serif';
            const scratch = document.createElement("canvas");
            const c = scratch.getContext("2d", { willReadFrequently: true });
            c.font = font;
            const metrics = c.measureText(text);
            const ascent = Math.ceil(metrics.fontBoundingBoxAscent || size * 0.905);
            scratch.width = Math.max(1, Math.ceil(metrics.width) + 4);
            scratch.height = Math.ceil(size * 1.3) + 2;
            c.font = font;
            c.fillStyle = "#000";
            c.textBaseline = "alphabetic";
            c.fillText(text, 0, ascent);
            const pixels = c.getImageData(0, 0, scratch.width, scratch.height);
            const rgb = parseInt(cssColour(colour).slice(1), 16);
            for (let i = 0; i < pixels.data.length; i += 4) {
                const ink = pixels.data[i + 3] >= 128;
                pixels.data[i] = rgb >> 16;
                pixels.data[i + 1] = (rgb >> 8) & 0xFF;
                pixels.data[i + 2] = rgb & 0xFF;
                pixels.data[i + 3] = ink ? 255 : 0;
            }
            c.putImageData(pixels, 0, 0);
            entry = scratch;
            this.glyphCache.set(key, entry);
        }
        this.ensureClip(this.device(x), this.device(y), entry.width, entry.height);
        this.context.drawImage(entry, this.device(x), this.device(y));
    }
}

// ---- Windows and dialogs ----------------------------------------------------------------

// A window on the page: a frame with an optional title bar, a client area of the given size,
// and for a modal one a backdrop that takes every click meant for what lies beneath.
class PageWindow {
    constructor(page, { caption, titleBar = true, width, height, background, modal = true, role = "dialog", name }) {
        this.page = page;
        this.modal = modal;
        this.backdrop = modal ? element("div", "backdrop") : null;
        this.frame = element("div", "window form");
        this.frame.setAttribute("role", role);
        if (modal) this.frame.setAttribute("aria-modal", "true");
        if (name) this.frame.dataset.name = name;
        const captionId = "caption-" + (++PageWindow.count);
        if (titleBar) {
            const bar = element("div", "titlebar");
            const title = element("span", "titlebar-caption", caption);
            title.id = captionId;
            this.closeBox = element("button", "titlebar-close", "\u2715");
            this.closeBox.type = "button";
            this.closeBox.setAttribute("aria-label", "Close");
            this.closeBox.title = "Close";
            bar.append(title, this.closeBox);
            this.frame.appendChild(bar);
            this.frame.setAttribute("aria-labelledby", captionId);
        } else {
            // A window without a title bar has no frame either: its client area is all there is.
            this.frame.classList.add("borderless");
            this.frame.setAttribute("aria-label", caption);
        }
        this.client = element("div", "client");
        if (width) this.client.style.width = width + "px";
        if (height) this.client.style.height = height + "px";
        if (background) this.client.style.background = background;
        this.frame.appendChild(this.client);
        this.frame.tabIndex = -1;
    }

    show() {
        const layer = document.getElementById("layer");
        this.page.fitWindow(this.frame);
        if (this.backdrop) {
            this.backdrop.appendChild(this.frame);
            layer.appendChild(this.backdrop);
            this.page.modalShown(this);
        } else {
            this.frame.classList.add("floating");
            layer.appendChild(this.frame);
        }
        const focus = this.frame.querySelector("[autofocus]") || this.frame.querySelector("button:not([tabindex='-1']), input") || this.frame;
        focus.focus();
    }

    close() {
        if (this.closed) return;
        this.closed = true;
        (this.backdrop || this.frame).remove();
        if (this.backdrop) this.page.modalClosed(this);
    }
}
PageWindow.count = 0;

function svgIcon(kind) {
    const shape = (tag, attributes) => {
        const node = document.createElementNS("http://www.w3.org/2000/svg", tag);
        for (const [name, value] of Object.entries(attributes)) node.setAttribute(name, value);
        return node;
    };
    const svg = shape("svg", { width: "32", height: "32", viewBox: "0 0 32 32", "aria-hidden": "true", class: "icon" });
    svg.appendChild(shape("circle", { cx: "16", cy: "16", r: "14", fill: kind === "stop" ? "#d42020" : "#2060d0" }));
    svg.appendChild(shape("path", {
        stroke: "#ffffff", "stroke-width": "3.5", fill: "none",
        d: kind === "stop" ? "M10 10 L22 22 M22 10 L10 22" : "M16 13 L16 24 M16 8 L16 10",
    }));
    return svg;
}

// ---- The page ---------------------------------------------------------------------------

class LumeraPage {
    constructor() {
        this.module = null;
        this.busy = false;       // a call into the game is under way: input waits for nobody
        this.ended = false;
        this.modals = [];
        this.fileNames = [];     // the puzzle files the game holds, the latest put first
        this.splashForm = null;  // the one splash or about window in use
        this.timer1 = 0;
        this.scale = 1;
        this.applicationTitle = "Lumera 8.0 Freeware Edition";
        this.board = new Board(document.getElementById("board"));
        this.menu = new MenuBar(this, document.getElementById("menubar"));
        this.boardParts = new BoardParts(this, document.getElementById("boardParts"));
        this.sound = new SoundPlayer();
        this.store = {
            isAvailable: () => LumeraPage.storageWorks(),
            read: () => localStorage.getItem(STORE_KEY),
            write: text => { localStorage.setItem(STORE_KEY, text); return null; },
            setAside: text => {
                let name = STORE_KEY + ".unreadable";
                for (let n = 2; localStorage.getItem(name) !== null; ++n) name = STORE_KEY + ".unreadable-" + n;
                localStorage.setItem(name, text);
                return name;
            },
        };
    }

    static storageWorks() {
        try {
            return typeof localStorage !== "undefined" && localStorage !== null;
        } catch (error) {
            return false;
        }
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
    }

    async reportError(error) {
        let text = String(error && error.message || error);
        if (text && text.charCodeAt(text.length - 1) > 46) text += ".";
        await this.messageBox({ caption: this.applicationTitle, text, icon: "stop" });
    }

    // ---- The frame ----

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

    endGame() {
        this.ended = true;
        this.stopTimer1();
        this.closeSplash();
        this.menu.close();
        document.getElementById("game").hidden = true;
        document.getElementById("ended").hidden = false;
        document.getElementById("startAgain").focus();
    }

    // ---- Modal windows ----

    modalShown(window) {
        this.modals.push(window);
        this.menu.close();
        // A start-up splash still up stays on top but takes no clicks while the modal window is up.
        if (this.splashForm && this.splashForm !== window && !this.splashForm.modal) this.splashForm.frame.classList.add("inert");
    }

    modalClosed(window) {
        this.modals = this.modals.filter(w => w !== window);
        if (this.modals.length === 0 && this.splashForm && !this.splashForm.modal) this.splashForm.frame.classList.remove("inert");
    }

    messageBox({ caption, text, icon }) {
        return new Promise(resolve => {
            const window = new PageWindow(this, { caption, role: "alertdialog", name: "MessageBox" });
            const body = element("div", "message");
            if (icon === "information" || icon === "stop") body.appendChild(svgIcon(icon));
            const message = element("div", "message-text", text);
            message.id = "message-" + PageWindow.count;
            window.frame.setAttribute("aria-describedby", message.id);
            body.appendChild(message);
            const buttons = element("div", "buttons");
            const ok = element("button", "button", "OK");
            ok.type = "button";
            ok.autofocus = true;
            buttons.appendChild(ok);
            window.client.append(body, buttons);
            const done = () => { window.close(); resolve(); };
            ok.addEventListener("click", done);
            window.closeBox.addEventListener("click", done);
            window.frame.addEventListener("keydown", event => {
                if (event.key === "Escape") { event.preventDefault(); done(); }
            });
            window.show();
        });
    }

    inputBox({ caption, prompt, text }) {
        return new Promise(resolve => {
            const window = new PageWindow(this, { caption, name: "InputBox" });
            const form = element("form", "input-box");
            const label = element("label", "prompt", prompt);
            const edit = element("input", "edit");
            edit.type = "text";
            edit.value = text;
            edit.maxLength = 255;
            edit.autofocus = true;
            edit.spellcheck = false;
            label.appendChild(edit);
            const buttons = element("div", "buttons");
            const ok = element("button", "button", "OK");
            ok.type = "submit";
            const cancel = element("button", "button", "Cancel");
            cancel.type = "button";
            buttons.append(ok, cancel);
            form.append(label, buttons);
            window.client.appendChild(form);
            const done = answer => { window.close(); resolve(answer); };
            form.addEventListener("submit", event => { event.preventDefault(); done(edit.value); });
            cancel.addEventListener("click", () => done(null));
            window.closeBox.addEventListener("click", () => done(null));
            window.frame.addEventListener("keydown", event => {
                if (event.key === "Escape") { event.preventDefault(); done(null); }
            });
            window.show();
            edit.select();
        });
    }

    // The file chooser: the puzzle files the game holds in this browser (the bundled collection
    // first, then the chosen ones, newest first), as a desktop chooser lists the files of the
    // game's folder, and the browser's file picker for a file from the device. The answer is the
    // chosen file's name, or null when the player cancelled.
    chooseFile(accept) {
        const extensions = accept.split(",").map(e => e.trim().toLowerCase()).filter(e => e !== "");
        const fits = name => extensions.length === 0 || extensions.some(e => name.toLowerCase().endsWith(e));
        const names = this.fileNames.filter(n => n === BUNDLED_FILE).concat(this.fileNames.filter(n => n !== BUNDLED_FILE)).filter(fits);
        return new Promise(resolve => {
            const window = new PageWindow(this, { caption: "Open", name: "OpenDialog" });
            const form = element("form", "open-file");
            const label = element("label", "prompt", "Puzzle files in this browser:");
            const list = element("select", "file-list");
            list.size = 6;
            for (const name of names) list.appendChild(new Option(name, name));
            list.selectedIndex = names.length > 0 ? 0 : -1;
            list.autofocus = true;
            label.appendChild(list);
            const buttons = element("div", "buttons");
            const open = element("button", "button", "Open");
            open.type = "submit";
            open.disabled = names.length === 0;
            const device = element("button", "button", "From this device\u2026");
            device.type = "button";
            device.dataset.name = "fromDevice";
            const cancel = element("button", "button", "Cancel");
            cancel.type = "button";
            buttons.append(open, device, cancel);
            form.append(label, buttons);
            window.client.appendChild(form);
            let picking = false;
            const done = answer => { window.close(); resolve(answer); };
            form.addEventListener("submit", event => {
                event.preventDefault();
                if (!picking && list.value !== "") done(list.value);
            });
            list.addEventListener("dblclick", () => form.requestSubmit());
            list.addEventListener("keydown", event => {
                if (event.key === "Enter") { event.preventDefault(); form.requestSubmit(); }
            });
            device.addEventListener("click", async () => {
                if (picking) return;
                picking = true;
                const name = await this.pickFile(accept);
                picking = false;
                if (name !== null) done(name);
            });
            cancel.addEventListener("click", () => { if (!picking) done(null); });
            window.closeBox.addEventListener("click", () => { if (!picking) done(null); });
            window.frame.addEventListener("keydown", event => {
                if (event.key === "Escape" && !picking) { event.preventDefault(); done(null); }
            });
            window.show();
        });
    }

    // The browser's file picker. The chosen file is put where the game opens it by its name and
    // kept for the next visit; the answer is its name, or null when the player cancelled.
    pickFile(accept) {
        return new Promise(resolve => {
            const input = element("input");
            input.type = "file";
            input.accept = accept;
            input.hidden = true;
            document.body.appendChild(input);
            const blocker = element("div", "backdrop clear");
            document.getElementById("layer").appendChild(blocker);
            let settled = false;
            const done = answer => {
                if (settled) return;
                settled = true;
                input.remove();
                blocker.remove();
                resolve(answer);
            };
            let changed = false;
            input.addEventListener("change", async () => {
                changed = true;
                const file = input.files && input.files[0];
                if (!file) { done(null); return; }
                try {
                    const bytes = new Uint8Array(await file.arrayBuffer());
                    // Files are known by name alone here: another file under the bundled
                    // collection's name would take its place for good.
                    if (file.name === BUNDLED_FILE && !(this.bundledBytes && sameBytes(bytes, this.bundledBytes))) {
                        await this.messageBox({ caption: this.applicationTitle, icon: "information",
                                                text: BUNDLED_FILE + " is the name of the puzzle collection that comes with " +
                                                      "the game. To play your file here, give it another name." });
                        done(null);
                        return;
                    }
                    this.putFile(file.name, bytes);
                    this.keepFile(file.name, bytes);
                    done(file.name);
                } catch (error) {
                    done(null);
                }
            });
            input.addEventListener("cancel", () => done(null));
            // Browsers without the cancel event give the page its focus back instead.
            window.addEventListener("focus", () => setTimeout(() => { if (!changed) done(null); }, 1500), { once: true });
            input.click();
        });
    }

    // Chosen puzzle files, newest first, as many as local storage holds (at most KEPT_FILES).
    keptFiles() {
        try {
            const files = JSON.parse(localStorage.getItem(FILES_KEY) || "[]");
            return Array.isArray(files) ? files.filter(f => f && typeof f.name === "string" && typeof f.bytes === "string") : [];
        } catch (error) {
            return [];
        }
    }

    keepFile(name, bytes) {
        if (!LumeraPage.storageWorks()) return;
        let files = [{ name, bytes: bytesToBinaryString(bytes) }].concat(this.keptFiles().filter(f => f.name !== name));
        files = files.slice(0, KEPT_FILES);
        while (files.length > 0) {
            try {
                localStorage.setItem(FILES_KEY, JSON.stringify(files));
                return;
            } catch (error) {
                files.pop();  // full: the oldest goes first, and if it comes to that, this one too
            }
        }
        try { localStorage.removeItem(FILES_KEY); } catch (error) { /* nothing kept */ }
    }

    restoreKeptFiles() {
        for (const file of this.keptFiles().reverse()) this.putFile(file.name, binaryStringToBytes(file.bytes));
    }

    // Hands a file to the game, where it opens it by name. Called directly, not through ccall:
    // it may come while the game waits in the file chooser.
    putFile(name, bytes) {
        this.fileNames = [name].concat(this.fileNames.filter(n => n !== name));
        const m = this.module;
        const nameSize = m.lengthBytesUTF8(name) + 1;
        const namePointer = m._malloc(nameSize), bytesPointer = m._malloc(Math.max(1, bytes.length));
        try {
            m.stringToUTF8(name, namePointer, nameSize);
            m.HEAPU8.set(bytes, bytesPointer);
            m._lumera_put_file(namePointer, bytesPointer, bytes.length);
        } finally {
            m._free(namePointer);
            m._free(bytesPointer);
        }
    }

    async storeSetAside(name) {
        await this.messageBox({
            caption: "Information",
            text: "The settings stored in this browser could not be read. They are kept under the name " + name +
                  ", and the game starts with new settings.",
            icon: "information",
        });
    }

    // ---- Forms: splash, about, the donation dialog ----

    buildForm(description) {
        const window = new PageWindow(this, {
            caption: description.caption, titleBar: description.titleBar, width: description.width,
            height: description.height, background: description.background, modal: description.modal !== false,
            name: description.name,
        });
        window.client.classList.add("form-client");
        window.client.style.fontSize = description.fontPixels + "px";
        const result = { window, selected: () => 0 };
        const close = () => window.onclose && window.onclose();
        const addParts = (container, parts) => {
            for (const part of parts) {
                const node = this.formPart(part, close, result);
                if (part.kind === "panel") addParts(node, part.parts);
                container.appendChild(node);
            }
        };
        addParts(window.client, description.parts);
        if (window.closeBox) window.closeBox.addEventListener("click", close);
        return result;
    }

    formPart(part, close, result) {
        let node;
        switch (part.kind) {
            case "picture":
                node = element("img", "part picture");
                node.src = part.picture;
                node.alt = "";
                node.draggable = false;
                break;
            case "label":
            case "link":
                node = element(part.kind === "link" && part.url ? "a" : "div", "part label", part.text);
                if (part.kind === "link") node.classList.add("link");
                if (part.url) {
                    node.href = part.url;
                    node.target = "_blank";
                    node.rel = "noopener";
                    node.addEventListener("click", event => { event.preventDefault(); this.openDocument(part.url); });
                }
                break;
            case "button":
                node = element("button", "part button");
                node.type = "button";
                if (part.glyph) {
                    const glyph = element("img", "glyph");
                    glyph.src = part.glyph;
                    glyph.alt = "";
                    glyph.width = glyph.height = part.glyphPixels;
                    node.appendChild(glyph);
                }
                node.appendChild(element("span", null, part.text));
                if (part.focusable === false) {
                    node.tabIndex = -1;
                    node.setAttribute("aria-label", part.text === "X" ? "Close" : part.text);
                    node.addEventListener("mousedown", event => event.preventDefault());
                }
                break;
            case "radiogroup": {
                node = element("div", "part radiogroup");
                node.setAttribute("role", "radiogroup");
                const group = "group-" + (++PageWindow.count);
                const radios = part.items.map((text, index) => {
                    const label = element("label", "radio");
                    label.style.left = part.itemLeft + "px";
                    label.style.top = part.itemTop + index * part.itemPitch + "px";
                    label.style.width = part.itemWidth + "px";
                    const radio = element("input");
                    radio.type = "radio";
                    radio.name = group;
                    radio.value = String(index);
                    radio.checked = index === part.selected;
                    label.append(radio, element("span", null, text));
                    node.appendChild(label);
                    return radio;
                });
                radios[part.selected].autofocus = true;
                result.selected = () => Math.max(0, radios.findIndex(r => r.checked));
                break;
            }
            case "panel":
                node = element("div", "part panel");
                node.style.borderColor = `${part.light} ${part.shadow} ${part.shadow} ${part.light}`;
                node.style.outlineColor = part.shadow;
                break;
            default:
                node = element("div", "part");
        }
        node.dataset.name = part.name;
        node.style.left = part.left + "px";
        node.style.top = part.top + "px";
        node.style.width = part.width + "px";
        node.style.height = part.height + "px";
        if (part.fontPixels) node.style.fontSize = part.fontPixels + "px";
        if (part.bold) node.style.fontWeight = "bold";
        if (part.underline) node.style.textDecoration = "underline";
        if (part.colour) node.style.color = part.colour;
        if (part.background) node.style.background = part.background;
        if (part.align) node.style.textAlign = part.align;
        if (part.wrap) node.classList.add("wrap");
        if (part.visible === false) node.hidden = true;
        if (part.action === "close") node.addEventListener("click", close);
        return node;
    }

    // A modal form; the answer is the index of the selected item of its radio group (0 without one).
    showForm(description) {
        return new Promise(resolve => {
            const form = this.buildForm(description);
            if (description.name === "splashForm") this.splashForm = form.window;
            form.window.onclose = () => {
                const answer = form.selected();
                form.window.close();
                resolve(answer);
            };
            form.window.show();
        });
    }

    // The start-up splash: not modal, above everything, centred on the page.
    showSplash(description) {
        const form = this.buildForm(Object.assign({}, description, { modal: false }));
        form.window.frame.classList.add("topmost");
        form.window.onclose = () => form.window.frame.classList.add("closed");
        this.splashForm = form.window;
        form.window.show();
    }

    closeSplash() {
        if (this.splashForm) this.splashForm.close();
    }

    // ---- Scaling to the page ----

    // Where the page is narrower than the game, the game and its windows are scaled down to
    // fit; the board is then drawn again at the resulting device resolution (true when it is).
    fit() {
        const game = document.getElementById("game");
        // Before the window is shown (the splash and the start-up messages) its frame's width is
        // the board's and the frame's borders and padding.
        const width = game.offsetWidth || (BOARD_WIDTH + 8);
        const available = document.documentElement.clientWidth - 16;
        const scale = available < width ? Math.max(0.25, available / width) : 1;
        this.scale = scale;
        document.documentElement.style.setProperty("--scale", String(scale));
        // Windows already open are scaled with the game.
        for (const open of this.modals) this.fitWindow(open.frame);
        if (this.splashForm && !this.splashForm.closed) this.fitWindow(this.splashForm.frame);
        const ratio = Board.ratioFor(scale);
        if (ratio === this.board.ratio) return false;
        this.repaint(ratio);
        return true;
    }

    fitWindow(frame) {
        frame.style.zoom = this.scale === 1 ? "" : String(this.scale);
    }

    async repaint(ratio) {
        await this.board.loadAtlas(ratio).catch(() => null);  // without it the browser's font draws
        this.board.setRatio(ratio);
        this.board.clear(0x808080);
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
        this.applicationTitle = module.ccall("lumera_application_title", "string", [], []);
        this.board.setRatio(ratio);
        if (puzzles) {
            this.bundledBytes = new Uint8Array(puzzles);
            this.putFile(BUNDLED_FILE, this.bundledBytes);
        }
        this.restoreKeptFiles();
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
        this.board.clear(0x808080);
        this.module._lumera_paint();
        requestAnimationFrame(() => {
            performance.mark("lumera-board-shown");
            // The board's parts for screen readers come in the task after the board's frame.
            setTimeout(() => {
                this.boardParts.showAll();
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
            const x = Math.floor((event.clientX - rect.left) * BOARD_WIDTH / rect.width);
            const y = Math.floor((event.clientY - rect.top) * BOARD_HEIGHT / rect.height);
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
    }
}

// ---- The board for screen readers -------------------------------------------------------

// The parts of the board as the window layer describes them, as page elements laid over the
// canvas: the alphabet as a toolbar of buttons (pressed: the selected letter), the puzzle as a
// grid of nine rows, and the status box as a button. They take no pointer input (the canvas
// does); the keyboard moves among them with the arrows, and Enter or Space does what a click does.
class BoardParts {
    constructor(page, container) {
        this.page = page;
        this.parts = [];
        const group = (role, label) => {
            const node = element("div", "board-group");
            node.setAttribute("role", role);
            node.setAttribute("aria-label", label);
            container.appendChild(node);
            return node;
        };
        this.alphabet = group("toolbar", "Alphabet");
        this.grid = group("grid", "Puzzle");
        this.rows = [];
        for (let row = 0; row < 9; ++row) {
            const node = element("div", "board-row");
            node.setAttribute("role", "row");
            this.grid.appendChild(node);
            this.rows.push(node);
        }
        this.status = group("group", "Status");
        container.addEventListener("keydown", event => this.onKeyDown(event));
        // Until the board is on screen its parts are only noted, so that their elements do not
        // add to the work before the first showing.
        this.waiting = [];
    }

    // The parts as last described, made page elements.
    showAll() {
        const waiting = this.waiting;
        this.waiting = null;
        for (const args of waiting || []) if (args) this.update(...args);
    }

    // Kinds as the layer numbers them: 0 an alphabet button, 1 a grid cell, 2 the status button.
    update(part, kind, name, description, selected, left, top, right, bottom) {
        if (this.waiting) {
            this.waiting[part] = [part, kind, name, description, selected, left, top, right, bottom];
            return;
        }
        let node = this.parts[part];
        if (!node) {
            node = element("div", "board-part");
            node.setAttribute("role", kind === 1 ? "gridcell" : "button");
            node.tabIndex = part === 0 || part === 26 || kind === 2 ? 0 : -1;
            node.style.left = left + "px";
            node.style.top = top + "px";
            node.style.width = right - left + 1 + "px";
            node.style.height = bottom - top + 1 + "px";
            node.dataset.part = String(part);
            node.addEventListener("click", () => this.page.enter("lumera_activate_part", ["number"], [part]));
            (kind === 0 ? this.alphabet : kind === 1 ? this.rows[Math.floor((part - 26) / 30)] : this.status).appendChild(node);
            this.parts[part] = node;
        }
        node.setAttribute("aria-label", name);
        if (description) node.setAttribute("aria-description", description);
        else node.removeAttribute("aria-description");
        if (kind === 0) node.setAttribute("aria-pressed", selected ? "true" : "false");
    }

    onKeyDown(event) {
        const part = Number(event.target.dataset.part);
        if (!Number.isInteger(part) || event.altKey || event.ctrlKey || event.metaKey) return;
        if (event.key === "Enter" || event.key === " ") {
            event.preventDefault();
            event.target.click();
            return;
        }
        const steps = { ArrowLeft: -1, ArrowRight: 1, ArrowUp: 0, ArrowDown: 0 };
        if (!(event.key in steps)) return;
        let next = part;
        if (part < 26) {
            const perRow = 13;
            next = event.key === "ArrowUp" ? part - perRow : event.key === "ArrowDown" ? part + perRow : part + steps[event.key];
            if (next < 0 || next >= 26) return;
        } else if (part < 296) {
            const at = part - 26;
            next = event.key === "ArrowUp" ? at - 30 : event.key === "ArrowDown" ? at + 30 : at + steps[event.key];
            if (next < 0 || next >= 270) return;
            next += 26;
        } else {
            return;
        }
        event.preventDefault();
        event.target.tabIndex = -1;
        this.parts[next].tabIndex = 0;
        this.parts[next].focus();
    }
}

// ---- The menu bar -----------------------------------------------------------------------

class MenuBar {
    constructor(page, bar) {
        this.page = page;
        this.bar = bar;
        this.entries = [];
        this.items = new Map();
        this.open = null;
        document.addEventListener("pointerdown", event => {
            if (this.open && !this.bar.contains(event.target)) this.close();
        });
    }

    addEntry(caption, name) {
        const label = mnemonicLabel(caption);
        const button = element("button", "menu-entry");
        button.type = "button";
        button.setAttribute("role", "menuitem");
        button.setAttribute("aria-haspopup", "menu");
        button.setAttribute("aria-expanded", "false");
        button.tabIndex = this.entries.length === 0 ? 0 : -1;
        button.dataset.name = name;
        button.appendChild(label.node);
        const popup = element("div", "menu-popup");
        popup.setAttribute("role", "menu");
        popup.setAttribute("aria-label", label.text);
        popup.hidden = true;
        const wrapper = element("div", "menu-wrapper");
        wrapper.append(button, popup);
        this.bar.appendChild(wrapper);
        const entry = { name, button, popup, mnemonic: label.mnemonic, items: [] };
        this.entries.push(entry);
        button.addEventListener("click", () => (this.open === entry ? this.close() : this.openEntry(entry, false)));
        button.addEventListener("pointerenter", () => { if (this.open && this.open !== entry) this.openEntry(entry, false); });
    }

    addItem(entryName, caption, name, isCheckable) {
        const entry = this.entries.find(e => e.name === entryName);
        if (caption === null) {
            const separator = element("div", "menu-separator");
            separator.setAttribute("role", "separator");
            separator.dataset.name = name;
            entry.popup.appendChild(separator);
            return;
        }
        const label = mnemonicLabel(caption);
        const node = element("div", "menu-item");
        node.setAttribute("role", isCheckable ? "menuitemcheckbox" : "menuitem");
        node.tabIndex = -1;
        node.dataset.name = name;
        node.appendChild(element("span", "menu-check", ""));
        node.appendChild(label.node);
        const item = { name, node, mnemonic: label.mnemonic, isCheckable, enabled: true, checked: true };
        if (isCheckable) this.setCheckedNode(item, true);
        entry.items.push(item);
        this.items.set(name, item);
        entry.popup.appendChild(node);
        node.addEventListener("click", () => this.choose(item));
        node.addEventListener("pointerenter", () => node.focus());
    }

    // An item greyed or not, and for an option its check mark.
    setState(name, enabled, checked) {
        const item = this.items.get(name);
        if (!item) return;
        item.enabled = enabled;
        if (enabled) item.node.removeAttribute("aria-disabled");
        else item.node.setAttribute("aria-disabled", "true");
        if (item.isCheckable) this.setCheckedNode(item, checked);
    }

    setCheckedNode(item, checked) {
        item.checked = checked;
        item.node.setAttribute("aria-checked", checked ? "true" : "false");
        item.node.firstChild.textContent = checked ? "\u2713" : "";
    }

    openEntry(entry, focusFirst) {
        if (this.open && this.open !== entry) this.hidePopup(this.open);
        this.open = entry;
        entry.popup.hidden = false;
        entry.button.setAttribute("aria-expanded", "true");
        entry.button.classList.add("open");
        if (focusFirst) this.focusItem(entry, 0, 1);
        else entry.button.focus();
    }

    hidePopup(entry) {
        entry.popup.hidden = true;
        entry.button.setAttribute("aria-expanded", "false");
        entry.button.classList.remove("open");
    }

    close() {
        if (!this.open) return;
        this.hidePopup(this.open);
        this.open = null;
    }

    focusItem(entry, from, step) {
        const count = entry.items.length;
        for (let n = 0; n < count; ++n) {
            const index = ((from + n * step) % count + count) % count;
            entry.items[index].node.focus();
            return;
        }
    }

    choose(item) {
        if (!item.enabled) return;
        const entry = this.open;
        this.close();
        if (entry) entry.button.focus();
        this.page.enter("lumera_menu_click", ["string"], [item.name]);
    }

    // Alt with a menu's letter opens it; in an open menu the letter alone chooses an item, the
    // arrows move, Enter chooses and Escape closes.
    onKeyDown(event) {
        if (this.page.busy || this.page.ended || this.page.modals.length > 0) return;
        const key = event.key.length === 1 ? event.key.toLowerCase() : event.key;
        const letter = event.code && event.code.startsWith("Key") ? event.code.slice(3).toLowerCase() : key;
        if (event.altKey && !event.ctrlKey && !event.metaKey) {
            const entry = this.entries.find(e => e.mnemonic === letter);
            if (entry) {
                event.preventDefault();
                this.openEntry(entry, true);
            }
            return;
        }
        if (!this.open) return;
        const entry = this.open;
        const index = entry.items.findIndex(item => item.node === document.activeElement);
        if (key === "Escape") {
            event.preventDefault();
            this.close();
            entry.button.focus();
        } else if (key === "ArrowDown" || key === "ArrowUp") {
            event.preventDefault();
            const step = key === "ArrowDown" ? 1 : -1;
            this.focusItem(entry, index < 0 ? (step > 0 ? 0 : entry.items.length - 1) : index + step, step);
        } else if (key === "ArrowRight" || key === "ArrowLeft") {
            event.preventDefault();
            const at = this.entries.indexOf(entry) + (key === "ArrowRight" ? 1 : -1);
            this.openEntry(this.entries[(at + this.entries.length) % this.entries.length], true);
        } else if ((key === "Enter" || key === " ") && index >= 0) {
            event.preventDefault();
            this.choose(entry.items[index]);
        } else if (!event.ctrlKey && !event.metaKey) {
            const item = entry.items.find(i => i.mnemonic === letter);
            if (item) {
                event.preventDefault();
                this.choose(item);
            }
        }
    }
}

// ---- Sound ------------------------------------------------------------------------------

// The game's four sounds, the same WAV files as the desktop's. A sound that cannot play is
// left out; a synchronous one then ends at once.
class SoundPlayer {
    constructor() { this.sounds = new Map(); }

    play(name, synchronous) {
        let audio = this.sounds.get(name);
        if (!audio) {
            audio = new Audio(name.toLowerCase() + ".wav");
            audio.preload = "auto";
            this.sounds.set(name, audio);
        }
        audio.currentTime = 0;
        const playing = audio.play();
        if (!synchronous) {
            if (playing) playing.catch(() => {});
            return Promise.resolve();
        }
        return new Promise(resolve => {
            let timer = 0;
            const done = () => {
                clearTimeout(timer);
                audio.removeEventListener("ended", done);
                audio.removeEventListener("error", done);
                resolve();
            };
            audio.addEventListener("ended", done);
            audio.addEventListener("error", done);
            // Should "ended" never come, the sound's own length (or a few seconds) is the limit.
            const limit = () => { timer = setTimeout(done, (isFinite(audio.duration) ? audio.duration * 1000 : 3000) + 500); };
            if (playing) playing.then(limit, done);
            else limit();
        });
    }
}


const lumeraPage = new LumeraPage();
lumeraPage.prefetch();

// The program's script comes before this one in the page; the game starts once the document is
// parsed.
document.addEventListener("DOMContentLoaded", () => {
    lumeraPage.start().catch(error => {
        document.getElementById("loading").textContent = "Lumera 8.0 could not start: " + (error && error.message || error);
    });
});
