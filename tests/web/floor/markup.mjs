// The features of the page's markup, style and manifest, and of what the program does to the
// page through embind, each by its BCD path, or with the reason why it cannot be classified.

import { entry, named, verdict } from "./bcd.mjs";

const ok = (feature, path) => ({ feature, path });
const unknown = (feature, problem = "no BCD entry of that name") => ({ feature, problem });
const first = (feature, paths) => {
    const found = paths.find((p) => entry(p));
    return found ? ok(feature, found) : unknown(feature);
};

// Of all BCD entries of one name, the one meant: the only one, or any when every one of them
// is there at the floor; else the caller's choice, or a problem.
function oneOf(feature, candidates, chosen) {
    if (chosen) return ok(feature, chosen);
    if (candidates.length === 0) return unknown(feature);
    const lacking = candidates.filter((p) => verdict(p).lacking.length > 0);
    return lacking.length === 0 || lacking.length === candidates.length ? ok(feature, lacking[0] ?? candidates[0])
        : unknown(feature, `ambiguous: some of ${lacking.join(", ")} are missing at the floor; name the one meant`);
}

// Selectors: their simple selectors, pseudo-classes and elements, and combinators.
export function selectorFeatures(selector) {
    const found = [];
    const sel = (name) => found.push(first(name, [`css.selectors.${name}`]));
    const text = selector.replace(/"[^"]*"|'[^']*'/g, '""');
    for (const m of text.matchAll(/(::?)([\w-]+)(\()?|([#.])[\w-]+|\[[^\]]*\]|\*|([>+~])|(\s+)(?=[^\s,>+~)])|(^|[\s,(>+~])([a-zA-Z][\w-]*)/g)) {
        if (m[2]) sel(m[2]);
        else if (m[4]) sel(m[4] === "#" ? "id" : "class");
        else if (m[0].startsWith("[")) sel("attribute");
        else if (m[0] === "*") sel("universal");
        else if (m[5]) sel({ ">": "child", "+": "next-sibling", "~": "subsequent-sibling" }[m[5]]);
        else if (m[6] && m.index > 0 && !/[,(]\s*$/.test(text.slice(0, m.index + 1))) sel("descendant");
        if (m[8]) sel("type");
    }
    return found;
}

// Units: the lengths of CSS 2, times and angles are in every browser; the rest by their entries.
const UNITS = {
    px: null, pt: null, "%": null, s: null, ms: null, deg: null, em: "em", ex: "ex", ch: "ch", rem: "rem", vw: "vw", vh: "vh",
    vmin: "vmin", vmax: "vmax", dvh: "viewport_percentage_units_dynamic", dvw: "viewport_percentage_units_dynamic",
    svh: "viewport_percentage_units_small", svw: "viewport_percentage_units_small", lvh: "viewport_percentage_units_large",
    lvw: "viewport_percentage_units_large",
};
const FUNCTION_HOMES = (fn, property) => [`css.types.${fn}`, `css.types.color.${fn}`, `css.types.gradient.${fn}`,
    `css.types.transform-function.${fn}`, `css.types.basic-shape.${fn}`, `css.properties.${property}.${fn}`, `css.types.color.${{ rgba: "rgb" }[fn]}`];

// A property, maybe with a vendor's prefix: the unprefixed entry, its prefixed statements
// counting too.
function property(name, prefixes) {
    const prefix = name.match(/^-(webkit|moz)-/)?.[0];
    const plain = prefix && entry(`css.properties.${name.slice(prefix.length)}`) ? name.slice(prefix.length) : name;
    const found = first(name, [`css.properties.${plain}`]);
    return { ...found, prefixes: [...prefixes, ...(prefix && plain !== name ? [prefix] : [])] };
}

function declarationFeatures(name, value, within, prefixes = []) {
    const found = [];
    if (within === "font-face") {
        found.push(first(`@font-face ${name}`, [`css.at-rules.font-face.${name}`]));
        if (name === "src" && /format\(["']?woff2/.test(value)) found.push(ok("woff2", "css.at-rules.font-face.WOFF_2"));
        if (name === "src") return found;
    } else {
        found.push(name.startsWith("--") ? ok(name, "css.properties.custom-property") : property(name, prefixes));
    }
    const bare = value.replace(/"[^"]*"|'[^']*'/g, "").replace(/!important/, "").replace(/#[0-9a-fA-F]+\b/g, "#");
    for (const [, fn] of bare.matchAll(/([\w-]+)\(/g)) {
        found.push(first(`${fn}()`, FUNCTION_HOMES(fn, name)));
    }
    for (const [, , unit] of bare.matchAll(/(\d)(%|[a-z]+)\b/g)) {
        if (!(unit in UNITS)) found.push(unknown(`the unit ${unit}`, "a unit the reader does not know"));
        else if (UNITS[unit]) found.push(ok(unit, `css.types.length.${UNITS[unit]}`));
    }
    const plain = name.replace(/^-(webkit|moz)-/, "");
    for (const [word] of bare.matchAll(/(?<![\w(#.-])[a-z][\w-]*(?![\w(-])/g)) {
        if (entry(`css.properties.${plain}.${word}`)) found.push({ ...ok(`${name}: ${word}`, `css.properties.${plain}.${word}`), prefixes });
    }
    return found;
}

export const inlineStyle = (style) => declarations(style, null);

// A media query's features (min- and max- are the same feature), its range syntax and `or`.
function mediaFeatures(query) {
    const found = [ok("@media", "css.at-rules.media")];
    for (const [, name] of query.matchAll(/\(\s*(?:min-|max-)?([a-z-]+)\s*[:)<>=]/g)) {
        found.push(first(`@media ${name}`, [`css.at-rules.media.${name}`]));
    }
    if (/[<>]=?/.test(query)) found.push(ok("media range syntax", "css.at-rules.media.range_syntax"));
    if (/\)\s+or\s+\(/.test(query)) found.push(ok("media or", "css.at-rules.media.or_syntax"));
    return found;
}

// A style sheet: its at-rules, selectors, properties and the values BCD lists.
export function cssFeatures(css, within = null) {
    const found = [];
    const text = css.replace(/\/\*[\s\S]*?\*\//g, "");
    let at = 0;
    while (at < text.length) {
        const open = text.indexOf("{", at);
        if (open < 0) break;
        let depth = 1;
        let close = open + 1;
        for (; depth > 0 && close < text.length; close++) depth += { "{": 1, "}": -1 }[text[close]] ?? 0;
        const prelude = text.slice(at, open).trim();
        const body = text.slice(open + 1, close - 1);
        at = close;
        const atRule = prelude.match(/^@([\w-]+)\s*(.*)$/s);
        if (atRule) {
            const [, name, rest] = atRule;
            if (name === "media") found.push(...mediaFeatures(rest), ...cssFeatures(body));
            else if (name === "supports") found.push(ok("@supports", "css.at-rules.supports"), ...cssFeatures(body));
            else if (name === "keyframes") found.push(ok("@keyframes", "css.at-rules.keyframes"), ...cssFeatures(body, "keyframes"));
            else found.push(first(`@${name}`, [`css.at-rules.${name}`]), ...declarations(body, name));
            continue;
        }
        // A keyframe's prelude is its place in the animation ("to", "0%, 25%"), not a selector.
        found.push(...(within === "keyframes" ? [] : selectorFeatures(prelude)), ...declarations(body, within));
    }
    return found;
}

// A block's declarations; a property written with a vendor's prefix beside it counts as there
// where either is.
function declarations(body, within) {
    const list = body.split(/;(?![^(]*\))/).filter((d) => d.includes(":")).map((d) => {
        const [name, ...value] = d.split(":");
        return [name.trim().toLowerCase(), value.join(":").trim()];
    });
    const names = list.map(([name]) => name);
    const prefixesOf = (name) => ["-webkit-", "-moz-"].filter((p) => names.includes(`${p}${name}`));
    return list.flatMap(([name, value]) => declarationFeatures(name, value, within, prefixesOf(name)));
}

// Attributes BCD does not hold: ARIA's (the accessibility tree, not a browser feature of its
// own) and the namespace declarations an inline SVG carries from its file.
const NOT_IN_BCD = /^(aria-|role$|xmlns)/;
// Meta names BCD does not hold: a search engine's summary, and the home-screen app switches of
// Safari and of Chrome, which only an installed page reads.
const META_NOT_IN_BCD = ["description", "apple-mobile-web-app-capable", "mobile-web-app-capable"];
// Manifest members BCD does not hold: the language of its texts, for an app store's listing.
const MANIFEST_NOT_IN_BCD = ["lang"];

function attributeFeatures(tag, svg, name, value) {
    if (NOT_IN_BCD.test(name)) return [];
    const attr = name.startsWith("data-") ? "data_attributes" : name.replace(":", "_");
    const base = svg ? "svg" : "html";
    const own = `${base}.elements.${tag}.${attr}`;
    const found = [first(`<${tag} ${name}>`, [own, `${base}.global_attributes.${attr}`, ...(svg ? [`css.properties.${name}`] : [])])];
    if (name === "style") found.push(...inlineStyle(value));
    if (name === "content" && tag === "meta") {
        for (const [, key, v] of value.matchAll(/([\w-]+)=([\w.-]+)/g)) {
            const sub = `html.elements.meta.name.viewport.${key}_${v}`;
            if (entry(sub)) found.push(ok(`viewport ${key}=${v}`, sub));
        }
    }
    for (const word of value.split(/\s+/)) {
        const sub = `${own}.${word}`;
        if (word && entry(sub)) found.push(ok(`<${tag} ${name}="${word}">`, sub));
    }
    return found;
}

// A page: its elements and attributes (an inline SVG's by SVG's entries), inline styles, and the
// scripts it holds, handed back for the script reader.
export function htmlFeatures(html) {
    const found = [];
    const scripts = [];
    let svg = 0;
    let text = html.replace(/<!--[\s\S]*?-->/g, "").replace(/<!DOCTYPE[^>]*>/i, "");
    for (const [, body] of text.matchAll(/<script(?![^>]*\bsrc=)[^>]*>([\s\S]*?)<\/script>/g)) {
        if (body.trim()) scripts.push(body);
    }
    text = text.replace(/(<script[^>]*>)[\s\S]*?(<\/script>)/g, "$1$2");
    for (const m of text.matchAll(/<(\/?)([a-zA-Z][\w:-]*)((?:[^>"']|"[^"]*"|'[^']*')*)>/g)) {
        const [, closing, tag, attributes] = m;
        if (closing) {
            if (tag === "svg") svg--;
            continue;
        }
        if (tag === "svg") svg++;
        const inSvg = svg > 0;
        found.push(first(`<${tag}>`, [`${inSvg ? "svg" : "html"}.elements.${tag}`]));
        for (const [, name, , value = ""] of attributes.matchAll(/([\w:-]+)(\s*=\s*"([^"]*)")?/g)) {
            found.push(...attributeFeatures(tag, inSvg, name, value));
        }
        if (tag === "meta" && /name="([\w-]+)"/.test(attributes) && !META_NOT_IN_BCD.includes(attributes.match(/name="([\w-]+)"/)[1])) {
            const meta = attributes.match(/name="([\w-]+)"/)[1];
            const path = `html.elements.meta.name.${meta}`;
            found.push(entry(path) ? ok(`<meta name="${meta}">`, path) : unknown(`<meta name="${meta}">`));
        }
    }
    return { found, scripts };
}

// A web app manifest: its members, and the values BCD lists.
export function manifestFeatures(manifest) {
    return Object.entries(manifest).filter(([key]) => !MANIFEST_NOT_IN_BCD.includes(key)).flatMap(([key, value]) => {
        const path = `manifests.webapp.${key}`;
        const found = [entry(path) ? ok(key, path) : unknown(`manifest ${key}`)];
        if (typeof value === "string" && entry(`${path}.${value}`)) found.push(ok(`${key}: ${value}`, `${path}.${value}`));
        return found;
    });
}

const kebab = (name) => name.replace(/[A-Z]/g, (c) => `-${c.toLowerCase()}`);

// What the C++ does to the page through embind: the globals it takes (val::global), the
// members it calls, sets and reads, the elements it makes, the attributes it sets, and the
// style properties it sets, each with the values it writes as literals.
// `own` names the page's own objects that the program calls, with their members: no platform's.
export function cppFeatures(source, members = {}, own = {}) {
    const found = [];
    // The page's own objects, by their global's name or by the member that holds one.
    const code = source.replace(/\/\/.*$/gm, "").replace(
        /(?:val::global\("(\w+)"\)|\b(\w+_))\.call<[^>]*>\("(\w+)"/g,
        (call, object, holder, name) => (own[object ?? holder]?.includes(name) ? "" : call));
    for (const [, name] of code.matchAll(/val::global\("(\w+)"\)/g)) {
        found.push(first(name, [`api.Window.${name}`, `api.${name}`, `javascript.builtins.${name}`]));
    }
    for (const [, tag] of code.matchAll(/\bmake(?:Detached)?\("(\w+)"/g)) found.push(first(`<${tag}>`, [`html.elements.${tag}`]));
    for (const [, tag] of code.matchAll(/\bmakeSvg\("(\w+)"/g)) found.push(first(`<${tag}>`, [`svg.elements.${tag}`]));
    for (const [, tag] of code.matchAll(/const char\* tag = \w+ \? "(\w+)" : "(\w+)"/g)) found.push(first(`<${tag}>`, [`svg.elements.${tag}`]));
    for (const [, name, value] of code.matchAll(/(?:setAttribute|setNumber)\((?:\w+, )?"([\w-]+)"(?:,\s*"([\w-]+)")?/g)) {
        found.push(attributeByName(name, members));
        if (value && entry(`html.global_attributes.${name}.${value}`)) found.push(ok(`${name}="${value}"`, `html.global_attributes.${name}.${value}`));
    }
    for (const [, name] of code.matchAll(/"setAttribute", std::string\("([\w-]+)"\)/g)) found.push(attributeByName(name, members));
    for (const [, receiver, name, value] of code.matchAll(/(\w*(?:\["style"\])?)\.set\("(\w+)",\s*(?:std::string\()?("[\w-]*")?/g)) {
        if (/style/.test(receiver)) {
            found.push(...declarationFeatures(kebab(name), value ? value.slice(1, -1) : "", null));
        } else {
            found.push(member(name, members));
        }
    }
    for (const [, name] of code.matchAll(/\.call<[^>]*>\("(\w+)"/g)) found.push(member(name, members));
    for (const [, name] of code.matchAll(/\["(\w+)"\]/g)) found.push(member(name, members));
    return found.filter(Boolean);
}

function member(name, members) {
    return oneOf(`.${name}`, named(name, ["api", "javascript.builtins"]), members[name]);
}

function attributeByName(name, members) {
    if (NOT_IN_BCD.test(name)) return null;
    const attr = name.startsWith("data-") ? "data_attributes" : name;
    const candidates = [`html.global_attributes.${attr}`, `svg.global_attributes.${attr}`, `css.properties.${attr}`].filter((p) => entry(p));
    return oneOf(`${name}=`, [...candidates, ...named(attr, ["html.elements", "svg.elements"])], members[`${name}=`]);
}
