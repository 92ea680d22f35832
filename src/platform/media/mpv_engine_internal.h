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

inline QString MpvErrorText(int error) { return QString::fromUtf8(mpv_error_string(error)); }
