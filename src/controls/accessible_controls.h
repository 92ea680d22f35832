#pragma once
// How screen readers see the program's own controls: a Command as a push
// button named by its caption (the caption is not read again as a label of
// its own), disabled while it is, with a Press action that does what a click
// does; a dtVisualScrollBar as a slider with its value. Each control hands
// itself over as it is made, so that readers hear of its changes.

class Command;
class dtVisualScrollBar;

void ExposeToScreenReaders(Command *control);
void ExposeToScreenReaders(dtVisualScrollBar *control);
