"""The program as a screen reader finds it over AT-SPI: every control with the
role and name a reader expects, its state, the changes it is told, and
actions that do what the mouse does."""

import re
import unittest

import layout
from harness import SystemTest, wait_for
from screen_reader import ScreenReader, control, controls


def described(nodes):
    return [(n["name"], "checked" in n["states"], n["labelled_by"]) for n in nodes]


class ScreenReaderTest(SystemTest):
    def start_read(self, **options):
        self.reader = ScreenReader(self.display)
        self.addCleanup(self.reader.close)
        return self.start(env=self.reader.environment(), **options)

    def window(self, program, role, what):
        return wait_for(lambda: self.reader.window(program, role), what, timeout=20)

    def test_main_window_reads_as_its_controls_and_its_actions_click(self):
        clip = self.clip("a.avi", seconds=1)
        program = self.start_read(folder=self.clips, Rep1=1, rdm2=1, Group=0,
                                  files={"Reelbox01.rdm": clip.encode().ljust(255)})
        main = self.window(program, "frame", "the main window on the accessibility bus")
        self.assertEqual(main["name"], "Reelbox")

        buttons = controls(main, "push button")
        self.assertEqual([b["name"] for b in buttons],
                         ["ごみ箱", "再生", "連続再生", "全てFavorite", "再生", "連続再生", "ﾘｽﾄから削除", "全部ｸﾘｱ",
                          "ｷｬﾝｾﾙ", "終了", "閉じる"])
        self.assertEqual([b["name"] for b in buttons if "enabled" in b["states"]],
                         ["ごみ箱", "全てFavorite", "ｷｬﾝｾﾙ", "終了", "閉じる"])
        self.assertFalse([b for b in buttons if b["children"]], "a caption read as a label of its own")
        self.assertEqual(control(main, "push button", "終了")["actions"][0], "Press")
        self.assertEqual(control(main, "push button", "再生")["actions"], [])

        self.assertEqual(described(controls(main, "check box")),
                         [("ﾌﾙｽｸﾘｰﾝ", False, ["ﾌﾙｽｸﾘｰﾝ"]), ("繰り返し", True, ["繰り返し"]),
                          ("ﾌﾙｽｸﾘｰﾝ", False, ["ﾌﾙｽｸﾘｰﾝ"]), ("繰り返し", False, ["繰り返し"]), ("確認", False, ["確認"])])
        radios = controls(main, "radio button")
        self.assertEqual(described(radios[:4]), [("順次", True, ["順次"]), ("順次", False, ["順次"]),
                                                 ("ﾗﾝﾀﾞﾑ", False, ["ﾗﾝﾀﾞﾑ"]), ("ﾗﾝﾀﾞﾑ", True, ["ﾗﾝﾀﾞﾑ"])])
        groups = radios[4:]
        self.assertEqual([g["name"] for g in groups], [f"グループ {n}" for n in range(1, 21)])
        self.assertEqual([g["name"] for g in groups if "checked" in g["states"]], ["グループ 1"])
        self.assertEqual([g["name"] for g in groups if g["description"]], ["グループ 2"])
        self.assertEqual(groups[1]["description"], "登録あり")

        self.assertEqual([c["labelled_by"] for c in controls(main, "combo box")], [["ドライブ"], ["ファイルの種類"]])
        self.assertEqual([l["name"] for l in controls(main, "list") if "showing" in l["states"]],
                         ["フォルダ", "ファイル", "Favorite ﾘｽﾄ"])

        # A click on the file arms 再生, and the reader is told; a toggle and
        # a press do what clicks do, down to what 終了 saves.
        self.reader.events()
        row = wait_for(lambda: program.list_rows(layout.FILES), "the file in the list")[0]
        self.display.click(program.main.x + layout.FILES[0] + 40, row)
        wait_for(lambda: ("object:state-changed:enabled", "push button", "再生", 1) in self.reader.events(),
                 "the reader to hear that 再生 is enabled")
        self.reader.act(control(main, "check box", "繰り返し"), "Toggle")
        wait_for(lambda: ("object:state-changed:checked", "check box", "繰り返し", 0) in self.reader.events(),
                 "the reader to hear that 繰り返し is off")
        self.reader.act(control(main, "push button", "全てFavorite"), "Press")
        wait_for(lambda: controls(self.reader.window(program, "frame"), "radio button")[4]["description"] == "登録あり",
                 "グループ 1 to hold an entry")
        self.reader.act(control(main, "push button", "終了"), "Press")
        self.assertEqual(program.wait_exit(), 0)
        self.assertRegex(program.read("Reelbox.ini").decode(), r"\nRep1= ?0\r\n")
        self.assertEqual(program.read("Reelbox00.rdm"), clip.encode().ljust(255))

    def test_player_windows_read_as_their_controls(self):
        self.clip("a.avi", seconds=20, size=(160, 120))
        self.clip("b.rm", seconds=20, size=(160, 120), codec="rv20")
        program = self.start_read(folder=self.clips)
        main = self.window(program, "frame", "the main window on the accessibility bus")
        self.reader.act(control(main, "push button", "連続再生"), "Press")

        player = self.window(program, "dialog", "the DirectShow window on the accessibility bus")
        self.assertEqual(control(player, "push button", "閉じる")["actions"], ["Press"])
        seek = control(player, "slider", "再生位置")
        self.assertEqual(seek["value"][1:], [0, 20])
        times = {l["description"]: l["name"] for l in controls(player, "label") if l["description"]}
        self.assertEqual(times["長さ"], "00:00:20")
        self.assertRegex(times["再生位置"], r"^00:00:\d\d$")
        self.assertIn("Playing... a.avi", [l["name"] for l in controls(player, "label")])

        program.display.key("ctrl")  # on to the next file, in the RealAudio window
        def real_audio_playing():
            player = self.reader.window(program, "dialog")
            bars = controls(player, "status bar") if player else []
            return player if bars and re.match(r"^Playing \d:\d\d / 0:20$", bars[0]["name"]) else None

        player = wait_for(real_audio_playing, "the RealAudio window's status bar to tell the state and the time")
        self.assertEqual(control(player, "slider", "再生位置")["value"][1:], [0, 20])
        self.reader.act(control(player, "push button", "閉じる"), "Press")
        program.wait_no_player("the list to end")
        self.assertFalse(program.exited())


if __name__ == "__main__":
    unittest.main()
