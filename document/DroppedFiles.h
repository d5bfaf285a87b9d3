#pragma once
// Files handed over by a file manager (text/uri-list), sorted into what the
// program does with them.
#include <QString>
#include <QStringList>

class QMimeData;

// Whether a file name names an arrangement file (".sga", any case).
[[nodiscard]] bool IsArrangementFileName(const QString &fileName);

struct DroppedFiles {
    QString Arrangement;  // the first .sga among them; empty = none
    QStringList Pictures; // local files of a picture type, in drop order
};

// Only local files count; folders, remote addresses and other file types are
// left out.
[[nodiscard]] DroppedFiles SortDroppedFiles(const QMimeData *mime);

// Whether a drag from outside brings anything the program takes: files from a
// file manager, of which an arrangement or a picture.
[[nodiscard]] bool TakesDroppedFiles(const QMimeData *mime);
