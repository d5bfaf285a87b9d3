#pragma once
// Captions, page headers and footers written as templates: {date}, {camera}
// and the other tokens stand for a picture's and a page's own values. The rule
// for missing values is in docs/captions.md.
#include "picture/PictureMetadata.h"

#include <QDate>
#include <QLocale>
#include <QSize>
#include <QString>

// What the tokens of one caption or page text stand for; empty values are missing.
struct CaptionValues {
    QString Name;   // {name}: the picture's file name
    QString Folder; // {folder}: the name of the folder holding it
    PictureMetadata Metadata;
    QSize Size;     // {size}: the picture's pixels
    int Page = 0;   // {page}, from 1; 0 = none
    int Pages = 0;  // {pages}
    QString File;   // {file}: the arrangement's name
    QDate Printed;  // {printed}: the day the page is printed or exported
};

// The template with its tokens replaced, line by line. A known token without a
// value is left out with the separator written before it; a line whose tokens
// all lack values is left out whole. Unknown tokens stay as typed, so text
// without tokens comes back unchanged. Dates and times in `locale`'s short format.
[[nodiscard]] QString ExpandCaption(const QString &text, const CaptionValues &values, const QLocale &locale);

// The values of a picture file with its metadata and pixel size.
[[nodiscard]] CaptionValues PictureCaptionValues(const QString &path, const PictureMetadata &metadata, QSize size);
