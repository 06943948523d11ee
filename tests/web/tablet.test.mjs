// The page as a tablet app: played by taps and by the text a tablet's keyboard sends, with the
// number pad a box asks for; installable, and playing without a network once it has been
// loaded; a new build taking over as a whole; a first visit that asks for each file once, and
// repeat visits that ask for the page alone or for nothing.

import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { cp, mkdtemp, readFile, rm, writeFile } from "node:fs/promises";
import os from "node:os";
import path from "node:path";
import { test } from "node:test";
import { KEPT_FOR_GOOD, SITE, answer, built, assertNoProblems, german, lacks, open, reload, serveFor, shareBrowser, text, waitFor, waitForTitle } from "./lib.mjs";
import { GAMES, mountainAnswer, spiderAnswer } from "./play.mjs";

const shared = shareBrowser();

const tap = (page, form, name) => page.tap(`.form[data-form="${form}"] [data-name="${name}"]`);
// A tap where the engine can tap, else a click: for what does not depend on the finger.
const tapOrClick = (page, selector) => (lacks("touch") ? page.click(selector) : page.tap(selector));
const press = (page, form, name) => tapOrClick(page, `.form[data-form="${form}"] [data-name="${name}"]`);
const focusedBox = (page) => page.evaluate(() => document.activeElement?.dataset.name ?? "nothing");
// What a tablet's keyboard sends: no usable key, only the text to insert; its Enter is a key.
const keyboardTypes = (page, data) =>
    page.evaluate((d) => {
        document.activeElement.dispatchEvent(new InputEvent("beforeinput", { inputType: "insertText", data: d, bubbles: true, cancelable: true }));
    }, data);

test("a game started and played by taps and a tablet's keyboard, landscape and portrait", { skip: lacks("touch") }, async () => {
    for (const [width, height] of [[1280, 800], [800, 1280]]) {
        const page = await open(shared.browser, shared.site.url, { width, height, touch: true });
        await tap(page, "frmstart", "opt2");
        await tap(page, "frmstart", "optEinfach");
        await tap(page, "frmstart", "cmdAnfang");
        await waitForTitle(page, "Längenmaße");
        await tap(page, "frmBerg", "cmdLos");
        await tap(page, "frmBerg", "txtEing");
        let problems = 0;
        while (await page.$eval('[data-form="frmBerg"]', (l) => l.classList.contains("active"))) {
            await waitFor(page, "the box takes an answer", () => {
                const l = document.querySelector('[data-form="frmBerg"]');
                return !l.classList.contains("active") || !l.querySelector('[data-name="txtEing"]').readOnly;
            });
            if (!(await page.$eval('[data-form="frmBerg"]', (l) => l.classList.contains("active")))) break;
            assert.equal(await focusedBox(page), "txtEing", `the pad stays open for problem ${++problems}`);
            const value = await mountainAnswer(page);
            await keyboardTypes(page, german(value).replace(",", ".")); // a decimal pad's point
            assert.equal(await text(page, "frmBerg", "txtEing"), german(value));
            await page.press("Enter");
            assert.equal(await focusedBox(page), "txtEing", "while the ball rolls");
        }
        await waitForTitle(page, "Zifferix 1");
        assert.notEqual(await page.evaluate(() => document.activeElement?.tagName), "INPUT", "the pad closes");
        assert.equal(await text(page, "frmstart", "lblPunkte2"), "25");
        for (const name of ["opt2", "optEinfach", "cmdAnfang"]) {
            await tap(page, "frmstart", name);
        }
        await waitForTitle(page, "Längenmaße");
        assert.equal(await focusedBox(page), "cmdLos", "the second game starts where the first did");
        await assertNoProblems(page);
        await page.close();
    }
});

test("every answer box asks for a number pad, with a decimal key where a comma is taken", async () => {
    const page = await open(shared.browser, shared.site.url, { width: 1280, height: 800, touch: !lacks("touch") });
    const decimal = ["frmBerg", "frmBallon"];
    for (const game of GAMES) {
        await press(page, "frmstart", game.option);
        await press(page, "frmstart", "optMittel");
        await press(page, "frmstart", "cmdAnfang");
        await waitForTitle(page, game.title);
        const modes = await page.$$eval(`.form[data-form="${game.form}"] input[type="text"]`, (l) => l.map((e) => e.inputMode));
        assert.deepEqual(modes, [decimal.includes(game.form) ? "decimal" : "numeric"], game.form);
        await tapOrClick(page, `.form[data-form="${game.form}"] .close-box`);
        await waitForTitle(page, "Zifferix 1");
    }
    await page.close();
});

const workerReady = (page) =>
    page.evaluate(async () => {
        await navigator.serviceWorker.ready;
        while (!navigator.serviceWorker.controller) await new Promise((done) => setTimeout(done, 50));
        return (await caches.keys()).join();
    });

// Every file of a build, as its service worker lists them.
async function buildFiles(root = SITE) {
    const worker = await readFile(path.join(root, "sw.js"), "utf8");
    return Object.keys(JSON.parse(/^const FILES = (\{[^]*?\n\});/m.exec(worker)[1]));
}

// How often each name was asked for, of `requests` as the server lists them.
const asked = (requests) => requests.reduce((counts, { name }) => ({ ...counts, [name]: (counts[name] ?? 0) + 1 }), {});

test("a first visit asks for each file once, the worker's fill included, and the next visit for none", async (t) => {
    const files = await buildFiles();
    assert.ok(files.filter((f) => KEPT_FOR_GOOD.test(f)).length >= 12, "the program, the style, the fonts and the icons have digests in their names");
    const site = await serveFor(t);
    const page = await open(shared.browser, site.url);
    await workerReady(page);
    const worker = site.requests.findIndex(({ name }) => name === "sw.js");
    const byPage = asked(site.requests.slice(0, worker));
    assert.deepEqual(Object.entries(byPage).filter(([, n]) => n > 1), [], "the page asks for each of its files once");
    const counts = asked(site.requests);
    for (const file of files) {
        // Where the worker finds nothing in the browser's cache, it fetches what the page had once
        // more; the page may ask for its icon before or after the worker begins.
        const once = byPage[file] && lacks("browserCache") ? 2 : 1;
        const times = counts[file] ?? 0;
        assert.ok(times === once || (lacks("browserCache") && times >= 1 && times <= 2),
            `${file} asked for ${times} times: ${JSON.stringify(site.requests)}`);
    }
    assert.deepEqual(Object.keys(counts).filter((name) => !files.includes(name)), ["sw.js"], "nothing else but the worker");

    const before = site.requests.length;
    await reload(page);
    assert.deepEqual(Object.keys(asked(site.requests.slice(before))).filter((name) => name !== "sw.js"), [], "the worker serves the whole page");
    await assertNoProblems(page);
    await page.close();
});

// A server on plain http: a school's without HTTPS, the teacher's laptop. Browsers run no worker there.
function withoutWorker() {
    delete Navigator.prototype.serviceWorker;
}

test("without a worker, a repeat visit asks for the page alone and takes the rest from the browser's cache", { skip: lacks("browserCache") }, async (t) => {
    const site = await serveFor(t);
    const page = await open(shared.browser, site.url, { before: withoutWorker });
    const before = site.requests.length;
    await page.goto(`${site.url}?again`);
    await waitFor(page, "the page is ready again", () => document.documentElement.dataset.ready === "true");
    const ready = await page.evaluate(() => performance.timeOrigin + performance.getEntriesByName("zifferix-interactive")[0].startTime);
    const early = site.requests.slice(before).filter(({ at }) => at < ready);
    assert.deepEqual(early.map(({ name }) => name), ["index.html"], `before the start screen is ready: ${JSON.stringify(early)}`);
    assert.equal(await page.evaluate(() => "serviceWorker" in navigator), false);
    await assertNoProblems(page);
    await page.close();
});

test("once loaded, the site is installable and plays a game to its end without a network", async (t) => {
    const page = await open(shared.browser, shared.site.url);
    assert.match(await workerReady(page), /^zifferix-[0-9a-f]{16}$/);
    await t.test("the browser finds nothing that keeps it from installing the site", { skip: lacks("installability") }, async () =>
        assert.deepEqual(await page.installabilityErrors(), []));

    await page.offline(true);
    await reload(page);
    await press(page, "frmstart", "opt4");
    await press(page, "frmstart", "optEinfach");
    await press(page, "frmstart", "cmdAnfang");
    await waitForTitle(page, "Multiplikation");
    for (let i = 0; i < 16; i++) {
        const product = await spiderAnswer(page);
        await answer(page, "frmNetz", "txtergebnis", german(product));
    }
    await waitForTitle(page, "Zifferix 1");
    assert.notEqual(await text(page, "frmstart", "lblPunkte4"), "0");
    await assertNoProblems(page);
    await page.close();
});

test("a new build replaces the old one as a whole: after it has loaded, every file is new", async (t) => {
    const second = await mkdtemp(path.join(os.tmpdir(), "zifferix-second-"));
    await cp(SITE, second, { recursive: true });
    const script = path.join(second, built("zifferix.js", second));
    await writeFile(script, `${await readFile(script, "utf8")}// the second build\n`);
    const index = await readFile(path.join(second, "index.html"), "utf8");
    await writeFile(path.join(second, "index.html"), index.replace("<title>", '<meta name="build" content="second">\n<title>'));
    const version = execFileSync("python3", [path.resolve("../../tools/site.py"), "--stamp", second]).toString().trim();

    const site = await serveFor(t); // an origin of its own: no worker of an earlier test
    const page = await open(shared.browser, site.url);
    await workerReady(page);
    site.root = second;
    await reload(page); // still the first build, while the second one is fetched beside it
    await waitFor(page, "the second build has taken over", async (v) => (await caches.keys()).join() === `zifferix-${v}`, version);

    await t.test("every file comes from the worker, as the second build has it", { skip: lacks("workerResponses") }, async () => {
        const served = await page.responses(() => reload(page));
        assert.ok(served.length >= 8, "the page, its style, its script, the program, the fonts and the icon");
        for (const response of served) {
            const file = path.join(second, new URL(response.url).pathname.replace(/^\/zifferix\//, "") || "index.html");
            assert.ok(response.fromWorker, `${response.url} from the service worker`);
            assert.deepEqual(response.body, await readFile(file.endsWith("/") ? `${file}index.html` : file), response.url);
        }
    });
    await reload(page);
    assert.equal(await page.$eval('meta[name="build"]', (m) => m.content), "second");
    await page.close();
    await rm(second, { recursive: true });
});
