// The teacher's page. Without a fragment it opens a class on the class service; with the
// teacher's link (lehrer.html#tafel=KLASSE.GEHEIM) it is the class's board, which
// lehrer-tafel.js draws. Here is what both share: the service, the views, the live region, the
// codes, the dialog.
// The secret leaves the page only in the Authorization header, and every name the service
// returns is set as text, never as markup.
(() => {
    "use strict";

    const GAMES = {
        uhr: "die Zeit läuft", berg: "den Berg hinauf", glas: "ein Glas füllen", spinne: "gegen die Spinne",
        waage: "die Waage halten", ballon: "Ballonfahrt", zahlen: "fliegende Zahlen",
    };
    const LEVELS = { 1: "leicht", 2: "normal", 3: "voll schwer" };
    const MOST_CHILDREN = 60;
    const LONGEST_CLASS = 60;
    const LONGEST_CHILD = 24;
    const BOARD_LINK = /^#tafel=([a-z2-7]{12})\.([A-Za-z0-9_-]{43})$/;
    const SVG = "http://www.w3.org/2000/svg";

    const site = new URL(".", location.href);
    const api = new URL("api/", site);
    const $ = (id) => document.getElementById(id);
    const length = (text) => [...text].length;

    const element = (tag, text = "", className = "") => {
        const made = document.createElement(tag);
        made.textContent = text;
        if (className) made.className = className;
        return made;
    };

    const whole = new Intl.NumberFormat("de-DE", { maximumFractionDigits: 0 });
    const tenths = new Intl.NumberFormat("de-DE", { maximumFractionDigits: 1 });
    const longDay = new Intl.DateTimeFormat("de-DE", { day: "numeric", month: "long", year: "numeric" });
    const shortDay = new Intl.DateTimeFormat("de-DE", { day: "2-digit", month: "2-digit", year: "numeric" });
    const dayMonth = new Intl.DateTimeFormat("de-DE", { day: "2-digit", month: "2-digit" });
    const clock = new Intl.DateTimeFormat("de-DE", { hour: "2-digit", minute: "2-digit" });
    const sameDay = (a, b) => a.toDateString() === b.toDateString();
    const when = (iso) => {
        const at = new Date(iso);
        return `${sameDay(at, new Date()) ? "heute" : dayMonth.format(at)} ${clock.format(at)}`;
    };
    const plural = (n, one, many) => `${whole.format(n)} ${n === 1 ? one : many}`;
    const gameName = (key) => GAMES[key] ?? key;

    // --- Talking to the service ---

    function call(path, { method = "GET", body, secret, etag } = {}) {
        const headers = {};
        if (body !== undefined) headers["Content-Type"] = "application/json";
        if (secret) headers.Authorization = `Bearer ${secret}`;
        if (etag) headers["If-None-Match"] = etag;
        return fetch(new URL(path, api), {
            method, headers, body: body === undefined ? undefined : JSON.stringify(body),
            cache: "no-store", credentials: "omit", referrerPolicy: "no-referrer",
        });
    }

    async function failure(response) {
        try {
            const answer = await response.json();
            if (typeof answer.fehler === "string") return answer.fehler;
        } catch {
            // not the service's JSON: a proxy's page, say
        }
        return `Der Server antwortet mit dem Fehler ${response.status}. Bitte versuchen Sie es gleich noch einmal.`;
    }

    const UNREACHABLE = "Der Server ist gerade nicht zu erreichen. Bitte versuchen Sie es gleich noch einmal.";

    // --- What the page shows and says ---

    const VIEWS = ["open", "opened", "board", "child", "gone"];

    function show(view, title, focus = true) {
        for (const name of VIEWS) $(name).hidden = name !== view;
        document.title = `Zifferix – ${title}`;
        if (focus) $(view).querySelector("h1").focus();
    }

    // The one live region; `said` is when it last spoke.
    const speech = { said: 0 };

    function say(text) {
        $("said").textContent = text;
        speech.said = Date.now();
    }

    function drawCode(box, text, label) {
        const code = qrcode(0, "M");
        code.addData(text);
        code.make();
        const quiet = 4;
        const count = code.getModuleCount();
        const size = count + 2 * quiet;
        let dark = "";
        for (let row = 0; row < count; row++) {
            for (let column = 0; column < count; column++) {
                if (code.isDark(row, column)) dark += `M${column + quiet} ${row + quiet}h1v1h-1z`;
            }
        }
        const svg = document.createElementNS(SVG, "svg");
        svg.setAttribute("viewBox", `0 0 ${size} ${size}`);
        svg.setAttribute("role", "img");
        svg.setAttribute("aria-label", label);
        svg.setAttribute("shape-rendering", "crispEdges");
        const paper = document.createElementNS(SVG, "rect");
        paper.setAttribute("width", size);
        paper.setAttribute("height", size);
        paper.setAttribute("fill", "#fff");
        const ink = document.createElementNS(SVG, "path");
        ink.setAttribute("d", dark);
        ink.setAttribute("fill", "#000");
        svg.append(paper, ink);
        box.replaceChildren(svg);
    }

    function showLink(anchor, address) {
        anchor.href = address;
        anchor.textContent = address;
    }

    const classLink = (klasse) => new URL(`index.html#klasse=${klasse}`, site).href;
    const boardLink = (klasse, secret) => new URL(`lehrer.html#tafel=${klasse}.${secret}`, site).href;

    function confirmed(title, text) {
        const dialog = $("confirm");
        const opener = document.activeElement;
        $("confirm-title").textContent = title;
        $("confirm-text").textContent = text;
        dialog.returnValue = "";
        return new Promise((done) => {
            dialog.addEventListener("close", () => {
                if (opener instanceof HTMLElement && opener.isConnected) opener.focus();
                done(dialog.returnValue === "ja");
            }, { once: true });
            dialog.showModal();
            $("confirm-no").focus();
        });
    }
    $("confirm-yes").addEventListener("click", () => $("confirm").close("ja"));
    // Tab goes round the dialog's two buttons, never out of it to the browser.
    $("confirm").addEventListener("keydown", (event) => {
        if (event.key !== "Tab") return;
        event.preventDefault();
        const buttons = [$("confirm-yes"), $("confirm-no")];
        const at = buttons.indexOf(document.activeElement);
        buttons[(at + (event.shiftKey ? buttons.length - 1 : 1)) % buttons.length].focus();
    });
    $("confirm-no").addEventListener("click", () => $("confirm").close(""));

    async function copy(text) {
        try {
            await navigator.clipboard.writeText(text);
            return true;
        } catch {
            // no clipboard for a page served over plain http: the old way, through a selection
        }
        const opener = document.activeElement;
        const area = element("textarea", "", "unseen");
        area.value = text;
        area.readOnly = true;
        document.body.append(area);
        area.select();
        const done = document.execCommand("copy");
        area.remove();
        if (opener instanceof HTMLElement) opener.focus();
        return done;
    }

    function gone(title, text) {
        lehrer.stopBoard();
        $("gone-title").textContent = title;
        $("gone-text").textContent = text;
        show("gone", title);
        document.documentElement.dataset.ready = "true";
    }

    // --- Opening a class ---

    const form = { most: 365, password: false };

    async function openForm() {
        show("open", "eine Klasse eröffnen", false);
        try {
            const response = await call("gesund");
            if (!response.ok) throw new Error(await failure(response));
            const health = await response.json();
            form.most = health.max_tage;
            form.password = health.passwort === true;
        } catch {
            $("open-error").textContent = "Der Dienst für die Klassenergebnisse antwortet nicht. Läuft er auf diesem Server?";
        }
        $("days").max = form.most;
        $("days").value = Math.min(90, form.most);
        $("days-most").textContent = `(höchstens ${plural(form.most, "Tag", "Tage")})`;
        $("password-field").hidden = !form.password;
    }

    const childrenIn = (text) => [...new Set(text.split(/[\n,;]+/).map((n) => n.trim().replace(/\s+/g, " ")).filter(Boolean))];

    // The form's fields as the service takes them, or the first field that is not right.
    function request() {
        const name = $("class-name").value.trim();
        const children = childrenIn($("children").value);
        const days = Number($("days").value);
        const password = $("password").value;
        const tooLong = children.find((n) => length(n) > LONGEST_CHILD);
        const wrong = [
            ["class-name", !name, "Bitte geben Sie der Klasse einen Namen."],
            ["class-name", length(name) > LONGEST_CLASS, `Der Name darf höchstens ${LONGEST_CLASS} Zeichen haben.`],
            ["children", children.length > MOST_CHILDREN, `Höchstens ${MOST_CHILDREN} Namen, bitte (es sind ${children.length}).`],
            ["children", tooLong, `„${tooLong}“ ist zu lang: Ein Name hat höchstens ${LONGEST_CHILD} Zeichen.`],
            ["days", !Number.isInteger(days) || days < 1 || days > form.most, `Bitte eine ganze Zahl von 1 bis ${form.most}.`],
            ["password", form.password && !password, "Bitte geben Sie das Passwort des Servers ein."],
        ].find(([, failed]) => failed);
        if (wrong) return { field: wrong[0], message: wrong[2] };
        const body = { name, kinder: children, tage: days };
        if (form.password) body.passwort = password;
        return { body };
    }

    function markField(field, message) {
        for (const input of $("open-form").querySelectorAll("input, textarea")) {
            const error = $(`${input.id}-error`);
            const wrong = input.id === field;
            if (error) error.textContent = wrong ? message : "";
            if (wrong) input.setAttribute("aria-invalid", "true");
            else input.removeAttribute("aria-invalid");
        }
        if (field) $(field).focus();
    }

    $("open-form").addEventListener("submit", async (event) => {
        event.preventDefault();
        const { field, message, body } = request();
        markField(field, message);
        $("open-error").textContent = "";
        if (field) return;
        const button = $("open-button");
        button.disabled = true;
        try {
            const response = await call("klassen", { method: "POST", body });
            if (response.status === 201) {
                opened(await response.json());
            } else if (response.status === 403) {
                markField("password", await failure(response));
            } else {
                $("open-error").textContent = await failure(response);
                $("open-error").focus();
            }
        } catch {
            $("open-error").textContent = UNREACHABLE;
            $("open-error").focus();
        } finally {
            button.disabled = false;
        }
    });

    // The class is open: its two links. The address becomes the teacher's link at once, so that
    // a reload or a bookmark keeps the board.
    function opened(made) {
        const children = classLink(made.klasse);
        const board = boardLink(made.klasse, made.geheim);
        history.replaceState(null, "", board);
        $("opened-title").textContent = `Die Klasse „${made.name}“ ist eröffnet`;
        $("opened-until").textContent = `Ihre Ergebnisse werden am ${longDay.format(new Date(made.ablauf))} gelöscht, mit der Klasse.`;
        showLink($("class-link"), children);
        drawCode($("class-code"), children, `QR-Code des Links für die Kinder der Klasse ${made.name}`);
        showLink($("board-link"), board);
        drawCode($("board-code"), board, `QR-Code Ihres Links zur Tafel der Klasse ${made.name}`);
        $("links-page").href = `links.html#klasse=${made.klasse}`;
        const local = ["localhost", "127.0.0.1", "[::1]"].includes(site.hostname);
        $("plain-http").hidden = site.protocol !== "http:" || local;
        $("to-board").onclick = () => lehrer.startBoard(made.klasse, made.geheim);
        $("copy-class").onclick = async () =>
            say(await copy(children) ? "Der Link für die Kinder ist kopiert."
                : "Der Link ließ sich nicht kopieren. Markieren Sie ihn und kopieren Sie ihn von Hand.");
        show("opened", `Klasse ${made.name} eröffnet`);
    }

    for (const button of document.querySelectorAll("button.print")) button.addEventListener("click", () => print());

    function route() {
        lehrer.stopBoard();
        delete document.documentElement.dataset.ready;
        const link = BOARD_LINK.exec(location.hash);
        if (link) {
            lehrer.startBoard(link[1], link[2]);
        } else if (location.hash.startsWith("#tafel=")) {
            gone("Diese Klasse gibt es nicht.", "Der Link zur Tafel ist nicht vollständig. Kopieren Sie ihn bitte noch einmal ganz.");
        } else {
            openForm().then(() => { document.documentElement.dataset.ready = "true"; });
        }
    }
    // What the board's script adds, and what it takes from here.
    const lehrer = {
        $, element, call, failure, say, show, gone, drawCode, showLink, classLink, confirmed, speech, gameName,
        whole, tenths, longDay, shortDay, clock, when, plural, LEVELS, UNREACHABLE,
        startBoard: null, stopBoard: null,
    };
    window.zifferixLehrer = lehrer;
    addEventListener("hashchange", route);
    // After every deferred script, the board's too.
    document.addEventListener("DOMContentLoaded", route);
})();
