#include "app/MainUnit.h"
#include "browse/Favourites.h"
#include "browse/FileFilter.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/StoredText.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QImage>
#include <QImageWriter>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

namespace {
void writePicture(const QString &path, int w, int h, QColor colour = Qt::red)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    QImageWriter writer(path);
    QVERIFY2(writer.write(image), qPrintable(path + QLatin1String(": ") + writer.errorString()));
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList listedNames(const TMainForm &form)
{
    QStringList names;
    const QModelIndex root = form.JamShellList1->rootIndex();
    for (int r = 0; r < form.ListModel->rowCount(root); ++r)
        names.append(form.ListModel->fileName(form.ListModel->index(r, 0, root)));
    return names;
}

bool waitForListing(const TMainForm &form, const QStringList &expected)
{
    const bool ok = QTest::qWaitFor([&] { return listedNames(form) == expected; }, 10000);
    if (!ok)
        qWarning() << "file list shows" << listedNames(form) << "expected" << expected;
    return ok;
}

void selectListed(TMainForm &form, const QString &name)
{
    const QModelIndex root = form.JamShellList1->rootIndex();
    for (int r = 0; r < form.ListModel->rowCount(root); ++r) {
        const QModelIndex i = form.ListModel->index(r, 0, root);
        if (form.ListModel->fileName(i) == name) {
            form.JamShellList1->selectionModel()->setCurrentIndex(
                i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            return;
        }
    }
    QFAIL(qPrintable("not listed: " + name));
}

QStringList items(const QListWidget *list)
{
    QStringList r;
    for (int i = 0; i < list->count(); ++i)
        r.append(list->item(i)->text());
    return r;
}

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
        QTest::newRow("first stays first") << QStringList{"/a/", "/b/"} << "/a/" << QStringList{"/a/", "/b/"};
        QTest::newRow("differing case are two favourites")
            << QStringList{"/Photos/", "/x/"} << "/photos/" << QStringList{"/photos/", "/Photos/", "/x/"};
        QTest::newRow("empty list") << QStringList{} << "/a/" << QStringList{"/a/"};
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
        QCOMPARE(readBytes(file), QByteArray("/home/u/Bilder/\r\n/home/u/M\xc3\xbcller/\r\n"));
        QCOMPARE(ReadFavouritesFile(file), folders);
    }

    void readFavouritesFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("folders");
        QTest::newRow("windows line ends") << QByteArray("C:\\A\\\r\nC:\\B\\\r\n") << QStringList{"C:\\A\\", "C:\\B\\"};
        QTest::newRow("bare line feeds, no final one") << QByteArray("/a/\n/b/") << QStringList{"/a/", "/b/"};
        QTest::newRow("empty lines skipped") << QByteArray("\r\n/a/\r\n\r\n") << QStringList{"/a/"};
        QTest::newRow("Windows-1252 accents") << QByteArray("C:\\M\xfcller\\\r\n/ok/\r\n")
                                              << QStringList{"C:\\M\u00fcller\\", "/ok/"};
        QTest::newRow("UTF-8 and Windows-1252 lines mixed")
            << QByteArray("/\xc3\xa9t\xc3\xa9/\r\n/\x80uro/\r\n") << QStringList{"/\u00e9t\u00e9/", "/\u20acuro/"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
    }
    void readFavouritesFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, folders);
        QTemporaryDir dir;
        writeBytes(dir.path() + "/folders.dat", bytes);
        QCOMPARE(ReadFavouritesFile(dir.path() + "/folders.dat"), folders);
    }

    void missingOrUnwritableFileIsHarmless()
    {
        QTemporaryDir dir;
        QCOMPARE(ReadFavouritesFile(dir.path() + "/none.dat"), QStringList());
        writeBytes(dir.path() + "/plain", "x");
        // A folder that cannot be made: its parent is a file.
        QVERIFY(!WriteFavouritesFile(dir.path() + "/plain/sub/folders.dat", {"/a/"}));
        QCOMPARE(readBytes(dir.path() + "/plain"), QByteArray("x"));
    }

    void decodeStoredText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("ASCII") << QByteArray("abc") << "abc";
        QTest::newRow("UTF-8") << QByteArray("Gr\xc3\xbc\xc3\x9f") << "Gr\u00fc\u00df";
        QTest::newRow("Windows-1252 Latin-1 range") << QByteArray("Gr\xfc\xdf") << "Gr\u00fc\u00df";
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
        QCOMPARE(pairs.size(), std::size_t(15));
        QCOMPARE(pairs.front().Description, QStringLiteral("All pictures"));
        QCOMPARE(MaskNameFilters(pairs.front().Mask).size(), 13);
        QCOMPARE(pairs[5].Description, QStringLiteral("JIF - JPEG - JFIF Compilant"));
        QCOMPARE(pairs.back().Description, QStringLiteral("All files (*.*)"));
        QCOMPARE(MaskNameFilters(pairs.back().Mask), QStringList{"*"});
        QCOMPARE(ParseFilterList("A|*.A|dangling").size(), std::size_t(1));
    }

    void startFolder()
    {
        QTemporaryDir dir;
        QCOMPARE(StartFolder(dir.path() + "/"), dir.path() + "/");
        const QString fallback = StartFolder(dir.path() + "/vanished/");
        QVERIFY(QFileInfo(fallback).isDir());
        QCOMPARE(StartFolder(QString()), fallback);
    }
};
SGA_TEST(TestFavourites)

class TestFolderViews : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    QString folder;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        folder = dir.path() + "/";
        QVERIFY(QDir(folder).mkdir("sub"));
        writePicture(folder + "x.png", 1000, 500);
        writePicture(folder + "Y.JPG", 30, 20, Qt::blue);
        writeBytes(folder + "notes.txt", "hello");
        writeBytes(folder + "README", "no extension");
        writeBytes(folder + "fake.gif", "not a gif");
        writePicture(folder + "sub/in.bmp", 5, 5);
    }
    void init() { QFile::remove(favouritesFile()); }

    void filterListsMatchingFilesCaseInsensitively()
    {
        TMainForm form;
        QCOMPARE(form.FilterComboBox1->count(), 15);
        QCOMPARE(form.FilterComboBox1->currentIndex(), 0);
        QCOMPARE(form.FilterComboBox1->currentText(), QStringLiteral("All pictures"));
        QVERIFY(form.SetJamShellTree1Path(folder));
        QCOMPARE(form.JamShellTree1Path(), folder);
        QVERIFY(waitForListing(form, {"sub", "fake.gif", "x.png", "Y.JPG"}));
        form.FilterComboBox1->setCurrentIndex(form.FilterComboBox1->findText("JPG - JPEG - JFIF Compilant"));
        QVERIFY(waitForListing(form, {"sub", "Y.JPG"}));
        form.FilterComboBox1->setCurrentIndex(form.FilterComboBox1->count() - 1);
        QVERIFY(waitForListing(form, {"sub", "fake.gif", "notes.txt", "README", "x.png", "Y.JPG"}));
    }

    void doubleClickOpensFoldersAndPreviewsFiles()
    {
        DialogRecorder dialogs;
        TMainForm form;
        QVERIFY(form.SetJamShellTree1Path(folder));
        QVERIFY(waitForListing(form, {"sub", "fake.gif", "x.png", "Y.JPG"}));

        selectListed(form, "x.png");
        form.JamShellList1DblClick();
        QCOMPARE(form.PreviewFileName, folder + "x.png");
        QCOMPARE(DibWidth(form.PreviewDib), 1000);

        selectListed(form, "fake.gif");
        QTest::keyClick(form.JamShellList1, Qt::Key_Return);
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(form.PreviewFileName, folder + "x.png");
        QCOMPARE(DibWidth(form.PreviewDib), 1000);

        selectListed(form, "sub");
        form.JamShellList1DblClick();
        QCOMPARE(form.JamShellTree1Path(), folder + "sub/");
        QVERIFY(waitForListing(form, {"in.bmp"}));

        form.JamShellList1->clearSelection();
        form.JamShellList1DblClick(); // nothing selected: nothing happens
        QCOMPARE(form.JamShellTree1Path(), folder + "sub/");
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
    }

    void addFileEnabledOnlyOnTheFileList()
    {
        TMainForm form;
        QVERIFY(form.AddBtn->isEnabled());
        form.PageControl3->setCurrentWidget(form.TabSheet10);
        QVERIFY(!form.AddBtn->isEnabled());
        form.PageControl3->setCurrentWidget(form.TabSheet9);
        QVERIFY(form.AddBtn->isEnabled());
    }

    void favouritesAreRecordedAndSelectable()
    {
        DialogRecorder dialogs;
        const QString other = folder + "sub/";
        {
            TMainForm form;
            QCOMPARE(form.PrefFoldersFile, favouritesFile());
            QCOMPARE(form.PrefListBox->count(), 0);
            form.AddToPrefFolders(folder);
            form.AddToPrefFolders(other);
            form.AddToPrefFolders(folder);
            QCOMPARE(items(form.PrefListBox), QStringList({folder, other}));
            QCOMPARE(readBytes(favouritesFile()), (folder + "\r\n" + other + "\r\n").toUtf8());

            form.PrefListBox->setCurrentRow(1);
            QTest::keyClick(form.PrefListBox, Qt::Key_Return);
            QCOMPARE(form.JamShellTree1Path(), other);
        }
        // The next start opens the most recent favourite.
        TMainForm again;
        QCOMPARE(items(again.PrefListBox), QStringList({folder, other}));
        QCOMPARE(again.JamShellTree1Path(), folder);
        QVERIFY(dialogs.messages.empty());
    }

    void vanishedFirstFavouriteStartsElsewhere()
    {
        writeBytes(favouritesFile(), (folder + "gone/\r\n").toUtf8());
        TMainForm form;
        QCOMPARE(items(form.PrefListBox), QStringList({folder + "gone/"}));
        QCOMPARE(form.JamShellTree1Path(), StartFolder(QString()).endsWith('/') ? StartFolder(QString())
                                                                                   : StartFolder(QString()) + "/");
        form.PrefListBox->setCurrentRow(0);
        form.PrefListBoxDblClick(); // the tree keeps its folder
        QCOMPARE(items(form.PrefListBox), QStringList({folder + "gone/"}));
    }

    void unwritableFavouritesAreSilent()
    {
        DialogRecorder dialogs;
        QTemporaryDir place;
        writeBytes(place.path() + "/file", "x");
        TMainForm form;
        form.PrefFoldersFile = place.path() + "/file/folders.dat";
        QVERIFY(form.SetJamShellTree1Path(folder));
        QVERIFY(waitForListing(form, {"sub", "fake.gif", "x.png", "Y.JPG"}));
        selectListed(form, "Y.JPG");
        form.AddBtnClick();
        QCOMPARE(form.PictureCount(), 1);
        QCOMPARE(items(form.PrefListBox), QStringList({folder}));
        QVERIFY(dialogs.messages.empty());
    }

    void vanishedFolderDoesNotCrash()
    {
        DialogRecorder dialogs;
        QTemporaryDir place;
        const QString doomed = place.path() + "/doomed/";
        QVERIFY(QDir().mkpath(doomed));
        writePicture(doomed + "p.png", 4, 4);
        TMainForm form;
        QVERIFY(form.SetJamShellTree1Path(doomed));
        QVERIFY(waitForListing(form, {"p.png"}));
        selectListed(form, "p.png");
        QVERIFY(QDir(doomed).removeRecursively());
        QTest::qWait(300); // let the models notice

        form.AddBtnClick();
        form.JamShellList1DblClick();
        form.OpenFromBrowser("p.png");
        QVERIFY(!form.SetJamShellTree1Path(doomed));
        QCOMPARE(form.PictureCount(), 0);
        QVERIFY(dialogs.messages.size() <= 3);
        QVERIFY(form.SetJamShellTree1Path(folder));
        QVERIFY(waitForListing(form, {"sub", "fake.gif", "x.png", "Y.JPG"}));
    }
};
SGA_TEST(TestFolderViews)

#include "tst_folders.moc"
