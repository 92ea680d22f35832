"""Starting the program again on the settings folder a running copy keeps: the
later start hands itself to the running copy, which comes to the front, and
ends; copies keeping their settings in different folders run side by side."""

import os
import signal
import subprocess
import unittest

from harness import DRAG_SOURCE, MAIN_SIZE, Reelbox, SystemTest, wait_for


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

        later = self.launch(program, "a.avi")
        self.assertEqual(later.wait(15), 0)
        wait_for(lambda: self.active_window() == program.main.id, "the running copy to come to the front")
        self.assertEqual(len(self.main_windows(program.process)), 1)

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


if __name__ == "__main__":
    unittest.main()
