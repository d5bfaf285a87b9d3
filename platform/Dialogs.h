#pragma once
// The one seam every modal box and dialog of the program goes through. By
// default it shows the real Qt dialog; tests install a handler that answers it
// and records what would have been shown, so no test ever blocks.
#include <QString>
#include <QStringList>

#include <functional>

class QDialog;
class QWidget;
class QPrinter;
class QFont;
class QColor;

namespace Dialogs {

enum class Icon { None, Information, Warning, Error, Question };
// OkLocate: OK and "Locate..." (for files that moved).
enum Buttons { Ok = 1, OkCancel = 2, YesNo = 3, YesNoCancel = 4, SaveDiscardCancel = 5, OkLocate = 6 };
enum Result { IdOk = 1, IdCancel = 2, IdYes = 6, IdNo = 7, IdSave = 8, IdDiscard = 9, IdLocate = 10 };

struct MessageRecord {
    QString text;
    QString caption;
    Icon icon = Icon::None;
    Buttons buttons = Ok;
};

// Shows a modal message box; returns the Id of the button chosen (IdCancel when closed).
int messageBox(QWidget *owner, const QString &text, const QString &caption, Icon icon, Buttons buttons = Ok);

// Runs a dialog modally; returns its result code (QDialog::Accepted = 1).
int execDialog(QDialog *dialog);

// File dialogs; filter in Qt form ("Snapgrid-Atlas files (*.sga)"). Empty = cancelled.
QString getOpenFileName(QWidget *owner, const QString &caption, const QString &filter);
QString getSaveFileName(QWidget *owner, const QString &caption, const QString &filter, const QString &defaultSuffix);
// A folder, starting at `start`. Empty = cancelled.
QString existingDirectory(QWidget *owner, const QString &caption, const QString &start);

// Print and printer-setup dialogs on the given printer; true = accepted. The
// printer setup offers the printer together with its paper and orientation.
// With pages, the print dialog offers a range of pages 1..pageCount, which
// the printer then holds (printRange, fromPage, toPage) for the program to print.
bool printDialog(QWidget *owner, QPrinter *printer, int pageCount = 0);
bool pageSetupDialog(QWidget *owner, QPrinter *printer);

// Font and colour dialogs; false = cancelled, value unchanged.
bool fontDialog(QWidget *owner, QFont *font, QColor *color);
bool colorDialog(QWidget *owner, QColor *color);

// Test seam: a handler decides the answer instead of a real window.
struct Handler {
    std::function<int(const MessageRecord &)> message;
    std::function<int(QDialog *)> exec;
    std::function<QString(const QString &caption)> openFile;
    std::function<QString(const QString &caption)> saveFile;
    std::function<QString(const QString &caption)> folder;
    std::function<bool(QPrinter *)> print;
    std::function<bool(QPrinter *)> pageSetup;
    std::function<bool(QFont *, QColor *)> font;
    std::function<bool(QColor *)> color;
};
void setHandler(const Handler &handler);
void clearHandler();

} // namespace Dialogs
