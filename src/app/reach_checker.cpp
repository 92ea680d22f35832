#include "app/reach_checker.h"

#include "app/list_file.h"
#include "base/background_thread.h"
#include "base/file_names.h"

#include <QElapsedTimer>
#include <future>
#include <mutex>
#include <thread>

namespace {

// Answers go back in batches of at most this many, or after this long: the
// window marks rows a few times a second, not once per entry.
constexpr qsizetype BatchSize = 1024;
constexpr qint64 BatchMilliseconds = 40;

} // namespace

// What a looking thread shares with the checker: the checker, for as long as
// it exists. A thread held up by a drive that never answers outlives it
// harmlessly.
struct ReachChecker::Link
{
    std::mutex mutex;
    ReachChecker *receiver = nullptr;

    void Post(quint64 round, QList<ReachAnswer> answers, bool last)
    {
        const std::lock_guard lock(mutex);
        if (!receiver)
            return;
        QMetaObject::invokeMethod(
            receiver, [to = receiver, round, answers = std::move(answers), last] { to->Deliver(round, answers, last); },
            Qt::QueuedConnection);
    }
};

ReachAnswer LookAtDisk(const ReachQuestion &question)
{
    const QString path = question.record < 0 ? question.path : DecodeListRecord(question.records.at(question.record));
    const FavoriteReach reach = ReachOf(path);
    return {question.entry, question.row, path, reach,
            reach == FavoriteReach::Playable ? IdentityOf(path) : std::nullopt};
}

ReachChecker::ReachChecker(QObject *parent, ReachLook look)
    : QObject(parent)
    , look_(std::move(look))
    , link_(std::make_shared<Link>())
{
    link_->receiver = this;
}

ReachChecker::~ReachChecker()
{
    if (listDropped_)
        *listDropped_ = true;
    const std::lock_guard lock(link_->mutex);
    link_->receiver = nullptr;
}

void ReachChecker::Check(QList<ReachQuestion> questions, bool replacing)
{
    if (!replacing) {
        Start(std::move(questions), nullptr);
        return;
    }
    if (listDropped_)
        *listDropped_ = true;
    live_.remove(listRound_);
    listDropped_ = std::make_shared<std::atomic_bool>(false);
    listRound_ = Start(std::move(questions), listDropped_);
}

quint64 ReachChecker::Start(QList<ReachQuestion> questions, std::shared_ptr<std::atomic_bool> dropped)
{
    const quint64 round = nextRound_++;
    live_.insert(round);
    std::thread([link = link_, look = look_, questions = std::move(questions), round, dropped = std::move(dropped)] {
        GiveWayToTheWindow();
        QList<ReachAnswer> batch;
        QElapsedTimer sincePost;
        sincePost.start();
        for (const ReachQuestion &question : questions) {
            if (dropped && *dropped)
                return;
            batch.append(look(question));
            if (batch.size() >= BatchSize || sincePost.elapsed() >= BatchMilliseconds) {
                link->Post(round, std::exchange(batch, {}), false);
                sincePost.restart();
            }
        }
        link->Post(round, std::move(batch), true);
    }).detach();
    return round;
}

void ReachChecker::Deliver(quint64 round, const QList<ReachAnswer> &answers, bool last)
{
    if (!live_.contains(round))
        return; // dropped: a newer round took its place
    if (last)
        live_.remove(round);
    if (!answers.isEmpty())
        emit Answered(answers);
}

ReachAnswer ReachChecker::CheckNow(const ReachQuestion &question, int limitMs)
{
    // The caller waits without running its event loop, so nothing else
    // happens meanwhile (a play loop's events keep their order); a drive that
    // does not answer holds it for limitMs at most, never for good.
    auto answer = std::make_shared<std::promise<ReachAnswer>>();
    std::future<ReachAnswer> answered = answer->get_future();
    std::thread([look = look_, question, answer] { answer->set_value(look(question)); }).detach();
    if (answered.wait_for(std::chrono::milliseconds(limitMs)) == std::future_status::ready)
        return answered.get();
    return {question.entry, question.row, question.path, FavoriteReach::Missing, std::nullopt};
}
