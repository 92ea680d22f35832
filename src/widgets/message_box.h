#pragma once
// Message boxes asked for by a style number: the icon plus the buttons plus the
// default button, as the program's windows name them (48 = exclamation with OK,
// 53 = exclamation with Retry and Cancel, 308 = exclamation with Yes and No, No
// the default, ...). The answer is the number of the button pressed.

#include <QString>
#include <functional>

class QWidget;

namespace MessageBoxStyle {
constexpr int OkOnly = 0, OkCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5;
constexpr int Critical = 16, Question = 32, Exclamation = 48, Information = 64;
constexpr int DefaultButton2 = 256; // the second button takes Enter instead of the first
} // namespace MessageBoxStyle

namespace MessageBoxAnswer {
constexpr int Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7;
} // namespace MessageBoxAnswer

// Shows text with title in a modal box of the given style; returns the answer.
int ShowMessageBox(QWidget *owner, const QString &text, int style, const QString &title);

// A message box as a window shows it; tests put a recorder in its place.
using MessageBoxFunction = std::function<int(const QString &text, int style, const QString &title)>;
