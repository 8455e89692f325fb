// The page's side of its service worker: once the game has what it needs to
// start, the worker is asked to keep this page's build for offline play, and
// it is told which build the page runs whenever it asks, so that it deletes
// no cache a page still runs from. Only where the browser offers service
// workers (https, or http from 127.0.0.1 and localhost); elsewhere the page
// plays from the network as before.
"use strict";

(function () {
  const build = new URL(document.currentScript.src).searchParams.get("b") || "";
  if (!("serviceWorker" in navigator) || !/^[0-9a-f]{16}$/.test(build)) return;

  navigator.serviceWorker.addEventListener("message", (event) => {
    if (event.data === "build?" && event.ports[0]) event.ports[0].postMessage(build);
  });
  if (navigator.serviceWorker.startMessages) navigator.serviceWorker.startMessages();

  // The worker fetches the whole build, every art level too: it waits until
  // the game has all it asked for behind its first menu (the effects, and
  // the art its window needs) rather than share the link with it.
  const busy = new Set(["queued", "fetching", "waiting"]);
  function gameLoaded() {
    const game = window.Module;
    if (!game || !game.calledRun || game.lateDataWaiting !== false) return false;
    return !Object.values(game.dataPackages || {}).some((pack) => busy.has(pack.state));
  }
  let looks = 0;
  const watch = setInterval(() => {
    looks = gameLoaded() ? looks + 1 : 0;
    if (looks < 2) return;
    clearInterval(watch);
    navigator.serviceWorker.register("sw.js")
      .then(() => navigator.serviceWorker.ready)
      .then((registration) => registration.active.postMessage({ keep: build, since: performance.timeOrigin || Date.now() - performance.now() }))
      .catch((error) => console.warn(`The game cannot be kept for offline play: ${error.message}`));
  }, 1000);
})();
