// statvfs with a time limit. A dead network mount can block statvfs for
// minutes; the window must not wait for it. Each query runs on a helper
// thread and is given up after the time limit. A helper that is still
// blocked is never joined; while it hangs, further queries of the same
// folder answer "not answering" at once instead of piling up threads.
// Helpers that return go back to a small pool, so a query normally costs a
// hand-over to a waiting thread, not a thread start.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <sys/statvfs.h>
#include <vector>

struct statvfs;

class TimedStatvfs {
public:
    struct Job; // one query, shared with the helper that makes it

    // The call that does the work; statvfs(3) by default. Tests put in one
    // that blocks.
    using Function = std::function<int(const char* path, struct statvfs* out)>;

    enum class Result {
        Ok,           // answered; `out` is filled
        Failed,       // answered with an error (no such folder, no access, ...)
        TimedOut,     // gave up waiting this time
        StillBlocked, // an earlier query of this folder still hangs
    };

    explicit TimedStatvfs(Function function = nullptr,
                          std::chrono::milliseconds limit = std::chrono::milliseconds(1000));
    ~TimedStatvfs();
    TimedStatvfs(const TimedStatvfs&) = delete;
    TimedStatvfs& operator=(const TimedStatvfs&) = delete;

    Result Query(const std::string& path, struct statvfs& out);

    // Asks every folder at once, each on a helper of its own, and waits for
    // them together: all the answers within one time limit in total, however
    // many folders hang. Each folder is named once.
    struct Answer {
        Result Status = Result::Failed;
        struct statvfs Out;
    };
    std::vector<Answer> QueryTogether(const std::vector<std::string>& paths);

    // QueryTogether in two halves, so that the wait can run behind other
    // work: Start hands the folders over and fixes the one deadline; Await
    // collects the answers, waiting at most until that deadline. A batch
    // not awaited is given up with Abandon: its calls still hanging count
    // as blocked, as if they had been waited for.
    struct Batch {
        std::vector<std::string> Paths;
        std::vector<std::shared_ptr<Job>> Jobs;
        std::vector<Result> Refused;
        std::chrono::steady_clock::time_point Deadline;
    };
    Batch StartTogether(const std::vector<std::string>& paths);
    std::vector<Answer> AwaitTogether(const Batch& batch);
    void Abandon(const Batch& batch);

    // How many waits ran out: a Query, or an AwaitTogether in which at least
    // one folder did not answer in time, counts one each.
    int WaitsRunOut() const { return waitsRunOut_.load(); }

    // Whether an earlier query of this folder is still hanging.
    bool Blocked(const std::string& path);

    struct Pool; // the helper threads, shared with them

private:
    // Hands the query to a helper; nullptr (with the result) when it cannot
    // start: still blocked, or no thread to be had.
    std::shared_ptr<Job> Start(const std::string& path, Result& refused);
    Result Await(const std::string& path, const std::shared_ptr<Job>& job,
                 std::chrono::steady_clock::time_point deadline, struct statvfs& out);

    Function function_;
    std::chrono::milliseconds limit_;
    std::shared_ptr<Pool> pool_;
    std::mutex blockedMutex_;
    std::map<std::string, std::shared_ptr<Job>> blocked_;
    std::atomic<int> waitsRunOut_{0};
};
