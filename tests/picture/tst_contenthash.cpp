#include "common/TestRegistry.h"
#include "picture/FileCheck.h"

#include <QTest>

class TestContentHash : public QObject
{
    Q_OBJECT
private slots:
    // The same bytes give the same hash however they are read; one byte
    // changed anywhere, or one more byte, gives another.
    void piecesAndChanges_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("piece");
        for (const int length : {0, 5, 31, 32, 33, 100, 4099})
            for (const int piece : {1, 7, 32, 1000})
                QTest::addRow("%d bytes in pieces of %d", length, piece) << length << piece;
    }
    void piecesAndChanges()
    {
        QFETCH(int, length);
        QFETCH(int, piece);
        QByteArray bytes(length, Qt::Uninitialized);
        for (int i = 0; i < length; ++i)
            bytes[i] = char(i * 131 + (i >> 5));
        const auto hashOf = [piece](const QByteArray &data) {
            ContentHash hash;
            for (qsizetype at = 0; at < data.size(); at += piece)
                hash.addData(data.mid(at, piece));
            return hash.result();
        };
        ContentHash whole;
        whole.addData(bytes);
        QCOMPARE(hashOf(bytes), whole.result());
        QVERIFY(hashOf(bytes + '\0') != whole.result());
        for (int i = 0; i < length; i += std::max(1, length / 9)) {
            QByteArray changed = bytes;
            changed[i] = char(changed[i] ^ 0x10);
            QVERIFY2(hashOf(changed) != whole.result(), qPrintable(QStringLiteral("byte %1").arg(i)));
        }
    }
};

SGA_TEST(TestContentHash)
#include "tst_contenthash.moc"
