// Rillo's service worker: keeps the site's files so the game starts without a
// network after the first visit. The build (tools/web_app.py) fills in the
// list of files and a cache name made of the version and a hash of the
// files, so every build keeps its files in a cache of its own.
//
// A new build installs beside the old one and fetches its files afresh; it
// takes over only when no page of the old one is open any more (the next
// start), then removes the old caches. A page therefore always runs with the
// files of one build.
'use strict';
const CacheName = {{CacheName}};
const SiteFiles = {{SiteFiles}};

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CacheName).then((cache) =>
    // Past the browser's HTTP cache: an old copy there must not end up in
    // the new build's cache.
    cache.addAll(SiteFiles.map((file) => new Request(file, {cache: 'reload'})))));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys().then((names) => Promise.all(
    names.filter((name) => name.startsWith('rillo-') && name !== CacheName).map((name) => caches.delete(name)))));
});

// The site file a request names, or null: the site's folder itself is its
// page.
function siteFile(url) {
  const scope = new URL(self.registration.scope);
  if (url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname)) return null;
  const file = url.pathname.slice(scope.pathname.length) || 'index.html';
  return SiteFiles.includes(file) ? file : null;
}

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  const file = siteFile(new URL(event.request.url));
  if (file === null) return;
  event.respondWith(caches.open(CacheName).then((cache) => cache.match(file)).then((kept) =>
    // Before the files are all kept (during the first visit), the network.
    kept || fetch(event.request)));
});
