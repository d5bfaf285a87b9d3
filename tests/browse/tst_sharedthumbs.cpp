#include "browse/SharedThumbnails.h"
#include "browse/ThumbnailBrowser.h"
#include "common/PhotoFixtures.h"
#include "common/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

namespace {
// What lies in the shared cache before the walk.
enum class Before { Nothing, Valid, OtherTime, OtherFile, Failure, CameraThumbnail };

QImage Solid(int w, int h, QColor colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The colour in the middle of the walk's one thumbnail; invalid when there is none.
QColor WalkedColour(const QString &folder, int *decodes)
{
    ThumbnailBrowser browser(nullptr);
    browser.SelectedFolder = [folder] { return folder; };
    browser.TurnAsCamera = [] { return true; };
    browser.StartBrowsing();
    if (!QTest::qWaitFor([&browser] { return !browser.Running(); }, 30000))
        return {};
    *decodes = browser.DecodeCount();
    if (browser.Thumbs().count() != 1 || !browser.Thumbs().at(0).Dib.Bits)
        return {};
    const DIB &dib = browser.Thumbs().at(0).Dib;
    const std::uint32_t bgr = getpixel(dib, DibWidth(dib) / 2, DibHeight(dib) / 2);
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}
} // namespace

class TestSharedThumbs : public QObject
{
    Q_OBJECT
private slots:
    void init() { QDir(SharedThumbnailRoot()).removeRecursively(); }

    // The desktop's thumbnail of a file is used when it was made for this
    // file as it is now, and the camera's own before a decode; what the
    // program decodes it writes to the cache for the file manager, private
    // to the user.
    void walkUsesTheDesktopsThumbnails_data()
    {
        QTest::addColumn<Before>("before");
        QTest::addColumn<QColor>("shown"); // invalid: no thumbnail
        QTest::addColumn<int>("decodes");
        QTest::newRow("none: decoded and shared") << Before::Nothing << QColor(Qt::blue) << 1;
        QTest::newRow("valid: used") << Before::Valid << QColor(Qt::red) << 0;
        QTest::newRow("made for an older file: decoded") << Before::OtherTime << QColor(Qt::blue) << 1;
        QTest::newRow("made for another file: decoded") << Before::OtherFile << QColor(Qt::blue) << 1;
        QTest::newRow("noted as failed: skipped") << Before::Failure << QColor() << 0;
        QTest::newRow("camera's own thumbnail: used") << Before::CameraThumbnail << QColor(Qt::green) << 0;
    }
    void walkUsesTheDesktopsThumbnails()
    {
        QFETCH(Before, before);
        QFETCH(QColor, shown);
        QFETCH(int, decodes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("photo.jpg"));
        const QImage blue = Solid(600, 400, Qt::blue);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before == Before::CameraThumbnail ? PhotoFixtures::jpegWithExifThumbnail(blue, Solid(160, 107, Qt::green))
                                                     : PhotoFixtures::jpegWithOrientation(blue, 1));
        file.close();
        std::optional<SharedThumbKey> key = SharedThumbKeyFor(path);
        QVERIFY(key);
        if (before == Before::OtherTime)
            key->MTime -= 60;
        if (before == Before::OtherFile)
            key->Uri += "-other";
        if (before == Before::Valid || before == Before::OtherTime || before == Before::OtherFile)
            QVERIFY(WriteSharedThumbnail(*key, Solid(128, 85, Qt::red), QSize(600, 400)));
        if (before == Before::Failure)
            QVERIFY(WriteSharedThumbnailFailure(*key));

        int decoded = -1;
        const QColor colour = WalkedColour(dir.path(), &decoded);
        QCOMPARE(colour.isValid(), shown.isValid());
        if (shown.isValid()) {
            QVERIFY2(std::abs(colour.red() - shown.red()) + std::abs(colour.green() - shown.green())
                             + std::abs(colour.blue() - shown.blue()) < 40,
                     qPrintable(colour.name()));
        }
        QCOMPARE(decoded, decodes);
        if (before == Before::Failure)
            return;
        // The cache now holds a valid thumbnail of the file, private to the user.
        const std::optional<SharedThumbKey> now = SharedThumbKeyFor(path);
        QVERIFY(!ReadSharedThumbnail(*now, 64).isNull());
        const QString written = SharedThumbnailRoot() + QStringLiteral("/normal/") + now->Name;
        QCOMPARE(QFile::permissions(written) & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
                 QFile::Permissions());
        QVERIFY(QImageReader(written).size().width() <= 128);
    }
};

SGA_TEST(TestSharedThumbs)
#include "tst_sharedthumbs.moc"
