// Reelbox: a skinned video-player front end. The composition root: the
// application, the numeric locale the playback library needs, the design font,
// the shared state for the program's own folder, and the main window.

#include "app/main_window.h"
#include "app/reelbox_b.h"
#include "platform/fonts.h"

#include <QApplication>
#include <clocale>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    InstallDesignFont();

    Reelbox_B shared(QCoreApplication::applicationDirPath());
    Reelbox_S window(shared);
    window.show();
    return app.exec();
}
