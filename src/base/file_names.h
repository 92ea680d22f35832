#pragma once
// File names as the file system holds them. A Linux name is a string of
// bytes: mostly UTF-8, but a disk from an old Windows machine or an archive
// may hold names in Shift_JIS or another code page. Qt reads names as UTF-8
// and replaces what is not, so such a file could be listed but never opened
// again. Here a name's bytes become a QString and back without loss: valid
// UTF-8 reads as usual, and each byte that is not part of valid UTF-8 is
// carried as a lone surrogate U+DC80..U+DCFF (as Python's "surrogateescape"
// does). Whatever reaches the file system with such a name goes through its
// bytes (EncodeFileName and the calls below), never through QFile or
// QFileInfo, which would write the surrogates as replacement characters.
//
// None of the calls here opens anything but a regular file, so a FIFO, a
// socket or a device named by a path never blocks the caller.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

// The name for bytes; bytes that are not UTF-8 become U+DC80..U+DCFF.
QString DecodeFileName(QByteArrayView bytes);

// The bytes name stands for: the inverse of DecodeFileName. (A lone surrogate
// DecodeFileName never makes is written as U+FFFD.)
QByteArray EncodeFileName(QStringView name);

// The "file://" URL of an absolute path: each byte of its name but the
// unreserved ones and "/" percent-encoded (a byte that is not UTF-8 as
// itself: %FF), so that file_url.h reads the same bytes back.
QByteArray FileUrlOfPath(QStringView path);

// True when name carries bytes that are not UTF-8.
bool HasForeignBytes(QStringView name);

// True when bytes are UTF-8 throughout: DecodeFileName reads them without a
// foreign byte (and EncodeFileName gives them back).
bool IsUtf8(QByteArrayView bytes);

// The name as the user reads it: each part of the path that holds bytes that
// are not UTF-8 is read as Shift_JIS where it is valid Shift_JIS, else with
// replacement characters for those bytes.
QString DisplayFileName(const QString &name);

enum class PathKind { Missing, File, Folder, Other };

// What path names, asked with stat (links followed): a regular file, a
// folder, something else (FIFO, socket, device), or nothing reachable.
PathKind KindOfPath(const QString &path);

// The absolute path the kernel reaches by path: its folder resolved by the
// file system (links followed, so "link/.." is the parent of where the link
// leads, and "nosuch/../a" reaches nothing), its last name kept as given
// (a link to a file stays that link). Empty when the folder cannot be reached.
QString ResolvedPath(const QString &path);

// True when path is a regular file the program may read.
bool IsReadableFile(const QString &path);

// True when path is a folder whose entries can be listed.
bool IsListableFolder(const QString &path);

// The content of the regular file at path; nullopt when it is missing, not a
// regular file or cannot be read.
std::optional<QByteArray> ReadRegularFile(const QString &path);

// Removes the file at path (not a folder). False when it could not.
bool RemoveFileAt(const QString &path);
