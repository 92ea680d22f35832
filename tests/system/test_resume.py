"""Where a file was left: 再生 goes on from there after a stop, a restart or
a kill; Shift starts over, a watched or replaced file starts at 0, and an
unreadable store is put aside with a note."""

import os
import signal
import time

import layout
from harness import wait_for
from test_media_controls import MprisTest


class Resume(MprisTest):
    def setUp(self):
        super().setUp()
        self.clip("a.avi", size=(160, 120), seconds=40, rate=5)

    def play(self, program, shift=False):
        self.play_selected(program, 0, shift)

    def play_selected(self, program, row, shift=False):
        self.select_file(program, row)
        if shift:
            self.display.key_down("shift")
        program.click(layout.button("play_file"))
        if shift:
            self.display.key_up("shift")
        program.wait_player()
        wait_for(lambda: self.status() == "Playing", "the status Playing")

    def play_and_stop_at(self, program, seconds):
        self.play(program)
        wait_for(lambda: self.seconds() >= seconds, f"{seconds} s played", timeout=seconds + 10)
        left = self.seconds()
        self.command("Stop")
        program.wait_no_player()
        return left

    def assertStartsNear(self, expected):
        start = self.seconds()
        self.assertTrue(expected - 3 <= start <= expected + 1.5, f"started at {start}, left at {expected}")

    def test_a_stopped_file_resumes_and_shift_starts_over(self):
        program = self.start_on(["a.avi"])
        left = self.play_and_stop_at(program, 4)
        self.play(program)
        self.assertStartsNear(left)
        self.command("Stop")
        program.wait_no_player()
        self.play(program, shift=True)
        self.assertStartsNear(0)

    def test_a_file_left_in_its_last_seconds_counts_as_watched(self):
        program = self.start_on(["a.avi"])
        self.play(program)
        self.command("Pause")
        self.bus("org.mpris.MediaPlayer2.reelbox", "org.mpris.MediaPlayer2.Player.Seek", "32000000")
        wait_for(lambda: self.seconds() >= 31, "the seek to the last seconds")
        self.command("Stop")
        program.wait_no_player()
        self.play(program)
        self.assertStartsNear(0)

    def test_a_kill_loses_at_most_ten_seconds(self):
        program = self.start_on(["a.avi"])
        self.play(program)
        wait_for(lambda: self.seconds() >= 13, "13 s played", timeout=25)
        os.kill(program.process.pid, signal.SIGKILL)
        program.process.wait()
        program = self.program.start()
        wait_for(lambda: len(self.file_rows(program)) == 1, "the file listed again")
        self.play(program)
        # Written at least every 10 s: at 13 s the point is past 3 s, never past 13 s.
        self.assertTrue(1.5 < self.seconds() <= 14.5, f"resumed at {self.seconds()}")

    def test_a_replaced_file_starts_at_zero(self):
        program = self.start_on(["a.avi"])
        self.play_and_stop_at(program, 4)
        time.sleep(1.1)  # a modification time of its own
        self.clip("a.avi", size=(160, 120), seconds=41, rate=5)
        self.play(program)
        self.assertStartsNear(0)

    def test_an_unreadable_store_is_put_aside_and_a_fresh_one_kept(self):
        junk = b"not a database at all" * 100
        program = self.start(folder=self.clips, files={"Reelbox.db": junk})
        wait_for(lambda: len(program.windows()) >= 2, "the note about the store")
        aside = [n for n in os.listdir(program.folder) if n.startswith("Reelbox.db.unreadable-")]
        self.assertEqual(len(aside), 1, os.listdir(program.folder))
        self.assertEqual(program.read(aside[0]), junk)
        self.display.key("Return")
        wait_for(lambda: len(program.windows()) == 1, "the note closed")
        left = self.play_and_stop_at(program, 3)
        self.play(program)
        self.assertStartsNear(left)

    def test_a_realaudio_file_resumes_too(self):
        self.clip("b.rm", size=(160, 120), seconds=40, rate=5, codec="rv20")
        program = self.start_on(["a.avi", "b.rm"])
        self.play_selected(program, 1)
        wait_for(lambda: self.seconds() >= 4, "4 s played", timeout=15)
        left = self.seconds()
        self.command("Stop")
        program.wait_no_player()
        self.play_selected(program, 1)
        self.assertStartsNear(left)
