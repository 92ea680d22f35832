"""Where a file or a list was left: 再生 and 連続再生 go on from there after a
stop, a restart or a kill; Shift starts over, a watched file goes on with the
next (or starts at 0), a replaced one starts at 0, and an unreadable store is
put aside with a note."""

import os
import re
import signal
import time

import layout
from harness import wait_for
from test_media_controls import NAME, PLAYER, MprisTest


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


class ListResume(MprisTest):
    """Where a list's 連続再生 was left: each folder and group on its own."""

    NAMES = ["a.avi", "b.avi", "c.avi", "d.avi"]

    def setUp(self):
        super().setUp()
        for name in self.NAMES:
            self.clip(name, size=(160, 120), seconds=40, rate=5)

    def playing(self):
        return re.search(r"'xesam:title': <'([^']+)'>", self.get("Metadata")).group(1)

    def play_list(self, program, button="play_files", shift=False):
        if shift:
            self.display.key_down("shift")
        program.click(layout.button(button))
        if shift:
            self.display.key_up("shift")
        program.wait_player()
        wait_for(lambda: self.status() == "Playing", "the status Playing")
        return self.playing()

    def next_file(self):
        before = self.playing()
        self.command("Next")
        wait_for(lambda: self.status() == "Playing" and self.playing() != before, "the next file playing")
        return self.playing()

    def stop_at(self, program, seconds):
        wait_for(lambda: self.seconds() >= seconds, f"{seconds} s played", timeout=seconds + 10)
        left = self.seconds()
        self.command("Stop")
        program.wait_no_player()
        return left

    def assertResumes(self, program, name, left, button="play_files", shift=False):
        self.assertEqual(self.play_list(program, button, shift), name)
        start = self.seconds()
        self.assertTrue(left - 3 <= start <= left + 1.5, f"started at {start}, left at {left}")

    def test_in_order_each_list_goes_on_where_it_was_left_after_another_and_after_exit(self):
        group = [os.path.join(self.clips, n) for n in ("c.avi", "d.avi")]
        program = self.start(folder=self.clips, files={"Reelbox00.rdm": "".join(p.ljust(255) for p in group)})
        wait_for(lambda: len(program.list_rows(layout.FAVOURITES)) == 2, "the group's two favourites")
        self.assertEqual(self.play_list(program), "a.avi")
        self.assertEqual(self.next_file(), "b.avi")
        left = self.stop_at(program, 4)
        self.assertEqual(self.play_list(program, "play_favourites"), "c.avi")
        self.assertEqual(self.next_file(), "d.avi")
        group_left = self.stop_at(program, 2)
        program.click(layout.button("exit"))
        program.wait_exit()
        program = self.program.start()
        wait_for(lambda: len(program.list_rows(layout.FAVOURITES)) == 2, "the favourites again")
        self.assertResumes(program, "b.avi", left)
        self.command("Stop")
        program.wait_no_player()
        self.assertResumes(program, "d.avi", group_left, "play_favourites")

    def test_at_random_the_rest_of_the_old_order_follows(self):
        program = self.start(folder=self.clips, rdm1=1)
        wait_for(lambda: len(program.list_rows(layout.FILES)) == 4, "the four files")
        played = [self.play_list(program), self.next_file()]
        left = self.stop_at(program, 3)
        self.assertResumes(program, played[-1], left)
        played += [self.next_file(), self.next_file()]
        self.assertEqual(sorted(played), self.NAMES, "each file once")
        self.assertIn("<false>", self.get("CanGoNext"), "nothing after the last file")
        self.command("Stop")
        program.wait_no_player()

    def test_shift_starts_the_list_over(self):
        program = self.start(folder=self.clips)
        wait_for(lambda: len(program.list_rows(layout.FILES)) == 4, "the four files")
        self.play_list(program)
        self.next_file()
        self.stop_at(program, 3)
        self.assertResumes(program, "a.avi", 0, shift=True)

    def test_a_watched_entry_goes_on_to_the_next(self):
        program = self.start(folder=self.clips)
        wait_for(lambda: len(program.list_rows(layout.FILES)) == 4, "the four files")
        self.play_list(program)
        self.command("Pause")
        self.bus(NAME, f"{PLAYER}.Seek", "33000000")
        wait_for(lambda: self.seconds() >= 32, "the seek to the last seconds")
        self.command("Stop")
        program.wait_no_player()
        self.assertResumes(program, "b.avi", 0)

    def test_a_kill_during_the_list_loses_at_most_ten_seconds(self):
        program = self.start(folder=self.clips)
        wait_for(lambda: len(program.list_rows(layout.FILES)) == 4, "the four files")
        self.play_list(program)
        self.next_file()
        wait_for(lambda: self.seconds() >= 12, "12 s played", timeout=25)
        os.kill(program.process.pid, signal.SIGKILL)
        program.process.wait()
        program = self.program.start()
        wait_for(lambda: len(program.list_rows(layout.FILES)) == 4, "the files listed again")
        self.assertEqual(self.play_list(program), "b.avi")
        # Written at least every 10 s: past 2 s, never past 12 s.
        self.assertTrue(1.5 < self.seconds() <= 13.5, f"resumed at {self.seconds()}")
