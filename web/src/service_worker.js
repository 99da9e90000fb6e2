// Keeps every file of the site in the browser's cache, so the page opens and
// builds images without a network after its first visit. The build fills in
// SITE_FILES (relative to this script's folder, which is the site's) and
// CACHE_NAME (the version and a hash of the files): a new build gets a new cache
// and the old one is removed once the new one is complete.
/* global SITE_FILES, CACHE_NAME */

const siteUrl = (name) => new URL(name, self.registration.scope).href;

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(CACHE_NAME);
    await cache.addAll(['./', ...SITE_FILES].map(siteUrl));
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name !== CACHE_NAME && name.startsWith('zmrimage-')) await caches.delete(name);
    }
    await self.clients.claim();
  })());
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || !request.url.startsWith(self.registration.scope)) return;
  event.respondWith((async () => {
    const cache = await caches.open(CACHE_NAME);
    const cached = await cache.match(request, {ignoreSearch: true}) ||
      (request.mode === 'navigate' ? await cache.match(siteUrl('index.html')) : undefined);
    return cached || fetch(request);
  })());
});
