#!/usr/bin/env node
// Measures the browser build in Debian's headless Chromium (software WebGL):
// the transfer size with gzip of every file and of what a 640x640 page fetches
// up to its first menu frame, the time from navigation to that frame, and
// updates and frames a second in steady play.
//   node bench/web_bench.mjs [build-web]
import { readFileSync } from "node:fs";
import { basename, join, resolve } from "node:path";
import { gzipSync } from "node:zlib";

import { serve } from "../web/serve.mjs";
import { canvasImage, launch, newProfile, openPage, pressKey, sleep } from "../tests/web/browser.mjs";

const build = resolve(process.argv[2] || "build-web");
const files = ["index.html", "page.js", "skitterbat.js", "skitterbat.wasm", "skitterbat.data",
               "skitterbat-hd.data", "skitterbat-hd2.data"];
const MB = 1024 * 1024;
const mb = (bytes) => (bytes / MB).toFixed(2);
const gzipSize = {};
let total = 0;
for (const file of files) {
  const bytes = readFileSync(join(build, file));
  gzipSize[file] = gzipSync(bytes, { level: 9 }).length;
  total += gzipSize[file];
  console.log(`${file.padEnd(20)} ${mb(bytes.length).padStart(6)} MB, gzip ${mb(gzipSize[file])} MB`);
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

const firstMenu = [];
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
  await page.goto(url, { waitUntil: "domcontentloaded" });
  while (!(await menuShown(page))) await sleep(20);
  // The page's clock counts from navigation; the last look adds its own latency.
  firstMenu.push(Math.round(await page.evaluate(() => performance.now())));
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
  await browser.close();
}
console.log(`navigation to the first menu frame: ${firstMenu.map((ms) => `${ms} ms`).join(", ")}`);
server.close();
