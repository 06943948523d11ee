// Each game played to its end in the page, as a child who knows every answer: the problem read
// from the screen, the answer typed as keys and confirmed with Enter.

import { answer, german, number, text, waitFor } from "./lib.mjs";

const LENGTHS = { mm: 1, cm: 2, dm: 3, m: 4, km: 7 };
const MASSES = { g: 0, dag: 1, kg: 3, t: 6 };

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
        const given = number(await text(page, "frmBerg", "lblzahl"));
        const exponent = LENGTHS[await text(page, "frmBerg", "lblbez1")] - LENGTHS[await text(page, "frmBerg", "lblbez2")];
        await answer(page, "frmBerg", "txtEing", german(given * 10 ** exponent));
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
        const product = number(await text(page, "frmNetz", "lbla")) * number(await text(page, "frmNetz", "lblb"));
        await answer(page, "frmNetz", "txtergebnis", german(product));
    }
}

async function balloon(page) {
    for (let i = 0; i < 6; i++) {
        await waitUntilReady(page, "frmBallon", "txtEing");
        const given = number(await text(page, "frmBallon", "lblzahl"));
        const exponent = MASSES[await text(page, "frmBallon", "lblbez1")] - MASSES[await text(page, "frmBallon", "lblbez2")];
        await answer(page, "frmBallon", "txtEing", german(given * 10 ** exponent));
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

// The games in the order of the row, with their options on the start screen.
export const GAMES = [
    { form: "frmUhr", option: "opt1", title: "Kleines ein mal eins", play: (page, level) => clock(page, 10 * level) },
    { form: "frmBerg", option: "opt2", title: "Längenmaße", play: mountain },
    { form: "frmwaage", option: "opt5", title: "Ausgleich", play: balance },
    { form: "frmNetz", option: "opt4", title: "Multiplikation", play: spider },
    { form: "frmBallon", option: "opt6", title: "Massemaße", play: balloon },
    { form: "frmWander", option: "opt8", title: "Addition / Subtraktion", play: flying },
    { form: "frmbruchteile", option: "opt3", title: "Bruchteile", play: glass },
];

