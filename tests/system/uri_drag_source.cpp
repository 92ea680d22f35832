// A stand-in for a desktop file manager in the system tests: a small window
// that, when pressed, starts a real drag of the files (or other locations)
// named on its command line as a "text/uri-list", as file managers offer them.
//
//   uri_drag_source X Y LOCATION...   (a location is a path or a URL)
//
// A path is offered as the file URL of its bytes; a URL is offered byte for
// byte as given, so a test can offer what other programs write (a host, odd
// escapes).

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QWidget>

class DragSource : public QWidget
{
public:
    explicit DragSource(QByteArray uriList)
        : uriList_(std::move(uriList))
    {
        setWindowTitle(QStringLiteral("uri drag source"));
        setStyleSheet(QStringLiteral("background: rgb(200, 60, 60);"));
        setAttribute(Qt::WA_StyledBackground);
    }

protected:
    void mousePressEvent(QMouseEvent *) override
    {
        auto *data = new QMimeData;
        data->setData(QStringLiteral("text/uri-list"), uriList_);
        auto *drag = new QDrag(this);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }

private:
    QByteArray uriList_;
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 4)
        return 2;
    QByteArray uriList;
    for (int i = 3; i < argc; ++i) {
        const QByteArray location(argv[i]);
        uriList += (location.startsWith('/') ? "file://" + location.toPercentEncoding("/") : location) + "\r\n";
    }
    DragSource source(uriList);
    source.setGeometry(QByteArray(argv[1]).toInt(), QByteArray(argv[2]).toInt(), 120, 80);
    source.show();
    return app.exec();
}
