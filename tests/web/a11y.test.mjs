// Every child can play: axe-core finds nothing on any screen but the program's own colours as
// designed, and nothing at all with more contrast; in Chromium, each game is won by keys alone by
// a player who hears only the accessibility tree; the focus never goes astray.

import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import { test } from "node:test";
import { assertNoProblems, click, focused, lacks, open, shareBrowser, waitFor, waitForTitle } from "./lib.mjs";
import { GAMES, playByEar } from "./play.mjs";

const shared = shareBrowser();
const AXE = readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");
const WCAG = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "wcag22aa"];

// What axe finds on the page as it is: each rule broken, with the places it was broken.
async function faults(page) {
    await page.evaluate((source) => { if (!window.axe) (0, eval)(source); }, AXE);
    return page.evaluate((tags) => window.axe.run(document, { runOnly: { type: "tag", values: tags } })
        .then((r) => r.violations.map((v) => ({
            rule: v.id,
            where: v.nodes.map((n) => String(n.target)),
            onStage: v.nodes.every((n) => document.querySelector(String(n.target))?.closest("#stage")),
        }))), WCAG);
}

// Until the game in front takes its first answer: its start button pressed where it has one.
async function firstProblem(page) {
    await waitFor(page, "a box takes an answer", () => {
        const e = document.activeElement;
        if (e?.matches(".form.active button.button") && ["Anfang", "Los", "Start"].includes(e.textContent)) e.click();
        return e?.matches(".form.active input.textbox") && !e.readOnly;
    });
}

// Every screen a child meets, with what axe found on it: the start screen, its message, each
// game at its first problem, and the goodbye.
async function everyScreen(page, look) {
    const found = {};
    found["the start screen"] = await faults(page);
    await page.press("Enter");
    await waitForTitle(page, "Fehler");
    found["the message"] = await faults(page);
    await page.press("Enter");
    await waitForTitle(page, "Zifferix 1");
    for (const game of GAMES) {
        await page.evaluate((h) => { location.hash = h; }, `#${game.link}-leicht${look}`);
        await waitFor(page, "the link has chosen", (o) => document.querySelector(`[data-name="${o}"] input`).checked, game.option);
        await page.press("Enter");
        await waitForTitle(page, game.title);
        await firstProblem(page);
        found[game.title] = await faults(page);
        await page.click(".form.active .close-box");
        await waitForTitle(page, "Zifferix 1");
    }
    await click(page, "frmstart", "cmdEnde");
    await waitFor(page, "the goodbye", () => !document.getElementById("goodbye").hidden);
    found["the goodbye"] = await faults(page);
    return found;
}

test("no screen breaks a rule of WCAG 2.2 AA but the program's own colours, and none with more contrast", async () => {
    const designed = await everyScreen(await open(shared.browser, shared.site.url), "");
    for (const [screen, broken] of Object.entries(designed)) {
        for (const { rule, where, onStage } of broken) {
            assert.equal(rule, "color-contrast", `${screen}: ${rule} at ${where}`);
            assert.ok(onStage, `${screen}: only the screens' own colours, not the page's at ${where}`);
        }
    }
    assert.ok(designed["the start screen"].length > 0, "the start screen's teal as designed");

    const page = await open(shared.browser, `${shared.site.url}#kontrast`);
    assert.ok(await page.evaluate(() => document.documentElement.classList.contains("more-contrast")));
    for (const [screen, broken] of Object.entries(await everyScreen(page, "-kontrast"))) {
        assert.deepEqual(broken.map((b) => `${b.rule} at ${b.where}`), [], `${screen} with more contrast`);
    }
    await assertNoProblems(page);
    await page.close();

    const statement = await shared.browser.open(`${shared.site.url}barrierefreiheit.html`, { width: 1024, height: 768 });
    assert.deepEqual((await faults(statement)).map((b) => `${b.rule} at ${b.where}`), [], "the accessibility statement");
    await statement.close();
});

test("the focus is never lost: after a message, after a game, and where a game goes on", async () => {
    const page = await open(shared.browser, `${shared.site.url}#waage-leicht`);
    assert.equal(await focused(page), "frmstart.cmdAnfang");
    await page.evaluate(() => { location.hash = "#kontrast"; });
    await waitFor(page, "more contrast", () => document.documentElement.classList.contains("more-contrast"));
    await page.press("Enter");
    await waitForTitle(page, "Ausgleich");
    assert.equal(await focused(page), "frmwaage.txtErgebnis");
    await page.type("1");
    await page.press("Enter");
    assert.equal(await focused(page), "frmwaage.cmdStart", "Enter poses the next problem");
    assert.equal(await page.$eval(".form.active [data-name=cmdStart]", (b) => b.getAttribute("aria-label")), "nächste Aufgabe");
    // A window that the engine's driver leaves in the background shows no focus at all.
    if (await page.evaluate(() => document.hasFocus())) {
        assert.equal(await page.evaluate(() => getComputedStyle(document.activeElement).outlineStyle), "solid", "a focus that shows");
    }
    await page.click(".form.active .close-box");
    await waitForTitle(page, "Zifferix 1");
    assert.equal(await focused(page), "frmstart.cmdAnfang", "after the game");
    await page.press("Enter");
    await waitForTitle(page, "Fehler");
    await page.press("Enter");
    await waitForTitle(page, "Zifferix 1");
    assert.equal(await focused(page), "frmstart.cmdAnfang", "after the message");
    await assertNoProblems(page);
    await page.close();
});

test("each game is won by keys alone, hearing only the accessibility tree", { skip: lacks("accessibilityTree") }, async () => {
    const page = await open(shared.browser, shared.site.url);
    for (const game of GAMES) {
        await page.evaluate((h) => { location.hash = h; }, `#${game.link}-leicht`);
        const start = await page.listen();
        assert.equal(start.focused.name, "Los und hopp");
        assert.match(start.focused.description, /, leicht$/, "the start button says what it will start");
        await page.press("Enter");
        await waitForTitle(page, game.title);
        const end = await playByEar(page, game.link === "uhr" ? 10 : Infinity);
        assert.equal(end.title, "Zifferix 1");
        assert.match(end.said, /Gewonnen! \d+ Punkte\.$/, `${game.title} says it was won`);
    }
    for (const [feature, asks] of [["prefers-contrast", "more"], ["forced-colors", "active"]]) {
        await page.askForContrast(feature, asks);
        await waitFor(page, `${feature}: ${asks}`, () => document.documentElement.classList.contains("more-contrast"));
        await page.askForContrast(feature, "");
        await waitFor(page, "as designed again", () => !document.documentElement.classList.contains("more-contrast"));
    }
    await assertNoProblems(page);
    await page.close();
});
