// Thread priorities in the seven steps of the design's thread class, on
// Linux the nice value of one thread (idle 19 .. normal 0 .. time critical
// -20). Raising a priority above normal needs the privilege to do so; without
// it the request is refused and the thread keeps its priority.
#pragma once

// The calling thread's id, as SetThreadPriorityLevel takes it.
int CurrentThreadId();

// Level 0 (idle) .. 3 (normal) .. 6 (time critical); false when refused.
bool SetThreadPriorityLevel(int threadId, int level);

// The nice value a level gives on Linux.
int NiceOfPriorityLevel(int level);
