"""The main window with the keyboard alone: Tab walks every control in
reading order, each showing that it has the focus as plainly as a button
does, from the start on, Space toggles a switch and chooses a group, the
arrow keys choose a file and Return plays it, and Space presses a focused
button."""

import os
import unittest

import layout
from harness import colour_near, wait_for
from test_favourites import FavouritesTest, records
from test_playback import player_size


def grown(rect, by=3):
    x, y, width, height = rect
    return (x - by, y - by, width + 2 * by, height + 2 * by)


def label_of(switch, width=75):
    """A switch's picture and the label beside it."""
    x, y, w, h = layout.SWITCHES[switch]
    return (x, y, width, h)


# Where each Tab stop shows its focus, in reading order: each list, then what
# lies beside it from top to bottom (ﾘｽﾄから削除 and the two 再生 are disabled
# until an entry is chosen: Tab passes them by).
STOPS = [
    ("drive", layout.DRIVES), ("folder", layout.FOLDERS), ("file type", layout.FILE_KINDS),
    ("files", layout.FILES), ("ﾌﾙｽｸﾘｰﾝ", label_of("Full1")), ("繰り返し", label_of("Rep1")),
    ("連続再生", layout.BUTTONS["play_files"]), ("順次", label_of("rdm1_in_order", 40)),
    ("確認", label_of("Kakunin", 40)), ("全てFavorite", layout.BUTTONS["all_to_favourites"]),
    ("group 1", layout.group_marker(0)), ("favourites", layout.FAVOURITES),
    ("ﾌﾙｽｸﾘｰﾝ of the favourites", label_of("Full2")), ("繰り返し of the favourites", label_of("Rep2")),
    ("連続再生 of the favourites", layout.BUTTONS["play_favourites"]),
    ("順次 of the favourites", label_of("rdm2_in_order", 40)), ("全部ｸﾘｱ", layout.BUTTONS["clear_favourites"]),
    ("link", layout.LINK), ("ｷｬﾝｾﾙ", layout.BUTTONS["cancel"]), ("終了", layout.BUTTONS["exit"]),
    ("drive again", layout.DRIVES),
]

# The controls with no focus face of their own, in reading order, with the
# keys that bring the focus there from the one before; the favourites list is
# empty. 連続再生 is the button whose focus face they are held against.
MARKED = [
    ("the drive box at start-up", [], layout.DRIVES), ("folders", ["Tab"], layout.FOLDERS),
    ("file type", ["Tab"], layout.FILE_KINDS), ("files", ["Tab"], layout.FILES),
    ("連続再生", ["Tab"] * 3, layout.BUTTONS["play_files"]), ("the empty favourites", ["Tab"] * 5, layout.FAVOURITES),
]


def luminance(rgb):
    def linear(c):
        c /= 255
        return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (linear(c) for c in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    high, low = sorted((luminance(a), luminance(b)), reverse=True)
    return (high + 0.05) / (low + 0.05)


def frame_points(rect):
    """Each point of the outermost line of a frame along rect's edge, with
    the step that leads out of the frame."""
    x, y, width, height = rect
    return ([((px, y), (0, -1)) for px in range(x + 2, x + width - 2)] +
            [((px, y + height - 1), (0, 1)) for px in range(x + 2, x + width - 2)] +
            [((x, py), (-1, 0)) for py in range(y + 2, y + height - 2)] +
            [((x + width - 1, py), (1, 0)) for py in range(y + 2, y + height - 2)])


def frame_shown(picture, rect):
    """Whether a frame lines rect all around: its outer line differs from what lies outside."""
    return all(picture.pixel(x, y) != picture.pixel(x + dx, y + dy) for (x, y), (dx, dy) in frame_points(rect))


def fainter_than(picture, rect, face):
    """The points where a frame of two lines along rect's edge stands out
    from what lies outside it less than the colour face would."""
    fainter = []
    for (x, y), (dx, dy) in frame_points(rect):
        outside = picture.pixel(x + dx, y + dy)
        lines = (picture.pixel(x, y), picture.pixel(x - dx, y - dy))
        if max(contrast(line, outside) for line in lines) < contrast(face, outside) - 0.01:
            fainter.append((x, y))
    return fainter


class Keyboard(FavouritesTest):
    def changed_points(self, program, before, after):
        """The points of the main window (every other column) that differ."""
        return [(x, y) for y in range(program.main.height) for x in range(0, program.main.width, 2)
                if before.pixel(*program.at((x, y))) != after.pixel(*program.at((x, y)))]

    def start_with_lists(self):
        for name, size in (("a.avi", (320, 240)), ("b.avi", (256, 192))):
            self.clip(name, size=size, seconds=20, rate=10)
        paths = [os.path.join(self.clips, n) for n in ("a.avi", "b.avi")]
        program = self.start(folder=self.clips, files={"Reelbox00.rdm": records(paths)})
        self.wait_favourites(program, 2)
        wait_for(lambda: len(self.file_rows(program)) == 2, "the two files")
        self.display.move(5, 1000)  # the pointer away: only the focus changes the picture
        return program

    def test_tab_walks_every_control_in_reading_order_and_space_works_the_switches(self):
        program = self.start_with_lists()
        inside = lambda point, rect: (lambda x, y, w, h: x <= point[0] < x + w and y <= point[1] < y + h)(*grown(rect))
        for (left, before_rect), (name, rect) in zip(STOPS, STOPS[1:]):
            before = program.screen()
            self.display.key("Tab")
            # What changed besides the control the focus left shows where it went.
            arrived = wait_for(lambda: [p for p in self.changed_points(program, before, program.screen())
                                        if not inside(p, before_rect)], f"Tab from {left} to show somewhere")
            stray = [p for p in arrived if not inside(p, rect)]
            self.assertEqual(stray, [], f"Tab from {left} to {name}: the focus showed outside {rect}")

        # Space toggles the focused switch; the arrows move along the group
        # markers and Space switches to the one reached.
        switch = lambda name: program.pixel(layout.switch(name))
        self.display.key(*["Tab"] * 4)  # drive, folder, file type, files, ﾌﾙｽｸﾘｰﾝ
        self.display.key("space")
        wait_for(lambda: colour_near(switch("Full1"), layout.SWITCH_ON), "full screen on by Space")
        self.display.key(*["Tab"] * 6, "Right", "Right", "space")  # to the markers, group 3
        marker = lambda n: program.pixel(layout.centre(layout.group_marker(n)))
        wait_for(lambda: colour_near(marker(2), layout.GROUP_CURRENT), "group 3 chosen from the keyboard")
        self.wait_favourites(program, 0, "group 3's empty list")

    def test_a_file_chosen_with_the_arrows_plays_with_return_and_space_presses_play(self):
        program = self.start_with_lists()
        self.display.key("Tab", "Tab", "Tab", "Down")  # the files: the second one
        self.display.key("Return")
        player = program.wait_player("the chosen file's player")
        self.assertEqual(player.size, player_size((256, 192)), "the second file plays")
        self.display.key("Escape")
        program.wait_no_player()
        self.display.key("Tab", "Tab")  # ﾌﾙｽｸﾘｰﾝ, then 再生, armed by the choice
        self.display.key("space")
        player = program.wait_player("the player of 再生 pressed with Space")
        self.assertEqual(player.size, player_size((256, 192)))
        self.display.key("Escape")
        program.wait_no_player()

    def test_every_control_shows_its_focus_as_plainly_as_a_button_from_the_start(self):
        for name in ("a.avi", "b.avi"):
            self.clip(name, seconds=1)
        program = self.start(folder=self.clips)
        wait_for(lambda: len(self.file_rows(program)) == 2, "the two files")
        self.display.move(5, 1000)
        frames = {}  # the screen once the frame around each control showed, and where
        for what, keys, rect in MARKED:
            edge = (rect[0], rect[1] + rect[3] // 2)  # of a button: its face's outer line
            before = program.pixel(edge)
            if keys:
                self.display.key(*keys)
            if what == "連続再生":
                face = wait_for(lambda: (lambda now: now != before and now)(program.pixel(edge)), "the button's focus face")
                continue
            x, y, width, height = grown(rect, 2)
            frame = (program.main.x + x, program.main.y + y, width, height)
            frames[what] = (wait_for(lambda: (lambda screen: frame_shown(screen, frame) and screen)(program.screen()),
                                     f"a frame all around {what}"), frame)
        fainter = {what: len(fainter_than(screen, frame, face)) for what, (screen, frame) in frames.items()}
        self.assertEqual({what: points for what, points in fainter.items() if points}, {},
                         f"points fainter than the button's focus face {face}")


if __name__ == "__main__":
    unittest.main()
