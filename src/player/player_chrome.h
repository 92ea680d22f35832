#pragma once
// The sizes of what the player windows draw around the picture, in pixels:
// the title strip both share, the DirectShow window's panel under the
// picture, and the RealAudio window's slider and status bar.

// The title strip across the top of both windows, and its exit picture's
// left, from the strip's right edge.
inline constexpr int TitleHeight = 20;
inline constexpr int ExitFromRight = 20;

// The DirectShow window's panel under the picture (times and seek bar), and
// the rows the window adds to its picture.
inline constexpr int DirectShowPanelHeight = 33;
inline constexpr int DirectShowChromeHeight = TitleHeight + DirectShowPanelHeight;

// The RealAudio window's position slider and status bar under the picture,
// and the rows the window adds to its picture.
inline constexpr int RealSliderHeight = 21;
inline constexpr int RealStatusBarHeight = 25;
inline constexpr int RealAudioChromeHeight = TitleHeight + RealSliderHeight + RealStatusBarHeight;
