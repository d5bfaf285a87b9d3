// The "Add picture" tab's way to files: the folder tree, the file list that
// follows it with its type filter, the preview box and the favourite folders.
#include "app/MainUnit.h"
#include "browse/ThumbnailBrowser.h"
#include "browse/Favourites.h"
#include "browse/FileFilter.h"
#include "document/Collection.h"
#include "picture/DrawDib.h"
#include "platform/DeviceContext.h"
#include "platform/EventHook.h"
#include "platform/PaintBox.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>

#include <algorithm>
#include <functional>

namespace {
// Tells the window before the tree's current folder changes, whether the user
// or the program changes it.
class TreeSelection : public QItemSelectionModel
{
public:
    TreeSelection(QAbstractItemModel *model, QObject *parent, std::function<void()> changing)
        : QItemSelectionModel(model, parent)
        , Changing(std::move(changing))
    {
    }
    void setCurrentIndex(const QModelIndex &index, QItemSelectionModel::SelectionFlags command) override
    {
        if (index != currentIndex() && Changing)
            Changing();
        QItemSelectionModel::setCurrentIndex(index, command);
    }

private:
    std::function<void()> Changing;
};

bool isEnterKey(QEvent *e)
{
    if (e->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent *>(e)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
} // namespace

void TMainForm::connectFolderViews()
{
    TreeModel = new QFileSystemModel(this);
    TreeModel->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    TreeModel->setRootPath(QDir::rootPath());
    JamShellTree1->setModel(TreeModel);
    for (int column = 1; column < TreeModel->columnCount(); ++column)
        JamShellTree1->hideColumn(column);
    JamShellTree1->setHeaderHidden(true);
    QItemSelectionModel *plain = JamShellTree1->selectionModel();
    auto *selection = new TreeSelection(TreeModel, JamShellTree1, [this] { JamShellTree1Changing(); });
    JamShellTree1->setSelectionModel(selection);
    delete plain;
    connect(selection, &QItemSelectionModel::currentChanged, this, &TMainForm::JamShellTree1Change);

    ListModel = new QFileSystemModel(this);
    ListModel->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot); // no QDir::CaseSensitive
    ListModel->setNameFilterDisables(false);
    JamShellList1->setModel(ListModel);
    JamShellList1->setItemsExpandable(false);
    JamShellList1->setExpandsOnDoubleClick(false);
    JamShellList1->setSortingEnabled(true);
    JamShellList1->sortByColumn(0, Qt::AscendingOrder);
    JamShellList1->setDragDropMode(QAbstractItemView::DragOnly);
    JamShellList1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    JamShellList1->header()->resizeSection(0, 240);
    connect(JamShellList1, &QTreeView::doubleClicked, this, &TMainForm::JamShellList1DblClick);
    new TEventHook(JamShellList1, [this](QEvent *e) {
        if (!isEnterKey(e))
            return false;
        JamShellList1DblClick();
        return true;
    });

    connect(FilterComboBox1, &QComboBox::currentIndexChanged, this, &TMainForm::FilterComboBox1Change);
    connect(PageControl3, &QTabWidget::currentChanged, this, &TMainForm::PageControl3Change);
    connect(PrefListBox, &QListWidget::doubleClicked, this, &TMainForm::PrefListBoxDblClick);
    new TEventHook(PrefListBox, [this](QEvent *e) {
        if (!isEnterKey(e))
            return false;
        PrefListBoxDblClick();
        return true;
    });
    DibPrevPaint->onPaint = [this](QPaintEvent *) { DibPrevPaintPaint(); };
}

// ---------------------------------------------------------------------------
// Folder tree

QString TMainForm::JamShellTree1Path() const
{
    const QModelIndex current = JamShellTree1->currentIndex();
    if (!current.isValid())
        return {};
    QString path = TreeModel->filePath(current);
    if (path.isEmpty())
        return {};
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

bool TMainForm::SetJamShellTree1Path(const QString &folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return false;
    const QModelIndex index = TreeModel->index(QDir::cleanPath(info.absoluteFilePath()));
    if (!index.isValid())
        return false;
    JamShellTree1->setCurrentIndex(index);
    JamShellTree1->scrollTo(index); // expands its parents
    return true;
}

void TMainForm::JamShellTree1Changing()
{
    if (Browser->Running())
        StopBrowsing(true);
}

void TMainForm::JamShellTree1Change()
{
    const QString folder = JamShellTree1Path();
    if (folder.isEmpty())
        return;
    const QString clean = QDir::cleanPath(folder);
    JamShellList1->clearSelection();
    JamShellList1->setRootIndex(ListModel->setRootPath(clean));
    if (PageControl3->currentWidget() == TabSheet10)
        Startbrowsing(); // the new walk starts when a running one has ended
}

// ---------------------------------------------------------------------------
// File list

void TMainForm::FilterComboBox1Change()
{
    ListModel->setNameFilters(MaskNameFilters(FilterComboBox1->currentData().toString()));
}

QStringList TMainForm::JamShellList1SelectedFiles() const
{
    const QModelIndex root = JamShellList1->rootIndex();
    QModelIndexList rows = JamShellList1->selectionModel()->selectedRows(0);
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [&root](const QModelIndex &i) { return !root.isValid() || i.parent() != root; }),
               rows.end());
    std::sort(rows.begin(), rows.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QStringList names;
    for (const QModelIndex &i : rows)
        if (!ListModel->isDir(i))
            names.append(ListModel->fileName(i));
    return names;
}

void TMainForm::JamShellList1DblClick()
{
    QModelIndex item = JamShellList1->currentIndex().siblingAtColumn(0);
    const QItemSelectionModel *selection = JamShellList1->selectionModel();
    if (!item.isValid() || !selection->isRowSelected(item.row(), item.parent())) {
        const QModelIndexList rows = selection->selectedRows(0);
        if (rows.isEmpty())
            return;
        item = *std::min_element(rows.begin(), rows.end(),
                                 [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    }
    if (ListModel->isDir(item)) {
        SetJamShellTree1Path(ListModel->filePath(item));
        return;
    }
    openfilenow(JoinFolder(JamShellTree1Path(), ListModel->fileName(item)));
}

void TMainForm::PageControl3Change()
{
    StopBrowsing(false);
    AddBtn->setEnabled(PageControl3->currentWidget() == TabSheet9);
    if (PageControl3->currentWidget() == TabSheet10)
        JamShellTree1Change();
}

// ---------------------------------------------------------------------------
// Preview box

void TMainForm::DibPrevPaintPaint()
{
    if (!PreviewDib.Bits)
        return;
    const int w = DibWidth(PreviewDib), h = DibHeight(PreviewDib);
    const QSize drawn = PreviewDrawSize(DibPrevPaint->size(), QSize(w, h));
    if (drawn.isEmpty())
        return;
    TDC dc(DibPrevPaint);
    DrawDib(dc, 0, 0, drawn.width(), drawn.height(), PreviewDib, 0, 0, w, h, true, SRCCOPY, true, HPALETTE());
}

// ---------------------------------------------------------------------------
// Favourite folders

void TMainForm::ReadPrefFolders()
{
    PrefListBox->clear();
    PrefListBox->addItems(ReadFavouritesFile(PrefFoldersFile));
}

void TMainForm::AddToPrefFolders(const QString &folder)
{
    QStringList folders;
    for (int i = 0; i < PrefListBox->count(); ++i)
        folders.append(PrefListBox->item(i)->text());
    folders = AddFavourite(folders, folder);
    PrefListBox->clear();
    PrefListBox->addItems(folders);
    WriteFavouritesFile(PrefFoldersFile, folders); // a failure is not reported
}

void TMainForm::PrefListBoxDblClick()
{
    const QListWidgetItem *item = PrefListBox->currentItem();
    if (item && item->isSelected())
        SetJamShellTree1Path(item->text());
}
