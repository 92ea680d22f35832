"""Ctrl+F's search of every favourites group with real input: the matches of
three groups, read by a screen reader, one played with Return, another with
a double click, and Esc bringing the list back as it was, no list file
written."""

import os
import unittest

import layout
from harness import wait_for
from screen_reader import ScreenReader, controls
from test_favourites import FavouritesTest, records


class FavouriteSearch(FavouritesTest):
    def test_a_search_finds_entries_of_three_groups_plays_one_and_esc_restores_the_list(self):
        paths = {name: self.clip(name, seconds=20, rate=10)
                 for name in ("show ep07.avi", "other.avi", "ＥＰ０７ extra.avi", "ｴﾋﾟｿｰﾄﾞ Ep07 end.avi")}
        files = {"Reelbox00.rdm": records([paths["show ep07.avi"], paths["other.avi"]]),
                 "Reelbox04.rdm": records([paths["other.avi"], paths["ＥＰ０７ extra.avi"]]),
                 "Reelbox11.rdm": records([paths["ｴﾋﾟｿｰﾄﾞ Ep07 end.avi"]])}
        reader = ScreenReader(self.display)
        self.addCleanup(reader.close)
        program = self.start(folder=self.clips, files=files, env=reader.environment())
        self.wait_favourites(program, 2, "group 1's two entries")
        self.display.click(*self.favourite_point(program, 1))
        x, y, width, height = program.at(layout.FAVOURITES[:2]) + layout.FAVOURITES[2:]

        def shown():
            # All but the last pixel rows of the first entry: played below, it
            # then shows how far (the bar under its name).
            screen = self.display.screenshot()
            below = layout.LIST_FRAME + layout.LIST_ROW_HEIGHT
            return (screen.region(x, y, width, below - 2), screen.region(x, y + below, width, height - below))
        before = shown()
        on_disk = {name: program.read(name) for name in files}

        self.display.key("ctrl+f")
        self.display.xdotool("type", "--delay", 60, "EP07")
        expected = [f"[1] {paths['show ep07.avi']}", f"[5] {paths['ＥＰ０７ extra.avi']}",
                    f"[12] {paths['ｴﾋﾟｿｰﾄﾞ Ep07 end.avi']}"]

        def rows():
            main = reader.window(program, "frame")
            results = [node for node in controls(main, "list") if node["name"] == "検索結果"] if main else []
            return [item["name"] for item in results[0]["children"] if item["role"] == "list item"] if results else []
        wait_for(lambda: rows() == expected, "the reader to read the three groups' matches", timeout=20)

        self.display.key("Down", "Return")
        player = program.wait_player("the chosen match's player")
        title = self.display.run(["xdotool", "getwindowname", str(player.id)]).strip()
        self.assertEqual(title, "ＥＰ０７ extra.avi - Reelbox")
        self.display.key("Escape")
        program.wait_no_player()
        # A double click on the first match plays it too (the rows lie under the field).
        self.display.click(*program.at((layout.FAVOURITES[0] + 60, layout.FAVOURITES[1] + 20 + 8)), repeat=2)
        player = program.wait_player("the double-clicked match's player")
        title = self.display.run(["xdotool", "getwindowname", str(player.id)]).strip()
        self.assertEqual(title, "show ep07.avi - Reelbox")
        self.display.key("Escape")
        program.wait_no_player()

        self.display.key("Escape")
        wait_for(lambda: shown() == before, "the favourites list as it was")
        self.assertEqual({name: program.read(name) for name in files}, on_disk)
        self.assertEqual(sorted(n for n in os.listdir(program.folder) if n.endswith(".rdm")), sorted(files))


if __name__ == "__main__":
    unittest.main()
