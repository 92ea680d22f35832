#pragma once
// Keeps the store's point of the file that plays up to date: when it starts,
// when it pauses or stops, every 10 s while it plays (so a kill loses at most
// that), at its end (watched) and when its window closes. No timer runs while
// nothing plays. While a list plays, the list's point is written with each of
// its files' points.

#include "app/resume_store.h"

#include <QMetaObject>
#include <QObject>
#include <QTimer>
#include <optional>

class PlaybackEngine;

class ResumeRecorder : public QObject
{
    Q_OBJECT
public:
    explicit ResumeRecorder(ResumeStore &store, QObject *parent = nullptr);

    // path starts playing on engine; its point is written from now on, for
    // the file there now (its size and time are read here, once).
    void Playing(const QString &path, PlaybackEngine &engine);
    // Its window has closed: the last point heard is written.
    void Stopped();
    // From now on, whenever the file playing is place.path, list's point is
    // written too: place with the file's position and length.
    void PlayingInList(const QString &list, const ListPoint &place);
    // What plays from now on belongs to no list.
    void NotInList();

private:
    void OnStateChanged();
    void OnPosition(double seconds);
    void OnEndOfStream();
    // Hears the engine no more; the timer stops.
    void StopListening();
    void Write();

    ResumeStore &store_;
    PlaybackEngine *engine_ = nullptr;
    QString path_;
    std::optional<FileIdentity> identity_; // none: the file is not there, nothing is written
    FilePoint point_;
    bool started_ = false; // the file has played: its position is its own, not the opening's 0
    QTimer periodic_;
    QList<QMetaObject::Connection> connections_;
    QString list_; // the list playing, if any
    ListPoint listPlace_;
};
