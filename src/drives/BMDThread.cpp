#include "BMDThread.h"

#include <algorithm>

#include "platform/ThreadPriority.h"

// --- base -----------------------------------------------------------------------

TBMDThreadBase::TBMDThreadBase(QObject* owner)
    : QObject(owner)
{
}

// The derived classes leave their group in their own destructors, where
// DetachFrom still is theirs.
TBMDThreadBase::~TBMDThreadBase() = default;

bool TBMDThreadBase::IsSelfOrAbove(const TBMDThreadGroup* group) const
{
    for (const TBMDThreadBase* g = group; g; g = g->ThreadGroup())
        if (g == this)
            return true;
    return false;
}

void TBMDThreadBase::setThreadGroup(TBMDThreadGroup* group)
{
    if (group == threadGroup_)
        return;
    if (threadGroup_)
        DetachFrom(threadGroup_);
    threadGroup_ = nullptr;
    if (group && AttachTo(group))
        threadGroup_ = group;
}

// --- one run's thread ---------------------------------------------------------------

TBMDExecuteThread::TBMDExecuteThread(TBMDThread* owner, void* data, TThreadPriority priority)
    : Data(data), owner_(owner), priority_(int(priority))
{
    thread_ = std::thread([this] { Body(); });
}

TBMDExecuteThread::~TBMDExecuteThread()
{
    if (thread_.joinable())
        thread_.join();
}

void TBMDExecuteThread::Body()
{
    {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait(lock, [this] { return !suspended_; });
    }
    threadId_ = CurrentThreadId();
    if (const int p = priority_.load(); p != int(TThreadPriority::tpNormal))
        SetThreadPriorityLevel(threadId_, p);
    TBMDThread* owner = owner_;
    owner->DoExecute(this);
    // The end is handled on the GUI thread; nothing here touches this
    // object after the call is posted.
    QMetaObject::invokeMethod(owner, [owner, self = this] { owner->ThreadEnded(self); }, Qt::QueuedConnection);
}

bool TBMDExecuteThread::Terminated()
{
    {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait(lock, [this] { return !suspended_; });
    }
    return terminated_.load();
}

void TBMDExecuteThread::Terminate()
{
    terminated_ = true;
}

bool TBMDExecuteThread::Suspended() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return suspended_;
}

void TBMDExecuteThread::Suspend()
{
    std::lock_guard<std::mutex> lock(mutex_);
    suspended_ = true;
}

void TBMDExecuteThread::Resume()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        suspended_ = false;
    }
    wake_.notify_all();
}

void TBMDExecuteThread::SetPriority(TThreadPriority p)
{
    priority_ = int(p);
    if (const int id = threadId_.load())
        SetThreadPriorityLevel(id, int(p));
}

// --- worker ---------------------------------------------------------------------------

TBMDThread::TBMDThread(QObject* owner)
    : TBMDThreadBase(owner)
{
    timer_.setInterval(100);
    connect(&timer_, &QTimer::timeout, this, [this] { DoUpdate(); });
}

TBMDThread::~TBMDThread()
{
    timer_.stop();
    // The group learns that this worker leaves it, running or not.
    setThreadGroup(nullptr);
    if (!thread_)
        return;
    // Asked to stop, the thread is waited for here rather than through a
    // pass of the whole event loop: the owner (the main window) may be half
    // destroyed, and the loop would hand its controls events. The end the
    // thread posts goes with this object unhandled.
    thread_->forgetOnly_ = true;
    Stop();
    TBMDExecuteThread* t = thread_;
    t->thread_.join();
    ForgetThread();
    delete t;
}

void TBMDThread::setPriority(TThreadPriority p)
{
    priority_ = p;
    if (thread_)
        thread_->SetPriority(p);
}

void TBMDThread::setUpdateEnabled(bool on)
{
    if (on == updateEnabled_)
        return;
    updateEnabled_ = on;
    if (on)
        timer_.start();
    else
        timer_.stop();
}

void TBMDThread::NotifyStarted(TBMDThreadGroup* Group)
{
    if (Group && thread_)
        Group->ReportStarted(this, thread_, thread_->Data);
}

void TBMDThread::NotifyTerminated(TBMDThreadGroup* Group)
{
    TBMDExecuteThread* t = thread_ ? thread_ : ending_;
    if (Group && t)
        Group->ReportTerminated(this, t, t->Data);
}

bool TBMDThread::AttachTo(TBMDThreadGroup* Group)
{
    if (!Group || IsSelfOrAbove(Group))
        return false;
    if (thread_)
        NotifyStarted(Group);
    Group->AddMember(this);
    return true;
}

void TBMDThread::DetachFrom(TBMDThreadGroup* Group)
{
    if (!Group)
        return;
    Group->RemoveMember(this);
    // A running worker that leaves ends its run for the group, so that the
    // group's count still says how many of its workers run.
    if (thread_)
        NotifyTerminated(Group);
}

void TBMDThread::StartWith(void* Data)
{
    if (thread_)
        return;
    thread_ = new TBMDExecuteThread(this, Data, priority_);
    endedTerminated_ = false;
    NotifyStarted(ThreadGroup());
    if (OnStart && thread_) {
        std::lock_guard<std::recursive_mutex> lock(Lock);
        OnStart(this, thread_, thread_->Data);
    }
    if (thread_)
        thread_->Resume();
    if (updateEnabled_)
        timer_.start();
}

void TBMDThread::Stop()
{
    if (!thread_)
        return;
    thread_->Terminate();
    thread_->Resume();
}

void TBMDThread::Suspend()
{
    if (thread_)
        thread_->Suspend();
}

void TBMDThread::Resume()
{
    if (thread_)
        thread_->Resume();
}

void TBMDThread::DoUpdate()
{
    TBMDExecuteThread* t = thread_;
    if (!t)
        return;
    const int percent = t->Percent();
    if (ThreadGroup())
        ThreadGroup()->ReportUpdate(this, t, t->Data, percent);
    if (OnUpdate && thread_ == t) {
        std::lock_guard<std::recursive_mutex> lock(Lock);
        OnUpdate(this, t, t->Data, percent);
    }
}

void TBMDThread::DoExecute(TBMDExecuteThread* thread)
{
    if (OnExecute)
        OnExecute(this, thread, thread->Data);
    endedTerminated_ = thread->terminated_.load();
}

void TBMDThread::DoTerminate()
{
    timer_.stop();
    TBMDExecuteThread* t = thread_;
    ForgetThread();
    ending_ = t;
    NotifyTerminated(ThreadGroup());
    if (OnTerminate && t) {
        std::lock_guard<std::recursive_mutex> lock(Lock);
        OnTerminate(this, t, t->Data);
    }
    ending_ = nullptr;
    if (updateEnabled_)
        timer_.start();
}

void TBMDThread::ForgetThread()
{
    thread_ = nullptr;
}

void TBMDThread::ThreadEnded(TBMDExecuteThread* thread)
{
    thread->thread_.join();
    if (thread == thread_) {
        if (thread->forgetOnly_)
            ForgetThread();
        else
            DoTerminate();
    }
    delete thread;
}

// --- group ------------------------------------------------------------------------------

TBMDThreadGroup::TBMDThreadGroup(QObject* owner)
    : TBMDThreadBase(owner)
{
}

TBMDThreadGroup::~TBMDThreadGroup()
{
    destroying_ = true;
    while (!members_.empty())
        members_.front()->setThreadGroup(nullptr);
    setThreadGroup(nullptr);
}

std::vector<TBMDThreadBase*> TBMDThreadGroup::Members() const
{
    std::lock_guard<std::recursive_mutex> lock(Lock);
    return members_;
}

std::vector<TBMDThread*> TBMDThreadGroup::AllWorkers() const
{
    std::vector<TBMDThread*> all;
    for (TBMDThreadBase* m : Members()) {
        if (auto* w = qobject_cast<TBMDThread*>(m)) {
            all.push_back(w);
        } else if (auto* g = qobject_cast<TBMDThreadGroup*>(m)) {
            const std::vector<TBMDThread*> below = g->AllWorkers();
            all.insert(all.end(), below.begin(), below.end());
        }
    }
    return all;
}

int TBMDThreadGroup::RunningCount() const
{
    std::lock_guard<std::recursive_mutex> lock(Lock);
    return runningCount_;
}

void TBMDThreadGroup::NotifyStarted(TBMDThreadGroup* Group)
{
    for (TBMDThreadBase* m : Members())
        m->NotifyStarted(Group);
}

void TBMDThreadGroup::NotifyTerminated(TBMDThreadGroup* Group)
{
    for (TBMDThreadBase* m : Members())
        m->NotifyTerminated(Group);
}

bool TBMDThreadGroup::AttachTo(TBMDThreadGroup* Group)
{
    if (!Group || IsSelfOrAbove(Group))
        return false;
    if (RunningCount() > 0)
        NotifyStarted(Group);
    Group->AddMember(this);
    return true;
}

void TBMDThreadGroup::DetachFrom(TBMDThreadGroup* Group)
{
    if (!Group)
        return;
    Group->RemoveMember(this);
    if (RunningCount() > 0)
        NotifyTerminated(Group);
}

void TBMDThreadGroup::StartWith(void* Data)
{
    for (TBMDThreadBase* m : Members())
        m->StartWith(Data);
}

void TBMDThreadGroup::Stop()
{
    for (TBMDThreadBase* m : Members())
        m->Stop();
}

void TBMDThreadGroup::Suspend()
{
    for (TBMDThreadBase* m : Members())
        m->Suspend();
}

void TBMDThreadGroup::Resume()
{
    for (TBMDThreadBase* m : Members())
        m->Resume();
}

void TBMDThreadGroup::ReportStarted(TBMDThread* worker, TBMDExecuteThread* thread, void*& data)
{
    bool first = false;
    if (!destroying_) {
        std::lock_guard<std::recursive_mutex> lock(Lock);
        first = runningCount_ == 0;
        ++runningCount_;
        if (OnThreadStart)
            OnThreadStart(worker, thread, data);
    }
    if (ThreadGroup())
        ThreadGroup()->ReportStarted(worker, thread, data);
    if (first && OnStart)
        OnStart(worker, thread, data);
}

void TBMDThreadGroup::ReportTerminated(TBMDThread* worker, TBMDExecuteThread* thread, void*& data)
{
    if (!destroying_) {
        std::lock_guard<std::recursive_mutex> lock(Lock);
        if (runningCount_ > 0)
            --runningCount_;
        if (OnThreadTerminate)
            OnThreadTerminate(worker, thread, data);
    }
    if (ThreadGroup())
        ThreadGroup()->ReportTerminated(worker, thread, data);
    if (!destroying_ && RunningCount() == 0 && OnTerminate)
        OnTerminate(worker, thread, data);
}

void TBMDThreadGroup::ReportUpdate(TBMDThread* worker, TBMDExecuteThread* thread, void*& data, int percent)
{
    if (OnThreadUpdate)
        OnThreadUpdate(worker, thread, data, percent);
    if (!OnUpdate)
        return;
    for (TBMDThreadBase* m : Members())
        if (m->IsRunning() && m->UpdatePriority() > worker->UpdatePriority())
            return;
    OnUpdate(worker, thread, data, percent);
}

void TBMDThreadGroup::AddMember(TBMDThreadBase* m)
{
    std::lock_guard<std::recursive_mutex> lock(Lock);
    members_.push_back(m);
}

void TBMDThreadGroup::RemoveMember(TBMDThreadBase* m)
{
    std::lock_guard<std::recursive_mutex> lock(Lock);
    members_.erase(std::remove(members_.begin(), members_.end(), m), members_.end());
}
