"""The picture as each drawing route shows it: in software (what this
machine's software OpenGL gets) and with OpenGL, forced by REELBOX_VIDEO_ROUTE.
A wide clip, red on its left half and blue on its right, played full screen
fills the width at its proportions, black bars above and below; a phone clip
stored on its side shows turned upright."""

import os
import subprocess
import unittest

import layout
from harness import colour_near, wait_for
from test_playback import TITLE_HEIGHT, PlayerTest

RED, BLUE, BLACK = (255, 0, 0), (0, 0, 255), (0, 0, 0)
# 320 x 160: red on the left, blue on the right.
HALVES = "color=red:size=160x160:rate=25:duration=10,pad=320:160:0:0:blue"


def full_screen_points(area):
    """What a 2:1 picture shows in a full-screen area: its halves, and bars above and below."""
    x, y, width, height = area
    shown = width // 2
    bar = (height - shown) // 2
    assert bar > 20, f"a full-screen area {area} leaves bars for a 2:1 picture"
    middle = y + height // 2
    return {
        "the left half": ((x + width // 4, middle), RED),
        "the right half": ((x + 3 * width // 4, middle), BLUE),
        "the bar above": ((x + width // 2, y + bar // 2), BLACK),
        "the bar below": ((x + width // 2, y + height - bar // 2), BLACK),
        "the picture's top edge": ((x + width // 4, y + bar + 4), RED),
        "the picture's bottom edge": ((x + 3 * width // 4, y + bar + shown - 5), BLUE),
    }


def upright_points(area):
    """The halves clip stored turned a quarter clockwise (rotation 270), shown
    turned back: its left half, red, above, and blue below."""
    x, y, width, height = area
    return {"the top": ((x + width // 2, y + height // 4), RED),
            "the bottom": ((x + width // 2, y + 3 * height // 4), BLUE)}


class VideoRoutes(PlayerTest):
    def make_clip(self, name, metadata=()):
        path = os.path.join(self.clips, name)
        subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", HALVES, "-c:v", "mpeg4", "-q:v", "2",
                        "-pix_fmt", "yuv420p", "-f", "mp4", path + ".mp4"], check=True)
        subprocess.run(["ffmpeg", "-v", "error", "-y", "-i", path + ".mp4", "-c", "copy", *metadata, "-f", "mp4",
                        path], check=True)
        os.remove(path + ".mp4")

    def check_on_each_route(self, name, points_of, **settings):
        for route in ("software", "opengl"):
            with self.subTest(route):
                program = self.start_on([name], env={"REELBOX_VIDEO_ROUTE": route}, **settings)
                self.select_file(program, 0)
                program.click(layout.button("play_file"))
                program.wait_player()

                def wrong():
                    """The points of the player's picture area (where the player
                    now lies) that do not show their colour, with what they show."""
                    player = (program.players() or [None])[0]
                    if player is None:
                        return {"the player": None}
                    area = (player.x, player.y + TITLE_HEIGHT, player.width, player.height - TITLE_HEIGHT - 33)
                    screen = self.display.screenshot()
                    return {what: (screen.pixel(*point), area) for what, (point, colour) in points_of(area).items()
                            if not colour_near(screen.pixel(*point), colour, 40)}
                try:
                    wait_for(lambda: not wrong(), f"{route}: the picture in place")
                except AssertionError:
                    self.fail(f"{route}: {wrong()}")
                self.display.key("Escape")
                program.wait_no_player()
                program.close()

    def test_each_route_shows_the_picture_full_screen_with_black_bars(self):
        self.make_clip("halves.avi")
        self.check_on_each_route("halves.avi", full_screen_points, Full1=" 1")

    def test_each_route_turns_a_phone_clip_upright(self):
        self.make_clip("phone.avi", ["-metadata:s:v:0", "rotate=270"])
        self.check_on_each_route("phone.avi", upright_points)


if __name__ == "__main__":
    unittest.main()
