// Joins the page script's ES modules into one classic script for the built page, so that the
// start needs no request for them: each module once, after the modules it imports, with its
// import lines left out and "export " taken off its declarations. What would not survive the
// joining is refused: an import or export of another shape, an import of a name its module does
// not export, a circle of imports, and a top-level name declared by two modules.
// Usage: node join_page_modules.js ENTRY.js OUTPUT.js
"use strict";
const fs = require("fs");
const path = require("path");

const IMPORT = /^import\s*\{([^}]*)\}\s*from\s*"(\.\/[\w.-]+\.js)";\s*$/;
const DECLARATION = /^(export\s+)?(?:async\s+)?(?:class|function\*?|const|let|var)\s+([A-Za-z_$][\w$]*)/;

function fail(message) {
    process.stderr.write("join_page_modules.js: " + message + "\n");
    process.exit(1);
}

function read(file) {
    const lines = fs.readFileSync(file, "utf8").split("\n");
    const module = { file, imports: [], exports: new Set(), names: new Set(), body: [] };
    lines.forEach((line, i) => {
        const where = path.basename(file) + ":" + (i + 1);
        if (/^\s*import\b/.test(line)) {
            const match = IMPORT.exec(line);
            if (!match) fail(where + ": only one-line imports of named bindings can be joined: " + line);
            const names = match[1].split(",").map(n => n.trim()).filter(n => n !== "");
            if (names.some(n => !/^[A-Za-z_$][\w$]*$/.test(n))) fail(where + ": a renamed import cannot be joined: " + line);
            module.imports.push({ names, file: path.resolve(path.dirname(file), match[2]), where });
            return;
        }
        const declaration = DECLARATION.exec(line);
        if (declaration) {
            module.names.add(declaration[2]);
            if (declaration[1]) module.exports.add(declaration[2]);
        } else if (/^\s*export\b/.test(line)) {
            fail(where + ": only exported declarations can be joined: " + line);
        }
        module.body.push(declaration && declaration[1] ? line.slice(declaration[1].length) : line);
    });
    return module;
}

const [entry, output] = process.argv.slice(2);
if (!entry || !output) fail("usage: node join_page_modules.js ENTRY.js OUTPUT.js");

// The modules in the order they can run: each after those it imports.
const modules = new Map(), order = [], visiting = new Set();
function visit(file, from) {
    if (modules.has(file)) return modules.get(file);
    if (visiting.has(file)) fail(from + ": the modules import each other in a circle");
    if (!fs.existsSync(file)) fail(from + ": no module " + file);
    visiting.add(file);
    const module = read(file);
    for (const imported of module.imports) {
        const target = visit(imported.file, imported.where);
        for (const name of imported.names)
            if (!target.exports.has(name)) fail(imported.where + ": " + path.basename(imported.file) + " does not export " + name);
    }
    visiting.delete(file);
    modules.set(file, module);
    order.push(module);
    return module;
}
visit(path.resolve(entry), "the command line");

const owners = new Map();
for (const module of order) {
    for (const name of module.names) {
        if (owners.has(name))
            fail(name + " is declared at the top of both " + path.basename(owners.get(name)) + " and " + path.basename(module.file));
        owners.set(name, module.file);
    }
}

const text = ['"use strict";'].concat(...order.map(m => ["", "// ---- " + path.basename(m.file) + " ----"].concat(m.body)));
fs.writeFileSync(output + ".new", text.join("\n").replace(/\n*$/, "\n"));
fs.renameSync(output + ".new", output);
