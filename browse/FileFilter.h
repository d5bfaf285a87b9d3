#pragma once
// The file-type filter of the file list: "description|mask|description|mask...".
#include <QString>
#include <QStringList>

#include <vector>

struct FileFilterPair {
    QString Description;
    QString Mask; // "*.BMP;*.DIB"
};

// The picture types offered by the file list, the first pair being all of them.
[[nodiscard]] QString PictureFilterList();

// Splits a filter list into its pairs; a trailing description without a mask
// is dropped.
[[nodiscard]] std::vector<FileFilterPair> ParseFilterList(const QString &list);

// Name filters for a mask. "*.*" means every file, also those without a dot.
// Matching is done without regard to case: extensions on Linux are often lower
// case while the masks are upper case.
[[nodiscard]] QStringList MaskNameFilters(const QString &mask);
