#pragma once
// Values of the arrangement's options, read from the main window's controls
// at the moment they are needed, so the rules that use them need no window.
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

struct ArrangementOptions {
    bool ShowFNames = false;
    bool Sverh = true;
    int Zoom = 25;
    double Rand = 15;   // mm
    double Space = 5;   // mm
    bool Transp = false;
    std::int32_t BkColor = std::int32_t(RGB(255, 255, 255));
    bool CutDefault = false;
    bool EnhanceQual = true;
    bool UseGrid = true;
    bool ShowGrid = false;
    double MinQual = 72;   // dots per inch
    double DBreite = 130;  // mm
    double DHoche = 100;   // mm
    double Grid = 5;       // mm
    TCaptionFont Font;
};
