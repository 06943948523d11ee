// The site as the school's server serves it, on localhost, below a subfolder: compressed, each
// file named after its content kept for good and every other one revalidated by its date, as
// the package's Apache configuration sends them; every request noted. An engine whose
// automation cannot run a script before the page's own asks the server to put it at the top of
// the pages it serves to a navigation, and one that cannot emulate a lost network asks the
// server to stop answering.

import { readdirSync } from "node:fs";
import { readFile, stat } from "node:fs/promises";
import http from "node:http";
import path from "node:path";
import { gzipSync } from "node:zlib";

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

// A file of the site by its plain name ("zifferix.wasm", "fonts/ComicNeue-Bold.woff2"): the
// name it has in this build, which holds its content's digest.
export function built(name, root = SITE) {
    const { dir, name: stem, ext } = path.parse(name);
    const found = readdirSync(path.join(root, dir)).filter((f) => new RegExp(`^${stem}\\.[0-9a-f]{8}\\${ext}$`).test(f));
    if (found.length !== 1) {
        throw new Error(`the site has ${found.length} files for ${name}: ${found.join(", ")}`);
    }
    return path.posix.join(dir, found[0]);
}

// What the package's configurations send: a name with a digest for good, the rest revalidated;
// text and the program compressed.
export const KEPT_FOR_GOOD = /\.[0-9a-f]{8}\.[a-z0-9]+$/;
const cacheControl = (name) => (KEPT_FOR_GOOD.test(name) ? "public, max-age=31536000, immutable" : "no-cache");
const COMPRESSED = /^(text\/|application\/(wasm|manifest\+json|json)|image\/svg)/;

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
// to serve another build. `serving.requests` lists what was asked, as { name, status, bytes,
// at } (the page's folder by the name index.html; the bytes of the body sent; the time it was
// asked, by the clock of performance.timeOrigin).
export async function serve(prefix = "/zifferix/", { extra = {}, types = {}, redirects = {} } = {}) {
    const serving = { root: SITE, refused: null, requests: [] };
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
        const at = performance.timeOrigin + performance.now();
        const answer = (status, headers, body) => {
            serving.requests.push({ name, status, bytes: body?.length ?? 0, at });
            response.writeHead(status, headers).end(body);
        };
        if (serving.refused?.test(name)) {
            answer(403);
            return;
        }
        if (name in extra) {
            answer(200, { "Content-Type": TYPES[".html"] }, extra[name]);
            return;
        }
        const file = path.join(serving.root, path.normalize(name));
        let body;
        let modified;
        try {
            body = await readFile(file);
            modified = new Date(Math.floor((await stat(file)).mtimeMs / 1000) * 1000);
        } catch {
            serving.requests.push({ name, status: 404, bytes: 0, at });
            lost();
            return;
        }
        const extension = path.extname(file);
        const type = types[extension] ?? TYPES[extension] ?? "application/octet-stream";
        const headers = { "Cache-Control": cacheControl(name), "Last-Modified": modified.toUTCString() };
        const since = Date.parse(request.headers["if-modified-since"] ?? "");
        if (since >= modified.getTime()) {
            answer(304, headers);
            return;
        }
        if (extension === ".html") {
            body = withEarlyScript(request, origin, body);
        }
        if (COMPRESSED.test(type)) {
            headers.Vary = "Accept-Encoding";
            if (/\bgzip\b/.test(request.headers["accept-encoding"] ?? "")) {
                body = gzipSync(body);
                headers["Content-Encoding"] = "gzip";
            }
        }
        answer(200, { ...headers, "Content-Type": type }, body);
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
