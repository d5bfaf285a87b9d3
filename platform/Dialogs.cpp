#include "platform/Dialogs.h"

#include "platform/PrinterSetupDialog.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <optional>

namespace Dialogs {
namespace {
std::optional<Handler> &current()
{
    static std::optional<Handler> handler;
    return handler;
}
} // namespace

void setHandler(const Handler &handler) { current() = handler; }
void clearHandler() { current().reset(); }

int messageBox(QWidget *owner, const QString &text, const QString &caption, Icon icon, Buttons buttons)
{
    const MessageRecord record{text, caption, icon, buttons};
    if (current() && current()->message)
        return current()->message(record);
    if (current())
        return buttons == YesNo || buttons == YesNoCancel ? IdYes : buttons == SaveDiscardCancel ? IdDiscard : IdOk;

    QMessageBox box(owner);
    box.setText(text);
    box.setWindowTitle(caption);
    switch (icon) {
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::None:
        break;
    }
    switch (buttons) {
    case Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case SaveDiscardCancel:
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Save);
        break;
    case OkLocate:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    const QAbstractButton *locate =
        buttons == OkLocate ? box.addButton(QCoreApplication::translate("Dialogs", "Locate..."), QMessageBox::ActionRole)
                            : nullptr;
    const int chosen = box.exec();
    if (locate && box.clickedButton() == locate)
        return IdLocate;
    switch (chosen) {
    case QMessageBox::Ok:
        return IdOk;
    case QMessageBox::Yes:
        return IdYes;
    case QMessageBox::No:
        return IdNo;
    case QMessageBox::Save:
        return IdSave;
    case QMessageBox::Discard:
        return IdDiscard;
    default:
        return IdCancel;
    }
}

int execDialog(QDialog *dialog)
{
    if (current() && current()->exec)
        return current()->exec(dialog);
    if (current())
        return QDialog::Rejected;
    return dialog->exec();
}

QString getOpenFileName(QWidget *owner, const QString &caption, const QString &filter)
{
    if (current())
        return current()->openFile ? current()->openFile(caption) : QString();
    return QFileDialog::getOpenFileName(owner, caption, QString(), filter);
}

QString getSaveFileName(QWidget *owner, const QString &caption, const QString &filter, const QString &defaultSuffix)
{
    if (current())
        return current()->saveFile ? current()->saveFile(caption) : QString();
    QFileDialog dialog(owner, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString existingDirectory(QWidget *owner, const QString &caption, const QString &start)
{
    if (current())
        return current()->folder ? current()->folder(caption) : QString();
    return QFileDialog::getExistingDirectory(owner, caption, start);
}

bool printDialog(QWidget *owner, QPrinter *printer, int pageCount)
{
    if (current())
        return current()->print ? current()->print(printer) : false;
    QPrintDialog dialog(printer, owner);
    // Without the option a range goes to the printing system alone, which
    // only Qt's own engine passes on.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, pageCount > 0);
    if (pageCount > 0)
        dialog.setMinMax(1, pageCount);
    return dialog.exec() == QDialog::Accepted;
}

bool pageSetupDialog(QWidget *owner, QPrinter *printer)
{
    if (current())
        return current()->pageSetup ? current()->pageSetup(printer) : false;
    TPrinterSetupDialog dialog(printer, owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.Apply();
    return true;
}

bool fontDialog(QWidget *owner, QFont *font, QColor *color)
{
    if (current())
        return current()->font ? current()->font(font, color) : false;
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, *font, owner);
    if (ok)
        *font = chosen;
    return ok;
}

bool colorDialog(QWidget *owner, QColor *color)
{
    if (current())
        return current()->color ? current()->color(color) : false;
    const QColor chosen = QColorDialog::getColor(*color, owner);
    if (!chosen.isValid())
        return false;
    *color = chosen;
    return true;
}

} // namespace Dialogs
