"""Runs the real reelbox executable as a user meets it, and reads what it shows.

Each test gets a display of its own (Xvfb, 1280x1024x24, 96 dpi) with the
openbox window manager and a session bus of its own, a program folder of its
own holding a copy of the
executable (the program keeps its settings and lists next to it), and a home
of its own (the desktop trash lives there). The program is driven only with
real X input through xdotool (XTEST) and observed through screenshots, window
geometry and the files it writes.
"""

import os
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

EXECUTABLE = os.environ.get("REELBOX_EXECUTABLE", "")
DRAG_SOURCE = os.environ.get("REELBOX_DRAG_SOURCE", "")
SCREEN_PANEL = os.environ.get("REELBOX_SCREEN_PANEL", "")
SCREEN = "1280x1024x24"
MAIN_SIZE = (489, 522)
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


MOUNT_NAMESPACE = ("unshare", "--mount", "--propagation", "private")


def can_mount():
    """Whether a test may mount file systems that the program alone sees:
    root, and a kernel and sandbox that allow mount namespaces (read-only
    remounts and bind mounts included)."""
    if os.geteuid() != 0 or not shutil.which("unshare"):
        return False
    probe = subprocess.run([*MOUNT_NAMESPACE, "sh", "-c",
                            "mount -t tmpfs probe /mnt && mount -o remount,ro /mnt && "
                            "mount --bind /tmp /tmp && mount -o remount,bind,ro /tmp"], capture_output=True)
    return probe.returncode == 0


def with_mounts(setup):
    """A command prefix that runs setup (shell commands that mount things) in
    a mount namespace of the program's own, then the program."""
    return (*MOUNT_NAMESPACE, "sh", "-c", setup + ' && exec "$0" "$@"')


def wait_for(condition, what, timeout=10.0, interval=0.05):
    """Polls condition until it returns a true value and returns that value;
    fails naming what was waited for when timeout seconds pass first."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"waited {timeout:g} s in vain for {what}")
        time.sleep(interval)


def stays(condition, what, duration):
    """Fails as soon as condition turns false within duration seconds: for
    things that must not happen, which can only be watched for a while."""
    deadline = time.monotonic() + duration
    while time.monotonic() < deadline:
        if not condition():
            raise AssertionError(f"{what} did not hold for {duration:g} s")
        time.sleep(0.05)


# A session bus like a desktop's, less the services a desktop would start on
# demand: what appears in a test's home is then what the program put there.
BUS_CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""


def _announced(command, **options):
    """Starts command, which writes one line to the file descriptor in its
    arguments' "{fd}" once it is ready, and returns the process and the line."""
    read_end, write_end = os.pipe()
    try:
        process = subprocess.Popen([a.replace("{fd}", str(write_end)) for a in command], pass_fds=[write_end],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **options)
        os.close(write_end)
        write_end = None
        with os.fdopen(read_end) as announced:
            read_end = None
            return process, announced.readline().strip()
    finally:
        for fd in (read_end, write_end):
            if fd is not None:
                os.close(fd)


def _stop(process, timeout=5):
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


class Display:
    """An X server of its own, with openbox as window manager unless wm=False."""

    def __init__(self, wm=True):
        self.server = None
        self.wm = None
        self.bus = None
        self.panels = []
        try:
            self.server, number = _announced(["Xvfb", "-displayfd", "{fd}", "-screen", "0", SCREEN, "-dpi", "96",
                                              "-noreset", "-nolisten", "tcp"])
            if not number:
                raise AssertionError("Xvfb did not start")
            self.name = ":" + number
            self.env = dict(os.environ, DISPLAY=self.name)
            self.env.pop("WAYLAND_DISPLAY", None)
            self.env["DBUS_SESSION_BUS_ADDRESS"] = self._start_bus()
            if wm:
                self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                wait_for(self._wm_running, "openbox to manage the display")
        except BaseException:
            self.close()
            raise

    def _start_bus(self):
        """Starts the display's session bus; returns its address. Without one,
        the D-Bus library would start a bus of its own in the program's home
        (where dbus-x11 is installed) or the program would find the desktop's."""
        with tempfile.NamedTemporaryFile("w", suffix=".conf", prefix="reelbox-bus-") as config:
            config.write(BUS_CONFIG)
            config.flush()
            self.bus, address = _announced(["dbus-daemon", "--nofork", "--nopidfile", "--config-file",
                                            config.name, "--print-address={fd}"])
        if not address:
            raise AssertionError("dbus-daemon did not start")
        return address

    def work_area(self):
        """The screen as the window manager leaves it to windows: (x, y,
        width, height) without panels and docks."""
        shown = self.run(["xprop", "-root", "_NET_WORKAREA"], check=False)
        numbers = [int(n) for n in shown.partition("=")[2].replace(",", " ").split()[:4]]
        return tuple(numbers) if len(numbers) == 4 else None

    def add_panel(self, side, pixels):
        """A desktop panel along the left or top edge, `pixels` thick, which
        the window manager leaves out of the work area; returns the work area."""
        if not SCREEN_PANEL:
            raise AssertionError("REELBOX_SCREEN_PANEL does not name the panel helper")
        panel = subprocess.Popen([SCREEN_PANEL, side, str(pixels)], env=self.env, stdout=subprocess.PIPE,
                                 stderr=subprocess.DEVNULL, text=True)
        self.panels.append(panel)
        if panel.stdout.readline().strip() != "ready":
            raise AssertionError("the panel helper did not start")
        width, height = (int(n) for n in SCREEN.split("x")[:2])
        wanted = (pixels, 0, width - pixels, height) if side == "left" else (0, pixels, width, height - pixels)
        return wait_for(lambda: self.work_area() == wanted and wanted, f"a work area of {wanted}")

    def _wm_running(self):
        found = self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False)
        return "window id" in found

    def run(self, command, check=True):
        done = subprocess.run(command, env=self.env, capture_output=True, text=True)
        if check and done.returncode != 0:
            raise AssertionError(f"{' '.join(command)} failed: {done.stderr.strip()}")
        return done.stdout

    def xdotool(self, *arguments):
        return self.run(["xdotool", *[str(a) for a in arguments]])

    def search_windows(self, pid, visible=True):
        """The ids of the visible windows of process pid (of all its windows
        when visible is false). A search that met a window vanishing under it
        (an X error) is made again, so it never reads as "no windows"."""
        only_visible = ["--onlyvisible"] if visible else []
        for _ in range(10):
            done = subprocess.run(["xdotool", "search", *only_visible, "--pid", str(pid)], env=self.env,
                                  capture_output=True, text=True)
            if "error" not in done.stderr.lower():
                return [int(wid) for wid in done.stdout.split()]
        raise AssertionError("xdotool could not list the windows: " + done.stderr.strip())

    def window(self, wid):
        """A window's place, size and parent, or None when it is gone."""
        shown = self.run(["xwininfo", "-id", str(wid), "-tree", "-stats"], check=False)
        values = {}
        for line in shown.splitlines():
            name, _, value = line.strip().partition(": ")
            values[name] = value
        if "Width" not in values:
            return None
        return Window(wid, int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                      int(values["Width"]), int(values["Height"]),
                      parent=int(values["Parent window id"].split()[0], 16),
                      override_redirect=values.get("Override Redirect State") == "yes")

    # Real input, through XTEST.
    def move(self, x, y):
        self.xdotool("mousemove", "--sync", x, y)

    def click(self, x, y, button=1, repeat=1):
        self.move(x, y)
        self.xdotool("click", "--repeat", repeat, "--delay", 60, button)

    def press(self, x, y, button=1):
        self.move(x, y)
        self.xdotool("mousedown", button)

    def release(self, button=1):
        self.xdotool("mouseup", button)

    def drag(self, start, end, steps=8, pause=0.02):
        """Presses at start, moves in steps to end and releases there. A drag
        and drop between windows needs its moves spread out (pause) so the
        drop target can answer each one."""
        self.press(*start)
        for step in range(1, steps + 1):
            self.move(start[0] + (end[0] - start[0]) * step // steps,
                      start[1] + (end[1] - start[1]) * step // steps)
            time.sleep(pause)
        self.release()

    def drag_and_drop(self, start, end):
        """A drag that carries data (a file) from start to a drop at end."""
        self.drag(start, end, steps=20, pause=0.05)

    def key(self, *names):
        self.xdotool("key", "--delay", 40, *names)

    def key_down(self, name):
        self.xdotool("keydown", name)

    def key_up(self, name):
        self.xdotool("keyup", name)

    def screenshot(self):
        done = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=self.env,
                              capture_output=True)
        if done.returncode != 0:
            raise AssertionError("could not read the screen: " + done.stderr.decode())
        return Picture.from_ppm(done.stdout)

    def save_screenshot(self, path):
        self.run(["import", "-window", "root", path])

    def close(self):
        for panel in self.panels:
            _stop(panel)
        _stop(self.wm)
        _stop(self.bus)
        _stop(self.server)


class Picture:
    """An RGB screen picture with pixel and region reads."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    @classmethod
    def from_ppm(cls, raw):
        fields, position = [], 0
        while len(fields) < 4:  # magic, width, height, maximum
            while raw[position:position + 1].isspace():
                position += 1
            start = position
            while not raw[position:position + 1].isspace():
                position += 1
            fields.append(raw[start:position])
        assert fields[0] == b"P6", "not a binary PPM"
        return cls(int(fields[1]), int(fields[2]), raw[position + 1:])

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.data[offset:offset + 3])

    def region(self, x, y, width, height):
        """The bytes of a rectangle, row by row: equal when it looks the same."""
        rows = []
        for row in range(y, y + height):
            offset = (row * self.width + x) * 3
            rows.append(self.data[offset:offset + width * 3])
        return b"".join(rows)

    def list_rows(self, x, y, width, height, row_height, frame=1):
        """Centres of the filled rows of a list at x, y: a row holds an entry
        when it shows dark text or the blue of a selection. Counting stops at
        the first empty row."""
        centres = []
        top = y + frame
        while top + row_height <= y + height:
            band = self.region(x + frame + 2, top, width - 2 * frame - 4, row_height)
            pixels = [band[i:i + 3] for i in range(0, len(band), 3)]
            if not any(max(p) < 110 or (p[2] > 150 and p[0] < 100) for p in pixels):
                break
            centres.append(top + row_height // 2)
            top += row_height
        return centres

    def dark_rows(self, x, y, width, height, level=110):
        """Rows (screen y) of a rectangle holding a pixel darker than level in
        every channel: the rows that carry text in a light list."""
        found = []
        for row in range(y, y + height):
            line = self.region(x, row, width, 1)
            if any(max(line[i:i + 3]) < level for i in range(0, len(line), 3)):
                found.append(row)
        return found

    def text_lines(self, x, y, width, height, level=110):
        """Centres of the bands of text rows in a rectangle, top to bottom. A
        gap of up to two rows (the dot over an i) stays inside a band."""
        centres, band = [], []
        for row in self.dark_rows(x, y, width, height, level) + [None]:
            if band and (row is None or row > band[-1] + 3):
                centres.append((band[0] + band[-1]) // 2)
                band = []
            if row is not None:
                band.append(row)
        return centres


def colour_near(actual, expected, tolerance=12):
    return all(abs(a - e) <= tolerance for a, e in zip(actual, expected))


class Window:
    def __init__(self, wid, x, y, width, height, parent=0, override_redirect=False):
        self.id, self.x, self.y, self.width, self.height = wid, x, y, width, height
        self.parent, self.override_redirect = parent, override_redirect

    @property
    def size(self):
        return (self.width, self.height)

    def __repr__(self):
        return f"Window({self.id}, {self.width}x{self.height}+{self.x}+{self.y})"


def make_clip(path, size=(320, 240), seconds=3.0, rate=25, codec="mpeg4", audio=False):
    """Writes a real clip with ffmpeg: a moving test picture (and a tone)."""
    command = ["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i",
               f"testsrc=size={size[0]}x{size[1]}:rate={rate}:duration={seconds}"]
    if audio:
        command += ["-f", "lavfi", "-i", f"sine=frequency=440:duration={seconds}", "-c:a", "mp2"]
    command += ["-c:v", codec, "-q:v", "5", "-pix_fmt", "yuv420p", path]
    subprocess.run(command, check=True)
    return path


class Reelbox:
    """The real program in a temporary program folder of its own."""

    def __init__(self, display, ini=None, files=None, program=None, home=None, env=None):
        """program names an executable to run where it lies (an installed copy)
        instead of a fresh copy in a program folder of its own; home a home
        folder to use (and keep) instead of a fresh one; env further
        environment variables."""
        self.display = display
        self.root = tempfile.mkdtemp(prefix="reelbox-system-")
        self.executable = program or os.path.join(self.root, "program", "reelbox")
        self.folder = os.path.dirname(self.executable)
        self.home = home or os.path.join(self.root, "home")
        self.extra_env = env or {}
        os.makedirs(self.folder, exist_ok=True)
        os.makedirs(self.home, exist_ok=True)
        if program is None:
            shutil.copy2(EXECUTABLE, self.executable)
        if ini is not None:
            self.write("Reelbox.ini", ini)
        for name, content in (files or {}).items():
            self.write(name, content)
        self.process = None
        self.main = None

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, content):
        data = content.encode("utf-8") if isinstance(content, str) else content
        with open(self.path(name), "wb") as f:
            f.write(data)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def exists(self, name):
        return os.path.exists(self.path(name))

    def environment(self):
        runtime = os.path.join(self.root, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env = dict(self.display.env, HOME=self.home, XDG_RUNTIME_DIR=runtime,
                   XDG_DATA_HOME=os.path.join(self.home, ".local", "share"),
                   XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
                   XDG_CACHE_HOME=os.path.join(self.home, ".cache"))
        env.update(self.extra_env)
        env.pop("QT_QPA_PLATFORM", None)
        return env

    def start(self, command_prefix=(), command=None, arguments=(), cwd=None):
        """Runs command (by default the executable) with arguments under
        command_prefix, in cwd (by default the program's temporary folder)."""
        self.log = open(os.path.join(self.root, "reelbox.log"), "wb")
        self.process = subprocess.Popen([*command_prefix, *(command or [self.executable]), *arguments],
                                        cwd=cwd or self.root,
                                        env=self.environment(), stdout=self.log,
                                        stderr=subprocess.STDOUT)
        self.main = wait_for(self._main_window, "the main window to show")
        wait_for(self._main_painted, "the main window to be painted")
        return self

    # Windows of the program: its visible top-level windows.
    def windows(self):
        if self.process is None or self.process.poll() is not None:
            return []
        found = self.display.search_windows(self.process.pid)
        windows = [w for w in (self.display.window(wid) for wid in found) if w]
        # Not a window inside another of the program's. Its parent is looked
        # for among all of them: a closing window is unmapped while the search
        # runs, and the picture inside it must not then read as a window.
        ids = set(self.display.search_windows(self.process.pid, visible=False))
        return [w for w in windows if w.parent not in ids]

    def _main_window(self):
        for window in self.windows():
            if window.size == MAIN_SIZE:
                return window
        return None

    def _main_painted(self):
        picture = self.display.screenshot()
        # The title picture's dark teal and the light middle of the background.
        return picture.pixel(self.main.x + 200, self.main.y + 260) != (0, 0, 0)

    def refresh_main(self):
        self.main = wait_for(self._main_window, "the main window")
        return self.main

    def players(self):
        """Windows other than the main window that the window manager manages:
        the opening outline, tooltips and pop-up lists are not players."""
        main_id = self.main.id if self.main else None
        return [w for w in self.windows() if w.id != main_id and not w.override_redirect]

    def wait_player(self, what="a player window", timeout=15):
        return wait_for(lambda: (self.players() or [None])[0], what, timeout)

    def wait_no_player(self, what="the player window to close", timeout=15):
        wait_for(lambda: not self.players(), what, timeout)

    # Input at points of the main window.
    def at(self, point):
        return (self.main.x + point[0], self.main.y + point[1])

    def click(self, point, **options):
        self.display.click(*self.at(point), **options)

    def screen(self):
        return self.display.screenshot()

    def list_rows(self, rect):
        """Screen y of each entry a list of the main window shows."""
        import layout
        x, y, width, height = rect
        return self.screen().list_rows(self.main.x + x, self.main.y + y, width, height - 17,
                                       layout.LIST_ROW_HEIGHT, layout.LIST_FRAME)

    def pixel(self, point):
        return self.screen().pixel(*self.at(point))

    # The process as the system sees it.
    def exited(self):
        return self.process is not None and self.process.poll() is not None

    def wait_exit(self, timeout=10):
        wait_for(self.exited, "the program to end", timeout)
        return self.process.returncode

    def cpu_seconds(self):
        with open(f"/proc/{self.process.pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS

    def voluntary_switches(self):
        total = 0
        tasks = f"/proc/{self.process.pid}/task"
        for task in os.listdir(tasks):
            try:
                with open(os.path.join(tasks, task, "status")) as f:
                    for line in f:
                        if line.startswith("voluntary_ctxt_switches:"):
                            total += int(line.split()[1])
            except FileNotFoundError:
                pass  # a thread that ended meanwhile
        return total

    def close(self):
        if self.process is not None and self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        if getattr(self, "log", None):
            self.log.close()
        shutil.rmtree(self.root, ignore_errors=True)


class SystemTest(unittest.TestCase):
    """A test case with a display and a program of its own, cleaned up after
    it whether it passes or fails. On failure the screen is kept beside the
    build for a look (`system-failures/`)."""

    window_manager = True

    def setUp(self):
        if not EXECUTABLE or not os.path.exists(EXECUTABLE):
            self.fail("REELBOX_EXECUTABLE does not name the built program")
        self.display = Display(wm=self.window_manager)
        self.addCleanup(self.display.close)
        self.clips = tempfile.mkdtemp(prefix="reelbox-clips-")
        self.addCleanup(shutil.rmtree, self.clips, True)

    def start(self, ini=None, files=None, folder=None, command_prefix=(), command=None, program=None,
              home=None, env=None, arguments=(), cwd=None, **settings):
        """Starts the program; folder is the folder it shows, settings any
        further keys of its settings file, command_prefix what it runs under;
        command, program, home, env, arguments and cwd as Reelbox and
        Reelbox.start take them."""
        if ini is None and (folder is not None or settings):
            keys = {"Path": folder or self.clips, **settings}
            ini = "[Section]\r\n" + "".join(f"{k}={v}\r\n" for k, v in keys.items())
        self.program = Reelbox(self.display, ini=ini, files=files, program=program, home=home, env=env)
        self.addCleanup(self.program.close)
        self.addCleanup(self._keep_screen_on_failure)
        return self.program.start(command_prefix, command, arguments, cwd)

    def _keep_screen_on_failure(self):
        result = getattr(getattr(self, "_outcome", None), "result", None)
        problems = (result.failures + result.errors) if result is not None else []
        if any(getattr(test, "test_case", test) is self for test, _ in problems):
            folder = os.path.join(os.getcwd(), "system-failures")
            os.makedirs(folder, exist_ok=True)
            try:
                self.display.save_screenshot(os.path.join(folder, self.id() + ".png"))
            except AssertionError:
                pass

    def clip(self, name, **options):
        return make_clip(os.path.join(self.clips, name), **options)
