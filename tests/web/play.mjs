// Each game played to its end in the page, as a child who knows every answer: the problem read
// from the screen, the answer typed as keys and confirmed with Enter.

import { readFileSync } from "node:fs";
import path from "node:path";
import { answer, german, number, text, waitFor } from "./lib.mjs";
import { SITE } from "./server.mjs";

// The program's own tables of games and units, which the build writes beside the site
// (tests/support/tables.cpp).
const tables = JSON.parse(readFileSync(process.env.ZIFFERIX_TABLES ?? path.join(SITE, "..", "answer-tables.json"), "utf8"));
const units = (kind) => tables[kind];

// The answers as every suite that plays these games reads them from the screen.
export const spiderAnswer = async (page) =>
    number(await text(page, "frmNetz", "lbla")) * number(await text(page, "frmNetz", "lblb"));
const converted = async (page, form, kind) => {
    const table = units(kind);
    const exponent = table[await text(page, form, "lblbez1")] - table[await text(page, form, "lblbez2")];
    return number(await text(page, form, "lblzahl")) * 10 ** exponent;
};
export const mountainAnswer = (page) => converted(page, "frmBerg", "lengths");
const balloonAnswer = (page) => converted(page, "frmBallon", "masses");

// A game is over when its layer is no longer the one in front.
export const inFront = (page, form) =>
    page.$eval(`.form[data-form="${form}"]`, (l) => l.classList.contains("active") && !l.hidden);
const waitUntilGone = (page, form, timeout = "the game") =>
    waitFor(page, `${timeout} has ended`, (f) => { const l = document.querySelector(`.form[data-form="${f}"]`); return l.hidden || !l.classList.contains("active"); }, form);
const waitUntilReady = (page, form, box) =>
    waitFor(page, `${form} takes an answer`, (s) => { const l = document.querySelector(s[0]); const e = l.querySelector(s[1]); return !l.classList.contains("active") || (e.checkVisibility() && !e.readOnly); },
        [`.form[data-form="${form}"]`, `[data-name="${box}"]`]);

async function clock(page, rights) {
    await page.press("Enter"); // "Anfang"
    for (let i = 0; i < rights; i++) {
        const product = number(await text(page, "frmUhr", "lblZahl1")) * number(await text(page, "frmUhr", "lblZahl2"));
        await answer(page, "frmUhr", "txtErgebnis", german(product));
    }
    await waitUntilGone(page, "frmUhr", "the minute");
}

async function mountain(page) {
    await page.press("Enter"); // "Los"
    while (await inFront(page, "frmBerg")) {
        await waitUntilReady(page, "frmBerg", "txtEing");
        if (!(await inFront(page, "frmBerg"))) break;
        await answer(page, "frmBerg", "txtEing", german(await mountainAnswer(page)));
    }
}

async function balance(page) {
    while (await inFront(page, "frmwaage")) {
        const [a, b] = (await text(page, "frmwaage", "lblLinks")).split("+").map(number);
        const c = number((await text(page, "frmwaage", "lblRechts")).split("+")[0]);
        await answer(page, "frmwaage", "txtErgebnis", german(a + b - c));
        await page.press("Enter"); // the next problem
        await waitFor(page, "the next problem", () => { const l = document.querySelector('.form[data-form="frmwaage"]'); return !l.classList.contains("active") || l.querySelector('[data-name="lblrichtig"]').textContent === ""; });
    }
}

async function spider(page) {
    for (let i = 0; i < 16; i++) {
        await answer(page, "frmNetz", "txtergebnis", german(await spiderAnswer(page)));
    }
}

async function balloon(page) {
    for (let i = 0; i < 6; i++) {
        await waitUntilReady(page, "frmBallon", "txtEing");
        await answer(page, "frmBallon", "txtEing", german(await balloonAnswer(page)));
    }
    await waitUntilGone(page, "frmBallon", "the weight's rise");
}

async function flying(page) {
    await page.press("Enter"); // "Start"
    for (let i = 0; i < 12; i++) {
        let sum = 0;
        for (const n of ["lblZahl1", "lblZahl2", "lblZahl3"]) {
            sum += number(await text(page, "frmWander", n));
        }
        await answer(page, "frmWander", "txtEing", german(sum));
    }
}

async function glass(page) {
    await waitUntilReady(page, "frmbruchteile", "txtErgebnis");
    while (await inFront(page, "frmbruchteile")) {
        const part = number(await text(page, "frmbruchteile", "lblZähler")) / number(await text(page, "frmbruchteile", "lblNenner"));
        await answer(page, "frmbruchteile", "txtErgebnis", german(part * number(await text(page, "frmbruchteile", "lblZahl"))));
    }
}

// How each game is played to its end, by its screen.
const PLAYERS = {
    frmUhr: (page, level) => clock(page, 10 * level), frmBerg: mountain, frmwaage: balance, frmNetz: spider,
    frmBallon: balloon, frmWander: flying, frmbruchteile: glass,
};
// The games in the order of the row, as the program's table has them: each with its screen, its
// window's title, its link and its option on the start screen. The row's own line last.
export const GAMES = tables.games.map((game) => ({ ...game, play: PLAYERS[game.form] }));
export const ROW = { ...tables.row, title: tables.row.caption };

// The answer to a problem as the answer box describes it to a screen reader, in the program's
// own words: "15 mal 4", "345,6 Zentimeter sind wie viel Meter?", "drei Viertel von 20",
// "12 plus 5 ist gleich 9 plus wie viel?", "12 minus 5 plus 7".
export function heardAnswer(description) {
    const words = (kind) => units(kind);
    let m;
    if ((m = /^(\d+) mal (\d+)$/.exec(description))) return m[1] * m[2];
    if ((m = /^(\S+) (\S+) (?:ist|sind) wie viel (\S+)\?$/.exec(description))) {
        const table = m[2] in words("lengthWords") ? words("lengthWords") : words("massWords");
        return number(m[1]) * 10 ** (table[m[2]] - table[m[3]]);
    }
    if ((m = /^(\S+) (\S+) von (\d+)$/.exec(description))) {
        const part = words("parts")[m[2]] ?? words("parts")[m[2].replace(/e$/, "")];
        return (words("numerals")[m[1]] * m[3]) / part;
    }
    if ((m = /^(\d+) plus (\d+) ist gleich (\d+) plus wie viel\?$/.exec(description))) return +m[1] + +m[2] - m[3];
    let sum = 0;
    let sign = 1;
    for (const word of description.split(" ")) {
        if (word === "plus" || word === "minus") sign = word === "plus" ? 1 : -1;
        else if (/^\d+$/.test(word)) sum += sign * word;
        else throw new Error(`a problem not understood: ${description}`);
    }
    return sum;
}

// The buttons a child presses to go on: the start of a game, the next problem.
const GO_ON = ["Anfang", "Los", "Start", "nächste Aufgabe"];

// Plays the game in front to its end by keys alone, hearing only what a screen reader is given
// (the page's `listen`): the focused box's description, what the live region says and the page's
// name. The clock race asks for `rights` answers and then waits for its minute to end.
export async function playByEar(page, rights = Infinity) {
    const game = (await page.listen()).title;
    let answered = 0;
    for (;;) {
        const heard = await page.listen();
        const focused = heard.focused;
        if (heard.title !== game) return heard;
        if (focused?.role === "button" && GO_ON.includes(focused.name)) {
            await page.press("Enter");
        } else if (focused?.role === "textbox" && !focused.readonly && focused.description && answered < rights) {
            const value = german(heardAnswer(focused.description));
            await page.type(value);
            await page.press("Enter");
            answered++;
            for (let now = await page.listen(); now.focused?.value === value && now.title === game && !now.focused.readonly;) {
                now = await page.listen(); // until the game has taken the answer
            }
        }
        await new Promise((done) => setTimeout(done, 30));
    }
}

