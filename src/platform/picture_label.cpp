#include "platform/picture_label.h"

#include "platform/drop_formats.h"

#include <QDropEvent>
#include <QMouseEvent>

PictureLabel::PictureLabel(QWidget *parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PictureLabel::SetPicture(const QPixmap &picture)
{
    picture_ = picture;
    setPixmap(picture);
}

void PictureLabel::mousePressEvent(QMouseEvent *event)
{
    pressedAt_ = event->globalPosition().toPoint();
    emit MouseDown(event->button());
}

void PictureLabel::mouseMoveEvent(QMouseEvent *event)
{
    emit MouseMove(event->buttons());
}

void PictureLabel::mouseReleaseEvent(QMouseEvent *event)
{
    emit MouseUp(event->button());
    if (rect().contains(event->position().toPoint()))
        emit Click();
}

void PictureLabel::SetDropFormats(const QStringList &formats)
{
    dropFormats_ = formats;
    setAcceptDrops(!formats.isEmpty());
}

void PictureLabel::dragEnterEvent(QDragEnterEvent *event)
{
    AcceptDragOffering(event, dropFormats_);
}

void PictureLabel::dragMoveEvent(QDragMoveEvent *event)
{
    AcceptDragOffering(event, dropFormats_);
}

void PictureLabel::dropEvent(QDropEvent *event)
{
    if (TakeDrop(event, dropFormats_))
        emit DragDrop(event->mimeData(), event->source());
}

QPixmap SkinPicture(const QString &name)
{
    return QPixmap(QStringLiteral(":/skins/%1.png").arg(name));
}

QCursor SkinPointer()
{
    // The fingertip of the hand picture is its hot spot.
    return QCursor(SkinPicture(QStringLiteral("pointer")), 9, 1);
}
