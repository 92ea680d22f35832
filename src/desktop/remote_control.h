#pragma once
// What the desktop's media controls (media keys, a shell's player widget) may
// ask of the program while a file plays: of the window that plays it
// (RemoteControl), answered as the user's own key, seek bar or slider would,
// once the window is on the screen (it holds what comes while it opens), and
// of the play command that shows one window after the other
// (RemotePlayList). GUI thread only; a window that has closed ignores them.

#include <QString>
#include <optional>

// What a window plays now.
struct RemoteTrack
{
    QString source; // a local path (file_names.h: its bytes) or a network URL
    QString title;  // as the user reads it
    int clip = 0;   // 0: the window's file itself; 1 and on: the clips a metafile names
};

class RemoteControl
{
public:
    virtual ~RemoteControl() = default;
    // Pauses when playing, resumes when paused.
    virtual void RemotePlayPause() = 0;
    // Resumes when paused; nothing otherwise.
    virtual void RemotePlay() = 0;
    // Pauses when playing; nothing otherwise.
    virtual void RemotePause() = 0;
    // Moves on to the next file of the list (the window closes).
    virtual void RemoteNext() = 0;
    // Ends the list (the window closes).
    virtual void RemoteStop() = 0;
    // True while the window itself can move playback (its seek bar or slider
    // has a length to move along).
    virtual bool RemoteCanSeek() const = 0;
    // Moves playback to `seconds` from the start, as the window's own seek
    // bar or slider does; nothing while it cannot seek.
    virtual void RemoteSeek(double seconds) = 0;
    virtual RemoteTrack RemoteNowPlaying() const = 0;
};

class RemotePlayList
{
public:
    virtual ~RemotePlayList() = default;
    // True when the window's Next (RemoteNext) leads to another show: a
    // further file of the list, or the same file again where it repeats.
    virtual bool RemoteHasNext() const = 0;
    // The 繰り返し switch of the single play under way; none where the play
    // is not one (a list, a double-click). Setting it is flipping the switch,
    // read when the file ends; nothing where there is none.
    virtual std::optional<bool> RemoteRepeats() const = 0;
    virtual void RemoteSetRepeat(bool on) = 0;
    // The ﾗﾝﾀﾞﾑ switch of the continuous play under way; none where the play
    // has no order to choose. Setting it chooses the order of the entries
    // still to play; nothing where there is none.
    virtual std::optional<bool> RemoteShuffles() const = 0;
    virtual void RemoteSetShuffle(bool on) = 0;
};
