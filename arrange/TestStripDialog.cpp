#include "arrange/TestStripDialog.h"

#include "document/Paths.h"
#include "document/PictureEntry.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QSpinBox* spin(QWidget* parent, int low, int high)
{
    auto* e = new QSpinBox(parent);
    e->setRange(low, high);
    return e;
}
} // namespace

TestStripDialog::TestStripDialog(
    const std::vector<PictureEntry>& pictures, int selected, bool printerProfile, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Test strip"));
    PictureBox = new QComboBox(this);
    for (const PictureEntry& p : pictures)
        PictureBox->addItem(FileNamePart(p.FileName));
    PictureBox->setCurrentIndex(std::clamp(selected, 0, std::max(0, PictureBox->count() - 1)));
    StepsEd = spin(this, MinTestSteps, MaxTestSteps);
    VariesBox = new QComboBox(this);
    VariesBox->addItems({ tr("Brightness"), tr("Contrast") });
    if (printerProfile)
        VariesBox->addItem(tr("Rendering intent"));
    StepSizeEd = spin(this, 1, 50);
    BrightnessEd = spin(this, -100, 100);
    ContrastEd = spin(this, -100, 100);
    auto* note = new QLabel(tr("Print the strip with no print adjustment in the paper preset, then enter the "
                               "values of the step that looks best in the preset."),
        this);
    note->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow(tr("&Picture:"), PictureBox);
    form->addRow(tr("&Steps:"), StepsEd);
    form->addRow(tr("&Varies:"), VariesBox);
    form->addRow(tr("Step si&ze:"), StepSizeEd);
    form->addRow(tr("Middle step's &brightness:"), BrightnessEd);
    form->addRow(tr("Middle step's &contrast:"), ContrastEd);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    // The four intents are the steps: their number and size do not apply.
    connect(VariesBox, &QComboBox::currentIndexChanged, this, [this](int varies) {
        StepsEd->setEnabled(varies != 2);
        StepSizeEd->setEnabled(varies != 2);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);
    setSettings(TestStripSettings {});
}

void TestStripDialog::setSettings(const TestStripSettings& s)
{
    StepsEd->setValue(s.Steps);
    const int varies = s.Varies == TestStripVaries::Contrast ? 1 : s.Varies == TestStripVaries::Intent ? 2 : 0;
    VariesBox->setCurrentIndex(varies < VariesBox->count() ? varies : 0);
    StepSizeEd->setValue(s.StepSize);
    BrightnessEd->setValue(s.Brightness);
    ContrastEd->setValue(s.Contrast);
}

TestStripSettings TestStripDialog::settings() const
{
    TestStripSettings s;
    s.Picture = PictureBox->currentIndex();
    s.Steps = StepsEd->value();
    const int varies = VariesBox->currentIndex();
    s.Varies = varies == 1 ? TestStripVaries::Contrast
        : varies == 2      ? TestStripVaries::Intent
                           : TestStripVaries::Brightness;
    s.StepSize = StepSizeEd->value();
    s.Brightness = BrightnessEd->value();
    s.Contrast = ContrastEd->value();
    return s;
}
