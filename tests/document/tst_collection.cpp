#include "app/MainUnit.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/Collection.h"

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
// Writes a picture of the given size in the format its suffix names.
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

QStringList listedNames(const TMainForm &form)
{
    QStringList names;
    const QModelIndex root = form.JamShellList1->rootIndex();
    for (int r = 0; r < form.ListModel->rowCount(root); ++r)
        names.append(form.ListModel->fileName(form.ListModel->index(r, 0, root)));
    return names;
}

// Shows folder in the tree, waits until the file list shows exactly `listed`
// (in that order) and selects `selected` there.
bool selectFiles(TMainForm &form, const QString &folder, const QStringList &listed, const QStringList &selected)
{
    if (!form.SetJamShellTree1Path(folder))
        return false;
    if (!QTest::qWaitFor([&] { return listedNames(form) == listed; }, 10000)) {
        qWarning() << "file list shows" << listedNames(form);
        return false;
    }
    const QModelIndex root = form.JamShellList1->rootIndex();
    form.JamShellList1->clearSelection();
    for (int r = 0; r < form.ListModel->rowCount(root); ++r) {
        const QModelIndex i = form.ListModel->index(r, 0, root);
        if (selected.contains(form.ListModel->fileName(i)))
            form.JamShellList1->selectionModel()->select(i, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    return true;
}

QStringList items(const QListWidget *list)
{
    QStringList r;
    for (int i = 0; i < list->count(); ++i)
        r.append(list->item(i)->text());
    return r;
}

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
    for (const PictureEntry &e : form.Pictures)
        r.push_back(e.PictureId);
    return r;
}

Placement *place(TMainForm &form, int pictureId, int page)
{
    Placement *p = form.Placements.Append();
    p->PictureId = pictureId;
    p->Page = page;
    return p;
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
        QTest::newRow("upper case before lower case") << "/p/A.jpg" << "/p/a.jpg" << -1;
        QTest::newRow("equal paths") << "/p/a.jpg" << "/p/a.jpg" << 0;
        QTest::newRow("prefix is smaller") << "/p/a" << "/p/a.jpg" << -1;
        QTest::newRow("longer is greater") << "/p/ab" << "/p/a" << 1;
        QTest::newRow("accented letter after z (UTF-8 lead byte)") << "/p/\u00e9.jpg" << "/p/z.jpg" << 1;
        QTest::newRow("folder decides before name") << "/a/z.jpg" << "/b/a.jpg" << -1;
        QTest::newRow("empty before anything") << "" << "/" << -1;
    }
    void comparePathBytes()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        const int r = ComparePathBytes(a, b);
        QCOMPARE((r > 0) - (r < 0), sign);
        const int back = ComparePathBytes(b, a);
        QCOMPARE((back > 0) - (back < 0), -sign);
    }

    void sortKeepsEntriesWhole()
    {
        std::vector<PictureEntry> pics(4);
        const char *names[] = {"/p/b.jpg", "/p/A.jpg", "/p/a.jpg", "/p/B.jpg"};
        for (int i = 0; i < 4; ++i) {
            pics[std::size_t(i)].FileName = QLatin1String(names[i]);
            pics[std::size_t(i)].PictureId = i;
            pics[std::size_t(i)].Rotation = i % 4;
        }
        SortPicturesByPath(pics);
        QStringList order;
        for (const PictureEntry &e : pics)
            order.append(e.FileName + QLatin1Char('#') + QString::number(e.PictureId) + QLatin1Char('r') +
                         QString::number(e.Rotation));
        QCOMPARE(order, QStringList({"/p/A.jpg#1r1", "/p/B.jpg#3r3", "/p/a.jpg#2r2", "/p/b.jpg#0r0"}));
    }

    void swapRejectsInvalidIndices_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<bool>("done");
        QTest::newRow("neighbours") << 0 << 1 << true;
        QTest::newRow("before the first") << -1 << 0 << false;
        QTest::newRow("past the last") << 1 << 2 << false;
    }
    void swapRejectsInvalidIndices()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(bool, done);
        std::vector<PictureEntry> pics(2);
        pics[0].PictureId = 10;
        pics[1].PictureId = 11;
        QCOMPARE(SwapPictures(pics, a, b), done);
        QCOMPARE(pics[0].PictureId, done ? 11 : 10);
    }

    void previewErrorMessage_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<bool>("libraryShown");
        QTest::newRow("no library text") << QString() << false;
        QTest::newRow("five characters say nothing") << "Error" << false;
        QTest::newRow("six characters are shown") << "Broken" << true;
        QTest::newRow("a real reason") << "Unsupported image format" << true;
    }
    void previewErrorMessage()
    {
        QFETCH(QString, library);
        QFETCH(bool, libraryShown);
        const QString standard = QStringLiteral("Error: The file /p/x.jpg could not be loaded!");
        QCOMPARE(LoadErrorText(QStringLiteral("/p/x.jpg")), standard);
        const MessageText m = PreviewErrorMessage(QStringLiteral("/p/x.jpg"), library);
        QCOMPARE(m.Text, libraryShown ? library : standard);
        QCOMPARE(m.Caption, libraryShown ? standard : QStringLiteral("Error"));
    }

    void previewDrawSize_data()
    {
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("drawn");
        QTest::newRow("1000x500 in 185x64 is limited by the height") << QSize(185, 64) << QSize(1000, 500)
                                                                     << QSize(128, 64);
        QTest::newRow("wide picture limited by the width") << QSize(185, 140) << QSize(1000, 500) << QSize(185, 92);
        QTest::newRow("exact fit") << QSize(200, 100) << QSize(400, 200) << QSize(200, 100);
        QTest::newRow("small picture is enlarged") << QSize(185, 140) << QSize(10, 10) << QSize(140, 140);
        QTest::newRow("hair-thin picture truncates to zero width") << QSize(185, 64) << QSize(1, 1000)
                                                                   << QSize(0, 64);
        QTest::newRow("empty picture draws nothing") << QSize(185, 64) << QSize(0, 0) << QSize();
        QTest::newRow("huge picture does not overflow") << QSize(60000, 60000) << QSize(100000, 90000)
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

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(dir.isValid());
        folder = dir.path() + QLatin1Char('/');
        writePicture(folder + QStringLiteral("a.png"), 40, 30);
        writeBytes(folder + QStringLiteral("b.bmp"), "this is no picture at all");
        writePicture(folder + QStringLiteral("c.jpg"), 64, 48, Qt::blue);
        writePicture(folder + QStringLiteral("d.bmp"), 20, 10, Qt::green);
    }
    void init() { QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/folders.dat"); }

    void addSkipsTheFileThatIsNoPicture()
    {
        DialogRecorder dialogs;
        TMainForm form;
        QVERIFY(!form.DelBtn->isEnabled());
        QVERIFY(!form.ShowBtn->isEnabled());
        QVERIFY(!form.PrintBtn->isEnabled());
        form.NextPictureId = 7;
        QVERIFY(selectFiles(form, folder, {"a.png", "b.bmp", "c.jpg", "d.bmp"}, {"a.png", "b.bmp", "c.jpg"}));
        form.AddBtnClick();

        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(dialogs.messages[0].text, QString("Error: The file " + folder + "b.bmp could not be loaded!"));
        QCOMPARE(dialogs.messages[0].caption, QStringLiteral("Error"));
        QCOMPARE(dialogs.messages[0].buttons, Dialogs::Ok);
        QCOMPARE(form.PictureCount(), 2);
        QCOMPARE(form.Pictures[0].FileName, folder + "a.png");
        QCOMPARE(form.Pictures[1].FileName, folder + "c.jpg");
        QCOMPARE(ids(form), std::vector<int>({7, 8}));
        QCOMPARE(form.NextPictureId, 9);
        QCOMPARE(DibWidth(form.Pictures[1].Dib), 64);
        QVERIFY(form.Pictures[0].Comment.isNull());
        QCOMPARE(items(form.ImageList), QStringList({"a.png", "c.jpg"}));
        QCOMPARE(items(form.SortBox), QStringList({"a.png", "c.jpg"}));
        QCOMPARE(selectedRows(form.ImageList), QStringList({"0"}));
        QCOMPARE(form.SortBox->currentRow(), 0);
        QVERIFY(form.DelBtn->isEnabled() && form.ShowBtn->isEnabled() && form.PrintBtn->isEnabled());
        QCOMPARE(form.PrefListBox->count(), 1);
        QCOMPARE(form.PrefListBox->item(0)->text(), folder);
    }

    void addingOnlyFailuresRecordsNoFavourite()
    {
        DialogRecorder dialogs;
        TMainForm form;
        QVERIFY(selectFiles(form, folder, {"a.png", "b.bmp", "c.jpg", "d.bmp"}, {"b.bmp"}));
        form.AddBtnClick();
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(form.PictureCount(), 0);
        QCOMPARE(form.NextPictureId, 0);
        QCOMPARE(form.PrefListBox->count(), 0);
        QVERIFY(!form.DelBtn->isEnabled());
    }

    void dropFromFileListAddsItsSelection()
    {
        DialogRecorder dialogs;
        TMainForm form;
        QVERIFY(selectFiles(form, folder, {"a.png", "b.bmp", "c.jpg", "d.bmp"}, {"c.jpg", "d.bmp"}));
        QVERIFY(!form.ImageListDragOver(form.SortBox));
        QVERIFY(!form.ImageListDragOver(nullptr));
        form.ImageListDragDrop(form.SortBox);
        QCOMPARE(form.PictureCount(), 0);
        QVERIFY(form.ImageListDragOver(form.JamShellList1));
        form.ImageListDragDrop(form.JamShellList1);
        QCOMPARE(items(form.ImageList), QStringList({"c.jpg", "d.bmp"}));
        QVERIFY(dialogs.messages.empty());
    }

    void moveAtTheEnds_data()
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
    void moveAtTheEnds()
    {
        QFETCH(bool, up);
        QFETCH(int, current);
        QFETCH(std::vector<int>, order);
        QFETCH(int, currentAfter);
        DialogRecorder dialogs;
        TMainForm form;
        QVERIFY(form.SetJamShellTree1Path(folder));
        for (const char *name : {"a.png", "c.jpg", "d.bmp"})
            form.OpenFromBrowser(QLatin1String(name));
        QCOMPARE(ids(form), std::vector<int>({0, 1, 2}));
        form.SortBox->setCurrentRow(current);
        up ? form.UpNowClick() : form.DownNowClick();
        QCOMPARE(ids(form), order);
        QCOMPARE(form.SortBox->currentRow(), currentAfter);
        QCOMPARE(selectedRows(form.ImageList), QStringList({"0"}));
        QCOMPARE(form.SortBox->item(currentAfter)->text(), FileNamePart(form.Pictures[std::size_t(currentAfter)].FileName));
    }

    void deleteRemovesOnlyTheDeletedPicturesPlacements()
    {
        DialogRecorder dialogs;
        TMainForm form;
        QVERIFY(form.SetJamShellTree1Path(folder));
        for (const char *name : {"a.png", "c.jpg", "d.bmp"})
            form.OpenFromBrowser(QLatin1String(name));
        place(form, 2, 1);
        place(form, 1, 1);
        place(form, 2, 2);
        place(form, 1, 3);
        form.SelectedPlacement = 3;
        form.ImageList->clearSelection();
        form.ImageList->item(0)->setSelected(true); // not placed
        form.ImageList->item(1)->setSelected(true); // placed twice
        form.DelBtnClick();

        QCOMPARE(ids(form), std::vector<int>({2}));
        QCOMPARE(form.Placements.size(), 2);
        QCOMPARE(form.Placements.at(0).PictureId, 2);
        QCOMPARE(form.Placements.at(1).PictureId, 2);
        QCOMPARE(form.Placements.at(1).Page, 2);
        QCOMPARE(form.SelectedPlacement, 1);
        QCOMPARE(items(form.ImageList), QStringList({"d.bmp"}));
        QCOMPARE(selectedRows(form.ImageList), QStringList({"0"}));
        QVERIFY(dialogs.messages.empty());

        // The Delete key deletes the selection (the first item again).
        QTest::keyClick(form.ImageList, Qt::Key_Delete);
        QCOMPARE(form.PictureCount(), 0);
        QCOMPARE(form.Placements.size(), 0);
        QCOMPARE(form.SelectedPlacement, -1);
        QVERIFY(!form.DelBtn->isEnabled() && !form.ShowBtn->isEnabled() && !form.PrintBtn->isEnabled());
    }

    void escapeDeletesOnlyWhileDeleteIsShown()
    {
        DialogRecorder dialogs;
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QVERIFY(form.SetJamShellTree1Path(folder));
        form.OpenFromBrowser(QStringLiteral("a.png"));
        form.OpenFromBrowser(QStringLiteral("c.jpg"));
        form.PageControl2->setCurrentWidget(form.TabSheet2); // "Delete" hidden
        QTest::keyClick(form.SortBox, Qt::Key_Escape);
        QCOMPARE(form.PictureCount(), 2);
        form.PageControl2->setCurrentWidget(form.TabSheet1);
        QTest::keyClick(form.ImageList, Qt::Key_Escape);
        QCOMPARE(items(form.ImageList), QStringList({"c.jpg"}));
    }

    void sortByNameUpperCaseFirst()
    {
        DialogRecorder dialogs;
        QTemporaryDir names;
        const QString f = names.path() + QLatin1Char('/');
        for (const char *name : {"b.jpg", "A.jpg", "a.jpg"})
            writePicture(f + QLatin1String(name), 8, 8);
        TMainForm form;
        QVERIFY(form.SetJamShellTree1Path(f));
        for (const char *name : {"b.jpg", "A.jpg", "a.jpg"})
            form.OpenFromBrowser(QLatin1String(name));
        form.SortBox->setCurrentRow(2);
        form.SortNameBtnClick();
        QCOMPARE(items(form.SortBox), QStringList({"A.jpg", "a.jpg", "b.jpg"}));
        QCOMPARE(ids(form), std::vector<int>({1, 2, 0}));
        QCOMPARE(form.SortBox->currentRow(), 0);
        QCOMPARE(selectedRows(form.ImageList), QStringList({"0"}));
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
        QCOMPARE(DibWidth(form.PreviewDib), 320);
        form.openfilenow(folder + "c.jpg");
        QCOMPARE(form.PreviewFileName, folder + "c.jpg");
        QCOMPARE(DibWidth(form.PreviewDib), 64);
        const BYTE *pixels = form.PreviewDib.Bits;

        const QString bad = folder + name;
        form.openfilenow(bad);
        QCOMPARE(form.PreviewFileName, folder + "c.jpg");
        QCOMPARE(form.PreviewDib.Bits, pixels);
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        const Dialogs::MessageRecord &m = dialogs.messages[0];
        const QString standard = LoadErrorText(bad);
        // Either the standard text under "Error", or the library's reason under the standard text.
        if (m.text == standard)
            QCOMPARE(m.caption, QStringLiteral("Error"));
        else {
            QCOMPARE(m.caption, standard);
            QVERIFY(m.text.size() >= 6);
        }
        QCOMPARE(m.buttons, Dialogs::Ok);
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
            QCOMPARE(dib.Bits, form.PreviewDib.Bits); // a copy sharing the pixels
        };
        QVERIFY(form.SetJamShellTree1Path(folder));
        form.OpenFromBrowser(QStringLiteral("a.png"));
        form.OpenFromBrowser(QStringLiteral("d.bmp"));

        form.SortBox->setCurrentRow(1);
        form.SortBoxDblClick();
        QCOMPARE(shown, QStringList({folder + "d.bmp"}));
        QCOMPARE(shownWidth, 20);
        QCOMPARE(form.ImageList->currentRow(), 1);
        QCOMPARE(form.PreviewFileName, folder + "d.bmp");

        form.ImageList->setCurrentRow(0);
        form.ShowBtnClick();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1], folder + "a.png");
        QCOMPARE(shownWidth, 40);

        // A picture whose file is gone cannot be previewed, so nothing is shown.
        QTemporaryDir other;
        writePicture(other.path() + "/e.png", 5, 5);
        QVERIFY(form.SetJamShellTree1Path(other.path()));
        form.OpenFromBrowser(QStringLiteral("e.png"));
        QVERIFY(QFile::remove(other.path() + "/e.png"));
        form.SortBox->setCurrentRow(2);
        form.SortBoxDblClick();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(form.PreviewFileName, folder + "a.png");
    }

    void enterInImageListPreviewsTheFocusedItem()
    {
        DialogRecorder dialogs;
        TMainForm form;
        QVERIFY(form.SetJamShellTree1Path(folder));
        form.OpenFromBrowser(QStringLiteral("a.png"));
        form.OpenFromBrowser(QStringLiteral("c.jpg"));
        form.ImageList->setCurrentRow(1, QItemSelectionModel::NoUpdate);
        QTest::keyClick(form.ImageList, Qt::Key_Return);
        QCOMPARE(form.PreviewFileName, folder + "c.jpg");
        form.SortBox->setCurrentRow(0);
        QTest::keyClick(form.SortBox, Qt::Key_Enter);
        QCOMPARE(form.PreviewFileName, folder + "a.png");
        QCOMPARE(form.ImageList->currentRow(), 0);
    }
};
SGA_TEST(TestCollectionHandlers)

#include "tst_collection.moc"
