"""The RealAudio player window driven with the real mouse and keyboard: a
RealMedia clip and a metafile played from the main window, with picture,
position slider and status bar; the slider dragged to seek; the window
reopening where the user left it in an earlier run; Esc ending a list."""

import re
import time
import unittest

import layout
from harness import colour_near, stays, wait_for
from test_playback import PlayerTest

TITLE_HEIGHT = 20
SLIDER_HEIGHT = 21
STATUS_HEIGHT = 25
THUMB = (225, 235, 235)  # the slider's thumb
THUMB_WIDTH = 9


def realaudio_size(picture):
    """The RealAudio window's size for a picture: strip, slider and status bar added."""
    return (picture[0], picture[1] + TITLE_HEIGHT + SLIDER_HEIGHT + STATUS_HEIGHT)


class RealAudioTest(PlayerTest):
    def rm_clip(self, name, size=(320, 240), seconds=3.0):
        return self.clip(name, size=size, seconds=seconds, rate=10, codec="rv20")

    def wait_realaudio(self, program, picture=(320, 240), what=None):
        size = realaudio_size(picture)
        return wait_for(lambda: next((p for p in program.players() if p.size == size), None),
                        what or f"the RealAudio window laid out for a {picture[0]}x{picture[1]} clip", 20)

    def picture(self, player):
        return self.display.screenshot().region(player.x, player.y + TITLE_HEIGHT, player.width,
                                                player.height - TITLE_HEIGHT - SLIDER_HEIGHT - STATUS_HEIGHT)

    def slider_row(self, player):
        return player.y + player.height - STATUS_HEIGHT - SLIDER_HEIGHT // 2 - 1

    def thumb_x(self, player):
        """Left edge of the slider's thumb, from the window's left, or None."""
        picture = self.display.screenshot()
        row = self.slider_row(player)
        for x in range(player.width):
            if colour_near(picture.pixel(player.x + x, row), THUMB, 20):
                return x
        return None

    def status_bar(self, player):
        return self.display.screenshot().region(player.x, player.y + player.height - STATUS_HEIGHT + 2,
                                                player.width, STATUS_HEIGHT - 3)

    def status_has_text(self, player):
        band = self.status_bar(player)
        return any(min(band[i:i + 3]) > 140 for i in range(0, len(band), 3))


class PlayRealMedia(RealAudioTest):
    def test_an_rm_clip_plays_from_play_with_picture_slider_and_status(self):
        self.rm_clip("clip.rm", seconds=4)
        program = self.start_on(["clip.rm"])
        self.select_file(program, 0)
        program.click(layout.button("play_file"))
        player = self.wait_realaudio(program)
        self.wait_picture_moving(player)
        wait_for(lambda: self.status_has_text(player), "the status bar's text")
        first = self.thumb_x(player)
        self.assertIsNotNone(first, "no slider thumb")
        shown = self.status_bar(player)
        wait_for(lambda: (self.thumb_x(player) or 0) > first + 20, "the slider's thumb to follow playback")
        wait_for(lambda: self.status_bar(player) != shown, "the status bar's time to change")
        program.wait_no_player("the window to close at the end of the clip")
        self.main_takes_a_click(program)

    def test_a_metafile_plays_its_clips_in_one_window_after_the_other(self):
        self.rm_clip("one.rm", size=(320, 240), seconds=1.5)
        self.rm_clip("two.rm", size=(176, 144), seconds=1.5)
        with open(f"{self.clips}/list.ram", "w") as f:
            f.write("# two clips\r\none.rm\r\n\r\ntwo.rm\r\n")
        program = self.start_on(["list.ram", "one.rm", "two.rm"])
        self.select_file(program, 0)
        program.click(layout.button("play_file"))
        first = self.wait_realaudio(program, (320, 240))
        second = self.wait_realaudio(program, (176, 144), "the window laid out anew for the second clip")
        self.assertEqual(first.id, second.id, "the second clip played in another window")
        program.wait_no_player("the window to close after the last clip")

    def test_a_double_click_in_the_file_list_plays_in_this_window(self):
        self.clip("clip.avi", size=(256, 192), seconds=1.5)
        program = self.start_on(["clip.avi"])
        x = program.main.x + layout.FILES[0] + 40
        self.display.click(x, self.file_rows(program)[0], repeat=2)
        self.wait_realaudio(program, (256, 192))
        program.wait_no_player()


class Slider(RealAudioTest):
    def test_dragging_the_slider_seeks(self):
        self.rm_clip("long.rm", seconds=40)
        program = self.start_on(["long.rm"])
        self.select_file(program, 0)
        program.click(layout.button("play_file"))
        player = self.wait_realaudio(program)
        self.wait_picture_moving(player)
        self.display.key("Alt_L")  # paused: what moves now is the user's doing
        self.wait_picture_still(player)
        start = self.thumb_x(player)
        before_picture, before_status = self.picture(player), self.status_bar(player)
        row = self.slider_row(player)
        self.display.drag((player.x + start + THUMB_WIDTH // 2, row), (player.x + player.width // 2, row))
        wait_for(lambda: abs((self.thumb_x(player) or 0) - (player.width - THUMB_WIDTH) // 2) <= 3,
                 "the thumb to stay where it was dropped, at the middle")
        wait_for(lambda: self.picture(player) != before_picture, "the picture of the new place")
        wait_for(lambda: self.status_bar(player) != before_status, "the status bar's new time")
        self.display.key("Escape")
        program.wait_no_player()


class RememberedPlace(RealAudioTest):
    def stored(self, program):
        text = program.read("Reelbox.ini").decode("utf-8")
        return {key: value for key, value in re.findall(r"^(rForm\w+)=(.*?)\r?$", text, re.M)}

    def test_the_window_reopens_where_it_was_dragged_in_an_earlier_run(self):
        self.rm_clip("long.rm", seconds=30)
        program = self.start_on(["long.rm"])
        self.select_file(program, 0)
        program.click(layout.button("play_file"))
        player = self.wait_realaudio(program)
        # Settled first: the drag takes the pointer's place when the press is handled.
        self.wait_picture_moving(player)
        start = (player.x + 60, player.y + 8)
        self.display.drag(start, (start[0] + 120, start[1] + 90))
        moved = wait_for(lambda: next((p for p in program.players()
                                       if (p.x - player.x, p.y - player.y) == (120, 90)), None),
                         "the window to follow the pointer 120 px right and 90 px down")
        self.display.key("Escape")
        program.wait_no_player()
        self.assertEqual(self.stored(program), {"rFormTop": f" {moved.y * 15}", "rFormLeft": f" {moved.x * 15}"})

        program.click(layout.button("exit"))
        self.assertEqual(program.wait_exit(), 0)
        program.start()
        wait_for(lambda: len(self.file_rows(program)) == 1, "the clip in the list again")
        self.select_file(program, 0)
        program.click(layout.button("play_file"))
        again = self.wait_realaudio(program, what="the window in the new run")
        self.assertEqual((again.x, again.y), (moved.x, moved.y))
        self.display.key("Escape")
        program.wait_no_player()


    def test_a_window_left_partly_past_the_left_edge_reopens_there_and_one_mostly_off_is_brought_back(self):
        self.rm_clip("long.rm", seconds=30)
        width = realaudio_size((320, 240))[0]
        for left, expected in ((-100, -100), (-250, None)):  # half or more on the screen / mostly off it
            with self.subTest(left=left):
                program = self.start_on(["long.rm"], rFormTop=" 4500", rFormLeft=str(left * 15))
                self.select_file(program, 0)
                program.click(layout.button("play_file"))
                player = self.wait_realaudio(program)
                if expected is None:
                    self.assertTrue(0 <= player.x <= 1280 - width, player)
                else:
                    self.assertEqual((player.x, player.y), (expected, 300))
                self.display.key("Escape")
                program.wait_no_player()
                program.close()


class List(RealAudioTest):
    def test_esc_ends_a_list(self):
        for name in ("a.rm", "b.rm", "c.rm"):
            self.rm_clip(name, seconds=20)
        program = self.start_on(["a.rm", "b.rm", "c.rm"])
        program.click(layout.button("play_files"))
        player = self.wait_realaudio(program)
        self.wait_picture_moving(player)
        self.display.key("Escape")
        program.wait_no_player("the window to close on Esc")
        stays(lambda: not program.players(), "the list ended by Esc (no next window)", 2.0)
        self.main_takes_a_click(program)


if __name__ == "__main__":
    unittest.main()
