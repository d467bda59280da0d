// SPDX-License-Identifier: GPL-3.0-or-later
// The page's service worker. The engine's threads need shared memory, which a
// browser gives only to a cross-origin isolated page; many static hosts cannot
// send the two headers that isolate it, so this worker adds them to the
// site's own responses. It also keeps a copy of every file it has fetched, so
// that the page opens and plays without a network once it has been loaded.
'use strict';

const CACHE = 'brix-web-1';

self.addEventListener('install', () => self.skipWaiting());
self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

function isolated(response) {
  if (response.status === 0) return response; // opaque: cannot be changed
  const headers = new Headers(response.headers);
  headers.set('Cross-Origin-Opener-Policy', 'same-origin');
  headers.set('Cross-Origin-Embedder-Policy', 'require-corp');
  return new Response(response.body, {status: response.status, statusText: response.statusText, headers});
}

async function respond(request) {
  const cache = await caches.open(CACHE);
  let response;
  try {
    response = await fetch(request);
    if (response.ok) await cache.put(request, response.clone());
  } catch (error) {
    response = await cache.match(request, {ignoreSearch: true});
    if (!response) throw error;
  }
  return isolated(response);
}

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  if (request.cache === 'only-if-cached' && request.mode !== 'same-origin') return;
  event.respondWith(respond(request));
});
