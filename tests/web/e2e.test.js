// A player's visits to Lumera 8.0 in Debian's Chromium (headless), over a local server: the
// first visit's messages, the caption, the board's pixels against the Qt board's, a whole puzzle
// solved by clicks with the board read back from the canvas after every exchange, the stored
// record, Specify Starting puzzle by a shared mnemonic with its input box over the game keeping
// the focus, solver-aid mode, About above the start-up splash, a reload, bad input, and the game
// playing with the server stopped.
//
//   LUMERA_WEB_SITE=build-web LUMERA_WEB_REFERENCE=cells.json node --test tests/web/e2e.test.js
"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");
const puppeteer = require("puppeteer-core");
const { serve } = require("./serve.js");
const { BoardReader, alphabetCellRect, puzzleCellRect, boardSize, SILVER, WHITE, RED, YELLOW } = require("./board_reader.js");

const SITE = path.resolve(process.env.LUMERA_WEB_SITE || path.join(__dirname, "../../build-web"));
const REFERENCE = process.env.LUMERA_WEB_REFERENCE;
const REFERENCE_2 = process.env.LUMERA_WEB_REFERENCE_2;
const CHROMIUM = process.env.LUMERA_CHROMIUM || "/usr/bin/chromium";
const ALPHABET = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
const CAPTION = "Lumera 8.0 by lumera.example - [Lumera8.dat]";

const isLetter = ch => ch.length === 1 && ch >= "A" && ch <= "Z";

// ---- The browser and the page -------------------------------------------------------------

async function launch() {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), "lumera8-chromium-"));
    const browser = await puppeteer.launch({
        executablePath: CHROMIUM, headless: true, userDataDir: profile,
        args: ["--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
               "--disable-component-update", "--disable-sync", "--autoplay-policy=no-user-gesture-required",
               "--force-device-scale-factor=1"],
    });
    return { browser, profile };
}

// Waits until the game has finished handling the last event, or a modal dialog holds it.
async function settle(page) {
    await page.waitForFunction(() => !lumeraPage.busy || !!document.querySelector(".backdrop [role=alertdialog], .backdrop [role=dialog]"),
                               { timeout: 15000 });
}

async function openDialog(page, { timeout = 15000 } = {}) {
    const handle = await page.waitForSelector(".backdrop [role=alertdialog], .backdrop [role=dialog]", { timeout });
    return handle.evaluate(frame => {
        const labelledBy = frame.getAttribute("aria-labelledby");
        return {
            role: frame.getAttribute("role"),
            caption: labelledBy ? document.getElementById(labelledBy).textContent : frame.getAttribute("aria-label"),
            text: (frame.querySelector(".message-text") || frame.querySelector(".prompt") || { textContent: "" }).textContent,
            name: frame.dataset.name,
        };
    });
}

async function answerMessage(page) {
    await page.click(".backdrop .buttons button");
    await settle(page);
}

async function answerInput(page, text) {
    const edit = await page.waitForSelector(".backdrop [data-name=InputBox] input.edit");
    await edit.click({ clickCount: 3 });
    await edit.type(text);
    await page.keyboard.press("Enter");
    await settle(page);
}

async function waitForGame(page) {
    await page.waitForFunction(() => document.documentElement.dataset.state === "running", { timeout: 20000 });
}

async function menu(page, entry, item) {
    await page.click(`.menu-entry[data-name=${entry}]`);
    await page.click(`.menu-item[data-name=${item}]`);
    await settle(page);
}

// "Select a different Puzzle set", and in its chooser a file from the device.
async function chooseFromDevice(page, file) {
    await menu(page, "Game1", "menuNewPuzzleSet");
    assert.equal((await openDialog(page)).name, "OpenDialog");
    const [chooser] = await Promise.all([page.waitForFileChooser(), page.click(".backdrop [data-name=fromDevice]")]);
    await chooser.accept([file]);
}

// Where a dialog's frame lies against the game window's: the centres' distance, and the frame.
async function placement(page, selector) {
    return page.$eval(selector, frame => {
        const own = frame.getBoundingClientRect(), game = document.getElementById("game").getBoundingClientRect();
        return { dx: Math.abs(own.left + own.width / 2 - (game.left + game.width / 2)),
                 dy: Math.abs(own.top + own.height / 2 - (game.top + game.height / 2)),
                 own: { left: own.left, top: own.top, width: own.width, height: own.height } };
    });
}

const focusedName = page => page.evaluate(() => document.activeElement.dataset.name || document.activeElement.tagName);

async function clickBoard(page, x, y) {
    const box = await (await page.$("#board")).boundingBox();
    await page.mouse.click(box.x + x, box.y + y);
    await settle(page);
}

const clickAlphabet = (page, letter) => {
    const r = alphabetCellRect(letter.charCodeAt(0) - 64);
    return clickBoard(page, r.left + 6, r.top + 6);
};
const clickCell = (page, n) => {
    const r = puzzleCellRect(n);
    return clickBoard(page, r.left + 6, r.top + 6);
};

function gridText(board) { return board.grid.map(c => c.ch).join(""); }

function swapped(text, a, b) {
    return Array.from(text, ch => (ch === a ? b : ch === b ? a : ch)).join("");
}

function storedRecord(text) {
    const match = /"fRegInfo"=hex:([0-9a-f,\\\s]*)/i.exec(text);
    assert.ok(match, "the stored text holds fRegInfo");
    const bytes = match[1].replace(/[\\\s]/g, "").split(",").filter(Boolean).map(h => parseInt(h, 16));
    const short = (at, capacity) => String.fromCharCode(...bytes.slice(at + 1, at + 1 + Math.min(bytes[at], capacity)));
    return {
        size: bytes.length, version: short(0, 10), puzzleFile: short(11, 133), showCorrect: bytes[145], sound: bytes[146],
        puzzleIndex: bytes[148] | bytes[149] << 8 | bytes[150] << 16 | bytes[151] << 24,
    };
}

// The kept puzzle files as stored: a header line, then "<name length> <size>\n<name><bytes>" each.
function keptFiles(text) {
    const files = [];
    for (let at = text.indexOf("\n") + 1; at > 0 && at < text.length;) {
        const end = text.indexOf("\n", at);
        const [nameLength, size] = text.slice(at, end).split(" ").map(Number);
        files.push([text.substr(end + 1, nameLength), size]);
        at = end + 1 + nameLength + size;
    }
    return files;
}

const FOREIGN = "Zo\u00eb \u2014 \u65e5\u672c \u20ac5";  // beyond Latin-1: kept as it stands

// A visit of its own (fresh storage) whose page's local storage is set up by a script that
// runs before the page's own.
async function visitWith(browser, script, argument) {
    const context = await browser.createBrowserContext();
    const visit = await context.newPage();
    await visit.setViewport({ width: 900, height: 640, deviceScaleFactor: 1 });
    if (script) await visit.evaluateOnNewDocument(script, argument);
    return { context, visit };
}

const dialogOpen = async page => !!(await page.$(".backdrop [role=alertdialog], .backdrop [role=dialog]"));

// ---- The visits ---------------------------------------------------------------------------

test("a player's visits in Chromium", { timeout: 600000 }, async t => {
    assert.ok(REFERENCE && fs.existsSync(REFERENCE), "LUMERA_WEB_REFERENCE names the Qt board's cells (web_reference_cells)");
    assert.ok(REFERENCE_2 && fs.existsSync(REFERENCE_2), "LUMERA_WEB_REFERENCE_2 names them at twice the density");
    assert.ok(fs.existsSync(path.join(SITE, "lumera8.wasm")), `the site is built in ${SITE}`);
    const reader = new BoardReader(JSON.parse(fs.readFileSync(REFERENCE, "utf8")));
    const server = await serve(SITE);
    const { browser, profile } = await launch();
    const page = await browser.newPage();
    const pageErrors = [];
    page.on("pageerror", error => pageErrors.push(error.message));
    await page.setViewport({ width: 900, height: 640, deviceScaleFactor: 1 });
    const read = async () => {
        const board = await reader.read(page);
        assert.deepEqual(board.mismatches, [], "every cell shows the Qt board's pixels for some letter and colour");
        assert.deepEqual(board.strayPixels, [], "the background between the cells is the window's grey");
        return board;
    };

    try {
        await t.test("first visit: the splash, the fallback message, then the board", async () => {
            await page.goto(server.url, { waitUntil: "load" });
            const splash = await page.waitForSelector("[data-name=splashForm]", { visible: true });
            assert.ok(splash);
            const message = await openDialog(page);
            assert.equal(message.role, "alertdialog");
            assert.equal(message.caption, "Information");
            assert.equal(message.text, "Unable to open puzzle file - Lumera2.dat! Defaulting to Lumera8.dat");
            // Timer1 takes the splash away while the message still waits for the player.
            await page.waitForSelector("[data-name=splashForm]", { hidden: true, timeout: 4000 });
            assert.ok(await page.$(".backdrop [role=alertdialog]"), "the message is still open");
            await answerMessage(page);
            await waitForGame(page);
        });

        await t.test("without the puzzle collection the error report comes, then an empty board", async () => {
            // A visit of its own (fresh storage, no service worker) whose server has no Lumera8.dat.
            const context = await browser.createBrowserContext();
            const visit = await context.newPage();
            await visit.setViewport({ width: 900, height: 640, deviceScaleFactor: 1 });
            await visit.setRequestInterception(true);
            visit.on("request", request => (request.url().endsWith("/Lumera8.dat") ? request.abort() : request.continue()));
            await visit.goto(server.url, { waitUntil: "load" });
            assert.equal((await openDialog(visit)).text, "Unable to open puzzle file - Lumera2.dat! Defaulting to Lumera8.dat");
            await answerMessage(visit);
            const report = await openDialog(visit);
            assert.deepEqual([report.role, report.caption, report.text],
                             ["alertdialog", "Lumera 8.0 Freeware Edition", "No such file or directory."]);
            assert.ok(await visit.$(".backdrop [role=alertdialog] svg.icon"), "the report has its stop icon");
            await answerMessage(visit);
            await waitForGame(visit);
            const empty = await reader.read(visit);
            assert.deepEqual(empty.mismatches, []);
            assert.ok(empty.grid.every(c => c.ch === " " && c.fill === SILVER), "the board is empty");
            assert.ok(empty.alphabet.every(c => c.fill === WHITE), "no letter is selected");
            await context.close();
        });

        await t.test("the caption is the page's title and the frame's", async () => {
            assert.equal(await page.title(), CAPTION);
            assert.equal(await page.$eval("#caption", node => node.textContent), CAPTION);
            assert.deepEqual(await page.$eval("#game", g => [g.offsetWidth, g.offsetHeight]), [614, 314]);
        });

        let board;
        await t.test("the board shows the Qt board's pixels", async () => {
            board = await read();
            assert.equal(board.status.text, "Puzzle # 1");
            assert.equal(board.status.fill, RED);
            assert.deepEqual(board.alphabet.map(c => c.ch).join(""), ALPHABET);
            assert.deepEqual(board.alphabet.map(c => c.fill), ALPHABET.split("").map(l => (l === "A" ? RED : WHITE)));
            assert.ok(board.grid.some(c => isLetter(c.ch)), "the puzzle's letters are on the board");
            assert.ok(board.grid.slice(255).every(c => c.ch === " " && c.fill === SILVER), "cells past the text are blank and silver");
        });

        await t.test("a selection turns the old letter white and the new one red", async () => {
            await clickAlphabet(page, "Q");
            board = await read();
            assert.equal(board.alphabet[0].fill, WHITE);
            assert.equal(board.alphabet[16].fill, RED);
            assert.equal(board.alphabet.filter(c => c.fill === RED).length, 1);
        });

        await t.test("screen readers hear the board's parts, and the keyboard plays them", async () => {
            const parts = await page.$$eval("#boardParts [data-part]", nodes => nodes.map(n => ({
                part: Number(n.dataset.part), role: n.getAttribute("role"), name: n.getAttribute("aria-label"),
                description: n.getAttribute("aria-description"), pressed: n.getAttribute("aria-pressed") })));
            assert.equal(parts.length, 297);
            const byPart = new Map(parts.map(p => [p.part, p]));
            assert.deepEqual(byPart.get(16), { part: 16, role: "button", name: "Q", description: null, pressed: "true" });
            assert.equal(byPart.get(296).name, "Puzzle # 1");
            for (let n = 0; n < 270; ++n) {
                const cell = board.grid[n], part = byPart.get(26 + n);
                assert.equal(part.role, "gridcell");
                assert.equal(part.name, cell.ch === " " ? "blank" : cell.ch, `grid cell ${n + 1}`);
                if (n < 255 && isLetter(cell.ch)) assert.equal(part.description, cell.fill === SILVER ? "correct" : null);
            }
            await page.focus("#boardParts [data-part='0']");
            await page.keyboard.press("ArrowRight");
            await page.keyboard.press("Enter");
            await settle(page);
            board = await read();
            assert.equal(board.alphabet[1].fill, RED, "Enter on B selects it");
            assert.equal(await page.$eval("#boardParts [data-part='1']", n => n.getAttribute("aria-pressed")), "true");
            // The keyboard's focus is shown inside the cell; after a pointer's click on the board, none.
            const outline = () => page.$eval("#boardParts [data-part='1']", n => [getComputedStyle(n).outlineStyle, getComputedStyle(n).outlineOffset]);
            assert.deepEqual(await outline(), ["dotted", "-3px"]);
            await clickBoard(page, 300, 55);
            assert.equal((await outline())[0], "none");
            // The groups in reading order, and one polite announcement for a move made from the table.
            assert.deepEqual(await page.$$eval("#boardParts > [role]", nodes => nodes.map(n => `${n.getAttribute("role")} ${n.getAttribute("aria-label")}`)),
                             ["toolbar Alphabet", "group Status", "grid Puzzle"]);
            await page.focus("#boardParts [data-part='26']");
            await page.keyboard.press("Enter");
            await settle(page);
            await page.waitForFunction(() => document.querySelector("#boardParts [aria-live=polite]").textContent !== "");
            const spoken = await page.$eval("#boardParts [aria-live=polite]", n => n.textContent);
            assert.match(spoken, /^B in (no|\d+) cells?(, [A-Z] in (no|\d+) cells?)?$/);
            board = await read();
        });

        await t.test("at twice the density the board shows the Qt board's pixels at that density", async () => {
            const before = board;
            // An emulated density takes effect at the next load; the position is kept till then.
            await page.setViewport({ width: 900, height: 640, deviceScaleFactor: 2 });
            await page.reload({ waitUntil: "load" });
            await waitForGame(page);
            const sharp = await new BoardReader(JSON.parse(fs.readFileSync(REFERENCE_2, "utf8")), 2).read(page);
            assert.deepEqual(sharp.mismatches, []);
            assert.deepEqual(sharp.strayPixels, []);
            assert.equal(sharp.status.text, before.status.text);
            assert.equal(sharp.alphabet.filter(c => c.fill === RED).map(c => c.ch).join(""), "A");
            await page.setViewport({ width: 900, height: 640, deviceScaleFactor: 1 });
            await page.reload({ waitUntil: "load" });
            await waitForGame(page);
            board = await read();
            assert.equal(board.status.text, before.status.text);
        });

        let quotation;
        await t.test("a whole puzzle solved by clicks, the board read back after every exchange", async () => {
            // The sounds the browser plays to their end.
            await page.evaluate(() => {
                window.soundsPlayed = [];
                const play = HTMLMediaElement.prototype.play;
                HTMLMediaElement.prototype.play = function () {
                    this.addEventListener("ended", () => soundsPlayed.push(this.src.split("/").pop()), { once: true });
                    return play.call(this);
                };
            });
            let exchanges = 0;
            for (;;) {
                const n = board.grid.findIndex(c => isLetter(c.ch) && c.fill !== SILVER);
                assert.ok(n >= 0, "an unsolved board has a white letter");
                const confirmed = new Set(board.grid.filter(c => isLetter(c.ch) && c.fill === SILVER).map(c => c.ch));
                let solved = false;
                for (const candidate of ALPHABET) {
                    const current = board.grid[n].ch;
                    if (candidate === current || confirmed.has(candidate)) continue;
                    await clickAlphabet(page, candidate);
                    const before = gridText(board);
                    await clickCell(page, n + 1);
                    ++exchanges;
                    if (await page.$(".backdrop [role=alertdialog]")) {
                        quotation = swapped(before, current, candidate);
                        solved = true;
                        break;
                    }
                    board = await read();
                    assert.equal(board.alphabet[candidate.charCodeAt(0) - 65].fill, RED);
                    assert.equal(gridText(board), swapped(before, current, candidate), `exchange ${exchanges}: ${current} for ${candidate}`);
                    if (board.grid[n].fill === SILVER) break;
                }
                if (solved) break;
            }
            t.diagnostic(`solved in ${exchanges} exchanges`);
            const message = await openDialog(page);
            assert.equal(message.caption, "Congratulations! You have finished this puzzle!");
            assert.equal(message.text.replace(/ +/g, " ").trim(), quotation.replace(/ +/g, " ").trim());
            await page.waitForFunction(() => soundsPlayed.some(name => /^wave[1-4]\.wav$/.test(name)), { timeout: 10000 });
            await answerMessage(page);
            board = await read();
            assert.equal(board.status.text, "Puzzle # 2");
        });

        await t.test("the stored record names the file and the puzzle passed", async () => {
            const text = await page.evaluate(() => localStorage.getItem("lumera8.registry"));
            assert.match(text, /^REGEDIT4/);
            assert.match(text, /\[HKEY_LOCAL_MACHINE\\Software\\Lumera800\]/);
            const record = storedRecord(text);
            assert.deepEqual([record.size, record.puzzleFile, record.showCorrect, record.sound, record.puzzleIndex],
                             [152, "Lumera8.dat", 1, 1, 0]);
        });

        await t.test("Specify Starting puzzle, chosen with the keyboard's mnemonics; the input box over the game keeps the focus", async () => {
            await page.keyboard.down("Alt");
            await page.keyboard.press("KeyG");
            await page.keyboard.up("Alt");
            assert.equal(await page.$eval(".menu-entry[data-name=Game1]", b => b.getAttribute("aria-expanded")), "true");
            // Two items share S: the letter moves between them, Enter chooses.
            const moves = [];
            for (let n = 0; n < 3; ++n) {
                await page.keyboard.press("KeyS");
                moves.push(await focusedName(page));
            }
            assert.deepEqual(moves, ["menuSpecifyStart", "menuSolve", "menuSpecifyStart"]);
            assert.equal(await page.$(".backdrop"), null, "a shared letter chooses nothing");
            await page.keyboard.press("Enter");
            await settle(page);
            const box = await openDialog(page);
            assert.equal(box.text, "Enter new puzzle number to start at:");
            const placed = await placement(page, ".backdrop [data-name=InputBox]");
            assert.ok(placed.dx <= 1 && placed.dy <= 1, `the input box is centred over the game (${placed.dx}, ${placed.dy} off)`);
            for (const key of ["Tab", "Tab", "Tab", "Tab", "Tab", "Shift+Tab", "Shift+Tab", "Shift+Tab", "Shift+Tab", "Shift+Tab"]) {
                if (key === "Tab") await page.keyboard.press("Tab");
                else { await page.keyboard.down("Shift"); await page.keyboard.press("Tab"); await page.keyboard.up("Shift"); }
                assert.ok(await page.evaluate(() => !!document.activeElement.closest("[data-name=InputBox]")), `${key} stays in the input box`);
            }
            // The open dialog follows the page's width, as the game does.
            const dialogRight = () => page.$eval(".backdrop [data-name=InputBox]", f => f.getBoundingClientRect().right);
            const wide = await dialogRight();
            await page.setViewport({ width: 300, height: 640, deviceScaleFactor: 1 });
            await page.waitForFunction(() => document.querySelector(".backdrop [data-name=InputBox]").getBoundingClientRect().right <= 300);
            await page.setViewport({ width: 900, height: 640, deviceScaleFactor: 1 });
            await page.waitForFunction(right => document.querySelector(".backdrop [data-name=InputBox]").getBoundingClientRect().right === right, {}, wide);
            await answerInput(page, "7");
            assert.equal(await focusedName(page), "Game1", "the focus is back where it was");
            board = await read();
            assert.equal(board.status.text, "Puzzle # 7");
            assert.equal(storedRecord(await page.evaluate(() => localStorage.getItem("lumera8.registry"))).puzzleIndex, 6);
        });

        await t.test("solver-aid mode greys the five commands, the status box returns to the game", async () => {
            const five = ["menuNew", "menuCheat", "menuSpecifyStart", "menuNewPuzzleSet", "menuSolve"];
            const disabled = () => page.$$eval(".menu-item[aria-disabled=true]", items => items.map(i => i.dataset.name).sort());
            await menu(page, "Game1", "menuSolve");
            await answerInput(page, "QEB NRFZH YOLTK CLU");
            board = await read();
            assert.equal(board.status.text, "Click here to return to game.");
            assert.equal(board.status.fill, YELLOW);
            assert.equal(gridText(board).slice(0, 19), "QEB NRFZH YOLTK CLU");
            assert.deepEqual(await disabled(), [...five].sort());
            assert.equal(await page.$eval(".menu-item[data-name=menuNew]", i => i.getAttribute("role")), "menuitem");
            assert.equal(await page.$eval(".menu-item[data-name=menuSound]", i => i.getAttribute("aria-checked")), "true");
            await clickBoard(page, 300, 20);
            board = await read();
            assert.equal(board.status.text, "Puzzle # 7");
            assert.deepEqual(await disabled(), []);
        });

        await t.test("About opened while the splash is up comes above it, over the game; the splash waits", async () => {
            // A page as wide as the game puts the start-up splash where About goes; Timer1 is held
            // back so that the splash is still up.
            await page.setViewport({ width: 630, height: 330, deviceScaleFactor: 1 });
            const { identifier } = await page.evaluateOnNewDocument(() => {
                const setTimeout = window.setTimeout;
                window.setTimeout = (f, ms, ...rest) => setTimeout(f, ms === 1500 ? 30000 : ms, ...rest);
            });
            await page.reload({ waitUntil: "load" });
            await waitForGame(page);
            await page.removeScriptToEvaluateOnNewDocument(identifier);
            const splash = "#layer > [data-name=splashForm]";
            assert.ok(await page.$(splash + ":not(.closed)"), "the start-up splash is up");
            await page.keyboard.down("Alt");
            await page.keyboard.press("KeyH");
            await page.keyboard.up("Alt");
            await page.keyboard.press("KeyA");
            await page.waitForSelector(".backdrop [data-name=splashForm]");
            const placed = await placement(page, ".backdrop [data-name=splashForm]");
            assert.ok(placed.dx <= 1 && placed.dy <= 1, `About is centred over the game (${placed.dx}, ${placed.dy} off)`);
            // The two are siblings in the dialog layer: the later z-index is above.
            const [aboutZ, splashZ, splashPointer] = await page.evaluate(selector => {
                const splash = getComputedStyle(document.querySelector(selector));
                return [Number(getComputedStyle(document.querySelector(".backdrop")).zIndex), Number(splash.zIndex), splash.pointerEvents];
            }, splash);
            assert.ok(aboutZ > splashZ, `About (${aboutZ}) is above the splash (${splashZ})`);
            assert.equal(splashPointer, "none", "the splash takes no click while About is up");
            await page.click(".backdrop [data-name=btnClose]");
            await settle(page);
            assert.ok(await page.$(splash + ":not(.closed)"), "the splash stays until it is clicked");
            await page.click(splash);
            assert.equal(await page.$(splash + ":not(.closed)"), null);
            await page.setViewport({ width: 900, height: 640, deviceScaleFactor: 1 });
        });

        await t.test("a reload finds the position again", async () => {
            await page.reload({ waitUntil: "load" });
            await waitForGame(page);
            board = await read();
            assert.equal(board.status.text, "Puzzle # 7");
            assert.equal(await page.title(), CAPTION);
        });

        await t.test("an empty puzzle file: the end-of-file message, and the game plays on", async () => {
            const empty = path.join(fs.mkdtempSync(path.join(os.tmpdir(), "lumera8-files-")), "empty.dat");
            fs.writeFileSync(empty, "");
            await chooseFromDevice(page, empty);
            await answerInput(page, "1");
            const message = await openDialog(page);
            assert.equal(message.text, "Last puzzle is 0! Starting back at puzzle 1. Press OK to continue.");
            await answerMessage(page);
            board = await read();
            assert.equal(await page.title(), "Lumera 8.0 by lumera.example - [empty.dat]");
            assert.ok(board.grid.every(c => c.ch === " " && c.fill === SILVER), "an empty puzzle is 270 silver blanks");
            assert.equal(board.status.text, "Puzzle # 1");
        });

        await t.test("a binary puzzle file is played as its bytes stand, and kept for the next visit", async () => {
            const binary = path.join(fs.mkdtempSync(path.join(os.tmpdir(), "lumera8-files-")), "binary.dat");
            fs.writeFileSync(binary, Buffer.from([0x00, 0xff, 0x41, 0x80, 0x0d, 0x42, 0x0a, 0x43, 0x01, 0x1a, 0x44]));
            await chooseFromDevice(page, binary);
            await answerInput(page, "1");
            assert.equal(await page.title(), "Lumera 8.0 by lumera.example - [binary.dat]");
            const kept = keptFiles(await page.evaluate(() => localStorage.getItem("lumera8.files")));
            assert.deepEqual(kept, [["binary.dat", 11], ["empty.dat", 0]]);
            await page.reload({ waitUntil: "load" });
            await waitForGame(page);
            assert.equal(await page.title(), "Lumera 8.0 by lumera.example - [binary.dat]");
        });

        await t.test("a file of one 5 MB line is played but not kept, and the kept files stay", async () => {
            const big = path.join(fs.mkdtempSync(path.join(os.tmpdir(), "lumera8-files-")), "big.dat");
            fs.writeFileSync(big, "A QUICK FOX ".repeat(5 * 1024 * 1024 / 12));
            const before = await page.evaluate(() => localStorage.getItem("lumera8.files"));
            await chooseFromDevice(page, big);
            await page.waitForSelector(".backdrop [data-name=OpenDialog]", { hidden: true, timeout: 15000 });
            assert.equal((await openDialog(page)).text, "big.dat is played now, but this browser cannot keep it for the next visit.");
            await answerMessage(page);
            await answerInput(page, "1");
            // Its first 255 characters, as the desktop plays them, do not fit the grid.
            assert.equal((await openDialog(page)).text,
                         "Sorry! Puzzle 1 is too large to align correctly. Some words may cross over rows. Press OK to continue.");
            await answerMessage(page);
            board = await read();
            assert.equal(await page.title(), "Lumera 8.0 by lumera.example - [big.dat]");
            assert.equal(board.status.text, "Puzzle # 1");
            assert.equal(await page.evaluate(() => localStorage.getItem("lumera8.files")), before);
        });

        await t.test("the file chooser lists the files the game holds, and the bundled collection is one of them", async () => {
            await menu(page, "Game1", "menuNewPuzzleSet");
            assert.equal((await openDialog(page)).caption, "Open");
            const listed = await page.$$eval(".backdrop [data-name=OpenDialog] option", options => options.map(o => o.value));
            assert.deepEqual(listed, ["Lumera8.dat", "big.dat", "binary.dat", "empty.dat"]);
            await page.click(".backdrop [data-name=OpenDialog] button[type=submit]");
            await answerInput(page, "3");
            // Another file under the bundled collection's name is turned away; the chooser stays.
            const impostor = path.join(fs.mkdtempSync(path.join(os.tmpdir(), "lumera8-files-")), "Lumera8.dat");
            fs.writeFileSync(impostor, "NOT THE BUNDLED COLLECTION\r\n");
            await chooseFromDevice(page, impostor);
            assert.match((await page.waitForSelector(".backdrop [role=alertdialog] .message-text")
                .then(m => m.evaluate(n => n.textContent))), /^Lumera8\.dat is the name of the puzzle collection/);
            await page.click(".backdrop [role=alertdialog] .buttons button");
            assert.ok(await page.evaluate(() => !!document.activeElement.closest("[data-name=OpenDialog]")), "the chooser has the focus again");
            await page.click(".backdrop [data-name=OpenDialog] button[type=submit]");
            await answerInput(page, "3");
            assert.equal(await page.title(), CAPTION);
            board = await read();
            assert.equal(board.status.text, "Puzzle # 3");
        });

        await t.test("a garbled stored record is set aside with a message, a foreign one falls back", async () => {
            // Planted from another page of the site: a running game writes its donation state as
            // it goes away, and would set the text aside itself before the next visit looks.
            const plant = async text => {
                await page.goto(server.url + "lumera8.html", { waitUntil: "load" });
                await page.evaluate(value => localStorage.setItem("lumera8.registry", value), text);
                await page.goto(server.url, { waitUntil: "load" });
            };
            const garbled = "\u0001garbage, not a registry export: " + FOREIGN;
            await plant(garbled);
            const setAside = await openDialog(page);
            assert.match(setAside.text, /could not be read\. They are kept under the name lumera8\.registry\.unreadable,/);
            await answerMessage(page);
            assert.equal((await openDialog(page)).text, "Unable to open puzzle file - Lumera2.dat! Defaulting to Lumera8.dat");
            await answerMessage(page);
            await waitForGame(page);
            assert.equal(await page.evaluate(() => localStorage.getItem("lumera8.registry.unreadable")), garbled);

            // A record from elsewhere: a file this browser never saw, beside a key of another program.
            const foreign = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"Kept\"=\"" + FOREIGN + "\"\r\n\r\n" +
                "[HKEY_LOCAL_MACHINE\\Software\\Lumera800]\r\n\"fRegInfo\"=hex:0a,4c,75,6d,65,72,61,20,37,2e,30," +
                "0e,43,3a,5c,47,61,6d,65,73,5c,61,2e,64,61,74\r\n";
            await plant(foreign);
            assert.equal((await openDialog(page)).text, "Unable to open puzzle file - C:\\Games\\a.dat! Defaulting to Lumera8.dat");
            await answerMessage(page);
            await waitForGame(page);
            const text = await page.evaluate(() => localStorage.getItem("lumera8.registry"));
            assert.ok(text.includes(`"Kept"="${FOREIGN}"`), "another program's value is kept exactly");
            assert.equal(storedRecord(text).puzzleFile, "Lumera8.dat");
        });

        await t.test("storage that the browser blocks or keeps full costs the settings only, and is told once", async () => {
            // Blocked: every access to local storage throws.
            const blocked = await visitWith(browser, () => Object.defineProperty(window, "localStorage", {
                configurable: true, get() { throw new DOMException("Access is denied for this document.", "SecurityError"); },
            }));
            await blocked.visit.goto(server.url, { waitUntil: "load" });
            const told = await openDialog(blocked.visit);
            assert.equal(told.caption, "Information");
            assert.match(told.text, /^Settings cannot be kept in this browser, because it does not let this site store anything\./);
            await answerMessage(blocked.visit);
            assert.equal((await openDialog(blocked.visit)).text, "Unable to open puzzle file - Lumera2.dat! Defaulting to Lumera8.dat");
            await answerMessage(blocked.visit);
            await waitForGame(blocked.visit);
            await menu(blocked.visit, "Game1", "menuNew");
            await menu(blocked.visit, "Options1", "menuSound");
            assert.equal(await dialogOpen(blocked.visit), false, "told once only");
            assert.equal((await reader.read(blocked.visit)).status.text, "Puzzle # 2");
            await blocked.context.close();

            // Full: every write is refused; what is stored stays as it was.
            const full = await visitWith(browser, () => {
                if (location.pathname.endsWith(".html")) return;  // the page that plants the text
                Storage.prototype.setItem = function (name) {
                    throw new DOMException(`Failed to execute 'setItem' on 'Storage': Setting the value of '${name}' exceeded the quota.`,
                                           "QuotaExceededError");
                };
            });
            const planted = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"Kept\"=\"" + FOREIGN + "\"\r\n\r\n" +
                "[HKEY_CURRENT_USER\\Software\\lumera8\\DonateForm]\r\n\"DonateStatus\"=dword:00000003\r\n\r\n" +
                "[HKEY_LOCAL_MACHINE\\Software\\Lumera800]\r\n\"fRegInfo\"=hex:" +
                [10, ..."Lumera 7.0", 11, ..."Lumera8.dat"].map(c => (typeof c === "number" ? c : c.charCodeAt(0)))
                    .concat(new Array(152 - 23).fill(0)).map((b, i) => (i === 145 || i === 146 ? 1 : i === 148 ? 4 : b))
                    .map(b => b.toString(16).padStart(2, "0")).join(",") + "\r\n";
            await full.visit.goto(server.url + "lumera8.html", { waitUntil: "load" });
            await full.visit.evaluate(value => localStorage.setItem("lumera8.registry", value), planted);
            await full.visit.goto(server.url, { waitUntil: "load" });
            const refused = await openDialog(full.visit);
            assert.equal(refused.caption, "Information");
            assert.match(refused.text, /^Settings cannot be kept in this browser: Failed to execute 'setItem' on 'Storage': .*exceeded the quota\. The game goes on/);
            await answerMessage(full.visit);
            await waitForGame(full.visit);
            let played = await reader.read(full.visit);
            assert.equal(played.status.text, "Puzzle # 5");
            await menu(full.visit, "Game1", "menuNew");
            played = await reader.read(full.visit);
            assert.equal(played.status.text, "Puzzle # 6", "it deals");
            const n = played.grid.findIndex(c => isLetter(c.ch));
            await clickAlphabet(full.visit, played.grid[n].ch === "Z" ? "Y" : "Z");
            await clickCell(full.visit, n + 1);
            assert.equal(await dialogOpen(full.visit), false, "it plays, and tells nothing twice");
            await menu(full.visit, "Game1", "menuQuit");
            await full.visit.waitForSelector("#ended", { visible: true });
            assert.equal(await full.visit.evaluate(() => localStorage.getItem("lumera8.registry")), planted);
            await full.context.close();
        });

        await t.test("two tabs: each follows the options the other stored, neither takes the other's position back", async () => {
            const other = await browser.newPage();
            await other.setViewport({ width: 900, height: 640, deviceScaleFactor: 1 });
            await other.goto(server.url, { waitUntil: "load" });
            await waitForGame(other);
            // A tab in the background gets no animation frames: the one played is brought to the front.
            await menu(other, "Game1", "menuNew");
            await menu(other, "Game1", "menuNew");
            const stored = async () => storedRecord(await page.evaluate(() => localStorage.getItem("lumera8.registry")));
            const moved = await stored();
            await page.bringToFront();
            await menu(page, "Options1", "menuSound");
            const toggled = await stored();
            assert.equal(toggled.puzzleIndex, moved.puzzleIndex, "this tab's option leaves the other's position");
            assert.equal(toggled.sound, 1 - moved.sound);
            const soundMark = want => document.querySelector(".menu-item[data-name=menuSound]").getAttribute("aria-checked") === want;
            await other.waitForFunction(soundMark, { timeout: 5000, polling: 100 }, toggled.sound ? "true" : "false");
            await other.bringToFront();
            await menu(other, "Options1", "menuSound");
            await page.waitForFunction(soundMark, { timeout: 5000, polling: 100 }, moved.sound ? "true" : "false");
            assert.equal((await stored()).puzzleIndex, moved.puzzleIndex);
            await other.close();
            await page.bringToFront();
        });

        await t.test("on a narrow touch screen the game is scaled to fit and a tap selects", async () => {
            await page.setViewport({ width: 390, height: 800, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
            await waitForGame(page);
            const frame = await page.$eval("#game", g => g.getBoundingClientRect().right);
            assert.ok(frame <= 390, `the game's frame ends at ${frame}, within the page`);
            const box = await (await page.$("#board")).boundingBox();
            const m = alphabetCellRect(13);
            await page.touchscreen.tap(box.x + (m.left + 6) * box.width / boardSize().width,
                                       box.y + (m.top + 6) * box.height / boardSize().height);
            await settle(page);
            // Fill pixels just inside the outline of M and of A, at the canvas's resolution.
            const fills = await page.evaluate(() => {
                const canvas = document.getElementById("board"), ratio = canvas.width / 606;
                const at = (x, y) => Array.from(canvas.getContext("2d").getImageData(Math.round(x * ratio), Math.round(y * ratio), 1, 1).data.slice(0, 3));
                return { width: canvas.width, m: at(244 + 2, 4 + 17), a: at(4 + 2, 4 + 17) };
            });
            assert.ok(fills.width > 606 && fills.width < 3 * 606, `drawn at the device's resolution (${fills.width} pixels wide)`);
            assert.deepEqual(fills.m, [255, 0, 0]);
            assert.deepEqual(fills.a, [255, 255, 255]);
            await page.setViewport({ width: 900, height: 640, deviceScaleFactor: 1, isMobile: false, hasTouch: false });
            await waitForGame(page);
        });

        await t.test("Quit stores the position and ends the game, after the donation reminder", async () => {
            // A player who last answered "take me to the donations page" is asked at every close.
            // Any donation state stored so far gives way to that answer.
            const text = (await page.evaluate(() => localStorage.getItem("lumera8.registry")))
                .replace(/\[HKEY_CURRENT_USER\\Software\\lumera8\\DonateForm\][^[]*/, "");
            await page.goto(server.url + "lumera8.html", { waitUntil: "load" });
            await page.evaluate(value => localStorage.setItem("lumera8.registry", value),
                                text + "\r\n[HKEY_CURRENT_USER\\Software\\lumera8\\DonateForm]\r\n\"DonateStatus\"=dword:00000000\r\n");
            await page.goto(server.url, { waitUntil: "load" });
            await waitForGame(page);
            await menu(page, "Game1", "menuNew");
            board = await read();
            const number = board.status.text;
            await page.keyboard.down("Alt");
            await page.keyboard.press("KeyG");
            await page.keyboard.up("Alt");
            await page.keyboard.press("KeyQ");
            await settle(page);
            const reminder = await openDialog(page);
            assert.deepEqual([reminder.role, reminder.caption], ["dialog", "Make a Donation"]);
            assert.equal(await page.$eval(".backdrop input[type=radio]:checked", r => r.value), "0");
            await page.click(".backdrop .radio:nth-of-type(5) input");
            await page.click(".backdrop [data-name=ntmOK]");
            await page.waitForSelector("#ended", { visible: true });
            assert.equal(await page.$eval("#game", g => g.hidden), true);
            assert.equal(await page.title(), "Lumera 8.0");
            const stored = await page.evaluate(() => localStorage.getItem("lumera8.registry"));
            const now = new Date();
            const today = Math.round((Date.UTC(now.getFullYear(), now.getMonth(), now.getDate()) - Date.UTC(1899, 11, 30)) / 86400000);
            assert.match(stored, /"DonateStatus"=dword:00000004/);
            assert.match(stored, new RegExp(`"DonateLastPrompt"=dword:${today.toString(16).padStart(8, "0")}`));
            await Promise.all([page.waitForNavigation({ waitUntil: "load" }), page.click("#startAgain")]);
            await waitForGame(page);
            board = await read();
            assert.equal(board.status.text, number, "Quit keeps the puzzle on the board for the next start");
        });

        await t.test("with the server stopped the game still loads and plays, and it can be installed", async () => {
            await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 20000 });
            const cdp = await page.createCDPSession();
            assert.deepEqual((await cdp.send("Page.getInstallabilityErrors")).installabilityErrors, []);
            await cdp.detach();
            await server.close();
            await page.reload({ waitUntil: "load" });
            await waitForGame(page);
            board = await read();
            assert.equal(await page.title(), CAPTION);
            const n = board.grid.findIndex(c => isLetter(c.ch));
            const current = board.grid[n].ch;
            const other = current === "Z" ? "Y" : "Z";
            await clickAlphabet(page, other);
            const before = gridText(board);
            await clickCell(page, n + 1);
            if (!(await page.$(".backdrop [role=alertdialog]"))) {
                board = await read();
                assert.equal(gridText(board), swapped(before, current, other));
            }
        });

        assert.deepEqual(pageErrors, [], "the page raised no script errors");
    } finally {
        await browser.close();
        await server.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
});
