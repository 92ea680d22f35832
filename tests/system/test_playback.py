"""Playing real clips from the main window with the real mouse and keyboard:
one file to its end, a list in order, and the player's keys and pictures."""

import os
import time
import unittest

import layout
from harness import SystemTest, colour_near, stays, wait_for

TITLE_HEIGHT = 20  # the player's title strip, above the picture
SEEK_BAR_HEIGHT = 9


def player_size(picture):
    """A player window's size for a picture: title strip and bottom panel added."""
    return (picture[0], picture[1] + TITLE_HEIGHT + 33)


class PlayerTest(SystemTest):
    def file_rows(self, program):
        return program.list_rows(layout.FILES)

    def start_on(self, clips, **settings):
        """Starts the program on the clips folder with its files listed."""
        program = self.start(folder=self.clips, **settings)
        wait_for(lambda: len(self.file_rows(program)) == len(clips), f"{len(clips)} files in the list")
        return program

    def select_file(self, program, row):
        x = program.main.x + layout.FILES[0] + 40
        self.display.click(x, self.file_rows(program)[row])

    def picture(self, player):
        """What the player's picture shows now."""
        return self.display.screenshot().region(player.x, player.y + TITLE_HEIGHT, player.width,
                                                player.height - TITLE_HEIGHT - 33)

    def wait_picture_moving(self, player, what="the picture to move"):
        first = self.picture(player)
        wait_for(lambda: self.picture(player) != first, what)

    def wait_picture_still(self, player):
        last = [self.picture(player)]

        def unchanged():
            now = self.picture(player)
            same, last[0] = now == last[0], now
            return same
        wait_for(unchanged, "the picture to stop changing", interval=0.3)

    def thumb_x(self, player):
        """Leftmost column of the seek bar's thumb (the bar's lightest part)."""
        picture = self.display.screenshot()
        row = player.y + player.height - 33 + SEEK_BAR_HEIGHT - 2
        shades = [sum(picture.pixel(player.x + x, row)) for x in range(player.width)]
        return shades.index(max(shades))

    def main_takes_a_click(self, program):
        """The main window answers the mouse again: a switch toggles."""
        program.click(layout.switch("Rep2"))
        wait_for(lambda: colour_near(program.pixel(layout.switch("Rep2")), layout.SWITCH_ON),
                 "the main window to take a click on a switch")


class PlayOne(PlayerTest):
    def test_a_clip_plays_from_play_to_its_end_and_the_main_window_takes_the_next_click(self):
        self.clip("one.avi", size=(320, 240), seconds=1.5)
        program = self.start_on(["one.avi"])
        self.select_file(program, 0)
        program.click(layout.button("play_file"))
        player = program.wait_player()
        self.assertEqual(player.size, player_size((320, 240)))
        self.wait_picture_moving(player)
        program.wait_no_player("the player to close at the end of the clip")
        self.main_takes_a_click(program)

    def test_a_clip_of_a_tenth_of_a_second_closes_by_itself(self):
        self.clip("short.avi", size=(320, 240), seconds=0.1)
        program = self.start_on(["short.avi"])
        self.select_file(program, 0)
        program.click(layout.button("play_file"))
        time.sleep(0.3)  # the opening outline runs 120 ms; the clip ends about then
        program.wait_no_player("the player of a 0.1 s clip to close by itself")
        stays(lambda: not program.players(), "no player window", 1.5)
        self.main_takes_a_click(program)


class PlayList(PlayerTest):
    SIZES = {"a.avi": (320, 240), "b.avi": (256, 192), "c.avi": (192, 144)}

    def make_clips(self, seconds):
        for name, size in self.SIZES.items():
            self.clip(name, size=size, seconds=seconds, rate=10)
        return list(self.SIZES)

    def watch_players(self, program, until_gone_for=1.5, timeout=30):
        """The sizes of the player windows that show, in order, until none has
        shown for a while."""
        seen, last_seen = [], time.monotonic()
        deadline = time.monotonic() + timeout
        while time.monotonic() - last_seen < until_gone_for:
            self.assertLess(time.monotonic(), deadline, f"players still showing after {timeout} s: {seen}")
            players = program.players()
            if players:
                last_seen = time.monotonic()
                if not seen or seen[-1] != players[0].id:
                    seen.append(players[0].id)
                    self.sizes.append(players[0].size)
            time.sleep(0.05)
        return seen

    def test_continuous_play_shows_each_clip_in_order_then_gives_the_main_window_back(self):
        program = self.start_on(self.make_clips(seconds=1.2))
        program.click(layout.button("play_files"))
        self.sizes = []
        self.watch_players(program)
        self.assertEqual(self.sizes, [player_size(s) for s in self.SIZES.values()])
        self.main_takes_a_click(program)

    def test_ctrl_goes_on_to_the_next_file(self):
        program = self.start_on(self.make_clips(seconds=20))
        program.click(layout.button("play_files"))
        first = program.wait_player()
        self.assertEqual(first.size, player_size((320, 240)))
        self.display.key("Control_L")
        wait_for(lambda: [p for p in program.players() if p.size == player_size((256, 192))],
                 "the second clip's player after Ctrl")
        self.display.key("Escape")
        program.wait_no_player()

    def test_esc_space_and_the_exit_picture_end_the_list(self):
        program = self.start_on(self.make_clips(seconds=20))
        for how in ("Escape", "space", "exit picture"):
            with self.subTest(how):
                program.click(layout.button("play_files"))
                player = program.wait_player()
                self.wait_picture_moving(player)
                if how == "exit picture":
                    self.display.click(player.x + player.width - 20 + 7, player.y + 4 + 7)
                else:
                    self.display.key(how)
                program.wait_no_player(f"the player to close on {how}")
                stays(lambda: not program.players(), f"the list ended by {how}", 1.5)


class PlayerKeys(PlayerTest):
    def play_long_clip(self):
        self.clip("long.avi", size=(320, 240), seconds=40, rate=10)
        program = self.start_on(["long.avi"])
        self.select_file(program, 0)
        program.click(layout.button("play_file"))
        player = program.wait_player()
        self.wait_picture_moving(player)
        return program, player

    def test_alt_pauses_and_resumes(self):
        program, player = self.play_long_clip()
        self.display.key("Alt_L")
        self.wait_picture_still(player)
        still = self.picture(player)
        stays(lambda: self.picture(player) == still, "the paused picture", 1.0)
        self.display.key("Alt_L")
        self.wait_picture_moving(player, "the picture to move again after a second Alt")

    def test_the_right_arrow_seeks_forward(self):
        program, player = self.play_long_clip()
        self.display.key("Alt_L")
        self.wait_picture_still(player)
        before = self.thumb_x(player)
        label = lambda: self.display.screenshot().region(player.x, player.y + player.height - 21, 46, 14)
        shown = label()
        for _ in range(4):  # 2 s a press on a 40 s clip: 8 s, a fifth of the bar
            self.display.key("Right")
        wait_for(lambda: self.thumb_x(player) >= before + player.width // 6,
                 "the seek bar's thumb to move a fifth of the bar to the right")
        self.assertNotEqual(label(), shown, "the position label did not change")

    def test_a_paused_file_moved_to_its_end_closes_its_window(self):
        program, player = self.play_long_clip()
        self.display.key("Alt_L")
        self.wait_picture_still(player)
        for _ in range(25):  # 2 s a press: past the end of the 40 s clip
            self.display.key("Right")
        program.wait_no_player("the paused player to close at the end")
        self.main_takes_a_click(program)

    def test_a_paused_player_costs_next_to_nothing(self):
        program, player = self.play_long_clip()
        self.display.key("Alt_L")
        self.wait_picture_still(player)
        self.display.move(5, 1000)
        time.sleep(0.5)
        cpu = program.cpu_seconds()
        time.sleep(5)
        cpu = program.cpu_seconds() - cpu
        print(f"paused player for 5 s: {cpu:.3f} CPU s")
        self.assertLess(cpu, 0.25)

    def test_dragging_the_title_strip_moves_the_player(self):
        program, player = self.play_long_clip()
        start = (player.x + 60, player.y + 8)
        self.display.drag(start, (start[0] + 120, start[1] + 90))
        wait_for(lambda: [p for p in program.players() if (p.x - player.x, p.y - player.y) == (120, 90)],
                 "the player to follow the pointer 120 px right and 90 px down")


class WithoutWindowManager(PlayerTest):
    """Without a window manager, key focus follows the pointer: a Space that
    closes a player is released over the main window."""

    window_manager = False

    def test_space_that_ends_a_list_does_not_start_it_again(self):
        for name in ("a.avi", "b.avi"):
            self.clip(name, size=(320, 240), seconds=20, rate=10)
        program = self.start_on(["a.avi", "b.avi"])
        program.click(layout.button("play_files"))  # the button keeps the focus
        player = program.wait_player()
        self.wait_picture_moving(player)
        self.display.move(*program.at(layout.button("play_files")))
        self.display.key("space")
        wait_for(lambda: player.id not in [p.id for p in program.players()], "the player to close on Space")
        stays(lambda: not program.players(), "the list stopped by Space (no player again)", 2.0)


if __name__ == "__main__":
    unittest.main()
