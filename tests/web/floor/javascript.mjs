// The web platform features a script uses, read from its syntax tree (acorn): the language's
// grammar, operators and statements; the globals it names; the members it reads, calls and sets;
// the events it listens to; the selectors it looks up. Each is named by its BCD path, or by a
// reason why it cannot be classified: the test fails on those.

import * as acorn from "acorn";
import * as walk from "acorn-walk";
import { entry, named, verdict } from "./bcd.mjs";
import { selectorFeatures } from "./markup.mjs";

const op = (name) => `javascript.operators.${name}`;
const BINARY = {
    "+": "addition", "-": "subtraction", "*": "multiplication", "/": "division", "%": "remainder", "**": "exponentiation",
    "==": "equality", "!=": "inequality", "===": "strict_equality", "!==": "strict_inequality", "<": "less_than",
    "<=": "less_than_or_equal", ">": "greater_than", ">=": "greater_than_or_equal", "<<": "left_shift", ">>": "right_shift",
    ">>>": "unsigned_right_shift", "&": "bitwise_and", "|": "bitwise_or", "^": "bitwise_xor", in: "in", instanceof: "instanceof",
    "&&": "logical_and", "||": "logical_or", "??": "nullish_coalescing",
};
const UNARY = { typeof: "typeof", void: "void", delete: "delete", "!": "logical_not", "-": "unary_negation", "+": "unary_plus", "~": "bitwise_not" };

// The grammar: each kind of node of the syntax tree, by the BCD paths it needs.
const NODES = {
    Program: () => [], ExpressionStatement: () => [], Identifier: () => [], TemplateElement: () => [], SwitchCase: () => [],
    CatchClause: () => [], VariableDeclarator: () => [], CallExpression: () => [], ParenthesizedExpression: () => [],
    BlockStatement: () => ["javascript.statements.block"], EmptyStatement: () => ["javascript.statements.empty"],
    ReturnStatement: () => ["javascript.statements.return"], IfStatement: () => ["javascript.statements.if_else"],
    BreakStatement: () => ["javascript.statements.break"], ContinueStatement: () => ["javascript.statements.continue"],
    SwitchStatement: () => ["javascript.statements.switch"], ThrowStatement: () => ["javascript.statements.throw"],
    TryStatement: () => ["javascript.statements.try_catch"], WhileStatement: () => ["javascript.statements.while"],
    DoWhileStatement: () => ["javascript.statements.do_while"], ForStatement: () => ["javascript.statements.for"],
    ForInStatement: () => ["javascript.statements.for_in"], LabeledStatement: () => ["javascript.statements.label"],
    ForOfStatement: (n) => [n.await ? "javascript.statements.for_await_of" : "javascript.statements.for_of"],
    VariableDeclaration: (n) => [`javascript.statements.${n.kind}`],
    FunctionDeclaration: (n) => [`javascript.statements.${n.async ? "async_" : ""}${n.generator ? "generator_" : ""}function`],
    FunctionExpression: (n) => [op(`${n.async ? "async_" : ""}${n.generator ? "generator_" : ""}function`)],
    ArrowFunctionExpression: (n) => ["javascript.functions.arrow_functions", ...(n.async ? [op("async_function")] : [])],
    ClassDeclaration: () => ["javascript.statements.class", "javascript.classes"],
    ClassExpression: () => [op("class"), "javascript.classes"],
    ThisExpression: () => [op("this")], Super: () => [op("super")], ArrayExpression: () => ["javascript.grammar.array_literals"],
    ObjectExpression: () => [op("object_initializer")], NewExpression: () => [op("new")], SequenceExpression: () => [op("comma")],
    ConditionalExpression: () => [op("conditional")], AwaitExpression: () => [op("await")], ChainExpression: () => [op("optional_chaining")],
    YieldExpression: (n) => [op(n.delegate ? "yield_star" : "yield")], ImportExpression: () => [op("import")],
    MemberExpression: () => [op("property_accessors")],
    UnaryExpression: (n) => [op(UNARY[n.operator])],
    UpdateExpression: (n) => [op(n.operator === "++" ? "increment" : "decrement")],
    BinaryExpression: (n) => [op(BINARY[n.operator])], LogicalExpression: (n) => [op(BINARY[n.operator])],
    AssignmentExpression: (n) => [n.operator === "=" ? op("assignment") : op(`${BINARY[n.operator.slice(0, -1)]}_assignment`)],
    TemplateLiteral: () => ["javascript.grammar.template_literals"], TaggedTemplateExpression: () => ["javascript.grammar.template_literals"],
    ArrayPattern: () => [op("destructuring")], ObjectPattern: () => [op("destructuring")],
    AssignmentPattern: () => ["javascript.functions.default_parameters"],
    RestElement: () => ["javascript.functions.rest_parameters"],
    Property: (n) => [
        ...(n.shorthand ? [op("object_initializer.shorthand_property_names")] : []),
        ...(n.method ? [op("object_initializer.shorthand_method_names")] : []),
        ...(n.computed ? [op("object_initializer.computed_property_names")] : []),
        ...(n.kind !== "init" ? [`javascript.functions.${n.kind}`] : []),
    ],
    SpreadElement: (n, parent) => [op(`spread.spread_in_${{ ArrayExpression: "arrays", ObjectExpression: "object_literals" }[parent.type] ?? "function_calls"}`)],
    Literal: (n) =>
        n.regex ? ["javascript.grammar.regular_expression_literals", ...[...n.regex.flags].map((f) => `javascript.builtins.RegExp.${FLAGS[f]}`)]
            : n.bigint ? ["javascript.builtins.BigInt"]
                : [`javascript.grammar.${{ string: "string_literals", number: /^0[xX]/.test(n.raw) ? "hexadecimal_numeric_literals" : "decimal_numeric_literals", boolean: "boolean_literals" }[typeof n.value] ?? "null_literal"}`],
};
const FLAGS = { g: "global", i: "ignoreCase", m: "multiline", s: "dotAll", u: "unicode", y: "sticky", d: "hasIndices", v: "unicodeSets" };

// The globals a script may name, by the interface their members belong to.
const GLOBAL_TYPES = {
    window: "api.Window", self: "api.Window", document: "api.Document", navigator: "api.Navigator", performance: "api.Performance",
    crypto: "api.Crypto", caches: "api.CacheStorage", WebAssembly: "webassembly.api",
};

// Where a global name is: a built-in object of the language, an interface or function of the
// platform, a member of the window or of the worker's global scope.
function globalPath(name) {
    if (name === "WebAssembly") return "webassembly.api";
    const candidates = [`javascript.builtins.${name}`, `webassembly.api.${name}`, `api.${name}`, `api.Window.${name}`,
        `api.WorkerGlobalScope.${name}`, `api.ServiceWorkerGlobalScope.${name}`];
    return candidates.find((p) => entry(p));
}

// A member of a known interface: itself, a static of it, or one of the interfaces it inherits from.
const INHERITS = { "api.Window": ["api.EventTarget"], "api.Document": ["api.Node", "api.EventTarget"] };
function memberOf(type, name) {
    for (const t of [type, ...(INHERITS[type] ?? [])]) {
        const found = [`${t}.${name}`, `${t}.${name}_static`].find((p) => entry(p));
        if (found) return found;
    }
    return undefined;
}

// A member on something whose interface the reader does not know: every BCD entry of that name
// is a candidate. When all of them are there at the floor it passes whichever it is; else the
// script's member must be named in `members`, the page's own choice among them.
export function memberPaths(name, members) {
    if (members[name]) return [members[name]];
    const candidates = named(name, ["api", "javascript.builtins", "webassembly.api"]);
    if (candidates.length === 0) return [];
    const lacking = candidates.filter((p) => verdict(p).lacking.length > 0);
    return lacking.length === 0 ? [candidates[0]] : [{ ambiguous: name, candidates: lacking }];
}

const declared = (ast) => {
    const names = new Set();
    const bind = (pattern) => {
        if (!pattern) return;
        if (pattern.type === "Identifier") names.add(pattern.name);
        else if (pattern.type === "ObjectPattern") pattern.properties.forEach((p) => bind(p.value ?? p.argument));
        else if (pattern.type === "ArrayPattern") pattern.elements.forEach(bind);
        else if (pattern.type === "RestElement") bind(pattern.argument);
        else if (pattern.type === "AssignmentPattern") bind(pattern.left);
    };
    walk.full(ast, (n) => {
        if (n.type === "VariableDeclarator") bind(n.id);
        if (/Function/.test(n.type)) { bind(n.id); n.params.forEach(bind); }
        if (n.type === "CatchClause") bind(n.param);
        if (n.type === "ClassDeclaration") bind(n.id);
    });
    return names;
};

// Every feature of `source`: { feature, path } or { feature, problem }. Not the platform's:
// `globals` (by name), `objects` (by name, with the members they have) and `ownMembers`;
// `members` picks the BCD entry of an ambiguous member name. `grammarOnly` reads the language
// and the globals alone.
export function scriptFeatures(source, { globals = {}, objects = {}, ownMembers = {}, members = {}, grammarOnly = false } = {}) {
    const ast = acorn.parse(source, { ecmaVersion: "latest", sourceType: "script" });
    const locals = declared(ast);
    const found = [];
    const add = (feature, paths) => {
        if (paths.length === 0) found.push({ feature, problem: "no BCD entry of that name" });
        for (const p of paths) found.push(typeof p === "string" ? { feature, path: p }
            : { feature, problem: `ambiguous: some of ${p.candidates.join(", ")} are missing at the floor; name the one meant` });
    };
    walk.fullAncestor(ast, (node, _state, ancestors) => {
        const parent = ancestors[ancestors.length - 2] ?? {};
        const rule = NODES[node.type];
        if (!rule) {
            found.push({ feature: node.type, problem: "a kind of syntax the reader does not know" });
            return;
        }
        if (node.type === "RestElement" && !/Function/.test(parent.type)) add("rest", [op(parent.type === "ArrayPattern" ? "destructuring.rest_in_arrays" : "destructuring.rest_in_objects")]);
        else if (node.type === "AssignmentPattern" && !/Function/.test(parent.type)) add("default value", [op("destructuring")]);
        else rule(node, parent).forEach((p) => add(node.type, [p]));
        const isKey = (parent.type === "MemberExpression" && parent.property === node && !parent.computed)
            || (parent.type === "Property" && parent.key === node && !parent.computed) || parent.type === "MethodDefinition";
        if (node.type === "Identifier" && !isKey && !locals.has(node.name)) {
            if (globals[node.name]) return;
            const p = node.name === "arguments" ? "javascript.functions.arguments" : globalPath(node.name);
            add(node.name, p ? [p] : []);
        }
        if (grammarOnly) return;
        if (node.type === "MemberExpression") {
            const name = node.computed ? (typeof node.property.value === "string" ? node.property.value : null) : node.property.name;
            // The names after `dataset` are the page's own data attributes.
            const ofDataset = node.object.type === "MemberExpression" && node.object.property.name === "dataset";
            if (name === null || ownMembers[name] || ofDataset) return;
            const receiver = node.object.type === "Identifier" ? node.object.name : null;
            if (receiver && objects[receiver]) {
                if (!objects[receiver].includes(name)) found.push({ feature: `${receiver}.${name}`, problem: `not one of ${receiver}'s own members` });
                return;
            }
            const type = receiver && !locals.has(receiver) ? GLOBAL_TYPES[receiver] ?? globalPath(receiver) : undefined;
            const known = type && memberOf(type, name);
            add(`${receiver ?? "…"}.${name}`, known ? [known] : memberPaths(name, members));
        }
        if (node.type === "CallExpression" && node.callee.type === "MemberExpression" && node.arguments[0]?.type === "Literal") {
            const method = node.callee.property.name;
            const text = node.arguments[0].value;
            if (method === "addEventListener") {
                const on = node.callee.object.type === "Identifier" && !locals.has(node.callee.object.name) ? GLOBAL_TYPES[node.callee.object.name] : undefined;
                const events = on && entry(`${on}.${text}_event`) ? [`${on}.${text}_event`] : named(`${text}_event`, ["api"]);
                add(`the ${text} event`, events.some((p) => verdict(p).lacking.length > 0) ? [members[`${text}_event`] ?? { candidates: events }] : events.slice(0, 1));
            }
            if (["querySelector", "querySelectorAll", "closest", "matches"].includes(method)) {
                selectorFeatures(text).forEach((f) => found.push(f));
            }
        }
    });
    return found;
}
