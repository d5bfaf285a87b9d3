// The drop-down of "Open..." with the arrangements last opened or saved.
#include "app/MainUnit.h"

#include "document/Paths.h"
#include "platform/Dialogs.h"

#include <QFileInfo>
#include <QMenu>
#include <QToolButton>

void TMainForm::AddRecentFile(const QString &path)
{
    if (path.isEmpty())
        return;
    RecentFiles.add(path);
    UpdateRecentMenu();
}

void TMainForm::UpdateRecentMenu()
{
    if (!RecentMenu) {
        RecentMenu = new QMenu(this);
        OpenBtn->setMenu(RecentMenu);
        OpenBtn->setPopupMode(QToolButton::MenuButtonPopup);
    }
    RecentMenu->clear();
    int number = 0;
    for (const QString &path : RecentFiles.files()) {
        ++number;
        QAction *a = RecentMenu->addAction(QStringLiteral("&%1 %2").arg(number).arg(FileNamePart(path)));
        a->setToolTip(path);
        a->setData(path);
        connect(a, &QAction::triggered, this, [this, path] { OpenRecentFile(path); });
    }
    RecentMenu->setEnabled(!RecentFiles.files().isEmpty());
}

void TMainForm::OpenRecentFile(const QString &path)
{
    if (!QFileInfo(path).isFile()) {
        RecentFiles.remove(path);
        UpdateRecentMenu();
        Dialogs::messageBox(this, tr("The file %1 no longer exists and was removed from the list.").arg(path),
                            tr("File/Open"), Dialogs::Icon::Warning, Dialogs::Ok);
        return;
    }
    OpenArrangementAsked(path);
}
