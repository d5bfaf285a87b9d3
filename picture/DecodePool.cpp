#include "picture/DecodePool.h"

#include <QThread>
#include <QThreadPool>

#include <algorithm>

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
