#pragma once
// How the main window plays a file: it names which of the two player windows
// to use, and the factory creates that window, shows it modally for the file in
// the shared state's PlayFile, and returns once it has closed. Tests give the
// main window a scripted factory that records each show and closes as told.

class QWidget;

enum class PlayerWindow {
    DirectShow, // the window with the seek bar and the time labels
    RealAudio,  // the window for RealMedia names and list double-clicks
};

class PlayerFactory
{
public:
    virtual ~PlayerFactory() = default;
    // Shows the player window `which` modally over owner and returns when it
    // has closed: true when the file played, false when it could not be played
    // at all (the window then closed at once).
    virtual bool ShowModal(PlayerWindow which, QWidget *owner) = 0;
    // Ends the playback under way as the user's stop does: the window closes
    // with StopPlay at -1 (a window still opening its file, once it shows).
    // Nothing while no window shows.
    virtual void StopPlaying() = 0;
    // True while a player window is on the screen: shown, not only opening its file.
    virtual bool PlayerOnScreen() const = 0;
};
