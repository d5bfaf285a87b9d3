#pragma once
// The main window. It owns the one Arrangement (it *is* one) and hosts every
// command as a handler. Handlers are defined in the subsystem folders, one file
// per concern; this header groups their declarations under banners.
//
//  TMainForm
//  +- ToolBar1: NewBtn, OpenBtn, SaveBtn, SaveAsBtn | UndoAction, RedoAction
//  +- PageControl2 (main tabs)
//  |  +- TabSheet1 "Add picture": PrefListBox, JamShellTree1,
//  |  |     PageControl3 [TabSheet9 "File list": JamShellList1 |
//  |  |                   TabSheet10 "Picture browser": ScrollBox4 > PaintBox4, KeyEdit],
//  |  |     FilterComboBox1, DibPrevPaint, ImageList, AddBtn, DelBtn, ShowBtn, PrintBtn
//  |  +- TabSheet2 "Sort": SortBox, UpNow, DownNow, SortNameBtn
//  |  +- TabSheet3 "Arrange": ScrollBox1 > PaintBox1 (strip), Overtakeall, OrdeneBtn,
//  |  |     ZoomEd, PageCountED, APageEd, ScrollBox2 > PaintBox2 (page),
//  |  |     PageControl1 [TabSheet5 "Arrange photos" | TabSheet6 "Options" |
//  |  |                   TabSheet7 "Font settings" | TabSheet8 "Picture settings"]
//  |  +- TabSheet4 "Print/Save as image": ScrollBox3 > PaintBox3, GoBtn1, SetupBtn,
//  |        SaveBitBtn, BitDPIED, APageEd2
//  +- bottom bar: HomeBtn, ueberbtn/ueberBtn2, EndeBtn/EndeBtnDown
//  +- StatusBar1: StatusText (350 px), ProgressPanel (50 px, owner-drawn)
#include "browse/CacheFile.h"
#include "document/Arrangement.h"
#include "document/ArrangementFile.h"
#include "document/Options.h"
#include "document/Paths.h"
#include "document/RecentFiles.h"
#include "picture/DecodeBatch.h"
#include "picture/Progress.h"

#include <QMainWindow>
#include <QRect>

#include <functional>
#include <memory>
#include <optional>

class ArrangementUndo;
struct ArrangementState;
class QAction;
class QKeyEvent;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QTreeView;
class TColorBox;
class TImageButton;
class ThumbnailBrowser;
class TKeyGate;
class TKoordEdForm;
class QDrag;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QMimeData;
class TDC;
class TPaintBox;
class TViewPicForm;
struct CommandLineRequest;
class QPaintEvent;
class QShowEvent;

class TMainForm : public QMainWindow, public TArrangement
{
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // ---- Application shell ------------------------------------------------
    QString ProgramFolder; // ends in '/'
    DIB PreviewDib;
    QString PreviewFileName;
    int ProgressPercent = 0;
    QRect ProgressRect; // the progress panel's rectangle from its last paint
    bool EndePressed = false;
    bool UeberPressed = false;
    bool GoPressed = false;
    bool SetupPressed = false;
    bool UpdateGuard = false;

    QToolBar *ToolBar1 = nullptr;
    QToolButton *NewBtn = nullptr;
    QToolButton *OpenBtn = nullptr;
    QToolButton *SaveBtn = nullptr;
    QToolButton *SaveAsBtn = nullptr;
    QTabWidget *PageControl2 = nullptr;
    QWidget *TabSheet1 = nullptr; // "Add picture"
    QWidget *TabSheet2 = nullptr; // "Sort"
    QWidget *TabSheet3 = nullptr; // "Arrange"
    QWidget *TabSheet4 = nullptr; // "Print/Save as image"
    QPushButton *HomeBtn = nullptr;
    TImageButton *ueberbtn = nullptr;
    TImageButton *ueberBtn2 = nullptr;
    TImageButton *EndeBtn = nullptr;
    TImageButton *EndeBtnDown = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *StatusText = nullptr;      // first panel
    TPaintBox *ProgressPanel = nullptr; // second panel
    QTimer *Timer1 = nullptr;

    void Setsavedfilename(const QString &fileName);
    void SetProStatus(int percent);
    void WMUser(long long wParam, long long lParam);
    void Timer1Timer();
    void StatusBar1DrawPanel();
    bool FormCloseQuery();
    void FormKeyDown(QKeyEvent *event);
    void EndeBtnMouseDown(QMouseEvent *event);
    void EndeBtnMouseMove(QMouseEvent *event);
    void EndeBtnMouseUp(QMouseEvent *event);
    void ueberbtnMouseDown(QMouseEvent *event);
    void ueberbtnMouseMove(QMouseEvent *event);
    void ueberbtnMouseUp(QMouseEvent *event);
    void HomeBtnClick();
    // Window keys (app/MainKeys.cpp): they run only for keys no popup, menu or
    // dialog took (see TKeyGate).
    TKeyGate *Keys = nullptr;
    void connectKeys();
    void createToolTips();
    // The scroll area the wheel scrolls on the visible tab, or nullptr.
    QScrollArea *wheelTarget() const;
    // Reads the option controls into one value.
    ArrangementOptions options() const;
    TCaptionFont CaptionFont; // the font of FontDialog1
    // Settings kept between runs (app/MainSettings.cpp): restored once when the
    // window is first shown, saved when closing was allowed.
    void RestoreSettings();
    void SaveSettings();
    bool SettingsRestored = false;

    // ---- Document: collection ----------------------------------------------
    QListWidget *ImageList = nullptr;
    QPushButton *AddBtn = nullptr;
    QPushButton *DelBtn = nullptr;
    QPushButton *ShowBtn = nullptr; // "&Show big" on "Add picture"
    QPushButton *PrintBtn = nullptr;
    QListWidget *SortBox = nullptr;
    QPushButton *UpNow = nullptr;
    QPushButton *DownNow = nullptr;
    QPushButton *SortNameBtn = nullptr;

    // The picture viewer installs itself here; it gets a copy of PreviewDib
    // (sharing its pixels) and PreviewFileName. Unset: nothing is shown.
    std::function<void(const DIB &dib, const QString &fileName)> ShowBigHandler;

    void UpdateListBox();
    void AddBtnClick();
    void OpenFromBrowser(const QString &name);
    void openfilenow(const QString &path);
    void DelBtnClick();
    void UpNowClick();
    void DownNowClick();
    void SortNameBtnClick();
    void SortBoxDblClick();
    void ShowBtnClick();
    void ImageListDblClick();
    // Previews entry i unless it already is the preview, then hands it to the viewer.
    void ShowPictureBig(int index);
    // ImageList takes drags from the file list only; a drop adds its selection.
    bool ImageListDragOver(const QObject *source) const;
    void ImageListDragDrop(const QObject *source);
    // Escape: "Delete" is the window's cancel button while visible and enabled.
    void CancelKey();

    // Arrangement file commands (document/FileHandlers.cpp).
    void NewBtnClick();
    void OpenBtnClick();
    void SaveBtnClick();
    void SaveAsBtnClick();
    // Writes the arrangement to path; false (reported, old file kept) on failure.
    bool SaveFile(const QString &path);
    // What SaveFile writes for a file at path.
    ArrangementData FileRecord(const QString &path);
    // Replaces the arrangement with the file's; a file that cannot be read is
    // reported and the current arrangement stays.
    void OpenFile(const QString &path);

    // Undo and redo (document/UndoHandlers.cpp): every change of the
    // arrangement goes through Undo; New and Open start it afresh.
    std::unique_ptr<ArrangementUndo> Undo;
    QAction *UndoAction = nullptr;
    QAction *RedoAction = nullptr;
    ArrangementState captureState() const;
    void restoreState(const ArrangementState &state);
    // Sets the option controls (and the caption font) to o.
    void setOptions(const ArrangementOptions &o);
    // Unsaved changes: the title shows them and leaving asks first.
    bool isModified() const;
    void createUndo();
    void connectUndo();

    // ---- Page arrangement ---------------------------------------------------
    QScrollArea *ScrollBox1 = nullptr;
    TPaintBox *PaintBox1 = nullptr; // picture strip
    QScrollArea *ScrollBox2 = nullptr;
    TPaintBox *PaintBox2 = nullptr; // arrange view
    QPushButton *Overtakeall = nullptr;
    QPushButton *OrdeneBtn = nullptr;
    QSpinBox *ZoomEd = nullptr;
    QSpinBox *PageCountED = nullptr;
    QSpinBox *APageEd = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet5 = nullptr; // "Arrange photos"
    QWidget *TabSheet6 = nullptr; // "Options"
    QWidget *TabSheet7 = nullptr; // "Font settings"
    QWidget *TabSheet8 = nullptr; // "Picture settings"
    QLineEdit *FreeText = nullptr;
    QCheckBox *CutCheck = nullptr;
    QPushButton *RotLeftBtn = nullptr;
    QPushButton *RotRightBtn = nullptr;
    QPushButton *HellKonBtn = nullptr;
    QPushButton *DelitBtn = nullptr;
    QPushButton *ShowBigBtn = nullptr;
    QPushButton *ChangePosSizeBtn = nullptr;
    QDoubleSpinBox *RandEd = nullptr;
    QDoubleSpinBox *RandEDin = nullptr;
    QDoubleSpinBox *SpaceED = nullptr;
    QDoubleSpinBox *SpaceEdin = nullptr;
    QCheckBox *UseGridCheck = nullptr;
    QCheckBox *ShowGridCheck = nullptr;
    QDoubleSpinBox *GridEd = nullptr;
    QDoubleSpinBox *GridEDin = nullptr;
    QDoubleSpinBox *DBreiteED = nullptr;
    QDoubleSpinBox *DBreiteEdin = nullptr;
    QDoubleSpinBox *DHocheED = nullptr;
    QDoubleSpinBox *DHocheEdin = nullptr;
    QCheckBox *ShowFNames = nullptr;
    QCheckBox *TranspCheck = nullptr;
    TColorBox *BkColBox = nullptr;
    QPushButton *FontBtn = nullptr; // "Choose font"
    // Opens the font dialog on the caption font; the choice becomes the caption font.
    void FontBtnClick();
    QCheckBox *SverhCheck = nullptr;
    QCheckBox *CutDefault = nullptr;
    QCheckBox *EnhanceQualCheck = nullptr;
    QSpinBox *MinQualEd = nullptr;
    QMenu *BildPopup = nullptr;
    QAction *Nachlinksrotieren901 = nullptr;
    QAction *Nachrechtsrotieren901 = nullptr;
    QAction *Lschen1 = nullptr;
    QAction *HelligkeitKontrastundSttigung1 = nullptr;

    void UpdateSelectionControls();
    void ChangeFreeText();
    void ShowSizeInfo();
    // Repaints the arrange view / the picture strip / the preview at once.
    void repaintArrangeView();
    void repaintStrip();
    void repaintPreview();

    // Page geometry (arrange/PageControls.cpp): read afresh from the printer,
    // the screen and the edits at every call.
    int ScreenDpiOverride = 0; // tests: a fixed screen resolution; 0 = PaintBox1's
    int ScreenDpi() const;
    int PrinterDpi() const;
    int PageWidth() const;  // printable area, printer pixels
    int PageHeight() const;
    QSize ArrangeViewSize() const;
    int ToView(double inch) const;
    double FromView(int pixels) const;
    double SnapToGrid(double inch) const;
    void ZoomEdChange();
    void PageCountEDChange();
    void APageEdChange();
    void APageEd2Change();
    void RandEdChange();
    void RandEDinChange();
    void SpaceEDChange();
    void SpaceEdinChange();
    void GridEdChange();
    void GridEDinChange();
    void DBreiteEDChange();
    void DBreiteEdinChange();
    void DHocheEDChange();
    void DHocheEdinChange();

    // Arrange view and picture strip (arrange/ArrangeView.cpp).
    std::int32_t DragMode = 0; // 0 none, 1..8 handles, 9 move
    std::int32_t Dragging = 0; // 1 while the selected placement is dragged
    std::int32_t GrabDX = 0;   // view pixels between the press and the grabbed edge
    std::int32_t GrabDY = 0;
    void PaintBox2Paint(QPaintEvent *event);
    void PaintBox1Paint(QPaintEvent *event);
    void ScrollBox1Resize();
    void ScrollBox2Resize();
    // Resizes the arrange view / the strip when its computed size differs;
    // false means it was resized and this paint ends.
    bool syncArrangeViewSize();
    bool syncStripSize();
    // Draws the current page (white paper, grid, placements, selection marks)
    // within `clip`, view pixels.
    void paintArrangeView(TDC &dc, const QRect &clip);
    // Draws the strip's visible cells; rows outside [visibleTop, visibleTop + visibleHeight) are skipped.
    void paintStrip(TDC &dc, int visibleTop, int visibleHeight);

    // Placement editing (arrange/PlacementEditing.cpp).
    std::optional<Placement> DragOrigin; // the dragged placement as the drag found it; drawn there until release
    int ArrangeCursor = 0;   // screen cursor index shown over the arrange view, 0 = none yet
    // Runs the strip's drag; unset, QDrag::exec. Tests answer it instead.
    std::function<void(QDrag *drag)> ExecStripDrag;
    void PaintBox1MouseDown(int X, int Y);
    void PaintBox1DblClick();
    bool PaintBox2DragOver(const QObject *source, const QMimeData *mime) const;
    void PaintBox2DragDrop(const QObject *source, const QMimeData *mime, int X, int Y);
    void PaintBox2MouseDown(Qt::MouseButton button, int X, int Y);
    void PaintBox2MouseMove(int X, int Y);
    void PaintBox2MouseUp(int X, int Y);
    void setdragmod(int X, int Y);
    void dragit(int X, int Y);
    void BringAkInFront();
    void FreeTextChange();
    void CutCheckClick();
    void Lschen1Click();
    void DelitBtnClick();
    // Places picture `index` of the collection on the current page at (left, top)
    // inches with the default size and selects it; false for an invalid index.
    bool placePicture(int index, double left, double top);
    void selectPlacement(int index);
    void clearSelection();
    // A selection is only acted on where it can be seen: one on a page other
    // than the current one is cleared (without a repaint).
    void dropSelectionOffPage();
    void setArrangeCursor(int index);
    // Repaints the thin bands under a drag outline (view pixels).
    void repaintDragOutline(const QRect &frame);

    // Keys of the arrange view and the page zoom (arrange/ViewKeys.cpp).
    // True when the view used the key.
    bool PaintBox2KeyDown(QKeyEvent *event);
    // Moves the selection by steps of the grid, or of one view pixel with the grid off.
    void nudgeSelection(int dx, int dy);
    void ZoomIn();
    void ZoomOut();
    // The largest zoom at which the whole page fits the view's scroll box.
    void ZoomToFit();

    // Automatic arrangement (arrange/AutoArrange.cpp).
    void OrdeneBtnClick();
    void OvertakeallClick();

    // Size and position dialog (arrange/KoordFUnit.h); created with the window.
    TKoordEdForm *KoordEdForm = nullptr;
    void ChangePosSizeBtnClick();

    // ---- Picture processing -------------------------------------------------
    // Enlarges an entry's picture so that it reaches the minimum quality across a
    // frame `frameWidth` inches wide (the height follows the picture's aspect).
    void Changequal(PictureEntry &entry, double frameWidth, double frameHeight);
    // Before printing or exporting pages: names the pictures whose files
    // changed or are gone; false when the user then cancels.
    bool AcceptChangedPictures(int firstPage, int lastPage);
    void Checkallquals();
    void Nachlinksrotieren901Click();
    void Nachrechtsrotieren901Click();
    void RotLeftBtnClick();
    void RotRightBtnClick();
    void HelligkeitKontrastundSttigung1Click();
    void HellKonBtnClick();
    // Turns the selected placement's picture a quarter to the left or right.
    void TurnSelectedPicture(bool left);
    // Feeds a pixel operation's progress to SetProStatus, repainting only on change.
    ProgressFn ProgressToStatusBar();

    // ---- Output --------------------------------------------------------------
    QScrollArea *ScrollBox3 = nullptr;
    TPaintBox *PaintBox3 = nullptr; // 1:1 preview
    TImageButton *GoBtn1 = nullptr;
    TImageButton *GoBtn1Down = nullptr;
    TImageButton *SetupBtn = nullptr;
    TImageButton *SetupBtnDown = nullptr;
    QPushButton *SaveBitBtn = nullptr;
    QSpinBox *BitDPIED = nullptr;
    QSpinBox *APageEd2 = nullptr;

    // Print job and printer setup (output/PrintJob.cpp).
    void GoBtn1Click();
    void SetupBtnClick();
    void GoBtn1MouseDown(QMouseEvent *event);
    void GoBtn1MouseMove(QMouseEvent *event);
    void GoBtn1MouseUp(QMouseEvent *event);
    void SetupBtnMouseDown(QMouseEvent *event);
    void SetupBtnMouseMove(QMouseEvent *event);
    void SetupBtnMouseUp(QMouseEvent *event);

    // 1:1 preview (output/PrintPreview.cpp).
    bool PreviewDragging = false;
    QPoint PreviewGrab; // pointer at mouse down, preview pixels
    int PreviewDpiX() const; // the main window's logical resolution
    int PreviewDpiY() const;
    QSize PreviewPageSize() const;
    // Resizes the preview when its computed size differs; false means it was
    // resized and this paint ends.
    bool syncPreviewSize();
    // Draws the current page on a white sheet of the preview's size.
    void paintPreview(TDC &dc);
    void PaintBox3Paint(QPaintEvent *event);
    void ScrollBox3Resize();
    void PaintBox3MouseDown(QMouseEvent *event);
    void PaintBox3MouseMove(QMouseEvent *event);
    void PaintBox3MouseUp(QMouseEvent *event);
    // Saves the current page as a picture file at BitDPIED dots per inch.
    void SaveBitBtnClick();

    // Single picture print and the picture viewer (output/PrintFUnit.cpp,
    // output/ViewPicFUnit.cpp). The viewer lives as long as the window.
    TViewPicForm *ViewPicForm = nullptr;
    void CreatePictureViewer(); // also makes it the ShowBigHandler
    void PrintBtnClick();
    void ShowBigBtnClick();

    // ---- Picture browsing ---------------------------------------------------
    QListWidget *PrefListBox = nullptr;
    QTreeView *JamShellTree1 = nullptr;
    QTabWidget *PageControl3 = nullptr;
    QWidget *TabSheet9 = nullptr;  // "File list"
    QWidget *TabSheet10 = nullptr; // "Picture browser"
    QTreeView *JamShellList1 = nullptr;
    QScrollArea *ScrollBox4 = nullptr;
    TPaintBox *PaintBox4 = nullptr; // thumbnail grid
    QLineEdit *KeyEdit = nullptr;
    QComboBox *FilterComboBox1 = nullptr;
    TPaintBox *DibPrevPaint = nullptr;
    QFileSystemModel *TreeModel = nullptr; // folders only
    QFileSystemModel *ListModel = nullptr; // files of the selected folder and its subfolders
    QString PrefFoldersFile;               // "folders.dat"; tests point it elsewhere

    // The tree's selected folder ending in '/'; empty when none is selected.
    QString JamShellTree1Path() const;
    // Selects folder in the tree; false (selection kept) when it is not a folder.
    bool SetJamShellTree1Path(const QString &folder);
    void JamShellTree1Changing();
    void JamShellTree1Change();
    void FilterComboBox1Change();
    // Names of the selected files (not folders) of the file list, in list order.
    QStringList JamShellList1SelectedFiles() const;
    void JamShellList1DblClick();
    void PageControl3Change();
    void DibPrevPaintPaint();
    void AddToPrefFolders(const QString &folder);
    void PrefListBoxDblClick();
    void ReadPrefFolders();

    // Thumbnail browser: the grid here (browse/ThumbBrowser.cpp), the walk, its
    // list and cache in the component (browse/ThumbnailBrowser.h).
    ThumbnailBrowser *Browser = nullptr;
    std::int32_t Selection = 1; // 1-based; beyond the count: nothing selected
    std::int32_t PaintFrom = 0; // non-zero: paint only cells from this index
    const ThumbList &Thumbs() const;
    void PaintBox4Paint(QPaintEvent *event);
    void PaintBox4MouseDown(QMouseEvent *event);
    void PaintBox4DblClick();
    void KeyEditKeyDown(QKeyEvent *event);
    void ScrollImageInView();
    void ScrollBox4Resize();
    // Sizes the grid to the scroll box; false when it was resized.
    bool syncThumbGridSize();
    void ShowThumbStatus();
    // Paints thumbnail `index`, just appended by the walk.
    void NewFile(int index);
    void ThreadDone();
    void StartBrowsing();
    void Startbrowsing();
    // Asks a running walk to stop; restart: begin the selected folder's walk then.
    void StopBrowsing(bool restart);
    // Stops the walk without waiting, for the window's end.
    void EndBrowsing();
    void EmptyThumbs();
    void connectBrowser();

    // ---- Desktop: command line, files from a file manager -------------------
    // (app/DesktopFiles.cpp)
    void ApplyCommandLine(const CommandLineRequest &request);
    // Decodes a picture and appends it, turned as the camera recorded when that
    // option is on; a failure is reported. The new entry's index, or -1.
    int AddPictureFile(const QString &path);
    // The same for a picture decoded already (nil: the failure is reported).
    int AddPictureFile(const QString &path, DIB dib);
    int AddPictureFile(const QString &path, DecodedPicture picture);
    // Adds each file in order; the number added.
    int AddPictureFiles(const QStringList &paths);
    // Opens an arrangement handed over from outside after the Open question.
    void OpenArrangementAsked(const QString &path);
    // Dropped files: any drop with local files is taken; an arrangement among
    // them is opened, pictures are added (and placed at `at`, view pixels, when
    // dropped on the arrange view).
    bool FileDropAccepted(const QMimeData *mime) const;
    void DropFilesOnWindow(const QMimeData *mime);
    void DropFilesOnPictures(const QMimeData *mime);
    void DropFilesOnArrangeView(const QMimeData *mime, int X, int Y);
    QCheckBox *TurnCameraCheck = nullptr; // "Turn pictures as the camera recorded"
    QSpinBox *PictureMemoryEd = nullptr; // MB for full pictures held for zoomed views and the viewer
    // Arrangements last opened or saved: the drop-down of "Open..." (app/RecentMenu.cpp).
    TRecentFiles RecentFiles;
    QMenu *RecentMenu = nullptr;
    void AddRecentFile(const QString &path);
    void UpdateRecentMenu();
    // Opens a listed arrangement after the Open question; one that is gone is
    // dropped from the list with a message.
    void OpenRecentFile(const QString &path);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void layoutTabs();
    void connectSignals();
    void connectCollection();
    void connectFolderViews();
    void connectDesktop();
    void FormCreate();
    void FormDestroy();
    bool Closing = false;
};

// Shown in the title bar before the arrangement's file name.
inline constexpr const char *ProductTitle = "QUORVEX Snapgrid-Atlas 4.0";
// "QUORVEX Snapgrid-Atlas 4.0 - [name.sga]"; an empty name shows "Noname.sga".
// With unsaved changes a '*' follows the name: "... - [name.sga*]".
QString MainTitle(const QString &fileName, bool modified = false);
// Names the application for its settings and the window system. It sets no
// display name: the window system would append that to every window title.
void SetApplicationNames();
// The filled part of the progress panel for a percentage (0..100).
QRect ProgressBarRect(const QRect &panel, int percent);
