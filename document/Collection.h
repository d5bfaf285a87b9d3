#pragma once
// Rules of the picture collection that need no window: the name order, the
// entry swap, the load-error message and the preview's scaled size.
#include "document/Arrangement.h"

#include <QSize>
#include <QString>

#include <vector>

// Compares the UTF-8 bytes of two paths as unsigned characters, runs of digits
// as the numbers they are (IMG_2 before IMG_10); a prefix is the smaller.
// <0, 0 or >0.
[[nodiscard]] int ComparePathBytes(const QString &a, const QString &b);

// Sorts by full path in byte order (upper case before lower case) with the
// pairwise exchange sort the collection has always used.
void SortPicturesByPath(std::vector<PictureEntry> &pictures);

// Swaps two whole entries; false (nothing done) unless both indices are valid.
bool SwapPictures(std::vector<PictureEntry> &pictures, int a, int b);

// "Error: The file <path> could not be loaded!"
[[nodiscard]] QString LoadErrorText(const QString &path);

struct MessageText {
    QString Text;
    QString Caption;
};
// The message for a failed preview: a library text shorter than 6 characters
// says nothing, so the standard text is shown with the caption "Error";
// otherwise the library's text is shown under the standard text.
[[nodiscard]] MessageText PreviewErrorMessage(const QString &path, const QString &libraryText);

// Size in which a w x h picture is drawn into a box, keeping its proportions
// and anchored at the top-left corner; integer quotients truncate. Empty for
// an empty picture.
[[nodiscard]] QSize PreviewDrawSize(const QSize &box, const QSize &picture);

