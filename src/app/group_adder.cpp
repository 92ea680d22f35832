#include "app/group_adder.h"

#include "app/list_file.h"
#include "app/reelbox_b.h"
#include "base/file_names.h"
#include "widgets/list_box.h"

bool RecordsHold(const QList<QByteArray> &records, const QString &path)
{
    const QByteArray bytes = EncodeFileName(path);
    for (const QByteArray &record : records) {
        const QByteArrayView held = ListRecordPath(record);
        if (held == bytes || (!IsUtf8(held) && DecodeListRecord(record) == path))
            return true;
    }
    return false;
}

GroupAddition AddToGroupFile(Reelbox_B &shared, int group, const QString &path)
{
    if (!FitsListRecord(path))
        return GroupAddition::TooLong;
    const QString source = shared.GroupFile(group);
    // What a file that cannot be read holds is unknown: writing it anew would lose it.
    if (ListFileUnreadable(source))
        return GroupAddition::NotSaved;
    QList<QByteArray> records = ReadListFile(source);
    if (RecordsHold(records, path))
        return GroupAddition::AlreadyThere;
    if (records.size() >= MaxListEntries)
        return GroupAddition::GroupFull;
    records.append(EncodeListRecord(path));
    const QString target = shared.Storage.FileToWrite(ListFileTitle(group));
    return WriteListFile(target, records) ? GroupAddition::Added : GroupAddition::NotSaved;
}
