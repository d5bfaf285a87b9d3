#include "PixelFixtures.h"
#include "common/TestRegistry.h"
#include "picture/ToneDialog.h"
#include "picture/Tonal.h"

#include <QSlider>
#include <QTest>

namespace {
// The dialog on its own: WorkDib shares the pixels of `pic`, OldDib is a copy.
struct Session {
    DIB pic;
    ToneDialog form;
    explicit Session(DIB p)
        : pic(p)
    {
        form.WorkDib = pic;
        DIB backup;
        newdib(&backup, DibWidth(pic), DibHeight(pic), DibBitCount(pic), pic.Info, PaletteSize(DibBitCount(pic)));
        std::memcpy(backup.Bits, pic.Bits, pic.Info->biSizeImage);
        form.OldDib = backup;
    }
    void preview(int b, int k, int s)
    {
        form.BrightnessSlider->setValue(b);
        form.ContrastSlider->setValue(k);
        form.SaturationSlider->setValue(s);
        form.previewTones();
    }
};

} // namespace

class TestTonal : public QObject
{
    Q_OBJECT
private slots:
    void mappings_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<int>("v");
        QTest::addColumn<int>("param");
        QTest::addColumn<int>("expected");
        QTest::newRow("brightness clamps high") << "B" << 250 << 10 << 255;
        QTest::newRow("brightness clamps low") << "B" << 5 << -10 << 0;
        QTest::newRow("brightness adds") << "B" << 100 << -27 << 73;
        QTest::newRow("contrast 0 is flat grey") << "K" << 255 << 0 << 127;
        QTest::newRow("contrast 100 keeps 0") << "K" << 0 << 100 << 0;
        QTest::newRow("contrast 100 keeps 255") << "K" << 255 << 100 << 255;
        QTest::newRow("contrast 50 truncates toward zero") << "K" << 0 << 50 << 64;
        QTest::newRow("contrast 150 below the split") << "K" << 100 << 150 << 50;
        QTest::newRow("contrast 150 above the split") << "K" << 200 << 150 << 228;
        QTest::newRow("contrast 200 blackens 127") << "K" << 127 << 200 << 0;
        QTest::newRow("contrast 200 whitens 128") << "K" << 128 << 200 << 255;
        QTest::newRow("saturation 0 keeps") << "S" << 77 << 0 << 77;
        QTest::newRow("saturation 100 clamps") << "S" << 0 << 100 << 0;
        QTest::newRow("saturation 100 stretches") << "S" << 129 << 100 << 130;
        QTest::newRow("saturation -100 is grey") << "S" << 3 << -100 << 128;
        QTest::newRow("saturation -50 truncates toward zero") << "S" << 1 << -50 << 65;
    }
    void mappings()
    {
        QFETCH(QString, which);
        QFETCH(int, v);
        QFETCH(int, param);
        QFETCH(int, expected);
        const int got = which == QLatin1String("B")   ? BrightnessValue(v, param)
                        : which == QLatin1String("K") ? ContrastValue(v, param)
                                                      : SaturationValue(v, param);
        QCOMPARE(got, expected);
    }

    void neutralValuesAreIdentity()
    {
        for (const ToneTable &t : {BrightnessTable(0), ContrastTable(100), SaturationTable(0)})
            for (int v = 0; v < 256; ++v)
                QCOMPARE(int(t[std::size_t(v)]), v);
    }

    void paletteIsAdjustedNotPixels_data()
    {
        QTest::addColumn<int>("bits");
        QTest::newRow("1 bit") << 1;
        QTest::newRow("4 bit") << 4;
        QTest::newRow("8 bit") << 8;
    }
    void paletteIsAdjustedNotPixels()
    {
        QFETCH(int, bits);
        DIB pic = patternPicture(9, 4, bits);
        const QByteArray before = pixelBytes(pic);
        const PALETTEENTRY first = pic.LogPalette.palPalEntry[1];
        ApplyToneTable(pic, BrightnessTable(20));
        QCOMPARE(pixelBytes(pic), before);
        const PALETTEENTRY &e = pic.LogPalette.palPalEntry[1];
        QCOMPARE(int(e.peRed), std::min(255, first.peRed + 20));
        QCOMPARE(int(e.peBlue), std::min(255, first.peBlue + 20));
        const RGBQUAD &c = DibColors(pic)[1];
        QCOMPARE(c.rgbRed, e.peRed);
        QCOMPARE(c.rgbGreen, e.peGreen);
        QCOMPARE(c.rgbBlue, e.peBlue);
        QVERIFY(pic.Palette);
        QCOMPARE(pic.Palette->colors.at(1), 0xFF000000u | (e.peRed << 16) | (e.peGreen << 8) | e.peBlue);
    }

    void trueColourBytesButNotPadding()
    {
        DIB pic = greyPicture(5, 2, 100); // 15 bytes a row, padded to 16
        DibRow(pic, 0)[15] = 0xAA;
        ApplyToneTable(pic, BrightnessTable(-30));
        QCOMPARE(int(DibRow(pic, 0)[14]), 70);
        QCOMPARE(int(DibRow(pic, 1)[0]), 70);
        QCOMPARE(int(DibRow(pic, 0)[15]), 0xAA);
    }

    void previewEqualsTheThreeStepsInOrder_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("B");
        QTest::addColumn<int>("K");
        QTest::addColumn<int>("S");
        QTest::newRow("24 bit, darker, harder, greyer") << 24 << -60 << 170 << -40;
        QTest::newRow("24 bit, brighter, flatter, stronger") << 24 << 90 << 30 << 80;
        QTest::newRow("4 bit, extremes") << 4 << 127 << 200 << 100;
        QTest::newRow("8 bit, contrast 0") << 8 << -127 << 0 << -100;
    }
    void previewEqualsTheThreeStepsInOrder()
    {
        QFETCH(int, bits);
        QFETCH(int, B);
        QFETCH(int, K);
        QFETCH(int, S);
        Session stepwise(patternPicture(13, 5, bits, 4));
        stepwise.form.RestoreOld();
        stepwise.form.applyBrightness(B);
        stepwise.form.applyContrast(K);
        stepwise.form.applySaturation(S);
        Session preview(patternPicture(13, 5, bits, 4));
        preview.preview(B, K, S);
        QCOMPARE(pixelBytes(preview.form.WorkDib), pixelBytes(stepwise.form.WorkDib));
        QCOMPARE(logPalette(preview.form.WorkDib), logPalette(stepwise.form.WorkDib));
        QCOMPARE(colourTable(preview.form.WorkDib), colourTable(stepwise.form.WorkDib));
    }

    void previewBehaviour_data()
    {
        QTest::addColumn<int>("bits");
        QTest::newRow("8 bit") << 8;
        QTest::newRow("24 bit") << 24;
    }
    void previewBehaviour()
    {
        QFETCH(int, bits);
        Session s(patternPicture(11, 6, bits));
        const QByteArray pixels0 = pixelBytes(s.pic), palette0 = logPalette(s.form.WorkDib);
        int repaints = 0;
        s.form.RepaintViews = [&repaints] { ++repaints; };

        s.preview(0, 100, 0);
        QCOMPARE(pixelBytes(s.form.WorkDib), pixels0);
        QCOMPARE(logPalette(s.form.WorkDib), palette0);
        QCOMPARE(repaints, 1);

        s.preview(30, 140, -20);
        const QByteArray pixels1 = pixelBytes(s.form.WorkDib), palette1 = logPalette(s.form.WorkDib);
        QVERIFY(bits == 8 ? palette1 != palette0 : pixels1 != pixels0);
        s.preview(30, 140, -20); // previews start from the backup, they do not add up
        QCOMPARE(pixelBytes(s.form.WorkDib), pixels1);
        QCOMPARE(logPalette(s.form.WorkDib), palette1);
        if (bits == 8)
            QCOMPARE(pixelBytes(s.form.WorkDib), pixels0); // indices never change

        // Reset moves the sliders only; the next preview shows the start again.
        s.form.resetSliders();
        QCOMPARE(s.form.ContrastSlider->value(), 100);
        QCOMPARE(logPalette(s.form.WorkDib), palette1);
        s.preview(0, 100, 0);
        QCOMPARE(pixelBytes(s.pic), pixels0); // the shared pixels are the entry's
        QCOMPARE(logPalette(s.form.WorkDib), palette0);
    }
};
SGA_TEST(TestTonal)

#include "tst_tonal.moc"
