#include "pages/JobProgress.h"

#include "picture/DecodePool.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>

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
    QMetaObject::invokeMethod(this, [this, page, pageCount] {
        if (!Cancel)
            Dialog->setLabelText(StepText ? StepText(page, pageCount) : PageOfText(page, pageCount));
        Dialog->setValue(page);
        if (Progress && pageCount > 0)
            Progress(page * 100 / pageCount);
    }, Qt::QueuedConnection);
}

void JobProgress::run(const std::function<void()> &work)
{
    Dialog->show();
    QEventLoop waiting;
    std::unique_ptr<QThread> worker(QThread::create([&work] {
        BackgroundWork();
        work();
    }));
    connect(worker.get(), &QThread::finished, &waiting, &QEventLoop::quit, Qt::QueuedConnection);
    worker->start();
    waiting.exec();
    worker->wait();
    // The last page's progress, posted before the end.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    Dialog->hide();
}
