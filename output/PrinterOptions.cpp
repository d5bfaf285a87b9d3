#include "output/PrinterOptions.h"

#include <QCoreApplication>

#include <algorithm>

#ifdef SGA_HAVE_CUPS
#include <cups/cups.h>
#endif

namespace {
struct PrinterOptionsText {
    Q_DECLARE_TR_FUNCTIONS(PrinterOptionsText)
};

bool offers(const PrinterOfferings::Choices& list, const QString& keyword)
{
    return std::any_of(list.begin(), list.end(), [&](const auto& c) { return c.first == keyword; });
}

// Keeps `value` when the list is unknown or holds it; else names it.
QString kept(const QString& value, const PrinterOfferings::Choices& list, const QString& what, QStringList* dropped)
{
    if (value.isEmpty() || list.empty() || offers(list, value))
        return value;
    if (dropped)
        *dropped << PrinterOptionsText::tr("%1 \"%2\"").arg(what, value);
    return {};
}

#ifdef SGA_HAVE_CUPS
// The supported values of one attribute with the printer's names for them.
PrinterOfferings::Choices supported(cups_dest_t* dest, cups_dinfo_t* info, const char* option)
{
    PrinterOfferings::Choices out;
    ipp_attribute_t* attr = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, option);
    const int count = attr ? ippGetCount(attr) : 0;
    for (int i = 0; i < count; ++i) {
        QString keyword;
        if (ippGetValueTag(attr) == IPP_TAG_ENUM || ippGetValueTag(attr) == IPP_TAG_INTEGER) {
            // print-quality: 3 draft, 4 normal, 5 high
            static const char* const names[] = { "draft", "normal", "high" };
            const int v = ippGetInteger(attr, i);
            if (v < 3 || v > 5)
                continue;
            keyword = QLatin1String(names[v - 3]);
        } else if (const char* s = ippGetString(attr, i, nullptr)) {
            keyword = QString::fromUtf8(s);
        }
        if (keyword.isEmpty())
            continue;
        const QByteArray value
            = ippGetValueTag(attr) == IPP_TAG_ENUM ? QByteArray::number(ippGetInteger(attr, i)) : keyword.toUtf8();
        // A value without a name of its own (qualities are numbers) is shown by its keyword.
        const char* local = cupsLocalizeDestValue(CUPS_HTTP_DEFAULT, dest, info, option, value.constData());
        const QString name = local ? QString::fromUtf8(local) : QString();
        out.emplace_back(keyword, name.isEmpty() || name.toUtf8() == value ? keyword : name);
    }
    return out;
}
#endif
} // namespace

bool CanReadPrinterOfferings()
{
#ifdef SGA_HAVE_CUPS
    return true;
#else
    return false;
#endif
}

PrinterOfferings ReadPrinterOfferings(const QString& queue, QString* problem)
{
    PrinterOfferings o;
#ifdef SGA_HAVE_CUPS
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.toUtf8().constData(), nullptr);
    if (!dest) {
        if (problem)
            *problem = PrinterOptionsText::tr("The printing system does not know the printer %1.").arg(queue);
        return o;
    }
    cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
    if (info) {
        o.Sources = supported(dest, info, "media-source");
        o.MediaTypes = supported(dest, info, "media-type");
        o.Qualities = supported(dest, info, "print-quality");
        const int sizes = cupsGetDestMediaCount(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_FLAGS_BORDERLESS);
        for (int i = 0; i < sizes; ++i) {
            cups_size_t size;
            if (!cupsGetDestMediaByIndex(CUPS_HTTP_DEFAULT, dest, info, i, CUPS_MEDIA_FLAGS_BORDERLESS, &size))
                continue;
            const char* local
                = cupsLocalizeDestMedia(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_FLAGS_BORDERLESS, &size);
            o.BorderlessSizes.emplace_back(
                QString::fromUtf8(size.media), local ? QString::fromUtf8(local) : QString::fromUtf8(size.media));
        }
        cupsFreeDestInfo(info);
    } else if (problem) {
        *problem = PrinterOptionsText::tr("The printer %1 does not say what it offers.").arg(queue);
    }
    cupsFreeDests(1, dest);
#else
    Q_UNUSED(queue);
    if (problem)
        *problem = PrinterOptionsText::tr("This program was built without the printing system's library.");
#endif
    return o;
}

PrinterChoices SupportedChoices(const PrinterChoices& choices, const PrinterOfferings& offered, QStringList* dropped)
{
    PrinterChoices c = choices;
    c.Source = kept(choices.Source, offered.Sources, PrinterOptionsText::tr("tray"), dropped);
    c.MediaType = kept(choices.MediaType, offered.MediaTypes, PrinterOptionsText::tr("media type"), dropped);
    c.Quality = kept(choices.Quality, offered.Qualities, PrinterOptionsText::tr("quality"), dropped);
    return c;
}
