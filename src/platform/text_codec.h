#pragma once
// Text in settings and list files. We write UTF-8; files written by the program
// on Japanese Windows hold Shift_JIS, so bytes that are not valid UTF-8 are read
// as Shift_JIS and those files still load.

#include <QByteArray>
#include <QString>

// Decodes file bytes: as UTF-8 when they are valid UTF-8, else as Shift_JIS.
QString DecodeFileText(const QByteArray &bytes);

// Encodes text for a file: always UTF-8, no byte-order mark.
QByteArray EncodeFileText(const QString &text);
