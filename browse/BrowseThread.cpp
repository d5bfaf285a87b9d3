#include "browse/BrowseThread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>

TMyThread::TMyThread(const QString& folder, Callback callback, QObject* parent)
    : QThread(parent)
    , OnFile(std::move(callback))
    , Folder(folder)
{
}

TMyThread::~TMyThread() { Finish(); }

void TMyThread::run()
{
    // This object lives on the interface thread, so the step runs there.
    while (!isInterruptionRequested() && !Done)
        QMetaObject::invokeMethod(this, &TMyThread::Step, Qt::BlockingQueuedConnection);
}

void TMyThread::Step()
{
    // A stop request that arrived while this step was queued wins: the folder
    // may already have changed.
    if (isInterruptionRequested() || !OnFile) {
        Done = true;
        return;
    }
    if (First) {
        First = false;
        // Hidden and system files too; folders are not entries of the walk.
        Search = std::make_unique<QDirIterator>(Folder, QDir::Files | QDir::Hidden | QDir::System);
    }
    if (Search && Search->hasNext()) {
        Search->next();
        OnFile(Search->fileName());
        return;
    }
    Done = true;
    Search.reset();
}

void TMyThread::Finish()
{
    requestInterruption();
    OnFile = nullptr;
    // The worker may be blocked on a step posted to us: deliver it (it does
    // nothing now) until the worker has seen the request.
    while (!wait(QDeadlineTimer(10)))
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    Search.reset();
}

// ---------------------------------------------------------------------------
// The main window's side of the walk

#include "app/MainUnit.h"
#include "browse/ThumbBrowser.h"
#include "document/Collection.h"
#include "picture/OpenDib.h"
#include "picture/Orientation.h"
#include "picture/Resample.h"
#include "platform/PaintBox.h"
#include "platform/WMUser.h"

#include <QCheckBox>

void TMainForm::StartBrowsing()
{
    const QString folder = JamShellTree1Path();
    if (folder.isEmpty())
        return;
    Restart = false;
    // A walk restarted after a tree change on the "File list" page would
    // otherwise add to, and later save, the previous folder's thumbnails.
    if (Thumbs.count() > 0)
        EmptyThumbs();
    BrowseIndex = LoadBrowseInfos(folder);
    Running = true;
    BrowsedFolder = folder;
    Thread = new TMyThread(folder, [this](const QString& name) { NewFile(name); });
    connect(Thread, &QThread::finished, this, &TMainForm::ThreadDone);
    Thread->start();
}

void TMainForm::Startbrowsing()
{
    EmptyThumbs();
    if (Running)
        StopBrowsing(true);
    else
        StartBrowsing();
}

void TMainForm::StopBrowsing(bool restart)
{
    if (!Running)
        return;
    Restart = restart;
    if (Thread)
        Thread->requestInterruption();
}

void TMainForm::ThreadDone()
{
    if (!Thread)
        return;
    Thread->Finish(); // the worker has returned; this only joins it
    Thread->deleteLater();
    Thread = nullptr;
    Running = false;
    BrowseIndex.clear();
    SaveBrowseInfos(BrowsedFolder, Thumbs);
    if (Restart && !JamShellTree1Path().isEmpty())
        StartBrowsing();
}

void TMainForm::EndBrowsing()
{
    Restart = false;
    if (!Thread)
        return;
    disconnect(Thread, &QThread::finished, this, &TMainForm::ThreadDone);
    Thread->Finish();
    delete Thread;
    Thread = nullptr;
    Running = false;
    BrowseIndex.clear();
    SaveBrowseInfos(BrowsedFolder, Thumbs);
}

void TMainForm::NewFile(const QString& name)
{
    const QString folder = JamShellTree1Path();
    if (folder.isEmpty())
        return;
    const int code = DibFormatForFileName(name);
    if (code == DibFormatAuto)
        return;
    const QString path = JoinFolder(folder, name);
    const std::int32_t check = CalcCheck(path, [this](int percent) { SetProStatus(percent); });

    const int cached = FindCacheEntry(BrowseIndex, name, check);
    if (cached >= 0) {
        // A cached thumbnail that cannot be read leaves the file without one.
        const CacheIndexEntry& e = BrowseIndex[std::size_t(cached)];
        const DIB thumb = LoadThumbnail(folder, e.BlockOffset, e.BlockLength, e.Info.ThumbWidth, e.Info.ThumbHeight,
            e.Info.BitCount, e.Info.Colours);
        if (thumb.Bits) {
            Thumbs.append(thumb, name, e.Info);
            syncThumbGridSize();
            PaintBox4->repaint();
        }
        return;
    }

    DIB full;
    OpenDib(&full, path, code, this);
    ++DecodeCount;
    const int w = DibWidth(full), h = DibHeight(full);
    if (!full.Bits || w <= 1 || h <= 1) {
        SendWMUser(this, 0, 0);
        deldib(&full);
        return;
    }
    const QSize t = ThumbDisplaySize(w, h);
    DIB thumb;
    if (Resize(full, t.width(), t.height(), true, &thumb)) {
        if (TurnCameraCheck->isChecked())
            TurnQuarters(thumb, CameraQuarterTurns(path));
        const int bits = DibBitCount(full);
        ThumbInfo info { bits, DibWidth(thumb), DibHeight(thumb), w, h, std::int32_t(1) << bits,
            std::int32_t(full.Info->biSizeImage >> 10), check };
        Thumbs.append(thumb, name, info);
        syncThumbGridSize();
        // Only the new cell is drawn.
        PaintFrom = Thumbs.count();
        const QPoint o = ThumbCellOrigin(PaintFrom, ThumbColumns(PaintBox4->width()));
        PaintBox4->repaint(QRect(o, QSize(ThumbCellWidth, ThumbCellHeight)));
        PaintFrom = 0;
    }
    deldib(&full);
}
