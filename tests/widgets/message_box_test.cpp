// The standard dialogs the program shows, with Qt's Japanese installed as the
// program installs it: their buttons read Japanese and answer to their
// mnemonics, the way the user (and the system tests) answer them.

#include "widgets/message_box.h"

#include "app/shared_procedures.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

TEST(StandardDialogs, ButtonsReadJapaneseAndAnswerTheirMnemonics)
{
    using namespace MessageBoxStyle;
    const struct
    {
        const char *dialog;
        std::function<int()> show;
        QStringList buttons; // as Qt lays them out on this desktop
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int answer;
    } rows[] = {
        {"drive not ready, path too long, could not trash",
         [] { return ShowMessageBox(nullptr, "x", Exclamation | OkOnly, "Reelbox"); },
         {"OK"},
         Qt::Key_Return,
         Qt::NoModifier,
         MessageBoxAnswer::Ok},
        {"other drive error",
         [] { return ShowMessageBox(nullptr, "x", Exclamation | RetryCancel, "Reelbox"); },
         {"再試行", "キャンセル"},
         Qt::Key_Escape,
         Qt::NoModifier,
         MessageBoxAnswer::Cancel},
        {"unsaved files, Yes",
         [] { return ShowMessageBox(nullptr, "x", Exclamation | YesNo | DefaultButton2, "Reelbox"); },
         {"はい(&Y)", "いいえ(&N)"},
         Qt::Key_Y,
         Qt::AltModifier,
         MessageBoxAnswer::Yes},
        {"unsaved files, default",
         [] { return ShowMessageBox(nullptr, "x", Exclamation | YesNo | DefaultButton2, "Reelbox"); },
         {"はい(&Y)", "いいえ(&N)"},
         Qt::Key_Return,
         Qt::NoModifier,
         MessageBoxAnswer::No},
        {"trash question",
         [] { return AskToMoveToTrash({"/tmp/a.avi"}) ? MessageBoxAnswer::Yes : MessageBoxAnswer::No; },
         {"はい(&Y)", "いいえ(&N)"},
         Qt::Key_Y,
         Qt::AltModifier,
         MessageBoxAnswer::Yes},
    };
    for (const auto &row : rows) {
        // The box opens in the call below; it is answered from within its loop.
        QStringList seen;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !seen.isEmpty())
                return;
            for (QAbstractButton *button : box->buttons())
                seen.append(button->text());
            QTest::keyClick(box, row.key, row.modifiers);
        });
        answer.start(20);
        EXPECT_EQ(row.show(), row.answer) << row.dialog;
        seen.sort();
        QStringList expected = row.buttons;
        expected.sort();
        EXPECT_EQ(seen, expected) << row.dialog;
    }
}
