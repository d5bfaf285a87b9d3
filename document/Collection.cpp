// The picture collection: adding files, previewing one, deleting, reordering
// and sorting, and handing a picture to the viewer.
#include "document/Collection.h"

#include "app/MainUnit.h"
#include "document/UndoCommands.h"
#include "picture/DecodeBatch.h"
#include "picture/OpenDib.h"
#include "platform/Dialogs.h"
#include "platform/EventHook.h"
#include "platform/KeyGate.h"
#include "platform/PaintBox.h"

#include <QCoreApplication>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QTreeView>

#include <algorithm>
#include <utility>

// ---------------------------------------------------------------------------
// Free rules

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

QString JoinFolder(const QString &folder, const QString &name)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

namespace {
// Appends path's decoded picture with the next id (turned as the camera
// recorded); reports a failure and leaves the collection unchanged.
bool addPictureFile(TMainForm &form, const QString &path, const DecodedPicture &picture)
{
    return form.AddPictureFile(path, picture) >= 0;
}

bool isEnter(const QKeyEvent *key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }
} // namespace

// ---------------------------------------------------------------------------
// Handlers

void TMainForm::connectCollection()
{
    connect(AddBtn, &QPushButton::clicked, this, &TMainForm::AddBtnClick);
    connect(DelBtn, &QPushButton::clicked, this, &TMainForm::DelBtnClick);
    connect(ShowBtn, &QPushButton::clicked, this, &TMainForm::ShowBtnClick);
    connect(UpNow, &QPushButton::clicked, this, &TMainForm::UpNowClick);
    connect(DownNow, &QPushButton::clicked, this, &TMainForm::DownNowClick);
    connect(SortNameBtn, &QPushButton::clicked, this, &TMainForm::SortNameBtnClick);
    connect(ImageList, &QListWidget::doubleClicked, this, &TMainForm::ImageListDblClick);
    connect(SortBox, &QListWidget::doubleClicked, this, &TMainForm::SortBoxDblClick);

    new TEventHook(ImageList, [this](QEvent *e) {
        if (e->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(e);
        if (key->key() == Qt::Key_Delete)
            DelBtnClick();
        else if (isEnter(key))
            ImageListDblClick();
        else
            return false;
        return true;
    });
    new TEventHook(SortBox, [this](QEvent *e) {
        if (e->type() != QEvent::KeyPress || !isEnter(static_cast<QKeyEvent *>(e)))
            return false;
        SortBoxDblClick();
        return true;
    });
    // Drags arrive at the list's viewport.
    const auto dragHook = [this](QEvent *e) {
        switch (e->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto *drag = static_cast<QDragMoveEvent *>(e);
            if (ImageListDragOver(drag->source()))
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto *drop = static_cast<QDropEvent *>(e);
            if (!ImageListDragOver(drop->source())) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            ImageListDragDrop(drop->source());
            return true;
        }
        default:
            return false;
        }
    };
    new TEventHook(ImageList->viewport(), dragHook);
    Keys->add(this, QKeySequence(Qt::Key_Escape), [this] { CancelKey(); });
}

void TMainForm::UpdateListBox()
{
    ImageList->clear();
    SortBox->clear();
    for (const PictureEntry &entry : Pictures) {
        const QString name = FileNamePart(entry.FileName);
        ImageList->addItem(name);
        SortBox->addItem(name);
    }
    const bool any = PictureCount() > 0;
    DelBtn->setEnabled(any);
    ShowBtn->setEnabled(any);
    PrintBtn->setEnabled(any);
    if (any) {
        ImageList->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
        SortBox->setCurrentRow(0);
    }
}

void TMainForm::AddBtnClick()
{
    const auto undo = Undo->change(tr("Add pictures"));
    const QString folder = JamShellTree1Path();
    if (folder.isEmpty())
        return;
    bool added = false;
    QStringList files;
    for (const QString &name : JamShellList1SelectedFiles())
        files.append(JoinFolder(folder, name));
    DecodeBatch decoded(files, DisplayBox());
    decoded.Progress = [this](int percent) { SetProStatus(percent); };
    for (const QString &path : files)
        added = addPictureFile(*this, path, decoded.TakeNextPicture()) || added;
    UpdateListBox();
    repaintStrip();
    if (added)
        AddToPrefFolders(folder);
}

void TMainForm::OpenFromBrowser(const QString &name)
{
    const auto undo = Undo->change(tr("Add picture"));
    const QString folder = JamShellTree1Path();
    const QString path = JoinFolder(folder, name);
    const bool added = addPictureFile(*this, path, DecodeForCollection(path, DibFormatAuto, DisplayBox()));
    UpdateListBox();
    repaintStrip();
    if (added && !folder.isEmpty())
        AddToPrefFolders(folder);
}

void TMainForm::openfilenow(const QString &path)
{
    DIB dib;
    OpenDib(&dib, path, 0, this);
    if (dib.Bits) {
        deldib(&PreviewDib);
        PreviewDib = dib;
        DibPrevPaint->repaint();
        PreviewFileName = path;
        return;
    }
    const MessageText message = PreviewErrorMessage(path, DibErrorText(dib));
    deldib(&dib);
    Dialogs::messageBox(this, message.Text, message.Caption, Dialogs::Icon::Error, Dialogs::Ok);
}

void TMainForm::DelBtnClick()
{
    const auto undo = Undo->change(tr("Delete pictures"));
    for (int i = std::min(ImageList->count(), PictureCount()) - 1; i >= 0; --i)
        if (ImageList->item(i)->isSelected())
            deletePictureEntry(i);
    UpdateListBox();
    UpdateSelectionControls();
    ChangeFreeText();
    repaintStrip();
    repaintArrangeView();
}

void TMainForm::UpNowClick()
{
    const auto undo = Undo->change(tr("Move upward"));
    const int i = SortBox->currentRow();
    if (i < 1 || !SwapPictures(Pictures, i - 1, i))
        return;
    UpdateListBox();
    SortBox->setCurrentRow(i - 1);
    repaintStrip();
}

void TMainForm::DownNowClick()
{
    const auto undo = Undo->change(tr("Move downward"));
    const int i = SortBox->currentRow();
    if (i < 0 || !SwapPictures(Pictures, i, i + 1))
        return;
    UpdateListBox();
    SortBox->setCurrentRow(i + 1);
    repaintStrip();
}

void TMainForm::SortNameBtnClick()
{
    const auto undo = Undo->change(tr("Sort by names"));
    SortPicturesByPath(Pictures);
    UpdateListBox();
    if (PictureCount() > 0)
        SortBox->setCurrentRow(0);
    repaintStrip();
}

void TMainForm::ImageListDblClick()
{
    const int i = ImageList->currentRow();
    if (i >= 0 && i < PictureCount())
        openfilenow(Pictures[std::size_t(i)].FileName);
}

void TMainForm::ShowPictureBig(int index)
{
    if (index < 0 || index >= PictureCount())
        return;
    const QString fileName = Pictures[std::size_t(index)].FileName;
    if (PreviewFileName != fileName)
        openfilenow(fileName);
    if (PreviewFileName == fileName && ShowBigHandler) {
        const DIB copy = PreviewDib;
        ShowBigHandler(copy, PreviewFileName);
    }
}

void TMainForm::SortBoxDblClick()
{
    const int i = SortBox->currentRow();
    if (i < 0 || i >= PictureCount())
        return;
    ImageList->setCurrentRow(i, QItemSelectionModel::NoUpdate);
    ShowPictureBig(i);
}

void TMainForm::ShowBtnClick() { ShowPictureBig(ImageList->currentRow()); }

bool TMainForm::ImageListDragOver(const QObject *source) const
{
    return source && (source == JamShellList1 || source == JamShellList1->viewport());
}

void TMainForm::ImageListDragDrop(const QObject *source)
{
    if (ImageListDragOver(source))
        AddBtnClick();
}

void TMainForm::CancelKey()
{
    if (DelBtn->isVisible() && DelBtn->isEnabled())
        DelBtn->click();
}
