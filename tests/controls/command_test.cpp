#include "controls/command.h"

#include "controls/command_face.h"
#include "controls/property_bag.h"
#include "widgets/fonts.h"

#include <QApplication>
#include <QEnterEvent>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Counts the mouse moves each watched widget receives.
struct MoveCounter : QObject
{
    QHash<QObject *, int> count;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        count[watched] += event->type() == QEvent::MouseMove;
        return false;
    }
};

QLabel *CaptionOf(Command *button)
{
    return button->findChild<QLabel *>("LblMsg");
}

} // namespace

// A 1455 x 375 twip button and a line edit (to take the focus) on a shown,
// active window with a green background. Behaviour is driven as scripts of
// steps, each checked against the state, face and Click count it should leave.
class CommandStateMachine : public ::testing::Test
{
protected:
    struct Step
    {
        const char *what;
        std::function<void()> act;
        int state;
        Command::SkinFace face;
        int clicks;
    };

    void SetUp() override
    {
        host.setGeometry(100, 100, 200, 80);
        host.setPalette(QPalette(QColor(0, 128, 0)));
        host.setAutoFillBackground(true);
        host.setMouseTracking(true);
        button->setGeometry(10, 10, 97, 25);
        other->setGeometry(10, 50, 80, 20);
        button->installEventFilter(&moves);
        host.installEventFilter(&moves);
        host.show();
        host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        // Park the pointer on the window with a move Qt sees, wherever an
        // earlier test or process left it: first off the window, then onto it,
        // so the pointer really moves; and at a point other than the one this
        // process's previous test parked at, since Qt drops a move to the
        // position it saw last.
        static int parkings = 0;
        parking = {150 + 10 * (parkings++ % 2), 70};
        QCursor::setPos(host.mapToGlobal(QPoint(-50, -50)));
        ASSERT_TRUE(QTest::qWaitFor([&] { return QCursor::pos() == host.mapToGlobal(QPoint(-50, -50)); }));
        QCursor::setPos(host.mapToGlobal(parking));
        ASSERT_TRUE(QTest::qWaitFor([&] { return moves.count[&host] > 0; }))
            << "no pointer move reached the test window";
    }

    void Run(const std::vector<Step> &steps)
    {
        for (const Step &step : steps) {
            SCOPED_TRACE(step.what);
            step.act();
            EXPECT_EQ(button->ButtonState(), step.state);
            EXPECT_EQ(button->ShownFace(), step.face);
            EXPECT_EQ(clicks.count(), step.clicks);
        }
    }

    void Start()
    {
        button->EnabledProperty();
        button->Initialize();
    }
    // Moves the real pointer over the button and waits until the move arrives.
    void Hover(QPoint at)
    {
        const int before = moves.count[button];
        QTest::mouseMove(button, at);
        ASSERT_TRUE(QTest::qWaitFor([&] { return moves.count[button] > before; }));
    }
    void PointerOff() { QCursor::setPos(host.mapToGlobal(parking)); }
    void LeaveAndPoll()
    {
        PointerOff();
        button->TmrMouse_Timer();
    }
    void Press(QPoint at) { QTest::mousePress(button, Qt::LeftButton, {}, at); }
    void Release(QPoint at) { QTest::mouseRelease(button, Qt::LeftButton, {}, at); }
    QColor FacePixel(int row) { return button->grab().toImage().pixelColor(8, row); }

    QWidget host;
    Command *button = new Command(&host);
    QLineEdit *other = new QLineEdit(&host);
    MoveCounter moves;
    QSignalSpy clicks{button, &Command::Click};
    QPoint parking;
    static constexpr QPoint outside{-20, 12};
};

TEST_F(CommandStateMachine, StartsSwitchedOffUntilEnabledIsReadAndInitializeRuns)
{
    auto *poll = button->findChild<QTimer *>("TmrMouse");
    EXPECT_EQ(button->FirstRun(), 0);
    EXPECT_FALSE(CaptionOf(button)->isEnabled());
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(poll->isActive());
    Run({
        {"created", [] {}, 0, Command::Disable, 0},
        {"Enabled read", [&] { EXPECT_TRUE(button->EnabledProperty()); }, 0, Command::Normal, 0},
        {"Initialize", [&] { button->Initialize(); }, 1, Command::Normal, 0},
    });
    EXPECT_EQ(button->FirstRun(), 1);
    EXPECT_TRUE(CaptionOf(button)->isEnabled());
    EXPECT_EQ(button->focusPolicy(), Qt::StrongFocus);
    EXPECT_FALSE(poll->isActive()) << "the poll sleeps until the pointer arrives";
    EXPECT_EQ(poll->interval(), 100);
    EXPECT_EQ(CaptionOf(button)->geometry(), QRect(0, 5, 97, 13)); // (375 - 195 - 20) / 2 twips down
}

TEST_F(CommandStateMachine, FollowsHoverFocusAndPress)
{
    Start();
    Run({
        {"hover",
         [&] {
             Hover({30, 12});
         },
         2, Command::HighLight, 0},
        {"poll over the caption", [&] { button->TmrMouse_Timer(); }, 2, Command::HighLight, 0},
        {"press takes the focus",
         [&] {
             Press({30, 12});
         },
         4, Command::Pressed, 0},
        {"release",
         [&] {
             Release({30, 12});
         },
         4, Command::HighLightSelect, 1},
        {"leave", [&] { LeaveAndPoll(); }, 3, Command::Selected, 1},
        {"hover while focused",
         [&] {
             Hover({40, 12});
         },
         4, Command::HighLightSelect, 1},
        {"focus elsewhere", [&] { other->setFocus(); }, 1, Command::Normal, 1},
        {"hover",
         [&] {
             Hover({50, 12});
         },
         2, Command::HighLight, 1},
        {"focus while hovered", [&] { button->setFocus(); }, 4, Command::Pressed, 1},
        {"right click: Click, same face",
         [&] {
             QTest::mouseClick(button, Qt::RightButton, {}, {50, 12});
         },
         4, Command::Pressed, 2},
        {"focus elsewhere", [&] { other->setFocus(); }, 1, Command::Normal, 2},
        {"focus unhovered",
         [&] {
             LeaveAndPoll();
             button->setFocus();
         },
         3, Command::Selected, 2},
    });
}

// The hover-leave poll runs from the pointer's arrival to its leaving, and not
// while the control is disabled, so buttons at rest cost nothing.
TEST_F(CommandStateMachine, HoverPollRunsOnlyWhileAHoverShows)
{
    auto *poll = button->findChild<QTimer *>("TmrMouse");
    Start();
    EXPECT_FALSE(poll->isActive());
    Hover({30, 12});
    EXPECT_TRUE(poll->isActive());
    button->SetEnabledProperty(false);
    EXPECT_FALSE(poll->isActive());
    button->SetEnabledProperty(true);
    EXPECT_TRUE(poll->isActive()) << "a hover still shown resumes its poll";
    PointerOff();
    ASSERT_TRUE(QTest::qWaitFor([&] { return button->ButtonState() == 1; }, 2000)) << "the running poll ends the hover";
    EXPECT_FALSE(poll->isActive());
}

TEST_F(CommandStateMachine, GradientRunsDownExceptWhileHovered)
{
    Start();
    EXPECT_EQ(FacePixel(4), CommandGradientColour(4, 25, false));
    Hover({30, 12});
    EXPECT_TRUE(button->GradientReversed());
    EXPECT_EQ(FacePixel(4), CommandGradientColour(4, 25, true));
    EXPECT_EQ(FacePixel(20), CommandGradientColour(20, 25, true));
    button->setFocus(); // state 4 keeps the direction
    EXPECT_TRUE(button->GradientReversed());
    LeaveAndPoll();
    EXPECT_FALSE(button->GradientReversed());
}

TEST_F(CommandStateMachine, BeforeInitializeFirstPressFocusesWithoutClickAndHoverNeverEnds)
{
    button->EnabledProperty();
    Run({
        {"hover",
         [&] {
             Hover({30, 12});
         },
         0, Command::Normal, 0},
        {"first click",
         [&] {
             QTest::mouseClick(button, Qt::LeftButton, {}, {30, 12});
         },
         3, Command::Pressed, 0},
        {"hover",
         [&] {
             Hover({40, 12});
         },
         4, Command::HighLightSelect, 0},
        {"leave, no poll",
         [&] {
             PointerOff();
             ASSERT_TRUE(QTest::qWaitFor([&] { return !button->underMouse(); }));
         },
         4, Command::HighLightSelect, 0},
        {"click",
         [&] {
             QTest::mouseClick(button, Qt::LeftButton, {}, {40, 12});
         },
         4, Command::HighLightSelect, 1},
    });
}

TEST_F(CommandStateMachine, PressDraggedOffReleasesWithoutClick)
{
    Start();
    Run({
        {"hover",
         [&] {
             Hover({30, 12});
         },
         2, Command::HighLight, 0},
        {"press",
         [&] {
             Press({30, 12});
         },
         4, Command::Pressed, 0},
        {"drag off", [&] { QTest::mouseMove(button, outside); }, 4, Command::Pressed, 0},
        {"poll", [&] { LeaveAndPoll(); }, 3, Command::Selected, 0},
        {"release off", [&] { Release(outside); }, 3, Command::Selected, 0},
        {"hover",
         [&] {
             Hover({40, 12});
         },
         4, Command::HighLightSelect, 0},
        {"press",
         [&] {
             Press({40, 12});
         },
         4, Command::Pressed, 0},
        {"drag off, poll", [&] { LeaveAndPoll(); }, 3, Command::Selected, 0},
        {"drag back",
         [&] {
             QTest::mouseMove(button, {50, 12});
             Hover({50, 12});
         },
         3, Command::Selected, 0},
        {"release over",
         [&] {
             Release({50, 12});
         },
         3, Command::Selected, 0},
    });
}

TEST_F(CommandStateMachine, DisabledIgnoresMouseAndKeysButFollowsTheFocus)
{
    Start();
    Run({
        {"hover",
         [&] {
             Hover({30, 12});
         },
         2, Command::HighLight, 0},
        {"disable", [&] { button->SetEnabledProperty(false); }, 2, Command::Disable, 0},
        {"mouse, keys, poll",
         [&] {
             Hover({40, 12});
             QTest::mouseClick(button, Qt::LeftButton, {}, {40, 12});
             EXPECT_FALSE(button->hasFocus());
             QTest::keyClick(button, Qt::Key_Space);
             LeaveAndPoll();
         },
         2, Command::Disable, 0},
        {"focus given", [&] { button->setFocus(); }, 4, Command::Disable, 0},
        {"enable", [&] { button->SetEnabledProperty(true); }, 4, Command::Normal, 0},
    });
    EXPECT_TRUE(CaptionOf(button)->isEnabled());
}

// A button that disables itself on its click keeps the focus; when the focus
// moves on meanwhile, the next press after enabling must click, not focus.
TEST_F(CommandStateMachine, FocusLostWhileDisabledIsNotTakenForHeld)
{
    Start();
    Run({
        {"hover",
         [&] {
             Hover({30, 12});
         },
         2, Command::HighLight, 0},
        {"click",
         [&] {
             QTest::mouseClick(button, Qt::LeftButton, {}, {30, 12});
         },
         4, Command::HighLightSelect, 1},
        {"disabled by its click", [&] { button->SetEnabledProperty(false); }, 4, Command::Disable, 1},
        {"focus to the list",
         [&] {
             LeaveAndPoll();
             other->setFocus();
         },
         1, Command::Disable, 1},
        {"enabled again", [&] { button->SetEnabledProperty(true); }, 1, Command::Normal, 1},
        {"hover",
         [&] {
             Hover({40, 12});
         },
         2, Command::HighLight, 1},
        {"click",
         [&] {
             QTest::mouseClick(button, Qt::LeftButton, {}, {40, 12});
         },
         4, Command::HighLightSelect, 2},
    });
}

// The pointer's arrival without a move (a window over it closed) and a press
// both count as the pointer over the button; a release off it never clicks.
TEST_F(CommandStateMachine, ArrivalAndPressCountAsOverAndReleaseOffNeverClicks)
{
    Start();
    const auto arrive = [&] {
        QEnterEvent enter(QPointF(30, 12), QPointF(30, 12), button->mapToGlobal(QPointF(30, 12)));
        QApplication::sendEvent(button, &enter);
    };
    Run({
        {"focused, pointer elsewhere", [&] { button->setFocus(); }, 3, Command::Selected, 0},
        {"arrival", arrive, 4, Command::HighLightSelect, 0},
        {"poll while covered", [&] { LeaveAndPoll(); }, 3, Command::Selected, 0},
        {"press unannounced",
         [&] {
             Press({30, 12});
         },
         4, Command::Pressed, 0},
        {"release",
         [&] {
             Release({30, 12});
         },
         4, Command::HighLightSelect, 1},
        {"press",
         [&] {
             Press({30, 12});
         },
         4, Command::Pressed, 1},
        {"released off before a poll", [&] { Release(outside); }, 3, Command::Selected, 1},
        {"arrival, right release off",
         [&] {
             arrive();
             QTest::mouseRelease(button, Qt::RightButton, {}, outside);
         },
         3, Command::Selected, 1},
    });
}

TEST_F(CommandStateMachine, KeepsItsFocusStateWhileAnotherWindowIsActive)
{
    Start();
    button->setFocus();
    Hover({30, 12});
    QWidget dialog;
    dialog.setGeometry(400, 100, 100, 50);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(button->ButtonState(), 4);
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    EXPECT_EQ(button->ButtonState(), 4);
    EXPECT_EQ(button->ShownFace(), Command::HighLightSelect);
}

TEST_F(CommandStateMachine, SpaceAndEnterClickAFocusedButton)
{
    Start();
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_A);
    EXPECT_EQ(clicks.count(), 2);
    QTest::keyRelease(button, Qt::Key_Space); // its press went to a window now gone
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(CommandStateMachine, VisibleZeroShowsOnlyTheCaption)
{
    Start();
    const auto hostPixel = [&] { return host.grab().toImage().pixelColor(button->mapTo(&host, QPoint(8, 12))); };
    EXPECT_EQ(hostPixel(), CommandGradientColour(12, 25, false));
    button->SetVisibleProperty(0);
    EXPECT_EQ(button->VisibleProperty(), 0);
    EXPECT_EQ(hostPixel(), QColor(0, 128, 0));
    EXPECT_TRUE(CaptionOf(button)->isVisible());
    button->SetVisibleProperty(1);
    EXPECT_EQ(button->VisibleProperty(), 255);
    EXPECT_EQ(hostPixel(), CommandGradientColour(12, 25, false));
}

TEST(CommandProperties, FirstReadOfEnabledSwitchesOnAndFontColourIsBlackUntilThen)
{
    Command button;
    QSignalSpy changes(&button, &Command::PropertyChanged);
    button.SetEnabledProperty(true); // switched on, but FirstRun still 0
    button.SetFontColour(0x0000FF);
    EXPECT_EQ(button.FontColour(), 0u);

    button.EnabledProperty(); // FirstRun 1
    button.SetFontColour(0x0000FF);
    EXPECT_EQ(button.FontColour(), 0x0000FFu);
    EXPECT_EQ(CaptionOf(&button)->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    button.SetFontColour(0x80000012);
    EXPECT_EQ(button.FontColour(), 0x0000FFu);
    EXPECT_EQ(changes.count(), 3); // Enabled, FontColour, FontColour

    Command never;
    never.SetEnabledProperty(false); // FirstRun 0: the first read switches it on regardless
    EXPECT_TRUE(never.EnabledProperty());
    never.SetEnabledProperty(false);
    EXPECT_FALSE(never.EnabledProperty());
    EXPECT_EQ(never.ShownFace(), Command::Disable);
}

TEST(CommandFrame, PiecesForAButtonOf1455By375Twips)
{
    CommandFrameSpans spans;
    ASSERT_TRUE(UpdateCommandFrameSpans(spans, 1455, 375));
    const std::array<FramePiece, 8> expected{{
        {{1, 1, 60, 60}, {0, 0, 60, 60}},
        {{60, 1, 1335, 60}, {60, 1, 840, 60}},
        {{1395, 1, 60, 60}, {900, 1, 60, 60}},
        {{1395, 60, 60, 255}, {900, 60, 60, 255}},
        {{1395, 315, 60, 60}, {900, 315, 60, 60}},
        {{60, 315, 1335, 60}, {60, 315, 840, 60}},
        {{1, 315, 60, 60}, {0, 315, 60, 60}},
        {{1, 60, 60, 255}, {1, 60, 60, 255}},
    }};
    const auto pieces = CommandFramePieces(spans);
    for (size_t i = 0; i < pieces.size(); ++i) {
        EXPECT_EQ(pieces[i].destination, expected[i].destination) << "piece " << i;
        EXPECT_EQ(pieces[i].source, expected[i].source) << "piece " << i;
    }
}

TEST(CommandFrame, NarrowButtonsAndOverflowingSpans)
{
    CommandFrameSpans spans;
    ASSERT_TRUE(UpdateCommandFrameSpans(spans, 120, 375));
    EXPECT_EQ(CommandFramePieces(spans)[1].destination.width(), 0);
    EXPECT_EQ(CommandFramePieces(spans)[5].destination.width(), 0);

    // 32850 - 120 fits in 16 bits, 32850 - 60 does not: only that span keeps its value.
    EXPECT_FALSE(UpdateCommandFrameSpans(spans, 32850, 600));
    EXPECT_EQ(spans.middleWidth, 32730);
    EXPECT_EQ(spans.rightX, 60);
    EXPECT_EQ(spans.middleHeight, 480);
    EXPECT_EQ(spans.bottomY, 540);
}

TEST(CommandGradient, ColourTextsAndRowColours)
{
    EXPECT_EQ(CommandColourFromText("&HC6C5D7"), QColor(0xC6, 0xC5, 0xD7));
    EXPECT_EQ(CommandColourFromText("&hffffff"), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(CommandColourFromText("&HFF"), QColor(0, 0, 0xFF));
    EXPECT_FALSE(CommandColourFromText("C6C5D7").isValid());
    EXPECT_FALSE(CommandColourFromText("&HC6C5D7A").isValid());

    const QColor white(0xFF, 0xFF, 0xFF), violet(0xC6, 0xC5, 0xD7);
    EXPECT_EQ(CommandGradientColour(0, 25, false), white);
    EXPECT_EQ(CommandGradientColour(24, 25, false), violet);
    EXPECT_EQ(CommandGradientColour(12, 25, false), QColor(0xE3, 0xE2, 0xEB));
    EXPECT_EQ(CommandGradientColour(0, 25, true), violet);
    EXPECT_EQ(CommandGradientColour(24, 25, true), white);
}

// A face drawn as a 97 x 25 px button draws it, without the widget.
class CommandFace : public ::testing::Test
{
protected:
    CommandFaceOption Option(qreal ratio, QPixmap skin = {}, bool reversed = false)
    {
        CommandFaceOption option;
        option.size = QSize(97, 25);
        option.devicePixelRatio = ratio;
        option.gradientReversed = reversed;
        option.skin = std::move(skin);
        UpdateCommandFrameSpans(option.frameSpans, 97 * 15, 25 * 15);
        return option;
    }
    // A blue skin picture of `size`, red inside `redArea`.
    static QPixmap Skin(QSize size, QRect redArea = {})
    {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(QColor(0, 0, 255));
        for (int y = redArea.top(); y <= redArea.bottom(); ++y)
            for (int x = redArea.left(); x <= redArea.right(); ++x)
                image.setPixelColor(x, y, QColor(255, 0, 0));
        return QPixmap::fromImage(image);
    }
};

TEST_F(CommandFace, GradientTakesOneColourPerDevicePixelRow)
{
    for (const qreal ratio : {1.0, 2.0}) {
        for (const bool reversed : {false, true}) {
            SCOPED_TRACE(testing::Message() << "ratio " << ratio << (reversed ? ", reversed" : ""));
            const QPixmap face = RenderCommandFace(Option(ratio, {}, reversed));
            EXPECT_EQ(face.size(), QSize(97, 25) * ratio);
            EXPECT_EQ(face.devicePixelRatio(), ratio);
            const QImage image = face.toImage();
            const int rows = image.height();
            for (const int row : {0, 1, rows / 2, rows - 1})
                EXPECT_EQ(image.pixelColor(40, row), CommandGradientColour(row, rows, reversed)) << "row " << row;
        }
    }
    EXPECT_TRUE(RenderCommandFace(CommandFaceOption{}).isNull()) << "an empty control has no face";
}

// The frame lies on the edges in the control's pixels at any ratio; the middle
// stays the gradient's.
TEST_F(CommandFace, FrameCoversTheEdgesAndLeavesTheMiddle)
{
    for (const qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(testing::Message() << "ratio " << ratio);
        const QImage image = RenderCommandFace(Option(ratio, Skin({64, 25}))).toImage();
        const auto at = [&](int x, int y) { return image.pixelColor((QPointF(x, y) * ratio).toPoint()); };
        EXPECT_EQ(at(0, 0), QColor(0, 0, 255));   // top-left corner
        EXPECT_EQ(at(48, 1), QColor(0, 0, 255));  // top edge
        EXPECT_EQ(at(1, 12), QColor(0, 0, 255));  // left edge
        EXPECT_EQ(at(96, 24), QColor(0, 0, 255)); // bottom-right corner
        EXPECT_EQ(at(48, 12), CommandGradientColour(12 * ratio, 25 * ratio, false));
    }
}

// A skin picture at twice the designed size (64 x 25 px) is cut at twice the
// designed places: its bottom-right 8 x 8 px make the bottom-right corner.
TEST_F(CommandFace, SkinOfAnotherSizeIsCutWhereItsPartsAre)
{
    const QImage image = RenderCommandFace(Option(1, Skin({128, 50}, QRect(120, 42, 8, 8)))).toImage();
    EXPECT_EQ(image.pixelColor(95, 23), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(2, 2), QColor(0, 0, 255));
}

TEST(CommandPersistence, StoresOnlyNonDefaultsInTableOrder)
{
    QWidget form;
    Command fresh(&form);
    Command switchedOn(&form);
    switchedOn.EnabledProperty();
    Command custom(&form);
    custom.EnabledProperty();
    custom.SetFontColour(0x00FF00);
    custom.SetFontProperty(QFont("IPAGothic", 14));
    custom.SetCaption("再生");
    custom.SetVisibleProperty(0);
    custom.SetEnabledProperty(false);

    const struct
    {
        Command *button;
        QStringList keys;
    } rows[] = {
        {&fresh, {"Enabled", "FirstRun"}},
        {&switchedOn, {}},
        {&custom, {"Enabled", "Caption", "Font", "FontColour", "Visible"}},
    };
    for (const auto &row : rows) {
        PropertyBag bag;
        row.button->WriteProperties(bag);
        EXPECT_EQ(bag.Keys(), row.keys);
    }

    PropertyBag saved;
    custom.WriteProperties(saved);
    Command loaded(&form);
    loaded.ReadProperties(PropertyBag::FromText(saved.ToText()));
    EXPECT_EQ(loaded.Caption(), "再生");
    EXPECT_EQ(loaded.FontProperty().family(), "IPAGothic");
    EXPECT_EQ(loaded.FontColour(), 0x00FF00u);
    EXPECT_EQ(loaded.VisibleProperty(), 0);
    EXPECT_FALSE(loaded.EnabledProperty());
}

TEST(CommandPersistence, LoadsAStoredMainWindowButtonSwitchedOn)
{
    QWidget form;
    form.setFont(QFont("DejaVu Sans", 12));
    Command button(&form);
    const QString stored = "Caption = \"再生\"\nFont = \"" + DesignFont().toString() + "\"\n";
    button.ReadProperties(PropertyBag::FromText(stored));
    EXPECT_EQ(button.FirstRun(), 1);
    EXPECT_EQ(button.ShownFace(), Command::Normal);
    EXPECT_EQ(button.Caption(), "再生");
    EXPECT_EQ(button.FontProperty().family(), DesignFont().family());
    EXPECT_DOUBLE_EQ(button.FontProperty().pointSizeF(), 9.75);
    EXPECT_TRUE(button.EnabledProperty());
}

TEST(CommandPersistence, KeysMatchInAnyCaseAndUnreadableValuesAreSkipped)
{
    Command button;
    button.ReadProperties(PropertyBag::FromText(
        "caption = \"終了\"\nVISIBLE = 0\nFirstRun = 300\nFontColour = \"red\"\nenabled = False\n"));
    EXPECT_EQ(button.Caption(), "終了");
    EXPECT_EQ(button.FirstRun(), 0); // 300 is no byte: the fresh value stays
    EXPECT_EQ(button.VisibleProperty(), 0);
    EXPECT_EQ(button.ShownFace(), Command::Disable);
}
