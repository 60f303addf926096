#!/usr/bin/env python3
"""Times the Linux program against the desktop peers on an X server (a
benchmark: it reports numbers against targets and never fails on them).

For each start: exec to the first picture fully on screen, the same rule for
every program (its window mapped, showing a picture that is not one flat
colour, unchanged over the next 50 ms; the time is when it first showed),
then the proportional set size (PSS) summed over the program's processes two
seconds later. Rillo's first picture must also be the intro picture. Then, on
Rillo only, a press to its disc and a full repaint (the window uncovered).

    DISPLAY=:N python3 tools/linux_performance.py RILLO ROUNDS
"""
import ctypes
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
sys.path.insert(0, os.path.join(ROOT, "tools"))
sys.path.insert(0, os.path.join(ROOT, "e2e", "linux"))
import checks  # noqa: E402  the geometry, texts and picture reader of the checks

N = checks.N
X = ctypes.CDLL("libX11.so.6")
XT = ctypes.CDLL("libXtst.so.6")
X.XOpenDisplay.restype = ctypes.c_void_p
X.XDefaultRootWindow.restype = ctypes.c_ulong
X.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
X.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                         ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                         ctypes.POINTER(ctypes.c_uint)]
X.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
X.XGetImage.restype = ctypes.c_void_p
X.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                        ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
X.XGetPixel.restype = ctypes.c_ulong
X.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
X.XDestroyImage.argtypes = [ctypes.c_void_p]
X.XFree.argtypes = [ctypes.c_void_p]
X.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
X.XCreateSimpleWindow.restype = ctypes.c_ulong
X.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                  ctypes.c_uint, ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong,
                                  ctypes.c_ulong]
for name in ("XMapRaised", "XUnmapWindow", "XDestroyWindow"):
    getattr(X, name).argtypes = [ctypes.c_void_p, ctypes.c_ulong]
X.XFree.argtypes = [ctypes.c_void_p]
XT.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                    ctypes.c_ulong]
XT.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

D = X.XOpenDisplay(None)
ROOTWIN = X.XDefaultRootWindow(D)
ALL_PLANES = 0xFFFFFFFF
Z_PIXMAP = 2


def top_windows():
    root, parent = ctypes.c_ulong(), ctypes.c_ulong()
    children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
    X.XQueryTree(D, ROOTWIN, ctypes.byref(root), ctypes.byref(parent), ctypes.byref(children),
                 ctypes.byref(count))
    found = [children[i] for i in range(count.value)]
    if count.value:
        X.XFree(children)
    return found


def grid(window, width=None, height=None):
    """A 9x7 grid of pixels of the window; None when it cannot be read."""
    image = X.XGetImage(D, window, 0, 0, width or N["ScreenPictureWidth"],
                        height or N["ScreenPictureHeight"], ALL_PLANES, Z_PIXMAP)
    if not image:
        return None
    w, h = width or N["ScreenPictureWidth"], height or N["ScreenPictureHeight"]
    points = [X.XGetPixel(image, w * i // 10, h * j // 8) for j in range(1, 8) for i in range(1, 10)]
    X.XDestroyImage(image)
    return points


X.XGetGeometry.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong)] + \
    [ctypes.POINTER(ctypes.c_int)] * 2 + [ctypes.POINTER(ctypes.c_uint)] * 4


def size_of(window):
    root = ctypes.c_ulong()
    x, y = ctypes.c_int(), ctypes.c_int()
    w, h, border, depth = ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint()
    if not X.XGetGeometry(D, window, ctypes.byref(root), ctypes.byref(x), ctypes.byref(y),
                          ctypes.byref(w), ctypes.byref(h), ctypes.byref(border),
                          ctypes.byref(depth)):
        return 0, 0
    return w.value, h.value


def new_window(before):
    """The largest window the program has made: its main window (toolkits make
    small helper windows too)."""
    made = [(size_of(w), w) for w in top_windows() if w not in before]
    made = [(wh, w) for wh, w in made if wh[0] >= 100 and wh[1] >= 100]
    return max(made, key=lambda m: m[0][0] * m[0][1])[1] if made else None


class Silence:
    """X errors while a window comes and goes are expected here."""
    handler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
    X.XSetErrorHandler(handler)


def descendants(pid):
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                fields = open(f"/proc/{entry}/stat").read().rsplit(")", 1)[1].split()
                children.setdefault(int(fields[1]), []).append(int(entry))
            except OSError:
                pass
    found, todo = [], [pid]
    while todo:
        p = todo.pop()
        found.append(p)
        todo += children.get(p, [])
    return found


def pss_kib(pids):
    total = 0
    for p in pids:
        try:
            for line in open(f"/proc/{p}/smaps_rollup"):
                if line.startswith("Pss:"):
                    total += int(line.split()[1])
        except OSError:
            pass
    return total


def first_picture(command, env, expect=None):
    """(ms to the first picture, PSS in MiB 2 s later, process, window)."""
    before = set(top_windows())
    started = time.monotonic()
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, start_new_session=True)
    shown_at, last, window = None, None, None
    deadline = started + 20
    while time.monotonic() < deadline:
        window = new_window(before)
        points = grid(window, *size_of(window)) if window else None
        now = time.monotonic()
        if points and len(set(points)) > 1 and (expect is None or expect(points)):
            if points != last:
                shown_at, last = now, points
            elif now - shown_at >= 0.05:
                break
        else:
            shown_at, last = None, None
        time.sleep(0.002)
    if shown_at is None:
        return None, None, process, window
    time.sleep(max(0.0, shown_at + 2.0 - time.monotonic()))
    pss = pss_kib(descendants(process.pid)) / 1024
    return (shown_at - started) * 1000, pss, process, window


def stop(process):
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    process.wait()


def pixel_of(window, x, y):
    image = X.XGetImage(D, window, x, y, 1, 1, ALL_PLANES, Z_PIXMAP)
    if not image:
        return None
    value = X.XGetPixel(image, 0, 0)
    X.XDestroyImage(image)
    return ((value >> 16) & 255, (value >> 8) & 255, value & 255)


def wait_pixel(window, x, y, wanted, limit=5.0):
    started = time.monotonic()
    while time.monotonic() - started < limit:
        if pixel_of(window, x, y) == wanted:
            return (time.monotonic() - started) * 1000
    return None


def click(window_x, window_y, x, y):
    XT.XTestFakeMotionEvent(D, -1, window_x + x, window_y + y, 0)
    XT.XTestFakeButtonEvent(D, 1, 1, 0)
    XT.XTestFakeButtonEvent(D, 1, 0, 0)
    X.XSync(D, 0)


def rillo_interaction(folder):
    """Press-to-disc and full-repaint times (ms) in a game of two."""
    game = checks.Game(folder)
    presses, repaints = [], []
    try:
        game.menu()
        game.choose("ScreenTwoPlayers")
        game.name("A")
        game.name("B")
        game.expect_picture("BoardPicture", ((5, 5), (795, 595)))
        window = int(game.window, 16)
        core = {0: (128, 128, 0), 1: (128, 0, 0)}
        for i, column in enumerate((0, 1, 2, 3, 4, 5, 0, 1, 2, 3)):
            row = i // 6
            x = N["DiscFirstX"] + column * N["DiscStepX"]
            y = N["DiscBottomY"] - row * N["DiscStepY"]
            time.sleep(0.6)  # no double click
            started = time.monotonic()
            click(game.x, game.y, N["BandFirstX"] + column * N["BandWidth"] + 10, 300 + i % 2 * 9)
            waited = wait_pixel(window, x, y, core[i % 2])
            if waited is not None:
                presses.append((time.monotonic() - started) * 1000)
        # Uncovering the window asks for a paint of all of it; it is done when
        # the last things drawn (the discs, the turn picture) are back.
        cover = X.XCreateSimpleWindow(D, ROOTWIN, game.x, game.y, N["ScreenPictureWidth"],
                                      N["ScreenPictureHeight"], 0, 0, 0xFF00FF)
        probe = (N["DiscFirstX"], N["DiscBottomY"])
        for _ in range(10):
            X.XMapRaised(D, cover)
            X.XSync(D, 0)
            time.sleep(0.2)
            started = time.monotonic()
            X.XUnmapWindow(D, cover)
            X.XSync(D, 0)
            if wait_pixel(window, probe[0], probe[1], core[0]) is not None:
                repaints.append((time.monotonic() - started) * 1000)
        X.XDestroyWindow(D, cover)
    finally:
        game.close()
    return presses, repaints


def summary(values):
    if not values:
        return "none"
    return f"{statistics.median(values):.0f} ({min(values):.0f}-{max(values):.0f}), n={len(values)}"


def main():
    folder, rounds = sys.argv[1], int(sys.argv[2])
    scratch = tempfile.mkdtemp(prefix="rillo-perf-")
    shutil.copy2(os.path.join(folder, "rillo"), scratch)
    shutil.copytree(os.path.join(folder, "src"), os.path.join(scratch, "src"))
    env = dict(os.environ, PATH=os.environ["PATH"] + ":/usr/games")
    intro = [checks.bmp_pixel("intro.bmp", N["ScreenPictureWidth"] * i // 10,
                              N["ScreenPictureHeight"] * j // 8)
             for j in range(1, 8) for i in range(1, 10)]
    intro = [(r << 16) | (g << 8) | b for r, g, b in intro]
    routes = [("Rillo (native, SDL2)", [os.path.join(scratch, "rillo")], lambda p: p == intro),
              ("GNOME Four-in-a-row", ["four-in-a-row"], None),
              ("KFourInLine", ["kfourinline"], None)]
    routes = [r for r in routes if shutil.which(r[1][0], path=env["PATH"])]
    times = {name: [] for name, _, _ in routes}
    memory = {name: [] for name, _, _ in routes}
    ratios = []
    for round_number in range(rounds):
        this_round = {}
        for name, command, expect in routes:
            ms, pss, process, _ = first_picture(command, env, expect)
            stop(process)
            time.sleep(0.3)
            if ms is not None:
                times[name].append(ms)
                memory[name].append(pss)
                this_round[name] = ms
        if "Rillo (native, SDL2)" in this_round and "GNOME Four-in-a-row" in this_round:
            ratios.append(this_round["Rillo (native, SDL2)"] / this_round["GNOME Four-in-a-row"])
        print(f"round {round_number + 1}: " +
              ", ".join(f"{n} {v:.0f} ms" for n, v in this_round.items()), file=sys.stderr)
    try:
        presses, repaints = rillo_interaction(scratch)
    except (checks.Failed, subprocess.SubprocessError) as failure:
        print(f"the press and repaint times could not be taken: {failure}", file=sys.stderr)
        presses, repaints = [], []
    shutil.rmtree(scratch, ignore_errors=True)

    print("| program | first picture, ms: median (range), n | × GNOME, same round: median (range) "
          "| PSS 2 s later, MiB: median (range) |")
    print("|---|---|---|---|")
    gnome = times.get("GNOME Four-in-a-row", [])
    for name, _, _ in routes:
        if name == "Rillo (native, SDL2)":
            ratio = (f"{statistics.median(ratios):.2f} ({min(ratios):.2f}-{max(ratios):.2f})"
                     if ratios else "–")
        elif name == "GNOME Four-in-a-row":
            ratio = "1.00"
        else:
            ratio = (f"{statistics.median(times[name]) / statistics.median(gnome):.2f} (of medians)"
                     if gnome and times[name] else "–")
        mem = memory[name]
        mem_text = f"{statistics.median(mem):.1f} ({min(mem):.1f}-{max(mem):.1f})" if mem else "–"
        print(f"| {name} | {summary(times[name])} | {ratio} | {mem_text} |")
    print()
    print(f"- Rillo, a press (XTest) to its disc's core on screen: {summary(presses)} ms; "
          "target one 60 Hz frame (16.7 ms)")
    print(f"- Rillo, the window uncovered to the board, its pictures read again, and the discs back "
          f"on screen: {summary(repaints)} ms; target one frame (16.7 ms)")
    targets_met = ratios and statistics.median(ratios) <= 0.35
    mem_met = memory.get("Rillo (native, SDL2)") and statistics.median(
        memory["Rillo (native, SDL2)"]) <= 15
    print(f"- Targets: first picture within 0.35× GNOME's: {'met' if targets_met else 'NOT met'}; "
          f"at most 15 MiB: {'met' if mem_met else 'NOT met'}")


if __name__ == "__main__":
    main()
