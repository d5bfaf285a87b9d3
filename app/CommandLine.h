#pragma once
// What the program was asked to do on its command line, parsed without any
// window so that it can be checked on its own; the main window applies it.
#include <QString>
#include <QStringList>

struct CommandLineRequest {
    QString Arrangement;  // absolute path of the .sga to open; empty = none
    QStringList Pictures; // absolute paths to add to the collection, in order
    // Pages written without a window: every page to one PDF as printing to a
    // file would, or each page as a numbered PNG into a folder at Dpi.
    QString ExportPdf;
    QString ExportImages;
    int Dpi = 150;
    // Every page to a print queue, as the program's own PDF.
    QString PrintQueue;
    // The paper preset the pages are made with; empty: the printer's paper
    // and the settings kept for it.
    QString Preset;
    // An order list (CSV) whose sheets are made and written instead of an
    // arrangement's pages, on Paper (a page size's name such as A4, or a
    // typed size such as "8 x 10 in"); empty: the printer's paper.
    QString Order;
    QString Paper;
    bool ShowHelp = false;
    bool ShowVersion = false;
    QString Error;        // non-empty: nothing is done, the text goes to stderr
    QString HelpText;     // the usage text, for --help and after an error
    QString VersionText;  // "snapgrid-atlas 4.0"
};

// Parses argv as given (argument 0 is the program). Relative names are taken
// from `workingFolder`. An .sga among the names is the arrangement; only one
// may be given. Every other name is a picture. An export needs the
// arrangement or an order list and takes no pictures; a preset needs an
// export or a print, a paper an order list.
[[nodiscard]] CommandLineRequest ParseCommandLine(const QStringList &arguments, const QString &workingFolder);
