#include "picture/HKUnit.h"

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

THKForm::THKForm(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Brightness, contrast and saturation"));

    Label1 = new QLabel(tr("Brightness:"), this);
    Label2 = new QLabel(tr("Contrast:"), this);
    Label3 = new QLabel(tr("Saturation:"), this);
    TrackBar1 = makeSlider(this, -127, 127, 0);
    TrackBar2 = makeSlider(this, 0, 200, 100);
    TrackBar3 = makeSlider(this, -100, 100, 0);
    PreviewBtn = new QPushButton(tr("Preview"), this);
    BacksetBitBtn3 = new QPushButton(tr("Reset"), this);
    OkBitBtn1 = new QPushButton(tr("&OK"), this);
    CancelBitBtn2 = new QPushButton(tr("&Cancel"), this);
    OkBitBtn1->setDefault(true);
    for (QPushButton *b : {PreviewBtn, BacksetBitBtn3, CancelBitBtn2})
        b->setAutoDefault(false);

    auto *grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(TrackBar1, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(TrackBar2, 1, 1);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(TrackBar3, 2, 1);
    ValueLabel1 = new QLabel(this);
    ValueLabel2 = new QLabel(this);
    ValueLabel3 = new QLabel(this);
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
    follow(TrackBar1, ValueLabel1, false);
    follow(TrackBar2, ValueLabel2, true);
    follow(TrackBar3, ValueLabel3, false);
    grid->addWidget(ValueLabel1, 0, 2);
    grid->addWidget(ValueLabel2, 1, 2);
    grid->addWidget(ValueLabel3, 2, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(PreviewBtn);
    buttons->addWidget(BacksetBitBtn3);
    buttons->addStretch(1);
    buttons->addWidget(OkBitBtn1);
    buttons->addWidget(CancelBitBtn2);
    auto *column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addSpacing(8);
    column->addLayout(buttons);

    // The sliders have no change handler: nothing happens until Preview or OK.
    connect(PreviewBtn, &QPushButton::clicked, this, &THKForm::TrackBar1Change);
    connect(BacksetBitBtn3, &QPushButton::clicked, this, &THKForm::BacksetBitBtn3Click);
    connect(OkBitBtn1, &QPushButton::clicked, this, &THKForm::OkBitBtn1Click);
    connect(CancelBitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void THKForm::RestoreOld()
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

void THKForm::Helligkeit(int B) { ApplyToneTable(WorkDib, BrightnessTable(B)); }

void THKForm::Kontrast(int K) { ApplyToneTable(WorkDib, ContrastTable(K)); }

// Applied to 1-bit pictures as well: their two palette entries follow the same
// rule as any other palette, as with brightness and contrast.
void THKForm::Saettigung(int S) { ApplyToneTable(WorkDib, SaturationTable(S)); }

void THKForm::applySliders()
{
    // RestoreOld, Helligkeit, Kontrast and Saettigung in this order, but as one
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

ToneTable THKForm::chosenTable() const
{
    const ToneTable bk = ComposeTables(BrightnessTable(TrackBar1->value()), ContrastTable(TrackBar2->value()));
    return ComposeTables(bk, SaturationTable(TrackBar3->value()));
}

void THKForm::TrackBar1Change() { applySliders(); }

void THKForm::BacksetBitBtn3Click()
{
    TrackBar1->setValue(0);
    TrackBar2->setValue(100);
    TrackBar3->setValue(0);
}

void THKForm::OkBitBtn1Click()
{
    applySliders();
    accept();
}
