// Decodes the 8-bit, non-interlaced RGB and RGBA PNG files that Chromium's
// screenshots are, and reads the binary PPM files the native helper writes.
import { inflateSync } from "node:zlib";

export function decodePng(bytes) {
  let width = 0, height = 0, depth = 0, colour = 0, interlace = 0;
  const data = [];
  for (let at = 8; at < bytes.length;) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString("latin1", at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === "IHDR") {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      depth = body[8];
      colour = body[9];
      interlace = body[12];
    } else if (type === "IDAT") {
      data.push(body);
    }
    at += 12 + length;
  }
  if (depth !== 8 || (colour !== 2 && colour !== 6) || interlace !== 0)
    throw new Error(`unsupported PNG: depth ${depth}, colour type ${colour}, interlace ${interlace}`);
  const channels = colour === 6 ? 4 : 3;
  const raw = inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const rows = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    const out = rows.subarray(y * stride, (y + 1) * stride);
    const up = y > 0 ? rows.subarray((y - 1) * stride, y * stride) : Buffer.alloc(stride);
    for (let i = 0; i < stride; ++i) {
      const a = i >= channels ? out[i - channels] : 0;
      const b = up[i];
      const c = i >= channels ? up[i - channels] : 0;
      let value = line[i];
      if (filter === 1) value += a;
      else if (filter === 2) value += b;
      else if (filter === 3) value += (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        value += pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      out[i] = value & 255;
    }
  }
  return toImage(width, height, rows, channels);
}

export function decodePpm(bytes) {
  const header = bytes.toString("latin1", 0, 64).match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  if (!header) throw new Error("not a binary PPM");
  const [, width, height] = header.map(Number);
  return toImage(width, height, bytes.subarray(header[0].length), 3);
}

function toImage(width, height, pixels, channels) {
  return {
    width,
    height,
    pixel(x, y) {
      const at = (y * width + x) * channels;
      return [pixels[at], pixels[at + 1], pixels[at + 2]];
    },
  };
}
