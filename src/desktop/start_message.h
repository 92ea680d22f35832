#pragma once
// The message a later start sends the running copy (single_instance.h): what
// it was started with. On the wire, all numbers 32 bits, big-endian, as
// QDataStream writes them: the length of what follows, a mark, the number of
// arguments, each argument and then the working folder as a text (its length
// in bytes, then its UTF-16 code units; 0xFFFFFFFF for no text).
//
// The reader trusts nothing the message declares: each length and count is
// held against the bytes that have arrived and against MaxStartMessage
// before anything is made for it, so whatever a stranger writes to the
// socket is refused, never followed.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

struct StartRequest
{
    QStringList arguments;
    QString workingFolder;
};

// Longer than any start sends: the kernel hands a program a few MiB of
// arguments at most (ARG_MAX), which take twice that as UTF-16.
constexpr qsizetype MaxStartMessage = 16 * 1024 * 1024;

// The message for request, or an empty array when it would be longer than
// MaxStartMessage (the running copy would refuse it).
QByteArray StartMessage(const StartRequest &request);

struct StartMessageRead
{
    // Incomplete: the bytes so far begin a message that may still come whole.
    // Malformed: they can never be one (the running copy refuses them).
    enum class Outcome { Incomplete, Whole, Malformed } outcome = Outcome::Incomplete;
    StartRequest request; // when Whole
};

// Reads the message at the start of received, what a connection has brought
// so far; bytes past its end are left alone.
StartMessageRead ReadStartMessage(QByteArrayView received);
