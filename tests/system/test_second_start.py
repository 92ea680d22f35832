"""Starting the program again on the settings folder a running copy keeps: the
later start hands itself to the running copy, which comes to the front, and
ends; copies keeping their settings in different folders run side by side.
Starts that come at once are each played in their turn, and the running copy
goes on answering; what is not a start's message is refused."""

import glob
import os
import re
import signal
import socket
import struct
import subprocess
import threading
import unittest

import layout
from harness import DRAG_SOURCE, MAIN_SIZE, Reelbox, SystemTest, wait_for

EVENT = re.compile(r'string "xesam:title"\s+variant\s+string "([^"]*)"')


class AnnouncedTitles:
    """The names of the files the program announces as it plays them (its
    MPRIS metadata), in order, as dbus-monitor reads them off the bus."""

    def __init__(self, display):
        self.process = subprocess.Popen(["dbus-monitor", "--session"], env=display.env, text=True,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.lines = []
        self.reader = threading.Thread(target=lambda: self.lines.extend(self.process.stdout), daemon=True)
        self.reader.start()
        wait_for(lambda: self.lines, "dbus-monitor to listen")

    def of(self, names):
        """The announced titles among names, each play once."""
        found = [t for t in EVENT.findall("".join(self.lines)) if t in names]
        return [t for i, t in enumerate(found) if i == 0 or found[i - 1] != t]

    def close(self):
        self.process.terminate()
        self.process.wait()
        self.reader.join()
        self.process.stdout.close()


class SecondStart(SystemTest):
    def launch(self, program, *arguments, prefix=()):
        """Starts program's executable once more, as a launcher would."""
        process = subprocess.Popen([*prefix, program.executable, *arguments], cwd=self.clips,
                                   env=program.environment(), stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: process.poll() is not None or (process.kill(), process.wait()))
        return process

    def main_windows(self, *processes):
        return [wid for process in processes if process.poll() is None
                for wid in self.display.search_windows(process.pid)
                if (lambda w: w is not None and w.size == MAIN_SIZE)(self.display.window(wid))]

    def running_with_titles(self):
        program = self.start(folder=self.clips)
        titles = AnnouncedTitles(self.display)
        self.addCleanup(titles.close)
        return program, titles

    def wait_played(self, program, titles, names):
        """Waits until names have been announced and the last of them has
        shown its player, which has closed; returns the titles in order."""
        shown = set()

        def done():
            for player in program.players():
                shown.add(self.display.run(["xdotool", "getwindowname", str(player.id)], check=False).strip())
            played = titles.of(names)
            return (set(played) == set(names) and f"{played[-1]} - Reelbox" in shown
                    and not program.players() and played)
        return wait_for(done, f"{', '.join(names)} to play", timeout=40)

    def leave_with_exit_button(self, program):
        program.click(layout.centre(layout.BUTTONS["exit"]))
        self.assertEqual(program.wait_exit(), 0)
        self.assertTrue(program.exists("Reelbox.ini"), "終了 saved nothing")

    def active_window(self):
        return int(self.display.run(["xdotool", "getactivewindow"], check=False).strip() or 0)

    def test_a_second_start_hands_over_and_the_running_copy_comes_to_the_front(self):
        program = self.start(folder=self.clips)
        other = subprocess.Popen([DRAG_SOURCE, "400", "300", "/tmp/x"], env=self.display.env,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: (other.kill(), other.wait()))
        front = wait_for(lambda: self.display.run(["xdotool", "search", "--onlyvisible", "--name",
                                                   "uri drag source"], check=False).split(), "another window")
        self.display.xdotool("windowactivate", "--sync", front[0])

        later = self.launch(program)
        self.assertEqual(later.wait(15), 0)
        wait_for(lambda: self.active_window() == program.main.id, "the running copy to come to the front")
        self.assertEqual(len(self.main_windows(program.process)), 1)

        # A file handed over plays in the running copy ("Open with" while it runs).
        self.clip("a.avi", seconds=1.0)
        self.assertEqual(self.launch(program, "a.avi").wait(15), 0)
        program.wait_player("the handed-over file's player in the running copy")
        program.wait_no_player()

        # A copy of its own elsewhere keeps its own settings, and runs beside it.
        elsewhere = Reelbox(self.display)
        self.addCleanup(elsewhere.close)
        elsewhere.start()
        self.assertFalse(program.exited())

    def test_two_copies_started_at_once_and_a_killed_one_leave_one_running_copy(self):
        program = Reelbox(self.display, ini=f"[Section]\r\nPath={self.clips}\r\n")
        self.addCleanup(program.close)
        # No runtime folder: the lock and socket go to a private folder of their own.
        prefix = ("env", "-u", "XDG_RUNTIME_DIR")
        starts = [self.launch(program, prefix=prefix) for _ in range(2)]
        first = wait_for(lambda: self.main_windows(*starts), "a main window")
        ended = wait_for(lambda: [p for p in starts if p.poll() is not None], "one start to hand over")
        self.assertEqual([p.returncode for p in ended], [0])
        running = next(p for p in starts if p.poll() is None)
        self.assertEqual(self.main_windows(running), first)

        # Killed, it leaves its lock and socket: the next start runs all the same,
        # and takes later starts itself.
        running.send_signal(signal.SIGKILL)
        running.wait()
        again = self.launch(program, prefix=prefix)
        wait_for(lambda: self.main_windows(again), "the next start's main window")
        self.assertEqual(self.launch(program, prefix=prefix).wait(15), 0)
        self.assertIsNone(again.poll())

    def test_starts_at_once_beside_a_running_copy_each_play_and_it_goes_on_answering(self):
        program, titles = self.running_with_titles()
        for round, count in enumerate((2, 5, 3)):
            names = [f"r{round}-{n}.avi" for n in range(count)]
            for name in names:
                self.clip(name, size=(160, 120), seconds=1.0, rate=10)
            starts = [self.launch(program, name) for name in names]
            self.assertEqual([start.wait(30) for start in starts], [0] * count, f"round {round}")
            played = self.wait_played(program, titles, names)
            self.assertEqual(sorted(played), names, f"round {round}: each start played once")
        self.leave_with_exit_button(program)

    def test_a_start_while_a_message_is_open_waits_for_the_whole_of_the_one_before(self):
        program, titles = self.running_with_titles()
        for name in ("a.avi", "b.avi", "c.avi"):
            self.clip(name, size=(160, 120), seconds=1.0, rate=10)
        self.assertEqual(self.launch(program, "missing.avi", "a.avi", "b.avi").wait(15), 0)
        box = program.wait_player("the message about missing.avi")
        self.assertEqual(self.launch(program, "c.avi").wait(15), 0)
        self.assertEqual([p.id for p in program.players()], [box.id], "played while the message was open")
        self.display.key("Return")
        self.assertEqual(self.wait_played(program, titles, ["a.avi", "b.avi", "c.avi"]), ["a.avi", "b.avi", "c.avi"])
        self.leave_with_exit_button(program)

    def test_what_is_not_a_whole_message_is_refused_and_the_running_copy_goes_on(self):
        program, titles = self.running_with_titles()
        [path] = glob.glob(os.path.join(program.root, "runtime", "reelbox-*.socket"))
        numbers = lambda *n: struct.pack(f">{len(n)}I", *n)
        mark = 0x52425831
        for what, message in {
            "2^32 - 1 names in 39 bytes": numbers(35, mark, 0xFFFFFFFF) + b"\xff" * 27,
            "a message declared 4 GiB long": numbers(0xFFFFFFFF, mark),
            "a name declared 4 GiB long": numbers(16, mark, 1, 0xFFFFFFFE, 0),
        }.items():
            with socket.socket(socket.AF_UNIX) as client:
                client.settimeout(10)
                client.connect(path)
                client.sendall(message)
                self.assertEqual(client.recv(1), b"\x15", what)
        self.clip("a.avi", size=(160, 120), seconds=1.0, rate=10)
        self.assertEqual(self.launch(program, "a.avi").wait(15), 0)
        self.wait_played(program, titles, ["a.avi"])
        self.leave_with_exit_button(program)


if __name__ == "__main__":
    unittest.main()
