// The baseline for start-up: the least a Qt program does to put a window of
// the main window's size on the screen.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Baseline"));
    window.setFixedSize(489, 522);
    window.show();
    return app.exec();
}
