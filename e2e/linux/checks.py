#!/usr/bin/env python3
"""End-to-end checks of the Linux program on an X server: real presses and
keys through XTest (xdotool), the window's pixels read back (import), the
table file and the exit status checked. Geometry from game/layout.h, texts
from game/texts.h. Timeouts only catch a program that hangs.

    DISPLAY=:N python3 e2e/linux/checks.py PROGRAM_FOLDER [CHECK ...]
"""
import ctypes
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools"))
import layout  # noqa: E402

N, A, AREAS = layout.read()
TEXTS = dict(re.findall(r'^constexpr const char\* (\w+) = "((?:[^"\\]|\\.)*)";',
                        open(os.path.join(ROOT, "game/texts.h"), encoding="utf-8").read(), re.M))
TEXTS = {k: v.replace("\\\\", "\\") for k, v in TEXTS.items()}
AREA = {screen: (l, r, t, b) for l, r, t, b, screen in AREAS}
WAIT = 15.0  # seconds before a check gives up on the program


def run(*args):
    return subprocess.run(args, check=True, capture_output=True, text=True, timeout=10).stdout


class Failed(Exception):
    pass


def windows():
    """Top-level windows: name -> id."""
    found = {}
    for line in run("xwininfo", "-root", "-children").splitlines():
        m = re.match(r'\s+(0x[0-9a-f]+) "(.*)":', line)
        if m:
            found[m.group(2)] = m.group(1)
    return found


def wait_for(what, test):
    deadline = time.monotonic() + WAIT
    while time.monotonic() < deadline:
        value = test()
        if value:
            return value
        time.sleep(0.05)
    raise Failed(f"waited {WAIT:.0f} s for {what}")


def bmp_pixel(name, x, y):
    """A pixel of an uncompressed 24-bit picture of the game's data."""
    data = open(os.path.join(ROOT, "data/src", name), "rb").read()
    offset = int.from_bytes(data[10:14], "little")
    width = int.from_bytes(data[18:22], "little")
    height = int.from_bytes(data[22:26], "little", signed=True)
    row = height - 1 - y if height > 0 else y
    at = offset + row * ((width * 3 + 3) & ~3) + x * 3
    return (data[at + 2], data[at + 1], data[at])


def picture_name(path_text):
    return TEXTS[path_text].split("\\")[-1]


class Game:
    """One run of the program from a scratch copy of its folder."""

    def __init__(self, program_folder):
        self.folder = tempfile.mkdtemp(prefix="rillo-linux-")
        self.log = os.path.join(self.folder, "stderr.log")
        shutil.copy2(os.path.join(program_folder, "rillo"), self.folder)
        shutil.copytree(os.path.join(program_folder, "src"), os.path.join(self.folder, "src"))
        env = dict(os.environ, SDL_AUDIODRIVER=os.environ.get("SDL_AUDIODRIVER", "dummy"))
        # A group of its own: a box SDL shows from a child process goes with it.
        self.process = subprocess.Popen([os.path.join(self.folder, "rillo")], cwd="/",
                                        env=env, stderr=open(self.log, "w"),
                                        start_new_session=True)
        try:
            self.window = wait_for("the window", lambda: windows().get(TEXTS["WindowTitle"]))
        except Failed as failure:
            status = self.process.poll()
            messages = open(self.log).read()[-600:]
            self.close()
            raise Failed(f"{failure}; windows: {windows()}; program status {status}, "
                         f"messages: {messages}") from None
        geometry = run("xdotool", "getwindowgeometry", "--shell", self.window)
        g = dict(line.split("=") for line in geometry.split())
        self.x, self.y = int(g["X"]), int(g["Y"])
        if (int(g["WIDTH"]), int(g["HEIGHT"])) != (N["ScreenPictureWidth"],
                                                  N["ScreenPictureHeight"]):
            raise Failed(f"window of {g['WIDTH']}x{g['HEIGHT']}, not the intro picture's size")
        self.clicks = 0
        # The pointer stays where the last check left it (the server is
        # never reset), and a move with --sync to where it already is waits
        # for a motion that never comes.
        run("xdotool", "mousemove", "0", "0")

    def close(self):
        try:
            os.killpg(self.process.pid, 9)
        except ProcessLookupError:
            pass
        self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)

    def shot(self):
        # Without its window (the program has gone) import would wait for a
        # window chosen with the mouse.
        if self.process.poll() is not None:
            raise Failed(f"the program ended with status {self.process.returncode}")
        ppm = subprocess.run(["import", "-window", self.window, "-depth", "8", "ppm:-"],
                             check=True, capture_output=True, timeout=10).stdout
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm)
        width = int(header.group(1))
        body = ppm[header.end():]
        return lambda x, y: tuple(body[(y * width + x) * 3:(y * width + x) * 3 + 3])

    def press(self, x, y):
        # Presses apart by more than the double-click distance: a double
        # click is not two presses.
        self.clicks += 1
        y += 5 * (self.clicks % 2)
        run("xdotool", "mousemove", "--sync", str(self.x + x), str(self.y + y), "click", "1")

    def shows(self, picture, points):
        pixel = self.shot()
        return all(pixel(x, y) == bmp_pixel(picture, x, y) for x, y in points)

    def expect_picture(self, path_text, points=((5, 5), (400, 300), (795, 595), (200, 450))):
        wait_for(picture_name(path_text), lambda: self.shows(picture_name(path_text), points))

    def box(self, caption):
        return wait_for(f'the box "{caption}"', lambda: windows().get(caption))

    def answer(self, caption, key):
        box = self.box(caption)

        # A box listed before it takes keys lets a key pass: it is sent again.
        # Each of SDL's boxes is an X client of its own, and the server may
        # give the next box the closed one's window id at once: a box is gone
        # when its caption no longer names that id.
        def gone():
            run("xdotool", "windowfocus", "--sync", box)
            run("xdotool", "key", key)
            deadline = time.monotonic() + 1
            while time.monotonic() < deadline:
                if windows().get(caption) != box:
                    return True
                time.sleep(0.05)
            return False
        wait_for(f'the box "{caption}" to go', gone)

    def name(self, text, key="Return"):
        dialog = self.box(TEXTS["NameCaption"])
        run("xdotool", "windowfocus", "--sync", dialog)
        if text:
            run("xdotool", "type", "--delay", "10", text)
        run("xdotool", "key", key)
        wait_for("the name dialog to go", lambda: dialog not in windows().values())

    def choose(self, screen):
        l, r, t, b = AREA[screen]
        self.press((l + r) // 2, (t + b) // 2)

    def menu(self):
        self.expect_picture("IntroPicture")
        self.press(N["ScreenPictureWidth"] // 2, N["ScreenPictureHeight"] // 2)
        self.expect_picture("MenuPicture")

    def board(self):
        """The board as the pixels show it: one string per row, top first; Y and R
        for the dark cores of yellow and red discs."""
        pixel = self.shot()
        rows = []
        for row in range(N["BoardRows"]):
            y = N["DiscBottomY"] - (N["BoardRows"] - 1 - row) * N["DiscStepY"]
            line = ""
            for column in range(N["BoardColumns"]):
                core = pixel(N["DiscFirstX"] + column * N["DiscStepX"], y)
                line += {(128, 128, 0): "Y", (128, 0, 0): "R"}.get(core, ".")
            rows.append(line)
        return rows

    def drop(self, column):
        self.press(N["BandFirstX"] + column * N["BandWidth"] + N["BandWidth"] // 2, 300)

    def ended(self):
        return wait_for("the program to end", lambda: self.process.poll() is not None or None) \
            if self.process.poll() is None else True


def count(rows, mark):
    return sum(r.count(mark) for r in rows)


def four(rows, mark):
    h, w = len(rows), len(rows[0])
    for r in range(h):
        for c in range(w):
            for dr, dc in ((0, 1), (1, 0), (1, 1), (1, -1)):
                if all(0 <= r + k * dr < h and 0 <= c + k * dc < w and
                       rows[r + k * dr][c + k * dc] == mark for k in range(4)):
                    return True
    return False


def dropped(rows, column, mark):
    """The rows after mark falls into column, and whether it makes four; None when full."""
    for r in range(len(rows) - 1, -1, -1):
        if rows[r][column] == ".":
            rows = list(rows)
            rows[r] = rows[r][:column] + mark + rows[r][column + 1:]
            for dr, dc in ((0, 1), (1, 0), (1, 1), (1, -1)):
                run_length = 1
                for sign in (1, -1):
                    k = 1
                    while (0 <= r + sign * k * dr < len(rows) and
                           0 <= column + sign * k * dc < len(rows[0]) and
                           rows[r + sign * k * dr][column + sign * k * dc] == mark):
                        run_length += 1
                        k += 1
                if run_length >= 4:
                    return rows, True
            return rows, False
    return None


def search(rows, me, other, depth):
    """Negamax over the columns with room: +1 a win for me, -1 a loss."""
    best = -2
    for column in (3, 2, 4, 1, 5, 0, 6):
        after = dropped(rows, column, me)
        if after is None:
            continue
        if after[1]:
            return 1
        score = 0 if depth == 0 else -search(after[0], other, me, depth - 1)
        best = max(best, score)
        if best == 1:
            break
    return 0 if best == -2 else best


def best_column(rows):
    """A column that wins, else one that keeps a loss three plies away."""
    scored = []
    for column in (3, 2, 4, 1, 5, 0, 6):
        after = dropped(rows, column, "Y")
        if after is not None:
            scored.append((1 if after[1] else -search(after[0], "R", "Y", 2), column))
    return max(scored, key=lambda s: s[0])[1]


# ---------------------------------------------------------------- the checks

def check_intro_menu(game):
    game.menu()
    # A press outside every area keeps the menu.
    game.press(5, 5)
    game.expect_picture("MenuPicture")


def check_two_player_win(game):
    game.menu()
    game.choose("ScreenTwoPlayers")
    game.name("Anna")
    game.name("Bob")
    game.expect_picture("BoardPicture", ((5, 5), (795, 595)))
    for i, column in enumerate("0101010"):
        game.drop(int(column))
        if i < 6:
            wait_for(f"disc {i + 1}", lambda: count(game.board(), "YR"[i % 2]) == i // 2 + 1)
    rows = game.board()
    if rows[-4:] != ["Y......"] * 1 + ["YR....."] * 3:
        raise Failed(f"board after the win: {rows}")
    game.answer(TEXTS["PlayerOneWinCaption"], "Return")
    game.answer(TEXTS["PlayAgainCaption"], "Return")  # Ja: the next game
    wait_for("an empty board", lambda: game.board() == ["......."] * N["BoardRows"])


def check_name_dialog(game):
    game.menu()
    game.choose("ScreenEasyComputer")
    game.name("Zoe", key="Escape")
    game.expect_picture("MenuPicture")
    game.choose("ScreenEasyComputer")
    game.name("ABCDEFGHIJKL")
    game.expect_picture("BoardPicture", ((5, 5), (795, 595)))
    # The name is drawn in white beside the board (cut to nine letters: see
    # the table entry of check_beat_easy_computer), after the board's picture.
    def name_drawn():
        pixel = game.shot()
        return any(pixel(x, N["Name1Y"] + d) == (255, 255, 255)
                   for x in range(N["Name1X"], N["ScreenPictureWidth"]) for d in range(4, 18))
    wait_for("the name beside the board", name_drawn)


def win_against_easy(game):
    """Beats the easy computer as "Tom Test1234" (at most three games), ends the
    program with Abbrechen and returns the table file's lines."""
    game.menu()
    game.choose("ScreenEasyComputer")
    # Twelve characters typed, nine kept: the table holds "Tom_Test1".
    game.name("Tom Test1234")
    for attempt in range(3):
        game.expect_picture("BoardPicture", ((5, 5), (795, 595)))
        moves = 0
        while True:
            rows = game.board()
            column = best_column(rows)
            game.drop(column)
            moves += 1
            target = count(rows, "Y") + 1
            # The box may cover discs of the window, so the game's end is
            # judged by the boards read before it came (the win sound plays
            # to its end first, which leaves several reads of the last disc).
            seen = [rows]
            def answered():
                # The end's box: a win for either side, or a draw.
                for caption in (TEXTS["ComputerGameWinCaption"], TEXTS["DrawAnnouncementCaption"]):
                    if caption in windows():
                        return caption
                seen.append(game.board())
                now = seen[-1]
                return count(now, "Y") == target and count(now, "R") == target and "board"
            end = wait_for("the computer's answer", answered)
            if end != "board":
                break
        won = end == TEXTS["ComputerGameWinCaption"] and any(four(board, "Y") for board in seen)
        outcome = "won" if won else "lost" if end == TEXTS["ComputerGameWinCaption"] else "drawn"
        print(f"     game {attempt + 1}: {outcome} in {moves} moves")
        game.answer(end, "Return")
        if won:
            game.answer(TEXTS["PlayAgainCaption"], "Escape")  # Abbrechen ends the program
            break
        game.answer(TEXTS["PlayAgainCaption"], "Return")
    else:
        raise Failed("three games against the easy computer not won")
    game.press(5, 5)  # the next event ends it
    game.ended()
    if game.process.returncode != 0:
        raise Failed(f"exit status {game.process.returncode}")
    # The table's temporary file and its lock go with the entry.
    left = sorted(set(os.listdir(os.path.join(game.folder, "src"))) -
                  set(os.listdir(os.path.join(ROOT, "data/src"))))
    if left:
        raise Failed(f"left beside the table: {left}")
    return open(os.path.join(game.folder, "src", "Highscore.txt")).read().split("\n")


SHIPPED_TABLE = open(os.path.join(ROOT, "data/src/Highscore.txt")).read().split("\n")


def check_beat_easy_computer(game):
    table = win_against_easy(game)
    entry = [line for line in table if line.split(" ")[0] == "Tom_Test1"]
    if len(entry) != 1 or entry[0] in SHIPPED_TABLE:
        raise Failed(f"the table does not hold the win: {table}")


def check_read_only_table(game):
    # A table the player made read-only stays as it is, as on Windows.
    os.chmod(os.path.join(game.folder, "src", "Highscore.txt"), 0o444)
    table = win_against_easy(game)
    if table != SHIPPED_TABLE:
        raise Failed(f"the read-only table was replaced: {table}")




def close_window(window):
    """Asks the window to close as a window manager's close button does."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)

    class Message(ctypes.Structure):  # XClientMessageEvent
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                    ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                    ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5),
                    ("pad", ctypes.c_long * 24)]

    message = Message()
    message.type = 33  # ClientMessage
    message.window = int(window, 16)
    message.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    message.format = 32
    message.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    x11.XSendEvent(display, message.window, 0, 0, ctypes.byref(message))
    x11.XCloseDisplay(display)


def check_close_button(game):
    game.menu()
    close_window(game.window)
    game.ended()
    if game.process.returncode != 0:
        raise Failed(f"closed, it ended with status {game.process.returncode}")
    # Where it can show no window at all, it says so and ends, rather than
    # play on where nobody sees it.
    desktop = ("DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR")
    try:
        alone = subprocess.run([os.path.join(game.folder, "rillo")], capture_output=True,
                               text=True, timeout=WAIT,
                               env={k: v for k, v in os.environ.items() if k not in desktop})
    except subprocess.TimeoutExpired:
        raise Failed(f"with no X server it ran on for {WAIT:.0f} s") from None
    if "no window could be made" not in alone.stderr:
        raise Failed(f"with no X server it said: {alone.stderr}")


CHECKS = {name[6:]: f for name, f in sorted(globals().items()) if name.startswith("check_")}


def main():
    program = sys.argv[1]
    names = sys.argv[2:] or list(CHECKS)
    passed = failed = 0
    for name in names:
        started = time.monotonic()
        game = None
        try:
            game = Game(program)
            CHECKS[name](game)
            passed += 1
            print(f"PASS {name} ({time.monotonic() - started:.1f} s)")
        except (Failed, subprocess.SubprocessError) as failure:
            failed += 1
            print(f"FAIL {name}: {failure}")
            if game is not None:
                print("     program's messages: " + open(game.log).read()[-600:].replace(
                    "\n", "\n     "))
                subprocess.run(["import", "-window", "root", f"/tmp/rillo-linux-{name}.png"])
                print(f"     screen: /tmp/rillo-linux-{name}.png")
        finally:
            if game is not None:
                game.close()
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
