// "Save as image..." on the "Print/Save as image" tab: the current page or all
// pages as pictures, or all pages as one PDF.
#include "app/MainUnit.h"

#include "output/PageExport.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPrinter>
#include <QSpinBox>
#include <QThread>

#include <memory>

void TMainForm::SaveBitBtnClick()
{
    const QString file = Dialogs::getSaveFileName(
        this, tr("Save as image..."),
        tr("PNG image (*.png);;JPEG image (*.jpg *.jpeg);;TIFF image (*.tif *.tiff);;Windows bitmap (*.bmp);;"
           "PDF document, all pages (*.pdf)"),
        QStringLiteral("png"));
    if (file.isEmpty())
        return;

    TPrinter &printer = Printer();
    PageExportJob job;
    job.FileName = file;
    job.Format = ExportFormatForFileName(file);
    job.Dpi = BitDPIED->value();
    job.PageWidth = printer.PageWidth();
    job.PageHeight = printer.PageHeight();
    job.PrinterDpiX = printer.LogPixelsX();
    job.PrinterDpiY = printer.LogPixelsY();
    job.PaperLayout = printer.qprinter()->pageLayout();
    const int pageCount = PageCountED->value();
    job.FirstPage = job.LastPage = APageEd->value();
    if (job.Format == ExportFormat::Pdf) {
        job.FirstPage = 1;
        job.LastPage = pageCount;
    } else if (pageCount > 1) {
        const int answer = Dialogs::messageBox(
            this, tr("Save all %1 pages? Each page becomes a picture of its own, numbered after the name.\n"
                     "No saves the current page only.").arg(pageCount),
            tr("Save as image..."), Dialogs::Icon::Question, Dialogs::YesNoCancel);
        if (answer == Dialogs::IdCancel)
            return;
        if (answer == Dialogs::IdYes) {
            job.FirstPage = 1;
            job.LastPage = pageCount;
        }
    }

    // The file dialog asked about the name chosen; numbered names were never shown.
    const QStringList targets = ExportTargets(job);
    if (targets != QStringList{file}) {
        QStringList existing;
        for (const QString &t : targets)
            if (QFileInfo::exists(t))
                existing << QFileInfo(t).fileName();
        if (!existing.isEmpty()
            && Dialogs::messageBox(this, tr("These files exist already:\n%1\nReplace them?").arg(existing.join('\n')),
                                   tr("Save as image..."), Dialogs::Icon::Question, Dialogs::YesNo) != Dialogs::IdYes)
            return;
    }

    if (job.Format == ExportFormat::Pdf)
        Checkallquals(); // pictures as the printout has them
    if (!AcceptChangedPictures(job.FirstPage, job.LastPage))
        return;
    // The pages are drawn on a worker while the window, disabled so that the
    // arrangement stays as it is, keeps painting and shows the progress.
    const ArrangementOptions drawing = options();
    ExportResult result = ExportResult::Done;
    QString failed;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    setEnabled(false);
    QEventLoop waiting;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        result = ExportPages(*this, drawing, job, [this](int page, int done, int total) {
            QMetaObject::invokeMethod(this, [this, page, done, total] {
                StatusText->setText(tr("Page %1 saved (%2 of %3)").arg(page).arg(done).arg(total));
                SetProStatus(done * 100 / total);
            }, Qt::QueuedConnection);
            return true;
        }, &failed);
    }));
    connect(worker.get(), &QThread::finished, &waiting, &QEventLoop::quit, Qt::QueuedConnection);
    worker->start();
    waiting.exec();
    worker->wait();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall); // the last page's progress
    setEnabled(true);
    SetProStatus(0);
    QGuiApplication::restoreOverrideCursor();
    if (result == ExportResult::OutOfMemory)
        Dialogs::messageBox(this, tr("Not enough memory for an image of this page at %1 DPI!").arg(BitDPIED->value()),
                            tr("Error"), Dialogs::Icon::Error);
    else if (result == ExportResult::WriteFailed)
        Dialogs::messageBox(this, tr("Could not save %1!").arg(failed), tr("Error"), Dialogs::Icon::Error);
}
