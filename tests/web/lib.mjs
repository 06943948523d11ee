// What the browser tests share: the site served on localhost, a browser of the engine that
// ZIFFERIX_ENGINE names (see engines.mjs), and the page read and played as a child would, by
// keys and clicks. Nothing here or in the suites knows which engine runs them.

import assert from "node:assert/strict";
import { after, before } from "node:test";
import { launch } from "./engines.mjs";
import { serve } from "./server.mjs";

export { ENGINE, lacks } from "./engines.mjs";
export { KEPT_FOR_GOOD, SITE, built, serve } from "./server.mjs";

// The site served and the browser started once for a test file: `shared.site`, `shared.browser`.
export function shareBrowser() {
    const shared = {};
    before(async () => {
        shared.site = await serve();
        shared.browser = await launch();
    });
    after(async () => {
        try {
            await shared.browser?.close();
        } finally {
            shared.site?.close(); // else a browser that would not close keeps the test running
        }
    });
    return shared;
}

// A server of a test's own, closed when the test ends, failed or not: one left open would keep
// the suite from ending.
export async function serveFor(t, ...args) {
    const site = await serve(...args);
    t.after(() => site.close());
    return site;
}

// A page of the program in a fresh profile, at a viewport, by touch or not; `before` runs ahead
// of the page's own script. Its console errors and warnings, page errors and failed requests
// are noted: a test ends by asserting that there were none.
export async function open(browser, url, { width = 1024, height = 768, touch = false, before } = {}) {
    const page = await browser.open(url, { width, height, touch, before });
    await page.waitFor("the page is ready", () => document.documentElement.dataset.ready === "true");
    return page;
}

export async function reload(page) {
    await page.reload();
    await page.waitFor("the page is ready again", () => document.documentElement.dataset.ready === "true");
}

export async function assertNoProblems(page) {
    assert.deepEqual(await page.problems(), [], "the console stays clean");
}

// The viewports children have, from a phone turned sideways to a 4K monitor.
export const VIEWPORTS = [
    [1024, 768, "the screen the program was made for"], [1366, 633, "a Chromebook's browser"],
    [1280, 585, "a small laptop's browser"], [1536, 730, "a laptop's browser"], [820, 1180, "an upright iPad"],
    [810, 1080, "an older upright iPad"], [834, 1194, "an upright iPad Air"], [844, 390, "a phone turned sideways"],
    [568, 320, "the smallest phone sideways"], [3840, 2000, "a 4K monitor's browser"],
];

// Text as a tablet's keyboard sends it, with no usable key: where the page lets it, the browser
// inserts it into the box in focus.
export const tabletTypes = (page, data) =>
    page.evaluate((d) => {
        const box = document.activeElement;
        const event = new InputEvent("beforeinput", { inputType: "insertText", data: d, bubbles: true, cancelable: true });
        if (box.dispatchEvent(event) && "value" in box) {
            box.value += d;
            box.dispatchEvent(new InputEvent("input", { inputType: "insertText", data: d, bubbles: true }));
        }
    }, data);

// What a paste sends. The clipboard's data is the event's own: Firefox's constructor would
// leave it empty.
export const paste = (page, data) =>
    page.evaluate((d) => {
        const transfer = new DataTransfer();
        transfer.setData("text/plain", d);
        const event = new ClipboardEvent("paste", { bubbles: true, cancelable: true });
        Object.defineProperty(event, "clipboardData", { value: transfer });
        document.activeElement.dispatchEvent(event);
    }, data);

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

export const waitFor = (page, what, check, ...args) => page.waitFor(what, check, ...args);

export const waitForTitle = (page, title) =>
    waitFor(page, `the title is ${title}`, (t) => document.title === t, title);

// A number as a label shows it: German comma, maybe a leading blank.
export const number = (shownText) => Number(shownText.trim().replace(",", "."));
export const german = (value) => String(Number(value.toFixed(9))).replace(".", ",");

// Types an answer as keys, confirms it with Enter and waits until the game has taken it.
export async function answer(page, form, box, value) {
    await page.type(value);
    await waitFor(page, `the box shows ${value}`, (s, v) => document.querySelector(s)?.value === v, inForm(form, box), value);
    await page.press("Enter");
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
