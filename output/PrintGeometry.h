#pragma once
// Where a single picture lands when printed alone, on the printer's page and in
// the print dialog's small page preview, and the coupling of the two size
// percentages. Plain numbers in, so the rules are tested without a printer.
#include <QRect>
#include <QSize>

#include <optional>

// The choices of the single-picture print dialog.
struct PrintSizeChoice {
    bool UseFull = true;    // the whole printable area; otherwise the percentages
    bool KeepAspect = true; // "Maintain aspect ratio" (used with UseFull)
    bool Centered = true;
    int WidthPercent = 50;  // of the printable width, 1..100
    int HeightPercent = 50; // of the printable height, 1..100
};

// The printed rectangle, printer pixels, for a picture of `picture` pixels on a
// printable area of `page` printer pixels. Empty (nothing to print) for an
// empty picture or page.
[[nodiscard]] QRect PrintedPictureRect(QSize picture, QSize page, const PrintSizeChoice &choice);

// The page preview in a box of `box` widget pixels: the paper (portrait fills
// the box's height, landscape its width, centred) and the picture on it.
struct PrintPreviewRects {
    QRect Page;
    QRect Picture;
};
[[nodiscard]] PrintPreviewRects PrintPreviewLayout(QSize box, QSize picture, QSize page,
                                                   const PrintSizeChoice &choice);

// The percentage of the other axis that keeps the picture's proportions on the
// paper: trunc(pictureOther * percent / pictureThis * pageThis / pageOther),
// limited to 1..100. None when a size is 0 (no proportion to keep).
[[nodiscard]] std::optional<int> CoupledPercent(int percent, int pictureOther, int pictureThis, int pageThis,
                                                int pageOther);
