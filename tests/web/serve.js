// A static file server for the end-to-end run: the site's folder on 127.0.0.1 at a free port,
// with the types a browser needs (application/wasm for the program), until it is closed.
"use strict";
const http = require("node:http");
const fs = require("node:fs");
const path = require("node:path");

const TYPES = {
    ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".css": "text/css", ".json": "application/json",
    ".webmanifest": "application/manifest+json", ".wasm": "application/wasm", ".png": "image/png",
    ".wav": "audio/wav", ".dat": "application/octet-stream",
};

function serve(folder) {
    folder = path.resolve(folder);
    const server = http.createServer((request, response) => {
        const name = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
        const file = path.join(folder, name.endsWith("/") ? name + "index.html" : name);
        if (!file.startsWith(folder)) {
            response.writeHead(403).end();
            return;
        }
        fs.readFile(file, (error, data) => {
            if (error) {
                response.writeHead(404).end();
                return;
            }
            response.writeHead(200, { "Content-Type": TYPES[path.extname(file)] || "application/octet-stream" });
            response.end(data);
        });
    });
    const sockets = new Set();
    server.on("connection", socket => {
        sockets.add(socket);
        socket.on("close", () => sockets.delete(socket));
    });
    return new Promise(resolve => server.listen(0, "127.0.0.1", () => resolve({
        url: `http://127.0.0.1:${server.address().port}/`,
        close: () => new Promise(done => {
            for (const socket of sockets) socket.destroy();
            server.close(done);
        }),
    })));
}

module.exports = { serve };
