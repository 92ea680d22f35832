#pragma once
// The one test of whether a text is a URL, for the command line, metafiles
// and the RealAudio control's sources alike.

#include <QStringView>

// The scheme text begins with ("http" of "http://host/a"), as URLs spell one:
// a letter, then letters, digits, "+", "-" or ".", then ":". Two characters at
// least, so that a drive letter ("C:") is no scheme. Empty when there is none.
QStringView UrlScheme(QStringView text);
