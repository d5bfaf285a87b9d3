#include "PixelFixtures.h"
#include "common/WindowParts.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "picture/ToneDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

#include <cmath>
#include <limits>
#include <memory>

namespace {
Placement *place(TMainForm &f, int pictureId, double width, double height = 3.0)
{
    Placement *p = f.Doc->recordsForSetUp().Placements.Append();
    p->PictureId = pictureId;
    p->Page = 1;
    p->Width = width;
    p->Height = height;
    return p;
}

PictureEntry entryOf(const DIB &dib)
{
    PictureEntry e;
    e.Dib = dib;
    e.Recipe = RecipeOfDib(dib);
    return e;
}

// A picture whose header claims a size no allocation can meet; its real pixel
// block is tiny and never read on the paths that fail.
DIB impossiblyLarge(int bits)
{
    DIB d = patternPicture(4, 4, bits);
    d.Info->biWidth = 100;
    d.Info->biHeight = 20000000;
    return d;
}

const QString LowColours = QStringLiteral("Could not change the number of colours! (Low memory?!)");
const QString EnlargeFailed = QStringLiteral("Error while enlarge the picture to min. quality...");
} // namespace

class TestProcessingHandlers : public QObject
{
    Q_OBJECT
private slots:
    void changequal_data()
    {
        QTest::addColumn<int>("W");
        QTest::addColumn<int>("H");
        QTest::addColumn<int>("bits");
        QTest::addColumn<double>("frameWidth");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("minQual");
        QTest::addColumn<QSize>("expectedSize");
        QTest::addColumn<int>("expectedBits");
        QTest::newRow("300 px in a 5-inch frame at 72 dpi")
            << 300 << 200 << 24 << 5.0 << true << 72 << QSize(360, 240) << 24;
        QTest::newRow("300 px in a 4-inch frame") << 300 << 200 << 24 << 4.0 << true << 72 << QSize(300, 200) << 24;
        QTest::newRow("option off") << 300 << 200 << 8 << 5.0 << false << 72 << QSize(300, 200) << 8;
        QTest::newRow("8 bit enlarged becomes 24 bit") << 100 << 50 << 8 << 2.0 << true << 72 << QSize(144, 72) << 24;
        QTest::newRow("4 bit enlarged becomes 24 bit") << 9 << 9 << 4 << 1.0 << true << 10 << QSize(10, 10) << 24;
        QTest::newRow("1 bit enlarged becomes 24 bit") << 9 << 9 << 1 << 1.0 << true << 10 << QSize(10, 10) << 24;
        QTest::newRow("8 bit wide enough keeps its depth")
            << 300 << 200 << 8 << 4.0 << true << 72 << QSize(300, 200) << 8;
        QTest::newRow("height follows the picture, not the frame")
            << 100 << 300 << 24 << 2.5 << true << 72 << QSize(180, 540) << 24;
        QTest::newRow("needed width truncates") << 100 << 100 << 24 << 1.99 << true << 100 << QSize(199, 199) << 24;
        QTest::newRow("frame width 0") << 10 << 10 << 24 << 0.0 << true << 72 << QSize(10, 10) << 24;
        QTest::newRow("negative frame width") << 10 << 10 << 24 << -3.0 << true << 72 << QSize(10, 10) << 24;
        QTest::newRow("frame width NaN") << 10 << 10 << 24 << std::nan("") << true << 72 << QSize(10, 10) << 24;
        QTest::newRow("one-pixel picture") << 1 << 1 << 8 << 1.0 << true << 72 << QSize(72, 72) << 24;
        QTest::newRow("one-row picture") << 50 << 1 << 24 << 1.0 << true << 72 << QSize(72, 1) << 24;
    }
    void changequal()
    {
        QFETCH(int, W);
        QFETCH(int, H);
        QFETCH(int, bits);
        QFETCH(double, frameWidth);
        QFETCH(bool, enabled);
        QFETCH(int, minQual);
        QFETCH(QSize, expectedSize);
        QFETCH(int, expectedBits);
        DialogRecorder rec;
        TMainForm form;
        form.arrangePage().options().EnhanceQualCheck->setChecked(enabled);
        form.arrangePage().options().MinQualEd->setValue(minQual);
        PictureEntry entry = entryOf(patternPicture(W, H, bits));
        DIB &pic = entry.Dib;
        form.arrangePage().enlargeToMinimumQuality(entry, frameWidth, 1.0);
        QCOMPARE(QSize(DibWidth(pic), DibHeight(pic)), expectedSize);
        QCOMPARE(DibBitCount(pic), expectedBits);
        QVERIFY(rec.messages.empty());
        QCOMPARE(form.progressPercent(), 0);
    }

    void enlargementStopsAtThePrintableWidth()
    {
        // A placeholder in a frame far wider than the paper: only the part the
        // page shows counts.
        DialogRecorder rec;
        TMainForm form;
        PictureEntry entry = entryOf(patternPicture(320, 200, 24));
        DIB &pic = entry.Dib;
        form.arrangePage().enlargeToMinimumQuality(entry, 440.0, 3.0);
        const int shown = int(72.0 * form.printer().PageWidth() / form.printer().LogPixelsX());
        QCOMPARE(QSize(DibWidth(pic), DibHeight(pic)), QSize(shown, 200 * shown / 320));
        QVERIFY(rec.messages.empty());
        deldib(&pic);
    }

    void checkallqualsTakesTheWidestFrameOnce()
    {
        DialogRecorder rec;
        TMainForm form;
        form.arrangePage().options().MinQualEd->setValue(72);
        const int small = form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/a.png"), patternPicture(100, 80, 8));
        const int wide = form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/b.png"), patternPicture(300, 200, 24));
        place(form, small, 1.0);
        place(form, small, 2.0); // placed twice: the wider frame decides
        place(form, wide, 4.0);
        form.arrangePage().checkAllQualities();
        const DIB &a = form.Doc->recordsForSetUp().pictureById(small)->Dib;
        QCOMPARE(QSize(DibWidth(a), DibHeight(a)), QSize(144, 115));
        QCOMPARE(DibBitCount(a), 24);
        QCOMPARE(DibWidth(form.Doc->recordsForSetUp().pictureById(wide)->Dib), 300);

        const BYTE *bitsA = a.Bits;
        form.arrangePage().checkAllQualities();
        QCOMPARE(form.Doc->recordsForSetUp().pictureById(small)->Dib.Bits, bitsA);
        QVERIFY(rec.messages.empty());
    }

    void checkallqualsWithTheOptionOff()
    {
        DialogRecorder rec;
        TMainForm form;
        form.arrangePage().options().EnhanceQualCheck->setChecked(false);
        const int id = form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/a.png"), patternPicture(10, 10, 8));
        const BYTE *bits = form.Doc->recordsForSetUp().pictureById(id)->Dib.Bits;
        place(form, id, 9.0);
        form.arrangePage().checkAllQualities();
        QCOMPARE(form.Doc->recordsForSetUp().pictureById(id)->Dib.Bits, bits);
        QCOMPARE(DibBitCount(form.Doc->recordsForSetUp().pictureById(id)->Dib), 8);
    }

    void lowMemoryMessages_data()
    {
        QTest::addColumn<bool>("depthFails");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("bitsAfter");
        QTest::newRow("no memory for 24 bits") << true << LowColours << QStringLiteral("Error") << 8;
        QTest::newRow("no memory for the larger picture") << false << EnlargeFailed << QString() << 24;
    }
    void lowMemoryMessages()
    {
        QFETCH(bool, depthFails);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        QFETCH(int, bitsAfter);
        DialogRecorder rec;
        TMainForm form;
        // A tall narrow picture enlarged to the page width goes past the pixel limit.
        PictureEntry entry = entryOf(depthFails ? impossiblyLarge(8) : patternPicture(2, 30000, 8));
        DIB &pic = entry.Dib;
        const int W = DibWidth(pic), H = DibHeight(pic);
        form.arrangePage().enlargeToMinimumQuality(entry, depthFails ? 1000.0 : 1e12, 1.0);
        QCOMPARE(rec.messages.size(), std::size_t(1));
        QCOMPARE(rec.messages[0].text, text);
        QCOMPARE(rec.messages[0].caption, caption);
        QCOMPARE(rec.messages[0].icon, Dialogs::Icon::Error);
        // The entry keeps a usable picture: the old one or its 24-bit copy.
        QVERIFY(pic.Bits);
        QCOMPARE(QSize(DibWidth(pic), DibHeight(pic)), QSize(W, H));
        QCOMPARE(DibBitCount(pic), bitsAfter);
        QCOMPARE(form.progressPercent(), 0);
    }

    void turnsFollowTheSelection_data()
    {
        QTest::addColumn<int>("bits");
        QTest::newRow("1 bit") << 1;
        QTest::newRow("4 bit") << 4;
        QTest::newRow("8 bit") << 8;
        QTest::newRow("24 bit") << 24;
    }
    void turnsFollowTheSelection()
    {
        QFETCH(int, bits);
        DialogRecorder rec;
        TMainForm form;
        const int other = form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/o.png"), patternPicture(5, 4, bits, 3));
        const int id = form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/a.png"), patternPicture(7, 3, bits));
        place(form, other, 2.0);
        place(form, id, 2.0);
        place(form, id, 3.0); // the same picture twice
        form.Doc->recordsForSetUp().SelectedPlacement = 2;
        form.Doc->touch(ArrangementDocument::Change::Selection);
        const std::vector<std::uint32_t> start = pixels(form.Doc->recordsForSetUp().pictureById(id)->Dib);

        form.action(Command::RotateRight)->trigger();
        PictureEntry &e = *form.Doc->recordsForSetUp().pictureById(id);
        QCOMPARE(e.Rotation, 1);
        QCOMPARE(QSize(DibWidth(e.Dib), DibHeight(e.Dib)), QSize(3, 7)); // turned once, not once per placement
        QCOMPARE(form.Doc->recordsForSetUp().pictureById(other)->Rotation, 0);
        QCOMPARE(DibWidth(form.Doc->recordsForSetUp().pictureById(other)->Dib), 5);
        QCOMPARE(form.Doc->records().Placements.at(2).Width, 3.0);

        form.action(Command::RotateLeft)->trigger();
        QCOMPARE(e.Rotation, 0);
        QCOMPARE(pixels(e.Dib), start);

        for (int i = 0; i < 4; ++i) {
            form.action(Command::RotateLeft)->trigger();
            QCOMPARE(e.Rotation, (4 - (i + 1)) % 4);
        }
        QCOMPARE(pixels(e.Dib), start);
        for (int i = 0; i < 4; ++i)
            form.action(Command::RotateRight)->trigger();
        QCOMPARE(e.Rotation, 0);
        QCOMPARE(pixels(e.Dib), start);
        QCOMPARE(form.progressPercent(), 0);
    }

    void turnWithoutSelectionOrMemory()
    {
        DialogRecorder rec;
        TMainForm form;
        DIB huge;
        QVERIFY(newdib(&huge, 600000000, 1, 1, nullptr, 0)); // turned it needs over 2 GB
        const int id = form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/a.png"), huge);
        place(form, id, 2.0);
        form.Doc->recordsForSetUp().SelectedPlacement = -1;
        form.arrangePage().rotateRight();
        QCOMPARE(form.Doc->recordsForSetUp().pictureById(id)->Rotation, 0);
        form.Doc->recordsForSetUp().SelectedPlacement = 0;
        form.arrangePage().rotateRight();
        QCOMPARE(form.Doc->recordsForSetUp().pictureById(id)->Rotation, 0); // nothing turned, nothing counted
        form.arrangePage().rotateLeft();
        QCOMPARE(form.Doc->recordsForSetUp().pictureById(id)->Rotation, 0);
        QCOMPARE(DibWidth(form.Doc->recordsForSetUp().pictureById(id)->Dib), 600000000);
        QVERIFY(rec.messages.empty());
    }

    void adjustmentDialog_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("result");
        QTest::newRow("8 bit, cancel after preview") << 8 << int(QDialog::Rejected);
        QTest::newRow("24 bit, cancel after preview") << 24 << int(QDialog::Rejected);
        QTest::newRow("8 bit, OK") << 8 << int(QDialog::Accepted);
        QTest::newRow("24 bit, OK") << 24 << int(QDialog::Accepted);
        QTest::newRow("1 bit, OK") << 1 << int(QDialog::Accepted);
    }
    void adjustmentDialog()
    {
        QFETCH(int, bits);
        QFETCH(int, result);
        DialogRecorder rec;
        TMainForm form;
        const int id = form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/a.png"), patternPicture(13, 7, bits));
        place(form, id, 2.0);
        form.Doc->recordsForSetUp().SelectedPlacement = 0;
        form.Doc->touch(ArrangementDocument::Change::Selection);
        const DIB before = form.Doc->recordsForSetUp().pictureById(id)->Dib;
        const QByteArray pixels0 = pixelBytes(before), table0 = colourTable(before), palette0 = logPalette(before);

        QByteArray previewPixels, previewPalette;
        QString caption;
        int startContrast = -1;
        QString shownValues;
        rec.handler.exec = [&](QDialog *d) -> int {
            auto *f = qobject_cast<ToneDialog *>(d);
            caption = f->windowTitle();
            startContrast = f->ContrastSlider->value();
            f->BrightnessSlider->setValue(-40);
            f->ContrastSlider->setValue(160);
            f->SaturationSlider->setValue(50);
            shownValues = QStringList{f->BrightnessValue->text(), f->ContrastValue->text(), f->SaturationValue->text()}.join('|');
            f->PreviewBtn->click();
            // The entry shows the preview while the dialog is open.
            previewPixels = pixelBytes(form.Doc->recordsForSetUp().pictureById(id)->Dib);
            previewPalette = logPalette(form.Doc->recordsForSetUp().pictureById(id)->Dib);
            if (result == QDialog::Accepted)
                f->OkBtn->click();
            return result;
        };
        rec.install();
        form.action(Command::AdjustTones)->trigger();

        QCOMPARE(caption, QStringLiteral("Brightness, contrast and saturation"));
        QCOMPARE(startContrast, 100);
        QCOMPARE(shownValues, QStringLiteral("-40|160 %|+50")); // each slider shows its value
        QVERIFY(bits == 24 ? previewPixels != pixels0 : previewPalette != palette0);
        const DIB &after = form.Doc->recordsForSetUp().pictureById(id)->Dib;
        if (result == QDialog::Accepted) {
            QCOMPARE(pixelBytes(after), previewPixels);
            QCOMPARE(logPalette(after), previewPalette);
        } else {
            QCOMPARE(pixelBytes(after), pixels0);
            QCOMPARE(colourTable(after), table0);
            QCOMPARE(logPalette(after), palette0);
        }
        if (bits <= 8)
            QCOMPARE(pixelBytes(after), pixels0); // indices never change
        QVERIFY(rec.messages.empty());
    }

    void adjustmentWithoutMemoryForTheBackup()
    {
        DialogRecorder rec;
        rec.execResult = QDialog::Accepted;
        rec.install();
        TMainForm form;
        const int id = form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/p/a.png"), impossiblyLarge(24));
        place(form, id, 2.0);
        form.Doc->recordsForSetUp().SelectedPlacement = 0;
        form.Doc->touch(ArrangementDocument::Change::Selection);
        const BYTE *bits = form.Doc->recordsForSetUp().pictureById(id)->Dib.Bits;
        form.action(Command::AdjustTones)->trigger();
        QCOMPARE(rec.execCount, 0);
        QCOMPARE(rec.messages.size(), std::size_t(1));
        QCOMPARE(rec.messages[0].text, QStringLiteral("Error: Could not create picture! (Low memory?)"));
        QCOMPARE(rec.messages[0].caption, QString());
        QCOMPARE(rec.messages[0].icon, Dialogs::Icon::Error);
        QCOMPARE(form.Doc->recordsForSetUp().pictureById(id)->Dib.Bits, bits);

        form.Doc->recordsForSetUp().SelectedPlacement = -1; // no selection: no dialog, no message
        form.HellKonBtnClick();
        QCOMPARE(rec.messages.size(), std::size_t(1));
    }
};
SGA_TEST(TestProcessingHandlers)

#include "tst_processinghandlers.moc"
