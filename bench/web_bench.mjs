#!/usr/bin/env node
// Measures the browser build in Debian's headless Chromium (software WebGL),
// served as scripts/web --serve serves it (the script, wasm and text gzipped,
// the data packages as they are):
//  - each file's size, and gzipped where the server compresses it;
//  - on a 200 kB/s link with 150 ms latency, at 640x640 and on a phone held
//    upright (390x844 at a device pixel ratio of 3): the bytes that came
//    before the first menu, the time to the first menu, to the sharp art in
//    use and to the last byte the game waited for, and when the loading bar
//    first moved;
//  - the time to the first menu on a first visit and on a second one, the
//    files then from the service worker's cache;
//  - steady play: updates and animation frames a second over ten seconds,
//    and the main thread's busy time per frame.
// Times are on the page's clock, from navigation; the game notes when each
// art level comes into use (the first at its first menu).
//   node bench/web_bench.mjs [build-web] [runs]
import { readFileSync } from "node:fs";
import { extname, join, resolve } from "node:path";
import { gzipSync } from "node:zlib";

import { serve } from "../web/serve.mjs";
import { launch, newProfile, noteWhenTheBarMoves, openPage, pressKey, sleep, throttle } from "../tests/web/browser.mjs";

const build = resolve(process.argv[2] || "build-web");
const runs = Number(process.argv[3] || 3);
const files = [...JSON.parse(readFileSync(join(build, "build.json"), "utf8")).files.map(([name]) => name), "sw.js"];
const COMPRESSED = new Set([".html", ".js", ".wasm", ".json", ".webmanifest"]);
const kB = (bytes) => `${Math.round(bytes / 1000)} kB`;
const s = (ms) => `${(ms / 1000).toFixed(1)} s`;
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

let served = 0, raw = 0;
for (const file of files) {
  const bytes = readFileSync(join(build, file));
  const sent = COMPRESSED.has(extname(file)) ? gzipSync(bytes, { level: 9 }).length : bytes.length;
  served += sent;
  raw += bytes.length;
  console.log(`${file.padEnd(26)} ${kB(bytes.length).padStart(8)}, served ${kB(sent).padStart(8)}`);
}
console.log(`every file: ${kB(raw)}, served ${kB(served)}`);

const server = await serve(build);
const url = `http://127.0.0.1:${server.address().port}/`;

const PHONE = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const SCREENS = [["640x640", { width: 640, height: 640 }, 2], ["phone 390x844 at 3x", PHONE, 4]];

// The art levels the game has shown, each with the page time it came in.
const artLevels = (page) => page.evaluate(() => (window.Module && Module.artLevels) || []);
const waitedFor = (page) => page.evaluate(() => !!window.Module && Module.lateDataWaiting === false);

// Notes when each animation frame came.
function watchFrames() {
  window.frameTimes = [];
  const frame = (time) => {
    window.frameTimes.push(time);
    requestAnimationFrame(frame);
  };
  requestAnimationFrame(frame);
}

// The longest time between two animation frames from `from` to `to`.
function longestFrame(times, from, to) {
  let longest = 0;
  for (let i = 1; i < times.length; ++i)
    if (times[i] > from && times[i - 1] < to) longest = Math.max(longest, times[i] - times[i - 1]);
  return longest;
}

// Every response's bytes on the wire and when it ended, on the clock of the
// navigation's first request.
async function recordTransfers(page) {
  const cdp = await page.createCDPSession();
  await cdp.send("Network.enable");
  const transfers = { start: 0, urls: new Map(), done: [] };
  cdp.on("Network.requestWillBeSent", (event) => {
    if (!transfers.start && event.type === "Document") transfers.start = event.timestamp;
    transfers.urls.set(event.requestId, event.request.url);
  });
  cdp.on("Network.loadingFinished", (event) => {
    const name = new URL(transfers.urls.get(event.requestId) || url).pathname.slice(1) || "index.html";
    transfers.done.push({ name, bytes: event.encodedDataLength, at: 1000 * (event.timestamp - transfers.start) });
  });
  return transfers;
}

async function slowLoad(label, viewport, level) {
  const browser = await launch(newProfile());
  try {
    const page = await openPage(browser, viewport.width, viewport.height, !!viewport.hasTouch);
    await page.setViewport(viewport);
    await page.evaluateOnNewDocument(noteWhenTheBarMoves);
    await page.evaluateOnNewDocument(watchFrames);
    const transfers = await recordTransfers(page);
    await throttle(page, 150, 200000);
    await page.goto(url, { waitUntil: "domcontentloaded" });
    const started = Date.now();
    while (!(await waitedFor(page))) {
      if (Date.now() - started > 120000) throw new Error(`${label}: the game still waits after two minutes`);
      await sleep(100);
    }
    const levels = await artLevels(page);
    const menu = levels[0][1];
    const sharp = (levels.find(([shown]) => shown === level) || [0, NaN])[1];
    const before = transfers.done.filter((transfer) => transfer.at <= menu);
    const bytes = before.reduce((sum, transfer) => sum + transfer.bytes, 0);
    const last = Math.max(...transfers.done.map((transfer) => transfer.at));
    const bar = await page.evaluate(() => window.barMovedAt);
    // The sharp art is decoded a file a frame in the second before it comes in.
    const times = await page.evaluate(() => window.frameTimes);
    const settled = longestFrame(times, menu + 500, sharp - 1500);
    const swap = longestFrame(times, sharp - 1500, sharp + 100);
    console.log(`${label}, 200 kB/s, 150 ms: ${kB(bytes)} before the first menu ` +
                `(${before.map((transfer) => `${transfer.name} ${kB(transfer.bytes)}`).join(", ")}); ` +
                `bar moves at ${Math.round(bar)} ms, first menu at ${s(menu)}, sharp art at ${s(sharp)}, ` +
                `everything the game waited for by ${s(last)}; longest frame ${Math.round(settled)} ms before the ` +
                `sharp art's last second, ${Math.round(swap)} ms in it`);
    return { bytes, menu, sharp, bar, swap };
  } finally {
    await browser.close();
  }
}

// Once the game has all it waited for, the page has the worker keep its build.
async function kept(page) {
  for (;;) {
    const done = await page.evaluate(async () => {
      const build = new URL(document.querySelector("script[src^='page.js']").src).searchParams.get("b");
      return (await caches.keys()).some((name) => name.startsWith(`skitterbat-${build}@`)) &&
             !!(await caches.match(`build.json?b=${build}`));
    });
    if (done) return;
    await sleep(200);
  }
}

async function toFirstMenu(page) {
  await page.goto(url, { waitUntil: "domcontentloaded" });
  for (;;) {
    const levels = await artLevels(page);
    if (levels.length) return levels[0][1];
    await sleep(20);
  }
}

const slow = SCREENS.map(() => []);
for (let run = 0; run < runs; ++run)
  for (const [index, [label, viewport, level]] of SCREENS.entries()) slow[index].push(await slowLoad(label, viewport, level));

const firstMenu = [], secondMenu = [];
let play = null;
for (let run = 0; run < runs; ++run) {
  const browser = await launch(newProfile());
  const page = await openPage(browser, 640, 640);
  await page.evaluateOnNewDocument(() => {
    window.framesShown = 0;
    const next = () => {
      ++window.framesShown;
      requestAnimationFrame(next);
    };
    requestAnimationFrame(next);
  });
  firstMenu.push(await toFirstMenu(page));
  if (run === runs - 1) {
    while (!(await waitedFor(page))) await sleep(100);
    await sleep(1000);
    await pressKey(page, "Enter");
    await sleep(2000);
    // Play, not the first game's note over a ball that waits.
    await pressKey(page, " ");
    await sleep(1000);
    const cdp = await page.createCDPSession();
    await cdp.send("Performance.enable");
    const sample = async () => {
      const [updates, frames, now] = await page.evaluate(() =>
        [Module._web_update_count(), window.framesShown, performance.now()]);
      const { metrics } = await cdp.send("Performance.getMetrics");
      const busy = metrics.find((metric) => metric.name === "TaskDuration").value;
      return { updates, frames, now, busy };
    };
    const a = await sample();
    await page.keyboard.down("ArrowRight");
    await sleep(5000);
    await page.keyboard.up("ArrowRight");
    await page.keyboard.down("ArrowLeft");
    await sleep(5000);
    await page.keyboard.up("ArrowLeft");
    const b = await sample();
    const seconds = (b.now - a.now) / 1000;
    play = { seconds, updates: (b.updates - a.updates) / seconds, frames: (b.frames - a.frames) / seconds,
             busy: (1000 * (b.busy - a.busy)) / (b.frames - a.frames) };
  }
  await kept(page);
  await page.close();
  const again = await openPage(browser, 640, 640);
  secondMenu.push(await toFirstMenu(again));
  console.log(`run ${run + 1}: first menu ${firstMenu[run].toFixed(0)} ms after navigation, ` +
              `on a second visit ${secondMenu[run].toFixed(0)} ms`);
  await browser.close();
}
server.close();

console.log("\nmedians of", runs, "runs:");
for (const [index, [label]] of SCREENS.entries()) {
  const results = slow[index];
  const pick = (key) => median(results.map((result) => result[key]));
  console.log(`${label}, 200 kB/s, 150 ms: ${kB(pick("bytes"))} before the first menu, bar moves at ` +
              `${Math.round(pick("bar"))} ms, first menu ${s(pick("menu"))} ` +
              `(${results.map((result) => s(result.menu)).join(", ")}), sharp art ${s(pick("sharp"))} ` +
              `(${results.map((result) => s(result.sharp)).join(", ")}), longest frame while it is decoded ` +
              `${Math.round(pick("swap"))} ms`);
}
console.log(`first menu, no throttling: ${Math.round(median(firstMenu))} ms ` +
            `(${firstMenu.map((ms) => Math.round(ms)).join(", ")})`);
console.log(`second visit, from the worker's cache: ${Math.round(median(secondMenu))} ms ` +
            `(${secondMenu.map((ms) => Math.round(ms)).join(", ")})`);
console.log(`steady play over ${play.seconds.toFixed(1)} s: ${play.updates.toFixed(1)} updates a second, ` +
            `${play.frames.toFixed(1)} animation frames a second, ${play.busy.toFixed(1)} ms of main-thread ` +
            `work a frame`);
