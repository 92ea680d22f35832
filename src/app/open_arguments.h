#pragma once
// What the program is asked to open when it starts with arguments, or when a
// file manager's "Open with" hands it files: local paths (relative ones taken
// from the folder the request was made in) and file:// URLs. Pure rules; the
// main window acts on them (OpenArguments).

#include <QString>
#include <QStringList>

struct OpenTargets
{
    QStringList files;   // to play, in the order given (absolute paths)
    QStringList folders; // to show in the browser (absolute paths)
    QStringList refused; // as given: not a local file or folder that exists
};

// The local path a file:// URL names: for no host or this machine's
// ("localhost" or its own name), the path with its escapes decoded. Empty for
// any other URL or text.
QString LocalPathFromUrl(const QString &url);

// Sorts arguments into files, folders and the refused; a relative path is
// taken from workingFolder.
OpenTargets SortArguments(const QStringList &arguments, const QString &workingFolder);

// The one message that tells the user which arguments were not opened, and why.
QString RefusedArgumentsText(const QStringList &refused);
