#include "app/reelbox_b.h"

#include "app/list_file.h"
#include "app/shared_procedures.h"
#include "platform/ini_profile.h"

#include <cmath>
#include <utility>

namespace {
const QString Section = QStringLiteral("Section");
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
    : ProgramFolder(std::move(programFolder))
{
}

QString Reelbox_B::SettingsFile() const
{
    return JoinPath(ProgramFolder, QStringLiteral("Reelbox.ini"));
}

QString Reelbox_B::GroupFile(int group) const
{
    return ListFileName(ProgramFolder, group);
}

void Reelbox_B::LoadSettings()
{
    // A deep folder's path may be longer than a Windows buffer would hold; cut,
    // it would name another folder or none.
    IniValue = ReadProfileString(SettingsFile(), Section, QStringLiteral("Path"), ValueLength::Whole);
    LastPath = IniValue.isEmpty() || !DirectoryExists(IniValue) ? ProgramFolder : IniValue;

    const std::pair<const char *, qint16 *> switches[] = {
        {"rdm1", &Rdm1}, {"rdm2", &Rdm2}, {"Group", &GroupNo}, {"Full1", &Full1},
        {"Full2", &Full2}, {"Rep1", &Rep1}, {"Rep2", &Rep2}, {"Kakunin", &Kakunin},
    };
    for (const auto &[key, variable] : switches) {
        IniValue = ReadIniString(Section, QLatin1String(key), SettingsFile());
        if (IniValue.isEmpty())
            *variable = 0;
        else
            ParseIniNumber(IniValue, *variable);
    }
    // A group number no marker stands for would name a list file of no group.
    if (GroupNo < 0 || GroupNo >= GroupCount)
        GroupNo = 0;
}

bool Reelbox_B::SaveSettings(const QString &folderPath, const QStringList &favorites)
{
    bool saved = true;
    auto write = [&](const char *key, const QString &value) {
        saved = WriteIniString(Section, QLatin1String(key), value, SettingsFile()) && saved;
    };
    write("Path", folderPath);
    write("rdm1", IniNumber(Rdm1));
    write("rdm2", IniNumber(Rdm2));
    write("Group", IniNumber(GroupNo));
    saved = SaveGroup(GroupNo, favorites) && saved;
    write("Full1", IniNumber(Full1));
    write("Full2", IniNumber(Full2));
    write("Rep1", IniNumber(Rep1));
    write("Rep2", IniNumber(Rep2));
    write("Kakunin", IniNumber(Kakunin));
    return saved;
}

QStringList Reelbox_B::LoadGroup(int group)
{
    const QString fileName = GroupFile(group);
    RecordCount = 0;
    if (!FileExists(fileName))
        return {};
    const QStringList records = ReadListFile(fileName);
    RecordCount = static_cast<qint16>(records.size());
    QStringList entries;
    for (const QString &record : records) {
        ListRecord.FilePath = record;
        if (FileExists(record))
            entries.append(record);
    }
    return entries;
}

bool Reelbox_B::SaveGroup(int group, const QStringList &favorites)
{
    if (!favorites.isEmpty())
        ListRecord.FilePath = favorites.last().left(ListRecordLength);
    return WriteListFile(GroupFile(group), favorites);
}
