// Where a portable or an installed copy keeps its settings and lists, what it
// reads before a folder of its own exists, and what its first save carries over.

#include "app/settings_folder.h"

#include "app/list_file.h"
#include "app/reelbox_b.h"
#include "fakes/list_records.h"
#include "fakes/program_folder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

enum class ConfigHome { Set, Unset, Relative, UnderAFile };

// Every file of folder with its content, to tell whether anything changed there.
QMap<QString, QByteArray> Contents(const QString &folder)
{
    QMap<QString, QByteArray> contents;
    for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile f(file.filePath());
        contents[file.fileName()] = f.open(QIODevice::ReadOnly) ? f.readAll() : "(folder)";
    }
    return contents;
}

TEST(SettingsFolder, ChosenByWhetherTheProgramFolderTakesFiles)
{
    const struct
    {
        const char *situation;
        bool programWritable;
        bool shipped; // a settings file and group 3 beside the program
        ConfigHome config;
        bool ownFiles;      // the user's folder already holds its own
        const char *folder; // where the files are kept, under the test's root
        int loaded;         // as loaded: 1 shipped, 2 the user's own, 0 none
        int group3Records;  // 1 shipped, 2 the user's own
        bool saves;
    } rows[] = {
        {"writable program folder", true, true, ConfigHome::Set, false, "program", 1, 1, true},
        {"read-only program folder with files", false, true, ConfigHome::Set, false, "xdg/reelbox", 1, 1, true},
        {"read-only program folder without files", false, false, ConfigHome::Set, false, "xdg/reelbox", 0, 0, true},
        {"config folder with files of its own", false, true, ConfigHome::Set, true, "xdg/reelbox", 2, 2, true},
        {"XDG_CONFIG_HOME unset", false, false, ConfigHome::Unset, false, "home/.config/reelbox", 0, 0, true},
        {"XDG_CONFIG_HOME not absolute", false, false, ConfigHome::Relative, false, "home/.config/reelbox", 0, 0, true},
        {"neither writable", false, true, ConfigHome::UnderAFile, false, "file/reelbox", 1, 1, false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.situation);
        ProgramFolder root;
        const QString program = root.MakeFolder("program");
        root.MakeFolder("home");
        root.Write("file", "a file where a folder should be");
        if (row.shipped) {
            root.Write("program/Reelbox.ini", "; shipped defaults\r\n[Section]\r\nFull1= 1\r\n");
            root.Write("program/Reelbox03.rdm", EncodeListRecord("/shipped.avi"));
        }
        if (row.ownFiles) {
            root.Write("xdg/reelbox/Reelbox.ini", "[Section]\r\nFull2= 1\r\n");
            root.Write("xdg/reelbox/Reelbox03.rdm", EncodeListRecord("/own/a.avi") + EncodeListRecord("/own/b.avi"));
        }
        QProcessEnvironment environment;
        environment.insert("HOME", root.FilePath("home"));
        const QMap<ConfigHome, QString> configHomes = {{ConfigHome::Set, root.FilePath("xdg")},
                                                       {ConfigHome::Relative, "xdg"},
                                                       {ConfigHome::UnderAFile, root.FilePath("file")}};
        if (configHomes.contains(row.config))
            environment.insert("XDG_CONFIG_HOME", configHomes[row.config]);
        const QMap<QString, QByteArray> programBefore = Contents(program);

        Reelbox_B b(program,
                    ChooseSettingsFolder(program, environment, [&](const QString &) { return row.programWritable; }));
        const QString folder = root.FilePath(row.folder);
        EXPECT_EQ(b.Storage.Folder, folder);
        b.LoadSettings();
        EXPECT_EQ(b.Full1 + 2 * b.Full2, row.loaded);
        EXPECT_EQ(ListFileRecordCount(b.GroupFile(3)), row.group3Records);
        EXPECT_EQ(QFileInfo::exists(folder), row.programWritable || row.ownFiles) << "made by reading alone";

        b.Rep2 = 1;
        const QStringList unsaved = b.SaveSettings("/videos", Records({"/videos/a.avi"}));
        if (!row.saves) {
            EXPECT_EQ(unsaved, (QStringList{folder + "/Reelbox.ini", folder + "/Reelbox00.rdm"}));
        } else {
            EXPECT_TRUE(unsaved.isEmpty()) << unsaved.join(", ").toStdString();
            const QByteArray ini = root.Read(QString(row.folder) + "/Reelbox.ini");
            EXPECT_TRUE(ini.contains("Rep2= 1")) << ini.constData();
            EXPECT_EQ(ini.startsWith("; shipped defaults"), row.shipped && !row.ownFiles) << ini.constData();
            Reelbox_B again(program, b.Storage);
            EXPECT_EQ(ListFileRecordCount(again.GroupFile(3)), row.group3Records) << "the untouched group";
            EXPECT_EQ(Paths(again.LoadGroup(0)), QStringList{"/videos/a.avi"}); // no real file, but stored
            EXPECT_EQ(again.RecordCount, 1);
        }
        if (!row.programWritable) {
            EXPECT_EQ(Contents(program), programBefore);
        }
    }
}

TEST(SettingsFolder, AShippedGroupEmptiedByTheUserStaysEmpty)
{
    ProgramFolder root;
    const QString program = root.MakeFolder("program");
    root.Write("program/Reelbox03.rdm", EncodeListRecord("/shipped.avi"));
    const SettingsFolder storage{root.FilePath("config/reelbox"), program};
    Reelbox_B b(program, storage);
    EXPECT_EQ(ListFileRecordCount(b.GroupFile(3)), 1);
    EXPECT_TRUE(b.SaveGroup(3, {}));
    EXPECT_EQ(ListFileRecordCount(b.GroupFile(3)), 0);
    EXPECT_TRUE(root.Exists("program/Reelbox03.rdm"));
}

TEST(SettingsFolder, TheSettingsFileAskedForByNameIsReadyForWriting)
{
    ProgramFolder root;
    const QString program = root.MakeFolder("program");
    root.Write("program/Reelbox.ini", "[Section]\r\nrFormTop= 300\r\n");
    Reelbox_B b(program, SettingsFolder{root.FilePath("config/reelbox"), program});
    const QString file = b.SettingsFile();
    EXPECT_EQ(file, root.FilePath("config/reelbox/Reelbox.ini"));
    EXPECT_EQ(ReadIniString("Section", "rFormTop", file), "300");
    EXPECT_TRUE(WriteIniString("Section", "rFormLeft", " 40", file));
    EXPECT_EQ(root.Read("config/reelbox/Reelbox.ini"), "[Section]\r\nrFormTop= 300\r\nrFormLeft= 40\r\n");
}

TEST(SettingsFolder, CanWriteIntoAFolderOrWhereOneCanBeMade)
{
    ProgramFolder root;
    root.Write("file", "x");
    EXPECT_TRUE(CanWriteInto(root.Path()));
    EXPECT_TRUE(CanWriteInto(root.FilePath("not/yet/made")));
    EXPECT_FALSE(CanWriteInto(root.FilePath("file")));
    EXPECT_FALSE(CanWriteInto(root.FilePath("file/below")));
}

} // namespace
