#pragma once
// Pictures carry their colours in the space their file's profile names; the
// program works in sRGB throughout (screen, printing, saved pictures), so a
// decoder hands its picture here once, right after decoding.
#include "picture/Dib.h"

#include <QByteArray>

class QColorSpace;

// Converts a decoded picture to sRGB in place. An empty or unreadable profile,
// or sRGB itself, leaves the picture as it is. Only what a file embeds as its
// colour profile comes here: gamma and chromaticity hints alone are taken as
// sRGB, as other programs show such files.
// Palette pictures have their colour table converted. False only when a
// usable profile could not be applied (out of memory); the picture is then
// unchanged or partly converted, never damaged.
bool ConvertDibToSrgb(DIB &dib, const QByteArray &iccProfile);
bool ConvertDibToSrgb(DIB &dib, const QColorSpace &space);
