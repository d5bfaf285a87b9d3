#pragma once
// The "Arrange" tab: the picture strip, the arrange view of the current page
// and its zoom and page edits, the commands on the selected placement, and
// the option pages. Built from the document and the window's services.
//
//  ArrangePage
//  +- Strip (ScrollArea > StripBox) | AddAllBtn, ArrangeBtn, ZoomEd, PageCountED, CurrentPageEd
//  |                                 | View (ScrollArea > ViewBox)
//  +- SideTabs [PhotosTab "Arrange photos" | Opts: OptionsTab "Options" |
//                   FontTab "Font settings" | PictureTab "Picture settings"]
#include "document/ArrangementDocument.h"

#include <QWidget>

class ArrangeCanvas;
class OptionsPanel;
class PageServices;
class PictureStrip;
struct SheetContext;
struct SheetMaker;
class QAction;
class QCheckBox;
class QShowEvent;
class QLineEdit;
class CaptionEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTabWidget;
class QTimer;
class SizePositionDialog;
struct MainFormSettings;

class ArrangePage : public QWidget
{
    Q_OBJECT
public:
    ArrangePage(ArrangementDocument &doc, PageServices &services, QWidget *parent = nullptr);

    // The page's working parts: the view of the current page, the picture
    // strip and the option pages.
    [[nodiscard]] ArrangeCanvas &canvas() const { return *View; }
    [[nodiscard]] PictureStrip &strip() const { return *Strip; }
    [[nodiscard]] OptionsPanel &options() const { return *Opts; }
    // The scroll area the wheel scrolls while this tab is shown, or nullptr.
    [[nodiscard]] QScrollArea *wheelTarget() const;
    // Whether the arrange view takes the wheel itself (zooming a picture in its frame).
    [[nodiscard]] bool viewTakesWheel() const;

    // The zoom, page count and current page as typed into their edits, and as shown.
    void setZoom(int percent);
    void setPageCount(int count);
    void showPage(int page);
    [[nodiscard]] int shownZoom() const;
    [[nodiscard]] int shownPageCount() const;
    [[nodiscard]] int shownPage() const;
    void ZoomIn();
    void ZoomOut();
    void ZoomToFit();
    // The selection's caption and cut as typed and chosen, and as shown; the
    // edits can be used only while a placement is selected.
    void typeCaption(const QString &text);
    void chooseCut(bool cut);
    [[nodiscard]] QString shownCaption() const;
    [[nodiscard]] bool shownCut() const;
    [[nodiscard]] bool selectionEditable() const;
    // Repaints the view once caption typing pauses.
    [[nodiscard]] const QTimer &captionTimer() const { return *CaptionTimer; }
    // Turns the soft proof on or off; a choice that cannot be shown is refused with a message.
    void chooseSoftProof(bool on);

    void showSelectionCaption();
    void showSizeInfo();
    void captionPaused();
    void placeStripPicture();
    void deleteSelection();
    void editSizeAndPosition();
    void arrangeAutomatically();
    // Runs a sheet maker of the "Sheets" menu on this page's paper.
    void makeSheet(const SheetMaker &maker);
    void addAllPictures();
    void rotateLeft();
    void rotateRight();
    void adjustTones();
    void showSelectionBig();
    // Enlarges an entry's picture to the minimum quality across a frame
    // `frameWidth` inches wide; failures are reported.
    void enlargeToMinimumQuality(PictureEntry &entry, double frameWidth, double frameHeight);
    void checkAllQualities();

    void loadSettings(const MainFormSettings &m);
    void saveSettings(MainFormSettings &m) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    // The command buttons and the context menu run the window's actions.
    void bindCommands();
    void layoutPage();
    void connectSignals();
    void createToolTips();
    void docChanged(ArrangementDocument::Changes what);
    void showPages();
    void zoomChanged();
    void pageCountChanged();
    void currentPageChanged();
    void captionTyped();
    void cutToggled();
    void softProofToggled();
    [[nodiscard]] SheetContext sheetContext() const;

    ArrangementDocument &Doc;
    PageServices &Services;
    ArrangeCanvas *View = nullptr;
    PictureStrip *Strip = nullptr;
    OptionsPanel *Opts = nullptr;
    QPushButton *AddAllBtn = nullptr;
    QPushButton *ArrangeBtn = nullptr;
    // The sheet makers' menu, one button so the row fits small screens.
    QPushButton *SheetsBtn = nullptr;
    QSpinBox *ZoomEd = nullptr;
    QSpinBox *PageCountED = nullptr;
    QSpinBox *CurrentPageEd = nullptr;
    QTabWidget *SideTabs = nullptr;
    QWidget *PhotosTab = nullptr; // "Arrange photos"
    CaptionEdit *FreeText = nullptr;
    QCheckBox *CutCheck = nullptr;
    QCheckBox *LinkCheck = nullptr; // copies of one picture at one size share one view
    QCheckBox *SoftProofCheck = nullptr; // pictures shown as the printer profile prints them
    QPushButton *RotLeftBtn = nullptr;
    QPushButton *RotRightBtn = nullptr;
    QPushButton *ToneBtn = nullptr;
    QPushButton *DeleteBtn = nullptr;
    QPushButton *ShowBigBtn = nullptr;
    QPushButton *SizePositionBtn = nullptr;
    QMenu *PictureMenu = nullptr; // the selected placement's commands, on a right click
    SizePositionDialog *SizePosition = nullptr;
    QTimer *CaptionTimer = nullptr;
};
