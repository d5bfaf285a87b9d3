// Saves pictures of the paper preset editor, the print tab with a preset
// chosen and the job log: grabpresets OUTDIR. Run it at QT_SCALE_FACTOR 1 and
// 1.5 to see both.
#include "app/Translations.h"
#include "app/MainUnit.h"
#include "output/JobLog.h"
#include "output/JobLogDialog.h"
#include "output/PaperPreset.h"
#include "output/PaperPresetDialog.h"
#include "output/PrinterOptions.h"
#include "pages/PrintPage.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QPrinterInfo>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {
void settle()
{
    for (int i = 0; i < 8; ++i) {
        QApplication::processEvents();
        QThread::msleep(30);
    }
}

PaperPreset studioPreset(const QString& queue)
{
    PaperPreset p;
    p.Name = QStringLiteral("Studio printer, glossy 10 x 15");
    p.Printer = queue;
    p.PaperKey = QStringLiteral("A6");
    p.PaperName = QStringLiteral("A6");
    p.Choices.Quality = QStringLiteral("high");
    p.Sharpening = GlossySharpening;
    p.Adjustment = { 8, 4 };
    p.Calibration = { 0.3, -0.2, 1.001 };
    return p;
}
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    InstallTranslations(app); // LANG=de_DE.UTF-8 grabs the German window
    SetApplicationNames();
    Dialogs::Handler answerOk;
    answerOk.message = [](const Dialogs::MessageRecord&) { return int(Dialogs::IdOk); };
    Dialogs::setHandler(answerOk);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    const QStringList queues = QPrinterInfo::availablePrinterNames();
    const QString queue = queues.isEmpty() ? QString() : queues.front();

    PaperPresetDialog dialog;
    dialog.setPrinters(queues);
    dialog.Offerings = [](const QString& q) { return ReadPrinterOfferings(q); };
    dialog.setPreset(studioPreset(queue));

    std::vector<JobLogEntry> jobs;
    for (int i = 0; i < 4; ++i) {
        JobLogEntry e;
        e.Time = QDateTime::currentDateTime().addSecs(-600 * (4 - i));
        e.File = QStringLiteral("/home/user/Pictures/trip-%1.sga").arg(i + 1);
        e.Target = i == 2 ? QStringLiteral("/home/user/trip-3.pdf") : queue;
        e.Preset = i == 2 ? QString() : studioPreset(queue).Name;
        if (i != 2)
            e.Options = { QStringLiteral("media=A6"), QStringLiteral("media-type=photographic-glossy"),
                QStringLiteral("print-quality=5") };
        e.Pages = i + 1;
        e.Result = i == 3 ? QStringLiteral("failed: The printing system refused the job") : QStringLiteral("done");
        jobs.push_back(e);
    }
    JobLogDialog log(jobs);
    QString error;
    if (SavePaperPreset(PaperPresetFolder(), studioPreset(queue), &error).isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(error));
    TMainForm form;
    form.resize(1200, 800);
    form.show();
    QTimer::singleShot(300, [&] {
        dialog.show();
        settle();
        dialog.grab().toImage().save(out + QStringLiteral("/preset-editor.png"));
        dialog.hide();
        log.show();
        settle();
        log.grab().toImage().save(out + QStringLiteral("/job-log.png"));
        log.hide();
        form.printPage().choosePreset(studioPreset(queue).Name);
        form.showTab(TMainForm::Tab::Print);
        settle();
        form.grab().toImage().save(out + QStringLiteral("/print-tab.png"));
        form.printPage().choosePreset(QString());
        RemovePaperPreset(PaperPresetFolder(), studioPreset(queue).Name);
        QApplication::exit(0);
    });
    return app.exec();
}
