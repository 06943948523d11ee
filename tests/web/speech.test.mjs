// Reading aloud in the page: with "#vorlesen" every problem and verdict is spoken with a German
// voice, in the order the live region says them, from the first key on; F2 and the speaker sign
// say the problem again; without the link nothing is spoken. Chromium plays it against a
// recording stand-in for the browser's speech, put in before the page's script; every engine
// plays a game with its own speech, which may have no German voice at all.

import assert from "node:assert/strict";
import { test } from "node:test";
import { ENGINE, assertNoProblems, open, shareBrowser, startGame, waitFor, waitForTitle } from "./lib.mjs";
import { GAMES } from "./play.mjs";

const shared = shareBrowser();

// The browser's speech as Chromium has it, recording what it is asked to say: its voices come
// late, one German among them, and a text is done as soon as the program's event is over,
// unless it is cut off: a quicker voice than any child, who answers no problem before it is
// heard. (A timer would come after the player's next keys, which Chromium runs first.)
// Beside it, every line the live region gets.
function recordingSpeech() {
    const spoken = [];
    const heard = [];
    window.zifferixRecorded = { spoken, heard };
    const voices = [
        { name: "Daniel", lang: "en-GB", localService: true, voiceURI: "daniel", default: true },
        { name: "Anna (Netz)", lang: "de-DE", localService: false, voiceURI: "anna-net", default: false },
        { name: "Anna", lang: "de-DE", localService: true, voiceURI: "anna", default: false },
    ];
    let known = [];
    let current = null;
    const speech = new EventTarget();
    speech.getVoices = () => known;
    speech.speak = (utterance) => {
        spoken.push({ text: utterance.text, voice: utterance.voice?.name, lang: utterance.lang });
        current = utterance;
        queueMicrotask(() => {
            if (current === utterance) {
                current = null;
                utterance.onend?.({});
            }
        });
    };
    speech.cancel = () => {
        const cut = current;
        current = null;
        if (cut) setTimeout(() => cut.onerror?.({ error: "interrupted" }));
    };
    Object.defineProperty(window, "speechSynthesis", { value: speech, configurable: true });
    window.SpeechSynthesisUtterance = class {
        constructor(text) {
            this.text = text;
        }
    };
    setTimeout(() => {
        known = voices;
        speech.dispatchEvent(new Event("voiceschanged"));
    }, 300);
    document.addEventListener("DOMContentLoaded", () => {
        new MutationObserver(() => {
            const line = document.getElementById("spoken").textContent;
            if (line) heard.push(line);
        }).observe(document.getElementById("spoken"), { childList: true, subtree: true });
    });
}

const recorded = (page) => page.evaluate(() => window.zifferixRecorded);
// The clock's time left may wait and give way to a newer problem: it is not owed to the voice.
const owed = (line) => !/^Noch \d+ Sekunden?\./.test(line);

const standIn = ENGINE === "chromium" ? false : "the recording stand-in is played in Chromium";

test("without the link nothing is read aloud and no speaker sign shows", { skip: standIn }, async () => {
    const page = await open(shared.browser, `${shared.site.url}#spinne-leicht`, { before: recordingSpeech });
    await page.press("Enter");
    await waitForTitle(page, "Multiplikation");
    await page.type("1");
    await page.press("Enter");
    assert.equal(await page.$eval("#speaker", (e) => e.hidden), true);
    assert.deepEqual((await recorded(page)).spoken, []);
    await assertNoProblems(page);
    await page.close();
});

test("with #vorlesen every game's problems and verdicts are read in German, in order, from the first key on", { skip: standIn }, async () => {
    // The normal time: the clock race's minute, not the two that reading aloud gives.
    const page = await open(shared.browser, `${shared.site.url}#vorlesen-normalzeit`, { before: recordingSpeech });
    assert.equal(await page.$eval("#speaker", (e) => e.hidden), false, "the sign shows reading aloud is on");
    assert.deepEqual((await recorded(page)).spoken, [], "nothing before the first key");
    await page.press("Tab");
    await waitFor(page, "the first key unlocks the voice", () => window.zifferixRecorded.spoken.length > 0);
    for (const game of GAMES) {
        await startGame(page, game.option, "optEinfach");
        await waitForTitle(page, game.title);
        await game.play(page, 1);
        await waitForTitle(page, "Zifferix 1");
    }
    await waitFor(page, "the voice has said the end", () => !window.zifferixRecorded.heard.at(-1)
        || window.zifferixRecorded.spoken.at(-1).text.includes(window.zifferixRecorded.heard.at(-1)));
    const { spoken, heard } = await recorded(page);
    const said = spoken.map((s) => s.text).join(" | ");
    let at = 0;
    for (const line of heard.filter(owed)) {
        at = said.indexOf(line, at);
        assert.notEqual(at, -1, `read aloud in order: ${line}`);
    }
    assert.ok(heard.filter(owed).length > 60, "every game was heard");
    assert.deepEqual([...new Set(spoken.map((s) => `${s.voice} ${s.lang}`))], ["Anna de-DE"], "the local German voice");
    await assertNoProblems(page);
    await page.close();
});

test("F2 and the speaker sign say the problem again", { skip: standIn }, async () => {
    const page = await open(shared.browser, `${shared.site.url}#spinne-leicht-vorlesen`, { before: recordingSpeech });
    await page.press("Enter");
    await waitForTitle(page, "Multiplikation");
    const problem = await page.$eval('[data-name="txtergebnis"]', (e) => e.getAttribute("aria-description")
        ?? document.getElementById(e.getAttribute("aria-describedby")).textContent);
    const times = () => page.evaluate((p) => window.zifferixRecorded.spoken.filter((s) => s.text === p).length, problem);
    await waitFor(page, "the problem is read", (p) => window.zifferixRecorded.spoken.some((s) => s.text.endsWith(p)), problem);
    const before = await times();
    await page.press("F2");
    await waitFor(page, "F2 reads it again", (p, n) => window.zifferixRecorded.spoken.filter((s) => s.text === p).length > n, problem, before);
    await page.click("#speaker");
    await waitFor(page, "the sign reads it again", (p, n) => window.zifferixRecorded.spoken.filter((s) => s.text === p).length > n + 1, problem, before);
    assert.equal(await page.evaluate(() => document.activeElement.dataset.name), "txtergebnis", "the focus stays in the box");
    await assertNoProblems(page);
    await page.close();
});

test("with the engine's own speech, which may have no German voice, a game plays to its end", async () => {
    const page = await open(shared.browser, `${shared.site.url}#spinne-leicht-vorlesen`);
    await page.press("Enter");
    await waitForTitle(page, "Multiplikation");
    const germanVoice = () => (window.speechSynthesis?.getVoices() ?? []).some((v) => /^de/i.test(v.lang));
    await waitFor(page, "the voices are known", (has) => document.getElementById("speaker").classList.contains("silent")
        || (0, eval)(`(${has})`)(), String(germanVoice));
    await page.click("#speaker");
    const german = await page.evaluate(germanVoice);
    assert.equal(await page.$eval("#speaker-why", (e) => e.hidden), german, "the sign says when there is no German voice");
    await GAMES.find((g) => g.form === "frmNetz").play(page, 1);
    await waitForTitle(page, "Zifferix 1");
    await assertNoProblems(page);
    await page.close();
});
