// The class service (zifferix-klassen) for the browser suites: started on a free port with the
// built site and a state folder of its own, killed and started again on the same port, and
// asked as a teacher asks it. ZIFFERIX_SERVICE_BIN names the binary, which the web build does
// not make (it is native); without it the suites that need it are skipped.

import { spawn } from "node:child_process";
import { existsSync } from "node:fs";
import { mkdtemp, rm } from "node:fs/promises";
import { tmpdir } from "node:os";
import path from "node:path";
import { SITE } from "./server.mjs";

export const SERVICE = process.env.ZIFFERIX_SERVICE_BIN ?? path.resolve("../../build/ci/service/zifferix-klassen");
export const serviceMissing = existsSync(SERVICE) ? false
    : `the class service is not built: ${SERVICE} (build the target zifferix-klassen, or set ZIFFERIX_SERVICE_BIN)`;

// Starts the service and resolves once it says where it listens.
function listen(state, address) {
    return new Promise((resolve, reject) => {
        const child = spawn(SERVICE, [`--listen=${address}`, `--state=${state}`, `--site=${SITE}`, "--config=/dev/null"],
            { stdio: ["ignore", "pipe", "pipe"] });
        let out = "";
        let err = "";
        child.stderr.on("data", (d) => { err += d; });
        child.stdout.on("data", (d) => {
            out += d;
            const found = /listening on (http:\/\/[^\s]+\/)/.exec(out);
            if (found) resolve({ child, url: found[1] });
        });
        child.on("exit", (code, signal) => reject(new Error(`zifferix-klassen ended (${code ?? signal}) before it listened: ${err}`)));
    });
}

// The service with its site; `kill()` ends it at once (SIGKILL), `restart()` starts it again on
// the same port and folder.
export async function startService() {
    const state = await mkdtemp(path.join(tmpdir(), "zifferix-klassen-"));
    let running = await listen(state, "127.0.0.1:0");
    const service = {
        url: running.url,
        state,
        kill: async () => {
            const gone = new Promise((done) => running.child.once("exit", done));
            running.child.kill("SIGKILL");
            await gone;
        },
        restart: async () => {
            // The port may take a moment to be free again after a kill.
            for (let tries = 0; ; tries++) {
                try {
                    running = await listen(state, new URL(service.url).host);
                    return;
                } catch (e) {
                    if (tries >= 20) throw e;
                    await new Promise((done) => setTimeout(done, 250));
                }
            }
        },
        close: async () => {
            if (running.child.exitCode === null && running.child.signalCode === null) await service.kill();
            await rm(state, { recursive: true, force: true });
        },
    };
    return service;
}

async function json(response) {
    const body = await response.text();
    if (!response.ok) throw new Error(`${response.status}: ${body}`);
    return JSON.parse(body);
}

// Opens a class as the teacher's page does; its id, its secret and the children's link.
export async function openClass(service, name, kinder) {
    const opened = await json(await fetch(new URL("api/klassen", service.url), {
        method: "POST",
        headers: { "Content-Type": "application/json" },
        body: JSON.stringify({ name, kinder, tage: 1 }),
    }));
    return { ...opened, link: `${service.url}index.html#klasse=${opened.klasse}` };
}

const asTeacher = (service, opened, route) =>
    fetch(new URL(`api/klassen/${opened.klasse}${route}`, service.url), { headers: { Authorization: `Bearer ${opened.geheim}` } });

export const board = async (service, opened) => json(await asTeacher(service, opened, "/tafel"));

// Every game a child's results hold, with its problems.
export const gamesOf = async (service, opened, child) =>
    (await json(await asTeacher(service, opened, `/kinder/${encodeURIComponent(child)}`))).spiele;
