#include "document/DroppedFiles.h"

#include "picture/OpenDib.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

bool IsArrangementFileName(const QString &fileName)
{
    return fileName.endsWith(QLatin1String(".sga"), Qt::CaseInsensitive);
}

DroppedFiles SortDroppedFiles(const QMimeData *mime)
{
    DroppedFiles files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl &url : mime->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (path.isEmpty() || QFileInfo(path).isDir())
            continue;
        if (IsArrangementFileName(path)) {
            if (files.Arrangement.isEmpty())
                files.Arrangement = path;
        } else if (DibFormatForFileName(path) != DibFormatAuto) {
            files.Pictures.append(path);
        }
    }
    return files;
}

bool TakesDroppedFiles(const QMimeData *mime)
{
    const DroppedFiles files = SortDroppedFiles(mime);
    return !files.Arrangement.isEmpty() || !files.Pictures.isEmpty();
}
