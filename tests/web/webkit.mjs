// WebKitGTK's MiniBrowser, driven by WebKitWebDriver over W3C WebDriver (HTTP and JSON), on an
// X server of its own. Each tab is a WebDriver session of its own: a fresh MiniBrowser with an
// empty profile, as a first visit has.

import { spawn } from "node:child_process";
import { existsSync, readdirSync } from "node:fs";
import { readFile, readdir, readlink } from "node:fs/promises";
import { Tab, lacks } from "./engines.mjs";
import { goOffline, notFound, runFirst } from "./server.mjs";

// Debian keeps it below the library's folder of the machine's architecture.
const MINIBROWSER = process.env.MINIBROWSER ??
    readdirSync("/usr/lib").map((d) => `/usr/lib/${d}/webkit2gtk-4.1/MiniBrowser`).find((f) => existsSync(f));

// The keys WebDriver names by code points of its own.
const KEYS = {
    Backspace: "\uE003", Tab: "\uE004", Enter: "\uE007", Shift: "\uE008", Control: "\uE009", Alt: "\uE00A",
    Escape: "\uE00C", Space: " ", ArrowLeft: "\uE012", ArrowUp: "\uE013", ArrowRight: "\uE014", ArrowDown: "\uE015",
    Delete: "\uE017", NumpadDecimal: "\uE028", Meta: "\uE03D",
};
const keyOf = (key) => KEYS[key] ?? key;

// The page's console errors and warnings, its uncaught errors, failed loads and requests to any
// other origin, noted in the page itself: WebDriver reports none of them.
function recordProblems() {
    if (window.zifferixProblems) return;
    const problems = (window.zifferixProblems = []);
    for (const type of ["error", "warn", "assert"]) {
        const original = console[type].bind(console);
        console[type] = (...args) => {
            if (type !== "assert" || !args[0]) problems.push(`${type}: ${args.slice(type === "assert" ? 1 : 0).join(" ")}`);
            original(...args);
        };
    }
    addEventListener("error", (e) => problems.push(e.target === window ? `page error: ${e.message}` : `request failed: ${e.target.src ?? e.target.href}`), true);
    addEventListener("unhandledrejection", (e) => problems.push(`page error: ${e.reason}`));
    new PerformanceObserver((list) => problems.push(...list.getEntries().map((e) => e.name)
        .filter((n) => !n.startsWith(location.origin) && !n.startsWith("data:")).map((n) => `request elsewhere: ${n}`)))
        .observe({ type: "resource", buffered: true });
}

// Runs a function's source with JSON arguments and hands back its (awaited) value or error.
const EVALUATE = `const [source, args, done] = arguments;
Promise.resolve().then(() => (0, eval)("(" + source + ")")(...args))
    .then((value) => done({ value: value === undefined ? null : value }), (e) => done({ error: String((e && e.stack) || e) }));`;
const POLL = `const [source, args, timeout, done] = arguments;
const check = (0, eval)("(" + source + ")");
const end = Date.now() + timeout;
(async () => {
    while (!(await check(...args))) {
        if (Date.now() > end) throw new Error("timed out after " + timeout + " ms");
        await new Promise((next) => setTimeout(next, 50));
    }
})().then(() => done({ value: null }), (e) => done({ error: String((e && e.stack) || e) }));`;

// A script's answer lost to a page that reloads, or to one still settling after its load (a
// busy machine has seen this): only scripts that may run twice are tried again.
const LOST = /unload|Could not parse script result/;

class WebKitTab extends Tab {
    constructor(driver, session, origin) {
        super();
        Object.assign(this, { driver, session, origin, earlier: [], missingBefore: notFound(origin).length });
    }

    async command(method, path, body) {
        const response = await fetch(`${this.driver}/session/${this.session}${path}`, {
            method, headers: { "Content-Type": "application/json" }, body: body && JSON.stringify(body),
        });
        const { value } = await response.json();
        if (value?.error && value?.message) {
            throw new Error(`WebDriver ${path}: ${value.error}: ${value.message}`);
        }
        return value;
    }

    async script(source, args) {
        const result = await this.command("POST", "/execute/async", { script: source, args });
        if (result.error) throw new Error(result.error);
        return result.value;
    }

    evaluate(fn, ...args) {
        return this.script(EVALUATE, [String(fn), args]);
    }

    // Runs a script that may run twice until its answer comes or the time is up.
    async again(run, ms) {
        const deadline = Date.now() + ms;
        for (;;) {
            try {
                return await run(Math.max(deadline - Date.now(), 0));
            } catch (e) {
                if (!LOST.test(e.message) || Date.now() >= deadline) throw e;
                await new Promise((done) => setTimeout(done, 100));
            }
        }
    }

    // A watch lost with its page is taken up again on the new one.
    async waitFor(what, check, ...args) {
        try {
            await this.again((left) => this.script(POLL, [String(check), args, left]), 90000);
        } catch (e) {
            throw new Error(`timed out waiting until ${what}: ${e.message}`);
        }
    }

    actions(...sources) {
        return this.command("POST", "/actions", { actions: sources });
    }

    async click(selector) {
        const [x, y] = await this.centre(selector);
        await this.clickAt(x, y);
    }

    clickAt(x, y) {
        return this.actions({
            type: "pointer", id: "mouse", parameters: { pointerType: "mouse" },
            actions: [{ type: "pointerMove", x, y, origin: "viewport" }, { type: "pointerDown", button: 0 }, { type: "pointerUp", button: 0 }],
        });
    }

    tap() {
        throw new Error(lacks("touch"));
    }

    tapAt() {
        throw new Error(lacks("touch"));
    }

    // A minimized window hides the page; set to its size again, it shows it.
    async hide(hidden) {
        if (hidden) {
            this.shown = await this.evaluate(() => [window.innerWidth, window.innerHeight]);
            await this.command("POST", "/window/minimize", {});
        } else if (this.shown) {
            await this.command("POST", "/window/maximize", {});
            await this.setViewport(...this.shown);
            this.shown = null;
        }
    }

    keyDown(key) {
        return this.actions({ type: "key", id: "keyboard", actions: [{ type: "keyDown", value: keyOf(key) }] });
    }

    keyUp(key) {
        return this.actions({ type: "key", id: "keyboard", actions: [{ type: "keyUp", value: keyOf(key) }] });
    }

    sendText() {
        throw new Error(lacks("textWithoutKeys"));
    }

    // The window is sized so that its page, below MiniBrowser's toolbar, gets the viewport.
    async setViewport(width, height) {
        let [outerWidth, outerHeight] = [width, height];
        for (let tries = 0; tries < 4; tries++) {
            await this.command("POST", "/window/rect", { width: outerWidth, height: outerHeight });
            const [innerWidth, innerHeight] = await this.evaluate(() => [window.innerWidth, window.innerHeight]);
            if (innerWidth === width && innerHeight === height) {
                await this.evaluate(() => new Promise((done) => requestAnimationFrame(() => done())));
                return;
            }
            outerWidth += width - innerWidth;
            outerHeight += height - innerHeight;
        }
        throw new Error(`MiniBrowser gives no viewport of ${width} x ${height}`);
    }

    // A page the service worker serves comes without the server's early script: it is noted
    // from then on.
    async loaded() {
        await this.again(() => this.evaluate(recordProblems), 2000);
    }

    async goto(url) {
        await this.command("POST", "/url", { url });
        await this.loaded();
    }

    async reload() {
        this.earlier.push(...(await this.evaluate(() => window.zifferixProblems ?? [])));
        await this.command("POST", "/refresh", {});
        await this.loaded();
    }

    // WebDriver emulates no network: the server stops answering.
    offline(gone) {
        goOffline(this.origin, gone);
    }

    async problems() {
        const now = await this.evaluate(() => window.zifferixProblems ?? ["no problems noted"]);
        const lost = notFound(this.origin).slice(this.missingBefore).map((p) => `not found: ${p}`);
        return [...this.earlier, ...now, ...lost];
    }

    async close() {
        goOffline(this.origin, false);
        runFirst(this.origin, null);
        await this.command("DELETE", "");
    }
}

// A helper in a process group of its own, which ends as a whole with the test: also its own
// children (the MiniBrowsers a driver starts), and also when the test is stopped.
function spawnGroup(command, args, { env = process.env, stdio = [] } = {}) {
    const child = spawn(command, args, { env, detached: true, stdio: ["ignore", stdio[1] ?? "ignore", stdio[2] ?? "ignore", ...stdio.slice(3)] });
    child.stop = () => {
        try {
            process.kill(-child.pid, "SIGTERM");
        } catch {
            // already gone
        }
    };
    return child;
}

// An X server of its own, on the display it picks itself.
function startXvfb() {
    const xvfb = spawnGroup("Xvfb", ["-displayfd", "3", "-screen", "0", "2600x2000x24", "-nolisten", "tcp", "-noreset"],
        { stdio: [null, "ignore", "ignore", "pipe"] });
    return new Promise((done, fail) => {
        xvfb.on("error", fail);
        xvfb.stdio[3].once("data", (d) => done({ xvfb, display: `:${String(d).trim()}` }));
    });
}

// The port a process of ours listens on, from the kernel's tables: its sockets' inodes, and the
// listening socket among them.
async function listeningPort(pid) {
    const inodes = new Set();
    for (const fd of await readdir(`/proc/${pid}/fd`).catch(() => [])) {
        const link = await readlink(`/proc/${pid}/fd/${fd}`).catch(() => "");
        const inode = /^socket:\[(\d+)\]$/.exec(link)?.[1];
        if (inode) inodes.add(inode);
    }
    const table = await readFile("/proc/net/tcp", "utf8");
    for (const line of table.split("\n").slice(1)) {
        const [, local, , state, , , , , , inode] = line.trim().split(/\s+/);
        if (state === "0A" && inodes.has(inode)) return parseInt(local.split(":")[1], 16);
    }
    return null;
}

// WebKitWebDriver on a port the kernel picks for it (0), read back from the process itself: a
// port probed free beforehand could be taken by another test before the driver binds it.
async function startDriver(display, log) {
    const driverProcess = spawnGroup("WebKitWebDriver", ["--port=0"], {
        env: { ...process.env, DISPLAY: display, NO_AT_BRIDGE: "1" }, stdio: [null, "ignore", "pipe"],
    });
    driverProcess.stderr.on("data", (d) => log.push(String(d)));
    for (let tries = 0; ; tries++) {
        const port = await listeningPort(driverProcess.pid);
        try {
            const driver = `http://127.0.0.1:${port}`;
            if (port && (await (await fetch(`${driver}/status`)).json()).value.ready) return { driverProcess, driver };
        } catch (e) {
            if (tries > 100) throw new Error(`WebKitWebDriver does not start: ${e.message} ${log.join("")}`);
        }
        if (tries > 100) throw new Error(`WebKitWebDriver does not listen: ${log.join("")}`);
        await new Promise((next) => setTimeout(next, 100));
    }
}

export async function launchWebKit() {
    const { xvfb, display } = await startXvfb();
    const log = [];
    const { driverProcess, driver } = await startDriver(display, log);
    const stop = () => {
        driverProcess.stop();
        xvfb.stop();
    };
    process.once("exit", stop);
    for (const signal of ["SIGINT", "SIGTERM"]) {
        process.once(signal, () => process.exit(128 + { SIGINT: 2, SIGTERM: 15 }[signal]));
    }
    // The driver holds one session at a time: a tab that a failed test left open is closed
    // before the next one opens, so that one failure does not fail the rest.
    let current = null;
    return {
        async open(url, { width, height, touch, before }) {
            if (touch) throw new Error(lacks("touch"));
            await current?.close().catch(() => {});
            const response = await fetch(`${driver}/session`, {
                method: "POST", headers: { "Content-Type": "application/json" },
                body: JSON.stringify({ capabilities: { alwaysMatch: {
                    timeouts: { script: 120000 },
                    "webkitgtk:browserOptions": { binary: MINIBROWSER, args: ["--automation"] },
                } } }),
            });
            const { value } = await response.json();
            if (!value.sessionId) throw new Error(`no WebKit session: ${JSON.stringify(value)} ${log.join("")}`);
            const origin = new URL(url).origin;
            runFirst(origin, `(${recordProblems})();${before ? `(${before})();` : ""}`);
            const tab = new WebKitTab(driver, value.sessionId, origin);
            current = tab;
            await tab.command("POST", "/url", { url: "about:blank" });
            await tab.setViewport(width, height);
            await tab.goto(url);
            return tab;
        },
        async close() {
            stop();
            process.off("exit", stop);
        },
    };
}
