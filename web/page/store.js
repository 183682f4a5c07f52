// What the game keeps in this browser's local storage — the settings text and the puzzle files
// chosen from the device — and the puzzle files handed to the program, which opens them by name.
import { element } from "./dom.js";

const STORE_KEY = "lumera8.registry";
const FILES_KEY = "lumera8.files";
const KEPT_FILES = 8;
export const BUNDLED_FILE = "Lumera8.dat";  // the puzzle collection that comes with the game

function storageWorks() {
    try {
        return typeof localStorage !== "undefined" && localStorage !== null;
    } catch (error) {
        return false;
    }
}

// The settings text, as the program's settings store reads and writes it.
export const settingsStore = {
    isAvailable: () => storageWorks(),
    read: () => localStorage.getItem(STORE_KEY),
    write: text => { localStorage.setItem(STORE_KEY, text); return null; },
    setAside: text => {
        let name = STORE_KEY + ".unreadable";
        for (let n = 2; localStorage.getItem(name) !== null; ++n) name = STORE_KEY + ".unreadable-" + n;
        localStorage.setItem(name, text);
        return name;
    },
};

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

// The puzzle files the game holds. page gives the program (page.module), the message box and
// the application's title.
export class PuzzleFiles {
    constructor(page) {
        this.page = page;
        this.names = [];          // the latest put first
        this.bundledBytes = null;
    }

    // The names a chooser lists for the accepted extensions: the bundled collection first, then
    // the chosen ones, newest first.
    listed(accept) {
        const extensions = accept.split(",").map(e => e.trim().toLowerCase()).filter(e => e !== "");
        const fits = name => extensions.length === 0 || extensions.some(e => name.toLowerCase().endsWith(e));
        return this.names.filter(n => n === BUNDLED_FILE).concat(this.names.filter(n => n !== BUNDLED_FILE)).filter(fits);
    }

    putBundled(bytes) {
        this.bundledBytes = bytes;
        this.put(BUNDLED_FILE, bytes);
    }

    // The browser's file picker. The chosen file is put where the game opens it by its name and
    // kept for the next visit; the answer is its name, or null when the player cancelled.
    pick(accept) {
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
                        await this.page.messageBox({ caption: this.page.applicationTitle, icon: "information",
                                                text: BUNDLED_FILE + " is the name of the puzzle collection that comes with " +
                                                      "the game. To play your file here, give it another name." });
                        done(null);
                        return;
                    }
                    this.put(file.name, bytes);
                    this.keep(file.name, bytes);
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
    kept() {
        try {
            const files = JSON.parse(localStorage.getItem(FILES_KEY) || "[]");
            return Array.isArray(files) ? files.filter(f => f && typeof f.name === "string" && typeof f.bytes === "string") : [];
        } catch (error) {
            return [];
        }
    }

    keep(name, bytes) {
        if (!storageWorks()) return;
        let files = [{ name, bytes: bytesToBinaryString(bytes) }].concat(this.kept().filter(f => f.name !== name));
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

    restoreKept() {
        for (const file of this.kept().reverse()) this.put(file.name, binaryStringToBytes(file.bytes));
    }

    // Hands a file to the game, where it opens it by name. Called directly, not through ccall:
    // it may come while the game waits in the file chooser.
    put(name, bytes) {
        this.names = [name].concat(this.names.filter(n => n !== name));
        const m = this.page.module;
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
}
