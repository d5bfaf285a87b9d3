// Paper presets: their files, what earlier versions kept instead, and the
// job a preset makes.
#include "common/TestRegistry.h"
#include "output/CupsJob.h"
#include "output/PaperPreset.h"
#include "output/PrintColour.h"
#include "platform/Printer.h"
#include "platform/Settings.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {
PaperPreset FullPreset()
{
    PaperPreset p;
    p.Name = QStringLiteral("Studio printer, glossy 10 x 15");
    p.Printer = QStringLiteral("Studio");
    p.PaperKey = QStringLiteral("A6");
    p.PaperName = QStringLiteral("A6");
    p.Landscape = true;
    p.Borderless = true;
    p.Overspill = 2;
    p.Choices = { QStringLiteral("photo"), QStringLiteral("photographic-glossy"), QStringLiteral("high"),
        { { QStringLiteral("StpInkType"), QStringLiteral("Photo") } } };
    p.Colour.ProfileFile = QStringLiteral("/profiles/glossy ä.icc");
    p.Colour.Intent = 1;
    p.Colour.BlackPoint = false;
    p.Calibration = { 0.5, -1.25, 1.01 };
    p.Sharpening = GlossySharpening;
    p.Adjustment = { 10, -5 };
    return p;
}
} // namespace

class TestPaperPreset : public QObject {
    Q_OBJECT
private slots:
    void keepsEveryValue()
    {
        const PaperPreset p = FullPreset();
        const PaperPresetParse read = ParsePaperPreset(PaperPresetJson(p));
        QVERIFY2(read.Ok, qPrintable(read.Error));
        QCOMPARE(read.Preset, p);
    }

    void refusesBadFiles_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("reason");
        QTest::newRow("cut off") << QByteArray(R"({"name": "A", "paper": {)") << "damaged";
        QTest::newRow("a list, not an object") << QByteArray("[1, 2]") << "damaged";
        QTest::newRow("larger than a preset can be")
            << QByteArray(R"({"name": "A", "x": ")") + QByteArray(MaxPaperPresetBytes, 'a') + "\"}"
            << "larger";
        QTest::newRow("no name") << QByteArray(R"({"printer": "Studio"})") << "name";
        QTest::newRow("second option hidden in a value")
            << QByteArray(R"({"name": "A", "paper": {"mediaType": "glossy job-hold-until=indefinite"}})")
            << "not a printer option";
        QTest::newRow("option name with an equals sign")
            << QByteArray(R"({"name": "A", "options": {"a=b": "c"}})") << "options.a=b";
        QTest::newRow("option value not a text") << QByteArray(R"({"name": "A", "options": {"a": 3}})") << "options.a";
        QTest::newRow("control character in a path")
            << QByteArray(R"({"name": "A", "colour": {"profile": "a\u0007b"}})") << "control";
        QTest::newRow("intent out of range") << QByteArray(R"({"name": "A", "colour": {"intent": 7}})") << "intent";
        QTest::newRow("sharpening beyond the limit")
            << QByteArray(R"({"name": "A", "sharpening": {"amount": 100000}})") << "sharpening.amount";
        QTest::newRow("radius as text") << QByteArray(R"({"name": "A", "sharpening": {"radiusMm": "1"}})")
                                        << "radiusMm";
        QTest::newRow("fractional brightness")
            << QByteArray(R"({"name": "A", "adjustment": {"brightness": 1.5}})") << "whole";
        QTest::newRow("calibration scale far off")
            << QByteArray(R"({"name": "A", "calibration": {"scale": 3}})") << "calibration.scale";
        QTest::newRow("paper kilometres wide")
            << QByteArray(R"({"name": "A", "paper": {"widthMm": 1e9, "heightMm": 10}})") << "widthMm";
        QTest::newRow("custom paper without a height")
            << QByteArray(R"({"name": "A", "paper": {"widthMm": 100}})") << "heightMm";
        QTest::newRow("paper not an object") << QByteArray(R"({"name": "A", "paper": "A4"})") << "\"paper\"";
        QByteArray many = R"({"name": "A", "options": {)";
        for (int i = 0; i < 100; ++i)
            many += QByteArray(i ? "," : "") + "\"o" + QByteArray::number(i) + "\": \"v\"";
        QTest::newRow("hundreds of options") << many + "}}"
                                             << "more than";
    }
    void refusesBadFiles()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, reason);
        const PaperPresetParse read = ParsePaperPreset(json);
        QVERIFY(!read.Ok);
        QVERIFY2(read.Error.contains(reason), qPrintable(read.Error));
    }

    // A refused file is named and the others are still listed.
    void listsGoodFilesAndNamesBadOnes()
    {
        QTemporaryDir folder;
        QString error;
        QVERIFY(!SavePaperPreset(folder.path(), FullPreset(), &error).isEmpty());
        QFile bad(folder.filePath(QStringLiteral("broken.json")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("{\"name\": ");
        bad.close();
        const PaperPresets all = LoadPaperPresets(folder.path());
        QCOMPARE(int(all.Presets.size()), 1);
        QCOMPARE(all.Errors.size(), 1);
        QVERIFY(all.Errors.front().startsWith(QLatin1String("broken.json: ")));
    }

    // Settings as earlier versions wrote them turn into presets with every
    // value, once.
    void turnsOldSettingsIntoPresets()
    {
        QFile::remove(OpenSettings()->fileName()); // an earlier start may have converted already
        ColourSettings glossy;
        glossy.ProfileFile = QStringLiteral("/icc/studio-glossy.icc");
        glossy.Intent = 3;
        glossy.BlackPoint = false;
        glossy.MonitorFile = QStringLiteral("/icc/monitor.icc");
        glossy.GamutWarning = true;
        SaveColourSettings(QStringLiteral("Studio"), QStringLiteral("A4"), glossy);
        ColourSettings office;
        office.ProfileFile = QStringLiteral("/icc/office|plain.icc");
        SaveColourSettings(QStringLiteral("Office"), QStringLiteral("Letter / ANSI A"), office);
        SavePrintCalibration(QStringLiteral("Studio"), QStringLiteral("A4 portrait"), { 0.4, -0.3, 1.002 });
        SavePrintCalibration(QStringLiteral("Studio"), QStringLiteral("A4 landscape"), { -1, 2, 0.998 });
        PrintSheetSettings sheets;
        sheets.Borderless = true;
        sheets.Overspill = 2.5;
        SavePrintSheetSettings(sheets);

        QTemporaryDir folder;
        QCOMPARE(ConvertOldPrintSettings(folder.path()), QStringList());
        const PaperPresets made = LoadPaperPresets(folder.path());
        QCOMPARE(made.Errors, QStringList());
        QCOMPARE(int(made.Presets.size()), 3);

        const PaperPreset* portrait = made.find(QStringLiteral("Studio, A4"));
        const PaperPreset* landscape = made.find(QStringLiteral("Studio, A4 landscape"));
        const PaperPreset* letter = made.find(QStringLiteral("Office, Letter / ANSI A"));
        QVERIFY(portrait && landscape && letter);
        QCOMPARE(portrait->Colour, glossy);
        QCOMPARE(landscape->Colour, glossy);
        QCOMPARE(portrait->Calibration, (PrintCalibration { 0.4, -0.3, 1.002 }));
        QCOMPARE(landscape->Calibration, (PrintCalibration { -1, 2, 0.998 }));
        QVERIFY(landscape->Landscape && !portrait->Landscape);
        QCOMPARE(portrait->PaperKey, QStringLiteral("A4"));
        QCOMPARE(letter->PaperKey, QStringLiteral("Letter"));
        QCOMPARE(letter->Colour, office);
        QCOMPARE(letter->Calibration, PrintCalibration {});
        QVERIFY(letter->Borderless);
        QCOMPARE(letter->Overspill, 2.5);

        // Once: a preset removed afterwards does not come back.
        QVERIFY(RemovePaperPreset(folder.path(), QStringLiteral("Office, Letter / ANSI A")));
        QCOMPARE(ConvertOldPrintSettings(folder.path()), QStringList());
        QCOMPARE(int(LoadPaperPresets(folder.path()).Presets.size()), 2);
        QFile::remove(OpenSettings()->fileName());
    }

    // The preset's own choices go with the job; a PDF file is not calibrated.
    void makesTheJob()
    {
        TPrinter printer;
        printer.qprinter()->setOutputFormat(QPrinter::PdfFormat);
        PaperPreset p = FullPreset();
        p.Printer.clear();
        p.Colour.ProfileFile.clear();
        QString problem;
        const PrintSetup toFile = PresetJobSetup(printer, p, &problem);
        QCOMPARE(problem, QString());
        QCOMPARE(toFile.Paper.pageSize().key(), QStringLiteral("A6"));
        QCOMPARE(toFile.Paper.orientation(), QPageLayout::Landscape);
        QVERIFY(toFile.Calibration.isIdentity());
        QCOMPARE(toFile.Sharpening, p.Sharpening);
        QCOMPARE(toFile.Adjustment, p.Adjustment);

        // A file has no printer to take the printer's own choices.
        QVERIFY(toFile.Choices.empty());
        PrintSetup queued = toFile;
        queued.Choices = p.Choices;
        const QStringList args = CupsJobArguments(CupsJobFor(queued, QStringLiteral("t")), QStringLiteral("f.pdf"));
        for (const char* option :
            { "media-source=photo", "media-type=photographic-glossy", "print-quality=5", "StpInkType=Photo" })
            QVERIFY2(args.contains(QLatin1String(option)), option);
    }

    // Jobs and the soft proof take the chosen preset's colour set-up, else the
    // printer and paper's; whether the proof is on stays the printer and paper's.
    void jobColourIsThePresetsThenThePrinters()
    {
        TPrinter printer;
        ColourSettings own;
        own.ProfileFile = QStringLiteral("/profiles/plain.icc");
        own.Intent = 3;
        own.SoftProof = true;
        SaveColourSettings(ColourPrinterName(printer), ColourPaperName(printer), own);
        PaperPreset p = FullPreset();
        QString error;
        QVERIFY2(!SavePaperPreset(PaperPresetFolder(), p, &error).isEmpty(), qPrintable(error));

        SaveChosenPaperPreset(QString());
        QCOMPARE(JobColourSettings(printer), own);
        SaveChosenPaperPreset(p.Name);
        ColourSettings expected = p.Colour;
        expected.SoftProof = true;
        QCOMPARE(JobColourSettings(printer), expected);

        SaveChosenPaperPreset(QString());
        QVERIFY(RemovePaperPreset(PaperPresetFolder(), p.Name));
        SaveColourSettings(ColourPrinterName(printer), ColourPaperName(printer), ColourSettings());
    }
};

SGA_TEST(TestPaperPreset)
#include "tst_paperpreset.moc"
