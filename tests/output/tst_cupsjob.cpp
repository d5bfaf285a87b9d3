// Print jobs handed to the printing system as the program's own PDF.
#include "common/TestRegistry.h"
#include "document/ArrangementDocument.h"
#include "output/CupsJob.h"
#include "output/Exporters.h"
#include "platform/Printer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {
// The first queue of the scheduler that writes PDF files, empty without one.
QString pdfQueue()
{
    QProcess lpstat;
    lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-v")});
    if (!lpstat.waitForFinished(10000))
        return {};
    for (const QString &line : QString::fromLocal8Bit(lpstat.readAll()).split('\n')) {
        // "device for NAME: cups-pdf:/"
        if (line.startsWith(QLatin1String("device for ")) && line.contains(QLatin1String("cups-pdf:")))
            return line.mid(11, line.indexOf(':') - 11);
    }
    return {};
}

QString newestSpoolFile(const QDateTime &after)
{
    const QFileInfoList files = QDir(QStringLiteral("/var/spool/cups"))
                                    .entryInfoList({QStringLiteral("d*-001")}, QDir::Files, QDir::Time);
    return !files.isEmpty() && files.front().lastModified() >= after ? files.front().filePath() : QString();
}
} // namespace

class TestCupsJob : public QObject
{
    Q_OBJECT
private slots:
    void arguments_data()
    {
        QTest::addColumn<int>("copies");
        QTest::addColumn<QString>("sides");
        QTest::addColumn<bool>("extra");
        QTest::addColumn<QStringList>("expected");
        const QString f = QStringLiteral("-f.pdf");
        QTest::newRow("one copy, queue defaults") << 1 << QString() << false
                                                  << QStringList{"-d", "Q", "-t", "T", "-n", "1", "-o", "media=A4", "--", f};
        QTest::newRow("copies collated, both sides")
            << 3 << "two-sided-long-edge" << false
            << QStringList{"-d", "Q", "-t", "T", "-n", "3", "-o", "collate=true", "-o", "sides=two-sided-long-edge",
                           "-o", "media=A4", "--", f};
        QTest::newRow("further options last")
            << 1 << QString() << true
            << QStringList{"-d", "Q", "-t", "T", "-n", "1", "-o", "media=A4", "-o", "cm-calibration=true", "--", f};
    }
    void arguments()
    {
        QFETCH(int, copies);
        QFETCH(QString, sides);
        QFETCH(bool, extra);
        QFETCH(QStringList, expected);
        CupsJobRequest r;
        r.Printer = QStringLiteral("Q");
        r.Title = QStringLiteral("T");
        r.Copies = copies;
        r.Sides = sides;
        r.Media = QStringLiteral("A4");
        if (extra)
            r.Options.push_back({QStringLiteral("cm-calibration"), QStringLiteral("true")});
        QCOMPARE(CupsJobArguments(r, QStringLiteral("-f.pdf")), expected);
    }

    // The spooled job is the program's PDF, JPEG files carried: about the
    // size of the same pages exported to a PDF file.
    void spooledJobIsTheExportedPdf()
    {
        const QString queue = pdfQueue();
        if (queue.isEmpty() || !QFileInfo(QStringLiteral("/var/spool/cups")).isReadable())
            QSKIP("no PDF print queue whose spool can be read (CUPS with cups-pdf and PreserveJobFiles)");
        QTemporaryDir dir;
        QImage photo(2400, 1600, QImage::Format_RGB32);
        QPainter paint(&photo);
        paint.fillRect(photo.rect(), QLinearGradient(0, 0, 2400, 1600));
        for (int i = 0; i < 200; ++i)
            paint.fillRect(QRect((i * 97) % 2400, (i * 61) % 1600, 40, 30), QColor::fromHsv((i * 37) % 360, 200, 200));
        paint.end();
        const QString path = dir.filePath(QStringLiteral("photo.jpg"));
        QVERIFY(photo.save(path, "jpeg", 90));
        ArrangementDocument doc;
        QCOMPARE(doc.addPictureFiles({path}, QStringLiteral("Add")).Added.size(), std::size_t(1));
        for (int page = 1; page <= 2; ++page) {
            Placement *p = doc.recordsForSetUp().Placements.Append();
            *p = Placement{};
            p->Left = p->Top = 0.5;
            p->Width = 4;
            p->Height = 3;
            p->Page = page;
            p->PictureId = doc.records().Pictures.front().PictureId;
        }
        TPrinter printer;
        printer.qprinter()->setOutputFormat(QPrinter::NativeFormat);
        printer.qprinter()->setPrinterName(queue);
        printer.qprinter()->setResolution(300);
        const QDateTime start = QDateTime::currentDateTime().addSecs(-1);
        const PrintSetup setup = PrinterPageSetup(printer);
        ExportRequest job;
        job.Pages = {1, 2};
        job.Title = QStringLiteral("spool check");
        QCOMPARE(PrintExporter(setup, CupsQueueCommand())->run(doc.records(), doc.options(), setup, job).Result,
                 ExportResult::Done);

        job.FileName = dir.filePath(QStringLiteral("export.pdf"));
        QCOMPARE(PdfFileExporter()->run(doc.records(), doc.options(), setup, job).Result, ExportResult::Done);
        QString spooled;
        for (int i = 0; i < 50 && spooled.isEmpty(); ++i) {
            QTest::qWait(100);
            spooled = newestSpoolFile(start);
        }
        QVERIFY2(!spooled.isEmpty(), "the job was not spooled");
        const double ratio = double(QFileInfo(spooled).size()) / double(QFileInfo(job.FileName).size());
        qInfo("spooled %lld bytes, exported %lld bytes: %.3f", QFileInfo(spooled).size(),
              QFileInfo(job.FileName).size(), ratio);
        QVERIFY(std::abs(ratio - 1) <= 0.05);
    }
};

SGA_TEST(TestCupsJob)
#include "tst_cupsjob.moc"
