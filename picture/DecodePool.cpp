#include "picture/DecodePool.h"

#include <QThread>
#include <QThreadPool>

#include <algorithm>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
struct SizedPool : QThreadPool {
    SizedPool()
    {
        setObjectName(QStringLiteral("decode"));
        setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    }
};
} // namespace

QThreadPool* DecodePool()
{
    // Destroyed after main returns, once its tasks are done; every task checks
    // its walk's or batch's cancel flag first, so none is left running long.
    static SizedPool pool;
    return &pool;
}

void BackgroundWork()
{
    thread_local bool lowered = false;
    if (lowered)
        return;
    lowered = true;
    // Linux weighs threads by their own nice value; a failure only leaves the
    // thread as it was.
    const int id = int(::syscall(SYS_gettid));
    const int now = ::getpriority(PRIO_PROCESS, id_t(id));
    (void)::setpriority(PRIO_PROCESS, id_t(id), std::min(now + 5, 19));
}
