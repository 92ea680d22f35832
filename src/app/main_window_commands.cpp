// The skinned buttons' commands: playing the selected file or favourite, or a
// whole list in order or at random, once or repeated; editing the favourites;
// and the two ways of leaving.

#include "app/main_window.h"

#include "app/favorite_list.h"
#include "app/play_order.h"
#include "app/player_factory.h"
#include "app/reelbox_b.h"
#include "app/resume_recorder.h"
#include "app/resume_store.h"
#include "app/shared_procedures.h"
#include "base/program_name.h"
#include "controls/command.h"
#include "widgets/dir_list_box.h"
#include "widgets/file_list_box.h"
#include "widgets/list_box.h"

#include <QApplication>
#include <utility>

// Marks a play command as under way for as long as it runs.
class Reelbox_S::PlayingNow
{
public:
    PlayingNow(Reelbox_S &window, PlayCommand command)
        : window_(window)
        , was_(std::exchange(window.Playing, command))
    {
    }
    ~PlayingNow() { window_.Playing = was_; }
    PlayingNow(const PlayingNow &) = delete;
    PlayingNow &operator=(const PlayingNow &) = delete;

private:
    Reelbox_S &window_;
    PlayCommand was_;
};

void Reelbox_S::Comd_Click(qint16 Index)
{
    const bool startOver = QApplication::keyboardModifiers().testFlag(Qt::ShiftModifier);
    QApplication::processEvents();
    B.InPlayLoop = 0;
    switch (Index) {
    case PlayFilesButton: PlayListContinuously(File1->ListCount(), FileStartIndex, 0, startOver); break;
    case PlayFileButton: PlaySelected(SelectedFilePath(), 0, startOver); break;
    case PlayFavoritesButton: PlayListContinuously(List_Favorite->ListCount(), FavoriteStartIndex, 1, startOver); break;
    case PlayFavoriteButton: PlaySelected(SelectedFavorite(), 1, startOver); break;
    case RemoveFavoriteButton: RemoveSelectedFavorite(); break;
    case ClearFavoritesButton: ClearFavorites(); break;
    case CancelButton: close(); break; // leave without saving
    case ExitButton: SaveAndLeave(); break;
    case AllToFavoritesButton: AddAllFilesToFavorites(); break;
    default: break;
    }
}

bool Reelbox_S::Play(const QString &path, qint16 side, double start)
{
    // Only a regular file that can be read goes to a player: what is not
    // there is passed over, and a FIFO or a device is never opened to wait.
    if (!PlayableNow(path))
        return false;
    B.PlayFile = path;
    B.PlaySource = side;
    B.PlayStart = start;
    return ShowPlayer(ChoosePlayer(B.PlayFile));
}

QString Reelbox_S::ListEntry(qint16 side, int position) const
{
    return side == 0 ? JoinPath(Dir1->Path(), File1->List(position)) : List_Favorite->List(position);
}

qint16 &Reelbox_S::RepeatSwitch(qint16 side) const
{
    return side == 0 ? B.Rep1 : B.Rep2;
}

qint16 &Reelbox_S::OrderSwitch(qint16 side) const
{
    return side == 0 ? B.Rdm1 : B.Rdm2;
}

// In order from the start index (-1, pressed where no entry was selected:
// from the top), or at random through the whole list; where the list was
// left before, on from there instead. Starting over begins at the top, or
// with a new random order. A list played to its end is started afresh the
// next time.
void Reelbox_S::PlayListContinuously(qint16 count, qint16 startIndex, qint16 side, bool startOver)
{
    B.InPlayLoop = -1;
    if (count == 0)
        return;
    B.StopPlay = 0;
    const QString list = ListKey(side);
    if (startOver && Resume)
        Resume->ForgetList(list);
    double start = 0;
    ListCourse course =
        startOver ? ListCourse(count, 0, RandomGenerator) : CourseFor(list, count, startIndex, side, start);
    const PlayingNow playing(*this, {PlayKind::Continuous, side, &course});
    const bool stopped = PlayThrough(course, side, list, start);
    if (Recorder)
        Recorder->NotInList();
    if (!stopped && Resume)
        Resume->ForgetList(list);
}

ListCourse Reelbox_S::CourseFor(const QString &list, qint16 count, qint16 startIndex, qint16 side, double &start)
{
    if (const std::optional<ListPoint> left = ListLeftAt(list, count, side)) {
        // A watched entry is done with: the list goes on after it.
        const bool watched = CountsAsWatched(left->position, left->duration);
        ListCourse resumed(count, *left, watched, RandomGenerator);
        if (resumed.HasNext(OrderSwitch(side) != 0)) {
            start = watched ? 0 : left->position;
            return resumed;
        }
    }
    return ListCourse(count, startIndex, RandomGenerator);
}

std::optional<ListPoint> Reelbox_S::ListLeftAt(const QString &list, qint16 count, qint16 side) const
{
    const std::optional<ListPoint> stored = Resume ? Resume->List(list) : std::nullopt;
    if (!stored)
        return std::nullopt;
    return PointInList(*stored, count, [this, side](int entry) { return ListEntry(side, entry); });
}

bool Reelbox_S::PlayThrough(ListCourse &course, qint16 side, const QString &list, double start)
{
    while (const std::optional<int> entry = course.Next(OrderSwitch(side) != 0)) {
        PlayPos = static_cast<qint16>(*entry);
        const double at = std::exchange(start, 0);
        if (side == 1 && !CheckFavorite(*entry))
            continue;
        const QString path = ListEntry(side, *entry);
        if (Recorder) {
            ListPoint place = course.Place();
            place.path = path;
            Recorder->PlayingInList(list, place);
        }
        Play(path, side, at);
        if (B.StopPlay != 0)
            return true;
    }
    return false;
}

// A folder's list is known by its path, a group's by its number: both stay
// what they are from run to run, whatever the list holds meanwhile.
QString Reelbox_S::ListKey(qint16 side) const
{
    return side == 0 ? QStringLiteral("folder:") + Dir1->Path() : QStringLiteral("group:%1").arg(B.GroupNo);
}

// Once, or again and again while the side's 繰り返し switch is on. A file
// that cannot be played at all ends the repetition instead of opening and
// closing its window forever.
void Reelbox_S::PlaySelected(const QString &path, qint16 side, bool startOver)
{
    if (path.isEmpty())
        return;
    double start = StartPointOf(path, startOver);
    const PlayingNow playing(*this, {PlayKind::Selected, side});
    if (RepeatSwitch(side) != 0)
        B.InPlayLoop = -1;
    B.StopPlay = 0; // the switch may be turned on while the file plays
    while (Play(path, side, std::exchange(start, 0)) && B.StopPlay == 0 && RepeatSwitch(side) != 0)
        B.InPlayLoop = -1;
}

double Reelbox_S::StartPointOf(const QString &path, bool startOver)
{
    if (startOver || !Resume)
        return 0;
    const std::optional<FilePoint> point = Resume->File(path);
    return point && !point->watched ? point->position : 0;
}

void Reelbox_S::PlayInTurn(const QStringList &paths)
{
    B.InPlayLoop = -1;
    B.StopPlay = 0;
    ListCourse course(static_cast<int>(paths.size()), 0, RandomGenerator);
    const PlayingNow playing(*this, {PlayKind::Given, 0, &course});
    while (const std::optional<int> entry = course.Next(false)) {
        Play(paths[*entry], 0);
        if (B.StopPlay != 0)
            return;
    }
}

QString Reelbox_S::SelectedFilePath() const
{
    const QString name = File1->FileName();
    return name.isEmpty() ? QString() : JoinPath(File1->Path(), name);
}

QString Reelbox_S::SelectedFavorite()
{
    const qint16 index = List_Favorite->ListIndex();
    return index < 0 || !CheckFavorite(index) ? QString() : List_Favorite->List(index);
}

void Reelbox_S::RemoveSelectedFavorite()
{
    const qint16 index = List_Favorite->ListIndex();
    if (index < 0)
        return;
    Favorites->RemoveRow(index);
    // The list would select the next entry; the buttons treat the list as
    // having none, and what shows selected must agree with them.
    List_Favorite->clearSelection();
    EnableFavoriteButtons();
}

void Reelbox_S::ClearFavorites()
{
    Favorites->Clear();
    RecordsPastLimit.clear();
    EnableFavoriteButtons();
}

void Reelbox_S::AddAllFilesToFavorites()
{
    const qint16 count = File1->ListCount();
    if (count == 0)
        return;
    QStringList paths;
    for (PlayPos = 0; PlayPos < count; ++PlayPos)
        paths.append(JoinPath(Dir1->Path(), File1->List(PlayPos)));
    AddFavorites(paths);
}

QStringList Reelbox_S::SaveSettings()
{
    return B.SaveSettings(Dir1->Path(), FavoriteRecords());
}

void Reelbox_S::SaveAndLeave()
{
    const QStringList unsaved = SaveSettings();
    if (!unsaved.isEmpty()) {
        const int style = MessageBoxStyle::Exclamation | MessageBoxStyle::YesNo | MessageBoxStyle::DefaultButton2;
        const QString text = UnsavedFilesText(unsaved, B.Storage.StartingPoint);
        if (ShowMessage(text, style, ProgramName) != MessageBoxAnswer::Yes)
            return;
    }
    close();
}

QString UnsavedFilesText(const QStringList &files, const QString &unwritableProgramFolder)
{
    QString text = QStringLiteral("次のファイルを保存できませんでした。\n\n") + files.join(u'\n') + u'\n';
    if (!unwritableProgramFolder.isEmpty())
        text += QStringLiteral("\nプログラムのフォルダ %1 には書き込めないため、上の場所に保存しようとしました。\n")
                    .arg(unwritableProgramFolder);
    return text + QStringLiteral("\n保存しないで終了しますか？");
}

void Reelbox_S::EnableFavoriteButtons()
{
    for (int index : {PlayFavoritesButton, PlayFavoriteButton, RemoveFavoriteButton, ClearFavoritesButton})
        Comd[index]->SetEnabledProperty(false);
    if (List_Favorite->ListCount() > 1) {
        Comd[PlayFavoritesButton]->SetEnabledProperty(true);
        Comd[ClearFavoritesButton]->SetEnabledProperty(true);
    }
    DescribeGroupMarkers();
}
