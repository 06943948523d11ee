// The oldest browsers the page supports, and what MDN's browser compatibility data
// (@mdn/browser-compat-data, pinned) says of a feature in each of them.

import { createRequire } from "node:module";

const bcd = createRequire(import.meta.url)("@mdn/browser-compat-data");

// Safari and iPadOS 15.5 (the iPad Air 2 and the iPad mini 4 stop at 15.8), Chrome 109 and
// Firefox 115 ESR (the last ones for Windows 7 and 8.1); Edge follows Chrome.
export const FLOOR = { chrome: "109", edge: "109", firefox: "115", safari: "15.5", safari_ios: "15.5" };

// Features a browser may lack without the page losing anything a child plays with: such a
// browser cannot install the page as an app, or draws a little plainer. Checked and reported,
// not failed.
export const ENHANCEMENTS = {
    "manifests.webapp": "the manifest only installs the page as an app; a browser that ignores it plays the page in a tab",
    "html.elements.link.rel.manifest": "the manifest only installs the page as an app",
    "html.elements.meta.name.theme-color": "only the colour of the browser's own bar",
    "html.elements.meta.name.viewport.viewport-fit_cover": "only the notch of a phone",
    "html.elements.link.rel.preload": "only loads the fonts sooner; without it they load when the style sheet names them",
    "html.elements.link.as": "belongs to the preload",
    "html.elements.link.crossorigin": "belongs to the preload",
    "html.elements.link.rel.icon": "only the tab's icon; iPadOS takes the apple-touch-icon",
    "html.elements.meta.name.viewport": "the viewport of a phone or tablet; a desktop browser has its window",
    "html.global_attributes.autocapitalize": "a hint to an on-screen keyboard, ignored where there is none",
    "html.global_attributes.autocorrect": "a hint to an on-screen keyboard, ignored where there is none",
    "css.properties.cursor": "the mouse pointer's shape; a tablet without one shows none",
    "css.properties.-webkit-touch-callout": "switches off iOS's menu on a long press; other browsers have none",
    "css.properties.-webkit-tap-highlight-color": "switches off the flash of a tap where a browser draws one",
    "css.properties.overscroll-behavior": "touch-action: none already keeps a tablet from moving the page; this only stops a browser's bounce at its edges",
    "api.TextMetrics.fontBoundingBoxAscent": "a label's height from its font; where a browser lacks it, the tallest letters and deepest descenders measure it instead",
    "api.TextMetrics.fontBoundingBoxDescent": "the same, below the line",
    "api.Window.beforeunload_event": "asks before a reload loses the points; Safari on an iPad never asks any page, and there a reload loses them as it always did",
    "api.SpeechSynthesis.voiceschanged_event": "only chooses the voice as soon as the voices come; reading aloud looks for them again before it says each text",
};

export function entry(path) {
    let node = bcd;
    for (const part of path.split(".")) {
        node = node?.[part];
    }
    return node?.__compat ? node : null;
}

export const children = (path) => Object.keys(entry(path) ?? {}).filter((k) => k !== "__compat");

// The interfaces most members of the page's elements and events come from, named first.
const PREFERRED = ["api.Node", "api.Element", "api.HTMLElement", "api.EventTarget", "api.Event", "api.Document", "javascript.builtins.Array"];

// Every entry whose last name is `name`, below one of `roots`, to `depth` levels.
export function named(name, roots, depth = 2) {
    const found = [];
    const walk = (path, node, level) => {
        for (const [key, child] of Object.entries(node)) {
            if (key === "__compat" || typeof child !== "object") continue;
            const at = `${path}.${key}`;
            if (key === name && child.__compat) found.push(at);
            if (level < depth) walk(at, child, level + 1);
        }
    };
    for (const root of roots) walk(root, entry(root) ?? pathNode(root), 1);
    const rank = (p) => [...PREFERRED.map((i) => p.startsWith(`${i}.`)), true].indexOf(true);
    return found.sort((a, b) => rank(a) - rank(b));
}

function pathNode(path) {
    return path.split(".").reduce((n, p) => n?.[p], bcd) ?? {};
}

const parts = (version) => version.replace("≤", "").split(".").map(Number);
function atMost(version, floor) {
    const [a, b] = [parts(version), parts(floor)];
    for (let i = 0; i < Math.max(a.length, b.length); i++) {
        if ((a[i] ?? 0) !== (b[i] ?? 0)) return (a[i] ?? 0) < (b[i] ?? 0);
    }
    return true;
}

// Since when a browser has a feature without flags, alternative names or other prefixes than
// the page writes too, and whether its version at the floor has it; "partial" where BCD says
// the support is partial (counted as there: the notes are reported).
function since(statements, floor, prefixes) {
    let best = { has: false, added: "never" };
    for (const s of [statements ?? []].flat()) {
        if (s.flags || (s.prefix && !prefixes.includes(s.prefix)) || s.alternative_name) continue;
        const added = s.version_added;
        if (typeof added !== "string" || added === "preview") {
            if (added === true) best = { has: true, added: "yes" };
            continue;
        }
        const removed = typeof s.version_removed === "string" && atMost(s.version_removed, floor);
        if (atMost(added, floor) && !removed) {
            return { has: true, added: `${s.prefix ?? ""}${added}`, partial: Boolean(s.partial_implementation) };
        }
        best = { has: false, added: removed ? `${added} to ${s.version_removed}` : added };
    }
    return best;
}

// A feature at the floor: the browsers that lack it, and what each has. `prefixes` are the
// vendor prefixes the page writes the feature with as well.
export function verdict(path, prefixes = []) {
    const found = entry(path);
    if (!found) throw new Error(`BCD has no ${path}`);
    const support = found.__compat.support;
    const lacking = [];
    const versions = [];
    for (const [browser, floor] of Object.entries(FLOOR)) {
        const s = since(support[browser], floor, prefixes);
        versions.push(`${browser} ${s.added}${s.partial ? " (partial)" : ""}`);
        if (!s.has) lacking.push(`${browser} ${floor} (has it from ${s.added})`);
    }
    const enhancement = Object.entries(ENHANCEMENTS).find(([prefix]) => path === prefix || path.startsWith(`${prefix}.`));
    return { path, versions: versions.join(", "), lacking, optional: enhancement?.[1] };
}
