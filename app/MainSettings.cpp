// The main window's side of the settings kept between runs.
#include "app/MainUnit.h"

#include "app/Settings.h"
#include "output/PrintJob.h"
#include "platform/Printer.h"
#include "document/UndoCommands.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QShowEvent>
#include <QSpinBox>
#include <QTabWidget>

void TMainForm::showEvent(QShowEvent* event)
{
    // Once, before the window's own show handling; spontaneous shows (restoring
    // from the task bar) come later and change nothing.
    if (!SettingsRestored) {
        SettingsRestored = true;
        // Kept settings are no change of the arrangement.
        Undo->quietly([this] { RestoreSettings(); });
    }
    QMainWindow::showEvent(event);
}

void TMainForm::RestoreSettings()
{
    const MainFormSettings m = LoadMainFormSettings();
    // setValue runs the change handlers as a typed value would, so the inch twins follow.
    SpaceED->setValue(m.SpaceED);
    RandEd->setValue(m.RandEd);
    UseGridCheck->setChecked(m.UseGridCheck);
    GridEd->setValue(m.GridEd);
    ShowGridCheck->setChecked(m.ShowGridCheck);
    MinQualEd->setValue(m.MinQualEd);
    EnhanceQualCheck->setChecked(m.EnhanceQualCheck);
    TurnCameraCheck->setChecked(m.TurnCameraCheck);
    if (m.PictureMemoryEd > 0)
        PictureMemoryEd->setValue(m.PictureMemoryEd);
    // Files opened before the first show (from the command line) stay first.
    const QStringList opened = RecentFiles.files();
    RecentFiles.setFiles(m.RecentFiles);
    for (auto it = opened.crbegin(); it != opened.crend(); ++it)
        RecentFiles.add(*it);
    UpdateRecentMenu();
    PageControl3->setCurrentWidget(m.ActivePage == QLatin1String("TabSheet9") ? TabSheet9 : TabSheet10);
    if (!m.Geometry.isEmpty())
        restoreGeometry(m.Geometry);
    RestorePrinterSettings(Printer());
}

void TMainForm::SaveSettings()
{
    MainFormSettings m;
    m.SpaceED = SpaceED->value();
    m.RandEd = RandEd->value();
    m.UseGridCheck = UseGridCheck->isChecked();
    m.GridEd = GridEd->value();
    m.ShowGridCheck = ShowGridCheck->isChecked();
    m.MinQualEd = MinQualEd->value();
    m.EnhanceQualCheck = EnhanceQualCheck->isChecked();
    m.TurnCameraCheck = TurnCameraCheck->isChecked();
    // The default follows the machine until the user picks another size.
    if (PictureMemoryEd->value() != int(PictureStore::DefaultBudget() >> 20))
        m.PictureMemoryEd = PictureMemoryEd->value();
    m.RecentFiles = RecentFiles.files();
    m.ActivePage
        = PageControl3->currentWidget() == TabSheet9 ? QStringLiteral("TabSheet9") : QStringLiteral("TabSheet10");
    m.Geometry = saveGeometry();
    SaveMainFormSettings(m);
}
