// The worker-thread component: TBMDThread runs its OnExecute handler on a
// thread of its own (a TBMDExecuteThread, one per run) and reports start,
// progress and end to handlers on the GUI thread; TBMDThreadGroup collects
// workers and other groups and reports when the first of them starts and the
// last of them ends.
//
// Threads are std::thread; the end of a run reaches the GUI thread as a
// queued call. Suspension is cooperative: a suspended thread stops at its
// next check point, which is before its work begins and every call of
// Terminated() by the work.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class TBMDExecuteThread;
class TBMDThread;
class TBMDThreadGroup;

using TBMDThreadDataNotifyEvent = std::function<void(QObject* Sender, TBMDExecuteThread* Thread, void*& Data)>;
using TBMDThreadUpdateNotifyEvent
    = std::function<void(QObject* Sender, TBMDExecuteThread* Thread, void*& Data, int Percent)>;

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TBMDThreadBase : public QObject {
    Q_OBJECT
public:
    explicit TBMDThreadBase(QObject* owner = nullptr);
    ~TBMDThreadBase() override;

    QString Name() const { return objectName(); }
    void setName(const QString& name) { setObjectName(name); }

    TBMDThreadUpdateNotifyEvent OnUpdate;
    TBMDThreadDataNotifyEvent OnStart;
    TBMDThreadDataNotifyEvent OnTerminate;

    TBMDThreadGroup* ThreadGroup() const { return threadGroup_; }
    // Leaves the old group and joins the new one; a group that would become
    // its own member (directly or through its members) is refused and the
    // reference stays unset.
    void setThreadGroup(TBMDThreadGroup* group);
    int UpdatePriority() const { return updatePriority_; }
    void setUpdatePriority(int p) { updatePriority_ = p; }

    virtual bool IsRunning() const = 0;
    virtual void NotifyStarted(TBMDThreadGroup* Group) = 0;
    virtual void NotifyTerminated(TBMDThreadGroup* Group) = 0;
    virtual bool AttachTo(TBMDThreadGroup* Group) = 0;
    virtual void DetachFrom(TBMDThreadGroup* Group) = 0;
    virtual void Start() { StartWith(nullptr); }
    virtual void StartWith(void* Data) = 0;
    virtual void Stop() = 0;
    virtual void Suspend() = 0;
    virtual void Resume() = 0;

protected:
    // Whether this is `group` or a group above it by ThreadGroup links.
    bool IsSelfOrAbove(const TBMDThreadGroup* group) const;

    mutable std::recursive_mutex Lock;
    TBMDThreadGroup* threadGroup_ = nullptr;
    int updatePriority_ = 0;
};

// One run of a worker. Created suspended by its owner, it frees itself once
// its end has been handled on the GUI thread.
class TBMDExecuteThread {
public:
    TBMDThread* Owner() const { return owner_; }
    // The run's data, handed by reference to every handler.
    void* Data = nullptr;
    // Progress, set by the work, reported by the update timer.
    int Percent() const { return percent_.load(std::memory_order_relaxed); }
    void setPercent(int p) { percent_.store(p, std::memory_order_relaxed); }

    // Whether the run has been asked to stop. Called by the work; waits
    // here while the thread is suspended.
    bool Terminated();
    void Terminate();
    bool Suspended() const;

private:
    friend class TBMDThread;
    TBMDExecuteThread(TBMDThread* owner, void* data, TThreadPriority priority);
    ~TBMDExecuteThread();
    void Body();
    void Resume();
    void Suspend();
    void SetPriority(TThreadPriority p);

    TBMDThread* owner_;
    std::atomic<int> percent_{0};
    std::atomic<bool> terminated_{false};
    std::atomic<bool> forgetOnly_{false}; // the owner is going: its end only forgets it
    std::atomic<int> threadId_{0};
    std::atomic<int> priority_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool suspended_ = true;
    std::thread thread_;
};

class TBMDThread : public TBMDThreadBase {
    Q_OBJECT
public:
    explicit TBMDThread(QObject* owner = nullptr);
    // A running worker leaves its group, is asked to stop and waited for;
    // its end then reports to nobody. (Its work must not wait for the GUI
    // thread once asked to stop.)
    ~TBMDThread() override;

    TBMDThreadDataNotifyEvent OnExecute;

    unsigned RefreshInterval() const { return unsigned(timer_.interval()); }
    void setRefreshInterval(unsigned ms) { timer_.setInterval(int(ms)); }
    TThreadPriority Priority() const { return priority_; }
    void setPriority(TThreadPriority p);
    bool UpdateEnabled() const { return updateEnabled_; }
    void setUpdateEnabled(bool on);
    // Always none: handlers are not synchronised by method.
    int SynchroMethods() const { return 0; }

    // The running thread, none while idle.
    TBMDExecuteThread* Thread() const { return thread_; }
    // Whether the last run's thread had been asked to stop when its work
    // returned.
    bool EndedTerminated() const { return endedTerminated_.load(); }
    bool UpdateTimerActive() const { return timer_.isActive(); }

    bool IsRunning() const override { return thread_ != nullptr; }
    void NotifyStarted(TBMDThreadGroup* Group) override;
    void NotifyTerminated(TBMDThreadGroup* Group) override;
    bool AttachTo(TBMDThreadGroup* Group) override;
    void DetachFrom(TBMDThreadGroup* Group) override;
    void StartWith(void* Data) override;
    void Stop() override;
    void Suspend() override;
    void Resume() override;

    // Each tick of the update timer.
    void DoUpdate();
    // On the worker thread.
    void DoExecute(TBMDExecuteThread* thread);
    // On the GUI thread, when a run's thread has ended.
    void DoTerminate();
    void ForgetThread();

private:
    friend class TBMDExecuteThread;
    void ThreadEnded(TBMDExecuteThread* thread);

    QTimer timer_;
    TBMDExecuteThread* thread_ = nullptr;
    TBMDExecuteThread* ending_ = nullptr; // the thread whose end is being reported
    TThreadPriority priority_ = TThreadPriority::tpNormal;
    bool updateEnabled_ = false;
    std::atomic<bool> endedTerminated_{false};
};

class TBMDThreadGroup : public TBMDThreadBase {
    Q_OBJECT
public:
    explicit TBMDThreadGroup(QObject* owner = nullptr);
    // Its members leave it first.
    ~TBMDThreadGroup() override;

    TBMDThreadUpdateNotifyEvent OnThreadUpdate;
    TBMDThreadDataNotifyEvent OnThreadStart;
    TBMDThreadDataNotifyEvent OnThreadTerminate;

    // The workers and groups whose ThreadGroup is this group, in joining order.
    std::vector<TBMDThreadBase*> Members() const;
    // Every worker in this group or in any group below it.
    std::vector<TBMDThread*> AllWorkers() const;
    int RunningCount() const;

    bool IsRunning() const override { return RunningCount() > 0; }
    void NotifyStarted(TBMDThreadGroup* Group) override;
    void NotifyTerminated(TBMDThreadGroup* Group) override;
    bool AttachTo(TBMDThreadGroup* Group) override;
    void DetachFrom(TBMDThreadGroup* Group) override;
    void StartWith(void* Data) override;
    void Stop() override;
    void Suspend() override;
    void Resume() override;

    // The reports of a member worker's run, here and in the groups above.
    void ReportStarted(TBMDThread* worker, TBMDExecuteThread* thread, void*& data);
    void ReportTerminated(TBMDThread* worker, TBMDExecuteThread* thread, void*& data);
    void ReportUpdate(TBMDThread* worker, TBMDExecuteThread* thread, void*& data, int percent);

private:
    friend class TBMDThread;
    void AddMember(TBMDThreadBase* m);
    void RemoveMember(TBMDThreadBase* m);

    std::vector<TBMDThreadBase*> members_;
    int runningCount_ = 0;
    bool destroying_ = false;
};
