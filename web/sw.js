// The service worker of Lumera 8.0 in the browser: it keeps every file of the site in a cache
// named after their contents, so that once loaded the game plays without the network. The build
// fills in the list of files and the version.
"use strict";

const CACHE = "lumera8-/*SITE_VERSION*/";
const FILES = [
  "./",
/*SITE_FILES*/];

self.addEventListener("install", event => {
  event.waitUntil(caches.open(CACHE).then(cache => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", event => {
  event.waitUntil(caches.keys()
    .then(names => Promise.all(names.filter(n => n.startsWith("lumera8-") && n !== CACHE).map(n => caches.delete(n))))
    .then(() => self.clients.claim()));
});

// The site's own files come from the cache; anything else goes to the network as it is.
self.addEventListener("fetch", event => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== location.origin) return;
  event.respondWith(caches.open(CACHE).then(cache =>
    cache.match(request, { ignoreSearch: true }).then(hit => hit || fetch(request).catch(() =>
      request.mode === "navigate" ? cache.match("./index.html") : Response.error()))));
});
