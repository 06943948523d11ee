// What every test asserts at its end, that the console stayed clean, can fail in every engine:
// a warning, an error, an uncaught error, an unhandled rejection and a missing file are noted.

import assert from "node:assert/strict";
import { test } from "node:test";
import { open, shareBrowser } from "./lib.mjs";

const shared = shareBrowser();

// Runs before the page's own script.
function misbehave() {
    console.warn("a warning");
    console.error("an error");
    setTimeout(() => {
        throw new Error("thrown");
    });
    setTimeout(() => Promise.reject(new Error("rejected")));
    fetch("no-such-file.txt");
}

const EXPECTED = [/warn: a warning/, /error: an error/, /thrown/, /rejected/, /no-such-file\.txt|404/];

test("a page's warnings, errors and missing files are noted", async () => {
    const page = await open(shared.browser, shared.site.url, { before: misbehave });
    await page.waitFor("the page has fetched the missing file", () =>
        performance.getEntriesByType("resource").some((e) => e.name.endsWith("no-such-file.txt")));
    await new Promise((done) => setTimeout(done, 200));
    const problems = (await page.problems()).join("\n");
    for (const expected of EXPECTED) {
        assert.match(problems, expected);
    }
    await page.close();
});

test("a clean page notes nothing", async () => {
    const page = await open(shared.browser, shared.site.url);
    assert.deepEqual(await page.problems(), []);
    await page.close();
});
