// The page's service worker. Each build's files are kept in a cache named
// after the build, and a request stamped with a build (?b=NAME) is answered
// from that build's cache, or from the network while the build is not kept:
// a page is never handed a file of another build. The page itself is asked
// of the network first, so a new build served is the one the next visit
// runs; without a network, or without an answer within a few seconds, it is
// the last build kept. A page asks for its build to be kept once the game
// has what it needs to start; then the caches of builds no open page runs go.
"use strict";

const SCOPE = new URL(self.registration.scope);
// Two copies of the game in folders of one site keep apart.
const CACHE = (build) => `skitterbat-${build}@${SCOPE.pathname}`;
const LAST_KEPT = `skitterbat@${SCOPE.pathname}`;
const BUILD_NAME = /^[0-9a-f]{16}$/;
const NETWORK_WAIT_MS = 4000;
const ANSWER_WAIT_MS = 2000;

const address = (name, build) => new URL(`${name}?b=${build}`, SCOPE).href;

self.addEventListener("install", (event) => event.waitUntil(self.skipWaiting()));
self.addEventListener("activate", (event) => event.waitUntil(self.clients.claim()));

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || request.headers.has("range")) return;
  const url = new URL(request.url);
  if (url.origin !== SCOPE.origin) return;
  if (request.mode === "navigate") {
    if (url.pathname === SCOPE.pathname || url.pathname === `${SCOPE.pathname}index.html`)
      event.respondWith(openPage(request));
    return;
  }
  const build = url.searchParams.get("b");
  if (build && BUILD_NAME.test(build)) event.respondWith(fromBuild(request, build));
});

async function fromBuild(request, build) {
  return (await caches.match(request.url, { cacheName: CACHE(build) })) || fetch(request);
}

async function openPage(request) {
  const network = fetch(new Request(request, { cache: "no-cache" })).catch(() => null);
  const late = new Promise((done) => setTimeout(done, NETWORK_WAIT_MS, "late"));
  const first = await Promise.race([network, late]);
  if (first && first !== "late" && (first.ok || first.type === "opaqueredirect")) return first;
  const last = await lastKept();
  const kept = last && (await caches.match(address("index.html", last.build), { cacheName: CACHE(last.build) }));
  if (kept) return kept;
  return (first === "late" ? await network : first) || Response.error();
}

// The build kept last, and when the page that asked for it was opened.
async function lastKept() {
  const entry = await caches.match(new URL("last-kept", SCOPE).href, { cacheName: LAST_KEPT });
  return entry ? entry.json() : null;
}

async function setLastKept(build, since) {
  const last = await lastKept();
  // A page opened before the last one kept runs an older build.
  if (last && last.build !== build && since < last.since) return;
  const cache = await caches.open(LAST_KEPT);
  await cache.put(new URL("last-kept", SCOPE).href, new Response(JSON.stringify({ build, since })));
}

async function sha256(bytes) {
  const hash = new Uint8Array(await crypto.subtle.digest("SHA-256", bytes));
  return Array.from(hash, (byte) => byte.toString(16).padStart(2, "0")).join("");
}

// Fetches every file build.json lists and checks each against its size and
// hash: a site that has moved on to another build meanwhile gives nothing to
// keep. Files kept by an earlier, interrupted try are not fetched again. The
// list goes in last: a cache that holds it is complete.
async function keepBuild(build, since) {
  const cache = await caches.open(CACHE(build));
  const listAddress = address("build.json", build);
  if (!(await cache.match(listAddress))) {
    const answer = await fetch(listAddress, { cache: "no-cache" });
    if (!answer.ok) throw new Error(`build.json: HTTP ${answer.status}`);
    const list = await answer.json();
    if (list.build !== build) throw new Error(`the site now serves build ${list.build}`);
    for (const [name, bytes, hash] of list.files) {
      const key = address(name, build);
      if (await cache.match(key)) continue;
      const response = await fetch(key, { cache: "no-cache" });
      if (!response.ok) throw new Error(`${name}: HTTP ${response.status}`);
      const body = await response.arrayBuffer();
      if (body.byteLength !== bytes || (await sha256(body)) !== hash)
        throw new Error(`${name} is not the file of build ${build}`);
      const type = response.headers.get("Content-Type") || "application/octet-stream";
      await cache.put(key, new Response(body, { headers: { "Content-Type": type, "Content-Length": String(bytes) } }));
    }
    await cache.put(listAddress, new Response(JSON.stringify(list), { headers: { "Content-Type": "application/json" } }));
  }
  await setLastKept(build, since);
}

// The builds the open pages run; null when a page does not say.
async function openBuilds() {
  const pages = await self.clients.matchAll({ type: "window" });
  const builds = await Promise.all(pages.map((page) => new Promise((done) => {
    const channel = new MessageChannel();
    const timer = setTimeout(done, ANSWER_WAIT_MS, null);
    channel.port1.onmessage = (event) => {
      clearTimeout(timer);
      done(String(event.data));
    };
    page.postMessage("build?", [channel.port2]);
  })));
  return builds.includes(null) ? null : new Set(builds);
}

async function prune() {
  const last = await lastKept();
  const open = await openBuilds();
  if (!last || !open) return;
  const prefix = "skitterbat-", suffix = `@${SCOPE.pathname}`;
  for (const name of await caches.keys()) {
    if (!name.startsWith(prefix) || !name.endsWith(suffix)) continue;
    const build = name.slice(prefix.length, -suffix.length);
    if (build !== last.build && !open.has(build)) await caches.delete(name);
  }
}

const keeping = new Map();
self.addEventListener("message", (event) => {
  const { keep, since } = event.data || {};
  if (typeof keep !== "string" || !BUILD_NAME.test(keep)) return;
  if (!keeping.has(keep))
    keeping.set(keep, keepBuild(keep, Number(since) || 0).finally(() => keeping.delete(keep)));
  event.waitUntil(keeping.get(keep).then(prune).catch((error) => {
    console.warn(`Skitterbat build ${keep} is not kept for offline play: ${error.message}`);
  }));
});
