#pragma once
// Reelbox_S: the main window and the program's start-up object. A frameless,
// skinned window of fixed size: a title picture to drag it by, a close picture,
// and on a painted background the file browser (drive, folder, file type and
// file lists), the favourites list with its twenty group markers, the option
// switches and the skinned buttons. Loading it restores the last run's folder,
// switches and favourites group. Controls keep their design names and are
// public, so tests can drive them as the user would; each control event has
// one handler named after the control and the event.

#include "app/favorite_groups.h"
#include "app/open_arguments.h"
#include "app/resume_marks.h"
#include "app/shared_procedures.h"
#include "app/trash_undo.h"
#include "desktop/remote_control.h"
#include "widgets/message_box.h"

#include <QHash>
#include <QList>
#include <QWidget>
#include <array>
#include <random>
#include <vector>

class Command;
class DirListBox;
class FavoriteSearch;
class DriveListBox;
class FavoriteList;
class ListMenu;
class FileListBox;
class FolderPrefetch;
class GradientPanel;
class ListBox;
class ListCourse;
class MountWatcher;
class MovedFileSearch;
struct MovedFile;
class PlayerFactory;
class ResumeRecorder;
class ResumeStore;
struct ListPoint;
class FavoriteSizes;
enum class PlayerWindow;
struct PlatformError;
class PictureLabel;
class QAbstractItemView;
class QComboBox;
class QFrame;
class ReachChecker;
struct ReachAnswer;
struct Reelbox_B;

class Reelbox_S : public QWidget, public RemotePlayList, public FavoriteGroups
{
    Q_OBJECT
public:
    // Builds the window and runs its load (the start-up sequence). Files play
    // in the player windows that players makes. savedFolder, when given, is
    // reading the folder the load restores.
    Reelbox_S(Reelbox_B &shared, PlayerFactory &players, FolderPrefetch *savedFolder = nullptr,
              QWidget *parent = nullptr);
    // From now on 再生 resumes a file, and 連続再生 a list, where the store
    // says it was left, and the lists mark the files played
    // (main_window_marks.cpp); recorder writes where each list played is left.
    void SetResumeStore(ResumeStore *store, ResumeRecorder *recorder = nullptr);
    // From now on the sizes of the favourites' files are kept, and a moved
    // file is known by its size too.
    void SetFavoriteSizes(FavoriteSizes *sizes) { Sizes = sizes; }

    // Title bar and the hidden picture stores.
    PictureLabel *Image_head, *Image1, *ImgExit;
    std::array<PictureLabel *, 2> imgImages{};
    PictureLabel *Img_Opt_on, *Img_Opt_off;
    PictureLabel *Img_pos_on, *Img_pos_off, *Img_Scan;
    std::array<PictureLabel *, 6> lbl{}; // elements 0, 2, 3 and 5 exist

    // The painted background and what lies on it.
    GradientPanel *Pic_C;
    DriveListBox *Drive1;
    QComboBox *Combo_Kind;
    DirListBox *Dir1;
    FileListBox *File1;
    std::array<Command *, 9> Comd{};
    PictureLabel *Img_Full1, *lbl_Full1, *Img_Rep1, *lbl_Rep1;
    PictureLabel *Img_Full2, *lbl_Full2, *Img_Rep2, *lbl_Rep2;
    std::array<PictureLabel *, 2> Img_rdm1{}, lbl_rdm1{}, Img_rdm2{}, lbl_rdm2{};
    PictureLabel *Img_Del, *Img_Kakunin, *lbl_Kakunin;
    QFrame *Line1;
    PictureLabel *lbl_G;
    std::array<PictureLabel *, 20> Img_G{};
    ListBox *List_Favorite;
    FavoriteList *Favorites; // what List_Favorite shows
    PictureLabel *lbl_URL;

    // The skinned buttons, by their index in Comd.
    enum ButtonIndex : qint16 {
        PlayFilesButton = 0,      // 連続再生 of the file list
        PlayFileButton = 1,       // 再生 of the file list
        PlayFavoritesButton = 2,  // 連続再生 of the favourites
        PlayFavoriteButton = 3,   // 再生 of the favourites
        RemoveFavoriteButton = 4, // ﾘｽﾄから削除
        ClearFavoritesButton = 5, // 全部ｸﾘｱ
        CancelButton = 6,         // ｷｬﾝｾﾙ: leave without saving
        ExitButton = 7,           // 終了: save and leave
        AllToFavoritesButton = 8, // 全てFavorite
    };

    // Form-level state.
    qint16 Dragging = 0;
    qint16 DragOffsetX = 0, DragOffsetY = 0;
    qint16 PlayPos = 0;
    qint16 FileStartIndex = 0, FavoriteStartIndex = 0;

    // Handlers.
    void Form_Load();
    void Image_head_MouseDown(Qt::MouseButton button);
    void Image_head_MouseMove();
    void Image_head_MouseUp();
    void ImgExit_MouseDown();
    void ImgExit_MouseUp();
    void ImgExit_Click();
    void lbl_URL_MouseDown();
    void Drive1_Change();
    void Dir1_Change();
    void Combo_Kind_Click();
    void File1_DblClick();
    void File1_MouseDown();
    void File1_SelectionChange();
    void Comd_Click(qint16 Index);
    // The favourites list, the delete picture and the group markers.
    void List_Favorite_MouseDown();
    void List_Favorite_DblClick();
    // Drops act on what the drag carries: a file dragged from the file list
    // (its path), or the "text/uri-list" another program offers.
    void List_Favorite_DragDrop(const QString &draggedFile);
    void List_Favorite_OLEDragDrop(const QByteArray &uriList);
    void Img_Del_DragDrop(const QString &draggedFile);
    void Img_G_MouseDown(qint16 Index);
    // The switches; each handler serves the picture and its label alike.
    void Img_Full1_Click();
    void Img_Full2_Click();
    void Img_Rep1_MouseDown();
    void Img_Rep2_MouseDown();
    void Img_Kakunin_MouseDown();
    void Img_rdm1_MouseDown(qint16 Index);
    void Img_rdm2_MouseDown(qint16 Index);
    // Keys the lists take before their own handling; true when taken.
    bool File1_KeyDown(int key);
    bool List_Favorite_KeyDown(int key);
    void List_Favorite_SelectionChange();

    // Opens what the program was asked to open (its command line, or a file
    // manager's "Open with"): a folder shows in the browser, files play one
    // after the other as 連続再生 plays them, and the main window takes input
    // again after the last. Relative paths are taken from workingFolder;
    // anything but local paths and file:// URLs is refused in one message.
    // Each request opens in its turn, after those that came before it; one
    // that comes while a list plays ends it, and opens next: at once, as Esc
    // does, when a player window is on the screen, else once the file
    // opening now has played. Its play starts from the event loop, not in
    // this call.
    void OpenArguments(const QStringList &arguments, const QString &workingFolder);

    // The play command under way, as the desktop's media controls ask of it
    // (main_window_remote.cpp): 再生 repeats by its side's 繰り返し switch,
    // 連続再生 goes through its list in the order its ﾗﾝﾀﾞﾑ switch says, both
    // read as the play goes on; the files handed to the program play in turn.
    bool RemoteHasNext() const override;
    std::optional<bool> RemoteRepeats() const override;
    void RemoteSetRepeat(bool on) override;
    std::optional<bool> RemoteShuffles() const override;
    void RemoteSetShuffle(bool on) override;

    // The player windows' group keys (main_window_group_keys.cpp).
    GroupAddition AddToGroup(int group, const QString &path) override;

    void EnableFileButtons();
    void EnableFavoriteButtons();
    // Looks again whether each favourite's file can be played (a drive came or
    // went) and shows it.
    void CheckFavorites();
    // Whether answers about the favourites' files are still to come.
    bool CheckingFavorites() const;
    // Adds entries for paths at the end and has their files looked at.
    void AppendFavorites(const QStringList &paths);
    // Stores the settings, the folder shown and the current group's favourites;
    // returns the files that could not be written.
    QStringList SaveSettings();

    // How the window shows a message box; tests record instead of showing.
    MessageBoxFunction ShowMessage;
    // How a move to the trash is confirmed; tests answer instead of the user.
    TrashConfirmation ConfirmTrash;
    // The lists' context menus, to add items to.
    ListMenu *FavoritesContextMenu = nullptr;
    ListMenu *FilesContextMenu = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Shows an exclamation message now, or once the window is on the screen
    // when it is not yet (what the start-up found).
    void Tell(const QString &text);

    void CreateTitleBar();
    void CreatePictureStores();
    void CreateBrowser();
    void CreateButtons();
    void CreateSwitches();
    void CreateFavorites();
    void CreateFooter();
    // Screen readers find the controls in reading order, each list's own in
    // a panel named for the list; on screen nothing moves.
    void GroupControls();
    // The controls as readers find them (a panel's in its place).
    QList<QWidget *> ReadingOrder() const;
    void DescribeForScreenReaders();
    // After every change of the favourites: which groups screen readers hear have entries.
    void DescribeGroupMarkers();
    void ConnectHandlers();
    void ConnectSwitches();
    // The tab order and the keys of the picture controls and the lists.
    void SetUpKeyboard();
    void Toggle(qint16 &value, PictureLabel *image);
    void Choose(qint16 &value, const std::array<PictureLabel *, 2> &images, qint16 Index);
    PictureLabel *NewImage(QWidget *parent, int left, int top, const QString &skin);
    PictureLabel *NewLabel(QWidget *parent, int left, int top, int width, const QString &text);

    void ShowSwitchPictures();
    void ShowGroupMarkers();
    void GiveClickablesThePointer();
    void SetSwitchPicture(PictureLabel *image, qint16 value);

    void ReportDriveError(const PlatformError &error);
    // 終了: saves and closes; when something could not be saved, says where it
    // tried and closes only when the user agrees to leave without it.
    void SaveAndLeave();

    // Plays path through the player window its name calls for; false when it
    // could not be played at all.
    bool Play(const QString &path, qint16 side, double start = 0);
    // Every show of a player window. A request handed over meanwhile ends the
    // list being played, and is opened once the show is over.
    bool ShowPlayer(PlayerWindow which);
    // Opens the first request waiting, once nothing plays and no window is in
    // front of the main window; then the next, in its turn.
    void OpenWaitingArguments();
    void OpenRequest(const OpenTargets &request);
    // Entry `position` of a side's list as a full path (0 files, 1 favourites).
    QString ListEntry(qint16 side, int position) const;
    void PlayListContinuously(qint16 count, qint16 startIndex, qint16 side, bool startOver = false);
    // The course a side's 連続再生 takes: on from where its list was left,
    // when that entry is still in it and something is left to play, with
    // start set to the position to take up; else from startIndex.
    ListCourse CourseFor(const QString &list, qint16 count, qint16 startIndex, qint16 side, double &start);
    // Where a side's list was left, taken to the list as it is now.
    std::optional<ListPoint> ListLeftAt(const QString &list, qint16 count, qint16 side) const;
    // Plays the course from its next entry, the first from start seconds;
    // true when the user stopped it before its end.
    bool PlayThrough(ListCourse &course, qint16 side, const QString &list, double start);
    // The name a side's list is stored under: the folder shown or the group.
    QString ListKey(qint16 side) const;
    void PlaySelected(const QString &path, qint16 side, bool startOver = false);
    // Where 再生 starts path: where it was left, unless it was watched or
    // the user starts over.
    double StartPointOf(const QString &path, bool startOver);
    // Plays paths one after the other, as 連続再生 plays the file list, until the user stops.
    void PlayInTurn(const QStringList &paths);
    // A side's switches (0 files, 1 favourites).
    qint16 &RepeatSwitch(qint16 side) const;
    qint16 &OrderSwitch(qint16 side) const;
    // What plays now: which command, for which side, through which list.
    enum class PlayKind { None, Selected, Continuous, Given };
    struct PlayCommand
    {
        PlayKind kind = PlayKind::None;
        qint16 side = 0;
        const ListCourse *course = nullptr; // Continuous and Given
    };
    class PlayingNow; // marks a command as under way while it lasts
    PlayCommand Playing;
    QString SelectedFilePath() const;
    // The selected favourite when it can be played now, else "".
    QString SelectedFavorite();
    void RemoveSelectedFavorite();
    void ClearFavorites();
    void AddAllFilesToFavorites();
    // Adds the paths the list and its records can hold and tells the user
    // about the rest in one message.
    void AddFavorites(const QStringList &paths);
    void ConnectFavorites();
    // The trash picture (main_window_trash.cpp): path goes to the trash, or is
    // deleted where no trash can take it and no question is asked; the file
    // list is listed afresh with the neighbouring row selected, and Ctrl+Z
    // takes the file back for a while.
    std::optional<TrashedFile> DeleteFile(const QString &path);
    void RelistFiles();
    FileListView ViewOfFiles() const;
    void ShowFiles(const FileListView &view);
    void ConnectTrashUndo();
    void UndoTrash();
    // The favourites' context menu and finding entries whose files moved
    // (main_window_mending.cpp).
    void ConnectFavoritesMenu();
    void FindMovedFavorites();
    void OfferMovedFavorites(const QList<MovedFile> &found);
    void MendFavorites(const QHash<QByteArray, QString> &moves);
    void CarrySizes(const QHash<QByteArray, QString> &moves);
    // Tells the user once how many matching files the file list could not
    // hold, for each folder and file type it shows.
    void TellAboutFilesLeftOut();

    // The favourites as entries: each keeps the record it was read from, so
    // it goes back to its list file byte for byte, and shows whether its file
    // can be reached now.
    void LoadFavorites(qint16 group);
    // Entry row names path from now on, in its list file too once saved.
    void ReplaceFavoriteEntry(int row, const QString &path);
    QList<QByteArray> FavoriteRecords() const;
    // Looks at entry row's file now (waiting for the answer, off this
    // thread) and shows what it found; true when it can be played.
    bool CheckFavorite(int row);
    // Whether path is a regular file that can be read, asked off this thread
    // (FileExists, given up on after a while when the disk does not answer).
    bool PlayableNow(const QString &path);
    void ShowReachAnswers(const QList<ReachAnswer> &answers);
    void RecordSizes(const QList<ReachAnswer> &answers);
    void DisarmFavoriteButtonsWithoutSelection();
    // How far each list's files were watched (main_window_marks.cpp): the
    // marks of the file list's rows, those of a file just played or marked
    // by the lists' menus, and 未視聴から連続再生.
    void ConnectMarks();
    void MarkFiles();
    void ShowFileLooks(const QList<ReachAnswer> &answers);
    // The mark of the favourite an answer is about.
    RowMark FavoriteMark(const ReachAnswer &answer) const;
    void RefreshMarks(const QString &path);
    QAbstractItemView *ListOf(qint16 side) const;
    void MarkSelected(qint16 side, bool watched);
    std::optional<int> FirstUnwatched(qint16 side) const;
    void PlayFromFirstUnwatched(qint16 side);
    ResumeMarks Marks;
    ReachChecker *FileLooks = nullptr; // looks at the marked files of the file list
    quint64 FilesListing = 0;          // which filling of the file list its answers are for
    // Ctrl+F's search of all groups (main_window_search.cpp).
    void SetUpFavoriteSearch();
    void PlayFoundFavorite(const QString &path);
    // While it shows, the favourites buttons rest.
    bool Searching() const;
    FavoriteSearch *Search = nullptr;
    bool FavoritesArmedBeforeSearch = false;
    // Writes the favourites as the current group's list file; false (and the
    // user told) when it could not be written.
    bool SaveCurrentGroup();
    // Tells the user, once a run, that group's list file could not be read and
    // is kept as it is.
    void TellIfUnreadable(qint16 group);
    std::array<bool, 20> UnreadableGroupsTold{};

    Reelbox_B &B;
    PlayerFactory &Players;
    FolderPrefetch *SavedFolder;
    std::mt19937 RandomGenerator;
    ResumeStore *Resume = nullptr;
    ResumeRecorder *Recorder = nullptr;
    FavoriteSizes *Sizes = nullptr;
    // Requests handed over, waiting for their turn, in the order they came.
    QList<OpenTargets> WaitingRequests;
    bool OpeningRequest = false;     // a request is being opened (its message, its list)
    bool RequestEndsPlaying = false; // one came while a list played: that list ends
    int PlayersShowing = 0;          // shows under way (one, or none)
    MountWatcher *Mounts;
    // Looks at the favourites' files off the window's thread.
    ReachChecker *Reach;
    TrashUndo *Undo = nullptr;
    MovedFileSearch *MovedSearch = nullptr; // the search under way, if any
    // Records of the current group's list file past the list's limit: kept
    // as they were, after the list's own, until the list is cleared.
    QList<QByteArray> RecordsPastLimit;
    // The folder and file type the file list last told the user about.
    QString FilesLeftOutToldFor;
    QStringList MessagesForShow;
};

// The message for a drive that could not be opened: "not ready" in the user's
// words for an unavailable device, else the error's source, number and text.
QString DriveErrorText(const PlatformError &error, const QString &drive);

// The question 終了 asks when files could not be saved: which ones, why they
// are not in unwritableProgramFolder when that is given, and whether to leave.
QString UnsavedFilesText(const QStringList &files, const QString &unwritableProgramFolder);
