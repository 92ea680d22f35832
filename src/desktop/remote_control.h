#pragma once
// What the desktop's media controls (media keys, a shell's player widget) may
// ask of the window that plays a file now. The window answers each as the
// user's own key would, once it is on the screen (it holds what comes while it
// opens). GUI thread only; a window that has closed ignores them.

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
};
