// The option switches beside the lists: each a picture with its label, both
// reacting alike. Full screen changes when the click completes; the others on
// the press itself.

#include "app/main_window.h"

#include "app/reelbox_b.h"
#include "widgets/picture_label.h"

void Reelbox_S::ConnectSwitches()
{
    auto onClick = [this](PictureLabel *image, PictureLabel *label, void (Reelbox_S::*handler)()) {
        for (PictureLabel *control : {image, label})
            connect(control, &PictureLabel::Click, this, handler);
    };
    auto onPress = [this](PictureLabel *image, PictureLabel *label, auto handler) {
        for (PictureLabel *control : {image, label})
            connect(control, &PictureLabel::MouseDown, this, handler);
    };
    onClick(Img_Full1, lbl_Full1, &Reelbox_S::Img_Full1_Click);
    onClick(Img_Full2, lbl_Full2, &Reelbox_S::Img_Full2_Click);
    onPress(Img_Rep1, lbl_Rep1, [this] { Img_Rep1_MouseDown(); });
    onPress(Img_Rep2, lbl_Rep2, [this] { Img_Rep2_MouseDown(); });
    onPress(Img_Kakunin, lbl_Kakunin, [this] { Img_Kakunin_MouseDown(); });
    for (qint16 i = 0; i < 2; ++i) {
        onPress(Img_rdm1[i], lbl_rdm1[i], [this, i] { Img_rdm1_MouseDown(i); });
        onPress(Img_rdm2[i], lbl_rdm2[i], [this, i] { Img_rdm2_MouseDown(i); });
    }
}

void Reelbox_S::Toggle(qint16 &value, PictureLabel *image)
{
    value ^= 1;
    SetSwitchPicture(image, value);
}

void Reelbox_S::Choose(qint16 &value, const std::array<PictureLabel *, 2> &images, qint16 Index)
{
    images[Index]->SetPictureProperty(Img_Opt_on->PictureProperty());
    images[Index ^ 1]->SetPictureProperty(Img_Opt_off->PictureProperty());
    value = Index;
}

void Reelbox_S::Img_Full1_Click()
{
    Toggle(B.Full1, Img_Full1);
}
void Reelbox_S::Img_Full2_Click()
{
    Toggle(B.Full2, Img_Full2);
}
void Reelbox_S::Img_Rep1_MouseDown()
{
    Toggle(B.Rep1, Img_Rep1);
}
void Reelbox_S::Img_Rep2_MouseDown()
{
    Toggle(B.Rep2, Img_Rep2);
}
void Reelbox_S::Img_Kakunin_MouseDown()
{
    Toggle(B.Kakunin, Img_Kakunin);
}
void Reelbox_S::Img_rdm1_MouseDown(qint16 Index)
{
    Choose(B.Rdm1, Img_rdm1, Index);
}
void Reelbox_S::Img_rdm2_MouseDown(qint16 Index)
{
    Choose(B.Rdm2, Img_rdm2, Index);
}
