#include "controls/visual_scroll_bar.h"

#include "controls/property_bag.h"
#include "controls/seek_bar_form.h"

#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Part = dtVisualScrollBar::Part;
using Message = std::pair<QString, QString>; // text, title
constexpr qint32 Int32Max = std::numeric_limits<qint32>::max();

QPixmap Image(int widthPx, int heightPx)
{
    QPixmap image(widthPx, heightPx);
    image.fill(Qt::darkCyan);
    return image;
}

} // namespace

// A bar on a shown window, placed 3000 x 300 twips unless a test says
// otherwise; its first layout makes that a horizontal bar 315 twips (21 px)
// high, with 240-twip arrows at 0..15 px and 184..199 px.
class VisualScrollBar : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.setGeometry(50, 50, 500, 500);
        bar->SetMessageFunction(
            [this](const QString &text, const QString &title) { messages.emplace_back(text, title); });
    }

    void Show(QRect geometry = {100, 100, 200, 20})
    {
        bar->setGeometry(geometry);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    // Mouse input through the window, routed as the window system routes it
    // (the box under the pointer takes the press, then the moves and the
    // release); points are in the bar's pixels.
    QPoint OnWindow(QPoint at) { return bar->mapTo(&host, at); }
    void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(host.windowHandle(), button, {}, OnWindow(at));
    }
    void Release(QPoint at) { QTest::mouseRelease(host.windowHandle(), Qt::LeftButton, {}, OnWindow(at)); }
    void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(host.windowHandle(), button, {}, OnWindow(at));
    }
    void Move(QPoint at) { QTest::mouseMove(host.windowHandle(), OnWindow(at)); }

    QRectF Twips(Part part) { return bar->PartTwips(part); }
    QString LastNotice() { return notices.last().at(0).toString(); }

    QWidget host;
    dtVisualScrollBar *bar = new dtVisualScrollBar(&host);
    std::vector<Message> messages;
    QSignalSpy changes{bar, &dtVisualScrollBar::Change};
    QSignalSpy scrolls{bar, &dtVisualScrollBar::ScrollEvent};
    QSignalSpy notices{bar, &dtVisualScrollBar::PropertyChanged};
};

TEST_F(VisualScrollBar, ValueClampsAndRaisesChangeOnEveryAssignment)
{
    bar->SetMax(10);
    bar->SetValue(5);
    changes.clear();
    const struct
    {
        qint32 assigned, stored;
    } rows[] = {{5, 5}, {-3, 0}, {11, 10}, {10, 10}};
    for (const auto &row : rows) {
        const qsizetype before = changes.count();
        bar->SetValue(row.assigned);
        EXPECT_EQ(bar->Value(), row.stored) << row.assigned;
        EXPECT_EQ(changes.count(), before + 1) << row.assigned;
        EXPECT_EQ(LastNotice(), "Value");
    }
    // Narrowing the range assigns Value again, moved inside or not.
    bar->SetMax(9);
    EXPECT_EQ(bar->Value(), 9);
    bar->SetValue(2);
    bar->SetMin(-5);
    bar->SetMin(4);
    EXPECT_EQ(bar->Value(), 4);
    EXPECT_EQ(changes.count(), 4 + 4);
    EXPECT_EQ(LastNotice(), "Min");
    bar->SetMin(20); // above Max is allowed; every value then reads as Max
    EXPECT_EQ(bar->Value(), 9);
}

TEST_F(VisualScrollBar, StepsOutsideOneTo32767FallBackToOne)
{
    const struct
    {
        bool large;
        qint32 assigned, stored;
        bool message;
    } rows[] = {
        {false, 0, 1, false}, {false, 32768, 1, false}, {false, 32767, 32767, false},
        {true, 0, 1, true},   {true, -5, 1, true},      {true, 32767, 32767, false},
    };
    for (const auto &row : rows) {
        messages.clear();
        row.large ? bar->SetLargeChange(row.assigned) : bar->SetSmallChange(row.assigned);
        EXPECT_EQ(row.large ? bar->LargeChange() : bar->SmallChange(), row.stored) << row.assigned;
        EXPECT_EQ(messages,
                  row.message ? std::vector<Message>({{"Invalid property value", "Error"}}) : std::vector<Message>())
            << row.assigned;
        EXPECT_EQ(LastNotice(), row.large ? "LargeChange" : "SmallChange");
    }
}

TEST_F(VisualScrollBar, RefusedMinAndMaxShowTheirMessagesAndChangeNothing)
{
    const QString difference = "Invalid property value. Difference between Min and Max values cannot exceed ";
    const QString sep = QLocale::system().groupSeparator();
    bar->SetMax(500);
    bar->SetValue(200);
    changes.clear();
    bar->SetMax(0); // equal to Min
    EXPECT_EQ(messages, std::vector<Message>(
                            {{"Invalid property value. Max property must be larger than Min property.", "Error"}}));

    bar->SetMax(Int32Max); // exactly the widest range
    bar->SetMin(-1);
    EXPECT_EQ(messages.back(), Message(difference + "2" + sep + "147" + sep + "483" + sep + "647", "Error"));
    EXPECT_EQ(bar->Min(), 0);

    bar->SetMax(10);
    bar->SetMin(-1);
    changes.clear();
    bar->SetMax(Int32Max);
    EXPECT_EQ(messages.back(), Message(difference + "2147483647", "Error"));
    EXPECT_EQ(messages.size(), 3u);
    EXPECT_EQ(bar->Max(), 10);
    EXPECT_EQ(changes.count(), 0);

    EXPECT_EQ(GroupedThousands(Int32Max, QLocale(QLocale::German)), "2.147.483.647");
}

TEST_F(VisualScrollBar, AlignmentIsCarriedOverToTheOrientation)
{
    Show(); // horizontal, alignment 4
    bar->SetThumbAlignment(1);
    EXPECT_EQ(bar->ThumbAlignment(), 4);
    bar->SetOrientation(1);
    EXPECT_EQ(bar->ThumbAlignment(), 1);
    bar->SetThumbAlignment(2);
    bar->SetOrientation(0);
    EXPECT_EQ(bar->ThumbAlignment(), 5);

    // The new form's arrows show even while ButtonsVisible is False, parked outside.
    bar->SetButtonsVisible(false);
    bar->SetOrientation(1);
    EXPECT_TRUE(bar->PartShown(Part::Up));
    EXPECT_FALSE(bar->PartShown(Part::Left));
    EXPECT_EQ(Twips(Part::Up).bottom(), 0);
}

TEST(VisualScrollBarFirstLayout, ShapeChoosesOrientationAlignmentAndThickness)
{
    const struct
    {
        QSize placedPx;
        qint32 orientation, alignment;
        QSize laidOutPx;
        Part arrow;
    } rows[] = {
        {{20, 200}, 1, 1, {21, 200}, Part::Up},   // 300 x 3000 twips
        {{200, 20}, 0, 4, {200, 21}, Part::Left}, // 3000 x 300 twips
        {{30, 30}, 1, 1, {21, 30}, Part::Up},     // a square counts as tall
    };
    for (const auto &row : rows) {
        QWidget host;
        auto *bar = new dtVisualScrollBar(&host);
        bar->setGeometry(QRect({10, 10}, row.placedPx));
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        EXPECT_EQ(bar->Orientation(), row.orientation) << row.placedPx.width();
        EXPECT_EQ(bar->ThumbAlignment(), row.alignment);
        EXPECT_EQ(bar->size(), row.laidOutPx);
        EXPECT_EQ(bar->PartTwips(Part::Background).size(), QSizeF(row.laidOutPx * 15));
        EXPECT_TRUE(bar->PartShown(row.arrow));
    }
}

// On a bar 3000 twips long: between the 240-twip arrows, or the whole length.
TEST_F(VisualScrollBar, ThumbTravelsBetweenTheArrowsOrTheWholeLength)
{
    const struct
    {
        bool vertical;
        bool shown;
        double start, end;
    } rows[] = {
        {false, true, 240, 2445},
        {false, false, 0, 2685},
        {true, true, 240, 2445},
        {true, false, 0, 2685},
    };
    Show();
    bar->SetMin(-100);
    bar->SetMax(900);
    for (const auto &row : rows) {
        bar->SetOrientation(row.vertical ? 1 : 0);
        bar->resize(row.vertical ? QSize(21, 200) : QSize(200, 21));
        bar->SetButtonsVisible(row.shown);
        bar->SetValue(-100);
        const QRectF atMin = Twips(Part::Thumb);
        bar->SetValue(900);
        const QRectF atMax = Twips(Part::Thumb);
        EXPECT_EQ(row.vertical ? atMin.top() : atMin.left(), row.start) << row.vertical << row.shown;
        EXPECT_EQ(row.vertical ? atMax.top() : atMax.left(), row.end) << row.vertical << row.shown;
        EXPECT_EQ(row.vertical ? atMax.left() : atMax.top(), 0); // centred across a 315-twip bar
        const QWidget *thumb = bar->findChild<QWidget *>("picTHUMB");
        EXPECT_EQ(row.vertical ? thumb->y() : thumb->x(), row.end / 15);
        EXPECT_EQ(bar->PartShown(row.vertical ? Part::Down : Part::Right), row.shown);
    }
}

TEST_F(VisualScrollBar, StoredAlignmentOfTheOtherFormStopsTheLayoutAfterTheTrack)
{
    Show();
    PropertyBag bag;
    bar->WriteProperties(bag);
    bag.WriteProperty("ThumbAlignment", 1, 0); // a vertical alignment on a horizontal bar
    bar->ReadProperties(bag);
    const QRectF thumb = Twips(Part::Thumb), right = Twips(Part::Right);
    bar->resize(300, 40);
    EXPECT_EQ(Twips(Part::Background), QRectF(0, 0, 4500, 600));
    EXPECT_EQ(Twips(Part::Thumb), thumb);
    EXPECT_EQ(Twips(Part::Right), right);
}

TEST_F(VisualScrollBar, PicturePropertiesTakeTheirThreeCases)
{
    Show(); // 3000 x 315 twips
    using Setter = void (dtVisualScrollBar::*)(const ScrollBarPicture &);
    using Getter = ScrollBarPicture (dtVisualScrollBar::*)() const;
    const struct
    {
        Setter set;
        Getter get;
        Part part;
        const char *name;
        QSizeF none;
    } rows[] = {
        {&dtVisualScrollBar::SetPictureThumb,
         &dtVisualScrollBar::PictureThumb,
         Part::Thumb,
         "PictureThumb",
         {315, 315}},
        {&dtVisualScrollBar::SetPictureUp, &dtVisualScrollBar::PictureUp, Part::Up, "PictureUp", {315, 240}},
        {&dtVisualScrollBar::SetPictureRight,
         &dtVisualScrollBar::PictureRight,
         Part::Right,
         "PictureRight",
         {240, 315}},
        {&dtVisualScrollBar::SetPictureLeft, &dtVisualScrollBar::PictureLeft, Part::Left, "PictureLeft", {0, 0}},
        {&dtVisualScrollBar::SetPictureDown, &dtVisualScrollBar::PictureDown, Part::Down, "PictureDown", {0, 0}},
    };
    for (const auto &row : rows) {
        (bar->*row.set)(std::nullopt);
        EXPECT_FALSE((bar->*row.get)()) << row.name;
        EXPECT_EQ(Twips(row.part).size(), row.none) << row.name;
        EXPECT_EQ(LastNotice(), row.name);
        (bar->*row.set)(QPixmap()); // empty: a square as large as the bar is thick
        EXPECT_EQ(Twips(row.part).size(), QSizeF(315, 315)) << row.name;
        (bar->*row.set)(Image(30, 10));
        EXPECT_EQ(Twips(row.part).size(), QSizeF(450, 150)) << row.name;
    }
    EXPECT_TRUE(bar->PartShown(Part::Left)); // visibility follows the form, not the pictures
    EXPECT_FALSE(bar->PartShown(Part::Up));

    bar->SetPictureBackground(Image(30, 10)); // without AutoSize the track keeps its size
    EXPECT_EQ(bar->size(), QSize(200, 21));
    bar->SetAutoSize(true);
    bar->SetPictureBackground(Image(120, 30));
    bar->resize(200, 21); // the layout keeps following the picture
    EXPECT_EQ(Twips(Part::Background), QRectF(0, 0, 1800, 450));
}

TEST_F(VisualScrollBar, ArrowClicksStepBySmallChange)
{
    Show();
    bar->SetMax(100);
    bar->SetSmallChange(30);
    changes.clear();
    for (const QPoint at : {QPoint(192, 10), QPoint(192, 10), QPoint(192, 10), QPoint(192, 10), QPoint(8, 10)})
        Click(at); // 30, 60, 90, 100 (clamped), 70
    EXPECT_EQ(bar->Value(), 70);
    EXPECT_EQ(changes.count(), 5);
    Click({192, 10}, Qt::RightButton); // only the left button clicks
    Press({192, 10});                  // one step per click, on release
    EXPECT_EQ(changes.count(), 5);
    Release({192, 10});
    EXPECT_EQ(bar->Value(), 100);

    bar->SetOrientation(1);
    bar->resize(21, 200);
    Click({10, 8}); // up
    Click({10, 8});
    Click({10, 192}); // down
    EXPECT_EQ(bar->Value(), 70);

    bar->SetEnabledProperty(false);
    EXPECT_EQ(LastNotice(), "Enabled");
    Click({10, 8});
    EXPECT_EQ(bar->Value(), 70);
}

TEST_F(VisualScrollBar, TrackPressPagesTowardThePressOncePerPress)
{
    Show();
    bar->SetButtonsVisible(false);
    bar->SetMax(179); // one value per 15 twips of the 2685-twip travel
    bar->SetLargeChange(20);
    bar->SetValue(100); // leading edge at 1500 twips = 100 px
    changes.clear();
    Press({150, 10});
    EXPECT_EQ(bar->Value(), 120);
    Release({150, 10});
    Click({30, 10}, Qt::RightButton); // any button
    EXPECT_EQ(bar->Value(), 100);
    EXPECT_EQ(changes.count(), 2);

    // Level with the leading edge pages backwards; in a thicker bar the track
    // beside a top-aligned thumb is there to be pressed.
    bar->resize(200, 40);
    bar->SetThumbAlignment(3);
    ASSERT_EQ(Twips(Part::Thumb).left(), 1500);
    Click({100, 30});
    EXPECT_EQ(bar->Value(), 80);

    bar->SetValue(179);
    changes.clear();
    Click({199, 30}); // already at the end: Change all the same
    EXPECT_EQ(bar->Value(), 179);
    EXPECT_EQ(changes.count(), 1);
}

// Arrows hidden, 3000 twips long, thumb 315: lo 0, hi 2685, range 0..1000;
// the same drag along either form.
TEST_F(VisualScrollBar, ThumbDragScrollsPinsAtBothEndsAndChangesOnRelease)
{
    Show();
    bar->SetButtonsVisible(false);
    bar->SetMax(1000);
    for (const bool vertical : {false, true}) {
        const auto along = [vertical](int at) { return vertical ? QPoint(10, at) : QPoint(at, 10); };
        const auto edge = [&] { return vertical ? Twips(Part::Thumb).top() : Twips(Part::Thumb).left(); };
        bar->SetOrientation(vertical ? 1 : 0);
        bar->resize(vertical ? QSize(21, 200) : QSize(200, 21));
        bar->SetValue(0);
        changes.clear();
        scrolls.clear();
        Press(along(10)); // grabbed 150 twips into the thumb
        const struct
        {
            int at;
            double edge;
            qint32 value;
            int scrolls;
        } steps[] = {
            {100, 1350, 503, 1},                        // 1500 - 150; to-int(1350 / 2685 * 1000)
            {101, 1365, 508, 2},  {300, 2685, 1000, 3}, // past the end: pinned at hi
            {350, 2685, 1000, 3},                       // still pinned: no Scroll
            {-50, 0, 0, 4},                             // past the start: pinned at lo
            {-80, 0, 0, 4},       {60, 750, 279, 5},
        };
        for (const auto &step : steps) {
            Move(along(step.at));
            EXPECT_EQ(edge(), step.edge) << vertical << " at " << step.at;
            EXPECT_EQ(bar->Value(), step.value) << vertical << " at " << step.at;
            EXPECT_EQ(scrolls.count(), step.scrolls) << vertical << " at " << step.at;
        }
        EXPECT_EQ(changes.count(), 0); // drag steps write Value without Change

        bar->SetValue(0); // the host assigns Value mid-drag; the next step follows the mouse again
        Move(along(61));
        EXPECT_EQ(edge(), 765);
        changes.clear();
        Release(along(61));
        EXPECT_FALSE(bar->ThumbDragging());
        EXPECT_EQ(changes.count(), 1);
        Click(along(55)); // on the thumb, without movement: silent
        EXPECT_EQ(changes.count(), 1);
    }
}

TEST_F(VisualScrollBar, WritesOnlyChangesInOrderAndReadsThemBack)
{
    Show();
    PropertyBag placed;
    bar->WriteProperties(placed);
    EXPECT_EQ(placed.Keys(), QStringList({"Orientation", "ThumbAlignment", "PictureUp", "PictureDown", "PictureRight",
                                          "PictureLeft", "PictureThumb", "Max"}));

    bar->SetButtonsVisible(false);
    bar->SetOrientation(1);
    bar->SetPictureBackground(QPixmap());
    bar->SetMin(-5);
    bar->SetMax(2147483642);
    bar->SetValue(3);
    bar->SetBackColor(0x102030);
    bar->SetLargeChange(20);
    bar->SetSmallChange(2);
    bar->SetAutoSize(true);
    bar->SetEnabledProperty(false);
    PropertyBag bag;
    bar->WriteProperties(bag);
    EXPECT_EQ(bag.Keys(), QStringList({"ButtonsVisible", "ThumbAlignment", "PictureBackground", "PictureUp",
                                       "PictureDown", "PictureRight", "PictureLeft", "PictureThumb", "Min", "Max",
                                       "Value", "BackColor", "LargeChange", "SmallChange", "AutoSize", "Enabled"}));

    dtVisualScrollBar copy;
    QSignalSpy copyChanges(&copy, &dtVisualScrollBar::Change);
    copy.ReadProperties(bag);
    EXPECT_EQ(std::tuple(copy.ButtonsVisible(), copy.Orientation(), copy.ThumbAlignment(), copy.Min(), copy.Max(),
                         copy.Value(), copy.BackColor(), copy.LargeChange(), copy.SmallChange(), copy.AutoSize(),
                         copy.EnabledProperty()),
              std::tuple(false, 1, 1, -5, 2147483642, 3, 0x102030u, 20, 2, true, false));
    EXPECT_TRUE(copy.PictureBackground() && copy.PictureBackground()->isNull());
    EXPECT_EQ(copy.PictureThumb()->size(), QSize(21, 21));
    EXPECT_EQ(copyChanges.count(), 0);
}

TEST_F(VisualScrollBar, LoadsTheSeekBarFormWithLowerCaseKeys)
{
    bar->ReadProperties(H1StoredProperties());
    Show({10, 250, 480, 21});
    EXPECT_EQ(std::tuple(bar->ButtonsVisible(), bar->Orientation(), bar->ThumbAlignment(), bar->Min(), bar->Max(),
                         bar->BackColor()),
              std::tuple(false, 0, 5, 0, 32767, 0xC00000u));
    EXPECT_EQ(bar->size(), QSize(480, 21)); // loaded, not newly placed: no first layout
    EXPECT_EQ(Twips(Part::Background), QRectF(0, 0, 7200, 315));
    EXPECT_EQ(Twips(Part::Up).size(), QSizeF(315, 240));
    EXPECT_EQ(Twips(Part::Left), QRectF(-240, 0, 240, 315));
    EXPECT_FALSE(bar->PartShown(Part::Right));
    bar->SetValue(32767);
    EXPECT_EQ(Twips(Part::Thumb), QRectF(7200 - 315, 0, 315, 315));
}

TEST_F(VisualScrollBar, LoadedValuesAreTakenAsStored)
{
    bar->ReadProperties(PropertyBag::FromText("max = 100\nVALUE = 500\nLargeChange = 0\nMin = \"low\"\n"));
    EXPECT_EQ(bar->Value(), 500); // outside the range until the next assignment
    EXPECT_EQ(bar->LargeChange(), 0);
    EXPECT_EQ(bar->Min(), 0); // unreadable: left as it was
    EXPECT_EQ(changes.count(), 0);
    EXPECT_TRUE(messages.empty());
    bar->SetValue(bar->Value());
    EXPECT_EQ(bar->Value(), 100);
}

// Steps that would leave 32 bits or divide by a zero span leave everything as it was.
TEST_F(VisualScrollBar, OverflowAndZeroSpansLeaveTheStateAsItWas)
{
    Show();
    bar->SetMax(Int32Max);
    bar->SetValue(Int32Max);
    bar->SetSmallChange(5);
    changes.clear();
    Click({192, 10});
    EXPECT_EQ(bar->Value(), Int32Max);
    EXPECT_EQ(changes.count(), 0);

    bar->SetMax(100);
    bar->SetValue(40);
    const QRectF thumb = Twips(Part::Thumb);
    bar->SetMin(100); // Min = Max is allowed; the thumb has nowhere to go
    EXPECT_EQ(Twips(Part::Thumb), thumb);

    bar->SetMin(0); // a bar exactly one thumb long has no travel to drag along
    bar->SetButtonsVisible(false);
    bar->resize(21, 21);
    changes.clear();
    Press({10, 10});
    Move({15, 10});
    Release({15, 10});
    EXPECT_EQ(bar->Value(), 100);
    EXPECT_EQ(scrolls.count(), 0);
    EXPECT_EQ(changes.count(), 0);
}
