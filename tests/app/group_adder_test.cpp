// Adding the playing file to a group kept in its list file.

#include "app/group_adder.h"

#include "app/list_file.h"
#include "app/reelbox_b.h"
#include "fakes/program_folder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(GroupAdder, AddsOncePerGroupAndRefusesWhatNoRecordHolds)
{
    ProgramFolder folder;
    Reelbox_B shared(folder.Path());
    const QByteArray kept = EncodeListRecord("/v/kept.avi");
    folder.Write("Reelbox03.rdm", kept);
    const struct
    {
        QString path;
        GroupAddition result;
    } steps[] = {
        {"/v/new.avi", GroupAddition::Added},
        {"/v/new.avi", GroupAddition::AlreadyThere},
        {"/v/kept.avi", GroupAddition::AlreadyThere},
        {"/v/" + QString(253, 'x'), GroupAddition::TooLong}, // 256 bytes
    };
    for (const auto &step : steps)
        EXPECT_EQ(AddToGroupFile(shared, 3, step.path), step.result) << qPrintable(step.path);
    EXPECT_EQ(folder.Read("Reelbox03.rdm"), kept + EncodeListRecord("/v/new.avi"));

    // A list file that cannot be read is never written over.
    const QString locked = folder.Write("Reelbox05.rdm", kept);
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    if (!QFile(locked).open(QIODevice::ReadOnly)) { // root reads it all the same
        EXPECT_EQ(AddToGroupFile(shared, 5, "/v/new.avi"), GroupAddition::NotSaved);
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        EXPECT_EQ(folder.Read("Reelbox05.rdm"), kept);
    }
}

} // namespace
