// "das Spiel" at leicht in the page: seven games in a row, handed over from one to the next,
// and the row's total on the start screen.

import assert from "node:assert/strict";
import { test } from "node:test";
import { assertNoProblems, open, shareBrowser, startGame, text, waitForTitle } from "./lib.mjs";
import { GAMES } from "./play.mjs";

const shared = shareBrowser();

test("the whole row at leicht writes its total with the bonus of 50", async () => {
    const page = await open(shared.browser, shared.site.url);
    await startGame(page, "opt10", "optEinfach");
    for (const game of GAMES) {
        await waitForTitle(page, game.title);
        await game.play(page, 1);
    }
    await waitForTitle(page, "Zifferix 1");
    const row = Number(await text(page, "frmstart", "lblPunkte10"));
    assert.ok(row > 50, `the row scored ${row}`);
    assert.equal(await text(page, "frmstart", "lblGesamt"), String(row));
    assert.equal(await text(page, "frmstart", "lblPunkte1"), "0", "a game in the row writes no points of its own");
    assert.equal(await page.$$eval(".form:not([hidden])", (l) => l.map((e) => e.dataset.form)).then((f) => f.join()), "frmstart");
    await assertNoProblems(page);
    await page.close();
});
