#pragma once
// A short note over a player's picture that goes away by itself. It is a
// small window of its own that floats above the player (full screen too),
// since the engine draws the picture into a window of its own that widgets
// of the player cannot cover; it takes no focus and no clicks. It is made
// only when first shown, and while nothing shows it costs nothing (one
// single-shot timer hides it). Screen readers hear each note as the label's
// new name.

#include <QLabel>

class QTimer;

class PlayerNote : public QLabel
{
public:
    // A note at where over window (in window coordinates).
    PlayerNote(QWidget *window, QPoint where);

    // Shows text for a few seconds, in place of any note showing.
    void Show(const QString &text);

private:
    QWidget *window_;
    QPoint where_;
    QTimer *hide_;
};
