// The site as any static server serves it, on localhost, below a subfolder. An engine whose
// automation cannot run a script before the page's own asks the server to put it at the top of
// the pages it serves to a navigation, and one that cannot emulate a lost network asks the
// server to stop answering.

import { readFile } from "node:fs/promises";
import http from "node:http";
import path from "node:path";

export const SITE = process.env.ZIFFERIX_SITE ?? path.resolve("build/web/site");

const TYPES = {
    ".html": "text/html; charset=utf-8",
    ".js": "text/javascript",
    ".css": "text/css",
    ".wasm": "application/wasm",
    ".woff2": "font/woff2",
    ".svg": "image/svg+xml",
    ".txt": "text/plain; charset=utf-8",
    ".json": "application/json",
    ".webmanifest": "application/manifest+json",
    ".png": "image/png",
};

// By origin: the script put before a page's first script, and whether the network is gone.
const early = new Map();
const offline = new Set();
// By origin: what the server could not find, for the engines that cannot see it themselves.
const missing = new Map();

export const runFirst = (origin, script) => (script ? early.set(origin, script) : early.delete(origin));
export const goOffline = (origin, gone) => (gone ? offline.add(origin) : offline.delete(origin));
export const notFound = (origin) => missing.get(origin) ?? [];

// A navigation gets the early script; the service worker's own fetch of the page does not, so
// that the page still matches its digest.
function withEarlyScript(request, origin, body) {
    const script = early.get(origin);
    if (!script || request.headers["sec-fetch-dest"] !== "document") {
        return body;
    }
    const html = body.toString("utf8");
    const at = html.search(/<script|<\/head>/i);
    return `${html.slice(0, at)}<script>${script}</script>\n${html.slice(at)}`;
}

// `extra` adds pages by name, `types` names files otherwise, `redirects` sends a file's name on
// to another address (as hosts send index.html to its folder), `serving.refused` answers files
// whose name it matches with 403 (as a school's filter may), and `serving.root` may be changed
// to serve another build.
export async function serve(prefix = "/zifferix/", { extra = {}, types = {}, redirects = {} } = {}) {
    const serving = { root: SITE, refused: null };
    let origin = "";
    const server = http.createServer(async (request, response) => {
        if (offline.has(origin)) {
            request.socket.destroy();
            return;
        }
        const url = new URL(request.url, origin);
        let name = decodeURIComponent(url.pathname);
        const lost = () => {
            missing.set(origin, [...notFound(origin), url.pathname]);
            response.writeHead(404).end();
        };
        if (!name.startsWith(prefix)) {
            lost();
            return;
        }
        name = name.slice(prefix.length);
        if (name in redirects) {
            response.writeHead(301, { Location: redirects[name] }).end();
            return;
        }
        name ||= "index.html";
        if (serving.refused?.test(name)) {
            response.writeHead(403).end();
            return;
        }
        if (name in extra) {
            response.writeHead(200, { "Content-Type": TYPES[".html"] }).end(extra[name]);
            return;
        }
        const file = path.join(serving.root, path.normalize(name));
        try {
            const extension = path.extname(file);
            let body = await readFile(file);
            if (extension === ".html") {
                body = withEarlyScript(request, origin, body);
            }
            response.writeHead(200, { "Content-Type": types[extension] ?? TYPES[extension] ?? "application/octet-stream" });
            response.end(body);
        } catch {
            lost();
        }
    });
    await new Promise((done) => server.listen(0, "127.0.0.1", done));
    origin = `http://127.0.0.1:${server.address().port}`;
    return Object.assign(serving, {
        url: `${origin}${prefix}`,
        close: () => {
            early.delete(origin);
            offline.delete(origin);
            missing.delete(origin);
            server.closeAllConnections();
            server.close();
        },
    });
}
