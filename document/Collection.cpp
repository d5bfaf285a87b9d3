// The picture collection's rules: the name order, the entry swap, the
// load-error message and the preview's scaled size.
#include "document/Collection.h"

#include <QCoreApplication>

#include <algorithm>
#include <utility>

int ComparePathBytes(const QString &a, const QString &b)
{
    const QByteArray x = a.toUtf8();
    const QByteArray y = b.toUtf8();
    const qsizetype n = std::min(x.size(), y.size());
    for (qsizetype i = 0; i < n; ++i) {
        const auto cx = static_cast<unsigned char>(x[i]);
        const auto cy = static_cast<unsigned char>(y[i]);
        if (cx != cy)
            return cx < cy ? -1 : 1;
    }
    return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
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
