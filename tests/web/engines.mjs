// The three browser engines behind one small interface: a browser opens tabs, and a tab is
// driven by the calls of `Tab` below, whichever engine runs it. ZIFFERIX_ENGINE names the
// engine: chromium (Debian's Chromium over its DevTools protocol), firefox (Firefox ESR over
// WebDriver BiDi) or webkit (WebKitGTK's MiniBrowser over W3C WebDriver).

export const ENGINE = process.env.ZIFFERIX_ENGINE ?? "chromium";

const NO_CDP = "only Chromium's DevTools protocol reports this";
// What an engine's automation cannot do; a test skips that part there, giving the reason.
const LACKS = {
    chromium: {},
    firefox: {
        installability: `installability errors: ${NO_CDP}`,
        workerResponses: "which responses came from the service worker, and their bodies: Firefox's WebDriver BiDi "
            + "marks none as the worker's and keeps no bodies of cached ones",
        textWithoutKeys: "text without keys (an input method's commit): WebDriver BiDi has none; puppeteer inserts it "
            + "with execCommand, which sends the page no beforeinput",
        accessibilityTree: "the accessibility tree and emulated contrast: only Chromium's DevTools protocol gives them",
    },
    webkit: {
        touch: "touch: WebKitGTK's WebDriver plays a touch pointer as a mouse (pointerType mouse, no touch events)",
        installability: `installability errors: ${NO_CDP}`,
        workerResponses: "which responses came from the service worker: W3C WebDriver sees no network",
        textWithoutKeys: "text without keys (an input method's commit): W3C WebDriver sends only keys",
        accessibilityTree: "the accessibility tree and emulated contrast: only Chromium's DevTools protocol gives them",
        browserCache: "the browser's own cache beyond a page: MiniBrowser under WebDriver runs in an ephemeral session, "
            + "which keeps no HTTP cache, so neither the program's fetch on the next visit nor the service worker finds "
            + "what the page loaded",
    },
};
if (!(ENGINE in LACKS)) {
    throw new Error(`ZIFFERIX_ENGINE=${ENGINE}: chromium, firefox or webkit`);
}

// The reason why this engine cannot test a feature, or false when it can.
export const lacks = (feature) => LACKS[ENGINE][feature] ?? false;

// What every engine's tab offers; an engine supplies evaluate, waitFor, click, tap, clickAt,
// tapAt, keyDown, keyUp, sendText, setViewport, hide, goto, reload, offline, close and
// `problems`. `hide(true)` hides the tab as a child who turns to another one does (the page gets
// a real visibilitychange), `hide(false)` shows it again.
export class Tab {
    async press(key) {
        await this.keyDown(key);
        await this.keyUp(key);
    }

    async type(text) {
        for (const key of text) {
            await this.press(key);
        }
    }

    title() {
        return this.evaluate(() => document.title);
    }

    $eval(selector, fn, ...args) {
        return this.evaluate((s, f, a) => {
            const e = document.querySelector(s);
            if (!e) throw new Error(`nothing matches ${s}`);
            return (0, eval)(`(${f})`)(e, ...a);
        }, selector, String(fn), args);
    }

    $$eval(selector, fn, ...args) {
        return this.evaluate((s, f, a) => (0, eval)(`(${f})`)([...document.querySelectorAll(s)], ...a), selector, String(fn), args);
    }

    // The middle of the first element that matches, in the viewport's pixels, scrolled into view.
    centre(selector) {
        return this.evaluate((s) => {
            const e = document.querySelector(s);
            if (!e) throw new Error(`nothing matches ${s}`);
            e.scrollIntoView({ block: "nearest", inline: "nearest" });
            const r = e.getBoundingClientRect();
            return [Math.round(r.left + r.width / 2), Math.round(r.top + r.height / 2)];
        }, selector);
    }
}

export async function launch() {
    if (ENGINE === "webkit") {
        const { launchWebKit } = await import("./webkit.mjs");
        return launchWebKit();
    }
    const { launchPuppeteer } = await import("./puppeteer.mjs");
    return launchPuppeteer(ENGINE);
}
