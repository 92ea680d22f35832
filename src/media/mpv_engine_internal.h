#pragma once
// What the two halves of MpvEngine share: its commands and state in
// mpv_engine.cpp, its handling of mpv's events in mpv_engine_events.cpp.

#include <QLoggingCategory>
#include <QString>
#include <cstdint>
#include <mpv/client.h>

Q_DECLARE_LOGGING_CATEGORY(lcMpv)

namespace mpv_tags {

// Tags of asynchronous requests, so their replies find their way back. Loads
// and seeks count up from kFirstCounted, each request with a tag of its own.
enum : uint64_t {
    kDuration = 1,
    kTracks,
    kEof,
    kFirstCounted = 100,
};

} // namespace mpv_tags

namespace mpv_limits {

// How long a local file may take to open before it counts as unplayable.
// Files on a disk open in well under a second; what takes longer is a file
// ffmpeg can make nothing of, read to its end (gigabytes of zeros).
constexpr int kOpenTimeoutMs = 5000;
// How long an opened file's first frame may take to tell the picture's size;
// it usually comes within some tens of milliseconds. Should it come later,
// the file opens without and PictureChanged follows.
constexpr int kPictureWaitMs = 1500;

} // namespace mpv_limits

inline QString MpvErrorText(int error)
{
    return QString::fromUtf8(mpv_error_string(error));
}
