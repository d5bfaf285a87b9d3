#include "picture/DecodeBatch.h"

#include "picture/DecodePool.h"
#include "picture/OpenDib.h"
#include "picture/PoolHandoff.h"
#include "picture/ScaledDecode.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

struct DecodeBatch::State {
    QStringList Paths;
    std::atomic<int> Claimed { 0 };
    std::atomic<bool> Cancelled { false };
    std::mutex Lock;
    std::condition_variable Changed; // for a thread without an event loop
    QAbstractEventDispatcher* Waker = nullptr; // the taking thread's; used only while not cancelled
    std::vector<DIB> Results;
    std::vector<char> Ready;
    int Done = 0;

    ~State()
    {
        for (DIB& d : Results)
            deldib(&d);
    }

    // Decodes unclaimed files until none is left or the batch is abandoned.
    void Work()
    {
        const int n = int(Paths.size());
        for (;;) {
            if (Cancelled)
                return;
            const int i = Claimed.fetch_add(1);
            if (i >= n)
                return;
            // at(), not operator[]: the list shares its data with the caller's and
            // detaching it here would write under the interface thread's reads.
            ScaledPicture picture = DecodeScaled(Paths.at(i), DibFormatAuto, QSize());
            const std::lock_guard<std::mutex> hold(Lock);
            if (Cancelled) {
                deldib(&picture.Dib);
                return;
            }
            Results[std::size_t(i)] = picture.Dib;
            Ready[std::size_t(i)] = 1;
            ++Done;
            Changed.notify_all();
            if (Waker)
                Waker->wakeUp();
        }
    }
};

DecodeBatch::DecodeBatch(const QStringList& paths, QThreadPool* pool)
    : Shared(std::make_shared<State>())
{
    Shared->Paths = paths;
    Shared->Results.resize(std::size_t(paths.size()));
    Shared->Ready.resize(std::size_t(paths.size()), 0);
    Shared->Waker = QAbstractEventDispatcher::instance(QThread::currentThread());
    if (!pool)
        pool = DecodePool();
    const int lanes = std::min(std::max(1, pool->maxThreadCount()), int(paths.size()));
    for (int i = 0; i < lanes; ++i) {
        QRunnable *lane = QRunnable::create([state = Shared] {
            PoolHandoff();
            state->Work();
        });
        PoolHandoff();
        pool->start(lane);
    }
}

DecodeBatch::~DecodeBatch()
{
    Stop();
    if (Reported > 0 && Progress)
        Progress(0);
}

int DecodeBatch::Count() const { return int(Shared->Paths.size()); }

void DecodeBatch::Stop()
{
    const std::lock_guard<std::mutex> hold(Shared->Lock);
    Shared->Cancelled = true;
    Shared->Waker = nullptr;
}

void DecodeBatch::Report(int done)
{
    const int percent = int(std::int64_t(done) * 100 / Count());
    if (percent != Reported && Progress) {
        Reported = percent;
        Progress(percent);
    }
}

DIB DecodeBatch::TakeNext()
{
    if (Next >= Count())
        return DIB {};
    const std::size_t i = std::size_t(Next);
    for (;;) {
        int done = 0;
        {
            std::unique_lock<std::mutex> hold(Shared->Lock);
            if (Shared->Cancelled)
                return DIB {};
            done = Shared->Done;
            if (Shared->Ready[i]) {
                const DIB dib = Shared->Results[i];
                Shared->Results[i] = DIB {};
                ++Next;
                hold.unlock();
                Report(done);
                return dib;
            }
            if (!Shared->Waker) {
                Shared->Changed.wait(hold);
                continue;
            }
        }
        Report(done);
        // Returns when a decode finishes (it wakes the dispatcher) or any other event came.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    }
}
