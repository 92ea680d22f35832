#include "widgets/message_box.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon IconOf(int style)
{
    switch (style & 0x70) {
    case MessageBoxStyle::Critical: return QMessageBox::Critical;
    case MessageBoxStyle::Question: return QMessageBox::Question;
    case MessageBoxStyle::Exclamation: return QMessageBox::Warning;
    case MessageBoxStyle::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

struct ButtonAnswer
{
    QMessageBox::StandardButton button;
    int answer;
};

QList<ButtonAnswer> ButtonsOf(int style)
{
    using B = QMessageBox;
    namespace A = MessageBoxAnswer;
    switch (style & 0x7) {
    case MessageBoxStyle::OkCancel: return {{B::Ok, A::Ok}, {B::Cancel, A::Cancel}};
    case MessageBoxStyle::AbortRetryIgnore: return {{B::Abort, A::Abort}, {B::Retry, A::Retry}, {B::Ignore, A::Ignore}};
    case MessageBoxStyle::YesNoCancel: return {{B::Yes, A::Yes}, {B::No, A::No}, {B::Cancel, A::Cancel}};
    case MessageBoxStyle::YesNo: return {{B::Yes, A::Yes}, {B::No, A::No}};
    case MessageBoxStyle::RetryCancel: return {{B::Retry, A::Retry}, {B::Cancel, A::Cancel}};
    default: return {{B::Ok, A::Ok}};
    }
}

} // namespace

int ShowMessageBox(QWidget *owner, const QString &text, int style, const QString &title)
{
    QMessageBox box(IconOf(style), title, text, QMessageBox::NoButton, owner);
    const QList<ButtonAnswer> buttons = ButtonsOf(style);
    for (const ButtonAnswer &b : buttons)
        box.addButton(b.button);
    const qsizetype defaultButton = (style & MessageBoxStyle::DefaultButton2) ? 1 : 0;
    if (defaultButton < buttons.size())
        box.setDefaultButton(buttons[defaultButton].button);
    box.exec();
    for (const ButtonAnswer &b : buttons) {
        if (box.clickedButton() == box.button(b.button))
            return b.answer;
    }
    return buttons.size() > 1 ? MessageBoxAnswer::Cancel : MessageBoxAnswer::Ok;
}
