// What the suites of the teacher's page share: the real class service (ZIFFERIX_KLASSEN names
// its binary) on a free port, serving the site, with a browser; a class opened and results
// posted as a child's page posts them; the page opened as a teacher opens it.

import assert from "node:assert/strict";
import { spawn } from "node:child_process";
import { randomUUID } from "node:crypto";
import { existsSync } from "node:fs";
import { mkdir, mkdtemp, rm, writeFile } from "node:fs/promises";
import { tmpdir } from "node:os";
import path from "node:path";
import { after, before } from "node:test";
import { launch } from "./engines.mjs";
import { SITE, open } from "./lib.mjs";

export const BINARY = process.env.ZIFFERIX_KLASSEN ?? path.resolve("../../build/ci/service/zifferix-klassen");
export const missing = existsSync(BINARY) ? false : `the class service is not built: ${BINARY} (set ZIFFERIX_KLASSEN)`;

// The service on a free port with a state folder and a configuration of its own, serving the
// site; `api` asks it as a script would, with no Origin.
export async function klassen(folder, settings = "max_days = 365\n") {
    const work = await mkdtemp(path.join(folder, "service-"));
    const config = path.join(work, "klassen.conf");
    await writeFile(config, settings);
    await mkdir(path.join(work, "state"));
    const service = spawn(BINARY, ["--listen=127.0.0.1:0", `--state=${work}/state`, `--site=${SITE}`, `--config=${config}`],
        { stdio: ["ignore", "pipe", "pipe"] });
    let said = "";
    service.stderr.on("data", (d) => { said += d; });
    const url = await new Promise((done, failed) => {
        let out = "";
        service.stdout.on("data", (d) => {
            out += d;
            const listening = out.match(/listening on (http:\/\/\S+\/)/);
            if (listening) done(listening[1]);
        });
        service.on("exit", (code) => failed(new Error(`zifferix-klassen ended (${code}): ${said}`)));
    });
    const api = async (route, { method = "GET", body, secret } = {}) => {
        const headers = {};
        if (body) headers["Content-Type"] = "application/json";
        if (secret) headers.Authorization = `Bearer ${secret}`;
        const response = await fetch(new URL(`api/${route}`, url), { method, headers, body: body && JSON.stringify(body) });
        const text = await response.text();
        let json = null;
        try {
            json = JSON.parse(text);
        } catch {
            // a CSV, or nothing
        }
        return { status: response.status, json, text };
    };
    return { url, api, stop: () => service.kill("SIGKILL") };
}

// The service and a browser, started once for a test file: `shared.service`, `shared.browser`.
const shared = {};
export function shareService() {
    before(async () => {
        if (missing) return;
        shared.work = await mkdtemp(path.join(tmpdir(), "zifferix-lehrer-"));
        shared.service = await klassen(shared.work);
        shared.browser = await launch();
    });
    after(async () => {
        await shared.browser?.close();
        shared.service?.stop();
        if (shared.work) await rm(shared.work, { recursive: true, force: true });
    });
    return shared;
}

export const api = (route, options) => shared.service.api(route, options);
export const openClass = async (name, kinder = []) => (await api("klassen", { method: "POST", body: { name, kinder, tage: 30 } })).json;

// One finished game as a child's page sends it.
export const result = (kind, { spiel = "uhr", stufe = 1, punkte = 120, ergebnis = "gewonnen", aufgaben } = {}) => ({
    id: randomUUID(), kind, spiel, stufe, punkte, ergebnis, reihe: false, sekunden: 61.5,
    aufgaben: aufgaben ?? [
        { aufgabe: "7 mal 8", antwort: "54", richtig: false, sekunden: 2.4 },
        { aufgabe: "3 mal 4", antwort: "12", richtig: true, sekunden: 1.25 },
    ],
});
export const post = async (klasse, body) => assert.equal((await api(`klassen/${klasse}/ergebnisse`, { method: "POST", body })).status, 201);

export async function teacher(address, options) {
    const tab = await open(shared.browser, `${shared.service.url}${address}`, options);
    tab.noContent = new Set();
    tab.page.on("response", (r) => [204, 304].includes(r.status()) && tab.noContent.add(r.url()));
    return tab;
}
export const boardOf = (made, options) => teacher(`lehrer.html#tafel=${made.klasse}.${made.geheim}`, options);

// No problem but those expected; Chromium reports a fetch answered without a body (204, 304) as
// failed after its answer.
export async function clean(tab, expected = () => false) {
    const problems = (await tab.problems()).filter((p) => ![...tab.noContent].some((url) => p === `request failed: ${url}`));
    assert.deepEqual(problems.filter((p) => !expected(p)), [], "the console stays clean");
}
export const visible = (tab, id) => tab.evaluate((i) => !document.getElementById(i).hidden, id);
export const textOf = (tab, selector) => tab.evaluate((s) => document.querySelector(s)?.textContent ?? null, selector);
export const cellOf = (tab, child, game) => tab.evaluate((c, g) => {
    const column = [...document.querySelectorAll("#games th")].findIndex((h) => h.textContent === g);
    const line = [...document.querySelectorAll("#rows tr")].find((r) => r.querySelector("th").dataset.name === c);
    return line?.children[column]?.textContent ?? null;
}, child, game);
