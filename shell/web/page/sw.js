// Zifferix without a network: every file of this build in one cache named after the build.
// The page then loads and plays offline, and a new build replaces the cache as a whole: its
// files are fetched past the browser's own cache and checked against their digests before any
// of them is served, so the page never gets a mix of two builds.
"use strict";

const VERSION = "@VERSION@";
const FILES = @FILES@; // each file of the site with the SHA-256 of its content
const CACHE = `zifferix-${VERSION}`;

async function digest(body) {
    const bytes = new Uint8Array(await crypto.subtle.digest("SHA-256", body));
    return Array.from(bytes, (b) => b.toString(16).padStart(2, "0")).join("");
}

self.addEventListener("install", (event) => {
    event.waitUntil((async () => {
        const fetched = await Promise.all(Object.entries(FILES).map(async ([file, expected]) => {
            const response = await fetch(new Request(file, { cache: "reload" }));
            const body = await response.clone().arrayBuffer();
            if (!response.ok || (await digest(body)) !== expected) {
                throw new Error(`${file} is not of build ${VERSION}`); // tried again next time
            }
            return [file, response];
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

self.addEventListener("fetch", (event) => {
    if (event.request.method !== "GET") {
        return;
    }
    event.respondWith((async () => {
        const cache = await caches.open(CACHE);
        // A file of the build by its name (links.html too); any other page is the game.
        const hit = (await cache.match(event.request, { ignoreSearch: true }))
            ?? (event.request.mode === "navigate" ? await cache.match("index.html") : undefined);
        return hit ?? fetch(event.request);
    })());
});
