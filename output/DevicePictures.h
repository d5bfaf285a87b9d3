#pragma once
// Pictures made for the device that prints or exports pages. Each placed
// picture is resampled by the program to the device pixels its frame covers
// (a JPEG decoded at a DCT scale no smaller than that, never beyond the
// source's own pixels) and handed to the device whole, as one image; for a
// PDF an unchanged JPEG file may instead be carried as it is, drawn first as a
// small marker image that the finished file's stream replaces. Pages are
// prepared on the decoding pool ahead of the one being written, and a picture
// at one size on several pages is made once and handed over as the same
// image, so that a PDF stores it once.
#include "document/SheetTexts.h"
#include "output/PageRender.h"
#include "picture/ColourManagement.h"
#include "picture/JpegStream.h"

#include <QImage>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class TArrangement;
struct ArrangementOptions;

// A JPEG file that a PDF carries unread, as checked when it was planned.
struct PassedJpeg {
    QString File;
    std::int32_t Check = 0;
    JpegCarry Carry;
    // A picture the program made and compressed itself; File is then empty.
    QByteArray Bytes;
};

// Whether a frame showing `shown` of a picture of `full` pixels shows
// essentially all of it, so that carrying the whole file gives away nothing
// the page does not show.
[[nodiscard]] bool ShowsWholePicture(const QRectF& shown, QSize full);
// The JPEG quality of contact sheet cells carried into a PDF.
inline constexpr int SheetCellJpegQuality = 65;

// A cell's picture size for a frame `dest` device pixels on a device of deviceDpi.
[[nodiscard]] QSize SheetCellPixels(QSize dest, int deviceDpi);

// What the device is, beside what the print set-up says.
struct DevicePictureSettings {
    PageScale Scale;
    // PDF output: unchanged JPEG files go in as they are where the set-up
    // allows it, and pictures the program makes are compressed on the pool
    // and carried like JPEG files, so a picture used on several pages is
    // neither kept whole in memory until its last page nor compressed twice.
    bool Pdf = false;
    // The set-up's printer profile converts every picture made (JPEG files
    // are then never carried, as their bytes would not be converted); off for
    // picture files, which stay sRGB.
    bool Convert = true;
    // Set from any thread to stop waiting and preparing.
    const std::atomic<bool> *Cancel = nullptr;
};

class DevicePictures {
public:
    DevicePictures(const TArrangement &doc, const ArrangementOptions &options, const std::vector<int> &pages,
                   const PrintSetup &setup, const DevicePictureSettings &settings);
    ~DevicePictures();
    DevicePictures(const DevicePictures &) = delete;
    DevicePictures &operator=(const DevicePictures &) = delete;

    // Waits for the pictures of `number` (pages in the order given), starts
    // the next page's and makes `supply` (fresh, drawing the arrangement's own
    // pictures) the supply that draws them, its own drawing kept for what
    // could not be made; valid until the next call. False when cancelled
    // while waiting.
    bool page(int number, PictureSupply *supply);
    // Stops waiting and preparing; safe from any thread.
    void cancel();
    [[nodiscard]] bool cancelled() const;

    // JPEG files (or compressed pictures) drawn as markers so far, by marker
    // number; a number whose file turned out unfit holds an empty entry.
    [[nodiscard]] std::vector<PassedJpeg> passed() const;
    // Whether any picture of the pages may be carried as a JPEG file.
    [[nodiscard]] bool mayPassThrough() const { return Candidates > 0; }

    struct Shared;
    struct Item;
    struct Page;

private:
    // Starts making page index's pictures, with those of pages up to last
    // that share their file.
    void start(std::size_t index, std::size_t last);
    std::shared_ptr<Shared> State;
    std::vector<Page> Pages;
    // Items made together, by Item::Group; emptied when started.
    std::vector<std::vector<std::shared_ptr<Item>>> Groups;
    std::size_t Current = 0;
    // Pages prepared beyond the one being written.
    std::size_t Ahead = 1;
    int Candidates = 0;
};

// The image drawn in a PDF in the place of carried JPEG `index`: a few pixels
// no other picture has. PassThroughMarkerIndex reads the index back from an
// image's RGB samples (3 bytes a pixel, rows without padding); -1 for any
// other image.
[[nodiscard]] QImage PassThroughMarker(int index);
[[nodiscard]] int PassThroughMarkerIndex(int width, int height, const QByteArray &rgb);
