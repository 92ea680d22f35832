#pragma once
// Reelbox_B: the program's shared state and its settings. One object, made by
// main() for the program folder and handed to every window; tests make their
// own over a temporary folder. The windows read and write the variables
// directly, as the play hand-over between the main window and the players
// needs. Settings live in "Reelbox.ini" (section "Section") in the settings
// folder (settings_folder.h) and reach disk only through SaveSettings.

#include "app/list_file.h"
#include "app/settings_folder.h"

#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>

class ProfileSnapshot;

// Reads key of section in the settings file fileName: "" when any is missing;
// at most 255 bytes.
QString ReadIniString(const QString &section, const QString &key, const QString &fileName);

// Stores key=value in section of fileName. Returns false when the file could not
// be written; it is then unchanged.
bool WriteIniString(const QString &section, const QString &key, const QString &value, const QString &fileName);

// A number as the settings file stores it: a blank before a non-negative value
// (" 0", " 1"), a minus sign before a negative one ("-1").
QString IniNumber(int value);

// The whole-number part of a stored number, rounded down ("1.9" and " 1" give 1,
// "-0.5" gives -1). False, leaving out alone, for text that is not a number or
// lies outside -32768..32767.
bool ParseIniNumber(const QString &text, qint16 &out);

constexpr qint16 GroupCount = 20;

// What a stored switch value means, decided once at load so that the switch's
// picture, a click on it and what it does all agree (stored: the key's text;
// nullopt when it holds bytes that are no text).
// An on/off switch or an order pair: on (random) when the value is a number
// whose whole part is not 0 ("1", " 1", "1.9", "-1", "2"); off (in order) for
// anything else, a missing key among them.
qint16 SwitchReading(const std::optional<QString> &stored);
// The confirmation before deleting: off only when nothing is stored or the value
// is the number 0; any other value asks first, whatever it was meant to say.
qint16 ConfirmationReading(const std::optional<QString> &stored);
// The current group: a number whose whole part names one of the groups, else 0.
qint16 GroupReading(const std::optional<QString> &stored);

struct ListRecordBuffer
{
    QString FilePath; // the record last read or written, as a path
};

struct Reelbox_B
{
    // Shared state for a program in programFolder, keeping its files where
    // ChooseSettingsFolder decides.
    explicit Reelbox_B(QString programFolder);
    Reelbox_B(QString programFolder, SettingsFolder storage);

    // Where the program lives: the folder shown when no other is saved.
    const QString ProgramFolder;
    // Where the settings file and the list files are kept.
    const SettingsFolder Storage;

    // Playback hand-over between the main window and the player windows.
    qint16 InPlayLoop = 0; // -1 while the main window plays a list
    qint16 PlaySource = 0; // 0 file list, 1 favourites
    QString PlayFile;      // full path of the file to play now
    double PlayStart = 0;  // seconds into PlayFile to start at
    qint16 StopPlay = 0;   // -1 once the user has ended playback

    // Option switches: 0 off, 1 on, as LoadSettings reads them.
    qint16 Full1 = 0, Full2 = 0; // full screen for the file list / favourites
    qint16 Rdm1 = 0, Rdm2 = 0;   // 0 in order, 1 random
    qint16 Rep1 = 0, Rep2 = 0;   // repeat single play
    qint16 Kakunin = 0;          // confirm deletion through the trash

    qint16 GroupNo = 0; // current favourites group, 0..19
    QString LastPath;   // folder shown at start-up

    qint32 ApiResult = 0; // success of the player windows' cursor query
    QString IniValue;     // the value last read from the settings file

    // Groups whose list file was there but could not be read when last loaded:
    // their saves keep the file as it is.
    std::array<bool, GroupCount> UnreadableGroups{};

    ListRecordBuffer ListRecord; // list-file record buffer
    qint16 RecordCount = 0;      // records of the list file last opened

    // The settings file, to read and write single keys in: in the settings
    // folder, which this makes when it does not exist yet.
    QString SettingsFile() const;
    // Group's list file as it is read now (for a look at its records).
    QString GroupFile(int group) const;

    // Reads "Path" and the switches; missing or unusable values give the defaults.
    void LoadSettings();
    // The folder LoadSettings gives LastPath: the saved "Path" while it is a
    // folder that can be listed, else the program folder, or for a copy that
    // keeps its settings elsewhere (an installed one) the user's videos
    // folder. The settings file read for it is kept for the LoadSettings
    // that follows, so that a start reads it once.
    QString SavedFolder() const;

    // Stores "Path" (the folder list's folder), "rdm1", "rdm2", "Group", "Full1",
    // "Full2", "Rep1", "Rep2" and "Kakunin" in one replacement of the settings
    // file, then favourites as the current group's list file. A failure of one
    // does not stop the other. Returns the files that could not be written
    // (empty when everything was saved).
    QStringList SaveSettings(const QString &folderPath, const QList<QByteArray> &favorites);

    // Every record of group's list file, in order, as the file holds it:
    // entries whose files cannot be reached now are kept like any other.
    // Sets RecordCount to the file's record count (at most 32767).
    ListRecords LoadGroup(int group);

    // Stores favorites (255-byte records) as group's list file (none leaves no
    // file); leaves the file alone, and counts that as done, for an unreadable group.
    bool SaveGroup(int group, const QList<QByteArray> &favorites);

private:
    // The settings file as the next LoadSettings reads it: read at the first
    // look, let go once the settings are loaded.
    const ProfileSnapshot &StartSettings() const;
    mutable std::shared_ptr<const ProfileSnapshot> startSettings_;
};
