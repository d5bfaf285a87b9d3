#include "common/TestRegistry.h"
#include "document/Arrangement.h"

#include <QTest>

namespace {
Placement *place(TArrangement &a, int pictureId, int page = 1, double left = 0)
{
    Placement *p = a.Placements.Append();
    p->PictureId = pictureId;
    p->Page = page;
    p->Left = left;
    return p;
}

DIB smallPicture()
{
    DIB d;
    newdib(&d, 4, 3, 24, nullptr, 0);
    return d;
}

std::vector<double> lefts(const TArrangement &a)
{
    std::vector<double> r;
    for (int i = 0; i < a.Placements.size(); ++i)
        r.push_back(a.Placements.at(i).Left);
    return r;
}
} // namespace

class TestDynaArray : public QObject
{
    Q_OBJECT
private slots:
    void createIsEmpty()
    {
        Placement *cursor = reinterpret_cast<Placement *>(0x1);
        TDynaArray<Placement> arr(&cursor);
        QCOMPARE(arr.Count, 0u);
        QCOMPARE(arr.CurrentIndex, -1);
        QCOMPARE(cursor, nullptr);
        QCOMPARE(arr.ItemSize, int(sizeof(Placement))); // the 48-byte record and its view
        QCOMPARE(arr.GrowBy, 1u);
    }

    void appendZeroFillsAndPublishes()
    {
        Placement *cursor = nullptr;
        TDynaArray<Placement> arr(&cursor);
        Placement *a = arr.Append();
        std::memset(static_cast<void *>(a), 0xAB, sizeof(Placement));
        Placement *b = arr.Append(); // reallocation keeps the first element
        QCOMPARE(cursor, b);
        QCOMPARE(arr.at(0).Page, std::int32_t(0xABABABAB));
        const Placement zero{};
        QVERIFY(std::memcmp(b, &zero, sizeof(Placement)) == 0);
        QCOMPARE(arr.capacity(), 2 * int(sizeof(Placement)));
    }

    void iterationVisitsEachOnce_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("empty") << 0;
        QTest::newRow("one element") << 1;
        QTest::newRow("three elements") << 3;
    }
    void iterationVisitsEachOnce()
    {
        QFETCH(int, count);
        Placement *cursor = nullptr;
        TDynaArray<Placement> arr(&cursor);
        for (int i = 0; i < count; ++i)
            arr.Append()->Page = i + 1;
        arr.First();
        int seen = 0;
        while (arr.Next()) {
            QCOMPARE(cursor->Page, seen + 1);
            QCOMPARE(arr.CurrentIndex - 1, seen);
            ++seen;
        }
        QCOMPARE(seen, count);
        QVERIFY(!arr.Next());
    }

    void deleteFirstOfThreeKeepsOrder()
    {
        TArrangement a;
        place(a, 0, 1, 1.0);
        place(a, 0, 1, 2.0);
        place(a, 0, 1, 3.0);
        a.Placements.Delete(0);
        QCOMPARE(lefts(a), (std::vector<double>{2.0, 3.0}));
        QCOMPARE(a.CurrentPlacement, nullptr);
        QCOMPARE(a.Placements.CurrentIndex, -1);
    }

    void outOfRangeIsIgnored_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::newRow("negative") << -1 << 0;
        QTest::newRow("past end") << 0 << 2;
    }
    void outOfRangeIsIgnored()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        TArrangement arr;
        place(arr, 0, 1, 1.0);
        place(arr, 0, 1, 2.0);
        arr.Placements.Exchange(a, b);
        arr.Placements.Delete(b == 2 ? 2 : a);
        QCOMPARE(lefts(arr), (std::vector<double>{1.0, 2.0}));
    }

    void deleteLastFreesBuffer()
    {
        TArrangement a;
        place(a, 0);
        a.Placements.Delete(0);
        QCOMPARE(a.Placements.Count, 0u);
        QCOMPARE(a.Placements.capacity(), 0);
        a.Placements.First();
        QVERIFY(!a.Placements.Next());
    }
};

class TestArrangement : public QObject
{
    Q_OBJECT
private slots:
    void deletingPicturePlacedTwiceRemovesBoth()
    {
        TArrangement a;
        const int keep = a.appendPicture(QStringLiteral("/p/a.jpg"), smallPicture());
        const int gone = a.appendPicture(QStringLiteral("/p/b.jpg"), smallPicture());
        place(a, keep, 1, 1.0);
        place(a, gone, 1, 2.0);
        place(a, keep, 2, 3.0);
        place(a, gone, 3, 4.0);
        a.SelectedPlacement = 3;
        a.deletePictureEntry(1);
        QCOMPARE(a.PictureCount(), 1);
        QCOMPARE(lefts(a), (std::vector<double>{1.0, 3.0}));
        QCOMPARE(a.SelectedPlacement, 1); // brought back into range
    }

    void selectionBecomesNoneWhenNothingLeft()
    {
        TArrangement a;
        const int id = a.appendPicture(QStringLiteral("/p/a.jpg"), smallPicture());
        place(a, id);
        a.SelectedPlacement = 0;
        a.deletePictureEntry(0);
        QCOMPARE(a.SelectedPlacement, -1);
    }

    void idsAreNeverReusedAfterNew()
    {
        TArrangement a;
        a.appendPicture(QStringLiteral("/p/a.jpg"), smallPicture());
        a.appendPicture(QStringLiteral("/p/b.jpg"), smallPicture());
        a.DelallPics();
        QCOMPARE(a.PictureCount(), 0);
        QCOMPARE(a.Placements.Count, 0u);
        QCOMPARE(a.appendPicture(QStringLiteral("/p/c.jpg"), smallPicture()), 2);
    }

    void lookupsLeaveResultForUnknownId()
    {
        TArrangement a;
        const int id = a.appendPicture(QStringLiteral("/p/a.jpg"), smallPicture());
        QString name = QStringLiteral("unchanged"), comment = QStringLiteral("unchanged");
        DIB dib;
        a.getnumfname(id + 7, name);
        a.getnumComment(id + 7, comment);
        a.getnumdib(id + 7, &dib);
        QCOMPARE(name, QStringLiteral("unchanged"));
        QCOMPARE(comment, QStringLiteral("unchanged"));
        QCOMPARE(dib.Bits, nullptr);
        a.getnumComment(id, comment);
        QVERIFY(comment.isEmpty());
        a.getnumdib(id, &dib);
        QCOMPARE(dib.Bits, a.Pictures[0].Dib.Bits); // shares the pixels
    }

    void sharedPixelsOutliveTheOwnersRelease()
    {
        TArrangement a;
        const int id = a.appendPicture(QStringLiteral("/p/a.jpg"), smallPicture());
        DIB copy;
        a.getnumdib(id, &copy);
        setpixel(copy, 1, 1, 0x123456);
        a.DelallPics(); // the owner lets go; the copy still holds valid memory
        QCOMPARE(getpixel(copy, 1, 1), 0x123456u);
    }

    void moveSelectedToTop_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<std::vector<double>>("order");
        QTest::addColumn<int>("after");
        QTest::newRow("first of three swaps with last") << 0 << std::vector<double>{3.0, 2.0, 1.0} << 2;
        QTest::newRow("already last changes nothing") << 2 << std::vector<double>{1.0, 2.0, 3.0} << 2;
        QTest::newRow("none changes nothing") << -1 << std::vector<double>{1.0, 2.0, 3.0} << -1;
    }
    void moveSelectedToTop()
    {
        QFETCH(int, selected);
        QFETCH(std::vector<double>, order);
        QFETCH(int, after);
        TArrangement a;
        place(a, 0, 1, 1.0);
        place(a, 0, 1, 2.0);
        place(a, 0, 1, 3.0);
        a.SelectedPlacement = selected;
        a.moveSelectedToTop();
        QCOMPARE(lefts(a), order);
        QCOMPARE(a.SelectedPlacement, after);
    }
};

SGA_TEST(TestDynaArray)
SGA_TEST(TestArrangement)
#include "tst_model.moc"
