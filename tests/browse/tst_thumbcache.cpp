#include "browse/CacheFile.h"
#include "common/FileListSupport.h"
#include "common/TestRegistry.h"

#include <QDir>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
// A thumbnail with a recognisable pattern; 8-bit ones get a grey ramp palette.
ThumbEntry makeThumb(int w, int h, int bits, const QString& name, std::int32_t check)
{
    ThumbEntry e;
    struct {
        BITMAPINFOHEADER Header {};
        RGBQUAD Colours[256];
    } source;
    for (int i = 0; i < 256; ++i)
        source.Colours[i] = RGBQUAD { BYTE(i), BYTE(i), BYTE(255 - i), 0 };
    if (!newdib(&e.Dib, w, h, bits, &source.Header, PaletteSize(bits)))
        return e;
    for (std::uint32_t i = 0; i < e.Dib.Info->biSizeImage; ++i)
        e.Dib.Bits[i] = BYTE(i * 7 + w);
    e.Name = name;
    e.Info = { bits, w, h, w * 10, h * 10, bits == 24 ? (1 << 24) : (1 << bits), 123, check };
    return e;
}

void addThumb(ThumbList& list, int w, int h, int bits, const QString& name, std::int32_t check = 0)
{
    const ThumbEntry e = makeThumb(w, h, bits, name, check);
    list.append(e.Dib, e.Name, e.Info);
}

QString cachePath(const QTemporaryDir& dir) { return dir.path() + "/bnsbrwse.cbf"; }
} // namespace

class TestThumbCache : public QObject {
    Q_OBJECT
private slots:
    void byteCounts_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("blockLength");
        QTest::addColumn<int>("fileSize");
        // 80x60: rows of 240 bytes (24-bit) or 80 bytes (8-bit), 60 of them.
        QTest::newRow("two 80x60 at 24 bits") << 24 << 2 << 40 + 14400 << 29480;
        QTest::newRow("one 80x60 at 8 bits: P = 1024") << 8 << 1 << 1064 + 4800 << 6 + 297 + 1064 + 4800;
        QTest::newRow("one 80x60 at 1 bit: P = 8, rows padded to 12") << 1 << 1 << 48 + 720 << 6 + 297 + 48 + 720;
    }
    void byteCounts()
    {
        QFETCH(int, bits);
        QFETCH(int, count);
        QFETCH(int, blockLength);
        QFETCH(int, fileSize);
        QTemporaryDir dir;
        ThumbList list;
        for (int i = 0; i < count; ++i)
            addThumb(list, 80, 60, bits, QString("pic%1.jpg").arg(i), 1000 + i);
        SaveBrowseInfos(dir.path(), list);
        const QByteArray bytes = readFile(cachePath(dir));
        QCOMPARE(bytes.size(), fileSize);
        QCOMPARE(bytes.left(6), QByteArray("\x71\x0e", 2) + QByteArray(1, char(count)) + QByteArray(3, '\0'));
        QCOMPARE(bytes.mid(6, 9), QByteArray("pic0.jpg\0", 9));

        const CacheIndex index = LoadBrowseInfos(dir.path() + "/");
        QCOMPARE(int(index.size()), count);
        for (int i = 0; i < count; ++i) {
            const CacheIndexEntry& e = index[std::size_t(i)];
            QCOMPARE(e.BlockLength, blockLength);
            QCOMPARE(e.BlockOffset, 6 + std::int64_t(i) * (297 + blockLength) + 297);
            QCOMPARE(e.Name, QString("pic%1.jpg").arg(i));
            QVERIFY(std::memcmp(&e.Info, &list.at(i).Info, sizeof(ThumbInfo)) == 0);

            DIB dib = LoadThumbnail(dir.path(), e.BlockOffset, e.BlockLength, e.Info.ThumbWidth, e.Info.ThumbHeight,
                e.Info.BitCount, e.Info.Colours);
            QVERIFY(dib.Bits);
            const DIB& orig = list.at(i).Dib;
            QCOMPARE(dib.Info->biSizeImage, orig.Info->biSizeImage);
            QVERIFY(std::memcmp(dib.Bits, orig.Bits, orig.Info->biSizeImage) == 0);
            if (bits <= 8)
                QVERIFY(std::memcmp(DibColors(dib), DibColors(orig), 4 * PaletteSize(bits)) == 0);
            deldib(&dib);
        }
    }

    void lookupIgnoresAsciiCaseAndNeedsTheCheck_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("check");
        QTest::addColumn<int>("found");
        QTest::newRow("capitals match small letters") << "photo.jpg" << 7 << 1;
        QTest::newRow("same name, other content") << "photo.jpg" << 8 << -1;
        QTest::newRow("first of equal entries") << "a.png" << 1 << 0;
        QTest::newRow("accented letters keep their case") << "\u00e9t\u00e9.png" << 3 << -1;
    }
    void lookupIgnoresAsciiCaseAndNeedsTheCheck()
    {
        QFETCH(QString, name);
        QFETCH(int, check);
        QFETCH(int, found);
        CacheIndex index(4);
        index[0].Name = "A.PNG";
        index[0].Info.Check = 1;
        index[1].Name = "PHOTO.JPG";
        index[1].Info.Check = 7;
        index[2].Name = "a.png";
        index[2].Info.Check = 1;
        index[3].Name = "\u00c9T\u00c9.png";
        index[3].Info.Check = 3;
        QCOMPARE(FindCacheEntry(index, name, check), found);
    }

    void foreignFileIsNotOverwritten_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("text file") << QByteArray("my notes") << false;
        QTest::newRow("one byte") << QByteArray("q") << false;
        QTest::newRow("empty file") << QByteArray() << false;
        QTest::newRow("old cache") << QByteArray("\x71\x0e\0\0\0\0", 6) << true;
    }
    void foreignFileIsNotOverwritten()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, replaced);
        QTemporaryDir dir;
        QVERIFY(writeFile(cachePath(dir), content));
        ThumbList list;
        addThumb(list, 10, 10, 24, "x.bmp");
        SaveBrowseInfos(dir.path(), list);
        QCOMPARE(readFile(cachePath(dir)) == content, !replaced);
        QCOMPARE(LoadBrowseInfos(dir.path()).size(), replaced ? std::size_t(1) : std::size_t(0));
    }

    void emptyListOrUnwritableFolderWritesNothing()
    {
        QTemporaryDir dir;
        ThumbList empty;
        SaveBrowseInfos(dir.path(), empty);
        QVERIFY(!QFile::exists(cachePath(dir)));
        ThumbList list;
        addThumb(list, 10, 10, 8, "x.bmp");
        SaveBrowseInfos(dir.path() + "/missing/folder", list); // silent
        QVERIFY(!QFile::exists(dir.path() + "/missing"));
    }

    // A disk that fills up during the save: the old cache stays whole, and no
    // temporary file stays behind, not even one of an earlier save cut short.
    void failedSaveKeepsTheOldCache()
    {
        QTemporaryDir dir;
        ThumbList one, ten;
        addThumb(one, 80, 60, 24, "a.jpg");
        for (int i = 0; i < 10; ++i)
            addThumb(ten, 80, 60, 24, QString("p%1.jpg").arg(i));
        SaveBrowseInfos(dir.path(), one);
        const QByteArray old = readFile(cachePath(dir));
        QVERIFY(writeFile(cachePath(dir) + ".~k1ll3d", "cut short"));
        {
            // Writes beyond 32 KiB fail (EFBIG) as on a full disk.
            const auto previous = std::signal(SIGXFSZ, SIG_IGN);
            rlimit saved {};
            QVERIFY(::getrlimit(RLIMIT_FSIZE, &saved) == 0);
            rlimit small = saved;
            small.rlim_cur = 32768;
            QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
            SaveBrowseInfos(dir.path(), ten);
            ::setrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, previous);
        }
        QCOMPARE(readFile(cachePath(dir)), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "bnsbrwse.cbf" });
        SaveBrowseInfos(dir.path(), ten);
        QCOMPARE(LoadBrowseInfos(dir.path()).size(), std::size_t(10));
    }

    // Every prefix of a valid file, and damaged fields, give only entries that
    // are complete, and thumbnails that are either whole or absent.
    void damagedCaches()
    {
        QTemporaryDir source;
        ThumbList list;
        addThumb(list, 12, 9, 24, "one.jpg", 1);
        addThumb(list, 5, 7, 8, "two.gif", 2);
        addThumb(list, 9, 3, 4, "three.bmp", 3);
        const QByteArray valid = CacheFileBytes(list);

        QVector<QByteArray> damaged;
        for (int n = 0; n < valid.size(); ++n)
            damaged.append(valid.left(n));
        auto patched = [&valid](int at, std::int32_t v) {
            QByteArray b = valid;
            std::memcpy(b.data() + at, &v, 4);
            return b;
        };
        const int first = 6, len = first + 293, info = first + 261;
        damaged << patched(2, 1 << 30) << patched(2, -1) // absurd counts
                << patched(len, -1000) << patched(len, 0x7FFFFFFF) // absurd lengths
                << patched(len, 39) // too short for a header
                << patched(info + 4, 4000) << patched(info + 8, -5) // absurd thumbnail sizes
                << patched(info, 32) << patched(info + 20, 1 << 20) // absurd depth, colours
                << patched(first + 297 + 4, 100000) // stored header width
                << patched(first + 297 + 8, -60); // stored header height

        QTemporaryDir dir;
        for (const QByteArray& bytes : damaged) {
            QVERIFY(writeFile(cachePath(dir), bytes));
            const CacheIndex index = LoadBrowseInfos(dir.path());
            QVERIFY(index.size() <= 3);
            for (const CacheIndexEntry& e : index) {
                QVERIFY(e.BlockOffset + e.BlockLength <= bytes.size());
                DIB dib = LoadThumbnail(dir.path(), e.BlockOffset, e.BlockLength, e.Info.ThumbWidth, e.Info.ThumbHeight,
                    e.Info.BitCount, e.Info.Colours);
                if (dib.Bits) {
                    QVERIFY(DibWidth(dib) >= 1 && DibWidth(dib) <= 80);
                    QVERIFY(DibHeight(dib) >= 1 && DibHeight(dib) <= 80);
                }
                deldib(&dib);
            }
            if (bytes.size() == valid.size() - 1)
                QCOMPARE(index.size(), std::size_t(2)); // the last block is incomplete
        }
    }

    // The check value reads only the file's ends, so size and time must catch
    // edits in the middle; a rewrite within the same second with the same size
    // is caught by the ends.
    void checkValueFollowsChanges_data()
    {
        QTest::addColumn<int>("offset"); // of the changed byte; -1: none
        QTest::addColumn<int>("grow");
        QTest::addColumn<int>("timeStep"); // seconds
        QTest::addColumn<bool>("same");
        QTest::newRow("unchanged file matches") << -1 << 0 << 0 << true;
        QTest::newRow("same size and second, first block edited") << 10 << 0 << 0 << false;
        QTest::newRow("same size and second, last block edited") << 3 * 65536 + 99 << 0 << 0 << false;
        QTest::newRow("middle edited, later time") << 100000 << 0 << 1 << false;
        QTest::newRow("one byte longer, same second") << -1 << 1 << 0 << false;
    }
    void checkValueFollowsChanges()
    {
        QFETCH(int, offset);
        QFETCH(int, grow);
        QFETCH(int, timeStep);
        QFETCH(bool, same);
        QTemporaryDir dir;
        const QString path = dir.path() + "/p.jpg";
        QByteArray bytes(3 * 65536 + 100, 'a');
        const QDateTime stamp = QDateTime::fromSecsSinceEpoch(1700000000);
        const auto setTime = [&path](const QDateTime& t) {
            QFile f(path);
            return f.open(QIODevice::ReadWrite) && f.setFileTime(t, QFileDevice::FileModificationTime);
        };
        QVERIFY(writeFile(path, bytes) && setTime(stamp));
        const std::optional<std::int32_t> before = FileCheck(path);
        QVERIFY(before);
        if (offset >= 0 || grow > 0) {
            if (offset >= 0)
                bytes[offset] = 'b';
            bytes.append(QByteArray(grow, 'a'));
            QVERIFY(writeFile(path, bytes));
        }
        QVERIFY(setTime(stamp.addSecs(timeStep)));
        QCOMPARE(FileCheck(path) == before, same);
    }

    void checkValueOfSpecialFiles()
    {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.path() + "/empty.jpg", QByteArray()));
        QCOMPARE(CalcCheck(dir.path() + "/empty.jpg"), CalcCheck(dir.path() + "/empty.jpg"));
        const std::int32_t missing = CalcCheck(dir.path() + "/none.jpg");
        QVERIFY(missing >= 0 && missing <= 32766);
        // Opening a FIFO for reading would wait for a writer for good.
        QVERIFY(::mkfifo(QFile::encodeName(dir.path() + "/pipe.jpg").constData(), 0600) == 0);
        QVERIFY(!FileCheck(dir.path() + "/pipe.jpg"));
    }
};
SGA_TEST(TestThumbCache)
#include "tst_thumbcache.moc"
