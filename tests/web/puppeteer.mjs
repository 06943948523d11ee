// Chromium over its DevTools protocol and Firefox ESR over WebDriver BiDi, both through npm's
// puppeteer-core, which speaks either.

import puppeteer from "puppeteer-core";
import { Tab } from "./engines.mjs";
import { goOffline } from "./server.mjs";

const CHROMIUM = process.env.CHROMIUM ?? "/usr/bin/chromium";
const FIREFOX = process.env.FIREFOX ?? "/usr/bin/firefox-esr";

// Debian's Chromium, headless, quiet, with its shared memory in /tmp (a chroot may have no
// /dev/shm); the benchmarks use it directly.
export function launchChromium(...more) {
    return puppeteer.launch({
        executablePath: CHROMIUM,
        headless: true,
        args: ["--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--disable-background-networking", "--disable-component-update",
            "--disable-sync", "--no-first-run", "--disable-features=Translate,MediaRouter,OptimizationHints", ...more],
    });
}

// Firefox asks for no updates, reports and first-run pages, which would only be requests elsewhere.
const launchFirefox = () =>
    puppeteer.launch({
        browser: "firefox",
        executablePath: FIREFOX,
        headless: true,
        extraPrefsFirefox: { "app.update.enabled": false, "datareporting.policy.dataSubmissionEnabled": false, "browser.shell.checkDefaultBrowser": false },
    });

class PuppeteerTab extends Tab {
    constructor(page, touch, origin) {
        super();
        Object.assign(this, { page, touch, origin, noted: [] });
    }

    async problems() {
        return this.noted;
    }

    evaluate(fn, ...args) {
        return this.page.evaluate(fn, ...args);
    }

    async waitFor(what, check, ...args) {
        try {
            await this.page.waitForFunction(check, { timeout: 90000, polling: 50 }, ...args);
        } catch (e) {
            throw new Error(`timed out waiting until ${what}: ${e.message}`);
        }
    }

    click(selector) {
        return this.page.click(selector);
    }

    // What a screen reader is given, from Chromium's accessibility tree: the page's name, the
    // focused node (role, name, description, value, whether it takes text) and what the live
    // region says.
    async listen() {
        const tree = await this.page.accessibility.snapshot({ interestingOnly: false });
        const heard = { title: tree.name, focused: null, said: "" };
        const walk = (node, inRegion) => {
            if (node.focused) {
                const { role, name, description = "", value = "", readonly = false } = node;
                heard.focused = { role, name, description, value, readonly };
            }
            const region = inRegion || node.role === "status";
            if (region && node.role === "StaticText") heard.said += node.name;
            for (const child of node.children ?? []) walk(child, region);
        };
        walk(tree, false);
        return heard;
    }

    // As a system that asks for more contrast does, or forces its own colours (Windows).
    async askForContrast(feature, value) {
        this.cdp ??= await this.page.createCDPSession();
        await this.cdp.send("Emulation.setEmulatedMedia", { features: [{ name: feature, value }] });
    }

    tap(selector) {
        return this.page.tap(selector);
    }

    clickAt(x, y) {
        return this.page.mouse.click(x, y);
    }

    tapAt(x, y) {
        return this.page.touchscreen.tap(x, y);
    }

    // Another tab in front hides this one.
    async hide(hidden) {
        if (hidden && !this.cover) {
            this.cover = await this.page.browserContext().newPage();
            await this.cover.bringToFront();
        } else if (!hidden && this.cover) {
            await this.page.bringToFront();
            await this.cover.close();
            this.cover = null;
        }
    }

    keyDown(key) {
        return this.page.keyboard.down(key);
    }

    keyUp(key) {
        return this.page.keyboard.up(key);
    }

    sendText(text) {
        return this.page.keyboard.sendCharacter(text);
    }

    // Firefox ESR 140 (Debian 12's main archive) has no screen orientation override, which
    // puppeteer sets beside the viewport: the viewport itself is set all the same.
    async setViewport(width, height) {
        try {
            await this.page.setViewport({ width, height, hasTouch: this.touch, isMobile: this.touch });
        } catch (e) {
            if (!/setScreenOrientationOverride/.test(e.message)) throw e;
            await this.waitFor(`the viewport is ${width} x ${height}`, (w, h) => innerWidth === w && innerHeight === h, width, height);
        }
    }

    goto(url) {
        return this.page.goto(url);
    }

    reload() {
        return this.page.reload();
    }

    // Firefox ESR 140 emulates no network conditions: there the test server stops answering.
    async offline(gone) {
        try {
            await this.page.setOfflineMode(gone);
        } catch (e) {
            if (!/setNetworkConditions/.test(e.message)) throw e;
            goOffline(this.origin, gone);
        }
    }

    async close() {
        goOffline(this.origin, false);
        await this.hide(false);
        return this.page.close();
    }

    async installabilityErrors() {
        const cdp = await this.page.createCDPSession();
        return (await cdp.send("Page.getInstallabilityErrors")).installabilityErrors;
    }

    // What was served while `act` ran: each response's address, whether the service worker
    // gave it, and its body.
    async responses(act) {
        const served = [];
        const note = (r) => served.push(r);
        this.page.on("response", note);
        await act();
        this.page.off("response", note);
        return Promise.all(served.map(async (r) => ({ url: r.url(), fromWorker: r.fromServiceWorker(), body: await r.buffer() })));
    }
}

// Every tab in the browser's own profile, which a page can be installed from (a private one
// cannot): a site's service worker stays for the next tab of the same site.
export async function launchPuppeteer(engine) {
    const browser = await (engine === "firefox" ? launchFirefox() : launchChromium());
    return {
        async open(url, { width, height, touch, before }) {
            const page = await browser.newPage();
            const tab = new PuppeteerTab(page, touch, new URL(url).origin);
            const problems = tab.noted;
            page.on("console", (m) => ["error", "warn", "assert"].includes(m.type()) && problems.push(`${m.type()}: ${m.text()}`));
            page.on("pageerror", (e) => problems.push(`page error: ${e.message}`));
            page.on("requestfailed", (r) => problems.push(`request failed: ${r.url()}`));
            page.on("response", (r) => r.status() >= 400 && problems.push(`not found: ${r.status()} ${r.url()}`));
            const site = new URL(".", url).href; // the folder of the page opened
            page.on("request", (r) => !r.url().startsWith(site) && !r.url().startsWith("data:") && problems.push(`request elsewhere: ${r.url()}`));
            // A reload that would lose the points asks first, and the child says yes.
            page.on("dialog", (d) => d.type() === "beforeunload" && d.accept());
            await tab.setViewport(width, height);
            if (before) {
                await page.evaluateOnNewDocument(before);
            }
            await page.goto(url);
            return tab;
        },
        close: () => browser.close(),
    };
}
