#pragma once
// RealAudio metafiles (.ram): small text files that name the clips to play,
// one URL or path per line. The engine does not read them; the RealAudio
// control does, through these functions.
//
// Blank lines and lines starting with "#" are skipped; CRLF and LF endings
// read alike, and text that is not valid UTF-8 is read as Shift_JIS. A line
// is a "file://" URL (of this machine; its escapes decoded to the bytes of the
// name, see file_url.h; a URL that names no local file soundly is left out),
// a network URL (http, https, rtsp, pnm, mms, rtmp), handed to the engine as
// it is, or a plain path; relative paths are taken from the metafile's folder.
// A URL of any other scheme is skipped. A local entry may end in "?start=...&end=..." (times as
// [[hh:]mm:]ss[.t]) to play only that part of its clip.

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

struct MetafileEntry
{
    // An absolute local path, or the URL of another scheme exactly as written.
    QString source;
    // The part to play, in seconds from the clip's start; none: from the
    // start, to the end.
    std::optional<double> start, end;

    bool operator==(const MetafileEntry &) const = default;
};

// The entries of a metafile's bytes, for a metafile in `folder`. For a local
// entry, the path as written is taken when such a file exists; otherwise the
// path with %XX escapes decoded, when that file exists; otherwise as written
// (the engine then reports it missing).
QList<MetafileEntry> ParseMetafile(const QByteArray &bytes, const QString &folder);

// The entries of the metafile at path; none when it cannot be read.
QList<MetafileEntry> ReadMetafile(const QString &path);

// Seconds for a time of a metafile entry: "ss", "mm:ss", "hh:mm:ss" or
// "dd:hh:mm:ss", the seconds with an optional fraction; none when malformed.
std::optional<double> ParseMetafileTime(QString text);
