// The layout of dtVisualScrollBar's picture boxes: its first layout from its
// shape, the track over the whole control, the arrows at its ends and the
// thumb at its value, and how each box answers a new picture.

#include "controls/visual_scroll_bar.h"

#include "base/units.h"
#include "controls/scroll_bar_geometry.h"
#include "controls/scroll_bar_picture_box.h"

#include <algorithm>
#include <cmath>

using namespace ScrollBarGeometry;

namespace {

constexpr int ThicknessTwips = 315;

} // namespace

QRectF dtVisualScrollBar::PartTwips(Part part) const
{
    return Box(part)->Twips();
}

bool dtVisualScrollBar::PartShown(Part part) const
{
    return Box(part)->isVisibleTo(this);
}

void dtVisualScrollBar::resizeEvent(QResizeEvent *)
{
    FullLayout();
}

void dtVisualScrollBar::FullLayout()
{
    if (fields.FirstLayoutPending) {
        FirstLayout();
        ShowButtons();
    }
    if (fields.AutoSize && picBG->HoldsImage())
        ResizeTwips(picBG->Twips().width(), picBG->Twips().height());
    const QSize client = ClientTwips();
    picBG->SetTwips(QRectF(QPointF(0, 0), client));

    ScrollBarPictureBox *back = BackArrow();
    ScrollBarPictureBox *forward = ForwardArrow();
    const auto arrows = PlaceArrows(Vertical(), fields.ThumbAlignment, fields.ButtonsVisible, client, back->SizeTwips(),
                                    forward->SizeTwips());
    if (!arrows)
        return; // an alignment of the other form moves neither arrows nor thumb
    back->MoveTo(arrows->back);
    forward->MoveTo(arrows->forward);
    PlaceThumb();
}

void dtVisualScrollBar::FirstLayout()
{
    fields.FirstLayoutPending = false;
    const QSize client = ClientTwips();
    fields.Orientation = client.height() >= client.width() ? 1 : 0;
    picBG->SetTwips(QRectF(QPointF(0, 0), client));
    ShowButtons();
    if (Vertical()) {
        fields.ThumbAlignment = 1;
        ResizeTwips(ThicknessTwips, client.height());
    } else {
        fields.ThumbAlignment = 4;
        ResizeTwips(client.width(), ThicknessTwips);
    }
}

void dtVisualScrollBar::ShowButtons()
{
    for (ScrollBarPictureBox *arrow : {picUP, picDN, picLeft, picRight})
        arrow->hide();
    picTHUMB->show();
    if (!fields.ButtonsVisible)
        return;
    if (fields.Orientation == 1) {
        picUP->show();
        picDN->show();
    } else if (fields.Orientation == 0) {
        picRight->show();
        picLeft->show();
    }
}

void dtVisualScrollBar::PlaceThumb()
{
    const bool vertical = Vertical();
    const QSize client = ClientTwips();
    const QSize thumb = picTHUMB->SizeTwips();
    const ThumbSpan travel =
        ThumbTravel(vertical, fields.ButtonsVisible, client, BackArrow()->Twips(), ForwardArrow()->Twips(), thumb);
    const auto edge = ThumbLeadingEdge(fields.Value, fields.Min, fields.Max, travel);
    if (!edge)
        return; // a zero range leaves the thumb where it is
    const auto cross = ThumbCrossPosition(vertical, fields.ThumbAlignment, client, thumb);
    QPointF place = picTHUMB->Twips().topLeft();
    (vertical ? place.ry() : place.rx()) = *edge;
    if (cross)
        (vertical ? place.rx() : place.ry()) = *cross;
    picTHUMB->MoveTo(place);
}

void dtVisualScrollBar::SetPicture(ScrollBarPictureBox *box, const ScrollBarPicture &picture, PictureRole role,
                                   const QString &name)
{
    box->SetPicture(picture);
    const QSize client = ClientTwips();
    if (!picture) {
        if (role == PictureRole::Collapses)
            box->ResizeTwips(0, 0);
    } else if (picture->isNull()) {
        if (role == PictureRole::Track) {
            box->ResizeTwips(client.width(), client.height());
        } else {
            const int side = std::min(client.width(), client.height());
            box->ResizeTwips(side, side);
        }
    } else if (role == PictureRole::Track) {
        ResizeTwips(box->Twips().width(), box->Twips().height());
    }
    ShowButtons();
    emit PropertyChanged(name);
}

ScrollBarPictureBox *dtVisualScrollBar::BackArrow() const
{
    return Vertical() ? picUP : picLeft;
}

ScrollBarPictureBox *dtVisualScrollBar::ForwardArrow() const
{
    return Vertical() ? picDN : picRight;
}

QSize dtVisualScrollBar::ClientTwips() const
{
    return {PixelsToTwips(width()), PixelsToTwips(height())};
}

void dtVisualScrollBar::ResizeTwips(double width, double height)
{
    resize(int(std::nearbyint(width / TwipsPerPixel)), int(std::nearbyint(height / TwipsPerPixel)));
}

ScrollBarPictureBox *dtVisualScrollBar::Box(Part part) const
{
    switch (part) {
    case Part::Background: return picBG;
    case Part::Thumb: return picTHUMB;
    case Part::Up: return picUP;
    case Part::Down: return picDN;
    case Part::Left: return picLeft;
    case Part::Right: return picRight;
    }
    return picBG;
}
