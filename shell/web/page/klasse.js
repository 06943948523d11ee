// A class's link (index.html#klasse=abcdefghijkl): the page joins the class, remembers the
// child's name for it, and sends every ended game to the class's service. The page loads this
// only for a class's link, or while results wait to be sent. Each result is kept in the page's
// storage before it is sent and until the service has taken it, so that none is lost when the
// network or the service is away; its own id lets the service drop a second copy. Nothing a
// child does waits for any of it.
(() => {
    "use strict";

    const API = new URL("api/", location.href);
    const ASKING = 3000; // how long the class may take to answer before the child plays on
    const FIRST_RETRY = 2000;
    const LAST_RETRY = 120000;
    const SENDING = 20000; // a result the service has not answered by then goes again later
    const WAITING = "warten";
    const REFUSED = "abgelehnt";
    // Set while results wait, so that the page loads this also without a class's link.
    const WAITS = "zifferix.warten";

    const remembered = (klasse) => `zifferix.klasse.${klasse}`;

    function readLocal(key) {
        try {
            return JSON.parse(localStorage.getItem(key) ?? "null");
        } catch {
            return null;
        }
    }

    function writeLocal(key, value) {
        try {
            if (value === null) {
                localStorage.removeItem(key);
            } else {
                localStorage.setItem(key, JSON.stringify(value));
            }
        } catch {
            // no storage at all: the page still plays and sends while it is open
        }
    }

    // A fetch that gives up after `ms`: a service that hangs must not hold anything up.
    async function fetchWithin(ms, url, options = {}) {
        const abort = new AbortController();
        const timer = setTimeout(() => abort.abort(), ms);
        try {
            return await fetch(url, { ...options, signal: abort.signal, cache: "no-store", credentials: "same-origin" });
        } finally {
            clearTimeout(timer);
        }
    }

    // A result's id, a UUID v4; over plain http:// a browser has no randomUUID.
    function newId() {
        if (window.isSecureContext && crypto.randomUUID) {
            return crypto.randomUUID();
        }
        const bytes = crypto.getRandomValues(new Uint8Array(16));
        bytes[6] = (bytes[6] & 0x0f) | 0x40;
        bytes[8] = (bytes[8] & 0x3f) | 0x80;
        const hex = Array.from(bytes, (b) => b.toString(16).padStart(2, "0")).join("");
        return `${hex.slice(0, 8)}-${hex.slice(8, 12)}-${hex.slice(12, 16)}-${hex.slice(16, 20)}-${hex.slice(20)}`;
    }

    // The results in IndexedDB: one store of those waiting, one of those the service refused,
    // each keyed by the result's id.
    function openDatabase() {
        return new Promise((resolve, reject) => {
            const request = indexedDB.open("zifferix-klassen", 1);
            request.onupgradeneeded = () => {
                for (const name of [WAITING, REFUSED]) {
                    request.result.createObjectStore(name, { keyPath: "id" });
                }
            };
            request.onsuccess = () => resolve(request.result);
            request.onerror = () => reject(request.error);
            request.onblocked = () => reject(new Error("blocked"));
        });
    }

    function databaseStore(db) {
        const transact = (names, mode, act) => new Promise((resolve, reject) => {
            const transaction = db.transaction(names, mode);
            const request = act(...names.map((n) => transaction.objectStore(n)));
            transaction.oncomplete = () => resolve(request && request.result);
            transaction.onerror = transaction.onabort = () => reject(transaction.error);
        });
        return {
            put: (record) => transact([WAITING], "readwrite", (s) => s.put(record)),
            remove: (id) => transact([WAITING], "readwrite", (s) => s.delete(id)),
            refuse: (record) => transact([WAITING, REFUSED], "readwrite", (waiting, refused) => {
                refused.put(record);
                waiting.delete(record.id);
            }),
            waiting: () => transact([WAITING], "readonly", (s) => s.getAll()),
        };
    }

    // Where IndexedDB cannot be had (a private window): the same in localStorage.
    function localStore() {
        const read = (name) => readLocal(`zifferix.ergebnisse.${name}`) ?? {};
        const change = (name, act) => {
            const records = read(name);
            act(records);
            writeLocal(`zifferix.ergebnisse.${name}`, records);
        };
        return {
            put: async (record) => change(WAITING, (r) => { r[record.id] = record; }),
            remove: async (id) => change(WAITING, (r) => { delete r[id]; }),
            refuse: async (record) => {
                change(REFUSED, (r) => { r[record.id] = record; });
                change(WAITING, (r) => { delete r[record.id]; });
            },
            waiting: async () => Object.values(read(WAITING)),
        };
    }

    let store = (async () => {
        try {
            if (window.indexedDB) {
                return databaseStore(await openDatabase());
            }
        } catch {
            // refused, as some private windows do: localStorage instead
        }
        return localStore();
    })();

    // What the service said to a result: taken (also as a second copy), refused for good, or
    // nothing usable, so it goes again later.
    async function send(record) {
        try {
            const response = await fetchWithin(SENDING, new URL(`klassen/${record.klasse}/ergebnisse`, API), {
                method: "POST",
                headers: { "Content-Type": "application/json" },
                body: record.body,
            });
            if (response.ok) {
                return "taken";
            }
            return response.status >= 500 || response.status === 429 || response.status === 408 ? "later" : "refused";
        } catch {
            return "later";
        }
    }

    let sending = false;
    let again = false;
    let retry = 0;
    let pause = FIRST_RETRY;

    function tryLater() {
        retry = setTimeout(sendWaiting, pause);
        pause = Math.min(pause * 2, LAST_RETRY);
    }

    // Sends what waits, oldest first, until it is all sent or the service is away; then again after
    // a pause that doubles up to two minutes, or as soon as the network is back.
    async function sendWaiting() {
        if (sending) {
            again = true;
            return;
        }
        sending = true;
        clearTimeout(retry);
        retry = 0;
        let left = 0;
        try {
            const kept = await store;
            const records = (await kept.waiting()).sort((a, b) => a.kept - b.kept);
            left = records.length;
            for (const record of records) {
                const outcome = await send(record);
                if (outcome === "later") {
                    tryLater();
                    break;
                }
                await (outcome === "taken" ? kept.remove(record.id) : kept.refuse(record));
                left -= 1;
            }
            if (left === 0) {
                pause = FIRST_RETRY;
            }
        } catch {
            tryLater();
        } finally {
            writeLocal(WAITS, left > 0 ? true : null);
            sending = false;
            if (again) {
                again = false;
                sendWaiting();
            }
        }
    }

    // Kept before it is sent; the game has long gone on by then.
    async function keep(klasse, resultJson) {
        const result = { id: newId(), ...JSON.parse(resultJson) };
        const record = { id: result.id, klasse, kept: Date.now(), body: JSON.stringify(result) };
        writeLocal(WAITS, true);
        try {
            await (await store).put(record);
        } catch {
            store = Promise.resolve(localStore()); // IndexedDB failed on the way: kept here from now on
            await (await store).put(record);
        }
        sendWaiting();
    }

    // Said once when the class's link leads to a class that is no more; the child plays on as
    // without a class.
    function sayGone() {
        const notice = document.createElement("p");
        notice.id = "class-gone";
        notice.setAttribute("role", "alert");
        notice.textContent = "Diese Klasse gibt es nicht mehr.";
        document.body.append(notice);
        const dismiss = () => notice.remove();
        document.addEventListener("keydown", dismiss, { once: true, capture: true });
        document.addEventListener("pointerdown", dismiss, { once: true, capture: true });
        setTimeout(dismiss, 10000);
    }

    // The class of the link as the program needs it: its name and first names, as the service says
    // them or, where it cannot be asked, as they were last time; null for a class that is gone.
    async function fetchClass(klasse) {
        const last = readLocal(remembered(klasse));
        try {
            const response = await fetchWithin(ASKING, new URL(`klassen/${klasse}`, API));
            if (response.status === 404) {
                writeLocal(remembered(klasse), null);
                sayGone();
                return null;
            }
            if (response.ok) {
                const { name, kinder } = await response.json();
                const info = { name, kinder, kind: last ? last.kind : "" };
                writeLocal(remembered(klasse), info);
                return info;
            }
        } catch {
            // no network, or no answer in time
        }
        return last ?? { name: "", kinder: [], kind: "" };
    }

    // The program's class: it tells the page the child's name and every ended game.
    function join(z, klasse, info) {
        z.joinClass({
            joined: (child) => {
                info.kind = child;
                writeLocal(remembered(klasse), info);
            },
            ended: (resultJson) => {
                keep(klasse, resultJson).catch(() => {});
            },
        }, info.name, info.kinder.join("\n"), info.kind);
    }

    window.addEventListener("online", sendWaiting);
    document.addEventListener("visibilitychange", () => {
        if (document.visibilityState === "visible") {
            sendWaiting();
        }
    });
    sendWaiting();
    window.zifferixClass = { fetchClass, join };
})();
