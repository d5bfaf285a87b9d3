#pragma once
// The "Add picture" tab: favourite folders and the folder tree, the file list
// or the thumbnail browser of the chosen folder, a preview of the picture
// last opened, and the collection with its buttons.
//
//  CollectionPage
//  +- Folders: PrefListBox, JamShellTree1
//  +- PageControl3 [TabSheet9 "File list": JamShellList1 | Grid "Picture browser"], FilterComboBox1
//  +- DibPrevPaint, ImageList, AddBtn, DelBtn, ShowBtn, PrintBtn
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

    ArrangementDocument &Doc;
    PageServices &Services;
    FolderViews *Folders = nullptr;
    ThumbGrid *Grid = nullptr; // the "Picture browser" page
    QTabWidget *PageControl3 = nullptr;
    QWidget *TabSheet9 = nullptr; // "File list"
    TPaintBox *DibPrevPaint = nullptr;
    QListWidget *ImageList = nullptr;
    // Rows selected in ImageList (collection entries), in collection order.
    [[nodiscard]] std::vector<int> selectedPictures() const;
    QPushButton *AddBtn = nullptr;
    QPushButton *DelBtn = nullptr;
    QPushButton *ShowBtn = nullptr; // "&Show big"
    QPushButton *PrintBtn = nullptr;
    // The picture last opened for the preview; white 320 x 200 at the start.
    DIB PreviewDib;
    QString PreviewFileName;

    // The scroll area the wheel scrolls while this tab is shown, or nullptr.
    [[nodiscard]] QScrollArea *wheelTarget() const;

    // Lists the collection's names, the first one selected.
    void UpdateListBox();
    void AddBtnClick();
    // Adds the browser's picture `name` of the tree's folder.
    void OpenFromBrowser(const QString &name);
    // Opens a picture file for the preview; a failure is reported.
    void openfilenow(const QString &path);
    void DelBtnClick();
    void ShowBtnClick();
    void ImageListDblClick();
    // Previews entry i unless it already is the preview, then shows it large.
    void ShowPictureBig(int index);
    // ImageList takes drags from the file list only; a drop adds its selection.
    bool ImageListDragOver(const QObject *source) const;
    void ImageListDragDrop(const QObject *source);
    // Files from a file manager dropped on the list: an arrangement is opened
    // (after the question), pictures are added.
    void DropFilesOnPictures(const QMimeData *mime);
    void PrintBtnClick();
    void PageControl3Change();
    void JamShellTree1Changing();
    void JamShellTree1Change();
    void DibPrevPaintPaint();

    void loadSettings(const MainFormSettings &m);
    void saveSettings(MainFormSettings &m) const;

private:
    void layoutPage();
    void connectSignals();
};
