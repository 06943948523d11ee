// What the browser tests share: the site served on localhost, Debian's Chromium driven through
// its DevTools protocol, and the page read and played as a child would, by keys and clicks.

import assert from "node:assert/strict";
import { readFile } from "node:fs/promises";
import http from "node:http";
import path from "node:path";
import { after, before } from "node:test";
import puppeteer from "puppeteer-core";

export const SITE = process.env.ZIFFERIX_SITE ?? path.resolve("build/web/site");
const CHROMIUM = process.env.CHROMIUM ?? "/usr/bin/chromium";

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

// The site as any static server serves it, here below a subfolder; `extra` adds pages by name,
// `types` names files otherwise, and `serving.root` may be changed to serve another build.
export async function serve(prefix = "/zifferix/", { extra = {}, types = {} } = {}) {
    const serving = { root: SITE };
    const server = http.createServer(async (request, response) => {
        const url = new URL(request.url, "http://localhost");
        let name = decodeURIComponent(url.pathname);
        if (!name.startsWith(prefix)) {
            response.writeHead(404).end();
            return;
        }
        name = name.slice(prefix.length) || "index.html";
        if (name in extra) {
            response.writeHead(200, { "Content-Type": TYPES[".html"] }).end(extra[name]);
            return;
        }
        const file = path.join(serving.root, path.normalize(name));
        try {
            const body = await readFile(file);
            const extension = path.extname(file);
            response.writeHead(200, { "Content-Type": types[extension] ?? TYPES[extension] ?? "application/octet-stream" });
            response.end(body);
        } catch {
            response.writeHead(404).end();
        }
    });
    await new Promise((done) => server.listen(0, "127.0.0.1", done));
    return Object.assign(serving, { url: `http://127.0.0.1:${server.address().port}${prefix}`, close: () => server.close() });
}

// The site served and Chromium started once for a test file: `shared.site`, `shared.browser`.
export function shareBrowser() {
    const shared = {};
    before(async () => {
        shared.site = await serve();
        shared.browser = await launch();
    });
    after(async () => {
        await shared.browser.close();
        shared.site.close();
    });
    return shared;
}

export function launch(...more) {
    return puppeteer.launch({
        executablePath: CHROMIUM,
        headless: true,
        args: ["--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--disable-background-networking", "--disable-component-update",
            "--disable-sync", "--no-first-run", "--disable-features=Translate,MediaRouter,OptimizationHints", ...more],
    });
}

// A page of the program, with every console message, page error and failed request noted: a
// test ends by asserting that there were none.
export async function open(browser, url, { width = 1024, height = 768, touch = false, before } = {}) {
    const page = await browser.newPage();
    const problems = [];
    page.on("console", (m) => ["error", "warn", "assert"].includes(m.type()) && problems.push(`${m.type()}: ${m.text()}`));
    page.on("pageerror", (e) => problems.push(`page error: ${e.message}`));
    page.on("requestfailed", (r) => problems.push(`request failed: ${r.url()}`));
    page.on("request", (r) => !r.url().startsWith(url) && !r.url().startsWith("data:") && problems.push(`request elsewhere: ${r.url()}`));
    await page.setViewport({ width, height, hasTouch: touch, isMobile: touch });
    if (before) {
        await page.evaluateOnNewDocument(before);
    }
    await page.goto(url);
    await page.waitForSelector("html[data-ready]");
    page.problems = problems;
    return page;
}

export function assertNoProblems(page) {
    assert.deepEqual(page.problems, [], "the console stays clean");
}

const inForm = (form, name) => `.form[data-form="${form}"] [data-name="${name}"]`;

export async function click(page, form, name) {
    await page.click(inForm(form, name));
}

export function text(page, form, name) {
    return page.$eval(inForm(form, name), (e) => (e instanceof HTMLInputElement ? e.value : e.textContent));
}

export function focused(page) {
    return page.evaluate(() => {
        const e = document.activeElement?.closest("[data-name]");
        return e ? `${e.closest(".form").dataset.form}.${e.dataset.name}` : "nothing";
    });
}

export async function waitFor(page, what, check, ...args) {
    try {
        await page.waitForFunction(check, { timeout: 90000, polling: 50 }, ...args);
    } catch (e) {
        throw new Error(`timed out waiting until ${what}: ${e.message}`);
    }
}

export const waitForTitle = (page, title) =>
    waitFor(page, `the title is ${title}`, (t) => document.title === t, title);

// A number as a label shows it: German comma, maybe a leading blank.
export const number = (shownText) => Number(shownText.trim().replace(",", "."));
export const german = (value) => String(Number(value.toFixed(9))).replace(".", ",");

// Types an answer as keys, confirms it with Enter and waits until the game has taken it.
export async function answer(page, form, box, value) {
    await page.keyboard.type(value);
    await waitFor(page, `the box shows ${value}`, (s, v) => document.querySelector(s)?.value === v, inForm(form, box), value);
    await page.keyboard.press("Enter");
    await waitFor(page, `the answer ${value} is taken`,
        (s, v) => { const e = document.querySelector(s); return !e.checkVisibility() || e.readOnly || e.value !== v || !e.closest(".form.active"); },
        inForm(form, box), value);
}

// Chooses a game and a level on the start screen and presses "Los und hopp", by mouse.
export async function startGame(page, option, level) {
    await click(page, "frmstart", option);
    await click(page, "frmstart", level);
    await click(page, "frmstart", "cmdAnfang");
}
