// A stand-in for a desktop file manager in the system tests: a small window
// that, when pressed, starts a real drag of the files (or other locations)
// named on its command line as a "text/uri-list", as file managers offer them.
//
//   uri_drag_source X Y LOCATION...   (a location is a path or a URL)

#include <QApplication>
#include <QDrag>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

class DragSource : public QWidget
{
public:
    explicit DragSource(QList<QUrl> urls)
        : urls_(std::move(urls))
    {
        setWindowTitle(QStringLiteral("uri drag source"));
        setStyleSheet(QStringLiteral("background: rgb(200, 60, 60);"));
        setAttribute(Qt::WA_StyledBackground);
    }

protected:
    void mousePressEvent(QMouseEvent *) override
    {
        auto *data = new QMimeData;
        data->setUrls(urls_);
        auto *drag = new QDrag(this);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }

private:
    QList<QUrl> urls_;
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 4)
        return 2;
    QList<QUrl> urls;
    for (const QString &location : arguments.mid(3))
        urls.append(QFileInfo(location).isAbsolute() ? QUrl::fromLocalFile(location) : QUrl(location));
    DragSource source(urls);
    source.setGeometry(arguments[1].toInt(), arguments[2].toInt(), 120, 80);
    source.show();
    return app.exec();
}
