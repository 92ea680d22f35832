"""How far each file was watched, shown in both lists: a thin bar under a file
left midway and a tick after one watched, read by a screen reader as 途中 NN%
and 視聴済み after a restart; the lists' context menus mark entries 視聴済み
or 未視聴 and play a list from its first entry not watched; and the settings
and list files stay byte for byte what they are without any of it."""

import os
import re
import subprocess
import time
import unittest

import layout
from harness import Reelbox, colour_near, stays, wait_for
from screen_reader import ScreenReader, control, controls
from test_favourites import FavouritesTest, records
from test_media_controls import MprisTest

# The colour the marks are drawn in: the lists' highlight.
MARK = (48, 140, 198)


class WatchMarks(MprisTest, FavouritesTest):
    def setUp(self):
        super().setUp()
        self.clip("a.avi", size=(160, 120), seconds=40, rate=5)
        for name in ("b.avi", "c.avi"):
            self.clip(name, size=(160, 120), seconds=2, rate=5)
        self.paths = [os.path.join(self.clips, n) for n in ("a.avi", "b.avi", "c.avi")]

    def start_with_favourites(self, **options):
        files = {"Reelbox00.rdm": records(self.paths)}
        return self.wait_lists(self.start(folder=self.clips, files=files, **options))

    def wait_lists(self, program):
        wait_for(lambda: len(self.file_rows(program)) == 3 and len(self.favourite_rows(program)) == 3,
                 "three files and three favourites")
        return program

    def marks(self, program, rect):
        """Per row of a list: how many pixels show the marks' colour."""
        x, y, width, _ = rect
        screen = program.screen()
        counts = []
        for row in range(3):
            top = program.main.y + y + layout.LIST_FRAME + row * layout.LIST_ROW_HEIGHT
            band = screen.region(program.main.x + x + 2, top, width - 20, layout.LIST_ROW_HEIGHT)
            counts.append(sum(colour_near(band[i:i + 3], MARK, 40) for i in range(0, len(band), 3)))
        return counts

    def marked(self, program, rect):
        return [count > 3 for count in self.marks(program, rect)]

    def choose(self, program, open_menu, downs):
        """Opens a list's context menu and takes its item `downs` down."""
        before = {w.id for w in program.windows()}
        open_menu()
        wait_for(lambda: [w for w in program.windows() if w.id not in before], "the context menu")
        self.display.key(*["Down"] * downs, "Return")
        wait_for(lambda: not [w for w in program.windows() if w.id not in before and w.override_redirect],
                 "the menu closed")

    def deselect(self, point):
        """Takes the selection back from the entry at point (Ctrl+click): a
        selected row is filled with the marks' colour."""
        self.display.key_down("ctrl")
        self.display.click(*point)
        self.display.key_up("ctrl")

    def right_click(self, point):
        return lambda: self.display.click(*point, button=3)

    def play_and_stop_at(self, program, seconds):
        self.select_file(program, 0)
        program.click(layout.button("play_file"))
        program.wait_player()
        wait_for(lambda: self.status() == "Playing" and self.seconds() >= seconds, f"{seconds} s played",
                 timeout=seconds + 10)
        left = self.seconds()
        self.command("Stop")
        program.wait_no_player()
        return left

    def test_a_file_left_midway_and_one_watched_show_in_both_lists_and_are_read_after_a_restart(self):
        program = self.start_with_favourites()
        left = self.play_and_stop_at(program, 4)
        self.choose(program, self.right_click(self.file_point(program, 1)), 1)  # 視聴済み
        self.deselect(self.file_point(program, 1))
        for rect in (layout.FILES, layout.FAVOURITES):
            wait_for(lambda: self.marked(program, rect) == [True, True, False], "a bar and a tick in each list")
        self.display.save_screenshot(os.path.join(os.environ.get("REELBOX_BUILD_DIR", "."), "watch-marks.png"))
        self.display.move(5, 1000)
        time.sleep(0.5)
        cpu = program.cpu_seconds()
        time.sleep(3)
        cpu = program.cpu_seconds() - cpu
        print(f"at rest for 3 s with marks shown: {cpu:.3f} CPU s")
        self.assertLess(cpu, 0.15, "the marks cost nothing at rest")

        program.click(layout.button("exit"))
        self.assertEqual(program.wait_exit(), 0)
        reader = ScreenReader(self.display)
        self.addCleanup(reader.close)
        program.extra_env = reader.environment()
        program.start()
        main = wait_for(lambda: reader.window(program, "frame"), "the main window read", timeout=20)
        percent = int(left / 40 * 100)
        for name in ("ファイル", "Favorite ﾘｽﾄ"):
            def read():
                window = reader.window(program, "frame")
                return [e["description"] for e in controls(control(window, "list", name), "list item")]
            wait_for(lambda: len(read()) == 3 and read()[1] == "視聴済み", f"the marks of {name} read")
            descriptions = read()
            self.assertRegex(descriptions[0], r"^途中 \d+%$")
            self.assertLessEqual(abs(int(re.search(r"\d+", descriptions[0]).group()) - percent), 1, descriptions)
            self.assertEqual(descriptions[1:], ["視聴済み", ""])
        self.assertIsNotNone(main)
        wait_for(lambda: self.marked(program, layout.FAVOURITES) == [True, True, False], "the marks after the restart")

    def test_the_menus_mark_an_entry_watched_and_unwatched_in_both_lists(self):
        reader = ScreenReader(self.display)
        self.addCleanup(reader.close)
        program = self.start_with_favourites(env=reader.environment())
        self.display.click(*self.favourite_point(program, 2))
        reader.events()
        self.choose(program, lambda: self.display.key("Menu"), 2)  # after 見つからないファイルを探す: 視聴済み
        told = ("object:property-change:accessible-description", "list item", self.paths[2])
        wait_for(lambda: told in [e[:3] for e in reader.events()], "the focused entry's new description told")
        self.deselect(self.favourite_point(program, 2))
        both = (layout.FILES, layout.FAVOURITES)
        for rect in both:
            wait_for(lambda: self.marked(program, rect) == [False, False, True], "c.avi marked watched")
        self.choose(program, self.right_click(self.file_point(program, 2)), 2)  # 未視聴
        self.deselect(self.file_point(program, 2))
        for rect in both:
            wait_for(lambda: self.marked(program, rect) == [False, False, False], "c.avi unmarked")

    def test_playing_from_the_first_unwatched_starts_the_list_there(self):
        program = self.start_with_favourites()
        self.choose(program, self.right_click(self.file_point(program, 0)), 1)  # 視聴済み
        self.deselect(self.file_point(program, 0))
        wait_for(lambda: self.marked(program, layout.FILES) == [True, False, False], "a.avi marked watched")
        self.choose(program, self.right_click(self.file_point(program, 0)), 3)  # 未視聴から連続再生
        program.wait_player()
        wait_for(lambda: "'xesam:title': <'b.avi'>" in self.get("Metadata"), "b.avi playing first")
        self.command("Stop")
        program.wait_no_player()

    def session(self, without_points):
        """Plays a.avi and stops it midway, marks entries of both lists and
        leaves by 終了; the settings and list files it leaves."""
        self.program = Reelbox(self.display, ini=f"[Section]\r\nPath={self.clips}\r\n",
                               files={"Reelbox00.rdm": records(self.paths)})
        self.addCleanup(self.program.close)
        if without_points:  # a database that can never be opened, nor put aside: an immutable folder
            os.mkdir(self.program.path("Reelbox.db"))
            if subprocess.run(["chattr", "+i", self.program.path("Reelbox.db")]).returncode != 0:
                self.skipTest("this file system keeps no immutable flag")
            self.addCleanup(subprocess.run, ["chattr", "-i", self.program.path("Reelbox.db")])
        program = self.wait_lists(self.program.start())
        self.play_and_stop_at(program, 2)
        self.choose(program, self.right_click(self.favourite_point(program, 1)), 2)  # 視聴済み
        self.choose(program, self.right_click(self.file_point(program, 2)), 1)  # 視聴済み
        self.choose(program, self.right_click(self.file_point(program, 2)), 2)  # 未視聴
        stays(lambda: len(program.windows()) == 1, "no message", 0.5)
        program.click(layout.button("exit"))
        self.assertEqual(program.wait_exit(), 0)
        kept = sorted(os.listdir(program.folder))
        return {n: program.read(n) for n in kept if n.endswith((".ini", ".rdm"))}, kept

    def test_the_settings_and_list_files_are_those_of_a_run_without_points(self):
        with_points, kept = self.session(without_points=False)
        self.assertIn("Reelbox.db", kept)
        without, kept = self.session(without_points=True)
        self.assertEqual([n for n in kept if n.startswith("Reelbox.db")], ["Reelbox.db"], "the database left alone")
        self.assertEqual(sorted(with_points), ["Reelbox.ini", "Reelbox00.rdm"])
        self.assertEqual(with_points, without)


if __name__ == "__main__":
    unittest.main()
