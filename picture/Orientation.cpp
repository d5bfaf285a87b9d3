#include "picture/Orientation.h"

#include "picture/Rotate.h"

#include <QImageIOHandler>
#include <QImageReader>
#include <QTransform>

CameraOrientation ReadCameraOrientation(const QString &fileName)
{
    QImageReader reader(fileName);
    reader.setAutoTransform(false);
    if (!reader.canRead())
        return {};
    // The reader's flags apply mirror and flip before the quarter turn; a flip
    // is a mirror and a half turn.
    const QImageIOHandler::Transformations t = reader.transformation();
    const bool mirror = t.testFlag(QImageIOHandler::TransformationMirror);
    const bool flip = t.testFlag(QImageIOHandler::TransformationFlip);
    CameraOrientation o;
    o.Mirrored = mirror != flip;
    o.Turns = (flip ? 2 : 0) + (t.testFlag(QImageIOHandler::TransformationRotate90) ? 1 : 0);
    return o;
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

bool OrientUpright(DIB &pic, CameraOrientation orientation, const ProgressFn &progress)
{
    if (!orientation.Mirrored)
        return TurnQuarters(pic, orientation.Turns, progress);
    DIB mirrored = pic;
    if (!MirrorSides(mirrored, progress))
        return false;
    if (!TurnQuarters(mirrored, orientation.Turns, progress)) {
        deldib(&mirrored);
        return false;
    }
    deldib(&pic);
    pic = mirrored;
    return true;
}

QImage OrientedUpright(const QImage &image, CameraOrientation orientation)
{
    const QImage mirrored = orientation.Mirrored ? image.mirrored(true, false) : image;
    return orientation.Turns ? mirrored.transformed(QTransform().rotate(90.0 * orientation.Turns)) : mirrored;
}

bool OrientAsStored(DIB &pic, CameraOrientation orientation, const ProgressFn &progress)
{
    DIB stored = pic;
    if (!TurnQuarters(stored, 4 - orientation.Turns, progress) || (orientation.Mirrored && !MirrorSides(stored, progress))) {
        deldib(&stored);
        return false;
    }
    deldib(&pic);
    pic = stored;
    return true;
}
