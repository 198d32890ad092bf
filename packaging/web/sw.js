// The page's service worker: it keeps this release's files, so that the game put on a home
// screen, or the page opened again without a network, starts and plays. The files come from
// the network while there is one (a new release is seen at once) and from the cache when
// there is none. The cache is named by the release's version: a new release fills its own
// cache whole before it takes over, and then the old one is deleted, so the files a page
// gets always belong to one release.
"use strict";
var CACHE = "quimbo-@VERSION@";
var FILES = @FILES@;

self.addEventListener("install", function (event) {
  event.waitUntil(caches.open(CACHE).then(function (cache) {
    // Checked with the server, so that no older copy in the browser's HTTP cache slips in.
    return cache.addAll(FILES.map(function (name) { return new Request(name, { cache: "no-cache" }); }));
  }).then(function () { return self.skipWaiting(); }));
});

self.addEventListener("activate", function (event) {
  event.waitUntil(caches.keys().then(function (names) {
    return Promise.all(names.filter(function (name) {
      return name.indexOf("quimbo-") === 0 && name !== CACHE;
    }).map(function (name) { return caches.delete(name); }));
  }).then(function () { return self.clients.claim(); }));
});

self.addEventListener("fetch", function (event) {
  var request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(fetch(request).catch(function () {
    return caches.open(CACHE).then(function (cache) {
      // The page itself is asked for by its folder's address as often as by index.html.
      var asked = request.mode === "navigate" ? "./" : request;
      return cache.match(asked, { ignoreSearch: true }).then(function (kept) {
        if (kept) return kept;
        return Response.error();
      });
    });
  }));
});
