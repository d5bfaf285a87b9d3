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
    , PrefFoldersFile(favouritesFile)
{
    PrefListBox = new QListWidget(parent);
    JamShellTree1 = new QTreeView(parent);
    JamShellList1 = new QTreeView(parent);
    JamShellList1->setRootIsDecorated(false);
    JamShellList1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    JamShellList1->setDragEnabled(true);
    FilterComboBox1 = new QComboBox(parent);
    FilterComboBox1->setToolTip(tr("Here you can select the displayed file types"));
    connectViews();
    for (const FileFilterPair &pair : ParseFilterList(PictureFilterList()))
        FilterComboBox1->addItem(pair.Description, pair.Mask);
    FilterComboBox1->setCurrentIndex(0);
    ReadPrefFolders();
    SetJamShellTree1Path(StartFolder(PrefListBox->count() > 0 ? PrefListBox->item(0)->text() : QString()));
}

void FolderViews::connectViews()
{
    TreeModel = new QFileSystemModel(this);
    TreeModel->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    TreeModel->setRootPath(QDir::rootPath());
    JamShellTree1->setModel(TreeModel);
    for (int column = 1; column < TreeModel->columnCount(); ++column)
        JamShellTree1->hideColumn(column);
    JamShellTree1->setHeaderHidden(true);
    QItemSelectionModel *plain = JamShellTree1->selectionModel();
    auto *selection = new TreeSelection(TreeModel, JamShellTree1, [this] { emit folderChanging(); });
    JamShellTree1->setSelectionModel(selection);
    delete plain;
    connect(selection, &QItemSelectionModel::currentChanged, this, &FolderViews::JamShellTree1Change);

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
    connect(JamShellList1, &QTreeView::doubleClicked, this, &FolderViews::JamShellList1DblClick);
    new TEventHook(JamShellList1, [this](QEvent *e) {
        if (!isEnterKey(e))
            return false;
        JamShellList1DblClick();
        return true;
    });

    connect(FilterComboBox1, &QComboBox::currentIndexChanged, this, &FolderViews::FilterComboBox1Change);
    connect(PrefListBox, &QListWidget::doubleClicked, this, &FolderViews::PrefListBoxDblClick);
    new TEventHook(PrefListBox, [this](QEvent *e) {
        if (!isEnterKey(e))
            return false;
        PrefListBoxDblClick();
        return true;
    });
}

// ---------------------------------------------------------------------------
// Folder tree

QString FolderViews::JamShellTree1Path() const
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

bool FolderViews::SetJamShellTree1Path(const QString &folder)
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

void FolderViews::JamShellTree1Change()
{
    const QString folder = JamShellTree1Path();
    if (folder.isEmpty())
        return;
    JamShellList1->clearSelection();
    JamShellList1->setRootIndex(ListModel->setRootPath(QDir::cleanPath(folder)));
    emit folderChanged();
}

// ---------------------------------------------------------------------------
// File list

void FolderViews::FilterComboBox1Change()
{
    ListModel->setNameFilters(MaskNameFilters(FilterComboBox1->currentData().toString()));
}

QStringList FolderViews::JamShellList1SelectedFiles() const
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

void FolderViews::JamShellList1DblClick()
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
    emit fileActivated(JoinFolder(JamShellTree1Path(), ListModel->fileName(item)));
}

// ---------------------------------------------------------------------------
// Favourite folders

void FolderViews::ReadPrefFolders()
{
    PrefListBox->clear();
    PrefListBox->addItems(ReadFavouritesFile(PrefFoldersFile));
}

void FolderViews::AddToPrefFolders(const QString &folder)
{
    QStringList folders;
    for (int i = 0; i < PrefListBox->count(); ++i)
        folders.append(PrefListBox->item(i)->text());
    folders = AddFavourite(folders, folder);
    PrefListBox->clear();
    PrefListBox->addItems(folders);
    WriteFavouritesFile(PrefFoldersFile, folders); // a failure is not reported
}

void FolderViews::PrefListBoxDblClick()
{
    const QListWidgetItem *item = PrefListBox->currentItem();
    if (item && item->isSelected())
        SetJamShellTree1Path(item->text());
}
