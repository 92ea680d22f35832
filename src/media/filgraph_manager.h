#pragma once
// The filter graph the DirectShow player window plays through: one object per
// file, offering the window's three views of it. IMediaControl renders the file
// and runs, pauses and stops it; IMediaPosition reads the length and reads or
// moves the position, in seconds; IVideoWindow places the picture inside an
// owner widget and names the widget that receives the keys and clicks made on
// the picture. It is a thin adapter over a PlaybackEngine that outlives it;
// destroying the graph stops playback and closes the file.
//
// Calls that the graph cannot answer (nothing rendered, no picture) fail the
// way a DirectShow call returns an error: getters give std::nullopt, the other
// members return false, and nothing changes. GUI thread only.

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>

class PlaybackEngine;
class QWidget;

class IMediaControl
{
public:
    // Opens path for playback, stopped at start seconds (clamped to the file);
    // false when it cannot be played.
    virtual bool RenderFile(const QString &path, double start = 0) = 0;
    // Starts or resumes playback.
    virtual bool Run() = 0;
    // Holds playback, keeping the picture.
    virtual bool Pause() = 0;
    // Halts playback, keeping the position.
    virtual bool Stop() = 0;

protected:
    ~IMediaControl() = default;
};

class IMediaPosition
{
public:
    // Length of the rendered file in seconds.
    virtual std::optional<double> Duration() const = 0;
    // Position in seconds, from 0 to Duration().
    virtual std::optional<double> CurrentPosition() const = 0;
    // Seeks to `seconds` (clamped to the file); the getter reads it back at once.
    virtual bool CurrentPosition(double seconds) = 0;

protected:
    ~IMediaPosition() = default;
};

class IVideoWindow
{
public:
    // Window style bits of the picture's window (0x40000000 marks a child
    // window). Kept for the caller: the picture is always a child of Owner.
    virtual int32_t WindowStyle() const = 0;
    virtual bool WindowStyle(int32_t style) = 0;
    // The widget the picture lives in; placing it there shows the picture.
    virtual QWidget *Owner() const = 0;
    virtual bool Owner(QWidget *owner) = 0;
    // The widget that receives the key presses and mouse buttons made on the
    // picture, as if they were made on it (positions in its own coordinates).
    virtual QWidget *MessageDrain() const = 0;
    virtual bool MessageDrain(QWidget *drain) = 0;
    // Width and height of the picture's window in pixels: the picture's own
    // size once a file is rendered, then whatever was set; none without a picture.
    virtual std::optional<int> Width() const = 0;
    virtual bool Width(int pixels) = 0;
    virtual std::optional<int> Height() const = 0;
    virtual bool Height(int pixels) = 0;
    // Places the picture's window at (left, top), width x height, in pixels of the owner.
    virtual bool SetWindowPosition(int left, int top, int width, int height) = 0;

protected:
    ~IVideoWindow() = default;
};

class FilgraphManager : public QObject, public IMediaControl, public IMediaPosition, public IVideoWindow
{
    Q_OBJECT
public:
    // The style a picture window has before the caller sets one: a top-level
    // window with a caption and sizing frame, clipping siblings and children.
    static constexpr int32_t kDefaultWindowStyle = 0x06CF0000;

    explicit FilgraphManager(PlaybackEngine &engine, QObject *parent = nullptr);
    // Stops playback, closes the file and takes the picture off its owner
    // (the engine keeps it for the next graph).
    ~FilgraphManager() override;

    bool RenderFile(const QString &path, double start = 0) override;
    bool Run() override;
    bool Pause() override;
    bool Stop() override;

    std::optional<double> Duration() const override;
    std::optional<double> CurrentPosition() const override;
    bool CurrentPosition(double seconds) override;

    int32_t WindowStyle() const override { return style_; }
    bool WindowStyle(int32_t style) override;
    QWidget *Owner() const override { return owner_; }
    bool Owner(QWidget *owner) override;
    QWidget *MessageDrain() const override { return drain_; }
    bool MessageDrain(QWidget *drain) override;
    std::optional<int> Width() const override;
    bool Width(int pixels) override;
    std::optional<int> Height() const override;
    bool Height(int pixels) override;
    bool SetWindowPosition(int left, int top, int width, int height) override;

signals:
    // The rendered file played to its end (after its last frame).
    void EndOfStream();
    // Playback of the rendered file broke off (a file that cannot be rendered
    // makes RenderFile return false instead).
    void Failed(const QString &reason);
    // The rendered file's picture got its size only now, or a new one: Width
    // and Height read it, the picture's place within the owner is kept.
    void PictureChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool Rendered() const;
    bool HasPicture() const;
    void PlacePicture();

    PlaybackEngine &engine_;
    QPointer<QWidget> owner_;
    QPointer<QWidget> drain_;
    int32_t style_ = kDefaultWindowStyle;
    QRect window_; // the picture's window within the owner, in pixels
    bool rendering_ = false;
};
