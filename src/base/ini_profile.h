#pragma once
// The settings file (Reelbox.ini), read and written by key the way the Windows
// private-profile calls do it: section and key names match without regard to
// ASCII case, blanks around names and values are dropped, and a write changes
// only the lines of its keys, keeping every other line, comment and line ending
// as it was, byte for byte. Each line is read as UTF-8, or as Shift_JIS when it
// is not valid UTF-8 (files from Japanese Windows still load); a value that is
// neither reads as missing. The lines a write changes or adds are UTF-8, and the
// file is replaced through an atomic save. Each call reads the whole file
// afresh; a ProfileSnapshot answers many reads from one reading.

#include <QList>
#include <QString>
#include <memory>
#include <optional>
#include <utility>

// How much of a value a read gives: what a 256-byte buffer holds, or all of it.
enum class ValueLength { Buffer, Whole };

// Reads key in section of the INI file: "" when the file, section or key is
// missing or the value cannot be decoded; at most 255 bytes of UTF-8 (a value cut
// there loses any partial trailing character) unless the whole value is asked for.
QString ReadProfileString(const QString &fileName, const QString &section, const QString &key,
                          ValueLength length = ValueLength::Buffer);

// The same, but nullopt when the key is there and holds bytes that are no text,
// for a caller that must tell them from a missing key.
std::optional<QString> ReadProfileText(const QString &fileName, const QString &section, const QString &key,
                                       ValueLength length = ValueLength::Buffer);

// The file as it stood when this was made, read and parsed once: each read
// answers as ReadProfileText would have then.
class ProfileSnapshot
{
public:
    explicit ProfileSnapshot(const QString &fileName);
    ~ProfileSnapshot();
    ProfileSnapshot(const ProfileSnapshot &) = delete;
    ProfileSnapshot &operator=(const ProfileSnapshot &) = delete;

    std::optional<QString> Text(const QString &section, const QString &key,
                                ValueLength length = ValueLength::Buffer) const;
    QString String(const QString &section, const QString &key, ValueLength length = ValueLength::Buffer) const;

private:
    struct Content;
    std::unique_ptr<const Content> content_;
};

// Stores key=value in section, creating file/section/key as needed; returns false when
// the file could not be written (then nothing on disk changed).
bool WriteProfileString(const QString &fileName, const QString &section, const QString &key, const QString &value);

// A key and the value to store for it.
using ProfileEntry = std::pair<QString, QString>;

// Stores every entry in section as WriteProfileString would, one after the other,
// and replaces the file once with the outcome: a reader, or a crash, meets either
// the old file or the one with all of them.
bool WriteProfileStrings(const QString &fileName, const QString &section, const QList<ProfileEntry> &entries);
