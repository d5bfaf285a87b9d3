#include "browse/FileFilter.h"

#include <QCoreApplication>

QString PictureFilterList()
{
    return QCoreApplication::translate(
        "TMainForm",
        "All pictures|*.BMP;*.DIB;*.GIF;*.IFF;*.JIF;*.JPG;*.JPEG;*.JPE;*.LBM;*.PCX;*.RLE;*.TGA;*.TIF;*.TIFF;*.PNG;"
        "*.WEBP;*.HEIC;*.HEIF;*.EMF|"
        "BMP - Windows, OS/2 Bitmap|*.BMP|DIB - Windows, OS/2 DIB|*.DIB|GIF - CompuServe Graphics Interchange|*.GIF|"
        "IFF - Amiga|*.IFF|JIF - JPEG - JFIF Compilant|*.JIF|JPG - JPEG - JFIF Compilant|*.JPG;*.JPEG;*.JPE|"
        "LBM - Deluxe Paint|*.LBM|PCX - ZSoft Paintbrush|*.PCX|RLE - Windows RLE|*.RLE|"
        "TGA - Truevision Targa|*.TGA|TIF - Tagged image file Format|*.TIF;*.TIFF|PNG - Portable Graphics Network|*.PNG|"
        "WEBP - WebP picture|*.WEBP|HEIC - High Efficiency Image File|*.HEIC;*.HEIF|"
        "EMF - Windows Enhanced Metafile|*.EMF|All files (*.*)|*.*");
}

std::vector<FileFilterPair> ParseFilterList(const QString &list)
{
    const QStringList parts = list.split(QLatin1Char('|'));
    std::vector<FileFilterPair> pairs;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        pairs.push_back({parts[i], parts[i + 1]});
    return pairs;
}

QStringList MaskNameFilters(const QString &mask)
{
    QStringList filters;
    for (const QString &part : mask.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString p = part.trimmed();
        if (p == QLatin1String("*.*") || p == QLatin1String("*"))
            return {QStringLiteral("*")};
        if (!p.isEmpty())
            filters.append(p);
    }
    return filters;
}
