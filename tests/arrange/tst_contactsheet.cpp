#include "arrange/ContactSheet.h"
#include "common/PageSetup.h"
#include "common/TestRegistry.h"
#include "document/ArrangementDocument.h"
#include "document/ArrangementFile.h"
#include "output/PageRender.h"
#include "output/Exporters.h"
#include "picture/Dib.h"
#include "picture/ExifDate.h"
#include "platform/DeviceContext.h"
#include "platform/Printer.h"

#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <cmath>
#include <cstring>

namespace {
const SheetArea A4{QSizeF(210, 297), QRectF(5, 5, 200, 287)};

DIB White(int w, int h)
{
    DIB d;
    newdib(&d, w, h, 24, nullptr, 0);
    std::memset(d.Bits, 255, d.Info->biSizeImage);
    return d;
}

// A document holding the named pictures (white, 4:3 or 3:4 alternately).
void AddPictures(ArrangementDocument &doc, const QStringList &names)
{
    for (int i = 0; i < names.size(); ++i)
        doc.recordsForSetUp().appendPicture(QStringLiteral("/photos/") + names[i], i % 2 ? White(30, 40) : White(40, 30));
}

ContactPlacement PlaceAll(ArrangementDocument &doc, const ContactSheetSettings &s)
{
    std::vector<int> all;
    for (int i = 0; i < doc.records().PictureCount(); ++i)
        all.push_back(i);
    return PlaceContactSheet(doc, s, A4, all, CollectionFacts(doc.records(), all), QStringLiteral("Contact sheet"));
}

// A file whose contact sheet chunk has the given payload.
QByteArray FileWithSheetChunk(const QByteArray &payload)
{
    ArrangementData d;
    d.Placements.resize(1);
    d.Placements[0].Page = 1;
    QByteArray bytes = WriteArrangement(d);
    return bytes + WriteExtension({FileChunk{QByteArray(SheetChunkTag, 4), 1, payload}});
}

QByteArray Le32(std::uint32_t v) { return QByteArray(reinterpret_cast<const char *>(&v), 4); }
QByteArray Le64(double v) { return QByteArray(reinterpret_cast<const char *>(&v), 8); }
// A text record: place, size, lines.
QByteArray TextRecord(double points, const QList<QByteArray> &lines, std::uint32_t count = ~0u)
{
    QByteArray b = Le64(0) + Le64(0) + Le64(1) + Le64(points) + Le32(count == ~0u ? lines.size() : count);
    for (const QByteArray &l : lines)
        b += Le32(std::uint32_t(l.size())) + l;
    return b;
}
} // namespace

class TestContactSheet : public QObject
{
    Q_OBJECT
private slots:
    void layout_data()
    {
        QTest::addColumn<bool>("byCell");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<double>("margin");
        QTest::addColumn<int>("pictures");
        QTest::addColumn<int>("perPage");
        QTest::addColumn<int>("pages");
        QTest::newRow("6 x 8 on A4, 1000 pictures") << false << 6 << 8 << 10.0 << 1000 << 48 << 21;
        QTest::newRow("6 x 8, exactly two pages") << false << 6 << 8 << 10.0 << 96 << 48 << 2;
        QTest::newRow("30 mm cells on A4: 5 x 8") << true << 0 << 0 << 10.0 << 100 << 40 << 3;
        QTest::newRow("margins leave no room") << false << 6 << 8 << 100.0 << 10 << 0 << 0;
        QTest::newRow("30 x 30 cells too small for captions") << false << 30 << 30 << 10.0 << 10 << 0 << 0;
    }
    void layout()
    {
        QFETCH(bool, byCell);
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(double, margin);
        QFETCH(int, pictures);
        QFETCH(int, perPage);
        QFETCH(int, pages);
        ContactSheetSettings s;
        s.ByCellSize = byCell;
        s.Columns = columns;
        s.Rows = rows;
        s.Spacing = {margin, 3};
        s.ShowSize = true;
        const ContactGrid g = ContactLayout(s, A4);
        QCOMPARE(g.perPage(), perPage);
        QCOMPARE(ContactPageCount(pictures, g), pages);
        const QRectF usable = UsableArea(A4, s.Spacing).adjusted(-1e-6, -1e-6, 1e-6, 1e-6);
        for (int i = 0; i < g.perPage(); ++i) {
            QVERIFY2(usable.contains(g.cell(i)), qPrintable(QString::number(i)));
            QVERIFY(!g.cell(i).intersects(g.Header));
            for (const QSize picture : {QSize(4000, 3000), QSize(3000, 4000), QSize(10000, 10)}) {
                const QRectF fit = FitInside(picture, g.pictureBox(i));
                QVERIFY(g.pictureBox(i).adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(fit));
                QVERIFY(std::abs(fit.width() / fit.height() - double(picture.width()) / picture.height()) < 1e-6);
            }
        }
    }

    // The whole set is one step: undo takes back every cell, caption and header.
    void placeIsOneStep()
    {
        ArrangementDocument doc;
        QStringList names;
        for (int i = 0; i < 50; ++i)
            names << QStringLiteral("IMG_%1.jpg").arg(i, 4, 10, QChar('0'));
        AddPictures(doc, names);
        doc.undoStack()->clear();
        const ContactPlacement placed = PlaceAll(doc, ContactSheetSettings{});
        QCOMPARE(placed.Placed, 50);
        QCOMPARE(placed.LastPage, 2);
        QCOMPARE(doc.undoStack()->count(), 1);
        QCOMPARE(int(doc.records().Sheets.Headers.size()), 2);
        doc.undoStack()->undo();
        QCOMPARE(doc.records().Placements.size(), 0);
        QVERIFY(doc.records().Sheets.empty());
        doc.undoStack()->redo();
        QCOMPARE(doc.records().Placements.size(), 50);
        // Kept through the file: cells and headers come back as they were.
        ArrangementData back;
        QCOMPARE(ReadArrangement(WriteArrangement(doc.fileRecord(QStringLiteral("/photos/a.sga"))), back),
                 ArrangementReadStatus::Ok);
        QVERIFY(back.Sheets == doc.records().Sheets);
        for (int i = 0; i < 50; ++i)
            QCOMPARE(back.Placements[std::size_t(i)].Cell, doc.records().Placements.at(i).Cell);
    }

    // A folder's contact sheet, twice, over a collection holding some of its
    // files: every file has one entry, and the cells show those entries.
    void folderFilesKeepTheirEntries()
    {
        QTemporaryDir dir;
        QStringList paths;
        for (const char* name : { "a.png", "b.png", "c.png" }) {
            paths << dir.filePath(QString::fromLatin1(name));
            QImage img(40, 30, QImage::Format_RGB32);
            img.fill(Qt::darkCyan);
            QVERIFY(img.save(paths.back()));
        }
        ArrangementDocument doc;
        QCOMPARE(doc.addPictureFiles(paths.mid(1), QStringLiteral("Add")).Added.size(), std::size_t(2));
        for (int round = 0; round < 2; ++round) {
            ContactFiles files = ReadContactFiles(paths, QSize(100, 100), nullptr);
            const std::vector<int> cells = AddContactFiles(doc, files);
            QCOMPARE(doc.records().PictureCount(), 3);
            QCOMPARE(cells, (std::vector<int> { 2, 0, 1 }));
        }
    }

    // The header's dates: those taken and the files' own dates named apart.
    void headerDateRange_data()
    {
        QTest::addColumn<QStringList>("taken"); // one date a file, "file:" for a file's own date
        QTest::addColumn<QString>("line");
        QTest::newRow("dates taken") << QStringList { "2023-07-14", "2023-07-16" } << "2023-07-14 to 2023-07-16";
        QTest::newRow("one day") << QStringList { "2023-07-14", "2023-07-14" } << "2023-07-14";
        QTest::newRow("some files carry only their own date") << QStringList { "2023-07-14", "file:2026-12-09",
            "2023-07-15" } << "2023-07-14 to 2023-07-15, file dates 2026-12-09";
        QTest::newRow("only files' own dates")
            << QStringList { "file:2026-12-08", "file:2026-12-09" } << "file dates 2026-12-08 to 2026-12-09";
    }
    void headerDateRange()
    {
        QFETCH(QStringList, taken);
        QFETCH(QString, line);
        std::vector<ContactFacts> facts;
        for (const QString& t : taken) {
            ContactFacts f;
            f.Path = QStringLiteral("/photos/x.jpg");
            f.FileDate = t.startsWith(QLatin1String("file:"));
            f.Taken = QDateTime(QDate::fromString(f.FileDate ? t.mid(5) : t, Qt::ISODate), QTime(12, 0));
            facts.push_back(f);
        }
        ContactSheetSettings s;
        s.HeaderFolder = false;
        const QStringList lines = ContactHeader(facts, s, 1, 1);
        QCOMPARE(lines.value(1), line);
    }

    void storedChunk_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<int>("cells");
        QTest::addColumn<double>("points");
        const QByteArray oneHeader = Le32(1) + Le32(1) + TextRecord(9, {"Title"});
        QTest::newRow("header and cell") << oneHeader + Le32(1) + Le32(0) + TextRecord(6, {"a.jpg", "2024"}) << false
                                         << 1 << 6.0;
        QTest::newRow("NaN size held") << Le32(0) + Le32(1) + Le32(0) + TextRecord(std::nan(""), {"a"}) << false << 1
                                       << 7.0;
        QTest::newRow("huge size held") << Le32(0) + Le32(1) + Le32(0) + TextRecord(1e300, {"a"}) << false << 1
                                        << 72.0;
        QTest::newRow("cell of a missing placement dropped")
            << Le32(0) + Le32(1) + Le32(7) + TextRecord(6, {"a"}) << false << 0 << 0.0;
        QTest::newRow("header count past the payload") << Le32(100000) << true << 0 << 0.0;
        QTest::newRow("line count past the payload")
            << Le32(0) + Le32(1) + Le32(0) + TextRecord(6, {}, 0x7FFFFFFF) << true << 0 << 0.0;
        QByteArray cut = oneHeader;
        cut.chop(2);
        QTest::newRow("line cut short") << cut << true << 0 << 0.0;
        QTest::newRow("negative line length")
            << Le32(0) + Le32(1) + Le32(0) + TextRecord(6, {}, 1) + Le32(0xFFFFFFF0u) << true << 0 << 0.0;
    }
    void storedChunk()
    {
        QFETCH(QByteArray, payload);
        QFETCH(bool, damaged);
        QFETCH(int, cells);
        QFETCH(double, points);
        ArrangementData d;
        d.NextPictureId = 99; // what a refused file leaves alone
        const ArrangementReadStatus status = ReadArrangement(FileWithSheetChunk(payload), d);
        QCOMPARE(status == ArrangementReadStatus::Damaged, damaged);
        if (damaged) {
            QCOMPARE(d.NextPictureId, 99);
            return;
        }
        QCOMPARE(int(d.Sheets.Cells.size()), cells);
        QCOMPARE(d.Placements[0].Cell, cells > 0 ? 1 : 0);
        if (cells > 0)
            QCOMPARE(d.Sheets.Cells[0].Points, points);
    }

    // Captions of long, CJK and right-to-left names stay inside their cells.
    void captionsInsideCells()
    {
        ArrangementDocument doc;
        AddPictures(doc, {QString(251, QChar('W')) + QStringLiteral(".jpg"),
                          QStringLiteral("\u6625\u306e\u5c71\u3068\u685c\u306e\u6728\u3005\u3001\u4eac\u90fd\u306e\u5bfa.jpg"),
                          QStringLiteral("\u05ea\u05de\u05d5\u05e0\u05d4 \u05de\u05d4\u05d7\u05d5\u05e4\u05e9\u05d4 "
                                         "\u05d1\u05d9\u05dd \u05d4\u05de\u05dc\u05d7 2024.jpg"),
                          QStringLiteral("\u0635\u0648\u0631\u0629 \u0627\u0644\u0639\u0627\u0626\u0644\u0629 "
                                         "\u0641\u064a \u0627\u0644\u062d\u062f\u064a\u0642\u0629.jpg")});
        ContactSheetSettings s;
        s.Columns = 4;
        s.Rows = 8;
        s.HeaderTitle = s.HeaderFolder = s.HeaderDates = s.HeaderPages = false;
        QCOMPARE(PlaceAll(doc, s).Placed, 4);
        const PageScale scale = PrintScale(150);
        QImage img(int(200 / MmPerInch * 150), int(287 / MmPerInch * 150), QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            TDC dc(&img);
            RenderPage(dc, doc.records(), 1, scale, doc.options(), PrintSetup());
        }
        QList<QRectF> boxes;
        for (int i = 0; i < doc.records().Placements.size(); ++i) {
            const Placement &p = doc.records().Placements.at(i);
            const QRectF box = SheetCellTextBox(p, *doc.records().Sheets.cellOf(p), scale);
            boxes << box;
            int dark = 0;
            for (int y = int(box.top()); y < int(box.bottom()); ++y)
                for (int x = int(box.left()); x < int(box.right()); ++x)
                    dark += qGray(img.pixel(x, y)) < 128;
            QVERIFY2(dark > 20, qPrintable(QStringLiteral("caption %1 not drawn").arg(i)));
        }
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                if (qGray(img.pixel(x, y)) > 200)
                    continue;
                bool inside = false;
                for (const QRectF &b : boxes)
                    inside = inside || b.adjusted(-1, -1, 1, 1).contains(x, y);
                if (!inside) {
                    img.save(QDir::temp().filePath(QStringLiteral("contact-captions.png")));
                    QFAIL(qPrintable(QStringLiteral("ink outside the captions at %1,%2").arg(x).arg(y)));
                }
            }
    }

    // The printed PDF holds every file name and each page's header as text.
    void printedText()
    {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("poppler-utils are not installed");
        ArrangementDocument doc;
        QStringList names;
        for (int i = 0; i < 60; ++i)
            names << QStringLiteral("IMG_%1.jpg").arg(i, 4, 10, QChar('0'));
        AddPictures(doc, names);
        ContactSheetSettings s;
        s.Title = QStringLiteral("Summer camp");
        const ContactPlacement placed = PlaceAll(doc, s);
        QCOMPARE(placed.LastPage, 2);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("contact.pdf"));
        ExportRequest request;
        request.Pages = {1, 2};
        request.FileName = file;
        const ExportOutcome printed =
            PdfFileExporter()->run(doc.records(), doc.options(), BarePageSetup(2362, 3390, 300, 300), request);
        QCOMPARE(printed.Result, ExportResult::Done);
        QProcess text;
        text.start(pdftotext, {QStringLiteral("-layout"), file, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(60000));
        const QString all = QString::fromUtf8(text.readAllStandardOutput());
        const QStringList pages = all.split(QChar('\f'));
        for (const QString &name : names)
            QVERIFY2(all.contains(name), qPrintable(name));
        for (int page = 1; page <= 2; ++page)
            QVERIFY2(pages.value(page - 1).contains(QStringLiteral("Summer camp \u2014 page %1 of 2").arg(page)),
                     qPrintable(pages.value(page - 1).left(300)));
    }

    void exifDate_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QString>("taken");
        // SOI, APP1 with a little-endian TIFF: IFD0 -> Exif IFD -> DateTimeOriginal.
        QByteArray tiff = QByteArray("II*\0", 4) + Le32(8);
        tiff += QByteArray("\x01\x00", 2) + QByteArray("\x69\x87\x04\x00", 4) + Le32(1) + Le32(26) + Le32(0);
        tiff += QByteArray("\x01\x00", 2) + QByteArray("\x03\x90\x02\x00", 4) + Le32(20) + Le32(44) + Le32(0);
        tiff += QByteArray("2023:07:14 18:05:09\0", 20);
        const QByteArray app1 = QByteArray("Exif\0\0", 6) + tiff;
        const int length = int(app1.size()) + 2;
        const QByteArray jpeg = QByteArray("\xFF\xD8\xFF\xE1", 4) + char(length >> 8) + char(length & 0xFF) + app1;
        QTest::newRow("date taken") << jpeg << QStringLiteral("2023-07-14T18:05:09");
        QTest::newRow("cut inside the segment") << jpeg.left(40) << QString();
        QByteArray loop = jpeg;
        loop[6 + 6 + 4] = char(0xF0); // IFD0 offset far past the end
        QTest::newRow("offset past the end") << loop << QString();
        QTest::newRow("not a JPEG") << QByteArray("GIF89a") << QString();
    }
    void exifDate()
    {
        QFETCH(QByteArray, head);
        QFETCH(QString, taken);
        const QDateTime t = ExifDateTakenFrom(head);
        QCOMPARE(t.isValid() ? t.toString(Qt::ISODate) : QString(), taken);
    }
};

SGA_TEST(TestContactSheet)
#include "tst_contactsheet.moc"
