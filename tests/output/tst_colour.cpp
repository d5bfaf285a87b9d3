// Colour on paper: printed pixels are lcms2's own transform to the printer
// profile, the soft proof its proofing transform, a swapped profile turns a
// printed red green, CUPS jobs ask not to convert again exactly when a profile
// is applied, and unfit profiles are refused with a reason.
#include "common/PageSetup.h"
#include "common/ProfileFixtures.h"
#include "common/TestRegistry.h"
#include "document/ArrangementDocument.h"
#include "output/ColourSettingsDialog.h"
#include "output/PageExport.h"
#include "output/PageRender.h"
#include "output/PrintColour.h"
#include "output/Exporters.h"
#include "platform/Printer.h"

#include <QDir>
#include <QtEndian>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <lcms2.h>

namespace {

// An RGB display profile with the given primaries (x, y) and a 2.2 gamma,
// white D65, saved to bytes by lcms2 itself.
QByteArray rgbProfile(const cmsCIExyY &red, const cmsCIExyY &green, const cmsCIExyY &blue)
{
    cmsCIExyY white;
    cmsWhitePointFromTemp(&white, 6504);
    return ProfileFixtures::Rgb(white, {red, green, blue});
}

const cmsCIExyY SrgbRed{0.64, 0.33, 1}, SrgbGreen{0.30, 0.60, 1}, SrgbBlue{0.15, 0.06, 1};
QByteArray wideProfile() { return rgbProfile({0.64, 0.33, 1}, {0.21, 0.71, 1}, SrgbBlue); }
// Primaries drawn towards white: saturated sRGB colours lie outside.
QByteArray narrowProfile() { return rgbProfile({0.50, 0.33, 1}, {0.32, 0.48, 1}, {0.22, 0.18, 1}); }
// The printer's first channel makes green and its second red.
QByteArray swappedProfile() { return rgbProfile(SrgbGreen, SrgbRed, SrgbBlue); }

QByteArray savedProfile(cmsHPROFILE p) { return ProfileFixtures::Saved(p); }

QByteArray profileNamed(const QString &name)
{
    if (name == QLatin1String("wide"))
        return wideProfile();
    if (name == QLatin1String("narrow"))
        return narrowProfile();
    if (name == QLatin1String("dull"))
        return ProfileFixtures::DullPaper();
    return swappedProfile();
}

// 4096 colours, 16 levels a channel, each a block of Block x Block pixels.
constexpr int Levels = 16, Blocks = 64, Block = 8;
QRgb chartColour(int k) { return qRgb((k % 16) * 17, ((k / 16) % 16) * 17, (k / 256) * 17); }
QImage chart()
{
    QImage img(Blocks * Block, Blocks * Block, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, chartColour((y / Block) * Blocks + x / Block));
    return img;
}
static_assert(Levels * Levels * Levels == Blocks * Blocks);

// lcms2's transform of the chart's colours, made here with the library alone.
std::vector<QRgb> reference(const QByteArray &printer, int intent, bool bpc, bool proof, bool gamut)
{
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE out = cmsOpenProfileFromMem(printer.constData(), cmsUInt32Number(printer.size()));
    const cmsUInt32Number flags = (bpc ? cmsFLAGS_BLACKPOINTCOMPENSATION : 0)
                                  | (proof ? cmsFLAGS_SOFTPROOFING : 0) | (gamut ? cmsFLAGS_GAMUTCHECK : 0);
    cmsUInt16Number alarm[cmsMAXCHANNELS] = {cmsUInt16Number(qRed(GamutWarningColour) * 257),
                                             cmsUInt16Number(qGreen(GamutWarningColour) * 257),
                                             cmsUInt16Number(qBlue(GamutWarningColour) * 257)};
    cmsSetAlarmCodes(alarm);
    cmsHPROFILE monitor = proof ? cmsCreate_sRGBProfile() : nullptr;
    cmsHTRANSFORM t = proof ? cmsCreateProofingTransform(srgb, TYPE_RGB_8, monitor, TYPE_RGB_8, out,
                                                         cmsUInt32Number(intent), INTENT_RELATIVE_COLORIMETRIC, flags)
                            : cmsCreateTransform(srgb, TYPE_RGB_8, out, TYPE_RGB_8, cmsUInt32Number(intent), flags);
    std::vector<QRgb> colours;
    for (int k = 0; k < Blocks * Blocks; ++k) {
        const QRgb c = chartColour(k);
        unsigned char in[3] = {uchar(qRed(c)), uchar(qGreen(c)), uchar(qBlue(c))}, o[3] = {};
        cmsDoTransform(t, in, o, 1);
        colours.push_back(qRgb(o[0], o[1], o[2]));
    }
    cmsDeleteTransform(t);
    if (monitor)
        cmsCloseProfile(monitor);
    cmsCloseProfile(out);
    cmsCloseProfile(srgb);
    return colours;
}

int channelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// A document with one picture file placed in a frame of size x size inches at
// (0.25, 0.25) on page 1.
struct Sheet {
    ArrangementDocument Doc;
    bool place(const QString &path, double size)
    {
        const ArrangementDocument::AddResult r = Doc.addPictureFiles({path}, QStringLiteral("Add"));
        if (r.Added.size() != 1)
            return false;
        Placement *p = Doc.recordsForSetUp().Placements.Append();
        *p = Placement{};
        p->Left = p->Top = 0.25;
        p->Width = p->Height = size;
        p->Page = 1;
        p->PictureId = Doc.records().Pictures[std::size_t(r.Added.front())].PictureId;
        return true;
    }
};

QString tool(const char *name) { return QStandardPaths::findExecutable(QString::fromLatin1(name)); }

} // namespace

class TstColour : public QObject
{
    Q_OBJECT
private slots:
    void printedPixelsAreTheLibraryTransform_data();
    void printedPixelsAreTheLibraryTransform();
    void softProofIsTheProofingTransform_data();
    void softProofIsTheProofingTransform();
    void softProofSharpensAtOneToOne_data();
    void softProofSharpensAtOneToOne();
    void swappedProfilePrintsRedGreen();
    void cupsOptionsAskNoConversionExactlyWithAProfile_data();
    void cupsOptionsAskNoConversionExactlyWithAProfile();
    void unfitProfilesAreRefused_data();
    void unfitProfilesAreRefused();
    void descriptionsAreWhole_data();
    void descriptionsAreWhole();
};

void TstColour::printedPixelsAreTheLibraryTransform_data()
{
    QTest::addColumn<QString>("profile");
    QTest::addColumn<int>("intent");
    QTest::addColumn<bool>("bpc");
    for (int intent = 0; intent < 4; ++intent)
        QTest::addRow("wide gamut, intent %d, black point compensation", intent) << "wide" << intent << true;
    QTest::newRow("wide gamut, relative colorimetric, no compensation") << "wide" << 1 << false;
    QTest::newRow("narrow gamut, perceptual") << "narrow" << 0 << true;
    QTest::newRow("narrow gamut, absolute colorimetric") << "narrow" << 3 << false;
}

void TstColour::printedPixelsAreTheLibraryTransform()
{
    QFETCH(QString, profile);
    QFETCH(int, intent);
    QFETCH(bool, bpc);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("chart.png"));
    QVERIFY(chart().save(file));
    // 256 dpi: the chart's 512 pixels fill a 2 inch frame one to one.
    constexpr int Dpi = 256;
    Sheet sheet;
    QVERIFY(sheet.place(file, 2.0));
    const QByteArray icc = profileNamed(profile);
    TPrinter printer;
    printer.setFixedPage(600, 600, Dpi, Dpi);
    printer.setImageOutput(true);
    PrintSetup setup = PrinterPageSetup(printer);
    setup.Colour = ColourConversion::ToPrinter(icc, RenderIntent(intent), bpc);
    QVERIFY(setup.Colour);
    ExportRequest request;
    request.Pages = {1};
    const ExportOutcome outcome =
        PrinterExporter(&printer)->run(sheet.Doc.records(), sheet.Doc.options(), setup, request);
    const QImage page = printer.pageImages().empty() ? QImage() : printer.pageImages().front();
    QCOMPARE(outcome.Result, ExportResult::Done);

    const DeviceFrame f = PlacementFrame(sheet.Doc.records().Placements.at(0), PrintScale(Dpi));
    QCOMPARE(f.W, Blocks * Block);
    const std::vector<QRgb> expected = reference(icc, intent, bpc, false, false);
    int worst = 0;
    for (int k = 0; k < Blocks * Blocks; ++k) {
        const QRgb printed = page.pixel(f.X + (k % Blocks) * Block + Block / 2, f.Y + (k / Blocks) * Block + Block / 2);
        worst = std::max(worst, channelDistance(printed, expected[std::size_t(k)]));
    }
    QVERIFY2(worst <= 1, qPrintable(QStringLiteral("largest difference %1 code values").arg(worst)));
}

void TstColour::softProofIsTheProofingTransform_data()
{
    QTest::addColumn<QString>("profile");
    QTest::addColumn<int>("intent");
    QTest::addColumn<bool>("bpc");
    QTest::addColumn<bool>("gamut");
    QTest::addColumn<int>("own"); // the picture's own intent (a test strip's step), -1 for none
    QTest::newRow("narrow, perceptual, gamut warning") << "narrow" << 0 << true << true << -1;
    QTest::newRow("narrow, relative colorimetric, gamut warning") << "narrow" << 1 << false << true << -1;
    QTest::newRow("narrow, saturation, no warning") << "narrow" << 2 << true << false << -1;
    QTest::newRow("wide, absolute colorimetric, gamut warning") << "wide" << 3 << false << true << -1;
    QTest::newRow("job perceptual, picture absolute colorimetric") << "dull" << 0 << false << true << 3;
    QTest::newRow("job absolute colorimetric, picture saturation") << "dull" << 3 << false << true << 2;
}

void TstColour::softProofIsTheProofingTransform()
{
    QFETCH(QString, profile);
    QFETCH(int, intent);
    QFETCH(bool, bpc);
    QFETCH(bool, gamut);
    QFETCH(int, own);
    const QByteArray icc = profileNamed(profile);
    SoftProofView view;
    view.setProof(ColourConversion::SoftProof(icc, {}, RenderIntent(intent), bpc, gamut, GamutWarningColour));
    view.setOn(true);
    QVERIFY(view.active());
    // One pixel per colour, as the views hand their screen copies over.
    DIB pixels;
    QVERIFY(newdib(&pixels, Blocks, Blocks, 24, nullptr, 0));
    for (int k = 0; k < Blocks * Blocks; ++k)
        setpixel(pixels, k % Blocks, k / Blocks,
                 std::uint32_t(qRed(chartColour(k))) | std::uint32_t(qGreen(chartColour(k))) << 8
                     | std::uint32_t(qBlue(chartColour(k))) << 16);
    const DrawPixels drawn{pixels, QRect(0, 0, Blocks, Blocks)};
    const DIB proofed = view.proofed(drawn, QSize(Blocks, Blocks), 0, own).Dib;
    QVERIFY(proofed.Bits != pixels.Bits);
    QCOMPARE(view.proofed(drawn, QSize(2 * Blocks, 2 * Blocks), 0, own).Dib.Bits, proofed.Bits); // kept, not made again
    if (own >= 0) // the job's intent is a copy of its own
        QVERIFY(view.proofed(drawn, QSize(Blocks, Blocks)).Dib.Bits != proofed.Bits);

    const std::vector<QRgb> expected = reference(icc, own >= 0 ? own : intent, bpc, true, gamut);
    const QRgb warning = GamutWarningColour;
    int worst = 0, agree = 0, marked = 0;
    for (int k = 0; k < Blocks * Blocks; ++k) {
        const std::uint32_t v = getpixel(proofed, k % Blocks, k / Blocks);
        const QRgb shown = qRgb(int(v & 0xFF), int((v >> 8) & 0xFF), int(v >> 16));
        const QRgb want = expected[std::size_t(k)];
        agree += (shown == warning) == (want == warning);
        marked += want == warning;
        worst = std::max(worst, channelDistance(shown, want));
    }
    QVERIFY2(worst <= 1, qPrintable(QStringLiteral("largest difference %1 code values").arg(worst)));
    QVERIFY2(agree * 1000 >= Blocks * Blocks * 995, qPrintable(QStringLiteral("%1 of 4096 agree").arg(agree)));
    if (gamut && profile == QLatin1String("narrow"))
        QVERIFY(marked > 100); // the check has something to agree on
    deldib(&pixels);
}

void TstColour::softProofSharpensAtOneToOne_data()
{
    QTest::addColumn<double>("viewPerPrinted"); // view pixels per printed pixel
    QTest::addColumn<int>("amount");
    QTest::addColumn<bool>("sharpened");
    QTest::newRow("coarser than the print") << 0.5 << 100 << false;
    QTest::newRow("one to one") << 1.0 << 100 << true;
    QTest::newRow("closer") << 2.0 << 100 << true;
    QTest::newRow("sharpening off") << 1.0 << 0 << false;
}

// The print's sharpening shows in the soft proof once the view is as fine as the printer's pixels.
void TstColour::softProofSharpensAtOneToOne()
{
    QFETCH(double, viewPerPrinted);
    QFETCH(int, amount);
    QFETCH(bool, sharpened);
    constexpr int Side = 64, Dpi = 300;
    DIB pixels;
    QVERIFY(newdib(&pixels, Side, Side, 24, nullptr, 0));
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            setpixel(pixels, x, y, x < Side / 2 ? 0x505050u : 0xB0B0B0u);
    const DrawPixels drawn{pixels, QRect(0, 0, Side, Side)};
    const auto proofedEdge = [&](PrintSharpening sharpening) {
        SoftProofView view;
        view.setProof(ColourConversion::SoftProof(profileNamed(QStringLiteral("wide")), {}, RenderIntent(1), false, false, GamutWarningColour));
        view.setOn(true);
        view.setSharpening(sharpening, Dpi);
        const DIB proofed = view.proofed(drawn, QSize(Side, Side), viewPerPrinted * Dpi / 25.4).Dib;
        return std::pair(int(getpixel(proofed, Side / 2 - 1, Side / 2) & 0xFF), int(getpixel(proofed, Side / 2, Side / 2) & 0xFF));
    };
    const auto plain = proofedEdge({});
    const auto shown = proofedEdge({amount, 0.17});
    QCOMPARE(shown.first < plain.first - 4 && shown.second > plain.second + 4, sharpened);
    if (!sharpened)
        QCOMPARE(shown, plain);
}

void TstColour::swappedProfilePrintsRedGreen()
{
    if (tool("pdftoppm").isEmpty())
        QSKIP("pdftoppm is not installed");
    QTemporaryDir dir;
    // A JPEG file: carried unread it would print red whatever the profile.
    const QString file = dir.filePath(QStringLiteral("red.jpg"));
    QImage red(200, 200, QImage::Format_RGB32);
    red.fill(qRgb(230, 20, 20));
    QVERIFY(red.save(file, "jpeg", 95));
    Sheet sheet;
    QVERIFY(sheet.place(file, 1.0));
    ExportRequest job;
    job.Pages = {1};
    job.FileName = dir.filePath(QStringLiteral("out.pdf"));
    PrintSetup setup = BarePageSetup(450, 450, 300, 300);
    setup.Colour = ColourConversion::ToPrinter(swappedProfile(), RenderIntent::RelativeColorimetric, true);
    setup.PrinterProfile = swappedProfile();
    QVERIFY(setup.Colour);
    QCOMPARE(PdfFileExporter()->run(sheet.Doc.records(), sheet.Doc.options(), setup, job).Result, ExportResult::Done);
    QFile pdf(job.FileName);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.readAll().contains("/DestOutputProfile")); // the paper named as the output intent
    QProcess p;
    p.start(tool("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"), job.FileName,
                               dir.filePath(QStringLiteral("p"))});
    QVERIFY(p.waitForFinished(60000) && p.exitCode() == 0);
    const QImage page(QDir(dir.path()).entryInfoList({QStringLiteral("p*.png")}).value(0).filePath());
    QVERIFY(!page.isNull());
    const QRgb middle = page.pixel(int(0.75 * 72), int(0.75 * 72)); // the frame's centre
    QVERIFY2(qGreen(middle) > 150 && qRed(middle) < 80,
             qPrintable(QStringLiteral("printed as %1").arg(middle, 8, 16, QLatin1Char('0'))));
}

void TstColour::cupsOptionsAskNoConversionExactlyWithAProfile_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("applied");
    QTest::addColumn<QStringList>("expected");
    const QStringList media{QStringLiteral("media"), QStringLiteral("A4")};
    const QStringList off{QStringLiteral("cm-calibration"), QStringLiteral("true")};
    QTest::newRow("profile applied, no options") << QStringList() << true << off;
    QTest::newRow("profile applied, others kept") << media << true << media + off;
    QTest::newRow("profile applied, asked once") << off + media << true << media + off;
    QTest::newRow("no profile, others kept") << media << false << media;
    QTest::newRow("no profile, an earlier request dropped") << media + off << false << media;
}

void TstColour::cupsOptionsAskNoConversionExactlyWithAProfile()
{
    QFETCH(QStringList, options);
    QFETCH(bool, applied);
    QFETCH(QStringList, expected);
    QCOMPARE(CupsColourOptions(options, applied), expected);
}

void TstColour::unfitProfilesAreRefused_data()
{
    QTest::addColumn<QByteArray>("icc");
    const QByteArray good = wideProfile();
    QByteArray badTags = good;
    const int tags = qFromBigEndian<qint32>(good.constData() + 128);
    for (int i = 0; i < tags; ++i)
        qToBigEndian<quint32>(0x7FFFFF00u, badTags.data() + 132 + 12 * i + 4); // every tag far past the end
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("truncated") << good.left(good.size() / 2);
    QTest::newRow("not a profile") << QByteArray(2000, 'x');
    QTest::newRow("damaged tag table") << badTags;
    QTest::newRow("Lab, abstract class") << savedProfile(cmsCreateLab4Profile(nullptr));
    QTest::newRow("CMYK device link") << savedProfile(cmsCreateInkLimitingDeviceLink(cmsSigCmykData, 250));
}

void TstColour::unfitProfilesAreRefused()
{
    QFETCH(QByteArray, icc);
    QVERIFY(!ProfileProblem(icc).isEmpty());
    QString problem;
    QVERIFY(!ColourConversion::ToPrinter(icc, RenderIntent::Perceptual, true, &problem));
    QVERIFY(!problem.isEmpty());
    // Chosen as the printer profile: printing goes on without it, and says why.
    QTemporaryDir dir;
    ColourSettings settings;
    settings.ProfileFile = dir.filePath(QStringLiteral("paper.icc"));
    QFile f(settings.ProfileFile);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(icc) == icc.size());
    f.close();
    const PrintColour colour = MakePrintColour(settings);
    QVERIFY(!colour.Conversion);
    QVERIFY(colour.Problem.contains(settings.ProfileFile));
    // The colour dialog shows the reason whole, however many lines it takes.
    ColourDialog dialog(QStringLiteral("Office-Laser"), QStringLiteral("A4"));
    dialog.show();
    dialog.ProfileEd->setText(settings.ProfileFile);
    dialog.describe();
    QCoreApplication::processEvents();
    dialog.layout()->activate();
    QVERIFY(dialog.ProfileInfo->text().startsWith(QStringLiteral("Cannot be used")));
    QVERIFY(dialog.ProfileInfo->height() >= dialog.ProfileInfo->heightForWidth(dialog.ProfileInfo->width()));
}

void TstColour::descriptionsAreWhole_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("shown");
    const QString paper = QStringLiteral("Studio Lustre 260 g, printer B, photo black, high quality, 2026-05 ");
    QTest::newRow("short") << QStringLiteral("Lustre") << QStringLiteral("Lustre");
    QTest::newRow("longer than 63 characters") << paper << paper.trimmed();
    QTest::newRow("beyond the 255 characters kept") << paper.repeated(5) << paper.repeated(5).left(255).trimmed();
}

void TstColour::descriptionsAreWhole()
{
    QFETCH(QString, description);
    QFETCH(QString, shown);
    cmsHPROFILE p = cmsCreate_sRGBProfile();
    cmsMLU* text = cmsMLUalloc(nullptr, 1);
    cmsMLUsetWide(text, "en", "US", description.toStdWString().c_str());
    cmsWriteTag(p, cmsSigProfileDescriptionTag, text);
    cmsMLUfree(text);
    QCOMPARE(ProfileDescription(savedProfile(p)), shown);
}

SGA_TEST(TstColour)
#include "tst_colour.moc"
