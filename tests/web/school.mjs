// What the tests of a school's links share: the site served from a folder of a plain static
// server, and the start screen's choice read from the page.

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
    ".png": "image/png",
    ".webmanifest": "application/manifest+json",
};

// The site below /zifferix/ on a free port of localhost; the folder's address gives the page.
export async function serveSite(root = SITE) {
    const server = http.createServer(async (request, response) => {
        const name = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
        const file = name.startsWith("/zifferix/") ? path.join(root, path.normalize(name.slice(10) || "index.html")) : "";
        try {
            const body = await readFile(file);
            response.writeHead(200, { "Content-Type": TYPES[path.extname(file)] ?? "application/octet-stream" }).end(body);
        } catch {
            response.writeHead(404).end();
        }
    });
    await new Promise((done) => server.listen(0, "127.0.0.1", done));
    return { url: `http://127.0.0.1:${server.address().port}/zifferix/`, close: () => server.close() };
}

// The captions of the start screen's chosen options, and the control that has the focus.
export const choice = (page) =>
    page.evaluate(() => {
        const start = document.querySelector('.form[data-form="frmstart"]');
        const chosen = [...start.querySelectorAll("[data-name]")].filter((e) => e.querySelector(":scope > input[type=radio]")?.checked);
        return { chosen: chosen.map((e) => e.textContent.trim()), focus: document.activeElement?.closest("[data-name]")?.dataset.name };
    });

// Every game option's and level option's caption on the start screen, top to bottom.
export const captions = (page) =>
    page.evaluate(() => {
        const inFrame = (frame) => [...document.querySelectorAll(`.form[data-form="frmstart"] [data-name="${frame}"] [data-name]`)]
            .filter((e) => e.querySelector(":scope > input[type=radio]")).map((e) => e.textContent.trim());
        return { games: inFrame("Frame1"), levels: inFrame("Frame2") };
    });

// A page of the site (links.html, or the game with a link after "#"), with every console
// message, page error, failed request and request outside the site noted in `page.problems`.
export async function visit(browser, site, address = "") {
    const page = await browser.newPage();
    const problems = [];
    page.on("console", (m) => ["error", "warn", "assert"].includes(m.type()) && problems.push(`${m.type()}: ${m.text()}`));
    page.on("pageerror", (e) => problems.push(`page error: ${e.message}`));
    page.on("requestfailed", (r) => problems.push(`request failed: ${r.url()}`));
    page.on("request", (r) => !r.url().startsWith(site) && problems.push(`request elsewhere: ${r.url()}`));
    await page.setViewport({ width: 1024, height: 768 });
    await page.goto(site + address);
    await page.waitForSelector("html[data-ready]");
    page.problems = problems;
    return page;
}
