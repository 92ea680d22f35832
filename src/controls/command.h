#pragma once
// Command is the program's own push button. It draws itself from six skin
// pictures, one per visual state, stretched into an eight-piece frame over a
// two-colour vertical gradient; shows its caption in a transparent, centred
// label; follows the mouse (hover in from the pointer's arrival and moves,
// hover out from a 100 ms poll of the window under the cursor) and the keyboard
// focus; and raises Click when a press is released over it. It keeps its persisted properties in a PropertyBag.
//
// Hosts use only the public members and the signals. The getters of Visible,
// FontColour and Enabled redraw the face as a side effect, and the first read
// of Enabled switches a never-saved control on; hosts rely on that.
// The properties whose names QWidget uses too (Visible, Enabled, Font) are
// reached through members ending in "Property", so that a slip of case cannot
// call QWidget's setVisible, setEnabled or setFont and skip the control's own
// state, redraw and PropertyChanged.
// Geometry inside the control is reckoned in twips (15 twips = 1 px).
// Its members are defined by concern: properties and persistence in
// command.cpp, the user's input in command_input.cpp, the face in
// command_painting.cpp.

#include "controls/command_face.h"

#include <QFont>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <array>

class PropertyBag;
class QLabel;
class QTimer;

class Command : public QWidget
{
    Q_OBJECT

public:
    enum SkinFace { Normal, HighLight, Pressed, Disable, HighLightSelect, Selected };

    explicit Command(QWidget *parent = nullptr);

    // Starts the visual state machine (ButtonState 1) and arms the hover-leave
    // poll, which then runs while the control shows a hover.
    void Initialize();

    // 255 while the face is drawn (and redraws it), 0 while only the caption shows.
    quint8 VisibleProperty();
    // Non-zero shows the drawn face, 0 leaves only the caption.
    void SetVisibleProperty(quint8 value);

    // Caption colour as 0x00BBGGRR; reading redraws the face.
    quint32 FontColour();
    // Values with a non-zero top byte are not colours: the caption keeps its
    // colour and no PropertyChanged is sent. While FirstRun is 0 an enabled
    // control ends with a black caption.
    void SetFontColour(quint32 colour);

    // The first read of a never-saved control (FirstRun 0) switches it on.
    // Every read redraws the face for the enabled state.
    bool EnabledProperty();
    // A disabled control shows the Disable face, greys its caption, ignores
    // mouse and keys, and does not take focus; ButtonState still follows the
    // focus (a control disabled while focused keeps the focus until it moves).
    void SetEnabledProperty(bool value);

    QString Caption() const;
    void SetCaption(const QString &text);
    // The caption's font.
    QFont FontProperty() const;
    void SetFontProperty(const QFont &font);

    // Loads Enabled, Caption, Font, FirstRun, FontColour, Visible (missing keys
    // read as their defaults; unreadable values leave the property as it was),
    // then redraws the normal face.
    void ReadProperties(const PropertyBag &bag);
    // Saves the same keys in the same order, each only when it differs from
    // its default, then redraws the normal face.
    void WriteProperties(PropertyBag &bag);

    // Read-only views for hosts and tests.
    int ButtonState() const { return fields.ButtonState; }
    bool EnabledFlag() const { return fields.EnabledFlag; }
    SkinFace ShownFace() const { return shownFace; }
    bool GradientReversed() const { return fields.GradientReversed; }
    quint8 FirstRun() const { return fields.FirstRun; }

    // One hover-leave poll: when the widget under the cursor is not this
    // control (its caption counts as the control), the mouse has left.
    void TmrMouse_Timer();

    QSize sizeHint() const override;

signals:
    void Click();
    void PropertyChanged(const QString &name);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void DrawFace(SkinFace face);
    // What DrawFace and paintEvent hand to RenderCommandFace for `face`.
    CommandFaceOption FaceOption(SkinFace face) const;
    void MouseLeave();
    void ShowEnabledState();
    void RestoreNormal();

    void PointerOver();
    // Takes state and, while enabled, shows face.
    void MoveTo(quint8 state, SkinFace face);
    void PlaceCaption();
    bool SetCaptionColour(quint32 colour);
    quint32 CaptionColour() const;
    QFont AmbientFont() const;
    void UpdateFocusPolicy();
    void UpdateHoverPoll();
    static bool IsWindowSwitch(const QFocusEvent *event);

    struct
    {
        quint8 ButtonState = 0; // 0 not started, 1 normal, 2 hovered, 3 focused, 4 focused and hovered
        bool EnabledFlag = false;
        quint8 FirstRun = 0; // 0 until the control is first switched on or loaded
        bool GradientReversed = false;
        bool ButtonHeld = false; // the left button went down here and is not yet up
    } fields;

    bool hoverPollArmed = false; // Initialize has run
    bool spaceHeld = false;      // Space went down here and is not yet up
    qint16 backgroundStyle = 1;  // 1 opaque (face drawn), 0 transparent (caption only)
    CommandFrameSpans frameSpans;
    SkinFace shownFace = Disable;
    QPixmap backing; // the drawn face, in device pixels
    std::array<QPixmap, 6> skins;

    QLabel *LblMsg;
    QTimer *TmrMouse;
};
