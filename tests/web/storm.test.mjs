// A child cannot break the page: a storm of random input (storm.mjs) reaches every game at every
// level and the row, and leaves a page with a clean console that still answers, whose program
// uses no more memory than before it, and whose games still end as their rules say.
// ZIFFERIX_STORM_SECONDS sets how long it storms, ZIFFERIX_SEED repeats a storm, and
// ZIFFERIX_STORM_REPORT names a file for its report.

import assert from "node:assert/strict";
import { writeFile } from "node:fs/promises";
import { test } from "node:test";
import { ENGINE, assertNoProblems, lacks, open, shareBrowser, startGame, text, waitForTitle } from "./lib.mjs";
import { GAMES } from "./play.mjs";
import { heapWithEveryScreen, seedOf, storm } from "./storm.mjs";

const shared = shareBrowser();
const SECONDS = Number(process.env.ZIFFERIX_STORM_SECONDS ?? 60);

const TABLE = ["lblPunkte1", "lblPunkte2", "lblPunkte3", "lblPunkte4", "lblPunkte5", "lblPunkte6", "lblPunkte8", "lblPunkte10"];
const table = async (page) => Object.fromEntries(await Promise.all(TABLE.map(async (p) => [p, Number(await text(page, "frmstart", p))])));
const spider = GAMES.find((g) => g.form === "frmNetz");

// Twelve wrong products: the spider finishes its web and nothing is written.
async function loseToTheSpider(page) {
    await startGame(page, spider.option, "optEinfach");
    await waitForTitle(page, spider.title);
    for (let i = 0; i < 12; i++) {
        await page.type("1");
        await page.press("Enter");
    }
    await waitForTitle(page, "Zifferix 1");
}

// Sixteen right products at voll schwer: 22 points and the bonus of 23, the most a spider game
// can score, so the table shows 45 whatever it showed before.
async function beatTheSpider(page) {
    await startGame(page, spider.option, "optSchwer");
    await waitForTitle(page, spider.title);
    await spider.play(page, 3);
    await waitForTitle(page, "Zifferix 1");
}

async function stormAndCheck(t, seed, seconds) {
    t.diagnostic(`${ENGINE}, seed ${seed}: repeat with ZIFFERIX_SEED=${seed}`);
    const page = await open(shared.browser, shared.site.url, { touch: !lacks("touch") });
    const before = await heapWithEveryScreen(page);
    const report = await storm(page, { seed, seconds });
    report.heapBefore = before;
    report.heapAfter = await heapWithEveryScreen(page);
    t.diagnostic(`${report.rounds} rounds, ${report.actions} actions in ${report.seconds} s; reached ${report.reached.join(", ")}`);
    t.diagnostic(`memory with every screen made: ${before} bytes before, ${report.heapAfter} after`);
    if (process.env.ZIFFERIX_STORM_REPORT) await writeFile(process.env.ZIFFERIX_STORM_REPORT, JSON.stringify(report, null, 1));

    const where = `(seed ${seed}: repeat with ZIFFERIX_SEED=${seed} ZIFFERIX_ENGINE=${ENGINE})`;
    assert.deepEqual(report.missing, [], `every game at every level and the row are reached ${where}`);
    assert.ok(report.heapAfter <= before * 1.1, `the memory grew from ${before} to ${report.heapAfter} bytes ${where}`);

    const points = await table(page);
    await loseToTheSpider(page);
    assert.deepEqual(await table(page), points, `a lost game leaves the table as it was ${where}`);
    await beatTheSpider(page);
    const won = await table(page);
    assert.deepEqual(won, { ...points, lblPunkte4: 45 }, `a won game writes its best score ${where}`);
    assert.equal(await text(page, "frmstart", "lblGesamt"), String(Object.values(won).reduce((a, b) => a + b)), `the total ${where}`);
    assert.equal(await page.$eval('[data-name="opt4"]', (e) => e.style.color), "rgb(255, 128, 0)", `voll schwer paints the game orange ${where}`);
    await assertNoProblems(page);
    await page.close();
}

test(`a storm of ${SECONDS} s leaves a page that answers, keeps its memory and plays by the rules`, async (t) => {
    await stormAndCheck(t, seedOf(process.env.ZIFFERIX_SEED), SECONDS);
});
