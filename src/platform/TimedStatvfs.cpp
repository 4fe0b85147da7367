#include "TimedStatvfs.h"

#include <cerrno>
#include <condition_variable>
#include <sys/statvfs.h>
#include <system_error>
#include <thread>
#include <vector>

struct TimedStatvfs::Job {
    std::string Path;
    Function Call;
    std::mutex Mutex;
    std::condition_variable Done;
    bool Finished = false;
    int Rc = -1;
    struct statvfs Out {};

    bool IsFinished()
    {
        std::lock_guard<std::mutex> lock(Mutex);
        return Finished;
    }
};

namespace {

// A helper thread's mailbox; guarded by the pool's mutex.
struct Slot {
    std::condition_variable Wake;
    std::shared_ptr<TimedStatvfs::Job> Job;
    bool Quit = false;
};

// Helpers kept waiting for work; more than that end when their query does.
constexpr std::size_t kIdleHelpers = 4;

} // namespace

struct TimedStatvfs::Pool {
    std::mutex Mutex;
    std::vector<std::shared_ptr<Slot>> Idle;
    bool Closing = false;
};

namespace {

void Helper(std::shared_ptr<TimedStatvfs::Pool> pool, std::shared_ptr<Slot> slot)
{
    for (;;) {
        std::shared_ptr<TimedStatvfs::Job> job;
        {
            std::unique_lock<std::mutex> lock(pool->Mutex);
            slot->Wake.wait(lock, [&] { return slot->Job || slot->Quit; });
            if (!slot->Job)
                return;
            job = std::move(slot->Job);
        }
        struct statvfs out {};
        const int rc = job->Call(job->Path.c_str(), &out);
        {
            std::lock_guard<std::mutex> lock(job->Mutex);
            job->Rc = rc;
            job->Out = out;
            job->Finished = true;
        }
        job->Done.notify_all();
        std::lock_guard<std::mutex> lock(pool->Mutex);
        if (pool->Closing || pool->Idle.size() >= kIdleHelpers)
            return;
        pool->Idle.push_back(slot);
    }
}

} // namespace

TimedStatvfs::TimedStatvfs(Function function, std::chrono::milliseconds limit)
    : function_(function ? std::move(function) : Function([](const char* p, struct statvfs* s) { return ::statvfs(p, s); }))
    , limit_(limit)
    , pool_(std::make_shared<Pool>())
{
}

TimedStatvfs::~TimedStatvfs()
{
    // Idle helpers end now; a blocked one ends whenever its call returns.
    std::lock_guard<std::mutex> lock(pool_->Mutex);
    pool_->Closing = true;
    for (const std::shared_ptr<Slot>& slot : pool_->Idle) {
        slot->Quit = true;
        slot->Wake.notify_one();
    }
    pool_->Idle.clear();
}

bool TimedStatvfs::Blocked(const std::string& path)
{
    std::lock_guard<std::mutex> lock(blockedMutex_);
    auto it = blocked_.find(path);
    if (it == blocked_.end())
        return false;
    if (!it->second->IsFinished())
        return true;
    blocked_.erase(it);
    return false;
}

std::shared_ptr<TimedStatvfs::Job> TimedStatvfs::Start(const std::string& path, Result& refused)
{
    if (Blocked(path)) {
        refused = Result::StillBlocked;
        return nullptr;
    }
    auto job = std::make_shared<Job>();
    job->Path = path;
    job->Call = function_;

    std::shared_ptr<Slot> slot;
    {
        std::lock_guard<std::mutex> lock(pool_->Mutex);
        if (!pool_->Idle.empty()) {
            slot = std::move(pool_->Idle.back());
            pool_->Idle.pop_back();
            slot->Job = job;
            slot->Wake.notify_one();
        }
    }
    if (!slot) {
        slot = std::make_shared<Slot>();
        slot->Job = job;
        try {
            std::thread(Helper, pool_, slot).detach();
        } catch (const std::system_error&) {
            refused = Result::Failed; // no thread to be had: treat as not answering
            return nullptr;
        }
    }
    return job;
}

TimedStatvfs::Result TimedStatvfs::Await(const std::string& path, const std::shared_ptr<Job>& job,
                                         std::chrono::steady_clock::time_point deadline, struct statvfs& out)
{
    std::unique_lock<std::mutex> lock(job->Mutex);
    if (!job->Done.wait_until(lock, deadline, [&] { return job->Finished; })) {
        lock.unlock();
        std::lock_guard<std::mutex> blockedLock(blockedMutex_);
        blocked_[path] = job;
        return Result::TimedOut;
    }
    if (job->Rc != 0)
        return Result::Failed;
    out = job->Out;
    return Result::Ok;
}

TimedStatvfs::Result TimedStatvfs::Query(const std::string& path, struct statvfs& out)
{
    Result refused = Result::Failed;
    const std::shared_ptr<Job> job = Start(path, refused);
    if (!job)
        return refused;
    const Result result = Await(path, job, std::chrono::steady_clock::now() + limit_, out);
    if (result == Result::TimedOut)
        ++waitsRunOut_;
    return result;
}

TimedStatvfs::Batch TimedStatvfs::StartTogether(const std::vector<std::string>& paths)
{
    Batch batch;
    batch.Paths = paths;
    batch.Jobs.resize(paths.size());
    batch.Refused.assign(paths.size(), Result::Failed);
    // One deadline for all, taken before the first is handed over.
    batch.Deadline = std::chrono::steady_clock::now() + limit_;
    for (std::size_t i = 0; i < paths.size(); ++i)
        batch.Jobs[i] = Start(paths[i], batch.Refused[i]);
    return batch;
}

std::vector<TimedStatvfs::Answer> TimedStatvfs::AwaitTogether(const Batch& batch)
{
    std::vector<Answer> answers(batch.Paths.size());
    bool ranOut = false;
    for (std::size_t i = 0; i < batch.Paths.size(); ++i) {
        if (!batch.Jobs[i]) {
            answers[i].Status = batch.Refused[i];
            continue;
        }
        answers[i].Status = Await(batch.Paths[i], batch.Jobs[i], batch.Deadline, answers[i].Out);
        ranOut = ranOut || answers[i].Status == Result::TimedOut;
    }
    if (ranOut)
        ++waitsRunOut_;
    return answers;
}

void TimedStatvfs::Abandon(const Batch& batch)
{
    std::lock_guard<std::mutex> lock(blockedMutex_);
    for (std::size_t i = 0; i < batch.Paths.size(); ++i)
        if (batch.Jobs[i] && !batch.Jobs[i]->IsFinished())
            blocked_[batch.Paths[i]] = batch.Jobs[i];
}

std::vector<TimedStatvfs::Answer> TimedStatvfs::QueryTogether(const std::vector<std::string>& paths)
{
    return AwaitTogether(StartTogether(paths));
}
