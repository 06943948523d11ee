// Starts Zifferix in the page; the site appends it to the program's own script. The program
// and the fonts load side by side (the page has begun both); when both are there and the page
// is read, the start screen comes. From then on every click, key and piece of text goes to the
// program, which decides what it means.
(() => {
    "use strict";
    const fonts = window.zifferixFonts.then(() => performance.mark("zifferix-fonts"));
    const read = document.readyState === "loading"
        ? new Promise((done) => document.addEventListener("DOMContentLoaded", done))
        : Promise.resolve();
    const compiled = window.zifferixModule;
    const program = createZifferix({
        instantiateWasm(imports, receive) {
            compiled.then((module) => WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module)));
            return {};
        },
    }).then((z) => {
        performance.mark("zifferix-program");
        return z;
    });

    Promise.all([program, fonts, read]).then(([zifferix]) => run(zifferix));

    function run(z) {
        const stage = document.getElementById("stage");
        const message = document.getElementById("message");
        const goodbye = document.getElementById("goodbye");
        const viewport = () => [document.documentElement.clientWidth, document.documentElement.clientHeight];
        const idOf = (node) => {
            const element = node instanceof Element ? node.closest("[data-id]") : null;
            return element ? Number(element.dataset.id) : -1;
        };
        const playing = () => !message.open && goodbye.hidden;
        const isBox = (node) => node instanceof HTMLInputElement && node.type === "text";

        // Every key belongs to the program; the browser keeps only what the program leaves.
        document.addEventListener("keydown", (e) => {
            if (!playing() || e.isComposing || e.key === "Process" || e.key === "Unidentified") {
                return; // an input method or a tablet's keyboard: its text comes as input
            }
            const alt = e.getModifierState("AltGraph");
            if (z.key(e.key, e.code, e.altKey, e.ctrlKey, e.metaKey, alt, e.shiftKey, e.repeat)) {
                e.preventDefault();
            }
        });
        // A button pressed by Space acts when the key comes up: not here, the program has acted.
        document.addEventListener("keyup", (e) => {
            if (playing() && (e.key === " " || e.key === "Enter")) {
                e.preventDefault();
            }
        });

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
        // Played by touch, a box keeps the focus between two problems, so the keyboard stays.
        document.addEventListener("pointerdown", (e) => z.touch(e.pointerType === "touch"), true);
        // A press on anything but a box keeps the focus where the program has put it.
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

        // Text that comes without keys goes in one character at a time, as if typed, so that a
        // box never holds what its game would have swallowed.
        stage.addEventListener("beforeinput", (e) => {
            switch (e.inputType) {
                case "insertText":
                    e.preventDefault();
                    z.text(e.data || "");
                    break;
                case "insertReplacementText":
                case "insertFromPaste":
                case "insertFromDrop":
                    e.preventDefault();
                    z.text(e.dataTransfer ? e.dataTransfer.getData("text/plain") : e.data || "");
                    break;
                case "insertLineBreak":
                case "insertParagraph":
                    e.preventDefault();
                    z.text("\r");
                    break;
                case "deleteContentBackward":
                    e.preventDefault();
                    z.text("\b");
                    break;
                case "insertCompositionText":
                    break; // an input method is composing: what it makes comes at its end
                default:
                    if (e.cancelable) {
                        e.preventDefault();
                    }
            }
        });
        stage.addEventListener("compositionstart", (e) => e.target.setAttribute("data-composing", ""));
        stage.addEventListener("compositionend", (e) => {
            e.target.removeAttribute("data-composing");
            z.text(e.data || "");
        });
        stage.addEventListener("paste", (e) => {
            e.preventDefault();
            z.text(e.clipboardData ? e.clipboardData.getData("text/plain") : "");
        });
        stage.addEventListener("drop", (e) => {
            e.preventDefault();
            z.text(e.dataTransfer ? e.dataTransfer.getData("text/plain") : "");
        });
        // Whatever still got into a box is put back to the program's text.
        stage.addEventListener("input", (e) => {
            if (!e.isComposing) {
                z.text("");
            }
        });

        // The message box: Enter, Escape, Space or its button close it, a held key does not.
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

        goodbye.querySelector("button").addEventListener("click", () => z.start(...viewport()));
        window.addEventListener("resize", () => z.resize(...viewport()));

        // A link may choose a game and a level (index.html#waage-normal), as a child would: when
        // a run starts, also anew, and when the link changes while the start screen is in front.
        const chooseLinked = () => z.choose(location.hash);
        goodbye.querySelector("button").addEventListener("click", chooseLinked);
        window.addEventListener("hashchange", chooseLinked);

        z.start(...viewport());
        chooseLinked();
        document.documentElement.dataset.ready = "true";
        performance.mark("zifferix-interactive");

        // Every file in one cache, so that the next visit plays without a network.
        if ("serviceWorker" in navigator && window.isSecureContext) {
            const register = () => navigator.serviceWorker.register("sw.js");
            if (document.readyState === "complete") {
                register();
            } else {
                window.addEventListener("load", register);
            }
        }
    }
})();
