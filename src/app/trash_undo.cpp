#include "app/trash_undo.h"

TrashUndo::TrashUndo(QObject *parent, int offerMilliseconds)
    : QObject(parent)
{
    expiry_.setSingleShot(true);
    expiry_.setInterval(offerMilliseconds);
    connect(&expiry_, &QTimer::timeout, this, &TrashUndo::Withdraw);
}

void TrashUndo::Offer(const TrashedFile &file, const FileListView &before)
{
    offer_ = Offered{file, before};
    expiry_.start();
}

void TrashUndo::Withdraw()
{
    offer_.reset();
    expiry_.stop();
}
