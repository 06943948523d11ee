// Links that open a game: index.html#waage-normal opens the start screen with the game and the
// level chosen and the focus on "Los und hopp", and one key starts it; the teacher's links.html
// lists every game at every level, and each of its codes reads as its link.

import assert from "node:assert/strict";
import { execFile } from "node:child_process";
import { mkdtemp, rm, writeFile } from "node:fs/promises";
import { tmpdir } from "node:os";
import path from "node:path";
import { after, before, test } from "node:test";
import { promisify } from "node:util";
import { assertNoProblems, open, shareBrowser, waitFor, waitForTitle } from "./lib.mjs";
import { GAMES } from "./play.mjs";

const shared = shareBrowser();
before(async () => {
    shared.work = await mkdtemp(path.join(tmpdir(), "zifferix-links-"));
});
after(() => rm(shared.work, { recursive: true, force: true }));

// The captions of the start screen's chosen options, and the control that has the focus.
const choice = (page) =>
    page.evaluate(() => {
        const start = document.querySelector('.form[data-form="frmstart"]');
        const chosen = [...start.querySelectorAll("[data-name]")].filter((e) => e.querySelector(":scope > input[type=radio]")?.checked);
        return { chosen: chosen.map((e) => e.textContent.trim()), focus: document.activeElement?.closest("[data-name]")?.dataset.name };
    });

// Every game option's and level option's caption on the start screen, top to bottom.
const captions = (page) =>
    page.evaluate(() => {
        const inFrame = (frame) => [...document.querySelectorAll(`.form[data-form="frmstart"] [data-name="${frame}"] [data-name]`)]
            .filter((e) => e.querySelector(":scope > input[type=radio]")).map((e) => e.textContent.trim());
        return { games: inFrame("Frame1"), levels: inFrame("Frame2") };
    });

const visit = (address = "") => open(shared.browser, shared.site.url + address);

// The teacher's page: each figure's link, the address it opens, and the captions under it.
async function linksPage() {
    const page = await shared.browser.open(`${shared.site.url}links.html`, { width: 1024, height: 768 });
    await waitFor(page, "the codes are drawn", () => document.querySelector("figure[data-link] .code svg"));
    const figures = await page.$$eval("figure[data-link]", (all) => all.map((f) => ({
        link: f.dataset.link,
        href: f.querySelector("a").href,
        game: f.querySelector(".game").textContent,
        level: f.querySelector(".level").textContent,
    })));
    return { page, figures };
}

const noProblems = assertNoProblems;

test("links.html lists every game of the start screen at every level, each once", async () => {
    const { page, figures } = await linksPage();
    await noProblems(page);
    await page.close();
    const start = await visit();
    const { games, levels } = await captions(start);
    assert.equal(games.length, 8);
    assert.equal(levels.length, 3);
    const listed = figures.map((f) => `${f.game} / ${f.level}`);
    assert.deepEqual(listed, games.flatMap((game) => levels.map((level) => `${game} / ${level}`)));
    for (const figure of figures) {
        assert.equal(figure.href, `${shared.site.url}#${figure.link}`, "the site's folder with the link's name");
    }
    await noProblems(start);
    await start.close();
});

test("every link of links.html opens the start screen with what it names chosen, and nothing started", async () => {
    const { page, figures } = await linksPage();
    await page.close();
    for (const figure of figures) {
        const start = await visit(`#${figure.link}`);
        assert.deepEqual(await choice(start), { chosen: [figure.game, figure.level], focus: "cmdAnfang" }, figure.link);
        assert.equal(await start.title(), "Zifferix 1", `${figure.link} starts nothing by itself`);
        await noProblems(start);
        await start.close();
    }
});

test("one Enter starts the linked game at the linked level; a link with a game alone leaves the level", async () => {
    const balance = GAMES.find((g) => g.form === "frmwaage");
    const page = await visit("index.html#waage-normal");
    await page.press("Enter");
    await waitForTitle(page, balance.title);
    await noProblems(page);
    await page.close();

    const alone = await visit("#ballon");
    assert.deepEqual(await choice(alone), { chosen: ["Ballonfahrt"], focus: "cmdAnfang" });
    await noProblems(alone);
    await alone.close();
});

test("a new link chooses while the start screen is in front, not while a game is; an unknown one nothing", async () => {
    const page = await visit("#gaensebluemchen-normal");
    assert.deepEqual(await choice(page), { chosen: [], focus: "cmdAnfang" }, "the start screen as usual");
    await page.evaluate(() => { location.hash = "spinne-schwer"; });
    await waitFor(page, "the link has chosen", () => document.querySelector('[data-name="optSchwer"] input').checked);
    assert.deepEqual(await choice(page), { chosen: ["gegen die Spinne", "voll schwer"], focus: "cmdAnfang" });

    await page.press("Enter");
    await waitForTitle(page, GAMES.find((g) => g.form === "frmNetz").title);
    await page.evaluate(() => { location.hash = "uhr-leicht"; });
    await new Promise((done) => setTimeout(done, 300));
    assert.equal(await page.title(), GAMES.find((g) => g.form === "frmNetz").title, "the game stays in front");
    await noProblems(page);
    await page.close();
});

test("Neu starten after Aus und Schluss chooses the link's game again", async () => {
    const page = await visit("#zahlen-leicht");
    await page.keyDown("Alt");
    await page.press("a"); // "Aus und Schluss"
    await page.keyUp("Alt");
    await waitFor(page, "the goodbye page", () => !document.getElementById("goodbye").hidden);
    await page.click("#goodbye button");
    await waitFor(page, "a new run", () => document.getElementById("goodbye").hidden);
    assert.deepEqual(await choice(page), { chosen: ["fliegende Zahlen", "leicht"], focus: "cmdAnfang" });
    await noProblems(page);
    await page.close();
});

// Each code as the page draws it, an SVG, drawn to a picture and read by zbar.
test("every code on links.html reads as its link", async () => {
    const { page, figures } = await linksPage();
    const codes = await page.$$eval("figure[data-link] .code svg", (all) => all.map((svg) => svg.outerHTML));
    assert.equal(codes.length, figures.length);
    for (const [i, code] of codes.entries()) {
        const drawing = path.join(shared.work, `${figures[i].link}.svg`);
        const picture = path.join(shared.work, `${figures[i].link}.png`);
        await writeFile(drawing, code.includes("xmlns=") ? code : code.replace("<svg ", '<svg xmlns="http://www.w3.org/2000/svg" '));
        await promisify(execFile)("rsvg-convert", ["--width", "300", "--background-color", "white", "--output", picture, drawing]);
        const { stdout } = await promisify(execFile)("zbarimg", ["--quiet", "--raw", picture]);
        assert.equal(stdout.trim(), figures[i].href, figures[i].link);
    }
    await noProblems(page);
    await page.close();
});

// A switch adds its word to every link and code: a class that needs reading aloud gets it in each.
test("the switches for more time, more contrast and reading aloud go into every link", async () => {
    const { page } = await linksPage();
    await page.click('.additions input[value="vorlesen"]');
    await page.click('.additions input[value="mehrzeit"]');
    const hrefs = await page.$$eval("figure[data-link]", (all) => all.map((f) => [f.dataset.link, f.querySelector("a").href]));
    for (const [link, href] of hrefs) {
        assert.equal(href, `${shared.site.url}#${link}-mehrzeit-vorlesen`);
    }
    await noProblems(page);
    await page.close();
    const opened = await open(shared.browser, hrefs[0][1]);
    assert.equal(await opened.$eval("#speaker", (e) => e.hidden), false, "the link reads aloud");
    await noProblems(opened);
    await opened.close();
});

// A class's link pasted into links.html: every link and code then joins the class first, with
// the switches as ever; what is no class's link is said, and the links stay as they were.
test("a class's link pasted into links.html goes into every link; anything else is said to be none", async () => {
    const { page, figures } = await linksPage();
    const site = shared.site.url;
    const PASTED = [
        [`${site}index.html#klasse=abcdefghijk2`, "klasse=abcdefghijk2&", false],
        [` ${site}#klasse=mnopqrstuvw7&uhr-leicht `, "klasse=mnopqrstuvw7&", false],
        [`${site}index.html#klasse=ABCDEFGHIJKL`, "", true],
        [`${site}index.html#klasse=abc`, "", true],
        ["", "", false],
    ];
    await page.click('.additions input[value="kontrast"]');
    for (const [pasted, joined, wrong] of PASTED) {
        await page.evaluate((text) => {
            const field = document.getElementById("class-link");
            field.value = text;
            field.dispatchEvent(new Event("input", { bubbles: true }));
        }, pasted);
        const hrefs = await page.$$eval("figure[data-link]", (all) => all.map((f) => [f.querySelector("a").href, f.querySelector(".link").textContent]));
        assert.deepEqual(hrefs, figures.map((f) => Array(2).fill(`${site}#${joined}${f.link}-kontrast`)), pasted);
        assert.equal(await page.$eval("#class-wrong", (e) => e.hidden), !wrong, `${pasted}: said to be no class's link`);
    }
    await noProblems(page);
    await page.close();

    // The teacher's page hands the class on in the address: links.html#klasse=...
    const handed = await shared.browser.open(`${site}links.html#klasse=abcdefghijk2`, { width: 1024, height: 768 });
    await waitFor(handed, "the codes are drawn", () => document.querySelector("figure[data-link] .code svg"));
    assert.equal(await handed.$eval("#class-link", (e) => e.value), `${site}#klasse=abcdefghijk2`);
    assert.equal(await handed.$eval("figure[data-link] a", (e) => e.href), `${site}#klasse=abcdefghijk2&${figures[0].link}`);
    await noProblems(handed);
    await handed.close();
});
