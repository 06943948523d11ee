// A storm over the page: random input from a seeded source, through the same player as every
// browser test and in any engine. Taps and clicks anywhere and on controls, keys, text as a
// tablet's keyboard, a paste or an input method sends it, other viewports and turns, the tab
// hidden and shown, the network lost and back, and now and then a reload. Part of the time it
// steers towards a game and level it has not reached yet. After every round it goes back to the
// start screen and holds the page to its promises: a clean console, a key that still moves the
// focus, and the program's memory noted.

import { randomBytes } from "node:crypto";
import { ENGINE, VIEWPORTS, focused, lacks, paste, reload, tabletTypes, waitFor, waitForTitle } from "./lib.mjs";
import { GAMES, ROW } from "./play.mjs";

const LEVELS = { optEinfach: "leicht", optMittel: "normal", optSchwer: "voll schwer" };
export const TARGETS = [...GAMES, ROW].flatMap((g) => Object.entries(LEVELS).map(([level, name]) =>
    ({ key: `${g.option}/${level}`, name: `${g.title} ${name}`, option: g.option, level })));

// A seed as ZIFFERIX_SEED gives it, or a new one.
export const seedOf = (text) => (text ? Number(text) >>> 0 : randomBytes(4).readUInt32LE());

// Small, fast and the same in every engine's Node.js: mulberry32.
export function dice(seed) {
    let state = seed >>> 0;
    const next = () => {
        state = (state + 0x6d2b79f5) >>> 0;
        let t = Math.imul(state ^ (state >>> 15), state | 1);
        t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
        return ((t ^ (t >>> 14)) >>> 0) / 2 ** 32;
    };
    return { below: (n) => Math.floor(next() * n), pick: (list) => list[Math.floor(next() * list.length)], chance: (p) => next() < p };
}

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));
const SIZES = [...VIEWPORTS.map(([w, h]) => [w, h]), [460, 1000], [800, 600], [1280, 800], [800, 1280], [1920, 1080]];
const KEYS = [..."0123456789,.", "Enter", "Escape", "Tab", "ArrowLeft", "ArrowRight", "ArrowUp", "ArrowDown", "Backspace", "NumpadDecimal", " "];
// The underlined letters of the screens' buttons, and some that are none.
const ALT_LETTERS = [..."lahsfnezx"];
const TEXTS = ["", "7", "12,5", "3.75", "0", "99999999999999", "😀🎈👍", "مرحبا ١٢٣", "אבג 45", "1\u00002", "äöü ß", "\r",
    "9".repeat(1e5), "x".repeat(1e5)];

// What the page shows: the screen in front, the start screen's choice, and what covers it.
const look = (page) =>
    page.evaluate((options, levels) => {
        const start = (name) => document.querySelector(`.form[data-form="frmstart"] [data-name="${name}"] input`);
        const shown = (id) => !document.getElementById(id).hidden;
        return {
            ready: document.documentElement.dataset.ready === "true",
            front: document.querySelector(".form.active:not([hidden])")?.dataset.form ?? "none",
            game: options.find((o) => start(o)?.checked) ?? null,
            level: levels.find((l) => start(l)?.checked) ?? null,
            message: document.getElementById("message").open,
            goodbye: shown("goodbye"), failed: shown("failed"), turn: shown("turn"),
            worker: Boolean(navigator.serviceWorker?.controller),
            size: [innerWidth, innerHeight],
        };
    }, TARGETS.map((t) => t.option), Object.keys(LEVELS));

// The middles of what matches, where they lie inside the viewport.
const centres = (page, selector) =>
    page.evaluate((s) => [...document.querySelectorAll(s)].filter((e) => e.checkVisibility()).map((e) => e.getBoundingClientRect())
        .map((r) => [Math.round(r.left + r.width / 2), Math.round(r.top + r.height / 2)])
        .filter(([x, y]) => x >= 0 && y >= 0 && x < innerWidth && y < innerHeight), selector);

// An input method's commit; where the automation has none, its composition events stand in.
const commit = (page, data) =>
    lacks("textWithoutKeys")
        ? page.evaluate((d) => {
            const box = document.activeElement;
            box.dispatchEvent(new CompositionEvent("compositionstart", { data: "", bubbles: true }));
            box.dispatchEvent(new CompositionEvent("compositionend", { data: d, bubbles: true }));
        }, data)
        : page.sendText(data);

class Storm {
    constructor(page, seed, { touch }) {
        Object.assign(this, { page, seed, touch, dice: dice(seed), offline: false, seen: null, choice: {}, log: [] });
        this.reached = new Set();
    }

    note(what) {
        this.log.push(what);
        if (this.log.length > 30) this.log.shift();
    }

    // A click, or a tap where the engine can tap.
    async press([x, y]) {
        const tap = this.touch && this.dice.chance(0.5);
        // A link (the goodbye's accessibility statement) leaves the program: the storm stays.
        if (await this.page.evaluate((px, py) => Boolean(document.elementFromPoint(px, py)?.closest("a[href]")), x, y)) {
            this.note(`not the link at ${x},${y}`);
            return;
        }
        this.note(`${tap ? "tap" : "click"} ${x},${y}`);
        await (tap ? this.page.tapAt(x, y) : this.page.clickAt(x, y));
    }

    async pressOne(selector) {
        const points = await centres(this.page, selector);
        if (points.length) await this.press(this.dice.pick(points));
    }

    // Which game and level the page went into, from what the start screen showed just before.
    async observe() {
        const now = await look(this.page);
        if (now.front === "frmstart") {
            this.choice = { game: now.game, level: now.level };
        } else if (this.seen?.front === "frmstart" && now.front !== "none" && this.choice.game && this.choice.level) {
            const target = TARGETS.find((t) => t.key === `${this.choice.game}/${this.choice.level}`);
            const game = GAMES.find((g) => g.form === now.front);
            if (target && (target.option === game?.option || (target.option === ROW.option && game === GAMES[0]))) {
                this.reached.add(target.key);
            }
        }
        this.seen = now;
        return now;
    }

    unreached() {
        return TARGETS.filter((t) => !this.reached.has(t.key));
    }

    // Towards what has not been reached yet: a game and a level chosen and started by clicks, or
    // the game in front left by its close box.
    async steer() {
        const s = this.seen;
        if (s.front === "frmstart" && !s.message && !s.goodbye) {
            const target = this.dice.pick(this.unreached().length ? this.unreached() : TARGETS);
            this.note(`steer to ${target.name}`);
            for (const name of [target.option, target.level, "cmdAnfang"]) {
                await this.pressOne(`.form[data-form="frmstart"] [data-name="${name}"]`);
                await this.observe();
            }
        } else {
            await this.leave(s);
        }
    }

    // Away from what is in front: the goodbye page, a message, or a game by its close box.
    async leave(s) {
        await this.pressOne(s.goodbye ? "#goodbye button" : s.message ? "#message button" : ".form.active .close-box");
    }

    async key() {
        const key = this.dice.pick(KEYS);
        this.note(`key ${key}`);
        await this.page.press(key);
    }

    // Held down: the browser repeats it until it comes up.
    async holdEnter() {
        const repeats = 1 + this.dice.below(5);
        this.note(`Enter held for ${repeats}`);
        try {
            for (let i = 0; i <= repeats; i++) await this.page.keyDown("Enter");
        } finally {
            await this.page.keyUp("Enter");
        }
    }

    async altLetter() {
        const letter = this.dice.pick(ALT_LETTERS);
        this.note(`Alt+${letter}`);
        await this.page.keyDown("Alt");
        try {
            await this.page.press(letter);
        } finally {
            await this.page.keyUp("Alt");
        }
    }

    async text() {
        const [how, send] = this.dice.pick([["a tablet's keyboard", tabletTypes], ["a paste", paste], ["an input method", commit]]);
        const text = this.dice.pick(TEXTS);
        this.note(`${how} sends ${text.length > 20 ? `${text.length} characters` : JSON.stringify(text)}`);
        await send(this.page, text);
    }

    async resize() {
        const [width, height] = this.dice.pick(SIZES);
        this.note(`viewport ${width} x ${height}`);
        await this.page.setViewport(width, height);
        // The page takes a new size at its resize event, which may come after the driver has
        // returned; it has come by the second frame after.
        await this.page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    }

    async hideAndShow() {
        const away = 100 + this.dice.below(2500);
        this.note(`hidden for ${away} ms`);
        await this.page.hide(true);
        try {
            await sleep(away);
        } finally {
            await this.page.hide(false);
        }
    }

    async network() {
        await this.goOffline(!this.offline);
    }

    async goOffline(gone) {
        this.note(gone ? "network gone" : "network back");
        this.offline = gone;
        await this.page.offline(gone);
    }

    // Offline, the page comes back only from its service worker.
    async reload() {
        if (this.offline && !this.seen.worker) await this.goOffline(false);
        this.note("reload");
        await reload(this.page);
    }

    async wait() {
        const ms = this.dice.chance(0.1) ? this.dice.below(8000) : this.dice.below(1200);
        this.note(`wait ${ms} ms`);
        await sleep(ms);
    }

    async anywhere() {
        const [width, height] = this.seen.size;
        await this.press([this.dice.below(width), this.dice.below(height)]);
    }

    async control() {
        await this.pressOne(".form.active [data-name], .form.active .close-box, #message button, #goodbye button, #confirm");
    }

    // One random action, by its weight.
    async act() {
        const roll = this.dice.below(ACTIONS.reduce((sum, [weight]) => sum + weight, 0));
        let sum = 0;
        const [, action] = ACTIONS.find(([weight]) => (sum += weight) > roll);
        await action.call(this);
        await this.observe();
    }

    // Back to the start screen, whatever is in front.
    async settle() {
        if (this.offline) await this.goOffline(false);
        for (let tries = 0; tries < 40; tries++) {
            const s = await this.observe();
            if (s.failed) throw new Error("the page says it could not load");
            if (!s.ready) await waitFor(this.page, "the page is ready", () => document.documentElement.dataset.ready === "true");
            else if (s.turn) await this.page.setViewport(1024, 768);
            else if (s.front === "frmstart" && !s.message && !s.goodbye) return;
            else await this.leave(s);
            await sleep(100);
        }
        throw new Error("the page does not come back to the start screen");
    }

    // The page still answers: a key on the start screen moves the focus.
    async answers() {
        const before = await focused(this.page);
        await this.page.press("Tab");
        const after = await focused(this.page);
        if (after === before || after === "nothing") throw new Error(`Tab on the start screen leaves the focus on ${after}`);
    }
}

const ACTIONS = [
    [18, Storm.prototype.anywhere], [14, Storm.prototype.control], [24, Storm.prototype.key], [3, Storm.prototype.holdEnter],
    [3, Storm.prototype.altLetter], [7, Storm.prototype.text], [3, Storm.prototype.resize], [1, Storm.prototype.hideAndShow],
    [1, Storm.prototype.network], [0.4, Storm.prototype.reload], [10, Storm.prototype.wait], [12, Storm.prototype.steer],
];
const ROUND = 30;

// The program's memory in use, in bytes, with every screen made once: each game opened and left.
export async function heapWithEveryScreen(page) {
    for (const game of GAMES) {
        for (const name of [game.option, "optEinfach", "cmdAnfang"]) await page.click(`.form[data-form="frmstart"] [data-name="${name}"]`);
        await waitForTitle(page, game.title);
        await page.click(`.form[data-form="${game.form}"] .close-box`);
        await waitForTitle(page, "Zifferix 1");
    }
    return page.evaluate(() => window.zifferixHeap());
}

// Storms the page for at least `seconds`, and on until every game at every level and the row
// have been reached (at most three times as long). Throws on the first fault, naming the seed
// and the last actions; else reports the rounds, what was reached and the memory after each.
export async function storm(page, { seed, seconds, touch = !lacks("touch") }) {
    const s = new Storm(page, seed, { touch });
    const started = Date.now();
    const elapsed = () => (Date.now() - started) / 1000;
    const report = { engine: ENGINE, seed, rounds: 0, actions: 0, heap: [] };
    try {
        await s.observe();
        while (elapsed() < seconds || (s.unreached().length && elapsed() < 3 * seconds)) {
            for (let i = 0; i < ROUND; i++, report.actions++) await s.act();
            await s.settle();
            const problems = await page.problems();
            if (problems.length) throw new Error(`the console: ${problems.join("\n")}`);
            await s.answers();
            report.heap.push(await page.evaluate(() => window.zifferixHeap()));
            report.rounds++;
        }
    } catch (e) {
        e.message = `storm in ${ENGINE}, seed ${seed}, round ${report.rounds + 1}: ${e.message}\n` +
            `  the last actions: ${s.log.join("; ")}\n  repeat with ZIFFERIX_SEED=${seed} ZIFFERIX_ENGINE=${ENGINE}`;
        throw e;
    }
    report.seconds = Math.round(elapsed());
    report.reached = TARGETS.filter((t) => s.reached.has(t.key)).map((t) => t.name);
    report.missing = s.unreached().map((t) => t.name);
    return report;
}
