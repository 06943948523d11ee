// The browser edition's budgets, measured in Debian's headless Chromium on localhost, the site
// served as the school's package serves it (compressed, a file named after its content kept for
// good, the rest revalidated; tests/web/server.mjs):
//   - what the site costs to transfer, gzip-compressed;
//   - on a school's Wi-Fi as Chromium emulates it (10 Mbit/s, 80 ms round trip), median of RUNS:
//     a first visit against the physical limit (the bytes the start needs at that rate, and two
//     round trips), the requests a repeat visit makes before the start screen is ready with the
//     service worker and without one (plain http, where browsers run none), and the bytes a
//     first visit moves, the worker's fill included, against the site's compressed size;
//   - the time from navigation to an interactive start screen (the page marks the moment),
//     median of RUNS cold loads, beside that of a static page that only loads the same fonts;
//   - flying numbers: frames a second, long tasks, and the page's script time per frame;
//   - the idle start screen: frames asked for in 5 s.
// Run it with bench/web.sh, which builds the site first. ZIFFERIX_EARLIER=<site folder> measures
// another build on the Wi-Fi beside this one, round by round: an earlier one, with plain names too.

import { existsSync } from "node:fs";
import { readdir, readFile, stat } from "node:fs/promises";
import path from "node:path";
import { gzipSync } from "node:zlib";
import { launchChromium } from "../tests/web/puppeteer.mjs";
import { built, serve, SITE } from "../tests/web/server.mjs";

const RUNS = Number(process.env.RUNS ?? 9);
// A name that reaches this machine but is no secure origin, as a school's server on plain http:
// no service worker there.
const PLAIN_HOST = "school.test";
const launch = () => launchChromium(`--host-resolver-rules=MAP ${PLAIN_HOST} 127.0.0.1`);
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

async function sizes(root = SITE) {
    let program = 0;
    let site = 0;
    let served = 0;
    for (const file of await files(root)) {
        const body = await readFile(file);
        served += /\.(woff2|png)$/.test(file) ? body.length : gzipSync(body).length; // as the server sends it
        const zipped = gzipSync(await readFile(file), { level: 9 }).length;
        // Already compressed fonts travel as they are.
        const sent = file.endsWith(".woff2") ? (await stat(file)).size : zipped;
        site += sent;
        // The teacher's pages (links, the class's board and its QR codes), the accessibility
        // statement and what only a class's link loads are in the site (and the offline cache),
        // but a child outside a class loads none of them.
        const notLoaded = /^(links\.html|barrierefreiheit\.html|lehrer.*|klasse\..*\.js|qrcode\..*\.js)$/;
        if (/\.(js|wasm|html)$/.test(file) && !notLoaded.test(path.basename(file))) {
            program += sent;
        }
    }
    return { program, site, served };
}

// The same @font-face rules and font loads as the page, and nothing else. An earlier build has
// its style sheet by its plain name.
const fontsOnly = (root) => `<!DOCTYPE html><html lang="de"><head><meta charset="utf-8"><title>fonts</title>
<link rel="stylesheet" href="${existsSync(path.join(root, "zifferix.css")) ? "zifferix.css" : built("zifferix.css", root)}"></head><body><script>
Promise.all(["Arial", "Comic Sans MS"].flatMap((f) => [\`16px "\${f}"\`, \`bold 16px "\${f}"\`])
  .map((f) => document.fonts.load(f))).then(() => performance.mark("zifferix-interactive"));
</script></body></html>`;
// The same, with the fonts asked for at once beside the style sheet, as the page asks for them:
// on the Wi-Fi, the browser's own share of a first visit.
async function fontsAtOnce(root) {
    const page = fontsOnly(root);
    const style = /href="([^"]+\.css)"/.exec(page)[1];
    const fonts = [...new Set([...(await readFile(path.join(root, style), "utf8")).matchAll(/url\("([^"]+)"\)/g)].map((m) => m[1]))];
    const preloads = fonts.map((f) => `<link rel="preload" href="${f}" as="font" type="font/woff2" crossorigin>`).join("\n");
    return page.replace("</head>", `${preloads}\n</head>`);
}
// Another build to measure beside this one, round by round: an earlier one, for instance.
const EARLIER = process.env.ZIFFERIX_EARLIER;

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

// A school's Wi-Fi: 10 Mbit/s each way and 80 ms from the tablet to the server and back.
const WIFI = { download: 10e6 / 8, upload: 10e6 / 8, latency: 80 };
const RTT = 80;

// A visit on the Wi-Fi in a tab of `context`: the time to the interactive start screen and the
// requests `server` got before it, and the server's place in its list when the visit began.
async function visit(server, context, url) {
    const page = await context.newPage();
    await page.setViewport({ width: 1024, height: 768 });
    await page.emulateNetworkConditions(WIFI);
    const from = server.requests.length;
    await page.goto(url);
    await page.waitForFunction(() => performance.getEntriesByName("zifferix-interactive").length > 0);
    const [ms, readyAt] = await page.evaluate(() => {
        const mark = performance.getEntriesByName("zifferix-interactive")[0];
        return [mark.startTime, performance.timeOrigin + mark.startTime];
    });
    const early = server.requests.slice(from).filter((r) => r.at < readyAt);
    // A visit ends once the page has loaded and the browser has asked for what it asks for
    // itself, such as the icon of the tab.
    await page.waitForFunction(() => document.readyState === "complete");
    await new Promise((done) => setTimeout(done, 300));
    return { page, ms, early, from };
}

const sum = (requests) => requests.reduce((total, r) => total + r.bytes, 0);

const limitOf = (bytes) => (bytes / WIFI.download) * 1000 + 2 * RTT;

// One round of the visits to a served build, each browser context with a cold cache: the first
// visit and the repeat with the worker, the first and the repeat without one, and a first visit
// to the page that only loads the style sheet and the fonts, the browser's own share.
async function onWifi(browser, server) {
    const secure = server.url;
    const plain = server.url.replace("127.0.0.1", PLAIN_HOST);
    const withWorker = await browser.createBrowserContext();
    const first = await visit(server, withWorker, secure);
    const needed = sum(first.early);
    // The worker's fill: done when it controls the page.
    await first.page.evaluate(async () => {
        await navigator.serviceWorker.ready;
        while (!navigator.serviceWorker.controller) await new Promise((done) => setTimeout(done, 20));
    });
    const visitBytes = sum(server.requests.slice(first.from));
    const perFile = {};
    for (const { name } of server.requests.slice(first.from)) perFile[name] = (perFile[name] ?? 0) + 1;
    const repeat = await visit(server, withWorker, secure);
    await withWorker.close();

    const noWorker = await browser.createBrowserContext();
    await visit(server, noWorker, plain);
    const repeatPlain = await visit(server, noWorker, plain);
    await noWorker.close();

    const fontsContext = await browser.createBrowserContext();
    const fonts = await visit(server, fontsContext, `${plain}fonts-at-once.html`);
    await fontsContext.close();
    return {
        first: first.ms, needed, limit: limitOf(needed), firstRequests: first.early.length,
        visitBytes, mostAsked: Math.max(...Object.values(perFile)),
        repeat: repeat.ms, repeatRequests: repeat.early.map((r) => r.name),
        repeatPlain: repeatPlain.ms, repeatPlainRequests: repeatPlain.early.map((r) => r.name),
        fonts: fonts.ms, fontsLimit: limitOf(sum(fonts.early)),
    };
}

function report(name, rounds, served) {
    const of = (key) => median(rounds.map((r) => r[key]));
    const most = (key) => Math.max(...rounds.map((r) => r[key].length));
    const spread = (key) => `${Math.min(...rounds.map((r) => r[key])).toFixed(0)}-${Math.max(...rounds.map((r) => r[key])).toFixed(0)}`;
    console.log(`${name} on a school's Wi-Fi (10 Mbit/s, ${RTT} ms round trip), medians of ${rounds.length}:`);
    console.log(`  First visit: ready in ${of("first").toFixed(0)} ms (spread ${spread("first")}), limit ${of("limit").toFixed(0)} ms `
        + `(${kb(of("needed"))} in ${of("firstRequests")} requests, and two round trips): ${(of("first") / of("limit")).toFixed(2)}x (budget 1.25x)`);
    console.log(`  A page that only loads the style sheet and the fonts, all at once: ${of("fonts").toFixed(0)} ms, its limit ${of("fontsLimit").toFixed(0)} ms: `
        + `${(of("fonts") / of("fontsLimit")).toFixed(2)}x`);
    console.log(`  Repeat visit without a worker: ready in ${of("repeatPlain").toFixed(0)} ms (spread ${spread("repeatPlain")}), `
        + `at most ${most("repeatPlainRequests")} requests before (budget 1)`);
    console.log(`  Repeat visit with the worker: ready in ${of("repeat").toFixed(0)} ms, at most ${most("repeatRequests")} requests before (budget 0)`);
    console.log(`  First visit with the worker's fill: ${kb(of("visitBytes"))} for a site of ${kb(served)} compressed: `
        + `${(of("visitBytes") / served).toFixed(2)}x (budget 1.2x); each file asked for at most ${Math.max(...rounds.map((r) => r.mostAsked))} times (budget 1)`);
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
const site = await serve("/zifferix/", { extra: { "fonts.html": fontsOnly(SITE), "fonts-at-once.html": await fontsAtOnce(SITE) } });
const builds = [{ name: "This build", server: site, root: SITE, rounds: [] }];
if (EARLIER) {
    const earlier = await serve("/zifferix/", { extra: { "fonts.html": fontsOnly(EARLIER), "fonts-at-once.html": await fontsAtOnce(EARLIER) } });
    earlier.root = EARLIER;
    builds.push({ name: `The build in ${EARLIER}`, server: earlier, root: EARLIER, rounds: [] });
}
const browser = await launch();
for (const build of builds) {
    const { program, site: whole } = await sizes(build.root);
    console.log(`${build.name}: transferred, gzip: JS + WASM + HTML ${kb(program)} (budget 300 KB), whole site ${kb(whole)} (budget 1024 KB)`);
}

for (const build of builds) {
    await onWifi(browser, build.server); // warm-up
}
for (let i = 0; i < RUNS; i++) {
    for (const build of builds) {
        const r = await onWifi(browser, build.server);
        build.rounds.push(r);
        console.error(`wifi ${i + 1}, ${build.name}: first ${r.first.toFixed(0)} ms (limit ${r.limit.toFixed(0)} ms), repeat ${r.repeat.toFixed(0)} ms `
            + `(${r.repeatRequests.join(" ") || "no request"}), without worker ${r.repeatPlain.toFixed(0)} ms (${r.repeatPlainRequests.join(" ")}), `
            + `${kb(r.visitBytes)} with the fill, fonts only ${r.fonts.toFixed(0)} ms`);
    }
}
for (const build of builds) {
    report(build.name, build.rounds, (await sizes(build.root)).served);
}
for (const build of builds.slice(1)) {
    build.server.close();
}

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
