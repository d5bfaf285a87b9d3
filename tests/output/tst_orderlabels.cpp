#include "arrange/OrderSheet.h"
#include "common/PageSetup.h"
#include "common/TestRegistry.h"
#include "output/PageScale.h"
#include "output/PrintPreview.h"

#include <QTest>

#include <cstring>

namespace {
bool Dark(QRgb c) { return qRed(c) < 160 && qGreen(c) < 160 && qBlue(c) < 160; }

int DarkPixels(const QImage &img, const QRect &r)
{
    int n = 0;
    const QRect in = r.intersected(img.rect());
    for (int y = in.top(); y <= in.bottom(); ++y)
        for (int x = in.left(); x <= in.right(); ++x)
            n += Dark(img.pixel(x, y));
    return n;
}

// A class of `orders` children, each a 13 x 18, two 9 x 13, eight wallets
// and four ID photos of one white picture.
OrderList ClassOrders(int orders)
{
    OrderList lines;
    for (int c = 0; c < orders; ++c) {
        const QString name = QStringLiteral("Child %1").arg(c + 1);
        const QString pic = QStringLiteral("/p/white.bmp");
        lines.push_back({name, pic, QStringLiteral("13 x 18 cm"), 130, 180, false, 1});
        lines.push_back({name, pic, QStringLiteral("9 x 13 cm"), 90, 130, false, 2});
        lines.push_back({name, pic, QStringLiteral("2.5 x 3.5 in"), 63.5, 88.9, false, 8});
        lines.push_back({name, pic, QStringLiteral("35 x 45 mm"), 35, 45, true, 4});
    }
    return lines;
}
} // namespace

class TestOrderLabels : public QObject
{
    Q_OBJECT
private slots:
    // Every page rendered at 600 dpi: each order's label prints, and no
    // label (nor cut mark) pixel falls inside any frame.
    void labelsStayOutOfFrames_data()
    {
        QTest::addColumn<QSizeF>("paper"); // mm
        QTest::addColumn<double>("gap");
        QTest::addColumn<bool>("cutMarks");
        QTest::newRow("A4, 3 mm gap") << QSizeF(210, 297) << 3.0 << false;
        QTest::newRow("8 x 10 in, 2 mm gap, cut marks") << QSizeF(8 * MmPerInch, 10 * MmPerInch) << 2.0 << true;
    }
    void labelsStayOutOfFrames()
    {
        QFETCH(QSizeF, paper);
        QFETCH(double, gap);
        QFETCH(bool, cutMarks);
        ArrangementDocument doc;
        DIB white;
        newdib(&white, 40, 60, 24, nullptr, 0);
        std::memset(white.Bits, 255, white.Info->biSizeImage);
        {
            const auto s = doc.step(QStringLiteral("Add"));
            doc.addDecodedPicture(QStringLiteral("/p/white.bmp"), DecodedPicture{white, RecipeOfDib(white), false, {}});
        }
        const OrderList lines = ClassOrders(3);
        const SheetArea sheet = WholeSheet(paper.width(), paper.height());
        const SheetSpacing spacing{5, gap};
        const std::vector<OrderPackItem> items = OrderPackItems(lines, std::vector<QSize>(lines.size(), QSize(40, 60)));
        const SheetLayout layout = PackOrders(sheet, spacing, items);
        const SheetPlan plan = OrderSheetPlan(layout, lines, std::vector<int>(lines.size(), 0), gap);
        QVERIFY(!plan.Labels.empty());
        const int pageW = int(paper.width() / MmPerInch * 600), pageH = int(paper.height() / MmPerInch * 600);
        QCOMPARE(doc.placeSheet(plan, QStringLiteral("Order sheets"), {pageW, pageH, 600, 600, 96, 100}, nullptr)
                     .Refused,
                 SheetRefusal::None);
        ArrangementOptions options = doc.options();
        options.CutMarks = cutMarks;
        const TArrangement &r = doc.records();
        const PageScale scale = PrintScale(600);
        for (int page = 1; page <= layout.Sheets; ++page) {
            const QImage img = RenderPageImage(r, page, 600, options, BarePageSetup(pageW, pageH, 600, 600));
            QVERIFY(!img.isNull());
            for (int i = 0; i < r.Placements.size(); ++i) {
                const Placement &p = r.Placements.at(i);
                if (p.Page != page)
                    continue;
                const DeviceFrame f = PlacementFrame(p, scale);
                QVERIFY2(DarkPixels(img, QRect(f.X, f.Y, f.W, f.H)) == 0,
                         qPrintable(QStringLiteral("ink inside frame %1 on page %2").arg(i).arg(page)));
            }
            for (auto [at, end] = r.Sheets.Labels.equal_range(page); at != end; ++at) {
                const SheetText &t = at->second;
                const QRect box(int(t.Left * 600), int(t.Top * 600), int(t.Width * 600),
                                int(SheetTextInches(t) * 600));
                QVERIFY2(DarkPixels(img, box) > 20, qPrintable(t.Lines.join(QLatin1Char(' '))));
            }
        }
    }
};

SGA_TEST(TestOrderLabels)
#include "tst_orderlabels.moc"
