#pragma once
// One picture of the collection as the views hold it.
#include "picture/Dib.h"
#include "picture/PictureMetadata.h"
#include "picture/PictureRecipe.h"

#include <QString>

#include <cstdint>

struct PictureEntry {
    QString FileName; // full path
    QString Comment;  // caption; null or empty = none
    // What the views draw: the picture itself, or when Reduced a smaller copy
    // for the screen. Turned and adjusted with the picture either way.
    DIB Dib;
    PictureRecipe Recipe; // how the full picture is made again from the file
    bool Reduced = false;
    std::int32_t Rotation = 0; // quarter turns clockwise since added, 0..3
    bool Mirrored = false; // left and right swapped before the turns, as the camera recorded it
    // The rendering intent a printer profile converts it with (0..3, as
    // RenderIntent numbers them); -1 for the job's own. A test strip's copies set it.
    std::int8_t PrintIntent = -1;
    std::int32_t PictureId = 0;
    // Tone steps an arrangement file holds for a picture whose file was not
    // found: kept to be saved again, not applied to the stand-in picture.
    PictureSteps KeptTones;
    // Read with the pixels, for captions; not stored in the arrangement file.
    PictureMetadata Metadata;
};
