#pragma once
// The "Arrange" tab: the picture strip, the arrange view of the current page
// and its zoom and page edits, the commands on the selected placement, and
// the option pages. Built from the document and the window's services.
//
//  ArrangePage
//  +- Strip (ScrollBox1 > PaintBox1) | Overtakeall, OrdeneBtn, ZoomEd, PageCountED, APageEd
//  |                                 | View (ScrollBox2 > PaintBox2)
//  +- PageControl1 [TabSheet5 "Arrange photos" | Opts: TabSheet6 "Options" |
//                   TabSheet7 "Font settings" | TabSheet8 "Picture settings"]
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
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTabWidget;
class QTimer;
class TKoordEdForm;
struct MainFormSettings;

class ArrangePage : public QWidget
{
    Q_OBJECT
public:
    ArrangePage(ArrangementDocument &doc, PageServices &services, QWidget *parent = nullptr);

    ArrangementDocument &Doc;
    PageServices &Services;
    ArrangeCanvas *View = nullptr;
    PictureStrip *Strip = nullptr;
    OptionsPanel *Opts = nullptr;
    QPushButton *Overtakeall = nullptr;
    QPushButton *OrdeneBtn = nullptr;
    // The sheet makers' menu, one button so the row fits small screens.
    QPushButton *SheetsBtn = nullptr;
    QSpinBox *ZoomEd = nullptr;
    QSpinBox *PageCountED = nullptr;
    QSpinBox *APageEd = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet5 = nullptr; // "Arrange photos"
    QLineEdit *FreeText = nullptr;
    QCheckBox *CutCheck = nullptr;
    QCheckBox *SoftProofCheck = nullptr; // pictures shown as the printer profile prints them
    QPushButton *RotLeftBtn = nullptr;
    QPushButton *RotRightBtn = nullptr;
    QPushButton *HellKonBtn = nullptr;
    QPushButton *DelitBtn = nullptr;
    QPushButton *ShowBigBtn = nullptr;
    QPushButton *ChangePosSizeBtn = nullptr;
    QMenu *BildPopup = nullptr;
    QAction *Nachlinksrotieren901 = nullptr;
    QAction *Nachrechtsrotieren901 = nullptr;
    QAction *Lschen1 = nullptr;
    QAction *HelligkeitKontrastundSttigung1 = nullptr;
    TKoordEdForm *KoordEdForm = nullptr;
    QTimer *Timer1 = nullptr; // repaints the view once caption typing pauses

    // The scroll area the wheel scrolls while this tab is shown, or nullptr.
    [[nodiscard]] QScrollArea *wheelTarget() const;
    // Whether the arrange view takes the wheel itself (zooming a picture in its frame).
    [[nodiscard]] bool viewTakesWheel() const;

    void UpdateSelectionControls();
    void ChangeFreeText();
    void ShowSizeInfo();
    void ZoomEdChange();
    void PageCountEDChange();
    void APageEdChange();
    void ZoomIn();
    void ZoomOut();
    void ZoomToFit();
    void Timer1Timer();
    // Turns the soft proof on or off; a choice that cannot be shown is refused with a message.
    void SoftProofCheckClick();

    void PaintBox1DblClick();
    void FreeTextChange();
    void CutCheckClick();
    void Lschen1Click();
    void DelitBtnClick();
    void ChangePosSizeBtnClick();
    void OrdeneBtnClick();
    // Runs a sheet maker of the "Sheets" menu on this page's paper.
    void MakeSheet(const SheetMaker &maker);
    void OvertakeallClick();
    void Nachlinksrotieren901Click();
    void Nachrechtsrotieren901Click();
    void RotLeftBtnClick();
    void RotRightBtnClick();
    void HelligkeitKontrastundSttigung1Click();
    void HellKonBtnClick();
    void ShowBigBtnClick();
    // Enlarges an entry's picture to the minimum quality across a frame
    // `frameWidth` inches wide; failures are reported.
    void Changequal(PictureEntry &entry, double frameWidth, double frameHeight);
    void Checkallquals();

    void loadSettings(const MainFormSettings &m);
    void saveSettings(MainFormSettings &m) const;

private:
    void createControls();
    void layoutPage();
    void connectSignals();
    void createToolTips();
    void docChanged(ArrangementDocument::Changes what);
    void showPages();
    [[nodiscard]] SheetContext sheetContext() const;
};
