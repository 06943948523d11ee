// The page against the oldest browsers it supports (FLOOR in floor/bcd.mjs): every web platform
// feature it uses, read from its sources and its build, looked up in MDN's browser
// compatibility data. A feature that the reader cannot name fails, so that nothing new slips
// through unchecked; one missing at the floor fails with its path and versions.

import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { readFileSync, readdirSync } from "node:fs";
import path from "node:path";
import { test } from "node:test";
import { FLOOR, entry, verdict } from "./floor/bcd.mjs";
import { scriptFeatures } from "./floor/javascript.mjs";
import { cppFeatures, cssFeatures, htmlFeatures, manifestFeatures } from "./floor/markup.mjs";
import { SITE, built } from "./server.mjs";

const ROOT = path.resolve("../..");
const PAGE = path.join(ROOT, "shell/web/page");
const read = (...parts) => readFileSync(path.join(...parts), "utf8");

// The program as the page's script knows it: the functions web_main.cpp binds with embind.
const BOUND = [...read(ROOT, "app/web_main.cpp").matchAll(/emscripten::function\("(\w+)"/g)].map((m) => m[1]);

// What the page's scripts name that is not the platform's, and why.
const OWN = {
    globals: {
        createZifferix: "the program's factory, defined by emscripten's zifferix.js",
        define: "an AMD module loader's, which emscripten's wrapper looks for with typeof",
        // Looked for only where there is no globalThis, which every browser at the floor has.
        global: "Node.js's global object, which embind looks for behind globalThis",
        $$$embind_global$$$: "embind's own probe for the global object, behind globalThis",
    },
    // The boot script's own record of the run, which its pieces share.
    objects: {
        z: BOUND, session: ["z", "stage", "touching", "area", "playing", "contrast"],
        // What a class's link loads (klasse.js), the class as the service gives it, and each
        // result kept until it is sent.
        code: ["fetchClass", "join"], info: ["name", "kinder", "kind"], last: ["kind"],
        record: ["id", "klasse", "body", "kept"], result: ["id"], a: ["kept"], b: ["kept"],
        kept: ["put", "remove", "refuse", "waiting"],
    },
    ownMembers: {
        zifferixModule: "the compiled program, which the page's first script puts on the window",
        zifferixFonts: "the fonts' loading, which the page's second script puts on the window",
        zifferixFailed: "what the page says when the program cannot be had, which its first script puts on the window",
        zifferixHeap: "the program's memory in use, which the page's script puts on the window for the storms",
        zifferixVoice: "the page's voice for reading aloud, which the page's script puts on the window",
        zifferixClass: "what a class's link needs, which klasse.js puts on the window for the page's script",
        instantiateWasm: "an option of emscripten's factory, not of the platform",
    },
};

// Member names that several interfaces have, not all of them at the floor: the one the page
// means, by where it uses it.
const MEMBERS = {
    // Events the page listens to.
    key: "api.KeyboardEvent.key", code: "api.KeyboardEvent.code", repeat: "api.KeyboardEvent.repeat",
    isComposing: "api.KeyboardEvent.isComposing", altKey: "api.KeyboardEvent.altKey", ctrlKey: "api.KeyboardEvent.ctrlKey",
    metaKey: "api.KeyboardEvent.metaKey", shiftKey: "api.KeyboardEvent.shiftKey", getModifierState: "api.KeyboardEvent.getModifierState",
    pointerType: "api.PointerEvent.pointerType", inputType: "api.InputEvent.inputType", data: "api.InputEvent.data",
    dataTransfer: "api.InputEvent.dataTransfer", clipboardData: "api.ClipboardEvent.clipboardData", getData: "api.DataTransfer.getData",
    target: "api.Event.target", preventDefault: "api.Event.preventDefault", stopPropagation: "api.Event.stopPropagation",
    cancelable: "api.Event.cancelable", waitUntil: "api.ExtendableEvent.waitUntil", respondWith: "api.FetchEvent.respondWith",
    request: "api.FetchEvent.request", install_event: "api.ServiceWorkerGlobalScope.install_event",
    activate_event: "api.ServiceWorkerGlobalScope.activate_event", click_event: "api.Element.click_event",
    compositionstart_event: "api.Element.compositionstart_event", compositionend_event: "api.Element.compositionend_event",
    cancel_event: "api.HTMLDialogElement.cancel_event", resize_event: "api.Window.resize_event",
    beforeunload_event: "api.Window.beforeunload_event", hash: "api.Location.hash",
    // The system's wish for more contrast, as media queries tell it.
    // A radio button's group, which the program names after its frame.
    "name=": "html.elements.input.name",
    matches: "api.MediaQueryList.matches", change_event: "api.MediaQueryList.change_event", some: "javascript.builtins.Array.some",
    // A tablet's keyboard: what it leaves in sight, and the box kept there.
    height: "api.VisualViewport.height", top: "api.DOMRectReadOnly.top", bottom: "api.DOMRectReadOnly.bottom",
    transform: "css.properties.transform",
    // The keys the page has passed to the program, until they come up.
    has: "javascript.builtins.Set.has", add: "javascript.builtins.Set.add",
    // The page's elements and the service worker's requests and responses.
    open: "api.HTMLDialogElement.open", close: "api.HTMLDialogElement.close", showModal: "api.HTMLDialogElement.showModal",
    dataset: "api.HTMLElement.dataset", hidden: "api.HTMLElement.hidden", inert: "api.HTMLElement.inert",
    title: "api.Document.title", type: "api.HTMLInputElement.type", value: "api.HTMLInputElement.value",
    checked: "api.HTMLInputElement.checked", readOnly: "api.HTMLInputElement.readOnly", disabled: "api.HTMLButtonElement.disabled",
    content: "api.HTMLTemplateElement.content", remove: "api.Element.remove", setAttribute: "api.Element.setAttribute",
    removeAttribute: "api.Element.removeAttribute", hasAttribute: "api.Element.hasAttribute", getContext: "api.HTMLCanvasElement.getContext",
    measureText: "api.CanvasRenderingContext2D.measureText", append: "api.Element.append", focus: "api.HTMLElement.focus",
    blur: "api.HTMLElement.blur", contains: "api.Node.contains", length: "api.HTMLCollection.length",
    font: "api.CanvasRenderingContext2D.font", width: "api.TextMetrics.width", style: "api.HTMLElement.style",
    preventScroll: "api.HTMLElement.focus.options_preventScroll_parameter",
    ok: "api.Response.ok", clone: "api.Response.clone", arrayBuffer: "api.Response.arrayBuffer", method: "api.Request.method",
    mode: "api.Request.mode", match: "api.Cache.match", put: "api.Cache.put", keys: "api.CacheStorage.keys", delete: "api.CacheStorage.delete",
    registration: "api.ServiceWorkerGlobalScope.registration", url: "api.Request.url", reload: "api.Location.reload",
    origin: "api.URL.origin", pathname: "api.URL.pathname", rel: "api.HTMLLinkElement.rel", href: "api.HTMLLinkElement.href",
    register: "api.ServiceWorkerContainer.register", ready: "api.ServiceWorkerContainer.ready", then: "javascript.builtins.Promise.then",
    catch: "javascript.builtins.Promise.catch", join: "javascript.builtins.Array.join", map: "javascript.builtins.Array.map",
    flatMap: "javascript.builtins.Array.flatMap", startsWith: "javascript.builtins.String.startsWith",
    padStart: "javascript.builtins.String.padStart", toString: "javascript.builtins.Number.toString",
    // What the program sets: the attribute, of the element it sets it on.
    "class=": "svg.global_attributes.class", "width=": "svg.elements.svg.width", "height=": "svg.elements.svg.height",
    "x=": "svg.elements.rect.x", "y=": "svg.elements.rect.y", "rx=": "svg.elements.rect.rx", "ry=": "svg.elements.ellipse.ry",
    "preserveAspectRatio=": "svg.elements.svg.preserveAspectRatio", "title=": "html.global_attributes.title",
    "type=": "html.elements.button.type",
    // Reading aloud: the German voices, an utterance in a voice's language, its end however it
    // ends, and the old one cut off.
    onend: "api.SpeechSynthesisUtterance.end_event", onerror: "api.SpeechSynthesisUtterance.error_event",
    lang: "api.SpeechSynthesisUtterance.lang", cancel: "api.SpeechSynthesis.cancel",
    voiceschanged_event: "api.SpeechSynthesis.voiceschanged_event", filter: "javascript.builtins.Array.filter",
    find: "javascript.builtins.Array.find", test: "javascript.builtins.RegExp.test",
    // A class's link: its script loaded, the class asked for within a time, the results kept in
    // IndexedDB and sent.
    exec: "javascript.builtins.RegExp.exec", slice: "javascript.builtins.String.slice", split: "javascript.builtins.String.split",
    src: "api.HTMLScriptElement.src", onload: "api.HTMLElement.load_event",
    abort: "api.AbortController.abort", signal: "api.AbortController.signal", id: "api.Element.id",
    onupgradeneeded: "api.IDBOpenDBRequest.upgradeneeded_event", onsuccess: "api.IDBRequest.success_event",
    onblocked: "api.IDBOpenDBRequest.blocked_event", oncomplete: "api.IDBTransaction.complete_event",
    onabort: "api.IDBTransaction.abort_event", result: "api.IDBRequest.result", error: "api.IDBRequest.error",
    getAll: "api.IDBObjectStore.getAll", indexedDB: "api.indexedDB", status: "api.Response.status", json: "api.Response.json",
};

// What the program calls on the page's own objects through embind: the page's voice, and the
// class of a class's link (klasse.js), which web_main.cpp holds as page_.
const PAGE_OWN = { zifferixVoice: ["say", "show"], page_: ["joined", "ended"] };

function report(t, found) {
    const failures = [];
    const seen = new Set();
    for (const f of found) {
        const key = f.path ? `${f.path} ${f.prefixes ?? ""}` : `${f.feature}: ${f.problem}`;
        if (seen.has(key)) continue;
        seen.add(key);
        if (f.problem) {
            failures.push(`${f.feature}: cannot classify (${f.problem})`);
            continue;
        }
        if (!entry(f.path)) {
            failures.push(`${f.feature}: BCD has no ${f.path}`);
            continue;
        }
        const v = verdict(f.path, f.prefixes);
        t.diagnostic(`${f.path}${f.prefixes?.length ? ` (${f.prefixes.join(" ")})` : ""}: ${v.versions}${v.optional && v.lacking.length ? ` — optional: ${v.optional}` : ""}`);
        if (v.lacking.length && !v.optional) {
            failures.push(`${f.feature} (${f.path}) is missing at the floor in ${v.lacking.join(", ")}`);
        }
    }
    assert.deepEqual(failures, [], "every feature is classified and there in the oldest browsers");
}

const page = htmlFeatures(read(SITE, "index.html"));
// What the C++ of the page does to it through embind: elements and attributes, the rest.
const EMBIND = [...readdirSync(path.join(ROOT, "shell/web")).filter((f) => f.endsWith(".cpp")).map((f) => read(ROOT, "shell/web", f)),
    read(ROOT, "app/web_main.cpp")].flatMap((c) => cppFeatures(c, MEMBERS, PAGE_OWN));
const sw = read(PAGE, "sw.js").replace("@VERSION@", "").replace("@FILES@", "{}");

test("the page's scripts use only what the oldest browsers have", (t) => {
    const found = [read(PAGE, "boot.js"), read(PAGE, "klasse.js"), ...page.scripts, sw]
        .flatMap((s) => scriptFeatures(s, { ...OWN, members: MEMBERS }));
    report(t, found);
});

test("the page's elements and attributes, its pictures' and the program's are in the oldest browsers", (t) => {
    const made = EMBIND.filter((f) => f.feature.startsWith("<") || f.feature.endsWith("="));
    report(t, [...page.found, ...made]);
});

test("the style sheet uses only what the oldest browsers have", (t) => {
    report(t, cssFeatures(read(PAGE, "zifferix.css")));
});

test("the manifest's members are known, and those the oldest browsers lack only keep the page from installing", (t) => {
    report(t, manifestFeatures(JSON.parse(read(PAGE, "manifest.webmanifest"))));
});

test("what the program does to the page through embind is in the oldest browsers", (t) => {
    report(t, EMBIND.filter((f) => !f.feature.startsWith("<") && !f.feature.endsWith("=")));
});

// WebAssembly's features beyond its first version, by the wabt switch that turns each off:
// the program validates without one it does not use.
const WASM = {
    "sign-extension": "webassembly.sign-extension-operations", "saturating-float-to-int": "webassembly.non-trapping-float-to-int-conversions",
    "bulk-memory": "webassembly.bulk-memory-operations", "mutable-globals": "webassembly.api.Global", "multi-value": "webassembly.multi-value",
    "reference-types": "webassembly.reference-types", simd: "webassembly.fixed-width-SIMD",
};

test("the program's WebAssembly features are in the oldest browsers", (t) => {
    const wasm = path.join(SITE, built("zifferix.wasm"));
    const uses = (feature) => {
        try {
            execFileSync("wasm-validate", [`--disable-${feature}`, wasm], { stdio: "ignore" });
            return false;
        } catch {
            return true;
        }
    };
    execFileSync("wasm-validate", [wasm]);
    const found = Object.entries(WASM).filter(([feature]) => uses(feature)).map(([feature, p]) => ({ feature, path: p }));
    // A 64-bit integer between JavaScript and the program is a BigInt only where the program
    // imports or exports a function that takes or gives one.
    const dump = execFileSync("wasm-objdump", ["-x", wasm]).toString();
    const types = new Map([...dump.matchAll(/- type\[(\d+)\] (.*)/g)].map((m) => [m[1], m[2]]));
    const funcs = new Map([...dump.matchAll(/- func\[(\d+)\] sig=(\d+)/g)].map((m) => [m[1], m[2]]));
    const exported = [...dump.matchAll(/- func\[(\d+)\] <[^>]*> -> "/g)].map((m) => types.get(funcs.get(m[1])));
    const imported = [...dump.matchAll(/- func\[\d+\] sig=(\d+) <[^>]*> <- /g)].map((m) => types.get(m[1]));
    if ([...exported, ...imported].some((signature) => /i64/.test(signature))) {
        found.push({ feature: "i64 at the boundary", path: "webassembly.BigInt-to-i64-integration" });
    }
    t.diagnostic(`uses: ${found.map((f) => f.feature).join(", ") || "only the first version's features"}`);
    report(t, found);
});

test("emscripten's JavaScript uses only the language and globals of the oldest browsers", (t) => {
    const generated = read(SITE, built("zifferix.js"));
    report(t, scriptFeatures(generated, { ...OWN, grammarOnly: true }));
});

test("the build asks emscripten for the same oldest browsers", () => {
    const cmake = read(ROOT, "app/CMakeLists.txt");
    const setting = (name) => Number(cmake.match(new RegExp(`-s${name}=(\\w+)`))?.[1]);
    const [major, minor] = FLOOR.safari.split(".").map(Number);
    assert.equal(setting("MIN_CHROME_VERSION"), Number(FLOOR.chrome));
    assert.equal(setting("MIN_FIREFOX_VERSION"), Number(FLOOR.firefox));
    assert.equal(setting("MIN_SAFARI_VERSION"), major * 10000 + minor * 100);
    assert.equal(setting("MIN_EDGE_VERSION"), 0x7fffffff, "no EdgeHTML: Edge follows Chrome");
});
