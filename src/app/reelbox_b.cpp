#include "app/reelbox_b.h"

#include "app/list_file.h"
#include "app/shared_procedures.h"
#include "platform/ini_profile.h"

#include <cmath>
#include <utility>

namespace {
const QString Section = QStringLiteral("Section");

// A value the settings reader would trim is stored in double quotes, so that
// it reads back whole: a folder whose name ends in a blank.
QString IniText(const QString &value)
{
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    const bool trimmed = !value.isEmpty() && (blank(value.front()) || blank(value.back()));
    return trimmed ? u'"' + value + u'"' : value;
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

QString Reelbox_B::SavedFolder() const
{
    // Read where the settings are now: a first start of an installed copy
    // makes no folder of its own yet. A deep folder's path may be longer than
    // a Windows buffer would hold; cut, it would name another folder or none.
    const QString saved = ReadProfileString(Storage.FileToRead(SettingsFileTitle), Section, QStringLiteral("Path"),
                                            ValueLength::Whole);
    return saved.isEmpty() || !DirectoryExists(saved) ? ProgramFolder : saved;
}

void Reelbox_B::LoadSettings()
{
    const QString settingsFile = Storage.FileToRead(SettingsFileTitle);
    LastPath = SavedFolder();

    const std::pair<const char *, qint16 *> switches[] = {
        {"rdm1", &Rdm1}, {"rdm2", &Rdm2}, {"Group", &GroupNo}, {"Full1", &Full1},
        {"Full2", &Full2}, {"Rep1", &Rep1}, {"Rep2", &Rep2}, {"Kakunin", &Kakunin},
    };
    for (const auto &[key, variable] : switches) {
        IniValue = ReadIniString(Section, QLatin1String(key), settingsFile);
        if (IniValue.isEmpty())
            *variable = 0;
        else
            ParseIniNumber(IniValue, *variable);
    }
    // A group number no marker stands for would name a list file of no group.
    if (GroupNo < 0 || GroupNo >= GroupCount)
        GroupNo = 0;
}

QStringList Reelbox_B::SaveSettings(const QString &folderPath, const QList<QByteArray> &favorites)
{
    QStringList unsaved;
    const QString settingsFile = SettingsFile();
    const QList<ProfileEntry> keys = {
        {QStringLiteral("Path"), IniText(folderPath)},        {QStringLiteral("rdm1"), IniNumber(Rdm1)},
        {QStringLiteral("rdm2"), IniNumber(Rdm2)},   {QStringLiteral("Group"), IniNumber(GroupNo)},
        {QStringLiteral("Full1"), IniNumber(Full1)}, {QStringLiteral("Full2"), IniNumber(Full2)},
        {QStringLiteral("Rep1"), IniNumber(Rep1)},   {QStringLiteral("Rep2"), IniNumber(Rep2)},
        {QStringLiteral("Kakunin"), IniNumber(Kakunin)},
    };
    if (!WriteProfileStrings(settingsFile, Section, keys))
        unsaved.append(settingsFile);
    if (!SaveGroup(GroupNo, favorites))
        unsaved.append(JoinPath(Storage.Folder, ListFileTitle(GroupNo)));
    return unsaved;
}

QList<QByteArray> Reelbox_B::LoadGroup(int group)
{
    const QList<QByteArray> records = ReadListFile(GroupFile(group));
    RecordCount = static_cast<qint16>(qMin<qsizetype>(records.size(), 32767));
    if (!records.isEmpty())
        ListRecord.FilePath = DecodeListRecord(records.last());
    return records;
}

bool Reelbox_B::SaveGroup(int group, const QList<QByteArray> &favorites)
{
    if (!favorites.isEmpty())
        ListRecord.FilePath = DecodeListRecord(favorites.last());
    return WriteListFile(Storage.FileToWrite(ListFileTitle(group)), favorites);
}
