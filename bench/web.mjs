// The browser edition's budgets, measured in Debian's headless Chromium on localhost:
//   - what the site costs to transfer, gzip-compressed;
//   - the time from navigation to an interactive start screen (the page marks the moment),
//     median of RUNS cold loads, beside that of a static page that only loads the same fonts;
//   - flying numbers: frames a second, long tasks, and the page's script time per frame;
//   - the idle start screen: frames asked for in 5 s.
// Run it with bench/web.sh, which builds the site first.

import { readdir, readFile, stat } from "node:fs/promises";
import path from "node:path";
import { gzipSync } from "node:zlib";
import { launchChromium as launch } from "../tests/web/puppeteer.mjs";
import { serve, SITE } from "../tests/web/server.mjs";

const RUNS = Number(process.env.RUNS ?? 9);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const kb = (bytes) => `${(bytes / 1024).toFixed(1)} KB`;

async function files(folder) {
    const found = [];
    for (const entry of await readdir(folder, { withFileTypes: true })) {
        const name = path.join(folder, entry.name);
        found.push(...(entry.isDirectory() ? await files(name) : [name]));
    }
    return found;
}

async function sizes() {
    let program = 0;
    let site = 0;
    for (const file of await files(SITE)) {
        const zipped = gzipSync(await readFile(file), { level: 9 }).length;
        // Already compressed fonts travel as they are.
        const sent = file.endsWith(".woff2") ? (await stat(file)).size : zipped;
        site += sent;
        // The teacher's links.html is in the site (and the offline cache), but no game loads it.
        if (/\.(js|wasm|html)$/.test(file) && path.basename(file) !== "links.html") {
            program += sent;
        }
    }
    return { program, site };
}

// The same @font-face rules and font loads as the page, and nothing else.
const FONTS_ONLY = `<!DOCTYPE html><html lang="de"><head><meta charset="utf-8"><title>fonts</title>
<link rel="stylesheet" href="zifferix.css"></head><body><script>
Promise.all(["MS Sans Serif", "Arial", "Comic Sans MS"].flatMap((f) => [\`16px "\${f}"\`, \`bold 16px "\${f}"\`])
  .map((f) => document.fonts.load(f))).then(() => performance.mark("zifferix-interactive"));
</script></body></html>`;

async function loadTime(browser, url) {
    const context = await browser.createBrowserContext(); // a cold cache every time
    const page = await context.newPage();
    await page.setViewport({ width: 1024, height: 768 });
    await page.goto(url);
    await page.waitForFunction(() => performance.getEntriesByName("zifferix-interactive").length > 0);
    const ms = await page.evaluate(() => performance.getEntriesByName("zifferix-interactive")[0].startTime);
    await context.close();
    return ms;
}

async function animation(browser, url) {
    const page = await browser.newPage();
    await page.setViewport({ width: 1024, height: 768 });
    await page.evaluateOnNewDocument(() => {
        window.frames_ = [];
        window.longTasks = [];
        const ask = window.requestAnimationFrame.bind(window);
        window.requestAnimationFrame = (callback) => ask((t) => { window.frames_.push(t); callback(t); });
        new PerformanceObserver((list) => window.longTasks.push(...list.getEntries().map((e) => e.duration)))
            .observe({ type: "longtask", buffered: true });
    });
    await page.goto(url);
    await page.waitForSelector("html[data-ready]");
    await new Promise((done) => setTimeout(done, 5000));
    const idleFrames = await page.evaluate(() => window.frames_.length);

    for (const name of ["opt8", "optMittel", "cmdAnfang"]) {
        await page.click(`[data-name="${name}"]`);
    }
    await page.keyboard.press("Enter"); // the numbers start to fly
    await new Promise((done) => setTimeout(done, 1000));
    const before = await page.metrics();
    await page.evaluate(() => { window.frames_ = []; window.longTasks = []; });
    await new Promise((done) => setTimeout(done, 5000));
    const after = await page.metrics();
    const { frames, longTasks } = await page.evaluate(() => ({ frames: window.frames_, longTasks: window.longTasks }));
    await page.close();
    const seconds = (frames.at(-1) - frames[0]) / 1000;
    const gaps = frames.slice(1).map((t, i) => t - frames[i]);
    return {
        idleFrames,
        fps: (frames.length - 1) / seconds,
        longestGap: Math.max(...gaps),
        longTasks: longTasks.length,
        scriptPerFrame: ((after.ScriptDuration - before.ScriptDuration) * 1000) / frames.length,
    };
}

// Both pages from the same server, in the same way: only what they load differs.
const site = await serve("/zifferix/", { extra: { "fonts.html": FONTS_ONLY } });
const browser = await launch();
const { program, site: whole } = await sizes();
console.log(`Transferred, gzip: JS + WASM + HTML ${kb(program)} (budget 300 KB), whole site ${kb(whole)} (budget 1024 KB)`);

const zifferix = [];
const fonts = [];
await loadTime(browser, site.url); // warm-up: the server's and the disk's first time
for (let i = 0; i < RUNS; i++) {
    zifferix.push(await loadTime(browser, site.url));
    fonts.push(await loadTime(browser, `${site.url}fonts.html`));
    console.error(`run ${i + 1}: zifferix ${zifferix.at(-1).toFixed(1)} ms, fonts only ${fonts.at(-1).toFixed(1)} ms`);
}
console.log(`Interactive start screen: median ${median(zifferix).toFixed(1)} ms; a page that only loads the fonts: ${median(fonts).toFixed(1)} ms (${(median(zifferix) / median(fonts)).toFixed(2)}x)`);

const a = await animation(browser, site.url);
console.log(`Idle start screen: ${a.idleFrames} frames asked for in 5 s`);
console.log(`Flying numbers: ${a.fps.toFixed(1)} frames/s, longest gap ${a.longestGap.toFixed(1)} ms, ${a.longTasks} long tasks, script ${a.scriptPerFrame.toFixed(3)} ms a frame`);

await browser.close();
site.close();
