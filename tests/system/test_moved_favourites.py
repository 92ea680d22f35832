"""Favourites whose files were moved, mended from the list's context menu with
the real mouse and keys: the file found in a subfolder is written into every
group that holds it, a name found twice is left alone, a file seen before is
known by its size among files of its name, and いいえ changes nothing."""

import os
import sqlite3
import unittest

import layout
from harness import stays, wait_for
from test_absent_files import greyed, shown_normally
from test_favourites import FavouritesTest, records


class MovedFavourites(FavouritesTest):
    def start_with_moved_files(self):
        clips = self.clips
        for name, size in (("sub/deeper/moved.avi", 10), ("a/twin.avi", 10), ("b/twin.avi", 99), ("here.avi", 5)):
            os.makedirs(os.path.dirname(os.path.join(clips, name)), exist_ok=True)
            with open(os.path.join(clips, name), "wb") as f:
                f.write(b"x" * size)
        self.old = os.path.join(clips, "moved.avi")
        self.new = os.path.join(clips, "sub", "deeper", "moved.avi")
        here = os.path.join(clips, "here.avi").encode().ljust(255, b"\0")  # kept as it is
        self.saved = {
            "Reelbox00.rdm": records([self.old, os.path.join(clips, "twin.avi")]).encode() + here,
            "Reelbox04.rdm": here + records([self.old]).encode(),
            "Reelbox07.rdm": here,
        }
        program = self.start(folder=clips, files=self.saved)
        wait_for(lambda: greyed(program, 0) and greyed(program, 1) and shown_normally(program, 2),
                 "the two moved entries greyed")
        return program

    def row_point(self, program, row):
        x, y, _, _ = layout.FAVOURITES
        return program.at((x + 60, y + layout.LIST_FRAME + row * layout.LIST_ROW_HEIGHT + 7))

    def choose_first_menu_item_and_wait_for_the_question(self, program, open_menu):
        before = {w.id for w in program.windows()}
        open_menu()
        wait_for(lambda: [w for w in program.windows() if w.id not in before], "the context menu")
        self.display.key("Down", "Return")
        wait_for(lambda: [w for w in program.players() if w.id not in before], "the question")
        # The search has ended: its progress window never shows over the question.
        stays(lambda: len([w for w in program.players() if w.id not in before]) == 1, "the question alone", 1.0)

    def test_yes_mends_the_one_file_found_in_every_group_and_leaves_the_name_found_twice(self):
        program = self.start_with_moved_files()
        self.choose_first_menu_item_and_wait_for_the_question(
            program, lambda: self.display.click(*self.row_point(program, 2), button=3))
        self.display.key("Return")  # はい is the default
        mended = self.new.ljust(255).encode()
        wait_for(lambda: program.read("Reelbox00.rdm")[:255] == mended, "group 1's list file mended")
        self.assertEqual(program.read("Reelbox00.rdm")[255:], self.saved["Reelbox00.rdm"][255:])
        self.assertEqual(program.read("Reelbox04.rdm"), self.saved["Reelbox04.rdm"][:255] + mended)
        self.assertEqual(program.read("Reelbox07.rdm"), self.saved["Reelbox07.rdm"])
        wait_for(lambda: shown_normally(program, 0) and greyed(program, 1), "the mended entry shown as there")

    def test_a_file_seen_before_is_found_by_its_size_in_two_groups_past_a_decoy_of_another_size(self):
        clips = self.clips
        old = os.path.join(clips, "seen.avi")
        with open(old, "wb") as f:
            f.write(b"s" * 300)
        saved = {"Reelbox00.rdm": records([old]).encode(), "Reelbox04.rdm": records([old]).encode()}
        program = self.start(folder=clips, files=saved)
        wait_for(lambda: self.recorded_size(program, old) == 300, "the size of the shown entry's file kept")

        new = os.path.join(clips, "sub", "deeper", "seen.avi")
        os.makedirs(os.path.join(clips, "a"))
        with open(os.path.join(clips, "a", "seen.avi"), "wb") as f:  # sorts before the real one
            f.write(b"d" * 299)
        os.makedirs(os.path.dirname(new))
        os.rename(old, new)
        self.choose_first_menu_item_and_wait_for_the_question(
            program, lambda: self.display.click(*self.row_point(program, 0), button=3))
        self.display.key("Return")
        mended = new.ljust(255).encode()
        wait_for(lambda: program.read("Reelbox00.rdm") == mended, "group 1's list file mended")
        self.assertEqual(program.read("Reelbox04.rdm"), mended)
        wait_for(lambda: shown_normally(program, 0), "the mended entry shown as there")

    @staticmethod
    def recorded_size(program, path):
        try:
            db = sqlite3.connect(f"file:{program.path('Reelbox.db')}?mode=ro", uri=True)
            try:
                row = db.execute("SELECT size FROM favorite_sizes WHERE path = ?", (path.encode(),)).fetchone()
            finally:
                db.close()
        except sqlite3.Error:
            return None
        return row and row[0]

    def test_no_after_the_menu_key_changes_nothing(self):
        program = self.start_with_moved_files()
        self.display.click(*self.row_point(program, 2))
        self.choose_first_menu_item_and_wait_for_the_question(program, lambda: self.display.key("Menu"))
        self.display.key("alt+n")
        wait_for(lambda: not program.players(), "the question closed")
        for name, content in self.saved.items():
            self.assertEqual(program.read(name), content)
        self.assertTrue(greyed(program, 0))


if __name__ == "__main__":
    unittest.main()
