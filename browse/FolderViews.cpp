#include "browse/FolderViews.h"

#include "browse/Favourites.h"
#include "browse/FileFilter.h"
#include "document/Paths.h"
#include "platform/EventHook.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListWidget>
#include <QTreeView>

#include <algorithm>
#include <functional>

namespace {
// Tells before the tree's current folder changes, whether the user or the
// program changes it.
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

FolderViews::FolderViews(QWidget *parent, const QString &favouritesFile)
    : QObject(parent)
    , FavouritesFile(favouritesFile)
{
    FavouritesList = new QListWidget(parent);
    FolderTree = new QTreeView(parent);
    FileList = new QTreeView(parent);
    FileList->setRootIsDecorated(false);
    FileList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FileList->setDragEnabled(true);
    FilterBox = new QComboBox(parent);
    FilterBox->setToolTip(tr("Here you can select the displayed file types"));
    connectViews();
    for (const FileFilterPair &pair : ParseFilterList(PictureFilterList()))
        FilterBox->addItem(pair.Description, pair.Mask);
    FilterBox->setCurrentIndex(0);
    readFavourites();
    setFolderPath(StartFolder(FavouritesList->count() > 0 ? FavouritesList->item(0)->text() : QString()));
}

void FolderViews::connectViews()
{
    TreeModel = new QFileSystemModel(this);
    TreeModel->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    TreeModel->setRootPath(QDir::rootPath());
    FolderTree->setModel(TreeModel);
    for (int column = 1; column < TreeModel->columnCount(); ++column)
        FolderTree->hideColumn(column);
    FolderTree->setHeaderHidden(true);
    QItemSelectionModel *plain = FolderTree->selectionModel();
    auto *selection = new TreeSelection(TreeModel, FolderTree, [this] { emit folderChanging(); });
    FolderTree->setSelectionModel(selection);
    delete plain;
    connect(selection, &QItemSelectionModel::currentChanged, this, &FolderViews::showFolderFiles);

    ListModel = new QFileSystemModel(this);
    ListModel->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot); // no QDir::CaseSensitive
    ListModel->setNameFilterDisables(false);
    FileList->setModel(ListModel);
    FileList->setItemsExpandable(false);
    FileList->setExpandsOnDoubleClick(false);
    FileList->setSortingEnabled(true);
    FileList->sortByColumn(0, Qt::AscendingOrder);
    FileList->setDragDropMode(QAbstractItemView::DragOnly);
    FileList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FileList->header()->resizeSection(0, 240);
    connect(FileList, &QTreeView::doubleClicked, this, &FolderViews::openCurrentFile);
    new TEventHook(FileList, [this](QEvent *e) {
        if (!isEnterKey(e))
            return false;
        openCurrentFile();
        return true;
    });

    connect(FilterBox, &QComboBox::currentIndexChanged, this, &FolderViews::filterChanged);
    connect(FavouritesList, &QListWidget::doubleClicked, this, &FolderViews::favouriteChosen);
    new TEventHook(FavouritesList, [this](QEvent *e) {
        if (!isEnterKey(e))
            return false;
        favouriteChosen();
        return true;
    });
}

// ---------------------------------------------------------------------------
// Folder tree

QString FolderViews::folderPath() const
{
    const QModelIndex current = FolderTree->currentIndex();
    if (!current.isValid())
        return {};
    QString path = TreeModel->filePath(current);
    if (path.isEmpty())
        return {};
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

bool FolderViews::setFolderPath(const QString &folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return false;
    const QModelIndex index = TreeModel->index(QDir::cleanPath(info.absoluteFilePath()));
    if (!index.isValid())
        return false;
    FolderTree->setCurrentIndex(index);
    FolderTree->scrollTo(index); // expands its parents
    return true;
}

void FolderViews::showFolderFiles()
{
    const QString folder = folderPath();
    if (folder.isEmpty())
        return;
    FileList->clearSelection();
    FileList->setRootIndex(ListModel->setRootPath(QDir::cleanPath(folder)));
    emit folderChanged();
}

// ---------------------------------------------------------------------------
// File list

void FolderViews::filterChanged()
{
    ListModel->setNameFilters(MaskNameFilters(FilterBox->currentData().toString()));
}

QStringList FolderViews::selectedFiles() const
{
    const QModelIndex root = FileList->rootIndex();
    QModelIndexList rows = FileList->selectionModel()->selectedRows(0);
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

void FolderViews::openCurrentFile()
{
    QModelIndex item = FileList->currentIndex().siblingAtColumn(0);
    const QItemSelectionModel *selection = FileList->selectionModel();
    if (!item.isValid() || !selection->isRowSelected(item.row(), item.parent())) {
        const QModelIndexList rows = selection->selectedRows(0);
        if (rows.isEmpty())
            return;
        item = *std::min_element(rows.begin(), rows.end(),
                                 [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    }
    if (ListModel->isDir(item)) {
        setFolderPath(ListModel->filePath(item));
        return;
    }
    emit fileActivated(JoinFolder(folderPath(), ListModel->fileName(item)));
}

// ---------------------------------------------------------------------------
// Favourite folders

void FolderViews::readFavourites()
{
    FavouritesList->clear();
    FavouritesList->addItems(ReadFavouritesFile(FavouritesFile));
}

void FolderViews::addFavourite(const QString &folder)
{
    QStringList folders;
    for (int i = 0; i < FavouritesList->count(); ++i)
        folders.append(FavouritesList->item(i)->text());
    folders = AddFavourite(folders, folder);
    FavouritesList->clear();
    FavouritesList->addItems(folders);
    WriteFavouritesFile(FavouritesFile, folders); // a failure is not reported
}

void FolderViews::favouriteChosen()
{
    const QListWidgetItem *item = FavouritesList->currentItem();
    if (item && item->isSelected())
        setFolderPath(item->text());
}
