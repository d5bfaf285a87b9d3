#include "picture/ColourManagement.h"

#include "picture/DecodePool.h"
#include "picture/PoolHandoff.h"
#include "picture/Resample.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRunnable>
#include <QThreadPool>

#include <lcms2.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <vector>

namespace {

// lcms2 reports through one process-wide handler; the last message of this
// thread goes into the text the user sees.
thread_local QString LastLcmsError;

void logError(cmsContext, cmsUInt32Number, const char *text)
{
    LastLcmsError = QString::fromUtf8(text);
}

void installErrorHandler()
{
    static std::once_flag once;
    std::call_once(once, [] { cmsSetLogErrorHandler(logError); });
}

struct ColourManagementText {
    Q_DECLARE_TR_FUNCTIONS(ColourManagementText)
};

struct Profile {
    cmsHPROFILE P = nullptr;
    Profile() = default;
    explicit Profile(cmsHPROFILE p)
        : P(p)
    {
    }
    ~Profile()
    {
        if (P)
            cmsCloseProfile(P);
    }
    Profile(const Profile &) = delete;
    Profile &operator=(const Profile &) = delete;
};

cmsHPROFILE openProfile(const QByteArray &icc)
{
    installErrorHandler();
    if (icc.isEmpty() || icc.size() > MaxProfileBytes)
        return nullptr;
    return cmsOpenProfileFromMem(icc.constData(), cmsUInt32Number(icc.size()));
}

// Why an opened profile cannot take sRGB pixels to an RGB device; empty when it can.
QString classProblem(cmsHPROFILE p)
{
    const cmsProfileClassSignature cls = cmsGetDeviceClass(p);
    if (cls != cmsSigOutputClass && cls != cmsSigDisplayClass && cls != cmsSigColorSpaceClass)
        return ColourManagementText::tr(
            "It is not a printer or monitor profile (a device link, abstract or input profile).");
    if (cmsGetColorSpace(p) != cmsSigRgbData)
        return ColourManagementText::tr("It describes a device that is not driven in RGB (for example CMYK); "
                                        "the program hands printers RGB pixels.");
    return {};
}

QString unreadable()
{
    QString text = ColourManagementText::tr("The file is not a readable ICC colour profile (damaged or truncated).");
    if (!LastLcmsError.isEmpty())
        text += QLatin1Char(' ') + LastLcmsError;
    return text;
}

cmsUInt32Number flagsFor(bool blackPoint)
{
    // Shared by threads: no per-transform cache of the last pixel.
    return cmsFLAGS_NOCACHE | (blackPoint ? cmsFLAGS_BLACKPOINTCOMPENSATION : 0);
}

// Rows per band a thread converts at once.
constexpr int BandRows = 64;

// Runs band(first, count) over rows 0..rows-1, on the calling thread and the
// decoding pool together. The caller takes bands too and waits only for bands
// already running elsewhere, so a caller on the pool itself cannot starve.
void inBands(int rows, const std::function<void(int, int)> &band)
{
    const int bands = (rows + BandRows - 1) / BandRows;
    if (bands <= 1) {
        if (rows > 0)
            band(0, rows);
        return;
    }
    struct Work {
        std::atomic<int> Next{0};
        std::mutex Lock;
        std::condition_variable Done;
        int Running = 0;
    };
    auto work = std::make_shared<Work>();
    const int total = bands;
    auto run = [work, total, rows, band] {
        for (;;) {
            {
                const std::lock_guard<std::mutex> hold(work->Lock);
                if (work->Next.load() >= total)
                    return;
                ++work->Running;
            }
            const int b = work->Next.fetch_add(1);
            if (b < total)
                band(b * BandRows, std::min(BandRows, rows - b * BandRows));
            const std::lock_guard<std::mutex> hold(work->Lock);
            if (--work->Running == 0)
                work->Done.notify_all();
        }
    };
    const int helpers = std::min(bands - 1, std::max(0, DecodePool()->maxThreadCount()));
    for (int i = 0; i < helpers; ++i) {
        PoolHandoff();
        DecodePool()->start(QRunnable::create([run] {
            PoolHandoff();
            run();
        }));
    }
    run();
    std::unique_lock<std::mutex> hold(work->Lock);
    work->Done.wait(hold, [&] { return work->Running == 0; });
    PoolHandoff();
}

} // namespace

struct ColourConversion::Handles {
    // A context of its own: lcms2 reads the gamut alarm colour from the
    // transform's context when it converts.
    cmsContext Context = nullptr;
    // One transform, on QImage's 32-bit pixels (B G R A in memory): making
    // one costs more than converting a screenful, so DIB rows borrow it.
    cmsHTRANSFORM Rgb32 = nullptr;
    ~Handles()
    {
        if (Rgb32)
            cmsDeleteTransform(Rgb32);
        if (Context)
            cmsDeleteContext(Context);
    }
};

namespace {

// Makes both transforms of a conversion in its own context; null when lcms2 refuses.
std::unique_ptr<ColourConversion::Handles>
makeHandles(const QByteArray &printerIcc, const QByteArray *monitorIcc, RenderIntent intent, bool blackPoint,
            bool gamutWarning, QRgb warning)
{
    auto h = std::make_unique<ColourConversion::Handles>();
    h->Context = cmsCreateContext(nullptr, nullptr);
    if (!h->Context)
        return nullptr;
    cmsSetLogErrorHandlerTHR(h->Context, logError);
    const auto open = [&](const QByteArray &icc) {
        return cmsOpenProfileFromMemTHR(h->Context, icc.constData(), cmsUInt32Number(icc.size()));
    };
    const Profile srgb(cmsCreate_sRGBProfileTHR(h->Context));
    const Profile printer(open(printerIcc));
    const Profile monitor(!monitorIcc                ? nullptr
                          : monitorIcc->isEmpty()    ? cmsCreate_sRGBProfileTHR(h->Context)
                                                     : open(*monitorIcc));
    if (!srgb.P || !printer.P || (monitorIcc && !monitor.P))
        return nullptr;
    cmsUInt32Number flags = flagsFor(blackPoint);
    if (monitorIcc) {
        flags |= cmsFLAGS_SOFTPROOFING;
        if (gamutWarning) {
            flags |= cmsFLAGS_GAMUTCHECK;
            // In the output's channel order (R G B); packing swaps them after.
            cmsUInt16Number alarm[cmsMAXCHANNELS] = {};
            alarm[0] = cmsUInt16Number(qRed(warning) * 257);
            alarm[1] = cmsUInt16Number(qGreen(warning) * 257);
            alarm[2] = cmsUInt16Number(qBlue(warning) * 257);
            cmsSetAlarmCodesTHR(h->Context, alarm);
        }
    }
    const auto make = [&](cmsUInt32Number format) {
        if (!monitorIcc)
            return cmsCreateTransformTHR(h->Context, srgb.P, format, printer.P, format, cmsUInt32Number(intent), flags);
        return cmsCreateProofingTransformTHR(h->Context, srgb.P, format, monitor.P, format, printer.P,
                                             cmsUInt32Number(intent), INTENT_RELATIVE_COLORIMETRIC, flags);
    };
    h->Rgb32 = make(TYPE_BGRA_8);
    if (!h->Rgb32)
        return nullptr;
    return h;
}

} // namespace

ColourConversion::ColourConversion(std::unique_ptr<Handles> handles)
    : H(std::move(handles))
{
}

ColourConversion::~ColourConversion() = default;

QString ProfileProblem(const QByteArray &icc)
{
    if (icc.isEmpty())
        return ColourManagementText::tr("The profile file is empty.");
    if (icc.size() > MaxProfileBytes)
        return ColourManagementText::tr("The file is too large to be a colour profile.");
    LastLcmsError.clear();
    const Profile p(openProfile(icc));
    if (!p.P)
        return unreadable();
    const QString problem = classProblem(p.P);
    if (!problem.isEmpty())
        return problem;
    // The profile must also convert: its tables are read only now.
    const Profile srgb(cmsCreate_sRGBProfile());
    const cmsHTRANSFORM t = cmsCreateTransform(srgb.P, TYPE_RGB_8, p.P, TYPE_RGB_8, INTENT_PERCEPTUAL, cmsFLAGS_NOCACHE);
    if (!t)
        return unreadable();
    cmsDeleteTransform(t);
    return {};
}

QString ProfileDescription(const QByteArray &icc)
{
    const Profile p(openProfile(icc));
    if (!p.P)
        return {};
    wchar_t text[256] = {};
    // lcms2 counts the buffer in bytes.
    const cmsUInt32Number n = cmsGetProfileInfo(p.P, cmsInfoDescription, "en", "US", text, sizeof text);
    if (n == 0)
        return {};
    text[255] = 0;
    return QString::fromWCharArray(text).trimmed();
}

QByteArray ReadProfileFile(const QString &path, QString *problem)
{
    QFile file(path);
    const QFileInfo info(path);
    QString why;
    QByteArray bytes;
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        why = ColourManagementText::tr("The profile file cannot be read.");
    else if (file.size() > MaxProfileBytes)
        why = ColourManagementText::tr("The file is too large to be a colour profile.");
    else
        bytes = file.read(MaxProfileBytes + 1);
    if (why.isEmpty() && bytes.size() > MaxProfileBytes) {
        why = ColourManagementText::tr("The file is too large to be a colour profile.");
        bytes.clear();
    }
    if (problem)
        *problem = why;
    return bytes;
}

std::shared_ptr<const ColourConversion> ColourConversion::made(const QByteArray &printerIcc, const QByteArray *monitorIcc,
                                                               RenderIntent intent, bool blackPoint, bool gamutWarning,
                                                               QRgb warning, QString *problem)
{
    QString why = ProfileProblem(printerIcc);
    if (why.isEmpty() && monitorIcc && !monitorIcc->isEmpty())
        why = ProfileProblem(*monitorIcc);
    std::unique_ptr<Handles> h;
    if (why.isEmpty() && !(h = makeHandles(printerIcc, monitorIcc, intent, blackPoint, gamutWarning, warning)))
        why = unreadable();
    if (problem)
        *problem = why;
    if (!h)
        return nullptr;
    auto made = std::shared_ptr<ColourConversion>(new ColourConversion(std::move(h)));
    made->Target = printerIcc;
    made->Intent = intent;
    made->BlackPoint = blackPoint;
    made->Proof = monitorIcc != nullptr;
    if (monitorIcc)
        made->Monitor = *monitorIcc;
    made->GamutWarning = gamutWarning;
    made->Warning = warning;
    made->Self = made;
    return made;
}

std::shared_ptr<const ColourConversion> ColourConversion::ToPrinter(const QByteArray &printerIcc, RenderIntent intent,
                                                                    bool blackPoint, QString *problem)
{
    return made(printerIcc, nullptr, intent, blackPoint, false, 0, problem);
}

std::shared_ptr<const ColourConversion> ColourConversion::atIntent(RenderIntent intent) const
{
    if (Target.isEmpty())
        return nullptr;
    if (intent == Intent)
        return Self.lock();
    return Proof ? SoftProof(Target, Monitor, intent, BlackPoint, GamutWarning, Warning)
                 : ToPrinter(Target, intent, BlackPoint);
}

std::shared_ptr<const ColourConversion> ColourConversion::SoftProof(const QByteArray &printerIcc,
                                                                    const QByteArray &monitorIcc, RenderIntent intent,
                                                                    bool blackPoint, bool gamutWarning, QRgb warning,
                                                                    QString *problem)
{
    return made(printerIcc, &monitorIcc, intent, blackPoint, gamutWarning, warning, problem);
}

void ColourConversion::apply(QImage &image) const
{
    if (image.isNull())
        return;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image.convertTo(QImage::Format_RGB32);
    const int w = image.width();
    uchar *bits = image.bits(); // detaches once, here
    const qsizetype stride = image.bytesPerLine();
    const cmsHTRANSFORM t = H->Rgb32;
    inBands(image.height(), [=](int first, int count) {
        uchar *row = bits + first * stride;
        cmsDoTransformLineStride(t, row, row, cmsUInt32Number(w), cmsUInt32Number(count), cmsUInt32Number(stride),
                                 cmsUInt32Number(stride), 0, 0);
    });
}

void ColourConversion::apply(DIB &dib) const
{
    if (!dib.Bits || !dib.Info)
        return;
    const int bits = DibBitCount(dib);
    const cmsHTRANSFORM t = H->Rgb32;
    if (bits <= 8) {
        RGBQUAD *colours = DibColors(dib);
        const int n = PaletteSize(bits);
        // RGBQUAD is B G R and a spare byte: the transform's own layout.
        cmsDoTransform(t, colours, colours, cmsUInt32Number(n));
        if (dib.HasPalette) {
            for (int i = 0; i < std::min<int>(n, dib.LogPalette.palNumEntries); ++i)
                dib.LogPalette.palPalEntry[i] =
                    PALETTEENTRY{colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue, 0};
            RealizeDibPalette(&dib);
        }
        return;
    }
    if (bits != 24)
        return;
    const int w = DibWidth(dib);
    BYTE *base = dib.Bits;
    const std::uint32_t stride = dib.RowBytes;
    inBands(DibHeight(dib), [=](int first, int count) {
        std::vector<BYTE> quad(std::size_t(w) * 4);
        for (int r = first; r < first + count; ++r) {
            BYTE *row = base + std::size_t(r) * stride;
            for (int x = 0; x < w; ++x)
                std::memcpy(&quad[std::size_t(x) * 4], row + std::size_t(x) * 3, 3);
            cmsDoTransform(t, quad.data(), quad.data(), cmsUInt32Number(w));
            for (int x = 0; x < w; ++x)
                std::memcpy(row + std::size_t(x) * 3, &quad[std::size_t(x) * 4], 3);
        }
    });
}

DIB ColourConversion::converted(const DIB &dib) const
{
    DIB out;
    if (!dib.Bits || !NewDibLike(&out, dib, DibWidth(dib), DibHeight(dib)))
        return out;
    std::memcpy(out.Bits, dib.Bits, std::size_t(out.RowBytes) * std::size_t(DibHeight(dib)));
    apply(out);
    return out;
}
