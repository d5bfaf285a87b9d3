#include "common/WindowParts.h"
#include "arrange/SizePositionDialog.h"
#include "common/FileListSupport.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/UndoCommands.h"
#include "picture/ToneDialog.h"
#include "platform/ColorBox.h"
#include "platform/PaintBox.h"

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using Step = std::function<void(TMainForm&)>;
Q_DECLARE_METATYPE(Step)

namespace {
// A 24-bit picture whose bytes all differ from its neighbours', seeded.
DIB stripes(int w, int h, int seed)
{
    DIB d;
    newdib(&d, w, h, 24, nullptr, 0);
    for (std::uint32_t i = 0; i < d.Info->biSizeImage; ++i)
        d.Bits[i] = BYTE(i * 7 + std::uint32_t(seed) * 31);
    return d;
}

// Headers, colour tables and pixels of every picture, in order: what is shown
// and the full picture.
QByteArray pixels(TMainForm& form)
{
    QByteArray all;
    for (const PictureEntry& e : form.Doc->records().Pictures) {
        for (const DIB& d : {e.Dib, form.Doc->records().Store.full(e)}) {
            if (!d.Bits)
                continue;
            all.append(reinterpret_cast<const char*>(d.Info),
                qsizetype(sizeof(BITMAPINFOHEADER)) + 4 * qsizetype(d.Info->biClrUsed));
            all.append(reinterpret_cast<const char*>(d.Bits), qsizetype(d.Info->biSizeImage));
        }
    }
    return all;
}

QByteArray fileBytes(TMainForm& form) { return WriteArrangement(form.Doc->fileRecord(QStringLiteral("/work/x.sga"))); }

void addPlacement(TMainForm& form, int id, double left, double top)
{
    *form.Doc->recordsForSetUp().Placements.Append() = Placement { left, top, 1, 1, 1, id, 0, {}, {} };
}
} // namespace

class TestUndo : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    // Every command: undo gives back the saved bytes and the pixels as they
    // were, redo those after the change; each is exactly one step.
    void everyCommandUndoesExactly_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<Step>("select"); // a selection before the step, no command
        QTest::newRow("add picture") << Step([this](TMainForm& f) {
            QVERIFY(writePicture(dir.filePath("c.png"), 5, 3));
            QVERIFY(f.collectionPage().folders().setFolderPath(dir.path()));
            f.collectionPage().addBrowserPicture(QStringLiteral("c.png"));
        }) << Step();
        QTest::newRow("delete picture") << Step([](TMainForm& f) {
            f.collectionPage().selectPictures({0});
            f.DelBtnClick();
        }) << Step();
        QTest::newRow("move picture down") << Step([](TMainForm& f) {
            f.sortPage().setCurrentPicture(0);
            f.DownNowClick();
        }) << Step();
        QTest::newRow("sort by names") << Step([](TMainForm& f) { f.SortNameBtnClick(); }) << Step();
        QTest::newRow("place by double click") << Step([](TMainForm& f) { f.PaintBox1DblClick(); }) << Step();
        QTest::newRow("place by drop") << Step([](TMainForm& f) {
            QMimeData mime;
            mime.setData(QStringLiteral("application/x-snapgrid-atlas-strip-picture"), "0");
            f.arrangePage().canvas().dropPicture(f.arrangePage().strip().StripBox, &mime, 300, 200);
        }) << Step();
        QTest::newRow("add all pictures") << Step([](TMainForm& f) { f.OvertakeallClick(); }) << Step();
        QTest::newRow("drag moves, one step") << Step([](TMainForm& f) {
            // The selection's frame is 96 x 96 view pixels at (96, 96).
            f.arrangePage().canvas().mousePress(Qt::LeftButton, 140, 140);
            f.arrangePage().canvas().mouseMove(160, 150);
            f.arrangePage().canvas().mouseMove(200, 170);
            f.arrangePage().canvas().mouseRelease(220, 180);
        }) << Step();
        QTest::newRow("drag resizes") << Step([](TMainForm& f) {
            f.arrangePage().canvas().mousePress(Qt::LeftButton, 191, 191);
            f.arrangePage().canvas().mouseMove(250, 260);
            f.arrangePage().canvas().mouseRelease(260, 280);
        }) << Step();
        QTest::newRow("nudges merge") << Step([](TMainForm& f) {
            f.arrangePage().canvas().nudgeSelection(1, 0);
            f.arrangePage().canvas().nudgeSelection(0, 10);
        }) << Step();
        QTest::newRow("delete placement") << Step([](TMainForm& f) { f.DelitBtnClick(); }) << Step();
        // Selecting is no change of its own; undo gives back the selection made.
        QTest::newRow("bring to front") << Step([](TMainForm& f) { f.Doc->bringSelectionToFront(); })
                                        << Step([](TMainForm& f) { f.Doc->recordsForSetUp().SelectedPlacement = 0; });
        QTest::newRow("arrange automatically") << Step([](TMainForm& f) { f.OrdeneBtnClick(); }) << Step();
        QTest::newRow("size and position") << Step([](TMainForm& f) {
            DialogRecorder rec;
            rec.handler.exec = [](QDialog* dialog) {
                static_cast<SizePositionDialog*>(dialog)->LeftEd->setValue(50);
                return int(QDialog::Accepted);
            };
            rec.install();
            f.ChangePosSizeBtnClick();
        }) << Step();
        QTest::newRow("cut") << Step([](TMainForm& f) { f.arrangePage().chooseCut(!f.arrangePage().shownCut()); }) << Step();
        QTest::newRow("caption typing merges")
            << Step([](TMainForm& f) {
                   for (const char* typed : {"B", "Be", "Bea", "Beac", "Beach"}) // a key at a time
                       f.arrangePage().typeCaption(QString::fromLatin1(typed));
               }) << Step();
        QTest::newRow("turn left") << Step([](TMainForm& f) { f.RotLeftBtnClick(); }) << Step();
        QTest::newRow("turn right") << Step([](TMainForm& f) { f.RotRightBtnClick(); }) << Step();
        QTest::newRow("brightness") << Step([](TMainForm& f) {
            DialogRecorder rec;
            rec.handler.exec = [](QDialog* d) {
                auto* hk = qobject_cast<ToneDialog*>(d);
                hk->BrightnessSlider->setValue(60);
                hk->PreviewBtn->click();
                hk->OkBtn->click();
                return int(QDialog::Accepted);
            };
            rec.install();
            f.HellKonBtnClick();
        }) << Step();
        QTest::newRow("option typed") << Step([](TMainForm& f) {
            f.arrangePage().options().GridEd->setValue(7);
            f.arrangePage().options().GridEd->setValue(8);
        }) << Step();
        QTest::newRow("option in inches") << Step([](TMainForm& f) { f.arrangePage().options().MarginInchEd->setValue(1); }) << Step();
        QTest::newRow("font background") << Step([](TMainForm& f) { f.arrangePage().options().BackgroundBox->setCurrentIndex(2); }) << Step();
        QTest::newRow("check box") << Step([](TMainForm& f) { f.arrangePage().options().ShowFNames->setChecked(true); }) << Step();
    }
    void everyCommandUndoesExactly()
    {
        QFETCH(Step, step);
        QFETCH(Step, select);
        DialogRecorder dialogs;
        TMainForm form;
        form.ScreenDpiOverride = 96;
        form.arrangePage().setZoom(100);
        form.arrangePage().options().UseGridCheck->setChecked(false);
        // A large photo, shown from a screen copy and made again from its file.
        const QString photo = dir.filePath("b.png");
        if (!QFile::exists(photo)) {
            DIB big = stripes(2000, 1500, 1);
            QImage(big.Bits, 2000, 1500, int(big.RowBytes), QImage::Format_BGR888).save(photo);
        }
        const int a = form.Doc->records().Pictures[std::size_t(form.Doc->addDecodedPicture(photo, DecodeForCollection(photo, 0, DisplayBox())))].PictureId;
        QVERIFY(form.Doc->records().Pictures.back().Reduced);
        const int b = form.Doc->recordsForSetUp().appendPicture(dir.filePath("a.png"), stripes(20, 50, 2));
        addPlacement(form, b, 3, 2);
        addPlacement(form, a, 1, 1);
        form.UpdateListBox();
        form.Doc->selectPlacement(1);
        form.Doc->undo().reset();
        if (select)
            select(form);

        const QByteArray bytes0 = fileBytes(form), pixels0 = pixels(form);
        step(form);
        QCOMPARE(form.Doc->undo().stack()->count(), 1);
        const QByteArray bytes1 = fileBytes(form), pixels1 = pixels(form);
        QVERIFY(bytes1 != bytes0 || pixels1 != pixels0);
        QVERIFY(form.Doc->isModified());

        form.Doc->undo().stack()->undo();
        QCOMPARE(fileBytes(form), bytes0);
        QVERIFY(pixels(form) == pixels0);
        QVERIFY(!form.Doc->isModified());
        form.Doc->undo().stack()->redo();
        QCOMPARE(fileBytes(form), bytes1);
        QVERIFY(pixels(form) == pixels1);
        form.Doc->undo().stack()->undo();
        QCOMPARE(fileBytes(form), bytes0);
    }

    // Looking is no change: selecting (which brings to front) and zooming add
    // no undo step and no unsaved mark, and undo keeps the zoom.
    void lookingIsNoStep_data()
    {
        QTest::addColumn<Step>("look");
        QTest::newRow("select the lower one") << Step([](TMainForm& f) { f.Doc->selectPlacement(0); });
        QTest::newRow("click the lower one") << Step([](TMainForm& f) {
            f.arrangePage().canvas().mousePress(Qt::LeftButton, 300, 200);
            f.arrangePage().canvas().mouseRelease(300, 200);
        });
        QTest::newRow("zoom in") << Step([](TMainForm& f) { f.arrangePage().ZoomIn(); });
        QTest::newRow("zoom to fit") << Step([](TMainForm& f) { f.arrangePage().ZoomToFit(); });
    }
    void lookingIsNoStep()
    {
        QFETCH(Step, look);
        DialogRecorder dialogs;
        TMainForm form;
        form.ScreenDpiOverride = 96;
        form.arrangePage().setZoom(100);
        const int a = form.Doc->recordsForSetUp().appendPicture(dir.filePath("a.png"), stripes(20, 20, 1));
        const int b = form.Doc->recordsForSetUp().appendPicture(dir.filePath("b.png"), stripes(20, 20, 2));
        addPlacement(form, b, 3, 2);
        addPlacement(form, a, 1, 1);
        form.Doc->selectPlacement(1);
        form.Doc->undo().reset();
        form.arrangePage().canvas().nudgeSelection(1, 0);
        form.Doc->undoStack()->setClean();

        look(form);
        QCOMPARE(form.Doc->undoStack()->count(), 1);
        QVERIFY(!form.Doc->isModified());
        const int zoom = form.Doc->options().Zoom;
        form.Doc->undoStack()->undo();
        QCOMPARE(form.Doc->options().Zoom, zoom);
        QCOMPARE(form.arrangePage().shownZoom(), zoom);
    }

    // The title's mark and the questions follow the unsaved changes.
    void modifiedFlagFollowsSaving()
    {
        DialogRecorder dialogs(Dialogs::IdCancel);
        TMainForm form;
        const QString file = dir.filePath("m.sga");
        auto marked = [&form] { return form.windowTitle().endsWith(QStringLiteral("*]")); };
        QVERIFY(!marked());
        form.NewBtnClick(); // nothing to lose: no question
        QVERIFY(dialogs.messages.empty());

        form.arrangePage().options().GridEd->setValue(7);
        QVERIFY(marked());
        QVERIFY(form.SaveFile(file));
        QCOMPARE(form.windowTitle(), QStringLiteral("QUORVEX Snapgrid-Atlas 4.0 - [m.sga]"));
        form.arrangePage().options().GridEd->setValue(9);
        QCOMPARE(form.windowTitle(), QStringLiteral("QUORVEX Snapgrid-Atlas 4.0 - [m.sga*]"));
        form.Doc->undo().stack()->undo(); // back at the saved state
        QVERIFY(!marked());
        QCOMPARE(form.arrangePage().options().GridEd->value(), 7.0);
        form.Doc->undo().stack()->redo();
        QVERIFY(marked());
        form.NewBtnClick(); // asked, cancelled
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(form.arrangePage().options().GridEd->value(), 9.0);
        form.Doc->undo().stack()->undo();
        form.Doc->undo().stack()->undo(); // before the save
        QVERIFY(marked());
        QCOMPARE(form.arrangePage().options().GridEd->value(), 5.0);

        dialogs.answer = Dialogs::IdDiscard;
        form.NewBtnClick();
        QVERIFY(!marked());
        QCOMPARE(form.Doc->undo().stack()->count(), 0);
    }
};
SGA_TEST(TestUndo)

#include "tst_undo.moc"
