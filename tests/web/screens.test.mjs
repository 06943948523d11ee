// The page on a small screen and on a big one, and a viewport that changes in the middle of a
// game: the layout follows at the next activation, as on the desktop, and the game goes on.

import assert from "node:assert/strict";
import { test } from "node:test";
import { answer, assertNoProblems, german, number, open, shareBrowser, startGame, text, waitFor, waitForTitle } from "./lib.mjs";

const shared = shareBrowser();

const place = (page, form, name) =>
    page.$eval(`.form[data-form="${form}"] [data-name="${name}"]`, (e) => {
        const r = e.getBoundingClientRect();
        return [r.left, r.top, getComputedStyle(e).fontSize];
    });

async function spiderAnswer(page) {
    const product = number(await text(page, "frmNetz", "lbla")) * number(await text(page, "frmNetz", "lblb"));
    await answer(page, "frmNetz", "txtergebnis", german(product));
}

test("at 800 x 600 the start screen and the games take their small layout", async () => {
    const page = await open(shared.browser, shared.site.url, { width: 800, height: 600 });
    assert.deepEqual(await place(page, "frmstart", "cmdAnfang"), [600, 446, "18px"]);
    await startGame(page, "opt2", "optEinfach");
    await waitForTitle(page, "Längenmaße");
    assert.deepEqual((await place(page, "frmBerg", "shpStein")).slice(0, 2), [4, 453], "the ball at the small foot");
    assert.equal((await place(page, "frmBerg", "txtEing"))[2], "24px", "18 pt on a small screen");
    await assertNoProblems(page);
    await page.close();
});

test("at 1920 x 1080 everything grows by 1.40625", async () => {
    const page = await open(shared.browser, shared.site.url, { width: 1920, height: 1080 });
    assert.deepEqual(await place(page, "frmstart", "cmdAnfang"), [Math.round(11160 * 1.40625 / 15), Math.round(8490 * 1.40625 / 15), "25px"]);
    await assertNoProblems(page);
    await page.close();
});

test("a viewport that changes mid-game keeps the game playable and the next screen follows it", async () => {
    const page = await open(shared.browser, shared.site.url);
    await startGame(page, "opt4", "optEinfach");
    await waitForTitle(page, "Multiplikation");
    await spiderAnswer(page);
    await page.setViewport(1920, 1080);
    await waitFor(page, "the page is zoomed", (x) => document.querySelector('[data-name="lbla"]').getBoundingClientRect().left === x,
        Math.round(10815 * 1.40625 / 15));
    await spiderAnswer(page);
    await page.setViewport(800, 600);
    for (let i = 0; i < 14; i++) {
        await spiderAnswer(page);
    }
    await waitForTitle(page, "Zifferix 1");
    assert.deepEqual((await place(page, "frmstart", "cmdAnfang")).slice(0, 2), [600, 446], "small from its activation on");
    await assertNoProblems(page);
    await page.close();
});
