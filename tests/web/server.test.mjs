// The site as a school's server serves it (ZIFFERIX_URL, the package's Apache configuration):
// a game played to its end as a child plays it, and the service worker's cache of the build.

import assert from "node:assert/strict";
import { test } from "node:test";
import { launch } from "./engines.mjs";
import { assertNoProblems, open, startGame, waitForTitle } from "./lib.mjs";
import { GAMES } from "./play.mjs";

const URL = process.env.ZIFFERIX_URL;

test("a game is played to its end from the school's server, and the build is kept for offline play", async () => {
    assert.ok(URL, "ZIFFERIX_URL names the served site");
    const browser = await launch();
    try {
        const page = await open(browser, URL);
        const spider = GAMES.find((g) => g.form === "frmNetz");
        await startGame(page, spider.option, "optEinfach");
        await waitForTitle(page, spider.title);
        await spider.play(page, 1);
        await waitForTitle(page, "Zifferix 1");
        const points = await page.$eval('[data-name="lblPunkte4"]', (e) => Number(e.textContent));
        assert.ok(points > 0, `the spider's points are in the table: ${points}`);

        const cached = await page.evaluate(async () => {
            await navigator.serviceWorker.ready;
            const names = await caches.keys();
            const cache = await caches.open(names.find((n) => n.startsWith("zifferix-")));
            return (await cache.keys()).length;
        });
        assert.ok(cached >= 15, `the service worker keeps the build: ${cached} files`);
        await assertNoProblems(page);
        await page.close();
    } finally {
        await browser.close();
    }
});
