"""The program as a screen reader finds it over AT-SPI: every control with the
role and name a reader expects, each list's own under the list's name, its
state, the changes it is told, actions that do what the mouse does, and the
focus on one object at a time."""

import os
import re
import unittest

import layout
from harness import SystemTest, wait_for
from screen_reader import ScreenReader, control, controls, nodes

# The controls of a panel as a reader tells them apart: role, name, checked.
CONTROL_ROLES = ("push button", "check box", "radio button", "list", "image")
GROUP_MARKERS = [("radio button", f"グループ {n}", n == 1) for n in range(1, 21)]


def described(panel):
    return [(n["role"], n["name"], "checked" in n["states"]) for n in panel["children"] if n["role"] in CONTROL_ROLES]


def focused(window):
    """Whatever reports the focus: (panel it lies in, role, name); a combo
    box by the label that names it."""
    found = []

    def walk(node, panel):
        if "focused" in node["states"]:
            found.append((panel, node["role"], node["labelled_by"][0] if node["role"] == "combo box" else node["name"]))
        for child in node["children"]:
            walk(child, node["name"] if node["role"] == "panel" else panel)

    walk(window, "")
    return found


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
                         ["閉じる", "再生", "連続再生", "全てFavorite", "再生", "連続再生", "ﾘｽﾄから削除", "全部ｸﾘｱ",
                          "ｷｬﾝｾﾙ", "終了"])
        self.assertEqual([b["name"] for b in buttons if "enabled" in b["states"]],
                         ["閉じる", "全てFavorite", "ｷｬﾝｾﾙ", "終了"])
        self.assertFalse([b for b in buttons if b["children"]], "a caption read as a label of its own")
        self.assertEqual(control(main, "push button", "終了")["actions"][0], "Press")
        self.assertEqual(control(main, "push button", "再生")["actions"], [])

        # Each list's controls, in reading order, under the list's name: the
        # two 再生 and the two ﾌﾙｽｸﾘｰﾝ tell which list they act on.
        self.assertEqual(described(control(main, "panel", "ファイル")), [
            ("list", "ファイル", False), ("check box", "ﾌﾙｽｸﾘｰﾝ", False), ("push button", "再生", False),
            ("check box", "繰り返し", True), ("push button", "連続再生", False), ("radio button", "順次", True),
            ("radio button", "ﾗﾝﾀﾞﾑ", False), ("image", "ごみ箱", False), ("check box", "確認", False),
            ("push button", "全てFavorite", False)])
        self.assertEqual(described(control(main, "panel", "Favorite ﾘｽﾄ")), GROUP_MARKERS + [
            ("list", "Favorite ﾘｽﾄ", False), ("check box", "ﾌﾙｽｸﾘｰﾝ", False), ("push button", "再生", False),
            ("check box", "繰り返し", False), ("push button", "連続再生", False), ("radio button", "順次", False),
            ("radio button", "ﾗﾝﾀﾞﾑ", True), ("push button", "ﾘｽﾄから削除", False), ("push button", "全部ｸﾘｱ", False)])
        switches = controls(main, "check box") + controls(main, "radio button")
        self.assertEqual([s["labelled_by"] for s in switches if not s["name"].startswith("グループ")],
                         [[s["name"]] for s in switches if not s["name"].startswith("グループ")])
        groups = [g for g in controls(main, "radio button") if g["name"].startswith("グループ")]
        self.assertEqual([g["name"] for g in groups if g["description"]], ["グループ 2"])
        self.assertEqual(groups[1]["description"], "登録あり")
        # The trash is a picture that takes drops: told what it does, with nothing to press.
        trash = control(main, "image", "ごみ箱")
        self.assertEqual((trash["description"], trash["actions"]),
                         ("ドロップ先: ファイルの一覧からここへドラッグしたファイルを削除します", []))
        self.assertEqual([(n["role"], n["states"]) for n in nodes(main)
                          if n["role"] in ("image", "filler", "panel") and not n["name"]], [],
                         "decorations left in the reader's way")

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
        wait_for(lambda: control(self.reader.window(program, "frame"), "radio button", "グループ 1")["description"] == "登録あり",
                 "グループ 1 to hold an entry")
        self.reader.act(control(main, "push button", "終了"), "Press")
        self.assertEqual(program.wait_exit(), 0)
        self.assertRegex(program.read("Reelbox.ini").decode(), r"\nRep1= ?0\r\n")
        self.assertEqual(program.read("Reelbox00.rdm"), clip.encode().ljust(255))

    def test_one_object_holds_the_focus_wherever_the_keys_take_it(self):
        for name in (b"a.avi", "ビデオ.avi".encode("shift_jis")):
            self.clip(os.fsdecode(os.path.join(os.fsencode(self.clips), name)), seconds=1)
        program = self.start_read(folder=self.clips)
        main = self.window(program, "frame", "the main window on the accessibility bus")
        # Keys pressed, and what alone then holds the focus. A file whose
        # name is not UTF-8 reads as the list shows it.
        steps = [
            ([], ("", "combo box", "ドライブ")),
            (["Tab"], ("", "list item", "/")),
            (["Tab"], ("ファイル", "combo box", "ファイルの種類")),
            (["Tab"], ("ファイル", "list item", "a.avi")),
            (["Down"], ("ファイル", "list item", "ビデオ.avi")),
            (["Tab"], ("ファイル", "check box", "ﾌﾙｽｸﾘｰﾝ")),
            (["shift+Tab"], ("ファイル", "list item", "ビデオ.avi")),
            (["Tab", "Tab"], ("ファイル", "push button", "再生")),
            (["Tab"] * 5, ("ファイル", "push button", "全てFavorite")),
            (["Tab", "Tab"], ("Favorite ﾘｽﾄ", "list", "Favorite ﾘｽﾄ")),
            (["Tab"], ("Favorite ﾘｽﾄ", "check box", "ﾌﾙｽｸﾘｰﾝ")),
        ]
        for keys, holder in steps:
            if keys:
                self.display.key(*keys)
            seen = []
            try:
                wait_for(lambda: seen.append(focused(self.reader.window(program, "frame"))) or seen[-1] == [holder],
                         f"{holder} alone to hold the focus")
            except AssertionError:
                self.fail(f"after {keys}: {seen[-1]} hold the focus, not {holder} alone")

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
