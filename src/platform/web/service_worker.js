// SPDX-License-Identifier: MIT
// The web app's service worker: it keeps the files of the game's folder, one version at a time,
// and serves them from there, so that once visited the game opens and plays with no network.
// cmake/make_site.py writes the version's files with their SHA-256 sums, and its version, where
// FILES_AND_SUMS and VERSION stand.

const FILES = new Map(Object.entries(FILES_AND_SUMS));
// A cache per folder and version: another copy of the game on the same host keeps its own.
const FOLDER = new URL(registration.scope);
const CACHE = `tarnwick ${FOLDER.pathname} VERSION`;

const hex = (digest) => Array.from(new Uint8Array(digest), (byte) => byte.toString(16).padStart(2, '0')).join('');

// Every file, fetched past the browser's HTTP cache (which a host's max-age would have answer with
// the version before), and checked against its sum: a file of another version (a host half-way
// through an upload, a proxy's old copy) fails the install, the version kept before stays the one
// served, and the next visit tries again. So the player never gets a mix of two versions.
async function keepThisVersion() {
  const fetched = await Promise.all(Array.from(FILES, async ([name, sum]) => {
    const response = await fetch(name, { cache: 'reload' });
    const body = await response.clone().arrayBuffer();
    if (!response.ok || hex(await crypto.subtle.digest('SHA-256', body)) !== sum) {
      throw new Error(`${name} is not the one of this version`);
    }
    return [name, response];
  }));
  const cache = await caches.open(CACHE);
  await Promise.all(fetched.map(([name, response]) => cache.put(name, response)));
  // The new version is served from the next visit on; the page open now runs on as it loaded.
  await skipWaiting();
}

async function forgetOtherVersions() {
  for (const name of await caches.keys()) {
    if (name.startsWith(`tarnwick ${FOLDER.pathname} `) && name !== CACHE) await caches.delete(name);
  }
  await clients.claim();
}

// The folder's own files come from the cache (the folder itself is index.html); anything else goes
// to the network as usual.
function fromTheCache(event) {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== FOLDER.origin || !url.pathname.startsWith(FOLDER.pathname)) {
    return;
  }
  const name = url.pathname.slice(FOLDER.pathname.length) || 'index.html';
  if (!FILES.has(name)) return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(name))
    .then((kept) => kept || fetch(event.request)));
}

addEventListener('install', (event) => event.waitUntil(keepThisVersion()));
addEventListener('activate', (event) => event.waitUntil(forgetOtherVersions()));
addEventListener('fetch', fromTheCache);
