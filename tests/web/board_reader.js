// Reads the board back from the page's canvas: each cell's pixels are looked up among the Qt
// board's cells (web_reference_cells), which gives the letter and the fill it shows; a cell that
// matches none, and a background pixel that is not grey, are reported. The board's size and its
// cells' rectangles come from the same file, as the game lays them out.
"use strict";

const fs = require("fs");

const WHITE = "ffffff", RED = "ff0000", SILVER = "c0c0c0", YELLOW = "ffff00";

// The geometry of the reference file that LUMERA_WEB_REFERENCE names.
let geometry = null;
function boardGeometry() {
    if (!geometry) geometry = JSON.parse(fs.readFileSync(process.env.LUMERA_WEB_REFERENCE, "utf8")).geometry;
    return geometry;
}
const asRect = ([left, top, right, bottom]) => ({ left, top, right, bottom });
const alphabetCellRect = n => asRect(boardGeometry().alphabet[n - 1]);
const puzzleCellRect = n => asRect(boardGeometry().grid[n - 1]);
const boardSize = () => ({ width: boardGeometry().board[0], height: boardGeometry().board[1] });

class BoardReader {
    // The reference cells drawn at a device ratio (1 or 2); the canvas is read at the same one.
    constructor(reference, ratio = 1) {
        this.ratio = ratio;
        this.cells = new Map();
        for (const [fill, letters] of Object.entries(reference.letters))
            for (const [code, pixels] of Object.entries(letters))
                if (!this.cells.has(pixels)) this.cells.set(pixels, { ch: String.fromCodePoint(Number(code)), fill });
        this.status = new Map();
        for (const [text, pixels] of Object.entries(reference.status)) this.status.set(pixels, text);
    }

    async read(page) {
        const { width, height, rgb } = await page.evaluate(() => {
            const canvas = document.getElementById("board");
            const data = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
            let text = "";
            for (let i = 0; i < data.length; i += 4) text += String.fromCharCode(data[i], data[i + 1], data[i + 2]);
            return { width: canvas.width, height: canvas.height, rgb: btoa(text) };
        });
        const k = this.ratio;
        const board = boardSize();
        if (width !== board.width * k || height !== board.height * k)
            throw new Error(`the canvas is ${width} x ${height}, not ${board.width * k} x ${board.height * k}`);
        const pixels = Buffer.from(rgb, "base64");
        const covered = new Uint8Array(width * height);
        const cut = rect => {
            const rows = [];
            for (let y = rect.top * k; y < (rect.bottom + 1) * k; ++y) {
                rows.push(pixels.subarray((y * width + rect.left * k) * 3, (y * width + (rect.right + 1) * k) * 3));
                covered.fill(1, y * width + rect.left * k, y * width + (rect.right + 1) * k);
            }
            return Buffer.concat(rows).toString("base64");
        };
        const mismatches = [];
        const cell = (rect, name) => {
            const found = this.cells.get(cut(rect));
            if (!found) mismatches.push(name);
            return found || { ch: "?", fill: "unknown" };
        };
        const alphabet = [], grid = [];
        for (let n = 1; n <= boardGeometry().alphabet.length; ++n) alphabet.push(cell(alphabetCellRect(n), `alphabet ${n}`));
        for (let n = 1; n <= boardGeometry().grid.length; ++n) grid.push(cell(puzzleCellRect(n), `grid ${n}`));
        const STATUS = asRect(boardGeometry().status);
        const statusText = this.status.get(cut(STATUS));
        if (statusText === undefined) mismatches.push("status box");
        const status = {
            text: statusText,
            fill: Buffer.from(pixels.subarray(((STATUS.top + 1) * k * width + (STATUS.right - 2) * k) * 3,
                                              ((STATUS.top + 1) * k * width + (STATUS.right - 2) * k + 1) * 3)).toString("hex"),
        };
        const strayPixels = [];
        for (let i = 0; i < width * height && strayPixels.length < 5; ++i)
            if (!covered[i] && !(pixels[i * 3] === 128 && pixels[i * 3 + 1] === 128 && pixels[i * 3 + 2] === 128))
                strayPixels.push(`(${i % width}, ${Math.floor(i / width)}) in device pixels`);
        return { alphabet, grid, status, mismatches, strayPixels };
    }
}

module.exports = { BoardReader, alphabetCellRect, puzzleCellRect, boardSize, WHITE, RED, SILVER, YELLOW };
