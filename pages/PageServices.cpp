#include "pages/PageServices.h"

#include "document/Collection.h"
#include "output/PrintColour.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"

#include <QCoreApplication>

// A resolution the screen reports when nobody says otherwise.
constexpr int DefaultScreenDpi = 96;

PageServices::PageServices() = default;
PageServices::~PageServices() = default;

TPrinter &PageServices::printer() const
{
    if (PagePrinter)
        return *PagePrinter;
    if (!OwnPrinter)
        OwnPrinter = std::make_unique<TPrinter>();
    return *OwnPrinter;
}

SoftProofView &PageServices::softProof() const
{
    if (Proof)
        return *Proof;
    if (!OwnProof)
        OwnProof = std::make_unique<SoftProofView>();
    return *OwnProof;
}

void PageServices::showStatus(const QString &text) const
{
    if (StatusHook)
        StatusHook(text);
}

void PageServices::showProgress(int percent) const
{
    if (ProgressHook)
        ProgressHook(percent);
}

int PageServices::screenDpiX() const { return ScreenDpiXHook ? ScreenDpiXHook() : DefaultScreenDpi; }
int PageServices::screenDpiY() const { return ScreenDpiYHook ? ScreenDpiYHook() : DefaultScreenDpi; }

void PageServices::showBig(const DIB &dib, const QString &fileName) const
{
    if (ShowBigHook)
        ShowBigHook(dib, fileName);
}

void PageServices::showCollectionPicture(int index) const
{
    if (CollectionPictureHook)
        CollectionPictureHook(index);
}

void PageServices::openArrangementAsked(const QString &path) const
{
    if (OpenArrangementHook)
        OpenArrangementHook(path);
}

std::vector<int> PageServices::selectedPictures() const
{
    return SelectedPicturesHook ? SelectedPicturesHook() : std::vector<int>();
}

QAction *PageServices::action(Command command) const
{
    if (ActionHook)
        return ActionHook(command);
    std::unique_ptr<QAction> &own = OwnActions[std::size_t(command)];
    if (!own)
        own = std::make_unique<QAction>();
    return own.get();
}

QString LoadFailuresText(const QStringList &paths, const QStringList &reasons, int shown)
{
    QStringList parts;
    for (int i = 0; i < paths.size() && i < shown; ++i) {
        const QString reason = i < reasons.size() ? reasons[i] : QString();
        parts << (reason.isEmpty() ? LoadErrorText(paths[i]) : LoadErrorText(paths[i]) + QLatin1Char('\n') + reason);
    }
    if (paths.size() > shown)
        parts << QCoreApplication::translate("TMainForm", "... and %n more.", nullptr, int(paths.size() - shown));
    return parts.join(QStringLiteral("\n\n"));
}

void ReportLoadFailures(QWidget *parent, const QStringList &paths, const QStringList &reasons)
{
    if (paths.isEmpty())
        return;
    Dialogs::messageBox(parent, LoadFailuresText(paths, reasons), QCoreApplication::translate("TMainForm", "Error"),
                        Dialogs::Icon::Error, Dialogs::Ok);
}

bool AcceptChangedFiles(QWidget *parent, const QStringList &changed)
{
    if (changed.isEmpty())
        return true;
    return Dialogs::messageBox(parent,
                               QCoreApplication::translate("PrintPage",
                                                           "These picture files changed or are gone since they were "
                                                           "added:\n%1\nThey are printed from the copies shown on "
                                                           "the screen.")
                                   .arg(changed.join('\n')),
                               QCoreApplication::translate("PrintPage", "Warning"), Dialogs::Icon::Warning,
                               Dialogs::OkCancel)
           == Dialogs::IdOk;
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
