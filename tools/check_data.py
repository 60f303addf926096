#!/usr/bin/env python3
"""Checks Rillo's run-time data in data/src/ (or the folder given as argument).

Bitmaps: uncompressed 24-bit BMP with the 40-byte header and the expected size.
Menu: the drawn buttons lie inside their click areas, and nothing else is drawn
near them. Board: a hole at every disc centre, round and big enough for a disc,
and dark fields where the player names are written in white. Highscore screen:
dark bands where the white table text goes. Sounds: mono 22050 Hz 16-bit PCM of
the right length. Highscore.txt: ten lines "name moves", fewest moves first.
Every position the program draws or clicks at is read from game/layout.h
through tools/layout.py, so the pictures are checked against the program's
own geometry.

Exits with status 1 and lists the failures when any check fails.
"""
import math
import os
import re
import struct
import sys

import layout

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "data", "src")
L, ARRAYS, MENU_AREAS = layout.read()

failures = []
passed = 0


def check(ok, what):
    global passed
    if ok:
        passed += 1
    else:
        failures.append(what)
    return ok


class Bitmap:
    """A 24-bit bottom-up BMP; pixel(x, y) with y downward, as on screen."""

    def __init__(self, name, width, height):
        self.name = name
        self.ok = False
        with open(os.path.join(DATA, name), "rb") as f:
            data = f.read()
        if not check(len(data) >= 54 and data[:2] == b"BM", f"{name}: not a BMP file"):
            return
        file_size = struct.unpack_from("<I", data, 2)[0]
        offset = struct.unpack_from("<I", data, 10)[0]
        header, w, h, planes, bpp, compression, image_size = struct.unpack_from("<IiiHHII", data, 14)
        stride = (w * 3 + 3) // 4 * 4
        checks = [
            (file_size == len(data), f"file size field {file_size}, file has {len(data)} bytes"),
            (header == 40, f"info header of {header} bytes, not 40"),
            ((w, h) == (width, height), f"size {w}x{h}, expected {width}x{height}"),
            (planes == 1, f"{planes} planes"),
            (bpp == 24, f"{bpp} bits per pixel, not 24"),
            (compression == 0, f"compression {compression}, not BI_RGB"),
            (image_size in (0, stride * abs(h)), f"image size field {image_size}"),
            (offset + stride * abs(h) <= len(data), "pixel data cut short"),
        ]
        good = True
        for ok, what in checks:
            good = check(ok, f"{name}: {what}") and good
        if not good:
            return
        self.ok = True
        self.w, self.h, self.stride, self.offset, self.data = w, h, stride, offset, data
        self.bottom_up = h > 0
        self.h = abs(h)

    def pixel(self, x, y):
        row = self.h - 1 - y if self.bottom_up else y
        i = self.offset + row * self.stride + x * 3
        b, g, r = self.data[i], self.data[i + 1], self.data[i + 2]
        return (r, g, b)


def luminance(p):
    r, g, b = p
    return 0.299 * r + 0.587 * g + 0.114 * b


def rect_pixels(x1, y1, x2, y2):
    for y in range(y1, y2 + 1):
        for x in range(x1, x2 + 1):
            yield x, y


# ----------------------------------------------------------------- files present
EXPECTED = {
    "intro.bmp", "menue.bmp", "spielfeld.bmp", "highscore.bmp", "credits.bmp",
    "spieler1.bmp", "spieler2.bmp", "compuleicht.bmp", "compuschwer.bmp",
    "fallen.wav", "voll.wav", "gewonnen.wav", "Highscore.txt",
}
present = set(os.listdir(DATA))
check(EXPECTED <= present, f"missing files: {sorted(EXPECTED - present)}")
# Windows ignores case, so two names that differ only in case would collide.
lower = [n.lower() for n in present]
check(len(lower) == len(set(lower)), "file names that differ only in case")
if not EXPECTED <= present:
    print("\n".join("FAIL " + f for f in failures))
    sys.exit(1)

# ----------------------------------------------------------------- bitmap headers
screens = {n: Bitmap(n, L["ScreenPictureWidth"], L["ScreenPictureHeight"]) for n in
           ("intro.bmp", "menue.bmp", "spielfeld.bmp", "highscore.bmp", "credits.bmp")}
turns = {n: Bitmap(n, L["TurnPictureWidth"], L["TurnPictureHeight"]) for n in ("spieler1.bmp", "spieler2.bmp")}
levels = {n: Bitmap(n, L["LevelPictureWidth"], L["LevelPictureHeight"])
          for n in ("compuleicht.bmp", "compuschwer.bmp")}

# ----------------------------------------------------------------- menu buttons
BUTTON = (0xF6, 0xC2, 0x1C)  # button face
INK = (0x0B, 0x1E, 0x4A)     # button label
# Click areas, inclusive; the strip two areas share is kept free, so each
# button stays within its own part (tools/layout.py).
AREAS = [(area[4], *part) for area, part in zip(MENU_AREAS, layout.menu_parts(MENU_AREAS))]
menu = screens["menue.bmp"]
if menu.ok:
    for label, x1, y1, x2, y2 in AREAS:
        area = (x2 - x1 + 1) * (y2 - y1 + 1)
        face = sum(menu.pixel(x, y) == BUTTON for x, y in rect_pixels(x1, y1, x2, y2))
        drawn = sum(menu.pixel(x, y) != menu.pixel(2, y) for x, y in rect_pixels(x1, y1, x2, y2))
        ink = sum(menu.pixel(x, y) == INK for x, y in rect_pixels(x1, y1, x2, y2))
        # The button covers most of its area, so what is seen is where a click counts.
        check(drawn >= area * 7 // 10, f"menue.bmp: button '{label}' covers only {drawn} of {area} pixels")
        check(face >= area // 3, f"menue.bmp: button '{label}' has only {face} pixels of button colour")
        check(ink >= 40, f"menue.bmp: button '{label}' has no label ({ink} text pixels)")
        # A small margin: the outermost pixel ring of the area is still background.
        edge = [(x, y) for x, y in rect_pixels(x1, y1, x2, y2) if x in (x1, x2) or y in (y1, y2)]
        check(all(menu.pixel(x, y) == menu.pixel(2, y) for x, y in edge),
              f"menue.bmp: button '{label}' touches the edge of its area")
    # Around the buttons the background is a vertical gradient (every row one
    # colour, taken at x 2). Anything else drawn there must lie inside an area.
    stray = []
    around = (min(a[1] for a in AREAS) - 34, min(a[2] for a in AREAS) - 14,
              max(a[3] for a in AREAS) + 32, max(a[4] for a in AREAS) + 15)
    for x, y in rect_pixels(*around):
        if menu.pixel(x, y) != menu.pixel(2, y):
            if not any(x1 <= x <= x2 and y1 <= y <= y2 for _, x1, y1, x2, y2 in AREAS):
                stray.append((x, y))
    check(not stray, f"menue.bmp: {len(stray)} drawn pixels outside the click areas, first {stray[:3]}")

# ----------------------------------------------------------------- board picture
HOLE = (0x06, 0x11, 0x2B)
board = screens["spielfeld.bmp"]
if board.ok:
    rows, columns = L["BoardRows"], L["BoardColumns"]
    disc = L["DiscRimDiameter"] // 2
    for c in range(columns):
        for r in range(rows):
            cx = L["DiscStepX"] * c + L["DiscFirstX"]
            cy = L["DiscBottomY"] - L["DiscStepY"] * (rows - 1 - r)
            check(board.pixel(cx, cy) == HOLE, f"spielfeld.bmp: no hole at the centre ({cx}, {cy})")
            inside = outside = 0
            for dx in range(-34, 35):
                for dy in range(-34, 35):
                    d = math.hypot(dx, dy)
                    p = board.pixel(cx + dx, cy + dy)
                    if d <= disc and p != HOLE:
                        inside += 1
                    if disc + 4 <= d <= disc + 7 and p == HOLE:
                        outside += 1
            check(inside == 0, f"spielfeld.bmp: hole at ({cx}, {cy}) smaller than a disc ({inside} pixels)")
            check(outside == 0, f"spielfeld.bmp: hole at ({cx}, {cy}) wider than a disc ({outside} pixels)")
    # The panel spans the click bands and nothing of it lies beyond.
    x1, x2 = L["BandFirstX"], L["BoardRight"]
    for y in range(130, 571):
        bg = board.pixel(2, y)
        check(board.pixel(x1 - 2, y) == bg and board.pixel(x2 + 2, y) == bg,
              f"spielfeld.bmp: board panel reaches beyond x {x1}..{x2} at y {y}")
        check(board.pixel(x1 + 1, y) != bg and board.pixel(x2 - 1, y) != bg,
              f"spielfeld.bmp: board panel does not reach x {x1}..{x2} at y {y}")
    # White names: 9 characters (160 pixels), 20 pixels high.
    for who, left, top in (("player 1", L["Name1X"], L["Name1Y"]), ("player 2", L["Name2X"], L["Name2Y"])):
        bright = [(x, y) for x, y in rect_pixels(left - 4, top - 3, left + 160, top + 24)
                  if luminance(board.pixel(x, y)) > 40]
        check(not bright, f"spielfeld.bmp: name field of {who} not dark at {bright[:3]}")

# ----------------------------------------------------------------- highscore screen
table = screens["highscore.bmp"]
if table.ok:
    name_x, moves_x = L["HighscoreNameX"], L["HighscoreMovesX"]
    for row, top in enumerate(ARRAYS["HighscoreRowY"], 1):
        for x1, x2 in ((name_x - 2, name_x + 225), (moves_x - 2, moves_x + 100)):
            bright = [(x, y) for x, y in rect_pixels(x1, top - 2, x2, top + 22) if luminance(table.pixel(x, y)) > 40]
            check(not bright, f"highscore.bmp: row {row} not dark at {bright[:3]}")
    for heading, x1, x2 in (("Name", name_x, name_x + 55), ("Züge", moves_x, moves_x + 50)):
        text = sum(luminance(table.pixel(x, y)) > 120 for x, y in rect_pixels(x1, 118, x2, 150))
        check(text > 30, f"highscore.bmp: no heading '{heading}'")

# ----------------------------------------------------------------- status pictures
def count(bitmap, colour):
    return sum(bitmap.pixel(x, y) == colour for x, y in rect_pixels(0, 0, bitmap.w - 1, bitmap.h - 1))


if all(t.ok for t in turns.values()):
    check(count(turns["spieler1.bmp"], (255, 255, 0)) > 100, "spieler1.bmp: no yellow disc")
    check(count(turns["spieler2.bmp"], (255, 0, 0)) > 100, "spieler2.bmp: no red disc")
if all(t.ok for t in levels.values()):
    easy, hard = levels["compuleicht.bmp"], levels["compuschwer.bmp"]
    differ = sum(easy.pixel(x, y) != hard.pixel(x, y) for x, y in rect_pixels(0, 0, easy.w - 1, easy.h - 1))
    check(differ > easy.w * easy.h // 10, f"level pictures hardly differ ({differ} pixels)")

# ----------------------------------------------------------------- sounds
def check_wav(name, shortest, longest):
    with open(os.path.join(DATA, name), "rb") as f:
        data = f.read()
    if not check(data[:4] == b"RIFF" and data[8:12] == b"WAVE", f"{name}: not a RIFF WAVE file"):
        return
    check(struct.unpack_from("<I", data, 4)[0] == len(data) - 8, f"{name}: RIFF size field wrong")
    chunks, pos = {}, 12
    while pos + 8 <= len(data):
        tag, size = data[pos:pos + 4], struct.unpack_from("<I", data, pos + 4)[0]
        chunks[tag] = data[pos + 8:pos + 8 + size]
        pos += 8 + size + (size & 1)
    if not check(b"fmt " in chunks and b"data" in chunks, f"{name}: no fmt or data chunk"):
        return
    if not check(len(chunks[b"fmt "]) >= 16, f"{name}: fmt chunk too short"):
        return
    fmt, channels, rate, _, _, bits = struct.unpack_from("<HHIIHH", chunks[b"fmt "])
    check((fmt, channels, rate, bits) == (1, 1, 22050, 16),
          f"{name}: format {fmt}, {channels} channels, {rate} Hz, {bits} bits; expected PCM mono 22050 Hz 16-bit")
    pcm = chunks[b"data"]
    samples = struct.unpack("<%dh" % (len(pcm) // 2), pcm[:len(pcm) // 2 * 2])
    seconds = len(samples) / (rate * channels) if rate and channels else 0
    check(shortest <= seconds <= longest, f"{name}: {seconds:.3f} s, expected {shortest}..{longest} s")
    peak = max(abs(s) for s in samples) if samples else 0
    check(peak >= 8000, f"{name}: nearly silent (peak {peak})")
    check(all(abs(s) < 2000 for s in samples[-20:]), f"{name}: ends with a click, not faded out")


check_wav("fallen.wav", 0.1, 0.35)
check_wav("voll.wav", 0.2, 0.45)
check_wav("gewonnen.wav", 0.5, 1.5)

# ----------------------------------------------------------------- Highscore.txt
with open(os.path.join(DATA, "Highscore.txt"), "rb") as f:
    text = f.read()
check(b"\r" not in text and text.endswith(b"\n"), "Highscore.txt: lines must end in LF, last one too")
lines = text.decode("ascii", "replace").split("\n")[:-1]
check(len(lines) == 10, f"Highscore.txt: {len(lines)} lines, expected 10")
moves = []
for n, line in enumerate(lines, 1):
    m = re.fullmatch(r"([A-Za-z]{1,9}) ([1-9][0-9]*)", line)
    if check(m is not None, f"Highscore.txt line {n}: '{line}' is not 'name moves'"):
        moves.append(int(m.group(2)))
check(moves == sorted(moves), f"Highscore.txt: moves not ascending {moves}")

# ----------------------------------------------------------------- result
for f in failures:
    print("FAIL " + f)
print(f"{passed} checks passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
