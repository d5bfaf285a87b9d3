#pragma once
// A font as files store it: face, points, character set, colour, pitch,
// resolution and style, in the fields of the Windows font record.
#include "platform/WinTypes.h"

#include <QString>

#include <cstdint>

// The caption font as the arrangement file stores it.
struct TCaptionFont {
    QString Name = QStringLiteral("Arial");
    int Size = 11;                 // points
    std::uint8_t Charset = 0;      // ANSI
    std::int32_t Color = clWindowText; // a Windows colour value
    std::uint8_t Pitch = 0;        // 0 default, 1 variable, 2 fixed
    std::int32_t PixelsPerInch = 96;
    std::uint8_t Style = 0;        // 1 bold, 2 italic, 4 underline, 8 strike-out
};
