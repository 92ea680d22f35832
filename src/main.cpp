// Reelbox: a skinned video-player front end. The composition root: the
// application, the numeric locale the playback library needs, the design font,
// the shared state for the program's own folder, and the main window.

#include "app/main_window.h"
#include "app/player_factory.h"
#include "app/reelbox_b.h"
#include "platform/fonts.h"
#include "platform/shell.h"

#include <QApplication>
#include <clocale>

namespace {
// Until the player windows join, files open in the desktop's own player.
class DesktopPlayers : public PlayerFactory
{
public:
    explicit DesktopPlayers(const Reelbox_B &shared) : shared_(shared) {}
    bool ShowModal(PlayerWindow, QWidget *) override { return OpenWithDesktop(shared_.PlayFile); }

private:
    const Reelbox_B &shared_;
};
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    InstallDesignFont();

    Reelbox_B shared(QCoreApplication::applicationDirPath());
    DesktopPlayers players(shared);
    Reelbox_S window(shared, players);
    window.show();
    return app.exec();
}
