// Starts Zifferix in the page; the site appends it to the program's own script. The program
// and the fonts load side by side (the page has begun both); when both are there and the page
// is read, the start screen comes. From then on every click, key and piece of text goes to the
// program, which decides what it means.
(() => {
    "use strict";
    // The page's fonts, or the browser's own where they cannot be had or take too long: the
    // screens are measured again once late fonts have come.
    const fonts = Promise.race([window.zifferixFonts, new Promise((done) => setTimeout(done, 6000))])
        .then(() => performance.mark("zifferix-fonts"));
    const read = document.readyState === "loading"
        ? new Promise((done) => document.addEventListener("DOMContentLoaded", done))
        : Promise.resolve();
    const compiled = window.zifferixModule;
    // A class's link (#klasse=abcdefghijkl, maybe with a game: #klasse=abcdefghijkl&uhr-leicht)
    // loads what a class needs and asks for the class while the program loads; so do results
    // that still wait to be sent. Without either, nothing of it is loaded.
    const klasse = (/^#(?:.*&)?klasse=([a-z2-7]{12})(?:&|$)/.exec(location.hash) || [])[1];
    const classCode = klasse || waitingResults() ? loadClassCode() : Promise.resolve(null);
    const joining = classCode.then((code) => (code && klasse ? code.fetchClass(klasse) : null));
    const program = createZifferix({
        instantiateWasm(imports, receive) {
            compiled
                .then((module) => WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module)))
                .catch(window.zifferixFailed);
            return {};
        },
    }).then((z) => {
        performance.mark("zifferix-program");
        return z;
    });

    Promise.all([program, fonts, read, classCode, joining])
        .then(([zifferix, , , code, joined]) => run(zifferix, joined && ((z) => code.join(z, klasse, joined))))
        .catch(window.zifferixFailed);

    function loadClassCode() {
        return new Promise((loaded) => {
            const script = document.createElement("script");
            script.src = "klasse.js";
            script.dataset.optional = "";
            script.onload = () => loaded(window.zifferixClass);
            script.onerror = () => loaded(null); // the child plays as without a class
            document.head.append(script);
        });
    }

    function waitingResults() {
        try {
            return localStorage.getItem("zifferix.warten") !== null;
        } catch {
            return false;
        }
    }

    // The link's game and level, without its class.
    function gameLink() {
        return `#${location.hash.slice(1).split("&").filter((part) => !part.startsWith("klasse=")).join("&")}`;
    }

    function run(z, joinClass) {
        const session = {
            z,
            stage: document.getElementById("stage"),
            touching: false, // the child plays by touch
            area: viewport(),
            playing: () => z.playing(),
            contrast: () => {}, // asks the program for the contrast the browser wants
        };
        followContrast(session);
        readAloud(session);
        takeKeys(session);
        takePointer(session);
        takeText(session);
        takeMessages(session);
        keepBoxInSight(session);
        restartAndLinks(session);
        askBeforeLeaving(session);
        // The program's memory in use, for the storms that watch it hold steady.
        window.zifferixHeap = () => z.heapInUse();

        // In a class, the child says its name first; the program keeps the link's game for after it.
        if (joinClass) {
            joinClass(z);
        }
        z.start(...session.area);
        session.contrast();
        z.choose(gameLink());
        document.fonts.addEventListener("loadingdone", () => z.resize(...session.area));
        document.documentElement.dataset.ready = "true";
        performance.mark("zifferix-interactive");
        linkManifest();
        registerWorker();
    }

    function viewport() {
        return [document.documentElement.clientWidth, document.documentElement.clientHeight];
    }

    function idOf(node) {
        const element = node instanceof Element ? node.closest("[data-id]") : null;
        return element ? Number(element.dataset.id) : -1;
    }

    function isBox(node) {
        return node instanceof HTMLInputElement && node.type === "text";
    }

    // More contrast where the browser asks for it: a system setting for more contrast, or forced
    // colours (Windows' high contrast). Asked at every start and whenever the setting changes.
    function followContrast(session) {
        const asks = ["(prefers-contrast: more)", "(forced-colors: active)"].map((q) => window.matchMedia(q));
        const { z } = session;
        session.contrast = () => z.contrast(asks.some((query) => query.matches));
        for (const query of asks) {
            query.addEventListener("change", session.contrast);
        }
    }

    // Reading aloud, when a link asks for it: the browser's own speech with the device's German
    // voice, a local one where there is one, so that it works offline; never another language's
    // voice, and nothing is fetched or sent. Voices may come late (voiceschanged), and a browser
    // may speak only after a first key or tap: what was said before it waits for it. The
    // program decides what is said and when; here a text is only spoken, and its end reported.
    function readAloud({ z }) {
        const speech = window.speechSynthesis;
        const sign = document.getElementById("speaker");
        const why = document.getElementById("speaker-why");
        let voice = null;
        let known = false; // the voices have come, or will not
        let current = null;
        let unlocked = false;
        let waiting = null; // the newest text said before the voice could speak
        const speak = (text) => {
            const utterance = new SpeechSynthesisUtterance(text);
            utterance.voice = voice;
            utterance.lang = voice.lang;
            utterance.onend = utterance.onerror = () => {
                if (current === utterance) {
                    current = null;
                    z.voiceDone();
                }
            };
            current = utterance;
            speech.cancel();
            speech.speak(utterance);
        };
        // Once the voice can speak: what waited, or nothing where there is no German voice.
        const speakWaiting = () => {
            if (!unlocked || !known) {
                return;
            }
            if (voice && waiting !== null) {
                speak(waiting);
            }
            waiting = null;
        };
        const chooseVoice = () => {
            const all = speech ? speech.getVoices() : [];
            const german = all.filter((v) => /^de([-_]|$)/i.test(v.lang));
            voice = german.find((v) => v.localService) || german[0] || null;
            known = known || all.length > 0;
            sign.classList.toggle("silent", known && !voice);
        };
        const voicesCame = () => {
            chooseVoice();
            speakWaiting();
        };
        chooseVoice();
        if (speech) {
            speech.addEventListener("voiceschanged", voicesCame);
        }
        // A browser without voices says so by having none a while after the page is there.
        setTimeout(() => {
            known = true;
            voicesCame();
        }, 3000);
        const unlock = () => {
            if (!unlocked && !sign.hidden) {
                unlocked = true;
                chooseVoice();
                speakWaiting();
            }
        };
        document.addEventListener("keydown", unlock, true);
        document.addEventListener("pointerdown", unlock, true);
        window.zifferixVoice = {
            say: (text) => {
                chooseVoice();
                if (unlocked && known && voice) {
                    speak(text);
                    return;
                }
                // Kept for the voice to come; the program goes on as if it had been said.
                waiting = known && !voice ? null : text;
                setTimeout(() => z.voiceDone());
            },
            show: (on) => {
                sign.hidden = !on;
                why.hidden = true;
                if (!on && speech && current) {
                    current = null;
                    speech.cancel();
                }
            },
        };
        sign.addEventListener("pointerdown", (e) => e.preventDefault());
        sign.addEventListener("mousedown", (e) => e.preventDefault());
        sign.addEventListener("click", () => {
            chooseVoice();
            why.hidden = Boolean(voice) || !known;
            if (voice) {
                z.again();
            }
        });
    }

    // Every key belongs to the program; the browser keeps only what the program leaves. A key the
    // program has taken stays its own until it comes up: held on "Aus und Schluss", it must not
    // press "Neu starten" too.
    function takeKeys({ z, playing }) {
        const held = new Set();
        document.addEventListener("keydown", (e) => {
            if (held.has(e.code) && (e.repeat || !playing())) {
                e.preventDefault();
                return;
            }
            if (!playing() || e.isComposing || e.key === "Process" || e.key === "Unidentified") {
                return; // an input method or a tablet's keyboard: its text comes as input
            }
            const alt = e.getModifierState("AltGraph");
            if (z.key(e.key, e.code, e.altKey, e.ctrlKey, e.metaKey, alt, e.shiftKey, e.repeat)) {
                e.preventDefault();
                held.add(e.code);
            }
        });
        // A button pressed by Space acts when the key comes up: not here, the program has acted.
        // Alt coming up alone would open the browser's menu bar.
        document.addEventListener("keyup", (e) => {
            if (held.delete(e.code) || (playing() && (e.key === " " || e.key === "Enter"))) {
                e.preventDefault();
            }
        });
    }

    // Clicks and taps are the program's; a press on anything but a box keeps the focus where the
    // program has put it. Played by touch, a box keeps the focus between two problems, so the
    // keyboard stays.
    function takePointer(session) {
        const { z, stage } = session;
        stage.addEventListener("click", (e) => {
            const closeBox = e.target instanceof Element ? e.target.closest("[data-close]") : null;
            if (closeBox) {
                z.close(Number(closeBox.dataset.close));
                return;
            }
            const id = idOf(e.target);
            if (id >= 0) {
                e.preventDefault();
                z.click(id);
            }
        });
        document.addEventListener("pointerdown", (e) => {
            session.touching = e.pointerType === "touch";
            z.touch(session.touching);
        }, true);
        stage.addEventListener("mousedown", (e) => {
            if (!isBox(e.target)) {
                e.preventDefault();
            }
        });
        stage.addEventListener("focusin", (e) => {
            const id = idOf(e.target);
            if (id >= 0) {
                z.focus(id);
            }
        });
    }

    // Text that comes without keys goes in one character at a time, as if typed, so that a box
    // never holds what its game would have swallowed.
    function takeText({ z, stage }) {
        const dropped = (e) => (e.dataTransfer ? e.dataTransfer.getData("text/plain") : e.data || "");
        const typed = {
            insertText: (e) => z.text(e.data || ""),
            insertReplacementText: (e) => z.text(dropped(e)),
            insertFromPaste: (e) => z.paste(dropped(e)),
            insertFromDrop: (e) => z.paste(dropped(e)),
            insertLineBreak: () => z.text("\r"),
            insertParagraph: () => z.text("\r"),
            deleteContentBackward: () => z.text("\b"),
        };
        stage.addEventListener("beforeinput", (e) => {
            if (e.inputType === "insertCompositionText") {
                return; // an input method is composing: what it makes comes at its end
            }
            if (Object.hasOwn(typed, e.inputType)) {
                e.preventDefault();
                typed[e.inputType](e);
            } else if (e.cancelable) {
                e.preventDefault();
            }
        });
        stage.addEventListener("compositionstart", (e) => e.target.setAttribute("data-composing", ""));
        stage.addEventListener("compositionend", (e) => {
            e.target.removeAttribute("data-composing");
            z.text(e.data || "");
        });
        stage.addEventListener("paste", (e) => {
            e.preventDefault();
            z.paste(e.clipboardData ? e.clipboardData.getData("text/plain") : "");
        });
        stage.addEventListener("drop", (e) => {
            e.preventDefault();
            z.paste(e.dataTransfer ? e.dataTransfer.getData("text/plain") : "");
        });
        // Whatever still got into a box is put back to the program's text.
        stage.addEventListener("input", (e) => {
            if (!e.isComposing) {
                z.text("");
            }
        });
    }

    // The message box: Enter, Escape, Space or its button close it, a held key does not.
    function takeMessages({ z }) {
        const message = document.getElementById("message");
        const dismiss = () => z.dismissMessage();
        message.querySelector("button").addEventListener("click", dismiss);
        message.addEventListener("cancel", (e) => {
            e.preventDefault();
            dismiss();
        });
        message.addEventListener("keydown", (e) => {
            e.preventDefault();
            e.stopPropagation();
            if (!e.repeat && (e.key === "Enter" || e.key === "Escape" || e.key === " ")) {
                dismiss();
            }
        });
        message.addEventListener("keyup", (e) => e.preventDefault());
    }

    // A new size or a turn fits the screens to it at once. A tablet's keyboard that opens or
    // closes is no new screen: nothing moves or shrinks under the child's finger; the page only
    // slides up as far as the box and its problem need to stay in sight above it. A phone's number
    // pad may have no Return key: played by touch, an OK key stands at the bottom right of what
    // the keyboard leaves in sight while a box has the focus.
    function keepBoxInSight(session) {
        const { z, stage } = session;
        const sight = window.visualViewport;
        const confirm = document.getElementById("confirm");
        const keepInSight = () => {
            const box = document.activeElement;
            const typing = isBox(box) && stage.contains(box);
            const seenTop = sight ? sight.offsetTop : 0;
            const seenBottom = sight ? sight.offsetTop + sight.height : window.innerHeight;
            confirm.hidden = !(typing && session.touching && session.playing());
            const below = confirm.hidden ? 0 : confirm.offsetHeight + 12;
            if (!confirm.hidden) {
                confirm.style.top = `${seenBottom - below}px`;
            }
            const current = stage.dataset.lift ? Number(stage.dataset.lift) : 0;
            let lift = 0;
            if (typing) {
                const rect = box.getBoundingClientRect();
                lift = Math.max(0, Math.min(rect.bottom + current + 8 + below - seenBottom,
                    rect.top + current - seenTop - 8));
            }
            if (lift !== current) {
                stage.style.transform = lift ? `translateY(${-lift}px)` : "";
                stage.dataset.lift = lift ? String(lift) : "";
            }
        };
        confirm.addEventListener("pointerdown", (e) => e.preventDefault());
        confirm.addEventListener("mousedown", (e) => e.preventDefault());
        confirm.addEventListener("click", () => z.text("\r"));
        window.addEventListener("resize", () => {
            const [width, height] = viewport();
            const keyboard = session.touching && isBox(document.activeElement) && width === session.area[0];
            if (!keyboard) {
                session.area = [width, height];
                z.resize(width, height);
            }
            keepInSight();
        });
        if (sight) {
            sight.addEventListener("resize", keepInSight);
            sight.addEventListener("scroll", keepInSight);
        }
        stage.addEventListener("focusin", keepInSight);
        stage.addEventListener("focusout", () => setTimeout(keepInSight));
    }

    // "Neu starten" begins a new run, in the same class. A link may choose a game and a level
    // (index.html#waage-normal), as a child would: when a run starts, also anew, and when the link
    // changes while the start screen is in front.
    function restartAndLinks(session) {
        const { z } = session;
        const chooseLinked = () => z.choose(gameLink());
        document.querySelector("#goodbye button").addEventListener("click", () => {
            z.start(...(session.area = viewport()));
            session.contrast();
            chooseLinked();
        });
        window.addEventListener("hashchange", chooseLinked);
    }

    // A reload, the back key or a swipe would throw the table away: the browser asks first.
    function askBeforeLeaving({ z }) {
        window.addEventListener("beforeunload", (e) => {
            if (z.holdsPoints()) {
                e.preventDefault();
                e.returnValue = "";
            }
        });
    }

    // The manifest only installs the page: named once the start screen is there, it is asked for
    // after the page's own files, and a repeat visit asks for nothing but the page before it.
    function linkManifest() {
        const link = document.createElement("link");
        link.rel = "manifest";
        link.href = "manifest.webmanifest";
        document.head.append(link);
    }

    // Every file in one cache, so that the next visit plays without a network.
    function registerWorker() {
        if (!("serviceWorker" in navigator) || !window.isSecureContext) {
            return;
        }
        const register = () => navigator.serviceWorker.register("sw.js");
        if (document.readyState === "complete") {
            register();
        } else {
            window.addEventListener("load", register);
        }
    }
})();
