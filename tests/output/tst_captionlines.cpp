// Captions of several lines: fitted to the frame's width as chosen, standing
// at the same share of their picture on every device, and printed as text
// with the pages' headers and footers.
#include "common/PageSetup.h"
#include "common/TestRegistry.h"
#include "document/Arrangement.h"
#include "document/Options.h"
#include "output/CaptionLines.h"
#include "output/Exporters.h"
#include "output/PageExport.h"
#include "output/PageRender.h"
#include "picture/Dib.h"
#include "platform/DeviceContext.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(CaptionFit)
Q_DECLARE_METATYPE(PageScale)

namespace {

constexpr QRgb Yellow = 0xFFFFFF00u;

DIB greenPicture(int w, int h)
{
    DIB d;
    newdib(&d, w, h, 24, nullptr, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            setpixel(d, x, y, RGB(0, 160, 0));
    return d;
}

void place(TArrangement &doc, int id, int page, double left, double top, double width, double height)
{
    Placement p{};
    p.Left = left;
    p.Top = top;
    p.Width = width;
    p.Height = height;
    p.Page = page;
    p.PictureId = id;
    *doc.Placements.Append() = p;
}

// Ten units a character: the rules, not a font, decide the lines.
double tenPerChar(const QString &s) { return 10.0 * double(s.size()); }

} // namespace

class TestCaptionLines : public QObject
{
    Q_OBJECT
private slots:
    void fitsLines_data();
    void fitsLines();
    void linesStandAlike_data();
    void linesStandAlike();
    void printedLinesAndPageTexts();
};

void TestCaptionLines::fitsLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<CaptionFit>("fit");
    QTest::addColumn<QStringList>("lines"); // in a width of 100 units: 10 characters

    QTest::newRow("clip keeps lines as typed") << "a line far too long\nb" << CaptionFit::Clip
                                               << QStringList{"a line far too long", "b"};
    QTest::newRow("ellipsis cuts only what is too long") << "a line far too long\nshort" << CaptionFit::Ellipsis
                                                         << QStringList{QStringLiteral("a line fa\u2026"), "short"};
    QTest::newRow("wrap at words") << "Beach day at the sea" << CaptionFit::Wrap
                                   << QStringList{"Beach day", "at the sea"};
    QTest::newRow("wrap keeps empty lines") << "one\n\ntwo" << CaptionFit::Wrap << QStringList{"one", "", "two"};
    QTest::newRow("word wider than the frame is broken")
        << "Oberammergauer Passionsspiele" << CaptionFit::Wrap << QStringList{"Oberammerg", "auer", "Passionssp", "iele"};
    QTest::newRow("CJK wraps between characters") << QStringLiteral("東京の夜景と富士山の朝焼け") << CaptionFit::Wrap
                                                  << QStringList{QStringLiteral("東京の夜景と富士山の"), QStringLiteral("朝焼け")};
    QTest::newRow("exactly the width stays whole") << "0123456789" << CaptionFit::Ellipsis << QStringList{"0123456789"};
}

void TestCaptionLines::fitsLines()
{
    QFETCH(QString, text);
    QFETCH(CaptionFit, fit);
    QFETCH(QStringList, lines);
    QCOMPARE(FitCaptionLines(text, 100, fit, tenPerChar), lines);
}

void TestCaptionLines::linesStandAlike_data() { AddDeviceScaleRows(); }

// Three lines take the same share of their picture's height, from its bottom
// edge up, on every device; the picture above them keeps its pixels.
void TestCaptionLines::linesStandAlike()
{
    QFETCH(PageScale, scale);
    TArrangement doc;
    const int id = doc.appendPicture(QStringLiteral("/p/IMG_0042.jpg"), greenPicture(300, 200));
    doc.Pictures.back().Comment = QStringLiteral("{name}\nline two\nline three");
    place(doc, id, 1, 0, 0, 3, 2);
    ArrangementOptions o;
    o.BkColor = std::int32_t(RGB(255, 255, 0));
    o.Font.Color = std::int32_t(RGB(0, 0, 0));
    // The caption's band: its top as a share of the picture's height.
    const auto bandTop = [&](const PageScale &s) {
        const DeviceFrame f = PlacementFrame(doc.Placements.at(0), s);
        const QImage img = FirstFrameDrawn(doc, s, o);
        int top = f.H;
        for (int y = f.H - 1; y >= 0; --y)
            for (int x = 0; x < f.W; ++x)
                if (img.pixel(x, y) == Yellow)
                    top = y;
        if (qGreen(img.pixel(f.W / 2, 0)) != 160)
            return -1.0;
        return double(top) / f.H;
    };
    const double reference = bandTop(PrintScale(1200));
    const double here = bandTop(scale);
    QVERIFY2(reference > 0.3 && reference < 0.8, qPrintable(QString::number(reference)));
    const double slack = 2.0 / PlacementFrame(doc.Placements.at(0), scale).H;
    QVERIFY2(std::abs(here - reference) <= slack,
             qPrintable(QStringLiteral("band from %1 of the height here, %2 at 1200 dpi").arg(here).arg(reference)));
}

// Three pages: every caption line and each page's header and footer are text in the PDF.
void TestCaptionLines::printedLinesAndPageTexts()
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("poppler-utils are not installed");
    TArrangement doc;
    for (int page = 1; page <= 3; ++page) {
        const int id = doc.appendPicture(QStringLiteral("/p/IMG_%1.jpg").arg(page), greenPicture(300, 200));
        place(doc, id, page, 1, 1, 5, 3.4);
    }
    ArrangementOptions o;
    o.Captions.Template = QStringLiteral("{name} on page {page}\nSecond line\nThird line is long enough to wrap "
                                         "inside a frame of five inches at eleven points");
    o.Captions.Fit = CaptionFit::Wrap;
    o.Captions.Header = QStringLiteral("{file}");
    o.Captions.HeaderAlign = PageTextAlign::Left;
    o.Captions.Footer = QStringLiteral("Page {page} of {pages}");
    o.Captions.FooterAlign = PageTextAlign::Right;
    PrintSetup setup = BarePageSetup(2400, 3300, 300, 300);
    setup.Stamp.File = QStringLiteral("trip.sga");
    QTemporaryDir dir;
    ExportRequest request;
    request.Pages = PageSpan(1, 3);
    request.FileName = dir.filePath(QStringLiteral("captions.pdf"));
    QCOMPARE(PdfFileExporter()->run(doc, o, setup, request).Result, ExportResult::Done);
    QProcess text;
    text.start(pdftotext, {request.FileName, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(60000));
    if (qEnvironmentVariableIsSet("KEEP_PDF"))
        QFile::copy(request.FileName, QString::fromLocal8Bit(qgetenv("KEEP_PDF")));
    const QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(QChar('\f'));
    for (int page = 1; page <= 3; ++page) {
        const QString shown = pages.value(page - 1).simplified();
        for (const QString &want : {QStringLiteral("IMG_%1.jpg on page %1").arg(page), QStringLiteral("Second line"),
                                    QStringLiteral("Third line is long"), QStringLiteral("eleven points"),
                                    QStringLiteral("trip.sga"), QStringLiteral("Page %1 of 3").arg(page)})
            QVERIFY2(shown.contains(want), qPrintable(want + QStringLiteral(" not on page: ") + shown));
    }
}

SGA_TEST(TestCaptionLines)
#include "tst_captionlines.moc"
