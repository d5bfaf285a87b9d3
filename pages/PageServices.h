#pragma once
// What a page needs from the window around it: a place for status text and
// progress, a parent for its dialogs, the screen's resolution, the window's
// key gate, its printer and soft proof, the actions of the commands it shows,
// and the few actions that reach beyond one page. The window fills the hooks
// in; a page built alone (in a test) works with any of them unset (it then gets
// a printer, a proof and plain actions of the services' own).
#include "document/ArrangementDocument.h"
#include "pages/Commands.h"

#include <QAction>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QWidget;
class SoftProofView;
class TKeyGate;
class TPrinter;

class PageServices
{
public:
    PageServices();
    ~PageServices();
    PageServices(const PageServices &) = delete;
    PageServices &operator=(const PageServices &) = delete;

    std::function<void(const QString &)> StatusHook;
    std::function<void(int)> ProgressHook;
    std::function<int()> ScreenDpiXHook;
    std::function<int()> ScreenDpiYHook;
    // Shows a picture large in the viewer.
    std::function<void(const DIB &, const QString &)> ShowBigHook;
    // Shows collection entry `index` in the preview and then large.
    std::function<void(int)> CollectionPictureHook;
    // An arrangement handed over from outside: asks before it replaces this one.
    std::function<void(const QString &)> OpenArrangementHook;
    // Collection entries selected in the picture list, in collection order.
    std::function<std::vector<int>()> SelectedPicturesHook;
    // The window's action of a command; unset, each page gets a plain action
    // of its own that runs nothing.
    std::function<QAction *(Command)> ActionHook;
    QWidget *DialogParent = nullptr;
    TKeyGate *Keys = nullptr; // decides whether a key arrived for the window; nullptr: every key does
    TPrinter *PagePrinter = nullptr;  // the window's printer, used on the interface thread only
    SoftProofView *Proof = nullptr;   // the views' soft proof

    void showStatus(const QString &text) const;
    void showProgress(int percent) const;
    [[nodiscard]] QWidget *dialogParent() const { return DialogParent; }
    [[nodiscard]] int screenDpiX() const;
    [[nodiscard]] int screenDpiY() const;
    [[nodiscard]] TKeyGate *keys() const { return Keys; }
    [[nodiscard]] TPrinter &printer() const;
    [[nodiscard]] SoftProofView &softProof() const;
    void showBig(const DIB &dib, const QString &fileName) const;
    void showCollectionPicture(int index) const;
    void openArrangementAsked(const QString &path) const;
    [[nodiscard]] std::vector<int> selectedPictures() const;
    [[nodiscard]] QAction *action(Command command) const;

private:
    mutable std::array<std::unique_ptr<QAction>, CommandCount> OwnActions;
    mutable std::unique_ptr<TPrinter> OwnPrinter;
    mutable std::unique_ptr<SoftProofView> OwnProof;
};

// One message box for the picture files of one add that gave no picture, each
// named with the decoder's reason when reasons are given.
void ReportLoadFailures(QWidget *parent, const QStringList &paths, const QStringList &reasons = {});
// The text of that box; at most `shown` files are named, the rest counted.
[[nodiscard]] QString LoadFailuresText(const QStringList &paths, const QStringList &reasons, int shown = 12);
// Before printing or export: names picture files that changed or vanished
// since they were added (they print from their screen copies); true to go on.
bool AcceptChangedFiles(QWidget *parent, const QStringList &changed);
// One message box per picture that could not be enlarged to the minimum quality.
void ReportQualityFailures(QWidget *parent, const QualityFailures &failures);
