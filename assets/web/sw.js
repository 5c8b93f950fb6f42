// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps Gromzaks playable offline: every file of the page is kept in a cache named after this
// build, and served from there first. The build writes the name and the list of files in.
const CACHE = '@CACHE@';
const FILES = @FILES@;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: 'reload' }))))
    .then(() => self.skipWaiting()));
});

// An older build's files go, and the pages already open are served by this build at once.
self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name !== CACHE && name.startsWith('gromzaks'))
                                      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== location.origin) return;
  if (url.pathname.endsWith('/')) url.pathname += 'index.html';
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(url.href, { ignoreSearch: true }))
    .then((kept) => kept || fetch(event.request)));
});
