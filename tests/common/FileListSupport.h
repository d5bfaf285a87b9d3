#pragma once
// Fixtures for tests that drive the main window's folder tree and file list
// with real files.
#include "common/WindowParts.h"

#include <QFile>
#include <QFileSystemModel>
#include <QImage>
#include <QImageWriter>
#include <QListWidget>
#include <QTest>
#include <QTreeView>

// A picture of one colour in the format its suffix names.
inline bool writePicture(const QString &path, int w, int h, QColor colour = Qt::red)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return QImageWriter(path).write(image);
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline QStringList listItems(const QListWidget *list)
{
    QStringList r;
    for (int i = 0; i < list->count(); ++i)
        r.append(list->item(i)->text());
    return r;
}

// The names the file list shows, in list order.
inline QStringList listedNames(const TMainForm &form)
{
    QStringList names;
    const QModelIndex root = form.collectionPage().folders().FileList->rootIndex();
    for (int r = 0; r < form.collectionPage().folders().ListModel->rowCount(root); ++r)
        names.append(form.collectionPage().folders().ListModel->fileName(form.collectionPage().folders().ListModel->index(r, 0, root)));
    return names;
}

// Waits until the file list, which loads in the background, shows `expected`.
inline bool waitForListing(const TMainForm &form, const QStringList &expected)
{
    if (QTest::qWaitFor([&] { return listedNames(form) == expected; }, 10000))
        return true;
    qWarning() << "file list shows" << listedNames(form) << "expected" << expected;
    return false;
}

// Selects the named items of the file list; the last one becomes current.
inline void selectListed(TMainForm &form, const QStringList &names)
{
    const QModelIndex root = form.collectionPage().folders().FileList->rootIndex();
    form.collectionPage().folders().FileList->clearSelection();
    for (int r = 0; r < form.collectionPage().folders().ListModel->rowCount(root); ++r) {
        const QModelIndex i = form.collectionPage().folders().ListModel->index(r, 0, root);
        if (names.contains(form.collectionPage().folders().ListModel->fileName(i)))
            form.collectionPage().folders().FileList->selectionModel()->setCurrentIndex(
                i, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}
