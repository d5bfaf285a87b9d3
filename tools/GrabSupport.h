#pragma once
// What the screenshot tools share: the window's arrangement printed to a PDF
// file as the print page's "PDF file" destination would.
#include "app/MainUnit.h"
#include "output/Exporters.h"
#include "platform/Printer.h"

#include <QString>

// Every page to `file`; whether it was written whole.
inline bool SaveWholePdf(TMainForm &form, const QString &file, const QString &title)
{
    ExportRequest request;
    request.Pages = PageSpan(1, form.Doc->pageCount());
    request.FileName = file;
    request.Title = title;
    const PrintSetup setup = JobSetup(form.printer());
    return PdfFileExporter()->run(form.Doc->records(), form.Doc->options(), setup, request).Result
        == ExportResult::Done;
}
