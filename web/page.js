// The page around the game: the game's files are fetched under the page's
// build stamp with a bar that counts their bytes, the canvas takes the
// keyboard and stops the keys the game uses from scrolling the page (the game
// takes the touches itself), and a browser without WebGL is told so instead
// of showing nothing.
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

  // Every byte the game needs before its first menu counts on the bar from
  // the first one: the program's script and wasm and the first menu's data,
  // whose sizes the build wrote on this script's tag. The bar only ever moves
  // forward.
  const sizes = new Map();
  for (const entry of (document.currentScript.dataset.bytes || "").split(/\s+/)) {
    const [name, size] = entry.split(":");
    if (name && Number(size) > 0) sizes.set(name, Number(size));
  }
  const total = [...sizes.values()].reduce((sum, size) => sum + size, 0);
  let arrived = 0;
  let shown = 0;
  function showProgress() {
    if (total <= 0) return;
    const percent = Math.min(100, Math.floor((100 * arrived) / total));
    if (percent <= shown) return;
    shown = percent;
    document.getElementById("loading-fill").style.width = `${percent}%`;
    document.getElementById("loading-text").textContent = `Loading… ${percent} %`;
    loading.setAttribute("aria-valuenow", String(percent));
  }

  // A file's body, passed on as it arrives and counted on the bar. The three
  // downloads go side by side from the start; the wasm is compiled as it comes.
  const downloads = new AbortController();
  async function counted(name) {
    const response = await fetch(stamped(name), { signal: downloads.signal });
    if (!response.ok) throw new Error(`${name}: HTTP ${response.status}`);
    const reader = response.body.getReader();
    return new ReadableStream({
      async pull(stream) {
        const { done, value } = await reader.read();
        if (done) {
          stream.close();
          return;
        }
        arrived += value.length;
        showProgress();
        stream.enqueue(value);
      },
    });
  }
  const whole = (body) => new Response(body).arrayBuffer();
  const script = counted("skitterbat.js").then(whole);
  const wasm = counted("skitterbat.wasm").then((body) => {
    const response = new Response(body, { headers: { "Content-Type": "application/wasm" } });
    if (WebAssembly.compileStreaming) return WebAssembly.compileStreaming(response);
    return response.arrayBuffer().then((bytes) => WebAssembly.compile(bytes));
  });
  const data = counted("skitterbat.data").then(whole);
  let failed = false;
  const cannotLoad = (error) => {
    if (failed || downloads.signal.aborted) return;
    failed = true;
    console.warn(`The game's files could not be loaded: ${error.message || error}`);
    say("The game's files could not be loaded. Reload the page to try again.");
  };
  for (const file of [script, wasm, data]) file.catch(cannotLoad);

  function webglOffered() {
    try {
      const probe = document.createElement("canvas");
      return !!(window.WebGLRenderingContext && (probe.getContext("webgl") || probe.getContext("experimental-webgl")));
    } catch (error) {
      return false;
    }
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
    monitorRunDependencies: () => {},
    firstDataDownload: data,
    instantiateWasm: (imports, receive) => {
      wasm.then((module) => WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module)))
        .catch(cannotLoad);
      return {};
    },
    onAbort: (what) => {
      if (!failed) say("The game stopped: " + what + ". Reload the page to play again.");
    },
    onExit: (status) => {
      if (status !== 0) say("The game could not start. Reload the page to try again.");
    },
    // The game's own loading screen takes over from here.
    onRuntimeInitialized: () => {
      loading.hidden = true;
      canvas.focus();
    },
  };

  // WebGL is looked for once the script has come: on a software renderer the
  // look holds the page up for a while, which the bar spends moving instead.
  script.then((source) => {
    if (!webglOffered()) {
      downloads.abort();
      say("Skitterbat needs WebGL, which this browser does not offer or has switched off. " +
          "Turn on hardware acceleration in the browser's settings, or try another browser.");
      return;
    }
    const game = document.createElement("script");
    game.text = new TextDecoder().decode(source);
    document.body.appendChild(game);
  }, () => {});
})();
