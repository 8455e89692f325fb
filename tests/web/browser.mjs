// The browser side of the web tests: Debian's headless Chromium on a private
// profile, pages whose console is kept, the canvas as pixels, key presses
// held as a player holds them, and the state file as IndexedDB stores it.
import { mkdtempSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import puppeteer from "puppeteer-core";

import { decodePng } from "./png.mjs";

const CHROMIUM = process.env.SKITTERBAT_CHROMIUM || "/usr/bin/chromium";

export function newProfile() {
  return mkdtempSync(join(tmpdir(), "skitterbat-web-profile-"));
}

export async function launch(profile, extraFlags = []) {
  return puppeteer.launch({
    executablePath: CHROMIUM,
    headless: "new",
    userDataDir: profile,
    args: [
      "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
      "--disable-background-networking", "--disable-component-update", "--disable-sync",
      "--no-first-run", "--disable-quic", "--autoplay-policy=user-gesture-required", ...extraFlags,
    ],
    protocolTimeout: 60000,
  });
}

// Counts the sounds Web Audio starts, so a test can see that an effect played.
function countSoundStarts() {
  window.soundsStarted = 0;
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (...args) {
    if (this.context.state === "running") window.soundsStarted += 1;
    return start.apply(this, args);
  };
}

export async function openPage(browser, width, height, hasTouch = false) {
  const page = await browser.newPage();
  page.lines = [];
  page.errors = [];
  page.requests = [];
  page.on("request", (request) => page.requests.push(request.url()));
  // A page without an icon of its own (the one the tests plant state from)
  // makes the browser ask for /favicon.ico; that 404 is no fault of the game.
  const favicon = (address) => (address || "").endsWith("/favicon.ico");
  page.on("console", (message) => {
    page.lines.push(message.text());
    if (message.type() === "error" && !favicon(message.location().url)) page.errors.push(message.text());
  });
  page.on("pageerror", (error) => page.errors.push(String(error)));
  page.on("requestfailed", (request) => page.errors.push(`request failed: ${request.url()}`));
  page.on("response", (response) => {
    if (response.status() >= 400 && !favicon(response.url())) page.errors.push(`${response.status()} for ${response.url()}`);
  });
  await page.setViewport({ width, height, hasTouch });
  await page.evaluateOnNewDocument(countSoundStarts);
  return page;
}

export const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// A slow link for the page from now on: the delay of each request, and bytes
// a second each way. Gives a function that lifts it.
export async function throttle(page, latencyMs, bytesPerSecond) {
  const cdp = await page.createCDPSession();
  await cdp.send("Network.enable");
  await cdp.send("Network.emulateNetworkConditions",
                 { offline: false, latency: latencyMs, downloadThroughput: bytesPerSecond, uploadThroughput: bytesPerSecond });
  return () => cdp.send("Network.emulateNetworkConditions",
                        { offline: false, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });
}

// Run in the page before its own scripts: notes in window.barMovedAt when
// the loading bar first shows more than nothing, on the page's own clock.
export function noteWhenTheBarMoves() {
  const look = setInterval(() => {
    const bar = document.getElementById("loading");
    if (!bar || !(Number(bar.getAttribute("aria-valuenow")) > 0)) return;
    window.barMovedAt = performance.now();
    clearInterval(look);
  }, 5);
}

export async function waitFor(what, predicate, timeoutMs = 30000, intervalMs = 150) {
  const deadline = Date.now() + timeoutMs;
  for (;;) {
    const result = await predicate();
    if (result) return result;
    if (Date.now() > deadline) throw new Error(`timed out after ${timeoutMs / 1000} s waiting for ${what}`);
    await sleep(intervalMs);
  }
}

export async function waitForLine(page, line, timeoutMs = 30000) {
  await waitFor(`"${line}" in the console`, () => page.lines.includes(line), timeoutMs);
}

// The canvas as the page shows it.
export async function canvasImage(page, path) {
  const canvas = await page.$("#canvas");
  const png = await canvas.screenshot({ path });
  return decodePng(Buffer.from(png));
}

// Software WebGL on a busy machine may show only a few frames a second, and
// the game sees a key only if an update runs while it is down: a press lasts
// some animation frames, as a player's would.
async function frames(page, count) {
  await page.evaluate((n) => new Promise((done) => {
    const next = () => (--n <= 0 ? done() : requestAnimationFrame(next));
    requestAnimationFrame(next);
  }), count);
}

export async function pressKey(page, key) {
  await page.keyboard.down(key);
  await Promise.all([frames(page, 4), sleep(120)]);
  await page.keyboard.up(key);
  await Promise.all([frames(page, 4), sleep(120)]);
}

// IDBFS keeps each file as a record keyed by its path in a database named
// after the mounted folder.
const STATE_DB = "/state";
const STATE_KEY = "/state/.cobaltstate";

export async function storedState(page) {
  return storedFile(page, STATE_KEY);
}

// A file of the state folder as IndexedDB holds it, or null.
export async function storedFile(page, path) {
  const bytes = await page.evaluate(
    (dbName, key) => new Promise((done, failed) => {
      const open = indexedDB.open(dbName);
      open.onerror = () => failed(open.error);
      open.onupgradeneeded = () => open.transaction.abort();
      open.onsuccess = () => {
        const db = open.result;
        if (!db.objectStoreNames.contains("FILE_DATA")) return done(null);
        const get = db.transaction("FILE_DATA").objectStore("FILE_DATA").get(key);
        get.onsuccess = () => {
          db.close();
          done(get.result ? Array.from(get.result.contents) : null);
        };
        get.onerror = () => failed(get.error);
      };
    }),
    STATE_DB, path);
  return bytes && Buffer.from(bytes);
}

export async function storeState(page, bytes) {
  await page.evaluate(
    (dbName, key, data) => new Promise((done, failed) => {
      const open = indexedDB.open(dbName);
      open.onerror = () => failed(open.error);
      open.onsuccess = () => {
        const db = open.result;
        const put = db.transaction("FILE_DATA", "readwrite").objectStore("FILE_DATA")
          .put({ timestamp: new Date(), mode: 0o100666, contents: new Uint8Array(data) }, key);
        put.onsuccess = () => {
          db.close();
          done();
        };
        put.onerror = () => failed(put.error);
      };
    }),
    STATE_DB, STATE_KEY, Array.from(bytes));
}
