// The file browser: drive, folder, file type and the file list, and which of
// the file list's buttons can be used.

#include "app/main_window.h"

#include "app/favorite_files.h"
#include "app/player_factory.h"
#include "app/reelbox_b.h"
#include "app/shared_procedures.h"
#include "base/file_kinds.h"
#include "base/program_name.h"
#include "controls/command.h"
#include "desktop/shell.h"
#include "widgets/dir_list_box.h"
#include "widgets/drive_list_box.h"
#include "widgets/file_list_box.h"

#include <QComboBox>

QString DriveErrorText(const PlatformError &error, const QString &drive)
{
    if (error.Number == DeviceUnavailable)
        return QStringLiteral("ﾄﾞﾗｲﾌﾞ") + drive + QStringLiteral(" は、準備されていません。");
    return error.Source + QStringLiteral(": &H") + QString::number(error.Number, 16).toUpper() + QChar(13)
           + error.Description;
}

void Reelbox_S::Drive1_Change()
{
    const std::optional<PlatformError> error = Dir1->OpenDrive(Drive1->Drive());
    if (!error)
        return;
    ReportDriveError(*error);
    Drive1->SetDrive(Dir1->Path()); // back to the drive of the folder still listed
}

void Reelbox_S::ReportDriveError(const PlatformError &error)
{
    const int style = error.Number == DeviceUnavailable ? MessageBoxStyle::Exclamation | MessageBoxStyle::OkOnly
                                                        : MessageBoxStyle::Exclamation | MessageBoxStyle::RetryCancel;
    ShowMessage(DriveErrorText(error, Drive1->Drive()), style, ProgramName);
}

void Reelbox_S::Dir1_Change()
{
    FileStartIndex = 0;
    File1->SetListing(Dir1->Listing());
    EnableFileButtons();
    TellAboutFilesLeftOut();
}

// Another file type is another list: its buttons are checked anew, and
// continuous play starts at its top, as after a folder change.
void Reelbox_S::Combo_Kind_Click()
{
    File1->SetPattern(Combo_Kind->currentText());
    FileStartIndex = 0;
    EnableFileButtons();
    TellAboutFilesLeftOut();
}

void Reelbox_S::TellAboutFilesLeftOut()
{
    const QString shown = File1->Path() + u'\n' + File1->Pattern();
    if (File1->LeftOut() == 0 || shown == FilesLeftOutToldFor) {
        if (File1->LeftOut() == 0)
            FilesLeftOutToldFor.clear();
        return;
    }
    FilesLeftOutToldFor = shown;
    Tell(QStringLiteral("このフォルダには一覧に入りきらないほどファイルがあります。"
                        "最初の %1 個だけを表示し、残りの %2 個は表示していません。")
             .arg(CountText(MaxListEntries))
             .arg(CountText(File1->LeftOut())));
}

void Reelbox_S::File1_DblClick()
{
    if (File1->FileName().isEmpty())
        return;
    const QString path = JoinPath(File1->Path(), File1->FileName());
    if (!FileExists(path)) // gone since it was listed, or no longer a file
        return;
    B.PlayFile = path;
    if (IsOpenedByDesktop(B.PlayFile)) {
        OpenWithDesktop(B.PlayFile);
        return;
    }
    B.PlaySource = 0;
    ShowPlayer(PlayerWindow::RealAudio);
}

void Reelbox_S::File1_MouseDown()
{
    if (File1->ListCount() == 0)
        return;
    FileStartIndex = File1->ListIndex();
    if (File1->FileName().isEmpty())
        return;
    Comd[PlayFileButton]->SetEnabledProperty(true);
    File1->setCursor(Drive1->cursor());
    File1->Drag();
}

// The selection changed however it did (the arrow keys, a press, Ctrl+click
// taking it back): a selected file is the start of continuous play and can be
// played, as after a press on it; without one there is nothing to play and
// continuous play starts at the top.
void Reelbox_S::File1_SelectionChange()
{
    FileStartIndex = File1->ListIndex();
    Comd[PlayFileButton]->SetEnabledProperty(!File1->FileName().isEmpty());
}

void Reelbox_S::EnableFileButtons()
{
    for (int index : {PlayFilesButton, PlayFileButton, AllToFavoritesButton})
        Comd[index]->SetEnabledProperty(false);
    if (File1->ListCount() >= 1)
        Comd[AllToFavoritesButton]->SetEnabledProperty(true);
    if (File1->ListCount() > 1)
        Comd[PlayFilesButton]->SetEnabledProperty(true);
}
