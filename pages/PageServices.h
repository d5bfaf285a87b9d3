#pragma once
// What a page needs from the window around it: a place for status text and
// progress, a parent for its dialogs, the screen's resolution, the window's
// key gate, and the few actions that reach beyond one page. The main window
// gives these; a test gives its own.
#include "document/ArrangementDocument.h"

#include <QString>
#include <QStringList>

class QWidget;
class TKeyGate;

class PageServices
{
public:
    virtual ~PageServices() = default;
    virtual void showStatus(const QString &text) = 0;
    virtual void showProgress(int percent) = 0;
    virtual QWidget *dialogParent() = 0;
    [[nodiscard]] virtual int screenDpiX() const = 0;
    [[nodiscard]] virtual int screenDpiY() const = 0;
    // Decides whether a key arrived for the window; nullptr: every key does.
    virtual TKeyGate *keys() = 0;
    // Shows a picture large in the viewer.
    virtual void showBig(const DIB &dib, const QString &fileName) = 0;
    // Shows collection entry `index` in the preview and then large.
    virtual void showCollectionPicture(int index) = 0;
    // An arrangement handed over from outside: asks before it replaces this one.
    virtual void openArrangementAsked(const QString &path) = 0;
};

// One message box per picture file that gave no picture.
void ReportLoadFailures(QWidget *parent, const QStringList &paths);
// One message box per picture that could not be enlarged to the minimum quality.
void ReportQualityFailures(QWidget *parent, const QualityFailures &failures);
