#include "pages/JobProgress.h"

#include "picture/DecodePool.h"
#include "picture/PoolHandoff.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <memory>

QString PageOfText(int page, int pageCount)
{
    return QCoreApplication::translate("JobProgress", "Page %1 of %2").arg(page).arg(pageCount);
}

JobProgress::JobProgress(QWidget *owner, const QString &title, int pageCount)
{
    Dialog = new QProgressDialog(PageOfText(0, pageCount), tr("Cancel"), 0, pageCount, owner);
    Dialog->setWindowTitle(title);
    Dialog->setWindowModality(Qt::WindowModal);
    Dialog->setAutoClose(false);
    Dialog->setAutoReset(false);
    Dialog->setMinimumDuration(0);
    connect(Dialog, &QProgressDialog::canceled, this, [this] {
        Cancel = true;
        Dialog->setLabelText(tr("Cancelling..."));
    });
}

JobProgress::~JobProgress() { delete Dialog; }

void JobProgress::pageDone(int page, int pageCount)
{
    Done = (std::int64_t(std::uint32_t(pageCount)) << 32) | std::uint32_t(page);
}

void JobProgress::showDone()
{
    const std::int64_t done = Done;
    const int page = int(std::uint32_t(done)), pageCount = int(done >> 32);
    if (page == Shown)
        return;
    Shown = page;
    if (!Cancel)
        Dialog->setLabelText(StepText ? StepText(page, pageCount) : PageOfText(page, pageCount));
    Dialog->setValue(page);
    if (Progress && pageCount > 0)
        Progress(page * 100 / pageCount);
}

void JobProgress::run(const std::function<void()> &work)
{
    Dialog->show();
    QEventLoop waiting;
    std::unique_ptr<QThread> worker(QThread::create([&work] {
        BackgroundWork();
        work();
        PoolHandoff(); // what the work wrote is seen once it has ended
    }));
    connect(worker.get(), &QThread::finished, &waiting, &QEventLoop::quit, Qt::QueuedConnection);
    // Polled rather than posted: a value the worker sets is all it hands over.
    QTimer poll;
    poll.setInterval(30);
    connect(&poll, &QTimer::timeout, this, &JobProgress::showDone);
    poll.start();
    worker->start();
    waiting.exec();
    worker->wait();
    PoolHandoff();
    poll.stop();
    showDone(); // the last page
    Dialog->hide();
}
