// The class's board in the teacher's page: the table of the children and the games, polled
// every second with the stand the service last gave, what the class found hardest, a child's
// own page, the CSV and the deletions. Every name is set as text.
(() => {
    "use strict";

    const lehrer = window.zifferixLehrer;
    const {
        $, element, call, failure, say, show, gone, drawCode, showLink, classLink, confirmed, gameName,
        whole, tenths, longDay, shortDay, clock, when, plural, LEVELS, UNREACHABLE,
    } = lehrer;
    const POLL_MS = 1000;
    // The live region says what came new at most this often, however fast results come.
    const SAY_EVERY_MS = 5000;
    const news = { pending: new Set(), timer: 0 };

    // New results, said together: one child by name, a few by their names, many by their number.
    function sayNew(names) {
        names.forEach((n) => news.pending.add(n));
        if (news.timer || !news.pending.size) return;
        news.timer = setTimeout(() => {
            const list = [...news.pending];
            news.pending.clear();
            news.timer = 0;
            if (list.length === 1) say(`Neues Ergebnis von ${list[0]}.`);
            else if (list.length <= 3) say(`Neue Ergebnisse von ${list.slice(0, -1).join(", ")} und ${list[list.length - 1]}.`);
            else say(`Neue Ergebnisse von ${list.length} Kindern.`);
        }, Math.max(0, lehrer.speech.said + SAY_EVERY_MS - Date.now()));
    }

    const board = { klasse: "", secret: "", etag: "", data: null, child: "", timer: 0, busy: false, live: false, failing: false };

    function startBoard(klasse, secret) {
        stopBoard();
        Object.assign(board, { klasse, secret, etag: "", data: null, child: "", live: true, failing: false });
        rows.clear();
        $("rows").replaceChildren();
        $("board-title").textContent = "Die Tafel lädt …";
        $("board-until").textContent = "";
        $("board-error").textContent = "";
        showLink($("class-link-again"), classLink(klasse));
        drawCode($("class-code-again"), classLink(klasse), "QR-Code des Links für die Kinder");
        show("board", "Tafel", false);
        return poll();
    }

    function stopBoard() {
        board.live = false;
        clearTimeout(board.timer);
    }

    function schedule(delay) {
        clearTimeout(board.timer);
        if (board.live && !document.hidden) board.timer = setTimeout(poll, delay);
    }
    document.addEventListener("visibilitychange", () => schedule(0));

    const classPath = () => `klassen/${board.klasse}`;

    async function poll() {
        if (board.busy || !board.live) return;
        board.busy = true;
        try {
            const response = await call(`${classPath()}/tafel`, { secret: board.secret, etag: board.etag });
            if (response.status === 200) {
                const data = await response.json();
                board.etag = response.headers.get("ETag") ?? "";
                showBoard(data);
                if (board.child) await loadChild();
                failing(false);
            } else if (response.status === 404) {
                gone("Diese Klasse gibt es nicht.", "Der Link stimmt nicht, oder die Klasse ist abgelaufen oder gelöscht worden.");
            } else if (response.status !== 304) {
                failing(true, await failure(response));
            } else {
                failing(false);
            }
        } catch {
            failing(true, "Der Server antwortet gerade nicht. Die Tafel versucht es weiter.");
        } finally {
            board.busy = false;
            document.documentElement.dataset.ready = "true";
            schedule(POLL_MS);
        }
    }

    // A failure is shown while it lasts and said once, when it starts and when it is over.
    function failing(now, message = "") {
        $("board-error").textContent = message;
        if (now !== board.failing) say(now ? message : "Der Server antwortet wieder.");
        board.failing = now;
    }

    const played = (child) => Object.values(child.spiele ?? {}).reduce((sum, entry) => sum + entry.gespielt, 0);

    function showBoard(data) {
        const before = new Map((board.data?.kinder ?? []).map((c) => [c.name, played(c)]));
        const first = !board.data;
        board.data = data;
        $("board-title").textContent = data.name;
        $("board-until").textContent = `Die Ergebnisse werden am ${longDay.format(new Date(data.ablauf))} gelöscht, mit der Klasse.`;
        if (!board.child && document.title !== `Zifferix – Tafel: ${data.name}`) document.title = `Zifferix – Tafel: ${data.name}`;

        const heads = $("games");
        if ([...heads.children].slice(1).map((h) => h.dataset.game).join() !== data.spiele.join()) {
            heads.replaceChildren(heads.firstElementChild, ...data.spiele.map((key) => {
                const head = element("th", gameName(key));
                head.scope = "col";
                head.dataset.game = key;
                return head;
            }));
        }
        showRows(data);
        $("nobody").hidden = data.kinder.length > 0;
        $("hardest").replaceChildren(...data.schwierig.map((problem) => {
            const item = element("li", `${problem.aufgabe}: ${plural(problem.kinder, "Kind", "Kinder")}`);
            item.append(element("span", ` (${plural(problem.falsch, "falsche Antwort", "falsche Antworten")})`, "hint"));
            return item;
        }));
        $("nothing-hard").hidden = data.schwierig.length > 0;

        if (first) {
            if (!board.child) $("board-title").focus();
        } else {
            sayNew(data.kinder.filter((c) => played(c) > (before.get(c.name) ?? 0)).map((c) => c.name));
        }
    }

    // Each child keeps its row, and its name button the focus, while its cells are drawn anew.
    const rows = new Map();

    function showRows(data) {
        const lines = data.kinder.map((child) => {
            const line = rows.get(child.name) ?? row(child.name);
            rows.set(child.name, line);
            while (line.children.length > 1) line.lastElementChild.remove();
            line.append(...data.spiele.map((key) => cell(child.spiele?.[key])));
            return line;
        });
        const names = new Set(data.kinder.map((c) => c.name));
        for (const name of [...rows.keys()].filter((n) => !names.has(n))) rows.delete(name);
        const body = $("rows");
        if (lines.some((line, i) => body.children[i] !== line) || body.children.length !== lines.length) {
            const focused = document.activeElement;
            body.replaceChildren(...lines);
            if (focused instanceof HTMLElement && focused.isConnected && focused !== document.activeElement) focused.focus();
        }
    }

    function row(name) {
        const line = document.createElement("tr");
        const head = element("th");
        head.scope = "row";
        head.dataset.name = name;
        const button = element("button", name, "name");
        button.type = "button";
        button.dataset.child = name;
        button.addEventListener("click", () => openChild(name));
        head.append(button);
        line.append(head);
        return line;
    }

    function cell(game) {
        const box = element("td");
        if (!game || !game.gespielt) {
            box.className = "none";
            box.append(element("span", "–", "dash"), element("span", "noch nicht gespielt", "unseen"));
            return box;
        }
        box.append(
            element("span", game.beste === null ? "nicht gewonnen" : `${whole.format(game.beste)} Punkte`, "best"),
            element("span", `${game.gewonnen} von ${game.gespielt} gewonnen`, "count"),
            element("span", "zuletzt ", "unseen"), element("span", when(game.zuletzt), "last"));
        return box;
    }

    $("csv").addEventListener("click", async () => {
        try {
            const response = await call(`${classPath()}/export.csv`, { secret: board.secret });
            if (!response.ok) {
                say(await failure(response));
                return;
            }
            const file = URL.createObjectURL(await response.blob());
            const anchor = element("a");
            anchor.href = file;
            anchor.download = `${(board.data?.name ?? "Klasse").replace(/[\\/:*?"<>|\u0000-\u001f]+/g, "-").trim() || "Klasse"}.csv`;
            document.body.append(anchor);
            anchor.click();
            anchor.remove();
            setTimeout(() => URL.revokeObjectURL(file), 60000);
            say("Die CSV-Datei ist gespeichert.");
        } catch {
            say(UNREACHABLE);
        }
    });

    $("delete-class").addEventListener("click", async () => {
        const name = board.data?.name ?? "";
        const yes = await confirmed(`Die Klasse „${name}“ löschen?`,
            "Die Klasse und alle ihre Ergebnisse werden gelöscht. Der Link der Kinder und Ihr Link zur Tafel "
            + "gelten dann nicht mehr. Das lässt sich nicht rückgängig machen.");
        if (!yes) return;
        const answer = await removed(classPath());
        if (answer) gone("Die Klasse ist gelöscht.", `Die Klasse „${name}“ und alle ihre Ergebnisse sind gelöscht.`);
    });

    // A DELETE: true when done; otherwise the reason is shown and said.
    async function removed(path) {
        try {
            const response = await call(path, { method: "DELETE", secret: board.secret });
            if (response.status === 204) return true;
            failing(true, await failure(response));
        } catch {
            failing(true, UNREACHABLE);
        }
        return false;
    }

    // --- A child's own page ---

    async function openChild(name) {
        board.child = name;
        $("child-title").textContent = name;
        $("child-summary").textContent = "Die Spiele laden …";
        $("child-games").replaceChildren();
        show("child", `${name}, ${board.data?.name ?? "Tafel"}`);
        await loadChild();
    }

    async function loadChild() {
        const name = board.child;
        try {
            const response = await call(`${classPath()}/kinder/${encodeURIComponent(name)}`, { secret: board.secret });
            if (board.child !== name) return;
            if (!response.ok) {
                $("child-summary").textContent = await failure(response);
                $("child-games").replaceChildren();
                return;
            }
            showChild(await response.json());
        } catch {
            $("child-summary").textContent = UNREACHABLE;
        }
    }

    function showChild(child) {
        const games = [...child.spiele].sort((a, b) => Date.parse(b.am) - Date.parse(a.am));
        const won = games.filter((g) => g.ergebnis === "gewonnen").length;
        $("child-summary").textContent = games.length
            ? `${plural(games.length, "Spiel", "Spiele")}, davon ${whole.format(won)} gewonnen. Das neueste steht oben.`
            : "Noch kein Spiel.";
        $("child-games").replaceChildren(...games.map(game));
    }

    function game(record) {
        const part = element("section", "", "game");
        const level = LEVELS[record.stufe] ?? record.stufe;
        part.append(element("h2", `${gameName(record.spiel)}, ${level}`));
        const facts = [record.ergebnis, `${whole.format(record.punkte)} Punkte`, `${tenths.format(record.sekunden)} Sekunden`,
            `am ${shortDay.format(new Date(record.am))} um ${clock.format(new Date(record.am))} Uhr`];
        if (record.reihe) facts.push("im Spiel hintereinander");
        part.append(element("p", facts.join(", ")));
        if (!record.aufgaben.length) {
            part.append(element("p", "Keine Aufgabe beantwortet."));
            return part;
        }
        const table = element("table", "", "problems");
        table.append(element("caption", `Die Aufgaben: ${gameName(record.spiel)}, ${level}`, "unseen"));
        const heads = element("tr");
        for (const text of ["Aufgabe", "Antwort", "Richtig?", "Sekunden"]) {
            const head = element("th", text);
            head.scope = "col";
            heads.append(head);
        }
        const body = element("tbody");
        for (const problem of record.aufgaben) {
            const line = element("tr", "", problem.richtig ? "right" : "wrong");
            const question = element("th", problem.aufgabe);
            question.scope = "row";
            line.append(question, element("td", problem.antwort || "keine"),
                element("td", problem.richtig ? "richtig" : "falsch", "verdict"),
                element("td", tenths.format(problem.sekunden), "seconds"));
            body.append(line);
        }
        const head = element("thead");
        head.append(heads);
        table.append(head, body);
        part.append(table);
        return part;
    }

    $("back").addEventListener("click", () => backToBoard());

    function backToBoard() {
        const name = board.child;
        board.child = "";
        show("board", `Tafel: ${board.data?.name ?? ""}`, false);
        const button = [...$("rows").querySelectorAll("button")].find((b) => b.dataset.child === name);
        (button ?? $("board-title")).focus();
    }

    $("delete-child").addEventListener("click", async () => {
        const name = board.child;
        const yes = await confirmed(`${name} löschen?`,
            `Alle Spiele und Ergebnisse von ${name} werden gelöscht. Das lässt sich nicht rückgängig machen.`);
        if (!yes || !(await removed(`${classPath()}/kinder/${encodeURIComponent(name)}`))) return;
        board.child = "";
        board.etag = "";
        show("board", `Tafel: ${board.data?.name ?? ""}`);
        say(`${name} ist gelöscht.`);
        schedule(0);
    });

    lehrer.startBoard = startBoard;
    lehrer.stopBoard = stopBoard;
})();
