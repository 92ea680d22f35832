#pragma once
// Every key of the settings file, declared once: its name, how its value
// reads and what it gives when none is stored, which shared variable holds it
// and who writes it. Loading and saving both walk this table; a new setting
// is one more row (and its variable in Reelbox_B).

#include "app/reelbox_b.h"

#include <QLatin1StringView>

// The one section every key lives in.
inline constexpr QLatin1StringView SettingsSection("Section");

enum class SettingType {
    Folder,       // a folder's path; missing or gone: the starting folder
    Switch,       // 1 for a number whose whole part is not 0, else 0 (the default)
    Confirmation, // 0 for nothing stored or the number 0, else 1
    Group,        // a group's number 0..19, else 0
    WindowTwips,  // a window's coordinate in twips; none stored: placed anew
};

// Who writes a key: 終了 with all the others, or the RealAudio window as it closes.
enum class SettingWriter { Exit, RealAudioWindow };

struct SettingKey
{
    QLatin1StringView name;
    SettingType type;
    SettingWriter writer;
    // The shared variable the value loads into and saves from; nullptr for a
    // key read where it is used.
    qint16 Reelbox_B::*variable;
};

// The folder shown at start-up.
inline constexpr QLatin1StringView FolderKey("Path");

// Where the RealAudio window was left, kept between runs.
inline constexpr QLatin1StringView RealWindowTopKey("rFormTop");
inline constexpr QLatin1StringView RealWindowLeftKey("rFormLeft");

// In the order a first save writes them.
inline constexpr SettingKey SettingKeys[] = {
    {FolderKey, SettingType::Folder, SettingWriter::Exit, nullptr},
    {QLatin1StringView("rdm1"), SettingType::Switch, SettingWriter::Exit, &Reelbox_B::Rdm1},
    {QLatin1StringView("rdm2"), SettingType::Switch, SettingWriter::Exit, &Reelbox_B::Rdm2},
    {QLatin1StringView("Group"), SettingType::Group, SettingWriter::Exit, &Reelbox_B::GroupNo},
    {QLatin1StringView("Full1"), SettingType::Switch, SettingWriter::Exit, &Reelbox_B::Full1},
    {QLatin1StringView("Full2"), SettingType::Switch, SettingWriter::Exit, &Reelbox_B::Full2},
    {QLatin1StringView("Rep1"), SettingType::Switch, SettingWriter::Exit, &Reelbox_B::Rep1},
    {QLatin1StringView("Rep2"), SettingType::Switch, SettingWriter::Exit, &Reelbox_B::Rep2},
    {QLatin1StringView("Kakunin"), SettingType::Confirmation, SettingWriter::Exit, &Reelbox_B::Kakunin},
    {RealWindowTopKey, SettingType::WindowTwips, SettingWriter::RealAudioWindow, nullptr},
    {RealWindowLeftKey, SettingType::WindowTwips, SettingWriter::RealAudioWindow, nullptr},
};
