// The readers behind floor.test.mjs name each feature by its BCD path, and fail on what they
// cannot name: a feature added to the page later cannot slip through unchecked.

import assert from "node:assert/strict";
import { test } from "node:test";
import { verdict } from "./floor/bcd.mjs";
import { scriptFeatures } from "./floor/javascript.mjs";
import { cppFeatures, cssFeatures, htmlFeatures, manifestFeatures } from "./floor/markup.mjs";

const paths = (found) => found.filter((f) => f.path).map((f) => f.path);
const problems = (found) => found.filter((f) => f.problem).map((f) => f.feature);

const READERS = {
    script: (source) => scriptFeatures(source),
    css: (source) => cssFeatures(source),
    html: (source) => htmlFeatures(source).found,
    manifest: (source) => manifestFeatures(JSON.parse(source)),
    cpp: (source) => cppFeatures(source),
};

const NAMED = [
    ["script", "a?.b", "javascript.operators.optional_chaining"],
    ["script", "a ?? b", "javascript.operators.nullish_coalescing"],
    ["script", '"7".padStart(2)', "javascript.builtins.String.padStart"],
    ["script", "async function f() { await g; }", "javascript.operators.await"],
    ["script", "structuredClone(1)", "api.structuredClone"],
    ["script", "navigator.serviceWorker", "api.Navigator.serviceWorker"],
    ["script", 'document.addEventListener("visibilitychange", f)', "api.Document.visibilitychange_event"],
    ["script", 'document.querySelector("a:has(b)")', "css.selectors.has"],
    ["script", "x ||= 1", "javascript.operators.logical_or_assignment"],
    ["script", "new ResizeObserver(f)", "api.ResizeObserver"],
    ["script", "async function f() { for await (const x of y) {} }", "javascript.statements.for_await_of"],
    ["css", "a:has(b) { inset: 0 }", "css.properties.inset"],
    ["css", "a { color: rgba(0, 0, 0, 0.5) }", "css.types.color.rgb"],
    ["css", "@font-face { font-display: swap }", "css.at-rules.font-face.font-display"],
    ["css", "a > b ~ c { }", "css.selectors.subsequent-sibling"],
    ["css", "div { height: 100dvh }", "css.types.length.viewport_percentage_units_dynamic"],
    ["css", "@media (width <= 800px) { a { color: red } }", "css.at-rules.media.range_syntax"],
    ["css", "p { -webkit-user-select: none }", "css.properties.user-select"],
    ["html", "<dialog open></dialog>", "html.elements.dialog.open"],
    ["html", '<input inputmode="decimal">', "html.global_attributes.inputmode"],
    ["manifest", '{"display": "standalone"}', "manifests.webapp.display.standalone"],
    ["cpp", 'node.call<void>("showPopover");', "api.HTMLElement.showPopover"],
    ["cpp", 'style_.set("aspectRatio", std::string("1"));', "css.properties.aspect-ratio"],
    ["cpp", 'make("dialog", parent);', "html.elements.dialog"],
    ["cpp", 'val::global("performance")', "api.performance"],
    ["cpp", 'setAttribute(node_, "enterkeyhint", "done");', "html.global_attributes.enterkeyhint"],
];

test("each reader names a feature by its BCD path", () => {
    for (const [reader, source, path] of NAMED) {
        assert.ok(paths(READERS[reader](source)).includes(path), `${reader}: ${source} uses ${path}`);
    }
});

const UNKNOWN = [
    ["script", "zifferixSomething()", "zifferixSomething"],
    ["script", "document.noSuchMember", "document.noSuchMember"],
    ["script", "class A { #hidden = 1 }", "PropertyDefinition"],
    ["script", "list.flatMap((x) => x)", "list.flatMap"], // an array's, or an iterator's, which is newer
    ["css", "a { no-such-property: 1 }", "no-such-property"],
    ["css", "a { width: 3furlongs }", "the unit furlongs"],
    ["css", "a:no-such-class { }", "no-such-class"],
    ["html", "<no-such-element></no-such-element>", "<no-such-element>"],
    ["manifest", '{"no_such_member": 1}', "manifest no_such_member"],
    ["cpp", 'node.call<void>("noSuchMethod");', ".noSuchMethod"],
];

test("what a reader cannot name is a problem, not a pass", () => {
    for (const [reader, source, feature] of UNKNOWN) {
        assert.ok(problems(READERS[reader](source)).includes(feature), `${reader}: ${source} has ${feature} unnamed`);
    }
});

test("a feature newer than the floor is reported with the browsers that lack it", () => {
    assert.deepEqual(verdict("api.TextMetrics.fontBoundingBoxAscent").lacking, ["firefox 115 (has it from 116)"]);
    assert.deepEqual(verdict("css.properties.overscroll-behavior").lacking, ["safari 15.5 (has it from 16)", "safari_ios 15.5 (has it from 16)"]);
    assert.deepEqual(verdict("api.HTMLDialogElement.showModal").lacking, []);
    assert.match(verdict("manifests.webapp.display").optional, /installs the page as an app/);
});
