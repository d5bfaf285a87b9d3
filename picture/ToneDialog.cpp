#include "picture/ToneDialog.h"

#include "picture/Tonal.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>

namespace {
QSlider *makeSlider(QWidget *parent, int minimum, int maximum, int value)
{
    auto *s = new QSlider(Qt::Horizontal, parent);
    s->setRange(minimum, maximum);
    s->setValue(value);
    s->setTickPosition(QSlider::TicksBelow);
    s->setTickInterval((maximum - minimum) / 10);
    s->setPageStep((maximum - minimum) / 10);
    s->setMinimumWidth(320);
    return s;
}
} // namespace

ToneDialog::ToneDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Brightness, contrast and saturation"));

    BrightnessLabel = new QLabel(tr("Brightness:"), this);
    ContrastLabel = new QLabel(tr("Contrast:"), this);
    SaturationLabel = new QLabel(tr("Saturation:"), this);
    BrightnessSlider = makeSlider(this, -127, 127, 0);
    ContrastSlider = makeSlider(this, 0, 200, 100);
    SaturationSlider = makeSlider(this, -100, 100, 0);
    PreviewBtn = new QPushButton(tr("Preview"), this);
    ResetBtn = new QPushButton(tr("Reset"), this);
    OkBtn = new QPushButton(tr("&OK"), this);
    CancelBtn = new QPushButton(tr("&Cancel"), this);
    OkBtn->setDefault(true);
    for (QPushButton *b : {PreviewBtn, ResetBtn, CancelBtn})
        b->setAutoDefault(false);

    auto *grid = new QGridLayout;
    grid->addWidget(BrightnessLabel, 0, 0);
    grid->addWidget(BrightnessSlider, 0, 1);
    grid->addWidget(ContrastLabel, 1, 0);
    grid->addWidget(ContrastSlider, 1, 1);
    grid->addWidget(SaturationLabel, 2, 0);
    grid->addWidget(SaturationSlider, 2, 1);
    BrightnessValue = new QLabel(this);
    ContrastValue = new QLabel(this);
    SaturationValue = new QLabel(this);
    // Signed for the shifts, a percentage for the contrast; wide enough for the longest.
    const auto follow = [this](QSlider *slider, QLabel *label, bool percent) {
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("-127 %")));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const auto show = [label, percent](int v) {
            label->setText(percent ? QStringLiteral("%1 %").arg(v) : (v > 0 ? QStringLiteral("+%1").arg(v)
                                                                              : QString::number(v)));
        };
        connect(slider, &QSlider::valueChanged, label, show);
        show(slider->value());
    };
    follow(BrightnessSlider, BrightnessValue, false);
    follow(ContrastSlider, ContrastValue, true);
    follow(SaturationSlider, SaturationValue, false);
    grid->addWidget(BrightnessValue, 0, 2);
    grid->addWidget(ContrastValue, 1, 2);
    grid->addWidget(SaturationValue, 2, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(PreviewBtn);
    buttons->addWidget(ResetBtn);
    buttons->addStretch(1);
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);
    auto *column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addSpacing(8);
    column->addLayout(buttons);

    // The sliders have no change handler: nothing happens until Preview or OK.
    connect(PreviewBtn, &QPushButton::clicked, this, &ToneDialog::previewTones);
    connect(ResetBtn, &QPushButton::clicked, this, &ToneDialog::resetSliders);
    connect(OkBtn, &QPushButton::clicked, this, &ToneDialog::okClicked);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void ToneDialog::RestoreOld()
{
    if (!WorkDib.Bits || !OldDib.Bits)
        return;
    const std::size_t bytes = std::min(WorkDib.Info->biSizeImage, OldDib.Info->biSizeImage);
    std::memcpy(WorkDib.Bits, OldDib.Bits, bytes);
    if (WorkDib.HasPalette) {
        WorkDib.LogPalette = OldDib.LogPalette;
        const int entries = std::min<int>(PaletteSize(DibBitCount(WorkDib)), int(WorkDib.Info->biClrUsed));
        RGBQUAD *table = DibColors(WorkDib);
        for (int i = 0; i < entries; ++i) {
            const PALETTEENTRY &e = WorkDib.LogPalette.palPalEntry[i];
            table[i].rgbRed = e.peRed;
            table[i].rgbGreen = e.peGreen;
            table[i].rgbBlue = e.peBlue;
        }
        RealizeDibPalette(&WorkDib);
    }
}

void ToneDialog::applyBrightness(int B) { ApplyToneTable(WorkDib, BrightnessTable(B)); }

void ToneDialog::applyContrast(int K) { ApplyToneTable(WorkDib, ContrastTable(K)); }

// Applied to 1-bit pictures as well: their two palette entries follow the same
// rule as any other palette, as with brightness and contrast.
void ToneDialog::applySaturation(int S) { ApplyToneTable(WorkDib, SaturationTable(S)); }

void ToneDialog::applySliders()
{
    // RestoreOld, applyBrightness, applyContrast and applySaturation in this order, but as one
    // table: each maps single colour values, so their composition gives the same
    // bytes, and a true-colour picture is then read and written only once.
    const ToneTable t = chosenTable();
    if (!CopyThroughTable(OldDib, WorkDib, t)) {
        RestoreOld();
        ApplyToneTable(WorkDib, t);
    }
    if (RepaintViews)
        RepaintViews();
}

ToneTable ToneDialog::chosenTable() const
{
    const ToneTable bk = ComposeTables(BrightnessTable(BrightnessSlider->value()), ContrastTable(ContrastSlider->value()));
    return ComposeTables(bk, SaturationTable(SaturationSlider->value()));
}

void ToneDialog::previewTones() { applySliders(); }

void ToneDialog::resetSliders()
{
    BrightnessSlider->setValue(0);
    ContrastSlider->setValue(100);
    SaturationSlider->setValue(0);
}

void ToneDialog::okClicked()
{
    applySliders();
    accept();
}
