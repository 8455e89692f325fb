#!/usr/bin/env node
// Measures the browser build in Debian's headless Chromium (software WebGL):
// the transfer size with gzip of every file and of what a 640x640 page fetches
// up to its first menu frame, the time from navigation to that frame on a
// first visit and on a second one (the files from the service worker's
// cache), updates and frames a second in steady play, and on a 200 kB/s link
// with 150 ms latency when the loading bar first moves, when it gives way to
// the game's loading screen and when the menu comes.
//   node bench/web_bench.mjs [build-web]
import { readFileSync } from "node:fs";
import { basename, join, resolve } from "node:path";
import { gzipSync } from "node:zlib";

import { serve } from "../web/serve.mjs";
import { canvasImage, launch, newProfile, openPage, pressKey, sleep, throttle } from "../tests/web/browser.mjs";

const build = resolve(process.argv[2] || "build-web");
const files = [...JSON.parse(readFileSync(join(build, "build.json"), "utf8")).files.map(([name]) => name), "sw.js"];
const MB = 1024 * 1024;
const mb = (bytes) => (bytes / MB).toFixed(2);
const gzipSize = {};
let total = 0;
for (const file of files) {
  const bytes = readFileSync(join(build, file));
  gzipSize[file] = gzipSync(bytes, { level: 9 }).length;
  total += gzipSize[file];
  console.log(`${file.padEnd(22)} ${mb(bytes.length).padStart(6)} MB, gzip ${mb(gzipSize[file])} MB`);
}
console.log(`all files (gzip): ${mb(total)} MB`);

const server = await serve(build);
const url = `http://127.0.0.1:${server.address().port}/`;

// The menu (and play) draw in many colours; the loading screen and an empty
// canvas in few. The loading screen's left edge is one colour.
async function menuShown(page) {
  const image = await canvasImage(page);
  const colours = new Set();
  for (let y = 0; y < image.height; y += 8)
    for (let x = 0; x < image.width; x += 8) colours.add(image.pixel(x, y).join());
  const [r, g, b] = image.pixel(10, 60);
  const loading = r === 40 && g === 40 && b === 80;
  return !loading && colours.size > 100;
}

// The page's clock counts from navigation; the last look adds its own latency.
async function toFirstMenu(page) {
  await page.goto(url, { waitUntil: "domcontentloaded" });
  while (!(await menuShown(page))) await sleep(20);
  return Math.round(await page.evaluate(() => performance.now()));
}

// Once the game has loaded, the page has the worker keep its build.
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

const firstMenu = [], secondMenu = [];
for (let run = 0; run < 3; ++run) {
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
  console.log(`run ${run + 1}: first menu frame ${firstMenu[run]} ms after navigation`);
  if (run === 0) {
    const fetched = [...new Set(page.requests.map((address) => basename(new URL(address).pathname) || "index.html"))]
      .filter((file) => file in gzipSize);
    const bytes = fetched.reduce((sum, file) => sum + gzipSize[file], 0);
    console.log(`fetched at 640x640 up to the menu (gzip): ${mb(bytes)} MB (${fetched.join(", ")})`);
  }
  if (run === 2) {
    await pressKey(page, "Enter");
    await sleep(2000);
    const sample = () => page.evaluate(() => [Module._web_update_count(), window.framesShown, performance.now()]);
    const [u0, f0, t0] = await sample();
    await page.keyboard.down("ArrowRight");
    await sleep(5000);
    await page.keyboard.up("ArrowRight");
    await page.keyboard.down("ArrowLeft");
    await sleep(5000);
    await page.keyboard.up("ArrowLeft");
    const [u1, f1, t1] = await sample();
    const seconds = (t1 - t0) / 1000;
    console.log(`steady play over ${seconds.toFixed(1)} s: ${((u1 - u0) / seconds).toFixed(1)} updates a second, ` +
                `${((f1 - f0) / seconds).toFixed(1)} animation frames a second`);
  }
  await kept(page);
  await page.close();
  const again = await openPage(browser, 640, 640);
  secondMenu.push(await toFirstMenu(again));
  console.log(`run ${run + 1}: second visit, first menu frame ${secondMenu[run]} ms after navigation`);
  await browser.close();
}
const list = (times) => times.map((ms) => `${ms} ms`).join(", ");
console.log(`navigation to the first menu frame: ${list(firstMenu)}`);
console.log(`the same on a second visit, from the worker's cache: ${list(secondMenu)}`);

// A slow link: the bar's first move and its end are looked for as the
// frames are.
{
  const browser = await launch(newProfile());
  const page = await openPage(browser, 640, 640);
  await throttle(page, 150, 200000);
  await page.goto(url, { waitUntil: "domcontentloaded" });
  const marks = {};
  const now = () => page.evaluate(() => Math.round(performance.now()));
  for (;;) {
    const bar = await page.evaluate(() => {
      const loading = document.getElementById("loading");
      return loading.hidden ? -1 : Number(loading.getAttribute("aria-valuenow"));
    });
    if (bar > 0 && !marks.moved) marks.moved = await now();
    if (bar < 0 && !marks.gone) marks.gone = await now();
    if (marks.gone && (await menuShown(page))) break;
    await sleep(20);
  }
  marks.menu = await now();
  console.log(`200 kB/s, 150 ms: the bar first moves at ${marks.moved} ms, gives way to the game's loading ` +
              `screen at ${marks.gone} ms, first menu frame at ${marks.menu} ms`);
  await browser.close();
}
server.close();
