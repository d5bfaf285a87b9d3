#include "picture/Orientation.h"

#include "picture/Rotate.h"

#include <QImageIOHandler>
#include <QImageReader>

int CameraQuarterTurns(const QString &fileName)
{
    QImageReader reader(fileName);
    reader.setAutoTransform(false);
    if (!reader.canRead())
        return 0;
    switch (reader.transformation()) {
    case QImageIOHandler::TransformationRotate90:
        return 1;
    case QImageIOHandler::TransformationRotate180:
        return 2;
    case QImageIOHandler::TransformationRotate270:
        return 3;
    default:
        return 0;
    }
}

bool TurnQuarters(DIB &pic, int quarterTurns, const ProgressFn &progress)
{
    switch (((quarterTurns % 4) + 4) % 4) {
    case 1:
        return RotRight(pic, progress);
    case 2: {
        // Both turns on a second hold of the picture, so a failed second turn
        // leaves the picture as it was.
        DIB once = pic;
        if (!RotRight(once, progress))
            return false;
        if (!RotRight(once, progress)) {
            deldib(&once);
            return false;
        }
        deldib(&pic);
        pic = once;
        return true;
    }
    case 3:
        return RotLeft(pic, progress);
    default:
        return true;
    }
}
