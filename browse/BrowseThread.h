#pragma once
// The worker that walks a folder's files. Every step runs on the interface
// thread through a blocking call, so the thumbnail list and the cache need no
// lock; the worker itself only waits.
#include <QString>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>

class QDirIterator;

class TMyThread : public QThread {
    Q_OBJECT
public:
    using Callback = std::function<void(const QString& fileName)>;
    // folder ends in '/' or not; the callback gets each file's name without folder.
    TMyThread(const QString& folder, Callback callback, QObject* parent = nullptr);
    ~TMyThread() override;

    // Interface thread: asks the walk to stop, lets no further step reach the
    // callback and waits until the worker has ended. Safe to call again.
    void Finish();

protected:
    void run() override;

private:
    void Step(); // interface thread
    Callback OnFile;
    QString Folder;
    std::unique_ptr<QDirIterator> Search;
    bool First = true;
    std::atomic<bool> Done = false;
};
