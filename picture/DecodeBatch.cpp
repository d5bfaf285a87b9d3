#include "picture/DecodeBatch.h"

#include "picture/DecodePool.h"
#include "picture/DecodeSupport.h"
#include "picture/FileCheck.h"
#include "picture/OpenDib.h"
#include "picture/PictureMetadata.h"
#include "picture/PoolHandoff.h"
#include "picture/ScaledDecode.h"

#include <QAbstractEventDispatcher>
#include <QFile>
#include <QHash>
#include <QCoreApplication>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

DecodedPicture DecodeForCollection(const QString& path, int formatCode, QSize displayBox)
{
    DecodedPicture r;
    QFile file;
    if (!OpenRegularFile(path, file)) {
        SetDibError(&r.Dib, DibDecode::errorText(DibDecode::Error::CannotOpen));
        return r;
    }
    // Taken before decoding and from the same opening: a file changed
    // meanwhile then counts as changed.
    const std::optional<std::int32_t> check = displayBox.isEmpty() ? std::nullopt : FileCheck(file);
    r.Metadata = ReadPictureMetadata(file, file.fileTime(QFileDevice::FileModificationTime));
    ScaledPicture decoded = DecodeScaled(file, path, formatCode, check ? displayBox : QSize());
    r.Dib = decoded.Dib;
    if (!r.Dib.Bits)
        return r;
    r.Recipe.File = path;
    r.Recipe.Format = formatCode;
    r.Recipe.Check = check;
    r.Recipe.Decoded = decoded.Full;
    r.Recipe.Full = decoded.Full;
    if (!check)
        return r;
    r.Reduced = DibWidth(r.Dib) != decoded.Full.Width || DibHeight(r.Dib) != decoded.Full.Height;
    if (!r.Reduced) {
        const DIB smaller = ShrinkForDisplay(r.Dib);
        if (smaller.Bits) {
            deldib(&r.Dib);
            r.Dib = smaller;
            r.Reduced = true;
        }
    }
    return r;
}

struct DecodeBatch::State {
    QStringList Paths;
    QSize Box;
    std::vector<int> SameAs; // earlier index of the same path, or -1
    std::vector<DecodedPicture> Kept; // taken pictures a later duplicate still needs
    std::atomic<int> Claimed { 0 };
    std::atomic<bool> Cancelled { false };
    std::mutex Lock;
    std::condition_variable Changed; // for a thread without an event loop
    QAbstractEventDispatcher* Waker = nullptr; // the taking thread's; used only while not cancelled
    std::vector<DecodedPicture> Results;
    std::vector<char> Ready;
    int Done = 0;

    ~State()
    {
        for (DecodedPicture& d : Results)
            deldib(&d.Dib);
        for (DecodedPicture& d : Kept)
            deldib(&d.Dib);
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
            if (SameAs[std::size_t(i)] >= 0)
                continue;
            // at(), not operator[]: the list shares its data with the caller's and
            // detaching it here would write under the interface thread's reads.
            DecodedPicture picture;
            try {
                picture = DecodeForCollection(Paths.at(i), DibFormatAuto, Box);
            } catch (...) {
                // Nothing may leave a pool task: the file fails like a damaged one.
                SetDibError(&picture.Dib, DibDecode::errorText(DibDecode::exceptionError()));
            }
            const std::lock_guard<std::mutex> hold(Lock);
            if (Cancelled) {
                deldib(&picture.Dib);
                return;
            }
            Results[std::size_t(i)] = picture;
            Ready[std::size_t(i)] = 1;
            ++Done;
            Changed.notify_all();
            if (Waker)
                Waker->wakeUp();
        }
    }
};

DecodeBatch::DecodeBatch(const QStringList& paths, QSize displayBox, QThreadPool* pool)
    : Shared(std::make_shared<State>())
{
    Shared->Paths = paths;
    Shared->Box = displayBox;
    Shared->Results.resize(std::size_t(paths.size()));
    Shared->Ready.resize(std::size_t(paths.size()), 0);
    Shared->Kept.resize(std::size_t(paths.size()));
    Shared->SameAs.assign(std::size_t(paths.size()), -1);
    QHash<QString, int> first;
    for (int i = 0; i < int(paths.size()); ++i) {
        const auto found = first.constFind(paths.at(i));
        if (found == first.constEnd()) {
            first.insert(paths.at(i), i);
        } else {
            Shared->SameAs[std::size_t(i)] = *found;
            ++Shared->Done;
        }
    }
    Shared->Waker = QAbstractEventDispatcher::instance(QThread::currentThread());
    if (!pool)
        pool = DecodePool();
    const int lanes = std::min(std::max(1, pool->maxThreadCount()), int(paths.size()));
    for (int i = 0; i < lanes; ++i) {
        QRunnable *lane = QRunnable::create([state = Shared] {
            PoolHandoff();
            BackgroundWork();
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

DIB DecodeBatch::TakeNext() { return TakeNextPicture().Dib; }

DecodedPicture DecodeBatch::TakeNextPicture()
{
    if (Next >= Count())
        return {};
    const std::size_t i = std::size_t(Next);
    for (;;) {
        int done = 0;
        {
            std::unique_lock<std::mutex> hold(Shared->Lock);
            if (Shared->Cancelled)
                return {};
            done = Shared->Done;
            if (const int same = Shared->SameAs[i]; same >= 0) {
                ++Next;
                return Shared->Kept[std::size_t(same)];
            }
            if (Shared->Ready[i]) {
                const DecodedPicture picture = Shared->Results[i];
                Shared->Results[i] = {};
                if (std::find(Shared->SameAs.begin() + std::ptrdiff_t(i), Shared->SameAs.end(), int(i)) != Shared->SameAs.end())
                    Shared->Kept[i] = picture;
                ++Next;
                hold.unlock();
                Report(done);
                return picture;
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
