#include "player/player_note.h"

#include <QTimer>

namespace {
constexpr int ShownMilliseconds = 2000;
}

PlayerNote::PlayerNote(QWidget *window, QPoint where)
    : QLabel(window, Qt::ToolTip | Qt::FramelessWindowHint)
    , window_(window)
    , where_(where)
    , hide_(new QTimer(this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setStyleSheet(QStringLiteral("color: white; background: #303030; border: 1px solid #a0a0a0; padding: 3px 6px;"));
    setAccessibleDescription(QStringLiteral("お知らせ"));
    hide_->setSingleShot(true);
    hide_->setInterval(ShownMilliseconds);
    connect(hide_, &QTimer::timeout, this, &QWidget::hide);
    hide();
}

void PlayerNote::Show(const QString &text)
{
    setText(text);
    adjustSize();
    move(window_->mapToGlobal(where_));
    show();
    raise();
    hide_->start();
}
