// The puzzle files handed to the program, which opens them by name (the bundled collection and
// the files picked from the device; the program keeps those for the next visit, and reads and
// writes the settings text in local storage itself), and the word from another tab that the
// stored settings changed.
import { element } from "./dom.js";

const STORE_KEY = "lumera8.registry";
export const BUNDLED_FILE = "Lumera8.dat";  // the puzzle collection that comes with the game

// The program reads and writes local storage itself; another tab's write of the settings text
// is heard here (null: the whole storage was cleared).
export function watchStoredSettings(changed) {
    window.addEventListener("storage", event => {
        if (event.key === STORE_KEY || event.key === null) changed();
    });
}

// The puzzle files the game holds. page gives the program (page.module), the message box and
// the application's title.
export class PuzzleFiles {
    constructor(page) {
        this.page = page;
    }

    // The names the program lists that a chooser for the accepted extensions shows.
    listed(accept, names) {
        const extensions = accept.split(",").map(e => e.trim().toLowerCase()).filter(e => e !== "");
        return names.filter(name => extensions.length === 0 || extensions.some(e => name.toLowerCase().endsWith(e)));
    }

    putBundled(bytes) {
        this.put(BUNDLED_FILE, bytes, "_lumera_put_file");
    }

    // The browser's file picker. The chosen file's bytes go to the program, which decides whether
    // to take it; the answer is its name, or null when the player cancelled.
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
                    this.put(file.name, new Uint8Array(await file.arrayBuffer()), "_lumera_device_file");
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

    // Hands a file's name and bytes to the program. Called directly, not through ccall: it may
    // come while the game waits in the file chooser.
    put(name, bytes, call) {
        const m = this.page.module;
        const nameSize = m.lengthBytesUTF8(name) + 1;
        const namePointer = m._malloc(nameSize), bytesPointer = m._malloc(Math.max(1, bytes.length));
        try {
            m.stringToUTF8(name, namePointer, nameSize);
            m.HEAPU8.set(bytes, bytesPointer);
            m[call](namePointer, bytesPointer, bytes.length);
        } finally {
            m._free(namePointer);
            m._free(bytesPointer);
        }
    }
}
