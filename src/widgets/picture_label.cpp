#include "widgets/picture_label.h"

#include "widgets/accessible_widgets.h"
#include "widgets/drop_formats.h"

#include <QDropEvent>
#include <QMetaMethod>
#include <QMouseEvent>

PictureLabel::PictureLabel(QWidget *parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    InstallAccessibleWidgets();
}

void PictureLabel::SetPictureProperty(const QPixmap &picture)
{
    const bool wasChecked = Checked();
    picture_ = picture;
    setPixmap(picture);
    if (Checked() != wasChecked)
        NotifyCheckedChanged(this);
}

void PictureLabel::SetCheckedPicture(const QPixmap &picture)
{
    checkedPicture_ = picture;
}

bool PictureLabel::Checked() const
{
    return !checkedPicture_.isNull() && picture_.cacheKey() == checkedPicture_.cacheKey();
}

bool PictureLabel::Clickable() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&PictureLabel::MouseDown))
           || isSignalConnected(QMetaMethod::fromSignal(&PictureLabel::MouseUp))
           || isSignalConnected(QMetaMethod::fromSignal(&PictureLabel::Click));
}

void PictureLabel::PressAndRelease()
{
    pressedAt_ = mapToGlobal(rect().center());
    emit MouseDown(Qt::LeftButton);
    emit MouseUp(Qt::LeftButton);
    emit Click();
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
