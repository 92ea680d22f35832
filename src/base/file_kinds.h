#pragma once
// The kinds of file the program plays, one row each: the file-type box, the
// choice of player window, favourites drops, the metafile reader and the
// launcher entry's MIME types (checked by a test) all read this table. A new
// kind is one more row.

#include <QString>
#include <QStringList>

struct FileKind
{
    // The name's extension, in lower case and without its dot.
    const char *extension;
    // The file-type box's entry that lists this kind on its own or with its
    // kin (1..7; entry 0 lists every kind).
    int filterEntry;
    // The last characters, in upper case, by which a name plays in the
    // RealAudio window whatever comes before them (no dot needed: "DIAGRAM"
    // ends in "RAM"); nullptr for a kind the DirectShow window plays.
    const char *realAudioEnding;
    // A double-click in the file list hands the file to the desktop's own
    // program instead of playing it.
    bool openedByDesktop;
    // A RealAudio metafile: a list of clips the program reads itself.
    bool metafile;
    // The MIME types the launcher entry declares for it, ';'-separated.
    const char *mimeTypes;
};

inline constexpr FileKind FileKinds[] = {
    {"ram", 1, "RAM", false, true, "application/ram;audio/x-pn-realaudio"},
    {"rm", 1, ".RM", false, false, "application/vnd.rn-realmedia"},
    {"avi", 2, nullptr, false, false, "video/x-msvideo;video/avi;video/vnd.avi"},
    {"mpeg", 3, "PEG", false, false, "video/mpeg"},
    {"mpg", 3, "MPG", false, false, "video/mpeg"},
    {"asf", 5, nullptr, false, false, "application/vnd.ms-asf;video/x-ms-asf"},
    {"wmv", 4, nullptr, true, false, "video/x-ms-wmv"},
    {"divx", 6, nullptr, false, false, "video/x-msvideo"},
    {"dat", 7, nullptr, false, false, ""},
    {"rmvb", 1, "RMVB", false, false, "application/vnd.rn-realmedia-vbr"},
};

// The file-type box's entries in their order: every kind ("*.ram;*.rm;...",
// in the table's order), then each filter entry's kinds.
QStringList FileTypeFilters();

// True for an extension (without its dot) of one of the kinds, in any case.
bool IsVideoExtension(const QString &extension);

// True when path ends in a RealAudio ending, in any case.
bool HasRealAudioEnding(const QString &path);

// True when path ends in the extension of a kind the desktop opens, in any
// case (no dot needed, as for the player choice).
bool IsOpenedByDesktop(const QString &path);

// True for a name ending in "." and a metafile kind's extension, in any case.
bool IsMetafileName(const QString &path);

// Every MIME type of the kinds, each once, in the table's order.
QStringList FileKindMimeTypes();
