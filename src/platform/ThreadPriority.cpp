#include "ThreadPriority.h"

#include <algorithm>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

int CurrentThreadId()
{
    return int(::syscall(SYS_gettid));
}

int NiceOfPriorityLevel(int level)
{
    static constexpr int kNice[7] = {19, 10, 5, 0, -5, -10, -20};
    return kNice[std::clamp(level, 0, 6)];
}

bool SetThreadPriorityLevel(int threadId, int level)
{
    if (threadId <= 0)
        return false;
    return ::setpriority(PRIO_PROCESS, id_t(threadId), NiceOfPriorityLevel(level)) == 0;
}
