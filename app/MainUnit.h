#pragma once
// The main window: a table of contents. It owns the document, the four tab
// pages, the tool bar, the status bar, the keys, the recent files and the
// settings; the established handler names forward to the page or the document
// that does the work.
//
//  TMainForm (every command an action of Actions)
//  +- ToolBar1: NewBtn, OpenBtn (recent files), SaveBtn, SaveAsBtn | Undo, Redo
//  +- PageControl2: CollectionTab "Add picture" | SortTab "Sort" | ArrangeTab "Arrange" |
//  |                PrintTab "Print/Save as image"
//  +- bottom bar: HomeBtn, ueberbtn/ueberBtn2, EndeBtn/EndeBtnDown
//  +- StatusBar1: StatusText, ProgressPanel
#include "app/ActionRegistry.h"
#include "app/FileCommands.h"
#include "document/ArrangementDocument.h"
#include "document/RecentFiles.h"
#include "document/Recovery.h"
#include "pages/ArrangePage.h"
#include "pages/CollectionPage.h"
#include "pages/PageServices.h"
#include "pages/PrintPage.h"
#include "pages/SortPage.h"
#include "platform/ProgressPanel.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QToolBar;
class QToolButton;
class SoftProofView;
class THeldDrops;
class TImageButton;
class TKeyGate;
class TPrinter;
class PictureViewer;
struct CommandLineRequest;

class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    ArrangementDocument *Doc = nullptr;
    // The window's printer and the views' soft proof, handed to the pages;
    // both are used on the interface thread only.
    [[nodiscard]] TPrinter &printer() { return *OwnPrinter; }
    [[nodiscard]] SoftProofView &softProof() { return *Proof; }
    PageServices Services; // what the pages are given of the window
    FileCommands *Files = nullptr;
    TRecentFiles RecentFiles; // the drop-down of "Open..."
    // The picture viewer by default; tests look at what it is given instead.
    std::function<void(const DIB &dib, const QString &fileName)> ShowBigHandler;
    int ScreenDpiOverride = 0; // tests: a fixed screen resolution; 0 = the window's

    // ---- The window's parts, for what drives it from outside ---------------
    enum class Tab { Collection, Sort, Arrange, Print };
    void showTab(Tab tab);
    [[nodiscard]] Tab shownTab() const;
    [[nodiscard]] CollectionPage &collectionPage() const { return *CollectionTab; }
    [[nodiscard]] SortPage &sortPage() const { return *SortTab; }
    [[nodiscard]] ArrangePage &arrangePage() const { return *ArrangeTab; }
    [[nodiscard]] PrintPage &printPage() const { return *PrintTab; }
    // Every command of the window, as the tool bar, the pages and the keys run it.
    [[nodiscard]] QAction *action(Command command) const;
    [[nodiscard]] QString statusText() const;
    [[nodiscard]] int progressPercent() const;
    [[nodiscard]] THeldDrops &heldDrops() const { return *HeldDrops; }
    // The entries of the drop-down of "Open...".
    [[nodiscard]] QList<QAction *> recentFileActions() const;

    // ---- Window -------------------------------------------------------------
    void Setsavedfilename(const QString &fileName);
    void SetProStatus(int percent);
    void WMUser(long long wParam, long long lParam);
    bool FormCloseQuery();
    void FormKeyDown(QKeyEvent *event);
    void EndeBtnMouseDown(QMouseEvent *event);
    void EndeBtnMouseMove(QMouseEvent *event);
    void EndeBtnMouseUp(QMouseEvent *event);
    void ueberbtnMouseDown(QMouseEvent *event);
    void ueberbtnMouseMove(QMouseEvent *event);
    void ueberbtnMouseUp(QMouseEvent *event);
    void HomeBtnClick();
    // The scroll area the wheel scrolls on the visible tab, or nullptr.
    [[nodiscard]] QScrollArea *wheelTarget() const;
    // Settings kept between runs: restored once when the window is first
    // shown, saved when closing was allowed; each page keeps its own part.
    void RestoreSettings();
    void SaveSettings();
    void AddRecentFile(const QString &path);
    void UpdateRecentMenu();
    // Opens a listed arrangement after the Open question; one that is gone is
    // dropped from the list with a message.
    void OpenRecentFile(const QString &path);

    // ---- Established handlers, forwarded ---------------------------------
    void NewBtnClick() { Files->NewBtnClick(); }
    void OpenBtnClick() { Files->OpenBtnClick(); }
    void SaveBtnClick() { Files->SaveBtnClick(); }
    void SaveAsBtnClick() { Files->SaveAsBtnClick(); }
    bool SaveFile(const QString &path) { return Files->SaveFile(path); }
    void OpenFile(const QString &path) { Files->OpenFile(path); }
    void OpenArrangementAsked(const QString &path) { Files->OpenArrangementAsked(path); }
    [[nodiscard]] int screenDpiX() const;
    [[nodiscard]] int screenDpiY() const;
    int AddPictureFiles(const QStringList &paths) { return Files->AddPictureFiles(paths); }
    void ApplyCommandLine(const CommandLineRequest &request) { Files->ApplyCommandLine(request); }
    // Offers the copies windows left that did not end normally (at start).
    void OfferRecovery();
    void UpdateListBox();
    void AddBtnClick() { CollectionTab->addSelectedFiles(); }
    void DelBtnClick() { CollectionTab->deleteSelectedPictures(); }
    void ShowBtnClick() { CollectionTab->showCurrentBig(); }
    void PrintBtnClick() { CollectionTab->printCurrentPicture(); }
    void ImageListDblClick() { CollectionTab->previewCurrent(); }
    void PaintBox4DblClick();
    void UpNowClick() { SortTab->moveUp(); }
    void DownNowClick() { SortTab->moveDown(); }
    void SortNameBtnClick() { SortTab->sortByName(); }
    void SortBoxDblClick() { SortTab->showCurrentBig(); }
    void OvertakeallClick() { ArrangeTab->addAllPictures(); }
    void OrdeneBtnClick() { ArrangeTab->arrangeAutomatically(); }
    void ChangePosSizeBtnClick() { ArrangeTab->editSizeAndPosition(); }
    void DelitBtnClick() { ArrangeTab->deleteSelection(); }
    void RotLeftBtnClick() { ArrangeTab->rotateLeft(); }
    void RotRightBtnClick() { ArrangeTab->rotateRight(); }
    void HellKonBtnClick() { ArrangeTab->adjustTones(); }
    void ShowBigBtnClick() { ArrangeTab->showSelectionBig(); }
    void PaintBox1DblClick() { ArrangeTab->placeStripPicture(); }
    void Timer1Timer() { ArrangeTab->captionPaused(); }
    void GoBtn1Click() { PrintTab->printPages(); }
    void SetupBtnClick() { PrintTab->printerSetup(); }
    void SaveBitBtnClick() { PrintTab->saveAsImage(); }

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<TPrinter> OwnPrinter;
    std::unique_ptr<SoftProofView> Proof;
    std::unique_ptr<RecoveryKeeper> Recovery;

    void createActions();
    void createControls();
    void layoutWindow();
    void connectSignals();
    void placeKeys();
    void showAbout();
    // The title for the document's name and modified state.
    void showTitle();

    ActionRegistry *Actions = nullptr;
    TKeyGate *Keys = nullptr; // keys run only for keys no popup, menu or dialog took
    THeldDrops *HeldDrops = nullptr; // files dropped while a load waits
    bool SettingsRestored = false;

    CollectionPage *CollectionTab = nullptr;
    SortPage *SortTab = nullptr;
    ArrangePage *ArrangeTab = nullptr;
    PrintPage *PrintTab = nullptr;
    PictureViewer *Viewer = nullptr; // lives as long as the window
    QToolBar *ToolBar1 = nullptr;
    QToolButton *NewBtn = nullptr;
    QToolButton *OpenBtn = nullptr;
    QToolButton *SaveBtn = nullptr;
    QToolButton *SaveAsBtn = nullptr;
    QTabWidget *PageControl2 = nullptr;
    QPushButton *HomeBtn = nullptr;
    TImageButton *ueberbtn = nullptr;
    TImageButton *ueberBtn2 = nullptr;
    TImageButton *EndeBtn = nullptr;
    TImageButton *EndeBtnDown = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *StatusText = nullptr; // first panel
    TProgressPanel *ProgressPanel = nullptr;
    QMenu *RecentMenu = nullptr;
};

// Shown in the title bar before the arrangement's file name.
inline constexpr const char *ProductTitle = "QUORVEX Snapgrid-Atlas 4.0";
// "QUORVEX Snapgrid-Atlas 4.0 - [name.sga]"; an empty name shows "Noname.sga".
// With unsaved changes a '*' follows the name: "... - [name.sga*]".
QString MainTitle(const QString &fileName, bool modified = false);
// Names the application for its settings and the window system. It sets no
// display name: the window system would append that to every window title.
void SetApplicationNames();
// The program's own folder, ending in '/'.
QString ProgramFolder();
