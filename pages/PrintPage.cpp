#include "pages/PrintPage.h"
#include "pages/NumberEdit.h"

#include "arrange/Geometry.h"
#include "arrange/IdGuides.h"
#include "document/Paths.h"
#include "output/CalibrationDialog.h"
#include "output/ColourSettingsDialog.h"
#include "output/CupsJob.h"
#include "output/Exporters.h"
#include "output/JobLog.h"
#include "output/JobLogDialog.h"
#include "output/PaperPresetDialog.h"
#include "output/PrintCalibration.h"
#include "output/PrintColour.h"
#include "output/PrintJob.h"
#include "output/PrintPreview.h"
#include "output/PrintSetup.h"
#include "pages/JobProgress.h"
#include "pages/PageServices.h"
#include "platform/ActionButtons.h"
#include "platform/Artwork.h"
#include "platform/DeviceContext.h"
#include "platform/Dialogs.h"
#include "platform/EventHook.h"
#include "platform/ImageButton.h"
#include "platform/PaintBox.h"
#include "platform/Printer.h"
#include "platform/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

PrintPage::PrintPage(ArrangementDocument &doc, PageServices &services, QWidget *parent)
    : QWidget(parent)
    , Doc(doc)
    , Services(services)
{
    PreviewBox = new TPaintBox;
    PreviewBox->setCursor(Qt::OpenHandCursor);
    PreviewBox->setToolTip(tr("1:1 preview of the printout"));
    PreviewArea = WorkspaceScrollArea(PreviewBox, this);
    PrintBtn = new TImageButton(ButtonPixmap(ButtonArt::Print, false), this);
    PrintBtn->setObjectName(QStringLiteral("PrintButton"));
    PrintBtnDown = new TImageButton(ButtonPixmap(ButtonArt::Print, true), this);
    SetupBtn = new TImageButton(ButtonPixmap(ButtonArt::Setup, false), this);
    SetupBtn->setObjectName(QStringLiteral("SetupButton"));
    SetupBtnDown = new TImageButton(ButtonPixmap(ButtonArt::Setup, true), this);
    SaveImageBtn = new QPushButton(tr("Save as image..."), this);
    ImageDpiEd = NumberEdit(this, 10, 600, 10, 150);
    CurrentPageEd = NumberEdit(this, 1, ArrangementDocument::MaxPages, 1, Doc.currentPage());
    ImageDpiEd->setToolTip(tr("Dots per inch of the saved picture"));
    CurrentPageEd->setToolTip(tr("The page shown and saved as a picture"));
    CutMarksCheck = new QCheckBox(tr("Cut marks"), this);
    CutMarksCheck->setToolTip(tr("Prints and saves thin marks beside the frames' edges, to cut the pictures out"));
    CutMarksCheck->setChecked(Doc.options().CutMarks);
    IdGuidesCheck = new QCheckBox(tr("ID photo guides"), this);
    ColourBtn = new QPushButton(tr("Colour &management..."), this);
    ColourBtn->setToolTip(tr("Printer profile, rendering intent and monitor profile of this printer and paper"));
    SoftProofCheck = new QCheckBox(tr("Soft &proof"), this);
    SoftProofCheck->setToolTip(tr("Shows the pictures as the printer profile prints them"));
    IdGuidesCheck->setToolTip(tr("Shows where head and eyes belong in ID photo frames; never printed"));
    CalibrateBtn = new QPushButton(tr("Calibrate printer..."), this);
    CalibrateBtn->setToolTip(tr("Corrects a printer that prints off or slightly too large or small"));
    PresetBox = new QComboBox(this);
    PresetBox->setToolTip(tr("Printer, paper, colour and sharpening kept under one name"));
    PresetBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    PresetBox->setMinimumContentsLength(16);
    PresetEditBtn = new QPushButton(tr("&Edit preset..."), this);
    PresetEditBtn->setToolTip(tr("Edits the chosen paper preset, or makes one from the printer's paper"));
    PresetRemoveBtn = new QPushButton(tr("Remove"), this);
    JobLogBtn = new QPushButton(tr("&Job log..."), this);
    JobLogBtn->setToolTip(tr("The last jobs printed or saved, with the options the printer was given"));
    PresetRemoveBtn->setToolTip(tr("Removes the chosen paper preset"));
    layoutPage();
    connectSignals();
}

void PrintPage::layoutPage()
{
    auto *goPair = new QGridLayout;
    goPair->addWidget(PrintBtn, 0, 0);
    goPair->addWidget(PrintBtnDown, 0, 0);
    goPair->addWidget(new QLabel(tr("Print"), this), 0, 1);
    goPair->addWidget(SetupBtn, 1, 0);
    goPair->addWidget(SetupBtnDown, 1, 0);
    goPair->addWidget(new QLabel(tr("Printer setup"), this), 1, 1);

    auto *page = new QHBoxLayout;
    page->addWidget(new QLabel(tr("Current page:"), this));
    page->addWidget(CurrentPageEd);
    page->addStretch(1);

    auto *bitmapBox = new QGroupBox(tr("Bitmap quality"), this);
    auto *bitmap = new QHBoxLayout(bitmapBox);
    bitmap->addWidget(ImageDpiEd);
    bitmap->addWidget(new QLabel(tr("DPI"), bitmapBox));
    bitmap->addStretch(1);

    auto *side = new QVBoxLayout;
    side->addLayout(goPair);
    side->addSpacing(12);
    side->addLayout(page);
    auto* presetRow = new QHBoxLayout;
    presetRow->addWidget(new QLabel(tr("Paper preset:"), this));
    presetRow->addWidget(PresetBox, 1);
    side->addLayout(presetRow);
    auto* presetButtons = new QHBoxLayout;
    presetButtons->addWidget(PresetEditBtn);
    presetButtons->addWidget(PresetRemoveBtn);
    side->addLayout(presetButtons);
    side->addWidget(CutMarksCheck);
    side->addWidget(IdGuidesCheck);
    side->addWidget(CalibrateBtn);
    side->addWidget(ColourBtn);
    side->addWidget(SoftProofCheck);
    side->addSpacing(12);
    side->addWidget(bitmapBox);
    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(SaveImageBtn);
    saveRow->addWidget(JobLogBtn);
    side->addLayout(saveRow);
    side->addStretch(1);

    auto *previewColumn = new QVBoxLayout;
    previewColumn->addWidget(new QLabel(tr("1:1 preview of the printout"), this));
    previewColumn->addWidget(PreviewArea, 1);
    auto *row = new QHBoxLayout(this);
    row->addLayout(previewColumn, 1);
    row->addLayout(side);
    QPalette pal = PreviewArea->palette();
    pal.setColor(QPalette::Window, palette().color(QPalette::Dark));
    PreviewArea->setPalette(pal);
}

void PrintPage::connectSignals()
{
    PrintBtn->setPressedLook(PrintBtnDown);
    SetupBtn->setPressedLook(SetupBtnDown);
    BindImageButton(PrintBtn, Services.action(Command::Print));
    BindImageButton(SetupBtn, Services.action(Command::PrinterSetup));
    BindButton(SaveImageBtn, Services.action(Command::SaveAsImage));
    PreviewBox->onPaint = [this](QPaintEvent *e) { previewPaint(e); };
    PreviewBox->onMouseDown = [this](QMouseEvent *e) { previewMousePress(e); };
    PreviewBox->onMouseMove = [this](QMouseEvent *e) { previewMouseMove(e); };
    PreviewBox->onMouseUp = [this](QMouseEvent *e) { previewMouseRelease(e); };
    WatchResize(PreviewArea, [this] { previewAreaResized(); });
    connect(CurrentPageEd, &QSpinBox::valueChanged, this, &PrintPage::currentPageChanged);
    connect(CutMarksCheck, &QCheckBox::toggled, this, &PrintPage::cutMarksToggled);
    connect(IdGuidesCheck, &QCheckBox::toggled, this, &PrintPage::repaintPreview);
    connect(CalibrateBtn, &QPushButton::clicked, this, &PrintPage::calibratePrinter);
    connect(ColourBtn, &QPushButton::clicked, this, &PrintPage::chooseColourSettings);
    connect(SoftProofCheck, &QCheckBox::toggled, this, &PrintPage::softProofToggled);
    connect(PresetBox, &QComboBox::activated, this, &PrintPage::presetChosen);
    connect(PresetEditBtn, &QPushButton::clicked, this, &PrintPage::editPreset);
    connect(PresetRemoveBtn, &QPushButton::clicked, this, &PrintPage::removePreset);
    connect(JobLogBtn, &QPushButton::clicked, this, &PrintPage::showJobLog);
    connect(&Doc, &ArrangementDocument::changed, this, [this](ArrangementDocument::Changes what) {
        if (what & ArrangementDocument::Change::Pages) {
            const QSignalBlocker quiet(CurrentPageEd);
            CurrentPageEd->setValue(Doc.currentPage());
        }
        if (what & ArrangementDocument::Change::Options) {
            const QSignalBlocker quiet(CutMarksCheck);
            CutMarksCheck->setChecked(Doc.options().CutMarks);
        }
        if (what != ArrangementDocument::Changes(ArrangementDocument::Change::Captions))
            repaintPreview();
    });
    connect(&Doc, &ArrangementDocument::fullPictureArrived, this, &PrintPage::repaintPreview);
}


void PrintPage::showPage(int page) { CurrentPageEd->setValue(page); }
int PrintPage::shownPage() const { return CurrentPageEd->value(); }
void PrintPage::setImageDpi(int dpi) { ImageDpiEd->setValue(dpi); }
bool PrintPage::cutMarksShown() const { return CutMarksCheck->isChecked(); }

PageGeometry PrintPage::paper() const
{
    return PaperGeometry(Services.printer(), Services.screenDpiX(), Doc.options().Zoom);
}

PageStamp PrintPage::pageStamp() const
{
    return PageStamp{QFileInfo(Doc.fileName()).fileName(), QDate::currentDate(), Doc.pageCount()};
}

PrintSetup PrintPage::previewSetup() const
{
    PrintSetup setup = PrinterPageSetup(Services.printer());
    setup.SoftProof = Services.softProof().recolour();
    setup.Stamp = pageStamp();
    return setup;
}

PrintSetup PrintPage::jobSetup(bool colour)
{
    QString problem;
    PrintSetup setup = JobSetup(Services.printer(), &problem);
    setup.Stamp = pageStamp();
    if (const PaperPreset* preset = chosenPreset()) {
        const PrintColour made = MakePrintColour(preset->Colour);
        setup.Colour = made.Conversion;
        setup.PrinterProfile = made.PrinterIcc;
        const QString choices = TakePresetValues(setup, *preset, Services.printer().PrintsToFile());
        problem = made.Problem.isEmpty() || choices.isEmpty() ? made.Problem + choices
                                                              : made.Problem + QLatin1Char('\n') + choices;
    }
    if (!colour) {
        setup.Colour.reset();
        setup.PrinterProfile.clear();
    } else if (!problem.isEmpty()) {
        Dialogs::messageBox(Services.dialogParent(), problem, tr("Colour management"), Dialogs::Icon::Warning);
    }
    return setup;
}

// ---------------------------------------------------------------------------
// Print job and printer setup

bool PrintPage::AcceptChangedPictures(const std::vector<int> &pages)
{
    return AcceptChangedFiles(Services.dialogParent(), ChangedPictureFiles(Doc.records(), pages));
}

bool PrintPage::AcceptPicturesOffPage(const std::vector<int> &pages)
{
    const PageGeometry page = paper();
    const TArrangement &r = Doc.records();
    // Borderless frames are meant to spill over the paper's edge.
    const PrintSheetSettings sheets = LoadPrintSheetSettings();
    const double spill = sheets.Borderless ? sheets.Overspill / MmPerInch : 0;
    QStringList off;
    for (int i = 0; i < r.Placements.size(); ++i) {
        const Placement &p = r.Placements.at(i);
        if (std::find(pages.begin(), pages.end(), p.Page) == pages.end()
            || !Geometry::FrameOffPage(p.Left + spill, p.Top + spill, p.Width, p.Height,
                                       page.widthInches() + 2 * spill, page.heightInches() + 2 * spill))
            continue;
        const int index = r.pictureIndexById(p.PictureId);
        const QString name = index >= 0 ? FileNamePart(r.Pictures[std::size_t(index)].FileName) : QString();
        off << tr("%1 (page %2)").arg(name).arg(p.Page);
    }
    if (off.isEmpty() || page.widthInches() <= 0)
        return true;
    return Dialogs::messageBox(Services.dialogParent(),
                               tr("These pictures reach beyond the printable area; what lies outside is not "
                                  "printed:\n%1").arg(off.join('\n')),
                               tr("Warning"), Dialogs::Icon::Warning, Dialogs::OkCancel)
           == Dialogs::IdOk;
}

ExportOutcome PrintPage::runJob(PageExporter &exporter, const PrintSetup &setup, ExportRequest request,
                                const QString &title, const QString &status)
{
    // The pages are drawn on a worker while the window keeps painting; the
    // progress dialog holds its input, so the arrangement stays as it is.
    Services.showStatus(status);
    JobProgress progress(Services.dialogParent(), title, int(request.Pages.size()));
    progress.Progress = [this](int percent) { Services.showProgress(percent); };
    request.Cancel = progress.cancelFlag();
    request.PageDone = [&progress](int, int done, int total) {
        progress.pageDone(done, total);
        return true;
    };
    const ArrangementOptions drawing = Doc.options();
    ExportOutcome outcome;
    progress.run([&] { outcome = exporter.run(Doc.records(), drawing, setup, request); });
    Services.showProgress(0);
    return outcome;
}

void PrintPage::printPages()
{
    PrintBtn->unpress();
    // May enlarge pictures in place; the arrangement keeps them.
    ReportQualityFailures(Services.dialogParent(), Doc.checkAllQualities(paper()));
    if (!AcceptChangedPictures(PageSpan(1, Doc.pageCount())))
        return;
    TPrinter &printer = Services.printer();
    // Every job starts from all pages; the dialog offers a range.
    printer.qprinter()->setPrintRange(QPrinter::AllPages);
    if (!Dialogs::printDialog(Services.dialogParent(), printer.qprinter(), Doc.pageCount()))
        return;
    ExportRequest request;
    request.Pages = ChosenPages(*printer.qprinter(), Doc.pageCount());
    if (request.Pages.empty()) {
        Services.showStatus(tr("None of the pages chosen is in the arrangement; nothing was printed."));
        return;
    }
    if (!AcceptPicturesOffPage(request.Pages)) // the dialog may have turned the paper
        return;
    RefreshSoftProof(Services.softProof(), printer);
    repaintPreview(); // the dialog may have changed printer or paper
    printer.Title = tr("Snapgrid-Edge document");
    // Names the file of a job that goes to one, here on the printer's thread.
    printer.PrepareJob();
    const PrintSetup setup = jobSetup(true);
    request.Title = printer.Title;
    request.FileName = setup.Destination.FileName;
    const std::unique_ptr<PageExporter> exporter = PrintExporter(setup, CupsQueueCommand());
    reportPrint(setup, request, runJob(*exporter, setup, request, tr("Print"), tr("Printing...")));
}

void PrintPage::reportPrint(const PrintSetup &setup, const ExportRequest &request, const ExportOutcome &outcome)
{
    LogJob(Doc.fileName(), setup.Destination.ToFile ? setup.Destination.FileName : setup.Destination.PrinterName, setup,
        request, outcome);
    const bool toFile = setup.Destination.ToFile;
    const QString file = setup.Destination.FileName;
    if (outcome.Result == ExportResult::Cancelled) {
        Services.showStatus(toFile ? tr("Printing cancelled; no file was written.") : tr("Printing cancelled."));
    } else if (outcome.Result != ExportResult::Done) {
        Services.showStatus(QString());
        QString text = toFile ? tr("Could not print to the file %1!").arg(file)
                              : tr("Could not print! Please check the printer.");
        if (!outcome.Reason.isEmpty())
            text += QLatin1Char('\n') + outcome.Reason;
        Dialogs::messageBox(Services.dialogParent(), text, tr("Error"), Dialogs::Icon::Error);
    } else if (toFile) {
        // Without a printer the pages go to a PDF file; tell where, above all when it was not asked for.
        Services.showStatus(tr("Printed to %1").arg(file));
    } else {
        Services.showStatus(tr("Printed %n page(s).", nullptr, int(request.Pages.size())));
    }
}

void PrintPage::printerSetup()
{
    SetupBtn->unpress();
    RunPrinterSetup(Services.dialogParent(), Services.printer());
    RefreshSoftProof(Services.softProof(), Services.printer()); // another paper has its own profile
    // Cancelled or not: the preview follows the printer's current page.
    repaintPreview();
}

void PrintPage::calibratePrinter()
{
    TPrinter &printer = Services.printer();
    if (printer.PrintsToFile()) {
        Dialogs::messageBox(Services.dialogParent(),
                            tr("Printing goes to a PDF file, which is not corrected: it may be printed on any "
                               "printer. Choose a printer in the printer setup to calibrate it."),
                            tr("Calibrate printer"), Dialogs::Icon::Information);
        return;
    }
    const QString name = printer.qprinter()->printerName();
    const QString paper = CalibrationPaperName(printer.qprinter()->pageLayout());
    const PaperPreset* chosen = chosenPreset();
    const QString target = chosen ? chosen->Name : tr("%1, %2").arg(name, paper);
    CalibrationDialog dialog(
        target, chosen ? chosen->Calibration : LoadPrintCalibration(name, paper), Services.dialogParent());
    dialog.PrintPage = [this, &printer, target] {
        const bool printed = PrintCalibrationPage(printer, tr("Calibration page: %1").arg(target));
        Services.showStatus(printed ? tr("The calibration page was printed.")
                                    : tr("Could not print! Please check the printer."));
    };
    if (Dialogs::execDialog(&dialog) != QDialog::Accepted)
        return;
    if (!chosen) {
        SavePrintCalibration(name, paper, dialog.calibration());
        return;
    }
    PaperPreset edited = *chosen;
    edited.Calibration = dialog.calibration();
    keepPreset(edited);
}

// ---------------------------------------------------------------------------
// The preview

void PrintPage::chooseColourSettings()
{
    if (const PaperPreset* chosen = chosenPreset()) {
        // The chosen preset holds the colour set-up of its printer and paper.
        ColourDialog dialog(
            chosen->Printer.isEmpty() ? tr("PDF") : chosen->Printer, chosen->PaperName, Services.dialogParent());
        dialog.setSettings(chosen->Colour);
        if (Dialogs::execDialog(&dialog) != QDialog::Accepted)
            return;
        PaperPreset edited = *chosen;
        edited.Colour = dialog.settings();
        keepPreset(edited);
        return;
    }
    if (RunColourSetup(Services.dialogParent(), Services.printer(), Services.softProof()))
        repaintPreview();
}

void PrintPage::keepPreset(const PaperPreset& preset)
{
    QString error;
    if (SavePaperPreset(PaperPresetFolder(), preset, &error).isEmpty()) {
        Dialogs::messageBox(Services.dialogParent(), tr("Could not keep the paper preset: %1").arg(error), tr("Error"),
            Dialogs::Icon::Error);
        return;
    }
    reloadPresets(preset.Name);
    presetChosen();
}

void PrintPage::softProofToggled()
{
    const QString problem = SwitchSoftProof(Services.softProof(), Services.printer(), SoftProofCheck->isChecked());
    if (!problem.isEmpty()) {
        const QSignalBlocker quiet(SoftProofCheck);
        SoftProofCheck->setChecked(false);
        Dialogs::messageBox(Services.dialogParent(), tr("The soft proof cannot be shown.\n%1").arg(problem),
                            tr("Soft proof"), Dialogs::Icon::Warning);
    }
    repaintPreview();
}

void PrintPage::cutMarksToggled() { setCutMarks(CutMarksCheck->isChecked()); }

void PrintPage::setCutMarks(bool on)
{
    ArrangementOptions o = Doc.options();
    o.CutMarks = on;
    Doc.setOptions(o, tr("Cut marks"));
    PrintSheetSettings kept = LoadPrintSheetSettings();
    kept.CutMarks = on;
    SavePrintSheetSettings(kept);
}

void PrintPage::loadSettings(const MainFormSettings& m)
{
    IdGuidesCheck->setChecked(m.IdGuidesCheck);
    const QStringList unconverted = ConvertOldPrintSettings(PaperPresetFolder());
    if (!unconverted.isEmpty())
        Services.showStatus(tr("Could not keep earlier printer settings as paper presets: %1")
                                .arg(unconverted.join(QStringLiteral("; "))));
    reloadPresets(LoadChosenPaperPreset());
    if (chosenPreset())
        presetChosen();
    if (!Doc.fileName().isEmpty() || Doc.isModified())
        return;
    ArrangementOptions o = Doc.options();
    o.CutMarks = LoadPrintSheetSettings().CutMarks;
    Doc.resetOptions(o);
}

void PrintPage::saveSettings(MainFormSettings& m) const { m.IdGuidesCheck = IdGuidesCheck->isChecked(); }

void PrintPage::currentPageChanged() { Doc.setCurrentPage(CurrentPageEd->value()); }

QSize PrintPage::previewPageSize() const
{
    const PrintSetup setup = previewSetup();
    return PreviewSize(setup.PageWidth, setup.PageHeight, Services.screenDpiX(), Services.screenDpiY(), setup.DpiX,
                       setup.DpiY);
}

bool PrintPage::syncPreviewSize()
{
    const QSize size = previewPageSize();
    if (PreviewBox->width() != size.width()) {
        PreviewBox->resize(size.width(), PreviewBox->height());
        return false;
    }
    if (PreviewBox->height() != size.height()) {
        PreviewBox->resize(size);
        return false;
    }
    return true;
}

void PrintPage::paintPreview(TDC &dc)
{
    const SoftProofView &proof = Services.softProof();
    {
        const QSignalBlocker quiet(SoftProofCheck); // the arrange view may have switched it
        SoftProofCheck->setChecked(proof.active());
    }
    // A proof is made of the pictures as drawn: sharp enough copies, not the full pictures.
    const PictureSupply supply(proof.active() ? PictureWant::Sharp : PictureWant::Full);
    PaintPreview(dc, Doc.records(), PreviewBox->size(), Doc.currentPage(), Services.screenDpiX(),
                 Services.screenDpiY(), Doc.options(), previewSetup(), supply);
    if (IdGuidesCheck->isChecked()) {
        const TArrangement &r = Doc.records();
        for (int i = 0; i < r.Placements.size(); ++i)
            if (r.Placements.at(i).Page == Doc.currentPage())
                DrawIdGuides(dc, r.Placements.at(i), PreviewScale(Services.screenDpiX(), Services.screenDpiY()));
    }
}

void PrintPage::previewPaint(QPaintEvent *)
{
    // The resize brings the next paint, which draws at the new size.
    if (Doc.loading() || !syncPreviewSize())
        return;
    TDC dc(PreviewBox);
    paintPreview(dc);
}

void PrintPage::previewAreaResized()
{
    // A preview of no size gets no paint event, so its size cannot wait for one.
    if (Doc.loading())
        return;
    syncPreviewSize();
    syncPreviewSize();
    repaintPreview();
}

void PrintPage::repaintPreview() { PreviewBox->repaint(); }

void PrintPage::previewMousePress(QMouseEvent *e)
{
    PreviewDragging = true;
    PreviewGrab = e->position().toPoint();
    PreviewBox->setCursor(Qt::ClosedHandCursor);
}

void PrintPage::previewMouseMove(QMouseEvent *e)
{
    if (!PreviewDragging)
        return;
    QScrollBar *h = PreviewArea->horizontalScrollBar();
    QScrollBar *v = PreviewArea->verticalScrollBar();
    const QPoint to = PanScrollPosition(QPoint(h->value(), v->value()), PreviewGrab, e->position().toPoint(),
                                        QPoint(h->maximum(), v->maximum()));
    h->setValue(to.x());
    v->setValue(to.y());
}

void PrintPage::previewMouseRelease(QMouseEvent *)
{
    PreviewDragging = false;
    PreviewBox->setCursor(Qt::OpenHandCursor);
}

// ---------------------------------------------------------------------------
// Pages as pictures

QString PrintPage::askExportFile()
{
    return Dialogs::getSaveFileName(
        Services.dialogParent(), tr("Save as image..."),
        tr("PNG image (*.png);;JPEG image (*.jpg *.jpeg);;TIFF image (*.tif *.tiff);;Windows bitmap (*.bmp);;"
           "PDF document, all pages (*.pdf)"),
        QStringLiteral("png"));
}

bool PrintPage::askExportPages(ExportRequest &request)
{
    const int pageCount = Doc.pageCount();
    request.Pages = {Doc.currentPage()};
    if (request.Format == ExportFormat::Pdf) {
        request.Pages = PageSpan(1, pageCount);
    } else if (pageCount > 1) {
        const int answer = Dialogs::messageBox(
            Services.dialogParent(),
            tr("Save all %1 pages? Each page becomes a picture of its own, numbered after the name.\n"
               "No saves the current page only.").arg(pageCount),
            tr("Save as image..."), Dialogs::Icon::Question, Dialogs::YesNoCancel);
        if (answer == Dialogs::IdCancel)
            return false;
        if (answer == Dialogs::IdYes)
            request.Pages = PageSpan(1, pageCount);
    }
    return true;
}

bool PrintPage::acceptReplacing(const ExportRequest &request)
{
    // The file dialog asked about the name chosen; numbered names were never shown.
    if (request.Format == ExportFormat::Pdf)
        return true;
    const QStringList targets = PictureTargets(request);
    if (targets == QStringList{request.FileName})
        return true;
    QStringList existing;
    for (const QString &t : targets)
        if (QFileInfo::exists(t))
            existing << QFileInfo(t).fileName();
    return existing.isEmpty()
        || Dialogs::messageBox(Services.dialogParent(),
                               tr("These files exist already:\n%1\nReplace them?").arg(existing.join('\n')),
                               tr("Save as image..."), Dialogs::Icon::Question, Dialogs::YesNo)
               == Dialogs::IdYes;
}

void PrintPage::saveAsImage()
{
    ExportRequest request;
    request.FileName = askExportFile();
    if (request.FileName.isEmpty())
        return;
    request.Format = ExportFormatForFileName(request.FileName);
    request.Dpi = ImageDpiEd->value();
    request.Title = QFileInfo(request.FileName).completeBaseName();
    if (!askExportPages(request) || !acceptReplacing(request))
        return;
    const bool pdf = request.Format == ExportFormat::Pdf;
    if (pdf) // pictures as the printout has them
        ReportQualityFailures(Services.dialogParent(), Doc.checkAllQualities(paper()));
    if (!AcceptChangedPictures(request.Pages) || !AcceptPicturesOffPage(request.Pages))
        return;
    // Picture files stay sRGB: only a PDF takes the printer profile.
    const PrintSetup setup = jobSetup(pdf);
    const std::unique_ptr<PageExporter> exporter = FileExporter(request.Format);
    const ExportOutcome outcome = runJob(*exporter, setup, request, tr("Save as image..."), tr("Saving..."));
    LogJob(Doc.fileName(), request.FileName, setup, request, outcome);
    reportExport(request, outcome);
}

void PrintPage::reportExport(const ExportRequest &request, const ExportOutcome &outcome)
{
    QWidget *owner = Services.dialogParent();
    const bool pdf = request.Format == ExportFormat::Pdf;
    const int files = pdf ? 1 : int(request.Pages.size());
    if (outcome.Result == ExportResult::Done) {
        Services.showStatus(files == 1 ? tr("%1 saved").arg(QDir::toNativeSeparators(request.FileName))
                                       : tr("%n page(s) saved", nullptr, files));
    } else if (outcome.Result == ExportResult::Cancelled) {
        Services.showStatus(pdf ? tr("Saving cancelled; no file was written.") : tr("Saving cancelled."));
    } else {
        Services.showStatus(QString());
    }
    if (outcome.Result == ExportResult::OutOfMemory) {
        Dialogs::messageBox(owner, tr("Not enough memory for an image of this page at %1 DPI!").arg(request.Dpi),
                            tr("Error"), Dialogs::Icon::Error);
    } else if (outcome.Result == ExportResult::WriteFailed || outcome.Result == ExportResult::Failed) {
        const QString text = tr("Could not save %1!").arg(outcome.FailedFile);
        Dialogs::messageBox(owner, outcome.Reason.isEmpty() ? text : text + QLatin1Char('\n') + outcome.Reason,
                            tr("Error"), Dialogs::Icon::Error);
    }
}

// ---------------------------------------------------------------------------
// Paper presets

const PaperPreset* PrintPage::chosenPreset() const { return Presets.find(PresetBox->currentData().toString()); }

void PrintPage::reloadPresets(const QString& choose)
{
    Presets = LoadPaperPresets(PaperPresetFolder());
    if (!Presets.Errors.isEmpty())
        Services.showStatus(tr("Paper presets left out: %1").arg(Presets.Errors.join(QStringLiteral("; "))));
    const QSignalBlocker quiet(PresetBox);
    PresetBox->clear();
    PresetBox->addItem(tr("(none)"), QString());
    for (const PaperPreset& p : Presets.Presets)
        PresetBox->addItem(p.Name, p.Name);
    PresetBox->setCurrentIndex(std::max(0, PresetBox->findData(choose)));
    PresetRemoveBtn->setEnabled(PresetBox->currentIndex() > 0);
}

void PrintPage::choosePreset(const QString& name)
{
    if (!name.isEmpty() && PresetBox->findData(name) < 0)
        reloadPresets(name); // made since the list was read
    PresetBox->setCurrentIndex(std::max(0, PresetBox->findData(name)));
    presetChosen();
}

void PrintPage::presetChosen()
{
    const PaperPreset* preset = chosenPreset();
    PresetRemoveBtn->setEnabled(preset != nullptr);
    SaveChosenPaperPreset(preset ? preset->Name : QString());
    Services.softProof().setSharpening(preset ? preset->Sharpening : PrintSharpening {},
        Services.printer().LogPixelsX());
    if (preset) {
        const QString problem = ApplyPaperPreset(Services.printer(), *preset);
        Services.showStatus(problem.isEmpty() ? tr("Paper preset: %1").arg(preset->Name) : problem);
    }
    // The proof follows the preset's profile, or the printer and paper's without one.
    RefreshSoftProof(Services.softProof(), Services.printer());
    repaintPreview();
}

PaperPreset PrintPage::presetFromPrinter() const
{
    TPrinter& printer = Services.printer();
    const QPageLayout layout = printer.qprinter()->pageLayout();
    PaperPreset p;
    p.Printer = printer.PrintsToFile() ? QString() : printer.qprinter()->printerName();
    p.PaperKey = layout.pageSize().key();
    p.PaperName = layout.pageSize().name();
    p.Landscape = layout.orientation() == QPageLayout::Landscape;
    const PrintSheetSettings sheets = LoadPrintSheetSettings();
    p.Borderless = sheets.Borderless;
    p.Overspill = sheets.Overspill;
    p.Colour = CurrentColourSettings(printer);
    p.Calibration = StoredCalibration(printer);
    p.Name = tr("%1, %2").arg(p.Printer.isEmpty() ? tr("PDF") : p.Printer, p.PaperName);
    return p;
}

void PrintPage::editPreset()
{
    const PaperPreset* chosen = chosenPreset();
    PaperPresetDialog dialog(Services.dialogParent());
    dialog.setPrinters(QPrinterInfo::availablePrinterNames());
    dialog.Offerings = [](const QString& queue) { return ReadPrinterOfferings(queue); };
    dialog.setPreset(chosen ? *chosen : presetFromPrinter());
    if (Dialogs::execDialog(&dialog) != QDialog::Accepted)
        return;
    const PaperPreset edited = dialog.preset();
    QString error;
    if (SavePaperPreset(PaperPresetFolder(), edited, &error).isEmpty()) {
        Dialogs::messageBox(Services.dialogParent(), tr("Could not keep the paper preset: %1").arg(error), tr("Error"),
            Dialogs::Icon::Error);
        return;
    }
    if (chosen && chosen->Name != edited.Name) // renamed
        RemovePaperPreset(PaperPresetFolder(), chosen->Name);
    reloadPresets(edited.Name);
    presetChosen();
}

void PrintPage::removePreset()
{
    const PaperPreset* chosen = chosenPreset();
    if (!chosen)
        return;
    if (Dialogs::messageBox(Services.dialogParent(), tr("Remove the paper preset \"%1\"?").arg(chosen->Name),
            tr("Paper preset"), Dialogs::Icon::Question, Dialogs::YesNo)
        != Dialogs::IdYes)
        return;
    RemovePaperPreset(PaperPresetFolder(), chosen->Name);
    reloadPresets(QString());
    presetChosen();
}

void PrintPage::showJobLog()
{
    JobLogDialog dialog(ReadJobLog(JobLogFile()), Services.dialogParent());
    Dialogs::execDialog(&dialog);
}
