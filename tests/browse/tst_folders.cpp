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
        QCOMPARE(form.CollectionTab->Folders->FilterBox->count(), 17);
        QCOMPARE(form.CollectionTab->Folders->FilterBox->currentText(), QStringLiteral("All pictures"));
        QVERIFY(form.CollectionTab->Folders->setFolderPath(folder));
        QCOMPARE(form.CollectionTab->Folders->folderPath(), folder);
        QVERIFY(waitForListing(form, pictures));
        form.CollectionTab->Folders->FilterBox->setCurrentIndex(form.CollectionTab->Folders->FilterBox->findText("JPG - JPEG - JFIF Compilant"));
        QVERIFY(waitForListing(form, {"sub", "Y.JPG"}));
        // The walk begun at start-up restarts for the folder and leaves its thumbnail cache there.
        QTRY_VERIFY_WITH_TIMEOUT(!form.CollectionTab->Grid->Browser->Running(), 20000);
        form.CollectionTab->Folders->FilterBox->setCurrentIndex(form.CollectionTab->Folders->FilterBox->count() - 1);
        QVERIFY(waitForListing(form, {"sub", "bnsbrwse.cbf", "fake.gif", "notes.txt", "README", "x.png", "Y.JPG"}));
    }

    void doubleClickOpensFoldersAndPreviewsFiles()
    {
        DialogRecorder dialogs;
        TMainForm form;
        QVERIFY(form.CollectionTab->Folders->setFolderPath(folder));
        QVERIFY(waitForListing(form, pictures));

        selectListed(form, {"x.png"});
        form.CollectionTab->Folders->openCurrentFile();
        QCOMPARE(form.CollectionTab->PreviewFileName, folder + "x.png");
        // Drawn 128x64 at the top-left corner of a 185x64 box.
        form.CollectionTab->PreviewBox->setFixedSize(185, 64);
        const QImage shot = form.CollectionTab->PreviewBox->grab().toImage();
        QCOMPARE(QColor(shot.pixel(0, 0)), QColor(Qt::red));
        QCOMPARE(QColor(shot.pixel(127, 63)), QColor(Qt::red));
        QVERIFY(QColor(shot.pixel(129, 10)) != QColor(Qt::red));

        selectListed(form, {"fake.gif"});
        QTest::keyClick(form.CollectionTab->Folders->FileList, Qt::Key_Return);
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(form.CollectionTab->PreviewFileName, folder + "x.png");
        QCOMPARE(DibWidth(form.CollectionTab->PreviewDib), 1000);

        selectListed(form, {"sub"});
        form.CollectionTab->Folders->openCurrentFile();
        QCOMPARE(form.CollectionTab->Folders->folderPath(), folder + "sub/");
        QVERIFY(waitForListing(form, {"in.bmp"}));
        form.CollectionTab->Folders->FileList->clearSelection();
        form.CollectionTab->Folders->openCurrentFile(); // nothing selected
        QCOMPARE(dialogs.messages.size(), std::size_t(1));

        form.CollectionTab->SourceTabs->setCurrentWidget(form.CollectionTab->Grid);
        QVERIFY(!form.CollectionTab->AddBtn->isEnabled());
        form.CollectionTab->SourceTabs->setCurrentWidget(form.CollectionTab->FileListTab);
        QVERIFY(form.CollectionTab->AddBtn->isEnabled());
    }

    void favouritesAreRecordedAndSelectable()
    {
        DialogRecorder dialogs;
        const QString other = folder + "sub/";
        {
            TMainForm form;
            QCOMPARE(form.CollectionTab->Folders->FavouritesList->count(), 0);
            form.CollectionTab->Folders->addFavourite(folder);
            form.CollectionTab->Folders->addFavourite(other);
            form.CollectionTab->Folders->addFavourite(folder);
            QCOMPARE(listItems(form.CollectionTab->Folders->FavouritesList), QStringList({folder, other}));
            QCOMPARE(readFile(favouritesFile()), (folder + "\r\n" + other + "\r\n").toUtf8());
            form.CollectionTab->Folders->FavouritesList->setCurrentRow(1);
            QTest::keyClick(form.CollectionTab->Folders->FavouritesList, Qt::Key_Return);
            QCOMPARE(form.CollectionTab->Folders->folderPath(), other);
        }
        TMainForm again; // starts in the most recent favourite
        QCOMPARE(listItems(again.CollectionTab->Folders->FavouritesList), QStringList({folder, other}));
        QCOMPARE(again.CollectionTab->Folders->folderPath(), folder);

        QVERIFY(writeFile(favouritesFile(), (folder + "gone/\r\n").toUtf8()));
        TMainForm vanished; // a vanished favourite is kept, browsing starts elsewhere
        QCOMPARE(listItems(vanished.CollectionTab->Folders->FavouritesList), QStringList({folder + "gone/"}));
        QVERIFY(QFileInfo(vanished.CollectionTab->Folders->folderPath()).isDir());
        QVERIFY(dialogs.messages.empty());
    }

    void unwritableFavouritesAreSilent()
    {
        DialogRecorder dialogs;
        QTemporaryDir place;
        QVERIFY(writeFile(place.path() + "/file", "x"));
        TMainForm form;
        form.CollectionTab->Folders->FavouritesFile = place.path() + "/file/folders.dat";
        QVERIFY(form.CollectionTab->Folders->setFolderPath(folder));
        QVERIFY(waitForListing(form, pictures));
        selectListed(form, {"Y.JPG"});
        form.AddBtnClick();
        QCOMPARE(form.Doc->records().PictureCount(), 1);
        QCOMPARE(listItems(form.CollectionTab->Folders->FavouritesList), QStringList({folder}));
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
        QVERIFY(form.CollectionTab->Folders->setFolderPath(doomed));
        QVERIFY(waitForListing(form, {"p.png"}));
        selectListed(form, {"p.png"});
        QTRY_VERIFY(!form.CollectionTab->Grid->Browser->Running()); // it writes its cache file there
        QVERIFY(QDir(doomed).removeRecursively());
        QTest::qWait(300); // let the models notice

        form.AddBtnClick();
        form.CollectionTab->Folders->openCurrentFile();
        form.CollectionTab->addBrowserPicture("p.png");
        QVERIFY(!form.CollectionTab->Folders->setFolderPath(doomed));
        QCOMPARE(form.Doc->records().PictureCount(), 0);
        QVERIFY(form.CollectionTab->Folders->setFolderPath(folder));
        QVERIFY(waitForListing(form, pictures));
    }
};
SGA_TEST(TestFolderViews)

#include "tst_folders.moc"
