#pragma once
// Decoding picture files into DIB records.
#include "picture/Dib.h"
#include "picture/Progress.h"

#include <QString>

class QFile;

// Format codes of OpenDib; 0 lets the file's content decide.
enum DibFormatCode : int {
    DibFormatAuto = 0,
    DibFormatBmp = 3,
    DibFormatDib = 4,
    DibFormatGif = 5,
    DibFormatIff = 6,
    DibFormatJif = 7,
    DibFormatJpg = 8,
    DibFormatLbm = 9,
    DibFormatPcx = 10,
    DibFormatRle = 11,
    DibFormatTga = 12,
    DibFormatTif = 13,
    DibFormatPng = 14,
    DibFormatWebp = 15,
    DibFormatHeif = 16,
};

// Format code for a file name's extension (after the last dot, ASCII letters
// compared case-insensitively); 0 for any other extension or none.
[[nodiscard]] int DibFormatForFileName(const QString &fileName);

// Decodes a picture file into *out. Success iff out->Bits is not nullptr; on
// failure out->LogPalette holds a zero-terminated error text (DibErrorText).
// Palette pictures become 1, 4 or 8-bit DIBs by colour count, everything else
// 24 bits with alpha composed over white; stored pixel orientation is kept.
// The format code is a hint: when the content plainly is another known format,
// the content wins. Progress percentages go to `progress` (ending with 0).
void OpenDib(DIB *out, const QString &fileName, int formatCode, const ProgressFn &progress);
// The same from a file the caller opened (and perhaps checked): the very file
// is decoded even when its path now names another. fileName gives the format
// by its extension.
void OpenDibFile(DIB *out, QFile &file, const QString &fileName, int formatCode, const ProgressFn &progress);
