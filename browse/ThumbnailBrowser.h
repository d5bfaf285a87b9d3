#pragma once
// The thumbnail browser's walk: it lists a folder's picture files, makes their
// thumbnails (from the folder's cache file or by decoding at reduced scale) on
// the thread pool, and appends them on the interface thread in the order of
// the listing, so that list and cache file are those of a one-file-at-a-time
// walk; those finished within one frame are appended together. A stopped walk
// is cut loose at once: its tasks finish their file and their results are
// dropped.
#include "browse/CacheFile.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>

class QThreadPool;

class ThumbnailBrowser : public QObject {
    Q_OBJECT
public:
    // pool: where files are made into thumbnails; nullptr: DecodePool().
    explicit ThumbnailBrowser(QObject* parent = nullptr, QThreadPool* pool = nullptr);
    // Ends a walk under way (see End) without waiting for its tasks.
    ~ThumbnailBrowser() override;

    // The folder a walk starts with, asked at every start; empty: none.
    std::function<QString()> SelectedFolder;
    // Whether thumbnails are turned as the camera recorded, asked at every start.
    std::function<bool()> TurnAsCamera;

    const ThumbList& Thumbs() const { return List; }
    bool Running() const { return Walking; }
    bool RestartPending() const { return Restart; }
    int DecodeCount() const { return Decodes; }

    // Starts a walk of the selected folder; nothing when none is selected.
    void StartBrowsing();
    // Asks the walk to stop; its end follows from the event loop and, with
    // restart, begins a walk of the then selected folder.
    void StopBrowsing(bool restart);
    // For the window's end: stops now, saves what was made, starts nothing.
    void EndBrowsing();
    // Empties the thumbnail list.
    void EmptyThumbs();

signals:
    // Thumbnail `index` (1-based) was appended.
    void ThumbnailAdded(int index);
    void ThumbsEmptied();
    // Once for each batch of appended thumbnails; 0 when a file failed and
    // when the walk ends.
    void Progress(int percent);
    // The walk is over and its cache file written (on the pool: Running()
    // holds until then).
    void WalkEnded();

protected:
    bool event(QEvent* e) override;

private:
    struct Walk;
    struct FileResult;
    struct Posted;
    static void MakeThumbnail(const Walk& walk, FileResult& r); // any thread
    static void StartLanes(const std::shared_ptr<Walk>& walk); // any thread
    static void QueueLane(const std::shared_ptr<Walk>& walk);
    void Listed(const std::shared_ptr<Walk>& walk, const QStringList& names);
    void Finished(const std::shared_ptr<Walk>& walk, std::shared_ptr<FileResult> result);
    void CutLoose();
    void WalkDone();
    void WalkEnd();
    void AppendReady();

    QThreadPool* Pool;
    ThumbList List;
    bool Walking = false;
    bool Restart = false;
    bool Stopping = false; // WalkDone is queued
    QString BrowsedFolder;
    int Decodes = 0;

    std::shared_ptr<Walk> Current;
    std::shared_ptr<Walk> Saver; // while the cache file of the ended walk is written
    QStringList Names; // of the current walk, in listing order
    int NextAppend = 0;
    std::map<int, std::shared_ptr<FileResult>> Waiting; // finished ahead of their turn or their frame

    // Results are appended in batches, at most one a frame, so the window
    // paints the new cells together.
    QElapsedTimer SinceAppend;
    QTimer AppendLater;
};
