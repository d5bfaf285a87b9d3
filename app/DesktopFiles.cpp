// Files dropped on the window from a file manager.
#include "app/MainUnit.h"

#include "document/DroppedFiles.h"

#include <QDragEnterEvent>
#include <QDropEvent>

void TMainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (TakesDroppedFiles(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TMainForm::dragMoveEvent(QDragMoveEvent *event)
{
    if (TakesDroppedFiles(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TMainForm::dropEvent(QDropEvent *event)
{
    if (!TakesDroppedFiles(event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    Files->DropFilesOnWindow(event->mimeData());
}
