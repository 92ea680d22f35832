// The reach checker never asks the disk on the caller's thread: a look that
// hangs (a network share that does not answer) holds up neither the caller
// nor the answers of a newer round, and a replaced round's answers never come.

#include "app/reach_checker.h"

#include <QSemaphore>
#include <QTest>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Looks answer at once, except for "/hung/..." paths, which wait until let go.
struct Looks
{
    QSemaphore hung;
    std::atomic<int> onCallersThread = 0;
    QThread *const caller = QThread::currentThread();

    ReachLook Look()
    {
        return [this](const ReachQuestion &question) {
            if (QThread::currentThread() == caller)
                ++onCallersThread;
            if (question.path.startsWith("/hung/"))
                hung.acquire();
            const bool missing = question.path.contains("gone");
            return ReachAnswer{question.entry, question.row, question.path,
                               missing ? FavoriteReach::Missing : FavoriteReach::Playable};
        };
    }
};

TEST(ReachChecker, AHungLookHoldsUpNeitherTheCallerNorANewerRound)
{
    auto looks = std::make_shared<Looks>(); // outlives the threads it holds up
    ReachChecker checker(nullptr, looks->Look());
    QList<ReachAnswer> answered;
    QObject::connect(&checker, &ReachChecker::Answered, [&](const QList<ReachAnswer> &a) { answered += a; });

    checker.Check({{1, 0, {}, "/hung/a.avi"}, {2, 1, {}, "/old/b.avi"}}, true);
    checker.Check({{3, 0, {}, "/new/gone.avi"}, {4, 1, {}, "/new/c.avi"}}, true); // another group shown
    ASSERT_TRUE(QTest::qWaitFor([&] { return !checker.Busy(); }));
    ASSERT_EQ(answered.size(), 2);
    EXPECT_EQ(answered[0].entry, 3u);
    EXPECT_EQ(answered[0].reach, FavoriteReach::Missing);
    EXPECT_EQ(answered[1].reach, FavoriteReach::Playable);

    // A look the caller waits for gives up in time.
    const ReachAnswer waited = checker.CheckNow({5, 0, {}, "/hung/d.avi"}, 100);
    EXPECT_EQ(waited.reach, FavoriteReach::Missing);
    EXPECT_EQ(checker.CheckNow({6, 0, {}, "/new/e.avi"}).reach, FavoriteReach::Playable);

    looks->hung.release(2); // the share answers at last: the replaced round stays dropped
    QTest::qWait(50);
    EXPECT_EQ(answered.size(), 2) << "nothing of the replaced round came";
    EXPECT_EQ(looks->onCallersThread, 0);
}

} // namespace
