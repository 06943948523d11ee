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
import { launch, waitForTitle } from "./lib.mjs";
import { GAMES } from "./play.mjs";
import { captions, choice, serveSite, visit } from "./school.mjs";

const shared = {};
before(async () => {
    shared.site = await serveSite();
    shared.browser = await launch();
    shared.work = await mkdtemp(path.join(tmpdir(), "zifferix-links-"));
});
after(async () => {
    await shared.browser.close();
    shared.site.close();
    await rm(shared.work, { recursive: true, force: true });
});

// The teacher's page: each figure's link, the address it opens, and the captions under it.
async function linksPage() {
    const page = await visit(shared.browser, shared.site.url, "links.html");
    const figures = await page.$$eval("figure[data-link]", (all) => all.map((f) => ({
        link: f.dataset.link,
        href: f.querySelector("a").href,
        game: f.querySelector(".game").textContent,
        level: f.querySelector(".level").textContent,
    })));
    return { page, figures };
}

const noProblems = (page) => assert.deepEqual(page.problems, [], "the console stays clean and nothing is asked elsewhere");

test("links.html lists every game of the start screen at every level, each once", async () => {
    const { page, figures } = await linksPage();
    const start = await visit(shared.browser, shared.site.url);
    const { games, levels } = await captions(start);
    assert.equal(games.length, 8);
    assert.equal(levels.length, 3);
    const listed = figures.map((f) => `${f.game} / ${f.level}`);
    assert.deepEqual(listed, games.flatMap((game) => levels.map((level) => `${game} / ${level}`)));
    for (const figure of figures) {
        assert.equal(figure.href, `${shared.site.url}#${figure.link}`, "the site's folder with the link's name");
    }
    noProblems(page);
    await Promise.all([page.close(), start.close()]);
});

test("every link of links.html opens the start screen with what it names chosen, and nothing started", async () => {
    const { page, figures } = await linksPage();
    await page.close();
    for (const figure of figures) {
        const start = await visit(shared.browser, shared.site.url, `#${figure.link}`);
        assert.deepEqual(await choice(start), { chosen: [figure.game, figure.level], focus: "cmdAnfang" }, figure.link);
        assert.equal(await start.title(), "Zifferix 1", `${figure.link} starts nothing by itself`);
        noProblems(start);
        await start.close();
    }
});

test("one Enter starts the linked game at the linked level; a link with a game alone leaves the level", async () => {
    const balance = GAMES.find((g) => g.form === "frmwaage");
    const page = await visit(shared.browser, shared.site.url, "index.html#waage-normal");
    await page.keyboard.press("Enter");
    await waitForTitle(page, balance.title);

    const alone = await visit(shared.browser, shared.site.url, "#ballon");
    assert.deepEqual(await choice(alone), { chosen: ["Ballonfahrt"], focus: "cmdAnfang" });
    noProblems(page);
    noProblems(alone);
    await Promise.all([page.close(), alone.close()]);
});

test("a new link chooses while the start screen is in front, not while a game is; an unknown one nothing", async () => {
    const page = await visit(shared.browser, shared.site.url, "#gaensebluemchen-normal");
    assert.deepEqual(await choice(page), { chosen: [], focus: "cmdAnfang" }, "the start screen as usual");
    await page.evaluate(() => { location.hash = "spinne-schwer"; });
    await page.waitForFunction(() => document.querySelector('[data-name="optSchwer"] input').checked);
    assert.deepEqual(await choice(page), { chosen: ["gegen die Spinne", "voll schwer"], focus: "cmdAnfang" });

    await page.keyboard.press("Enter");
    await waitForTitle(page, GAMES.find((g) => g.form === "frmNetz").title);
    await page.evaluate(() => { location.hash = "uhr-leicht"; });
    await new Promise((done) => setTimeout(done, 300));
    assert.equal(await page.title(), GAMES.find((g) => g.form === "frmNetz").title, "the game stays in front");
    noProblems(page);
    await page.close();
});

test("Neu starten after Aus und Schluss chooses the link's game again", async () => {
    const page = await visit(shared.browser, shared.site.url, "#zahlen-leicht");
    await page.keyboard.down("Alt");
    await page.keyboard.press("a"); // "Aus und Schluss"
    await page.keyboard.up("Alt");
    await page.waitForSelector("#goodbye:not([hidden])");
    await page.click("#goodbye button");
    await page.waitForSelector("#goodbye", { hidden: true });
    assert.deepEqual(await choice(page), { chosen: ["fliegende Zahlen", "leicht"], focus: "cmdAnfang" });
    noProblems(page);
    await page.close();
});

test("every code on links.html reads as its link", async () => {
    const { page, figures } = await linksPage();
    const codes = await page.$$("figure[data-link] .code");
    assert.equal(codes.length, figures.length);
    for (const [i, code] of codes.entries()) {
        const picture = path.join(shared.work, `${figures[i].link}.png`);
        await writeFile(picture, await code.screenshot());
        const { stdout } = await promisify(execFile)("zbarimg", ["--quiet", "--raw", picture]);
        assert.equal(stdout.trim(), figures[i].href, figures[i].link);
    }
    noProblems(page);
    await page.close();
});
