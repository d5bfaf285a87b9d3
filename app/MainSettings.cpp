// The settings kept between runs: the window's own and, through the pages,
// each page's part.
#include "app/MainUnit.h"

#include "output/PrintJob.h"
#include "platform/Printer.h"
#include "platform/Settings.h"

#include <QShowEvent>

void TMainForm::showEvent(QShowEvent *event)
{
    // Once, before the window's own show handling; spontaneous shows (restoring
    // from the task bar) come later and change nothing.
    if (!SettingsRestored) {
        SettingsRestored = true;
        RestoreSettings();
    }
    QMainWindow::showEvent(event);
}

void TMainForm::RestoreSettings()
{
    const MainFormSettings m = LoadMainFormSettings();
    ArrangeTab->loadSettings(m);
    CollectionTab->loadSettings(m);
    // Files opened before the first show (from the command line) stay first.
    const QStringList opened = RecentFiles.files();
    RecentFiles.setFiles(m.RecentFiles);
    for (auto it = opened.crbegin(); it != opened.crend(); ++it)
        RecentFiles.add(*it);
    UpdateRecentMenu();
    if (!m.Geometry.isEmpty())
        restoreGeometry(m.Geometry);
    RestorePrinterSettings(printer());
    PrintTab->loadSettings(m);
}

void TMainForm::SaveSettings()
{
    MainFormSettings m;
    ArrangeTab->saveSettings(m);
    CollectionTab->saveSettings(m);
    PrintTab->saveSettings(m);
    m.RecentFiles = RecentFiles.files();
    m.Geometry = saveGeometry();
    SaveMainFormSettings(m);
}
