// Every game played to its end in the page by keys, each started twice as a child would; a loss;
// and "Aus und Schluss" taking the points with it.

import assert from "node:assert/strict";
import { test } from "node:test";
import { assertNoProblems, click, open, shareBrowser, startGame, text, waitFor, waitForTitle } from "./lib.mjs";
import { GAMES, inFront } from "./play.mjs";

const shared = shareBrowser();

// Where the child acts first: the start button where the game has one, else the answer box.
const FIRST = {
    frmUhr: "cmdAnfang", frmBerg: "cmdLos", frmwaage: "txtErgebnis", frmNetz: "txtergebnis",
    frmBallon: "txtEing", frmWander: "cmdStart", frmbruchteile: null,
};
// The focus comes to that place as soon as the game lets the child act: the balloon's box, for
// one, once the balloon has been drawn.
async function expectFocus(page, form, when) {
    const expected = `${form}.${FIRST[form]}`;
    if (FIRST[form]) {
        await waitFor(page, `the focus is on ${expected} in the ${when}`, (e) => {
            const c = document.activeElement?.closest("[data-name]");
            return c && `${c.closest(".form").dataset.form}.${c.dataset.name}` === e;
        }, expected);
    }
}

const POINTS = { opt1: "lblPunkte1", opt2: "lblPunkte2", opt3: "lblPunkte3", opt4: "lblPunkte4", opt5: "lblPunkte5", opt6: "lblPunkte6", opt8: "lblPunkte8" };

test("each game is won by keys at leicht, and starts again with the focus where the child acts", async () => {
    const page = await open(shared.browser, shared.site.url);
    for (const game of GAMES) {
        await startGame(page, game.option, "optEinfach");
        await waitForTitle(page, game.title);
        await expectFocus(page, game.form, "first game");
        await game.play(page, 1);
        await waitForTitle(page, "Zifferix 1");
        assert.notEqual(await text(page, "frmstart", POINTS[game.option]), "0", `${game.form} wrote its points`);
        assert.equal(await page.$eval(`[data-name="${game.option}"]`, (e) => e.style.color), "rgb(0, 255, 0)");

        await startGame(page, game.option, "optMittel");
        await waitForTitle(page, game.title);
        await expectFocus(page, game.form, "second game");
        await page.click(`.form[data-form="${game.form}"] .close-box`);
        await waitForTitle(page, "Zifferix 1");
    }
    assert.equal(await text(page, "frmstart", "lblGesamt"), String(
        (await Promise.all(Object.values(POINTS).map((p) => text(page, "frmstart", p)))).reduce((a, b) => a + Number(b), 0)));

    await click(page, "frmstart", "cmdEnde");
    await waitForTitle(page, "Zifferix");
    await page.click("#goodbye button");
    await waitForTitle(page, "Zifferix 1");
    for (const points of Object.values(POINTS)) {
        assert.equal(await text(page, "frmstart", points), "0", "a new run starts with an empty table");
    }
    await assertNoProblems(page);
    await page.close();
});

test("twelve wrong products let the spider finish its web, and the table stays as it was", async () => {
    const page = await open(shared.browser, shared.site.url);
    await startGame(page, "opt4", "optSchwer");
    await waitForTitle(page, "Multiplikation");
    for (let i = 0; i < 11; i++) {
        await page.type("1");
        await page.press("Enter");
    }
    assert.ok(await inFront(page, "frmNetz"));
    assert.equal(await page.$$eval('.form[data-form="frmNetz"] svg.line', (l) => l.filter((e) => e.checkVisibility()).length), 32,
        "eleven steps of the web");
    await page.type("1");
    await page.press("Enter");
    await waitForTitle(page, "Zifferix 1");
    assert.equal(await text(page, "frmstart", "lblPunkte4"), "0");
    await assertNoProblems(page);
    await page.close();
});
