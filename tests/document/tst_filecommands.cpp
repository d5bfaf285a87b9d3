#include "common/FileListSupport.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/ArrangementFile.h"
#include "picture/OpenDib.h"
#include "platform/ColorBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtEndian>

#include <csignal>
#include <functional>
#include <sys/resource.h>

using Spoil = std::function<void(ArrangementData&)>;
Q_DECLARE_METATYPE(Spoil)

namespace {
// A 3 x 2 picture whose six pixels all differ, so every turn is visible.
bool writeCornerPicture(const QString& path)
{
    QImage image(3, 2, QImage::Format_RGB32);
    const QRgb colours[2][3] = { { qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255) },
        { qRgb(255, 255, 0), qRgb(0, 255, 255), qRgb(255, 0, 255) } };
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            image.setPixel(x, y, colours[y][x]);
    return QImageWriter(path).write(image);
}

// getpixel's 24-bit value: red in the low byte.
std::uint32_t dibValue(QRgb c)
{
    return std::uint32_t(qRed(c)) | std::uint32_t(qGreen(c)) << 8 | std::uint32_t(qBlue(c)) << 16;
}

// Adds a picture file to the form's collection and places it once on page 1.
int addAndPlace(TMainForm& form, const QString& path)
{
    DIB dib;
    OpenDib(&dib, path, 0, nullptr);
    if (!dib.Bits)
        return -1;
    const int id = form.Doc->recordsForSetUp().appendPicture(path, dib);
    Placement* p = form.Doc->recordsForSetUp().Placements.Append();
    p->Width = 1;
    p->Height = 1;
    p->Page = 1;
    p->PictureId = id;
    return id;
}

std::int32_t i32At(const QByteArray& b, qsizetype at) { return qFromLittleEndian<std::int32_t>(b.constData() + at); }
double f64At(const QByteArray& b, qsizetype at) { return qFromLittleEndian<double>(b.constData() + at); }

// Writes fail with EFBIG past `bytes` while it lives (works for root too).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim = old;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }

private:
    rlimit old {};
    void (*oldHandler)(int) = nullptr;
};
} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString folder;

    QString path(const QString& name) const { return folder + name; }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        folder = dir.path() + QLatin1Char('/');
    }
    void init()
    {
        QDir d(folder);
        d.removeRecursively();
        QVERIFY(QDir().mkpath(folder));
    }

    void emptyArrangementBytes()
    {
        DialogRecorder dialogs;
        TMainForm form;
        form.arrangePage().options().MarginEd->setValue(15.7);
        QVERIFY(form.SaveFile(path("empty.sga")));
        const QByteArray b = readFile(path("empty.sga"));
        // magic, N, 92 bytes of integers and options, font block (1+4+1+5+1+4+4+1 for "Arial")
        QCOMPARE(b.size(), 26 + 4 + 92 + 21);
        QCOMPARE(b.left(26), QByteArray("QUORVEX Snapgrid-Atlas 4.0"));
        QCOMPARE(i32At(b, 26), 0);
        const int B = 30;
        QCOMPARE(i32At(b, B), -1); // no selection
        QCOMPARE(i32At(b, B + 8), 0); // pictures
        QCOMPARE(i32At(b, B + 16), 0); // ShowFNames
        QCOMPARE(i32At(b, B + 20), 1); // KeepAspectCheck
        QCOMPARE(i32At(b, B + 24), 25);
        QCOMPARE(i32At(b, B + 28), 15); // 15.7 mm stored as 15
        QCOMPARE(i32At(b, B + 32), 5);
        QCOMPARE(i32At(b, B + 40), 0x00FFFFFF);
        QCOMPARE(i32At(b, B + 48), 1); // EnhanceQualCheck
        QCOMPARE(i32At(b, B + 52), 1); // UseGridCheck
        QCOMPARE(i32At(b, B + 56), 0); // ShowGridCheck
        QCOMPARE(f64At(b, B + 60), 72.0);
        QCOMPARE(f64At(b, B + 68), 130.0);
        QCOMPARE(f64At(b, B + 76), 100.0);
        QCOMPARE(f64At(b, B + 84), 5.0);
        QCOMPARE(i32At(b, B + 93), -16777208); // window-text colour
        QCOMPARE(b.mid(B + 97, 6),
            QByteArray("\x05"
                       "Arial"));
        QCOMPARE(i32At(b, B + 108), 11);
        QVERIFY(dialogs.messages.empty());
        QCOMPARE(form.windowTitle(), QStringLiteral("QUORVEX Snapgrid-Atlas 4.0 - [empty.sga]"));
    }

    // Pictures beside the arrangement are stored by bare name and found again
    // after the folder moved; options come back as saved, margin truncated.
    void reopenAfterMovingTheFolder()
    {
        const QString oldFolder = path("trip/"), newFolder = path("moved/");
        QVERIFY(QDir().mkpath(oldFolder));
        QVERIFY(QDir().mkpath(path("elsewhere")));
        QVERIFY(writePicture(oldFolder + "beach.png", 40, 30));
        QVERIFY(writePicture(path("elsewhere/dog.png"), 20, 10, Qt::blue));
        {
            DialogRecorder dialogs;
            TMainForm form;
            form.arrangePage().options().EnhanceQualCheck->setChecked(false); // keep the decoded sizes
            QVERIFY(addAndPlace(form, oldFolder + "beach.png") >= 0);
            QVERIFY(addAndPlace(form, path("elsewhere/dog.png")) >= 0);
            form.Doc->recordsForSetUp().Pictures[0].Comment = QStringLiteral("Sand \u00e0 volont\u00e9");
            form.arrangePage().options().MarginEd->setValue(15.7);
            form.arrangePage().options().GridEd->setValue(2.5);
            form.arrangePage().options().ShowGridCheck->setChecked(true);
            form.arrangePage().options().BackgroundBox->setSelected(0x00336699);
            ArrangementOptions o = form.Doc->options();
            o.Font.Name = QStringLiteral("DejaVu Serif");
            o.Font.Size = 17;
            form.Doc->resetOptions(o);
            QVERIFY(form.SaveFile(oldFolder + "trip.sga"));
            ArrangementData stored;
            QCOMPARE(ReadArrangement(readFile(oldFolder + "trip.sga"), stored), ArrangementReadStatus::Ok);
            QCOMPARE(stored.Pictures[0].Path, QStringLiteral("beach.png"));
            QCOMPARE(stored.Pictures[1].Path, path("elsewhere/dog.png"));
        }
        QVERIFY(QDir().rename(oldFolder, newFolder));

        DialogRecorder dialogs;
        TMainForm form;
        form.OpenFile(newFolder + "trip.sga");
        QVERIFY(dialogs.messages.empty());
        QCOMPARE(form.Doc->records().PictureCount(), 2);
        QCOMPARE(form.Doc->records().Pictures[0].FileName, newFolder + "beach.png");
        QCOMPARE(DibWidth(form.Doc->records().Pictures[0].Dib), 40);
        QCOMPARE(form.Doc->records().Pictures[0].Comment, QStringLiteral("Sand \u00e0 volont\u00e9"));
        QCOMPARE(form.Doc->records().Pictures[1].FileName, path("elsewhere/dog.png"));
        QCOMPARE(form.Doc->records().Placements.size(), 2);
        QCOMPARE(form.arrangePage().options().MarginEd->value(), 15.0);
        QCOMPARE(form.arrangePage().options().GridEd->value(), 2.5);
        QCOMPARE(form.arrangePage().options().GridInchEd->value(), 0.1); // the inch twin followed
        QVERIFY(form.arrangePage().options().ShowGridCheck->isChecked());
        QVERIFY(!form.arrangePage().options().EnhanceQualCheck->isChecked());
        QCOMPARE(form.arrangePage().options().BackgroundBox->Selected(), 0x00336699);
        QCOMPARE(form.Doc->options().Font.Name, QStringLiteral("DejaVu Serif"));
        QCOMPARE(form.Doc->options().Font.Size, 17);
        QCOMPARE(form.collectionPage().listedNames().size(), 2);
        QVERIFY(!form.Doc->loading());
    }

    void savedRotationIsAppliedOnOpening_data()
    {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<int>("width");
        // the decoded picture's (x, y) that lands at the opened picture's top-left and top-right
        QTest::addColumn<QPoint>("topLeftFrom");
        QTest::addColumn<QPoint>("topRightFrom");
        QTest::newRow("0: as decoded") << 0 << 3 << QPoint(0, 0) << QPoint(2, 0);
        QTest::newRow("1: a quarter clockwise") << 1 << 2 << QPoint(0, 1) << QPoint(0, 0);
        QTest::newRow("2: half a turn") << 2 << 3 << QPoint(2, 1) << QPoint(0, 1);
        QTest::newRow("3: a quarter counter-clockwise") << 3 << 2 << QPoint(2, 0) << QPoint(2, 1);
    }
    void savedRotationIsAppliedOnOpening()
    {
        QFETCH(int, rotation);
        QFETCH(int, width);
        QFETCH(QPoint, topLeftFrom);
        QFETCH(QPoint, topRightFrom);
        const QString picture = path("corners.png");
        QVERIFY(writeCornerPicture(picture));
        const QImage source(picture);
        DialogRecorder dialogs;
        {
            TMainForm form;
            DIB dib;
            OpenDib(&dib, picture, 0, nullptr);
            form.Doc->recordsForSetUp().appendPicture(picture, dib);
            form.Doc->recordsForSetUp().Pictures[0].Rotation = rotation;
            QVERIFY(form.SaveFile(path("turned.sga")));
        }
        TMainForm form;
        form.OpenFile(path("turned.sga"));
        QVERIFY(dialogs.messages.empty());
        const DIB& dib = form.Doc->records().Pictures[0].Dib;
        QCOMPARE(DibWidth(dib), width);
        QCOMPARE(form.Doc->records().Pictures[0].Rotation, rotation);
        QCOMPARE(getpixel(dib, 0, 0), dibValue(source.pixel(topLeftFrom)));
        QCOMPARE(getpixel(dib, width - 1, 0), dibValue(source.pixel(topRightFrom)));
    }

    // Pictures missing at opening: one box names them and their folder, each
    // placeholder shows its file name, and "Locate..." on one finds the others
    // that moved with it.
    void missingPicturesAreNamedAndLocated_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("OK keeps the placeholders") << int(Dialogs::IdOk);
        QTest::newRow("Locate finds both") << int(Dialogs::IdLocate);
    }
    void missingPicturesAreNamedAndLocated()
    {
        QFETCH(int, answer);
        QVERIFY(writePicture(path("kept.png"), 40, 30));
        QVERIFY(writePicture(path("gone.png"), 40, 30));
        QVERIFY(writePicture(path("lost.png"), 30, 20));
        {
            DialogRecorder dialogs;
            TMainForm form;
            addAndPlace(form, path("kept.png"));
            addAndPlace(form, path("gone.png"));
            addAndPlace(form, path("lost.png"));
            form.Doc->recordsForSetUp().Pictures[1].Rotation = 1;
            form.Doc->recordsForSetUp().Pictures[1].Comment = QStringLiteral("lost dog");
            QVERIFY(form.SaveFile(path("three.sga")));
        }
        QVERIFY(QDir().mkpath(path("moved")));
        QVERIFY(QFile::rename(path("gone.png"), path("moved/gone.png")));
        QVERIFY(QFile::rename(path("lost.png"), path("moved/lost.png")));
        DialogRecorder dialogs(answer);
        dialogs.handler.openFile = [this](const QString&) { return path("moved/gone.png"); };
        dialogs.install();
        TMainForm form;
        form.OpenFile(path("three.sga"));
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        const QString text = dialogs.messages[0].text;
        QVERIFY(text.startsWith(QStringLiteral("Couldn't open picture gone.png !\nCouldn't open picture lost.png !")));
        QVERIFY(text.contains(QDir(folder).absolutePath()));
        QCOMPARE(dialogs.messages[0].caption, QStringLiteral("Error"));
        QCOMPARE(dialogs.messages[0].buttons, Dialogs::OkLocate);
        QCOMPARE(form.Doc->records().PictureCount(), 3);
        const PictureEntry& e = form.Doc->records().Pictures[1];
        QCOMPARE(e.PictureId, 1);
        QCOMPARE(e.Rotation, 1);
        QCOMPARE(e.Comment, QStringLiteral("lost dog"));
        QCOMPARE(form.Doc->records().Placements.size(), 3);
        if (answer == Dialogs::IdOk) {
            QCOMPARE(DibWidth(e.Dib), 320);
            QCOMPARE(DibHeight(e.Dib), 200);
            QCOMPARE(DibBitCount(e.Dib), 24);
            QVERIFY(getpixel(e.Dib, 0, 0) != 0); // not a black box: it carries the name
            QVERIFY(!form.Doc->isModified());
        } else {
            QCOMPARE(e.FileName, path("moved/gone.png"));
            QCOMPARE(DibWidth(e.Dib), 30); // turned a quarter as saved
            QCOMPARE(form.Doc->records().Pictures[2].FileName, path("moved/lost.png"));
            QCOMPARE(DibWidth(form.Doc->records().Pictures[2].Dib), 30);
            QVERIFY(form.Doc->isModified());
        }
    }

    // A picture file that is there but cut short is named as damaged, with
    // the reason, and Locate... is offered only for a file that is gone.
    void damagedPicturesAreNotMissing_data()
    {
        QTest::addColumn<bool>("goneToo");
        QTest::newRow("damaged only") << false;
        QTest::newRow("damaged and gone") << true;
    }
    void damagedPicturesAreNotMissing()
    {
        QFETCH(bool, goneToo);
        QVERIFY(writePicture(path("cut.png"), 40, 30));
        QVERIFY(writePicture(path("gone.png"), 40, 30));
        {
            DialogRecorder dialogs;
            TMainForm form;
            addAndPlace(form, path("cut.png"));
            addAndPlace(form, path("gone.png"));
            QVERIFY(form.SaveFile(path("two.sga")));
        }
        QFile cut(path("cut.png"));
        QVERIFY(cut.resize(40));
        if (goneToo)
            QVERIFY(QFile::remove(path("gone.png")));
        DialogRecorder dialogs(int(Dialogs::IdOk));
        dialogs.install();
        TMainForm form;
        form.OpenFile(path("two.sga"));
        QCOMPARE(dialogs.messages.size(), std::size_t(goneToo ? 2 : 1));
        QVERIFY(dialogs.messages[0].text.contains(path("cut.png") + QStringLiteral(": ")));
        QVERIFY(!dialogs.messages[0].text.contains(QStringLiteral("Looked in")));
        QCOMPARE(dialogs.messages[0].buttons, Dialogs::Ok);
        if (goneToo) {
            QVERIFY(dialogs.messages[1].text.startsWith(QStringLiteral("Couldn't open picture gone.png !")));
            QCOMPARE(dialogs.messages[1].buttons, Dialogs::OkLocate);
        }
    }

    // Pictures decoded side by side still arrive as a one-by-one decode gives
    // them: same pixels, ids and messages, in file order.
    void openingManyPicturesKeepsFileOrder_data()
    {
        QTest::addColumn<QString>("kinds");
        QTest::newRow("a small picture after a large one") << "big small big small";
        QTest::newRow("missing and damaged among good ones") << "small missing big damaged small missing";
    }
    void openingManyPicturesKeepsFileOrder()
    {
        QFETCH(QString, kinds);
        const QStringList kind = kinds.split(' ');
        QStringList files;
        QStringList expectedMessages;
        {
            DialogRecorder dialogs;
            TMainForm form;
            for (int i = 0; i < kind.size(); ++i) {
                const bool big = kind[i] == QLatin1String("big") || kind[i] == QLatin1String("damaged");
                files.append(path(QStringLiteral("many%1.%2").arg(i).arg(big ? "jpg" : "png")));
                QVERIFY(writePicture(files.back(), big ? 1600 : 5, big ? 1200 : 3, QColor(i * 30, 90, 200)));
                QCOMPARE(addAndPlace(form, files.back()), i);
            }
            form.arrangePage().options().EnhanceQualCheck->setChecked(false); // small pictures stay as decoded
            QVERIFY(form.SaveFile(path("many.sga")));
        }
        for (int i = 0; i < kind.size(); ++i) {
            if (kind[i] == QLatin1String("missing"))
                QVERIFY(QFile::remove(files[i]));
            else if (kind[i] == QLatin1String("damaged"))
                QVERIFY(QFile(files[i]).resize(QFile(files[i]).size() / 2));
            if (kind[i] == QLatin1String("missing"))
                expectedMessages.append(QStringLiteral("Couldn't open picture %1 !").arg(QFileInfo(files[i]).fileName()));
        }
        const bool damaged = kinds.contains(QLatin1String("damaged"));
        DialogRecorder dialogs;
        TMainForm form;
        form.OpenFile(path("many.sga"));
        // The damaged ones in a box of their own; one box names the missing ones, in file order.
        QCOMPARE(dialogs.messages.size(), std::size_t((expectedMessages.isEmpty() ? 0 : 1) + (damaged ? 1 : 0)));
        if (!expectedMessages.isEmpty())
            QVERIFY(dialogs.messages.back().text.startsWith(expectedMessages.join('\n')));
        QCOMPARE(form.Doc->records().PictureCount(), int(kind.size()));
        for (int i = 0; i < kind.size(); ++i) {
            const PictureEntry& e = form.Doc->records().Pictures[std::size_t(i)];
            QCOMPARE(e.PictureId, i);
            QCOMPARE(e.FileName, files[i]);
            DIB expected;
            OpenDib(&expected, files[i], 0, nullptr);
            if (expected.Bits) {
                QCOMPARE(DibBitCount(e.Dib), DibBitCount(expected));
                QCOMPARE(QByteArray(reinterpret_cast<const char*>(e.Dib.Bits), e.Dib.Info->biSizeImage),
                    QByteArray(reinterpret_cast<const char*>(expected.Bits), expected.Info->biSizeImage));
            } else {
                QCOMPARE(DibWidth(e.Dib), 320); // the placeholder
            }
            deldib(&expected);
        }
        QVERIFY(!form.Doc->loading());
    }

    void saveGoesToTheOpenedFile()
    {
        DialogRecorder dialogs;
        {
            TMainForm form;
            QVERIFY(form.SaveFile(path("first.sga")));
        }
        TMainForm form;
        form.OpenFile(path("first.sga"));
        QCOMPARE(form.windowTitle(), QStringLiteral("QUORVEX Snapgrid-Atlas 4.0 - [first.sga]"));
        QCOMPARE(form.Doc->fileName(), path("first.sga"));
        form.arrangePage().options().GridEd->setValue(9);
        form.SaveBtnClick(); // no dialog: the handler would answer with no file
        ArrangementData stored;
        QCOMPARE(ReadArrangement(readFile(path("first.sga")), stored), ArrangementReadStatus::Ok);
        QCOMPARE(stored.Grid, 9.0);
    }

    void saveWithoutANameAsksForOne()
    {
        DialogRecorder dialogs;
        QString asked;
        dialogs.handler.saveFile = [&](const QString& caption) {
            asked = caption;
            return path("chosen.sga");
        };
        dialogs.install();
        TMainForm form;
        form.SaveBtnClick();
        QVERIFY(!asked.isEmpty());
        QVERIFY(QFile::exists(path("chosen.sga")));
        QCOMPARE(form.Doc->fileName(), path("chosen.sga"));
    }

    // Files that cannot be taken leave the current arrangement, its name and Loading alone.
    void unreadableFilesKeepTheArrangement_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        ArrangementData one;
        one.Pictures = { { QStringLiteral("a.png"), 0, 0, QStringLiteral("caption") } };
        const QByteArray valid = WriteArrangement(one);
        QTest::newRow("version 3 file") << QByteArray("QUORVEX Snapgrid-Edge 3.0") + valid.mid(26)
                                        << "This is not a valid Snapgrid-Edge file!";
        QTest::newRow("shorter than the magic") << QByteArray("QUORVEX") << "This is not a valid Snapgrid-Edge file!";
        QTest::newRow("cut inside the last caption")
            << valid.chopped(3) << "Open Snapgrid-Edge file: The file bad.sga is damaged and was not opened !";
        QByteArray huge = valid;
        qToLittleEndian<std::int32_t>(0x7FFFFFFF, huge.data() + 26);
        QTest::newRow("placement count past the end")
            << huge << "Open Snapgrid-Edge file: The file bad.sga is damaged and was not opened !";
        QTest::newRow("missing file") << QByteArray() << "Open Snapgrid-Edge file: Couldn't open file bad.sga !";
    }
    void unreadableFilesKeepTheArrangement()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        if (!bytes.isEmpty())
            QVERIFY(writeFile(path("bad.sga"), bytes));
        QVERIFY(writePicture(path("mine.png"), 10, 10));
        DialogRecorder dialogs;
        TMainForm form;
        addAndPlace(form, path("mine.png"));
        form.Setsavedfilename(path("mine.sga"));
        form.arrangePage().options().GridEd->setValue(3);
        form.OpenFile(path("bad.sga"));
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(dialogs.messages[0].text, message);
        QCOMPARE(dialogs.messages[0].caption, QStringLiteral("Error"));
        QCOMPARE(dialogs.messages[0].icon, Dialogs::Icon::Error);
        QCOMPARE(form.Doc->records().PictureCount(), 1);
        QCOMPARE(form.Doc->records().Placements.size(), 1);
        QCOMPARE(form.arrangePage().options().GridEd->value(), 3.0);
        QCOMPARE(form.Doc->fileName(), path("mine.sga"));
        QVERIFY(!form.Doc->loading());
    }

    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("limitWrites");
        QTest::newRow("write error after the file was created") << "old.sga" << true;
        QTest::newRow("folder does not exist") << "nowhere/old.sga" << false;
    }
    void failedSaveKeepsTheOldFile()
    {
        QFETCH(QString, target);
        QFETCH(bool, limitWrites);
        const QByteArray old = "previous arrangement";
        QVERIFY(writeFile(path("old.sga"), old));
        DialogRecorder dialogs;
        TMainForm form;
        form.Setsavedfilename(path("old.sga"));
        bool saved = true;
        if (limitWrites) {
            const FileSizeLimit limit(64); // the empty arrangement needs 143 bytes
            saved = form.SaveFile(path(target));
        } else {
            saved = form.SaveFile(path(target));
        }
        QVERIFY(!saved);
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("Save Snapgrid-Edge file: Couldn't save file old.sga !"));
        QCOMPARE(dialogs.messages[0].caption, QStringLiteral("Error"));
        QCOMPARE(dialogs.messages[0].icon, Dialogs::Icon::Error);
        QCOMPARE(readFile(path("old.sga")), old);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList { "old.sga" }); // no temporary left behind
        QCOMPARE(form.Doc->fileName(), path("old.sga"));
    }

    void newEmptiesOnOkOnly_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("pictures");
        QTest::newRow("Discard empties") << int(Dialogs::IdDiscard) << 0;
        QTest::newRow("Save saves, then empties") << int(Dialogs::IdSave) << 0;
        QTest::newRow("Cancel keeps") << int(Dialogs::IdCancel) << 1;
    }
    void newEmptiesOnOkOnly()
    {
        QFETCH(int, answer);
        QFETCH(int, pictures);
        QVERIFY(writePicture(path("p.png"), 10, 10));
        DialogRecorder dialogs(answer);
        TMainForm form;
        addAndPlace(form, path("p.png"));
        form.Doc->recordsForSetUp().SelectedPlacement = 0;
        form.Setsavedfilename(path("x.sga"));
        form.arrangePage().options().GridEd->setValue(7); // an unsaved change, so New asks
        form.NewBtnClick();
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("All unsaved data will be lost!"));
        QCOMPARE(dialogs.messages[0].caption, QStringLiteral("File/New"));
        QCOMPARE(dialogs.messages[0].icon, Dialogs::Icon::Information);
        QCOMPARE(dialogs.messages[0].buttons, Dialogs::SaveDiscardCancel);
        QCOMPARE(QFileInfo::exists(path("x.sga")), answer == Dialogs::IdSave);
        QCOMPARE(form.Doc->records().PictureCount(), pictures);
        QCOMPARE(form.Doc->records().Placements.size(), pictures);
        QCOMPARE(form.arrangePage().options().GridEd->value(), 7.0); // options stay
        QCOMPARE(form.Doc->records().NextPictureId, 1); // ids keep counting
        QCOMPARE(form.windowTitle().endsWith(QStringLiteral("[Noname.sga]")), pictures == 0);
    }

    void openAsksThenOpensTheChosenFile_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("dialogShown");
        QTest::newRow("Discard shows the dialog") << int(Dialogs::IdDiscard) << true;
        QTest::newRow("Cancel stops") << int(Dialogs::IdCancel) << false;
    }
    void openAsksThenOpensTheChosenFile()
    {
        QFETCH(int, answer);
        QFETCH(bool, dialogShown);
        DialogRecorder dialogs(answer);
        {
            TMainForm saver;
            saver.arrangePage().options().GridEd->setValue(4);
            QVERIFY(saver.SaveFile(path("pick.sga")));
        }
        bool shown = false;
        dialogs.handler.openFile = [&](const QString&) {
            shown = true;
            return path("pick.sga");
        };
        dialogs.install();
        dialogs.messages.clear();
        TMainForm form;
        form.arrangePage().options().ShowGridCheck->toggle(); // an unsaved change, so Open asks
        form.OpenBtnClick();
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("You will lost all not saved information!"));
        QCOMPARE(dialogs.messages[0].caption, QStringLiteral("File/Open"));
        QCOMPARE(shown, dialogShown);
        QCOMPARE(form.Doc->fileName(), dialogShown ? path("pick.sga") : QString());
        QCOMPARE(form.arrangePage().options().GridEd->value(), dialogShown ? 4.0 : 5.0);
    }

    // Values beyond what the controls hold are taken as they are shown: opening
    // is no unsaved change.
    void openingOutOfRangeValuesChangesNothing_data()
    {
        QTest::addColumn<Spoil>("spoil");
        QTest::newRow("cut flag 7, selected") << Spoil([](ArrangementData& d) { d.Placements[0].Cut = 7; });
        QTest::newRow("cut default 7") << Spoil([](ArrangementData& d) { d.CutDefault = 7; });
        QTest::newRow("zoom 5000") << Spoil([](ArrangementData& d) { d.Zoom = 5000; });
        QTest::newRow("margin -3") << Spoil([](ArrangementData& d) { d.Rand = -3; });
        QTest::newRow("grid 0") << Spoil([](ArrangementData& d) { d.Grid = 0; });
        QTest::newRow("default width 1e9") << Spoil([](ArrangementData& d) { d.DBreite = 1e9; });
    }
    void openingOutOfRangeValuesChangesNothing()
    {
        QFETCH(Spoil, spoil);
        QVERIFY(writePicture(path("p.png"), 40, 30));
        {
            DialogRecorder dialogs;
            TMainForm form;
            addAndPlace(form, path("p.png"));
            form.Doc->recordsForSetUp().SelectedPlacement = 0;
            QVERIFY(form.SaveFile(path("ok.sga")));
        }
        ArrangementData d;
        QCOMPARE(ReadArrangement(readFile(path("ok.sga")), d), ArrangementReadStatus::Ok);
        spoil(d);
        QVERIFY(writeFile(path("odd.sga"), WriteArrangement(d)));
        DialogRecorder dialogs;
        TMainForm form;
        form.show();
        form.showTab(TMainForm::Tab::Arrange);
        form.OpenFile(path("odd.sga"));
        QApplication::processEvents();
        QVERIFY(!form.Doc->isModified());
        QVERIFY(!form.windowTitle().endsWith(QStringLiteral("*]")));
    }

    void outOfRangeSelectionIsDropped()
    {
        ArrangementData d;
        d.Placements.resize(1);
        d.Placements[0].Page = 1;
        d.SelectedPlacement = 5;
        QVERIFY(writeFile(path("sel.sga"), WriteArrangement(d)));
        DialogRecorder dialogs;
        TMainForm form;
        form.OpenFile(path("sel.sga"));
        QCOMPARE(form.Doc->records().Placements.size(), 1);
        QCOMPARE(form.Doc->records().SelectedPlacement, -1);
        QVERIFY(!form.action(Command::DeleteSelection)->isEnabled());
    }

    // The file keeps no page count: opening shows every page a placement is on,
    // and a selection on a page not shown is dropped.
    void openingShowsPagesAndOnlyAVisibleSelection_data()
    {
        QTest::addColumn<QList<int>>("pages");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("countBefore");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("selectedAfter");
        QTest::newRow("count raised, selection on the current page kept") << QList<int> { 1, 3, 2 } << 0 << 1 << 3 << 0;
        QTest::newRow("selection on another page dropped") << QList<int> { 1, 3, 2 } << 1 << 1 << 3 << -1;
        QTest::newRow("a higher count is not lowered") << QList<int> { 2 } << -1 << 5 << 5 << -1;
        QTest::newRow("pages past the limit show the last one") << QList<int> { 1, 5000, -7 } << 0 << 1 << 1000 << 0;
    }
    void openingShowsPagesAndOnlyAVisibleSelection()
    {
        QFETCH(QList<int>, pages);
        QFETCH(int, selected);
        QFETCH(int, countBefore);
        QFETCH(int, count);
        QFETCH(int, selectedAfter);
        ArrangementData d;
        for (int page : pages) {
            Placement p {};
            p.Page = page;
            d.Placements.push_back(p);
        }
        d.SelectedPlacement = selected;
        QVERIFY(writeFile(path("pages.sga"), WriteArrangement(d)));
        DialogRecorder dialogs;
        TMainForm form;
        form.arrangePage().setPageCount(countBefore);
        form.OpenFile(path("pages.sga"));
        QCOMPARE(form.arrangePage().shownPageCount(), count);
        QCOMPARE(form.arrangePage().shownPage(), 1);
        QCOMPARE(form.Doc->records().SelectedPlacement, selectedAfter);
        QCOMPARE(form.action(Command::DeleteSelection)->isEnabled(), selectedAfter >= 0);
    }
};
SGA_TEST(TestFileCommands)

#include "tst_filecommands.moc"
