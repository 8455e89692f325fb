// The page around the game: the game's files are fetched under the page's
// build stamp, the canvas takes the keyboard and stops the keys the game uses
// from scrolling the page (the game takes the touches itself), and a browser
// without WebGL is told so instead of showing nothing.
"use strict";

(function () {
  // The build stamped on this script's address: every file the page fetches
  // carries it, so no cache hands the page a file of another build.
  const build = new URL(document.currentScript.src).searchParams.get("b") || "";
  const stamped = (path) => (/^[0-9a-f]{16}$/.test(build) ? `${path}?b=${build}` : path);

  const canvas = document.getElementById("canvas");
  const message = document.getElementById("message");
  const loading = document.getElementById("loading");

  function say(text) {
    message.textContent = text;
    message.hidden = !text;
    if (text) loading.hidden = true;
  }

  // emscripten reports the preloaded data, the bulk of the download, as
  // "Downloading data... (arrived/total)"; the bar only ever moves forward.
  let shown = 0;
  function showProgress(text) {
    const counts = /\((\d+)\/(\d+)\)/.exec(text);
    if (!counts || Number(counts[2]) <= 0) return;
    const percent = Math.min(100, Math.floor((100 * Number(counts[1])) / Number(counts[2])));
    if (percent <= shown) return;
    shown = percent;
    document.getElementById("loading-fill").style.width = `${percent}%`;
    document.getElementById("loading-text").textContent = `Loading… ${percent} %`;
    loading.setAttribute("aria-valuenow", String(percent));
  }

  function webglOffered() {
    try {
      const probe = document.createElement("canvas");
      return !!(window.WebGLRenderingContext && (probe.getContext("webgl") || probe.getContext("experimental-webgl")));
    } catch (error) {
      return false;
    }
  }

  if (!webglOffered()) {
    say("Skitterbat needs WebGL, which this browser does not offer or has switched off. " +
        "Turn on hardware acceleration in the browser's settings, or try another browser.");
    return;
  }

  // Arrows, Space, Page Up/Down, Home and End scroll; Backspace and Tab navigate.
  const pageKeys = new Set([8, 9, 32, 33, 34, 35, 36, 37, 38, 39, 40]);
  window.addEventListener("keydown", (event) => {
    if (pageKeys.has(event.keyCode)) event.preventDefault();
  }, true);

  canvas.addEventListener("mousedown", () => canvas.focus());

  window.Module = {
    canvas: canvas,
    locateFile: (path, prefix) => prefix + stamped(path),
    print: (line) => console.log(line),
    // emscripten's notes (such as the GL emulation's) are not failures.
    printErr: (line) => console.warn(line),
    setStatus: showProgress,
    monitorRunDependencies: () => {},
    onAbort: (what) => say("The game stopped: " + what + ". Reload the page to play again."),
    onExit: (status) => {
      if (status !== 0) say("The game could not start. Reload the page to try again.");
    },
    // The game's own loading screen takes over from here.
    onRuntimeInitialized: () => {
      loading.hidden = true;
      canvas.focus();
    },
  };

  const game = document.createElement("script");
  game.src = stamped("skitterbat.js");
  game.onerror = () => say("The game's files could not be loaded. Reload the page to try again.");
  document.body.appendChild(game);
})();
