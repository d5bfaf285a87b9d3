#pragma once
// Shared test fixtures: a recorder that answers every modal box, and small
// image helpers.
#include "platform/Dialogs.h"

#include <QImage>
#include <QString>

#include <vector>

// Installs itself as the dialog handler for its lifetime and records every
// message box; `answer` is returned for each.
class DialogRecorder
{
public:
    explicit DialogRecorder(int answer = Dialogs::IdOk);
    ~DialogRecorder();
    DialogRecorder(const DialogRecorder &) = delete;
    DialogRecorder &operator=(const DialogRecorder &) = delete;

    int answer;
    std::vector<Dialogs::MessageRecord> messages;
    int execCount = 0;
    int execResult = 0; // QDialog::Rejected unless a test says otherwise
    Dialogs::Handler handler;
    void install();
};

// Saves actual (and expected) next to the test's working folder on failure.
bool fuzzyCompare(const QImage &actual, const QImage &expected, int tolerance, const QString &name);

// The pages of a PDF file rendered by pdftoppm at dpi (RGB32), in order;
// none when the tool is missing or the file cannot be read.
std::vector<QImage> PdfPageImages(const QString &pdf, int dpi);
// Page objects of a PDF ("/Type /Page", not the "/Type /Pages" tree), read
// without a tool; -1 when the file cannot be read.
int PdfPageCount(const QString &pdf);
