// Reelbox: a skinned video-player front end. The composition root: the
// application, the numeric locale the playback library needs, the design font,
// the shared state for the program's own folder, the player windows and the
// main window.

#include "app/main_window.h"
#include "app/reelbox_b.h"
#include "platform/fonts.h"
#include "player/window_player_factory.h"

#include <QApplication>
#include <clocale>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    InstallDesignFont();

    Reelbox_B shared(QCoreApplication::applicationDirPath());
    WindowPlayerFactory players(shared);
    Reelbox_S window(shared, players);
    window.show();
    return app.exec();
}
