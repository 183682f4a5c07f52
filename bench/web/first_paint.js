// The browser edition's start-up against the browser floor, in Debian's headless Chromium over
// a local server: for each run a fresh profile loads the game's page (a returning player's: the
// stored record in place, so no message comes before the board) and the floor page, in turns,
// and reads the time from the start of navigation to the mark each sets when its canvas is on
// screen. Prints both medians and their ratio, and the compressed size of the code (the page,
// with the program's script in it, and the program's .wasm).
//
//   node bench/web/first_paint.js SITE_DIR FLOOR_DIR [runs [EARLIER_SITE_DIR]]
//
// LUMERA_BENCH_BROWSER=firefox runs Debian's Firefox ESR (headless) instead of Chromium.
//
// An earlier build's site, when given, is loaded in the same turns, so that a change is measured
// against the same load on the machine.
"use strict";
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");
const zlib = require("node:zlib");
const puppeteer = require(path.join(__dirname, "../../tests/web/node_modules/puppeteer-core"));
const { serve } = require(path.join(__dirname, "../../tests/web/serve.js"));

const [site, floor, runsText, earlier] = process.argv.slice(2);
const runs = Number(runsText || 15);
const record = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Lumera800]\r\n\"fRegInfo\"=hex:0a,4c,75,6d,65,72,61,20,37," +
    "2e,30,0b,4c,75,6d,65,72,61,38,2e,64,61,74\r\n";

async function timeOnce(url, plant) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), "lumera8-bench-"));
    const browser = await puppeteer.launch(process.env.LUMERA_BENCH_BROWSER === "firefox"
        ? { browser: "firefox", executablePath: "/usr/bin/firefox-esr", headless: true, userDataDir: profile }
        : {
            executablePath: "/usr/bin/chromium", headless: true, userDataDir: profile,
            args: ["--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
                   "--disable-component-update", "--disable-sync", "--force-device-scale-factor=1"],
        });
    try {
        const page = await browser.newPage();
        await page.setViewport({ width: 800, height: 600, deviceScaleFactor: 1 });
        if (plant) {
            await page.goto(url + "lumera8.html", { waitUntil: "load" });
            await page.waitForFunction(() => location.pathname.endsWith("lumera8.html"));
            await page.evaluate(text => localStorage.setItem("lumera8.registry", text), record);
            await page.goto("about:blank");
        }
        await page.goto(url);
        await page.waitForFunction(() => document.documentElement.dataset.state === "running", { timeout: 30000 });
        return await page.evaluate(() => {
            const at = name => (performance.getEntriesByName(name)[0] || { startTime: NaN }).startTime;
            const phases = { program: at("lumera-program-ready"), window: at("lumera-window-created") };
            return { shown: at("lumera-board-shown"), phases };
        });
    } finally {
        await browser.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
}

const median = values => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const gzipped = file => zlib.gzipSync(fs.readFileSync(file), { level: 9 }).length;

(async () => {
    const game = await serve(site), bare = await serve(floor), before = earlier ? await serve(earlier) : null;
    const gameTimes = [], floorTimes = [], earlierTimes = [], phases = [];
    try {
        // A run that fails (a machine too busy to start Chromium in time) is told and left out.
        const attempt = async (times, url, plant, phasesToo = plant) => {
            try {
                const result = await timeOnce(url, plant);
                times.push(result.shown);
                if (phasesToo) phases.push(result.phases);
            } catch (error) {
                console.error(`a run failed: ${error.message}`);
            }
        };
        for (let run = 0; run < runs; ++run) {
            await attempt(gameTimes, game.url, true);
            await attempt(floorTimes, bare.url, false);
            if (before) await attempt(earlierTimes, before.url, true, false);
        }
    } finally {
        await game.close();
        await bare.close();
        if (before) await before.close();
    }
    if (gameTimes.length === 0 || floorTimes.length === 0) throw new Error("no run succeeded");
    // The program's script is written into the page, with the page's own script and style.
    const js = gzipped(path.join(site, "index.html")), wasm = gzipped(path.join(site, "lumera8.wasm"));
    console.log(`code, gzip -9: index.html ${js} B + lumera8.wasm ${wasm} B = ${js + wasm} B (${((js + wasm) / 1024).toFixed(1)} KiB)`);
    console.log(`first board painted, median of ${runs}: game ${median(gameTimes).toFixed(1)} ms, floor ${median(floorTimes).toFixed(1)} ms, ` +
                `ratio ${(median(gameTimes) / median(floorTimes)).toFixed(2)}`);
    console.log(`game, median of its phases: program ready ${median(phases.map(p => p.program)).toFixed(1)} ms, ` +
                `window created ${median(phases.map(p => p.window)).toFixed(1)} ms`);
    console.log(`game runs: ${gameTimes.map(t => t.toFixed(0)).join(" ")}`);
    console.log(`floor runs: ${floorTimes.map(t => t.toFixed(0)).join(" ")}`);
    if (earlierTimes.length > 0) {
        console.log(`earlier site, first board painted, median: ${median(earlierTimes).toFixed(1)} ms, ` +
                    `ratio ${(median(earlierTimes) / median(floorTimes)).toFixed(2)}`);
        console.log(`earlier site runs: ${earlierTimes.map(t => t.toFixed(0)).join(" ")}`);
    }
})();
