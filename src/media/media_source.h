#pragma once
// What the playback engine may be given: a local file, or a stream over one
// of the network schemes RealMedia metafiles name (http, https, rtsp, pnm,
// mms, rtmp). The engine reads any other "scheme://" as a protocol of its own
// (open file descriptors, filter graphs, memory), which no file name, list
// entry or metafile line may reach.

#include <QString>

// True for "<scheme>://..." with one of the network schemes, in any case.
bool IsNetworkStreamUrl(const QString &text);
