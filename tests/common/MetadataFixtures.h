#pragma once
// Camera metadata written into JPEG bytes as cameras and photo tools store it:
// an EXIF block (little-endian TIFF with IFD0 and the EXIF directory) and an
// XMP packet, each in its own APP1 segment.
#include <QByteArray>
#include <QString>

#include <algorithm>
#include <vector>

namespace MetadataFixtures {

struct Field {
    quint16 Tag = 0;
    quint16 Type = 2; // 2 ASCII, 3 SHORT, 5 RATIONAL
    quint32 Count = 0;
    QByteArray Value; // little-endian
};

inline QByteArray le16(quint32 v) { return QByteArray(1, char(v & 0xFF)) + char((v >> 8) & 0xFF); }
inline QByteArray le32(quint32 v) { return le16(v & 0xFFFF) + le16(v >> 16); }

inline Field ascii(quint16 tag, const QByteArray &text) { return {tag, 2, quint32(text.size() + 1), text + '\0'}; }
inline Field shortValue(quint16 tag, quint16 v) { return {tag, 3, 1, le16(v) + le16(0)}; }
inline Field rational(quint16 tag, quint32 num, quint32 den) { return {tag, 5, 1, le32(num) + le32(den)}; }

// The TIFF block: IFD0's fields, and the EXIF directory's behind IFD0's pointer.
inline QByteArray exifTiff(std::vector<Field> ifd0, std::vector<Field> exif)
{
    const quint32 ifd0Size = quint32(2 + 12 * (ifd0.size() + (exif.empty() ? 0 : 1)) + 4);
    const quint32 exifAt = 8 + ifd0Size;
    const quint32 exifSize = exif.empty() ? 0 : quint32(2 + 12 * exif.size() + 4);
    QByteArray data;
    quint32 dataAt = exifAt + exifSize;
    auto directory = [&](std::vector<Field> fields) {
        std::sort(fields.begin(), fields.end(), [](const Field &a, const Field &b) { return a.Tag < b.Tag; });
        QByteArray d = le16(quint32(fields.size()));
        for (const Field &f : fields) {
            d += le16(f.Tag) + le16(f.Type) + le32(f.Count);
            if (f.Value.size() <= 4) {
                d += f.Value.leftJustified(4, '\0');
            } else {
                d += le32(dataAt + quint32(data.size()));
                data += f.Value;
                if (data.size() % 2)
                    data += '\0';
            }
        }
        return d + le32(0);
    };
    if (!exif.empty())
        ifd0.push_back({0x8769, 4, 1, le32(exifAt)});
    const QByteArray first = directory(ifd0);
    const QByteArray second = exif.empty() ? QByteArray() : directory(exif);
    return QByteArray("II*\0", 4) + le32(8) + first + second + data;
}

inline QByteArray segment(const QByteArray &body)
{
    const int length = int(body.size()) + 2;
    return QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + body;
}

inline QByteArray exifSegment(const QByteArray &tiff) { return segment(QByteArray("Exif\0\0", 6) + tiff); }

// An XMP packet with dc:description in the default language.
inline QByteArray xmpSegment(const QString &description)
{
    const QByteArray packet =
        "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>"
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
        "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
        "<dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">"
        + description.toHtmlEscaped().toUtf8()
        + "</rdf:li></rdf:Alt></dc:description></rdf:Description></rdf:RDF></x:xmpmeta><?xpacket end=\"w\"?>";
    return segment(QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) + packet);
}

// The JPEG with the segments right after its start marker.
inline QByteArray withSegments(const QByteArray &jpeg, const QByteArray &segments)
{
    return jpeg.left(2) + segments + jpeg.mid(2);
}

} // namespace MetadataFixtures
