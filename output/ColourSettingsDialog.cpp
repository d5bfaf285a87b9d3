#include "output/ColourSettingsDialog.h"

#include "output/PrintColour.h"
#include "picture/ColourManagement.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString ProfileFilter = QStringLiteral("ICC profiles (*.icc *.icm *.ICC *.ICM);;All files (*)");

QHBoxLayout *fileRow(QLineEdit *edit, QPushButton *choose, QPushButton *other)
{
    auto *row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(choose);
    row->addWidget(other);
    return row;
}
} // namespace

ColourDialog::ColourDialog(const QString &printer, const QString &paper, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Colour management"));
    ProfileEd = new QLineEdit(this);
    ProfileEd->setReadOnly(true);
    ProfileEd->setPlaceholderText(tr("None: the pictures are printed as sRGB"));
    ProfileBtn = new QPushButton(tr("&Choose..."), this);
    NoProfileBtn = new QPushButton(tr("&None"), this);
    ProfileInfo = new QLabel(this);
    ProfileInfo->setWordWrap(true);
    IntentBox = new QComboBox(this);
    IntentBox->addItems({tr("Perceptual"), tr("Relative colorimetric"), tr("Saturation"), tr("Absolute colorimetric")});
    BlackPointCheck = new QCheckBox(tr("&Black point compensation"), this);
    MonitorEd = new QLineEdit(this);
    MonitorEd->setReadOnly(true);
    MonitorEd->setPlaceholderText(tr("The desktop's monitor profile, else sRGB"));
    MonitorBtn = new QPushButton(tr("C&hoose..."), this);
    DesktopBtn = new QPushButton(tr("&Desktop's"), this);
    MonitorInfo = new QLabel(this);
    MonitorInfo->setWordWrap(true);
    GamutCheck = new QCheckBox(tr("Soft proof marks colours the paper cannot hold in ma&genta"), this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto *form = new QFormLayout;
    form->addRow(tr("Printer:"), new QLabel(tr("%1, paper %2").arg(printer, paper), this));
    form->addRow(tr("Printer profile:"), fileRow(ProfileEd, ProfileBtn, NoProfileBtn));
    form->addRow(QString(), ProfileInfo);
    form->addRow(tr("Rendering &intent:"), IntentBox);
    form->addRow(QString(), BlackPointCheck);
    form->addRow(tr("Monitor profile:"), fileRow(MonitorEd, MonitorBtn, DesktopBtn));
    form->addRow(QString(), MonitorInfo);
    form->addRow(QString(), GamutCheck);
    auto *column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addStretch(1);
    column->addWidget(buttons);
    ProfileEd->setMinimumWidth(fontMetrics().averageCharWidth() * 48);

    connect(ProfileBtn, &QPushButton::clicked, this, &ColourDialog::chooseProfile);
    connect(NoProfileBtn, &QPushButton::clicked, this, [this] {
        ProfileEd->clear();
        describe();
    });
    connect(MonitorBtn, &QPushButton::clicked, this, &ColourDialog::chooseMonitorProfile);
    connect(DesktopBtn, &QPushButton::clicked, this, [this] {
        MonitorEd->clear();
        describe();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void ColourDialog::setSettings(const ColourSettings &settings)
{
    Kept = settings;
    ProfileEd->setText(settings.ProfileFile);
    IntentBox->setCurrentIndex(settings.Intent);
    BlackPointCheck->setChecked(settings.BlackPoint);
    MonitorEd->setText(settings.MonitorFile);
    GamutCheck->setChecked(settings.GamutWarning);
    describe();
}

ColourSettings ColourDialog::settings() const
{
    ColourSettings s = Kept;
    s.ProfileFile = ProfileEd->text();
    s.Intent = IntentBox->currentIndex();
    s.BlackPoint = BlackPointCheck->isChecked();
    s.MonitorFile = MonitorEd->text();
    s.GamutWarning = GamutCheck->isChecked();
    return s;
}

void ColourDialog::chooseProfile()
{
    const QString file = Dialogs::getOpenFileName(this, tr("Printer profile"), ProfileFilter);
    if (file.isEmpty())
        return;
    ProfileEd->setText(file);
    describe();
}

void ColourDialog::chooseMonitorProfile()
{
    const QString file = Dialogs::getOpenFileName(this, tr("Monitor profile"), ProfileFilter);
    if (file.isEmpty())
        return;
    MonitorEd->setText(file);
    describe();
}

void ColourDialog::describe()
{
    const auto about = [](const QString &file) {
        QString problem;
        const QByteArray icc = ReadProfileFile(file, &problem);
        if (problem.isEmpty())
            problem = ProfileProblem(icc);
        if (!problem.isEmpty())
            return tr("Cannot be used: %1").arg(problem);
        const QString name = ProfileDescription(icc);
        return name.isEmpty() ? tr("A usable profile.") : name;
    };
    ProfileInfo->setText(ProfileEd->text().isEmpty() ? QString() : about(ProfileEd->text()));
    QString source;
    (void)MonitorProfileFor(settings(), &source);
    MonitorInfo->setText(MonitorEd->text().isEmpty() || source == MonitorEd->text()
                             ? tr("Shown on: %1").arg(source)
                             : about(MonitorEd->text()) + QLatin1Char('\n') + tr("Shown on: %1").arg(source));
    // A reason on several lines makes the dialog taller, so no line is cut off.
    if (layout()) {
        layout()->activate();
        const int needed = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width()) : sizeHint().height();
        if (needed > height())
            resize(width(), needed);
    }
}

bool RunColourSetup(QWidget *owner, TPrinter &printer, SoftProofView &proof)
{
    const QString name = ColourPrinterName(printer), paper = ColourPaperName(printer);
    ColourDialog form(name, paper, owner);
    form.setSettings(LoadColourSettings(name, paper));
    if (Dialogs::execDialog(&form) != QDialog::Accepted)
        return false;
    SaveColourSettings(name, paper, form.settings());
    RefreshSoftProof(proof, printer);
    return true;
}
