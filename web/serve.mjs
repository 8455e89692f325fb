// Serves a folder over HTTP on 127.0.0.1 only: the page, its script, wasm,
// data, manifest and icons with the types browsers insist on, the text and
// the wasm compressed with gzip as static hosts send them (the data packages
// and icons as they are). Used by scripts/web --serve and by the browser tests.
import { createReadStream } from "node:fs";
import { readFile, stat } from "node:fs/promises";
import { createServer } from "node:http";
import { extname, join, normalize, resolve, sep } from "node:path";
import { pathToFileURL } from "node:url";
import { gzipSync } from "node:zlib";

const TYPES = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".mjs": "text/javascript; charset=utf-8",
  ".wasm": "application/wasm",
  ".data": "application/octet-stream",
  ".png": "image/png",
  ".json": "application/json",
  ".webmanifest": "application/manifest+json",
};

const COMPRESSED = new Set([".html", ".js", ".mjs", ".wasm", ".json", ".webmanifest"]);

// Each file compressed once, again only when it changes.
const gzipped = new Map();
async function gzipOf(file, tag) {
  const kept = gzipped.get(file);
  if (kept && kept.tag === tag) return kept.bytes;
  const bytes = gzipSync(await readFile(file), { level: 9 });
  gzipped.set(file, { tag, bytes });
  return bytes;
}

export function serve(folder, port = 0) {
  const root = resolve(folder);
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, "http://x").pathname);
    const file = normalize(join(root, path.endsWith("/") ? path + "index.html" : path));
    if (file !== root && !file.startsWith(root + sep)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const info = await stat(file);
      if (!info.isFile()) throw new Error("not a file");
      // As static hosts do: a copy the browser already holds is confirmed,
      // not sent again.
      const version = `${info.size.toString(16)}-${Math.floor(info.mtimeMs).toString(16)}`;
      const gzip = COMPRESSED.has(extname(file)) && /\bgzip\b/.test(request.headers["accept-encoding"] || "");
      const tag = gzip ? `"${version}-gzip"` : `"${version}"`;
      const headers = { "Cache-Control": "no-cache", ETag: tag, Vary: "Accept-Encoding" };
      if (request.headers["if-none-match"] === tag) {
        response.writeHead(304, headers).end();
        return;
      }
      headers["Content-Type"] = TYPES[extname(file)] || "application/octet-stream";
      const body = gzip ? await gzipOf(file, tag) : null;
      if (body) headers["Content-Encoding"] = "gzip";
      headers["Content-Length"] = body ? body.length : info.size;
      response.writeHead(200, headers);
      if (request.method === "HEAD") response.end();
      else if (body) response.end(body);
      else createReadStream(file).pipe(response);
    } catch {
      response.writeHead(404, { "Content-Type": "text/plain" }).end("not found\n");
    }
  });
  return new Promise((done, failed) => {
    server.once("error", failed);
    server.listen(port, "127.0.0.1", () => done(server));
  });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const folder = process.argv[2] || ".";
  const wanted = Number(process.argv[3] || 8000);
  let server = null;
  for (let port = wanted; !server && port < wanted + 20; ++port) {
    try {
      server = await serve(folder, port);
    } catch (error) {
      if (error.code !== "EADDRINUSE") throw error;
    }
  }
  if (!server) {
    console.error(`No free port from ${wanted} on 127.0.0.1`);
    process.exit(1);
  }
  console.log(`Skitterbat is at http://127.0.0.1:${server.address().port}/ (Ctrl+C stops serving)`);
}
