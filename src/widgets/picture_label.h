#pragma once
// The window's images and text labels: a QLabel that shows a picture or a text
// and reports the mouse the way the windows' handlers want it (press, move,
// release, and a click when press and release both happen over it). A picture
// that acts as a control tells screen readers which one (see SetAccessibleRole).

#include <QAccessible>
#include <QLabel>
#include <QPixmap>
#include <QStringList>

class QMimeData;

class PictureLabel : public QLabel
{
    Q_OBJECT
public:
    explicit PictureLabel(QWidget *parent = nullptr);

    // The picture shown; a copy shares the original's data (and cacheKey).
    // Named apart from QLabel's picture/setPicture (a QPicture, and no check
    // state for screen readers).
    QPixmap PictureProperty() const { return picture_; }
    void SetPictureProperty(const QPixmap &picture);

    // Where the last press on it happened, in screen pixels.
    QPoint PressedAt() const { return pressedAt_; }

    // Takes drops of data offering any of formats (none: takes no drops).
    void SetDropFormats(const QStringList &formats);

    // What screen readers take it for: by default (NoRole) a picture or a
    // text; a PushButton, Link, CheckBox or RadioButton is a control they can
    // press (or toggle), which does what a left click does.
    void SetAccessibleRole(QAccessible::Role role) { accessibleRole_ = role; }
    QAccessible::Role AccessibleRole() const { return accessibleRole_; }
    // A check box or radio button is checked while it shows this picture.
    void SetCheckedPicture(const QPixmap &picture);
    bool Checked() const;

    // What a left click on it does, at once: MouseDown, MouseUp, Click.
    void PressAndRelease();
    // Whether a click does anything: something follows its mouse signals.
    bool Clickable() const;

signals:
    void MouseDown(Qt::MouseButton button);
    void MouseMove(Qt::MouseButtons buttons);
    void MouseUp(Qt::MouseButton button);
    void Click();
    // The data is valid only while the signal is delivered; source is the
    // object the drag started from when it is in this program, else null.
    void DragDrop(const QMimeData *data, QObject *source);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QPixmap picture_;
    QPixmap checkedPicture_;
    QAccessible::Role accessibleRole_ = QAccessible::NoRole;
    QStringList dropFormats_;
    QPoint pressedAt_;
};

// A skin picture compiled into the program, by file name without ".png".
QPixmap SkinPicture(const QString &name);

// The program's own pointing-hand mouse pointer for clickable pictures and labels.
QCursor SkinPointer();
