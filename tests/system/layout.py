"""Where the main window's controls are, in pixels from its top-left corner
(the designed places at 96 dpi; the painted panel starts 20 pixels down)."""

PANEL_TOP = 20


def _panel(x, y, width=0, height=0):
    return (x, y + PANEL_TOP, width, height)


def centre(rect):
    x, y, width, height = rect
    return (x + width // 2, y + height // 2)


TITLE = (200, 10)
CLOSE_PICTURE = (475, 11)

DRIVES = _panel(16, 12, 163, 21)
FILE_KINDS = _panel(184, 12, 181, 21)
FOLDERS = _panel(16, 40, 163, 201)
FILES = _panel(184, 40, 181, 175)
TRASH = _panel(376, 168, 32, 32)
LINK = _panel(16, 472, 222, 13)  # the link to the program's documentation
FAVOURITES = _panel(16, 264, 349, 186)

# The skinned buttons, 97 x 25 pixels each, by what they do.
_BUTTON = (97, 25)
BUTTONS = {
    "play_file": _panel(376, 68, *_BUTTON),          # 再生
    "play_files": _panel(376, 116, *_BUTTON),        # 連続再生
    "all_to_favourites": _panel(376, 208, *_BUTTON),  # 全てFavorite
    "play_favourite": _panel(376, 292, *_BUTTON),    # 再生
    "play_favourites": _panel(376, 344, *_BUTTON),   # 連続再生
    "remove_favourite": _panel(376, 396, *_BUTTON),  # ﾘｽﾄから削除
    "clear_favourites": _panel(376, 428, *_BUTTON),  # 全部ｸﾘｱ
    "cancel": _panel(268, 460, *_BUTTON),            # ｷｬﾝｾﾙ
    "exit": _panel(376, 460, *_BUTTON),              # 終了
}

# The 13 x 13 switch pictures, with the settings key each one is saved as and
# the value an "on" picture stands for.
_SWITCH = (13, 13)
SWITCHES = {
    "Full1": _panel(376, 48, *_SWITCH),
    "Rep1": _panel(376, 96, *_SWITCH),
    "rdm1_in_order": _panel(376, 144, *_SWITCH),
    "rdm1_random": _panel(424, 144, *_SWITCH),
    "Kakunin": _panel(416, 184, *_SWITCH),
    "Full2": _panel(376, 272, *_SWITCH),
    "Rep2": _panel(376, 320, *_SWITCH),
    "rdm2_in_order": _panel(376, 372, *_SWITCH),
    "rdm2_random": _panel(424, 372, *_SWITCH),
}

# The middle pixel of each 13 x 13 picture.
SWITCH_ON = (169, 240, 206)
SWITCH_OFF = (84, 107, 107)
GROUP_CURRENT = (249, 181, 107)
GROUP_FILLED = (99, 137, 219)
GROUP_EMPTY = (225, 229, 233)


# The lists' rows: 14 pixels each (the design font's line), below a frame of one.
LIST_ROW_HEIGHT = 14
LIST_FRAME = 1


def group_marker(number):
    return _panel(148 + 16 * number, 248, 13, 13)


def button(name):
    return centre(BUTTONS[name])


def switch(name):
    return centre(SWITCHES[name])


def inside(rect, margin=3):
    """The inner part of a list, without its frame."""
    x, y, width, height = rect
    return (x + margin, y + margin, width - 2 * margin, height - 2 * margin)
