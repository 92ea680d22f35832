"""What a user of Reelbox waits for, timed from outside the program on an Xvfb
display of its own, against the programs people would compare it with, in one
run, alternating, and reported as medians and ratios:

1. a click on 再生 (real pointer input) to the clip's first full picture on
   the screen: the first play after the program started, and a later play;
   against the mpv command started on the same clip with its OpenGL output;
2. the program started to its main window shown (mapped), and to its picture
   whole on the screen, with an empty saved folder and with one of 20,000
   files; against an empty Qt window;
3. a click on a favourites group's marker to the group shown (its marker
   marked current), and the next click (a switch) to its answer, for a group
   of 32,767 entries against one of 100.

    python3 bench/user_waits.py BUILD_FOLDER [RUNS]
"""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "system"))

from harness import Display, make_clip, wait_for  # noqa: E402

SCREEN = (1280, 1024)
MAIN_SIZE = (489, 522)
CLIP_SIZE = (320, 240)
# Where the windows show without a window manager: the main window in the
# middle of the screen, the player centred one third down, the picture below
# its 20-pixel title strip; mpv is asked to put its picture on the same spot.
MAIN = ((SCREEN[0] - MAIN_SIZE[0]) // 2, (SCREEN[1] - MAIN_SIZE[1]) // 2)
PLAYER = ((SCREEN[0] - CLIP_SIZE[0]) // 2, (SCREEN[1] - (CLIP_SIZE[1] + 53)) // 3)
PICTURE = (PLAYER[0], PLAYER[1] + 20)
FIRST_FILE = (MAIN[0] + 184 + 40, MAIN[1] + 20 + 40 + 8)
PLAY_BUTTON = (MAIN[0] + 376 + 48, MAIN[1] + 20 + 68 + 12)
USER_PAUSE = 1.0  # a user's time between seeing the window and the click


class Bench:
    def __init__(self, build):
        self.build = build
        self.watch = os.path.join(build, "bench", "screen_watch")
        self.display = Display(wm=False)
        self.root = tempfile.mkdtemp(prefix="reelbox-bench-")
        self.clips = os.path.join(self.root, "clips")
        os.makedirs(self.clips)

    def close(self):
        self.display.close()
        shutil.rmtree(self.root, ignore_errors=True)

    def watch_run(self, *arguments):
        done = subprocess.run([self.watch, *map(str, arguments)], env=self.display.env,
                              capture_output=True, text=True)
        fields = done.stdout.split()
        if done.returncode != 0 or not fields or fields[0] == "timeout":
            raise RuntimeError(f"screen_watch {' '.join(map(str, arguments[:2]))} failed: {done.stdout}")
        return float(fields[0]), int(fields[1])

    def program_folder(self, name, saved_folder):
        folder = os.path.join(self.root, name)
        os.makedirs(folder, exist_ok=True)
        shutil.copy2(os.path.join(self.build, "reelbox"), os.path.join(folder, "reelbox"))
        with open(os.path.join(folder, "Reelbox.ini"), "w") as f:
            f.write(f"[Section]\r\nPath={saved_folder}\r\n")
        return folder

    def start_to_window(self, command, title):
        milliseconds, pid = self.watch_run("map", title, "--", *command)
        stop(pid)
        return milliseconds

    def window_picture(self, command, name):
        """Starts command, lets its window settle and keeps the picture of it:
        the main window's rectangle on the screen and a file of its pixels."""
        program = subprocess.Popen(command, env=self.display.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        try:
            wait_for(lambda: self.window_rect(program.pid), "the window", timeout=20)
            time.sleep(2)
            rect = self.window_rect(program.pid)
            frame = os.path.join(self.root, f"{name}.rgb")
            with open(frame, "wb") as f:
                f.write(self.display.screenshot().region(*rect))
            return rect, frame
        finally:
            stop(program.pid)

    def window_rect(self, pid):
        """Where the process's window of the main window's size is, if shown."""
        found = self.display.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], check=False)
        for wid in found.split():
            shape = self.display.run(["xdotool", "getwindowgeometry", "--shell", wid], check=False)
            values = dict(line.split("=", 1) for line in shape.split() if "=" in line)
            if "WIDTH" in values and (int(values["WIDTH"]), int(values["HEIGHT"])) == MAIN_SIZE:
                return int(values["X"]), int(values["Y"]), *MAIN_SIZE
        return None

    def start_to_picture(self, command, picture):
        rect, frame = picture
        milliseconds, pid = self.watch_run("picture", *rect, frame, "--", *command)
        stop(pid)
        return milliseconds

    # Click to picture.
    def prepare_clip(self):
        clip = make_clip(os.path.join(self.clips, "clip.avi"), size=CLIP_SIZE, seconds=4.0, audio=True)
        frame = os.path.join(self.root, "first.rgb")
        subprocess.run(["ffmpeg", "-v", "error", "-y", "-i", clip, "-frames:v", "1", "-f", "rawvideo",
                        "-pix_fmt", "rgb24", frame], check=True)
        return clip, frame

    def reelbox_plays(self, folder, frame):
        """Starts Reelbox, waits as a user would, selects the clip, then times
        two clicks on 再生 to the picture: the first play and a later one."""
        env = dict(self.display.env)
        program = subprocess.Popen([os.path.join(folder, "reelbox")], env=env, cwd=folder,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            wait_for(lambda: self.main_window_shown(program.pid), "the main window", timeout=20)
            time.sleep(USER_PAUSE)
            self.display.click(*FIRST_FILE)
            times = []
            for _ in range(2):
                milliseconds, _ = self.watch_run("picture", *PICTURE, *CLIP_SIZE, frame, "--click", *PLAY_BUTTON)
                times.append(milliseconds)
                self.display.key("Escape")
                wait_for(lambda: not self.player_shown(program.pid), "the player to close", timeout=20)
                time.sleep(USER_PAUSE)
            return times
        finally:
            program.kill()
            program.wait()

    def windows_of(self, pid):
        found = self.display.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], check=False)
        sizes = []
        for wid in found.split():
            shape = self.display.run(["xdotool", "getwindowgeometry", "--shell", wid], check=False)
            values = dict(line.split("=", 1) for line in shape.split() if "=" in line)
            if "WIDTH" in values:
                sizes.append((int(values["WIDTH"]), int(values["HEIGHT"])))
        return sizes

    def main_window_shown(self, pid):
        return MAIN_SIZE in self.windows_of(pid)

    def player_shown(self, pid):
        return (CLIP_SIZE[0], CLIP_SIZE[1] + 53) in self.windows_of(pid)

    def mpv_plays(self, clip, frame):
        # The decoding and output options of the program's own engine.
        command = ["mpv", "--no-config", "--ytdl=no", "--osc=no", "--osd-level=0", "--input-default-bindings=no",
                   "--hwdec=auto-safe", "--vo=gpu", "--gpu-api=opengl", "--gpu-sw=yes",
                   "--audio-fallback-to-null=yes", "--no-border",
                   f"--geometry={CLIP_SIZE[0]}x{CLIP_SIZE[1]}+{PICTURE[0]}+{PICTURE[1]}", clip]
        milliseconds, pid = self.watch_run("picture", *PICTURE, *CLIP_SIZE, frame, "--", *command)
        stop(pid)
        return milliseconds


def stop(pid):
    try:
        os.kill(pid, 9)
        os.waitpid(pid, 0)
    except (ProcessLookupError, ChildProcessError):
        pass


def report(title, rows, baseline):
    print(title)
    base = statistics.median(rows[baseline])
    for name, values in rows.items():
        median = statistics.median(values)
        ratio = "" if name == baseline else f"  {median / base:.2f}x {baseline}"
        print(f"  {name:<34} {median:8.1f} ms (median of {len(values)}){ratio}")


def click_to_picture(bench, runs):
    clip, frame = bench.prepare_clip()
    folder = bench.program_folder("player", bench.clips)
    rows = {"mpv command": [], "Reelbox first play": [], "Reelbox later play": []}
    for _ in range(runs):
        first, later = bench.reelbox_plays(folder, frame)
        rows["Reelbox first play"].append(first)
        rows["Reelbox later play"].append(later)
        rows["mpv command"].append(bench.mpv_plays(clip, frame))
    report("Click on 再生 to the first full picture (320x240 clip):", rows, "mpv command")


def start_to_window(bench, runs):
    empty = os.path.join(bench.root, "empty")
    big = os.path.join(bench.root, "big")
    os.makedirs(empty)
    os.makedirs(big)
    endings = ["avi", "MPG", "wmv", "rmvb", "asf"]
    for i in range(20000):
        open(os.path.join(big, f"Clip {i}.{endings[i % 5]}"), "w").close()
    programs = {
        "empty Qt window": ([os.path.join(bench.build, "bench", "empty_window")], "Baseline"),
        "Reelbox, empty folder": ([os.path.join(bench.program_folder("empty-start", empty), "reelbox")], "Reelbox"),
        "Reelbox, 20,000 files": ([os.path.join(bench.program_folder("big-start", big), "reelbox")], "Reelbox"),
    }
    pictures = {name: bench.window_picture(command, f"window {number}")
                for number, (name, (command, _)) in enumerate(programs.items())}
    shown = {name: [] for name in programs}
    painted = {name: [] for name in programs}
    for _ in range(runs):
        for name, (command, title) in programs.items():
            shown[name].append(bench.start_to_window(command, title))
            painted[name].append(bench.start_to_picture(command, pictures[name]))
    for title, rows in (("Start to main window shown (mapped):", shown),
                        ("Start to main window painted, all it holds on the screen:", painted)):
        report(title, rows, "empty Qt window")
        print(f"  20,000 files against an empty folder: "
              f"{statistics.median(rows['Reelbox, 20,000 files']) / statistics.median(rows['Reelbox, empty folder']):.2f}x")


GROUP_SIZES = {0: 100, 1: 32767}
EMPTY_GROUP = 2


def picture_middle(rect):
    """The middle of a 13 x 13 picture of the main window, on the screen: the
    screen watch samples every 8 pixels from 4 in, so a 9 x 9 square is
    judged by the picture's middle pixel, where its states differ."""
    x, y, _, _ = rect
    return (MAIN[0] + x + 2, MAIN[1] + y + 2, 9, 9)


def group_switches(bench, runs):
    """Switches between an empty group and full ones with the real pointer."""
    import layout  # noqa: E402 (the system tests' map of the main window)

    favourites = os.path.join(bench.root, "favourites")
    os.makedirs(favourites)
    folder = bench.program_folder("groups", bench.clips)
    with open(os.path.join(folder, "Reelbox.ini"), "a") as f:
        f.write(f"Group={EMPTY_GROUP}\r\n")
    for group, count in GROUP_SIZES.items():
        paths = [os.path.join(favourites, f"{group} clip {i}.avi") for i in range(count)]
        for i, path in enumerate(paths):
            if i % 100 != 99:  # every hundredth file is gone
                open(path, "wb").close()
        with open(os.path.join(folder, f"Reelbox{group:02d}.rdm"), "w") as f:
            f.write("".join(path.ljust(255) for path in paths))
    program = subprocess.Popen([os.path.join(folder, "reelbox")], env=bench.display.env, cwd=folder,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wait_for(lambda: bench.main_window_shown(program.pid), "the main window", timeout=20)
        time.sleep(USER_PAUSE)
        marker = lambda n: picture_middle(layout.group_marker(n))
        centre = lambda rect: (rect[0] + rect[2] // 2, rect[1] + rect[3] // 2)
        # The right end of the favourites' first row, where no text is: it
        # takes the selection's colour when the row is pressed.
        x, y, width, _ = layout.FAVOURITES
        first_row = (MAIN[0] + x + width - 40, MAIN[1] + y + layout.LIST_FRAME + 2, 9, 9)
        current, selected = (os.path.join(bench.root, name) for name in ("current.rgb", "selected.rgb"))
        with open(current, "wb") as f:
            f.write(bench.display.screenshot().region(*marker(EMPTY_GROUP)))
        bench.watch_run("picture", *marker(0), current, "--press", *centre(marker(0)))
        unselected = bench.display.screenshot().region(*first_row)
        bench.display.click(*centre(first_row))
        wait_for(lambda: bench.display.screenshot().region(*first_row) != unselected, "the first row selected")
        with open(selected, "wb") as f:
            f.write(bench.display.screenshot().region(*first_row))
        bench.watch_run("picture", *marker(EMPTY_GROUP), current, "--press", *centre(marker(EMPTY_GROUP)))
        rows = {}
        for _ in range(runs):
            for group, count in GROUP_SIZES.items():
                shown, _ = bench.watch_run("picture", *marker(group), current, "--press", *centre(marker(group)))
                answer, _ = bench.watch_run("picture", *first_row, selected, "--press", *centre(first_row))
                rows.setdefault(f"switch to {count:,} entries", []).append(shown)
                rows.setdefault(f"next click after {count:,} entries", []).append(answer)
                bench.watch_run("picture", *marker(EMPTY_GROUP), current, "--press", *centre(marker(EMPTY_GROUP)))
                time.sleep(USER_PAUSE)  # the full group's file is saved on the way out
    finally:
        program.kill()
        program.wait()
    for kind in ("switch to", "next click after"):
        report(f"Click on a group marker, {kind}:" if kind == "switch to" else "The next click answered:",
               {name: values for name, values in rows.items() if name.startswith(kind)}, f"{kind} 100 entries")


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 9
    bench = Bench(build)
    try:
        start_to_window(bench, runs * 2)
        click_to_picture(bench, runs)
        group_switches(bench, runs)
    finally:
        bench.close()


if __name__ == "__main__":
    main()
