#pragma once
// Looks whether favourites' files can be reached, on threads of their own, so
// that a drive that does not answer (a network share gone away, a hung mount)
// never holds up the window. The answers come back on the checker's thread,
// in batches, as they are found.

#include "app/favorite_files.h"
#include "app/list_file.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

// One entry to look at: which entry (an id that stays with it while rows
// move), the row it held when asked, and the list-file record it was read
// from (record -1 for an entry added by its path).
struct ReachQuestion
{
    quint64 entry = 0;
    int row = 0;
    ListRecords records; // shared with the list, not copied
    QString path;
    qsizetype record = -1;
};

// What was found: the entry's path (a record is read again, since which of
// its readings names a file may change with the drive), its reach and, for a
// file that can be played, its size (-1 otherwise).
struct ReachAnswer
{
    quint64 entry = 0;
    int row = 0;
    QString path;
    FavoriteReach reach = FavoriteReach::Playable;
    qint64 size = -1;
};

// How one question is answered; it runs off the checker's thread.
using ReachLook = std::function<ReachAnswer(const ReachQuestion &)>;
ReachAnswer LookAtDisk(const ReachQuestion &question);

class ReachChecker : public QObject
{
    Q_OBJECT
public:
    explicit ReachChecker(QObject *parent = nullptr, ReachLook look = LookAtDisk);
    ~ReachChecker() override;

    // Looks at questions on a thread of its own. A whole list's round
    // (replacing) drops the whole-list round before it: its answers not yet
    // delivered never come.
    void Check(QList<ReachQuestion> questions, bool replacing);
    // Looks at one entry on a thread of its own and waits for the answer; a
    // look that takes longer than limitMs answers Missing.
    ReachAnswer CheckNow(const ReachQuestion &question, int limitMs = 2000);
    // Whether answers are still to come.
    bool Busy() const { return !live_.isEmpty(); }

signals:
    void Answered(const QList<ReachAnswer> &answers);

private:
    struct Link;
    quint64 Start(QList<ReachQuestion> questions, std::shared_ptr<std::atomic_bool> dropped);
    void Deliver(quint64 round, const QList<ReachAnswer> &answers, bool last);

    ReachLook look_;
    std::shared_ptr<Link> link_;
    QSet<quint64> live_;
    quint64 nextRound_ = 1;
    quint64 listRound_ = 0;
    std::shared_ptr<std::atomic_bool> listDropped_;
};
