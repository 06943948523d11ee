// The teacher's page on every screen it meets, from a phone upright to a 4K monitor, as axe
// sees it (also with more contrast), and under the strict policy the service sends with it.
// Screenshots of each view go to /tmp/lehrer-VIEW-WIDTHxHEIGHT.png. Chromium only.

import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { readFile } from "node:fs/promises";
import { createRequire } from "node:module";
import path from "node:path";
import { describe, test } from "node:test";
import { waitFor } from "./lib.mjs";
import { boardOf, clean, missing, openClass, post, result, shareService, teacher, visible } from "./lehrer.mjs";

const shared = shareService();

// What the strict Content-Security-Policy forbids, and how the page would do it: it does none.
const PAGE = path.resolve("../../shell/web/page");
const FORBIDDEN = [
    [/<script(?![^>]*\ssrc=)/, "an inline script"], [/<style/, "an inline style sheet"], [/\sstyle=/, "a style attribute"],
    [/\son[a-z]+=/, "an event attribute"], [/\.(inner|outer)HTML|insertAdjacentHTML|document\.write/, "markup from a string"],
    [/\beval\(|new Function/, "code from a string"], [/\.style\b|setAttribute\("style"/, "a style set by the script"],
];
test("the page needs nothing its policy forbids, and the service sends the policy", { skip: missing }, async () => {
    for (const file of ["lehrer.html", "lehrer.js", "lehrer-tafel.js"]) {
        const source = await readFile(path.join(PAGE, file), "utf8");
        for (const [pattern, what] of FORBIDDEN) assert.doesNotMatch(source, pattern, `${file} has ${what}`);
    }
    const policy = (await fetch(`${shared.service.url}lehrer.html`)).headers.get("content-security-policy") ?? "";
    for (const directive of ["default-src 'self'", "script-src 'self'", "style-src 'self'", "connect-src 'self'"]) {
        assert.ok(policy.includes(directive), `the policy has ${directive}: ${policy}`);
    }
});
const AXE = readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");
const WCAG = ["wcag2a", "wcag2aa", "wcag21aa", "wcag22aa"];
// What axe finds against WCAG 2.2 AA, as rule: places; run as DevTools runs a script, past the CSP.
async function faults(tab) {
    await tab.page.evaluate(AXE);
    return tab.page.evaluate((tags) => window.axe.run(document, { runOnly: { type: "tag", values: tags } })
        .then((r) => r.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(", ")}`)), WCAG);
}

// Each view the teacher meets, reached from the board of a class with three children.
const VIEWS = [
    ["form", (made, screen) => teacher("lehrer.html", screen), "open"],
    ["links", async (made, screen) => {
        const tab = await teacher("lehrer.html", screen);
        await tab.page.type("#class-name", "3b Dienstag");
        await tab.page.click("#open-button");
        await waitFor(tab, "the class is open", () => !document.getElementById("opened").hidden);
        return tab;
    }, "opened"],
    ["board", (made, screen) => boardOf(made, screen), "board"],
    ["child", async (made, screen) => {
        const tab = await boardOf(made, screen);
        await tab.page.click('#rows button[data-child="Ben"]');
        await waitFor(tab, "Ben's games", () => document.querySelector("#child-games .game"));
        return tab;
    }, "child"],
];

describe("on a tablet, a laptop and a phone", { skip: missing }, () => {
    const SCREENS = [[1024, 768], [820, 1180], [1366, 633], [844, 390], [390, 844], [3840, 2000]];
    for (const [width, height] of SCREENS) {
        test(`at ${width} x ${height} every view fits, the table scrolls sideways only on a phone, and axe finds nothing`, async () => {
            const made = await openClass("3b Dienstag", ["Mia", "Ben", "Maximiliane-Friederike"]);
            await post(made.klasse, result("Mia"));
            await post(made.klasse, result("Ben", { spiel: "spinne", stufe: 3, punkte: 1250 }));
            await post(made.klasse, result("Ben", { spiel: "ballon", ergebnis: "verloren", punkte: -20 }));
            for (const [view, reach, section] of VIEWS) {
                const tab = await reach(made, { width, height });
                assert.equal(await visible(tab, section), true);
                await tab.page.screenshot({ path: `/tmp/lehrer-${view}-${width}x${height}.png`, fullPage: true });
                const sizes = await tab.evaluate(() => ({
                    page: document.scrollingElement.scrollWidth, view: innerWidth,
                    box: document.getElementById("table-box").scrollWidth, boxView: document.getElementById("table-box").clientWidth,
                }));
                assert.ok(sizes.page <= sizes.view, `${view}: the page is ${sizes.page} px wide in ${sizes.view}`);
                if (view === "board") assert.equal(sizes.box > sizes.boxView, width < 800, "the table scrolls in its box on a phone");
                assert.deepEqual(await faults(tab), [], view);
                await clean(tab);
                await tab.close();
            }
        });
    }

    test("with more contrast asked for, axe finds nothing either", async () => {
        const made = await openClass("7a", ["Mia"]);
        await post(made.klasse, result("Mia"));
        const tab = await boardOf(made);
        await tab.askForContrast("prefers-contrast", "more");
        await tab.page.screenshot({ path: "/tmp/lehrer-board-kontrast.png" });
        assert.deepEqual(await faults(tab), []);
        await tab.close();
    });
});
