// The site's service worker: it keeps the site's files for play without a network and answers
// from them first. The build writes in each file's SHA-256 sum and the build's name, made from
// those sums: the same files give the same worker, a changed file a new one, with a cache of its
// own. A new worker waits until the site's pages say they may switch (game.js).
'use strict';

const kFiles = {@TARNWICK_SITE_FILES@
};
// One cache a build, named after the folder it serves, so that copies of the site in two
// folders of one host keep theirs.
const kCachePrefix = `tarnwick ${self.registration.scope} `;
const kCache = kCachePrefix + '@TARNWICK_BUILD@';

const sha256 = async (response) => [...new Uint8Array(await crypto.subtle.digest('SHA-256',
    await response.clone().arrayBuffer()))].map((b) => b.toString(16).padStart(2, '0')).join('');

// Each file asked of the server (revalidated, never taken unchecked from the HTTP cache) and
// checked against its sum: a server halfway through an update, or a stale cache on the way,
// fails the install instead of mixing two builds, and the browser tries again on a later visit.
self.addEventListener('install', (event) => event.waitUntil((async () => {
    const responses = await Promise.all(Object.entries(kFiles).map(async ([name, sum]) => {
        const response = await fetch(name, { cache: 'no-cache' });
        if (!response.ok || await sha256(response) !== sum) {
            throw new Error(`${name} is not the file this worker was built with`);
        }
        return [name, response];
    }));
    const cache = await caches.open(kCache);
    await Promise.all(responses.map(([name, response]) => cache.put(name, response)));
})()));

self.addEventListener('activate', (event) => event.waitUntil(caches.keys().then((names) =>
    Promise.all(names.filter((name) => name.startsWith(kCachePrefix) && name !== kCache)
        .map((name) => caches.delete(name))))));

// Pages of this folder that have all their files and may run this build from their next load.
// It takes over only once every open page is one of them: a page still loading would get the
// rest of its files from this build. Forgotten if the worker is stopped: the pages ask again
// at their next load. The page that asked hears which it was, 'taking over' or 'waiting'.
const loaded = new Set();
self.addEventListener('message', (event) => event.waitUntil((async () => {
    if (event.data !== 'take over') return;
    loaded.add(event.source.id);
    const pages = await self.clients.matchAll({ type: 'window', includeUncontrolled: true });
    const allLoaded = pages.every((page) => loaded.has(page.id) ||
        !page.url.startsWith(self.registration.scope));
    if (allLoaded) await self.skipWaiting();
    event.source.postMessage(allLoaded ? 'taking over' : 'waiting');
})()));

// The site's files from this build's cache, the folder's own address as its index.html; all
// else, or what the cache lost, from the network as usual.
self.addEventListener('fetch', (event) => {
    const { request } = event;
    const url = new URL(request.url);
    const base = new URL(self.registration.scope);
    if (request.method !== 'GET' || url.origin !== base.origin ||
        !url.pathname.startsWith(base.pathname)) {
        return;
    }
    const name = url.pathname.slice(base.pathname.length) || 'index.html';
    if (!Object.hasOwn(kFiles, name)) return;
    event.respondWith(caches.open(kCache).then((cache) => cache.match(name))
        .then((response) => response || fetch(request)));
});
