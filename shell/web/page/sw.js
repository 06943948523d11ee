// Zifferix without a network: every file of this build in one cache named after the build.
// The page then loads and plays offline, and a new build replaces the cache as a whole: each
// of its files is checked against its digest before any of them is served, so the page never
// gets a mix of two builds. A file's name changes with its content, so the browser's own cache
// can hold no other build's file under it: the files the page has just loaded are taken from
// there, and a first visit fetches each file once.
"use strict";

const VERSION = "@VERSION@";
const FILES = @FILES@; // each file of the site with the SHA-256 of its content
const CACHE = `zifferix-${VERSION}`;

// The page's own addresses: the folder and its index.html, whatever their query.
function isPage(url) {
    const page = new URL(url);
    const scope = new URL(self.registration.scope);
    return page.origin === scope.origin &&
        (page.pathname === scope.pathname || page.pathname === `${scope.pathname}index.html`);
}

async function digest(body) {
    const bytes = new Uint8Array(await crypto.subtle.digest("SHA-256", body));
    return Array.from(bytes, (b) => b.toString(16).padStart(2, "0")).join("");
}

// A file as this build has it: from the browser's cache where it holds it, else from the
// server; past the cache once more where the cache held another content, which only the page
// can, the one file whose name stays. The page is taken as it was opened, by its folder, and
// by its name where the folder does not serve it.
async function fetchChecked(file) {
    const tries = file === "index.html"
        ? [["./", "force-cache"], ["./", "reload"], [file, "reload"]]
        : [[file, "force-cache"], [file, "reload"]];
    for (const [url, cache] of tries) {
        const response = await fetch(new Request(url, { cache }));
        const body = await response.arrayBuffer();
        if (response.ok && (await digest(body)) === FILES[file]) {
            return [response, body];
        }
    }
    throw new Error(`${file} is not of build ${VERSION}`); // tried again next time
}

self.addEventListener("install", (event) => {
    event.waitUntil((async () => {
        const fetched = await Promise.all(Object.keys(FILES).map(async (file) => {
            const [response, body] = await fetchChecked(file);
            // Kept as a response of its own: many hosts send index.html by a redirect to the
            // folder, and a browser refuses a redirected response as the answer to a navigation.
            const { status, statusText, headers } = response;
            return [file, new Response(body, { status, statusText, headers })];
        }));
        const cache = await caches.open(CACHE);
        await Promise.all(fetched.map(([file, response]) => cache.put(file, response)));
        await self.skipWaiting();
    })());
});

self.addEventListener("activate", (event) => {
    event.waitUntil((async () => {
        for (const name of await caches.keys()) {
            if (name.startsWith("zifferix-") && name !== CACHE) {
                await caches.delete(name);
            }
        }
        await self.clients.claim();
    })());
});

// The class service's answers are never kept: they go past the worker to the network.
function isService(url) {
    return url.startsWith(new URL("api/", self.registration.scope).href);
}

self.addEventListener("fetch", (event) => {
    if (event.request.method !== "GET" || isService(event.request.url)) {
        return;
    }
    event.respondWith((async () => {
        const cache = await caches.open(CACHE);
        // The page by its folder or its name, whatever the query; any other file of the build
        // by its name (links.html, klasse.js, the fonts' licences); the rest from the network.
        const hit = event.request.mode === "navigate" && isPage(event.request.url)
            ? await cache.match("index.html")
            : await cache.match(event.request, { ignoreSearch: true });
        return hit ?? fetch(event.request);
    })());
});
