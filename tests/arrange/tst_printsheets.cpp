#include "common/WindowParts.h"
#include "arrange/IdGuides.h"
#include "arrange/PaperSketch.h"
#include "arrange/PrintSheet.h"
#include "arrange/PrintSheetDialog.h"
#include "arrange/PrintSizes.h"
#include "arrange/SheetLayout.h"
#include "arrange/SheetMakers.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/ArrangementDocument.h"
#include "picture/Dib.h"
#include "platform/Printer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <cstring>

namespace {
const QSizeF A4(210, 297);
const QSizeF Inch4x6(4 * MmPerInch, 6 * MmPerInch);
const QSizeF Letter(8.5 * MmPerInch, 11 * MmPerInch);

// Frames of one sheet may not overlap or come closer than the gap, and all lie
// in the usable area.
void CheckLayout(const SheetLayout &layout, const QRectF &usable, double gap)
{
    constexpr double eps = 1e-6;
    const QRectF room = usable.adjusted(-eps, -eps, eps, eps);
    for (std::size_t i = 0; i < layout.Frames.size(); ++i) {
        const SheetFrame &a = layout.Frames[i];
        QVERIFY2(room.contains(a.Rect), qPrintable(QStringLiteral("frame %1 leaves the usable area").arg(i)));
        for (std::size_t j = i + 1; j < layout.Frames.size(); ++j) {
            const SheetFrame &b = layout.Frames[j];
            if (a.Sheet != b.Sheet)
                continue;
            const QRectF grown = a.Rect.adjusted(-gap + eps, -gap + eps, gap - eps, gap - eps);
            QVERIFY2(!grown.intersects(b.Rect), qPrintable(QStringLiteral("frames %1 and %2 overlap").arg(i).arg(j)));
        }
    }
}

DIB Picture(int w, int h)
{
    DIB d;
    newdib(&d, w, h, 24, nullptr, 0);
    std::memset(d.Bits, 90, d.Info->biSizeImage);
    return d;
}
} // namespace

class TestPrintSheets : public QObject
{
    Q_OBJECT
private slots:
    void fillSheet_data()
    {
        QTest::addColumn<QSizeF>("paper");
        QTest::addColumn<QRectF>("printable"); // empty: the whole paper
        QTest::addColumn<double>("margin");
        QTest::addColumn<double>("gap");
        QTest::addColumn<QSizeF>("frame");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("sheets");
        QTest::addColumn<bool>("turned");
        QTest::newRow("ID photos on A4, 5 mm margins, 3 mm gaps")
            << A4 << QRectF() << 5.0 << 3.0 << QSizeF(35, 45) << 0 << 30 << 1 << false;
        QTest::newRow("ID photos on 4x6 in, turned fit more")
            << Inch4x6 << QRectF() << 3.0 << 2.0 << QSizeF(35, 45) << 0 << 8 << 1 << true;
        QTest::newRow("10x15 cm on A4 lie down") << A4 << QRectF() << 5.0 << 3.0 << QSizeF(100, 150) << 0 << 2 << 1 << true;
        QTest::newRow("2x2 in on Letter") << Letter << QRectF() << 5.0 << 2.0 << QSizeF(50.8, 50.8) << 0 << 15 << 1 << false;
        QTest::newRow("exact fit without gap") << QSizeF(100, 100) << QRectF() << 0.0 << 0.0 << QSizeF(50, 50) << 0 << 4
                                               << 1 << false;
        QTest::newRow("printer border wider than the margin")
            << A4 << QRectF(10, 10, 190, 277) << 5.0 << 3.0 << QSizeF(35, 45) << 0 << 28 << 1 << true;
        QTest::newRow("35 asked, the rest on a second page")
            << A4 << QRectF() << 5.0 << 3.0 << QSizeF(35, 45) << 35 << 35 << 2 << false;
        QTest::newRow("fewer than fit") << A4 << QRectF() << 5.0 << 3.0 << QSizeF(35, 45) << 4 << 4 << 1 << false;
        QTest::newRow("frame larger than the paper") << Inch4x6 << QRectF() << 3.0 << 2.0 << QSizeF(200, 300) << 0 << 0
                                                     << 0 << false;
        QTest::newRow("as many as fit, beyond the frame limit")
            << QSizeF(297, 420) << QRectF() << 0.0 << 0.0 << QSizeF(1, 1) << 0 << 0 << 0 << false;
        QTest::newRow("margins eat the paper") << Inch4x6 << QRectF() << 60.0 << 2.0 << QSizeF(35, 45) << 0 << 0 << 0
                                               << false;
    }
    void fillSheet()
    {
        QFETCH(QSizeF, paper);
        QFETCH(QRectF, printable);
        QFETCH(double, margin);
        QFETCH(double, gap);
        QFETCH(QSizeF, frame);
        QFETCH(int, count);
        QFETCH(int, frames);
        QFETCH(int, sheets);
        QFETCH(bool, turned);
        const SheetArea sheet{paper, printable.isEmpty() ? QRectF(QPointF(0, 0), paper) : printable};
        const SheetSpacing spacing{margin, gap};
        const SheetLayout layout = FillSheets(sheet, spacing, frame, count);
        QCOMPARE(int(layout.Frames.size()), frames);
        QCOMPARE(layout.Sheets, sheets);
        QCOMPARE(layout.Error.isEmpty(), frames > 0); // a refusal says why, and places nothing
        if (frames > 0)
            QCOMPARE(layout.Frames.front().Turned, turned);
        CheckLayout(layout, UsableArea(sheet, spacing), gap);
    }

    // Borderless: frames may reach the paper's edge only where the paper allows
    // it, and those that do bleed beyond it by the overspill. Frames in printable-area mm.
    void borderlessSheet_data()
    {
        QTest::addColumn<QRectF>("printable"); // on A4
        QTest::addColumn<bool>("paperBorderless");
        QTest::addColumn<double>("margin");
        QTest::addColumn<QSizeF>("frame");
        QTest::addColumn<int>("frames");
        QTest::addColumn<QRectF>("bounds"); // of all frames
        const QRectF whole(0, 0, 210, 297);
        QTest::newRow("four A6 on borderless A4 bleed at the outer edges")
            << whole << true << 0.0 << QSizeF(105, 148.5) << 4 << QRectF(-2, -2, 214, 301);
        QTest::newRow("frames a hair short of the edges still bleed")
            << whole << true << 0.0 << QSizeF(104.98, 148.48) << 4 << QRectF(-2, -2, 214, 301);
        QTest::newRow("A4 with a border keeps it") << QRectF(3, 3, 204, 291) << false << 0.0 << QSizeF(105, 148.5)
                                                   << 2 << QRectF(27.75, 40.5, 148.5, 210);
        QTest::newRow("a margin keeps frames off the edge")
            << whole << true << 5.0 << QSizeF(105, 148.5) << 2 << QRectF(30.75, 43.5, 148.5, 210);
        QTest::newRow("borderless paper that reports a border")
            << QRectF(3, 3, 204, 291) << true << 0.0 << QSizeF(105, 148.5) << 4 << QRectF(-5, -5, 214, 301);
    }
    void borderlessSheet()
    {
        QFETCH(QRectF, printable);
        QFETCH(bool, paperBorderless);
        QFETCH(double, margin);
        QFETCH(QSizeF, frame);
        QFETCH(int, frames);
        QFETCH(QRectF, bounds);
        const SheetArea sheet{A4, printable, paperBorderless};
        const SheetSpacing spacing{margin, 0, true, 2};
        const SheetLayout layout = FillSheets(sheet, spacing, frame, 0);
        QCOMPARE(int(layout.Frames.size()), frames);
        QRectF all;
        for (const SheetFrame &f : layout.Frames)
            all |= f.Rect;
        QVERIFY2(std::abs(all.left() - bounds.left()) < 1e-6 && std::abs(all.top() - bounds.top()) < 1e-6
                     && std::abs(all.right() - bounds.right()) < 1e-6 && std::abs(all.bottom() - bounds.bottom()) < 1e-6,
                 qPrintable(QStringLiteral("frames within %1,%2 - %3,%4")
                                .arg(all.left()).arg(all.top()).arg(all.right()).arg(all.bottom())));
        CheckLayout(layout, all, 0);
    }

    void borderlessPaperNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("margin"); // mm on every side
        QTest::addColumn<bool>("borderless");
        QTest::newRow("A4.Borderless") << QStringLiteral("A4.Borderless") << 3.0 << true;
        QTest::newRow("4x6.FB") << QStringLiteral("4x6.FB") << 3.0 << true;
        QTest::newRow("LetterFB") << QStringLiteral("LetterFB") << 3.0 << true;
        QTest::newRow("Photo 10x15 full bleed") << QStringLiteral("Photo 10x15 Full Bleed") << 3.0 << true;
        QTest::newRow("A4 with margins") << QStringLiteral("A4") << 3.0 << false;
        QTest::newRow("A4 without margins") << QStringLiteral("A4") << 0.0 << true;
        QTest::newRow("name that only contains FB") << QStringLiteral("FBook") << 4.2 << false;
    }
    void borderlessPaperNames()
    {
        QFETCH(QString, name);
        QFETCH(double, margin);
        QFETCH(bool, borderless);
        QCOMPARE(IsBorderlessPaper(name, QMarginsF(margin, margin, margin, margin)), borderless);
    }

    void packSheets_data()
    {
        QTest::addColumn<QSizeF>("paper");
        QTest::addColumn<QList<QSizeF>>("sizes");
        QTest::addColumn<QList<int>>("copies");
        QTest::addColumn<int>("sheets"); // at most; 0 = refused
        QTest::newRow("four 10x15 on A4") << A4 << QList<QSizeF>{{100, 150}} << QList<int>{4} << 2;
        QTest::newRow("two 10x15 and six ID photos share one A4")
            << A4 << QList<QSizeF>{{35, 45}, {100, 150}} << QList<int>{6, 2} << 1;
        QTest::newRow("school set: 13x18, 9x13, wallets, ID photos")
            << A4 << QList<QSizeF>{{130, 180}, {90, 130}, {2 * MmPerInch, 3 * MmPerInch}, {35, 45}}
            << QList<int>{1, 2, 4, 8} << 2;
        QTest::newRow("forty ID photos on 4x6 in") << Inch4x6 << QList<QSizeF>{{35, 45}} << QList<int>{40} << 5;
        QTest::newRow("one size too large refuses all")
            << Inch4x6 << QList<QSizeF>{{35, 45}, {200, 250}} << QList<int>{2, 1} << 0;
    }
    void packSheets()
    {
        QFETCH(QSizeF, paper);
        QFETCH(QList<QSizeF>, sizes);
        QFETCH(QList<int>, copies);
        QFETCH(int, sheets);
        std::vector<SheetItem> items;
        int total = 0;
        for (int i = 0; i < sizes.size(); ++i) {
            items.push_back({sizes[i], copies[i]});
            total += copies[i];
        }
        const SheetArea sheet = WholeSheet(paper.width(), paper.height());
        const SheetSpacing spacing{3, 2};
        const SheetLayout layout = PackSheets(sheet, spacing, items);
        if (sheets == 0) {
            QVERIFY(!layout.Error.isEmpty());
            QVERIFY(layout.Frames.empty());
            return;
        }
        QVERIFY(layout.Sheets <= sheets);
        QCOMPARE(int(layout.Frames.size()), total);
        for (const SheetFrame &f : layout.Frames) {
            const QSizeF asked = f.Turned ? items[std::size_t(f.Item)].Size.transposed() : items[std::size_t(f.Item)].Size;
            QVERIFY(qAbs(f.Rect.width() - asked.width()) < 1e-9 && qAbs(f.Rect.height() - asked.height()) < 1e-9);
        }
        CheckLayout(layout, UsableArea(sheet, spacing), spacing.Gap);
    }

    // Preset files: what is refused, and that a refusal says why.
    void presetFile_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<double>("widthMm"); // 0 = refused
        QTest::newRow("millimetres") << QByteArray(R"({"name":"Badge","width":54,"height":86,"unit":"mm"})") << 54.0;
        QTest::newRow("inches with a head rule")
            << QByteArray(R"({"name":"Visa","width":2,"height":2,"unit":"in","id":{"headMin":25,"headMax":35}})")
            << 2 * MmPerInch;
        QTest::newRow("damaged") << QByteArray(R"({"name":"Badge","width":54,)") << 0.0;
        QTest::newRow("not an object") << QByteArray(R"([54, 86])") << 0.0;
        QTest::newRow("negative width") << QByteArray(R"({"name":"x","width":-5,"height":86,"unit":"mm"})") << 0.0;
        QTest::newRow("huge height") << QByteArray(R"({"name":"x","width":5,"height":1e300,"unit":"mm"})") << 0.0;
        QTest::newRow("over a metre in cm") << QByteArray(R"({"name":"x","width":5,"height":120,"unit":"cm"})") << 0.0;
        QTest::newRow("unknown unit") << QByteArray(R"({"name":"x","width":5,"height":8,"unit":"furlong"})") << 0.0;
        QTest::newRow("width as text") << QByteArray(R"({"name":"x","width":"5","height":8,"unit":"mm"})") << 0.0;
        QTest::newRow("no name") << QByteArray(R"({"width":5,"height":8,"unit":"mm"})") << 0.0;
        QTest::newRow("head rule upside down")
            << QByteArray(R"({"name":"x","width":35,"height":45,"unit":"mm","id":{"headMin":36,"headMax":32}})") << 0.0;
        QTest::newRow("too long to be a size") << QByteArray(MaxPresetFileBytes + 1, ' ') << 0.0;
    }
    void presetFile()
    {
        QFETCH(QByteArray, json);
        QFETCH(double, widthMm);
        const PresetParse p = ParsePrintSizePreset(json);
        QCOMPARE(p.Ok, widthMm > 0);
        QCOMPARE(p.Error.isEmpty(), p.Ok);
        if (p.Ok) {
            QCOMPARE(p.Size.widthMm(), widthMm);
            const PresetParse again = ParsePrintSizePreset(PrintSizePresetJson(p.Size));
            QVERIFY(again.Ok);
            QCOMPARE(again.Size.widthMm(), widthMm);
            QCOMPARE(again.Size.Id.HeadMax, p.Size.Id.HeadMax);
        }
    }

    // A damaged preset is named and left out; the good one and every
    // built-in size are still offered.
    void presetFolder()
    {
        QTemporaryDir dir;
        PrintSize badge;
        badge.Name = QStringLiteral("Badge");
        badge.Width = 54;
        badge.Height = 86;
        QString error;
        QVERIFY(!SaveUserPrintSize(dir.path(), badge, &error).isEmpty());
        QFile bad(dir.filePath(QStringLiteral("broken.json")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("{\"name\":");
        bad.close();
        const UserPresets user = LoadUserPrintSizes(dir.path());
        QCOMPARE(int(user.Sizes.size()), 1);
        QCOMPARE(user.Errors.size(), 1);
        QVERIFY(user.Errors.front().startsWith(QStringLiteral("broken.json: ")));

        const std::vector<PictureEntry> none;
        PrintSheetDialog dialog(none, -1, WholeSheet(210, 297), dir.path());
        QCOMPARE(int(dialog.sizes().size()), int(BuiltInPrintSizes().size()) + 1);
        QVERIFY(!dialog.PresetErrors->isHidden());
        QVERIFY(dialog.PresetErrors->text().contains(QStringLiteral("broken.json")));
    }

    void idGuides_data()
    {
        QTest::addColumn<double>("widthMm");
        QTest::addColumn<double>("heightMm");
        QTest::addColumn<int>("lines"); // 0 = not an ID size
        QTest::newRow("35x45 mm: crown and chin band") << 35.0 << 45.0 << 3;
        QTest::newRow("turned frame still matches") << 45.0 << 35.0 << 3;
        QTest::newRow("2x2 in: also the eye band") << 2 * MmPerInch << 2 * MmPerInch << 5;
        QTest::newRow("51x51 mm is within 0.05 mm of 2 in") << 50.82 << 50.78 << 5;
        QTest::newRow("10x15 cm is no ID size") << 100.0 << 150.0 << 0;
    }
    void idGuides()
    {
        QFETCH(double, widthMm);
        QFETCH(double, heightMm);
        QFETCH(int, lines);
        const PrintSize *size = MatchIdPhotoSize(widthMm, heightMm);
        QCOMPARE(size != nullptr, lines > 0);
        if (!size)
            return;
        const std::vector<IdGuideLine> guides = IdGuideLines(size->Id, size->heightMm());
        QCOMPARE(int(guides.size()), lines);
        for (const IdGuideLine &g : guides)
            QVERIFY(g.Y > 0 && g.Y < size->heightMm());
        // Over a placed frame: across it, upright in a turned frame.
        Placement p{};
        p.Left = 0.5;
        p.Top = 0.5;
        p.Width = widthMm / MmPerInch;
        p.Height = heightMm / MmPerInch;
        const DeviceFrame f = PlacementFrame(p, PrintScale(600));
        const QRect frame(f.X, f.Y, f.W + 1, f.H + 1);
        const bool turned = widthMm > heightMm + 1; // squares stay upright
        for (const IdGuide &g : IdGuidesFor(p, PrintScale(600))) {
            QCOMPARE(g.Line.x1() == g.Line.x2(), turned);
            QVERIFY(frame.contains(g.Line.p1()) && frame.contains(g.Line.p2()));
        }
    }

    // Every sheet dialog's drawing: the paper centred and scaled to the widget
    // less a 6 pixel border, shapes placed from the printable area's corner,
    // spilling past the paper where they reach beyond it.
    void paperSketch_data()
    {
        QTest::addColumn<QSizeF>("paper");   // mm
        QTest::addColumn<QRectF>("printable"); // mm on the paper
        QTest::addColumn<QRectF>("shape");   // mm on the printable area
        QTest::addColumn<QPoint>("inShape"); // widget pixels
        QTest::addColumn<QPoint>("onPaper");
        QTest::addColumn<QPoint>("offPaper");
        QTest::newRow("portrait paper filling the widget")
            << QSizeF(200, 300) << QRectF(10, 10, 180, 280) << QRectF(0, 0, 20, 20) << QPoint(26, 26) << QPoint(8, 100)
            << QPoint(3, 100);
        QTest::newRow("landscape paper, centred top to bottom")
            << QSizeF(300, 200) << QRectF(10, 10, 280, 180) << QRectF(0, 0, 30, 30) << QPoint(22, 106) << QPoint(100, 200)
            << QPoint(100, 80);
        QTest::newRow("a frame beyond a borderless paper's edge")
            << QSizeF(200, 300) << QRectF(0, 0, 200, 300) << QRectF(-5, -5, 20, 20) << QPoint(3, 3) << QPoint(100, 100)
            << QPoint(3, 100);
    }
    void paperSketch()
    {
        QFETCH(QSizeF, paper);
        QFETCH(QRectF, printable);
        QFETCH(QRectF, shape);
        QFETCH(QPoint, inShape);
        QFETCH(QPoint, onPaper);
        QFETCH(QPoint, offPaper);
        PaperSketch sketch;
        sketch.setFixedSize(212, 312);
        const QColor fill(200, 40, 40);
        sketch.showSheet(SheetArea{paper, printable, true}, {{shape, fill, false}});
        const QImage drawn = sketch.grab().toImage();
        QCOMPARE(drawn.pixelColor(inShape), fill);
        QCOMPARE(drawn.pixelColor(onPaper), QColor(Qt::white));
        QVERIFY(drawn.pixelColor(offPaper) != QColor(Qt::white) && drawn.pixelColor(offPaper) != fill);
    }

    // ID photos are upright by definition: a landscape photo keeps the
    // upright frame and is cut to it, and no frame is turned to fit more.
    void idSizesStayUpright_data()
    {
        QTest::addColumn<QSizeF>("asked");
        QTest::addColumn<bool>("mixed");
        QTest::newRow("passport, as many as fit") << QSizeF(35, 45) << false;
        QTest::newRow("passport asked lying") << QSizeF(45, 35) << false;
        QTest::newRow("passport in a mixed sheet") << QSizeF(35, 45) << true;
    }
    void idSizesStayUpright()
    {
        QFETCH(QSizeF, asked);
        QFETCH(bool, mixed);
        const QSizeF frame = SizeLikePicture(asked, QSize(40, 30)); // a landscape photo
        QCOMPARE(frame, QSizeF(35, 45));
        const SheetArea sheet = WholeSheet(Inch4x6.width(), Inch4x6.height());
        const SheetLayout layout = mixed ? PackSheets(sheet, { 3, 2 }, { { frame, 9, true }, { { 89, 64 }, 1, false } })
                                         : FillSheets(sheet, { 3, 2 }, frame, 0, true);
        QVERIFY(layout.Error.isEmpty());
        QVERIFY(layout.Frames.size() >= 6);
        for (const SheetFrame& f : layout.Frames)
            if (!mixed || f.Item == 0)
                QVERIFY(!f.Turned && f.Rect.width() < f.Rect.height());
    }

    // Placing a sheet: one undo step; a turned frame shows a turned copy of
    // its picture; the pages grow to hold the frames.
    void placeAsOneStep()
    {
        ArrangementDocument doc;
        doc.recordsForSetUp().appendPicture(QStringLiteral("/p/portrait.bmp"), Picture(30, 40));
        doc.undoStack()->clear();
        const SheetLayout layout = FillSheets(WholeSheet(Inch4x6.width(), Inch4x6.height()), {3, 2},
                                              SizeLikePicture({45, 35}, {30, 40}), 10);
        QVERIFY(layout.Frames.front().Turned);
        PageGeometry paper{2400, 3600, 600, 600};
        const SheetPlacement placed = PlaceSheetLayout(doc, layout, {0}, QStringLiteral("Print sheet"), paper, nullptr);
        QVERIFY(placed.Error.isEmpty());
        QCOMPARE(placed.Placed, 10);
        QCOMPARE(doc.pageCount(), 2);
        // The frames turn the picture: the collection keeps its one entry, upright.
        QCOMPARE(doc.records().PictureCount(), 1);
        const PictureEntry &picture = doc.records().Pictures.back();
        QVERIFY(DibWidth(picture.Dib) < DibHeight(picture.Dib));
        QCOMPARE(picture.Rotation, 0);
        for (int i = 0; i < doc.records().Placements.size(); ++i) {
            const Placement &p = doc.records().Placements.at(i);
            QCOMPARE(p.PictureId, picture.PictureId);
            QCOMPARE(p.Turn, 1);
            QVERIFY(p.Width > p.Height);
            QCOMPARE(int(p.Cut), 1);
        }
        QCOMPARE(doc.undoStack()->count(), 1);
        doc.undoStack()->undo();
        QCOMPARE(doc.records().Placements.size(), 0);
        QCOMPARE(doc.records().PictureCount(), 1);

        SheetLayout refused;
        refused.Frames.push_back({});
        QVERIFY(!PlaceSheetLayout(doc, refused, {5}, QStringLiteral("Print sheet"), paper, nullptr).Error.isEmpty());
        QCOMPARE(doc.undoStack()->count(), 1);
    }

    // The arrange page's command: the dialog's choice lands on the current
    // page; a size larger than the paper is refused with a message.
    void fromTheArrangePage_data()
    {
        QTest::addColumn<QSizeF>("size"); // mm
        QTest::addColumn<int>("placed");
        QTest::addColumn<int>("messages");
        QTest::newRow("ID photos stay upright: 25, not 28 turned") << QSizeF(35, 45) << 25 << 0;
        QTest::newRow("wallets turned to fit 8") << QSizeF(64, 89) << 8 << 0;
        QTest::newRow("20x30 cm on an 8x11 in page") << QSizeF(200, 300) << 0 << 1;
    }
    void fromTheArrangePage()
    {
        QFETCH(QSizeF, size);
        QFETCH(int, placed);
        QFETCH(int, messages);
        TMainForm form;
        form.printer().setFixedPage(4800, 6600, 600, 600);
        form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/portrait.bmp"), Picture(30, 40));
        DialogRecorder rec;
        rec.handler.exec = [&](QDialog *dialog) {
            auto *d = static_cast<PrintSheetDialog *>(dialog);
            d->WidthEd->setValue(size.width());
            d->HeightEd->setValue(size.height());
            d->MarginEd->setValue(5);
            d->GapEd->setValue(3);
            d->place();
            return d->result();
        };
        rec.install();
        form.arrangePage().makeSheet(*FindSheetMaker(QStringLiteral("print-sheets")));
        QCOMPARE(form.Doc->records().Placements.size(), placed);
        QCOMPARE(int(rec.messages.size()), messages);
    }

    // The next print sheet starts from the size and the list last placed;
    // a listed picture no longer in the collection is left out.
    void sizeAndListKeptBetweenUses()
    {
        TMainForm form;
        form.printer().setFixedPage(4800, 6600, 600, 600);
        form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/portrait.bmp"), Picture(30, 40));
        form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/landscape.bmp"), Picture(40, 30));
        QSizeF offered;
        int uses = 0;
        std::vector<PrintSheetSettings::ListRow> listed;
        DialogRecorder rec;
        rec.handler.exec = [&](QDialog *dialog) {
            auto *d = static_cast<PrintSheetDialog *>(dialog);
            offered = QSizeF(d->WidthEd->value(), d->HeightEd->value());
            listed = d->keptList();
            if (uses++ == 0) {
                d->WidthEd->setValue(51);
                d->HeightEd->setValue(51);
                d->PictureBox->setCurrentIndex(1);
                d->CopiesEd->setValue(3);
                d->addToList();
                d->PictureBox->setCurrentIndex(0);
                d->CopiesEd->setValue(2);
                d->addToList();
            }
            d->place();
            return d->result();
        };
        rec.install();
        const SheetMaker &maker = *FindSheetMaker(QStringLiteral("print-sheets"));
        form.arrangePage().makeSheet(maker);
        form.arrangePage().makeSheet(maker);
        QCOMPARE(offered, QSizeF(51, 51));
        QCOMPARE(listed.size(), std::size_t(2));
        QCOMPARE(listed[0].File, QStringLiteral("/p/landscape.bmp"));
        QCOMPARE(listed[0].Copies, 3);
        QCOMPARE(listed[1].File, QStringLiteral("/p/portrait.bmp"));
        // A new arrangement without the landscape picture gets the rest of the list.
        form.Doc->reset();
        form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/portrait.bmp"), Picture(30, 40));
        form.arrangePage().makeSheet(maker);
        QCOMPARE(listed.size(), std::size_t(1));
        QCOMPARE(listed[0].File, QStringLiteral("/p/portrait.bmp"));
    }
};

SGA_TEST(TestPrintSheets)
#include "tst_printsheets.moc"
