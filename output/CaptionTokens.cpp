#include "output/CaptionTokens.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <optional>
#include <vector>

namespace {

// The value of a known token (empty when missing); nothing for an unknown one.
std::optional<QString> tokenValue(const QString &name, const CaptionValues &v, const QLocale &locale)
{
    const PictureMetadata &m = v.Metadata;
    const QDateTime when = m.Taken.isValid() ? m.Taken : m.FileTime;
    if (name == u"name")
        return v.Name;
    if (name == u"folder")
        return v.Folder;
    if (name == u"date")
        return when.isValid() ? locale.toString(when.date(), QLocale::ShortFormat) : QString();
    if (name == u"time")
        return when.isValid() ? locale.toString(when.time(), QLocale::ShortFormat) : QString();
    if (name == u"camera")
        return m.Camera;
    if (name == u"lens")
        return m.Lens;
    if (name == u"exposure") {
        QStringList parts;
        for (const QString &part : {m.Shutter, m.Aperture, m.Iso, m.Focal})
            if (!part.isEmpty())
                parts.append(part);
        return parts.join(QStringLiteral(", "));
    }
    if (name == u"size")
        return v.Size.isEmpty() ? QString() : QStringLiteral("%1 \u00D7 %2").arg(v.Size.width()).arg(v.Size.height());
    if (name == u"caption")
        return m.Description;
    if (name == u"page")
        return v.Page > 0 ? locale.toString(v.Page) : QString();
    if (name == u"pages")
        return v.Pages > 0 ? locale.toString(v.Pages) : QString();
    if (name == u"file")
        return v.File;
    if (name == u"printed")
        return v.Printed.isValid() ? locale.toString(v.Printed, QLocale::ShortFormat) : QString();
    return std::nullopt;
}

struct Piece {
    QString Text;
    bool Token = false; // a known token: Text is its value
};

// A line as literal runs and known tokens, in order; unknown tokens join the literal runs.
std::vector<Piece> split(const QString &line, const CaptionValues &v, const QLocale &locale)
{
    std::vector<Piece> pieces{Piece{}};
    qsizetype i = 0;
    while (i < line.size()) {
        const qsizetype close = line[i] == u'{' ? line.indexOf(u'}', i + 1) : -1;
        if (close > i + 1) {
            const std::optional<QString> value = tokenValue(line.mid(i + 1, close - i - 1).toLower(), v, locale);
            if (value) {
                pieces.push_back(Piece{*value, true});
                pieces.push_back(Piece{});
                i = close + 1;
                continue;
            }
        }
        pieces.back().Text += line[i];
        ++i;
    }
    return pieces;
}

// One line, or nothing when its tokens all lack values.
std::optional<QString> expandLine(const QString &line, const CaptionValues &v, const QLocale &locale)
{
    const std::vector<Piece> pieces = split(line, v, locale);
    if (pieces.size() == 1)
        return pieces.front().Text;
    QString out = pieces.front().Text;
    bool anyToken = false, anyValue = false;
    // pieces alternate: literal, token, literal, ...; the literal before a
    // token is its separator, written only when the token has a value and
    // some token before it on the line had one too.
    for (std::size_t k = 1; k + 1 < pieces.size(); k += 2) {
        anyToken = true;
        if (pieces[k].Text.isEmpty())
            continue;
        if (anyValue)
            out += pieces[k - 1].Text;
        out += pieces[k].Text;
        anyValue = true;
    }
    if (anyToken && !anyValue)
        return std::nullopt;
    return out + pieces.back().Text;
}

} // namespace

QString ExpandCaption(const QString &text, const CaptionValues &values, const QLocale &locale)
{
    if (!text.contains(u'{'))
        return text;
    QStringList lines;
    for (const QString &line : text.split(u'\n'))
        if (const std::optional<QString> shown = expandLine(line, values, locale))
            lines.append(*shown);
    return lines.join(u'\n');
}

CaptionValues PictureCaptionValues(const QString &path, const PictureMetadata &metadata, QSize size)
{
    CaptionValues v;
    const QFileInfo info(path);
    v.Name = info.fileName();
    v.Folder = info.dir().dirName();
    v.Metadata = metadata;
    v.Size = size;
    return v;
}
