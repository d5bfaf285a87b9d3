#include "common/TestRegistry.h"
#include "document/ArrangementDocument.h"
#include "document/ArrangementFile.h"

#include <QTest>
#include <QUndoStack>
#include <QtEndian>

#include <cstring>
#include <functional>
#include <limits>

namespace {
const OrderList TwoLines{
    {QStringLiteral("J\u00fcrgen"), QStringLiteral("a.jpg"), QStringLiteral("Photo 13 x 18 cm"), 130, 180, false, 1},
    {QStringLiteral("J\u00fcrgen"), QStringLiteral("/p/b.jpg"), QStringLiteral("35 x 45 mm"), 35, 45, true, 4}};

QByteArray Payload(OrderList lines, double width, std::uint32_t copies)
{
    lines.front().WidthMm = width;
    QByteArray p = OrderChunkPayload(lines);
    // The first line's copies are its last four bytes.
    const qsizetype firstEnd = p.size() - (OrderChunkPayload({lines.back()}).size() - 4);
    qToLittleEndian(copies, p.data() + firstEnd - 4);
    return p;
}

// Three linked copies of one picture and one of its own, a linked one selected.
void LinkedCopies(ArrangementDocument &doc)
{
    DIB d;
    newdib(&d, 60, 40, 24, nullptr, 0);
    std::memset(d.Bits, 128, d.Info->biSizeImage);
    {
        const auto s = doc.step(QStringLiteral("Add"));
        doc.addDecodedPicture(QStringLiteral("/p/a.bmp"), DecodedPicture{d, RecipeOfDib(d), false, {}});
    }
    SheetPlan plan;
    for (int link : {1, 1, 1, 0})
        plan.Frames.push_back(SheetPlanFrame{0, false, 0.5, 0.5, 1, 1, 0, true, {}, {}, link});
    (void)doc.placeSheet(plan, QStringLiteral("Order sheets"), {4800, 6600, 600, 600, 96, 100}, nullptr);
    doc.selectPlacement(0); // brought to the front: the selected copy is the last placement
}

int LinkedOtherThanSelected(const ArrangementDocument &doc)
{
    const TArrangement &r = doc.records();
    for (int i = 0; i < r.Placements.size(); ++i)
        if (i != r.SelectedPlacement && r.Placements.at(i).Link != 0)
            return i;
    return -1;
}
} // namespace

using ViewStep = std::function<void(ArrangementDocument &, const FrameView &)>;
Q_DECLARE_METATYPE(ViewStep)

class TestOrderList : public QObject
{
    Q_OBJECT
private slots:
    // An arrangement with an order list and linked copies keeps them through
    // saving and opening; one without writes no chunk, so its bytes are as before.
    void orderListInTheFile()
    {
        ArrangementData d;
        d.Pictures.push_back({QStringLiteral("a.jpg"), 0, 1, QString()});
        Placement p{};
        p.Width = p.Height = 1;
        p.Page = 1;
        p.PictureId = 1;
        d.Placements = {p, p};
        const QByteArray base = WriteArrangement(d);
        QVERIFY(!base.contains("SGAX"));
        d.Orders = TwoLines;
        d.Placements[1].Link = 7;
        const QByteArray bytes = WriteArrangement(d);
        QCOMPARE(bytes.left(base.size()), base);
        ArrangementData out;
        QCOMPARE(ReadArrangement(bytes, out), ArrangementReadStatus::Ok);
        QCOMPARE(out.Orders, TwoLines);
        QCOMPARE(out.Placements[0].Link, 0);
        QCOMPARE(out.Placements[1].Link, 7);
        QCOMPARE(WriteArrangement(out), bytes);
    }

    // Payloads as a damaged or hand-made file may hold them.
    void orderChunk_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("firstCopies");
        QTest::addColumn<double>("firstWidth");
        QTest::newRow("as written") << OrderChunkPayload(TwoLines) << true << 2 << 1 << 130.0;
        QTest::newRow("copies and size held") << Payload(TwoLines, 1e9, 1000000) << true << 2 << MaxOrderCopies
                                              << 1000.0;
        QTest::newRow("no copies held to one") << Payload(TwoLines, 130, 0) << true << 2 << 1 << 130.0;
        QTest::newRow("line without a size dropped")
            << Payload(TwoLines, std::numeric_limits<double>::quiet_NaN(), 1) << true << 1 << 4 << 35.0;
        QTest::newRow("cut short") << OrderChunkPayload(TwoLines).chopped(3) << false << 0 << 0 << 0.0;
        QByteArray huge = OrderChunkPayload(TwoLines);
        qToLittleEndian(std::uint32_t(0xFFFFFFFF), huge.data());
        QTest::newRow("count past the payload") << huge << false << 0 << 0 << 0.0;
        QByteArray longText = OrderChunkPayload(TwoLines);
        qToLittleEndian(std::int32_t(0x7FFFFFFF), longText.data() + 4);
        QTest::newRow("text length past the payload") << longText << false << 0 << 0 << 0.0;
    }
    void orderChunk()
    {
        QFETCH(QByteArray, payload);
        QFETCH(bool, ok);
        QFETCH(int, lines);
        QFETCH(int, firstCopies);
        QFETCH(double, firstWidth);
        OrderList read = TwoLines;
        QCOMPARE(ReadOrderChunk(payload, read), ok);
        if (!ok) {
            QCOMPARE(read, TwoLines); // left as it was
            return;
        }
        QCOMPARE(int(read.size()), lines);
        QCOMPARE(read.front().Copies, firstCopies);
        QCOMPARE(read.front().WidthMm, firstWidth);
    }

    // Moving the picture in one linked copy moves it in every copy, as one
    // undo step; a copy of its own, or one unlinked, keeps its view.
    void linkedCopiesShareTheirView_data()
    {
        QTest::addColumn<ViewStep>("move");
        QTest::addColumn<int>("showing"); // frames that show the chosen view
        const PageGeometry paper{4800, 6600, 600, 600, 96, 100};
        QTest::newRow("view set") << ViewStep([paper](ArrangementDocument &doc, const FrameView &v) {
            doc.setSelectedView(v, QStringLiteral("Zoom"), paper, nullptr);
        }) << 3;
        QTest::newRow("picture dragged") << ViewStep([paper](ArrangementDocument &doc, const FrameView &v) {
            doc.beginDrag();
            doc.dragViewTo(FrameView{0.5, 0.5, 1.5});
            doc.dragViewTo(v);
            doc.endDrag(QStringLiteral("Move picture"), paper, nullptr);
        }) << 3;
        QTest::newRow("one copy unlinked first") << ViewStep([paper](ArrangementDocument &doc, const FrameView &v) {
            doc.selectPlacement(LinkedOtherThanSelected(doc));
            doc.setSelectedLinked(false, QStringLiteral("Unlink"));
            doc.selectPlacement(LinkedOtherThanSelected(doc));
            doc.setSelectedView(v, QStringLiteral("Zoom"), paper, nullptr);
        }) << 2;
    }
    void linkedCopiesShareTheirView()
    {
        QFETCH(ViewStep, move);
        QFETCH(int, showing);
        ArrangementDocument doc;
        LinkedCopies(doc);
        const FrameView chosen{0.3, 0.6, 2};
        move(doc, chosen);
        auto count = [&] {
            int n = 0;
            for (int i = 0; i < doc.records().Placements.size(); ++i)
                n += doc.records().Placements.at(i).View == chosen;
            return n;
        };
        QCOMPARE(count(), showing);
        doc.undoStack()->undo(); // every copy back at once
        QCOMPARE(count(), 0);
    }
};

SGA_TEST(TestOrderList)
#include "tst_orderlist.moc"
