#pragma once
// Text in settings and list files. We write UTF-8; files written by the program
// on Japanese Windows hold Shift_JIS, so bytes that are not valid UTF-8 are read
// as Shift_JIS and those files still load.

#include <QByteArray>
#include <QString>
#include <optional>

// Decodes file bytes: as UTF-8 when they are valid UTF-8, else as Shift_JIS.
QString DecodeFileText(const QByteArray &bytes);

// The text bytes hold when they are valid UTF-8, else when they are valid
// Shift_JIS; nullopt when they are neither (a stray byte, a cut character).
std::optional<QString> DecodeText(const QByteArray &bytes);

// Encodes text for a file: always UTF-8, no byte-order mark.
QByteArray EncodeFileText(const QString &text);
