#pragma once
// Orders what one thread wrote before handing work to the thread pool or the
// event queue against what the other thread reads after it, in a way race
// checkers see through Qt's own (uninstrumented) locks. Call it on both sides:
// before the hand-over and first thing after it.
#include <mutex>

inline void PoolHandoff()
{
    static std::mutex lock;
    const std::lock_guard<std::mutex> hold(lock);
}
