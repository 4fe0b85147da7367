// The worker component: runs, ends, reports on the GUI thread, groups and
// their counts, update ranking, refused cycles, destruction while running.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "drives/BMDThread.h"
#include "platform/ThreadPriority.h"

namespace {

// Runs the event loop until the condition holds (false after 5 s).
template <class F>
bool WaitUntil(F condition)
{
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > 5000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// Work that runs until it is asked to stop, counting its rounds.
struct Loop {
    std::atomic<int> rounds{0};
    std::atomic<bool> started{false};
    void Attach(TBMDThread& w)
    {
        w.OnExecute = [this](QObject*, TBMDExecuteThread* t, void*&) {
            started = true;
            while (!t->Terminated()) {
                ++rounds;
                t->setPercent(rounds % 100);
                QThread::usleep(200);
            }
        };
    }
};

TEST(BMDThread, AWorkerWithoutWorkEndsAtOnceAndItsGroupReportsEachRun)
{
    TBMDThreadGroup group;
    TBMDThread worker;
    worker.setThreadGroup(&group);
    int groupStarts = 0, groupEnds = 0, ends = 0;
    QObject* endSender = nullptr;
    group.OnStart = [&](QObject* s, TBMDExecuteThread*, void*&) {
        ++groupStarts;
        EXPECT_EQ(s, &worker);
    };
    group.OnTerminate = [&](QObject*, TBMDExecuteThread*, void*&) { ++groupEnds; };
    worker.OnTerminate = [&](QObject* s, TBMDExecuteThread* t, void*& data) {
        ++ends;
        endSender = s;
        EXPECT_EQ(t->Owner(), &worker);
        EXPECT_EQ(data, &ends);
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
    };
    for (int run = 1; run <= 2; ++run) {
        worker.StartWith(&ends);
        EXPECT_TRUE(worker.IsRunning());
        EXPECT_EQ(group.RunningCount(), 1);
        ASSERT_TRUE(WaitUntil([&] { return !worker.IsRunning(); }));
        EXPECT_EQ(group.RunningCount(), 0);
        EXPECT_EQ(groupStarts, run);
        EXPECT_EQ(groupEnds, run);
        EXPECT_EQ(ends, run);
    }
    EXPECT_EQ(endSender, &worker);
    EXPECT_FALSE(worker.EndedTerminated());
}

TEST(BMDThread, StartWhileRunningIsIgnoredAndStopOnAnIdleWorkerDoesNothing)
{
    TBMDThread worker;
    int starts = 0, ends = 0;
    worker.OnStart = [&](QObject*, TBMDExecuteThread*, void*&) { ++starts; };
    worker.OnTerminate = [&](QObject*, TBMDExecuteThread*, void*&) { ++ends; };
    worker.Stop(); // idle
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(ends, 0);

    Loop loop;
    loop.Attach(worker);
    worker.Start();
    TBMDExecuteThread* first = worker.Thread();
    ASSERT_TRUE(WaitUntil([&] { return loop.started.load(); }));
    worker.Start();
    EXPECT_EQ(worker.Thread(), first);
    EXPECT_EQ(starts, 1);

    worker.Stop();
    EXPECT_TRUE(worker.IsRunning()); // Stop does not wait
    ASSERT_TRUE(WaitUntil([&] { return !worker.IsRunning(); }));
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(worker.EndedTerminated());
}

TEST(BMDThread, SuspendHoldsTheWorkAtItsNextCheckAndResumeLetsItGoOn)
{
    TBMDThread worker;
    Loop loop;
    loop.Attach(worker);
    worker.Start();
    ASSERT_TRUE(WaitUntil([&] { return loop.rounds > 5; }));
    worker.Suspend();
    QThread::msleep(20);
    const int held = loop.rounds;
    QThread::msleep(30);
    EXPECT_LE(loop.rounds - held, 1);
    worker.Resume();
    EXPECT_TRUE(WaitUntil([&] { return loop.rounds > held + 5; }));
    // A suspended run asked to stop is resumed to see it.
    worker.Suspend();
    worker.Stop();
    EXPECT_TRUE(WaitUntil([&] { return !worker.IsRunning(); }));
}

TEST(BMDThreadGroup, FirstStartAndLastEndOfTwoWorkersAndTheHighestRankedUpdate)
{
    TBMDThreadGroup group;
    TBMDThread low, high;
    low.setThreadGroup(&group);
    high.setThreadGroup(&group);
    low.setUpdatePriority(1);
    high.setUpdatePriority(5);
    std::vector<QObject*> starts, ends, updates;
    group.OnStart = [&](QObject* s, TBMDExecuteThread*, void*&) { starts.push_back(s); };
    group.OnTerminate = [&](QObject* s, TBMDExecuteThread*, void*&) { ends.push_back(s); };
    group.OnUpdate = [&](QObject* s, TBMDExecuteThread*, void*&, int) { updates.push_back(s); };
    int threadUpdates = 0;
    group.OnThreadUpdate = [&](QObject*, TBMDExecuteThread*, void*&, int) { ++threadUpdates; };
    Loop a, b;
    a.Attach(low);
    b.Attach(high);

    low.Start();
    high.Start();
    EXPECT_EQ(group.RunningCount(), 2);
    EXPECT_EQ(starts, std::vector<QObject*>{&low});
    // Both report; the group shows only the higher ranked one.
    low.DoUpdate();
    high.DoUpdate();
    EXPECT_EQ(updates, std::vector<QObject*>{&high});
    EXPECT_EQ(threadUpdates, 2);

    high.Stop();
    ASSERT_TRUE(WaitUntil([&] { return !high.IsRunning(); }));
    EXPECT_TRUE(ends.empty());
    low.DoUpdate(); // now the only one running
    EXPECT_EQ(updates, (std::vector<QObject*>{&high, &low}));
    low.Stop();
    ASSERT_TRUE(WaitUntil([&] { return !low.IsRunning(); }));
    EXPECT_EQ(ends, std::vector<QObject*>{&low});
    EXPECT_EQ(group.RunningCount(), 0);
}

TEST(BMDThreadGroup, NestedGroupsCountTheirWorkersAndCyclesAreRefused)
{
    TBMDThreadGroup outer, inner, other;
    inner.setThreadGroup(&outer);
    EXPECT_EQ(inner.ThreadGroup(), &outer);
    TBMDThread worker;
    worker.setThreadGroup(&inner);
    EXPECT_EQ(outer.AllWorkers(), std::vector<TBMDThread*>{&worker});
    EXPECT_EQ(outer.Members(), std::vector<TBMDThreadBase*>{&inner});

    // A group into itself, or into one of its own members: refused.
    other.setThreadGroup(&other);
    EXPECT_EQ(other.ThreadGroup(), nullptr);
    outer.setThreadGroup(&inner);
    EXPECT_EQ(outer.ThreadGroup(), nullptr);
    EXPECT_TRUE(inner.Members().size() == 1);

    Loop loop;
    loop.Attach(worker);
    worker.Start();
    EXPECT_EQ(inner.RunningCount(), 1);
    EXPECT_EQ(outer.RunningCount(), 1);
    // A running group that joins another brings its running worker along;
    // one that leaves takes it away.
    inner.setThreadGroup(&other);
    EXPECT_EQ(outer.RunningCount(), 0);
    EXPECT_EQ(other.RunningCount(), 1);
    worker.Stop();
    ASSERT_TRUE(WaitUntil([&] { return !worker.IsRunning(); }));
    EXPECT_EQ(inner.RunningCount(), 0);
    EXPECT_EQ(other.RunningCount(), 0);
}

TEST(BMDThreadGroup, ARunningWorkerThatJoinsOrLeavesIsCounted)
{
    TBMDThreadGroup group;
    TBMDThread worker;
    Loop loop;
    loop.Attach(worker);
    worker.Start();
    int ends = 0;
    group.OnTerminate = [&](QObject*, TBMDExecuteThread*, void*&) { ++ends; };
    worker.setThreadGroup(&group);
    EXPECT_EQ(group.RunningCount(), 1);
    worker.setThreadGroup(nullptr);
    EXPECT_EQ(group.RunningCount(), 0);
    EXPECT_EQ(ends, 1);
    worker.Stop();
    ASSERT_TRUE(WaitUntil([&] { return !worker.IsRunning(); }));
    EXPECT_EQ(ends, 1);
}

TEST(BMDThread, DestroyingARunningWorkerStopsItAndReportsNothingOfItsOwn)
{
    TBMDThreadGroup group;
    Loop loop;
    int ends = 0;
    {
        TBMDThread worker;
        worker.setThreadGroup(&group);
        worker.OnTerminate = [&](QObject*, TBMDExecuteThread*, void*&) { ++ends; };
        loop.Attach(worker);
        worker.Start();
        ASSERT_TRUE(WaitUntil([&] { return loop.rounds > 2; }));
    }
    EXPECT_EQ(ends, 0);
    EXPECT_EQ(group.RunningCount(), 0);
    EXPECT_TRUE(group.Members().empty());
    // Nothing of the worker is left to be delivered.
    QCoreApplication::processEvents();
}

TEST(BMDThread, UpdatesCarryTheWorksPercentAndPriorityReachesTheThread)
{
    TBMDThread worker;
    worker.setRefreshInterval(5);
    worker.setPriority(TThreadPriority::tpLowest);
    std::atomic<int> nice{-100};
    std::vector<int> percents;
    worker.OnUpdate = [&](QObject*, TBMDExecuteThread*, void*&, int p) { percents.push_back(p); };
    std::atomic<bool> go{false};
    worker.OnExecute = [&](QObject*, TBMDExecuteThread* t, void*&) {
        nice = ::getpriority(PRIO_PROCESS, id_t(CurrentThreadId()));
        t->setPercent(42);
        while (!go && !t->Terminated())
            QThread::msleep(1);
    };
    EXPECT_FALSE(worker.UpdateTimerActive());
    worker.setUpdateEnabled(true);
    worker.Start();
    ASSERT_TRUE(WaitUntil([&] { return !percents.empty() && percents.back() == 42; }));
    EXPECT_EQ(nice.load(), NiceOfPriorityLevel(int(TThreadPriority::tpLowest)));
    go = true;
    ASSERT_TRUE(WaitUntil([&] { return !worker.IsRunning(); }));
    // The timer runs on after the end; its ticks find no run.
    EXPECT_TRUE(worker.UpdateTimerActive());
    const std::size_t after = percents.size();
    QThread::msleep(20);
    QCoreApplication::processEvents();
    EXPECT_EQ(percents.size(), after);
}

} // namespace
