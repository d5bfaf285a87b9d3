#include "document/RecentFiles.h"

#include <QDir>
#include <QFileInfo>

namespace {
QString normalised(const QString &path)
{
    return path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}
} // namespace

void TRecentFiles::setFiles(const QStringList &files)
{
    Files.clear();
    for (const QString &f : files) {
        const QString path = normalised(f);
        if (!path.isEmpty() && !Files.contains(path) && Files.size() < MaxCount)
            Files.append(path);
    }
}

void TRecentFiles::add(const QString &path)
{
    const QString p = normalised(path);
    if (p.isEmpty())
        return;
    Files.removeAll(p);
    Files.prepend(p);
    while (Files.size() > MaxCount)
        Files.removeLast();
}

bool TRecentFiles::remove(const QString &path) { return Files.removeAll(normalised(path)) > 0; }
