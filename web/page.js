// The page around the game: the canvas takes the keyboard and stops the keys
// the game uses from scrolling the page, touches become the mouse's left
// button, and a browser without WebGL is told so instead of showing nothing.
"use strict";

(function () {
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

  // The first finger down is the mouse's left button at that point, as the
  // desktop treats the pointer; the browser's own touch handling is stopped.
  let finger = null;
  function asMouse(type, touch) {
    canvas.dispatchEvent(new MouseEvent(type, {
      bubbles: true, cancelable: true, view: window, button: 0, buttons: type === "mouseup" ? 0 : 1,
      clientX: touch.clientX, clientY: touch.clientY, screenX: touch.screenX, screenY: touch.screenY,
    }));
  }
  function touchOf(event) {
    for (const touch of event.changedTouches) if (touch.identifier === finger) return touch;
    return null;
  }
  function onTouch(event) {
    if (event.target !== canvas) return;
    event.preventDefault();
    event.stopPropagation();
    canvas.focus();
    if (event.type === "touchstart") {
      if (finger !== null) return;
      const touch = event.changedTouches[0];
      finger = touch.identifier;
      asMouse("mousemove", touch);
      asMouse("mousedown", touch);
      return;
    }
    const touch = touchOf(event);
    if (!touch) return;
    if (event.type === "touchmove") {
      asMouse("mousemove", touch);
    } else {
      finger = null;
      asMouse("mouseup", touch);
    }
  }
  for (const type of ["touchstart", "touchmove", "touchend", "touchcancel"])
    window.addEventListener(type, onTouch, { capture: true, passive: false });

  window.Module = {
    canvas: canvas,
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
  game.src = "skitterbat.js";
  game.onerror = () => say("The game's files could not be loaded. Reload the page to try again.");
  document.body.appendChild(game);
})();
