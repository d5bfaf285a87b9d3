#include "pages/ArrangePage.h"
#include "pages/NumberEdit.h"
#include "arrange/CaptionEdit.h"

#include "arrange/ArrangeCanvas.h"
#include "arrange/AutoLayout.h"
#include "arrange/Editing.h"
#include "arrange/Geometry.h"
#include "arrange/SizePositionDialog.h"
#include "arrange/OptionsPanel.h"
#include "arrange/PictureStrip.h"
#include "arrange/PrintSheet.h"
#include "arrange/SheetMakers.h"
#include "document/FrameView.h"
#include "output/PaperPreset.h"
#include "output/PrintColour.h"
#include "pages/JobProgress.h"
#include "pages/PageServices.h"
#include "picture/ToneDialog.h"
#include "picture/Resample.h"
#include "platform/ActionButtons.h"
#include "platform/Dialogs.h"
#include "platform/PaintBox.h"
#include "platform/Printer.h"
#include "platform/Settings.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace {
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
    docChanged(ArrangementDocument::Change::Selection);
}

void ArrangePage::createControls()
{
    Strip = new PictureStrip(Doc, this);
    View = new ArrangeCanvas(Doc, Services.printer(), Services.softProof(), this);
    View->StripSource = Strip->StripBox;
    View->Keys = Services.keys();
    View->ScreenDpiSource = [this] { return Services.screenDpiX(); };
    AddAllBtn = new QPushButton(tr("&Add all pictures..."), this);
    ArrangeBtn = new QPushButton(tr("Arrange &automatically..."), this);
    SheetsBtn = new QPushButton(tr("S&heets"), this);
    auto *sheets = new QMenu(SheetsBtn);
    for (const SheetMaker &maker : SheetMakers()) {
        QAction *action = sheets->addAction(QCoreApplication::translate("SheetMakers", maker.Text));
        action->setToolTip(QCoreApplication::translate("SheetMakers", maker.ToolTip));
        action->setObjectName(QLatin1String(maker.Id));
        connect(action, &QAction::triggered, this, [this, &maker] { makeSheet(maker); });
    }
    sheets->setToolTipsVisible(true);
    SheetsBtn->setMenu(sheets);
    SheetsBtn->setToolTip(tr("Print sheets of standard and ID photo sizes, and contact sheets"));
    ZoomEd = NumberEdit(this, OptionRange::ZoomMin, OptionRange::ZoomMax, 10, Doc.options().Zoom);
    PageCountED = NumberEdit(this, 1, ArrangementDocument::MaxPages, 1, Doc.pageCount());
    CurrentPageEd = NumberEdit(this, 1, ArrangementDocument::MaxPages, 1, Doc.currentPage());
    SoftProofCheck = new QCheckBox(tr("Soft &proof: show the pictures as printed"), PhotosTab);
    SoftProofCheck->setToolTip(tr("Shows the pictures as the printer profile prints them (Colour management on the Print tab)"));
    RefreshSoftProof(Services.softProof(), Services.printer());
    SoftProofCheck->setChecked(Services.softProof().active());
    SideTabs = new QTabWidget(this);
    PhotosTab = new QWidget;
    Opts = new OptionsPanel(Doc, this);
    SideTabs->addTab(PhotosTab, tr("Arrange photos"));
    SideTabs->addTab(Opts->OptionsTab, tr("Options"));
    SideTabs->addTab(Opts->FontTab, tr("Font settings"));
    SideTabs->addTab(Opts->PictureTab, tr("Picture settings"));
    FreeText = new CaptionEdit(PhotosTab);
    CutCheck = new QCheckBox(tr("Fit in/cut picture"), PhotosTab);
    LinkCheck = new QCheckBox(tr("Same view in every copy"), PhotosTab);
    RotLeftBtn = new QPushButton(tr("Rotate to the &left..."), PhotosTab);
    RotRightBtn = new QPushButton(tr("Rotate to the &right..."), PhotosTab);
    ToneBtn = new QPushButton(tr("Brightness, contrast..."), PhotosTab);
    DeleteBtn = new QPushButton(tr("&Delete..."), PhotosTab);
    ShowBigBtn = new QPushButton(tr("&Show big"), PhotosTab);
    SizePositionBtn = new QPushButton(tr("&Size and position..."), PhotosTab);

    bindCommands();
    SizePosition = new SizePositionDialog(this);
    CaptionTimer = new QTimer(this);
    CaptionTimer->setSingleShot(true);
    CaptionTimer->setInterval(500);
}

void ArrangePage::bindCommands()
{
    auto bind = [this](QPushButton *button, Command command) { BindButton(button, Services.action(command)); };
    bind(AddAllBtn, Command::AddAllPictures);
    bind(ArrangeBtn, Command::ArrangeAutomatically);
    bind(RotLeftBtn, Command::RotateLeft);
    bind(RotRightBtn, Command::RotateRight);
    bind(ToneBtn, Command::AdjustTones);
    bind(DeleteBtn, Command::DeleteSelection);
    bind(ShowBigBtn, Command::ShowSelection);
    bind(SizePositionBtn, Command::SizeAndPosition);
    PictureMenu = new QMenu(this);
    PictureMenu->setObjectName(QStringLiteral("PictureMenu"));
    PictureMenu->addAction(Services.action(Command::RotateLeft));
    PictureMenu->addAction(Services.action(Command::RotateRight));
    PictureMenu->addSeparator();
    PictureMenu->addAction(Services.action(Command::DeleteSelection));
    PictureMenu->addSeparator();
    PictureMenu->addAction(Services.action(Command::AdjustTones));
}

void ArrangePage::layoutPage()
{
    auto label = [](const QString &text, QWidget *parent) { return new QLabel(text, parent); };
    // Two rows, so that the tab fits a small or strongly scaled screen.
    auto *commands = new QHBoxLayout;
    commands->addWidget(AddAllBtn);
    commands->addWidget(ArrangeBtn);
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
    tools->addWidget(CurrentPageEd);
    tools->addStretch(1);

    auto *photos = new QVBoxLayout(PhotosTab);
    photos->addWidget(label(tr("Free text:"), PhotosTab));
    photos->addWidget(FreeText);
    photos->addWidget(CutCheck);
    photos->addWidget(LinkCheck);
    photos->addSpacing(8);
    photos->addWidget(RotLeftBtn);
    photos->addWidget(RotRightBtn);
    photos->addWidget(ToneBtn);
    photos->addWidget(ShowBigBtn);
    photos->addWidget(SizePositionBtn);
    photos->addWidget(DeleteBtn);
    photos->addStretch(1);
    photos->addWidget(SoftProofCheck);

    SideTabs->setFixedWidth(430);
    auto *centre = new QVBoxLayout;
    centre->addLayout(commands);
    centre->addLayout(tools);
    centre->addWidget(View->ScrollArea, 1);
    auto *row = new QHBoxLayout(this);
    row->addWidget(Strip->ScrollArea);
    row->addLayout(centre, 1);
    row->addWidget(SideTabs);
}

void ArrangePage::connectSignals()
{
    connect(ZoomEd, &QSpinBox::valueChanged, this, &ArrangePage::zoomChanged);
    connect(PageCountED, &QSpinBox::valueChanged, this, &ArrangePage::pageCountChanged);
    connect(CurrentPageEd, &QSpinBox::valueChanged, this, &ArrangePage::currentPageChanged);
    connect(CaptionTimer, &QTimer::timeout, this, &ArrangePage::captionPaused);
    connect(FreeText, &CaptionEdit::textEdited, this, &ArrangePage::captionTyped);
    connect(CutCheck, &QCheckBox::toggled, this, &ArrangePage::cutToggled);
    connect(LinkCheck, &QCheckBox::toggled, this,
            [this](bool on) { Doc.setSelectedLinked(on, tr("Same view in every copy")); });
    connect(SoftProofCheck, &QCheckBox::toggled, this, &ArrangePage::softProofToggled);
    connect(Strip, &PictureStrip::doubleClicked, this, &ArrangePage::placeStripPicture);
    connect(View, &ArrangeCanvas::statusText, this, [this](const QString &text) { Services.showStatus(text); });
    connect(View, &ArrangeCanvas::contextMenuRequested, this, [this](QPoint at) { PictureMenu->popup(at); });
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
    ZoomEd->setToolTip(tr("Zoom of the page view in percent (%1, %2, fit: %3)")
                           .arg(keyText(QKeySequence(Qt::CTRL | Qt::Key_Plus)),
                                keyText(QKeySequence(Qt::CTRL | Qt::Key_Minus)),
                                keyText(QKeySequence(Qt::CTRL | Qt::Key_0))));
    PageCountED->setToolTip(tr("Number of pages"));
    CurrentPageEd->setToolTip(tr("The page shown (%1, %2 in the page view)")
                            .arg(keyText(QKeySequence(Qt::Key_PageUp)), keyText(QKeySequence(Qt::Key_PageDown))));
    View->ViewBox->setToolTip(
        tr("Drag pictures here; arrow keys move the selection (Shift: ten steps), %1 removes it, "
           "%2 drops the selection. Ctrl+drag moves a picture inside its frame; a double click on the "
           "selected frame crops it with the mouse and the wheel")
            .arg(keyText(QKeySequence(Qt::Key_Delete)), keyText(QKeySequence(Qt::Key_Escape))));
    FreeText->setToolTip(tr("Caption of the selected picture; Ctrl+Enter starts a new line, "
                            "{date}, {camera}, {exposure} and other tokens show the picture's data"));
    CutCheck->setToolTip(tr("Fills the frame with a centred cut of the picture instead of fitting it in"));
    LinkCheck->setToolTip(tr("Moving or zooming the picture in this frame moves it in every copy of the picture "
                             "at this size; clear it to crop this copy on its own"));
}

QScrollArea *ArrangePage::wheelTarget() const
{
    return SideTabs->currentWidget() == PhotosTab ? View->ScrollArea : nullptr;
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
        // The selection's edits; its commands follow through their actions.
        FreeText->setEnabled(Doc.hasSelection());
        CutCheck->setEnabled(Doc.hasSelection());
        LinkCheck->setEnabled(Doc.selectedLinkGroup() != 0);
        showSelectionCaption();
    }
    if (what == ArrangementDocument::Changes(C::Captions))
        CaptionTimer->start(); // repaints once typing pauses
}

void ArrangePage::showPages()
{
    for (auto [edit, value] : {std::pair{ZoomEd, Doc.options().Zoom}, std::pair{PageCountED, Doc.pageCount()},
                               std::pair{CurrentPageEd, Doc.currentPage()}}) {
        const QSignalBlocker quiet(edit);
        edit->setValue(value);
    }
}

void ArrangePage::showSelectionCaption()
{
    if (!Doc.hasSelection()) {
        showSizeInfo();
        return;
    }
    const TArrangement &r = Doc.records();
    const Placement &p = r.Placements.at(r.SelectedPlacement);
    {
        const QSignalBlocker quiet(CutCheck);
        CutCheck->setChecked(p.Cut != 0);
        const QSignalBlocker quietLink(LinkCheck);
        LinkCheck->setChecked(p.Link != 0);
    }
    showSizeInfo();
    QString comment;
    r.getnumComment(p.PictureId, comment);
    if (FreeText->text() != comment) {
        const QSignalBlocker quiet(FreeText);
        FreeText->setText(comment);
    }
}

void ArrangePage::showSizeInfo()
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

void ArrangePage::zoomChanged()
{
    const ArrangeCanvas::ZoomAnchor anchor = View->zoomAnchor();
    Doc.setZoom(ZoomEd->value());
    View->keepInView(anchor);
}

void ArrangePage::pageCountChanged() { Doc.setPageCount(PageCountED->value()); }
void ArrangePage::currentPageChanged() { Doc.setCurrentPage(CurrentPageEd->value()); }
void ArrangePage::setZoom(int percent) { ZoomEd->setValue(percent); }
void ArrangePage::setPageCount(int count) { PageCountED->setValue(count); }
void ArrangePage::showPage(int page) { CurrentPageEd->setValue(page); }
int ArrangePage::shownZoom() const { return ZoomEd->value(); }
int ArrangePage::shownPageCount() const { return PageCountED->value(); }
int ArrangePage::shownPage() const { return CurrentPageEd->value(); }
void ArrangePage::typeCaption(const QString &text) { FreeText->setText(text); }
void ArrangePage::chooseCut(bool cut) { CutCheck->setChecked(cut); }
QString ArrangePage::shownCaption() const { return FreeText->text(); }
bool ArrangePage::shownCut() const { return CutCheck->isChecked(); }
bool ArrangePage::selectionEditable() const { return FreeText->isEnabled() && CutCheck->isEnabled(); }
void ArrangePage::chooseSoftProof(bool on) { SoftProofCheck->setChecked(on); }

void ArrangePage::showEvent(QShowEvent* event)
{
    // The print page may have switched the proof since this page was last seen.
    const QSignalBlocker quiet(SoftProofCheck);
    SoftProofCheck->setChecked(Services.softProof().active());
    QWidget::showEvent(event);
}
void ArrangePage::ZoomIn() { ZoomEd->stepBy(1); }
void ArrangePage::ZoomOut() { ZoomEd->stepBy(-1); }
void ArrangePage::ZoomToFit() { ZoomEd->setValue(View->ZoomToFit()); }

void ArrangePage::captionPaused()
{
    CaptionTimer->stop();
    View->repaintArrangeView();
}

// ---------------------------------------------------------------------------
// Commands

void ArrangePage::placeStripPicture()
{
    QualityFailures failures;
    Doc.placePicture(Doc.records().SelectedPicture, 0, 0, View->paper(), &failures);
    ReportQualityFailures(Services.dialogParent(), failures);
}

void ArrangePage::captionTyped() { Doc.setSelectedCaption(FreeText->text(), tr("Caption")); }

void ArrangePage::softProofToggled()
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

void ArrangePage::cutToggled() { Doc.setSelectedCut(CutCheck->isChecked(), tr("Fit in/cut picture")); }

void ArrangePage::deleteSelection() { Doc.deleteSelectedPlacement(tr("Delete placement")); }

void ArrangePage::editSizeAndPosition()
{
    if (!Doc.hasSelection() || !SizePosition)
        return;
    const TArrangement &r = Doc.records();
    Placement p = r.Placements.at(r.SelectedPlacement);
    SizePosition->setFrameMm(p.Left * MmPerInch, p.Top * MmPerInch, p.Width * MmPerInch, p.Height * MmPerInch);
    const bool viewShown = UsesView(p, Doc.options().Sverh);
    const double zoomShown = viewShown ? HeldView(p.View).Zoom * 100 : 100;
    SizePosition->PictureZoomEd->setValue(zoomShown);
    SizePosition->PageEd->setRange(1, std::max(Doc.pageCount(), p.Page));
    SizePosition->PageEd->setValue(p.Page);
    if (Dialogs::execDialog(SizePosition) != QDialog::Accepted)
        return;
    const auto step = Doc.step(tr("Size and position"));
    p.Page = SizePosition->PageEd->value();
    // Every pass rounds the frame to the edits' hundredths of a millimetre; no snapping.
    p.Left = SizePosition->LeftEd->value() / MmPerInch;
    p.Top = SizePosition->TopEd->value() / MmPerInch;
    p.Width = SizePosition->WidthEd->value() / MmPerInch;
    p.Height = SizePosition->HeightEd->value() / MmPerInch;
    Doc.setSelectedFrame(p, tr("Size and position"));
    // The centre stays where it was chosen; only a typed zoom changes the view.
    const double zoom = SizePosition->PictureZoomEd->value();
    if (zoom == SizePosition->PictureZoomEd->minimum() && !viewShown)
        return;
    if (std::abs(zoom - zoomShown) < 0.5 && viewShown)
        return;
    const FrameView from = viewShown ? p.View : CentredView();
    QualityFailures failures;
    Doc.setSelectedView(FrameView{from.CentreX, from.CentreY, zoom / 100}, tr("Size and position"), View->paper(),
                        &failures);
    ReportQualityFailures(Services.dialogParent(), failures);
}

void ArrangePage::arrangeAutomatically()
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

SheetContext ArrangePage::sheetContext() const
{
    SheetContext c(Doc);
    c.Parent = Services.dialogParent();
    c.Paper = View->paper();
    c.Printer = &Services.printer();
    c.Sheet = PrinterSheet(c.Printer->qprinter(), c.Paper);
    c.PrinterProfile = !JobColourSettings(*c.Printer).ProfileFile.isEmpty();
    c.Selected = Services.selectedPictures();
    c.ShowStatus = [this](const QString &text) { Services.showStatus(text); };
    c.ReportQuality = [this](const QualityFailures &f) { ReportQualityFailures(Services.dialogParent(), f); };
    c.RunLongHook = [this](const QString &title, int steps, const std::function<QString(int, int)> &stepText,
                           const SheetContext::Work &work) {
        JobProgress job(Services.dialogParent(), title, steps);
        job.StepText = stepText;
        job.run([&] { work(job.cancelFlag(), [&job](int n, int total) { job.pageDone(n, total); }); });
        return job.cancelled();
    };
    return c;
}

void ArrangePage::makeSheet(const SheetMaker &maker)
{
    SheetContext context = sheetContext();
    maker.Make(context);
}

void ArrangePage::addAllPictures()
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

void ArrangePage::rotateLeft() { Doc.turnSelectedPicture(true, tr("Rotate to the left")); }
void ArrangePage::rotateRight() { Doc.turnSelectedPicture(false, tr("Rotate to the right")); }

void ArrangePage::adjustTones()
{
    const int i = Doc.selectedPictureIndex();
    if (i < 0 || !Doc.records().Pictures[std::size_t(i)].Dib.Bits)
        return;
    const auto step = Doc.step(tr("Brightness, contrast and saturation"));
    const DIB current = Doc.records().Pictures[std::size_t(i)].Dib;
    const PictureRecipe recipe = Doc.records().Pictures[std::size_t(i)].Recipe;
    auto form = std::make_unique<ToneDialog>(Services.dialogParent());
    form->BrightnessSlider->setValue(0);
    form->ContrastSlider->setValue(100);
    form->SaturationSlider->setValue(0);

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
    ToneDialog *f = form.get();
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

void ArrangePage::showSelectionBig()
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

void ArrangePage::enlargeToMinimumQuality(PictureEntry &entry, double frameWidth, double /*frameHeight: the aspect decides*/)
{
    QualityFailures failures;
    Doc.enlargeForFrame(entry, frameWidth, View->paper(), &failures);
    ReportQualityFailures(Services.dialogParent(), failures);
}

void ArrangePage::checkAllQualities() { ReportQualityFailures(Services.dialogParent(), Doc.checkAllQualities(View->paper())); }

void ArrangePage::loadSettings(const MainFormSettings &m) { Opts->loadSettings(m); }
void ArrangePage::saveSettings(MainFormSettings &m) const { Opts->saveSettings(m); }
