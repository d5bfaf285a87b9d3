#include "pages/PageServices.h"

#include "document/Collection.h"
#include "platform/Dialogs.h"

#include <QCoreApplication>

void ReportLoadFailures(QWidget *parent, const QStringList &paths)
{
    for (const QString &path : paths)
        Dialogs::messageBox(parent, LoadErrorText(path), QCoreApplication::translate("TMainForm", "Error"),
                            Dialogs::Icon::Error, Dialogs::Ok);
}

void ReportQualityFailures(QWidget *parent, const QualityFailures &failures)
{
    for (EnlargeOutcome outcome : failures) {
        if (outcome == EnlargeOutcome::DepthFailed)
            Dialogs::messageBox(parent,
                                QCoreApplication::translate("TMainForm",
                                                            "Could not change the number of colours! (Low memory?!)"),
                                QCoreApplication::translate("TMainForm", "Error"), Dialogs::Icon::Error);
        else if (outcome == EnlargeOutcome::Failed)
            Dialogs::messageBox(
                parent, QCoreApplication::translate("TMainForm", "Error while enlarge the picture to min. quality..."),
                QString(), Dialogs::Icon::Error);
    }
}
