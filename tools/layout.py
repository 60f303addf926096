#!/usr/bin/env python3
"""The program's geometry, read from game/layout.h (and the board's size from
game/state.h), for the data generator and the data checker.

    python3 tools/layout.py --shell        prints it as bash assignments (make_data.sh)
    python3 tools/layout.py --compare PROG  compares it with what PROG, built from
                                           the same headers, prints (a unit test)

The headers keep one value or one array per line for this reader. A value the
tools need that the reader cannot find stops it with an error, so a renamed or
rewritten line breaks the tools instead of leaving them behind.
"""
import os
import re
import subprocess
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")

# Every value the generator and the checker use.
NUMBERS = [
    "BoardRows", "BoardColumns",
    "ScreenPictureWidth", "ScreenPictureHeight",
    "BoardLeftOutside", "BoardRight", "BandFirstX", "BandWidth",
    "DiscFirstX", "DiscStepX", "DiscBottomY", "DiscStepY",
    "DiscRimDiameter", "DiscRingDiameter", "DiscInnerRimDiameter", "DiscCoreDiameter",
    "TurnPictureWidth", "TurnPictureHeight", "TurnPictureX", "TurnPictureY",
    "LevelPictureWidth", "LevelPictureHeight", "LevelPictureX", "LevelPictureY",
    "Name1X", "Name1Y", "Name2X", "Name2Y",
    "HighscoreNameX", "HighscoreMovesX",
]
ARRAYS = ["HighscoreRowY"]

# Where two menu areas overlap, the strip they share belongs to the earlier
# one when clicked, but neither button is drawn on it; the later area's
# button keeps this much further away from it.
STRIP_CLEARANCE = 3

NUMBER = re.compile(r"^constexpr int (\w+) = (-?\d+);")
ARRAY = re.compile(r"^constexpr int (\w+)\[\] = \{(-?\d+(?:, -?\d+)*)\};")
MENU_START = re.compile(r"^constexpr MenuArea MenuAreas\[\] = \{")
MENU_AREA = re.compile(r"^\s*\{(-?\d+), (-?\d+), (-?\d+), (-?\d+), (\w+)\},")


def read(root=ROOT):
    """Returns (numbers, arrays, menu areas); each area (left, right, top, bottom, screen)."""
    numbers, arrays, areas = {}, {}, []
    for header in ("game/state.h", "game/layout.h"):
        in_menu = False
        with open(os.path.join(root, header), encoding="utf-8") as f:
            for line in f:
                if in_menu:
                    m = MENU_AREA.match(line)
                    if m:
                        areas.append(tuple(int(v) for v in m.groups()[:4]) + (m.group(5),))
                    elif line.startswith("};"):
                        in_menu = False
                    elif not line.strip().startswith("//"):
                        sys.exit(f"tools/layout.py: a menu area not written as "
                                 f"{{left, right, top, bottom, Screen}}: {line.strip()}")
                    continue
                if MENU_START.match(line):
                    in_menu = True
                    continue
                m = NUMBER.match(line)
                if m:
                    numbers[m.group(1)] = int(m.group(2))
                m = ARRAY.match(line)
                if m:
                    arrays[m.group(1)] = [int(v) for v in m.group(2).split(", ")]
    missing = [n for n in NUMBERS if n not in numbers] + [n for n in ARRAYS if n not in arrays]
    if missing or not areas:
        sys.exit(f"tools/layout.py: not found in game/layout.h or game/state.h: "
                 f"{', '.join(missing) or 'MenuAreas'}")
    return numbers, arrays, areas


def menu_parts(areas):
    """The part of each menu area its button may cover, (left, top, right, bottom)."""
    parts = [[left, top, right, bottom] for left, right, top, bottom, _ in areas]
    for i, (l1, r1, t1, b1, _) in enumerate(areas):
        for j in range(i + 1, len(areas)):
            l2, r2, t2, b2, _ = areas[j]
            if max(l1, l2) > min(r1, r2) or max(t1, t2) > min(b1, b2):
                continue
            # Only one shape of overlap is drawn for: a later area reaching
            # up into the bottom of an earlier one.
            if not t1 < t2 <= b1 < b2:
                sys.exit(f"tools/layout.py: menu areas {i} and {j} overlap in a way the "
                         "pictures are not drawn for")
            parts[i][3] = min(parts[i][3], t2 - 1)
            parts[j][1] = max(parts[j][1], b1 + 1 + STRIP_CLEARANCE)
    return [tuple(p) for p in parts]


def shell():
    numbers, arrays, areas = read()
    lines = [f"{name}={numbers[name]}" for name in NUMBERS]
    lines += [f"{name}=({' '.join(map(str, arrays[name]))})" for name in ARRAYS]
    lines.append("MenuParts=(" + " ".join('"%d %d %d %d"' % p for p in menu_parts(areas)) + ")")
    return "\n".join(lines)


def compare(program):
    """Compares the values read here with the lines "name value..." program prints."""
    numbers, arrays, areas = read()
    ours = {name: [numbers[name]] for name in NUMBERS}
    ours.update({name: arrays[name] for name in ARRAYS})
    ours.update({f"MenuArea{i}": list(a[:4]) for i, a in enumerate(areas)})
    output = subprocess.run([program], check=True, capture_output=True, text=True).stdout
    theirs = {}
    for line in output.splitlines():
        name, *values = line.split()
        theirs[name] = [int(v) for v in values]
    differences = [f"{name}: tools read {ours.get(name)}, the program has {theirs.get(name)}"
                   for name in sorted(set(ours) | set(theirs)) if ours.get(name) != theirs.get(name)]
    for d in differences:
        print(d)
    print(f"{len(ours)} values compared, {len(differences)} differ")
    return 1 if differences else 0


if __name__ == "__main__":
    if sys.argv[1:2] == ["--shell"]:
        print(shell())
    elif len(sys.argv) == 3 and sys.argv[1] == "--compare":
        sys.exit(compare(sys.argv[2]))
    else:
        sys.exit(__doc__)
