"""Reelbox installed with `cmake --install` where the user cannot write, as a
desktop program: started through its launcher entry, it keeps the user's
settings in the user's own configuration folder, starting from the defaults
shipped beside it; and when nothing can be saved anywhere, 終了 says so."""

import configparser
import os
import shlex
import shutil
import stat
import subprocess
import tempfile
import unittest

import layout
from harness import SystemTest, can_mount, colour_near, stays, wait_for, with_mounts

BUILD_DIR = os.environ.get("REELBOX_BUILD_DIR", "")
DESKTOP_ID = "jp.example.reelbox"


class InstalledProgram(SystemTest):
    def setUp(self):
        super().setUp()
        if os.geteuid() == 0 and not can_mount():
            self.skipTest("root without mount namespaces: no folder can be read-only for the program")
        self.prefix = tempfile.mkdtemp(prefix="reelbox-prefix-")
        self.addCleanup(shutil.rmtree, self.prefix, True)
        subprocess.run(["cmake", "--install", BUILD_DIR, "--prefix", self.prefix], check=True,
                       stdout=subprocess.DEVNULL)
        self.bin = os.path.join(self.prefix, "bin")
        self.home = tempfile.mkdtemp(prefix="reelbox-home-")
        self.addCleanup(shutil.rmtree, self.home, True)
        self.config = os.path.join(self.home, ".config", "reelbox")

    def ship(self, name, content):
        """Puts a default file beside the installed program, as a system would."""
        with open(os.path.join(self.bin, name), "w", encoding="utf-8", newline="") as f:
            f.write(content)

    def read_only_prefix(self):
        """A command prefix under which the installed tree is read-only for the
        program: a read-only bind mount seen by it alone when we are root
        (for whom every folder is writable), else plain permissions."""
        if os.geteuid() != 0:
            for folder, _, _ in os.walk(self.prefix):
                os.chmod(folder, stat.S_IRUSR | stat.S_IXUSR | stat.S_IRGRP | stat.S_IXGRP)
            self.addCleanup(lambda: [os.chmod(f, 0o755) for f, _, _ in os.walk(self.prefix)])
            return ()
        prefix = shlex.quote(self.prefix)
        return with_mounts(f"mount --bind {prefix} {prefix} && mount -o remount,bind,ro {prefix}")

    def launcher_command(self, files=()):
        """What the application menu runs (no files), or a file manager's "Open
        with" (files): the entry's Exec, found on PATH, its %F the files."""
        entry = configparser.ConfigParser(interpolation=None)
        entry.read(os.path.join(self.prefix, "share", "applications", DESKTOP_ID + ".desktop"),
                   encoding="utf-8")
        command = []
        for word in shlex.split(entry["Desktop Entry"]["Exec"]):
            command += list(files) if word == "%F" else [word]
        return command

    def start_installed(self, files=(), **env):
        path = self.bin + os.pathsep + os.environ.get("PATH", "")
        return self.start(command_prefix=self.read_only_prefix(), command=self.launcher_command(files),
                          program=os.path.join(self.bin, "reelbox"), home=self.home,
                          env={"PATH": path, **env})

    def shows_on(self, program, switch):
        return colour_near(program.pixel(layout.switch(switch)), layout.SWITCH_ON)

    def test_settings_are_kept_in_the_users_folder_starting_from_the_shipped_ones(self):
        shipped = f"; shipped with the system\r\n[Section]\r\nPath={self.clips}\r\nRep2= 1\r\n"
        self.ship("Reelbox.ini", shipped)
        program = self.start_installed()
        self.assertTrue(self.shows_on(program, "Rep2"), "the shipped default")
        self.assertFalse(self.shows_on(program, "Rep1"))
        self.assertFalse(os.path.exists(self.config), "made before anything was saved")

        program.click(layout.switch("Rep1"))
        wait_for(lambda: self.shows_on(program, "Rep1"), "the repeat switch to show on")
        program.click(layout.button("exit"))
        self.assertEqual(program.wait_exit(), 0)
        with open(os.path.join(self.config, "Reelbox.ini"), encoding="utf-8", newline="") as f:
            saved = f.read()
        self.assertTrue(saved.startswith("; shipped with the system\r\n[Section]\r\n"), saved)
        for line in (f"Path={self.clips}", "Rep1= 1", "Rep2= 1"):
            self.assertIn(line + "\r\n", saved)
        with open(os.path.join(self.bin, "Reelbox.ini"), encoding="utf-8", newline="") as f:
            self.assertEqual(f.read(), shipped)
        self.assertEqual(sorted(os.listdir(self.bin)), ["Reelbox.ini", "reelbox"])
        program.close()

        # Started again, it finds the switch as it was left, and the user's
        # own file now wins over the shipped one.
        self.ship("Reelbox.ini", "[Section]\r\nRep1= 0\r\nRep2= 0\r\n")
        program = self.start_installed()
        self.assertTrue(self.shows_on(program, "Rep1"), "the switch as it was left")
        self.assertTrue(self.shows_on(program, "Rep2"))
        program.click(layout.switch("Rep1"))
        wait_for(lambda: not self.shows_on(program, "Rep1"), "the repeat switch to show off")
        program.click(layout.button("exit"))
        self.assertEqual(program.wait_exit(), 0)
        with open(os.path.join(self.config, "Reelbox.ini"), encoding="utf-8") as f:
            self.assertIn("Rep1= 0\n", f.read())

    def test_first_start_shows_the_videos_folder_and_open_with_plays_the_files_handed_over(self):
        # The user's videos folder as the desktop's user-dirs file names it.
        videos = os.path.join(self.home, "Filme")
        os.makedirs(os.path.join(self.home, ".config"))
        with open(os.path.join(self.home, ".config", "user-dirs.dirs"), "w", encoding="utf-8") as f:
            f.write('XDG_VIDEOS_DIR="$HOME/Filme"\n')
        os.makedirs(videos)
        self.clip("clip.avi", seconds=1.5, rate=10)
        shutil.copy(os.path.join(self.clips, "clip.avi"), videos)
        program = self.start_installed()
        wait_for(lambda: len(program.list_rows(layout.FILES)) == 1, "the videos folder's clip in the file list")
        program.close()

        program = self.start_installed(files=[os.path.join(self.clips, "clip.avi")])
        player = program.wait_player("the file handed over to play")
        self.assertEqual(self.display.run(["xdotool", "getwindowname", str(player.id)]).strip(),
                         "clip.avi - Reelbox")
        program.wait_no_player("the player to close at the end of the clip")

    def test_exit_that_cannot_save_says_so_and_leaves_only_when_told(self):
        # The configuration folder cannot be made: a file stands where it goes.
        blocked = os.path.join(self.home, "not-a-folder")
        open(blocked, "w").close()
        program = self.start_installed(XDG_CONFIG_HOME=blocked)
        program.click(layout.switch("Full1"))
        wait_for(lambda: self.shows_on(program, "Full1"), "the full-screen switch to show on")

        program.click(layout.button("exit"))
        box = program.wait_player("the message that nothing could be saved")
        self.assertEqual(self.display.run(["xdotool", "getwindowname", str(box.id)]).strip(), "Reelbox")
        self.display.key("Return")  # the default answer: stay
        program.wait_no_player("the message to close")
        stays(lambda: not program.exited(), "the program to stay after 'No'", 1.0)

        program.click(layout.button("exit"))
        program.wait_player("the message again")
        self.display.key("alt+y")
        self.assertEqual(program.wait_exit(), 0)
        self.assertEqual(sorted(os.listdir(self.bin)), ["reelbox"])
        # (The graphics driver keeps its shader cache in ~/.cache: not ours.)
        self.assertEqual(sorted(set(os.listdir(self.home)) - {".cache"}), ["not-a-folder"])


if __name__ == "__main__":
    unittest.main()
