#include "browse/ThumbnailBrowser.h"

#include "browse/SharedThumbnails.h"
#include "browse/ThumbBrowser.h"
#include "document/Collection.h"
#include "document/Paths.h"
#include "picture/DecodePool.h"
#include "picture/DecodeSupport.h"
#include "picture/ExifThumbnail.h"
#include "picture/OpenDib.h"
#include "picture/PoolHandoff.h"
#include "picture/Orientation.h"
#include "picture/Resample.h"
#include "picture/ScaledDecode.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QImageReader>
#include <QSet>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

// A call a task posts to the browser (Walk::Post).
struct ThumbnailBrowser::Posted : QEvent {
    static QEvent::Type Kind()
    {
        static const auto kind = QEvent::Type(QEvent::registerEventType());
        return kind;
    }
    explicit Posted(std::function<void(ThumbnailBrowser*)> call)
        : QEvent(Kind())
        , Call(std::move(call))
    {
    }
    std::function<void(ThumbnailBrowser*)> Call;
};

// What the interface thread and the tasks of one walk share.
struct ThumbnailBrowser::Walk {
    QString Folder;
    QThreadPool* Pool = nullptr;
    // Written by the listing task before any file task exists.
    CacheIndex Index;
    QStringList Names;
    std::atomic<bool> Cancelled = false;
    bool TurnAsCamera = false;

    // The file tasks feed themselves: a lane takes the next file, makes its
    // thumbnail, posts it and queues itself again, so the interface thread
    // never stands between two files. A lane stops when every file is taken
    // or too many results wait for the interface thread; Appended restarts it.
    std::mutex Claims;
    int NextSlot = 0;
    int Appended = 0; // results taken by the interface thread
    int Lanes = 0; // running

    // Results are posted to Owner only while it is set; CutLoose clears it
    // under the lock, so no task ever reaches a browser that has moved on.
    std::mutex Lock;
    ThumbnailBrowser* Owner = nullptr;

    // f(owner) runs on the interface thread, unless the owner is gone by then.
    // An event of its own rather than a queued call: once posted, it is
    // touched only by the interface thread, which runs and deletes it.
    template <typename F> void Post(F f)
    {
        auto posted = std::make_unique<Posted>(std::move(f));
        PoolHandoff(); // after making the event, which the interface thread reads
        const std::lock_guard<std::mutex> hold(Lock);
        if (ThumbnailBrowser* owner = Owner)
            QCoreApplication::postEvent(owner, posted.release());
    }
};

struct ThumbnailBrowser::FileResult {
    int Slot = 0;
    QString Name;
    DIB Dib; // nil: no thumbnail
    ThumbInfo Info;
    bool Decoded = false; // not from the cache
    FileResult() = default;
    FileResult(const FileResult&) = delete;
    FileResult& operator=(const FileResult&) = delete;
    ~FileResult() { deldib(&Dib); }
};

namespace {

// Appends closer together than a frame are put off and made together: each
// batch brings a paint of the window and a progress report, which repaints
// the status bar at once.
constexpr int FrameMs = 16;

// Results that wait for their turn or their frame, at most: bounds the memory
// held when one slow file holds up many quick ones.
constexpr int MaxHeld = 256;

// The folder's regular files that have a picture extension, in name order with
// numbers as numbers. FIFOs, devices and sockets are never opened.
QStringList listPictureFiles(const QString& folder, const std::atomic<bool>& cancelled)
{
    QStringList names;
    QSet<QString> seen; // a file renamed during the listing may come twice
    QDirIterator it(folder, QDir::Files | QDir::Hidden);
    while (it.hasNext() && !cancelled) {
        it.next();
        const QString name = it.fileName();
        if (DibFormatForFileName(name) != DibFormatAuto && !seen.contains(name)) {
            seen.insert(name);
            names.append(name);
        }
    }
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return ComparePathBytes(a, b) < 0; });
    return names;
}

// A picture that stands for the file (a shared or an EXIF thumbnail) made into
// the cell's thumbnail; `upright` says it is already turned as the camera
// recorded, as file managers store theirs. False when it cannot be used.
bool ThumbFromImage(const QImage& picture, bool upright, const QString& path, bool turnAsCamera, QSize full,
    std::int32_t check, DIB* out, ThumbInfo* info)
{
    DIB dib;
    DibDecode::Progress none{ProgressFn{}};
    if (DibDecode::imageToDib(picture.convertToFormat(QImage::Format_RGB888), &dib, none, false)
        != DibDecode::Error::None)
        return false;
    if (upright != turnAsCamera) {
        const CameraOrientation camera = ReadCameraOrientation(path);
        if (upright)
            OrientAsStored(dib, camera);
        else
            OrientUpright(dib, camera);
    }
    const QSize t = ThumbDisplaySize(DibWidth(dib), DibHeight(dib));
    const bool made = Resize(dib, t.width(), t.height(), true, out);
    deldib(&dib);
    if (!made)
        return false;
    // The file's header gives what the cache file records of the full picture.
    QImageReader header(path);
    if (!full.isValid())
        full = header.size();
    if (!full.isValid())
        full = picture.size();
    int bits = 24;
    switch (header.imageFormat()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        bits = 1;
        break;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
        bits = 8;
        break;
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBA8888:
        bits = 32;
        break;
    default:
        break;
    }
    const qint64 rowBytes = (qint64(full.width()) * bits + 31) / 32 * 4;
    *info = { bits, DibWidth(*out), DibHeight(*out), full.width(), full.height(), std::int32_t(1) << std::min(bits, 24),
        std::int32_t((rowBytes * full.height()) >> 10), check };
    return true;
}

// The shared thumbnail written for a decoded picture: upright, as file managers show it.
void ShareThumbnail(const SharedThumbKey& key, const DIB& decoded, const QString& path, QSize full)
{
    const QSize edge = QSize(DibWidth(decoded), DibHeight(decoded)).scaled(128, 128, Qt::KeepAspectRatio);
    const QImage image = ResampleToImage(decoded, QRectF(0, 0, DibWidth(decoded), DibHeight(decoded)),
        QSize(std::min(edge.width(), DibWidth(decoded)), std::min(edge.height(), DibHeight(decoded))));
    WriteSharedThumbnail(key, OrientedUpright(image, ReadCameraOrientation(path)), full);
}

} // namespace

void ThumbnailBrowser::MakeThumbnail(const Walk& walk, FileResult& r)
{
    const QString path = JoinFolder(walk.Folder, r.Name);
    // A file that vanished or is no regular file any more gets no thumbnail.
    const std::optional<std::int32_t> check = FileCheck(path);
    if (!check)
        return;

    const int cached = FindCacheEntry(walk.Index, r.Name, *check);
    if (cached >= 0) {
        // A cached thumbnail that cannot be read leaves the file without one.
        const CacheIndexEntry& e = walk.Index[std::size_t(cached)];
        r.Dib = LoadThumbnail(walk.Folder, e.BlockOffset, e.BlockLength, e.Info.ThumbWidth, e.Info.ThumbHeight,
            e.Info.BitCount, e.Info.Colours);
        r.Info = e.Info;
        return;
    }
    if (walk.Cancelled)
        return;

    // What the desktop made already, then what the camera stored, before a decode.
    const std::optional<SharedThumbKey> key = SharedThumbKeyFor(path);
    if (key) {
        QSize full;
        const QImage shared = ReadSharedThumbnail(*key, ThumbBox, &full);
        if (!shared.isNull() && ThumbFromImage(shared, true, path, walk.TurnAsCamera, full, *check, &r.Dib, &r.Info))
            return;
        if (SharedThumbnailFailed(*key))
            return;
    }
    if (DibFormatForFileName(r.Name) == DibFormatJpg) {
        const QImage own = ExifThumbnail(path, ThumbBox);
        const QSize full = own.isNull() ? QSize() : QImageReader(path).size();
        // Some cameras pad a 4:3 thumbnail of a 3:2 picture with black bars.
        if (full.isValid() && std::abs(double(own.width()) / own.height() - double(full.width()) / full.height()) < 0.02
            && ThumbFromImage(own, false, path, walk.TurnAsCamera, full, *check, &r.Dib, &r.Info)) {
            if (key)
                WriteSharedThumbnail(*key, OrientedUpright(own, ReadCameraOrientation(path)), full);
            return;
        }
    }

    // Twice the thumbnail is enough for a smooth shrink.
    r.Decoded = true;
    ScaledPicture picture = DecodeScaled(path, DibFormatForFileName(r.Name), QSize(2 * ThumbBox, 2 * ThumbBox));
    const PictureHeader& full = picture.Full;
    if (picture.Dib.Bits && full.Width > 1 && full.Height > 1) {
        const QSize t = ThumbDisplaySize(full.Width, full.Height);
        if (Resize(picture.Dib, t.width(), t.height(), true, &r.Dib)) {
            if (walk.TurnAsCamera)
                OrientUpright(r.Dib, ReadCameraOrientation(path));
            r.Info = { full.BitCount, DibWidth(r.Dib), DibHeight(r.Dib), full.Width, full.Height,
                std::int32_t(1) << full.BitCount, std::int32_t(full.ImageBytes >> 10), *check };
            if (key)
                ShareThumbnail(*key, picture.Dib, path, QSize(full.Width, full.Height));
        }
    } else if (key && !walk.Cancelled) {
        WriteSharedThumbnailFailure(*key);
    }
    deldib(&picture.Dib);
}

ThumbnailBrowser::ThumbnailBrowser(QObject* parent, QThreadPool* pool)
    : QObject(parent)
    , Pool(pool ? pool : DecodePool())
{
    AppendLater.setSingleShot(true);
    connect(&AppendLater, &QTimer::timeout, this, [this] {
        if (Current)
            AppendReady();
    });
}

ThumbnailBrowser::~ThumbnailBrowser() { EndBrowsing(); }

bool ThumbnailBrowser::event(QEvent* e)
{
    if (e->type() != Posted::Kind())
        return QObject::event(e);
    PoolHandoff();
    static_cast<Posted*>(e)->Call(this);
    return true;
}

void ThumbnailBrowser::StartBrowsing()
{
    const QString folder = SelectedFolder ? SelectedFolder() : QString();
    if (folder.isEmpty())
        return;
    Restart = false;
    // A walk restarted after a tree change on the "File list" page would
    // otherwise add to, and later save, the previous folder's thumbnails.
    if (List.count() > 0)
        EmptyThumbs();
    Walking = true;
    BrowsedFolder = folder;
    auto walk = std::make_shared<Walk>();
    walk->Folder = folder;
    walk->Pool = Pool;
    walk->TurnAsCamera = TurnAsCamera && TurnAsCamera();
    walk->Owner = this;
    Current = walk;
    Names.clear();
    NextAppend = 0;
    QRunnable* listing = QRunnable::create([walk] {
        PoolHandoff();
        BackgroundWork();
        // Nothing may leave a pool task: a cache file that cannot be read
        // counts as none, a folder that cannot be listed as empty.
        try {
            walk->Index = LoadBrowseInfos(walk->Folder);
        } catch (...) {
            walk->Index = {};
        }
        try {
            walk->Names = listPictureFiles(walk->Folder, walk->Cancelled);
        } catch (...) {
            walk->Names = {};
        }
        // Listed is posted ahead of every result.
        walk->Post([walk, names = walk->Names](ThumbnailBrowser* owner) { owner->Listed(walk, names); });
        StartLanes(walk);
    });
    PoolHandoff();
    Pool->start(listing);
}

void ThumbnailBrowser::StartLanes(const std::shared_ptr<Walk>& walk)
{
    int start = 0;
    {
        const std::lock_guard<std::mutex> hold(walk->Claims);
        const int lanes = std::max(1, walk->Pool->maxThreadCount());
        if (walk->NextSlot < walk->Names.size() && !walk->Cancelled)
            start = lanes - walk->Lanes;
        walk->Lanes += std::max(start, 0);
    }
    for (int i = 0; i < start; ++i)
        QueueLane(walk);
}

void ThumbnailBrowser::QueueLane(const std::shared_ptr<Walk>& walk)
{
    QRunnable* lane = QRunnable::create([walk] {
        PoolHandoff();
        BackgroundWork();
        int slot = 0;
        {
            const std::lock_guard<std::mutex> hold(walk->Claims);
            if (walk->Cancelled || walk->NextSlot >= walk->Names.size() || walk->NextSlot - walk->Appended >= MaxHeld) {
                --walk->Lanes;
                return;
            }
            slot = walk->NextSlot++;
        }
        auto result = std::make_unique<FileResult>();
        result->Slot = slot;
        result->Name = walk->Names.at(slot); // not [], which detaches the list all lanes read
        try {
            MakeThumbnail(*walk, *result);
        } catch (...) {
            // Nothing may leave a pool task: the file goes without a thumbnail,
            // like a damaged one.
            deldib(&result->Dib);
            result->Info = ThumbInfo();
            result->Decoded = true;
        }
        walk->Post([walk, r = std::shared_ptr<FileResult>(std::move(result))](ThumbnailBrowser* owner) {
            owner->Finished(walk, r);
        });
        // Queued behind whatever else waits for the pool, such as pictures
        // being opened.
        QueueLane(walk);
    });
    PoolHandoff();
    walk->Pool->start(lane);
}

void ThumbnailBrowser::Listed(const std::shared_ptr<Walk>& walk, const QStringList& names)
{
    PoolHandoff();
    if (walk != Current)
        return;
    Names = names;
    if (Names.isEmpty())
        WalkDone();
}

void ThumbnailBrowser::Finished(const std::shared_ptr<Walk>& walk, std::shared_ptr<FileResult> result)
{
    PoolHandoff();
    if (walk != Current || !result)
        return;
    const int slot = result->Slot;
    Waiting.emplace(slot, std::move(result));
    // The last results are not held back: the walk ends with them.
    const bool allIn = NextAppend + int(Waiting.size()) == Names.size();
    const qint64 since = SinceAppend.isValid() ? SinceAppend.elapsed() : FrameMs;
    if (allIn || since >= FrameMs)
        AppendReady();
    else if (!AppendLater.isActive())
        AppendLater.start(int(FrameMs - since));
}

void ThumbnailBrowser::AppendReady()
{
    const std::shared_ptr<Walk> walk = Current;
    AppendLater.stop();
    SinceAppend.start();
    int percent = -1;
    // In listing order, whatever order the pool finished them in.
    for (auto next = Waiting.find(NextAppend); next != Waiting.end(); next = Waiting.find(NextAppend)) {
        const std::shared_ptr<FileResult> r = std::move(next->second);
        Waiting.erase(next);
        ++NextAppend;
        if (r->Decoded)
            ++Decodes;
        if (r->Dib.Bits) {
            List.append(r->Dib, r->Name, r->Info);
            r->Dib = DIB {}; // the list owns it now
            emit ThumbnailAdded(List.count());
            percent = int(std::int64_t(NextAppend) * 100 / Names.size());
        } else {
            emit Progress(0); // a file that failed
            percent = -1;
        }
        if (walk != Current)
            return; // stopped by a receiver of the signals above
    }
    if (percent >= 0)
        emit Progress(percent);
    if (walk != Current)
        return;
    if (NextAppend == Names.size()) {
        WalkDone();
        return;
    }
    {
        const std::lock_guard<std::mutex> hold(walk->Claims);
        walk->Appended = NextAppend;
    }
    StartLanes(walk); // those stopped by too many waiting results
}

void ThumbnailBrowser::StopBrowsing(bool restart)
{
    if (!Walking)
        return;
    Restart = restart;
    if (Saver)
        return; // it ends, and restarts, when the cache file is written
    CutLoose();
    if (!Stopping) {
        Stopping = true;
        QMetaObject::invokeMethod(
            this, [this] { if (Stopping) WalkDone(); }, Qt::QueuedConnection);
    }
}

void ThumbnailBrowser::CutLoose()
{
    if (!Current)
        return;
    Current->Cancelled = true;
    {
        const std::lock_guard<std::mutex> hold(Current->Lock);
        Current->Owner = nullptr;
    }
    Current.reset();
    Names.clear();
    Waiting.clear();
    NextAppend = 0;
    AppendLater.stop();
}

void ThumbnailBrowser::WalkDone()
{
    if (!Walking || Saver)
        return;
    CutLoose();
    Stopping = false;
    if (List.count() == 0) {
        WalkEnd();
        return;
    }
    // The cache file is written on the pool (its flush to the disk can take
    // longer than a frame); the walk ends when it is written.
    auto saver = std::make_shared<Walk>();
    saver->Owner = this;
    Saver = saver;
    QRunnable* save = QRunnable::create([saver, folder = BrowsedFolder, bytes = CacheFileBytes(List)] {
        PoolHandoff();
        BackgroundWork();
        try {
            SaveCacheFile(folder, bytes);
        } catch (...) {
            // Like a folder that cannot be written: the walk still ends.
        }
        saver->Post([saver](ThumbnailBrowser* owner) {
            if (owner->Saver != saver)
                return;
            owner->Saver.reset();
            owner->WalkEnd();
        });
    });
    PoolHandoff();
    Pool->start(save);
}

void ThumbnailBrowser::WalkEnd()
{
    Walking = false;
    Stopping = false;
    emit Progress(0);
    emit WalkEnded();
    if (Restart && SelectedFolder && !SelectedFolder().isEmpty())
        StartBrowsing();
}

void ThumbnailBrowser::EndBrowsing()
{
    Restart = false;
    if (Saver) {
        // Already being written; it goes on without this browser.
        {
            const std::lock_guard<std::mutex> hold(Saver->Lock);
            Saver->Owner = nullptr;
        }
        Saver.reset();
        WalkEnd();
        return;
    }
    if (!Walking)
        return;
    CutLoose();
    SaveBrowseInfos(BrowsedFolder, List);
    WalkEnd();
}

void ThumbnailBrowser::EmptyThumbs()
{
    List.clear();
    emit ThumbsEmptied();
}
