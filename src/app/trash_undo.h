#pragma once
// The last file the trash picture moved to the trash, kept for a short while
// with how the file list showed before the move: within that time Ctrl+Z can
// put it back as it was. One single-shot timer ends the offer; nothing runs
// while it waits.

#include "desktop/trash.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

// What the file list showed: its folder, the selected name ("" none) and its
// first visible row.
struct FileListView
{
    QString folder;
    QString selected;
    int firstVisible = 0;
};

class TrashUndo : public QObject
{
public:
    static constexpr int OfferMilliseconds = 30000;

    explicit TrashUndo(QObject *parent, int offerMilliseconds = OfferMilliseconds);

    // Offers file for taking back, in place of any earlier one.
    void Offer(const TrashedFile &file, const FileListView &before);
    // The file on offer now, if any.
    const TrashedFile *File() const { return offer_ ? &offer_->file : nullptr; }
    const FileListView &Before() const { return offer_->before; }
    void Withdraw();

private:
    struct Offered
    {
        TrashedFile file;
        FileListView before;
    };
    std::optional<Offered> offer_;
    QTimer expiry_;
};
