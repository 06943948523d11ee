// Zifferix without a network: every file of this build in one cache named after the build.
// The page then loads and plays offline, and a new build replaces the cache as a whole: its
// files are fetched past the browser's own cache and checked against their digests before any
// of them is served, so the page never gets a mix of two builds.
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

self.addEventListener("install", (event) => {
    event.waitUntil((async () => {
        const fetched = await Promise.all(Object.entries(FILES).map(async ([file, expected]) => {
            const response = await fetch(new Request(file, { cache: "reload" }));
            const body = await response.arrayBuffer();
            if (!response.ok || (await digest(body)) !== expected) {
                throw new Error(`${file} is not of build ${VERSION}`); // tried again next time
            }
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

self.addEventListener("fetch", (event) => {
    if (event.request.method !== "GET") {
        return;
    }
    event.respondWith((async () => {
        const cache = await caches.open(CACHE);
        // The page by its folder or its name, whatever the query; any other file of the build
        // by its name (links.html, the fonts' licences); the rest from the network.
        const hit = event.request.mode === "navigate" && isPage(event.request.url)
            ? await cache.match("index.html")
            : await cache.match(event.request, { ignoreSearch: true });
        return hit ?? fetch(event.request);
    })());
});
