// The picture collection's rules: the name order, the entry swap, the
// load-error message and the preview's scaled size.
#include "document/Collection.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <utility>

int ComparePathBytes(const QString &a, const QString &b)
{
    const QByteArray x = a.toUtf8();
    const QByteArray y = b.toUtf8();
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    qsizetype i = 0, j = 0;
    int zeros = 0; // equal numbers written with more leading zeros go after
    while (i < x.size() && j < y.size()) {
        if (digit(x[i]) && digit(y[j])) {
            const qsizetype si = i, sj = j;
            while (i < x.size() && digit(x[i]))
                ++i;
            while (j < y.size() && digit(y[j]))
                ++j;
            qsizetype zi = si, zj = sj;
            while (zi < i - 1 && x[zi] == '0')
                ++zi;
            while (zj < j - 1 && y[zj] == '0')
                ++zj;
            // Without leading zeros the longer number is the larger.
            if (i - zi != j - zj)
                return i - zi < j - zj ? -1 : 1;
            if (const int c = std::memcmp(x.constData() + zi, y.constData() + zj, std::size_t(i - zi)))
                return c < 0 ? -1 : 1;
            if (!zeros && i - si != j - sj)
                zeros = i - si < j - sj ? -1 : 1;
            continue;
        }
        const auto cx = static_cast<unsigned char>(x[i]);
        const auto cy = static_cast<unsigned char>(y[j]);
        if (cx != cy)
            return cx < cy ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < x.size() || j < y.size())
        return i < x.size() ? 1 : -1;
    return zeros;
}

void SortPicturesByPath(std::vector<PictureEntry> &pictures)
{
    const std::size_t n = pictures.size();
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            if (ComparePathBytes(pictures[i].FileName, pictures[j].FileName) > 0)
                std::swap(pictures[i], pictures[j]);
}

bool SwapPictures(std::vector<PictureEntry> &pictures, int a, int b)
{
    const int n = int(pictures.size());
    if (a < 0 || b < 0 || a >= n || b >= n)
        return false;
    std::swap(pictures[std::size_t(a)], pictures[std::size_t(b)]);
    return true;
}

QString LoadErrorText(const QString &path)
{
    return QCoreApplication::translate("TMainForm", "Error: The file ") + path +
           QCoreApplication::translate("TMainForm", " could not be loaded!");
}

MessageText PreviewErrorMessage(const QString &path, const QString &libraryText)
{
    if (libraryText.size() < 6)
        return {LoadErrorText(path), QCoreApplication::translate("TMainForm", "Error")};
    return {libraryText, LoadErrorText(path)};
}

QSize PreviewDrawSize(const QSize &box, const QSize &picture)
{
    const qint64 bw = box.width(), bh = box.height();
    const qint64 w = picture.width(), h = picture.height();
    if (w <= 0 || h <= 0 || bw <= 0 || bh <= 0)
        return {};
    const qint64 sh = bw * h / w;
    if (bh < sh)
        return QSize(int(bh * w / h), int(bh));
    return QSize(int(bw), int(sh));
}
