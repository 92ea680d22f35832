// The main window from the keyboard alone. Tab walks the controls in reading
// order, the order screen readers find them in: drive, folder, file type,
// files, then the file list's switches and buttons from top to bottom, the
// group markers, the favourites, their switches and buttons from top to
// bottom, the link, ｷｬﾝｾﾙ and 終了. The skinned buttons show their focus face
// and take Space and Enter. Every other control shows its focus by a frame in
// the focus face's colours around it, from the first focus at start-up on.
// The switches, the group markers and the link are pictures and labels: Tab
// reaches them (a click still gives them no focus, so the mouse sees the
// window as before), and Space presses them as the mouse would. The group
// markers and each order pair are one stop each, as radio buttons are: the
// arrow keys move between their members. In the lists the arrow keys choose
// an entry as a press does (arming 再生 and setting the start), and Return
// plays the chosen one as 再生 would.

#include "app/main_window.h"

#include "app/reelbox_b.h"
#include "controls/command.h"
#include "controls/focus_mark.h"
#include "widgets/dir_list_box.h"
#include "widgets/drive_list_box.h"
#include "widgets/file_list_box.h"
#include "widgets/list_box.h"
#include "widgets/picture_label.h"

#include <QComboBox>
#include <QEvent>
#include <QHash>
#include <QKeyEvent>
#include <functional>
#include <vector>

namespace {

// The controls the keyboard reaches besides the skinned buttons: each shows
// the focus mark while it has the focus; the pictures take the keys that
// press them, the lists the keys that play.
class KeyboardStops : public QObject
{
public:
    explicit KeyboardStops(Reelbox_S &window)
        : QObject(&window)
        , mark_(new FocusMark(&window))
    {
    }

    // A stop of one picture (and its label), pressed by press.
    void Add(PictureLabel *image, PictureLabel *label, std::function<void()> press)
    {
        AddPicture(image, label, std::move(press), {});
        image->setFocusPolicy(Qt::TabFocus);
    }

    // One stop for a row of pictures; Left and Right move between them. The
    // member `first` is the one Tab reaches until the arrows move on.
    void AddGroup(const std::vector<std::pair<PictureLabel *, PictureLabel *>> &members,
                  const std::function<void(qint16)> &press, int first)
    {
        std::vector<QWidget *> row;
        for (const auto &member : members)
            row.push_back(member.first);
        for (qint16 i = 0; i < qint16(members.size()); ++i) {
            AddPicture(
                members[i].first, members[i].second, [press, i] { press(i); }, row);
            members[i].first->setFocusPolicy(i == first ? Qt::TabFocus : Qt::NoFocus);
        }
    }

    // A box or a list; keyDown, when given, sees its keys first and tells
    // whether it took them.
    void AddControl(QWidget *control, std::function<bool(int)> keyDown = {})
    {
        Watch(control, {{control}, {}, std::move(keyDown), {}});
    }

    bool Has(const QWidget *control) const { return stops_.contains(control); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const auto stop = stops_.constFind(watched);
        if (stop == stops_.cend())
            return false;
        switch (event->type()) {
        case QEvent::FocusIn: mark_->Surround(Area(*stop)); return false;
        case QEvent::FocusOut: mark_->hide(); return false;
        case QEvent::KeyPress: return KeyPress(*stop, static_cast<QWidget *>(watched), static_cast<QKeyEvent *>(event));
        default: return false;
        }
    }

private:
    struct Stop
    {
        QList<QWidget *> parts; // what the mark surrounds: the control, and a picture's label
        std::function<void()> press;
        std::function<bool(int)> keyDown;
        std::vector<QWidget *> row; // the stop's group, if it is one
    };

    void AddPicture(PictureLabel *image, PictureLabel *label, std::function<void()> press, std::vector<QWidget *> row)
    {
        QList<QWidget *> parts{image};
        if (label)
            parts << label;
        Watch(image, {parts, std::move(press), {}, std::move(row)});
    }

    void Watch(QWidget *control, Stop stop)
    {
        stops_.insert(control, std::move(stop));
        control->installEventFilter(this);
    }

    // Where the stop shows, in the window (controls lie in panels of their own).
    QRect Area(const Stop &stop) const
    {
        QRect area;
        for (const QWidget *part : stop.parts)
            area |= QRect(part->mapTo(mark_->parentWidget(), QPoint()), part->size());
        return area;
    }

    bool KeyPress(const Stop &stop, QWidget *control, const QKeyEvent *event)
    {
        const int key = event->key();
        if (stop.keyDown)
            return stop.keyDown(key);
        if (key == Qt::Key_Space && stop.press) {
            if (!event->isAutoRepeat())
                stop.press();
            return true;
        }
        const int step = key == Qt::Key_Left ? -1 : key == Qt::Key_Right ? 1 : 0;
        if (step == 0 || stop.row.empty())
            return false;
        const auto at = std::find(stop.row.begin(), stop.row.end(), control) - stop.row.begin();
        const auto next = at + step;
        if (next < 0 || next >= qsizetype(stop.row.size()))
            return true;
        // The member left last is the one Tab comes back to.
        control->setFocusPolicy(Qt::NoFocus);
        stop.row[next]->setFocusPolicy(Qt::TabFocus);
        stop.row[next]->setFocus(Qt::OtherFocusReason);
        return true;
    }

    FocusMark *mark_;
    QHash<const QObject *, Stop> stops_;
};

} // namespace

void Reelbox_S::SetUpKeyboard()
{
    auto *stops = new KeyboardStops(*this);
    stops->Add(Img_Full1, lbl_Full1, [this] { Img_Full1_Click(); });
    stops->Add(Img_Rep1, lbl_Rep1, [this] { Img_Rep1_MouseDown(); });
    stops->AddGroup(
        {{Img_rdm1[0], lbl_rdm1[0]}, {Img_rdm1[1], lbl_rdm1[1]}}, [this](qint16 i) { Img_rdm1_MouseDown(i); },
        B.Rdm1 != 0);
    stops->Add(Img_Kakunin, lbl_Kakunin, [this] { Img_Kakunin_MouseDown(); });
    std::vector<std::pair<PictureLabel *, PictureLabel *>> markers;
    for (PictureLabel *marker : Img_G)
        markers.emplace_back(marker, nullptr);
    stops->AddGroup(
        markers, [this](qint16 i) { Img_G_MouseDown(i); }, B.GroupNo);
    stops->Add(Img_Full2, lbl_Full2, [this] { Img_Full2_Click(); });
    stops->Add(Img_Rep2, lbl_Rep2, [this] { Img_Rep2_MouseDown(); });
    stops->AddGroup(
        {{Img_rdm2[0], lbl_rdm2[0]}, {Img_rdm2[1], lbl_rdm2[1]}}, [this](qint16 i) { Img_rdm2_MouseDown(i); },
        B.Rdm2 != 0);
    stops->Add(lbl_URL, nullptr, [this] { lbl_URL_MouseDown(); });
    stops->AddControl(Drive1);
    stops->AddControl(Dir1);
    stops->AddControl(Combo_Kind);
    stops->AddControl(File1, [this](int key) { return File1_KeyDown(key); });
    stops->AddControl(List_Favorite, [this](int key) { return List_Favorite_KeyDown(key); });
    connect(List_Favorite, &ListBox::SelectionChange, this, &Reelbox_S::List_Favorite_SelectionChange);

    QList<QWidget *> order;
    for (QWidget *control : ReadingOrder()) {
        if (stops->Has(control) || std::find(Comd.begin(), Comd.end(), control) != Comd.end())
            order << control;
    }
    // Qt orders only controls that take the focus now; a disabled button or a
    // group's resting member does so later, in its place.
    QList<Qt::FocusPolicy> policies;
    for (QWidget *control : order) {
        policies << control->focusPolicy();
        control->setFocusPolicy(Qt::TabFocus);
    }
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (qsizetype i = 0; i < order.size(); ++i)
        order[i]->setFocusPolicy(policies[i]);
}

// Return plays the chosen file as 再生 does; the arrows are the list's own.
bool Reelbox_S::File1_KeyDown(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    if (!File1->FileName().isEmpty())
        Comd_Click(PlayFileButton);
    return true;
}

bool Reelbox_S::List_Favorite_KeyDown(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    if (List_Favorite->ListIndex() >= 0 && List_Favorite->HasSelection())
        Comd_Click(PlayFavoriteButton);
    return true;
}

// An entry chosen with the keys arms 再生 and ﾘｽﾄから削除 as a press does.
void Reelbox_S::List_Favorite_SelectionChange()
{
    if (List_Favorite->HasSelection())
        List_Favorite_MouseDown();
}
