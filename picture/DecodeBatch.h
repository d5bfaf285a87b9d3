#pragma once
// Decoding a list of picture files on every core while the caller takes the
// pictures one by one in list order, so whatever it does with each (adding
// it, reporting a failure) happens in the order of the list. Each picture is
// what OpenDib makes of its file, failures included; a FIFO or device fails
// at once instead of blocking a decode for good.
//
// Waiting for a picture handles the thread's events except user input: the
// window repaints and shows progress, but no command can change what is being
// loaded. A batch destroyed before every picture was taken stops at once; its
// running decodes finish their file and their pictures are freed.
#include "picture/Dib.h"
#include "picture/PictureMetadata.h"
#include "picture/PictureRecipe.h"

#include <QSize>
#include <QStringList>

#include <functional>
#include <memory>

class QThreadPool;

// A picture for the collection: what is shown and how the full one is made.
struct DecodedPicture {
    DIB Dib; // owned by the caller; Bits nil on failure, with OpenDib's error text
    PictureRecipe Recipe;
    bool Reduced = false; // Dib is a smaller copy for the screen
    PictureMetadata Metadata;
};
// Decodes a file (format code as for OpenDib). With a display box, a large
// picture that can be made again from its file is decoded or shrunk to a
// screen copy no smaller than the box; otherwise the full picture.
[[nodiscard]] DecodedPicture DecodeForCollection(const QString& path, int formatCode, QSize displayBox);

class DecodeBatch {
public:
    // Starts decoding at once, one task per pool thread (DecodePool() when
    // none is given). Pictures are taken on the thread that made the batch.
    // A file listed more than once is decoded once; its entries share pixels.
    explicit DecodeBatch(const QStringList& paths, QSize displayBox = QSize(), QThreadPool* pool = nullptr);
    ~DecodeBatch();
    DecodeBatch(const DecodeBatch&) = delete;
    DecodeBatch& operator=(const DecodeBatch&) = delete;

    int Count() const;
    int Taken() const { return Next; }

    // The next file's picture, owned by the caller: Bits nil on failure, with
    // OpenDib's error text. Waits until it is decoded. After Stop, or past
    // the end, an empty DIB without waiting.
    [[nodiscard]] DIB TakeNext();
    [[nodiscard]] DecodedPicture TakeNextPicture();

    // Abandons the files not yet decoded.
    void Stop();

    // Percentage of the files decoded so far, called on the taking thread
    // when it changes while taking, and 0 at the end.
    std::function<void(int)> Progress;

private:
    struct State;
    void Report(int done);
    std::shared_ptr<State> Shared;
    int Next = 0;
    int Reported = -1;
};
