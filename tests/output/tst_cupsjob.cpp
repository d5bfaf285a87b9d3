// Print jobs handed to the printing system as the program's own PDF.
#include "common/TestRegistry.h"
#include "document/ArrangementDocument.h"
#include "output/CupsJob.h"
#include "output/Exporters.h"
#include "output/PaperPreset.h"
#include "output/PrinterOptions.h"
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
// The queues of the scheduler that print to nothing (device /dev/null), so
// that a test job never reaches paper; none when it does not run.
QStringList nullQueues()
{
    QProcess lpstat;
    lpstat.start(QStringLiteral("lpstat"), { QStringLiteral("-v") });
    QStringList names;
    if (!lpstat.waitForFinished(10000))
        return names;
    for (const QString& line : QString::fromLocal8Bit(lpstat.readAll()).split('\n'))
        if (line.startsWith(QLatin1String("device for ")) && line.endsWith(QLatin1String("/dev/null")))
            names << line.mid(11, line.indexOf(':') - 11);
    return names;
}

// The value of a job attribute in a spooled control file (IPP encoding:
// tag, name length, name, value length, value); empty when absent.
QByteArray jobAttribute(const QByteArray& ipp, const QByteArray& name)
{
    QByteArray key(2, '\0');
    key[0] = char(name.size() >> 8);
    key[1] = char(name.size() & 0xFF);
    key += name;
    const qsizetype at = ipp.indexOf(key);
    if (at < 0 || at + key.size() + 2 > ipp.size())
        return {};
    const qsizetype p = at + key.size();
    const int length = (uchar(ipp[p]) << 8) | uchar(ipp[p + 1]);
    return ipp.mid(p + 2, length);
}

QString newestControlFile(const QDateTime& after)
{
    const QFileInfoList files
        = QDir(QStringLiteral("/var/spool/cups")).entryInfoList({ QStringLiteral("c*") }, QDir::Files, QDir::Time);
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

    // A preset's tray, media type and quality reach the queue exactly as
    // chosen; a value the printer does not offer is not sent, and said.
    void presetChoicesReachTheQueue()
    {
        QString queue;
        PrinterOfferings offered;
        for (const QString& name : nullQueues()) {
            offered = ReadPrinterOfferings(name);
            if (!offered.MediaTypes.empty() && !offered.Qualities.empty()) {
                queue = name;
                break;
            }
        }
        if (queue.isEmpty() || !QFileInfo(QStringLiteral("/var/spool/cups")).isReadable())
            QSKIP("no CUPS scheduler with a queue to /dev/null that lists media types and qualities (as in CI)");
        ArrangementDocument doc;
        TPrinter printer;
        printer.qprinter()->setOutputFormat(QPrinter::NativeFormat);
        printer.qprinter()->setPrinterName(queue);
        PaperPreset preset;
        preset.Name = QStringLiteral("queue check");
        preset.Choices.MediaType = offered.MediaTypes.back().first;
        preset.Choices.Quality = offered.Qualities.back().first;
        if (!offered.Sources.empty())
            preset.Choices.Source = offered.Sources.back().first;
        QString problem;
        const PrintSetup setup = PresetJobSetup(printer, preset, &problem);
        QCOMPARE(problem, QString());
        const QDateTime start = QDateTime::currentDateTime().addSecs(-1);
        ExportRequest job;
        job.Pages = { 1 };
        job.Title = QStringLiteral("preset check");
        const ExportOutcome sent
            = PrintExporter(setup, CupsQueueCommand())->run(doc.records(), doc.options(), setup, job);
        QCOMPARE(sent.Result, ExportResult::Done);
        // The scheduler writes a job's control file within its clean interval (30 s).
        QString control;
        for (int i = 0; i < 450 && control.isEmpty(); ++i) {
            QTest::qWait(100);
            control = newestControlFile(start);
        }
        QVERIFY2(!control.isEmpty(), "the job was not spooled");
        QFile file(control);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray ipp = file.readAll();
        qInfo("queue %s, sent: %s", qPrintable(queue), qPrintable(sent.Sent.join(' ')));
        QCOMPARE(jobAttribute(ipp, "media-type"), preset.Choices.MediaType.toUtf8());
        const QByteArray quality = jobAttribute(ipp, "print-quality");
        QCOMPARE(quality.size(), 4);
        const QStringList qualities { QStringLiteral("draft"), QStringLiteral("normal"), QStringLiteral("high") };
        QCOMPARE(int(uchar(quality[3])), 3 + int(qualities.indexOf(preset.Choices.Quality)));
        if (!preset.Choices.Source.isEmpty())
            QCOMPARE(jobAttribute(ipp, "media-source"), preset.Choices.Source.toUtf8());

        preset.Choices.MediaType = QStringLiteral("no-such-media");
        const PrintSetup refused = PresetJobSetup(printer, preset, &problem);
        QVERIFY2(problem.contains(QLatin1String("no-such-media")), qPrintable(problem));
        QVERIFY(!CupsJobArguments(CupsJobFor(refused, job.Title), QStringLiteral("f.pdf"))
                     .join(' ')
                     .contains(QLatin1String("no-such-media")));
    }
};

SGA_TEST(TestCupsJob)
#include "tst_cupsjob.moc"
