#include "app/reelbox_b.h"

#include "app/list_file.h"
#include "app/settings_keys.h"
#include "app/shared_procedures.h"
#include "base/ini_profile.h"
#include "desktop/user_folders.h"

#include <cmath>
#include <utility>

namespace {
const QString Section = SettingsSection;

// A folder as "Path" keeps it: inside double quotes when it begins or ends in a
// blank, which a read would otherwise drop ("/videos/clips ").
QString StoredFolder(const QString &folder)
{
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    if (!folder.isEmpty() && (blank(folder.front()) || blank(folder.back())))
        return u'"' + folder + u'"';
    return folder;
}
// What a stored value of a key of type means (stored as ReadProfileText gives it).
qint16 Reading(SettingType type, const std::optional<QString> &stored)
{
    switch (type) {
    case SettingType::Confirmation: return ConfirmationReading(stored);
    case SettingType::Group: return GroupReading(stored);
    default: return SwitchReading(stored);
    }
}
} // namespace

QString ReadIniString(const QString &section, const QString &key, const QString &fileName)
{
    return ReadProfileString(fileName, section, key);
}

bool WriteIniString(const QString &section, const QString &key, const QString &value, const QString &fileName)
{
    return WriteProfileString(fileName, section, key, value);
}

QString IniNumber(int value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

bool ParseIniNumber(const QString &text, qint16 &out)
{
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return false;
    const double whole = std::floor(number);
    if (whole < -32768 || whole > 32767)
        return false;
    out = static_cast<qint16>(whole);
    return true;
}

qint16 SwitchReading(const std::optional<QString> &stored)
{
    qint16 number = 0;
    return stored && ParseIniNumber(*stored, number) && number != 0 ? 1 : 0;
}

qint16 ConfirmationReading(const std::optional<QString> &stored)
{
    if (!stored)
        return 1;
    const QString text = stored->trimmed();
    bool ok = false;
    return text.isEmpty() || (text.toDouble(&ok) == 0 && ok) ? 0 : 1;
}

qint16 GroupReading(const std::optional<QString> &stored)
{
    qint16 number = 0;
    return stored && ParseIniNumber(*stored, number) && number >= 0 && number < GroupCount ? number : 0;
}

Reelbox_B::Reelbox_B(QString programFolder)
    : Reelbox_B(programFolder, ChooseSettingsFolder(programFolder))
{
}

Reelbox_B::Reelbox_B(QString programFolder, SettingsFolder storage)
    : ProgramFolder(std::move(programFolder))
    , Storage(std::move(storage))
{
}

QString Reelbox_B::SettingsFile() const
{
    return Storage.FileToWrite(SettingsFileTitle);
}

QString Reelbox_B::GroupFile(int group) const
{
    return Storage.FileToRead(ListFileTitle(group));
}

const ProfileSnapshot &Reelbox_B::StartSettings() const
{
    if (!startSettings_)
        startSettings_ = std::make_shared<const ProfileSnapshot>(Storage.FileToRead(SettingsFileTitle));
    return *startSettings_;
}

QString Reelbox_B::SavedFolder() const
{
    // Read where the settings are now: a first start of an installed copy
    // makes no folder of its own yet. A deep folder's path may be longer than
    // a Windows buffer would hold; cut, it would name another folder or none.
    const QString saved = StartSettings().String(Section, FolderKey, ValueLength::Whole);
    if (!saved.isEmpty() && DirectoryExists(saved))
        return saved;
    // An installed copy's own folder (/usr/bin) holds nothing to play.
    return Storage.StartingPoint.isEmpty() ? ProgramFolder : UserVideosFolder();
}

void Reelbox_B::LoadSettings()
{
    LastPath = SavedFolder();
    for (const SettingKey &key : SettingKeys) {
        if (!key.variable)
            continue;
        const std::optional<QString> stored = StartSettings().Text(Section, key.name);
        IniValue = stored.value_or(QString());
        this->*key.variable = Reading(key.type, stored);
    }
    startSettings_.reset(); // a later load reads the file as it is then
}

QStringList Reelbox_B::SaveSettings(const QString &folderPath, const QList<QByteArray> &favorites)
{
    QStringList unsaved;
    const QString settingsFile = SettingsFile();
    // A line break cannot be stored on one line: the folder saved before stays.
    const bool folderFits = !folderPath.contains(u'\n') && !folderPath.contains(u'\r');
    QList<ProfileEntry> keys;
    for (const SettingKey &key : SettingKeys) {
        if (key.writer != SettingWriter::Exit)
            continue;
        if (key.variable)
            keys.append({key.name, IniNumber(this->*key.variable)});
        else if (folderFits)
            keys.append({key.name, StoredFolder(folderPath)});
    }
    if (!WriteProfileStrings(settingsFile, Section, keys))
        unsaved.append(settingsFile);
    if (!SaveGroup(GroupNo, favorites))
        unsaved.append(JoinPath(Storage.Folder, ListFileTitle(GroupNo)));
    return unsaved;
}

ListRecords Reelbox_B::LoadGroup(int group)
{
    const QString fileName = GroupFile(group);
    ListRecords records = ReadListRecords(fileName);
    UnreadableGroups[group] = records.isEmpty() && ListFileUnreadable(fileName);
    RecordCount = static_cast<qint16>(qMin<qsizetype>(records.size(), 32767));
    // The record's bytes as they read: which reading names a file is found
    // out off this thread (reach_checker.h), never here.
    if (!records.isEmpty())
        ListRecord.FilePath = ListRecordText(records.at(records.size() - 1));
    return records;
}

bool Reelbox_B::SaveGroup(int group, const QList<QByteArray> &favorites)
{
    if (UnreadableGroups[group])
        return true;
    if (!favorites.isEmpty())
        ListRecord.FilePath = ListRecordText(favorites.last());
    return WriteListFile(Storage.FileToWrite(ListFileTitle(group)), favorites);
}
