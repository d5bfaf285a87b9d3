#include "output/PaperPresetDialog.h"

#include "platform/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSize>
#include <QPoint>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QDoubleSpinBox* numberEdit(QWidget* parent, double low, double high, int decimals, double step, const QString& suffix)
{
    auto* e = new QDoubleSpinBox(parent);
    e->setRange(low, high);
    e->setDecimals(decimals);
    e->setSingleStep(step);
    e->setSuffix(suffix);
    return e;
}

QSpinBox* wholeEdit(QWidget* parent, int low, int high, const QString& suffix = {})
{
    auto* e = new QSpinBox(parent);
    e->setRange(low, high);
    e->setSuffix(suffix);
    return e;
}

// An editable list of keywords shown by the printer's names; the first entry
// leaves the printer's default.
QComboBox* choiceBox(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

void fillChoices(QComboBox* box, const std::vector<std::pair<QString, QString>>& offered, const QString& keep)
{
    const QString current = keep.isEmpty() ? box->currentData().toString() : keep;
    box->clear();
    box->addItem(QObject::tr("(the printer's default)"), QString());
    for (const auto& [keyword, name] : offered)
        box->addItem(name == keyword ? name : QStringLiteral("%1 (%2)").arg(name, keyword), keyword);
    const int at = box->findData(current);
    if (at >= 0)
        box->setCurrentIndex(at);
    else
        box->setEditText(current);
}

void selectKeyword(QComboBox* box, const QString& keyword)
{
    const int at = box->findData(keyword);
    if (at >= 0)
        box->setCurrentIndex(at);
    else
        box->setEditText(keyword);
}

// The keyword chosen or typed.
QString chosenKeyword(const QComboBox* box)
{
    const int at = box->findText(box->currentText());
    return at >= 0 ? box->itemData(at).toString() : box->currentText().trimmed();
}
} // namespace

PaperPresetDialog::PaperPresetDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Paper preset"));
    NameEd = new QLineEdit(this);
    NameEd->setMaxLength(80);
    NameEd->setPlaceholderText(tr("for example Studio printer, glossy 10 x 15"));
    PrinterBox = new QComboBox(this);
    PrinterBox->setEditable(true);
    PaperBox = new QComboBox(this);
    for (int id = 0; id <= int(QPageSize::LastPageSize); ++id) {
        const QPageSize size { QPageSize::PageSizeId(id) };
        if (size.isValid())
            PaperBox->addItem(size.name(), size.key());
    }
    LandscapeCheck = new QCheckBox(tr("&Landscape"), this);
    BorderlessCheck = new QCheckBox(tr("&Borderless"), this);
    OverspillEd = numberEdit(this, 0, MaxOverspill, 1, 0.5, tr(" mm"));
    OverspillEd->setToolTip(tr("How far frames at the paper's edge are drawn beyond it, so no white edge is left"));
    SourceBox = choiceBox(this);
    MediaBox = choiceBox(this);
    QualityBox = choiceBox(this);
    ProfileEd = new QLineEdit(this);
    ProfileEd->setPlaceholderText(tr("None: the pictures are printed as sRGB"));
    IntentBox = new QComboBox(this);
    IntentBox->addItems(
        { tr("Perceptual"), tr("Relative colorimetric"), tr("Saturation"), tr("Absolute colorimetric") });
    BlackPointCheck = new QCheckBox(tr("Black &point compensation"), this);
    OffsetXEd = numberEdit(this, -MaxCalibrationOffset, MaxCalibrationOffset, 2, 0.1, tr(" mm"));
    OffsetYEd = numberEdit(this, -MaxCalibrationOffset, MaxCalibrationOffset, 2, 0.1, tr(" mm"));
    ScaleEd = numberEdit(this, MinCalibrationScale, MaxCalibrationScale, 4, 0.001, QString());
    AmountEd = wholeEdit(this, 0, MaxSharpenAmount, tr(" %"));
    AmountEd->setSpecialValueText(tr("Off"));
    RadiusEd = numberEdit(this, MinSharpenRadius, MaxSharpenRadius, 3, 0.01, tr(" mm"));
    BrightnessEd = wholeEdit(this, -MaxPrintAdjustment, MaxPrintAdjustment);
    ContrastEd = wholeEdit(this, -MaxPrintAdjustment, MaxPrintAdjustment);
    StripBox = new QComboBox(this);
    StripBox->setToolTip(tr("Takes the brightness and contrast (or the rendering intent) of a step of the last test strip"));
    StripBox->addItem(tr("(choose a step)"));
    int step = 0;
    for (const KeptStripStep& s : LoadTestStripSteps()) {
        const QString text = s.Intent >= 0
            ? tr("Step %1: %2, brightness %3, contrast %4")
                  .arg(QString::number(++step), IntentBox->itemText(s.Intent), QString::number(s.Brightness),
                      QString::number(s.Contrast))
            : tr("Step %1: brightness %2, contrast %3").arg(++step).arg(s.Brightness).arg(s.Contrast);
        StripBox->addItem(text, QList<QVariant> { s.Brightness, s.Contrast, s.Intent });
    }
    StripBox->setEnabled(StripBox->count() > 1);
    connect(StripBox, &QComboBox::activated, this, &PaperPresetDialog::takeStripStep);
    connect(PrinterBox, &QComboBox::activated, this, [this] {
        if (Offerings)
            setOfferings(Offerings(PrinterBox->currentText()));
    });
    fillChoices(SourceBox, {}, {});
    fillChoices(MediaBox, {}, {});
    fillChoices(QualityBox,
        { { QStringLiteral("draft"), tr("Draft") }, { QStringLiteral("normal"), tr("Normal") },
            { QStringLiteral("high"), tr("High") } },
        {});
    layoutDialog();
    setPreset(PaperPreset {});
}

void PaperPresetDialog::layoutDialog()
{
    auto* paperBox = new QGroupBox(tr("Printer and paper"), this);
    auto* paper = new QFormLayout(paperBox);
    paper->addRow(tr("&Name:"), NameEd);
    paper->addRow(tr("P&rinter:"), PrinterBox);
    paper->addRow(tr("Pap&er:"), PaperBox);
    auto* edges = new QHBoxLayout;
    edges->addWidget(LandscapeCheck);
    edges->addWidget(BorderlessCheck);
    edges->addWidget(OverspillEd);
    edges->addStretch(1);
    paper->addRow(QString(), edges);
    paper->addRow(tr("&Tray:"), SourceBox);
    paper->addRow(tr("&Media type:"), MediaBox);
    paper->addRow(tr("&Quality:"), QualityBox);

    auto* colourBox = new QGroupBox(tr("Colour and calibration"), this);
    auto* colour = new QFormLayout(colourBox);
    auto* profileRow = new QHBoxLayout;
    auto* profileBtn = new QPushButton(tr("&Choose..."), this);
    connect(profileBtn, &QPushButton::clicked, this, &PaperPresetDialog::chooseProfile);
    profileRow->addWidget(ProfileEd, 1);
    profileRow->addWidget(profileBtn);
    colour->addRow(tr("Printer profile:"), profileRow);
    colour->addRow(tr("Rendering &intent:"), IntentBox);
    colour->addRow(QString(), BlackPointCheck);
    auto* offsets = new QHBoxLayout;
    offsets->addWidget(OffsetXEd);
    offsets->addWidget(OffsetYEd);
    colour->addRow(tr("Printer offset (right, down):"), offsets);
    colour->addRow(tr("Printer scale:"), ScaleEd);

    auto* finishBox = new QGroupBox(tr("Sharpening and print adjustment"), this);
    auto* finish = new QFormLayout(finishBox);
    auto* sharpen = new QHBoxLayout;
    sharpen->addWidget(AmountEd);
    sharpen->addWidget(new QLabel(tr("Radius:"), this));
    sharpen->addWidget(RadiusEd);
    auto* matte = new QPushButton(tr("Matte"), this);
    auto* glossy = new QPushButton(tr("Glossy"), this);
    matte->setToolTip(tr("Suggested sharpening for matte paper"));
    glossy->setToolTip(tr("Suggested sharpening for glossy paper"));
    connect(matte, &QPushButton::clicked, this, [this] { suggestSharpening(MatteSharpening); });
    connect(glossy, &QPushButton::clicked, this, [this] { suggestSharpening(GlossySharpening); });
    sharpen->addWidget(matte);
    sharpen->addWidget(glossy);
    finish->addRow(tr("Sharpening:"), sharpen);
    finish->addRow(tr("Brigh&tness:"), BrightnessEd);
    finish->addRow(tr("C&ontrast:"), ContrastEd);
    finish->addRow(tr("From the test strip:"), StripBox);
    finish->addRow(new QLabel(tr("Sharpening and adjustment change what is printed only, never the screen."), this));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PaperPresetDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PaperPresetDialog::reject);
    auto* left = new QVBoxLayout;
    left->addWidget(paperBox);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(colourBox);
    right->addWidget(finishBox);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* all = new QVBoxLayout(this);
    all->addLayout(columns);
    all->addWidget(buttons);
}

void PaperPresetDialog::setPrinters(const QStringList& names)
{
    const QString current = PrinterBox->currentText();
    PrinterBox->clear();
    PrinterBox->addItems(names);
    PrinterBox->setEditText(current);
}

void PaperPresetDialog::setOfferings(const PrinterOfferings& offerings)
{
    fillChoices(SourceBox, offerings.Sources, {});
    fillChoices(MediaBox, offerings.MediaTypes, {});
    if (!offerings.Qualities.empty())
        fillChoices(QualityBox, offerings.Qualities, {});
}

void PaperPresetDialog::setPreset(const PaperPreset& p)
{
    Kept = p;
    NameEd->setText(p.Name);
    PrinterBox->setEditText(p.Printer);
    if (Offerings && !p.Printer.isEmpty())
        setOfferings(Offerings(p.Printer));
    int at = PaperBox->findData(p.PaperKey);
    if (at < 0 && !p.PaperName.isEmpty()) {
        // A custom paper stays as it is unless another is chosen.
        PaperBox->addItem(p.PaperName, QString());
        at = PaperBox->count() - 1;
    }
    PaperBox->setCurrentIndex(at >= 0 ? at : PaperBox->findData(QStringLiteral("A4")));
    LandscapeCheck->setChecked(p.Landscape);
    BorderlessCheck->setChecked(p.Borderless);
    OverspillEd->setValue(p.Overspill);
    selectKeyword(SourceBox, p.Choices.Source);
    selectKeyword(MediaBox, p.Choices.MediaType);
    selectKeyword(QualityBox, p.Choices.Quality);
    ProfileEd->setText(p.Colour.ProfileFile);
    IntentBox->setCurrentIndex(std::clamp(p.Colour.Intent, 0, 3));
    BlackPointCheck->setChecked(p.Colour.BlackPoint);
    OffsetXEd->setValue(p.Calibration.OffsetX);
    OffsetYEd->setValue(p.Calibration.OffsetY);
    ScaleEd->setValue(p.Calibration.Scale);
    AmountEd->setValue(p.Sharpening.Amount);
    RadiusEd->setValue(p.Sharpening.Radius);
    BrightnessEd->setValue(p.Adjustment.Brightness);
    ContrastEd->setValue(p.Adjustment.Contrast);
}

PaperPreset PaperPresetDialog::preset() const
{
    PaperPreset p = Kept;
    p.Name = NameEd->text().trimmed();
    p.Printer = PrinterBox->currentText().trimmed();
    const QString key = PaperBox->currentData().toString();
    if (!key.isEmpty() || PaperBox->currentText() != Kept.PaperName) {
        p.PaperKey = key;
        p.PaperName = PaperBox->currentText();
        p.WidthMm = p.HeightMm = 0;
    }
    p.Landscape = LandscapeCheck->isChecked();
    p.Borderless = BorderlessCheck->isChecked();
    p.Overspill = OverspillEd->value();
    p.Choices.Source = chosenKeyword(SourceBox);
    p.Choices.MediaType = chosenKeyword(MediaBox);
    p.Choices.Quality = chosenKeyword(QualityBox);
    p.Colour.ProfileFile = ProfileEd->text().trimmed();
    p.Colour.Intent = IntentBox->currentIndex();
    p.Colour.BlackPoint = BlackPointCheck->isChecked();
    p.Calibration = ClampedCalibration({ OffsetXEd->value(), OffsetYEd->value(), ScaleEd->value() });
    p.Sharpening = { AmountEd->value(), RadiusEd->value() };
    p.Adjustment = { BrightnessEd->value(), ContrastEd->value() };
    return p;
}

QString PaperPresetDialog::problem() const
{
    const PaperPreset p = preset();
    if (p.Name.isEmpty())
        return tr("The preset needs a name.");
    // The file is what is checked: what the editor keeps, a start reads back.
    const PaperPresetParse back = ParsePaperPreset(PaperPresetJson(p));
    return back.Ok ? QString() : tr("The preset cannot be kept: %1.").arg(back.Error);
}

void PaperPresetDialog::accept()
{
    const QString why = problem();
    if (!why.isEmpty()) {
        Dialogs::messageBox(this, why, windowTitle(), Dialogs::Icon::Warning);
        return;
    }
    QDialog::accept();
}

void PaperPresetDialog::chooseProfile()
{
    const QString file = Dialogs::getOpenFileName(
        this, tr("Printer profile"), tr("ICC profiles (*.icc *.icm *.ICC *.ICM);;All files (*)"));
    if (!file.isEmpty())
        ProfileEd->setText(file);
}

void PaperPresetDialog::suggestSharpening(const PrintSharpening& values)
{
    AmountEd->setValue(values.Amount);
    RadiusEd->setValue(values.Radius);
}

void PaperPresetDialog::takeStripStep()
{
    const QVariant step = StripBox->currentData();
    if (!step.isValid())
        return;
    const QVariantList v = step.toList();
    if (v.size() != 3)
        return;
    BrightnessEd->setValue(v[0].toInt());
    ContrastEd->setValue(v[1].toInt());
    if (v[2].toInt() >= 0)
        IntentBox->setCurrentIndex(v[2].toInt());
}
