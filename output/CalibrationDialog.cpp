#include "output/CalibrationDialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QDoubleSpinBox *valueEdit(QWidget *parent, double min, double max, double step, double value, const QString &suffix)
{
    auto *e = new QDoubleSpinBox(parent);
    e->setRange(min, max);
    e->setDecimals(2);
    e->setSingleStep(step);
    e->setValue(value);
    e->setSuffix(suffix);
    e->setKeyboardTracking(true);
    return e;
}
} // namespace

CalibrationDialog::CalibrationDialog(const QString &target, const PrintCalibration &current, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Calibrate printer"));
    const PrintCalibration c = ClampedCalibration(current);
    TargetLabel = new QLabel(target, this);
    TargetLabel->setWordWrap(true);
    QFont bold = TargetLabel->font();
    bold.setBold(true);
    TargetLabel->setFont(bold);
    auto *help = new QLabel(tr("Many printers print a little off. Print the calibration page, measure it as it "
                               "says and type what you measured. Every later printout on this printer and paper "
                               "is corrected; the preview and saved files are not."),
                            this);
    help->setWordWrap(true);
    PrintPageBtn = new QPushButton(tr("&Print calibration page"), this);
    const QString mm = tr(" mm");
    OffsetXEd = valueEdit(this, -MaxCalibrationOffset, MaxCalibrationOffset, 0.1, c.OffsetX, mm);
    OffsetXEd->setToolTip(tr("How far the printout lies to the right of where it belongs; negative: to the left"));
    OffsetYEd = valueEdit(this, -MaxCalibrationOffset, MaxCalibrationOffset, 0.1, c.OffsetY, mm);
    OffsetYEd->setToolTip(tr("How far the printout lies below where it belongs; negative: above"));
    ScaleEd = valueEdit(this, MinCalibrationScale * 100, MaxCalibrationScale * 100, 0.05, c.Scale * 100,
                        tr(" %"));
    ScaleEd->setToolTip(tr("The square's printed width divided by its size, in percent"));
    ResetBtn = new QPushButton(tr("&No correction"), this);

    auto *form = new QFormLayout;
    form->addRow(tr("Offset &X:"), OffsetXEd);
    form->addRow(tr("Offset &Y:"), OffsetYEd);
    form->addRow(tr("&Scale:"), ScaleEd);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->addButton(ResetBtn, QDialogButtonBox::ResetRole);

    auto *column = new QVBoxLayout(this);
    column->addWidget(TargetLabel);
    column->addWidget(help);
    column->addWidget(PrintPageBtn, 0, Qt::AlignLeft);
    column->addLayout(form);
    column->addStretch(1);
    column->addWidget(buttons);

    connect(PrintPageBtn, &QPushButton::clicked, this, &CalibrationDialog::printCalibrationPage);
    connect(ResetBtn, &QPushButton::clicked, this, &CalibrationDialog::resetCalibration);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

PrintCalibration CalibrationDialog::calibration() const
{
    return ClampedCalibration({OffsetXEd->value(), OffsetYEd->value(), ScaleEd->value() / 100});
}

void CalibrationDialog::printCalibrationPage()
{
    if (PrintPage)
        PrintPage();
}

void CalibrationDialog::resetCalibration()
{
    OffsetXEd->setValue(0);
    OffsetYEd->setValue(0);
    ScaleEd->setValue(100);
}
