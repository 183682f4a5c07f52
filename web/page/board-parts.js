// The board for screen readers: the window layer's board tree as page elements laid over the
// canvas, and the live region of its announcements.
import { element } from "./dom.js";

// The board's tree as the window layer gives it: its groups in reading order (each a container
// with the role and name the program gives it, a grid holding its rows), its parts as page
// elements over the canvas, each placed by its group, row and column, and a polite live region
// where each move is announced. The parts take no pointer input (the canvas does); the keyboard
// moves within a group with the arrows, Tab goes from group to group, and Enter or Space does
// what a click does.
export class BoardParts {
    constructor(page, container) {
        this.page = page;
        this.container = container;
        this.parts = [];
        this.groups = [];
        this.live = element("div", "board-live");
        this.live.setAttribute("aria-live", "polite");
        container.addEventListener("keydown", event => this.onKeyDown(event));
        // A part shows its focus only while the keyboard is in use: pointer play shows none.
        document.addEventListener("keydown", () => container.classList.add("keyboard"), true);
        document.addEventListener("pointerdown", () => container.classList.remove("keyboard"), true);
    }

    // The groups in reading order: { role, name, rows, columns }.
    setGroups(groups) {
        for (const { role, name, rows, columns } of groups) {
            const node = element("div", "board-group");
            node.setAttribute("role", role);
            node.setAttribute("aria-label", name);
            const rowNodes = [];
            for (let row = 0; role === "grid" && row < rows; ++row) {
                const rowNode = element("div", "board-row");
                rowNode.setAttribute("role", "row");
                node.appendChild(rowNode);
                rowNodes.push(rowNode);
            }
            this.container.appendChild(node);
            this.groups.push({ node, rows: rowNodes, columns, cells: [] });
        }
        this.container.appendChild(this.live);
    }

    // One part: { part, group, row, column, role, name, description, left, top, width, height,
    // pressed (the alphabet's buttons only) }.
    update(shown) {
        let node = this.parts[shown.part];
        if (!node) {
            const group = this.groups[shown.group];
            node = element("div", "board-part");
            node.setAttribute("role", shown.role);
            node.tabIndex = shown.row === 0 && shown.column === 0 ? 0 : -1;
            Object.assign(node.style, { left: shown.left + "px", top: shown.top + "px",
                                        width: shown.width + "px", height: shown.height + "px" });
            node.dataset.part = String(shown.part);
            node.dataset.group = String(shown.group);
            node.dataset.row = String(shown.row);
            node.dataset.column = String(shown.column);
            node.addEventListener("click", () => this.page.enter("lumera_activate_part", ["number"], [shown.part]));
            (group.rows[shown.row] || group.node).appendChild(node);
            group.cells[shown.row * group.columns + shown.column] = node;
            this.parts[shown.part] = node;
        }
        node.setAttribute("aria-label", shown.name);
        if (shown.description) node.setAttribute("aria-description", shown.description);
        else node.removeAttribute("aria-description");
        if (shown.pressed !== undefined) node.setAttribute("aria-pressed", shown.pressed ? "true" : "false");
    }

    // The same text twice in a row is a new move too: the region is emptied first.
    announce(text) {
        this.live.textContent = "";
        setTimeout(() => { this.live.textContent = text; }, 50);
    }

    onKeyDown(event) {
        const { group, row, column } = event.target.dataset;
        if (group === undefined || event.altKey || event.ctrlKey || event.metaKey) return;
        if (event.key === "Enter" || event.key === " ") {
            event.preventDefault();
            event.target.click();
            return;
        }
        const steps = { ArrowLeft: [0, -1], ArrowRight: [0, 1], ArrowUp: [-1, 0], ArrowDown: [1, 0] };
        if (!(event.key in steps)) return;
        const { cells, columns } = this.groups[Number(group)];
        const [down, across] = steps[event.key];
        const nextRow = Number(row) + down, nextColumn = Number(column) + across;
        const next = nextColumn >= 0 && nextColumn < columns ? cells[nextRow * columns + nextColumn] : undefined;
        if (!next) return;
        event.preventDefault();
        event.target.tabIndex = -1;
        next.tabIndex = 0;
        next.focus();
    }
}
