#include "arrange/OrderCsv.h"
#include "common/TestRegistry.h"

#include <QTest>

namespace {
const QByteArray Header = "order,picture,size,copies\n";
// Pictures are there unless their name says otherwise.
bool Exists(const QString &path) { return !path.contains(QLatin1String("missing")); }
} // namespace

class TestOrderCsv : public QObject
{
    Q_OBJECT
private slots:
    // Rows written the ways people write them, each read as one line.
    void goodRow_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QSizeF>("size"); // mm
        QTest::addColumn<bool>("upright");
        QTest::addColumn<int>("copies");
        QTest::newRow("listed size") << Header + "Mia,a.jpg,Photo 13 x 18 cm,1" << "/csv/a.jpg" << QSizeF(130, 180)
                                     << false << 1;
        QTest::newRow("ID size stays upright")
            << Header + "Mia,a.jpg,Passport / ID 35 x 45 mm,4" << "/csv/a.jpg" << QSizeF(35, 45) << true << 4;
        QTest::newRow("inch size with its millimetres")
            << Header + "Mia,a.jpg,Wallet 2.5 x 3.5 in (63.5 x 88.9 mm),8" << "/csv/a.jpg" << QSizeF(63.5, 88.9)
            << false << 8;
        QTest::newRow("typed size, any case and spacing")
            << Header + "Mia,a.jpg,  60X90 MM ,2" << "/csv/a.jpg" << QSizeF(60, 90) << false << 2;
        QTest::newRow("typed inches") << Header + "Mia,a.jpg,2.5 x 3.5 in,1" << "/csv/a.jpg" << QSizeF(63.5, 88.9)
                                      << false << 1;
        QTest::newRow("typed ID size is upright")
            << Header + "Mia,a.jpg,45 x 35 mm,1" << "/csv/a.jpg" << QSizeF(45, 35) << true << 1;
        QTest::newRow("semicolons, byte order mark, CRLF, decimal comma")
            << QByteArray("\xEF\xBB\xBF" "order;picture;size;copies\r\nMia;sub/../b.jpg;2,5 x 3,5 in;3\r\n")
            << "/csv/b.jpg" << QSizeF(63.5, 88.9) << false << 3;
        QTest::newRow("quoted name with separator, absolute path")
            << Header + "\"Ben, Jr.\",/photos/c.jpg,10 x 15 cm,1" << "/photos/c.jpg" << QSizeF(100, 150) << false
            << 1;
        QTest::newRow("UTF-8 names and blank lines")
            << Header + "\n\nJ\xC3\xBCrgen,\xC3\xA9t\xC3\xA9.jpg,9 x 13 cm,1\n\n" << "/csv/\u00e9t\u00e9.jpg"
            << QSizeF(90, 130) << false << 1;
    }
    void goodRow()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, picture);
        QFETCH(QSizeF, size);
        QFETCH(bool, upright);
        QFETCH(int, copies);
        const OrderCsvRead read = ReadOrderCsv(csv, QStringLiteral("/csv"), BuiltInPrintSizes(), Exists);
        QVERIFY2(read.Errors.empty(), read.Errors.empty() ? "" : qPrintable(read.Errors.front().text()));
        QCOMPARE(int(read.Lines.size()), 1);
        const OrderLine &l = read.Lines.front();
        QCOMPARE(l.Picture, picture);
        QVERIFY(std::abs(l.WidthMm - size.width()) < 0.01 && std::abs(l.HeightMm - size.height()) < 0.01);
        QCOMPARE(l.Upright, upright);
        QCOMPARE(l.Copies, copies);
    }

    // A damaged or hostile row between two good ones: named with its line,
    // the good rows kept.
    void badRow_data()
    {
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<QString>("reason"); // part of it
        QTest::newRow("unknown size name") << QByteArray("A,a.jpg,Huge 13 x 18 cm,1") << "no print size";
        QTest::newRow("size without unit") << QByteArray("A,a.jpg,13 x 18,1") << "no print size";
        QTest::newRow("size too small") << QByteArray("A,a.jpg,1 x 2 mm,1") << "between 5 and";
        QTest::newRow("size too large") << QByteArray("A,a.jpg,2000 x 3000 mm,1") << "between 5 and";
        QTest::newRow("missing file") << QByteArray("A,missing.jpg,10 x 15 cm,1") << "is not there";
        QTest::newRow("10,000 copies") << QByteArray("A,a.jpg,10 x 15 cm,10000") << "copies";
        QTest::newRow("no copies") << QByteArray("A,a.jpg,10 x 15 cm,0") << "copies";
        QTest::newRow("negative copies") << QByteArray("A,a.jpg,10 x 15 cm,-3") << "copies";
        QTest::newRow("copies in words") << QByteArray("A,a.jpg,10 x 15 cm,two") << "not a whole number";
        QTest::newRow("copies past 64 bits") << QByteArray("A,a.jpg,10 x 15 cm,99999999999999999999999")
                                             << "not a whole number";
        QTest::newRow("too few fields") << QByteArray("A,a.jpg,10 x 15 cm") << "3 fields";
        QTest::newRow("too many fields") << QByteArray("A,a.jpg,10 x 15 cm,1,extra") << "5 fields";
        QTest::newRow("no order name") << QByteArray(",a.jpg,10 x 15 cm,1") << "no order name";
        QTest::newRow("no picture") << QByteArray("A,,10 x 15 cm,1") << "no picture";
        QTest::newRow("open quote") << QByteArray("\"A,a.jpg,10 x 15 cm,1") << "quote";
        QTest::newRow("1 MB line") << QByteArray("A,a.jpg,10 x 15 cm,") + QByteArray(1 << 20, '1') << "longer than";
        QTest::newRow("Latin-1 text") << QByteArray("J\xFCrgen,a.jpg,10 x 15 cm,1") << "not UTF-8";
        QTest::newRow("UTF-16 bytes") << QByteArray("\xFF\xFE" "A\0,\0", 6) << "not UTF-8";
        QTest::newRow("NUL inside") << QByteArray("A,a\0.jpg,10 x 15 cm,1", 21) << "not UTF-8";
        QTest::newRow("a field of 2000 characters") << QByteArray("A,") + QByteArray(2000, 'x') + ",10 x 15 cm,1"
                                                    << "longer than 1000";
    }
    void badRow()
    {
        QFETCH(QByteArray, row);
        QFETCH(QString, reason);
        const QByteArray csv = Header + "Mia,a.jpg,10 x 15 cm,1\n" + row + "\nBen,b.jpg,9 x 13 cm,2\n";
        const OrderCsvRead read = ReadOrderCsv(csv, QStringLiteral("/csv"), BuiltInPrintSizes(), Exists);
        QCOMPARE(int(read.Lines.size()), 2);
        QCOMPARE(int(read.Errors.size()), 1);
        QCOMPARE(read.Errors.front().Line, 3);
        QVERIFY2(read.Errors.front().Reason.contains(reason), qPrintable(read.Errors.front().Reason));
    }

    // Whole-list limits: the header, and the frames the list may ask for.
    void wholeList_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("firstErrorLine"); // 0: none
        QTest::newRow("empty file") << QByteArray() << 0 << 1;
        QTest::newRow("wrong header") << QByteArray("name,file,size,count\nA,a.jpg,10 x 15 cm,1\n") << 0 << 1;
        QByteArray many = Header;
        for (int i = 0; i < 11; ++i)
            many += "A,a.jpg,35 x 45 mm,1000\n";
        QTest::newRow("more than 10,000 frames") << many << 10 << 12;
        QByteArray rows = Header;
        for (int i = 0; i < MaxOrderLines + 5; ++i)
            rows += "A,a.jpg,35 x 45 mm,1\n";
        QTest::newRow("more rows than a list holds") << rows << MaxOrderLines << MaxOrderLines + 2;
    }
    void wholeList()
    {
        QFETCH(QByteArray, csv);
        QFETCH(int, lines);
        QFETCH(int, firstErrorLine);
        const OrderCsvRead read = ReadOrderCsv(csv, QStringLiteral("/csv"), BuiltInPrintSizes(), Exists);
        QCOMPARE(int(read.Lines.size()), lines);
        QCOMPARE(read.Errors.empty() ? 0 : read.Errors.front().Line, firstErrorLine);
    }
};

SGA_TEST(TestOrderCsv)
#include "tst_ordercsv.moc"
