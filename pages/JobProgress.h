#pragma once
// A long job (printing, export) on a worker thread while the window stays
// responsive: a window-modal progress dialog says "Page n of N", shows a bar
// and offers Cancel; the call returns when the job has ended.
#include <QObject>
#include <QString>

#include <atomic>
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
    // From the worker: page `page` of `pageCount` is done.
    void pageDone(int page, int pageCount);
    // Set when Cancel was pressed; the work reads it.
    [[nodiscard]] const std::atomic<bool> *cancelFlag() const { return &Cancel; }
    [[nodiscard]] bool cancelled() const { return Cancel; }
    // Called on the interface thread with the percentage after each page.
    std::function<void(int percent)> Progress;
    // The dialog's text for step n of N when the steps are not pages.
    std::function<QString(int step, int count)> StepText;

    QProgressDialog *Dialog = nullptr;

private:
    std::atomic<bool> Cancel{false};
};

// The dialog's text for a page done.
[[nodiscard]] QString PageOfText(int page, int pageCount);
