// The page on the screens children have, from a phone turned sideways to a 4K monitor, upright
// and across: every control and text of every screen lies inside, and a turn in mid-game zooms
// the game to fit without losing it.

import assert from "node:assert/strict";
import { test } from "node:test";
import { VIEWPORTS, answer, assertNoProblems, german, open, shareBrowser, startGame, text, waitFor, waitForTitle } from "./lib.mjs";
import { GAMES, spiderAnswer } from "./play.mjs";

const shared = shareBrowser();

// The controls of the screen in front that reach outside the viewport: their box, or a
// transparent label's text. The mountain's path runs off the window's edges into the sky and
// the valley, where the ball leaves the screen.
const outside = (page) =>
    page.evaluate(() => {
        const [width, height] = [document.documentElement.clientWidth, document.documentElement.clientHeight];
        const layer = document.querySelector(".form.active");
        const out = [];
        for (const e of layer.querySelectorAll("[data-name]")) {
            const name = e.dataset.name;
            if (!e.checkVisibility() || (layer.dataset.form === "frmBerg" && /^ln[15]$/.test(name))) continue;
            let r = e.getBoundingClientRect();
            if (e.classList.contains("label") && getComputedStyle(e).backgroundColor === "rgba(0, 0, 0, 0)") {
                const range = document.createRange();
                range.selectNodeContents(e);
                r = range.getBoundingClientRect();
                if (r.width === 0) continue;
            }
            if (r.left < -0.5 || r.top < -0.5 || r.right > width + 0.5 || r.bottom > height + 0.5) {
                out.push(`${layer.dataset.form}.${name} at ${Math.round(r.left)},${Math.round(r.top)} to ${Math.round(r.right)},${Math.round(r.bottom)}`);
            }
        }
        return out;
    });

test("every screen lies wholly inside the viewports children have", async (t) => {
    for (const [width, height, what] of VIEWPORTS) {
        await t.test(`${width} x ${height}, ${what}`, async () => {
            const page = await open(shared.browser, shared.site.url, { width, height });
            assert.deepEqual(await outside(page), [], "the start screen");
            for (const game of GAMES) {
                await startGame(page, game.option, "optMittel");
                await waitForTitle(page, game.title);
                assert.deepEqual(await outside(page), [], game.form);
                await page.click(`.form[data-form="${game.form}"] .close-box`);
                await waitForTitle(page, "Zifferix 1");
            }
            await assertNoProblems(page);
            await page.close();
        });
    }
});

const turnPrompt = (page) => page.evaluate(() => !document.getElementById("turn").hidden && document.getElementById("stage").inert);

// A large phone held upright; WebKitGTK's window gets no narrower.
test("a phone held upright is asked to be turned, and plays once it is", async () => {
    const page = await open(shared.browser, shared.site.url, { width: 460, height: 1000 });
    assert.equal(await turnPrompt(page), true);
    assert.equal(await page.$eval("#turn p", (p) => p.textContent), "Bitte dreh dein Gerät.");
    await page.setViewport(1000, 460);
    await waitFor(page, "the prompt has gone", () => document.getElementById("turn").hidden);
    assert.deepEqual(await outside(page), []);
    await assertNoProblems(page);
    await page.close();
});

async function answerSpider(page) {
    await answer(page, "frmNetz", "txtergebnis", german(await spiderAnswer(page)));
}
const place = (page, form, name) =>
    page.$eval(`.form[data-form="${form}"] [data-name="${name}"]`, (e) => {
        const r = e.getBoundingClientRect();
        return [Math.round(r.left), Math.round(r.top)];
    });

test("a tablet turned in mid-game keeps the game and the answer typed, and the next screen takes the best layout", async () => {
    const page = await open(shared.browser, shared.site.url, { width: 1180, height: 820 });
    await startGame(page, "opt4", "optEinfach");
    await waitForTitle(page, "Multiplikation");
    await answerSpider(page);
    const problem = [await text(page, "frmNetz", "lbla"), await text(page, "frmNetz", "lblb")];
    await page.type("1");
    await page.setViewport(820, 1180);
    await waitFor(page, "the game is zoomed to the upright width", () => document.querySelector('.form.active [data-name="cmdEnde"]').getBoundingClientRect().right <= 820);
    assert.deepEqual(await outside(page), []);
    assert.deepEqual([await text(page, "frmNetz", "lbla"), await text(page, "frmNetz", "lblb")], problem, "the same problem");
    assert.equal(await text(page, "frmNetz", "txtergebnis"), "1", "the answer typed so far");
    await page.press("Backspace");
    for (let i = 0; i < 15; i++) {
        await answerSpider(page);
    }
    await waitForTitle(page, "Zifferix 1");
    assert.notEqual(await text(page, "frmstart", "lblPunkte4"), "0", "won after the turn");
    assert.deepEqual(await place(page, "frmstart", "cmdAnfang"), [Math.round((11160 * 0.7795276 + 300) * 820 / 800 / 15), Math.round((8490 * 0.7711172 + 150) * 820 / 800 / 15)],
        "the start screen in its small layout, zoomed to the width");
    await page.setViewport(1180, 820);
    const large = Math.round(11160 * 1180 / 1024 / 15);
    await waitFor(page, "the start screen takes the large layout again", (x) => Math.round(document.querySelector('[data-name="cmdAnfang"]').getBoundingClientRect().left) === x, large);
    await assertNoProblems(page);
    await page.close();
});
