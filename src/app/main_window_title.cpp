// The skinned window's own title bar: dragging by the title picture, the close
// picture; and the link label to the program's documentation.

#include "app/main_window.h"

#include "app/documentation.h"
#include "app/title_drag.h"
#include "base/program_location.h"
#include "desktop/shell.h"
#include "widgets/picture_label.h"

#include <QApplication>

void Reelbox_S::Image_head_MouseDown(Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    Dragging = BeginTitleDrag(*this, Image_head->PressedAt(), DragOffsetX, DragOffsetY) ? 1 : 0;
}

void Reelbox_S::Image_head_MouseMove()
{
    if (Dragging != 1)
        return;
    FollowTitleDrag(*this, DragOffsetX, DragOffsetY);
}

void Reelbox_S::Image_head_MouseUp()
{
    Dragging = 0;
}

void Reelbox_S::ImgExit_MouseDown()
{
    ImgExit->SetPictureProperty(imgImages[1]->PictureProperty());
}

void Reelbox_S::ImgExit_MouseUp()
{
    ImgExit->SetPictureProperty(imgImages[0]->PictureProperty());
}

// Only a release over the picture leaves: a press slid off it and released
// elsewhere is taken back, as with any button.
void Reelbox_S::ImgExit_Click()
{
    QApplication::processEvents();
    close();
}

void Reelbox_S::lbl_URL_MouseDown()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    OpenWithDesktop(DocumentationPage(ExecutableFolder()));
    QApplication::restoreOverrideCursor();
}
