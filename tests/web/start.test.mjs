// The start screen in the page: its place on the pixel, both messages, the keyboard alone, an
// idle page that asks for no frames, and a new run after "Aus und Schluss".

import assert from "node:assert/strict";
import { test } from "node:test";
import { assertNoProblems, click, focused, open, serveFor, shareBrowser, waitFor, waitForTitle } from "./lib.mjs";

const shared = shareBrowser();

// Counts the animation frames the page asks for.
function countFrames() {
    window.framesAsked = 0;
    const ask = window.requestAnimationFrame.bind(window);
    window.requestAnimationFrame = (callback) => {
        window.framesAsked += 1;
        return ask(callback);
    };
}

const box = (page, form, name) =>
    page.$eval(`.form[data-form="${form}"] [data-name="${name}"]`, (e) => {
        const r = e.getBoundingClientRect();
        return [r.left, r.top, r.width, r.height];
    });
const px = (twips) => Math.round(twips / 15);
const edges = (left, top, width, height) => [px(left), px(top), px(left + width) - px(left), px(top + height) - px(top)];
const message = (page) =>
    page.evaluate(() => {
        const m = document.getElementById("message");
        return m.open ? `${document.title}: ${m.querySelector(".message-text").textContent}` : "closed";
    });

test("every control stands on the pixel of the desktop window at zoom 1", async () => {
    const page = await open(shared.browser, shared.site.url);
    assert.equal(await page.title(), "Zifferix 1");
    assert.deepEqual(await box(page, "frmstart", "cmdAnfang"), edges(11160, 8490, 2310, 1290));
    assert.deepEqual(await box(page, "frmstart", "cmdEnde"), edges(1500, 8400, 2310, 1290));
    assert.deepEqual(await box(page, "frmstart", "Image1"), edges(1485, 945, 11490, 2790));
    const [frameLeft, frameTop] = await box(page, "frmstart", "Frame1");
    const [left, top] = await box(page, "frmstart", "opt4");
    assert.deepEqual([left - frameLeft, top - frameTop], [px(240), px(2295)], "inside its frame");
    assert.equal(await page.$eval('[data-name="opt4"]', (e) => e.title), "Großes 1x1");
    await page.close();
});

test("both messages come by keyboard alone and Enter, Escape or the button close them", async () => {
    const page = await open(shared.browser, shared.site.url);
    assert.equal(await focused(page), "frmstart.cmdAnfang");
    await page.keyDown("Enter");
    await page.keyDown("Enter"); // held: a repeat
    assert.equal(await message(page), "Fehler: Du hast keinen Schwierigkeitsgrad gewählt!");
    await page.keyUp("Enter");
    await page.press("Enter");
    assert.equal(await message(page), "closed");
    assert.equal(await page.title(), "Zifferix 1");
    assert.equal(await focused(page), "frmstart.cmdAnfang", "the focus comes back");

    // Tab to the difficulty, choose with the arrows, then Alt+L.
    await page.press("Tab");
    await page.press("Tab");
    await page.press("ArrowDown");
    assert.equal(await focused(page), "frmstart.optMittel");
    assert.equal(await page.$eval('[data-name="optMittel"] input', (e) => e.checked), true);
    await page.keyDown("Alt");
    await page.press("l");
    await page.keyUp("Alt");
    assert.equal(await message(page), "Was soll ich machen?: Welches Spiel darf's denn sein?");
    await page.press("Escape");
    assert.equal(await message(page), "closed");
    await click(page, "frmstart", "cmdAnfang");
    await page.click("#message button");
    assert.equal(await message(page), "closed");
    await assertNoProblems(page);
    await page.close();
});

test("the idle start screen asks for no animation frame, a game for many", async () => {
    const page = await open(shared.browser, shared.site.url, { before: countFrames });
    await new Promise((done) => setTimeout(done, 5000));
    assert.equal(await page.evaluate(() => window.framesAsked), 0);
    await click(page, "frmstart", "opt8");
    await click(page, "frmstart", "optEinfach");
    await click(page, "frmstart", "cmdAnfang");
    await page.press("Enter"); // the numbers start to fly
    await new Promise((done) => setTimeout(done, 1000));
    assert.ok((await page.evaluate(() => window.framesAsked)) > 10);
    await assertNoProblems(page);
    await page.close();
});

test("a server that does not know WebAssembly's type still serves a page that plays", async (t) => {
    const plain = await serveFor(t, "/", { types: { ".wasm": "application/octet-stream" } });
    const page = await open(shared.browser, plain.url);
    await page.press("Enter");
    assert.equal(await message(page), "Fehler: Du hast keinen Schwierigkeitsgrad gewählt!");
    await assertNoProblems(page);
    await page.close();
});

test("Aus und Schluss says goodbye, and Neu starten begins a new run", async () => {
    const page = await open(shared.browser, shared.site.url);
    await page.keyDown("Alt");
    await page.press("a");
    await page.keyUp("Alt");
    await waitForTitle(page, "Zifferix");
    assert.equal(await page.$eval("#goodbye p", (e) => e.textContent), "Auf Wiedersehen!");
    assert.equal(await page.$eval("#stage", (e) => e.hidden), true);
    await page.press("Enter"); // "Neu starten" has the focus
    await waitForTitle(page, "Zifferix 1");
    assert.equal(await page.$$eval(".form", (l) => l.length), 1, "the last run's screens are gone");
    await waitFor(page, "the start button has the focus", () => document.activeElement?.dataset.name === "cmdAnfang");
    assert.deepEqual(await page.evaluate(() => [document.cookie, localStorage.length, sessionStorage.length]), ["", 0, 0]);
    await assertNoProblems(page);
    await page.close();
});
