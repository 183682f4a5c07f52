// Windows and dialogs on the page: a window's frame (title bar, client area, backdrop for a modal
// one), the layer that keeps the open modal windows and the splash, and the message box, the
// input box and the file chooser built on them.
import { element } from "./dom.js";

// A window on the page: a frame with an optional title bar, a client area of the given size,
// and for a modal one a backdrop that takes every click meant for what lies beneath.
// A modal window keeps the keyboard's focus inside itself while it is up, and gives it back to
// where it was when it closes.
export class PageWindow {
    constructor(layer, { caption, titleBar = true, width, height, background, modal = true, role = "dialog", name, topmost = false }) {
        this.layer = layer;
        this.modal = modal;
        this.backdrop = modal ? element("div", "backdrop") : null;
        if (this.backdrop && topmost) this.backdrop.classList.add("topmost");
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
            this.closeBox.setAttribute("aria-label", layer.texts.close);
            this.closeBox.title = layer.texts.close;
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
        if (modal) this.frame.addEventListener("keydown", event => this.keepTab(event));
    }

    // The start-up splash takes the focus in the task after its first frame (focusLater), so that
    // the focus does not force the page's first layout before the board is drawn.
    show(focusLater = false) {
        const layer = document.getElementById("layer");
        this.layer.fitWindow(this.frame);
        if (this.backdrop) {
            this.returnTo = document.activeElement;
            this.backdrop.appendChild(this.frame);
            layer.appendChild(this.backdrop);
            this.layer.modalShown(this);
        } else {
            this.frame.classList.add("floating");
            layer.appendChild(this.frame);
        }
        if (!focusLater) this.focusFirst();
        else requestAnimationFrame(() => setTimeout(() => { if (!this.closed && !this.layer.topModal()) this.focusFirst(); }));
    }

    focusFirst() {
        const focus = this.frame.querySelector("[autofocus]") || this.frame.querySelector("button:not([tabindex='-1']), input") || this.frame;
        focus.focus();
    }

    // What Tab reaches in the window, in order: of a radio group only its checked button.
    focusable() {
        return Array.from(this.frame.querySelectorAll("button, input, select, a[href], [tabindex]")).filter(node =>
            node.tabIndex >= 0 && !node.disabled && node.getClientRects().length > 0 && !(node.type === "radio" && !node.checked));
    }

    // Tab from the last part goes to the first, Shift+Tab from the first to the last.
    keepTab(event) {
        if (event.key !== "Tab" || event.altKey || event.ctrlKey || event.metaKey) return;
        const parts = this.focusable();
        const at = parts.indexOf(document.activeElement);
        const next = parts.length === 0 ? this.frame
            : event.shiftKey ? (at <= 0 ? parts[parts.length - 1] : null)
            : (at < 0 || at === parts.length - 1 ? parts[0] : null);
        if (next) {
            event.preventDefault();
            next.focus();
        }
    }

    close() {
        if (this.closed) return;
        this.closed = true;
        (this.backdrop || this.frame).remove();
        if (this.backdrop) {
            this.layer.modalClosed(this);
            const top = this.layer.topModal();
            const back = this.returnTo;
            if (back && back.isConnected && back !== document.body && (!top || top.frame.contains(back))) back.focus();
            else if (top) top.focusFirst();
        }
    }
}
PageWindow.count = 0;

// A dialog's push button with its text; "submit" for the one that answers its form.
function button(text, type = "button") {
    const node = element("button", "button", text);
    node.type = type;
    return node;
}

// The button given, the close box and Escape give a dialog's cancelling answer, while may() says yes.
function onCancel(window, button, cancel, may = () => true) {
    for (const node of [button, window.closeBox]) node.addEventListener("click", () => { if (may()) cancel(); });
    window.frame.addEventListener("keydown", event => {
        if (event.key === "Escape" && may()) { event.preventDefault(); cancel(); }
    });
}

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

// The open windows: the modal ones in the order they came, the one splash or about window in
// use (splashForm), the start-up splash, and the scale the game is shown at. onModal runs when
// a modal window comes up. The dialogs' fixed texts are the program's (texts).
export class WindowLayer {
    constructor(onModal) {
        this.onModal = onModal;
        this.modals = [];
        this.splashForm = null;
        this.splash = null;
        this.scale = 1;
        this.texts = null;
        // Focus that gets outside the modal window on top is taken back into it.
        document.addEventListener("focusin", event => {
            const top = this.topModal();
            if (top && !top.frame.contains(event.target)) top.focusFirst();
        });
    }

    topModal() { return this.modals.length > 0 ? this.modals[this.modals.length - 1] : null; }

    modalShown(window) {
        this.modals.push(window);
        this.onModal();
        // A start-up splash still up takes no clicks while the modal window is up.
        if (this.splash && !this.splash.closed) this.splash.frame.classList.add("inert");
        this.place(window.frame);
    }

    modalClosed(window) {
        this.modals = this.modals.filter(w => w !== window);
        if (this.modals.length === 0 && this.splash) this.splash.frame.classList.remove("inert");
    }

    // A modal window is centred over the game window, as a desktop dialog over its owner, and
    // kept on the page; before the game window is shown (the start-up messages) it is centred on
    // the page.
    place(frame) {
        const game = document.getElementById("game");
        if (game.hidden) {
            frame.classList.remove("placed");
            return;
        }
        frame.classList.add("placed");
        const owner = game.getBoundingClientRect(), own = frame.getBoundingClientRect();
        const at = (start, ownerSize, size, room) => Math.round(Math.max(0, Math.min(start + (ownerSize - size) / 2, room - size)));
        // A zoomed frame's own position is zoomed with it.
        frame.style.left = at(owner.left, owner.width, own.width, document.documentElement.clientWidth) / this.scale + "px";
        frame.style.top = at(owner.top, owner.height, own.height, window.innerHeight) / this.scale + "px";
    }

    // The open windows scaled and placed as the game is.
    setScale(scale) {
        this.scale = scale;
        for (const open of this.modals) {
            this.fitWindow(open.frame);
            this.place(open.frame);
        }
        if (this.splashForm && !this.splashForm.closed) this.fitWindow(this.splashForm.frame);
        if (this.splash && !this.splash.closed) this.fitWindow(this.splash.frame);
    }

    fitWindow(frame) {
        frame.style.zoom = this.scale === 1 ? "" : String(this.scale);
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
            const ok = button(this.texts.ok);
            ok.autofocus = true;
            buttons.appendChild(ok);
            window.client.append(body, buttons);
            const done = () => { window.close(); resolve(); };
            onCancel(window, ok, done);
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
            const cancel = button(this.texts.cancel);
            buttons.append(button(this.texts.ok, "submit"), cancel);
            form.append(label, buttons);
            window.client.appendChild(form);
            const done = answer => { window.close(); resolve(answer); };
            form.addEventListener("submit", event => { event.preventDefault(); done(edit.value); });
            onCancel(window, cancel, () => done(null));
            window.show();
            edit.select();
        });
    }

    // The file chooser: the puzzle files the game holds in this browser (names, in the order
    // listed), as a desktop chooser lists the files of the game's folder, and pickFile (the
    // browser's file picker) for a file from the device. The answer is the chosen file's name,
    // or null when the player cancelled.
    chooseFile(names, pickFile) {
        return new Promise(resolve => {
            const window = new PageWindow(this, { caption: this.texts.open, name: "OpenDialog" });
            const form = element("form", "open-file");
            const label = element("label", "prompt", this.texts.keptFiles);
            const list = element("select", "file-list");
            list.size = 6;
            for (const name of names) list.appendChild(new Option(name, name));
            list.selectedIndex = names.length > 0 ? 0 : -1;
            list.autofocus = true;
            label.appendChild(list);
            const buttons = element("div", "buttons");
            const open = button(this.texts.open, "submit");
            open.disabled = names.length === 0;
            const device = button(this.texts.fromDevice);
            device.dataset.name = "fromDevice";
            const cancel = button(this.texts.cancel);
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
                const name = await pickFile();
                picking = false;
                if (name !== null) done(name);
            });
            onCancel(window, cancel, () => done(null), () => !picking);
            window.show();
        });
    }
}
