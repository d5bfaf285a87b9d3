#include "picture/PictureMetadata.h"

#include <QIODevice>
#include <QStringDecoder>

#include <exiv2/exiv2.hpp>

#include <cmath>
#include <mutex>

namespace {

// The XMP toolkit must be set up once before threads use it; it registers
// namespaces under this lock afterwards.
std::mutex XmpLock;
void lockXmp(void *, bool lock)
{
    if (lock)
        XmpLock.lock();
    else
        XmpLock.unlock();
}

void setUpLibrary()
{
    static const bool done = [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::LogMsg::setHandler(nullptr);
        return Exiv2::XmpParser::initialize(lockXmp, nullptr);
    }();
    (void)done;
}

// Text as files hold it: UTF-8 where valid, else Latin-1; control
// characters become spaces so a value never adds a caption line.
QString cleanText(const std::string &bytes)
{
    const QByteArray raw = QByteArray::fromStdString(bytes).left(MetadataValueLimit * 4);
    auto utf8 = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(raw);
    if (utf8.hasError())
        text = QString::fromLatin1(raw);
    for (QChar &c : text)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    return text.simplified().left(MetadataValueLimit);
}

template<typename Key, typename Data>
auto findDatum(const Data &data, const char *key) -> decltype(&*data.begin())
{
    const auto it = data.findKey(Key(key));
    return it == data.end() || it->count() == 0 ? nullptr : &*it;
}

QString exifText(const Exiv2::ExifData &exif, const char *key)
{
    const Exiv2::Exifdatum *d = findDatum<Exiv2::ExifKey>(exif, key);
    return d ? cleanText(d->toString()) : QString();
}

// A positive, finite rational as a double; NaN otherwise.
double exifNumber(const Exiv2::ExifData &exif, const char *key)
{
    const Exiv2::Exifdatum *d = findDatum<Exiv2::ExifKey>(exif, key);
    if (!d)
        return std::nan("");
    const Exiv2::Rational r = d->toRational(0);
    if (r.second == 0 || r.first <= 0)
        return std::nan("");
    const double v = double(r.first) / double(r.second);
    return std::isfinite(v) ? v : std::nan("");
}

// v rounded to `decimals`, without trailing zeros ("5.6", "50").
QString number(double v, int decimals)
{
    const double unit = std::pow(10.0, decimals);
    return QString::number(std::round(v * unit) / unit, 'g', 8);
}

QString shutterText(double s)
{
    if (std::isnan(s) || s > 1e5)
        return {};
    if (s >= 0.3)
        return number(s, 1) + QStringLiteral(" s");
    return QStringLiteral("1/%1 s").arg(std::llround(1.0 / s));
}

QString cameraText(const Exiv2::ExifData &exif)
{
    const QString make = exifText(exif, "Exif.Image.Make");
    const QString model = exifText(exif, "Exif.Image.Model");
    if (model.isEmpty())
        return make;
    // Cameras repeat their maker in the model name often, in their own case.
    const QString firstWord = make.section(QLatin1Char(' '), 0, 0);
    if (make.isEmpty() || model.startsWith(firstWord, Qt::CaseInsensitive))
        return model;
    return make + QLatin1Char(' ') + model;
}

QString descriptionText(const Exiv2::Image &image)
{
    if (const Exiv2::Xmpdatum *d = findDatum<Exiv2::XmpKey>(image.xmpData(), "Xmp.dc.description")) {
        if (const auto *alt = dynamic_cast<const Exiv2::LangAltValue *>(&d->value())) {
            const auto def = alt->value_.find("x-default");
            const std::string &text = def != alt->value_.end() ? def->second : alt->value_.begin()->second;
            if (QString t = cleanText(text); !t.isEmpty())
                return t;
        } else if (QString t = cleanText(d->toString()); !t.isEmpty()) {
            return t;
        }
    }
    if (const Exiv2::Iptcdatum *d =
            findDatum<Exiv2::IptcKey>(image.iptcData(), "Iptc.Application2.Caption")) {
        if (QString t = cleanText(d->toString()); !t.isEmpty())
            return t;
    }
    return exifText(image.exifData(), "Exif.Image.ImageDescription");
}

void takeExif(const Exiv2::ExifData &exif, PictureMetadata &m)
{
    m.Taken = QDateTime::fromString(exifText(exif, "Exif.Photo.DateTimeOriginal"), QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    m.Camera = cameraText(exif);
    m.Lens = exifText(exif, "Exif.Photo.LensModel");
    m.Shutter = shutterText(exifNumber(exif, "Exif.Photo.ExposureTime"));
    if (const double f = exifNumber(exif, "Exif.Photo.FNumber"); !std::isnan(f) && f < 1000)
        m.Aperture = QStringLiteral("f/") + number(f, 1);
    if (const double mm = exifNumber(exif, "Exif.Photo.FocalLength"); !std::isnan(mm) && mm < 1e5)
        m.Focal = number(mm, 0) + QStringLiteral(" mm");
    if (const Exiv2::Exifdatum *d = findDatum<Exiv2::ExifKey>(exif, "Exif.Photo.ISOSpeedRatings")) {
        if (const long iso = d->toLong(0); iso > 0 && iso < 10000000)
            m.Iso = QStringLiteral("ISO %1").arg(iso);
    }
    const double w = exifNumber(exif, "Exif.Photo.PixelXDimension"), h = exifNumber(exif, "Exif.Photo.PixelYDimension");
    if (w >= 1 && h >= 1 && w < 1e6 && h < 1e6)
        m.Size = QSize(int(w), int(h));
}

} // namespace

QByteArray JpegMetadataSegments(QIODevice &device)
{
    QByteArray out = device.read(2);
    if (out != QByteArray("\xFF\xD8", 2))
        return {};
    for (;;) {
        const QByteArray header = device.peek(4);
        if (header.size() < 4 || uchar(header[0]) != 0xFF)
            break;
        const int marker = uchar(header[1]);
        const qint64 length = (uchar(header[2]) << 8) | uchar(header[3]);
        // APPn and comments only: the frame header and scan follow them.
        if (!((marker >= 0xE0 && marker <= 0xEF) || marker == 0xFE) || length < 2)
            break;
        if (out.size() + 2 + length > MetadataReadLimit)
            break;
        const QByteArray segment = device.read(2 + length);
        if (segment.size() != 2 + length)
            break;
        out += segment;
    }
    return out + QByteArray("\xFF\xD9", 2);
}

PictureMetadata ParsePictureMetadata(const QByteArray &segments)
{
    PictureMetadata m;
    if (segments.size() < 4 || segments.size() > MetadataReadLimit + 2)
        return m;
    setUpLibrary();
    try {
        auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte *>(segments.constData()),
                                               long(segments.size()));
        if (!image.get())
            return m;
        image->readMetadata();
        takeExif(image->exifData(), m);
        m.Description = descriptionText(*image);
    } catch (...) {
        // A damaged block gives what was read before it, never more.
    }
    return m;
}

PictureMetadata ReadPictureMetadata(QIODevice &device, const QDateTime &fileTime)
{
    const qint64 at = device.pos();
    PictureMetadata m = ParsePictureMetadata(JpegMetadataSegments(device));
    device.seek(at);
    m.FileTime = fileTime;
    return m;
}
