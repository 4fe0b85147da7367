// statvfs with a time limit. A dead network mount can block statvfs for
// minutes; the window must not wait for it. Each query runs on a helper
// thread and is given up after the time limit. A helper that is still
// blocked is never joined; while it hangs, further queries of the same
// folder answer "not answering" at once instead of piling up threads.
// Helpers that return go back to a small pool, so a query normally costs a
// hand-over to a waiting thread, not a thread start.
#pragma once

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

    // Whether an earlier query of this folder is still hanging.
    bool Blocked(const std::string& path);

    struct Pool; // the helper threads, shared with them
    struct Job;

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
};
