#pragma once
// The ways to files on the "Add picture" tab: the favourite folders, the
// folder tree, the file list that follows the tree with its type filter. The
// page lays the widgets out and hears of the folder and file chosen.
#include <QObject>
#include <QString>
#include <QStringList>

class QComboBox;
class QFileSystemModel;
class QListWidget;
class QTreeView;
class QWidget;

class FolderViews : public QObject
{
    Q_OBJECT
public:
    // Reads the favourites from `favouritesFile` and selects the first one
    // (or the start folder) in the tree.
    FolderViews(QWidget *parent, const QString &favouritesFile);

    QListWidget *FavouritesList = nullptr;
    QTreeView *FolderTree = nullptr;
    QTreeView *FileList = nullptr;
    QComboBox *FilterBox = nullptr;
    QFileSystemModel *TreeModel = nullptr; // folders only
    QFileSystemModel *ListModel = nullptr; // files of the selected folder and its subfolders
    QString FavouritesFile; // "folders.dat"

    // The tree's selected folder ending in '/'; empty when none is selected.
    [[nodiscard]] QString folderPath() const;
    // Selects folder in the tree; false (selection kept) when it is not a folder.
    bool setFolderPath(const QString &folder);
    void showFolderFiles();
    void filterChanged();
    // Names of the selected files (not folders) of the file list, in list order.
    [[nodiscard]] QStringList selectedFiles() const;
    void openCurrentFile();
    void readFavourites();
    void addFavourite(const QString &folder);
    void favouriteChosen();

signals:
    // Before the tree's current folder changes, by the user or the program.
    void folderChanging();
    // The tree's current folder changed; the file list shows it.
    void folderChanged();
    // A file of the list was opened (double click or Enter): its full path.
    void fileActivated(const QString &path);

private:
    void connectViews();
};
