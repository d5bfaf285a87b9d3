#include "pages/ArrangePage.h"

#include "arrange/ArrangeCanvas.h"
#include "arrange/AutoLayout.h"
#include "arrange/ContactSheet.h"
#include "arrange/ContactSheetDialog.h"
#include "arrange/Editing.h"
#include "arrange/Geometry.h"
#include "arrange/KoordFUnit.h"
#include "arrange/OptionsPanel.h"
#include "arrange/PictureStrip.h"
#include "arrange/PrintSheet.h"
#include "arrange/PrintSheetDialog.h"
#include "document/FrameView.h"
#include "output/PrintColour.h"
#include "pages/JobProgress.h"
#include "pages/PageServices.h"
#include "picture/HKUnit.h"
#include "picture/Resample.h"
#include "platform/Dialogs.h"
#include "platform/PaintBox.h"
#include "platform/Printer.h"
#include "platform/Settings.h"

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace {
QSpinBox *intEdit(QWidget *parent, int min, int max, int step, int value)
{
    auto *e = new QSpinBox(parent);
    e->setRange(min, max);
    e->setSingleStep(step);
    e->setValue(value);
    e->setKeyboardTracking(true);
    return e;
}

QString keyText(const QKeySequence &keys) { return keys.toString(QKeySequence::NativeText); }
} // namespace

ArrangePage::ArrangePage(ArrangementDocument &doc, PageServices &services, QWidget *parent)
    : QWidget(parent)
    , Doc(doc)
    , Services(services)
{
    createControls();
    layoutPage();
    connectSignals();
    createToolTips();
    UpdateSelectionControls();
    ChangeFreeText();
}

void ArrangePage::createControls()
{
    Strip = new PictureStrip(Doc, this);
    View = new ArrangeCanvas(Doc, Services.printer(), Services.softProof(), this);
    View->StripSource = Strip->PaintBox1;
    View->Keys = Services.keys();
    View->ScreenDpiSource = [this] { return Services.screenDpiX(); };
    Overtakeall = new QPushButton(tr("&Add all pictures..."), this);
    OrdeneBtn = new QPushButton(tr("Arrange &automatically..."), this);
    OrdeneBtn->setToolTip(tr("Arranges all pictures on the sheet automatically"));
    SheetsBtn = new QPushButton(tr("S&heets"), this);
    auto *sheets = new QMenu(SheetsBtn);
    PrintSheetAction = sheets->addAction(tr("&Print sheets..."));
    PrintSheetAction->setToolTip(tr("Fills pages with frames of standard print and ID photo sizes, ready to cut"));
    ContactSheetAction = sheets->addAction(tr("&Contact sheet..."));
    ContactSheetAction->setToolTip(
        tr("Every picture of the collection or of a folder as a small captioned frame, in rows and columns"));
    sheets->setToolTipsVisible(true);
    SheetsBtn->setMenu(sheets);
    SheetsBtn->setToolTip(tr("Print sheets of standard and ID photo sizes, and contact sheets"));
    ZoomEd = intEdit(this, OptionRange::ZoomMin, OptionRange::ZoomMax, 10, Doc.options().Zoom);
    PageCountED = intEdit(this, 1, ArrangementDocument::MaxPages, 1, Doc.pageCount());
    APageEd = intEdit(this, 1, ArrangementDocument::MaxPages, 1, Doc.currentPage());
    SoftProofCheck = new QCheckBox(tr("Soft &proof: show the pictures as printed"), TabSheet5);
    SoftProofCheck->setToolTip(tr("Shows the pictures as the printer profile prints them (Colour management on the Print tab)"));
    RefreshSoftProof(Services.softProof(), Services.printer());
    SoftProofCheck->setChecked(Services.softProof().active());
    PageControl1 = new QTabWidget(this);
    TabSheet5 = new QWidget;
    Opts = new OptionsPanel(Doc, this);
    PageControl1->addTab(TabSheet5, tr("Arrange photos"));
    PageControl1->addTab(Opts->TabSheet6, tr("Options"));
    PageControl1->addTab(Opts->TabSheet7, tr("Font settings"));
    PageControl1->addTab(Opts->TabSheet8, tr("Picture settings"));
    FreeText = new QLineEdit(TabSheet5);
    // The file stores captions of any length; the edit's default limit would cut them.
    FreeText->setMaxLength(std::numeric_limits<int>::max());
    CutCheck = new QCheckBox(tr("Fit in/cut picture"), TabSheet5);
    RotLeftBtn = new QPushButton(tr("Rotate to the &left..."), TabSheet5);
    RotRightBtn = new QPushButton(tr("Rotate to the &right..."), TabSheet5);
    HellKonBtn = new QPushButton(tr("Brightness, contrast..."), TabSheet5);
    DelitBtn = new QPushButton(tr("&Delete..."), TabSheet5);
    ShowBigBtn = new QPushButton(tr("&Show big"), TabSheet5);
    ChangePosSizeBtn = new QPushButton(tr("&Size and position..."), TabSheet5);

    BildPopup = new QMenu(this);
    Nachlinksrotieren901 = BildPopup->addAction(tr("Rotate to the &left (90°)..."));
    Nachrechtsrotieren901 = BildPopup->addAction(tr("Rotate to the &right (90°)..."));
    BildPopup->addSeparator();
    Lschen1 = BildPopup->addAction(tr("&Delete..."));
    BildPopup->addSeparator();
    HelligkeitKontrastundSttigung1 = BildPopup->addAction(tr("Brightness, contrast and saturation..."));
    KoordEdForm = new TKoordEdForm(this);
    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(500);
}

void ArrangePage::layoutPage()
{
    auto label = [](const QString &text, QWidget *parent) { return new QLabel(text, parent); };
    // Two rows, so that the tab fits a small or strongly scaled screen.
    auto *commands = new QHBoxLayout;
    commands->addWidget(Overtakeall);
    commands->addWidget(OrdeneBtn);
    commands->addWidget(SheetsBtn);
    commands->addStretch(1);
    auto *tools = new QHBoxLayout;
    tools->addWidget(label(tr("Zoom:"), this));
    tools->addWidget(ZoomEd);
    tools->addWidget(label(tr("%"), this));
    tools->addSpacing(12);
    tools->addWidget(label(tr("Pages count:"), this));
    tools->addWidget(PageCountED);
    tools->addWidget(label(tr("Current page:"), this));
    tools->addWidget(APageEd);
    tools->addStretch(1);

    auto *photos = new QVBoxLayout(TabSheet5);
    photos->addWidget(label(tr("Free text:"), TabSheet5));
    photos->addWidget(FreeText);
    photos->addWidget(CutCheck);
    photos->addSpacing(8);
    photos->addWidget(RotLeftBtn);
    photos->addWidget(RotRightBtn);
    photos->addWidget(HellKonBtn);
    photos->addWidget(ShowBigBtn);
    photos->addWidget(ChangePosSizeBtn);
    photos->addWidget(DelitBtn);
    photos->addStretch(1);
    photos->addWidget(SoftProofCheck);

    PageControl1->setFixedWidth(430);
    auto *centre = new QVBoxLayout;
    centre->addLayout(commands);
    centre->addLayout(tools);
    centre->addWidget(View->ScrollBox2, 1);
    auto *row = new QHBoxLayout(this);
    row->addWidget(Strip->ScrollBox1);
    row->addLayout(centre, 1);
    row->addWidget(PageControl1);
}

void ArrangePage::connectSignals()
{
    connect(ZoomEd, &QSpinBox::valueChanged, this, &ArrangePage::ZoomEdChange);
    connect(PageCountED, &QSpinBox::valueChanged, this, &ArrangePage::PageCountEDChange);
    connect(APageEd, &QSpinBox::valueChanged, this, &ArrangePage::APageEdChange);
    connect(Timer1, &QTimer::timeout, this, &ArrangePage::Timer1Timer);
    connect(FreeText, &QLineEdit::textChanged, this, &ArrangePage::FreeTextChange);
    connect(CutCheck, &QCheckBox::toggled, this, &ArrangePage::CutCheckClick);
    connect(SoftProofCheck, &QCheckBox::toggled, this, &ArrangePage::SoftProofCheckClick);
    connect(RotLeftBtn, &QPushButton::clicked, this, &ArrangePage::RotLeftBtnClick);
    connect(RotRightBtn, &QPushButton::clicked, this, &ArrangePage::RotRightBtnClick);
    connect(HellKonBtn, &QPushButton::clicked, this, &ArrangePage::HellKonBtnClick);
    connect(DelitBtn, &QPushButton::clicked, this, &ArrangePage::DelitBtnClick);
    connect(ShowBigBtn, &QPushButton::clicked, this, &ArrangePage::ShowBigBtnClick);
    connect(ChangePosSizeBtn, &QPushButton::clicked, this, &ArrangePage::ChangePosSizeBtnClick);
    connect(OrdeneBtn, &QPushButton::clicked, this, &ArrangePage::OrdeneBtnClick);
    connect(PrintSheetAction, &QAction::triggered, this, &ArrangePage::PrintSheetBtnClick);
    connect(ContactSheetAction, &QAction::triggered, this, &ArrangePage::ContactSheetBtnClick);
    connect(Overtakeall, &QPushButton::clicked, this, &ArrangePage::OvertakeallClick);
    connect(Nachlinksrotieren901, &QAction::triggered, this, &ArrangePage::Nachlinksrotieren901Click);
    connect(Nachrechtsrotieren901, &QAction::triggered, this, &ArrangePage::Nachrechtsrotieren901Click);
    connect(Lschen1, &QAction::triggered, this, &ArrangePage::Lschen1Click);
    connect(HelligkeitKontrastundSttigung1, &QAction::triggered, this,
            &ArrangePage::HelligkeitKontrastundSttigung1Click);
    connect(Strip, &PictureStrip::doubleClicked, this, &ArrangePage::PaintBox1DblClick);
    connect(View, &ArrangeCanvas::statusText, this, [this](const QString &text) { Services.showStatus(text); });
    connect(View, &ArrangeCanvas::contextMenuRequested, this, [this](QPoint at) { BildPopup->popup(at); });
    connect(View, &ArrangeCanvas::qualityFailed, this,
            [this](const QualityFailures &f) { ReportQualityFailures(Services.dialogParent(), f); });
    connect(View, &ArrangeCanvas::loadFailed, this,
            [this](const QStringList &paths, const QStringList &reasons) {
                ReportLoadFailures(Services.dialogParent(), paths, reasons);
            });
    connect(View, &ArrangeCanvas::arrangementDropped, this,
            [this](const QString &path) { Services.openArrangementAsked(path); });
    connect(&Doc, &ArrangementDocument::changed, this, &ArrangePage::docChanged);
}

void ArrangePage::createToolTips()
{
    Overtakeall->setToolTip(tr("Places every picture on the current page"));
    ZoomEd->setToolTip(tr("Zoom of the page view in percent (%1, %2, fit: %3)")
                           .arg(keyText(QKeySequence(Qt::CTRL | Qt::Key_Plus)),
                                keyText(QKeySequence(Qt::CTRL | Qt::Key_Minus)),
                                keyText(QKeySequence(Qt::CTRL | Qt::Key_0))));
    PageCountED->setToolTip(tr("Number of pages"));
    APageEd->setToolTip(tr("The page shown (%1, %2 in the page view)")
                            .arg(keyText(QKeySequence(Qt::Key_PageUp)), keyText(QKeySequence(Qt::Key_PageDown))));
    View->PaintBox2->setToolTip(
        tr("Drag pictures here; arrow keys move the selection (Shift: ten steps), %1 removes it, "
           "%2 drops the selection. Ctrl+drag moves a picture inside its frame; a double click on the "
           "selected frame crops it with the mouse and the wheel")
            .arg(keyText(QKeySequence(Qt::Key_Delete)), keyText(QKeySequence(Qt::Key_Escape))));
    FreeText->setToolTip(tr("Caption of the selected picture"));
    CutCheck->setToolTip(tr("Fills the frame with a centred cut of the picture instead of fitting it in"));
    RotLeftBtn->setToolTip(tr("Turns the selected picture a quarter to the left"));
    RotRightBtn->setToolTip(tr("Turns the selected picture a quarter to the right"));
    HellKonBtn->setToolTip(tr("Changes brightness, contrast and saturation of the selected picture"));
    DelitBtn->setToolTip(tr("Removes the selected placement from the page (%1)")
                             .arg(keyText(QKeySequence(Qt::Key_Delete))));
    ShowBigBtn->setToolTip(tr("Shows the selected picture in its own window"));
    ChangePosSizeBtn->setToolTip(tr("Types position and size of the selected placement"));
}

QScrollArea *ArrangePage::wheelTarget() const
{
    return PageControl1->currentWidget() == TabSheet5 ? View->ScrollBox2 : nullptr;
}

bool ArrangePage::viewTakesWheel() const { return View->takesWheel(); }

// ---------------------------------------------------------------------------
// The document shown

void ArrangePage::docChanged(ArrangementDocument::Changes what)
{
    using C = ArrangementDocument::Change;
    if (what & (C::Options | C::Pages))
        showPages();
    if (what & (C::Selection | C::Placements | C::Collection | C::Pictures)) {
        UpdateSelectionControls();
        ChangeFreeText();
    }
    if (what == ArrangementDocument::Changes(C::Captions))
        Timer1->start(); // repaints once typing pauses
}

void ArrangePage::showPages()
{
    for (auto [edit, value] : {std::pair{ZoomEd, Doc.options().Zoom}, std::pair{PageCountED, Doc.pageCount()},
                               std::pair{APageEd, Doc.currentPage()}}) {
        const QSignalBlocker quiet(edit);
        edit->setValue(value);
    }
}

void ArrangePage::UpdateSelectionControls()
{
    const bool on = Doc.records().SelectedPlacement != -1;
    for (QWidget *w : {static_cast<QWidget *>(HellKonBtn), static_cast<QWidget *>(DelitBtn),
                       static_cast<QWidget *>(RotLeftBtn), static_cast<QWidget *>(RotRightBtn),
                       static_cast<QWidget *>(FreeText), static_cast<QWidget *>(ShowBigBtn),
                       static_cast<QWidget *>(ChangePosSizeBtn), static_cast<QWidget *>(CutCheck)})
        w->setEnabled(on);
}

void ArrangePage::ChangeFreeText()
{
    if (!Doc.hasSelection()) {
        ShowSizeInfo();
        return;
    }
    const TArrangement &r = Doc.records();
    const Placement &p = r.Placements.at(r.SelectedPlacement);
    {
        const QSignalBlocker quiet(CutCheck);
        CutCheck->setChecked(p.Cut != 0);
    }
    ShowSizeInfo();
    QString comment;
    r.getnumComment(p.PictureId, comment);
    if (FreeText->text() != comment) {
        const QSignalBlocker quiet(FreeText);
        FreeText->setText(comment);
    }
}

void ArrangePage::ShowSizeInfo()
{
    // The status bar is the shown tab's; no stale position of a placement deleted or let go.
    if (isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide)) // another tab is shown
        return;
    if (!Doc.hasSelection()) {
        Services.showStatus(QString());
        return;
    }
    const TArrangement &r = Doc.records();
    Services.showStatus(SizeInfoText(r.Placements.at(r.SelectedPlacement), QLocale()));
}

void ArrangePage::ZoomEdChange()
{
    const ArrangeCanvas::ZoomAnchor anchor = View->zoomAnchor();
    Doc.setZoom(ZoomEd->value());
    View->keepInView(anchor);
}

void ArrangePage::PageCountEDChange() { Doc.setPageCount(PageCountED->value()); }
void ArrangePage::APageEdChange() { Doc.setCurrentPage(APageEd->value()); }
void ArrangePage::ZoomIn() { ZoomEd->stepBy(1); }
void ArrangePage::ZoomOut() { ZoomEd->stepBy(-1); }
void ArrangePage::ZoomToFit() { ZoomEd->setValue(View->ZoomToFit()); }

void ArrangePage::Timer1Timer()
{
    Timer1->stop();
    View->repaintArrangeView();
}

// ---------------------------------------------------------------------------
// Commands

void ArrangePage::PaintBox1DblClick()
{
    QualityFailures failures;
    Doc.placePicture(Doc.records().SelectedPicture, 0, 0, View->paper(), &failures);
    ReportQualityFailures(Services.dialogParent(), failures);
}

void ArrangePage::FreeTextChange() { Doc.setSelectedCaption(FreeText->text(), tr("Caption")); }

void ArrangePage::SoftProofCheckClick()
{
    const QString problem = SwitchSoftProof(Services.softProof(), Services.printer(), SoftProofCheck->isChecked());
    if (!problem.isEmpty()) {
        const QSignalBlocker quiet(SoftProofCheck);
        SoftProofCheck->setChecked(false);
        Dialogs::messageBox(Services.dialogParent(), tr("The soft proof cannot be shown.\n%1").arg(problem),
                            tr("Soft proof"), Dialogs::Icon::Warning);
    }
    View->repaintArrangeView();
}

void ArrangePage::CutCheckClick() { Doc.setSelectedCut(CutCheck->isChecked(), tr("Fit in/cut picture")); }

void ArrangePage::Lschen1Click() { Doc.deleteSelectedPlacement(tr("Delete placement")); }

void ArrangePage::DelitBtnClick() { Lschen1Click(); }

void ArrangePage::ChangePosSizeBtnClick()
{
    if (!Doc.hasSelection() || !KoordEdForm)
        return;
    const TArrangement &r = Doc.records();
    Placement p = r.Placements.at(r.SelectedPlacement);
    KoordEdForm->setFrameMm(p.Left * MmPerInch, p.Top * MmPerInch, p.Width * MmPerInch, p.Height * MmPerInch);
    const bool viewShown = UsesView(p, Doc.options().Sverh);
    const double zoomShown = viewShown ? HeldView(p.View).Zoom * 100 : 100;
    KoordEdForm->PicZoomEd->setValue(zoomShown);
    KoordEdForm->PageEd->setRange(1, std::max(Doc.pageCount(), p.Page));
    KoordEdForm->PageEd->setValue(p.Page);
    if (Dialogs::execDialog(KoordEdForm) != QDialog::Accepted)
        return;
    const auto step = Doc.step(tr("Size and position"));
    p.Page = KoordEdForm->PageEd->value();
    // Every pass rounds the frame to the edits' hundredths of a millimetre; no snapping.
    p.Left = KoordEdForm->LeftEd->value() / MmPerInch;
    p.Top = KoordEdForm->TopEd->value() / MmPerInch;
    p.Width = KoordEdForm->BreitEd->value() / MmPerInch;
    p.Height = KoordEdForm->HochEd->value() / MmPerInch;
    Doc.setSelectedFrame(p, tr("Size and position"));
    // The centre stays where it was chosen; only a typed zoom changes the view.
    const double zoom = KoordEdForm->PicZoomEd->value();
    if (zoom == KoordEdForm->PicZoomEd->minimum() && !viewShown)
        return;
    if (std::abs(zoom - zoomShown) < 0.5 && viewShown)
        return;
    const FrameView from = viewShown ? p.View : CentredView();
    QualityFailures failures;
    Doc.setSelectedView(FrameView{from.CentreX, from.CentreY, zoom / 100}, tr("Size and position"), View->paper(),
                        &failures);
    ReportQualityFailures(Services.dialogParent(), failures);
}

void ArrangePage::OrdeneBtnClick()
{
    const TArrangement &r = Doc.records();
    const int n = r.Placements.size();
    const PageGeometry paper = View->paper();
    if (n <= 0 || paper.PrinterDpiX <= 0)
        return;
    // The grid counts the placements of every page; only this page's are laid in.
    const CellGrid grid =
        AutoArrangeGrid(n, paper.widthInches(), paper.heightInches(), Doc.options().Rand, Doc.options().Space);
    // Margins wider than the page leave cells of no or negative size: such a
    // layout would hide every picture, so the placements stay as they are.
    if (!grid.hasRoom())
        return;
    std::vector<std::pair<int, Placement>> frames;
    int cell = 0;
    for (int i = 0; i < n; ++i) {
        Placement p = r.Placements.at(i);
        if (p.Page != Doc.currentPage())
            continue;
        p.Left = grid.cellLeft(cell);
        p.Top = grid.cellTop(cell);
        p.Width = grid.CellWidth;
        p.Height = grid.CellHeight;
        frames.emplace_back(i, p);
        ++cell;
    }
    QualityFailures failures;
    Doc.setFrames(frames, tr("Arrange automatically"), paper, &failures);
    ReportQualityFailures(Services.dialogParent(), failures);
}

void ArrangePage::PrintSheetBtnClick()
{
    const TArrangement &r = Doc.records();
    if (r.PictureCount() == 0) {
        Dialogs::messageBox(Services.dialogParent(), tr("Add pictures to the collection first."), tr("Print sheets"),
                            Dialogs::Icon::Information);
        return;
    }
    const PageGeometry paper = View->paper();
    const int selected = Doc.hasSelection() ? Doc.selectedPictureIndex() : r.SelectedPicture;
    PrintSheetSettings kept = LoadPrintSheetSettings();
    const SheetArea sheet = PrinterSheet(Services.printer().qprinter(), paper);
    PrintSheetDialog dialog(r.Pictures, selected, sheet, UserPrintSizeFolder(), Services.dialogParent());
    dialog.MarginEd->setValue(kept.Margin);
    dialog.GapEd->setValue(kept.Gap);
    dialog.BorderlessCheck->setChecked(kept.Borderless && dialog.BorderlessCheck->isEnabled());
    dialog.OverspillEd->setValue(kept.Overspill);
    if (Dialogs::execDialog(&dialog) != QDialog::Accepted)
        return;
    kept.Margin = dialog.MarginEd->value();
    kept.Gap = dialog.GapEd->value();
    if (dialog.BorderlessCheck->isEnabled())
        kept.Borderless = dialog.BorderlessCheck->isChecked();
    kept.Overspill = dialog.OverspillEd->value();
    SavePrintSheetSettings(kept);
    SheetLayout layout = dialog.layout();
    if (dialog.spacing().Borderless && layout.Error.isEmpty())
        UseBorderlessPaper(Services.printer(), sheet, layout);
    QualityFailures failures;
    const SheetPlacement placed =
        PlaceSheetLayout(Doc, layout, dialog.itemPictures(), tr("Print sheet"), View->paper(), &failures);
    if (!placed.Error.isEmpty()) {
        Dialogs::messageBox(Services.dialogParent(), placed.Error, tr("Print sheets"), Dialogs::Icon::Warning);
        return;
    }
    ReportQualityFailures(Services.dialogParent(), failures);
    Services.showStatus(placed.LastPage > Doc.currentPage()
                            ? tr("%1 frames placed on pages %2 to %3").arg(placed.Placed).arg(Doc.currentPage()).arg(placed.LastPage)
                            : tr("%1 frames placed").arg(placed.Placed));
}

void ArrangePage::ContactSheetBtnClick()
{
    const PageGeometry paper = View->paper();
    const SheetArea sheet = PrinterSheet(Services.printer().qprinter(), paper);
    std::vector<int> selected = Services.selectedPictures();
    std::erase_if(selected, [this](int i) { return i < 0 || i >= Doc.records().PictureCount(); });
    ContactSheetDialog dialog(Doc.records().PictureCount(), sheet, Services.dialogParent(), int(selected.size()));
    dialog.setSettings(LoadContactSheetSettings());
    if (Dialogs::execDialog(&dialog) != QDialog::Accepted)
        return;
    const ContactSheetSettings settings = dialog.settings();
    SaveContactSheetSettings(settings);
    const QString caption = tr("Contact sheet");
    const ContactGrid grid = ContactLayout(settings, sheet);
    const int count = dialog.fromFolder()      ? int(dialog.folderFiles().size())
                      : dialog.fromSelection() ? int(selected.size())
                                               : Doc.records().PictureCount();
    if (grid.perPage() == 0 || count == 0)
        return;
    if (Doc.currentPage() + ContactPageCount(count, grid) > ArrangementDocument::MaxPages) {
        Dialogs::messageBox(Services.dialogParent(),
                            tr("These pictures need more than %1 pages. Nothing was placed.").arg(ArrangementDocument::MaxPages),
                            caption, Dialogs::Icon::Warning);
        return;
    }
    ContactPlacement placed;
    if (dialog.fromFolder()) {
        // Read on a worker while the window shows progress and offers Cancel.
        const QStringList paths = dialog.folderFiles();
        JobProgress job(Services.dialogParent(), caption, int(paths.size()));
        job.StepText = [](int n, int total) { return tr("Picture %1 of %2").arg(n).arg(total); };
        ContactFiles files;
        job.run([&] {
            files = ReadContactFiles(paths, ContactCellBox(grid), job.cancelFlag(),
                                     [&job](int n, int total) { job.pageDone(n, total); });
        });
        if (files.Cancelled || job.cancelled()) {
            Services.showStatus(tr("Contact sheet cancelled; nothing was changed"));
            return;
        }
        const auto step = Doc.step(caption);
        const std::vector<int> added = AddContactFiles(Doc, files);
        placed = PlaceContactSheet(Doc, settings, sheet, added, files.Facts, caption);
    } else {
        std::vector<int> chosen(std::size_t(Doc.records().PictureCount()));
        std::iota(chosen.begin(), chosen.end(), 0);
        if (dialog.fromSelection())
            chosen = selected;
        placed = PlaceContactSheet(Doc, settings, sheet, chosen, CollectionFacts(Doc.records(), chosen), caption);
    }
    if (!placed.Error.isEmpty()) {
        Dialogs::messageBox(Services.dialogParent(), placed.Error, caption, Dialogs::Icon::Warning);
        return;
    }
    Services.showStatus(tr("%1 pictures placed on pages %2 to %3").arg(placed.Placed).arg(placed.FirstPage).arg(placed.LastPage));
}

void ArrangePage::OvertakeallClick()
{
    QualityFailures failures;
    {
        const auto step = Doc.step(tr("Add all pictures"));
        const PageGeometry paper = View->paper();
        const int m = Doc.records().PictureCount();
        for (int i = 0; i < m; ++i)
            Doc.placePicture(i, CascadeLeft(i, m, paper.widthInches()), CascadeTop(i, m, paper.widthInches()), paper,
                             &failures);
    }
    ReportQualityFailures(Services.dialogParent(), failures);
}

void ArrangePage::Nachlinksrotieren901Click() { Doc.turnSelectedPicture(true, tr("Rotate to the left")); }
void ArrangePage::Nachrechtsrotieren901Click() { Doc.turnSelectedPicture(false, tr("Rotate to the right")); }
void ArrangePage::RotLeftBtnClick() { Nachlinksrotieren901Click(); }
void ArrangePage::RotRightBtnClick() { Nachrechtsrotieren901Click(); }

void ArrangePage::HelligkeitKontrastundSttigung1Click()
{
    const int i = Doc.selectedPictureIndex();
    if (i < 0 || !Doc.records().Pictures[std::size_t(i)].Dib.Bits)
        return;
    const auto step = Doc.step(tr("Brightness, contrast and saturation"));
    const DIB current = Doc.records().Pictures[std::size_t(i)].Dib;
    const PictureRecipe recipe = Doc.records().Pictures[std::size_t(i)].Recipe;
    auto form = std::make_unique<THKForm>(Services.dialogParent());
    form->TrackBar1->setValue(0);
    form->TrackBar2->setValue(100);
    form->TrackBar3->setValue(0);

    DIB backup;
    if (!NewDibLike(&backup, current, DibWidth(current), DibHeight(current))) {
        Dialogs::messageBox(Services.dialogParent(), tr("Error: Could not create picture! (Low memory?)"), QString(),
                            Dialogs::Icon::Error);
        return;
    }
    std::memcpy(backup.Bits, current.Bits, std::min(backup.Info->biSizeImage, current.Info->biSizeImage));
    // The dialog works on new pixels: the entry's own stay as they are, for
    // Cancel and for every undo step that holds them.
    form->OldDib = current;
    form->WorkDib = backup;
    THKForm *f = form.get();
    // The views show every preview: the entry carries the adjusted pixels
    // while the dialog is open.
    form->RepaintViews = [this, i, f, recipe] { Doc.showAdjusted(i, f->WorkDib, f->chosenTable(), recipe); };

    const bool accepted = Dialogs::execDialog(f) == QDialog::Accepted;
    // Also after Cancel, so the views do not keep showing a discarded preview.
    Doc.showOriginal(i, form->OldDib, recipe);
    if (accepted) {
        Doc.showAdjusted(i, form->WorkDib, form->chosenTable(), recipe);
        deldib(&form->OldDib);
    } else {
        deldib(&form->WorkDib);
    }
}

void ArrangePage::HellKonBtnClick() { HelligkeitKontrastundSttigung1Click(); }

void ArrangePage::ShowBigBtnClick()
{
    const int i = Doc.selectedPictureIndex();
    if (i < 0)
        return;
    const PictureEntry &entry = Doc.records().Pictures[std::size_t(i)];
    if (!entry.Dib.Bits)
        return;
    // The viewer shows every pixel, so it gets the full picture.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    DIB full = Doc.records().Store.full(entry);
    QGuiApplication::restoreOverrideCursor();
    if (!full.Bits) {
        Services.showStatus(
            tr("The picture file %1 is gone or changed; the screen copy is shown.").arg(entry.FileName));
        full = entry.Dib;
    }
    Services.showBig(full, entry.FileName);
}

void ArrangePage::Changequal(PictureEntry &entry, double frameWidth, double /*frameHeight: the aspect decides*/)
{
    QualityFailures failures;
    Doc.enlargeForFrame(entry, frameWidth, View->paper(), &failures);
    ReportQualityFailures(Services.dialogParent(), failures);
}

void ArrangePage::Checkallquals() { ReportQualityFailures(Services.dialogParent(), Doc.checkAllQualities(View->paper())); }

void ArrangePage::loadSettings(const MainFormSettings &m) { Opts->loadSettings(m); }
void ArrangePage::saveSettings(MainFormSettings &m) const { Opts->saveSettings(m); }
