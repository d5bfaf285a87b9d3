#include "browse/Favourites.h"

#include "document/StoredText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
// A favourites file is a few hundred bytes; anything beyond this is not one.
constexpr qint64 MaxFavouritesBytes = 4 * 1024 * 1024;
} // namespace

QString FavouritesFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/folders.dat");
}

QStringList AddFavourite(QStringList list, const QString &folder)
{
    const qsizetype last = list.lastIndexOf(folder);
    if (last >= 0)
        list.removeAt(last);
    list.prepend(folder);
    return list;
}

QStringList ReadFavouritesFile(const QString &fileName)
{
    QStringList folders;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return folders;
    const QByteArray bytes = file.read(MaxFavouritesBytes);
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            folders.append(DecodeStoredText(line));
    }
    return folders;
}

bool WriteFavouritesFile(const QString &fileName, const QStringList &folders)
{
    if (!QDir().mkpath(QFileInfo(fileName).absolutePath()))
        return false;
    // Written aside and renamed, so a failed write keeps the old list.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const QString &folder : folders) {
        file.write(folder.toUtf8());
        file.write("\r\n", 2);
    }
    return file.commit();
}

QString StartFolder(const QString &firstFavourite)
{
    if (!firstFavourite.isEmpty() && QFileInfo(firstFavourite).isDir())
        return firstFavourite;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return pictures;
    return QDir::homePath();
}
