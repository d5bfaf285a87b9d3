#include "common/WindowParts.h"
#include "platform/Settings.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/ArrangementFile.h"
#include "output/SinglePrintDialog.h"
#include "platform/Printer.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

class TestSettings : public QObject {
    Q_OBJECT
    QString settingsFile() const { return OpenSettings()->fileName(); }

private slots:
    void init() { QFile::remove(settingsFile()); }

    void settingsLiveInOneIniFile()
    {
        QVERIFY(settingsFile().endsWith(QStringLiteral("/snapgrid-atlas.ini")));
        // The test run writes into a folder of its own, never the user's.
        QVERIFY(!settingsFile().startsWith(QDir::homePath() + QStringLiteral("/.config/")));
    }

    void firstStartShowsTheDefaults()
    {
        DialogRecorder dialogs;
        TMainForm form;
        form.collectionPage().showFileList(true); // the restore must choose the page
        form.show();
        QCOMPARE(form.arrangePage().options().SpacingEd->value(), 5.0);
        QCOMPARE(form.arrangePage().options().MarginEd->value(), 15.0);
        QVERIFY(form.arrangePage().options().UseGridCheck->isChecked());
        QCOMPARE(form.arrangePage().options().GridEd->value(), 5.0);
        QVERIFY(!form.arrangePage().options().ShowGridCheck->isChecked());
        QCOMPARE(form.arrangePage().options().MinQualEd->value(), 72);
        QVERIFY(form.arrangePage().options().EnhanceQualCheck->isChecked());
        QVERIFY(!form.collectionPage().showsFileList());
    }

    void closingWithOkIsRemembered()
    {
        DialogRecorder dialogs(Dialogs::IdDiscard);
        {
            TMainForm form;
            form.show();
            form.arrangePage().options().GridEd->setValue(7.5);
            form.arrangePage().options().SpacingEd->setValue(2.25);
            form.arrangePage().options().MarginEd->setValue(20);
            form.arrangePage().options().UseGridCheck->setChecked(false);
            form.arrangePage().options().ShowGridCheck->setChecked(true);
            form.arrangePage().options().MinQualEd->setValue(150);
            form.arrangePage().options().EnhanceQualCheck->setChecked(false);
            form.collectionPage().showFileList(true);
            QVERIFY(form.close());
        }
        QSettings ini(settingsFile(), QSettings::IniFormat);
        QCOMPARE(ini.value("TMainForm/GridEd_Value").toDouble(), 7.5);
        QCOMPARE(ini.value("TMainForm/FilePage").toString(), QStringLiteral("FileList"));

        TMainForm again;
        again.show();
        QCOMPARE(again.arrangePage().options().GridEd->value(), 7.5);
        QCOMPARE(again.arrangePage().options().GridInchEd->value(), 0.3); // the inch twin ran as after a user edit
        QCOMPARE(again.arrangePage().options().SpacingEd->value(), 2.25);
        QCOMPARE(again.arrangePage().options().MarginEd->value(), 20.0);
        QVERIFY(!again.arrangePage().options().UseGridCheck->isChecked());
        QVERIFY(again.arrangePage().options().ShowGridCheck->isChecked());
        QCOMPARE(again.arrangePage().options().MinQualEd->value(), 150);
        QVERIFY(!again.arrangePage().options().EnhanceQualCheck->isChecked());
        QVERIFY(again.collectionPage().showsFileList());
    }

    void cancellingSavesNothing()
    {
        DialogRecorder dialogs(Dialogs::IdCancel);
        {
            TMainForm form;
            form.show();
            form.arrangePage().options().GridEd->setValue(9);
            QVERIFY(!form.close());
        }
        QVERIFY(!QFile::exists(settingsFile()));
        TMainForm again;
        again.show();
        QCOMPARE(again.arrangePage().options().GridEd->value(), 5.0);
    }

    void openedArrangementsGridIsRemembered()
    {
        QTemporaryDir dir;
        ArrangementData d;
        d.Grid = 12.5;
        QFile f(dir.filePath("grid.sga"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(WriteArrangement(d));
        f.close();
        DialogRecorder dialogs(Dialogs::IdOk);
        {
            TMainForm form;
            form.show();
            form.OpenFile(f.fileName());
            QVERIFY(form.close());
        }
        TMainForm again;
        again.show();
        QCOMPARE(again.arrangePage().options().GridEd->value(), 12.5);
    }

    void unreadableValuesKeepTheDefaults()
    {
        {
            QSettings ini(settingsFile(), QSettings::IniFormat);
            ini.setValue("TMainForm/GridEd_Value", "wide");
            ini.setValue("TMainForm/UseGridCheck_Checked", "perhaps");
            ini.setValue("TMainForm/PageControl3_ActivePage", "TabSheet3");
            ini.setValue("TMainForm/RandEd_Value", "22.5");
        }
        DialogRecorder dialogs;
        TMainForm form;
        form.show();
        QCOMPARE(form.arrangePage().options().GridEd->value(), 5.0);
        QVERIFY(form.arrangePage().options().UseGridCheck->isChecked());
        QVERIFY(!form.collectionPage().showsFileList());
        QCOMPARE(form.arrangePage().options().MarginEd->value(), 22.5);
    }

    // Files written by earlier versions name the page by its control; they
    // still restore, the new key wins where both are, and saving writes the
    // new key while leaving the old one to the earlier versions.
    void filePageOfEarlierFiles_data()
    {
        QTest::addColumn<QString>("oldValue"); // empty: key absent
        QTest::addColumn<QString>("newValue");
        QTest::addColumn<bool>("fileList");
        QTest::newRow("old file list") << "FileListTab" << QString() << true;
        QTest::newRow("old picture browser") << "TabSheet10" << QString() << false;
        QTest::newRow("new file list") << QString() << "FileList" << true;
        QTest::newRow("new key wins") << "FileListTab" << "PictureBrowser" << false;
        QTest::newRow("unknown new value, old ignored") << "FileListTab" << "Thumbs" << false;
    }
    void filePageOfEarlierFiles()
    {
        QFETCH(QString, oldValue);
        QFETCH(QString, newValue);
        QFETCH(bool, fileList);
        {
            QSettings ini(settingsFile(), QSettings::IniFormat);
            if (!oldValue.isEmpty())
                ini.setValue("TMainForm/PageControl3_ActivePage", oldValue);
            if (!newValue.isEmpty())
                ini.setValue("TMainForm/FilePage", newValue);
        }
        DialogRecorder dialogs(Dialogs::IdDiscard);
        {
            TMainForm form;
            form.show();
            QCOMPARE(form.collectionPage().showsFileList(), fileList);
            QVERIFY(form.close());
        }
        QSettings ini(settingsFile(), QSettings::IniFormat);
        QCOMPARE(ini.value("TMainForm/FilePage").toString(),
                 fileList ? QStringLiteral("FileList") : QStringLiteral("PictureBrowser"));
        QCOMPARE(ini.value("TMainForm/PageControl3_ActivePage").toString(), oldValue);
    }

    void printerOrientationOutlivesTheRun_data()
    {
        QTest::addColumn<bool>("fromPictureDialog");
        QTest::newRow("printer setup of the print tab") << false;
        QTest::newRow("printer setup of the picture print dialog") << true;
    }
    void printerOrientationOutlivesTheRun()
    {
        QFETCH(bool, fromPictureDialog);
        DialogRecorder dialogs;
        dialogs.handler.pageSetup = [](QPrinter *p) { return p->setPageOrientation(QPageLayout::Landscape); };
        dialogs.install();
        if (fromPictureDialog) {
            DIB dib;
            QVERIFY(newdib(&dib, 4, 3, 24, nullptr, 0));
            TPrinter printer;
            SinglePrintDialog form(dib, printer);
            form.PrintSetupBtn->click();
            deldib(&dib);
        } else {
            TMainForm form;
            form.SetupBtnClick();
        }
        // A new run starts with the printer's own orientation.
        TMainForm form;
        QCOMPARE(form.printer().qprinter()->pageLayout().orientation(), QPageLayout::Portrait);
        form.show();
        QCOMPARE(form.printer().qprinter()->pageLayout().orientation(), QPageLayout::Landscape);
    }

    void printFormSettings_data()
    {
        QTest::addColumn<int>("breit");
        QTest::addColumn<int>("hoch");
        QTest::addColumn<int>("breitBack");
        QTest::addColumn<int>("hochBack");
        QTest::newRow("values in range") << 30 << 80 << 30 << 80;
        QTest::newRow("out of range clamped to 1..100") << 0 << 250 << 1 << 100;
    }
    void printFormSettings()
    {
        QFETCH(int, breit);
        QFETCH(int, hoch);
        const PrintFormSettings defaults = LoadPrintFormSettings();
        QVERIFY(defaults.UseFull && !defaults.Userdef && defaults.Zentr && defaults.Sverh);
        QCOMPARE(defaults.Breit, 50);
        QCOMPARE(defaults.Hoch, 50);

        PrintFormSettings p;
        p.UseFull = false;
        p.Userdef = true;
        p.Zentr = false;
        p.Sverh = false;
        p.Breit = breit;
        p.Hoch = hoch;
        p.Maximized = true;
        SavePrintFormSettings(p);
        QSettings ini(settingsFile(), QSettings::IniFormat);
        QCOMPARE(ini.value("TPrintForm/UserdefCheck_Checked").toBool(), true);
        QCOMPARE(ini.value("TPrintForm/BreitEdit_Value").toInt(), breit);

        const PrintFormSettings back = LoadPrintFormSettings();
        QVERIFY(!back.UseFull && back.Userdef && !back.Zentr && !back.Sverh && back.Maximized);
        QTEST(back.Breit, "breitBack");
        QTEST(back.Hoch, "hochBack");
    }
};
SGA_TEST(TestSettings)

#include "tst_settings.moc"
