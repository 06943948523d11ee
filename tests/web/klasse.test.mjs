// A class's link against a real class service (zifferix-klassen serving the built site): a
// teacher opens a class, children join it by its link, one by tapping its name, one by typing
// one, one by keys alone hearing only the accessibility tree, and each plays games with the
// shared player. The teacher's board shows each game with the points the child's start screen
// shows, even when the service is killed between two results or a page is offline for a game:
// every result arrives, once.

import assert from "node:assert/strict";
import { after, before, describe, test } from "node:test";
import { launch } from "./engines.mjs";
import { ENGINE, click, open, reload, startGame, text, waitFor, waitForTitle } from "./lib.mjs";
import { board, gamesOf, openClass, serviceMissing, startService } from "./klassen.mjs";
import { GAMES, playByEar } from "./play.mjs";

const skip = serviceMissing || (ENGINE !== "chromium" && "the class's suite runs in Chromium");
const game = (link) => GAMES.find((g) => g.link === link);
// The start screen's points of each game, by its option.
const pointsOf = (option) => `lblPunkte${option.slice(3)}`;

// A network that breaks is expected where a test breaks it: what the page could not send, and
// offline, also what the browser itself asks for meanwhile (the manifest's icon).
const BROKEN = /api\/klassen|Failed to load resource: net::ERR_(CONNECTION_REFUSED|INTERNET_DISCONNECTED|CONNECTION_RESET|EMPTY_RESPONSE)/;
const OFFLINE = /^request failed: |from the Manifest/;
async function assertClean(page, { networkBroken = false, offline = false } = {}) {
    const problems = (await page.problems())
        .filter((p) => !(networkBroken && BROKEN.test(p)) && !(offline && OFFLINE.test(p)));
    assert.deepEqual(problems, [], "the console stays clean");
}

// Plays one game at leicht from the start screen to its end; the points the start screen shows.
async function play(page, link) {
    const { option, title, play: player } = game(link);
    await startGame(page, option, "optEinfach");
    await waitForTitle(page, title);
    await player(page, 1);
    await waitForTitle(page, "Zifferix 1");
    return Number(await text(page, "frmstart", pointsOf(option)));
}

// Until the board shows `played` games of `link` for the child, within `seconds`.
async function boardShows(service, opened, child, link, played, seconds = 2) {
    const until = Date.now() + seconds * 1000;
    for (;;) {
        const shown = (await board(service, opened)).kinder.find((k) => k.name === child)?.spiele?.[link];
        if (shown?.gespielt === played) return shown;
        if (Date.now() > until) {
            assert.fail(`the board shows ${JSON.stringify(shown)} for ${child}'s ${link}, not ${played} games, after ${seconds} s`);
        }
        await new Promise((done) => setTimeout(done, 100));
    }
}

// What a child's results hold: each game once, by its own id.
async function assertOnce(service, opened, child, count) {
    const games = await gamesOf(service, opened, child);
    assert.equal(games.length, count, `${child} has ${count} games stored`);
    assert.equal(new Set(games.map((g) => g.id)).size, count, "each by its own id");
}

const nameScreen = (page) => waitFor(page, "the name screen is in front",
    () => document.querySelector('.form[data-form="frmName"].active:not([hidden])'));
// A name of the teacher's list, as the name screen shows it: a button, tapped.
async function tapName(page, name) {
    const control = await page.evaluate((n) => [...document.querySelectorAll('.form[data-form="frmName"] button')]
        .find((b) => b.textContent.trim() === n)?.dataset.name, name);
    assert.ok(control, `the name screen lists ${name}`);
    await page.tap(`.form[data-form="frmName"] [data-name="${control}"]`);
}

// Each child on a device of its own: a browser with a profile of its own, closed with the test.
async function child(t, url, options) {
    const browser = await launch();
    t.after(() => browser.close());
    const page = await open(browser, url, options);
    page.browser = browser;
    return page;
}

// Types a name on the name screen and goes on to the start screen.
async function typeName(page, name) {
    await nameScreen(page);
    await click(page, "frmName", "txtName");
    await page.type(name);
    await page.press("Enter");
    await waitForTitle(page, "Zifferix 1");
}

// The results the page keeps, by store: those waiting and those the service refused.
const kept = (page) => page.evaluate(() => new Promise((resolve, reject) => {
    const request = indexedDB.open("zifferix-klassen");
    request.onerror = () => reject(request.error);
    request.onsuccess = () => {
        const db = request.result;
        const stores = ["warten", "abgelehnt"];
        const transaction = db.transaction(stores);
        const found = {};
        for (const name of stores) {
            transaction.objectStore(name).getAll().onsuccess = (e) => { found[name] = e.target.result.length; };
        }
        transaction.oncomplete = () => resolve(found);
    };
}));

describe("a class's link", { skip }, () => {
    const shared = {};
    before(async () => {
        shared.service = await startService();
        shared.browser = await launch();
        shared.opened = await openClass(shared.service, "3b Dienstag", ["Mia", "Ben", "Lea"]);
    });
    after(async () => {
        try {
            await shared.browser?.close();
        } finally {
            await shared.service?.close();
        }
    });

    test("outside a class nothing of it is loaded, asked for or kept", async () => {
        const page = await open(shared.browser, `${shared.service.url}index.html#spinne-leicht`);
        await waitForTitle(page, "Zifferix 1");
        await play(page, "spinne");
        const left = await page.evaluate(async () => ({
            asked: performance.getEntriesByType("resource").map((r) => r.name).filter((n) => /klasse|api\//.test(n)),
            kept: Object.keys(localStorage),
            databases: (await indexedDB.databases()).map((d) => d.name),
        }));
        assert.deepEqual(left, { asked: [], kept: [], databases: [] });
        await assertClean(page);
        await page.close();
    });

    test("a child taps its name, plays, and the board shows the points its start screen shows", async (t) => {
        const { service, opened } = shared;
        const page = await child(t, opened.link, { touch: true });
        await nameScreen(page);
        await tapName(page, "Mia");
        await waitForTitle(page, "Zifferix 1");
        const points = await play(page, "spinne");
        assert.ok(points > 0, "the game was won");
        const shown = await boardShows(service, opened, "Mia", "spinne", 1);
        assert.equal(shown.beste, points);
        assert.equal(shown.gewonnen, 1);

        // A reload needs no name, nor does a new run: the page remembers it for the class.
        const noNameScreen = async (when) => assert.equal(await page.evaluate(() =>
            document.querySelector('.form[data-form="frmName"].active:not([hidden])')), null, when);
        await reload(page);
        await waitForTitle(page, "Zifferix 1");
        await noNameScreen("after a reload");
        await click(page, "frmstart", "cmdEnde");
        await waitFor(page, "the goodbye page", () => !document.getElementById("goodbye").hidden);
        await page.click("#goodbye button");
        await waitForTitle(page, "Zifferix 1");
        await noNameScreen("in a new run");
        assert.match(await text(page, "frmstart", "lblKind"), /Mia/, "the new run plays as Mia");
        // "Nicht du?" asks again, and the page remembers the new name instead.
        await click(page, "frmstart", "cmdNichtDu");
        await typeName(page, "Mila");
        await reload(page);
        await waitForTitle(page, "Zifferix 1");
        await noNameScreen("after a reload as Mila");
        assert.match(await text(page, "frmstart", "lblKind"), /Mila/);
        await assertOnce(service, opened, "Mia", 1);
        await assertClean(page);
        await page.close();
    });

    test("a child types its name; the service killed between two results loses neither", async (t) => {
        const { service, opened } = shared;
        const page = await child(t, opened.link);
        await typeName(page, "Jonas");
        const first = await play(page, "glas");
        await boardShows(service, opened, "Jonas", "glas", 1);

        await service.kill();
        await play(page, "waage");
        await service.restart();
        const shown = await boardShows(service, opened, "Jonas", "waage", 1, 30);
        assert.equal(shown.beste, Number(await text(page, "frmstart", pointsOf(game("waage").option))));
        assert.equal((await boardShows(service, opened, "Jonas", "glas", 1)).beste, first);
        await assertOnce(service, opened, "Jonas", 2);
        await assertClean(page, { networkBroken: true });
        await page.close();
    });

    test("a child offline for a game: its result goes once the network is back, once", async (t) => {
        const { service, opened } = shared;
        const page = await child(t, opened.link, { touch: true });
        await nameScreen(page);
        await tapName(page, "Ben");
        await waitForTitle(page, "Zifferix 1");
        await page.offline(true);
        const points = await play(page, "spinne");
        await new Promise((done) => setTimeout(done, 1500)); // a try or two that cannot go
        assert.equal((await board(service, opened)).kinder.find((k) => k.name === "Ben").spiele.spinne?.gespielt ?? 0, 0);
        await page.offline(false);
        assert.equal((await boardShows(service, opened, "Ben", "spinne", 1, 10)).beste, points);
        await assertOnce(service, opened, "Ben", 1);
        await assertClean(page, { networkBroken: true, offline: true });
        await page.close();
    });

    test("a child by keys alone hears the name screen, and its game reaches the board", async (t) => {
        const { service, opened } = shared;
        const page = await child(t, `${opened.link}&spinne-leicht`);
        await nameScreen(page);
        const heard = await page.listen();
        assert.equal(heard.title, "Wie heißt du?");
        assert.match(heard.said, /Wie heißt du\?/);
        // Tab through the names, hearing each, to its own.
        for (let tabs = 0; (await page.listen()).focused?.name !== "Lea"; tabs++) {
            assert.ok(tabs < 10, "the name is reached by Tab");
            await page.press("Tab");
        }
        await page.press("Enter");
        await waitFor(page, "the start screen greets Lea", () => document.title === "Zifferix 1");
        assert.match((await page.listen()).said, /Lea/);
        await waitFor(page, "the link's game is chosen, and the focus on Los und hopp",
            () => document.activeElement?.closest("[data-name]")?.dataset.name === "cmdAnfang");
        await page.press("Enter");
        await playByEar(page);
        await waitForTitle(page, "Zifferix 1");
        const points = Number(await text(page, "frmstart", pointsOf(game("spinne").option)));
        assert.equal((await boardShows(service, opened, "Lea", "spinne", 1)).beste, points);
        await assertOnce(service, opened, "Lea", 1);
        await assertClean(page);
        await page.close();
    });

    // Where a result waits when the page is closed: IndexedDB, or localStorage where a private
    // window has no IndexedDB; there also without randomUUID, as over plain http://, so that the
    // ids the page makes itself must pass the service's checks.
    const STORAGES = [
        ["IndexedDB", "Emma", undefined],
        ["localStorage", "Paul", () => {
            Object.defineProperty(window, "indexedDB", { value: undefined });
            Object.defineProperty(Crypto.prototype, "randomUUID", { value: undefined });
        }],
    ];
    for (const [storage, name, before] of STORAGES) {
        test(`a result kept in ${storage} when the page closes goes with the next visit, without the class's link`, async (t) => {
            const { service, opened } = shared;
            const page = await child(t, opened.link, { before });
            await typeName(page, name);
            await service.kill();
            const points = await play(page, "spinne");
            await waitFor(page, "the result is kept", () => localStorage.getItem("zifferix.warten") !== null);
            await page.close();
            await service.restart();
            const next = await open(page.browser, `${service.url}index.html`, { before });
            assert.equal((await boardShows(service, opened, name, "spinne", 1, 10)).beste, points);
            await waitFor(next, "nothing waits", () => localStorage.getItem("zifferix.warten") === null);
            await assertOnce(service, opened, name, 1);
            await assertClean(next);
        });
    }

    test("a result the service refuses is kept apart and not sent again", async (t) => {
        const { service } = shared;
        const doomed = await openClass(service, "4b", []);
        const page = await child(t, doomed.link);
        await typeName(page, "Ida");
        await page.offline(true);
        await play(page, "spinne");
        await waitFor(page, "the result is kept", () => localStorage.getItem("zifferix.warten") !== null);
        const deleted = await fetch(new URL(`api/klassen/${doomed.klasse}`, service.url),
            { method: "DELETE", headers: { Authorization: `Bearer ${doomed.geheim}` } });
        assert.equal(deleted.status, 204);
        await page.offline(false);
        await waitFor(page, "nothing waits", () => localStorage.getItem("zifferix.warten") === null);
        assert.deepEqual(await kept(page), { warten: 0, abgelehnt: 1 });
    });

    test("a class that is gone is said once, and the child plays as without a class", async () => {
        const { service } = shared;
        const gone = await openClass(service, "4a", []);
        const deleted = await fetch(new URL(`api/klassen/${gone.klasse}`, service.url),
            { method: "DELETE", headers: { Authorization: `Bearer ${gone.geheim}` } });
        assert.equal(deleted.status, 204);
        const page = await open(shared.browser, gone.link);
        await waitForTitle(page, "Zifferix 1");
        assert.equal(await page.$eval("#class-gone", (e) => e.textContent), "Diese Klasse gibt es nicht mehr.");
        await page.press("Shift");
        assert.equal(await page.evaluate(() => document.getElementById("class-gone")), null, "said once, gone at the first key");
        assert.ok(!(await page.problems()).some((p) => !/404/.test(p)), "only the class's 404");
        await page.close();
    });
});
