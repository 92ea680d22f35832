#pragma once
// A throw-away program folder for a test: the settings file, the list files and
// any sample files live in a fresh temporary folder that vanishes afterwards.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class ProgramFolder
{
public:
    QString Path() const { return dir_.path(); }
    QString FilePath(const QString &name) const { return dir_.filePath(name); }

    // Writes bytes to name (creating folders on the way) and returns its path.
    QString Write(const QString &name, const QByteArray &bytes) const
    {
        const QString path = FilePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return path;
    }

    QByteArray Read(const QString &name) const
    {
        QFile file(FilePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    bool Exists(const QString &name) const { return QFileInfo::exists(FilePath(name)); }

    QString MakeFolder(const QString &name) const
    {
        QDir().mkpath(FilePath(name));
        return FilePath(name);
    }

private:
    QTemporaryDir dir_;
};
