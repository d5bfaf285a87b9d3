#include "app/CommandLine.h"
#include "app/CommandLineExport.h"
#include "app/HeldDrops.h"
#include "arrange/Geometry.h"
#include "common/PhotoFixtures.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "common/WindowParts.h"
#include "document/ArrangementFile.h"
#include "document/DroppedFiles.h"
#include "output/PaperPreset.h"
#include "output/PrintJob.h"

#include <QCheckBox>
#include <QDropEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMenu>
#include <QMimeData>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTransform>
#include <QSet>
#include <QUrl>

namespace {
QImage uprightPattern()
{
    // Wider than high, red in the top-left corner.
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            img.setPixel(x, y, qRgb(255, 0, 0));
    return img;
}

// The picture a camera stores for `upright` when it records EXIF orientation o.
QImage storedAs(const QImage &upright, int o)
{
    const auto turned = [&](double degrees) { return upright.transformed(QTransform().rotate(degrees)); };
    switch (o) {
    case 2: return upright.mirrored(true, false);
    case 3: return turned(180);
    case 4: return upright.mirrored(false, true);
    case 5: return turned(90).mirrored(true, false);
    case 6: return turned(-90);
    case 7: return turned(90).mirrored(false, true);
    case 8: return turned(90);
    default: return upright;
    }
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The bounding box of the reddish pixels: the frames.
QRect redBox(const QImage &img)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qRed(img.pixel(x, y)) > 150 && qGreen(img.pixel(x, y)) < 100)
                box |= QRect(x, y, 1, 1);
    return box;
}

// Black and grey pixels, where the cut marks are, from the frames' corner.
QSet<QPair<int, int>> markPixels(const QImage &img)
{
    const QPoint origin = redBox(img).topLeft();
    QSet<QPair<int, int>> marks;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (std::max({qRed(img.pixel(x, y)), qGreen(img.pixel(x, y)), qBlue(img.pixel(x, y))}) < 160)
                marks.insert({x - origin.x(), y - origin.y()});
    return marks;
}

// Every pixel of a lies within one pixel of one of b.
bool marksNear(const QSet<QPair<int, int>> &a, const QSet<QPair<int, int>> &b)
{
    for (const auto &[x, y] : a) {
        bool found = false;
        for (int dy = -1; dy <= 1 && !found; ++dy)
            for (int dx = -1; dx <= 1 && !found; ++dx)
                found = b.contains({x + dx, y + dy});
        if (!found)
            return false;
    }
    return true;
}

QMimeData *uriList(const QStringList &paths)
{
    auto *mime = new QMimeData;
    QList<QUrl> urls;
    for (const QString &p : paths)
        urls.append(p.startsWith(QLatin1String("http")) ? QUrl(p) : QUrl::fromLocalFile(p));
    mime->setUrls(urls);
    return mime;
}
} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QVERIFY(uprightPattern().save(path("a.png")));
        QVERIFY(uprightPattern().save(path("b.png")));
        for (int o = 1; o <= 8; ++o)
            QVERIFY(writeBytes(path(QStringLiteral("cam%1.jpg").arg(o)),
                               PhotoFixtures::jpegWithOrientation(storedAs(uprightPattern(), o), o)));
        QVERIFY(writeBytes(path("notes.txt"), "text"));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("arrangement");
        QTest::addColumn<QStringList>("pictures");
        QTest::addColumn<bool>("error");
        QTest::addColumn<bool>("help");
        QTest::addColumn<bool>("version");
        const QStringList none;
        QTest::newRow("nothing") << QStringList{} << "" << none << false << false << false;
        QTest::newRow("arrangement, relative") << QStringList{"trip.SGA"} << "/w/trip.SGA" << none << false << false
                                               << false;
        QTest::newRow("pictures keep their order")
            << QStringList{"b.jpg", "/abs/a.heic", "../up.png"} << ""
            << QStringList{"/w/b.jpg", "/abs/a.heic", "/up.png"} << false << false << false;
        QTest::newRow("arrangement and pictures")
            << QStringList{"x.png", "t.sga"} << "/w/t.sga" << QStringList{"/w/x.png"} << false << false << false;
        QTest::newRow("two arrangements") << QStringList{"a.sga", "b.sga"} << "" << none << true << false << false;
        QTest::newRow("unknown option") << QStringList{"--bogus"} << "" << none << true << false << false;
        QTest::newRow("help wins") << QStringList{"--help", "a.sga"} << "" << none << false << true << false;
        QTest::newRow("version") << QStringList{"--version"} << "" << none << false << false << true;
        QTest::newRow("export to PDF") << QStringList{"--export-pdf", "o.pdf", "t.sga"} << "/w/t.sga" << none << false
                                       << false << false;
        QTest::newRow("export pages as pictures") << QStringList{"--export-images", "d", "--dpi", "300", "t.sga"}
                                                  << "/w/t.sga" << none << false << false << false;
        QTest::newRow("export without an arrangement") << QStringList{"--export-pdf", "o.pdf"} << "" << none << true
                                                       << false << false;
        QTest::newRow("export with pictures too") << QStringList{"--export-pdf", "o.pdf", "t.sga", "x.png"}
                                                  << "/w/t.sga" << QStringList{"/w/x.png"} << true << false << false;
        QTest::newRow("dpi out of range") << QStringList{"--export-images", "d", "--dpi", "5", "t.sga"} << "" << none
                                          << true << false << false;
        QTest::newRow("export with a preset")
            << QStringList { "--preset", "Studio, A4", "--export-pdf", "o.pdf", "t.sga" } << "/w/t.sga" << none << false
            << false << false;
        QTest::newRow("print on a queue")
            << QStringList { "--print", "Studio", "t.sga" } << "/w/t.sga" << none << false << false << false;
        QTest::newRow("a preset without an output")
            << QStringList { "--preset", "Studio, A4", "t.sga" } << "/w/t.sga" << none << true << false << false;
        QTest::newRow("print and export at once")
            << QStringList { "--print", "Studio", "--export-pdf", "o.pdf", "t.sga" } << "/w/t.sga" << none << true
            << false << false;
        QTest::newRow("order list on a paper to PDF")
            << QStringList { "--order", "class.csv", "--paper", "A4", "--export-pdf", "o.pdf" } << "" << none << false
            << false << false;
        QTest::newRow("order list without an output")
            << QStringList { "--order", "class.csv", "--paper", "A4" } << "" << none << true << false << false;
        QTest::newRow("order list and an arrangement")
            << QStringList { "--order", "class.csv", "--export-pdf", "o.pdf", "t.sga" } << "/w/t.sga" << none << true
            << false << false;
        QTest::newRow("paper without an order list")
            << QStringList { "--paper", "A4", "--export-pdf", "o.pdf", "t.sga" } << "/w/t.sga" << none << true
            << false << false;
        QTest::newRow("after -- a name may start with a dash")
            << QStringList{"--", "-odd.png"} << "" << QStringList{"/w/-odd.png"} << false << false << false;
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, arrangement);
        QFETCH(QStringList, pictures);
        QFETCH(bool, error);
        QFETCH(bool, help);
        QFETCH(bool, version);
        const CommandLineRequest r = ParseCommandLine(QStringList{"snapgrid-atlas"} + args, QStringLiteral("/w"));
        QCOMPARE(!r.Error.isEmpty(), error);
        QCOMPARE(r.ShowHelp, help);
        QCOMPARE(r.ShowVersion, version);
        QCOMPARE(r.Arrangement, arrangement);
        QCOMPARE(r.Pictures, pictures);
        QVERIFY(r.HelpText.contains(QLatin1String("--version")));
    }

    // The exports run without a window: every page written, or a message and a
    // non-zero code, missing pictures included.
    void exportFromCommandLine_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("written");
        QTest::newRow("PDF") << "--export-pdf" << "a.png" << 0 << QStringList{"out/pages.pdf"};
        QTest::newRow("numbered pictures") << "--export-images" << "a.png" << 0
                                           << QStringList{"out/x-01.png", "out/x-02.png"};
        QTest::newRow("missing picture") << "--export-pdf" << "gone.png" << 1 << QStringList{};
    }
    void exportFromCommandLine()
    {
        QFETCH(QString, option);
        QFETCH(QString, picture);
        QFETCH(int, code);
        QFETCH(QStringList, written);
        QTemporaryDir work;
        ArrangementData data;
        data.Pictures.push_back({path(picture), 0, 7, QString()});
        for (int page = 1; page <= 2; ++page) {
            Placement p{};
            p.Left = p.Top = 0.5;
            p.Width = p.Height = 1;
            p.Page = page;
            p.PictureId = 7;
            data.Placements.push_back(p);
        }
        data.NextPictureId = 8;
        data.Zoom = 100;
        QVERIFY(writeBytes(work.filePath("x.sga"), WriteArrangement(data)));
        const QString target = work.filePath(option == QLatin1String("--export-pdf") ? "out/pages.pdf" : "out");
        QDir().mkpath(work.filePath("out"));
        const CommandLineRequest r = ParseCommandLine({"snapgrid-atlas", option, target, "--dpi", "30", "x.sga"},
                                                      work.path());
        QVERIFY(r.Error.isEmpty());
        QString messages;
        QTextStream errors(&messages);
        QCOMPARE(RunCommandLineExport(r, errors), code);
        QCOMPARE(messages.isEmpty(), code == 0);
        if (code != 0)
            QVERIFY(messages.contains(picture));
        QStringList found;
        for (const QString &name : QDir(work.filePath("out")).entryList(QDir::Files, QDir::Name))
            found << "out/" + name;
        QCOMPARE(found, written);
    }

    // The command line makes the pages the window saves: the same set-up for
    // the same printer, and the cut marks the arrangement asks for.
    void commandLineMakesTheWindowsPages_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("cutMarks");
        QTest::addColumn<bool>("preset");
        QTest::newRow("PDF with cut marks") << "--export-pdf" << true << false;
        QTest::newRow("pictures with cut marks") << "--export-images" << true << false;
        QTest::newRow("PDF without cut marks") << "--export-pdf" << false << false;
        QTest::newRow("PDF with a paper preset") << "--export-pdf" << false << true;
        QTest::newRow("pictures with a paper preset") << "--export-images" << true << true;
    }
    void commandLineMakesTheWindowsPages()
    {
        QFETCH(QString, option);
        QFETCH(bool, cutMarks);
        QFETCH(bool, preset);
        // A preset that brightens and sharpens: both paths must apply it.
        PaperPreset paperPreset;
        paperPreset.Name = QStringLiteral("Test paper");
        paperPreset.Adjustment = { 30, 10 };
        paperPreset.Sharpening = GlossySharpening;
        QString presetError;
        QVERIFY(!preset || !SavePaperPreset(PaperPresetFolder(), paperPreset, &presetError).isEmpty());
        constexpr int Dpi = 150; // the window's picture resolution
        QTemporaryDir work;
        QImage red(60, 40, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(work.filePath("red.png")));
        // Two frames with a cutting gap between them.
        ArrangementData data;
        data.Pictures.push_back({work.filePath("red.png"), 0, 7, QString()});
        for (const double left : {1.0, 2.6}) {
            Placement p{};
            p.Left = left;
            p.Top = 1;
            p.Width = 1.5;
            p.Height = 1;
            p.Page = 1;
            p.PictureId = 7;
            data.Placements.push_back(p);
        }
        data.NextPictureId = 8;
        data.Zoom = 100;
        data.CutMarks = cutMarks;
        const QString sga = work.filePath("x.sga");
        QVERIFY(writeBytes(sga, WriteArrangement(data)));

        DialogRecorder rec;
        const QString saved = work.filePath("window.png");
        rec.handler.saveFile = [&saved](const QString &) { return saved; };
        rec.install();
        TMainForm form;
        RestorePrinterSettings(form.printer()); // as the shown window does
        form.printPage().choosePreset(preset ? paperPreset.Name : QString());
        QCOMPARE(form.Doc->open(sga, PaperGeometry(form.printer(), 96, 100)).Status,
                 ArrangementDocument::OpenStatus::Opened);
        form.SaveBitBtnClick();
        form.printPage().choosePreset(QString());
        QVERIFY(rec.messages.empty());
        const QImage window = QImage(saved).convertToFormat(QImage::Format_RGB32);

        const bool pdf = option == QLatin1String("--export-pdf");
        const QString target = work.filePath(pdf ? "line.pdf" : "out");
        QStringList args { "snapgrid-atlas", option, target, "--dpi", QString::number(Dpi), "x.sga" };
        if (preset)
            args << "--preset" << paperPreset.Name;
        const CommandLineRequest r = ParseCommandLine(args, work.path());
        QString messages;
        QTextStream errors(&messages);
        QCOMPARE(RunCommandLineExport(r, errors), 0);
        if (preset)
            QVERIFY(RemovePaperPreset(PaperPresetFolder(), paperPreset.Name));
        const std::vector<QImage> pages = pdf ? PdfPageImages(target, Dpi)
                                              : std::vector<QImage>{QImage(work.filePath("out/x-01.png"))};
        QCOMPARE(int(pages.size()), 1);
        const QImage line = pages.front().convertToFormat(QImage::Format_RGB32);
        if (!pdf)
            QVERIFY(line == window);
        // The PDF's page is the paper, the picture the printable area: both
        // are compared from the frames' corner.
        const QSize frames = redBox(line).size() - redBox(window).size(); // a pixel's edge at most
        QVERIFY(std::abs(frames.width()) <= 1 && std::abs(frames.height()) <= 1);
        const auto inWindow = markPixels(window), inLine = markPixels(line);
        QCOMPARE(!inWindow.isEmpty(), cutMarks);
        QCOMPARE(!inLine.isEmpty(), cutMarks);
        QVERIFY(marksNear(inWindow, inLine));
        QVERIFY(marksNear(inLine, inWindow));
        // The preset's brightening reached the red frames of both, or neither.
        const QPoint inside(6, 6); // from a frame's corner
        QCOMPARE(qGreen(window.pixel(redBox(window).topLeft() + inside)) > 20, preset);
        QCOMPARE(qGreen(line.pixel(redBox(line).topLeft() + inside)) > 20, preset);
    }

    void dropSortsFiles()
    {
        std::unique_ptr<QMimeData> mime(uriList({path("a.png"), path("notes.txt"), path("x.sga"), dir.path(),
                                                 "https://example.org/c.jpg", path("y.sga"), path("b.png")}));
        const DroppedFiles files = SortDroppedFiles(mime.get());
        QCOMPARE(files.Arrangement, path("x.sga"));
        QCOMPARE(files.Pictures, (QStringList{path("a.png"), path("b.png")}));
        QVERIFY(!TakesDroppedFiles(nullptr));
    }

    // Camera turns and mirrors become the entry's Rotation and Mirrored, and
    // the picture looks as the image library's own reading of the tag shows
    // it; saved and reopened, it is not turned or mirrored again.
    // Where the red corner of camera picture o lands on the page exported
    // from an arrangement that holds it in one frame.
    QRect exportedRedBox(const QString &how, int o, bool mirrored, int rotation)
    {
        ArrangementData data;
        data.Pictures.push_back({path(QStringLiteral("cam%1.jpg").arg(o)), rotation, 7, QString(), mirrored});
        Placement p{};
        p.Left = p.Top = 0.5;
        p.Width = 2;
        p.Height = 1;
        p.Page = 1;
        p.PictureId = 7;
        data.Placements.push_back(p);
        data.NextPictureId = 8;
        const QString name = QStringLiteral("export%1").arg(o);
        if (!writeBytes(path(name + ".sga"), WriteArrangement(data)))
            return {};
        const bool pdf = how == QLatin1String("--export-pdf");
        const QString target = path(name + (pdf ? ".pdf" : "-pages"));
        QString messages;
        QTextStream errors(&messages);
        const CommandLineRequest r =
            ParseCommandLine({"snapgrid-atlas", how, target, "--dpi", "100", name + ".sga"}, dir.path());
        if (RunCommandLineExport(r, errors) != 0)
            return {};
        const std::vector<QImage> pages =
            pdf ? PdfPageImages(target, 100) : std::vector<QImage>{QImage(target + "/" + name + "-01.png")};
        return pages.empty() ? QRect() : redBox(pages.front().convertToFormat(QImage::Format_RGB32));
    }

    void cameraTurnOnAdding_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("option");
        QTest::addColumn<int>("rotation");
        QTest::addColumn<bool>("mirrored");
        QTest::newRow("upright") << 1 << true << 0 << false;
        QTest::newRow("mirrored") << 2 << true << 0 << true;
        QTest::newRow("half") << 3 << true << 2 << false;
        QTest::newRow("upside down mirrored") << 4 << true << 2 << true;
        QTest::newRow("transposed") << 5 << true << 3 << true;
        QTest::newRow("right") << 6 << true << 1 << false;
        QTest::newRow("transversed") << 7 << true << 1 << true;
        QTest::newRow("left") << 8 << true << 3 << false;
        QTest::newRow("option off") << 6 << false << 0 << false;
        QTest::newRow("option off, mirrored") << 7 << false << 0 << false;
    }
    void cameraTurnOnAdding()
    {
        QFETCH(int, orientation);
        QFETCH(bool, option);
        QFETCH(int, rotation);
        QFETCH(bool, mirrored);
        DialogRecorder dialogs;
        const QString jpeg = path(QStringLiteral("cam%1.jpg").arg(orientation));
        const QString sga = path(QStringLiteral("cam%1-%2.sga").arg(orientation).arg(option));
        QImageReader reader(jpeg);
        reader.setAutoTransform(option);
        const QImage expected = reader.read();
        const auto looksAsExpected = [&](const PictureEntry &e) {
            if (QSize(DibWidth(e.Dib), DibHeight(e.Dib)) != expected.size())
                return false;
            const int r = expected.width() - 3, b = expected.height() - 3;
            for (const QPoint p : {QPoint(2, 2), QPoint(r, 2), QPoint(2, b), QPoint(r, b)})
                if (std::abs(int(getpixel(e.Dib, p.x(), p.y()) & 0xFF) - qRed(expected.pixel(p))) > 40
                    || std::abs(int((getpixel(e.Dib, p.x(), p.y()) >> 8) & 0xFF) - qGreen(expected.pixel(p))) > 40)
                    return false;
            return true;
        };
        {
            TMainForm form;
            QVERIFY(form.arrangePage().options().TurnCameraCheck->isChecked());
            form.arrangePage().options().TurnCameraCheck->setChecked(option);
            QCOMPARE(form.AddPictureFiles({jpeg}), 1);
            const PictureEntry &e = form.Doc->records().Pictures.back();
            QCOMPARE(e.Rotation, rotation);
            QCOMPARE(e.Mirrored, mirrored);
            QVERIFY(looksAsExpected(e));
            QVERIFY(form.SaveFile(sga));
        }
        TMainForm reopened;
        reopened.OpenFile(sga);
        QCOMPARE(reopened.Doc->records().PictureCount(), 1);
        const PictureEntry &e = reopened.Doc->records().Pictures[0];
        QCOMPARE(e.Rotation, rotation);
        QCOMPARE(e.Mirrored, mirrored);
        QVERIFY(looksAsExpected(e));
        // The full picture made again from the file for printing looks the same.
        DIB full = ReplayRecipe(e.Recipe);
        QVERIFY(full.Bits);
        PictureEntry replayed = e;
        replayed.Dib = full;
        QVERIFY(looksAsExpected(replayed));
        deldib(&full);
        QVERIFY(dialogs.messages.empty());
        if (!option)
            return;
        // Printed to a PDF and exported, the picture stands as the upright one does.
        QCOMPARE(expected.size(), uprightPattern().size());
        for (const QString &how : {QStringLiteral("--export-pdf"), QStringLiteral("--export-images")}) {
            const QRect shown = exportedRedBox(how, orientation, mirrored, rotation);
            const QRect upright = exportedRedBox(how, 1, false, 0);
            QVERIFY(!upright.isEmpty());
            // Within a pixel at each edge: the JPEG's blocks fall differently.
            QVERIFY2((shown.topLeft() - upright.topLeft()).manhattanLength() <= 2
                         && (shown.bottomRight() - upright.bottomRight()).manhattanLength() <= 2,
                     qPrintable(how));
        }
    }

    void dropOnPicturesAdds()
    {
        DialogRecorder dialogs;
        TMainForm form;
        std::unique_ptr<QMimeData> mime(uriList({path("a.png"), path("notes.txt"), path("b.png")}));
        QVERIFY(TakesDroppedFiles(mime.get()));
        form.collectionPage().dropFiles(mime.get());
        QCOMPARE(form.Doc->records().PictureCount(), 2);
        QCOMPARE(form.Doc->records().Pictures[1].FileName, path("b.png"));
        QCOMPARE(form.Doc->records().Placements.size(), 0);
        QVERIFY(dialogs.messages.empty());
    }

    void dropOnArrangeViewPlacesWhereDropped()
    {
        DialogRecorder dialogs;
        TMainForm form;
        form.ScreenDpiOverride = 96;
        form.arrangePage().options().UseGridCheck->setChecked(false);
        form.arrangePage().setZoom(100);
        std::unique_ptr<QMimeData> mime(uriList({path("a.png"), path("b.png")}));
        form.arrangePage().canvas().dropFiles(mime.get(), 192, 96); // two inches right, one down
        QCOMPARE(form.Doc->records().PictureCount(), 2);
        QCOMPARE(form.Doc->records().Placements.size(), 2);
        QCOMPARE(form.Doc->records().Placements.at(0).Left, 2.0);
        QCOMPARE(form.Doc->records().Placements.at(0).Top, 1.0);
        QCOMPARE(form.Doc->records().Placements.at(0).PictureId, form.Doc->records().Pictures[0].PictureId);
        QVERIFY(form.Doc->records().Placements.at(1).Left > 2.0); // fanned, not hidden under the first
        QCOMPARE(form.Doc->records().Placements.at(1).PictureId, form.Doc->records().Pictures[1].PictureId);
        QCOMPARE(form.Doc->records().SelectedPlacement, 1);
    }

    // The question comes only with unsaved changes and offers Save, Discard, Cancel.
    void droppedArrangementOpensAfterTheQuestion_data()
    {
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("pictures");
        QTest::newRow("nothing unsaved opens unasked") << false << int(Dialogs::IdCancel) << 1;
        QTest::newRow("Discard opens") << true << int(Dialogs::IdDiscard) << 1;
        QTest::newRow("Save saves, then opens") << true << int(Dialogs::IdSave) << 1;
        QTest::newRow("Cancel keeps the arrangement") << true << int(Dialogs::IdCancel) << 2;
    }
    void droppedArrangementOpensAfterTheQuestion()
    {
        QFETCH(bool, unsaved);
        QFETCH(int, answer);
        QFETCH(int, pictures);
        const QString sga = path("one.sga");
        {
            DialogRecorder quiet;
            TMainForm saver;
            saver.AddPictureFiles({path("a.png")});
            QVERIFY(saver.SaveFile(sga));
        }
        DialogRecorder dialogs(answer);
        QFile::remove(path("kept.sga"));
        dialogs.handler.saveFile = [&](const QString &) { return path("kept.sga"); };
        dialogs.install();
        TMainForm form;
        form.AddPictureFiles({path("a.png"), path("b.png")});
        if (!unsaved)
            form.Doc->undoStack()->setClean();
        std::unique_ptr<QMimeData> mime(uriList({path("b.png"), sga}));
        form.Files->DropFilesOnWindow(mime.get());
        QCOMPARE(dialogs.messages.size(), std::size_t(unsaved ? 1 : 0));
        if (unsaved) {
            QCOMPARE(dialogs.messages[0].caption, QStringLiteral("File/Open"));
            QCOMPARE(dialogs.messages[0].buttons, Dialogs::SaveDiscardCancel);
        }
        QCOMPARE(QFileInfo::exists(path("kept.sga")), answer == Dialogs::IdSave);
        QCOMPARE(form.Doc->records().PictureCount(), pictures);
    }

    // A file manager's drop while an add waits for its pictures is held and
    // delivered when the add has ended, so two loads never mix.
    void dropDuringLoadWaitsForItsEnd()
    {
        const QString sga = path("held.sga");
        {
            DialogRecorder quiet;
            TMainForm saver;
            saver.AddPictureFiles({path("a.png")});
            QVERIFY(saver.SaveFile(sga));
        }
        DialogRecorder dialogs(Dialogs::IdDiscard);
        TMainForm form;
        std::unique_ptr<QMimeData> mime(uriList({sga}));
        bool dropped = false;
        connect(form.Doc, &ArrangementDocument::progress, &form, [&] {
            if (dropped)
                return;
            dropped = true;
            // What the application's event filter does with a file manager's drop.
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
            QVERIFY(form.heldDrops().hold(&form, &drop));
        });
        QCOMPARE(form.AddPictureFiles({path("a.png"), path("b.png"), path("a.png")}), 3);
        QVERIFY(dropped);
        QCOMPARE(form.heldDrops().count(), 1);
        QCOMPARE(form.Doc->records().PictureCount(), 3);
        QVERIFY(form.Doc->fileName().isEmpty());
        QTRY_COMPARE(form.Doc->fileName(), sga);
        QCOMPARE(form.Doc->records().PictureCount(), 1);
    }

    void recentFilesRule_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QStringList>("expected");
        QStringList nine;
        for (int i = 1; i <= 9; ++i)
            nine << QStringLiteral("/r/%1.sga").arg(i);
        QTest::newRow("new one first") << QStringList{"/r/a.sga"} << "/r/b.sga" << QStringList{"/r/b.sga", "/r/a.sga"};
        QTest::newRow("listed one moves up")
            << QStringList{"/r/a.sga", "/r/b.sga"} << "/r/x/../b.sga" << QStringList{"/r/b.sga", "/r/a.sga"};
        QTest::newRow("eight at most") << nine << "/r/new.sga" << (QStringList{"/r/new.sga"} + nine.mid(0, 7));
        QTest::newRow("stored repeats and blanks dropped")
            << QStringList{"/r/a.sga", "", "/r/a.sga"} << "" << QStringList{"/r/a.sga"};
    }
    void recentFilesRule()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, added);
        QFETCH(QStringList, expected);
        TRecentFiles recent;
        recent.setFiles(stored);
        recent.add(added);
        QCOMPARE(recent.files(), expected);
    }

    void recentFilesFollowSaveAndDropTheMissing()
    {
        DialogRecorder dialogs;
        TMainForm form;
        const QString kept = path("kept.sga");
        const QString gone = path("gone.sga");
        form.AddPictureFiles({path("a.png")});
        QVERIFY(form.SaveFile(gone));
        QVERIFY(form.SaveFile(kept));
        QCOMPARE(form.RecentFiles.files(), (QStringList{kept, gone}));
        QCOMPARE(form.recentFileActions().size(), 2);
        QVERIFY(QFile::remove(gone));
        form.OpenRecentFile(gone);
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QVERIFY(dialogs.messages[0].text.contains(gone));
        QCOMPARE(form.RecentFiles.files(), QStringList{kept});
        QCOMPARE(form.recentFileActions().size(), 1);
    }
};

SGA_TEST(TestDesktop)
#include "tst_desktop.moc"
