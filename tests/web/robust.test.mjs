// The page on real hosts and under real fingers: a host that redirects, a filter that blocks
// fonts or the program, a reload that would lose the points, a Mac's Option key, Alt alone, a
// paste or a held key that lands on a button, a browser without a font's own line height, a
// phone's number pad without Return, and a tablet's keyboard over the game.

import assert from "node:assert/strict";
import { test } from "node:test";
import { answer, assertNoProblems, focused, german, lacks, open, reload, serveFor, shareBrowser, startGame, text, waitFor, waitForTitle } from "./lib.mjs";
import { GAMES, spiderAnswer } from "./play.mjs";

const shared = shareBrowser();

const message = (page) => page.evaluate(() => (document.getElementById("message").open ? document.querySelector(".message-text").textContent : "closed"));
// A key as the page's keydown and keyup see it, for keys no automation can press.
const keyEvent = (page, type, init) =>
    page.evaluate((t, i) => !document.activeElement.dispatchEvent(new KeyboardEvent(t, { ...i, bubbles: true, cancelable: true })), type, init);
const ignoring = async (page, pattern) => (await page.problems()).filter((p) => !pattern.test(p));

test("a host that sends index.html to its folder: the second visit opens, and so do the fonts' licences", async (t) => {
    const site = await serveFor(t, "/zifferix/", { redirects: { "index.html": "./" } });
    const page = await open(shared.browser, site.url);
    await page.evaluate(async () => {
        await navigator.serviceWorker.ready;
        while (!navigator.serviceWorker.controller) await new Promise((done) => setTimeout(done, 50));
    });
    await reload(page);
    assert.equal(await page.title(), "Zifferix 1", "the page comes from the worker's cache");
    await page.goto(`${site.url}fonts/LICENSE-LiberationSans.txt`);
    assert.match(await page.evaluate(() => document.body.textContent), /Liberation/);
    await page.close();
});

test("a filter that blocks the fonts leaves a page that plays in the browser's own", async (t) => {
    const site = await serveFor(t);
    site.refused = /\.woff2$/;
    const page = await open(shared.browser, site.url);
    await startGame(page, "opt4", "optEinfach");
    await waitForTitle(page, "Multiplikation");
    assert.deepEqual(await ignoring(page, /woff2|status of 403/), [], "only the fonts are missing");
    await page.close();
});

test("a filter that blocks the program: the page says so, and tries again", async (t) => {
    const site = await serveFor(t);
    site.refused = /\.wasm$/;
    const page = await shared.browser.open(site.url, { width: 1024, height: 768 });
    await waitFor(page, "the page says it cannot load", () => !document.getElementById("failed").hidden);
    assert.match(await page.$eval("#failed p", (p) => p.textContent), /Zifferix konnte nicht geladen werden/);
    site.refused = null;
    await page.click("#failed button");
    await waitFor(page, "the page is ready after the second try", () => document.documentElement.dataset.ready === "true");
    await page.close();
});

// The question itself is the browser's; what the page does is to ask for it.
const asksBeforeLeaving = (page) =>
    page.evaluate(() => {
        const leaving = new Event("beforeunload", { cancelable: true });
        window.dispatchEvent(leaving);
        return leaving.defaultPrevented;
    });

test("leaving the page asks first once the table holds points", async () => {
    const page = await open(shared.browser, shared.site.url);
    assert.equal(await asksBeforeLeaving(page), false, "nothing to lose yet");
    const spider = GAMES.find((g) => g.form === "frmNetz");
    await startGame(page, spider.option, "optEinfach");
    await waitForTitle(page, spider.title);
    await spider.play(page, 1);
    await waitForTitle(page, "Zifferix 1");
    assert.equal(await asksBeforeLeaving(page), true);
    await page.close();
});

test("keys that land where they should not: Option+L, Alt alone, a paste and a held Enter", async (t) => {
    const page = await open(shared.browser, shared.site.url);
    await t.test("Option+L on a Mac types ¬ and still presses Los und hopp", async () => {
        await keyEvent(page, "keydown", { key: "¬", code: "KeyL", altKey: true });
        assert.equal(await message(page), "Du hast keinen Schwierigkeitsgrad gewählt!");
        await page.press("Enter");
        assert.equal(await message(page), "closed");
    });
    await t.test("Alt alone opens no menu", async () => {
        await keyEvent(page, "keydown", { key: "Alt", code: "AltLeft", altKey: true });
        assert.equal(await keyEvent(page, "keyup", { key: "Alt", code: "AltLeft" }), true, "its key-up is the page's");
    });
    await t.test("a space pasted on a button presses nothing", async () => {
        assert.equal(await focused(page), "frmstart.cmdAnfang");
        await page.evaluate(() => {
            const clipboard = new DataTransfer();
            clipboard.setData("text/plain", " ");
            document.activeElement.dispatchEvent(new ClipboardEvent("paste", { clipboardData: clipboard, bubbles: true, cancelable: true }));
        });
        assert.equal(await message(page), "closed");
    });
    await t.test("a held Enter on Aus und Schluss ends the run and presses nothing on the goodbye page", async () => {
        for (let i = 0; i < 5 && (await focused(page)) !== "frmstart.cmdEnde"; i++) await page.press("Tab");
        assert.equal(await focused(page), "frmstart.cmdEnde");
        await page.keyDown("Enter");
        await waitForTitle(page, "Zifferix");
        await keyEvent(page, "keydown", { key: "Enter", code: "Enter", repeat: true });
        await page.keyUp("Enter");
        assert.equal(await page.$eval("#goodbye", (g) => g.hidden), false, "the goodbye page stays");
    });
    await assertNoProblems(page);
    await page.close();
});

// Firefox 115 ESR measures no font's own line height.
function withoutFontLineHeight() {
    for (const name of ["fontBoundingBoxAscent", "fontBoundingBoxDescent"]) {
        Object.defineProperty(TextMetrics.prototype, name, { get: () => undefined, configurable: true });
    }
}

test("a browser without a font's own line height sizes every label all the same", async () => {
    const page = await open(shared.browser, shared.site.url, { before: withoutFontLineHeight });
    // Every label shown: the child's name is there only in a class.
    const heights = await page.$$eval(".form.active .label", (labels) =>
        labels.filter((l) => l.getClientRects().length > 0).map((l) => l.getBoundingClientRect().height),
    );
    assert.ok(heights.every((h) => Number.isFinite(h) && h > 5), `label heights ${heights}`);
    await assertNoProblems(page);
    await page.close();
});

// A phone's number pad has no Return key.
test("a child on a touch screen confirms an answer with the OK key", { skip: lacks("touch") }, async () => {
    const page = await open(shared.browser, shared.site.url, { width: 844, height: 390, touch: true });
    for (const name of ["opt4", "optEinfach", "cmdAnfang"]) await page.tap(`[data-name="${name}"]`);
    await waitForTitle(page, "Multiplikation");
    await page.tap('.form.active [data-name="txtergebnis"]');
    await waitFor(page, "the OK key shows", () => !document.getElementById("confirm").hidden);
    const product = await spiderAnswer(page);
    await page.evaluate((d) => document.activeElement.dispatchEvent(new InputEvent("beforeinput", { inputType: "insertText", data: d, bubbles: true, cancelable: true })), String(product));
    await page.tap("#confirm");
    await waitFor(page, "the answer is taken", () => document.querySelector('.form.active [data-name="txtergebnis"]').value === "");
    assert.equal(await page.evaluate(() => document.activeElement.dataset.name), "txtergebnis", "the pad stays open");
    await assertNoProblems(page);
    await page.close();
});

// A tablet's keyboard leaves the visual viewport smaller; here a stand-in reports it.
function keyboardStandIn() {
    const sight = new EventTarget();
    Object.assign(sight, { offsetTop: 0, height: innerHeight, width: innerWidth });
    Object.defineProperty(window, "visualViewport", { value: sight, configurable: true });
}

test("a tablet's keyboard slides the game up to keep the box in sight, and nothing shrinks", async () => {
    const page = await open(shared.browser, shared.site.url, { width: 1180, height: 820, before: keyboardStandIn });
    await startGame(page, "opt4", "optEinfach");
    await waitForTitle(page, "Multiplikation");
    const zoom = await page.evaluate(() => getComputedStyle(document.documentElement).getPropertyValue("--zoom"));
    const boxBottom = () => page.evaluate(() => document.querySelector('.form.active [data-name="txtergebnis"]').getBoundingClientRect().bottom);
    await page.evaluate(() => {
        visualViewport.height = 420;
        visualViewport.dispatchEvent(new Event("resize"));
    });
    assert.ok((await boxBottom()) <= 420, "above the keyboard");
    assert.equal(await page.evaluate(() => getComputedStyle(document.documentElement).getPropertyValue("--zoom")), zoom, "the same zoom");
    await page.evaluate(() => {
        visualViewport.height = innerHeight;
        visualViewport.dispatchEvent(new Event("resize"));
    });
    await waitFor(page, "the game is back in its place", () => document.getElementById("stage").style.transform === "");
    await assertNoProblems(page);
    await page.close();
});
