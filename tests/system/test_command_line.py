"""Reelbox started from a terminal or a file manager: its answers on the
terminal, and the files and folders it is handed on its command line."""

import glob
import os
import re
import subprocess
import tempfile
import time
import unittest

import layout
from harness import EXECUTABLE, SystemTest, stays, wait_for

BUILD_DIR = os.environ.get("REELBOX_BUILD_DIR", "")


def project_version():
    with open(os.path.join(BUILD_DIR, "CMakeCache.txt"), encoding="utf-8") as f:
        return re.search(r"^CMAKE_PROJECT_VERSION:\w+=(.+)$", f.read(), re.M).group(1)


class Terminal(unittest.TestCase):
    def run_without_display(self, *arguments, **env):
        with tempfile.TemporaryDirectory() as runtime:
            environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
            environment.update(XDG_RUNTIME_DIR=runtime, **env)
            environment.pop("QT_QPA_PLATFORM", None)
            return subprocess.run([EXECUTABLE, *arguments], env=environment, capture_output=True, text=True,
                                  timeout=20)

    def test_help_version_and_a_missing_display_answer_in_a_few_lines(self):
        shown = self.run_without_display("--help")
        self.assertEqual((shown.returncode, shown.stderr), (0, ""))
        self.assertTrue(shown.stdout.startswith("Usage: reelbox "), shown.stdout)
        shown = self.run_without_display("--version")
        self.assertEqual((shown.returncode, shown.stdout), (0, f"reelbox {project_version()}\n"))

        # No display at all, and one that is named but does not answer.
        for env in ({}, {"DISPLAY": ":417"}):
            shown = self.run_without_display("a.avi", **env)
            self.assertEqual(shown.returncode, 1, env)
            self.assertRegex(shown.stderr, r"^reelbox: no display found[^\n]*\n$", env)


    def test_mistakes_and_failed_writes_are_told_before_the_display_is_looked_for(self):
        rows = [  # arguments, exit status, what standard error says
            (("--bogus",), 2, r"^reelbox: unknown option --bogus\nTry 'reelbox --help'\.\n$"),
            (("-reverse", "-platform", "xcb", "--bogus", "a.avi"), 2, r"unknown option --bogus"),
            (("-platform", "xcb", "a.avi"), 1, r"^reelbox: no display found"),  # Qt's own options are no mistake
        ]
        for arguments, status, said in rows:
            shown = self.run_without_display(*arguments)
            self.assertEqual(shown.returncode, status, arguments)
            self.assertRegex(shown.stderr, said, arguments)
        with open("/dev/full", "w") as full:
            for option in ("--help", "--version"):
                written = subprocess.run([EXECUTABLE, option], stdout=full, stderr=subprocess.PIPE, text=True,
                                         timeout=20)
                self.assertEqual(written.returncode, 1, option)
                self.assertIn("No space left on device", written.stderr)

    @unittest.skipIf(glob.glob("/usr/lib/*/qt6/plugins/platforms/libqwayland*.so"), "Qt's Wayland plugin is here")
    def test_a_wayland_session_without_qts_wayland_plugin_is_told_so(self):
        with tempfile.TemporaryDirectory() as runtime:
            open(os.path.join(runtime, "wayland-0"), "w").close()
            environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "QT_QPA_PLATFORM")}
            environment.update(XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY="wayland-0", XDG_SESSION_TYPE="wayland")
            shown = subprocess.run([EXECUTABLE, "a.avi"], env=environment, capture_output=True, text=True, timeout=20)
        self.assertEqual(shown.returncode, 1)
        self.assertRegex(shown.stderr, r"^reelbox: no display found: Qt's Wayland plugin is missing \(Debian's qt6-wayland\)\n$")


class HandedFiles(SystemTest):
    SIZES = {"a.avi": (320, 240), "b.rm": (256, 192)}

    def test_files_play_in_order_each_named_by_its_file_then_the_main_window_is_back(self):
        self.clip("a.avi", size=self.SIZES["a.avi"], seconds=1.5, rate=10)
        self.clip("b.rm", size=self.SIZES["b.rm"], seconds=1.5, rate=10, codec="rv20")
        program = self.start(arguments=["a.avi", "b.rm"], cwd=self.clips)  # relative to the terminal's folder
        seen = []

        def note_players():
            for player in program.players():
                # (A window that closed meanwhile has no name to read.)
                name = self.display.run(["xdotool", "getwindowname", str(player.id)], check=False).strip()
                if name and (not seen or seen[-1] != name):
                    seen.append(name)
            return not program.players() and len(seen) >= 2
        wait_for(note_players, "both files to play", timeout=30)
        self.assertEqual(seen, ["a.avi - Reelbox", "b.rm - Reelbox"])
        stays(lambda: not program.players(), "no further player", 1.0)
        program.click(layout.switch("Rep2"))  # the main window takes input again
        wait_for(lambda: program.pixel(layout.switch("Rep2")) != layout.SWITCH_OFF, "the switch to turn on")

    def test_a_folder_opens_in_the_browser_and_what_cannot_be_opened_is_named_in_one_message(self):
        os.makedirs(os.path.join(self.clips, "sub"))
        self.clip(os.path.join("sub", "c.avi"), seconds=0.5)
        program = self.start(arguments=[f"file://{self.clips}/sub", "http://example.com/d.avi", "missing.avi"])
        box = program.wait_player("the message about what could not be opened")
        self.assertEqual(self.display.run(["xdotool", "getwindowname", str(box.id)]).strip(), "Reelbox")
        self.display.key("Return")
        program.wait_no_player("the message to close")
        wait_for(lambda: len(program.list_rows(layout.FILES)) == 1, "the folder's one file in the list")
        stays(lambda: not program.players(), "nothing to play", 1.0)


if __name__ == "__main__":
    unittest.main()
