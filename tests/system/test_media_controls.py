"""Media keys and the desktop's media controls, as real clients (playerctl,
gdbus) see them: the program is an MPRIS player on the session bus from its
start to its end, Playing from a list's first file to its last, and its
commands do what the window's own keys, seek bar and switches do."""

import os
import re
import subprocess
import tempfile
import unittest

import layout
from harness import Reelbox, colour_near, stays, wait_for
from test_playback import PlayerTest, player_size
from test_realaudio import THUMB_WIDTH, RealAudioTest, realaudio_size

NAME = "org.mpris.MediaPlayer2.reelbox"
PATH = "/org/mpris/MediaPlayer2"
PLAYER = "org.mpris.MediaPlayer2.Player"
SECOND = 1_000_000  # microseconds


class Follower:
    """A client started to print what it sees, into a file, line by line."""

    def __init__(self, test, command):
        descriptor, self.path = tempfile.mkstemp(prefix="reelbox-follow-", suffix=".txt")
        test.addCleanup(os.remove, self.path)
        with os.fdopen(descriptor, "w") as f:
            self.process = subprocess.Popen(["stdbuf", "-oL", *command], env=test.display.env, stdout=f,
                                            stderr=subprocess.DEVNULL)
        test.addCleanup(self.process.kill)

    def printed(self):
        with open(self.path) as f:
            return f.read().splitlines()

    def end(self):
        """Ends the client; its lines."""
        self.process.terminate()
        self.process.wait()
        return self.printed()


class MprisTest(PlayerTest):
    def bus(self, name, method, *arguments):
        return self.display.run(["gdbus", "call", "--session", "--dest", name, "--object-path", PATH,
                                 "--method", method, *arguments])

    def get(self, prop, name=NAME, interface=PLAYER):
        return self.bus(name, "org.freedesktop.DBus.Properties.Get", interface, prop)

    def players_on_the_bus(self):
        listed = self.display.run(["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
                                   "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.ListNames"])
        return sorted(n for n in re.findall(r"'([^']+)'", listed) if n.startswith("org.mpris.MediaPlayer2."))

    def status(self, name=NAME):
        return re.search(r"<'(\w+)'>", self.get("PlaybackStatus", name)).group(1)

    def command(self, method, name=NAME):
        self.bus(name, f"{PLAYER}.{method}")

    def playerctl(self, *arguments):
        return self.display.run(["playerctl", "--player", "reelbox", *arguments]).strip()

    def seconds(self):
        return int(re.search(r"int64 (-?\d+)", self.get("Position")).group(1)) / SECOND

    def monitor(self):
        """Follows the player's signals, from the moment the monitor has found it on the bus."""
        follower = Follower(self, ["gdbus", "monitor", "--session", "--dest", NAME])
        wait_for(lambda: any("is owned by" in line for line in follower.printed()), "the monitor on the bus")
        return follower


class MediaControls(MprisTest):
    def test_a_playing_list_shows_what_plays_and_takes_pause_play_next_and_stop(self):
        for name, size in {"a.avi": (320, 240), "b.avi": (256, 192), "c.avi": (192, 144)}.items():
            self.clip(name, size=size, seconds=8, rate=10)
        program = self.start_on(["a.avi", "b.avi", "c.avi"])
        wait_for(lambda: self.players_on_the_bus() == [NAME], "the player's name on the bus before anything plays")
        self.assertEqual(self.status(), "Stopped")
        changes = self.monitor()
        program.click(layout.button("play_files"))
        player = program.wait_player()
        metadata = self.get("Metadata")
        self.assertIn("'xesam:title': <'a.avi'>", metadata)
        self.assertIn("'mpris:trackid': <objectpath '/", metadata)
        length = int(re.search(r"'mpris:length': <int64 (\d+)>", metadata).group(1))
        self.assertAlmostEqual(length / 1e6, 8.0, delta=0.2)
        wait_for(lambda: self.status() == "Playing", "the status Playing")
        self.wait_picture_moving(player)

        self.command("Pause")
        wait_for(lambda: self.status() == "Paused", "the status Paused")
        self.wait_picture_still(player)
        self.assertTrue(0 < self.seconds() < 8)
        self.command("Play")
        wait_for(lambda: self.status() == "Playing", "the status Playing again")
        self.wait_picture_moving(player)

        self.command("Next")
        wait_for(lambda: [p.size for p in program.players()] == [player_size((256, 192))], "the second file's window")
        self.assertIn("'xesam:title': <'b.avi'>", self.get("Metadata"))
        self.command("Stop")
        program.wait_no_player("the list to end")
        wait_for(lambda: self.status() == "Stopped", "the status Stopped at the list's end")
        self.assertEqual(self.players_on_the_bus(), [NAME], "the name left the bus")
        self.main_takes_a_click(program)

        changes = "\n".join(changes.end())
        for change in ("'PlaybackStatus': <'Paused'>", "'PlaybackStatus': <'Playing'>", "'xesam:title': <'b.avi'>",
                       "'PlaybackStatus': <'Stopped'>"):
            self.assertIn(change, changes)

    def test_on_the_bus_from_start_to_end_and_playing_from_a_lists_first_file_to_its_last(self):
        for name in ("a.avi", "b.avi", "c.avi"):
            self.clip(name, seconds=1.2, rate=10)
        program = self.start_on(["a.avi", "b.avi", "c.avi"])
        wait_for(lambda: self.players_on_the_bus() == [NAME], "the player's name on the bus")
        self.assertEqual(self.playerctl("status"), "Stopped")
        self.assertIn("<true>", self.get("CanRaise", interface="org.mpris.MediaPlayer2"))
        statuses = Follower(self, ["playerctl", "--player", "reelbox", "--follow", "status"])
        wait_for(statuses.printed, "playerctl to follow")
        program.click(layout.button("play_files"))
        program.wait_player()
        program.wait_no_player("the list to play to its end")
        wait_for(lambda: self.status() == "Stopped", "the status Stopped after the list")
        printed = statuses.end()
        seen = [s for i, s in enumerate(printed) if i == 0 or printed[i - 1] != s]
        self.assertEqual(seen, ["Stopped", "Playing", "Stopped"], printed)
        self.assertEqual(self.playerctl("status"), "Stopped", "the player left the bus")

        self.display.xdotool("windowminimize", "--sync", program.main.id)
        wait_for(lambda: program.main.id not in self.display.search_windows(program.process.pid), "the main window minimised")
        self.bus(NAME, "org.mpris.MediaPlayer2.Raise")
        wait_for(lambda: program.main.id in self.display.search_windows(program.process.pid),
                 "the main window raised again")
        program.click(layout.button("cancel"))
        program.wait_exit()
        wait_for(lambda: self.players_on_the_bus() == [], "the name to go with the program")

    def test_the_volume_is_set_and_kept_from_file_to_file(self):
        for name in ("a.avi", "b.avi"):
            self.clip(name, seconds=20, rate=5, audio=True)
        program = self.start_on(["a.avi", "b.avi"])
        program.click(layout.button("play_files"))
        first = program.wait_player()
        wait_for(lambda: self.status() == "Playing", "the status Playing")
        self.assertEqual(float(self.playerctl("volume")), 1.0)
        self.playerctl("volume", "0.5")
        self.assertEqual(float(self.playerctl("volume")), 0.5)
        self.bus(NAME, "org.freedesktop.DBus.Properties.Set", PLAYER, "Rate", "<1.0>")  # not refused
        self.playerctl("next")
        wait_for(lambda: first.id not in [p.id for p in program.players()], "the second file's window")
        wait_for(lambda: "b.avi" in self.playerctl("metadata", "xesam:title"), "the second file playing")
        self.assertEqual(float(self.playerctl("volume")), 0.5)
        self.playerctl("volume", "1.5")
        self.assertEqual(float(self.playerctl("volume")), 1.0, "beyond the file's own loudness")
        self.display.key("Escape")
        program.wait_no_player()

    def test_the_switches_of_the_playing_list_are_read_and_set(self):
        # Small pictures: the players leave the switches in sight.
        self.clip("one.avi", size=(160, 120), seconds=4, rate=10)
        for name in ("x.avi", "y.avi"):
            self.clip(name, size=(160, 120), seconds=20, rate=5)
        program = self.start_on(["one.avi", "x.avi", "y.avi"])
        switch_on = lambda name: colour_near(program.pixel(layout.switch(name)), layout.SWITCH_ON)
        self.select_file(program, 0)
        program.click(layout.button("play_file"))  # 再生, 繰り返し off
        first = program.wait_player()
        self.assertEqual((self.playerctl("loop"), self.playerctl("shuffle")), ("None", "Off"))
        self.playerctl("loop", "Track")
        wait_for(lambda: switch_on("Rep1"), "the 繰り返し switch turned on")
        self.assertIn("<true>", self.get("CanGoNext"))
        again = wait_for(lambda: [p for p in program.players() if p.id != first.id], "the file played again")[0]
        self.playerctl("loop", "None")
        wait_for(lambda: not switch_on("Rep1"), "the 繰り返し switch turned off")
        wait_for(lambda: again.id not in [p.id for p in program.players()], "the file's end", 15)
        stays(lambda: not program.players(), "the play over (no window again)", 1.5)

        program.click(layout.button("play_files"))  # 連続再生 in order, from one.avi
        program.wait_player()
        self.assertEqual((self.playerctl("shuffle"), self.playerctl("loop")), ("Off", "None"))
        self.playerctl("shuffle", "On")
        wait_for(lambda: switch_on("rdm1_random") and not switch_on("rdm1_in_order"), "the ﾗﾝﾀﾞﾑ switch chosen")
        self.assertEqual(self.playerctl("shuffle"), "On")
        self.playerctl("loop", "Track")  # a list has no 繰り返し
        self.assertEqual(self.playerctl("loop"), "None")
        self.assertFalse(switch_on("Rep1"))
        self.display.key("Escape")
        program.wait_no_player()

    def test_next_is_offered_only_where_another_file_follows_and_urls_name_the_bytes(self):
        names = [b"a\xff\xfe.avi", b"b.avi"]
        for name in names:
            self.clip(os.fsdecode(name), seconds=20, rate=5)
        program = self.start_on(names)
        program.click(layout.button("play_files"))
        first = program.wait_player()
        wait_for(lambda: self.status() == "Playing", "the status Playing")
        url = self.playerctl("metadata", "xesam:url")
        self.assertEqual(url, "file://" + self.clips + "/a%FF%FE.avi")
        self.assertIn("<true>", self.get("CanGoNext"))
        self.playerctl("next")
        last = wait_for(lambda: [p for p in program.players() if p.id != first.id], "the last file's window")[0]
        wait_for(lambda: "<false>" in self.get("CanGoNext"), "no next file on the last")
        self.command("Next")
        stays(lambda: [p.id for p in program.players()] == [last.id], "the last file playing on", 1.5)
        self.display.key("Escape")
        program.wait_no_player()

        self.select_file(program, 1)
        program.click(layout.button("play_file"))  # 再生 once
        program.wait_player()
        wait_for(lambda: self.status() == "Playing", "the status Playing")
        self.assertIn("<false>", self.get("CanGoNext"))
        self.display.key("Escape")
        program.wait_no_player()

    def test_a_second_copy_plays_under_a_name_of_its_own(self):
        first = self.start(arguments=[self.clip("long.avi", seconds=20, rate=5)])
        first.wait_player()
        wait_for(lambda: self.players_on_the_bus() == [NAME], "the first copy's name")
        second = Reelbox(self.display)
        self.addCleanup(second.close)
        second.start(arguments=[self.clip("other.avi", seconds=20, rate=5)])
        instance = f"{NAME}.instance{second.process.pid}"
        wait_for(lambda: self.players_on_the_bus() == [NAME, instance], "the second copy's name")
        self.command("Stop", name=instance)
        second.wait_no_player("the second copy's player to close")
        wait_for(lambda: self.status(instance) == "Stopped", "the second copy Stopped")
        self.assertTrue(first.players(), "the first copy's player went too")
        self.assertEqual(self.status(), "Playing")
        second.close()
        wait_for(lambda: self.players_on_the_bus() == [NAME], "the second copy's name to go with it")

    def test_without_a_session_bus_a_file_plays_as_before(self):
        self.clip("one.avi", seconds=1.5, rate=10)
        program = self.start(arguments=["one.avi"], cwd=self.clips,
                             env={"DBUS_SESSION_BUS_ADDRESS": f"unix:path={self.clips}/no-bus"})
        player = program.wait_player()
        self.wait_picture_moving(player)
        program.wait_no_player("the player to close at the end of the clip")
        self.main_takes_a_click(program)


class Seeking(MprisTest, RealAudioTest):
    def test_both_windows_seek_where_their_own_bar_or_slider_would(self):
        self.clip("long.avi", seconds=30, rate=5)
        self.rm_clip("long.rm", seconds=30)
        program = self.start_on(["long.avi", "long.rm"])
        for row, thumb, size in ((0, self.bar_thumb, player_size((320, 240))),
                                 (1, self.slider_thumb, realaudio_size((320, 240)))):
            with self.subTest(row):
                self.select_file(program, row)
                program.click(layout.button("play_file"))
                wait_for(lambda: "<true>" in self.get("CanSeek"), "CanSeek once the length is known")
                self.playerctl("pause")
                wait_for(lambda: self.status() == "Paused", "the status Paused")
                player = wait_for(lambda: [p for p in program.players() if p.size == size], "the window laid out")[0]
                seeks = self.monitor()
                self.playerctl("position", "15")
                wait_for(lambda: abs(self.seconds() - 15) < 0.5, "the position 15 s")
                wait_for(lambda: abs(thumb(player) - player.width / 2) < player.width / 10, "the thumb in the middle")
                self.playerctl("position", "5-")
                wait_for(lambda: abs(self.seconds() - 10) < 0.5, "the position 10 s after a seek back")
                self.assertRegex("\n".join(seeks.end()), r"Seeked \(int64 1[45]\d{6},\)")
                self.display.key("Escape")
                program.wait_no_player()

    def bar_thumb(self, player):
        return PlayerTest.thumb_x(self, player)

    def slider_thumb(self, player):
        return (RealAudioTest.thumb_x(self, player) or 0) + THUMB_WIDTH // 2


class MetafileTracks(MprisTest, RealAudioTest):
    def test_each_clip_of_a_metafile_is_a_track_of_its_own(self):
        self.rm_clip("one.rm", seconds=1.5)
        self.rm_clip("two.rm", size=(176, 144), seconds=1.5)
        with open(f"{self.clips}/list.ram", "w") as f:
            f.write("one.rm\r\ntwo.rm\r\n")
        program = self.start_on(["list.ram", "one.rm", "two.rm"])
        wait_for(lambda: self.players_on_the_bus() == [NAME], "the player's name on the bus")
        changes = self.monitor()
        self.select_file(program, 0)
        program.click(layout.button("play_file"))
        self.wait_realaudio(program, (176, 144), "the second clip")
        program.wait_no_player("the window to close after the last clip")
        tracks = {}
        for change in changes.end():
            found = re.search(r"'mpris:trackid': <objectpath '([^']+)'>.*'xesam:title': <'([^']+)'>.*"
                              r"'xesam:url': <'([^']+)'>", change)
            if found:
                tracks.setdefault(found.group(1), set()).add(found.group(2, 3))
        self.assertTrue(all(len(told) == 1 for told in tracks.values()), f"a track told as two: {tracks}")
        clips = [next(iter(told)) for told in tracks.values() if next(iter(told))[0] != "list.ram"]
        self.assertEqual(clips, [("one.rm", f"file://{self.clips}/one.rm"), ("two.rm", f"file://{self.clips}/two.rm")])


if __name__ == "__main__":
    unittest.main()
