// Printing and export through pictures made for the device: JPEG files carried
// unread into PDFs, one image object per picture and size, the printed page
// matching the rendering rule, and a stopped job leaving no file.
#include "common/PhotoFixtures.h"
#include "common/PageSetup.h"
#include "common/TestRegistry.h"
#include "document/ArrangementDocument.h"
#include "output/Exporters.h"
#include "output/PdfJpegCarrier.h"
#include "output/PrintPreview.h"
#include "output/DevicePictures.h"
#include "picture/Tonal.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <fcntl.h>
#include <jpeglib.h>
#include <lcms2.h>
#include <sys/stat.h>

namespace {

constexpr int Dpi = 300;
constexpr double PageInches = 3;

// Smooth fields with a different colour in each corner, so that a turn or a
// mirror shows, and no white, so that the frame's edges show.
QImage cornersPicture(int width, int height)
{
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int fx = 255 * x / width, fy = 255 * y / height;
            img.setPixel(x, y, qRgb(40 + fx * 3 / 4, 40 + fy * 3 / 4, 200 - (fx + fy) / 3));
        }
    return img;
}

QByteArray jpegOf(const QImage &img, bool progressive)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(92);
    writer.setProgressiveScanWrite(progressive);
    writer.write(img);
    return bytes;
}

// CMYK written as Adobe does (inverted, with its marker), through libjpeg.
QByteArray cmykJpeg(const QImage &img)
{
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char *out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(img.width());
    c.image_height = JDIMENSION(img.height());
    c.input_components = 4;
    c.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 92, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(std::size_t(img.width()) * 4);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            const int k = 255 - std::max({qRed(p), qGreen(p), qBlue(p)});
            // Inverted: 255 = no ink.
            row[std::size_t(x) * 4] = JSAMPLE(255 - (255 - qRed(p) - k));
            row[std::size_t(x) * 4 + 1] = JSAMPLE(255 - (255 - qGreen(p) - k));
            row[std::size_t(x) * 4 + 2] = JSAMPLE(255 - (255 - qBlue(p) - k));
            row[std::size_t(x) * 4 + 3] = JSAMPLE(255 - k);
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    const QByteArray bytes(reinterpret_cast<const char *>(out), qsizetype(size));
    std::free(out);
    return bytes;
}

// Coded arithmetically, which PDF filters often cannot read.
QByteArray arithmeticJpeg(const QImage& img)
{
    jpeg_compress_struct c {};
    jpeg_error_mgr err {};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(img.width());
    c.image_height = JDIMENSION(img.height());
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    c.arith_code = TRUE;
    jpeg_start_compress(&c, TRUE);
    const QImage rgb = img.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < rgb.height(); ++y) {
        JSAMPROW r = const_cast<JSAMPROW>(rgb.constScanLine(y));
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    const QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    return bytes;
}

// The file with a segment put in right after its start-of-image marker.
QByteArray withSegment(const QByteArray& jpeg, int marker, const QByteArray& payload)
{
    QByteArray segment(2, char(0xFF));
    segment[1] = char(marker);
    segment.append(char((payload.size() + 2) >> 8)).append(char((payload.size() + 2) & 0xFF)).append(payload);
    return QByteArray(jpeg).insert(2, segment);
}

QByteArray iccSegment(cmsHPROFILE p)
{
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(p, nullptr, &size);
    QByteArray icc(qsizetype(size), '\0');
    cmsSaveProfileToMem(p, icc.data(), &size);
    cmsCloseProfile(p);
    return QByteArray("ICC_PROFILE\0\x01\x01", 14) + icc;
}

// From the first scan to the end-of-image marker: the entropy-coded data that
// must reach the PDF bit for bit.
QByteArray scanOf(const QByteArray& jpeg)
{
    const qsizetype sos = jpeg.indexOf(QByteArray("\xFF\xDA", 2));
    const qsizetype eoi = jpeg.indexOf(QByteArray("\xFF\xD9", 2), sos);
    return sos < 0 || eoi < 0 ? QByteArray() : jpeg.mid(sos, eoi + 2 - sos);
}

// Markers of the segments before the first scan.
QList<int> headerMarkers(const QByteArray& jpeg)
{
    QList<int> markers;
    for (qsizetype i = 2; i + 4 <= jpeg.size() && uchar(jpeg[i]) == 0xFF;) {
        const int marker = uchar(jpeg[i + 1]);
        markers << marker;
        if (marker == 0xDA)
            break;
        i += 2 + ((qsizetype(uchar(jpeg[i + 2])) << 8) | uchar(jpeg[i + 3]));
    }
    return markers;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray sha256(const QByteArray &bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256); }

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString tool(const char *name) { return QStandardPaths::findExecutable(QString::fromLatin1(name)); }

bool runTool(const char *name, const QStringList &args, QByteArray *out = nullptr)
{
    QProcess p;
    p.start(tool(name), args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return false;
    if (out)
        *out = p.readAllStandardOutput();
    return true;
}

// The arrangement: one picture file in a frame of 2 x 1.5 inch on a 3 inch
// square page, fitted (aspect kept) or cut.
struct Sheet {
    ArrangementDocument Doc;
    int Id = -1;

    bool add(const QString &path)
    {
        const ArrangementDocument::AddResult r = Doc.addPictureFiles({path}, QStringLiteral("Add"));
        if (r.Added.size() != 1)
            return false;
        Id = Doc.records().Pictures[std::size_t(r.Added.front())].PictureId;
        return true;
    }
    PictureEntry &entry() { return Doc.recordsForSetUp().Pictures.back(); }
    void place(int page, double width, double height, bool cut, QPointF at = { 0.5, 0.5 })
    {
        Placement *p = Doc.recordsForSetUp().Placements.Append();
        *p = Placement{};
        p->Left = at.x();
        p->Top = at.y();
        p->Width = width;
        p->Height = height;
        p->Page = page;
        p->PictureId = Id;
        p->Cut = cut ? 1 : 0;
    }
    ExportRequest job(const QString &file, int pages) const
    {
        ExportRequest j;
        j.FileName = file;
        j.Format = ExportFormat::Pdf;
        j.Pages = PageSpan(1, pages);
        return j;
    }
    // The pages as a PDF file at Dpi on a PageInches square without margins.
    ExportResult exportPdf(const ExportRequest &request, bool passThrough = true)
    {
        PrintSetup setup = BarePageSetup(int(PageInches * Dpi), int(PageInches * Dpi), Dpi, Dpi);
        setup.PassJpegThrough = passThrough;
        return PdfFileExporter()->run(Doc.records(), Doc.options(), setup, request).Result;
    }
};

// The page as the rendering rule draws it for export, with the same pictures.
QImage rulePage(const TArrangement &doc, const ArrangementOptions &options)
{
    const PrintSetup setup = BarePageSetup(int(PageInches * Dpi), int(PageInches * Dpi), Dpi, Dpi);
    DevicePictures pictures(doc, options, {1}, setup, {PreviewScale(Dpi, Dpi), false, false, nullptr});
    PictureSupply supply(PictureWant::FullNow);
    pictures.page(1, &supply);
    return RenderPageImage(doc, 1, Dpi, options, setup, qint64(1) << 30, supply);
}

QRect inkBox(const QImage &img)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF && qGray(img.pixel(x, y)) < 245)
                box |= QRect(x, y, 1, 1);
    return box;
}

// pdftoppm's page at the export resolution against the rule's: mean
// difference per channel and the frame's edges.
void compareWithRule(const QString &pdf, const TArrangement &doc, const ArrangementOptions &options)
{
    QTemporaryDir dir;
    QVERIFY(runTool("pdftoppm", {QStringLiteral("-r"), QString::number(Dpi), QStringLiteral("-png"), pdf,
                                 dir.filePath(QStringLiteral("p"))}));
    const QImage printed = QImage(QDir(dir.path()).entryInfoList({QStringLiteral("p*.png")}).value(0).filePath())
                               .convertToFormat(QImage::Format_RGB32);
    const QImage drawn = rulePage(doc, options);
    QVERIFY(!printed.isNull() && !drawn.isNull());
    const QRect a = inkBox(printed), b = inkBox(drawn);
    QVERIFY2(std::abs(a.left() - b.left()) <= 1 && std::abs(a.top() - b.top()) <= 1 &&
                 std::abs(a.right() - b.right()) <= 1 && std::abs(a.bottom() - b.bottom()) <= 1,
             qPrintable(QStringLiteral("frame printed at %1,%2 %3x%4, drawn at %5,%6 %7x%8")
                            .arg(a.x()).arg(a.y()).arg(a.width()).arg(a.height())
                            .arg(b.x()).arg(b.y()).arg(b.width()).arg(b.height())));
    double sum = 0;
    qint64 n = 0;
    const QRect common = QRect(QPoint(0, 0), printed.size()).intersected(QRect(QPoint(0, 0), drawn.size()));
    for (int y = common.top(); y <= common.bottom(); ++y)
        for (int x = common.left(); x <= common.right(); ++x) {
            const QRgb p = printed.pixel(x, y), q = drawn.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
            n += 3;
        }
    const double mean = sum / double(n);
    QVERIFY2(mean <= 2.0, qPrintable(QStringLiteral("mean difference %1 levels").arg(mean)));
}

// The images pdfimages finds: their encodings, and with -j the first one's bytes.
QStringList imageEncodings(const QString &pdf)
{
    QByteArray out;
    if (!runTool("pdfimages", {QStringLiteral("-list"), pdf}, &out))
        return {QStringLiteral("pdfimages failed")};
    QStringList encodings;
    const QList<QByteArray> lines = out.split('\n');
    for (int i = 2; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].simplified().split(' ');
        if (fields.size() > 8)
            encodings << QString::fromLatin1(fields[8]);
    }
    return encodings;
}

QByteArray firstImageBytes(const QString &pdf)
{
    QTemporaryDir dir;
    if (!runTool("pdfimages", {QStringLiteral("-j"), pdf, dir.filePath(QStringLiteral("i"))}))
        return {};
    return readAll(QDir(dir.path()).entryInfoList({QStringLiteral("i-000*")}).value(0).filePath());
}

} // namespace

class TstPrintPipeline : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (tool("pdftoppm").isEmpty() || tool("pdfimages").isEmpty())
            QSKIP("poppler-utils are needed");
    }
    void jpegFilesGoInAsTheirBytes_data();
    void jpegFilesGoInAsTheirBytes();
    void picturesNotCarriedAreDrawn_data();
    void picturesNotCarriedAreDrawn();
    void onePictureAtOneSizeIsOneImage_data();
    void onePictureAtOneSizeIsOneImage();
    void stoppedExportLeavesNoFile();
    void onlyWhatTheDecoderNeedsIsCarried_data();
    void onlyWhatTheDecoderNeedsIsCarried();
    void oneFileTurnedTwoWaysKeepsItsShape_data();
    void oneFileTurnedTwoWaysKeepsItsShape();
    void fileChangedInTheMiddleIsRefused();
};

void TstPrintPipeline::jpegFilesGoInAsTheirBytes_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("exif");   // orientation tag, 0 = none
    QTest::addColumn<int>("turns");  // quarter turns after adding, clockwise
    QTest::addColumn<bool>("cut");
    QTest::addColumn<bool>("comparePixels");
    QTest::newRow("baseline, fitted") << "baseline" << 0 << 0 << false << true;
    QTest::newRow("baseline, cut by a sliver") << "sliver" << 0 << 0 << true << true;
    QTest::newRow("progressive") << "progressive" << 0 << 0 << false << true;
    QTest::newRow("grey") << "grey" << 0 << 0 << false << true;
    // Renderers turn CMYK into RGB their own way: only the bytes are compared.
    QTest::newRow("CMYK written by Adobe") << "cmyk" << 0 << 0 << false << false;
    QTest::newRow("with its sRGB profile") << "profile" << 0 << 0 << false << true;
    QTest::newRow("camera upright (1)") << "baseline" << 1 << 0 << false << true;
    QTest::newRow("camera upside down (3)") << "baseline" << 3 << 0 << false << true;
    QTest::newRow("camera turned right (6)") << "baseline" << 6 << 0 << false << true;
    QTest::newRow("camera turned left (8)") << "baseline" << 8 << 0 << false << true;
    QTest::newRow("turned right once after adding") << "baseline" << 0 << 1 << false << true;
    QTest::newRow("turned three times after adding") << "progressive" << 0 << 3 << false << true;
}

void TstPrintPipeline::jpegFilesGoInAsTheirBytes()
{
    QFETCH(QString, kind);
    QFETCH(int, exif);
    QFETCH(int, turns);
    QFETCH(bool, cut);
    QFETCH(bool, comparePixels);
    QTemporaryDir dir;
    // 4:3 like the frame; a sliver more wide than that is cut away.
    const QImage img = cornersPicture(kind == QLatin1String("sliver") ? 656 : 640, 480);
    QByteArray bytes = kind == QLatin1String("cmyk") ? cmykJpeg(img)
                       : kind == QLatin1String("grey")
                           ? jpegOf(img.convertToFormat(QImage::Format_Grayscale8), false)
                           : jpegOf(img, kind == QLatin1String("progressive"));
    if (kind == QLatin1String("profile"))
        bytes = withSegment(bytes, 0xE2, iccSegment(cmsCreate_sRGBProfile()));
    if (exif)
        bytes = PhotoFixtures::jpegWithOrientation(QImage::fromData(bytes), exif);
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    QVERIFY(writeFile(path, bytes));
    Sheet sheet;
    QVERIFY(sheet.add(path));
    for (int i = 0; i < turns; ++i)
        QVERIFY(TurnEntry(sheet.entry(), false));
    sheet.place(1, 2, 1.5, cut);
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    QCOMPARE(sheet.exportPdf(sheet.job(pdf, 1)), ExportResult::Done);

    QCOMPARE(imageEncodings(pdf), QStringList{QStringLiteral("jpeg")});
    const QByteArray carried = firstImageBytes(pdf);
    QCOMPARE(sha256(scanOf(carried)), sha256(scanOf(bytes)));
    QVERIFY(carried.endsWith("\xFF\xD9"));
    for (int marker : headerMarkers(carried)) // no orientation, no JFIF: the page turns the picture
        QVERIFY2((marker >= 0xC0 && marker <= 0xDB) || marker == 0xDD
                || (marker == 0xE2 && kind == QLatin1String("profile"))
                || (marker == 0xEE && kind == QLatin1String("cmyk")),
            qPrintable(QString::number(marker, 16)));
    if (comparePixels)
        compareWithRule(pdf, sheet.Doc.records(), sheet.Doc.options());
}

void TstPrintPipeline::picturesNotCarriedAreDrawn_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("tonal step") << "tone";
    QTest::newRow("file changed since it was added") << "changed";
    QTest::newRow("file gone since it was added") << "gone";
    QTest::newRow("read with a warning (bytes before a marker)") << "warning";
    QTest::newRow("carrying turned off") << "off";
    QTest::newRow("cut away beyond a sliver") << "cut";
    QTest::newRow("grey profile in a colour file") << "grey profile";
    QTest::newRow("abstract Lab profile") << "lab profile";
    QTest::newRow("arithmetic coding") << "arithmetic";
    QTest::newRow("mirrored by the camera") << "mirrored";
}

void TstPrintPipeline::picturesNotCarriedAreDrawn()
{
    QFETCH(QString, change);
    QTemporaryDir dir;
    QByteArray bytes = change == QLatin1String("arithmetic") ? arithmeticJpeg(cornersPicture(720, 480))
                                                             : jpegOf(cornersPicture(720, 480), false);
    if (change == QLatin1String("grey profile")) {
        cmsCIExyY white;
        cmsWhitePointFromTemp(&white, 6504);
        cmsToneCurve* curve = cmsBuildGamma(nullptr, 2.2);
        bytes = withSegment(bytes, 0xE2, iccSegment(cmsCreateGrayProfile(&white, curve)));
        cmsFreeToneCurve(curve);
    } else if (change == QLatin1String("lab profile")) {
        bytes = withSegment(bytes, 0xE2, iccSegment(cmsCreateLab4Profile(nullptr)));
    }
    if (change == QLatin1String("warning")) {
        // Garbage between the header segments: libjpeg skips it with a warning.
        const int sos = int(bytes.indexOf(QByteArray("\xFF\xDA", 2)));
        bytes.insert(sos, QByteArray("\x01\x02\x03", 3));
    }
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    QVERIFY(writeFile(path, bytes));
    Sheet sheet;
    QVERIFY(sheet.add(path));
    sheet.place(1, 2, 1.5, change == QLatin1String("cut"));
    if (change == QLatin1String("tone")) {
        const ToneTable table = BrightnessTable(30);
        DIB adjusted;
        newdib(&adjusted, DibWidth(sheet.entry().Dib), DibHeight(sheet.entry().Dib), 24, nullptr, 0);
        CopyThroughTable(sheet.entry().Dib, adjusted, table);
        AdjustEntry(sheet.entry(), adjusted, table);
    } else if (change == QLatin1String("mirrored")) {
        QVERIFY(MirrorEntry(sheet.entry()));
    } else if (change == QLatin1String("changed")) {
        QVERIFY(writeFile(path, jpegOf(cornersPicture(720, 480).mirrored(true, false), false)));
    } else if (change == QLatin1String("gone")) {
        QVERIFY(QFile::remove(path));
    }
    const ExportRequest job = sheet.job(dir.filePath(QStringLiteral("out.pdf")), 1);
    QCOMPARE(sheet.exportPdf(job, change != QLatin1String("off")), ExportResult::Done);
    QCOMPARE(imageEncodings(job.FileName).size(), 1);
    QVERIFY(sha256(firstImageBytes(job.FileName)) != sha256(bytes));
    // What is drawn instead is what the rule draws.
    if (change != QLatin1String("changed") && change != QLatin1String("gone"))
        compareWithRule(job.FileName, sheet.Doc.records(), sheet.Doc.options());
}

void TstPrintPipeline::onePictureAtOneSizeIsOneImage_data()
{
    QTest::addColumn<bool>("tone");
    QTest::addColumn<bool>("sameSize");
    QTest::addColumn<int>("images");
    QTest::addColumn<int>("copies");
    QTest::newRow("carried file on two pages") << false << false << 1 << 1;
    QTest::newRow("changed picture, same size on two pages") << true << true << 1 << 1;
    QTest::newRow("changed picture, two sizes") << true << false << 2 << 1;
    QTest::newRow("copies given the same step") << true << true << 1 << 2;
}

void TstPrintPipeline::onePictureAtOneSizeIsOneImage()
{
    QFETCH(bool, tone);
    QFETCH(bool, sameSize);
    QFETCH(int, images);
    QFETCH(int, copies);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    QVERIFY(writeFile(path, jpegOf(cornersPicture(720, 480), false)));
    Sheet sheet;
    for (int copy = 0; copy < copies; ++copy) {
        // Each copy is an entry of its own with its own record of the step.
        QVERIFY(sheet.add(path));
        if (tone) {
            const ToneTable table = ContrastTable(20);
            DIB adjusted;
            newdib(&adjusted, DibWidth(sheet.entry().Dib), DibHeight(sheet.entry().Dib), 24, nullptr, 0);
            CopyThroughTable(sheet.entry().Dib, adjusted, table);
            AdjustEntry(sheet.entry(), adjusted, table);
        }
        sheet.place(3 * copy + 1, 2, 1.5, false);
        sheet.place(3 * copy + 2, sameSize ? 2 : 1, sameSize ? 1.5 : 0.75, false);
        sheet.place(3 * copy + 3, 2, 1.5, false);
    }
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    QCOMPARE(sheet.exportPdf(sheet.job(pdf, 3 * copies)), ExportResult::Done);
    QCOMPARE(CountPdfImages(pdf), images);
}

void TstPrintPipeline::stoppedExportLeavesNoFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    QVERIFY(writeFile(path, jpegOf(cornersPicture(720, 480), false)));
    Sheet sheet;
    QVERIFY(sheet.add(path));
    sheet.place(1, 2, 1.5, false);
    sheet.place(2, 2, 1.5, true);
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    QVERIFY(writeFile(pdf, "an older file"));
    // Stopped after the first page; the older file stays as it was.
    ExportRequest job = sheet.job(pdf, 2);
    job.PageDone = [](int, int, int) { return false; };
    QCOMPARE(sheet.exportPdf(job), ExportResult::Cancelled);
    QCOMPARE(readAll(pdf), QByteArray("an older file"));
    QVERIFY(QFile::remove(pdf));
    const std::atomic<bool> stop{true};
    job.PageDone = {};
    job.Cancel = &stop;
    QCOMPARE(sheet.exportPdf(job), ExportResult::Cancelled);
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1); // only the photo
}

void TstPrintPipeline::onlyWhatTheDecoderNeedsIsCarried_data()
{
    QTest::addColumn<int>("marker"); // a segment put in, 0 for none
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("after"); // bytes after the end of the picture
    const QByteArray video = QByteArray("ftypmp42") + QByteArray(100 * 1024, 'v');
    QTest::newRow("camera data with its position") << 0xE1 << QByteArray("Exif\0\0GPS 52.37N 4.89E") << QByteArray();
    QTest::newRow("comment") << 0xFE << QByteArray("class 3b, row 2") << QByteArray();
    QTest::newRow("a phone's video after the end") << 0 << QByteArray() << video;
}

void TstPrintPipeline::onlyWhatTheDecoderNeedsIsCarried()
{
    QFETCH(int, marker);
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QByteArray plain = jpegOf(cornersPicture(640, 480), false);
    const QByteArray bytes = (marker ? withSegment(plain, marker, payload) : plain) + after;
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    QVERIFY(writeFile(path, bytes));
    Sheet sheet;
    QVERIFY(sheet.add(path));
    sheet.place(1, 2, 1.5, false);
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    QCOMPARE(sheet.exportPdf(sheet.job(pdf, 1)), ExportResult::Done);
    QCOMPARE(imageEncodings(pdf), QStringList { QStringLiteral("jpeg") });
    const QByteArray carried = firstImageBytes(pdf);
    QCOMPARE(scanOf(carried), scanOf(bytes));
    QVERIFY(carried.endsWith("\xFF\xD9"));
    QVERIFY(!carried.contains(payload.isEmpty() ? after.left(8) : payload));
    QVERIFY(QFileInfo(pdf).size() < plain.size() + 16 * 1024);
}

void TstPrintPipeline::oneFileTurnedTwoWaysKeepsItsShape_data()
{
    QTest::addColumn<bool>("byFrame");
    QTest::newRow("two entries, one turned") << false;
    QTest::newRow("one entry, one frame turned") << true;
}

// One file upright and turned a quarter, by a turned entry or a turned frame:
// each is drawn with its own shape, as the program's own page shows them.
void TstPrintPipeline::oneFileTurnedTwoWaysKeepsItsShape()
{
    QFETCH(bool, byFrame);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    QVERIFY(writeFile(path, jpegOf(cornersPicture(600, 400), false)));
    Sheet sheet;
    QVERIFY(sheet.add(path));
    sheet.place(1, 1.5, 1, false, { 0.1, 0.1 });
    if (!byFrame) {
        QVERIFY(sheet.add(path));
        QVERIFY(TurnEntry(sheet.entry(), false));
    }
    sheet.place(1, 1, 1.5, false, { 1.8, 0.1 });
    if (byFrame)
        sheet.Doc.recordsForSetUp().Placements.at(1).Turn = 1;
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    QCOMPARE(sheet.exportPdf(sheet.job(pdf, 1)), ExportResult::Done);
    QCOMPARE(CountPdfImages(pdf), 1);
    compareWithRule(pdf, sheet.Doc.records(), sheet.Doc.options());
}

// Zeros written into the middle of a file after it was looked at, its time
// put back (as a copy keeping times leaves it): the PDF is not made.
void TstPrintPipeline::fileChangedInTheMiddleIsRefused()
{
    QTemporaryDir dir;
    QImage noise(1200, 900, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, qRgb((x * 7919 + y * 104729) % 251, (x * y) % 253, (x + 3 * y) % 255));
    const QByteArray bytes = jpegOf(noise, false);
    QVERIFY(bytes.size() > 3 * 64 * 1024 + 16 * 1024);
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    QVERIFY(writeFile(path, bytes));
    Sheet sheet;
    QVERIFY(sheet.add(path));
    sheet.place(1, 2, 1.5, false);
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    ExportRequest job = sheet.job(pdf, 1);
    job.PageDone = [&](int, int, int) {
        struct stat before { };
        QFile f(path);
        if (::stat(QFile::encodeName(path).constData(), &before) != 0 || !f.open(QIODevice::ReadWrite)
            || !f.seek(bytes.size() / 2) || f.write(QByteArray(16 * 1024, '\0')) != 16 * 1024)
            return false;
        f.close();
        const timespec times[2] = { { 0, UTIME_OMIT }, before.st_mtim };
        return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
    };
    QVERIFY(sheet.exportPdf(job) != ExportResult::Done);
    QVERIFY(!QFile::exists(pdf));
}

SGA_TEST(TstPrintPipeline)
#include "tst_printpipeline.moc"
