// Text that comes without keys, as a tablet's keyboard, a paste or a drop sends it, goes through
// the game's own key rules one character at a time: nothing enters a box that the game would not
// take, and the game goes on.

import assert from "node:assert/strict";
import { test } from "node:test";
import { assertNoProblems, lacks, open, paste, shareBrowser, startGame, tabletTypes, text, waitForTitle } from "./lib.mjs";

const shared = shareBrowser();

test("digits and one comma reach the mountain's box however they come", async (t) => {
    const page = await open(shared.browser, shared.site.url);
    await startGame(page, "opt2", "optEinfach");
    await waitForTitle(page, "Längenmaße");
    await page.press("Enter"); // "Los"
    const box = () => text(page, "frmBerg", "txtEing");

    await tabletTypes(page, "1");
    await tabletTypes(page, "x");
    await tabletTypes(page, ",");
    assert.equal(await box(), "1,");
    await paste(page, "2a,5\n😀ü");
    assert.equal(await box(), "1,25", "the second comma, the letters and the line break are swallowed");
    await t.test("an input method's commit is typed too", { skip: lacks("textWithoutKeys") }, async () => {
        await page.sendText("7");
        assert.equal(await box(), "1,257");
    });
    await page.press("Backspace");
    assert.equal(await box(), "", "Backspace empties the box");
    await page.press("NumpadDecimal");
    await page.type(".5");
    assert.equal(await box(), ",5", "the keypad's decimal key is a comma, and a point a second one, swallowed");
    await assertNoProblems(page);
    await page.close();
});

test("a box with digits only takes no comma, no sign and no more than its length", async () => {
    const page = await open(shared.browser, shared.site.url);
    await startGame(page, "opt4", "optSchwer");
    await waitForTitle(page, "Multiplikation");
    await paste(page, "1,2");
    await tabletTypes(page, "-3");
    assert.equal(await text(page, "frmNetz", "txtergebnis"), "123");
    await page.press("Backspace");
    await paste(page, "9".repeat(1e6));
    assert.equal(await text(page, "frmNetz", "txtergebnis"), "999", "a huge paste is cut, and the page goes on");
    await assertNoProblems(page);
    await page.close();
});
