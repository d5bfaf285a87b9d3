#include "browse/Favourites.h"
#include "browse/FileFilter.h"
#include "browse/ThumbnailBrowser.h"
#include "common/FileListSupport.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/StoredText.h"
#include "platform/PaintBox.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>

namespace {
QString favouritesFile() { return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/folders.dat"; }
} // namespace

class TestFavourites : public QObject
{
    Q_OBJECT
private slots:
    void addFavourite_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("third moves to the top, length kept")
            << QStringList{"/a/", "/b/", "/c/", "/d/"} << "/c/" << QStringList{"/c/", "/a/", "/b/", "/d/"};
        QTest::newRow("new folder goes on top") << QStringList{"/a/"} << "/n/" << QStringList{"/n/", "/a/"};
        QTest::newRow("differing case are two favourites")
            << QStringList{"/Photos/", "/x/"} << "/photos/" << QStringList{"/photos/", "/Photos/", "/x/"};
        QTest::newRow("of duplicates the last goes")
            << QStringList{"/a/", "/b/", "/a/"} << "/a/" << QStringList{"/a/", "/a/", "/b/"};
    }
    void addFavourite()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, folder);
        QFETCH(QStringList, after);
        QCOMPARE(AddFavourite(before, folder), after);
    }

    void fileIsWrittenWithCrLfAndReadBack()
    {
        QTemporaryDir dir;
        const QString file = dir.path() + "/new/sub/folders.dat";
        const QStringList folders{"/home/u/Bilder/", "/home/u/M\u00fcller/"};
        QVERIFY(WriteFavouritesFile(file, folders));
        QCOMPARE(readFile(file), QByteArray("/home/u/Bilder/\r\n/home/u/M\xc3\xbcller/\r\n"));
        QCOMPARE(ReadFavouritesFile(file), folders);

        QCOMPARE(ReadFavouritesFile(dir.path() + "/none.dat"), QStringList());
        QVERIFY(writeFile(dir.path() + "/plain", "x"));
        QVERIFY(!WriteFavouritesFile(dir.path() + "/plain/sub/folders.dat", folders)); // parent is a file
    }

    void readFavouritesFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("folders");
        QTest::newRow("bare line feeds, no final one") << QByteArray("/a/\n/b/") << QStringList{"/a/", "/b/"};
        QTest::newRow("empty lines skipped") << QByteArray("\r\n/a/\r\n\r\n") << QStringList{"/a/"};
        QTest::newRow("UTF-8 and Windows-1252 lines mixed")
            << QByteArray("/\xc3\xa9t\xc3\xa9/\r\nC:\\M\xfcller\\\r\n/\x80uro/\r\n")
            << QStringList{"/\u00e9t\u00e9/", "C:\\M\u00fcller\\", "/\u20acuro/"};
    }
    void readFavouritesFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, folders);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.path() + "/folders.dat", bytes));
        QCOMPARE(ReadFavouritesFile(dir.path() + "/folders.dat"), folders);
    }

    void decodeStoredText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTF-8") << QByteArray("Gr\xc3\xbc\xc3\x9f") << "Gr\u00fc\u00df";
        QTest::newRow("Windows-1252 0x80 to 0x9F") << QByteArray("\x80\x8a\x9f") << "\u20ac\u0160\u0178";
        QTest::newRow("undefined 0x81 kept as control") << QByteArray("a\x81") << "a\u0081";
        QTest::newRow("UTF-8 cut in the middle") << QByteArray("x\xc3") << "x\u00c3";
    }
    void decodeStoredText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(DecodeStoredText(bytes), text);
    }

    void filterList()
    {
        const std::vector<FileFilterPair> pairs = ParseFilterList(PictureFilterList());
        QCOMPARE(pairs.size(), std::size_t(17));
        QCOMPARE(pairs.front().Description, QStringLiteral("All pictures"));
        const QStringList all = MaskNameFilters(pairs.front().Mask);
        QCOMPARE(all.size(), 19);
        for (const char *photo : {"*.JPEG", "*.JPE", "*.TIFF", "*.WEBP", "*.HEIC", "*.HEIF"})
            QVERIFY2(all.contains(QLatin1String(photo)), photo);
        QCOMPARE(pairs.back().Description, QStringLiteral("All files (*.*)"));
        QCOMPARE(MaskNameFilters(pairs.back().Mask), QStringList{"*"});
        QCOMPARE(ParseFilterList("A|*.A|dangling").size(), std::size_t(1));
    }
};
SGA_TEST(TestFavourites)

class TestFolderViews : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    QString folder;
    const QStringList pictures{"sub", "fake.gif", "x.png", "Y.JPG"};

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        folder = dir.path() + "/";
        QVERIFY(QDir(folder).mkdir("sub"));
        QVERIFY(writePicture(folder + "x.png", 1000, 500));
        QVERIFY(writePicture(folder + "Y.JPG", 30, 20, Qt::blue));
        QVERIFY(writeFile(folder + "notes.txt", "hello"));
        QVERIFY(writeFile(folder + "README", "no extension"));
        QVERIFY(writeFile(folder + "fake.gif", "not a gif"));
        QVERIFY(writePicture(folder + "sub/in.bmp", 5, 5));
    }
    void init() { QFile::remove(favouritesFile()); }

    void filterListsMatchingFilesCaseInsensitively()
    {
        TMainForm form;
        QCOMPARE(form.collectionPage().folders().FilterBox->count(), 17);
        QCOMPARE(form.collectionPage().folders().FilterBox->currentText(), QStringLiteral("All pictures"));
        QVERIFY(form.collectionPage().folders().setFolderPath(folder));
        QCOMPARE(form.collectionPage().folders().folderPath(), folder);
        QVERIFY(waitForListing(form, pictures));
        form.collectionPage().folders().FilterBox->setCurrentIndex(form.collectionPage().folders().FilterBox->findText("JPG - JPEG - JFIF Compilant"));
        QVERIFY(waitForListing(form, {"sub", "Y.JPG"}));
        // The walk begun at start-up restarts for the folder and leaves its thumbnail cache there.
        QTRY_VERIFY_WITH_TIMEOUT(!form.collectionPage().grid().Browser->Running(), 20000);
        form.collectionPage().folders().FilterBox->setCurrentIndex(form.collectionPage().folders().FilterBox->count() - 1);
        QVERIFY(waitForListing(form, {"sub", "bnsbrwse.cbf", "fake.gif", "notes.txt", "README", "x.png", "Y.JPG"}));
    }

    void doubleClickOpensFoldersAndPreviewsFiles()
    {
        DialogRecorder dialogs;
        TMainForm form;
        QVERIFY(form.collectionPage().folders().setFolderPath(folder));
        QVERIFY(waitForListing(form, pictures));

        selectListed(form, {"x.png"});
        form.collectionPage().folders().openCurrentFile();
        QCOMPARE(form.collectionPage().previewFileName(), folder + "x.png");
        // Drawn 128x64 at the top-left corner of a 185x64 box.
        auto *preview = form.collectionPage().findChild<QWidget *>(QStringLiteral("PreviewBox"));
        preview->setFixedSize(185, 64);
        const QImage shot = preview->grab().toImage();
        QCOMPARE(QColor(shot.pixel(0, 0)), QColor(Qt::red));
        QCOMPARE(QColor(shot.pixel(127, 63)), QColor(Qt::red));
        QVERIFY(QColor(shot.pixel(129, 10)) != QColor(Qt::red));

        selectListed(form, {"fake.gif"});
        QTest::keyClick(form.collectionPage().folders().FileList, Qt::Key_Return);
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(form.collectionPage().previewFileName(), folder + "x.png");
        QCOMPARE(DibWidth(form.collectionPage().previewDib()), 1000);

        selectListed(form, {"sub"});
        form.collectionPage().folders().openCurrentFile();
        QCOMPARE(form.collectionPage().folders().folderPath(), folder + "sub/");
        QVERIFY(waitForListing(form, {"in.bmp"}));
        form.collectionPage().folders().FileList->clearSelection();
        form.collectionPage().folders().openCurrentFile(); // nothing selected
        QCOMPARE(dialogs.messages.size(), std::size_t(1));

        form.collectionPage().showFileList(false);
        QVERIFY(!form.action(Command::AddFiles)->isEnabled());
        form.collectionPage().showFileList(true);
        QVERIFY(form.action(Command::AddFiles)->isEnabled());
    }

    void favouritesAreRecordedAndSelectable()
    {
        DialogRecorder dialogs;
        const QString other = folder + "sub/";
        {
            TMainForm form;
            QCOMPARE(form.collectionPage().folders().FavouritesList->count(), 0);
            form.collectionPage().folders().addFavourite(folder);
            form.collectionPage().folders().addFavourite(other);
            form.collectionPage().folders().addFavourite(folder);
            QCOMPARE(listItems(form.collectionPage().folders().FavouritesList), QStringList({folder, other}));
            QCOMPARE(readFile(favouritesFile()), (folder + "\r\n" + other + "\r\n").toUtf8());
            form.collectionPage().folders().FavouritesList->setCurrentRow(1);
            QTest::keyClick(form.collectionPage().folders().FavouritesList, Qt::Key_Return);
            QCOMPARE(form.collectionPage().folders().folderPath(), other);
        }
        TMainForm again; // starts in the most recent favourite
        QCOMPARE(listItems(again.collectionPage().folders().FavouritesList), QStringList({folder, other}));
        QCOMPARE(again.collectionPage().folders().folderPath(), folder);

        QVERIFY(writeFile(favouritesFile(), (folder + "gone/\r\n").toUtf8()));
        TMainForm vanished; // a vanished favourite is kept, browsing starts elsewhere
        QCOMPARE(listItems(vanished.collectionPage().folders().FavouritesList), QStringList({folder + "gone/"}));
        QVERIFY(QFileInfo(vanished.collectionPage().folders().folderPath()).isDir());
        QVERIFY(dialogs.messages.empty());
    }

    void unwritableFavouritesAreSilent()
    {
        DialogRecorder dialogs;
        QTemporaryDir place;
        QVERIFY(writeFile(place.path() + "/file", "x"));
        TMainForm form;
        form.collectionPage().folders().FavouritesFile = place.path() + "/file/folders.dat";
        QVERIFY(form.collectionPage().folders().setFolderPath(folder));
        QVERIFY(waitForListing(form, pictures));
        selectListed(form, {"Y.JPG"});
        form.AddBtnClick();
        QCOMPARE(form.Doc->records().PictureCount(), 1);
        QCOMPARE(listItems(form.collectionPage().folders().FavouritesList), QStringList({folder}));
        QVERIFY(dialogs.messages.empty());
    }

    void vanishedFolderDoesNotCrash()
    {
        DialogRecorder dialogs;
        QTemporaryDir place;
        const QString doomed = place.path() + "/doomed/";
        QVERIFY(QDir().mkpath(doomed));
        QVERIFY(writePicture(doomed + "p.png", 4, 4));
        TMainForm form;
        QVERIFY(form.collectionPage().folders().setFolderPath(doomed));
        QVERIFY(waitForListing(form, {"p.png"}));
        selectListed(form, {"p.png"});
        QTRY_VERIFY(!form.collectionPage().grid().Browser->Running()); // it writes its cache file there
        QVERIFY(QDir(doomed).removeRecursively());
        QTest::qWait(300); // let the models notice

        form.AddBtnClick();
        form.collectionPage().folders().openCurrentFile();
        form.collectionPage().addBrowserPicture("p.png");
        QVERIFY(!form.collectionPage().folders().setFolderPath(doomed));
        QCOMPARE(form.Doc->records().PictureCount(), 0);
        QVERIFY(form.collectionPage().folders().setFolderPath(folder));
        QVERIFY(waitForListing(form, pictures));
    }
};
SGA_TEST(TestFolderViews)

#include "tst_folders.moc"
