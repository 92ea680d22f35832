#include "media/filgraph_manager.h"

#include "media/playback_engine.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <memory>

FilgraphManager::FilgraphManager(PlaybackEngine &engine, QObject *parent)
    : QObject(parent)
    , engine_(engine)
{
    connect(&engine_, &PlaybackEngine::EndOfStream, this, &FilgraphManager::EndOfStream);
    connect(&engine_, &PlaybackEngine::Failed, this, [this](const QString &reason) {
        if (!rendering_) // RenderFile reports its own failure
            emit Failed(reason);
    });
    connect(&engine_, &PlaybackEngine::PictureChanged, this, [this] {
        window_.setSize(engine_.PictureSize());
        PlacePicture();
        emit PictureChanged();
    });
}

FilgraphManager::~FilgraphManager()
{
    // The picture leaves its owner with the graph, so the owner's window can
    // go without taking the engine's picture (and its GL set-up) along.
    if (QWidget *picture = engine_.VideoWidget()) {
        picture->removeEventFilter(this);
        picture->hide();
        picture->setParent(nullptr);
    }
    engine_.Unload();
}

bool FilgraphManager::Rendered() const
{
    const PlaybackEngine::State state = engine_.PlayState();
    return state != PlaybackEngine::State::Empty && state != PlaybackEngine::State::Opening;
}

bool FilgraphManager::HasPicture() const
{
    return Rendered() && !engine_.PictureSize().isEmpty();
}

bool FilgraphManager::RenderFile(const QString &path, double start)
{
    rendering_ = true;
    const bool loaded = engine_.Load(path, start);
    rendering_ = false;
    window_ = QRect(QPoint(0, 0), loaded ? engine_.PictureSize() : QSize());
    PlacePicture();
    return loaded;
}

bool FilgraphManager::Run()
{
    if (!Rendered())
        return false;
    engine_.Run();
    return true;
}

bool FilgraphManager::Pause()
{
    if (!Rendered())
        return false;
    engine_.Pause();
    return true;
}

bool FilgraphManager::Stop()
{
    if (!Rendered())
        return false;
    engine_.Stop();
    return true;
}

std::optional<double> FilgraphManager::Duration() const
{
    return Rendered() ? std::optional(engine_.Duration()) : std::nullopt;
}

std::optional<double> FilgraphManager::CurrentPosition() const
{
    return Rendered() ? std::optional(engine_.Position()) : std::nullopt;
}

bool FilgraphManager::CurrentPosition(double seconds)
{
    if (!Rendered())
        return false;
    engine_.Seek(seconds);
    return true;
}

bool FilgraphManager::WindowStyle(int32_t style)
{
    style_ = style;
    return true;
}

bool FilgraphManager::Owner(QWidget *owner)
{
    owner_ = owner;
    PlacePicture();
    return true;
}

bool FilgraphManager::MessageDrain(QWidget *drain)
{
    drain_ = drain;
    if (QWidget *picture = engine_.VideoWidget()) {
        picture->removeEventFilter(this);
        if (drain)
            picture->installEventFilter(this);
    }
    return true;
}

std::optional<int> FilgraphManager::Width() const
{
    return HasPicture() ? std::optional(window_.width()) : std::nullopt;
}

bool FilgraphManager::Width(int pixels)
{
    if (!HasPicture() || pixels < 0)
        return false;
    window_.setWidth(pixels);
    PlacePicture();
    return true;
}

std::optional<int> FilgraphManager::Height() const
{
    return HasPicture() ? std::optional(window_.height()) : std::nullopt;
}

bool FilgraphManager::Height(int pixels)
{
    if (!HasPicture() || pixels < 0)
        return false;
    window_.setHeight(pixels);
    PlacePicture();
    return true;
}

bool FilgraphManager::SetWindowPosition(int left, int top, int width, int height)
{
    if (!HasPicture() || width < 0 || height < 0)
        return false;
    window_ = QRect(left, top, width, height);
    PlacePicture();
    return true;
}

void FilgraphManager::PlacePicture()
{
    QWidget *picture = engine_.VideoWidget();
    if (!picture)
        return;
    if (!owner_ || !HasPicture()) {
        picture->hide();
        return;
    }
    if (picture->parentWidget() != owner_)
        picture->setParent(owner_);
    picture->setGeometry(window_);
    picture->show();
}

bool FilgraphManager::eventFilter(QObject *watched, QEvent *event)
{
    if (!drain_ || watched != engine_.VideoWidget())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const std::unique_ptr<QEvent> copy(event->clone());
        QCoreApplication::sendEvent(drain_, copy.get());
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPointF global = mouse->globalPosition();
        QMouseEvent moved(mouse->type(), drain_->mapFromGlobal(global), drain_->window()->mapFromGlobal(global), global,
                          mouse->button(), mouse->buttons(), mouse->modifiers(), mouse->pointingDevice());
        QCoreApplication::sendEvent(drain_, &moved);
        return true;
    }
    default: return false;
    }
}
