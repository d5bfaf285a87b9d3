#pragma once
// The "Add picture" tab: favourite folders and the folder tree, the file list
// or the thumbnail browser of the chosen folder, a preview of the picture
// last opened, and the collection with its buttons.
//
//  CollectionPage
//  +- Folders: FavouritesList, FolderTree
//  +- SourceTabs [FileListTab "File list": FileList | Grid "Picture browser"], FilterBox
//  +- PreviewBox, PictureList, AddBtn, DelBtn, ShowBtn, PrintBtn
#include "document/ArrangementDocument.h"

#include <QWidget>
#include <vector>

class FolderViews;
class PageServices;
class QListWidget;
class QMimeData;
class QPushButton;
class QScrollArea;
class QTabWidget;
class TPaintBox;
class ThumbGrid;
struct MainFormSettings;

class CollectionPage : public QWidget
{
    Q_OBJECT
public:
    CollectionPage(ArrangementDocument &doc, PageServices &services, QWidget *parent = nullptr);
    ~CollectionPage() override;

    [[nodiscard]] FolderViews &folders() const { return *Folders; }
    [[nodiscard]] ThumbGrid &grid() const { return *Grid; } // the "Picture browser" page
    // The scroll area the wheel scrolls while this tab is shown, or nullptr.
    [[nodiscard]] QScrollArea *wheelTarget() const;

    // The folder's files as a list ("File list") or as thumbnails ("Picture browser").
    [[nodiscard]] bool showsFileList() const;
    void showFileList(bool list);
    // The collection's names as listed, the current row, and the rows
    // selected (collection entries, in collection order).
    [[nodiscard]] QStringList listedNames() const;
    [[nodiscard]] int currentPicture() const;
    void setCurrentPicture(int row);
    [[nodiscard]] std::vector<int> selectedPictures() const;
    void selectPictures(const std::vector<int> &rows);
    // The picture last opened for the preview; white 320 x 200 at the start.
    [[nodiscard]] const DIB &previewDib() const { return PreviewDib; }
    [[nodiscard]] const QString &previewFileName() const { return PreviewFileName; }

    // Lists the collection's names, the first one selected.
    void listPictures();
    void addSelectedFiles();
    // Adds the browser's picture `name` of the tree's folder.
    void addBrowserPicture(const QString &name);
    // Opens a picture file for the preview; a failure is reported.
    void openForPreview(const QString &path);
    void deleteSelectedPictures();
    void showCurrentBig();
    void previewCurrent();
    // Previews entry i unless it already is the preview, then shows it large.
    void showPictureBig(int index);
    // The list takes drags from the file list only; a drop adds its selection.
    bool acceptsDrag(const QObject *source) const;
    void dropFromFileList(const QObject *source);
    // Files from a file manager dropped on the list: an arrangement is opened
    // (after the question), pictures are added.
    void dropFiles(const QMimeData *mime);
    void printCurrentPicture();

    void loadSettings(const MainFormSettings &m);
    void saveSettings(MainFormSettings &m) const;

signals:
    // The file list or the picture browser came to the front.
    void filePageChanged();

private:
    void createControls();
    void layoutPage();
    void connectSignals();
    void sourceTabChanged();
    void beforeFolderChange();
    void afterFolderChange();
    void previewPaint();

    ArrangementDocument &Doc;
    PageServices &Services;
    FolderViews *Folders = nullptr;
    ThumbGrid *Grid = nullptr;
    QTabWidget *SourceTabs = nullptr;
    QWidget *FileListTab = nullptr; // "File list"
    TPaintBox *PreviewBox = nullptr;
    QListWidget *PictureList = nullptr;
    QPushButton *AddBtn = nullptr;
    QPushButton *DelBtn = nullptr;
    QPushButton *ShowBtn = nullptr; // "&Show big"
    QPushButton *PrintBtn = nullptr;
    DIB PreviewDib;
    QString PreviewFileName;
};
