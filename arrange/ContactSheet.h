#pragma once
// Contact sheets (index prints): every chosen picture as a small frame in
// rows and columns, captioned with its name, date taken and size, under a
// header that says what the pages show. The layout is plain arithmetic in
// millimetres; placing it makes ordinary placements (each fitting its
// picture in) with their caption lines and the page headers, as one undo step.
#include "arrange/SheetLayout.h"
#include "document/ArrangementDocument.h"

#include <QDateTime>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <vector>

struct ContactSheetSettings {
    // Rows x columns, or as many cells of CellMm as fit.
    bool ByCellSize = false;
    int Columns = 6;
    int Rows = 8;
    QSizeF CellMm{30, 30};
    SheetSpacing Spacing{10, 3};
    bool ShowName = true;
    bool ShowDate = true;
    bool ShowSize = false;
    bool HeaderTitle = true;
    bool HeaderFolder = true;
    bool HeaderDates = true;
    bool HeaderPages = true;
    QString Title;
    enum class Order { Collection, Name, DateTaken };
    Order SortBy = Order::Collection;
    double CaptionPoints = 6;
    double HeaderPoints = 9;
};

// Cells of one page. A cell is its picture box with the caption band below.
struct ContactGrid {
    int Columns = 0;
    int Rows = 0;
    QSizeF Cell;       // mm, picture box and caption band
    double CaptionMm = 0;
    QRectF Header;     // mm, printable-area coordinates; empty without a header
    QPointF Origin;    // the first cell's top-left corner, mm
    double Gap = 0;    // mm

    [[nodiscard]] int perPage() const { return Columns * Rows; }
    // Cell `index` of a page (row by row), mm in printable-area coordinates.
    [[nodiscard]] QRectF cell(int index) const;
    // The picture box of that cell: the cell less its caption band.
    [[nodiscard]] QRectF pictureBox(int index) const;
};

// The grid for the settings on a sheet; 0 columns when not one cell fits.
[[nodiscard]] ContactGrid ContactLayout(const ContactSheetSettings &settings, const SheetArea &sheet);
[[nodiscard]] int ContactPageCount(int pictures, const ContactGrid &grid);
// The largest rectangle of the picture's proportions centred in box (mm).
[[nodiscard]] QRectF FitInside(QSize picture, const QRectF &box);

// What a cell says about its picture.
struct ContactFacts {
    QString Path;
    QDateTime Taken; // invalid when unknown
    QSize Pixels;    // as it is shown (turned)
    QString Failure; // why the file gave no picture; empty when it did
    bool FileDate = false; // Taken is the file's modification time: the file holds no date taken
};
// The path's facts as far as its file tells them: the date taken, else the file's date.
[[nodiscard]] ContactFacts ContactFactsOf(const QString& path);
[[nodiscard]] QStringList ContactCaption(const ContactFacts &facts, const ContactSheetSettings &settings);
// The order the cells take: indices into facts.
[[nodiscard]] std::vector<int> ContactOrder(const std::vector<ContactFacts> &facts, ContactSheetSettings::Order order);
// Header lines of page `page` of `pages`, for the pictures of the whole set.
[[nodiscard]] QStringList ContactHeader(const std::vector<ContactFacts> &facts, const ContactSheetSettings &settings,
                                        int page, int pages);

// Facts of collection entries: their file's date taken (else its time) and shown size.
[[nodiscard]] std::vector<ContactFacts> CollectionFacts(const TArrangement &records, const std::vector<int> &indices);

struct ContactPlacement {
    int Placed = 0;
    int FirstPage = 0;
    int LastPage = 0;
    QString Error; // for the user; nothing changed then
};
// The cells of the pictures (collection indices, facts[i] describing
// pictures[i]) in the settings' order, captioned, with the pages' headers,
// from the first empty page at or after the current one. A picture that is
// not in the collection gives a frame without one (which placing refuses).
[[nodiscard]] SheetPlan ContactSheetPlan(const ContactSheetSettings &settings, const ContactGrid &grid,
                                         const TArrangement &records, const std::vector<int> &pictures,
                                         const std::vector<ContactFacts> &facts);
// Places that plan as one undo step named undoText.
ContactPlacement PlaceContactSheet(ArrangementDocument &doc, const ContactSheetSettings &settings,
                                   const SheetArea &sheet, const std::vector<int> &pictures,
                                   const std::vector<ContactFacts> &facts, const QString &undoText);

// A stand-in for a file that gave no picture: a grey 4:3 picture that keeps
// the file's name, so its cell says which file failed and why.
[[nodiscard]] DIB FailedCellPicture();

// Files read for a contact sheet: each decoded on the pool no larger than its
// cell needs (box: picture pixels), with its date taken. Safe on a worker
// thread; stops early when cancel is set. progress(done, total) runs on the
// calling thread.
struct ContactFiles {
    std::vector<DecodedPicture> Pictures; // one per file read; Bits nil for a failure
    std::vector<ContactFacts> Facts;
    bool Cancelled = false;
};
[[nodiscard]] ContactFiles ReadContactFiles(const QStringList &paths, QSize box, const std::atomic<bool> *cancel,
                                            const std::function<void(int, int)> &progress = {});
// Adds the files' pictures to the collection (a failure as a grey stand-in)
// unless it holds the file already; the entries' indices, one per file. Part
// of the caller's step.
[[nodiscard]] std::vector<int> AddContactFiles(ArrangementDocument &doc, ContactFiles &files);
// Picture pixels a cell's box needs (mm) at the pixel density cells are made at.
[[nodiscard]] QSize ContactCellBox(const ContactGrid &grid);
