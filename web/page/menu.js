// The menu bar: the program's menus as page elements with menu roles, opened by pointer or by
// Alt with a menu's letter, and the chosen item's name handed to the program.
import { element } from "./dom.js";

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

export class MenuBar {
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
        if (focusFirst) this.focusItem(entry, 0);
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

    // The item at index from, counted round the menu.
    focusItem(entry, from) {
        const count = entry.items.length;
        if (count > 0) entry.items[(from % count + count) % count].node.focus();
    }

    choose(item) {
        if (!item.enabled) return;
        const entry = this.open;
        this.close();
        if (entry) entry.button.focus();
        this.page.enter("lumera_menu_click", ["string"], [item.name]);
    }

    // Alt with a menu's letter opens it; in an open menu the letter alone chooses an item (or,
    // shared by several, moves among them), the arrows move, Enter chooses and Escape closes.
    onKeyDown(event) {
        if (this.page.busy || this.page.ended || this.page.windows.modals.length > 0) return;
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
            this.focusItem(entry, index < 0 ? (step > 0 ? 0 : -1) : index + step);
        } else if (key === "ArrowRight" || key === "ArrowLeft") {
            event.preventDefault();
            const at = this.entries.indexOf(entry) + (key === "ArrowRight" ? 1 : -1);
            this.openEntry(this.entries[(at + this.entries.length) % this.entries.length], true);
        } else if ((key === "Enter" || key === " ") && index >= 0) {
            event.preventDefault();
            this.choose(entry.items[index]);
        } else if (!event.ctrlKey && !event.metaKey) {
            // A letter that two items share moves to the next of them; Enter then chooses.
            const sharing = entry.items.filter(i => i.mnemonic === letter);
            if (sharing.length === 1) {
                event.preventDefault();
                this.choose(sharing[0]);
            } else if (sharing.length > 1) {
                event.preventDefault();
                const next = sharing.find(item => entry.items.indexOf(item) > index) || sharing[0];
                next.node.focus();
            }
        }
    }
}
