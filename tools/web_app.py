#!/usr/bin/env python3
"""Makes the page an installable, offline game, at build time.

    python3 tools/web_app.py SOURCE_DIR SITE_DIR VERSION

Run after emscripten has written rillo.js, rillo.wasm and rillo.data into
SITE_DIR. It

- packs the files of data/src into rillo.data, each with gzip (the page
  unpacks them itself, the intro first);
- draws the icons (192 and 512 pixels, and a maskable 512) from the intro
  picture of data/src, and takes the page's colours from the pictures: the
  background is the intro's commonest colour, the theme the board's;
- writes manifest.webmanifest;
- fills web/index.html with the game's texts (tools/web_texts.py), the
  colours and the sizes of the files the loader counts;
- writes sw.js from web/sw.js with the list of the site's files and a cache
  named after the version and a hash of those files, so a new build is a new
  cache.
"""
import gzip
import hashlib
import json
import os
import struct
import sys
import zlib
from collections import Counter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import web_texts  # noqa: E402  (the tool beside this one)

# The data files the game needs for its first picture and its first steps
# (the intro, and the table it copies into the browser's storage); the page
# unpacks them first and the rest while the intro is on view.
FIRST_FILES = ["intro.bmp", "Highscore.txt"]
# The files the loader fetches, in the order it counts them.
LOADED = ["rillo.js", "rillo.wasm", "rillo.data"]
ICONS = [("icon-192.png", 192, False), ("icon-512.png", 512, False), ("icon-maskable-512.png", 512, True)]
# Every file of the site except the service worker itself, which the
# browser fetches on its own.
SITE = ["index.html", "rillo.css", *LOADED, "manifest.webmanifest", *[name for name, _, _ in ICONS]]

# The square of the intro picture the icons show: the name, the words and the
# row of discs.
ICON_CROP = (180, 75, 440)
# A maskable icon may lose everything outside a circle of 80 % of its side;
# the picture fills a square inside it, on the background colour.
MASKABLE_SHARE = 0.56


def read_bitmap(path):
    """A 24-bit Windows bitmap as (width, height, rows of (r, g, b)), top row first."""
    with open(path, "rb") as file:
        data = file.read()
    if data[:2] != b"BM":
        sys.exit(f"{path}: not a bitmap")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    depth = struct.unpack_from("<H", data, 28)[0]
    if depth != 24 or width <= 0 or height == 0:
        sys.exit(f"{path}: not a 24-bit bitmap")
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(abs(height)):
        line = y if height < 0 else abs(height) - 1 - y
        start = offset + line * stride
        raw = data[start:start + width * 3]
        rows.append([(raw[x + 2], raw[x + 1], raw[x]) for x in range(0, width * 3, 3)])
    return width, abs(height), rows


def commonest_colour(rows):
    return Counter(pixel for row in rows for pixel in row).most_common(1)[0][0]


def hex_colour(colour):
    return "#{:02x}{:02x}{:02x}".format(*colour)


def scaled(rows, left, top, side, size):
    """The square (left, top, side) of rows shrunk to size by size, each
    pixel the mean of the source pixels it covers."""
    out = []
    for y in range(size):
        y0, y1 = top + y * side // size, top + (y + 1) * side // size
        line = []
        for x in range(size):
            x0, x1 = left + x * side // size, left + (x + 1) * side // size
            block = [rows[sy][sx] for sy in range(y0, max(y1, y0 + 1)) for sx in range(x0, max(x1, x0 + 1))]
            line.append(tuple(round(sum(p[c] for p in block) / len(block)) for c in range(3)))
        out.append(line)
    return out


def icon(rows, size, maskable, background):
    left, top, side = ICON_CROP
    if not maskable:
        return scaled(rows, left, top, side, size)
    inner = round(size * MASKABLE_SHARE)
    picture = scaled(rows, left, top, side, inner)
    margin = (size - inner) // 2
    canvas = [[background] * size for _ in range(size)]
    for y in range(inner):
        canvas[margin + y][margin:margin + inner] = picture[y]
    return canvas


def png(rows):
    """An 8-bit RGB PNG of rows of (r, g, b)."""
    height, width = len(rows), len(rows[0])

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def write(path, data):
    """Writes through a file beside the target, so a stopped build leaves no half file."""
    mode = "wb" if isinstance(data, bytes) else "w"
    with open(path + ".new", mode, **({} if mode == "wb" else {"encoding": "utf-8"})) as file:
        file.write(data)
    os.replace(path + ".new", path)


def pack_data(source, site):
    """Writes rillo.data: each file of data/src packed with gzip on its own,
    one after the other, the files the first picture needs first. Returns
    the index the page unpacks them by: [name, offset, packed size, size]."""
    folder = os.path.join(source, "data", "src")
    names = sorted(os.listdir(folder), key=lambda name: (name not in FIRST_FILES, name))
    index, packed = [], b""
    for name in names:
        with open(os.path.join(folder, name), "rb") as file:
            data = file.read()
        part = gzip.compress(data, 9, mtime=0)
        index.append([name, len(packed), len(part), len(data)])
        packed += part
    write(os.path.join(site, "rillo.data"), packed)
    return index


def manifest(texts, theme, background):
    return json.dumps({
        "name": texts["WindowTitle"],
        "short_name": texts["WindowTitle"],
        "description": texts["PageDescription"],
        "lang": "de",
        "id": "./",
        "start_url": "./",
        "scope": "./",
        "display": "standalone",
        "theme_color": theme,
        "background_color": background,
        "icons": [{"src": name, "sizes": f"{size}x{size}", "type": "image/png",
                   "purpose": "maskable" if maskable else "any"} for name, size, maskable in ICONS],
    }, ensure_ascii=False, indent=2) + "\n"


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    source, site, version = sys.argv[1:]
    texts = web_texts.read_texts(os.path.join(source, "game", "texts.h"))
    pictures = os.path.join(source, "data", "src")
    _, _, intro = read_bitmap(os.path.join(pictures, "intro.bmp"))
    _, _, board = read_bitmap(os.path.join(pictures, "spielfeld.bmp"))
    background = commonest_colour(intro)
    theme = hex_colour(commonest_colour(board))

    data_index = pack_data(source, site)
    for name, size, maskable in ICONS:
        write(os.path.join(site, name), png(icon(intro, size, maskable, background)))
    write(os.path.join(site, "manifest.webmanifest"), manifest(texts, theme, hex_colour(background)))

    sizes = {name: os.path.getsize(os.path.join(site, name)) for name in LOADED}
    page_values = dict(texts, ThemeColour=theme, BackgroundColour=hex_colour(background),
                       LoadedSizes=sizes, DataFiles=data_index, FirstFiles=len(FIRST_FILES))
    with open(os.path.join(source, "web", "index.html"), encoding="utf-8") as file:
        write(os.path.join(site, "index.html"), web_texts.fill(file.read(), page_values))

    digest = hashlib.sha256()
    for name in SITE:
        with open(os.path.join(site, name), "rb") as file:
            digest.update(name.encode() + b"\0" + file.read())
    with open(os.path.join(source, "web", "sw.js"), encoding="utf-8") as file:
        worker = file.read()
    for key, value in {"CacheName": f"rillo-{version}-{digest.hexdigest()[:16]}", "SiteFiles": SITE}.items():
        if "{{" + key + "}}" not in worker:
            sys.exit(f"web/sw.js lacks {{{{{key}}}}}")
        worker = worker.replace("{{" + key + "}}", json.dumps(value))
    write(os.path.join(site, "sw.js"), worker)


if __name__ == "__main__":
    main()
