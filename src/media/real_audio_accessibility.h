#pragma once
// How screen readers see the RealAudio control's own views: the position
// slider as a slider with its value, which a reader can set as a drag would;
// the status bar as one text, the play state and the time.

// Installs, once, the factory that gives those views their interfaces. Each
// view calls it as it is made.
void InstallRealAudioAccessibility();
