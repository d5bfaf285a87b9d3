#pragma once
// A long job (printing, export) on a worker thread while the window stays
// responsive: a window-modal progress dialog says "Page n of N", shows a bar
// and offers Cancel; the call returns when the job has ended.
#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>

class QProgressDialog;
class QWidget;

class JobProgress : public QObject
{
    Q_OBJECT
public:
    JobProgress(QWidget *owner, const QString &title, int pageCount);
    ~JobProgress() override;

    // Runs `work` on its own thread and waits for it, keeping the event loop
    // going; the dialog shows meanwhile.
    void run(const std::function<void()> &work);
    // From the worker (any thread): page `page` of `pageCount` is done. The
    // dialog shows the latest within a frame or two.
    void pageDone(int page, int pageCount);
    // Set when Cancel was pressed; the work reads it.
    [[nodiscard]] const std::atomic<bool> *cancelFlag() const { return &Cancel; }
    [[nodiscard]] bool cancelled() const { return Cancel; }
    // Called on the interface thread with the percentage of the pages done.
    std::function<void(int percent)> Progress;
    // The dialog's text for step n of N when the steps are not pages.
    std::function<QString(int step, int count)> StepText;

    QProgressDialog *Dialog = nullptr;

private:
    // The dialog and Progress follow the last page done (interface thread).
    void showDone();
    std::atomic<bool> Cancel{false};
    std::atomic<std::int64_t> Done{0}; // page count << 32 | page
    int Shown = 0;
};

// The dialog's text for a page done.
[[nodiscard]] QString PageOfText(int page, int pageCount);
