// The single-picture print dialog and the printing it starts.
#include "output/SinglePrintDialog.h"

#include "output/PrintCalibration.h"
#include "output/PrintJob.h"
#include "picture/DrawDib.h"
#include "platform/DeviceContext.h"
#include "platform/Dialogs.h"
#include "platform/PaintBox.h"
#include "platform/Printer.h"
#include "platform/Settings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
QSize pictureSize(const DIB &dib) { return dib.Bits ? QSize(DibWidth(dib), DibHeight(dib)) : QSize(); }
QSize printerPage(const TPrinter &printer) { return QSize(printer.PageWidth(), printer.PageHeight()); }

PrintSizeChoice LoadPrintChoice()
{
    const PrintFormSettings s = LoadPrintFormSettings();
    PrintSizeChoice c;
    c.UseFull = s.UseFull || !s.Userdef; // one of the two radio buttons is always chosen
    c.KeepAspect = s.Sverh;
    c.Centered = s.Zentr;
    c.WidthPercent = s.Breit;
    c.HeightPercent = s.Hoch;
    return c;
}

void SavePrintChoice(const PrintSizeChoice &c)
{
    PrintFormSettings s;
    s.UseFull = c.UseFull;
    s.Userdef = !c.UseFull;
    s.Sverh = c.KeepAspect;
    s.Zentr = c.Centered;
    s.Breit = c.WidthPercent;
    s.Hoch = c.HeightPercent;
    SavePrintFormSettings(s); // the dialog has a fixed size: never maximised
}

QSpinBox *percentEdit(QWidget *parent)
{
    auto *e = new QSpinBox(parent);
    e->setRange(1, 100);
    e->setValue(50);
    e->setKeyboardTracking(true);
    return e;
}
} // namespace

SinglePrintDialog::SinglePrintDialog(const DIB &dib, TPrinter &printer, QWidget *parent)
    : QDialog(parent)
    , Dib(dib)
    , Printer(printer)
{
    setWindowTitle(tr("Print picture..."));

    PreviewLabel = new QLabel(tr("Preview:"), this);
    PreviewBox = new TPaintBox(this);
    PreviewBox->setFixedSize(200, 200);
    PrintSetupBtn = new QPushButton(tr("Setup printer..."), this);

    SizeGroup = new QGroupBox(tr("Print size"), this);
    FullPageRadio = new QRadioButton(tr("Use page fully"), SizeGroup);
    OwnSizeRadio = new QRadioButton(tr("User-defined"), SizeGroup);
    FullPageRadio->setChecked(true);
    WidthEd = percentEdit(SizeGroup);
    HeightEd = percentEdit(SizeGroup);
    auto *sizeGrid = new QGridLayout(SizeGroup);
    sizeGrid->addWidget(FullPageRadio, 0, 0, 1, 2);
    sizeGrid->addWidget(OwnSizeRadio, 1, 0, 1, 2);
    sizeGrid->addWidget(new QLabel(tr("Width in %:"), SizeGroup), 2, 0);
    sizeGrid->addWidget(WidthEd, 2, 1);
    sizeGrid->addWidget(new QLabel(tr("Height in %:"), SizeGroup), 3, 0);
    sizeGrid->addWidget(HeightEd, 3, 1);

    OptionsGroup = new QGroupBox(tr("Print options"), this);
    KeepAspectCheck = new QCheckBox(tr("Maintain aspect ratio"), OptionsGroup);
    CentredCheck = new QCheckBox(tr("Centered output"), OptionsGroup);
    KeepAspectCheck->setChecked(true);
    CentredCheck->setChecked(true);
    auto *optionsColumn = new QVBoxLayout(OptionsGroup);
    optionsColumn->addWidget(KeepAspectCheck);
    optionsColumn->addWidget(CentredCheck);

    OkBtn = new QPushButton(tr("&OK"), this);
    CancelBtn = new QPushButton(tr("&Cancel"), this);
    OkBtn->setDefault(true);
    PrintSetupBtn->setAutoDefault(false);
    CancelBtn->setAutoDefault(false);

    auto *left = new QVBoxLayout;
    left->addWidget(PreviewLabel);
    left->addWidget(PreviewBox);
    left->addWidget(PrintSetupBtn);
    left->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);
    auto *right = new QVBoxLayout;
    right->addWidget(SizeGroup);
    right->addWidget(OptionsGroup);
    right->addStretch(1);
    right->addLayout(buttons);
    auto *row = new QHBoxLayout(this);
    row->addLayout(left);
    row->addSpacing(8);
    row->addLayout(right);
    row->setSizeConstraint(QLayout::SetFixedSize); // fixed border

    PreviewBox->onPaint = [this](QPaintEvent *) { previewPaint(); };
    connect(PrintSetupBtn, &QPushButton::clicked, this, &SinglePrintDialog::printerSetup);
    connect(FullPageRadio, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optionChanged();
    });
    connect(OwnSizeRadio, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            sizeChoiceChanged();
    });
    connect(WidthEd, &QSpinBox::valueChanged, this, &SinglePrintDialog::widthChanged);
    connect(HeightEd, &QSpinBox::valueChanged, this, &SinglePrintDialog::heightChanged);
    connect(KeepAspectCheck, &QCheckBox::clicked, this, &SinglePrintDialog::optionChanged);
    connect(CentredCheck, &QCheckBox::clicked, this, &SinglePrintDialog::optionChanged);
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

PrintSizeChoice SinglePrintDialog::choice() const
{
    PrintSizeChoice c;
    c.UseFull = FullPageRadio->isChecked();
    c.KeepAspect = KeepAspectCheck->isChecked();
    c.Centered = CentredCheck->isChecked();
    c.WidthPercent = WidthEd->value();
    c.HeightPercent = HeightEd->value();
    return c;
}

void SinglePrintDialog::setChoice(const PrintSizeChoice &c)
{
    // Set as stored: coupling each value to the other here would let the
    // truncated percentages creep down from one run to the next.
    Coupling = true;
    (c.UseFull ? FullPageRadio : OwnSizeRadio)->setChecked(true);
    KeepAspectCheck->setChecked(c.KeepAspect);
    CentredCheck->setChecked(c.Centered);
    WidthEd->setValue(c.WidthPercent);
    HeightEd->setValue(c.HeightPercent);
    Coupling = false;
}

void SinglePrintDialog::showChoice() { widthChanged(); }

void SinglePrintDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void SinglePrintDialog::paintPreview(TDC &dc, QSize box)
{
    const PrintPreviewRects r = PrintPreviewLayout(box, pictureSize(Dib), printerPage(Printer), choice());
    if (r.Page.isEmpty())
        return;
    dc.SetPen(RGB(255, 255, 255));
    dc.SetBrush(RGB(255, 255, 255));
    dc.Rectangle(r.Page.left(), r.Page.top(), r.Page.left() + r.Page.width(), r.Page.top() + r.Page.height());
    if (!r.Picture.isEmpty())
        DrawDib(dc, r.Picture.x(), r.Picture.y(), r.Picture.width(), r.Picture.height(), Dib, 0, 0, DibWidth(Dib),
                DibHeight(Dib), true, SRCCOPY, true, HPALETTE());
}

void SinglePrintDialog::previewPaint()
{
    TDC dc(PreviewBox);
    paintPreview(dc, PreviewBox->size());
}

void SinglePrintDialog::widthChanged()
{
    if (Coupling)
        return;
    Coupling = true;
    if (KeepAspectCheck->isChecked()) {
        const QSize pic = pictureSize(Dib), page = printerPage(Printer);
        if (const auto h = CoupledPercent(WidthEd->value(), pic.height(), pic.width(), page.width(), page.height()))
            HeightEd->setValue(*h);
    }
    PreviewBox->update();
    Coupling = false;
}

void SinglePrintDialog::heightChanged()
{
    if (Coupling)
        return;
    Coupling = true;
    if (KeepAspectCheck->isChecked()) {
        const QSize pic = pictureSize(Dib), page = printerPage(Printer);
        if (const auto w = CoupledPercent(HeightEd->value(), pic.width(), pic.height(), page.height(), page.width()))
            WidthEd->setValue(*w);
    }
    PreviewBox->update();
    Coupling = false;
}

void SinglePrintDialog::sizeChoiceChanged() { widthChanged(); }

// The paint routine ran the coupling on every paint; here the controls that
// change what it depends on run it instead, so painting changes no value.
void SinglePrintDialog::optionChanged() { widthChanged(); }

void SinglePrintDialog::printerSetup()
{
    RunPrinterSetup(this, Printer);
    widthChanged(); // the paper's shape may have changed
}

void DrawSinglePicture(TDC &dc, const DIB &dib, QSize page, const PrintSizeChoice &choice)
{
    const QRect r = PrintedPictureRect(pictureSize(dib), page, choice);
    if (r.isEmpty())
        return;
    DrawDib(dc, r.x(), r.y(), r.width(), r.height(), dib, 0, 0, DibWidth(dib), DibHeight(dib), false, SRCCOPY, true,
            HPALETTE());
}

bool PrintSinglePicture(QWidget *owner, TPrinter &printer, const DIB &dib, const QString &title,
                        const std::function<void(const QString &)> &showStatus)
{
    if (pictureSize(dib).isEmpty())
        return false;
    SinglePrintDialog form(dib, printer, owner);
    form.setChoice(LoadPrintChoice());
    form.showChoice();
    const int result = Dialogs::execDialog(&form);
    // Kept whenever the dialog closes, Cancel included.
    SavePrintChoice(form.choice());
    if (result != QDialog::Accepted)
        return false;

    printer.Title = title;
    // No print dialog asks for a file here: never reuse the last job's.
    const bool toFile = printer.PrintsToFile();
    if (toFile)
        printer.UseNewOutputFile();
    if (!printer.BeginDoc()) {
        Dialogs::messageBox(owner,
                            toFile ? SinglePrintDialog::tr("Could not print to the file %1!").arg(printer.OutputFileName())
                                   : SinglePrintDialog::tr("Could not print! Please check the printer."),
                            SinglePrintDialog::tr("Error"), Dialogs::Icon::Error);
        return false;
    }
    ApplyCalibration(printer, StoredCalibration(printer));
    DrawSinglePicture(printer.Canvas(), form.Dib, printerPage(printer), form.choice());
    printer.EndDoc();
    if (toFile && showStatus)
        showStatus(SinglePrintDialog::tr("Printed to %1").arg(printer.OutputFileName()));
    return true;
}
