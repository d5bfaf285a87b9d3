// Files dropped on the window from a file manager.
#include "app/MainUnit.h"

#include "document/DroppedFiles.h"

#include <QDragEnterEvent>
#include <QDropEvent>

namespace {
bool takesFiles(const QMimeData *mime) { return !SortDroppedFiles(mime).isEmpty(); }
} // namespace

void TMainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (takesFiles(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TMainForm::dragMoveEvent(QDragMoveEvent *event)
{
    if (takesFiles(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TMainForm::dropEvent(QDropEvent *event)
{
    if (!takesFiles(event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    Files->DropFilesOnWindow(event->mimeData());
}
