#include "common/FileListSupport.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/Collection.h"
#include "document/Paths.h"

#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtEndian>

namespace {
QStringList selectedRows(const QListWidget *list)
{
    QStringList r;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            r.append(QString::number(i));
    return r;
}

std::vector<int> ids(const TMainForm &form)
{
    std::vector<int> r;
    for (const PictureEntry &e : form.Doc->records().Pictures)
        r.push_back(e.PictureId);
    return r;
}

// The pages' lists, for keys and drags as a user gives them.
QListWidget *pictureList(const TMainForm &form)
{
    return form.collectionPage().findChild<QListWidget *>(QStringLiteral("PictureList"));
}
QListWidget *orderList(const TMainForm &form) { return form.sortPage().findChild<QListWidget *>(QStringLiteral("OrderList")); }

bool buttonsEnabled(const TMainForm &form)
{
    return form.action(Command::DeletePictures)->isEnabled() && form.action(Command::ShowPicture)->isEnabled()
           && form.action(Command::PrintPicture)->isEnabled();
}
} // namespace

class TestCollectionRules : public QObject
{
    Q_OBJECT
private slots:
    void comparePathBytes_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");
        QTest::newRow("upper case before lower case") << "/p/B.jpg" << "/p/a.jpg" << -1;
        QTest::newRow("equal paths") << "/p/a.jpg" << "/p/a.jpg" << 0;
        QTest::newRow("prefix is smaller") << "/p/a" << "/p/a.jpg" << -1;
        QTest::newRow("accented letter after z (UTF-8 lead byte)") << "/p/\u00e9.jpg" << "/p/z.jpg" << 1;
        QTest::newRow("folder decides before name") << "/a/z.jpg" << "/b/a.jpg" << -1;
        QTest::newRow("numbers as numbers") << "/p/IMG_9.jpg" << "/p/IMG_10.jpg" << -1;
        QTest::newRow("numbers in folders too") << "/p/day 2/a.jpg" << "/p/day 12/a.jpg" << -1;
        QTest::newRow("the same number, fewer zeros first") << "/p/7.jpg" << "/p/007.jpg" << -1;
        QTest::newRow("a number before a letter") << "/p/IMG_1a.jpg" << "/p/IMG_12.jpg" << -1;
    }
    void comparePathBytes()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        const int r = ComparePathBytes(a, b), back = ComparePathBytes(b, a);
        QCOMPARE((r > 0) - (r < 0), sign);
        QCOMPARE((back > 0) - (back < 0), -sign);
    }

    void previewErrorMessage_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<bool>("libraryShown");
        QTest::newRow("no library text") << QString() << false;
        QTest::newRow("five characters say nothing") << "Error" << false;
        QTest::newRow("six characters are shown") << "Broken" << true;
    }
    void previewErrorMessage()
    {
        QFETCH(QString, library);
        QFETCH(bool, libraryShown);
        const QString standard = QStringLiteral("Error: The file /p/x.jpg could not be loaded!");
        const MessageText m = PreviewErrorMessage(QStringLiteral("/p/x.jpg"), library);
        QCOMPARE(m.Text, libraryShown ? library : standard);
        QCOMPARE(m.Caption, libraryShown ? standard : QStringLiteral("Error"));
    }

    void previewDrawSize_data()
    {
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("drawn");
        QTest::newRow("1000x500 in 185x64 is limited by the height")
            << QSize(185, 64) << QSize(1000, 500) << QSize(128, 64);
        QTest::newRow("1000x500 in 185x140 is limited by the width")
            << QSize(185, 140) << QSize(1000, 500) << QSize(185, 92);
        QTest::newRow("small picture is enlarged") << QSize(185, 140) << QSize(10, 10) << QSize(140, 140);
        QTest::newRow("hair-thin picture truncates to no width") << QSize(185, 64) << QSize(1, 1000) << QSize(0, 64);
        QTest::newRow("empty picture draws nothing") << QSize(185, 64) << QSize(0, 0) << QSize();
        QTest::newRow("big values do not overflow") << QSize(60000, 60000) << QSize(100000, 90000)
                                                    << QSize(60000, 54000);
    }
    void previewDrawSize()
    {
        QFETCH(QSize, box);
        QFETCH(QSize, picture);
        QFETCH(QSize, drawn);
        QCOMPARE(PreviewDrawSize(box, picture), drawn);
    }
};
SGA_TEST(TestCollectionRules)

class TestCollectionHandlers : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    QString folder; // ends in '/'
    const QStringList listed{"a.png", "b.bmp", "c.jpg", "d.bmp"};

    // Adds the named files of the fixture folder one by one.
    void addEach(TMainForm &form, const QStringList &names)
    {
        QVERIFY(form.collectionPage().folders().setFolderPath(folder));
        for (const QString &name : names)
            form.collectionPage().addBrowserPicture(name);
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(dir.isValid());
        folder = dir.path() + QLatin1Char('/');
        QVERIFY(writePicture(folder + "a.png", 40, 30));
        QVERIFY(writeFile(folder + "b.bmp", "this is no picture at all"));
        QVERIFY(writePicture(folder + "c.jpg", 64, 48, Qt::blue));
        QVERIFY(writePicture(folder + "d.bmp", 20, 10, Qt::green));
    }
    void init() { QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/folders.dat"); }

    void addSkipsTheFileThatIsNoPicture()
    {
        DialogRecorder dialogs;
        TMainForm form;
        QVERIFY(!form.action(Command::DeletePictures)->isEnabled() && !form.action(Command::ShowPicture)->isEnabled() && !form.action(Command::PrintPicture)->isEnabled());
        form.Doc->recordsForSetUp().NextPictureId = 7;
        QVERIFY(form.collectionPage().folders().setFolderPath(folder));
        QVERIFY(waitForListing(form, listed));
        selectListed(form, {"a.png", "b.bmp", "c.jpg"});
        form.AddBtnClick();

        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QVERIFY(dialogs.messages[0].text.startsWith("Error: The file " + folder + "b.bmp could not be loaded!\n"));
        QCOMPARE(dialogs.messages[0].caption, QStringLiteral("Error"));
        QCOMPARE(dialogs.messages[0].buttons, Dialogs::Ok);
        QCOMPARE(form.Doc->records().Pictures[0].FileName, folder + "a.png");
        QCOMPARE(form.Doc->records().Pictures[1].FileName, folder + "c.jpg");
        QCOMPARE(ids(form), std::vector<int>({7, 8}));
        QCOMPARE(form.Doc->records().NextPictureId, 9);
        QCOMPARE(DibWidth(form.Doc->records().Pictures[1].Dib), 64);
        QCOMPARE(form.collectionPage().listedNames(), QStringList({"a.png", "c.jpg"}));
        QCOMPARE(form.sortPage().listedNames(), QStringList({"a.png", "c.jpg"}));
        QCOMPARE(selectedRows(pictureList(form)), QStringList({"0"}));
        QCOMPARE(form.sortPage().currentPicture(), 0);
        QVERIFY(buttonsEnabled(form));
        QCOMPARE(listItems(form.collectionPage().folders().FavouritesList), QStringList({folder}));

        // Only failures: no id used up, no favourite recorded.
        form.collectionPage().folders().FavouritesList->clear();
        selectListed(form, {"b.bmp"});
        form.AddBtnClick();
        QCOMPARE(dialogs.messages.size(), std::size_t(2));
        QCOMPARE(form.Doc->records().NextPictureId, 9);
        QCOMPARE(form.collectionPage().folders().FavouritesList->count(), 0);
    }

    void dropOnlyFromTheFileList()
    {
        DialogRecorder dialogs;
        TMainForm form;
        QVERIFY(form.collectionPage().folders().setFolderPath(folder));
        QVERIFY(waitForListing(form, listed));
        selectListed(form, {"c.jpg", "d.bmp"});
        QVERIFY(!form.collectionPage().acceptsDrag(orderList(form)));
        QVERIFY(!form.collectionPage().acceptsDrag(nullptr));
        form.collectionPage().dropFromFileList(orderList(form));
        QCOMPARE(form.Doc->records().PictureCount(), 0);
        QVERIFY(form.collectionPage().acceptsDrag(form.collectionPage().folders().FileList));
        form.collectionPage().dropFromFileList(form.collectionPage().folders().FileList);
        QCOMPARE(form.collectionPage().listedNames(), QStringList({"c.jpg", "d.bmp"}));
    }

    void move_data()
    {
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("current");
        QTest::addColumn<std::vector<int>>("order");
        QTest::addColumn<int>("currentAfter");
        QTest::newRow("up on the first does nothing") << true << 0 << std::vector<int>{0, 1, 2} << 0;
        QTest::newRow("down on the last does nothing") << false << 2 << std::vector<int>{0, 1, 2} << 2;
        QTest::newRow("up on the last") << true << 2 << std::vector<int>{0, 2, 1} << 1;
        QTest::newRow("down on the first") << false << 0 << std::vector<int>{1, 0, 2} << 1;
    }
    void move()
    {
        QFETCH(bool, up);
        QFETCH(int, current);
        QFETCH(std::vector<int>, order);
        QFETCH(int, currentAfter);
        DialogRecorder dialogs;
        TMainForm form;
        addEach(form, {"a.png", "c.jpg", "d.bmp"});
        form.sortPage().setCurrentPicture(current);
        up ? form.UpNowClick() : form.DownNowClick();
        QCOMPARE(ids(form), order);
        QCOMPARE(form.sortPage().currentPicture(), currentAfter);
        QCOMPARE(orderList(form)->item(currentAfter)->text(), FileNamePart(form.Doc->records().Pictures[std::size_t(currentAfter)].FileName));
        QCOMPARE(selectedRows(pictureList(form)), QStringList({"0"}));
    }

    void deleteRemovesOnlyTheDeletedPicturesPlacements()
    {
        DialogRecorder dialogs;
        TMainForm form;
        addEach(form, {"a.png", "c.jpg", "d.bmp"});
        for (const auto &[id, page] : {std::pair{2, 1}, {1, 1}, {2, 2}, {1, 3}}) {
            Placement *p = form.Doc->recordsForSetUp().Placements.Append();
            p->PictureId = id;
            p->Page = page;
        }
        form.Doc->recordsForSetUp().SelectedPlacement = 3;
        pictureList(form)->clearSelection();
        pictureList(form)->item(0)->setSelected(true); // not placed
        pictureList(form)->item(1)->setSelected(true); // placed twice
        form.DelBtnClick();

        QCOMPARE(ids(form), std::vector<int>({2}));
        QCOMPARE(form.Doc->records().Placements.size(), 2);
        QCOMPARE(form.Doc->records().Placements.at(0).PictureId, 2);
        QCOMPARE(form.Doc->records().Placements.at(1).Page, 2);
        QCOMPARE(form.Doc->records().SelectedPlacement, 1);
        QCOMPARE(form.collectionPage().listedNames(), QStringList({"d.bmp"}));
        QCOMPARE(selectedRows(pictureList(form)), QStringList({"0"}));

        QTest::keyClick(pictureList(form), Qt::Key_Delete);
        QCOMPARE(form.Doc->records().PictureCount(), 0);
        QCOMPARE(form.Doc->records().SelectedPlacement, -1);
        QVERIFY(!form.action(Command::DeletePictures)->isEnabled() && !form.action(Command::ShowPicture)->isEnabled() && !form.action(Command::PrintPicture)->isEnabled());
        QVERIFY(dialogs.messages.empty());
    }

    // Escape is no delete key anywhere; only Delete and the button delete.
    void escapeDeletesNothing()
    {
        DialogRecorder dialogs;
        TMainForm form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        addEach(form, {"a.png", "c.jpg"});
        form.showTab(TMainForm::Tab::Sort);
        QTest::keyClick(orderList(form), Qt::Key_Escape);
        QCOMPARE(form.Doc->records().PictureCount(), 2);
        form.showTab(TMainForm::Tab::Collection);
        QTest::keyClick(pictureList(form), Qt::Key_Escape);
        QTest::keyClick(&form, Qt::Key_Escape);
        QCOMPARE(form.Doc->records().PictureCount(), 2);
    }

    // One box per add names every file that gave no picture, and why.
    void addNamesEveryFailureAndWhy()
    {
        QTemporaryDir bad;
        const QString huge = bad.filePath("huge.bmp"), text = bad.filePath("notes.jpg"), cut = bad.filePath("cut.jpg");
        QByteArray header(54, '\0');
        header[0] = 'B';
        header[1] = 'M';
        qToLittleEndian<qint32>(54, header.data() + 10);
        qToLittleEndian<qint32>(40, header.data() + 14);
        qToLittleEndian<qint32>(60000, header.data() + 18); // 60000 x 60000 pixels declared
        qToLittleEndian<qint32>(60000, header.data() + 22);
        qToLittleEndian<qint16>(1, header.data() + 26);
        qToLittleEndian<qint16>(24, header.data() + 28);
        QVERIFY(writeFile(huge, header));
        QVERIFY(writeFile(text, "some notes, no picture"));
        QVERIFY(writePicture(cut, 800, 600));
        QVERIFY(QFile(cut).resize(QFile(cut).size() / 3));
        DialogRecorder dialogs;
        TMainForm form;
        QCOMPARE(form.AddPictureFiles({huge, text, folder + "a.png", cut}), 1);
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        const QStringList lines = dialogs.messages[0].text.split('\n');
        const std::pair<QString, QString> why[] = {{huge, "too large"}, {text, "not a picture"}, {cut, "damaged"}};
        for (const auto &[file, reason] : why) {
            const int at = int(lines.indexOf("Error: The file " + file + " could not be loaded!"));
            QVERIFY2(at >= 0 && at + 1 < lines.size() && lines[at + 1].contains(reason), qPrintable(file));
        }
    }

    void sortByNameUpperCaseFirst()
    {
        DialogRecorder dialogs;
        QTemporaryDir names;
        for (const char *name : {"b.jpg", "A.jpg", "a.jpg"})
            QVERIFY(writePicture(names.path() + "/" + name, 8, 8));
        TMainForm form;
        QVERIFY(form.collectionPage().folders().setFolderPath(names.path()));
        for (const char *name : {"b.jpg", "A.jpg", "a.jpg"})
            form.collectionPage().addBrowserPicture(QLatin1String(name));
        form.sortPage().setCurrentPicture(2);
        form.SortNameBtnClick();
        QCOMPARE(form.sortPage().listedNames(), QStringList({"A.jpg", "a.jpg", "b.jpg"}));
        QCOMPARE(ids(form), std::vector<int>({1, 2, 0}));
        QCOMPARE(form.sortPage().currentPicture(), 0);
        QCOMPARE(selectedRows(pictureList(form)), QStringList({"0"}));
    }

    void previewFailureKeepsTheOldPreview_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("not a picture") << "b.bmp";
        QTest::newRow("missing file") << "gone.png";
    }
    void previewFailureKeepsTheOldPreview()
    {
        QFETCH(QString, name);
        DialogRecorder dialogs;
        TMainForm form;
        form.collectionPage().openForPreview(folder + "c.jpg");
        QCOMPARE(form.collectionPage().previewFileName(), folder + "c.jpg");
        QCOMPARE(DibWidth(form.collectionPage().previewDib()), 64);
        const BYTE *pixels = form.collectionPage().previewDib().Bits;

        form.collectionPage().openForPreview(folder + name);
        QCOMPARE(form.collectionPage().previewFileName(), folder + "c.jpg");
        QCOMPARE(form.collectionPage().previewDib().Bits, pixels);
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        const Dialogs::MessageRecord &m = dialogs.messages[0];
        const QString standard = LoadErrorText(folder + name);
        // The standard text under "Error", or the library's reason under the standard text.
        QVERIFY2(m.text == standard ? m.caption == "Error" : (m.caption == standard && m.text.size() >= 6),
                 qPrintable(m.caption + " / " + m.text));
    }

    void showBigHandsOverThePreview()
    {
        DialogRecorder dialogs;
        TMainForm form;
        QStringList shown;
        int shownWidth = 0;
        form.ShowBigHandler = [&](const DIB &dib, const QString &fileName) {
            shown.append(fileName);
            shownWidth = DibWidth(dib);
        };
        QTemporaryDir other;
        QVERIFY(writePicture(other.path() + "/e.png", 5, 5));
        QVERIFY(form.collectionPage().folders().setFolderPath(other.path()));
        form.collectionPage().addBrowserPicture("e.png");
        addEach(form, {"a.png", "d.bmp"});

        form.sortPage().setCurrentPicture(2);
        QTest::keyClick(orderList(form), Qt::Key_Enter);
        QCOMPARE(shown, QStringList({folder + "d.bmp"}));
        QCOMPARE(shownWidth, 20);
        QCOMPARE(form.collectionPage().currentPicture(), 2);
        QCOMPARE(form.collectionPage().previewFileName(), folder + "d.bmp");

        form.collectionPage().setCurrentPicture(1);
        form.action(Command::ShowPicture)->trigger();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1], folder + "a.png");
        QCOMPARE(shownWidth, 40);

        // A picture whose file is gone cannot be previewed, so nothing is shown.
        QVERIFY(QFile::remove(other.path() + "/e.png"));
        form.sortPage().setCurrentPicture(0);
        form.SortBoxDblClick();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(form.collectionPage().previewFileName(), folder + "a.png");

        // Enter in the picture list previews its focused item.
        pictureList(form)->setCurrentRow(2, QItemSelectionModel::NoUpdate);
        QTest::keyClick(pictureList(form), Qt::Key_Return);
        QCOMPARE(form.collectionPage().previewFileName(), folder + "d.bmp");
    }
};
SGA_TEST(TestCollectionHandlers)

#include "tst_collection.moc"
