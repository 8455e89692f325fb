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

  function say(text) {
    message.textContent = text;
    message.hidden = !text;
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
    setStatus: (text) => say(text ? "Loading…" : ""),
    monitorRunDependencies: () => {},
    onAbort: (what) => say("The game stopped: " + what + ". Reload the page to play again."),
    onExit: (status) => {
      if (status !== 0) say("The game could not start. Reload the page to try again.");
    },
    onRuntimeInitialized: () => {
      say("");
      canvas.focus();
    },
  };

  const game = document.createElement("script");
  game.src = stamped("skitterbat.js");
  game.onerror = () => say("The game's files could not be loaded. Reload the page to try again.");
  document.body.appendChild(game);
})();
