#pragma once
// The program speaks Japanese throughout, its standard dialogs included: the
// buttons Qt draws itself (はい(&Y), いいえ(&N), キャンセル, 再試行) read as on a
// Japanese desktop, whatever locale the program runs under.

// Installs Qt's own Japanese translations into the running application.
// False when they are not installed (the dialogs then keep Qt's English).
bool InstallJapaneseTranslations();
