// The page's replays: a replay file dropped on the page or opened with the
// button in the corner (or Tab, then Enter) plays at once, an address ending
// in #replay= and a replay in base64url plays on opening, and a replay the
// game exports comes with such a link when it is small enough to travel in
// one. The game itself reads and refuses the files, over its menu.
"use strict";

(function () {
  const game = window.Module;
  if (!game) return; // page.js found no WebGL and said so

  // A link holds a replay of up to 16 KB: some 22,000 characters of address.
  const LINK_BYTES = 16 * 1024;
  const canvas = document.getElementById("canvas");
  const button = document.getElementById("open-replay");
  const picker = document.getElementById("replay-file");
  const note = document.getElementById("note");

  let noteTimer = 0;
  function showNote(text, link) {
    clearTimeout(noteTimer);
    note.textContent = text;
    if (link) {
      const field = document.createElement("input");
      field.readOnly = true;
      field.value = link;
      field.setAttribute("aria-label", "Link to the replay");
      note.appendChild(field);
    }
    note.hidden = false;
    if (link) note.querySelector("input").select();
    noteTimer = setTimeout(() => { note.hidden = true; }, link ? 30000 : 8000);
  }
  note.addEventListener("click", (event) => {
    if (event.target === note) note.hidden = true;
  });

  // What is handed over before the game runs waits for it; the game itself
  // waits for its menu.
  let running = false;
  const waiting = [];
  function whenRunning(hand) {
    if (running) hand();
    else waiting.push(hand);
  }

  // No replay is larger than the game's limit: a larger file goes over cut
  // there, and the game refuses it by its own reading.
  function watch(bytes, name) {
    whenRunning(() => {
      const file = bytes.subarray(0, game._web_replay_max_bytes());
      const text = new TextEncoder().encode(`${name}\0`);
      // Each buffer may grow the heap: the view is taken after it.
      const at = game._web_replay_file_buffer(file.length);
      game.HEAPU8.set(file, at);
      game.HEAPU8.set(text, game._web_replay_name_buffer(text.length));
      game._web_watch_replay();
    });
  }

  function watchFile(file) {
    if (!file) return;
    whenRunning(async () => {
      try {
        watch(new Uint8Array(await file.slice(0, game._web_replay_max_bytes()).arrayBuffer()), file.name);
      } catch (error) {
        showNote(`${file.name} could not be read: ${error.message}`);
      }
    });
  }

  const base64url = (bytes) => {
    let text = "";
    for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    return btoa(text).replace(/\+/g, "-").replace(/\//g, "_").replace(/=+$/, "");
  };

  // Throws on a link that is not base64url.
  function fromBase64url(text) {
    if (!/^[A-Za-z0-9_-]*$/.test(text) || text.length % 4 === 1) throw new Error("not base64url");
    const binary = atob(text.replace(/-/g, "+").replace(/_/g, "/"));
    return Uint8Array.from(binary, (c) => c.charCodeAt(0));
  }

  // The link is read once: the address loses it, so a reload does not play it again.
  function watchLink() {
    const match = /^#replay=(.*)$/s.exec(location.hash);
    if (!match) return;
    history.replaceState(null, "", location.pathname + location.search);
    let bytes;
    try {
      bytes = fromBase64url(match[1]);
    } catch (error) {
      showNote("This replay link is damaged: it holds characters a replay link does not.");
      console.warn("link: not a replay: it is not base64url");
      return;
    }
    watch(bytes, "link");
  }

  // --- the button and its keys
  game.showPageControls = (shown) => {
    button.hidden = !shown;
    if (!shown && document.activeElement === button) canvas.focus();
  };
  // The picker is modal: when it closes, picked or not, the keys are the game's again.
  button.addEventListener("click", () => {
    picker.click();
    canvas.focus();
  });
  picker.addEventListener("change", () => {
    const file = picker.files[0];
    picker.value = "";
    watchFile(file);
  });
  // Registered after page.js's and before the game's, so the game never sees
  // the keys that go to the button: Tab reaches it, Enter or Space opens the
  // picker, Escape or Tab goes back to the game.
  window.addEventListener("keydown", (event) => {
    if (event.target === button) {
      event.stopImmediatePropagation();
      if (event.key === "Enter" || event.key === " ") {
        event.preventDefault();
        button.click();
      } else if (event.key === "Escape" || event.key === "Tab") {
        event.preventDefault();
        canvas.focus();
      }
    } else if (event.key === "Tab" && !button.hidden) {
      event.preventDefault();
      event.stopImmediatePropagation();
      button.focus();
    }
  }, true);
  window.addEventListener("keypress", (event) => {
    if (event.target === button) event.stopImmediatePropagation();
  }, true);

  // --- dropped files; left alone, the browser would open the file in place of the game
  const carriesFiles = (event) => event.dataTransfer && Array.from(event.dataTransfer.types).includes("Files");
  window.addEventListener("dragover", (event) => {
    if (!carriesFiles(event)) return;
    event.preventDefault();
    event.dataTransfer.dropEffect = "copy";
  }, true);
  window.addEventListener("drop", (event) => {
    if (!carriesFiles(event)) return;
    event.preventDefault();
    event.stopPropagation();
    watchFile(event.dataTransfer.files[0]);
  }, true);

  // --- exports
  game.onDownloadOffered = (name, bytes) => {
    if (!name.endsWith(".replay") || bytes.length > LINK_BYTES) {
      showNote(`${name} is in your downloads.`);
      return;
    }
    const link = `${location.origin}${location.pathname}#replay=${base64url(bytes)}`;
    const shown = () => showNote(`${name} is in your downloads. This link plays it too:`, link);
    if (!navigator.clipboard || !navigator.clipboard.writeText) return shown();
    navigator.clipboard.writeText(link).then(
      () => showNote(`${name} is in your downloads, and a link that plays it is on the clipboard.`), shown);
  };

  const started = game.onRuntimeInitialized;
  game.onRuntimeInitialized = () => {
    if (started) started();
    running = true;
    button.hidden = false;
    for (const hand of waiting.splice(0)) hand();
  };
  window.addEventListener("hashchange", watchLink);
  watchLink();
})();
