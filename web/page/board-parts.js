// The board for screen readers: the parts of the board as the window layer describes them, as
// page elements laid over the canvas.
import { element } from "./dom.js";

// The parts of the board as the window layer describes them, as page elements laid over the
// canvas: the alphabet as a toolbar of buttons (pressed: the selected letter), the puzzle as a
// grid of nine rows, and the status box as a button. They take no pointer input (the canvas
// does); the keyboard moves among them with the arrows, and Enter or Space does what a click does.
export class BoardParts {
    constructor(page, container) {
        this.page = page;
        this.container = container;
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
        // A part shows its focus only while the keyboard is in use: pointer play shows none.
        document.addEventListener("keydown", () => container.classList.add("keyboard"), true);
        document.addEventListener("pointerdown", () => container.classList.remove("keyboard"), true);
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
