// The single-picture print dialog and the printing it starts.
#include "output/PrintFUnit.h"

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

TPrintForm::TPrintForm(const DIB &dib, TPrinter &printer, QWidget *parent)
    : QDialog(parent)
    , Dib(dib)
    , Printer(printer)
{
    setWindowTitle(tr("Print picture..."));

    PreviewLabel = new QLabel(tr("Preview:"), this);
    PrintPaintBox = new TPaintBox(this);
    PrintPaintBox->setFixedSize(200, 200);
    PrintSetupBtn = new QPushButton(tr("Setup printer..."), this);

    SizeGroup = new QGroupBox(tr("Print size"), this);
    UseFullCheck = new QRadioButton(tr("Use page fully"), SizeGroup);
    UserdefCheck = new QRadioButton(tr("User-defined"), SizeGroup);
    UseFullCheck->setChecked(true);
    BreitEdit = percentEdit(SizeGroup);
    HochEdit = percentEdit(SizeGroup);
    auto *sizeGrid = new QGridLayout(SizeGroup);
    sizeGrid->addWidget(UseFullCheck, 0, 0, 1, 2);
    sizeGrid->addWidget(UserdefCheck, 1, 0, 1, 2);
    sizeGrid->addWidget(new QLabel(tr("Width in %:"), SizeGroup), 2, 0);
    sizeGrid->addWidget(BreitEdit, 2, 1);
    sizeGrid->addWidget(new QLabel(tr("Height in %:"), SizeGroup), 3, 0);
    sizeGrid->addWidget(HochEdit, 3, 1);

    OptionsGroup = new QGroupBox(tr("Print options"), this);
    SverhCheck = new QCheckBox(tr("Maintain aspect ratio"), OptionsGroup);
    ZentrCheck = new QCheckBox(tr("Centered output"), OptionsGroup);
    SverhCheck->setChecked(true);
    ZentrCheck->setChecked(true);
    auto *optionsColumn = new QVBoxLayout(OptionsGroup);
    optionsColumn->addWidget(SverhCheck);
    optionsColumn->addWidget(ZentrCheck);

    OkBitBtn1 = new QPushButton(tr("&OK"), this);
    CancelBitBtn2 = new QPushButton(tr("&Cancel"), this);
    OkBitBtn1->setDefault(true);
    PrintSetupBtn->setAutoDefault(false);
    CancelBitBtn2->setAutoDefault(false);

    auto *left = new QVBoxLayout;
    left->addWidget(PreviewLabel);
    left->addWidget(PrintPaintBox);
    left->addWidget(PrintSetupBtn);
    left->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkBitBtn1);
    buttons->addWidget(CancelBitBtn2);
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

    PrintPaintBox->onPaint = [this](QPaintEvent *) { PrintPaintBoxPaint(); };
    connect(PrintSetupBtn, &QPushButton::clicked, this, &TPrintForm::PrintSetupBtnClick);
    connect(UseFullCheck, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            OptionClick();
    });
    connect(UserdefCheck, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            UserdefCheckClick();
    });
    connect(BreitEdit, &QSpinBox::valueChanged, this, &TPrintForm::BreitEditChange);
    connect(HochEdit, &QSpinBox::valueChanged, this, &TPrintForm::HochEditChange);
    connect(SverhCheck, &QCheckBox::clicked, this, &TPrintForm::OptionClick);
    connect(ZentrCheck, &QCheckBox::clicked, this, &TPrintForm::OptionClick);
    connect(OkBitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

PrintSizeChoice TPrintForm::choice() const
{
    PrintSizeChoice c;
    c.UseFull = UseFullCheck->isChecked();
    c.KeepAspect = SverhCheck->isChecked();
    c.Centered = ZentrCheck->isChecked();
    c.WidthPercent = BreitEdit->value();
    c.HeightPercent = HochEdit->value();
    return c;
}

void TPrintForm::setChoice(const PrintSizeChoice &c)
{
    // Set as stored: coupling each value to the other here would let the
    // truncated percentages creep down from one run to the next.
    Coupling = true;
    (c.UseFull ? UseFullCheck : UserdefCheck)->setChecked(true);
    SverhCheck->setChecked(c.KeepAspect);
    ZentrCheck->setChecked(c.Centered);
    BreitEdit->setValue(c.WidthPercent);
    HochEdit->setValue(c.HeightPercent);
    Coupling = false;
}

void TPrintForm::FormShow() { BreitEditChange(); }

void TPrintForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void TPrintForm::paintPreview(TDC &dc, QSize box)
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

void TPrintForm::PrintPaintBoxPaint()
{
    TDC dc(PrintPaintBox);
    paintPreview(dc, PrintPaintBox->size());
}

void TPrintForm::BreitEditChange()
{
    if (Coupling)
        return;
    Coupling = true;
    if (SverhCheck->isChecked()) {
        const QSize pic = pictureSize(Dib), page = printerPage(Printer);
        if (const auto h = CoupledPercent(BreitEdit->value(), pic.height(), pic.width(), page.width(), page.height()))
            HochEdit->setValue(*h);
    }
    PrintPaintBox->update();
    Coupling = false;
}

void TPrintForm::HochEditChange()
{
    if (Coupling)
        return;
    Coupling = true;
    if (SverhCheck->isChecked()) {
        const QSize pic = pictureSize(Dib), page = printerPage(Printer);
        if (const auto w = CoupledPercent(HochEdit->value(), pic.width(), pic.height(), page.height(), page.width()))
            BreitEdit->setValue(*w);
    }
    PrintPaintBox->update();
    Coupling = false;
}

void TPrintForm::UserdefCheckClick() { BreitEditChange(); }

// The paint routine ran the coupling on every paint; here the controls that
// change what it depends on run it instead, so painting changes no value.
void TPrintForm::OptionClick() { BreitEditChange(); }

void TPrintForm::PrintSetupBtnClick()
{
    RunPrinterSetup(this, Printer);
    BreitEditChange(); // the paper's shape may have changed
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
    TPrintForm form(dib, printer, owner);
    form.setChoice(LoadPrintChoice());
    form.FormShow();
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
                            toFile ? TPrintForm::tr("Could not print to the file %1!").arg(printer.OutputFileName())
                                   : TPrintForm::tr("Could not print! Please check the printer."),
                            TPrintForm::tr("Error"), Dialogs::Icon::Error);
        return false;
    }
    ApplyCalibration(printer, StoredCalibration(printer));
    DrawSinglePicture(printer.Canvas(), form.Dib, printerPage(printer), form.choice());
    printer.EndDoc();
    if (toFile && showStatus)
        showStatus(TPrintForm::tr("Printed to %1").arg(printer.OutputFileName()));
    return true;
}
